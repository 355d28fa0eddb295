// Text boxes: the caption markup tokenizer, measuring, box sizes, the text
// and list semantics, the frames of the six border styles and the runs drawn
// in the four orientations.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include "chart/VxChartBaseTextUnit.h"
#include "support/moving_recorder.h"

// Readable failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using Tok = VxChartTextToken;
Tok T(const char *text) { return {-1, QString::fromUtf8(text)}; }
Tok G(int tag) { return {tag, QString()}; }

// A predictable extent: 10 pixels per character (12 when bold), twice the
// point size high.
QSize FakeExtent(const QFont &f, const QString &s)
{
    return {int(s.size()) * (f.bold() ? 12 : 10), 2 * f.pointSize()};
}

VxChartTextLayout Measure(const QStringList &lines, const VxChartImageList *images = nullptr, bool rotated = false)
{
    return VxChartMeasureText(lines, QFont(QStringLiteral("Arial"), 8), images, rotated, FakeExtent);
}

// Run geometry as (x, y, width, height).
QRect Box(const VxChartTextRun &r) { return {r.X, r.Y, r.Width, r.Height}; }

} // namespace

// --- tokenizer ------------------------------------------------------------

TEST(TextTokenizer, ExactTokenLists)
{
    using L = QList<Tok>;
    EXPECT_EQ(VxChartTokenizeLine(""), L{});
    EXPECT_EQ(VxChartTokenizeLine("To [oC]"), L{T("To [oC]")});
    EXPECT_EQ(VxChartTokenizeLine("<U>t [s]"), (L{G(vxttUnderlineOn), T("t [s]")}));
    EXPECT_EQ(VxChartTokenizeLine("<B>Main <I>Caption</I></B> x<up>2</up>"),
              (L{G(vxttBoldOn), T("Main "), G(vxttItalicOn), T("Caption"), G(vxttItalicOff), G(vxttBoldOff), T(" x"),
                 G(vxttUpOn), T("2"), G(vxttUpOff)}));
    EXPECT_EQ(VxChartTokenizeLine("a<size>14</size>b"), (L{T("a"), G(vxttSizeOn), T("14"), G(vxttSizeOff), T("b")}));
    EXPECT_EQ(VxChartTokenizeLine("<inline>0</inline>Line - 0"),
              (L{G(vxttInlineOn), T("0"), G(vxttInlineOff), T("Line - 0")}));
    EXPECT_EQ(VxChartTokenizeLine("x<down>1</down><up>2</up>"),
              (L{T("x"), G(vxttDownOn), T("1"), G(vxttDownOff), G(vxttUpOn), T("2"), G(vxttUpOff)}));
    // tags are case-sensitive; other brackets are plain text
    EXPECT_EQ(VxChartTokenizeLine("<b>x</b><Up>"), L{T("<b>x</b><Up>")});
    EXPECT_EQ(VxChartTokenizeLine("<<B>>"), (L{T("<"), G(vxttBoldOn), T(">")}));
    EXPECT_EQ(VxChartTokenizeLine("</U></U>"), (L{G(vxttUnderlineOff), G(vxttUnderlineOff)}));
    EXPECT_EQ(VxChartTokenizeLine("<size"), L{T("<size")});
}

// --- measuring ------------------------------------------------------------

TEST(TextMeasure, PlainLineAndEmptyText)
{
    VxChartTextLayout l = Measure({"abcd"});
    EXPECT_EQ(l.Width, 40);
    EXPECT_EQ(l.Height, 16);
    ASSERT_EQ(l.Runs.size(), 1);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 0, 40, 16));

    l = Measure({});
    EXPECT_EQ(l.Width, 0);
    EXPECT_EQ(l.Height, 0);
    EXPECT_TRUE(l.Runs.isEmpty());
}

TEST(TextMeasure, RaisedAndLoweredRunsCentreOnTheLineBoxEdges)
{
    // "x" spans -8..8 about the line centre; the raised 2 is centred on -8,
    // so the line reaches from -16 to 8.
    VxChartTextLayout l = Measure({"x<up>2</up>"});
    ASSERT_EQ(l.Runs.size(), 2);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 8, 10, 16));
    EXPECT_EQ(Box(l.Runs[1]), QRect(10, 0, 10, 16));
    EXPECT_EQ(l.Runs[1].Mode, VxChartRunMode::Raised);
    EXPECT_EQ(l.Width, 20);
    EXPECT_EQ(l.Height, 24);

    l = Measure({"x<down>2</down>"});
    ASSERT_EQ(l.Runs.size(), 2);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 0, 10, 16));
    EXPECT_EQ(Box(l.Runs[1]), QRect(10, 8, 10, 16));
    EXPECT_EQ(l.Height, 24);
}

TEST(TextMeasure, StackedPairsShareTheirStart)
{
    VxChartTextLayout l = Measure({"x<down>1</down><up>2</up>y"});
    ASSERT_EQ(l.Runs.size(), 4);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 8, 10, 16));
    EXPECT_EQ(Box(l.Runs[1]), QRect(10, 16, 10, 16)) << "lowered";
    EXPECT_EQ(Box(l.Runs[2]), QRect(10, 0, 10, 16)) << "raised, over the lowered run";
    EXPECT_EQ(Box(l.Runs[3]), QRect(20, 8, 10, 16));
    EXPECT_EQ(l.Width, 30);
    EXPECT_EQ(l.Height, 32);

    // the pair ends at the longer of its two runs
    l = Measure({"x<up>ab</up><down>c</down>d"});
    ASSERT_EQ(l.Runs.size(), 4);
    EXPECT_EQ(l.Runs[1].X, 10);
    EXPECT_EQ(l.Runs[2].X, 10);
    EXPECT_EQ(l.Runs[3].X, 30);

    // a run of the same mode does not stack, nor does a third run
    l = Measure({"<up>a</up><up>b</up>"});
    EXPECT_EQ(l.Runs[1].X, 10);
    l = Measure({"<up>a</up><down>b</down><up>c</up>"});
    EXPECT_EQ(l.Runs[2].X, 10);
}

TEST(TextMeasure, SizeArgument)
{
    VxChartTextLayout l = Measure({"<size>14</size>word"});
    ASSERT_EQ(l.Runs.size(), 1) << "the argument is not drawn";
    EXPECT_EQ(l.Runs[0].Font.pointSize(), 14);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 0, 40, 28));

    l = Measure({"<size>big</size>word"});
    ASSERT_EQ(l.Runs.size(), 1);
    EXPECT_EQ(l.Runs[0].Font.pointSize(), 8) << "a non-numeric size keeps the size";

    l = Measure({"<size>14<B>x"});
    ASSERT_EQ(l.Runs.size(), 1) << "without </size> the argument has no effect";
    EXPECT_EQ(l.Runs[0].Font.pointSize(), 8);
    EXPECT_EQ(l.Runs[0].Text, "x");

    // normal runs of different heights are centred on one another
    l = Measure({"a<size>14</size>b"});
    ASSERT_EQ(l.Runs.size(), 2);
    EXPECT_EQ(Box(l.Runs[0]), QRect(0, 6, 10, 16));
    EXPECT_EQ(Box(l.Runs[1]), QRect(10, 0, 10, 28));
}

TEST(TextMeasure, StylesAndSizePersistIntoFollowingLines)
{
    VxChartTextLayout l = Measure({"<U>t [s]", "next", "</U>last", "<B>ab</B>cd", "<size>14</size>c", "e"});
    ASSERT_EQ(l.Runs.size(), 7);
    EXPECT_TRUE(l.Runs[0].Font.underline());
    EXPECT_TRUE(l.Runs[1].Font.underline());
    EXPECT_FALSE(l.Runs[2].Font.underline());
    EXPECT_EQ(l.Runs[3].Width, 24) << "bold";
    EXPECT_EQ(l.Runs[4].X, 24);
    EXPECT_EQ(l.Runs[6].Font.pointSize(), 14);

    const QList<QPoint> offsets = {{0, 0}, {0, 16}, {0, 32}, {0, 48}, {0, 64}, {0, 92}};
    EXPECT_EQ(l.LineOffsets, offsets);
    EXPECT_EQ(l.Runs[6].Y, 92);
    EXPECT_EQ(l.Width, 50) << "the widest line, t [s]";
    EXPECT_EQ(l.Height, 120);
}

TEST(TextMeasure, EmptyLineKeepsItsHeight)
{
    const VxChartTextLayout l = Measure({"a", "", "b"});
    EXPECT_EQ(l.Height, 48);
    EXPECT_EQ(l.Runs[1].Y, 32);
}

TEST(TextMeasure, InlineImages)
{
    VxChartImageList images;
    images.SetSize(12, 8);
    QImage sample(12, 8, QImage::Format_RGB888);
    sample.fill(Qt::blue);
    images.Add(sample);
    images.Add(sample);

    VxChartTextLayout l = Measure({"<inline>1</inline>Line"}, &images);
    ASSERT_EQ(l.Runs.size(), 2);
    EXPECT_EQ(l.Runs[0].Image, 1);
    EXPECT_EQ(l.Runs[0].Width, 12);
    EXPECT_EQ(l.Runs[0].Height, 8);
    EXPECT_EQ(l.Runs[1].X, 12);

    l = Measure({"<inline>1</inline>Line"}, &images, true);
    EXPECT_EQ(l.Runs[0].Width, 8) << "turned by 90 or 270 degrees the image height lies along the line";
    EXPECT_EQ(l.Runs[0].Height, 12);

    l = Measure({"<inline>x</inline>"}, &images);
    ASSERT_EQ(l.Runs.size(), 1);
    EXPECT_EQ(l.Runs[0].Image, 0) << "a non-numeric index means image 0";

    EXPECT_TRUE(Measure({"<inline>2</inline>"}, &images).Runs.isEmpty()) << "outside the list";
    EXPECT_TRUE(Measure({"<inline>-1</inline>"}, &images).Runs.isEmpty());
    EXPECT_TRUE(Measure({"<inline>0</inline>"}).Runs.isEmpty()) << "no image list";
}

// --- box size -------------------------------------------------------------

TEST(TextSize, FrameWidthsAndTurnedBoxes)
{
    EXPECT_EQ(VxChartBorderWidth(vxcbbsNone), 0);
    EXPECT_EQ(VxChartBorderWidth(vxcbbsSimple), 1);
    EXPECT_EQ(VxChartBorderWidth(vxcbbsRising), 2);
    EXPECT_EQ(VxChartBorderWidth(vxcbbsPressed), 2);
    EXPECT_EQ(VxChartBorderWidth(vxcbbsUp), 3);
    EXPECT_EQ(VxChartBorderWidth(vxcbbsDown), 3);
    // a 40 by 16 text with gaps 5 and 5 and a raised border: frame 13
    EXPECT_EQ(VxChartTextBoxSize({40, 16}, 13, vxcbto_90_Degrees), QSize(42, 66));
    EXPECT_EQ(VxChartTextBoxSize({40, 16}, 13, vxcbto_270_Degrees), QSize(42, 66));
    EXPECT_EQ(VxChartTextBoxSize({40, 16}, 13, vxcbto_0_Degrees), QSize(66, 42));
    EXPECT_EQ(VxChartTextBoxSize({40, 16}, 13, vxcbto_180_Degrees), QSize(66, 42));
}

TEST(TextSize, AutoSizeFromThePlatformExtent)
{
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    box.SetBorderStyle(vxcbbsUp);
    box.SetTextOrientation(vxcbto_90_Degrees);
    box.SetText("Caption");
    const QFontMetrics fm(box.Font());
    const int w = fm.horizontalAdvance("Caption"), h = fm.height();
    EXPECT_EQ(box.TextExtent(), QSize(w, h));
    EXPECT_EQ(box.size(), QSize(h + 26, w + 26));
    box.SetTextOrientation(vxcbto_0_Degrees);
    EXPECT_EQ(box.size(), QSize(w + 26, h + 26));

    box.SetAutoSize(false);
    box.SetText("A much longer caption than before");
    EXPECT_EQ(box.size(), QSize(w + 26, h + 26)) << "without AutoSize the size stays";
    box.SetAutoSize(true);
    EXPECT_GT(box.width(), w + 26);
}

TEST(TextSize, EmptyTextGivesTwiceTheFrame)
{
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    EXPECT_EQ(box.size(), QSize(22, 22)) << "defaults: gaps 5 and 5, simple border";
    const std::pair<VxChartBaseBorderStyle, int> styles[] = {
        {vxcbbsNone, 20}, {vxcbbsRising, 24}, {vxcbbsPressed, 24}, {vxcbbsUp, 26}, {vxcbbsDown, 26}};
    for (auto [style, side] : styles) {
        box.SetBorderStyle(style);
        EXPECT_EQ(box.size(), QSize(side, side)) << style;
    }
    box.SetInnerGap(2);
    box.SetOuterGap(2);
    EXPECT_EQ(box.size(), QSize(14, 14));
}

TEST(TextSize, SizeChangePostsBoundsToThePanel)
{
    QWidget panel;
    VxChartBaseTextClass *box = new VxChartBaseTextClass(&panel);
    MovingMessageRecorder rec(&panel);
    rec.Clear();
    box->SetText("<U>X Caption");
    QList<MovingRecordedMessage> got = rec.Of(CM_ELEMENT_BOUNDS);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Element, box);
    EXPECT_EQ(got[0].Value, 1);
    rec.Clear();
    box->SetColor(Qt::red);
    EXPECT_TRUE(rec.Of(CM_ELEMENT_BOUNDS).isEmpty());
}

// --- text and list --------------------------------------------------------

TEST(TextLines, TextAndStringsArray)
{
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    box.SetText("a\nb");
    EXPECT_EQ(box.StringsArray(), QStringList({"a", "b"}));
    EXPECT_EQ(box.Text(), "a\nb");

    box.SetStringsArray({"<U>t [s]"});
    EXPECT_EQ(box.Text(), "<U>t [s]\n") << "a list assignment leaves a trailing line break";
    EXPECT_EQ(box.StringsArray(), QStringList({"<U>t [s]"}));

    box.SetText("one\r\ntwo\rthree\n");
    EXPECT_EQ(box.StringsArray(), QStringList({"one", "two", "three"}));
    box.SetText("x\n\ny");
    EXPECT_EQ(box.StringsArray(), QStringList({"x", "", "y"}));
    box.SetText("");
    EXPECT_TRUE(box.StringsArray().isEmpty());
    box.SetStringsArray({});
    EXPECT_EQ(box.Text(), "");
}

TEST(TextLines, ImageListChangesMeasureAgain)
{
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    VxChartImageList images;
    images.SetSize(30, 10);
    box.SetCurrImageList(&images);
    box.SetText("<inline>0</inline>");
    EXPECT_EQ(box.TextExtent().width(), 0);
    QImage img(30, 10, QImage::Format_RGB888);
    img.fill(Qt::green);
    images.Add(img);
    EXPECT_EQ(box.TextExtent(), QSize(30, 10));
}

TEST(TextFacade, PublishedPropertiesInOrderWithDefaults)
{
    QWidget panel;
    VxChartBaseTextClassData box(&panel);
    const QMetaObject *meta = box.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << meta->property(i).name();
    // FontColor stands next to Font: a font here carries no colour of its own.
    EXPECT_EQ(names, QStringList({"Text", "Font", "FontColor", "Transparent", "Color", "StringsArray", "AutoSize",
                                  "Width", "Height", "Top", "Left", "TextOrientation", "BorderStyle", "InnerGap",
                                  "OuterGap", "CurrImageList", "Visible", "AutoEditable"}));

    EXPECT_TRUE(box.Text().isEmpty());
    EXPECT_TRUE(box.StringsArray().isEmpty());
    EXPECT_EQ(box.Font().family(), "Arial");
    EXPECT_FALSE(box.Transparent());
    EXPECT_TRUE(box.AutoSize());
    EXPECT_EQ(box.TextOrientation(), vxcbto_0_Degrees);
    EXPECT_EQ(box.BorderStyle(), vxcbbsSimple);
    EXPECT_EQ(box.InnerGap(), 5);
    EXPECT_EQ(box.OuterGap(), 5);
    EXPECT_EQ(box.CurrImageList(), nullptr);
    EXPECT_TRUE(box.Visible());
    EXPECT_TRUE(box.AutoEditable());
    // Empty and sized to its frame: 5 + 5 + 1 on every side.
    EXPECT_EQ(box.Width(), 22);
    EXPECT_EQ(box.Height(), 22);
}

TEST(TextFacade, AssignCopiesEveryPublishedProperty)
{
    QWidget panel;
    VxChartBaseTextClassData a(&panel), b(&panel);
    VxChartImageList images;
    a.SetText("<B>Main Caption");
    QFont f("Arial", 14);
    f.setItalic(true);
    a.SetFont(f);
    a.SetFontColor(Qt::blue);
    a.SetTransparent(true);
    a.SetColor(QColor(192, 192, 192));
    a.SetTextOrientation(vxcbto_270_Degrees);
    a.SetBorderStyle(vxcbbsDown);
    a.SetInnerGap(2);
    a.SetOuterGap(3);
    a.SetCurrImageList(&images);
    a.SetVisible(false);
    a.SetAutoEditable(false);
    a.SetTop(7);
    a.SetLeft(9);

    b.Assign(a);
    EXPECT_EQ(b.Text(), "<B>Main Caption\n") << "the list, copied after the text, sets the text again";
    EXPECT_EQ(b.StringsArray(), a.StringsArray());
    EXPECT_EQ(b.Font(), f);
    EXPECT_EQ(b.FontColor(), QColor(Qt::blue));
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.Color(), QColor(192, 192, 192));
    EXPECT_TRUE(b.AutoSize());
    EXPECT_EQ(b.TextOrientation(), vxcbto_270_Degrees);
    EXPECT_EQ(b.BorderStyle(), vxcbbsDown);
    EXPECT_EQ(b.InnerGap(), 2);
    EXPECT_EQ(b.OuterGap(), 3);
    EXPECT_EQ(b.CurrImageList(), &images);
    EXPECT_FALSE(b.Visible());
    EXPECT_FALSE(b.AutoEditable());
    EXPECT_EQ(b.Control()->geometry(), a.Control()->geometry());

    QPointer<VxChartBaseTextClass> control = b.Control();
    EXPECT_EQ(control->parentWidget(), &panel);
    {
        VxChartBaseTextClassData c(&panel);
        control = c.Control();
    }
    EXPECT_TRUE(control.isNull()) << "the facade destroys its box";
}

TEST(TextEditor, DoubleClickPostsAndOpensTheEditorOnlyWhenAutoEditable)
{
    QWidget panel;
    panel.resize(300, 200);
    auto *box = new VxChartBaseTextClass(&panel);
    box->SetText("Caption");
    panel.show();
    int opened = 0;
    VxChartBaseTextClass::SetEditorHook([&](VxChartBaseTextClass &b) {
        EXPECT_EQ(&b, box);
        ++opened;
    });
    MovingMessageRecorder rec(&panel);
    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rec.Of(CM_ELEMENT_DBLCLICK).size(), 1);
    box->SetAutoEditable(false);
    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rec.Of(CM_ELEMENT_DBLCLICK).size(), 2);
    VxChartBaseTextClass::SetEditorHook({});
}
