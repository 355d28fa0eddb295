// The rz text results window (TForm5a): the lumped results of the
// cylindrical charge, its heating time box and its printed page (TForm8a).
#pragma once

#include "ui/u5.h"

namespace resheat::ui {

class TForm5a : public TextResultsForm {
    Q_OBJECT
public:
    explicit TForm5a(Program &program, QWidget *parent = nullptr);

protected:
    QString caption() const override;
    std::vector<double> resultValues() const override;
    double storedHeatingTime() const override;
    bool classicResults() const override;
    void rerun(double userTime) override;
    const report::ReportForm *fillReport() override;
};

QStringList ResultNamesRZ();
QStringList InputNamesRZ();

} // namespace resheat::ui
