// The production desktop layer on Qt's real dialogs, answered by a timer
// while the dialog runs modally.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "ui/QtDesktop.h"

using namespace resheat::ui;

namespace {

// Runs `answer` on the modal dialog as soon as it is up. A dialog that is
// still open a few seconds after the answer is rejected and the test fails,
// so a wrong answer never hangs the suite.
template <class Dialog>
void AnswerNextDialog(std::function<void(Dialog *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
            QPointer<Dialog> watched(dialog);
            QTimer::singleShot(3000, [watched] {
                if (watched && watched->isVisible()) {
                    ADD_FAILURE() << "the dialog did not close after its answer";
                    watched->reject();
                }
            });
        }
    });
    timer->start();
}

// Types a name into the file dialog's name box and presses its Save or Open
// button, as a user does. (selectFile() leaves the box alone once it has the
// keyboard focus, so it is no way to answer a dialog on screen.)
void TypeNameAndAccept(QFileDialog *dialog, const QString &name)
{
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameEdit, nullptr);
    nameEdit->setText(name);
    static_cast<QDialog *>(dialog)->accept();
}

TEST(QtDesktop, MessageBoxHasCaptionTextOneOKAndNoIcon)
{
    QtDesktop desktop;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QString caption, text;
    int buttons = 0;
    AnswerNextDialog<QMessageBox>([&](QMessageBox *box) {
        icon = box->icon();
        caption = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    desktop.messageBox("Input Error", "Incorrect numerical format");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(caption, "Input Error");
    EXPECT_EQ(text, "Incorrect numerical format");
    EXPECT_EQ(buttons, 1);
}

TEST(QtDesktop, BoxesBelongToTheWindowOnScreenAndNeverEndTheProgram)
{
    // A data dialog is the only window up, and the window system has not
    // given the activation back after an earlier box.
    QWidget dialog;
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    dialog.show();
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);

    QtDesktop desktop;
    QWidget *parent = nullptr;
    bool quitOnClose = true;
    AnswerNextDialog<QMessageBox>([&](QMessageBox *box) {
        parent = box->parentWidget();
        quitOnClose = box->testAttribute(Qt::WA_QuitOnClose);
        box->accept();
    });
    desktop.messageBox("Input Error", "Length must be >= 10 * width or thickness");
    EXPECT_EQ(parent, &dialog);
    // Closing a parentless box with only such a dialog up would end the program.
    EXPECT_FALSE(quitOnClose);
}

TEST(QtDesktop, ErrorReportCarriesTheStopIcon)
{
    QtDesktop desktop;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerNextDialog<QMessageBox>([&](QMessageBox *box) {
        icon = box->icon();
        box->accept();
    });
    desktop.errorReport("resheat", "Disk full.");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtDesktop, BoxesWithAShortTextAreWideEnoughForTheirCaption)
{
    // The title bar writes the caption in bold beside about five buttons
    // of its own height; a box only as wide as its text would cut it.
    QtDesktop desktop;
    const std::function<void()> boxes[] = {
        [&] { desktop.messageBox("Calculation Error", "Change input data"); },
        [&] { desktop.messageBox("Execution Error", "Error"); },
        [&] { desktop.messageBox("Input Error", "x"); },
        [&] { desktop.informationBox("Information", "x"); },
        [&] { desktop.errorReport("resheat", "Disk full."); },
    };
    for (const auto &show : boxes) {
        QString caption, text;
        int width = 0, needed = 0, buttons = 0;
        AnswerNextDialog<QMessageBox>([&](QMessageBox *box) {
            caption = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            QFont bold = box->font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            needed = metrics.horizontalAdvance(caption) + 5 * metrics.height();
            width = box->width();
            box->accept();
        });
        show();
        SCOPED_TRACE(caption.toStdString());
        EXPECT_GE(width, needed);
        EXPECT_EQ(buttons, 1);
        EXPECT_FALSE(text.isEmpty());
    }
}

TEST(QtDesktop, SaveDialogAppendsTheExtensionAndKeepsTheLastName)
{
    QTemporaryDir dir;
    QtDesktop desktop;
    FileDialogState state{"data xy|*.dxy", "dxy", {}};
    QStringList filters;
    bool noOverwriteQuestion = false;
    bool sizeGrip = false;
    bool quitOnClose = true;
    AnswerNextDialog<QFileDialog>([&](QFileDialog *dialog) {
        filters = dialog->nameFilters();
        quitOnClose = dialog->testAttribute(Qt::WA_QuitOnClose);
        noOverwriteQuestion = dialog->testOption(QFileDialog::DontConfirmOverwrite);
        sizeGrip = dialog->isSizeGripEnabled();
        TypeNameAndAccept(dialog, dir.filePath("case"));
    });
    ASSERT_TRUE(desktop.saveFileDialog(state));
    EXPECT_EQ(state.fileName, dir.filePath("case.dxy"));
    EXPECT_EQ(filters, QStringList{"data xy (*.dxy)"});
    EXPECT_TRUE(noOverwriteQuestion);
    EXPECT_TRUE(sizeGrip);
    EXPECT_FALSE(quitOnClose);

    // The next use starts at the kept name; Cancel leaves it alone.
    QString shownDirectory;
    AnswerNextDialog<QFileDialog>([&](QFileDialog *dialog) {
        shownDirectory = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_FALSE(desktop.saveFileDialog(state));
    EXPECT_EQ(shownDirectory, QDir(dir.path()).absolutePath());
    EXPECT_EQ(state.fileName, dir.filePath("case.dxy"));
}

TEST(QtDesktop, OpenDialogAcceptsAFileThatDoesNotExist)
{
    QTemporaryDir dir;
    QtDesktop desktop;
    FileDialogState state{"data rz|*.drz", "drz", {}};
    AnswerNextDialog<QFileDialog>([&](QFileDialog *dialog) {
        TypeNameAndAccept(dialog, dir.filePath("missing.drz"));
    });
    ASSERT_TRUE(desktop.openFileDialog(state));
    EXPECT_EQ(state.fileName, dir.filePath("missing.drz"));
}

} // namespace
