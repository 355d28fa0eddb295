#include "ui/u6a.h"

#include "ui/u7a.h"

namespace resheat::ui {

TForm6a::TForm6a(Program &program, Tform7a &report, QWidget *parent)
    : GraphicResultsForm(program, report, PointChoicesRZ(), QStringLiteral(":/images/sketchrz.svg"), 145,
                         parent)
{
    setObjectName(QStringLiteral("Form6a"));
}

QString TForm6a::caption() const
{
    return QStringLiteral("Temperature for rz geometry");
}

const History &TForm6a::history() const
{
    return programState().historyRZ;
}

double TForm6a::heatingTime() const
{
    return programState().resultsRZ.heatingTime;
}

double TForm6a::finishTemperature() const
{
    return programState().dataRZ.finishTemp;
}

bool TForm6a::classicResults() const
{
    return programState().classicResultsRZ;
}

} // namespace resheat::ui
