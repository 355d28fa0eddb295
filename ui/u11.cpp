#include "ui/u11.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/WindowPlacement.h"

// The guide lives in a static library; make sure it is linked in.
static void InitGuideResource()
{
    Q_INIT_RESOURCE(guide);
}

namespace resheat::ui {

namespace {

constexpr QSize kInitialSize{760, 620};
constexpr QSize kMinimumSize{420, 300};
constexpr QPoint kScreenPos{40, 40};

} // namespace

QString UserGuideText()
{
    InitGuideResource();
    QFile file(QStringLiteral(":/doc/user-guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString AboutText()
{
    return QStringLiteral("<p><b>ResHeat %1</b></p>"
                          "<p>Direct resistance heating of a metal bar or rod: the electrical quantities, "
                          "the heating time and the temperature history.</p>"
                          "<p>Copyright (c) 2026 The ResHeat developers<br>"
                          "Free software under the MIT License.</p>"
                          "<p><a href=\"%2\">%2</a></p>")
        .arg(QStringLiteral(RESHEAT_VERSION), QStringLiteral(RESHEAT_HOMEPAGE));
}

TForm11::TForm11() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Form11"));
    // The guide may stay open beside the program; closing the main window
    // still ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("ResHeat user guide"));
    setMinimumSize(kMinimumSize);
    resize(kInitialSize);

    TextBrowser1 = new QTextBrowser(this);
    TextBrowser1->setObjectName(QStringLiteral("TextBrowser1"));
    TextBrowser1->setOpenExternalLinks(true);
    TextBrowser1->setMarkdown(UserGuideText());
    Button1 = new QPushButton(QStringLiteral("&Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TextBrowser1, 1);
    layout->addLayout(buttons);
    setTabOrder(TextBrowser1, Button1);
}

void TForm11::showEvent(QShowEvent *event)
{
    // The first showing puts the window in place; later ones keep the place
    // and size the user gave it.
    if (!event->spontaneous() && !m_placed) {
        PlaceWindowFrame(*this, kScreenPos);
        m_placed = true;
        TextBrowser1->setFocus();
    }
    QWidget::showEvent(event);
}

void TForm11::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace resheat::ui
