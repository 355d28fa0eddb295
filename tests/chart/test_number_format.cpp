// The decimal separator of the axis labels: a point unless a program
// installs the source of another one.
#include <gtest/gtest.h>

#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartNumberFormat.h"

namespace {

TEST(AxisNumbers, LabelsAndFactorTakeTheInstalledDecimalSeparator)
{
    // Labels show tenths above an offset of 1000 (the factor reads
    // "10^-1 + 1.00000*10^3"); a tick 0.12 above the offset reads 1.20.
    const VxChartAxisScale scale = VxChartAxisScaleUpdate(1000.1, 1000.5, 5);
    struct Case {
        VxChartDecimalSeparatorSource source;
        const char *label;
        const char *offset;
    };
    const Case cases[] = {
        {nullptr, " 1.20", "   + 1.00000*10"},
        {[] { return QStringLiteral(","); }, " 1,20", "   + 1,00000*10"},
        {[] { return QStringLiteral("."); }, " 1.20", "   + 1.00000*10"},
        {[] { return QString(); }, " 1.20", "   + 1.00000*10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const VxChartDecimalSeparatorSource before = VxChartSetDecimalSeparator(c.source);
        EXPECT_EQ(VxChartAxisLabel(scale, 0.12), QString::fromLatin1(c.label));
        EXPECT_EQ(VxChartAxisFactorPieces(scale).at(2).Text, QString::fromLatin1(c.offset));
        // The exponents are whole numbers and stay as they are.
        EXPECT_EQ(VxChartAxisFactorPieces(scale).at(1).Text, "-1");
        VxChartSetDecimalSeparator(before);
    }
}

} // namespace
