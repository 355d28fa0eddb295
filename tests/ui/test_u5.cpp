// The xy text results window: what a showing puts on screen, the heating
// time box and its re-run, opening and closing, and the printed results page.
#include "ui/u5.h"
#include "ui/u8.h"

#include "ui/CalculationRun.h"
#include "ui/NumberFormat.h"
#include "ui/support/TestProgram.h"
#include "ui/support/TextResultsSupport.h"
#include "ui/u1.h"
#include "ui/u3.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

class TextResultsXY : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        state.dataXY = SteelBar();
        // The worked figures of earlier versions; the series are tested at the end.
        state.classicFormulas = true;
    }
    void TearDown() override
    {
        window.hide();
        QLocale::setDefault(savedLocale);
    }

    // A results record whose values exercise the display format.
    void FillSampleResults()
    {
        ResultsXY &r = state.resultsXY;
        r.mass = 12.3456;
        r.resistance = 0.000001234;
        r.realVoltage = 9;
        r.current = 12345;
        r.power = 1234.5;
        r.powerDensity = 1.5E9;
        r.heatingTime = 123.456;
        r.contacts = 146;
        r.biotWidth = 0.0085344;
        r.biotHeight = 0.5;
        r.diffWidth = 48.399;
        r.diffHeight = -3.25;
    }

    // Runs the worked case as the main window's command would.
    void RunWorkedCase() { RunCalculationXY(program.program()); }

    std::vector<QString> boxTexts() const
    {
        std::vector<QString> texts;
        for (int n = 1; n <= 12; ++n)
            texts.push_back(window.edit(n)->text());
        return texts;
    }

    QLocale savedLocale;
    TestProgram program;
    ProgramState &state = program.state;
    FakeDesktop &desktop = program.desktop;
    TForm5 &window = *static_cast<TForm5 *>(program.windows().Form5);
    ShowCounter progress{program.windows().Form3};
};

TEST_F(TextResultsXY, ShowingSetsPlaceCaptionLabelsButtonsAndValues)
{
    FillSampleResults();
    window.show();

    EXPECT_EQ(window.pos(), QPoint(20, 20));
    EXPECT_EQ(window.windowTitle(), "Text results for xy");
    EXPECT_EQ(window.size(), QSize(696, 562));
    // Alt+C, Alt+P and Alt+H (the heating time box) reach what they name.
    EXPECT_EQ(window.button1()->text(), "&Close");
    EXPECT_EQ(window.button2()->text(), "&Print results");
    EXPECT_TRUE(window.button1()->isDefault());

    const char *labels[12] = {
        "Charge mass           [kg]", "Charge resistance     [om]", "Real voltage supply    [V]",
        "Current intesity       [A]", "Applied power          [W]", "Vol. power density  [W/m3]",
        "Heating time           [s]", "Number of contact      [-]", "Biot number (width)       ",
        "Biot number (height)      ", "Temp. difference: centre - width   [K]",
        "Temp. difference: centre - height  [K]"};
    // Mass with 5 significant digits, the rest with 4.
    const char *values[12] = {"12.346", "1.234E-6", "9", "1.235E4", "1235", "1.5E9",
                              "123.5", "146", "0.008534", "0.5", "48.4", "-3.25"};
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        ASSERT_NE(window.edit(n), nullptr);
        EXPECT_EQ(window.label(n)->text(), (n == 7 ? "&" : "") + QString::fromLatin1(labels[n - 1]));
        EXPECT_EQ(window.label(n)->buddy(), window.edit(n));
        EXPECT_EQ(window.edit(n)->text(), values[n - 1]);
        // Every value can be selected and copied; only the time is typed.
        EXPECT_TRUE(window.edit(n)->isEnabled());
        EXPECT_EQ(window.edit(n)->isReadOnly(), n != 7);
        // Labels stand above their boxes, six a column, column 1 on the left.
        EXPECT_LT(window.label(n)->geometry().bottom(), window.edit(n)->geometry().top());
        if (n != 1 && n != 7) {
            EXPECT_GT(window.edit(n)->y(), window.edit(n - 1)->y());
        }
    }
    EXPECT_LT(window.edit(1)->x() + window.edit(1)->width(), window.edit(7)->x());
    EXPECT_EQ(window.edit(1)->y(), window.edit(7)->y());
    EXPECT_EQ(window.edit(13), nullptr);
    // The buttons, 241 wide, lie below the table, Close above Print results.
    EXPECT_EQ(window.button1()->width(), 241);
    EXPECT_EQ(window.button2()->width(), 241);
    EXPECT_GT(window.button1()->y(), window.edit(12)->geometry().bottom());
    EXPECT_GT(window.button2()->y(), window.button1()->geometry().bottom());
    EXPECT_LE(window.button2()->geometry().bottom(), 562);

    SaveShot(window, "u5.png");
}

TEST_F(TextResultsXY, EveryShowingTakesAFreshSnapshotInTheRegionalFormat)
{
    FillSampleResults();
    window.show();
    window.move(300, 300);
    window.hide();
    state.resultsXY.mass = 0.5;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    window.show();
    EXPECT_EQ(window.pos(), QPoint(20, 20));
    EXPECT_EQ(window.edit(1)->text(), "0,5");
    EXPECT_EQ(window.edit(7)->text(), "123,5");
    EXPECT_EQ(window.edit(9)->text(), "0,008534");
}

TEST_F(TextResultsXY, TabOrderRunsThroughTheBoxesThenCloseThenPrint)
{
    std::vector<QString> order;
    QWidget *w = window.edit(1);
    do {
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPushButton *>(w))
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != window.edit(1));
    const std::vector<QString> expected{"Edit1", "Edit2",  "Edit3",  "Edit4",   "Edit5",
                                        "Edit6", "Edit7",  "Edit8",  "Edit9",   "Edit10",
                                        "Edit11", "Edit12", "Button1", "Button2"};
    EXPECT_EQ(order, expected);

    // By the keyboard: the heating time box first, then round the whole
    // chain, every box included.
    FillSampleResults();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), window.edit(7));
    std::vector<QString> walked;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(walked, (std::vector<QString>{"Edit8", "Edit9", "Edit10", "Edit11", "Edit12", "Button1", "Button2",
                                            "Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"}));
}

TEST_F(TextResultsXY, AResultIsSelectedAndCopiedFromItsBox)
{
    FillSampleResults();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.edit(4)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window.edit(4), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.edit(4), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1.235E4");
    // Typing changes nothing.
    QTest::keyClicks(window.edit(4), "99");
    EXPECT_EQ(window.edit(4)->text(), "1.235E4");
}

TEST_F(TextResultsXY, HeatingTimeBoxDoesNotSelectItsTextOnEntry)
{
    FillSampleResults();
    window.show();
    QApplication::setActiveWindow(&window);
    window.edit(6)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(window.edit(6), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.edit(7));
    EXPECT_FALSE(window.edit(7)->hasSelectedText());
}

TEST_F(TextResultsXY, TextThatIsNoNumberGetsTheMessageAndStartsNoRun)
{
    FillSampleResults();
    const ResultsXY before = state.resultsXY;
    window.show();
    window.edit(7)->setText("12x");
    window.Edit7Exit();

    EXPECT_EQ(desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"});
    EXPECT_EQ(desktop.boxes[0].kind, FakeDesktop::BoxKind::Message);
    // The box shows the time in use again.
    EXPECT_EQ(window.edit(7)->text(), "123.5");
    EXPECT_EQ(state.resultsXY, before);
    EXPECT_EQ(progress.shows, 0);
    EXPECT_FALSE(state.fixedTimeXY);

    window.edit(7)->setText("");   // an emptied box is no number either
    window.Edit7Exit();
    EXPECT_EQ(desktop.boxes.size(), 2u);
}

TEST_F(TextResultsXY, LeavingTheBoxUnchangedStartsNoRunEvenWhenTheShownTimeIsRounded)
{
    FillSampleResults();   // 123.456 s, shown as 123.5
    const ResultsXY before = state.resultsXY;
    window.show();
    window.Edit7Exit();
    EXPECT_EQ(progress.shows, 0);
    EXPECT_EQ(state.resultsXY, before);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(TextResultsXY, TimeWithinTwoHundredthsOfTheStoredOneStartsNoRun)
{
    FillSampleResults();
    state.resultsXY.heatingTime = 45.678;
    window.show();
    for (const char *text : {"45.68", "45.67", "45.66", "45.697"}) {
        window.edit(7)->setText(text);
        window.Edit7Exit();
    }
    EXPECT_EQ(progress.shows, 0);
    EXPECT_EQ(state.resultsXY.heatingTime, 45.678);
}

TEST_F(TextResultsXY, TypedTimeFartherAwayRecomputesResultsAndHistory)
{
    RunWorkedCase();   // heating time about 10.764 s
    const ResultsXY before = state.resultsXY;
    const History historyBefore = state.historyXY;
    window.show();
    const std::vector<QString> shown = boxTexts();
    EXPECT_EQ(shown[6], "10.76");
    const int runsBefore = progress.shows;

    window.edit(7)->setText("600");
    window.Edit7Exit();

    // One run, with its progress window shown and hidden, on the fixed time.
    EXPECT_EQ(progress.shows, runsBefore + 1);
    EXPECT_FALSE(program.windows().Form3->isVisible());
    EXPECT_FALSE(state.fixedTimeXY);
    EXPECT_EQ(state.userTimeXY, 600);
    // Rows a fiftieth of 600 s apart; the centre passes 1500 oC within the
    // first 12 s (about 140 K/s), so the stored heating time is row 1's.
    EXPECT_DOUBLE_EQ(state.historyXY[0][0], 12);
    EXPECT_DOUBLE_EQ(state.historyXY[49][0], 600);
    EXPECT_DOUBLE_EQ(state.resultsXY.heatingTime, 12);
    EXPECT_NE(state.historyXY, historyBefore);
    EXPECT_EQ(state.resultsXY.mass, before.mass);
    EXPECT_TRUE(desktop.boxes.empty());

    // The boxes show the new values at once: the time the run stored, the
    // temperature differences of that time; the lumped values stay.
    const std::vector<QString> now = boxTexts();
    EXPECT_EQ(now[6], "12");
    EXPECT_EQ(now[10], FormatGeneral(state.resultsXY.diffWidth, 4));
    EXPECT_NE(now[10], shown[10]);
    for (int i : {0, 1, 2, 3, 4, 5, 7, 8, 9})
        EXPECT_EQ(now[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i)]) << i;
    // Leaving the box again runs nothing more; printing prints what is shown.
    window.Edit7Exit();
    EXPECT_EQ(progress.shows, runsBefore + 1);
    window.button2()->click();
    ASSERT_NE(program.windows().Form8, nullptr);
    EXPECT_EQ(program.windows().Form8->resultValue(6).caption, "12");
    EXPECT_EQ(program.windows().Form8->resultValue(10).caption, now[10]);
}

TEST_F(TextResultsXY, ShortTypedTimeIsStoredAsTyped)
{
    RunWorkedCase();
    window.show();
    window.edit(7)->setText("5");   // the centre reaches about 720 oC: no earlier row
    window.Edit7Exit();
    EXPECT_DOUBLE_EQ(state.resultsXY.heatingTime, 5);
    EXPECT_DOUBLE_EQ(state.historyXY[0][0], 0.1);
    EXPECT_LT(state.historyXY[49][1], 1500);
}

TEST_F(TextResultsXY, TimeMoreThanTwoHundredthsAwayRuns)
{
    FillSampleResults();   // 123.456 s
    window.show();
    window.edit(7)->setText("123.48");   // 0.024 s away
    window.Edit7Exit();
    EXPECT_EQ(progress.shows, 1);
    EXPECT_EQ(state.userTimeXY, 123.48);
}

TEST_F(TextResultsXY, HeatingTimeOfZeroOrLessIsRefused)
{
    RunWorkedCase();
    const ResultsXY before = state.resultsXY;
    window.show();
    for (const char *text : {"-5", "0", "-1E-300"}) {
        window.edit(7)->setText(text);
        window.Edit7Exit();
    }
    ASSERT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(desktop.boxLines()[0], "Input Error|Heating time must be greater than 0");
    EXPECT_EQ(state.resultsXY, before);
    EXPECT_EQ(progress.shows, 1);   // only the worked case's own run
}

TEST_F(TextResultsXY, FaultInAReRunEndsInTheErrorReportWithTheSwitchOff)
{
    RunWorkedCase();
    state.dataXY.maxContactCurrent = 0;   // number of contacts: division by zero
    window.show();
    QApplication::setActiveWindow(&window);
    window.edit(7)->setFocus(Qt::OtherFocusReason);
    window.edit(7)->setText("600");
    window.button1()->setFocus(Qt::TabFocusReason);   // leaves the box

    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].kind, FakeDesktop::BoxKind::ErrorReport);
    EXPECT_EQ(desktop.boxes[0].text, "Floating point division by zero.");
    EXPECT_FALSE(state.fixedTimeXY);
    EXPECT_FALSE(program.windows().Form3->isVisible());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(TextResultsXY, LosingTheFocusToAnotherControlRunsTheExitStep)
{
    FillSampleResults();
    window.show();
    QApplication::setActiveWindow(&window);
    window.edit(7)->setFocus(Qt::OtherFocusReason);
    window.edit(7)->setText("abc");
    window.button1()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"});
}

TEST_F(TextResultsXY, EnterInTheHeatingTimeBoxRunsTheTypedTimeBeforeTheWindowCloses)
{
    RunWorkedCase();
    TForm1 &main = *program.windows().Form1;
    program.app().showMainWindow();
    main.tr1Click();
    const int runsBefore = progress.shows;
    QApplication::setActiveWindow(&window);
    window.edit(7)->setFocus(Qt::OtherFocusReason);
    window.edit(7)->setText("600");
    QTest::keyClick(window.edit(7), Qt::Key_Return);   // presses Close, the default button

    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 2000));
    EXPECT_EQ(progress.shows, runsBefore + 1);
    EXPECT_EQ(state.userTimeXY, 600);
    EXPECT_DOUBLE_EQ(state.historyXY[49][0], 600);
    EXPECT_FALSE(state.fixedTimeXY);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(TextResultsXY, EnterOnAnUnreadableTimeShowsTheMessageAndKeepsTheWindowOpen)
{
    FillSampleResults();
    const ResultsXY before = state.resultsXY;
    window.show();
    QApplication::setActiveWindow(&window);
    window.edit(7)->setFocus(Qt::OtherFocusReason);
    window.edit(7)->setText("6oo");
    QTest::keyClick(window.edit(7), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.boxes.empty(); }, 2000));
    QTest::qWait(50);

    EXPECT_EQ(desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.edit(7)->text(), "123.5");
    EXPECT_EQ(state.resultsXY, before);
    EXPECT_EQ(progress.shows, 0);

    // Pressed again, on the time in use, Close closes without a second
    // message.
    QTest::keyClick(window.edit(7), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 2000));
    EXPECT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(state.resultsXY, before);
}

TEST_F(TextResultsXY, CloseRunsATypedTimeTheBoxWasNeverLeftWith)
{
    // The box may not report its exit, for example when the window was not
    // the active one as the focus moved to Close.
    RunWorkedCase();
    window.show();
    const int runsBefore = progress.shows;
    window.edit(7)->setText("600");
    window.Button1Click();
    EXPECT_EQ(progress.shows, runsBefore + 1);
    EXPECT_DOUBLE_EQ(state.historyXY[49][0], 600);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TextResultsXY, ATimeAlreadyRunIsNotRunAgainWhenTheBoxIsLeftOnceMore)
{
    RunWorkedCase();
    window.show();
    const int runsBefore = progress.shows;
    QApplication::setActiveWindow(&window);
    window.edit(7)->setFocus(Qt::OtherFocusReason);
    window.edit(7)->setText("600");
    window.button1()->setFocus(Qt::MouseFocusReason);   // as a click on Close does first
    EXPECT_EQ(progress.shows, runsBefore + 1);
    // The run stored 12 s, far from the 600 still in the box; entering and
    // leaving the box again, or Close itself, start no second run.
    window.edit(7)->setFocus(Qt::TabFocusReason);
    window.button2()->setFocus(Qt::TabFocusReason);
    window.Button1Click();
    EXPECT_EQ(progress.shows, runsBefore + 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TextResultsXY, TextResultsCommandOpensItAndCloseBringsBackTheMainWindow)
{
    TForm1 &main = *program.windows().Form1;
    program.app().showMainWindow();
    main.tr1Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(main.isVisible());
    QTest::mouseClick(window.button1(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(main.isVisible());

    main.tr1Click();
    window.close();   // the close box hides it as well
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{&main});
}

TEST_F(TextResultsXY, PrintResultsFillsTheReportAndPreviewsIt)
{
    RunWorkedCase();
    state.dataXY.resistivity = 0.1;   // 15 digits keep 0.1 as it is
    window.show();
    QTest::mouseClick(window.button2(), Qt::LeftButton);
    ASSERT_EQ(desktop.previews, 1);
    ASSERT_EQ(desktop.lastPreview, program.windows().Form8);
    const report::ReportForm &page = *desktop.lastPreview;
    const std::vector<QString> texts = Captions(page);

    EXPECT_EQ(page.findLabel("Title")->caption, "Text results for xy");
    const std::vector<QString> expectedInputs{
        "Material", "steel",
        "Length of charge       [m]", "1",
        "Width of charge        [m]", "0.05",
        "Thickness of charge    [m]", "0.05",
        "Density            [kg/m3]", "7800",
        "Specific heat   [Ws/(kgK)]", "481.32",
        "Heat conductivity [W/(mK)]", "87.88",
        "Resistivity         [om*m]", "0.1",
        "Supply voltage         [V]", "10",
        "Voltage drop           [%]", "10",
        "Start temperature     [oC]", "20",
        "Finish temperature    [oC]", "1500",
        "Alfa coefficient [W/(m2K)]", "15",
        "Max contact current    [A]", "1000"};
    EXPECT_EQ(std::vector<QString>(texts.begin() + 3, texts.begin() + 3 + 28), expectedInputs);

    // Result rows: the window's labels (as read, without the Alt key's
    // mark) and values in table order.
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[31 + 2 * i], QString(window.label(i + 1)->text()).remove(QLatin1Char('&')));
        EXPECT_EQ(texts[32 + 2 * i], window.edit(i + 1)->text());
    }
    EXPECT_EQ(texts[32 + 2 * 7], "146");   // number of contacts of the worked case
    EXPECT_EQ(page.findLabel("Formulas")->caption, "Classic formulas");
}

// The windows of both geometries show the series' results by default and say
// "Classic formulas" for results of the classic ones, on the screen and on
// the page.  Series: 10.56 s (bar and rod, an independent evaluation), 147
// and 115 contacts rounded up, 2.502 and 2.656 K; classic: the worked figures.
TEST(TextResultsFormulas, TheWindowsSayWhichFormulasTheResultsComeFrom)
{
    const QLocale savedLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        bool rz, classic;
        QStringList values; // heating time, contacts, the temperature differences
    } rows[] = {
        {false, false, {"10.56", "147", "2.502", "2.502"}},
        {false, true, {"10.76", "146", "48.4", "48.4"}},
        {true, false, {"10.56", "115", "2.656"}},
        {true, true, {"10.76", "115", "426.5"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.rz ? "rz" : "xy") + (row.classic ? " classic" : " series"));
        TestProgram program;
        program.state.dataXY = SteelBar();
        program.state.dataRZ = SteelRod();
        program.state.classicFormulas = row.classic;
        auto &window = *static_cast<TextResultsForm *>(row.rz ? program.windows().Form5a : program.windows().Form5);
        if (row.rz)
            RunCalculationRZ(program.program());
        else
            RunCalculationXY(program.program());
        EXPECT_EQ(row.rz ? program.state.classicResultsRZ : program.state.classicResultsXY, row.classic);
        // What the window shows follows the results, not the switch now.
        program.state.classicFormulas = !row.classic;
        window.show();
        const std::vector<int> boxes = row.rz ? std::vector<int>{7, 8, 11} : std::vector<int>{7, 8, 11, 12};
        QStringList shown;
        for (int box : boxes)
            shown << window.edit(box)->text();
        EXPECT_EQ(shown, row.values);
        EXPECT_EQ(window.formulasLabel()->isVisible(), row.classic);
        EXPECT_EQ(window.formulasLabel()->text(), "Classic formulas");
        EXPECT_LE(window.formulasLabel()->geometry().right(), window.button1()->geometry().left());

        window.Button2Click();
        const auto &page = static_cast<const TextReportForm &>(*program.desktop.lastPreview);
        EXPECT_EQ(page.formulas().caption, row.classic ? "Classic formulas" : "");
        EXPECT_EQ(page.resultValue(6).caption, row.values[0]);

        // A re-run from the heating time box takes the switch as it is now;
        // the next showing follows it.
        window.edit(7)->setText("600");
        window.Edit7Exit();
        window.hide();
        window.show();
        EXPECT_EQ(window.formulasLabel()->isVisible(), !row.classic);
        window.hide();
    }
    QLocale::setDefault(savedLocale);
}

} // namespace
