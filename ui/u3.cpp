#include "ui/u3.h"

#include <QShowEvent>

namespace resheat::ui {

TForm3::TForm3() : ProgressWindow(QSize(520, 226), QPoint(24, 80))
{
    setObjectName(QStringLiteral("Form3"));
}

void TForm3::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    ProgressWindow::showEvent(event);
}

void TForm3::FormShow()
{
    applyShowing(QStringLiteral("Calculations for xy geometry"),
                 QStringLiteral("Calculation for xy geometry in progress"));
}

} // namespace resheat::ui
