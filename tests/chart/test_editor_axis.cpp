// The axis editor: the live preview axis, the small integer edits, the value
// edits read on Enter or on leaving them, and applying on OK only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "chart/VxChartBaseAxisEditUnit.h"
#include "chart/VxChartBaseAxisUnit.h"
#include "support/editor_support.h"

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// An x axis in the lower half of a 400 by 300 panel, 100 pixels long.
struct AxisFixture : ::testing::Test
{
    QWidget panel;
    VxChartBaseAxisClass *axis = nullptr;
    TVxChartBaseAisEditWindow dlg;

    void SetUp() override
    {
        panel.resize(400, 300);
        axis = new VxChartBaseAxisClass(&panel);
        axis->SetLength(100);
        axis->SetCenterPointLeft(40);
        axis->SetCenterPointTop(260);
        axis->SetBeginValue(0.0);
        axis->SetEndValue(100.0);
        panel.show();
        dlg.SetTarget(axis);
        dlg.show();
    }

    void TypeInto(QLineEdit *e, const char *text)
    {
        e->clear();
        QTest::keyClicks(e, QString::fromLatin1(text));
    }
    void Leave(QLineEdit *e)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(e, &out);
    }
};

} // namespace

TEST_F(AxisFixture, CaptionsAndFilledEdits)
{
    EXPECT_EQ(dlg.windowTitle(), "Edit The Axis Properties");
    for (const char *caption : {"font", "font color", "Color", "OK", "Cancel"})
        EXPECT_NE(EditorButton(&dlg, QString::fromLatin1(caption)), nullptr) << caption;
    QStringList labels;
    for (const QLabel *l : dlg.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Begin Shift ->", "End Shift ->", "Wanted Main Ticks ->", "Minor Ticks Number ->",
                                "Begin Value->", "End Value ->"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(caption))) << caption;
    for (QLineEdit *e : {dlg.Edit1, dlg.Edit2, dlg.Edit3, dlg.Edit4})
        EXPECT_EQ(e->maxLength(), 2);

    EXPECT_EQ(dlg.Edit1->text(), "20");
    EXPECT_EQ(dlg.Edit2->text(), "50");
    EXPECT_EQ(dlg.Edit3->text(), "8");
    EXPECT_EQ(dlg.Edit4->text(), "1");
    EXPECT_EQ(dlg.Edit5->text(), "0");
    EXPECT_EQ(dlg.Edit6->text(), "100");
    // the preview is the target's kind and length, not editable itself
    EXPECT_EQ(dlg.Preview()->AxisType(), vxcbatHorizontal);
    EXPECT_EQ(dlg.Preview()->Length(), 100);
    EXPECT_FALSE(dlg.Preview()->AutoEditable());
}

TEST_F(AxisFixture, PreviewLiesOnTheSameSideAsTheTarget)
{
    // the target lies in the lower half of its panel: so does the preview,
    // and its labels come below the line as on the chart
    const QWidget *previewPanel = dlg.Preview()->parentWidget();
    EXPECT_LT(previewPanel->height() / 2, dlg.Preview()->CenterPointTop());

    QWidget upper;
    upper.resize(400, 300);
    auto *yAxis = new VxChartBaseAxisClass(&upper);
    yAxis->SetAxisType(vxcbatVertical);
    yAxis->SetLength(200);
    yAxis->SetCenterPointLeft(40);
    yAxis->SetCenterPointTop(250);
    TVxChartBaseAisEditWindow vertical;
    vertical.SetTarget(yAxis);
    vertical.show();
    const VxChartBaseAxisClass *p = vertical.Preview();
    EXPECT_EQ(p->AxisType(), vxcbatVertical);
    EXPECT_EQ(p->Length(), 200);
    EXPECT_GE(p->parentWidget()->width() / 2, p->CenterPointLeft());
    // wholly on its panel
    EXPECT_TRUE(p->parentWidget()->rect().contains(p->geometry()));
}

TEST_F(AxisFixture, EditsChangeThePreviewOnlyUntilApplied)
{
    EditorFakeChoosers choosers;
    choosers.Fonts = {QFont(QStringLiteral("Arial"), 12)};
    choosers.Colors = {QColor(0, 0, 200), QColor(200, 0, 0)};

    TypeInto(dlg.Edit1, "10");
    TypeInto(dlg.Edit2, "30");
    TypeInto(dlg.Edit3, "5");
    TypeInto(dlg.Edit4, "4");
    TypeInto(dlg.Edit5, "-20");
    QTest::keyClick(dlg.Edit5, Qt::Key_Return);
    TypeInto(dlg.Edit6, "80");
    Leave(dlg.Edit6);
    dlg.ButtonFont->click();
    dlg.ButtonFontColor->click();
    dlg.ButtonColor->click();

    const VxChartBaseAxisClass &p = *dlg.Preview();
    EXPECT_EQ(p.BeginShift(), 10);
    EXPECT_EQ(p.EndShift(), 30);
    EXPECT_EQ(p.WantedTicks(), 5);
    EXPECT_EQ(p.MinorTicks(), 4);
    EXPECT_EQ(p.BeginValue(), -20.0);
    EXPECT_EQ(p.EndValue(), 80.0);
    EXPECT_EQ(p.Font().pointSize(), 12);
    EXPECT_EQ(p.FontColor(), QColor(0, 0, 200));
    EXPECT_EQ(p.Color(), QColor(200, 0, 0));

    EXPECT_EQ(axis->BeginShift(), 20);
    EXPECT_EQ(axis->EndValue(), 100.0);
    EXPECT_EQ(axis->Color(), QColor(Qt::black));

    const QRect before = axis->geometry();
    const int left = axis->CenterPointLeft(), top = axis->CenterPointTop();
    dlg.Apply();
    EXPECT_EQ(axis->BeginShift(), 10);
    EXPECT_EQ(axis->EndShift(), 30);
    EXPECT_EQ(axis->WantedTicks(), 5);
    EXPECT_EQ(axis->MinorTicks(), 4);
    EXPECT_EQ(axis->BeginValue(), -20.0);
    EXPECT_EQ(axis->EndValue(), 80.0);
    EXPECT_EQ(axis->Font().pointSize(), 12);
    EXPECT_EQ(axis->FontColor(), QColor(0, 0, 200));
    EXPECT_EQ(axis->Color(), QColor(200, 0, 0));
    // the axis keeps its place on the chart; a larger font may only thicken it
    EXPECT_EQ(axis->CenterPointLeft(), left);
    EXPECT_EQ(axis->CenterPointTop(), top);
    EXPECT_EQ(axis->width(), before.width());
}

TEST_F(AxisFixture, SmallEditsTakeWholeNumbersAndZeroForAnythingElse)
{
    TypeInto(dlg.Edit4, "x");
    EXPECT_EQ(dlg.Edit4->text(), "0");
    EXPECT_EQ(dlg.Preview()->MinorTicks(), 0);
    TypeInto(dlg.Edit1, "a");
    EXPECT_EQ(dlg.Edit1->text(), "0");
    EXPECT_EQ(dlg.Preview()->BeginShift(), 0);
    // 0 wanted ticks is below what an axis accepts: it keeps its 8
    TypeInto(dlg.Edit3, "?");
    EXPECT_EQ(dlg.Edit3->text(), "0");
    EXPECT_EQ(dlg.Preview()->WantedTicks(), 8);
    // a shift the length cannot hold next to the end shift of 50 is refused
    // by the axis (the 6 typed on the way fits)
    TypeInto(dlg.Edit1, "60");
    EXPECT_EQ(dlg.Preview()->BeginShift(), 6);
    EXPECT_EQ(dlg.Preview()->EndShift(), 50);
}

TEST_F(AxisFixture, ValueEditsAreReadOnEnterOrLeavingAndRewritten)
{
    // typing alone changes nothing yet
    TypeInto(dlg.Edit5, "2.50");
    EXPECT_EQ(dlg.Preview()->BeginValue(), 0.0);
    QTest::keyClick(dlg.Edit5, Qt::Key_Return);
    EXPECT_EQ(dlg.Preview()->BeginValue(), 2.5);
    EXPECT_EQ(dlg.Edit5->text(), "2.5");
    // Enter takes the value without closing the editor
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);

    TypeInto(dlg.Edit6, "1e3");
    Leave(dlg.Edit6);
    EXPECT_EQ(dlg.Edit6->text(), "1000");
    // a comma only groups digits here: not a number
    TypeInto(dlg.Edit6, "1,5");
    Leave(dlg.Edit6);
    EXPECT_EQ(dlg.Preview()->EndValue(), 1000.0);
    EXPECT_EQ(dlg.Edit6->text(), "1000");

    // a non-number is not taken: the edit shows the value again
    for (const char *bad : {"abc", "", "1.2.3", "inf", "nan"}) {
        TypeInto(dlg.Edit6, bad);
        Leave(dlg.Edit6);
        EXPECT_EQ(dlg.Preview()->EndValue(), 1000.0) << bad;
        EXPECT_EQ(dlg.Edit6->text(), "1000") << bad;
    }
    EXPECT_EQ(axis->BeginValue(), 0.0);
}

TEST_F(AxisFixture, ValuesFollowTheRegionalFormat)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TypeInto(dlg.Edit5, "0,125");
    QTest::keyClick(dlg.Edit5, Qt::Key_Enter);
    EXPECT_EQ(dlg.Preview()->BeginValue(), 0.125);
    EXPECT_EQ(dlg.Edit5->text(), "0,125");
    QLocale::setDefault(before);
}

TEST_F(AxisFixture, AValueTypedAndLeftWithOkIsTaken)
{
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseAisEditWindow &>(d);
        w.Edit6->setText(QStringLiteral("42"));
        return QDialog::Accepted;
    });
    EXPECT_TRUE(VxChartEditAxis(*axis));
    EXPECT_EQ(axis->EndValue(), 42.0);
}

TEST_F(AxisFixture, ShiftsSwappingSidesReachTheTarget)
{
    // 60 + 50 would not fit the length of 100 while the old end shift is
    // still in: the preview takes the end shift first, Apply still gets both
    TypeInto(dlg.Edit2, "10");
    TypeInto(dlg.Edit1, "60");
    ASSERT_EQ(dlg.Preview()->BeginShift(), 60);
    dlg.Apply();
    EXPECT_EQ(axis->BeginShift(), 60);
    EXPECT_EQ(axis->EndShift(), 10);
}

TEST(AxisEditorSequence, OkWithoutChangesKeepsShiftsThatOnlyFitAsAPair)
{
    // The preview starts with the default end shift of 50: a begin shift of
    // 60 on an axis 100 long must still reach it, or OK would undo it.
    QWidget panel;
    panel.resize(300, 200);
    auto *axis = new VxChartBaseAxisClass(&panel);
    axis->SetEndShift(10);
    axis->SetBeginShift(60);
    ASSERT_EQ(axis->BeginShift(), 60);
    EditorScriptedExec exec([](QDialog &d) {
        auto &w = static_cast<TVxChartBaseAisEditWindow &>(d);
        EXPECT_EQ(w.Preview()->BeginShift(), 60);
        EXPECT_EQ(w.Edit1->text(), "60");
        return QDialog::Accepted;
    });
    EXPECT_TRUE(VxChartEditAxis(*axis));
    EXPECT_EQ(axis->BeginShift(), 60);
    EXPECT_EQ(axis->EndShift(), 10);
}

TEST(AxisEditorSequence, OkAppliesAndCancelDiscards)
{
    QWidget panel;
    panel.resize(300, 200);
    auto *axis = new VxChartBaseAxisClass(&panel);
    for (const bool ok : {false, true}) {
        EditorScriptedExec exec([ok](QDialog &d) {
            auto &w = static_cast<TVxChartBaseAisEditWindow &>(d);
            w.Edit4->clear();
            QTest::keyClicks(w.Edit4, QStringLiteral("3"));
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
        EXPECT_EQ(VxChartEditAxis(*axis), ok);
        EXPECT_EQ(exec.LastTitle, "Edit The Axis Properties");
        EXPECT_EQ(axis->MinorTicks(), ok ? 3 : 1);
    }
}

TEST(AxisEditorSequence, OkKeepsTheAxisEditableAndItsVisibility)
{
    // The preview is neither editable nor ever hidden; neither may reach
    // the target, or a second double click would open nothing.
    QWidget panel;
    panel.resize(300, 200);
    auto *axis = new VxChartBaseAxisClass(&panel);
    auto *hidden = new VxChartBaseAxisClass(&panel);
    hidden->SetAutoEditable(false);
    hidden->setVisible(false);
    EditorScriptedExec exec([](QDialog &) { return QDialog::Accepted; });
    EXPECT_TRUE(VxChartEditAxis(*axis));
    EXPECT_TRUE(axis->AutoEditable());
    EXPECT_TRUE(axis->isVisibleTo(&panel));
    EXPECT_TRUE(VxChartEditAxis(*hidden));
    EXPECT_FALSE(hidden->AutoEditable());
    EXPECT_TRUE(hidden->isHidden());
}

TEST_F(AxisFixture, Renders)
{
    TypeInto(dlg.Edit5, "-20");
    QTest::keyClick(dlg.Edit5, Qt::Key_Return);
    EXPECT_FALSE(EditorGrab(&dlg, "axis_editor").isNull());
    EXPECT_TRUE(dlg.Preview()->isVisible());
}
