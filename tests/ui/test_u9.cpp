// The compare windows of both geometries, driven as a user drives them:
// the Compare menu, the worked cases read from their files, the run on its
// worker thread with Cancel and Close during a run, cases the models
// refuse, property table files, the emissivity box and the printed page.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <sys/stat.h>
#include <thread>

#include "chart/VxUniChart2D.h"
#include "core/Heating.h"
#include "support/RecordingHost.h"
#include "report/ReportRenderer.h"
#include "ui/Comparison.h"
#include "ui/NumberFormat.h"
#include "ui/support/ChartLabels.h"
#include "ui/support/TestProgram.h"
#include "ui/support/TextResultsSupport.h"
#include "ui/u1.h"
#include "ui/u9.h"
#include "ui/u9a.h"

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

// A run takes milliseconds; on a loaded machine it may take much longer,
// and a hung one must still fail.
constexpr int kRunTimeout = 60000; // [ms]

const QString kDash = QStringLiteral("\u2014");

// Holds a run at its first progress report beyond 5 % until the run is
// cancelled, as a long run would be when the user cancels it.
struct Hold {
    std::atomic<bool> armed{true};
    std::atomic<bool> holding{false};
    std::atomic<double> fraction{0};

    void install(CompareForm &form)
    {
        form.compute = [this](const CompareCase &c, const PropertyTable &table, const RefinedOptions &options) {
            RefinedOptions held = options;
            held.progress = [this, options](double done) {
                options.progress(done);
                if (done > 0.05 && armed.exchange(false)) {
                    fraction = done;
                    holding = true;
                    while (!options.cancel->load())
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            };
            return RunComparison(c, table, held);
        };
    }
};

class CompareWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        program->app().showMainWindow();
        main = program->windows().Form1;
    }

    // Reads the worked case of the geometry from its example file, as a user does.
    void readWorkedCase(bool rz)
    {
        const QString folder = qEnvironmentVariable("RESHEAT_EXAMPLES", QStringLiteral(RESHEAT_SOURCE_DIR "/examples"));
        program->desktop.fileAnswers.push_back(QDir(folder).filePath(rz ? "steel-rod.drz" : "steel-bar.dxy"));
        (rz ? main->ldfrz1 : main->ldfxy1)->trigger();
        EXPECT_EQ(rz ? program->state.dataRZ.name.str() : program->state.dataXY.name.str(), "steel");
    }

    CompareForm &window(bool rz)
    {
        return *static_cast<CompareForm *>(rz ? program->windows().Form9a : program->windows().Form9);
    }

    // Opens the window from the menu and waits for its run to end.
    CompareForm &open(bool rz)
    {
        (rz ? main->cmprz1 : main->cmpxy1)->trigger();
        CompareForm &form = window(rz);
        waitForRun(form);
        return form;
    }

    static void waitForRun(const CompareForm &form) { QTRY_VERIFY_WITH_TIMEOUT(!form.Running(), kRunTimeout); }

    static QString cell(const CompareForm &form, int row, int column)
    {
        const QTableWidgetItem *item = form.StringGrid1->item(row, column);
        return item ? item->text() : QString();
    }

    static QString value(const CompareForm &form, const QString &name, int column)
    {
        for (int i = 0; i < form.StringGrid1->rowCount(); ++i)
            if (cell(form, i, 0) == name)
                return cell(form, i, column);
        ADD_FAILURE() << "no row " << name.toStdString();
        return {};
    }

    static QStringList column(const CompareForm &form, int column)
    {
        QStringList texts;
        for (int i = 0; i < form.StringGrid1->rowCount(); ++i)
            texts << cell(form, i, column);
        return texts;
    }

    static double number(const QString &text)
    {
        double v = std::nan("");
        EXPECT_TRUE(ParseRegionalNumber(text, v)) << text.toStdString();
        return v;
    }

    std::unique_ptr<TestProgram> program = std::make_unique<TestProgram>();
    TForm1 *main = nullptr;
};

TEST_F(CompareWindows, MenuAfterResultsFollowsTheCalculationCommands)
{
    const QList<QAction *> bar = main->menuBar()->actions();
    ASSERT_EQ(bar.size(), 6);
    EXPECT_EQ(bar[3], main->Results1->menuAction());
    EXPECT_EQ(bar[4]->text(), "Co&mpare");
    EXPECT_EQ(main->Compare1->actions(), (QList<QAction *>{main->cmpxy1, main->cmprz1}));
    EXPECT_EQ(main->cmpxy1->text(), "Temperature-dependent, &xy geometry");
    EXPECT_EQ(main->cmprz1->text(), "Temperature-dependent, &rz geometry");

    // Comparing always takes the series, which say what they refuse: both
    // commands stay enabled, also while the classic formulas' commands wait
    // for plausible data.
    const struct {
        const char *what;
        std::function<void(ProgramState &)> change;
    } cases[] = {
        {"start-up: no dimensions", [](ProgramState &) {}},
        {"classic formulas", [](ProgramState &s) { s.classicFormulas = true; }},
        {"names of one blank", [](ProgramState &s) { s.dataXY.name.set(" "); s.dataRZ.name.set(" "); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.change(program->state);
        main->UpdateMenuState();
        EXPECT_TRUE(main->cmpxy1->isEnabled());
        EXPECT_TRUE(main->cmprz1->isEnabled());
    }
    EXPECT_FALSE(main->oblxy->isEnabled());
}

TEST_F(CompareWindows, WorkedCasesShowBothModelsWithoutTouchingTheProgramsResults)
{
    struct Case {
        bool rz;
        const char *constantCurrent;   // Ur / R: 9 V over the charge's resistance
        int curves;                    // temperatures and the current of one model
    };
    for (const Case &c : {Case{false, "1.463E5", 4}, Case{true, "1.149E5", 3}}) {
        SCOPED_TRACE(c.rz ? "rz" : "xy");
        readWorkedCase(c.rz);
        program->state.classicFormulas = true; // not for comparing
        CompareForm &form = open(c.rz);
        QTest::qWait(50); // the chart settles
        SaveShot(form, c.rz ? "Form9a.png" : "Form9.png");

        EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{&form});
        EXPECT_EQ(form.pos(), QPoint(20, 20));
        EXPECT_EQ(form.windowTitle(), c.rz ? "Constant and temperature-dependent properties, rz geometry"
                                           : "Constant and temperature-dependent properties, xy geometry");
        EXPECT_EQ(form.ShownComparison().refined.status, RefinedStatus::Reached);
        EXPECT_EQ(form.Label2->text(), "Calculated.");
        EXPECT_FALSE(form.ProgressBar1->isVisible());
        EXPECT_FALSE(form.Button4->isEnabled());

        // The constant column is the program's own calculation of the case.
        resheat::testing::RecordingHost host;
        History history{};
        ResultsXY xy;
        ResultsRZ rz;
        if (c.rz)
            CalculationRZ(program->state.dataRZ, false, rz, 0, history, host);
        else
            CalculationXY(program->state.dataXY, false, xy, 0, history, host);
        const double constantTime = c.rz ? rz.heatingTime : xy.heatingTime;
        EXPECT_EQ(value(form, "Heating time [s]", 1), FormatGeneral(constantTime, 4));
        EXPECT_EQ(value(form, "Current at start [A]", 1), c.constantCurrent);
        // The temperature-dependent heating takes several times as long.
        EXPECT_GT(number(value(form, "Heating time [s]", 2)), 3 * constantTime);
        EXPECT_EQ(value(form, "Centre temperature [oC]", 2), "1500");
        // The series' integrals at the heating time; only the bar's corner
        // is the temperature-dependent model's alone.  Never a NaN.
        const ChargeState at = c.rz ? SeriesStateRZ(program->state.dataRZ, constantTime)
                                    : SeriesStateXY(program->state.dataXY, constantTime);
        EXPECT_EQ(value(form, "Mean temperature [oC]", 1), FormatGeneral(at.mean, 4));
        EXPECT_EQ(value(form, "Heat lost at surface [J]", 1), FormatGeneral(at.loss, 4));
        EXPECT_EQ(value(form, "Heat stored [J]", 1), FormatGeneral(at.stored, 4));
        EXPECT_EQ(value(form, "Efficiency [-]", 1), FormatGeneral(at.efficiency, 4));
        EXPECT_NEAR(at.stored + at.loss, at.energy, 1E-9 * at.energy);
        EXPECT_EQ(value(form, "Centre temperature [oC]", 1), "1500");
        EXPECT_NE(value(form, "Efficiency [-]", 2), kDash);
        if (!c.rz)
            EXPECT_EQ(value(form, "Corner temperature [oC]", 1), kDash);
        for (int col = 1; col <= 2; ++col)
            for (const QString &text : column(form, col))
                EXPECT_FALSE(text.isEmpty() || text.contains("nan", Qt::CaseInsensitive) ||
                             text.contains("inf", Qt::CaseInsensitive))
                    << text.toStdString();

        const QString notes = form.Memo1->toPlainText();
        EXPECT_TRUE(notes.contains("the built-in table \"steel\"")) << notes.toStdString();
        EXPECT_TRUE(notes.contains("Typical handbook values")) << notes.toStdString();
        EXPECT_TRUE(notes.contains("Warning: The finish temperature (1500 oC) is at or above the solidus (1450 oC)."));
        // The accuracy of the temperature-dependent column, rounded up.
        const RefinedErrorEstimate &estimate = form.ShownComparison().refined.errorEstimate;
        EXPECT_GT(estimate.temperature, 0);
        EXPECT_TRUE(notes.split('\n').contains(QStringLiteral("Temperature-dependent: accuracy about \u00b1%1 K, "
                                                                "heating time \u00b1%2 s.")
                                                     .arg(FormatGeneral(RoundedEstimate(estimate.temperature), 2),
                                                          FormatGeneral(RoundedEstimate(estimate.heatingTime), 2))))
            << notes.toStdString();
        EXPECT_EQ(form.Edit1->text(), "0.8");

        // Both models in the chart, each from the start: times, temperatures,
        // current; then the marks: the heating time of each model and the
        // finish temperature, named with their values.
        const VxChartBaseLineArray &lines = *form.VxUniChart2D1->MainField()->Lines();
        const int models = 2 * (1 + c.curves);
        ASSERT_EQ(lines.LineCount(), models + 3 * 2);
        ASSERT_EQ(lines.PointCount(), kHistoryRows + 1);
        const int current = models - 1;
        const double refinedTime = form.ShownComparison().refined.heatingTime;
        EXPECT_EQ(lines.Line(current)->DataType(), vxcldY2Data);
        EXPECT_EQ(lines.Line(current)->Data()[0], form.ShownComparison().refined.currentStart);
        EXPECT_EQ(lines.Line(c.curves + 1)->Data()[kHistoryRows], refinedTime);
        EXPECT_EQ(lines.Line(models + 1)->LineName(),
                  "Heating time " + FormatGeneral(constantTime, 4) + " s, constant properties");
        EXPECT_EQ(lines.Line(models + 3)->LineName(),
                  "Heating time " + FormatGeneral(refinedTime, 4) + " s, temperature-dependent");
        EXPECT_EQ(lines.Line(models + 5)->LineName(), "Finish temperature 1500 oC");
        EXPECT_EQ(lines.Line(models)->Data()[0], constantTime);
        EXPECT_EQ(lines.Line(models + 2)->Data()[kHistoryRows], refinedTime);
        EXPECT_EQ(lines.Line(models + 5)->Data()[7], 1500);
        QTRY_VERIFY_WITH_TIMEOUT(form.VxUniChart2D1->LinesField()->Text().contains("To temperature-dependent"),
                                 kRunTimeout);
        EXPECT_TRUE(form.VxUniChart2D1->LinesField()->Text().contains("Finish temperature 1500 oC"));

        // The results windows keep what the Calculations menu computed: nothing.
        EXPECT_EQ(program->state.resultsXY, ResultsXY{});
        EXPECT_EQ(program->state.resultsRZ, ResultsRZ{});
        form.Button1->click();
        EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{main});
        EXPECT_FALSE(main->rfxy1->menuAction()->isEnabled() || main->rfrz1->menuAction()->isEnabled());
    }
}

TEST_F(CompareWindows, CancelStopsTheRunAndCalculateRunsAgain)
{
    readWorkedCase(true);
    Hold hold;
    hold.install(window(true));
    main->cmprz1->trigger();
    CompareForm &form = window(true);
    QTRY_VERIFY_WITH_TIMEOUT(hold.holding, kRunTimeout);

    // The window answers while the worker computes: the progress arrives,
    // only Cancel and Close can be pressed.
    QTRY_COMPARE_WITH_TIMEOUT(form.ProgressBar1->value(), static_cast<int>(std::lround(hold.fraction * 1000)),
                              kRunTimeout);
    EXPECT_TRUE(form.ProgressBar1->isVisible());
    EXPECT_TRUE(form.Running());
    EXPECT_TRUE(form.Button4->isEnabled());
    EXPECT_TRUE(form.Button1->isEnabled());
    for (QWidget *w : std::initializer_list<QWidget *>{form.Button2, form.Button3, form.Button5, form.Edit1})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    QTest::mouseClick(form.Button4, Qt::LeftButton);
    waitForRun(form);
    EXPECT_EQ(form.ShownComparison().refined.status, RefinedStatus::Cancelled);
    EXPECT_EQ(form.Label2->text(), "The calculation was cancelled.");
    EXPECT_TRUE(form.Memo1->toPlainText().contains("Temperature-dependent: The calculation was cancelled."));
    EXPECT_NE(value(form, "Heating time [s]", 1), kDash);
    for (const QString &text : column(form, 2))
        EXPECT_EQ(text, kDash);
    EXPECT_TRUE(form.isVisible());

    QTest::mouseClick(form.Button5, Qt::LeftButton);
    waitForRun(form);
    EXPECT_EQ(form.ShownComparison().refined.status, RefinedStatus::Reached);
    EXPECT_TRUE(program->desktop.boxes.empty());
}

TEST_F(CompareWindows, ClosingOrEndingTheProgramDuringARunStopsItCleanly)
{
    readWorkedCase(false);
    Hold first;
    first.install(window(false));
    main->cmpxy1->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(first.holding, kRunTimeout);
    window(false).Button1->click();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{main});
    waitForRun(window(false));
    EXPECT_EQ(window(false).ShownComparison().refined.status, RefinedStatus::Cancelled);

    // Opened again, it runs afresh; the program ends while the run is held.
    Hold second;
    second.install(window(false));
    main->cmpxy1->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(second.holding, kRunTimeout);
    program.reset(); // cancels the held run and waits for its thread
}

TEST_F(CompareWindows, CasesTheModelsRefuseAreExplainedInTheWindow)
{
    struct Case {
        const char *what;
        std::function<void(DataRZ &)> change;
        QString constantNote;
        QString refinedNote;
    };
    const Case cases[] = {
        {"power density over 1E10", [](DataRZ &d) { d.supplyVoltage = 1000; },
         "Constant properties, Calculation Error: Power density greatest then 1E10 ?!!!",
         "Temperature-dependent: Power density greatest then 1E10 ?!!!"},
        {"zero resistivity", [](DataRZ &d) { d.resistivity = 0; },
         "Constant properties, Calculation Error: Resistivity must be positive.",
         "Temperature-dependent: Resistivity must be positive."},
        {"finish below start", [](DataRZ &d) { d.finishTemp = 10; },
         "Constant properties, Calculation Error: Finish temperature must be above the start temperature.",
         "Temperature-dependent: Finish temperature must be above the start temperature."},
        // The axis levels off at Ts + T*/4 (1 + 2/Bi), T* = pv R^2 / lambda, Bi = alpha R / lambda.
        {"losses balance the heating", [](DataRZ &d) { d.supplyVoltage = 2; d.alfa = 300; d.finishTemp = 1200; },
         "Constant properties, Calculation Error: The centre does not reach the finish temperature: it "
         "approaches 934.981 oC.",
         "Temperature-dependent: The centre cannot reach the finish temperature"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        program->state.dataRZ = SteelRod();
        c.change(program->state.dataRZ);
        main->UpdateMenuState();
        CompareForm &form = open(true);
        const QString notes = form.Memo1->toPlainText();
        EXPECT_TRUE(notes.contains(c.refinedNote)) << notes.toStdString();
        EXPECT_FALSE(notes.contains("accuracy about")) << notes.toStdString();
        EXPECT_TRUE(notes.contains(c.constantNote)) << notes.toStdString();
        for (const QString &text : column(form, 1))
            EXPECT_EQ(text, kDash);
        for (const QString &text : column(form, 2))
            EXPECT_EQ(text, kDash);
        EXPECT_EQ(form.Label2->text(), "The temperature-dependent calculation stopped; see the notes.");
        EXPECT_TRUE(program->desktop.boxes.empty()) << program->desktop.boxLines().join('\n').toStdString();
        form.Button1->click();
    }
}

TEST_F(CompareWindows, BarCasesTheModelsRefuseAreExplainedInTheWindow)
{
    struct Case {
        const char *what;
        std::function<void(DataXY &)> change;
        QString constantNote; // empty: the constant model ran
        QString refinedNote;
    };
    const Case cases[] = {
        {"power density over 1E10", [](DataXY &d) { d.supplyVoltage = 1000; },
         "Constant properties, Calculation Error: Power density greatest then 1E10 ?!!!",
         "Temperature-dependent: Power density greatest then 1E10 ?!!!"},
        {"no density", [](DataXY &d) { d.density = 0; },
         "Constant properties, Calculation Error: Density must be positive.",
         "Temperature-dependent: Density must be positive."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        program->state.dataXY = SteelBar();
        c.change(program->state.dataXY);
        main->UpdateMenuState();
        CompareForm &form = open(false);
        const QString notes = form.Memo1->toPlainText();
        EXPECT_TRUE(notes.contains(c.refinedNote)) << notes.toStdString();
        EXPECT_TRUE(notes.contains(c.constantNote)) << notes.toStdString();
        for (int col = 1; col <= 2; ++col)
            for (const QString &text : column(form, col))
                EXPECT_EQ(text, kDash);
        EXPECT_EQ(form.Label2->text(), "The temperature-dependent calculation stopped; see the notes.");
        EXPECT_TRUE(program->desktop.boxes.empty()) << program->desktop.boxLines().join('\n').toStdString();
        form.Button1->click();
    }
}

TEST_F(CompareWindows, TheConstantColumnShowsTheDifferencesAtTheHeatingTime)
{
    // A flat bar, 50 mm by 20 mm, so that Tw and Th differ; a rod.
    for (const bool rz : {false, true}) {
        SCOPED_TRACE(rz ? "rz" : "xy");
        program->state.dataXY = SteelBar();
        program->state.dataXY.thickness = 0.02;
        program->state.dataRZ = SteelRod();
        main->UpdateMenuState();
        CompareForm &form = open(rz);

        // The series of the constant model at its own heating time.
        resheat::testing::RecordingHost host;
        History h{};
        double time = 0;
        if (rz) {
            ResultsRZ r;
            CalculationRZ(program->state.dataRZ, false, r, 0, h, host);
            time = r.heatingTime;
        } else {
            ResultsXY r;
            CalculationXY(program->state.dataXY, false, r, 0, h, host);
            time = r.heatingTime;
        }
        const ChargeState at = rz ? SeriesStateRZ(program->state.dataRZ, time) : SeriesStateXY(program->state.dataXY, time);
        EXPECT_EQ(value(form, "Centre temperature [oC]", 1), FormatCompareValue(at.centre));
        if (rz) {
            EXPECT_EQ(value(form, "Surface temperature [oC]", 1), FormatCompareValue(at.second));
            EXPECT_EQ(value(form, "Centre - surface [K]", 1), FormatCompareValue(at.centre - at.second));
            EXPECT_NE(value(form, "Centre - surface [K]", 1), FormatCompareValue(0.0));
        } else {
            // A flat section: Tw and Th differ, so a swap shows.
            ASSERT_GT(std::abs(at.second - at.third), 0.01);
            EXPECT_EQ(value(form, "Temperature Tw [oC]", 1), FormatCompareValue(at.second));
            EXPECT_EQ(value(form, "Temperature Th [oC]", 1), FormatCompareValue(at.third));
            EXPECT_EQ(value(form, "Centre - Tw [K]", 1), FormatCompareValue(at.centre - at.second));
            EXPECT_EQ(value(form, "Centre - Th [K]", 1), FormatCompareValue(at.centre - at.third));
            EXPECT_NE(value(form, "Centre - Tw [K]", 1), value(form, "Centre - Th [K]", 1));
        }
        form.Button1->click();
    }
}

TEST_F(CompareWindows, PropertyTableFilesAreReadOrRefusedWithTheLine)
{
    QTemporaryDir dir;
    auto write = [&](const char *name, const char *text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    const QString header = QString::fromLatin1(kPropertyTableHeader.data(), kPropertyTableHeader.size());
    struct Refused {
        QString path;
        QString message;   // its beginning
    };
    const Refused refused[] = {
        {write("falling.csv", qPrintable(header + "\n20,1.4E-7,59,450\n10,1.4E-7,59,450\n")), "Line 3: "},
        {write("noheader.csv", "20,1.4E-7,59,450\n"), "Line 1: "},
        {write("negative.csv", qPrintable("# emissivity=0.7\n" + header + "\n20,-1,59,450\n")), "Line 3: "},
        {dir.filePath("missing.csv"), "File not found"},
        {dir.filePath("fifo.csv"), "not a regular file (a FIFO)"}, // refused, never waited on
    };
    ASSERT_EQ(::mkfifo(qPrintable(dir.filePath("fifo.csv")), 0600), 0);

    readWorkedCase(true);
    CompareForm &form = open(true);
    const Comparison before = form.ShownComparison();
    for (const Refused &r : refused) {
        SCOPED_TRACE(r.path.toStdString());
        program->desktop.clear();
        program->desktop.fileAnswers.push_back(r.path);
        form.Button3->click();
        ASSERT_EQ(program->desktop.boxes.size(), 1u);
        EXPECT_EQ(program->desktop.boxes[0].caption, "Execution Error");
        // The file, then the line or the reason.
        EXPECT_TRUE(program->desktop.boxes[0].text.startsWith(QDir::toNativeSeparators(r.path) + ": " + r.message))
            << program->desktop.boxes[0].text.toStdString();
        EXPECT_EQ(program->desktop.dialogs[0].filter, "property table|*.csv");
        EXPECT_FALSE(form.Running());
        EXPECT_EQ(form.Table().name, "steel");
        EXPECT_EQ(form.ShownComparison().refined.heatingTime, before.refined.heatingTime);
    }

    // An accepted table is used at once, with its emissivity.
    const QString good = write("mine.csv", qPrintable("# my steel\n# emissivity=0.5\n" + header +
                                                      "\n20,1.5384E-7,87.88,481.32\n1000,1.1E-6,30,600\n"));
    program->desktop.clear();
    program->desktop.fileAnswers.push_back(good);
    form.Button3->click();
    waitForRun(form);
    EXPECT_TRUE(program->desktop.boxes.empty());
    EXPECT_EQ(form.Edit1->text(), "0.5");
    EXPECT_EQ(form.ShownComparison().refined.emissivity, 0.5);
    EXPECT_EQ(form.ShownComparison().refined.source, PropertySource::User);
    EXPECT_TRUE(form.Memo1->toPlainText().contains("the table of the file " + good));
    EXPECT_TRUE(form.Memo1->toPlainText().contains("my steel"));
}

TEST_F(CompareWindows, EmissivityIsTypedInTheRegionalFormatFromZeroToOne)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    readWorkedCase(true);
    CompareForm &form = open(true);
    EXPECT_EQ(form.Edit1->text(), "0,8");
    EXPECT_TRUE(value(form, "Efficiency [-]", 2).contains(',')) << value(form, "Efficiency [-]", 2).toStdString();
    const double time = form.ShownComparison().refined.heatingTime;

    const std::pair<const char *, const char *> refused[] = {
        {"abc", "Input Error|Incorrect numerical format"},
        {"0.5", "Input Error|Incorrect numerical format"},
        {"1,5", "Input Error|Emissivity must be a number from 0 to 1"},
        {"-0,1", "Input Error|Emissivity must be a number from 0 to 1"},
    };
    for (const auto &[text, box] : refused) {
        SCOPED_TRACE(text);
        program->desktop.clear();
        form.Edit1->setText(QString::fromLatin1(text));
        form.Edit1Exit();
        form.Edit1Exit(); // left a second time unchanged: no second box
        EXPECT_EQ(program->desktop.boxLines(), QStringList{box});
        EXPECT_FALSE(form.Running());
        EXPECT_EQ(form.Emissivity(), 0.8);
        // The box shows the value in use again.
        EXPECT_EQ(form.Edit1->text(), "0,8");
    }

    program->desktop.clear();
    form.Edit1->setText("0,3");
    form.Edit1Exit();
    waitForRun(form);
    EXPECT_TRUE(program->desktop.boxes.empty());
    EXPECT_EQ(form.ShownComparison().refined.emissivity, 0.3);
    // Less radiation: the charge reaches the finish temperature sooner.
    EXPECT_LT(form.ShownComparison().refined.heatingTime, time);
    QLocale::setDefault(saved);
}

TEST_F(CompareWindows, AlternatingCurrentIsTypedAndShownInTableChartNotesAndPage)
{
    readWorkedCase(true);
    CompareForm &form = open(true);
    EXPECT_EQ(form.Edit2->text(), "0");
    EXPECT_FALSE(form.CheckBox1->isEnabled()); // direct current: nothing to show
    const int directRows = form.StringGrid1->rowCount();

    // Refusals keep the value in use and start no run.
    const struct {
        QLineEdit *box;
        const char *text, *message;
    } refused[] = {
        {form.Edit2, "fifty", "Input Error|Incorrect numerical format"},
        {form.Edit2, "-50", "Input Error|Frequency must be a number from 0 to 1000000 Hz"},
        {form.Edit2, "2e6", "Input Error|Frequency must be a number from 0 to 1000000 Hz"},
        {form.Edit3, "-0.001", "Input Error|Loop reactance must be a number of 0 ohm or more"},
        {form.Edit3, "x", "Input Error|Incorrect numerical format"},
    };
    for (const auto &row : refused) {
        SCOPED_TRACE(row.text);
        program->desktop.clear();
        row.box->setText(QString::fromLatin1(row.text));
        row.box == form.Edit2 ? form.Edit2Exit() : form.Edit3Exit();
        EXPECT_EQ(program->desktop.boxLines(), QStringList{row.message});
        EXPECT_FALSE(form.Running());
        EXPECT_EQ(row.box->text(), "0");
    }
    EXPECT_EQ(form.Frequency(), 0);
    EXPECT_EQ(form.LoopReactance(), 0);

    form.Edit3->setText("0.0001");
    form.Edit3Exit();
    waitForRun(form);
    form.Edit2->setText("50");
    form.Edit2Exit();
    waitForRun(form);
    const RefinedResult &r = form.ShownComparison().refined;
    ASSERT_EQ(r.status, RefinedStatus::Reached);
    EXPECT_EQ(r.frequency, 50);
    EXPECT_EQ(r.loopReactance, 1E-4);
    EXPECT_EQ(r.magnetic, "steel");
    // The supply's rows after the others, the constant model (direct current) without them.
    EXPECT_EQ(form.StringGrid1->rowCount(), directRows + 7);
    const std::pair<const char *, double> rows[] = {
        {"Rac/Rdc at start [-]", r.ratioStart},
        {"Rac/Rdc at heating time [-]", r.ratioEnd},
        {"Power factor at start [-]", r.powerFactorStart},
        {"Power factor at heating time [-]", r.powerFactorEnd},
        {"Largest supply power [kVA]", r.apparentPowerMax / 1000},
        {"Largest supply voltage [V]", r.supplyVoltageMax},
        {"Surface above centre, most [K]", r.surfaceLeadMax},
    };
    for (const auto &[name, v] : rows) {
        EXPECT_EQ(value(form, name, 2), FormatGeneral(v, 4)) << name;
        EXPECT_EQ(value(form, name, 1), QStringLiteral("\u2014")) << name;
    }
    // With the loop the supply needs more voltage than the charge takes.
    EXPECT_GT(r.supplyVoltageMax, 9);
    EXPECT_LT(r.powerFactorStart, r.powerFactorEnd);
    const QString notes = form.Memo1->toPlainText();
    EXPECT_TRUE(notes.contains("alternating current of 50 Hz, loop reactance 0.0001 ohm; the charge magnetic below its "
                               "Curie temperature (magnetisation curve \"steel\")"))
        << notes.toStdString();
    EXPECT_TRUE(notes.contains("leaves out the return conductor close by")) << notes.toStdString();

    // The chart: Rac/Rdc on the right axis when asked, the run's own values.
    ASSERT_TRUE(form.CheckBox1->isEnabled());
    form.CheckBox1->setChecked(true);
    const TVxUniChart2D &chart = *form.VxUniChart2D1;
    EXPECT_EQ(chart.YCaption2()->Text(), "Rac/Rdc [-]");
    const VxChartBaseLineArray &lines = *chart.MainField()->Lines();
    const VxChartBaseLine *ratio = nullptr;
    for (int i = 0; i < lines.LineCount(); ++i)
        if (lines.Line(i)->LineName() == "Rac/Rdc temperature-dependent")
            ratio = lines.Line(i);
    ASSERT_NE(ratio, nullptr);
    EXPECT_EQ(ratio->Data()[0], r.ratioStart);
    EXPECT_EQ(ratio->Data()[20], r.history[19].resistanceRatio);
    EXPECT_EQ(ratio->Data()[kHistoryRows], r.ratioEnd);
    if (!qEnvironmentVariableIsEmpty("RESHEAT_SHOTS")) {
        form.resize(1180, 760);
        QTest::qWait(50);
        form.grab().save(QDir(qEnvironmentVariable("RESHEAT_SHOTS")).filePath("Form9a-50Hz.png"));
    }
    form.CheckBox1->setChecked(false);
    EXPECT_EQ(chart.YCaption2()->Text(), "I [A]");

    // The printed page carries the supply, the rows and the notes.
    form.Button2->click();
    const TForm10 &page = form.Report();
    auto caption = [&](const QString &name) {
        const report::ReportLabel *label = page.findLabel(name);
        return label ? label->caption : QStringLiteral("<none>");
    };
    const int last = form.StringGrid1->rowCount() - 1;
    EXPECT_EQ(caption(QStringLiteral("ResultName%1").arg(last)), "Surface above centre, most [K]");
    EXPECT_EQ(caption(QStringLiteral("Refined%1").arg(last)), FormatGeneral(r.surfaceLeadMax, 4));
    QStringList texts;
    for (const report::ReportLabel &label : page.labels())
        texts << label.caption;
    EXPECT_TRUE(texts.contains("Frequency [Hz]"));
    EXPECT_TRUE(texts.contains("50"));
    EXPECT_TRUE(texts.join(' ').contains("leaves out the return conductor"));
    if (!qEnvironmentVariableIsEmpty("RESHEAT_SHOTS"))
        report::RenderPageImage(page, 100).save(QDir(qEnvironmentVariable("RESHEAT_SHOTS")).filePath("Form10-50Hz.png"));

    // Back to 0 Hz: direct current again, the rows gone.
    form.Edit2->setText("0");
    form.Edit2Exit();
    waitForRun(form);
    EXPECT_EQ(form.StringGrid1->rowCount(), directRows);
    EXPECT_FALSE(form.CheckBox1->isEnabled());
    EXPECT_EQ(chart.YCaption2()->Text(), "I [A]");
}

TEST_F(CompareWindows, PrintPutsCaseTableNotesAndChartOnOnePage)
{
    readWorkedCase(false);
    CompareForm &form = open(false);
    QTest::qWait(50);
    form.Button2->click();
    ASSERT_EQ(program->desktop.previews, 1);
    ASSERT_EQ(program->desktop.lastPreview, &form.Report());
    const TForm10 &page = form.Report();
    auto caption = [&](const QString &name) {
        const report::ReportLabel *label = page.findLabel(name);
        return label ? label->caption : QStringLiteral("<none>");
    };
    EXPECT_EQ(caption("Title"), form.windowTitle());
    EXPECT_EQ(caption("InputValue0"), "steel");
    EXPECT_EQ(caption("InputName13"), "Max contact current    [A]");
    EXPECT_EQ(caption("InputValue13"), "1000");
    for (int i = 0; i < form.StringGrid1->rowCount(); ++i) {
        EXPECT_EQ(caption(QStringLiteral("ResultName%1").arg(i)), cell(form, i, 0));
        EXPECT_EQ(caption(QStringLiteral("Constant%1").arg(i)), cell(form, i, 1));
        EXPECT_EQ(caption(QStringLiteral("Refined%1").arg(i)), cell(form, i, 2));
    }
    QStringList notes;
    for (const report::ReportLabel &label : page.labels())
        if (label.name.startsWith("Note"))
            notes << label.caption;
    EXPECT_TRUE(notes.join(' ').contains("Warning: The finish temperature (1500 oC) is at or above the solidus"));
    EXPECT_TRUE(notes.join(' ').contains(QStringLiteral("Temperature-dependent: accuracy about \u00b1")));
    if (!qEnvironmentVariable("RESHEAT_SHOTS").isEmpty())
        report::RenderPageImage(page, 100).save(QDir(qEnvironmentVariable("RESHEAT_SHOTS")).filePath("Form10.png"));

    // Everything within the band: lines wrapped to its width, the chart
    // (at most its screen size) below the text.
    const QRectF band = page.bandRectMm();
    for (const report::ReportLabel &label : page.labels())
        EXPECT_TRUE(band.contains(page.labelRectMm(label))) << label.name.toStdString();
    const report::ReportImageBox *chart = page.findImageBox("Chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->picture.size(), form.VxUniChart2D1->size());
    EXPECT_TRUE(band.contains(page.imageRectMm(*chart)));
    EXPECT_GT(page.imageRectMm(*chart).top(), page.labelRectMm(*page.findLabel("Refined17")).bottom());

    if (!qEnvironmentVariableIsEmpty("RESHEAT_SHOTS"))
        report::RenderPageImage(page, 100).save(QDir(qEnvironmentVariable("RESHEAT_SHOTS")).filePath("Form10.png"));
}

// ---------------------------------------------------------------------------
// Layout and keyboard

// Every control lies inside the window's content and none covers another.
void ExpectControlsApart(const CompareForm &form)
{
    const QWidget *content = form.StringGrid1->parentWidget();
    const QList<QWidget *> controls{form.StringGrid1, form.Memo1,   form.Label1,  form.Edit1,   form.VxUniChart2D1,
                                    form.Label2,      form.Button1, form.Button2, form.Button3, form.Button4,
                                    form.Button5,     form.Label3,  form.Edit2,   form.Label4,  form.Edit3,
                                    form.CheckBox1};
    const QRect inside(QPoint(0, 0), content->size());
    for (int i = 0; i < controls.size(); ++i) {
        const QRect a = controls[i]->geometry();
        EXPECT_TRUE(inside.contains(a)) << controls[i]->objectName().toStdString();
        for (int j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(a.intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " over " << controls[j]->objectName().toStdString();
    }
}

TEST_F(CompareWindows, LaidOutToFitASmallScreenAndToGrowWithTheWindow)
{
    readWorkedCase(false);
    CompareForm &form = open(false);
    QTest::qWait(50);
    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("ScrollArea1"));
    ASSERT_NE(scroll, nullptr);
    QWidget *content = scroll->widget();

    // What the window needs leaves room on a 1024 x 768 screen for a panel
    // of 48 pixels, a title bar and the window's place at (20, 20).
    const QSize needed = content->minimumSizeHint();
    EXPECT_LE(needed.width(), 1024 - 20 - 10);
    EXPECT_LE(needed.height(), 768 - 48 - 20 - 36);
    EXPECT_TRUE(form.isSizeGripEnabled());

    // The chart takes what a larger window gives; the table keeps its width.
    const QSize screen = form.screen()->availableGeometry().size();
    form.resize(needed.expandedTo(form.minimumSize()));
    QTest::qWait(20);
    const QSize smallChart = form.VxUniChart2D1->size();
    const int tableWidth = form.StringGrid1->width();
    form.resize(form.minimumSize() + QSize(300, 200));
    QTest::qWait(20);
    EXPECT_GT(form.VxUniChart2D1->width(), smallChart.width());
    EXPECT_GT(form.VxUniChart2D1->height(), smallChart.height());
    EXPECT_EQ(form.StringGrid1->width(), tableWidth);
    ExpectControlsApart(form);

    // On a screen smaller than that (this one is 800 x 600), the window
    // still fits and the rest of it scrolls into view.
    if (needed.width() > screen.width() || needed.height() > screen.height()) {
        EXPECT_LE(form.minimumWidth(), screen.width());
        EXPECT_LE(form.minimumHeight(), screen.height());
        form.resize(form.minimumSize());
        QTest::qWait(20);
        for (QWidget *control : QList<QWidget *>{form.Edit1, form.Button5, form.StringGrid1, form.Memo1,
                                                 form.Button1, form.Button2, form.Button4}) {
            scroll->ensureWidgetVisible(control, 0, 0);
            const QRect seen = QRect(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
            const QRect viewport(QPoint(0, 0), scroll->viewport()->size());
            // A control larger than the view is seen from its top left corner.
            EXPECT_TRUE(viewport.contains(seen) || viewport.contains(seen.topLeft()))
                << control->objectName().toStdString();
        }
    }
}

TEST_F(CompareWindows, ChartLabelsStayApartAtThreeSizes)
{
    for (bool rz : {false, true}) {
        SCOPED_TRACE(rz ? "rz" : "xy");
        readWorkedCase(rz);
        CompareForm &form = open(rz);
        for (const QSize size : {form.minimumSize(), QSize(1080, 700), QSize(1600, 1100)}) {
            SCOPED_TRACE(size.width());
            form.resize(size);
            QTest::qWait(30); // the chart settles
            ExpectLabelsApart(*form.VxUniChart2D1);
            // The legend above the field, the field between the axes.
            const TVxUniChart2D &chart = *form.VxUniChart2D1;
            const VxChartBaseTextClassData &legend = *chart.LinesField();
            const VxChartBaseLinesClassData &field = *chart.MainField();
            EXPECT_LT(legend.Top() + legend.Height(), field.Top());
            EXPECT_EQ(chart.XAxis()->CenterPointTop(), field.Top() + field.Height());
            EXPECT_EQ(chart.YAxis2()->CenterPointLeft(), field.Left() + field.Width());
            EXPECT_GT(field.Height(), 150);
        }
        form.Button1->click();
    }
}

TEST_F(CompareWindows, TabWalksInputsTableNotesAndButtonsAndFocusComesBackAfterARun)
{
    readWorkedCase(true);
    CompareForm &form = open(true);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The keyboard starts at the emissivity, above the table, also after
    // the run that the showing started.
    EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
    // The Rac/Rdc box waits, disabled, for a run on alternating current.
    const QList<QWidget *> cycle{form.Edit2,       form.Edit3, form.Button3, form.Button5, form.StringGrid1,
                                 form.Memo1,       form.Button2, form.Button1, form.Edit1};
    for (QWidget *expected : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected)
            << expected->objectName().toStdString() << " expected, focus on "
            << QApplication::focusWidget()->objectName().toStdString() << " "
            << QApplication::focusWidget()->metaObject()->className();
    }
    QList<QWidget *> back = cycle;
    std::reverse(back.begin(), back.end());
    back.removeFirst();
    back.append(form.Edit1);
    for (QWidget *expected : back) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), expected)
            << expected->objectName().toStdString() << " expected, focus on "
            << QApplication::focusWidget()->objectName().toStdString() << " "
            << QApplication::focusWidget()->metaObject()->className();
    }
    // In the table the arrows move and Tab leaves.
    form.StringGrid1->setFocus();
    QTest::keyClick(form.StringGrid1, Qt::Key_Down);
    QTest::keyClick(form.StringGrid1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.Memo1);

    // Calculate from the keyboard: during the run Cancel has the focus,
    // afterwards Calculate has it back.
    Hold hold;
    hold.install(form);
    form.Button5->setFocus();
    QTest::keyClick(form.Button5, Qt::Key_Space);
    QTRY_VERIFY_WITH_TIMEOUT(hold.holding, kRunTimeout);
    EXPECT_EQ(QApplication::focusWidget(), form.Button4);
    QTest::keyClick(form.Button4, Qt::Key_Space);
    waitForRun(form);
    EXPECT_EQ(QApplication::focusWidget(), form.Button5);
}

} // namespace
