// Where a window appears on the screen.
#pragma once

#include <QPoint>

class QWidget;

namespace resheat::ui {

// Puts the outer corner of a top-level window, its window manager's frame
// included, at `framePos` on the screen: the same place on the first
// showing as on every later one, with or without a window manager.  Call it
// while the window is being shown (from its show event) or before; nothing
// may resize the window after it until the window is on the screen.
void PlaceWindowFrame(QWidget &window, const QPoint &framePos);

} // namespace resheat::ui
