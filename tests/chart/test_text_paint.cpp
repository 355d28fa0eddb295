// Drawing of text boxes: frame colours of the six border styles, the
// transparent box, and the markup runs in the four orientations, checked by
// probing pixels of the box rendered into an image.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "chart/VxChartBaseTextUnit.h"

namespace {

const QColor kBack(240, 20, 128);
const QRgb kInverse = qRgb(15, 235, 127);
const QRgb kLight = qRgb(255, 52, 160); // red capped at 255
const QRgb kDark = qRgb(208, 0, 96);    // green floored at 0
const QRgb kFill = qRgb(240, 20, 128);

QImage Render(QWidget *w, QColor under = Qt::yellow)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(under);
    // Only what the box paints itself, as on the chart's panel.
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

struct Probe
{
    QPoint at;
    QRgb colour;
};

struct BorderRow
{
    VxChartBaseBorderStyle style;
    std::vector<Probe> probes;
};

class TextBorderTest : public ::testing::TestWithParam<BorderRow>
{
};

// A 40 by 30 box with OuterGap 5: the outer rectangle runs along x 5 and 34,
// y 5 and 24.
TEST_P(TextBorderTest, FrameColours)
{
    const BorderRow r = GetParam();
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    box.SetAutoSize(false);
    box.SetBorderStyle(r.style);
    box.SetColor(kBack);
    box.SetBounds(0, 0, 40, 30);
    const QImage img = Render(&box);
    for (const Probe &p : r.probes)
        EXPECT_EQ(QColor(img.pixel(p.at)), QColor(p.colour)) << "style " << r.style << " at " << p.at.x() << ","
                                                              << p.at.y();
    EXPECT_EQ(img.pixel(4, 15), kFill) << "outside the frame";
    EXPECT_EQ(img.pixel(20, 15), kFill) << "inside";
}

INSTANTIATE_TEST_SUITE_P(
    SixStyles, TextBorderTest,
    ::testing::Values(
        BorderRow{vxcbbsNone, {{{5, 15}, kFill}, {{20, 5}, kFill}, {{34, 24}, kFill}}},
        BorderRow{vxcbbsSimple,
                  {{{5, 15}, kInverse}, {{34, 15}, kInverse}, {{20, 5}, kInverse}, {{20, 24}, kInverse},
                   {{5, 5}, kInverse}, {{34, 24}, kInverse}, {{6, 15}, kFill}}},
        BorderRow{vxcbbsRising,
                  {{{5, 15}, kLight}, {{20, 5}, kLight}, {{34, 15}, kDark}, {{20, 24}, kDark}, {{5, 5}, kLight},
                   {{34, 5}, kDark}, {{5, 24}, kLight}, {{34, 24}, kDark}, {{6, 15}, kInverse}, {{33, 15}, kInverse},
                   {{20, 6}, kInverse}, {{20, 23}, kInverse}, {{7, 15}, kFill}}},
        BorderRow{vxcbbsPressed,
                  {{{5, 15}, kDark}, {{20, 5}, kDark}, {{34, 15}, kLight}, {{20, 24}, kLight}, {{34, 5}, kLight},
                   {{5, 24}, kDark}, {{6, 15}, kInverse}, {{20, 23}, kInverse}, {{7, 15}, kFill}}},
        BorderRow{vxcbbsUp,
                  {{{5, 15}, kLight}, {{34, 15}, kDark}, {{6, 15}, kInverse}, {{33, 15}, kInverse}, {{7, 15}, kDark},
                   {{32, 15}, kLight}, {{20, 7}, kDark}, {{20, 22}, kLight}, {{8, 15}, kFill}}},
        BorderRow{vxcbbsDown,
                  {{{5, 15}, kDark}, {{34, 15}, kLight}, {{6, 15}, kInverse}, {{7, 15}, kLight}, {{32, 15}, kDark},
                   {{20, 7}, kLight}, {{20, 22}, kDark}, {{8, 15}, kFill}}}));

TEST(TextPaint, TransparentBoxKeepsWhatLiesBelowButDrawsItsFrame)
{
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    box.SetAutoSize(false);
    box.SetColor(kBack);
    box.SetBounds(0, 0, 40, 30);
    box.SetTransparent(true);
    const QImage img = Render(&box, Qt::yellow);
    EXPECT_EQ(QColor(img.pixel(20, 15)), QColor(Qt::yellow));
    EXPECT_EQ(img.pixel(5, 15), kInverse);
}

// --- runs in the four orientations ----------------------------------------

bool Ink(QRgb c) { return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128; }

int InkIn(const QImage &img, const QRect &r)
{
    int n = 0;
    const QRect in = r.intersected(img.rect());
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            n += Ink(img.pixel(x, y)) ? 1 : 0;
    return n;
}

class TextOrientationTest : public ::testing::TestWithParam<VxChartBaseTextOrientation>
{
};

TEST_P(TextOrientationTest, MarkupRunsLandInTheirTurnedBoxes)
{
    const VxChartBaseTextOrientation o = GetParam();
    QWidget panel;
    VxChartBaseTextClass box(&panel);
    box.SetBorderStyle(vxcbbsNone);
    box.SetColor(Qt::white);
    box.SetFont(QFont("Arial", 14));
    box.SetTextOrientation(o);
    box.SetText("<B>Main <I>Caption</I></B> x<up>2</up>");

    const QList<VxChartTextRun> &runs = box.Layout().Runs;
    ASSERT_EQ(runs.size(), 4);
    EXPECT_EQ(runs[0].Text, "Main ");
    EXPECT_TRUE(runs[0].Font.bold());
    EXPECT_FALSE(runs[0].Font.italic());
    EXPECT_TRUE(runs[1].Font.bold());
    EXPECT_TRUE(runs[1].Font.italic());
    EXPECT_FALSE(runs[2].Font.bold());
    EXPECT_EQ(runs[3].Text, "2");
    EXPECT_EQ(runs[3].Mode, VxChartRunMode::Raised);

    const QImage img = Render(&box, Qt::white);
    const int f = box.Frame();
    QList<QRect> rects;
    for (const VxChartTextRun &r : runs)
        rects.append(VxChartRunRect(r, f, box.size(), o));
    for (int i = 0; i < rects.size(); ++i)
        EXPECT_GT(InkIn(img, rects[i]), 0) << "run " << i << " drawn in its box";

    // No ink outside the run boxes (a pixel of slack for italic overhang).
    int stray = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            bool inside = false;
            for (const QRect &r : rects)
                inside = inside || r.adjusted(-2, -2, 2, 2).contains(x, y);
            stray += (!inside && Ink(img.pixel(x, y))) ? 1 : 0;
        }
    EXPECT_EQ(stray, 0);

    // The raised 2 follows " x" along the line and sits higher, both as
    // the box is turned.
    const QRect x = rects[2], two = rects[3];
    switch (o) {
    case vxcbto_0_Degrees:
        EXPECT_EQ(two.left(), x.right() + 1);
        EXPECT_LT(two.top(), x.top());
        break;
    case vxcbto_90_Degrees:
        EXPECT_EQ(two.bottom(), x.top() - 1);
        EXPECT_LT(two.left(), x.left());
        break;
    case vxcbto_180_Degrees:
        EXPECT_EQ(two.right(), x.left() - 1);
        EXPECT_GT(two.bottom(), x.bottom());
        break;
    case vxcbto_270_Degrees:
        EXPECT_EQ(two.top(), x.bottom() + 1);
        EXPECT_GT(two.right(), x.right());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Four, TextOrientationTest,
                         ::testing::Values(vxcbto_0_Degrees, vxcbto_90_Degrees, vxcbto_180_Degrees,
                                           vxcbto_270_Degrees));

TEST(TextPaint, RunOriginsOfTheFourOrientations)
{
    const QSize box(100, 60);
    EXPECT_EQ(VxChartRunOrigin(7, 3, 5, box, vxcbto_0_Degrees), QPoint(12, 8));
    EXPECT_EQ(VxChartRunOrigin(7, 3, 5, box, vxcbto_90_Degrees), QPoint(8, 48));
    EXPECT_EQ(VxChartRunOrigin(7, 3, 5, box, vxcbto_180_Degrees), QPoint(88, 52));
    EXPECT_EQ(VxChartRunOrigin(7, 3, 5, box, vxcbto_270_Degrees), QPoint(92, 12));
}

TEST(TextPaint, InlineImageDrawnUnturnedInItsRunBox)
{
    VxChartImageList images;
    images.SetSize(12, 8);
    QImage sample(12, 8, QImage::Format_RGB888);
    sample.fill(Qt::blue);
    images.Add(sample);

    for (VxChartBaseTextOrientation o : {vxcbto_0_Degrees, vxcbto_90_Degrees, vxcbto_180_Degrees, vxcbto_270_Degrees}) {
        QWidget panel;
        VxChartBaseTextClass box(&panel);
        box.SetBorderStyle(vxcbbsNone);
        box.SetColor(Qt::white);
        box.SetCurrImageList(&images);
        box.SetTextOrientation(o);
        box.SetText("<inline>0</inline>");
        ASSERT_EQ(box.Layout().Runs.size(), 1);
        const QRect r = VxChartRunRect(box.Layout().Runs[0], box.Frame(), box.size(), o);
        EXPECT_EQ(r.size(), QSize(12, 8)) << o;
        EXPECT_EQ(r.topLeft(), QPoint(10, 10)) << "the only run fills the box inside the frame";
        const QImage img = Render(&box);
        EXPECT_EQ(QColor(img.pixel(r.topLeft())), QColor(Qt::blue)) << o;
        EXPECT_EQ(QColor(img.pixel(r.bottomRight())), QColor(Qt::blue)) << o;
        EXPECT_EQ(QColor(img.pixel(r.topLeft() - QPoint(1, 1))), QColor(Qt::white)) << o;
    }
}

} // namespace
