#include "ui/ProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QWindow>
#include <algorithm>

#include "ui/WindowPlacement.h"

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
    setWindowTitle(caption);
    Label1->setText(labelText);
    Label1->adjustSize();
    const int margin = 24;
    resize(std::max(designSize_.width(), Label1->geometry().right() + 1 + margin), designSize_.height());
    // Placed after the last resize: see PlaceWindowFrame.
    PlaceWindowFrame(*this, QPoint(100, 100));
}

void ProgressWindow::showNow()
{
    show();
    raise();
    // Wait until the window system has put the window on screen, then
    // paint it synchronously.  User input stays queued.  A busy window
    // manager may take a while to frame the window; an exposure normally
    // comes at once, so the limit only bounds a window that never shows.
    constexpr int kMaxWaitMs = 2000;
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kMaxWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace resheat::ui
