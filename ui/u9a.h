// The rz compare window (TForm9a): both models of the cylindrical charge
// side by side, printed through the same page layout as the xy window.
#pragma once

#include "ui/u9.h"

namespace resheat::ui {

class TForm9a : public CompareForm {
    Q_OBJECT
public:
    explicit TForm9a(Program &program, QWidget *parent = nullptr);

protected:
    QString caption() const override;
    CompareCase currentCase() const override;
    QString material() const override;
    QStringList inputNames() const override;
    QStringList inputValues() const override;
};

} // namespace resheat::ui
