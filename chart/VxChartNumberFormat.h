// The decimal separator of the numbers the chart writes on its axes.
//
// The chart writes a point.  A program that shows its numbers in its users'
// regional format installs a function returning that format's separator,
// so that the axes read as the rest of its windows do ("1,20" beside a
// table that reads "46,6").  The function is asked each time a number is
// written, so a change of format shows at the next painting.
#pragma once

#include <QString>

#include <functional>

using VxChartDecimalSeparatorSource = std::function<QString()>;

// Installs the source of the separator and returns the one installed
// before; an empty function goes back to the point.
VxChartDecimalSeparatorSource VxChartSetDecimalSeparator(VxChartDecimalSeparatorSource source);

// `number`, written with a point as its decimal separator, with the
// installed separator instead.
QString VxChartWithDecimalSeparator(QString number);
