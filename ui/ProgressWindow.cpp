#include "ui/ProgressWindow.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <algorithm>

namespace resheat::ui {

ProgressWindow::ProgressWindow(const QSize &clientSize, const QPoint &labelPos)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      designSize_(clientSize)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(clientSize);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    font.setBold(true);
    font.setPixelSize(27);
    Label1->setFont(font);
    Label1->setForegroundRole(QPalette::WindowText);
    Label1->move(labelPos);
}

void ProgressWindow::applyShowing(const QString &caption, const QString &labelText)
{
    move(100, 100);
    setWindowTitle(caption);
    Label1->setText(labelText);
    Label1->adjustSize();
    const int margin = 24;
    resize(std::max(designSize_.width(), Label1->geometry().right() + 1 + margin), designSize_.height());
}

void ProgressWindow::showNow()
{
    show();
    raise();
    // Let the window system map the window, then paint it synchronously.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace resheat::ui
