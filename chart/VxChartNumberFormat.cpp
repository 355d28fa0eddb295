#include "chart/VxChartNumberFormat.h"

#include <utility>

namespace {

VxChartDecimalSeparatorSource &Installed()
{
    static VxChartDecimalSeparatorSource source;
    return source;
}

} // namespace

VxChartDecimalSeparatorSource VxChartSetDecimalSeparator(VxChartDecimalSeparatorSource source)
{
    return std::exchange(Installed(), std::move(source));
}

QString VxChartWithDecimalSeparator(QString number)
{
    const VxChartDecimalSeparatorSource &source = Installed();
    if (!source)
        return number;
    const QString separator = source();
    if (!separator.isEmpty() && separator != QLatin1String("."))
        number.replace(QLatin1Char('.'), separator);
    return number;
}
