#include "ui/u9a.h"

#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u5.h"
#include "ui/u5a.h"

namespace resheat::ui {

TForm9a::TForm9a(Program &program, QWidget *parent) : CompareForm(program, parent)
{
    setObjectName(QStringLiteral("Form9a"));
}

QString TForm9a::caption() const
{
    return QStringLiteral("Constant and temperature-dependent properties, rz geometry");
}

CompareCase TForm9a::currentCase() const
{
    CompareCase c;
    c.bar = false;
    c.rz = m_program.state.dataRZ;
    return c;
}

QString TForm9a::material() const
{
    return MaterialText(m_program.state.dataRZ.name);
}

QStringList TForm9a::inputNames() const
{
    return InputNamesRZ();
}

QStringList TForm9a::inputValues() const
{
    QStringList values{material()};
    for (auto field : kDataRZNumbers)
        values << FormatGeneral(m_program.state.dataRZ.*field, 15);
    return values;
}

} // namespace resheat::ui
