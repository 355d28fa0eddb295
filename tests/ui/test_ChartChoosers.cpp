// The chart editors of the program's windows choose fonts and colours
// through the desktop layer while the program runs, and not after it.
#include <gtest/gtest.h>

#include "chart/VxChartChoosers.h"
#include "support/TestProgram.h"

using resheat::ui::testing::TestProgram;

TEST(ChartChoosers, EditorsAskTheDesktopLayerWhileTheProgramRuns)
{
    VxChartChoosers *before = nullptr;
    {
        TestProgram program;
        program.desktop.colorAnswers.push_back(QColor(Qt::red));
        program.desktop.fontAnswers.push_back(std::nullopt);
        VxChartChoosers &choosers = VxChartCurrentChoosers();
        EXPECT_EQ(choosers.chooseColor(Qt::black), QColor(Qt::red));
        EXPECT_FALSE(choosers.chooseFont(QFont()).has_value());
        EXPECT_TRUE(program.desktop.colorAnswers.empty());
        before = &choosers;
    }
    // The program is gone: its desktop layer must no longer be reached.
    EXPECT_NE(&VxChartCurrentChoosers(), before);
}
