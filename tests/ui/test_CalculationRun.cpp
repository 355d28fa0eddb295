// Calculation runs from the main window: progress windows, rejected cases,
// faults and the menu-state update afterwards.
#include <gtest/gtest.h>

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>

#include "core/Errors.h"
#include "ui/CalculationRun.h"
#include "ui/support/TestProgram.h"
#include "ui/u1.h"
#include "ui/u3.h"
#include "ui/u4.h"

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

// Counts what happens to a progress window while a run keeps the thread.
class ProgressSpy : public QObject {
public:
    explicit ProgressSpy(QWidget *window) : window_(window) { window->installEventFilter(this); }
    int shows = 0;
    int hides = 0;
    int paintsWhileShown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_) {
            if (event->type() == QEvent::Show)
                ++shows;
            else if (event->type() == QEvent::Hide)
                ++hides;
        }
        if (event->type() == QEvent::Paint && window_->isVisible())
            ++paintsWhileShown;
        return false;
    }

private:
    QWidget *window_;
};

class CalculationRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.app().showMainWindow();
        form = program.windows().Form1;
        form3 = program.windows().Form3;
        form4 = program.windows().Form4;
        // Paint events of the label count too.
        spyXY = std::make_unique<ProgressSpy>(form3);
        spyRZ = std::make_unique<ProgressSpy>(form4);
        form3->Label1->installEventFilter(spyXY.get());
        form4->Label1->installEventFilter(spyRZ.get());
    }

    bool resultsXY() const { return form->rfxy1->menuAction()->isEnabled(); }
    bool resultsRZ() const { return form->rfrz1->menuAction()->isEnabled(); }

    void enterXY(const DataXY &d)
    {
        program.state.dataXY = d;
        form->UpdateMenuState();
    }

    TestProgram program;
    TForm1 *form = nullptr;
    TForm3 *form3 = nullptr;
    TForm4 *form4 = nullptr;
    std::unique_ptr<ProgressSpy> spyXY;
    std::unique_ptr<ProgressSpy> spyRZ;
};

TEST_F(CalculationRun, XYRunShowsItsProgressWindowOnceAndEnablesTheResults)
{
    enterXY(SteelBar());
    ASSERT_TRUE(form->oblxy->isEnabled());
    form->oblxy->trigger();

    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(spyXY->shows, 1);
    EXPECT_EQ(spyXY->hides, 1);
    EXPECT_GE(spyXY->paintsWhileShown, 1);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form3->pos(), QPoint(100, 100));
    EXPECT_EQ(form3->windowTitle(), "Calculations for xy geometry");
    EXPECT_EQ(form3->Label1->text(), "Calculation for xy geometry in progress");
    EXPECT_EQ(spyRZ->shows, 0);

    // A warm bar: the history is filled and the results can be opened.
    EXPECT_GT(program.state.historyXY[9][1], 20);
    EXPECT_GT(program.state.resultsXY.heatingTime, 0);
    EXPECT_TRUE(resultsXY());
    EXPECT_FALSE(resultsRZ());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CalculationRun, RZRunUsesItsOwnProgressWindow)
{
    program.state.dataRZ = SteelRod();
    form->UpdateMenuState();
    ASSERT_TRUE(form->oblrz->isEnabled());
    form->oblrz->trigger();

    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(spyRZ->shows, 1);
    EXPECT_EQ(spyRZ->hides, 1);
    EXPECT_GE(spyRZ->paintsWhileShown, 1);
    EXPECT_FALSE(form4->isVisible());
    EXPECT_EQ(form4->pos(), QPoint(100, 100));
    EXPECT_EQ(form4->windowTitle(), "Calculations for rz geometry");
    EXPECT_EQ(form4->Label1->text(), "Calculation for rz geometry in progress");
    // The whole label text fits into the window.
    EXPECT_LE(form4->Label1->geometry().right(), form4->width());
    EXPECT_EQ(spyXY->shows, 0);
    EXPECT_TRUE(resultsRZ());
    EXPECT_FALSE(resultsXY());
}

TEST_F(CalculationRun, ProgressWindowFontAndLabelPlaces)
{
    form3->show();
    form4->show();
    for (ProgressWindow *w : {static_cast<ProgressWindow *>(form3), static_cast<ProgressWindow *>(form4)}) {
        const QFont font = w->Label1->font();
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(font.pixelSize(), 27);
        EXPECT_EQ(font.families().value(0), "Times New Roman");
    }
    EXPECT_EQ(form3->Label1->pos(), QPoint(24, 80));
    EXPECT_EQ(form4->Label1->pos(), QPoint(200, 96));
    form3->hide();
    form4->hide();
}

TEST_F(CalculationRun, PowerDensityAboveTheLimitGivesTwoBoxesAndNoProgressWindow)
{
    DataXY d = SteelBar();
    d.supplyVoltage = 100; // pv = (90 V)^2 / (1.5384E-7 ohm m * (1 m)^2) = 5.3E10 W/m3
    enterXY(d);
    form->oblxy->trigger();

    EXPECT_EQ(program.desktop.boxLines(),
              (QStringList{"Calculation Error|Power density greatest then 1E10 ?!!!", "Calculation Error|Change input data"}));
    for (const auto &box : program.desktop.boxes)
        EXPECT_EQ(box.kind, FakeDesktop::BoxKind::Message);
    EXPECT_EQ(spyXY->shows, 0);
    EXPECT_EQ(program.state.historyXY, History{});
    EXPECT_GT(program.state.resultsXY.powerDensity, 1E10);
    EXPECT_FALSE(resultsXY());
}

TEST_F(CalculationRun, ARejectedRunAfterASuccessfulOneKeepsTheOldResults)
{
    enterXY(SteelBar());
    form->oblxy->trigger();
    ASSERT_TRUE(resultsXY());
    const History before = program.state.historyXY;

    DataXY d = SteelBar();
    d.supplyVoltage = 100;
    enterXY(d);
    form->oblxy->trigger();
    EXPECT_EQ(program.desktop.boxes.size(), 2u);
    EXPECT_EQ(program.state.historyXY, before);
    EXPECT_TRUE(resultsXY());
    EXPECT_EQ(spyXY->shows, 1);
}

// The classic formulas compute whatever they get, so a fault ends their run.
TEST_F(CalculationRun, AFaultDuringTheRunHidesTheProgressWindowThenReportsAndSkipsTheMenuUpdate)
{
    program.state.classicFormulas = true;
    DataXY d = SteelBar();
    d.density = 0; // the history's diffusivity divides by the density
    enterXY(d);
    // A history the menu has not seen yet: an update after the run would
    // enable the results.
    program.state.historyXY[9][1] = 500;
    bool progressVisibleAtReport = true;
    program.desktop.onBox = [&](const FakeDesktop::Box &) { progressVisibleAtReport = form3->isVisible(); };

    form->oblxy->trigger();

    ASSERT_EQ(program.desktop.boxes.size(), 1u);
    const auto &box = program.desktop.boxes[0];
    EXPECT_EQ(box.kind, FakeDesktop::BoxKind::ErrorReport);
    EXPECT_EQ(box.caption, "ui_test_CalculationRun");
    EXPECT_EQ(box.text, "Floating point division by zero.");
    EXPECT_EQ(spyXY->shows, 1);
    EXPECT_FALSE(progressVisibleAtReport);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_FALSE(resultsXY());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CalculationRun, AFaultBeforeTheProgressWindowReportsWithoutShowingIt)
{
    program.state.classicFormulas = true;
    DataRZ d = SteelRod();
    d.resistivity = 0;
    program.state.dataRZ = d;
    form->UpdateMenuState();
    form->oblrz->trigger();
    ASSERT_EQ(program.desktop.boxes.size(), 1u);
    EXPECT_EQ(program.desktop.boxes[0].kind, FakeDesktop::BoxKind::ErrorReport);
    EXPECT_TRUE(program.desktop.boxes[0].text.startsWith("Floating point"));
    EXPECT_TRUE(program.desktop.boxes[0].text.endsWith('.'));
    EXPECT_EQ(spyRZ->shows, 0);
}

TEST_F(CalculationRun, AColdCentreAtTheTenthRowLeavesTheResultsDisabled)
{
    program.state.classicFormulas = true; // the series refuse a start below absolute zero
    DataXY d = SteelBar();
    d.startTemp = -1000; // a fifth of the heating leaves the centre far below zero
    d.finishTemp = 10;
    enterXY(d);
    form->oblxy->trigger();
    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(spyXY->shows, 1);
    EXPECT_LT(program.state.historyXY[9][1], 0);
    EXPECT_FALSE(resultsXY());
}

// The series say what they refuse or cannot reach, in one box captioned
// "Calculation Error", and the menu update runs afterwards.
TEST_F(CalculationRun, TheSeriesSayWhatTheyRefuseOrCannotReach)
{
    DataXY cooled = SteelBar();
    cooled.supplyVoltage = 2;
    cooled.finishTemp = 1200;
    cooled.alfa = 300; // levels off at 947.258 oC
    DataXY noDensity = SteelBar();
    noDensity.density = 0;
    DataXY cold = SteelBar();
    cold.startTemp = -300;
    const struct {
        DataXY data;
        QString box;
        int progressShows;
        bool results;
    } rows[] = {
        {noDensity, "Calculation Error|Density must be positive.", 0, false},
        {cold, "Calculation Error|Start temperature must be above -273.15 oC.", 0, false},
        {cooled, "Calculation Error|The centre does not reach the finish temperature: it approaches 947.258 oC.", 1,
         true},
    };
    for (const auto &row : rows) {
        TestProgram fresh;
        fresh.app().showMainWindow();
        TForm1 *main = fresh.windows().Form1;
        ProgressSpy spy(fresh.windows().Form3);
        bool progressVisibleAtBox = true;
        fresh.desktop.onBox = [&](const FakeDesktop::Box &) { progressVisibleAtBox = fresh.windows().Form3->isVisible(); };
        fresh.state.dataXY = row.data;
        main->UpdateMenuState();
        ASSERT_TRUE(main->oblxy->isEnabled()) << row.box.toStdString();
        main->oblxy->trigger();
        EXPECT_EQ(fresh.desktop.boxLines(), QStringList{row.box});
        EXPECT_EQ(fresh.desktop.boxes[0].kind, FakeDesktop::BoxKind::Message);
        EXPECT_FALSE(progressVisibleAtBox);
        EXPECT_EQ(spy.shows, row.progressShows) << row.box.toStdString();
        EXPECT_EQ(main->rfxy1->menuAction()->isEnabled(), row.results) << row.box.toStdString();
    }
}

TEST_F(CalculationRun, ARunFromTheMainWindowComputesTheHeatingTime)
{
    // A heating time typed earlier in a results window is not used.
    form->hide();
    program.state.fixedTimeXY = true;
    program.state.userTimeXY = 5;
    form->show();
    enterXY(SteelBar());
    form->oblxy->trigger();
    EXPECT_FALSE(program.state.fixedTimeXY);
    // m c (Tf - Ts) / P = 19.5 kg * 481.32 * 1480 K / 1.317 MW = 10.5 s at least
    EXPECT_GT(program.state.historyXY[49][0], 10);
}

TEST_F(CalculationRun, GuardOfOtherWindowsHidesALeftOverProgressWindowFirst)
{
    bool visibleAtReport = true;
    program.desktop.onBox = [&](const FakeDesktop::Box &) {
        visibleAtReport = form3->isVisible() || form4->isVisible();
    };
    const bool ok = RunGuardedWithProgress(program.program(), [&] {
        form4->showNow();
        throw ArithmeticFault(kOverflow);
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(visibleAtReport);
    EXPECT_EQ(program.desktop.boxLines(), QStringList{"ui_test_CalculationRun|Floating point overflow."});
}

} // namespace
