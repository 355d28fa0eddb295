// The lines editor: the field's colours and switches, the column page that
// edits the chosen column of the private copy, and applying on OK or Apply.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "chart/VxChartBaseLinesEditUnit.h"
#include "chart/VxChartBaseLinesUnit.h"
#include "support/editor_support.h"

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// A field with three columns of four points: time, temperature with an
// error column.
struct LinesFixture : ::testing::Test
{
    QWidget panel;
    VxChartBaseLinesClass *field = nullptr;
    TVxChartBaseLinesEditWindow dlg;

    void SetUp() override
    {
        panel.resize(400, 300);
        field = new VxChartBaseLinesClass(&panel);
        field->SetBounds(40, 20, 300, 200);
        VxChartBaseLineArray &lines = *field->Lines();
        lines.SetPointCount(4);
        lines.SetLineCount(3);
        lines.Line(0)->SetDataType(vxcldXData);
        lines.Line(0)->SetLineName(QStringLiteral("time"));
        lines.Line(1)->SetXLine(0);
        lines.Line(1)->SetYPlusErrLine(2);
        lines.Line(1)->SetPointStyle(vxcpsCircle);
        lines.Line(1)->SetLineName(QStringLiteral("To"));
        lines.Line(2)->SetDataType(vxcldOffsetData);
        lines.Line(2)->SetLineName(QStringLiteral("err"));
        for (int i = 0; i < 4; ++i) {
            lines.Line(0)->Data()[i] = i * 10.0;
            lines.Line(1)->Data()[i] = 20.0 + i;
            lines.Line(2)->Data()[i] = 0.5;
        }
        field->SetColorGridX(QColor(10, 10, 10));
        panel.show();
        dlg.SetTarget(field);
        dlg.show();
    }

    void TypeInto(QLineEdit *e, const char *text)
    {
        e->clear();
        QTest::keyClicks(e, QString::fromLatin1(text));
    }
};

} // namespace

TEST_F(LinesFixture, CaptionsPagesAndLists)
{
    EXPECT_EQ(dlg.windowTitle(), "Edit the Chart");
    ASSERT_EQ(dlg.PageControl1->count(), 2);
    EXPECT_EQ(dlg.PageControl1->tabText(0), "Colors/visibility");
    EXPECT_EQ(dlg.PageControl1->tabText(1), "Lines properties");
    for (const char *caption :
         {"Hide", "Set Transparent", "Point Color", "Line Color", "Err Color", "OK", "Cancel", "Apply"})
        EXPECT_NE(EditorButton(&dlg, QString::fromLatin1(caption)), nullptr) << caption;
    int colorButtons = 0;
    for (const QAbstractButton *b : dlg.findChildren<QAbstractButton *>())
        colorButtons += b->text() == "Color";
    EXPECT_EQ(colorButtons, 5);
    QStringList labels;
    for (const QLabel *l : dlg.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Border ->", "X color", "Y color", "Y2 color", "Back Color", "Type ->", "Style ->",
                                "Point Style ->", "Error style ->", "X + Err Line", "X - Err Line", "Y + Err Line",
                                "Y - Err Line", "X line ->", "Point size :", "Line name", "Line list name :"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(caption))) << caption;

    EXPECT_EQ(EditorItems(dlg.ComboType), (QStringList{"X Data", "Y Data", "Y2 Data", "Offset Data"}));
    EXPECT_EQ(EditorItems(dlg.ComboStyle), (QStringList{"None", "Line", "Spline"}));
    EXPECT_EQ(EditorItems(dlg.ComboPointStyle),
              (QStringList{"None", "Circle", "Square", "Triangle", "Cross", "Donut", "Dimond", "Dot"}));
    EXPECT_EQ(EditorItems(dlg.ComboErrorStyle), (QStringList{"None", "Cross", "Rect"}));
    EXPECT_EQ(dlg.EditPointSize->maxLength(), 2);
    // the selector lists the columns, the reference lists none and then them
    EXPECT_EQ(EditorItems(dlg.ComboBox1), (QStringList{"0: time", "1: To", "2: err"}));
    for (QComboBox *c : {dlg.ComboXPlusErr, dlg.ComboXMinusErr, dlg.ComboYPlusErr, dlg.ComboYMinusErr, dlg.ComboXLine})
        EXPECT_EQ(EditorItems(c), (QStringList{"None", "0: time", "1: To", "2: err"}));
}

TEST_F(LinesFixture, ShowingCopiesTheColumnsAndShowsTheFirst)
{
    const VxChartBaseLineArray *copy = dlg.Lines();
    ASSERT_NE(copy, field->Lines());
    ASSERT_EQ(copy->LineCount(), 3);
    ASSERT_EQ(copy->PointCount(), 4);
    EXPECT_EQ(copy->Line(1)->Data(), (VxChartDataArray{20, 21, 22, 23}));
    EXPECT_EQ(copy->ListName(), "Lines Info :");
    EXPECT_EQ(dlg.CurrentColumn(), 0);
    EXPECT_EQ(dlg.ComboType->currentText(), "X Data");
    EXPECT_EQ(dlg.EditLineName->text(), "time");
    EXPECT_EQ(dlg.EditListName->text(), "Lines Info :");
    EXPECT_EQ(dlg.ButtonGrid->text(), "Hide");
    EXPECT_EQ(dlg.ButtonTransparent->text(), "Set Transparent");
    EXPECT_EQ(VxChartSwatchColor(dlg.ShapeX), QColor(10, 10, 10));
    EXPECT_EQ(VxChartSwatchColor(dlg.ShapeBack), QColor(175, 175, 175));

    // the second column with its references: item index = reference + 1
    EditorChoose(dlg.ComboBox1, 1);
    EXPECT_EQ(dlg.ComboType->currentText(), "Y Data");
    EXPECT_EQ(dlg.ComboPointStyle->currentText(), "Circle");
    EXPECT_EQ(dlg.ComboXLine->currentIndex(), 1);
    EXPECT_EQ(dlg.ComboYPlusErr->currentIndex(), 3);
    EXPECT_EQ(dlg.ComboYMinusErr->currentIndex(), 0);
    EXPECT_EQ(dlg.EditPointSize->text(), "10");
}

TEST_F(LinesFixture, ColumnPageEditsTheChosenColumnOfThePrivateCopy)
{
    EditorFakeChoosers choosers;
    choosers.Colors = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 0, 255)};

    EditorChoose(dlg.ComboBox1, 1);
    EditorChoose(dlg.ComboType, vxcldY2Data);
    EditorChoose(dlg.ComboStyle, vxclsSpline);
    EditorChoose(dlg.ComboPointStyle, vxcpsDimond);
    EditorChoose(dlg.ComboErrorStyle, vxcesRect);
    EditorChoose(dlg.ComboXPlusErr, 3);  // column 2
    EditorChoose(dlg.ComboXMinusErr, 1); // column 0
    EditorChoose(dlg.ComboYPlusErr, 0);  // none
    EditorChoose(dlg.ComboYMinusErr, 3);
    EditorChoose(dlg.ComboXLine, 0);
    dlg.ButtonPointColor->click();
    dlg.ButtonLineColor->click();
    dlg.ButtonErrColor->click();
    TypeInto(dlg.EditPointSize, "7");
    TypeInto(dlg.EditLineName, "Tw");
    TypeInto(dlg.EditListName, "Temperatures :");

    const VxChartBaseLine &c = *dlg.Lines()->Line(1);
    EXPECT_EQ(c.DataType(), vxcldY2Data);
    EXPECT_EQ(c.LineStyle(), vxclsSpline);
    EXPECT_EQ(c.PointStyle(), vxcpsDimond);
    EXPECT_EQ(c.ErrorStyle(), vxcesRect);
    EXPECT_EQ(c.XPlusErrLine(), 2);
    EXPECT_EQ(c.XMinusErrLine(), 0);
    EXPECT_EQ(c.YPlusErrLine(), -1);
    EXPECT_EQ(c.YMinusErrLine(), 2);
    EXPECT_EQ(c.XLine(), -1);
    EXPECT_EQ(c.PointColor(), QColor(255, 0, 0));
    EXPECT_EQ(c.LineColor(), QColor(0, 128, 0));
    EXPECT_EQ(c.ErrorColor(), QColor(0, 0, 255));
    EXPECT_EQ(c.PointSize(), 7);
    EXPECT_EQ(c.LineName(), "Tw");
    EXPECT_EQ(dlg.Lines()->ListName(), "Temperatures :");
    // the new name shows in the selector and the reference lists
    EXPECT_EQ(dlg.ComboBox1->itemText(1), "1: Tw");
    EXPECT_EQ(dlg.ComboXLine->itemText(2), "1: Tw");
    EXPECT_EQ(dlg.CurrentColumn(), 1);

    // the other columns of the copy and the target are untouched
    EXPECT_EQ(dlg.Lines()->Line(0)->DataType(), vxcldXData);
    EXPECT_EQ(dlg.Lines()->Line(2)->LineName(), "err");
    const VxChartBaseLine &t = *field->Lines()->Line(1);
    EXPECT_EQ(t.DataType(), vxcldYData);
    EXPECT_EQ(t.XLine(), 0);
    EXPECT_EQ(t.LineName(), "To");
    EXPECT_EQ(field->Lines()->ListName(), "Lines Info :");

    // choosing another column shows that one
    EditorChoose(dlg.ComboBox1, 2);
    EXPECT_EQ(dlg.ComboType->currentText(), "Offset Data");
    EXPECT_EQ(dlg.EditLineName->text(), "err");
}

TEST_F(LinesFixture, PointSizeTakesWholeNumbersAndZeroForAnythingElse)
{
    EditorChoose(dlg.ComboBox1, 1);
    TypeInto(dlg.EditPointSize, "12");
    EXPECT_EQ(dlg.Lines()->Line(1)->PointSize(), 12);
    TypeInto(dlg.EditPointSize, "ab");
    EXPECT_EQ(dlg.EditPointSize->text(), "0");
    EXPECT_EQ(dlg.Lines()->Line(1)->PointSize(), 0);
    TypeInto(dlg.EditPointSize, "123"); // at most two characters
    EXPECT_EQ(dlg.EditPointSize->text(), "12");
    EXPECT_EQ(dlg.Lines()->Line(1)->PointSize(), 12);
    // a pasted negative size does not wrap round to a huge marker
    dlg.EditPointSize->setText(QStringLiteral("-5"));
    emit dlg.EditPointSize->textEdited(dlg.EditPointSize->text());
    EXPECT_EQ(dlg.Lines()->Line(1)->PointSize(), 0);
}

TEST_F(LinesFixture, HideShowAndTransparencyCaptionsMapToTheSwitches)
{
    dlg.ButtonGrid->click();
    EXPECT_EQ(dlg.ButtonGrid->text(), "Show");
    dlg.ButtonTransparent->click();
    EXPECT_EQ(dlg.ButtonTransparent->text(), "Set Opaque");
    // the preview follows, the target not yet
    EXPECT_FALSE(dlg.Preview()->ShowGrid());
    EXPECT_TRUE(dlg.Preview()->Transparent());
    EXPECT_TRUE(field->ShowGrid());
    EXPECT_FALSE(field->Transparent());

    dlg.Apply();
    EXPECT_FALSE(field->ShowGrid());
    EXPECT_TRUE(field->Transparent());

    // and back: "Hide" means a shown grid, "Set Transparent" an opaque field
    dlg.ButtonGrid->click();
    dlg.ButtonTransparent->click();
    EXPECT_EQ(dlg.ButtonGrid->text(), "Hide");
    EXPECT_EQ(dlg.ButtonTransparent->text(), "Set Transparent");
    dlg.Apply();
    EXPECT_TRUE(field->ShowGrid());
    EXPECT_FALSE(field->Transparent());
}

TEST(LinesEditor, CaptionsStartFromAHiddenGridAndATransparentField)
{
    QWidget panel;
    auto *field = new VxChartBaseLinesClass(&panel);
    field->SetShowGrid(false);
    field->SetTransparent(true);
    TVxChartBaseLinesEditWindow dlg;
    dlg.SetTarget(field);
    dlg.show();
    EXPECT_EQ(dlg.ButtonGrid->text(), "Show");
    EXPECT_EQ(dlg.ButtonTransparent->text(), "Set Opaque");
    // no columns: the column page has nothing to edit
    EXPECT_EQ(dlg.ComboBox1->count(), 0);
    EXPECT_FALSE(dlg.ComboType->isEnabled());
    dlg.Apply();
    EXPECT_FALSE(field->ShowGrid());
    EXPECT_TRUE(field->Transparent());
}

TEST_F(LinesFixture, FieldColoursGoToTheTargetOnlyOnApply)
{
    EditorFakeChoosers choosers;
    choosers.Colors = {QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3), QColor(4, 4, 4), QColor(250, 250, 200)};
    dlg.ButtonBorderColor->click();
    dlg.ButtonXColor->click();
    dlg.ButtonYColor->click();
    dlg.ButtonY2Color->click();
    dlg.ButtonBackColor->click();
    // each chooser starts from its swatch
    ASSERT_EQ(choosers.AskedColors.size(), 5);
    EXPECT_EQ(choosers.AskedColors[1], QColor(10, 10, 10));
    EXPECT_EQ(choosers.AskedColors[4], QColor(175, 175, 175));
    EXPECT_EQ(dlg.Preview()->ColorGridBorder(), QColor(1, 1, 1));
    EXPECT_EQ(dlg.Preview()->Color(), QColor(250, 250, 200));
    EXPECT_EQ(field->ColorGridBorder(), QColor(Qt::black));
    EXPECT_EQ(field->Color(), QColor(175, 175, 175));

    dlg.Apply();
    EXPECT_EQ(field->ColorGridBorder(), QColor(1, 1, 1));
    EXPECT_EQ(field->ColorGridX(), QColor(2, 2, 2));
    EXPECT_EQ(field->ColorGridY(), QColor(3, 3, 3));
    EXPECT_EQ(field->ColorGridY2(), QColor(4, 4, 4));
    EXPECT_EQ(field->Color(), QColor(250, 250, 200));
}

TEST_F(LinesFixture, ApplyButtonWritesTheColumnsAndKeepsTheEditorOpen)
{
    EditorChoose(dlg.ComboBox1, 1);
    EditorChoose(dlg.ComboStyle, vxclsNone);
    TypeInto(dlg.EditLineName, "Th");
    dlg.ButtonApply->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(field->Lines()->Line(1)->LineStyle(), vxclsNone);
    EXPECT_EQ(field->Lines()->Line(1)->LineName(), "Th");
    // the data travel with the columns
    EXPECT_EQ(field->Lines()->Line(1)->Data(), (VxChartDataArray{20, 21, 22, 23}));
    EXPECT_EQ(field->Lines()->Line(1)->XLine(), 0);
}

TEST_F(LinesFixture, OutOfRangeReferenceShowsAsNoneAndIsKeptByApply)
{
    dlg.hide();
    field->Lines()->Line(1)->SetXLine(7);
    dlg.show();
    EditorChoose(dlg.ComboBox1, 1);
    EXPECT_EQ(dlg.ComboXLine->currentIndex(), 0);
    dlg.ButtonApply->click();
    // none and an absent column mean the same; the stored value stays
    EXPECT_EQ(field->Lines()->Line(1)->XLine(), 7);
}

TEST(LinesEditorSequence, OkAppliesAndCancelDiscards)
{
    QWidget panel;
    auto *field = new VxChartBaseLinesClass(&panel);
    field->Lines()->SetLineCount(1);
    field->Lines()->SetPointCount(2);

    for (const bool ok : {false, true}) {
        EditorScriptedExec exec([ok](QDialog &d) {
            auto &w = static_cast<TVxChartBaseLinesEditWindow &>(d);
            EditorChoose(w.ComboStyle, vxclsSpline);
            w.ButtonGrid->click();
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
        EXPECT_EQ(VxChartEditPlottingField(*field), ok);
        EXPECT_EQ(exec.Runs, 1);
        EXPECT_EQ(exec.LastTitle, "Edit the Chart");
        EXPECT_EQ(field->Lines()->Line(0)->LineStyle(), ok ? vxclsSpline : vxclsLine);
        EXPECT_EQ(field->ShowGrid(), !ok);
    }
    // the editor is released after use
    EXPECT_TRUE(field->findChildren<TVxChartBaseLinesEditWindow *>().isEmpty());
}

TEST_F(LinesFixture, RendersBothPages)
{
    EditorChoose(dlg.ComboBox1, 1);
    EXPECT_FALSE(EditorGrab(&dlg, "lines_editor_colors").isNull());
    dlg.PageControl1->setCurrentIndex(1);
    EXPECT_FALSE(EditorGrab(&dlg, "lines_editor_lines").isNull());
    // the preview field draws the private copy: its hit table holds the
    // four points of the one drawn column
    const QList<QList<QPoint>> &hits = dlg.Preview()->HitTable();
    ASSERT_EQ(hits.size(), 3);
    EXPECT_EQ(hits[1].size(), 4);
}
