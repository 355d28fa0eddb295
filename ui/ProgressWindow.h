// What the two progress windows share: one big label, no buttons, and a
// way to appear on screen while the calculation keeps the thread busy.
#pragma once

#include <QWidget>

class QLabel;

namespace resheat::ui {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    QLabel *Label1;

    // Shows the window and paints it at once: the calculation that follows
    // does not return to the message loop until it ends.
    void showNow();

protected:
    ProgressWindow(const QSize &clientSize, const QPoint &labelPos);
    // Sets position, caption and label text; grows the window to the
    // label when a font draws wider than the design.
    void applyShowing(const QString &caption, const QString &labelText);

private:
    QSize designSize_;
};

} // namespace resheat::ui
