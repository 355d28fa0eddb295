#include "ui/QtDesktop.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>

#include "report/ReportPreview.h"

namespace resheat::ui {

namespace {

// The window manager writes the caption in the box's title bar, beside its
// icon and buttons; a box only as wide as a short text would cut it
// ("Calculation Error" to "Ca... ror").  The box is made at least as wide
// as the caption in bold type plus room for six title bar buttons.
void MakeRoomForCaption(QMessageBox &box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int buttonRoom = 6 * (metrics.height() + 6);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const int width = metrics.horizontalAdvance(box.windowTitle()) + buttonRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

void ShowBox(QMessageBox::Icon icon, const QString &caption, const QString &text, QWidget *parent)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    MakeRoomForCaption(box);
    // Closing a box must never count as closing the program's last window.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}

// "data xy|*.dxy" -> "data xy (*.dxy)"
QString QtFilter(const QString &filter)
{
    const auto bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    return filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + QLatin1Char(')');
}

} // namespace

QWidget *QtDesktop::dialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    // Right after a box has closed the window system may not have given the
    // activation back yet (two boxes in a row): take the window on screen.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog))
            return window;
    }
    return nullptr;
}

void QtDesktop::messageBox(const QString &caption, const QString &text)
{
    ShowBox(QMessageBox::NoIcon, caption, text, dialogParent());
}

void QtDesktop::informationBox(const QString &caption, const QString &text)
{
    ShowBox(QMessageBox::Information, caption, text, dialogParent());
}

void QtDesktop::aboutBox(const QString &caption, const QString &richText)
{
    QMessageBox box(QMessageBox::NoIcon, caption, richText, QMessageBox::Ok, dialogParent());
    box.setTextFormat(Qt::RichText);
    box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    MakeRoomForCaption(box);
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}

void QtDesktop::errorReport(const QString &caption, const QString &text)
{
    ShowBox(QMessageBox::Critical, caption, text, dialogParent());
}

bool QtDesktop::runFileDialog(FileDialogState &state, bool save)
{
    QFileDialog dialog(dialogParent());
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    dialog.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    // The same dialog on every desktop; it has no read-only box.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialogs accept the name of a file that does not exist: the
    // load reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilter(state.filter));
    dialog.setDefaultSuffix(state.defaultExt);
    dialog.setSizeGripEnabled(true);
    if (!state.fileName.isEmpty()) {
        const QFileInfo last(state.fileName);
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.fileName = WithDefaultExtension(dialog.selectedFiles().constFirst(), state.defaultExt);
    return true;
}

bool QtDesktop::openFileDialog(FileDialogState &state)
{
    return runFileDialog(state, false);
}

bool QtDesktop::saveFileDialog(FileDialogState &state)
{
    return runFileDialog(state, true);
}

std::optional<QColor> QtDesktop::chooseColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, dialogParent());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QFont> QtDesktop::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, dialogParent());
    if (!ok)
        return std::nullopt;
    return font;
}

void QtDesktop::previewReport(const report::ReportForm &form)
{
    report::ShowPreviewDialog(form, dialogParent());
}

} // namespace resheat::ui
