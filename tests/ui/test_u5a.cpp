// The rz text results window: its ten pairs, the heating time re-run on the
// rz records and the rz page.
#include "ui/NumberFormat.h"
#include "ui/u5a.h"
#include "ui/u8a.h"

#include "ui/CalculationRun.h"
#include "ui/support/TestProgram.h"
#include "ui/support/TextResultsSupport.h"
#include "ui/u4.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

class TextResultsRZ : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        state.dataRZ = SteelRod();
        // The worked figures of earlier versions; the series are tested at the end.
        state.classicFormulas = true;
    }
    void TearDown() override
    {
        window.hide();
        QLocale::setDefault(savedLocale);
    }
    void RunWorkedCase() { RunCalculationRZ(program.program()); }

    QLocale savedLocale;
    TestProgram program;
    ProgramState &state = program.state;
    FakeDesktop &desktop = program.desktop;
    TForm5a &window = *static_cast<TForm5a *>(program.windows().Form5a);
    ShowCounter progress{program.windows().Form4};
};

TEST_F(TextResultsRZ, ShowingFillsTenPairsFiveAColumn)
{
    RunWorkedCase();
    window.show();
    EXPECT_EQ(window.pos(), QPoint(20, 20));
    EXPECT_EQ(window.windowTitle(), "Text results for rz");
    EXPECT_EQ(window.size(), QSize(696, 562));
    EXPECT_EQ(window.button1()->text(), "&Close");
    EXPECT_EQ(window.button2()->text(), "&Print results");

    struct Pair {
        int edit;
        const char *label;
        const char *value;   // worked case, mass 5 digits, the rest 4
    };
    const Pair pairs[10] = {
        {1, "Charge mass           [kg]", "15.315"},
        {2, "Charge resistance     [om]", "7.835E-5"},
        {3, "Real voltage supply    [V]", "9"},
        {4, "Current intesity       [A]", "1.149E5"},
        {5, "Applied power          [W]", "1.034E6"},
        {6, "Vol. power density  [W/m3]", "5.265E8"},
        {7, "Heating time           [s]", "10.76"},
        {8, "Number of contact      [-]", "115"},
        {9, "Biot number               ", "0.004267"},
        {11, "Temp. difference: centre - surface   [K]", "426.5"},
    };
    for (const Pair &pair : pairs) {
        SCOPED_TRACE(pair.edit);
        ASSERT_NE(window.edit(pair.edit), nullptr);
        EXPECT_EQ(window.label(pair.edit)->text(), (pair.edit == 7 ? "&" : "") + QString::fromLatin1(pair.label));
        EXPECT_EQ(window.edit(pair.edit)->text(), pair.value);
        EXPECT_EQ(window.edit(pair.edit)->isReadOnly(), pair.edit != 7);
    }
    EXPECT_EQ(window.edit(10), nullptr);
    EXPECT_EQ(window.edit(12), nullptr);
    // Column 2 starts with the power density, beside the mass.
    EXPECT_EQ(window.edit(6)->y(), window.edit(1)->y());
    EXPECT_GT(window.edit(6)->x(), window.edit(1)->x());
    EXPECT_EQ(window.edit(11)->y(), window.edit(5)->y());

    SaveShot(window, "u5a.png");
}

TEST_F(TextResultsRZ, TabOrderSkipsTheMissingTenthBox)
{
    std::vector<QString> order;
    QWidget *w = window.edit(1);
    do {
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPushButton *>(w))
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != window.edit(1));
    const std::vector<QString> expected{"Edit1", "Edit2", "Edit3", "Edit4",  "Edit5",   "Edit6",
                                        "Edit7", "Edit8", "Edit9", "Edit11", "Button1", "Button2"};
    EXPECT_EQ(order, expected);
}

TEST_F(TextResultsRZ, TypedTimeRerunsTheRzCalculationOnly)
{
    RunWorkedCase();
    const ResultsXY xyBefore = state.resultsXY;
    window.show();
    window.edit(7)->setText("600");
    window.Edit7Exit();

    EXPECT_EQ(progress.shows, 2);   // the worked case's run and this one
    EXPECT_FALSE(program.windows().Form4->isVisible());
    EXPECT_FALSE(state.fixedTimeRZ);
    EXPECT_EQ(state.userTimeRZ, 600);
    // About 140 K/s at the centre: 1500 oC is passed by the first row at 12 s.
    EXPECT_DOUBLE_EQ(state.historyRZ[0][0], 12);
    EXPECT_DOUBLE_EQ(state.historyRZ[49][0], 600);
    EXPECT_DOUBLE_EQ(state.resultsRZ.heatingTime, 12);
    EXPECT_EQ(state.resultsXY, xyBefore);
    EXPECT_EQ(state.userTimeXY, 0);

    // Shown at once: the time the run stored and the difference then.
    EXPECT_EQ(window.edit(7)->text(), "12");
    EXPECT_EQ(window.edit(11)->text(), FormatGeneral(state.resultsRZ.diffSurface, 4));
    EXPECT_NE(window.edit(11)->text(), "426.5");
}

TEST_F(TextResultsRZ, BadTextGetsTheMessageInTheCommaLocaleToo)
{
    RunWorkedCase();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    window.show();
    EXPECT_EQ(window.edit(7)->text(), "10,76");
    window.edit(7)->setText("10.5");   // a point is no decimal separator here
    window.Edit7Exit();
    EXPECT_EQ(desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"});
    EXPECT_EQ(progress.shows, 1);

    window.edit(7)->setText("20,5");
    window.Edit7Exit();
    EXPECT_EQ(state.userTimeRZ, 20.5);
}

TEST_F(TextResultsRZ, PrintResultsPreviewsTheRzPage)
{
    RunWorkedCase();
    window.Button2Click();
    ASSERT_EQ(desktop.previews, 1);
    ASSERT_EQ(desktop.lastPreview, program.windows().Form8a);
    const std::vector<QString> texts = Captions(*desktop.lastPreview);
    ASSERT_EQ(texts.size(), 3u + 2 * 13 + 2 * 10 + 1);
    EXPECT_EQ(texts[0], "Text results for rz");
    EXPECT_EQ(texts[3], "Material");
    EXPECT_EQ(texts[4], "steel");
    EXPECT_EQ(texts[7], "Diameter of charge     [m]");
    EXPECT_EQ(texts[8], "0.05");
    EXPECT_EQ(texts[27], "Max contact current    [A]");
    EXPECT_EQ(texts[29], "Charge mass           [kg]");
    EXPECT_EQ(texts[30], "15.315");
    EXPECT_EQ(texts[47], "Temp. difference: centre - surface   [K]");
    EXPECT_EQ(texts[48], "426.5");
    EXPECT_EQ(texts[49], "Classic formulas");
}

} // namespace
