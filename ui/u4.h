// Unit u4: the progress window of the rz calculation.
#pragma once

#include "ui/ProgressWindow.h"

namespace resheat::ui {

class TForm4 : public ProgressWindow {
    Q_OBJECT
public:
    TForm4();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};

} // namespace resheat::ui
