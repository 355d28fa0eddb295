// Unit u3: the progress window of the xy calculation.
#pragma once

#include "ui/ProgressWindow.h"

namespace resheat::ui {

class TForm3 : public ProgressWindow {
    Q_OBJECT
public:
    TForm3();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};

} // namespace resheat::ui
