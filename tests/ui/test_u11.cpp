// The Help menu: the user guide in a window of its own beside the program,
// and the About box with the version, the licence and the address.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "ui/support/TestProgram.h"
#include "ui/u1.h"
#include "ui/u11.h"

using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

class HelpMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.app().showMainWindow();
        main = program.windows().Form1;
        guide = static_cast<TForm11 *>(program.windows().Form11);
    }
    void TearDown() override
    {
        guide->hide();
        main->hide();
    }

    TestProgram program;
    TForm1 *main = nullptr;
    TForm11 *guide = nullptr;
};

TEST_F(HelpMenu, ComesAfterCompareWithTheGuideAndTheAboutBox)
{
    EXPECT_EQ(main->menuBar()->actions().last(), main->Help1->menuAction());
    EXPECT_EQ(main->Help1->title(), "&Help");
    EXPECT_EQ(main->Help1->actions(), (QList<QAction *>{main->guide1, main->about1}));
    EXPECT_EQ(main->guide1->text(), "&User guide");
    EXPECT_EQ(main->guide1->shortcut(), QKeySequence(QKeySequence::HelpContents));
    EXPECT_EQ(main->about1->text(), "&About ResHeat");
    // Both are there before any case is entered.
    EXPECT_TRUE(main->guide1->isEnabled());
    EXPECT_TRUE(main->about1->isEnabled());
}

TEST_F(HelpMenu, TheGuideShowsTheInstalledDocumentBesideTheMainWindow)
{
    main->guide1->trigger();
    EXPECT_TRUE(guide->isVisible());
    EXPECT_TRUE(main->isVisible()) << "the guide is read beside the program";
    EXPECT_EQ(guide->windowTitle(), "ResHeat user guide");

    // The text is the documentation file, rendered: headings and tables
    // without their Markdown marks.
    QFile file(QStringLiteral(RESHEAT_SOURCE_DIR "/doc/user-guide.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(UserGuideText(), QString::fromUtf8(file.readAll()));
    const QString shown = guide->TextBrowser1->toPlainText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("ResHeat user guide")));
    for (const char *words : {"Alfa coefficient", "Max contact current", "Biot number", "Tw (bar)",
                              "Temperature-dependent (the Compare menu)", "What neither calculation includes"})
        EXPECT_TRUE(shown.contains(QLatin1String(words))) << words;
    EXPECT_FALSE(shown.contains(QStringLiteral("| Box |")));
    EXPECT_FALSE(shown.contains(QStringLiteral("## ")));

    // It fits a small screen and can be made larger.
    EXPECT_LE(guide->minimumWidth(), 640);
    EXPECT_LE(guide->minimumHeight(), 480);
    EXPECT_GE(guide->maximumWidth(), 1920);

    // Escape and Close put it away; the main window stays.
    guide->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(guide));
    QTest::keyClick(guide->TextBrowser1, Qt::Key_Escape);
    EXPECT_FALSE(guide->isVisible());
    main->guide1->trigger();
    EXPECT_TRUE(guide->isVisible());
    QTest::mouseClick(guide->Button1, Qt::LeftButton);
    EXPECT_FALSE(guide->isVisible());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(HelpMenu, AboutNamesTheVersionTheLicenceAndTheAddress)
{
    main->about1->trigger();
    ASSERT_EQ(program.desktop.boxes.size(), 1u);
    const FakeDesktop::Box &box = program.desktop.boxes.front();
    EXPECT_EQ(box.kind, FakeDesktop::BoxKind::About);
    EXPECT_EQ(box.caption, "About ResHeat");
    EXPECT_TRUE(box.text.contains(QStringLiteral("ResHeat " RESHEAT_TEST_VERSION))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("MIT License")));
    EXPECT_TRUE(box.text.contains(
        QStringLiteral("<a href=\"https://github.com/resheat/resheat\">https://github.com/resheat/resheat</a>")));
    EXPECT_TRUE(main->isVisible());
}

} // namespace
