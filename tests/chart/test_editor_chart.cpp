// The editors on a whole chart: double clicks on an enabled chart open them,
// OK changes the chart, and the chart settles with the changed element.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "chart/VxChartBaseAxisEditUnit.h"
#include "chart/VxChartBaseLinesEditUnit.h"
#include "chart/VxChartBaseTextEditUnit.h"
#include "chart/VxUniChart2D.h"
#include "support/editor_support.h"

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

struct ChartFixture : ::testing::Test
{
    TVxUniChart2D chart;

    void SetUp() override
    {
        VxChartInstallEditors();
        chart.resize(500, 400);
        chart.show();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents();
    }
    static void DoubleClick(QWidget *w)
    {
        QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
};

} // namespace

TEST_F(ChartFixture, TypingANewYCaptionAndOkChangesTheChart)
{
    QSignalSpy raised(&chart, &TVxUniChart2D::OnYAxisCaptionDblClick);
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseTextEditWindow &>(d);
        w.Memo1->selectAll();
        QTest::keyClicks(w.Memo1, QStringLiteral("<B>T</B> [K]"));
        QTest::mouseClick(w.ButtonOK, Qt::LeftButton);
        return w.result();
    });
    DoubleClick(chart.YCaption()->Control());
    Settle();
    EXPECT_EQ(exec.LastTitle, "Edit Text Field");
    EXPECT_EQ(chart.YCaption()->Text(), "<B>T</B> [K]");
    // the chart still tells its host about the double click
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(ChartFixture, CancelLeavesTheCaptionAsItWas)
{
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseTextEditWindow &>(d);
        w.Memo1->setPlainText(QStringLiteral("changed"));
        QTest::mouseClick(w.ButtonCancel, Qt::LeftButton);
        return w.result();
    });
    DoubleClick(chart.XCaption()->Control());
    EXPECT_EQ(exec.Runs, 1);
    EXPECT_EQ(chart.XCaption()->Text(), "<U>X Caption");
}

TEST_F(ChartFixture, ANewAxisRangeReachesThePlottingField)
{
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseAisEditWindow &>(d);
        w.Edit5->setText(QStringLiteral("0"));
        QTest::keyClick(w.Edit5, Qt::Key_Return);
        w.Edit6->setText(QStringLiteral("250"));
        QTest::keyClick(w.Edit6, Qt::Key_Return);
        return int(QDialog::Accepted);
    });
    DoubleClick(chart.XAxis()->Control());
    Settle();
    EXPECT_EQ(exec.LastTitle, "Edit The Axis Properties");
    EXPECT_EQ(chart.XAxis()->BeginValue(), 0.0);
    EXPECT_EQ(chart.XAxis()->EndValue(), 250.0);
    EXPECT_EQ(chart.MainField()->Control()->XBegin(), 0.0);
    EXPECT_EQ(chart.MainField()->Control()->XEnd(), 250.0);
}

TEST_F(ChartFixture, TheFieldEditorHidesTheGridOfTheChart)
{
    VxChartBaseLineArray &lines = *chart.MainField()->Lines();
    lines.SetPointCount(3);
    lines.SetLineCount(2);
    Settle();
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseLinesEditWindow &>(d);
        w.ButtonGrid->click();
        EditorChoose(w.ComboBox1, 1);
        QTest::keyClicks(w.EditLineName, QStringLiteral("x"));
        return int(QDialog::Accepted);
    });
    DoubleClick(chart.MainField()->Control());
    Settle();
    EXPECT_EQ(exec.LastTitle, "Edit the Chart");
    EXPECT_FALSE(chart.MainField()->ShowGrid());
    EXPECT_EQ(lines.Line(1)->LineName(), "Line - 1x");
    // the legend is rebuilt from the new name
    EXPECT_TRUE(chart.LinesField()->Text().contains(QStringLiteral("Line - 1x")));
}

TEST_F(ChartFixture, ADisabledChartOpensNoEditor)
{
    chart.setEnabled(false);
    EditorScriptedExec exec([](QDialog &) { return int(QDialog::Accepted); });
    DoubleClick(chart.YCaption()->Control());
    DoubleClick(chart.YAxis()->Control());
    DoubleClick(chart.MainField()->Control());
    EXPECT_EQ(exec.Runs, 0);
}
