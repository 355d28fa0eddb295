// The rz text results window (TForm5a): the lumped results of the
// cylindrical charge, its heating time box and its printed page (TForm8a).
#pragma once

#include "ui/u5.h"

namespace resheat::ui {

class TForm8a;

class TForm5a : public TextResultsForm {
    Q_OBJECT
public:
    TForm5a(ProgramState &state, Desktop &desktop, CalcHost &host, TForm8a &report,
            QWidget *parent = nullptr);

protected:
    QString caption() const override;
    std::vector<double> resultValues() const override;
    double storedHeatingTime() const override;
    void rerun(double userTime) override;
    const report::ReportForm &fillReport() override;

private:
    TForm8a &m_report;
};

QStringList ResultNamesRZ();
QStringList InputNamesRZ();

} // namespace resheat::ui
