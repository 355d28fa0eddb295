// The general error report and the file dialogs' default extension.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <stdexcept>

#include "ui/support/FakeDesktop.h"
#include "core/Errors.h"
#include "ui/ErrorReport.h"

using namespace resheat;
using namespace resheat::ui;
using resheat::ui::testing::FakeDesktop;

namespace {

TEST(ErrorReport, FullStopAppendedOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(FormatErrorReportText("File access denied"), "File access denied.");
    EXPECT_EQ(FormatErrorReportText("I/O error 103"), "I/O error 103.");
    EXPECT_EQ(FormatErrorReportText("Floating point overflow"), "Floating point overflow.");
    // '.' itself and everything that sorts below it ends the text as it is
    EXPECT_EQ(FormatErrorReportText("Disk full."), "Disk full.");
    EXPECT_EQ(FormatErrorReportText("Really?"), "Really?."); // '?' sorts above '.'
    EXPECT_EQ(FormatErrorReportText("What?!"), "What?!");    // '!' sorts below it
    EXPECT_EQ(FormatErrorReportText("Stop!"), "Stop!");
    EXPECT_EQ(FormatErrorReportText("(code 5)"), "(code 5)");
    EXPECT_EQ(FormatErrorReportText("a-"), "a-");
    EXPECT_EQ(FormatErrorReportText("trailing "), "trailing ");
    EXPECT_EQ(FormatErrorReportText("path/"), "path/."); // '/' sorts above '.'
    EXPECT_EQ(FormatErrorReportText(""), "");
}

TEST(ErrorReport, CaptionIsTheExecutableNameWithoutExtension)
{
    EXPECT_EQ(ApplicationTitle(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    EXPECT_EQ(ApplicationTitle(), "ui_test_ErrorReport");
}

TEST(ErrorReport, GuardTurnsEveryExceptionIntoOneStopBox)
{
    FakeDesktop desktop;
    EXPECT_FALSE(RunGuarded(desktop, [] { throw ArithmeticFault(kDivisionByZero); }));
    EXPECT_FALSE(RunGuarded(desktop, [] { throw IoError("File access denied"); }));
    EXPECT_FALSE(RunGuarded(desktop, [] { throw std::runtime_error("Out of memory"); }));
    EXPECT_FALSE(RunGuarded(desktop, [] { throw 42; }));
    ASSERT_EQ(desktop.boxes.size(), 4u);
    for (const auto &box : desktop.boxes) {
        EXPECT_EQ(box.kind, FakeDesktop::BoxKind::ErrorReport);
        EXPECT_EQ(box.caption, "ui_test_ErrorReport");
    }
    EXPECT_EQ(desktop.boxes[0].text, "Floating point division by zero.");
    EXPECT_EQ(desktop.boxes[1].text, "File access denied.");
    EXPECT_EQ(desktop.boxes[2].text, "Out of memory.");
    EXPECT_FALSE(desktop.boxes[3].text.isEmpty());
}

TEST(ErrorReport, GuardStaysSilentWhenTheCommandSucceeds)
{
    FakeDesktop desktop;
    int runs = 0;
    EXPECT_TRUE(RunGuarded(desktop, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST(FileDialogs, DefaultExtensionOnlyForANameWithoutOne)
{
    EXPECT_EQ(WithDefaultExtension("/tmp/case", "dxy"), "/tmp/case.dxy");
    EXPECT_EQ(WithDefaultExtension("/tmp/case.", "dxy"), "/tmp/case.dxy");
    EXPECT_EQ(WithDefaultExtension("/tmp/case.dxy", "dxy"), "/tmp/case.dxy");
    EXPECT_EQ(WithDefaultExtension("/tmp/case.txt", "dxy"), "/tmp/case.txt");
    EXPECT_EQ(WithDefaultExtension("/tmp/dir.d/case", "drz"), "/tmp/dir.d/case.drz");
    EXPECT_EQ(WithDefaultExtension("", "txt"), "");
}

} // namespace
