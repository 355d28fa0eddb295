#include "ui/WindowPlacement.h"

#include <QWidget>
#include <QWindow>

namespace resheat::ui {

// Qt moves a window by its inside and adds the frame it knows of.  Before a
// window manager has framed the window once, Qt knows no frame, so the
// inside would land at the position and the title bar above it.  In that
// case the window system is asked to place the frame itself (north-west
// gravity): the manager then puts the frame's corner at the position, and
// without a manager frame and inside coincide.  Qt and the platform window
// must agree on the geometry first, or showing the window would put the
// inside back at the position; hence the plain move before.
void PlaceWindowFrame(QWidget &window, const QPoint &framePos)
{
    window.move(framePos);
    QWindow *handle = window.windowHandle();
    const bool frameKnown = window.frameGeometry().topLeft() != window.geometry().topLeft();
    if (handle && !frameKnown)
        handle->setFramePosition(framePos);
}

} // namespace resheat::ui
