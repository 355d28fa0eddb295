// Start-up: whether a window system can be reached before Qt is asked to
// open one, and the case file named on the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/CommandLine.h"
#include "ui/Startup.h"
#include "ui/support/TestProgram.h"
#include "ui/u1.h"

using resheat::ui::DisplayReachable;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

TEST(Startup, NoDisplayNamedOrNoneAnsweringMeansNoWindowSystem)
{
    EXPECT_FALSE(DisplayReachable("", "", ""));
    // An X display that nobody serves, as left behind by a closed session.
    EXPECT_FALSE(DisplayReachable(":64999", "", ""));
    EXPECT_FALSE(DisplayReachable("no-such-host.invalid:0", "", ""));
}

TEST(Startup, AChosenPlatformOrWaylandIsLeftToQt)
{
    EXPECT_TRUE(DisplayReachable("", "", "offscreen"));
    EXPECT_TRUE(DisplayReachable(":64999", "", "offscreen"));
    EXPECT_TRUE(DisplayReachable("", "wayland-0", ""));
}

// A file manager opens whatever the user double-clicks with the program:
// a file that is no case is refused in a box before the main window shows,
// the cases stay cleared and the read dialogs remember nothing.
TEST(StartFile, AFileThatIsNoCaseIsRefusedInABoxAndTheMainWindowFollows)
{
    TestProgram program;
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Dane dla wsadu prostopadlosciennego\r\n");
    file.close();

    const CommandLine line = ParseCommandLine({notes.toStdString()});
    ASSERT_EQ(line.action, CommandLine::Action::Start);
    bool mainShownDuringBox = true;
    program.desktop.onBox = [&](const auto &) { mainShownDuringBox = program.windows().Form1->isVisible(); };
    ReadStartFile(program.app(), line);
    program.app().showMainWindow();
    EXPECT_EQ(program.desktop.boxLines(),
              QStringList{"Execution Error|Cannot tell the geometry of " + notes +
                          ": a case file ends in .dxy (rectangular bar) or .drz (round rod)"});
    EXPECT_FALSE(mainShownDuringBox);
    EXPECT_TRUE(program.windows().Form1->isVisible());
    EXPECT_EQ(program.state.dataXY, resheat::DataXY{});
    EXPECT_EQ(program.state.dataRZ, resheat::DataRZ{});
    EXPECT_TRUE(program.windows().Form1->OpenDialogxy.fileName.isEmpty());
    EXPECT_TRUE(program.windows().Form1->OpenDialogrz.fileName.isEmpty());
    program.windows().Form1->hide();
}

TEST(StartFile, ACaseFileIsReadAsTheReadCommandReadsIt)
{
    TestProgram program;
    const QString examples = qEnvironmentVariable("RESHEAT_EXAMPLES", QStringLiteral(RESHEAT_SOURCE_DIR "/examples"));
    const QString rod = QDir(examples).filePath(QStringLiteral("steel-rod.drz"));
    ReadStartFile(program.app(), ParseCommandLine({rod.toStdString()}));
    EXPECT_TRUE(program.desktop.boxes.empty());
    EXPECT_EQ(program.state.dataRZ, SteelRod());
    EXPECT_EQ(program.windows().Form1->OpenDialogrz.fileName, rod);
}

} // namespace
