// The text editor: its controls, the preview that takes every change, the
// markup buttons around the remembered selection, and applying on OK only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>

#include "chart/VxChartBaseTextEditUnit.h"
#include "chart/VxChartBaseTextUnit.h"
#include "support/editor_support.h"

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// A caption on a panel, as the chart has them.
struct TextFixture : ::testing::Test
{
    QWidget panel;
    VxChartBaseTextClass *box = nullptr;
    TVxChartBaseTextEditWindow dlg;

    void SetUp() override
    {
        panel.resize(400, 300);
        box = new VxChartBaseTextClass(&panel);
        box->SetText(QStringLiteral("<U>Y Caption"));
        box->SetFont(QFont(QStringLiteral("Arial"), 8));
        box->SetColor(QColor(192, 192, 192));
        box->SetBorderStyle(vxcbbsUp);
        box->SetTransparent(true);
        panel.show();
        dlg.SetTarget(box);
        dlg.show();
    }

    // Selects part of the memo and leaves it, as a user who then clicks a
    // button does.
    void SelectAndLeave(int start, int length)
    {
        QTextCursor c = dlg.Memo1->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        dlg.Memo1->setTextCursor(c);
        QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(dlg.Memo1, &out);
    }

    void TypeInto(QLineEdit *e, const char *text)
    {
        e->clear();
        QTest::keyClicks(e, QString::fromLatin1(text));
    }
};

} // namespace

TEST_F(TextFixture, CaptionsAndListsAreTheEditorsOwn)
{
    EXPECT_EQ(dlg.windowTitle(), "Edit Text Field");
    for (const char *caption : {"Up", "Down", "<B>", "<I>", "<U>", "<size>", "<inline>", "0 degrees", "90 degrees",
                                "180 degrees", "270 degrees", "Font", "Font Color", "Back Color", "Transparent", "OK",
                                "Cancel"})
        EXPECT_NE(EditorButton(&dlg, QString::fromLatin1(caption)), nullptr) << caption;
    QStringList labels;
    for (const QLabel *l : dlg.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Inner Gap", "Outer Gap", "Border style"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(caption))) << caption;
    EXPECT_EQ(EditorItems(dlg.ComboBox1), (QStringList{"vxcbbsNone", "vxcbbsSimple", "vxcbbsRising", "vxcbbsPressed",
                                                       "vxcbbsUp", "vxcbbsDown"}));
}

TEST(TextEditor, PreviewBeforeAnyTargetIsAPlainExample)
{
    TVxChartBaseTextEditWindow dlg;
    ASSERT_NE(dlg.Preview(), nullptr);
    EXPECT_EQ(dlg.Preview()->Text(), "Example");
    EXPECT_FALSE(dlg.Preview()->AutoEditable());
    EXPECT_TRUE(dlg.Preview()->IsVisible());
}

TEST_F(TextFixture, ShowingFillsControlsAndPreviewFromTheTarget)
{
    EXPECT_EQ(dlg.Memo1->toPlainText(), "<U>Y Caption");
    EXPECT_EQ(dlg.Preview()->Text(), "<U>Y Caption");
    EXPECT_EQ(dlg.Preview()->BorderStyle(), vxcbbsUp);
    EXPECT_TRUE(dlg.Preview()->Transparent());
    EXPECT_TRUE(dlg.RadioButton1->isChecked());
    EXPECT_TRUE(dlg.CheckTransparent->isChecked());
    EXPECT_EQ(dlg.Edit1->text(), "5");
    EXPECT_EQ(dlg.Edit2->text(), "5");
    EXPECT_EQ(dlg.ComboBox1->currentText(), "vxcbbsUp");
    // an editable target does not make the preview editable
    EXPECT_FALSE(dlg.Preview()->AutoEditable());
}

TEST_F(TextFixture, EveryControlChangesThePreviewOnlyUntilApplied)
{
    EditorFakeChoosers choosers;
    choosers.Fonts = {QFont(QStringLiteral("Times New Roman"), 14)};
    choosers.Colors = {QColor(200, 0, 0), QColor(0, 0, 90)};

    dlg.Memo1->setPlainText(QStringLiteral("<B>T</B> [K]"));
    QTest::mouseClick(dlg.RadioButton2, Qt::LeftButton);
    dlg.ButtonFont->click();
    dlg.ButtonFontColor->click();
    dlg.ButtonBackColor->click();
    dlg.CheckTransparent->click();
    TypeInto(dlg.Edit1, "7");
    TypeInto(dlg.Edit2, "3");
    EditorChoose(dlg.ComboBox1, vxcbbsDown);

    // the choosers start from the preview's values
    ASSERT_EQ(choosers.AskedFonts.size(), 1);
    EXPECT_EQ(choosers.AskedFonts[0].pointSize(), 8);
    ASSERT_EQ(choosers.AskedColors.size(), 2);
    EXPECT_EQ(choosers.AskedColors[0], QColor(Qt::black));
    EXPECT_EQ(choosers.AskedColors[1], QColor(192, 192, 192));

    const VxChartBaseTextClass *p = dlg.Preview();
    EXPECT_EQ(p->Text(), "<B>T</B> [K]");
    EXPECT_EQ(p->TextOrientation(), vxcbto_90_Degrees);
    EXPECT_EQ(p->Font().pointSize(), 14);
    EXPECT_EQ(p->FontColor(), QColor(200, 0, 0));
    EXPECT_EQ(p->Color(), QColor(0, 0, 90));
    EXPECT_FALSE(p->Transparent());
    EXPECT_EQ(p->InnerGap(), 7);
    EXPECT_EQ(p->OuterGap(), 3);
    EXPECT_EQ(p->BorderStyle(), vxcbbsDown);

    // the target has not moved
    EXPECT_EQ(box->Text(), "<U>Y Caption");
    EXPECT_EQ(box->TextOrientation(), vxcbto_0_Degrees);
    EXPECT_EQ(box->Font().pointSize(), 8);
    EXPECT_EQ(box->Color(), QColor(192, 192, 192));
    EXPECT_TRUE(box->Transparent());
    EXPECT_EQ(box->InnerGap(), 5);
    EXPECT_EQ(box->BorderStyle(), vxcbbsUp);

    dlg.Apply();
    EXPECT_EQ(box->Text(), "<B>T</B> [K]");
    EXPECT_EQ(box->TextOrientation(), vxcbto_90_Degrees);
    EXPECT_EQ(box->Font().family(), "Times New Roman");
    EXPECT_EQ(box->Font().pointSize(), 14);
    EXPECT_EQ(box->FontColor(), QColor(200, 0, 0));
    EXPECT_EQ(box->Color(), QColor(0, 0, 90));
    EXPECT_FALSE(box->Transparent());
    EXPECT_EQ(box->InnerGap(), 7);
    EXPECT_EQ(box->OuterGap(), 3);
    EXPECT_EQ(box->BorderStyle(), vxcbbsDown);
    // a 90-degree box of the new text is taller than wide
    EXPECT_GT(box->Height(), box->Width());
}

TEST_F(TextFixture, CancelledChoosersChangeNothing)
{
    EditorFakeChoosers choosers; // no answers: every chooser is cancelled
    dlg.ButtonFont->click();
    dlg.ButtonFontColor->click();
    dlg.ButtonBackColor->click();
    EXPECT_EQ(dlg.Preview()->Font().pointSize(), 8);
    EXPECT_EQ(dlg.Preview()->FontColor(), QColor(Qt::black));
    EXPECT_EQ(dlg.Preview()->Color(), QColor(192, 192, 192));
}

TEST_F(TextFixture, MarkupButtonsWrapTheRememberedSelection)
{
    dlg.Memo1->setPlainText(QStringLiteral("T [K]"));
    SelectAndLeave(0, 1);
    EXPECT_EQ(dlg.SelStart(), 0);
    EXPECT_EQ(dlg.SelLength(), 1);
    dlg.ButtonBold->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "<B>T</B> [K]");
    EXPECT_EQ(dlg.Preview()->Text(), "<B>T</B> [K]");
    // the wrapped text stays chosen: a second button wraps around it
    dlg.ButtonItalic->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "<I><B>T</B></I> [K]");

    dlg.Memo1->setPlainText(QStringLiteral("x2y3"));
    SelectAndLeave(1, 1);
    dlg.ButtonUp->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "x<up>2</up>y3");
    SelectAndLeave(12, 1);
    dlg.ButtonDown->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "x<up>2</up>y<down>3</down>");

    dlg.Memo1->setPlainText(QStringLiteral("ab"));
    SelectAndLeave(1, 1);
    dlg.ButtonUnderline->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "a<U>b</U>");

    // an empty selection wraps nothing at the caret
    dlg.Memo1->setPlainText(QStringLiteral("ab"));
    SelectAndLeave(2, 0);
    dlg.ButtonBold->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "ab<B></B>");
}

TEST_F(TextFixture, SizeAndInlineGoInFrontOfTheSelection)
{
    dlg.Memo1->setPlainText(QStringLiteral("T [K]"));
    SelectAndLeave(3, 1);
    dlg.ButtonSize->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "T [<size>8</size>K]");
    // the remembered selection still covers the K
    EXPECT_EQ(dlg.SelStart(), 17);
    EXPECT_EQ(dlg.SelLength(), 1);
    dlg.ButtonInline->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "T [<size>8</size><inline>8</inline>K]");
    EXPECT_EQ(dlg.Preview()->Text(), "T [<size>8</size><inline>8</inline>K]");
}

TEST_F(TextFixture, ASelectionBeyondAShortenedTextIsClipped)
{
    dlg.Memo1->setPlainText(QStringLiteral("a long caption"));
    SelectAndLeave(7, 7);
    dlg.Memo1->setPlainText(QStringLiteral("short"));
    dlg.ButtonBold->click();
    EXPECT_EQ(dlg.Memo1->toPlainText(), "short<B></B>");
}

TEST_F(TextFixture, MouseClickOnAButtonLeavesTheMemoWithItsSelection)
{
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.Memo1->setFocus();
    dlg.Memo1->setPlainText(QStringLiteral("T [K]"));
    QTextCursor c = dlg.Memo1->textCursor();
    c.setPosition(0);
    c.setPosition(1, QTextCursor::KeepAnchor);
    dlg.Memo1->setTextCursor(c);
    QTest::mouseClick(dlg.ButtonBold, Qt::LeftButton);
    EXPECT_EQ(dlg.Memo1->toPlainText(), "<B>T</B> [K]");
}

TEST_F(TextFixture, GapEditsTakeWholeNumbersAndZeroForAnythingElse)
{
    TypeInto(dlg.Edit1, "12");
    EXPECT_EQ(dlg.Preview()->InnerGap(), 12);
    TypeInto(dlg.Edit1, "x");
    EXPECT_EQ(dlg.Edit1->text(), "0");
    EXPECT_EQ(dlg.Preview()->InnerGap(), 0);
    TypeInto(dlg.Edit2, "4b");
    EXPECT_EQ(dlg.Edit2->text(), "0");
    EXPECT_EQ(dlg.Preview()->OuterGap(), 0);
    // typed key by key, a lone minus already reads as 0 ...
    TypeInto(dlg.Edit2, "-6");
    EXPECT_EQ(dlg.Edit2->text(), "6");
    EXPECT_EQ(dlg.Preview()->OuterGap(), 6);
    // ... and a pasted negative gap, which would fold the frame over the
    // text, counts as 0
    dlg.Edit2->setText(QStringLiteral("-6"));
    emit dlg.Edit2->textEdited(dlg.Edit2->text());
    EXPECT_EQ(dlg.Preview()->OuterGap(), 0);
    EXPECT_EQ(box->InnerGap(), 5);
}

TEST_F(TextFixture, OrientationButtonsSetEachOrientation)
{
    const std::pair<QRadioButton *, VxChartBaseTextOrientation> radios[] = {
        {dlg.RadioButton3, vxcbto_180_Degrees},
        {dlg.RadioButton4, vxcbto_270_Degrees},
        {dlg.RadioButton2, vxcbto_90_Degrees},
        {dlg.RadioButton1, vxcbto_0_Degrees}};
    for (const auto &[radio, orientation] : radios) {
        radio->click();
        EXPECT_EQ(dlg.Preview()->TextOrientation(), orientation) << radio->text().toStdString();
    }
}

namespace {

// Records the state of the box each time it is re-measured and re-sized, so
// that the order in which properties arrive can be read off.
class RecordingTextBox : public VxChartBaseTextClass
{
public:
    using VxChartBaseTextClass::VxChartBaseTextClass;
    struct Step
    {
        QString Text;
        int FontSize;
        int Orientation;
        int Inner;
        int Outer;
        int Border;
        bool operator==(const Step &) const = default;
    };
    void SetBounds(int l, int t, int w, int h) override
    {
        if (Recording)
            Steps.append({Text(), Font().pointSize(), TextOrientation(), InnerGap(), OuterGap(), BorderStyle()});
        VxChartBaseTextClass::SetBounds(l, t, w, h);
    }
    bool Recording = false;
    QList<Step> Steps;
};

} // namespace

TEST(TextEditorApply, PropertiesArriveInTheirOrder)
{
    QWidget panel;
    auto *box = new RecordingTextBox(&panel);
    box->SetText(QStringLiteral("old"));
    box->SetFont(QFont(QStringLiteral("Arial"), 8));
    TVxChartBaseTextEditWindow dlg;
    dlg.SetTarget(box);
    dlg.show();

    EditorFakeChoosers choosers;
    choosers.Fonts = {QFont(QStringLiteral("Arial"), 20)};
    dlg.Memo1->setPlainText(QStringLiteral("new"));
    dlg.ButtonFont->click();
    dlg.RadioButton2->click();
    dlg.Edit1->setText(QString());
    QTest::keyClicks(dlg.Edit1, QStringLiteral("7"));
    dlg.Edit2->setText(QString());
    QTest::keyClicks(dlg.Edit2, QStringLiteral("3"));
    EditorChoose(dlg.ComboBox1, vxcbbsDown);

    box->Recording = true;
    dlg.Apply();
    using S = RecordingTextBox::Step;
    const QList<S> expected = {
        {"new", 8, vxcbto_0_Degrees, 5, 5, vxcbbsSimple},   // Text
        {"new", 20, vxcbto_0_Degrees, 5, 5, vxcbbsSimple},  // Font
        {"new", 20, vxcbto_90_Degrees, 5, 5, vxcbbsSimple}, // TextOrientation
        {"new", 20, vxcbto_90_Degrees, 7, 5, vxcbbsSimple}, // InnerGap
        {"new", 20, vxcbto_90_Degrees, 7, 3, vxcbbsSimple}, // OuterGap
        {"new", 20, vxcbto_90_Degrees, 7, 3, vxcbbsDown},   // BorderStyle
    };
    EXPECT_EQ(box->Steps, expected);
}

TEST(TextEditorApply, ATargetThatIsNoTextBoxIsLeftAlone)
{
    QWidget other;
    TVxChartBaseTextEditWindow dlg;
    dlg.SetTarget(&other);
    dlg.show();
    dlg.Memo1->setPlainText(QStringLiteral("x"));
    dlg.Apply(); // nothing to write into, nothing happens
    EXPECT_EQ(dlg.Preview()->Text(), "x");
}

TEST_F(TextFixture, RendersWithThePreviewOnItsPanel)
{
    dlg.Memo1->setPlainText(QStringLiteral("<B>T</B> [K]"));
    dlg.RadioButton1->click();
    const QImage image = EditorGrab(&dlg, "text_editor");
    ASSERT_FALSE(image.isNull());
    // the preview box lies inside the dialog's preview panel, fully shown
    const VxChartBaseTextClass *p = dlg.Preview();
    const QRect inDialog(p->mapTo(&dlg, QPoint(0, 0)), p->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), dlg.size()).contains(inDialog));
    EXPECT_TRUE(p->isVisible());
}
