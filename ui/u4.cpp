#include "ui/u4.h"

#include <QShowEvent>

namespace resheat::ui {

TForm4::TForm4() : ProgressWindow(QSize(547, 162), QPoint(200, 96))
{
    setObjectName(QStringLiteral("Form4"));
}

void TForm4::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    ProgressWindow::showEvent(event);
}

void TForm4::FormShow()
{
    applyShowing(QStringLiteral("Calculations for rz geometry"),
                 QStringLiteral("Calculation for rz geometry in progress"));
}

} // namespace resheat::ui
