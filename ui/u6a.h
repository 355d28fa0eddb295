// The rz graphic results window (TForm6a): the centre and surface
// temperatures of the cylindrical charge, printed through Tform7a.
#pragma once

#include "ui/u6.h"

namespace resheat::ui {

class Tform7a;

class TForm6a : public GraphicResultsForm {
    Q_OBJECT
public:
    TForm6a(Program &program, Tform7a &report, QWidget *parent = nullptr);

protected:
    QString caption() const override;
    const History &history() const override;
    double heatingTime() const override;
    double finishTemperature() const override;
    bool classicResults() const override;
};

} // namespace resheat::ui
