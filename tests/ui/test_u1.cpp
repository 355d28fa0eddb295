// The main window: start-up, captions, the menu-state update and the
// commands that do not start a calculation.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "core/Heating.h"
#include "files/DataFiles.h"
#include "support/RecordingHost.h"
#include "support/TestLocale.h"
#include "ui/CalculationRun.h"
#include "ui/ImageBox.h"
#include "ui/Settings.h"
#include "ui/support/TestProgram.h"
#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"
#include "ui/u3.h"
#include "ui/u4.h"

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.app().showMainWindow();
        form = program.windows().Form1;
    }

    // Every command of the menu with its caption, in display order.
    std::vector<std::pair<QAction *, QString>> commands() const
    {
        return {{form->ldfxy1, "Read data for &xy"},    {form->ldfrz1, "Read data for &rz"},
                {form->e1, "&Exit"},                    {form->dataforxy1, "Data for &xy geometry"},
                {form->Dataforrz1, "Data for &rz geometry"}, {form->savedforxy1, "Save data for x&y"},
                {form->savedforrz1, "Save data for r&z"}, {form->oblxy, "Calculations for &xy geometry"},
                {form->oblrz, "Calculations for &rz geometry"}, {form->classic1, "C&lassic formulas"},
                {form->tr1, "&Text results"},
                {form->gr1, "&Graphic results"},        {form->str1, "&Save text results"},
                {form->tr2, "&Text results"},           {form->gr2, "&Graphic results"},
                {form->str2, "&Save text results"}};
    }

    bool calcXY() const { return form->oblxy->isEnabled(); }
    bool calcRZ() const { return form->oblrz->isEnabled(); }
    bool resultsXY() const { return form->rfxy1->menuAction()->isEnabled(); }
    bool resultsRZ() const { return form->rfrz1->menuAction()->isEnabled(); }

    QString path(const QString &name) const { return dir.filePath(name); }

    TestProgram program;
    TForm1 *form = nullptr;
    QTemporaryDir dir;
};

TEST_F(MainWindow, StartUpCreatesTheWindowsClearsTheCasesAndShowsOnlyTheMainWindow)
{
    const Windows &w = program.windows();
    ASSERT_TRUE(w.Form1 && w.Form2 && w.Form3 && w.Form4 && w.Form2a);
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form});

    EXPECT_EQ(program.state.dataXY, DataXY{});
    EXPECT_EQ(program.state.dataRZ, DataRZ{});
    EXPECT_EQ(program.state.presets[0].name.str(), "Cu");
    EXPECT_EQ(program.state.presets[1].name.str(), "steel");
    EXPECT_EQ(program.state.presets[2].name.str(), "aluminium");
    EXPECT_FALSE(program.state.fixedTimeXY);
    EXPECT_FALSE(program.state.fixedTimeRZ);

    // Closing the main window ends the program; closing another one does not.
    EXPECT_TRUE(form->testAttribute(Qt::WA_QuitOnClose));
    for (QWidget *other : std::initializer_list<QWidget *>{w.Form2, w.Form3, w.Form4, w.Form2a})
        EXPECT_FALSE(other->testAttribute(Qt::WA_QuitOnClose)) << other->objectName().toStdString();
}

TEST_F(MainWindow, ShowingSetsTitleCaptionsAndPosition)
{
    EXPECT_EQ(form->windowTitle(), "Resistance heating");
    EXPECT_EQ(form->pos(), QPoint(10, 10));
    EXPECT_EQ(form->Label1->text(), "DIRECT RESISTANCE HEATING ");
    EXPECT_EQ(form->Label2->text(), "Electroheat Laboratory");
    EXPECT_FALSE(form->windowIcon().isNull());
    // Title lines: blue, 20 pixels, not bold; the second centred under the first.
    EXPECT_EQ(form->Label1->pos(), QPoint(168, 16));
    EXPECT_EQ(form->Label2->y(), 48);
    EXPECT_LE(std::abs(form->Label2->geometry().center().x() - form->Label1->geometry().center().x()), 1);
    for (QLabel *label : {form->Label1, form->Label2}) {
        EXPECT_EQ(label->font().pixelSize(), 20);
        EXPECT_FALSE(label->font().bold());
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(label->size(), label->sizeHint());
    }

    // Every caption with the letter Alt reaches it by ('&' before it).
    const QList<QAction *> bar = form->menuBar()->actions();
    ASSERT_EQ(bar.size(), 6);
    EXPECT_EQ(bar[0]->text(), "&Files");
    EXPECT_EQ(bar[1]->text(), "&Data");
    EXPECT_EQ(bar[2]->text(), "&Calculations");
    EXPECT_EQ(bar[3]->text(), "&Results");
    EXPECT_EQ(bar[4]->text(), "Co&mpare");
    EXPECT_EQ(bar[5]->text(), "&Help");
    EXPECT_EQ(form->rfxy1->title(), "Results for &xy geometry");
    EXPECT_EQ(form->rfrz1->title(), "Results for &rz geometry");
    EXPECT_EQ(form->Results1->actions(), (QList<QAction *>{form->rfxy1->menuAction(), form->rfrz1->menuAction()}));
    for (const auto &[action, caption] : commands())
        EXPECT_EQ(action->text(), caption);
    // Display order inside the submenus.
    EXPECT_EQ(form->Files1->actions(), (QList<QAction *>{form->ldfxy1, form->ldfrz1, form->e1}));
    EXPECT_EQ(form->Data1->actions(),
              (QList<QAction *>{form->dataforxy1, form->Dataforrz1, form->savedforxy1, form->savedforrz1}));
    EXPECT_EQ(form->rfxy1->actions(), (QList<QAction *>{form->tr1, form->gr1, form->str1}));
    // "Classic formulas" comes last, after a separator, as a switch.
    const QList<QAction *> calculations = form->calculations1->actions();
    ASSERT_EQ(calculations.size(), 4);
    EXPECT_EQ(calculations[0], form->oblxy);
    EXPECT_EQ(calculations[1], form->oblrz);
    EXPECT_TRUE(calculations[2]->isSeparator());
    EXPECT_EQ(calculations[3], form->classic1);
    EXPECT_TRUE(form->classic1->isCheckable());
    EXPECT_FALSE(form->classic1->isChecked());
}

TEST_F(MainWindow, StartUpMenuStateEnablesAllButResults)
{
    // The series say why they refuse the empty cases; the classic formulas
    // wait for plausible data.
    EXPECT_FALSE(resultsXY());
    EXPECT_FALSE(resultsRZ());
    for (const auto &[action, caption] : commands())
        EXPECT_TRUE(action->isEnabled()) << caption.toStdString();
    form->classic1->trigger();
    EXPECT_FALSE(calcXY());
    EXPECT_FALSE(calcRZ());
}

TEST_F(MainWindow, EveryShowingSwitchesFixedTimeOffAndRecomputesTheMenu)
{
    form->hide();
    program.state.fixedTimeXY = true;
    program.state.fixedTimeRZ = true;
    program.state.dataXY = SteelBar();
    form->move(300, 300);
    form->show();
    EXPECT_FALSE(program.state.fixedTimeXY);
    EXPECT_FALSE(program.state.fixedTimeRZ);
    EXPECT_TRUE(calcXY());
    EXPECT_EQ(form->pos(), QPoint(10, 10));
}

struct XYRow {
    const char *name;
    double length, width, thickness;
    bool enabled;
};

// With the classic formulas; the series take any case and refuse with a message.
TEST_F(MainWindow, XYCalculationNeedsANameOtherThanOneBlankAndThreeDimensions)
{
    form->classic1->trigger();
    const XYRow rows[] = {
        {"", 1, 0.05, 0.05, true},
        {"steel", 1, 0.05, 0.05, true},
        {"  ", 1, 0.05, 0.05, true},
        {" ", 1, 0.05, 0.05, false},
        {"", 1, 0.05, 1e-8, false},
        {"", 1, 0.05, 1e-7, false}, // strictly greater
        {"", 1, 0.05, 1.0000001e-7, true},
        {"", 1, 0, 0.05, false},
        {"", 1e-7, 0.05, 0.05, false},
        {"", -1, 0.05, 0.05, false},
    };
    for (const auto &row : rows) {
        DataXY d;
        d.name.set(row.name);
        d.length = row.length;
        d.width = row.width;
        d.thickness = row.thickness;
        // Nothing else is looked at: not even a negative density or voltage.
        d.density = -1;
        d.supplyVoltage = 0;
        program.state.dataXY = d;
        form->UpdateMenuState();
        EXPECT_EQ(calcXY(), row.enabled) << '"' << row.name << "\" " << row.length << ' ' << row.width << ' '
                                         << row.thickness;
        EXPECT_FALSE(calcRZ());
        program.state.classicFormulas = false;
        form->UpdateMenuState();
        EXPECT_TRUE(calcXY());
        program.state.classicFormulas = true;
    }
}

TEST_F(MainWindow, RZCalculationNeedsLengthDiameterAndDensity)
{
    form->classic1->trigger();
    struct Row {
        const char *name;
        double length, diameter, density;
        bool enabled;
    } rows[] = {
        {"", 1, 0.05, 7800, true},
        {" ", 1, 0.05, 7800, false},
        {"  ", 1, 0.05, 7800, true},
        {"", 1, 0.05, 0, false},
        {"", 1, 0.05, 1e-7, false},
        {"", 1, 0.05, 2e-7, true},
        {"", 1, 1e-8, 7800, false},
        {"", 0, 0.05, 7800, false},
    };
    for (const auto &row : rows) {
        DataRZ d;
        d.name.set(row.name);
        d.length = row.length;
        d.diameter = row.diameter;
        d.density = row.density;
        program.state.dataRZ = d;
        form->UpdateMenuState();
        EXPECT_EQ(calcRZ(), row.enabled) << '"' << row.name << "\" " << row.length << ' ' << row.diameter
                                         << ' ' << row.density;
        EXPECT_FALSE(calcXY());
        program.state.classicFormulas = false;
        form->UpdateMenuState();
        EXPECT_TRUE(calcRZ());
        program.state.classicFormulas = true;
    }
}

// The switch is remembered between runs of the program, in the settings the
// test run keeps in a folder of its own.
TEST(ClassicFormulasSwitch, IsRememberedBetweenRuns)
{
    WriteClassicFormulas(false);
    const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope, "ResHeat", "resheat").fileName();
    EXPECT_FALSE(file.startsWith(QDir::homePath() + "/.config")) << file.toStdString();
    for (const bool expected : {false, true, false}) {
        ProgramState state;
        FakeDesktop desktop;
        Application run(state, desktop);
        run.showMainWindow();
        TForm1 &main = *run.windows().Form1;
        EXPECT_EQ(state.classicFormulas, expected);
        EXPECT_EQ(main.classic1->isChecked(), expected);
        main.classic1->trigger(); // the next run starts the other way
        EXPECT_EQ(state.classicFormulas, !expected);
        EXPECT_EQ(ReadClassicFormulas(), !expected);
        main.hide();
    }
    WriteClassicFormulas(false);
}

// "Save text results" of classic results writes the files of earlier
// versions byte for byte (tests/data/classic holds them).
TEST_F(MainWindow, SavedClassicResultsAreThoseOfEarlierVersions)
{
    form->classic1->trigger();
    program.state.dataXY = SteelBar();
    program.state.dataRZ = SteelRod();
    form->UpdateMenuState();
    form->oblxy->trigger();
    form->oblrz->trigger();
    program.desktop.fileAnswers = {path("bar"), path("rod")};
    form->str1->trigger();
    form->str2->trigger();
    auto bytes = [](const QString &name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing ") + name.toUtf8();
    };
    const QString golden = QStringLiteral(RESHEAT_SOURCE_DIR "/tests/data/classic/");
    EXPECT_EQ(bytes(path("bar.txt")), bytes(golden + "steel-bar.txt"));
    EXPECT_EQ(bytes(path("rod.txt")), bytes(golden + "steel-rod.txt"));
}

TEST_F(MainWindow, ResultsNeedAWarmCentreInTheTenthHistoryRow)
{
    auto &xy = program.state.historyXY;
    auto &rz = program.state.historyRZ;
    const struct {
        double centre;
        bool enabled;
    } rows[] = {{1e-15, false}, {2e-15, true}, {0, false}, {-20, false}, {900, true}};
    for (const auto &row : rows) {
        xy = History{};
        xy[9][1] = row.centre;
        form->UpdateMenuState();
        EXPECT_EQ(resultsXY(), row.enabled) << row.centre;
        EXPECT_FALSE(resultsRZ());
    }
    // Only the centre of row 10 counts: not its time, not row 9 or row 11.
    xy = History{};
    xy[9][0] = 100;
    xy[9][2] = 100;
    xy[8][1] = 100;
    xy[10][1] = 100;
    form->UpdateMenuState();
    EXPECT_FALSE(resultsXY());

    xy = History{};
    rz[9][1] = 5;
    form->UpdateMenuState();
    EXPECT_TRUE(resultsRZ());
    EXPECT_FALSE(resultsXY());
}

TEST_F(MainWindow, ReadDataLoadsTheConfirmedFileAndUpdatesTheMenu)
{
    SaveDataXY(path("bar.dxy").toStdString(), SteelBar());
    program.desktop.fileAnswers = {path("bar")}; // typed without extension
    form->ldfxy1->trigger();

    ASSERT_EQ(program.desktop.dialogs.size(), 1u);
    EXPECT_EQ(program.desktop.dialogs[0].kind, FakeDesktop::DialogKind::Open);
    EXPECT_EQ(program.desktop.dialogs[0].filter, "data xy|*.dxy");
    EXPECT_EQ(program.desktop.dialogs[0].defaultExt, "dxy");
    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(program.state.dataXY, SteelBar());
    EXPECT_TRUE(calcXY());
    EXPECT_EQ(form->OpenDialogxy.fileName, path("bar.dxy"));

    // The dialog keeps its last name; the other dialogs have their own.
    form->ldfxy1->trigger();
    form->ldfrz1->trigger();
    ASSERT_EQ(program.desktop.dialogs.size(), 3u);
    EXPECT_EQ(program.desktop.dialogs[1].initialName, path("bar.dxy"));
    EXPECT_EQ(program.desktop.dialogs[2].initialName, "");
    EXPECT_EQ(program.desktop.dialogs[2].filter, "data rz|*.drz");
    EXPECT_EQ(program.desktop.dialogs[2].defaultExt, "drz");
}

TEST_F(MainWindow, ReadDataForRZLoadsTheRodCase)
{
    form->classic1->trigger(); // whose commands wait for plausible data
    SaveDataRZ(path("rod.drz").toStdString(), SteelRod());
    program.desktop.fileAnswers = {path("rod.drz")};
    form->ldfrz1->trigger();
    EXPECT_EQ(program.state.dataRZ, SteelRod());
    EXPECT_TRUE(calcRZ());
    EXPECT_FALSE(calcXY());
}

TEST_F(MainWindow, CancelledReadChangesNothing)
{
    program.state.dataXY = SteelBar();
    form->UpdateMenuState();
    program.desktop.fileAnswers = {std::nullopt};
    form->ldfxy1->trigger();
    EXPECT_EQ(program.state.dataXY, SteelBar());
    EXPECT_TRUE(calcXY());
    EXPECT_TRUE(program.desktop.boxes.empty());
    EXPECT_EQ(form->OpenDialogxy.fileName, "");
}

TEST_F(MainWindow, CancelledReadStillRecomputesTheMenu)
{
    program.state.dataXY = SteelBar(); // stored behind the menu's back
    program.desktop.fileAnswers = {std::nullopt};
    form->ldfxy1->trigger();
    EXPECT_TRUE(calcXY());
}

TEST_F(MainWindow, ReadingAMissingFileIsReportedByTheLoadAndKeepsTheRecord)
{
    program.state.dataXY = SteelBar();
    program.desktop.fileAnswers = {path("missing.dxy")};
    form->ldfxy1->trigger();
    ASSERT_FALSE(program.desktop.boxes.empty());
    EXPECT_EQ(program.desktop.boxes[0].kind, FakeDesktop::BoxKind::Message);
    EXPECT_EQ(program.desktop.boxes[0].caption, "Execution Error");
    EXPECT_EQ(program.state.dataXY, SteelBar());
}

TEST_F(MainWindow, ReadingAFileNamedAtStartUpWorksAsTheReadCommands)
{
    // The program reads a case given on its command line through these.
    SaveDataXY(path("bar.dxy").toStdString(), SteelBar());
    SaveDataRZ(path("rod.drz").toStdString(), SteelRod());
    form->ReadDataXY(path("bar.dxy"));
    form->ReadDataRZ(path("rod.drz"));
    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(program.state.dataXY, SteelBar());
    EXPECT_EQ(program.state.dataRZ, SteelRod());
    EXPECT_TRUE(calcXY());
    EXPECT_TRUE(calcRZ());

    // The dialogs then start from those files.
    form->ldfxy1->trigger();
    form->ldfrz1->trigger();
    ASSERT_EQ(program.desktop.dialogs.size(), 2u);
    EXPECT_EQ(program.desktop.dialogs[0].initialName, path("bar.dxy"));
    EXPECT_EQ(program.desktop.dialogs[1].initialName, path("rod.drz"));

    // A missing file gives the messages of the read commands and keeps the case.
    program.desktop.boxes.clear();
    form->ReadDataXY(path("missing.dxy"));
    form->ReadDataRZ(path("missing.drz"));
    EXPECT_EQ(program.desktop.boxLines(),
              QStringList({"Execution Error|Incorrect path", "Execution Error|Incorrect data format"}));
    EXPECT_EQ(program.state.dataXY, SteelBar());
    EXPECT_EQ(program.state.dataRZ, SteelRod());
}

TEST_F(MainWindow, SaveDataRightAfterStartUpWritesTheClearedCase)
{
    program.desktop.fileAnswers = {path("empty")};
    form->savedforxy1->trigger();
    ASSERT_EQ(program.desktop.dialogs.size(), 1u);
    EXPECT_EQ(program.desktop.dialogs[0].kind, FakeDesktop::DialogKind::Save);
    EXPECT_EQ(program.desktop.dialogs[0].filter, "data xy|*.dxy");
    ASSERT_TRUE(QFile::exists(path("empty.dxy")));

    DataXY back = SteelBar();
    FakeDesktop quiet;
    DesktopHost host(quiet);
    ASSERT_TRUE(LoadDataXY(path("empty.dxy").toStdString(), back, host));
    EXPECT_EQ(back, DataXY{});
}

TEST_F(MainWindow, SavingDoesNotRecomputeTheMenu)
{
    form->classic1->trigger(); // whose commands wait for plausible data
    program.state.dataRZ = SteelRod(); // the menu does not know yet
    program.desktop.fileAnswers = {path("rod")};
    form->savedforrz1->trigger();
    EXPECT_TRUE(QFile::exists(path("rod.drz")));
    EXPECT_FALSE(calcRZ());
}

TEST_F(MainWindow, CancelledSaveWritesNothing)
{
    program.desktop.fileAnswers = {std::nullopt};
    form->savedforxy1->trigger();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(program.desktop.boxes.empty());
}

TEST_F(MainWindow, AFileThatCannotBeWrittenEndsInTheGeneralErrorReport)
{
    program.desktop.fileAnswers = {path("no/such/folder/case")};
    form->savedforxy1->trigger();
    ASSERT_EQ(program.desktop.boxes.size(), 1u);
    const auto &box = program.desktop.boxes[0];
    EXPECT_EQ(box.kind, FakeDesktop::BoxKind::ErrorReport);
    EXPECT_EQ(box.caption, "ui_test_u1");
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_LE(box.text.back(), QLatin1Char('.'));
    // The program goes on.
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainWindow, BothSaveTextResultsCommandsShareOneDialog)
{
    program.state.dataXY = SteelBar();
    program.state.dataRZ = SteelRod();
    program.desktop.fileAnswers = {path("xy"), path("rz.txt")};
    form->str1->trigger();
    form->str2->trigger();
    ASSERT_EQ(program.desktop.dialogs.size(), 2u);
    EXPECT_EQ(program.desktop.dialogs[0].filter, "txt|*.txt");
    EXPECT_EQ(program.desktop.dialogs[0].defaultExt, "txt");
    EXPECT_EQ(program.desktop.dialogs[1].initialName, path("xy.txt"));
    EXPECT_GT(QFileInfo(path("xy.txt")).size(), 0);
    EXPECT_GT(QFileInfo(path("rz.txt")).size(), 0);
    EXPECT_TRUE(program.desktop.boxes.empty());
}

TEST_F(MainWindow, ExitEndsTheProgramAtOnce)
{
    form->e1->trigger();
    EXPECT_EQ(program.exitCalls, 1);
    EXPECT_TRUE(program.desktop.boxes.empty());
}

TEST_F(MainWindow, DataCommandsHideTheMainWindowAndShowTheirDialog)
{
    form->dataforxy1->trigger();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{program.windows().Form2});
    program.windows().Form2->close();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form});

    form->Dataforrz1->trigger();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{program.windows().Form2a});
    program.windows().Form2a->close();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form});
}

TEST_F(MainWindow, ResultsWindowCommandsKeepExactlyOneWindowVisible)
{
    program.state.historyXY[9][1] = 100;
    program.state.historyRZ[9][1] = 100;
    form->UpdateMenuState();
    for (QAction *command : {form->tr1, form->gr1, form->tr2, form->gr2}) {
        command->trigger();
        const auto visible = TestProgram::visibleWindows();
        EXPECT_EQ(visible.size(), 1) << command->objectName().toStdString();
        for (QWidget *w : visible)
            if (w != form)
                w->hide();
        EXPECT_TRUE(form->isVisible()) << command->objectName().toStdString();
    }
}

TEST_F(MainWindow, PicturesAreDrawnFromTheStoredDrawings)
{
    EXPECT_TRUE(form->Image1->isValid());
    EXPECT_TRUE(form->Image2->isValid());
    EXPECT_EQ(form->Image1->geometry(), QRect(16, 80, 281, 313));
    EXPECT_EQ(form->Image2->geometry(), QRect(376, 80, 281, 313));
    const QImage image = form->grab().toImage();
    int red = 0;
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 120 && c.blue() < 120)
                ++red;
            if (c.blue() > 180 && c.red() < 80 && c.green() < 80)
                ++blue;
        }
    EXPECT_GT(red, 2000);  // the bar and the rod
    EXPECT_GT(blue, 300);  // the title lines
}

TEST_F(MainWindow, SavedFilesAreTheSameUnderAMultiByteDecimalSeparator)
{
    const auto locale = resheat::testing::MultiByteSeparatorLocale::name();
    if (!locale)
        GTEST_SKIP() << "no locale with a multi-byte decimal separator can be made here (localedef, locales)";
    program.state.dataXY = SteelBar();
    resheat::testing::RecordingHost host;
    CalculationXY(program.state.dataXY, false, program.state.resultsXY, 0, program.state.historyXY, host);
    SaveTextResultsXY(path("expected.txt").toStdString(), program.state.dataXY, program.state.resultsXY);

    // What the desktop program's start does with LC_ALL=ps_AF.UTF-8.
    resheat::testing::ScopedCLocale scope(*locale);
    ASSERT_TRUE(scope.ok());
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Pashto, QLocale::Afghanistan));
    program.desktop.fileAnswers = {path("bar"), path("results")};
    form->savedforxy1->trigger();
    form->str1->trigger();
    QLocale::setDefault(saved);
    EXPECT_TRUE(program.desktop.boxes.empty());

    auto bytes = [](const QString &name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };
    EXPECT_EQ(bytes(path("bar.dxy")), bytes(QStringLiteral(RESHEAT_SOURCE_DIR "/examples/steel-bar.dxy")));
    EXPECT_EQ(bytes(path("results.txt")), bytes(path("expected.txt")));
}

} // namespace
