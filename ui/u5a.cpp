#include "ui/u5a.h"

#include "ui/CalculationRun.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u8a.h"

namespace resheat::ui {

QStringList ResultNamesRZ()
{
    return {
        QStringLiteral("Charge mass           [kg]"),
        QStringLiteral("Charge resistance     [om]"),
        QStringLiteral("Real voltage supply    [V]"),
        QStringLiteral("Current intesity       [A]"),
        QStringLiteral("Applied power          [W]"),
        QStringLiteral("Vol. power density  [W/m3]"),
        QStringLiteral("Heating time           [s]"),
        QStringLiteral("Number of contact      [-]"),
        QStringLiteral("Biot number               "),
        QStringLiteral("Temp. difference: centre - surface   [K]"),
    };
}

QStringList InputNamesRZ()
{
    return {
        QStringLiteral("Material"),
        QStringLiteral("Length of charge       [m]"),
        QStringLiteral("Diameter of charge     [m]"),
        QStringLiteral("Density            [kg/m3]"),
        QStringLiteral("Specific heat   [Ws/(kgK)]"),
        QStringLiteral("Heat conductivity [W/(mK)]"),
        QStringLiteral("Resistivity         [om*m]"),
        QStringLiteral("Supply voltage         [V]"),
        QStringLiteral("Voltage drop           [%]"),
        QStringLiteral("Start temperature     [oC]"),
        QStringLiteral("Finish temperature    [oC]"),
        QStringLiteral("Alfa coefficient [W/(m2K)]"),
        QStringLiteral("Max contact current    [A]"),
    };
}

namespace {

// Five pairs a column; the last box is Edit11 (the window has no Edit10).
std::vector<TextResultsForm::Row> RowsRZ()
{
    const QStringList names = ResultNamesRZ();
    constexpr int kEdits[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
    std::vector<TextResultsForm::Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({kEdits[i], names[i], i == 0 ? 5 : 4, i / 5, i % 5});
    return rows;
}

} // namespace

TForm5a::TForm5a(Program &program, QWidget *parent) : TextResultsForm(program, RowsRZ(), parent)
{
    setObjectName(QStringLiteral("Form5a"));
}

QString TForm5a::caption() const
{
    return QStringLiteral("Text results for rz");
}

std::vector<double> TForm5a::resultValues() const
{
    std::vector<double> values;
    for (auto field : kResultsRZNumbers)
        values.push_back(m_state.resultsRZ.*field);
    return values;
}

double TForm5a::storedHeatingTime() const
{
    return m_state.resultsRZ.heatingTime;
}

bool TForm5a::classicResults() const
{
    return m_state.classicResultsRZ;
}

void TForm5a::rerun(double userTime)
{
    RunWithFixedTime(m_state.fixedTimeRZ, m_state.userTimeRZ, userTime,
                     [this] { RunCalculationRZ(m_program); });
}

const report::ReportForm *TForm5a::fillReport()
{
    TForm8a *form = m_program.windows.Form8a;
    if (!form)
        return nullptr;
    QStringList values{MaterialText(m_state.dataRZ.name)};
    for (auto field : kDataRZNumbers)
        values << FormatGeneral(m_state.dataRZ.*field, 15);
    fillTextReport(*form, InputNamesRZ(), values);
    return form;
}

} // namespace resheat::ui
