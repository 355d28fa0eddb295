// The chart widget's arithmetic: frame and panel inset, bevel shades, fitting
// axes and plotting field, the resize reaction in both orientations,
// AutoScale ranges and the legend text.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>

#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxUniChart2DLayout.h"

namespace {

// ---------------------------------------------------------------------------
// Frame

TEST(Chart2dFrame, InsetCountsGapsAndDrawnBevelsOnly)
{
    VxChartFrame f; // 2 + 0 + 2 gaps, two bevels of 2
    EXPECT_EQ(VxChartPanelInset(f), 8);
    EXPECT_EQ(VxChartPanelBounds({200, 200}, f), QRect(8, 8, 183, 183));

    f.BevelOuter = vxcbNone; // the outer width goes, GapOuter stays
    EXPECT_EQ(VxChartPanelInset(f), 6);
    EXPECT_EQ(VxChartPanelBounds({200, 150}, f), QRect(6, 6, 187, 137));

    f.BevelInner = vxcbNone;
    f.GapInOut = 3;
    EXPECT_EQ(VxChartPanelInset(f), 7);

    f = VxChartFrame();
    f.BevelOuterWidth = 10;
    f.BevelInnerWidth = 10;
    EXPECT_EQ(VxChartPanelBounds({30, 30}, f), QRect(24, 24, 0, 0)) << "a tiny chart gives an empty panel";
}

TEST(Chart2dFrame, ShadesAreClampedChannelOffsets)
{
    EXPECT_EQ(VxChartBevelLight(QColor(192, 192, 192)), QColor(224, 224, 224));
    EXPECT_EQ(VxChartBevelDark(QColor(192, 192, 192)), QColor(160, 160, 160));
    EXPECT_EQ(VxChartBevelLight(QColor(240, 10, 100)), QColor(255, 42, 132));
    EXPECT_EQ(VxChartBevelDark(QColor(240, 10, 100)), QColor(208, 0, 68));
}

TEST(Chart2dFrame, BevelColoursPerStyleAndLine)
{
    const QColor L(1, 1, 1), D(2, 2, 2);
    auto colors = [&](TVxChartBevel s, bool inner, int k, int w) {
        const VxChartBevelColors c = VxChartBevelLineColors(s, inner, k, w, L, D);
        return std::make_pair(c.First, c.Second);
    };
    using P = std::pair<QColor, QColor>;
    for (bool inner : {false, true}) {
        EXPECT_EQ(colors(vxcbUp, inner, 0, 4), P(L, D));
        EXPECT_EQ(colors(vxcbDown, inner, 3, 4), P(D, L));
    }
    // Width 4: half 2, lines 0 and 1 are the first half.
    EXPECT_EQ(colors(vxcbUpFlat, false, 1, 4), P(L, D));
    EXPECT_EQ(colors(vxcbUpFlat, false, 2, 4), P(D, D));
    EXPECT_EQ(colors(vxcbUpFlat, true, 1, 4), P(D, D));
    EXPECT_EQ(colors(vxcbUpFlat, true, 2, 4), P(L, D));
    EXPECT_EQ(colors(vxcbDownFlat, false, 1, 4), P(D, L));
    EXPECT_EQ(colors(vxcbDownFlat, false, 2, 4), P(D, D));
    EXPECT_EQ(colors(vxcbDownFlat, true, 1, 4), P(D, D));
    EXPECT_EQ(colors(vxcbDownFlat, true, 2, 4), P(D, L));
    // Width 1: half 0, so no line belongs to the first half.
    EXPECT_EQ(colors(vxcbUpFlat, false, 0, 1), P(D, D));
}

QImage PaintedFrame(const VxChartFrame &f, QSize size = {200, 200})
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    VxChartPaintFrame(p, size, f, QColor(192, 192, 192));
    return img;
}

int Grey(const QImage &img, int x, int y)
{
    const QColor c = img.pixelColor(x, y);
    EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue()) << x << "," << y;
    return c.red();
}

TEST(Chart2dFrame, DefaultFramePixels)
{
    const QImage img = PaintedFrame(VxChartFrame());
    // Left edge from the outside in: gap, outer bevel up (light), inner
    // bevel down (dark), gap.
    const int left[] = {192, 192, 224, 224, 160, 160, 192, 192};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Grey(img, x, 100), left[x]) << "x " << x;
    // Right edge from the outside in: the second colours.
    const int right[] = {192, 192, 160, 160, 224, 224, 192};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Grey(img, 199 - i, 100), right[i]) << "x " << 199 - i;
    EXPECT_EQ(Grey(img, 100, 2), 224); // top: first colour
    EXPECT_EQ(Grey(img, 100, 197), 160); // bottom: second colour
    // The top-right corner starts the second stroke, the bottom-left corner
    // belongs to the first.
    EXPECT_EQ(Grey(img, 197, 2), 160);
    EXPECT_EQ(Grey(img, 196, 2), 224);
    EXPECT_EQ(Grey(img, 2, 197), 224);
    EXPECT_EQ(Grey(img, 3, 197), 160);
    EXPECT_EQ(Grey(img, 100, 100), 192) << "the middle is the frame colour until the panel covers it";
}

TEST(Chart2dFrame, NoOuterBevelMovesTheInnerOneOut)
{
    VxChartFrame f;
    f.BevelOuter = vxcbNone;
    f.GapInOut = 1;
    const QImage img = PaintedFrame(f);
    // Gap 2, gap 1 between the bevels, inner bevel down at 3 and 4.
    EXPECT_EQ(Grey(img, 2, 100), 192);
    EXPECT_EQ(Grey(img, 3, 100), 160);
    EXPECT_EQ(Grey(img, 4, 100), 160);
    EXPECT_EQ(Grey(img, 5, 100), 192);
    EXPECT_EQ(Grey(img, 196, 100), 224);
}

TEST(Chart2dFrame, FlatBevelShowsARidge)
{
    VxChartFrame f;
    f.BevelOuter = vxcbUpFlat;
    f.BevelOuterWidth = 4;
    f.BevelInner = vxcbNone;
    const QImage img = PaintedFrame(f);
    EXPECT_EQ(Grey(img, 2, 100), 224);
    EXPECT_EQ(Grey(img, 3, 100), 224);
    EXPECT_EQ(Grey(img, 4, 100), 160);
    EXPECT_EQ(Grey(img, 5, 100), 160);
    for (int x = 194; x <= 197; ++x)
        EXPECT_EQ(Grey(img, x, 100), 160);
}

// ---------------------------------------------------------------------------
// Axes and plotting field

VxChartLayoutAxis Axis(bool vertical, int cpl, int cpt, int length, int thickness = 32, int begin = 20,
                       int end = 50)
{
    VxChartLayoutAxis a;
    a.Vertical = vertical;
    a.CenterPointLeft = cpl;
    a.CenterPointTop = cpt;
    a.Length = length;
    a.Thickness = thickness;
    a.BeginShift = begin;
    a.EndShift = end;
    return a;
}

TEST(Chart2dFit, AxisBoundsAroundTheCentrePoint)
{
    EXPECT_EQ(Axis(false, 40, 143, 103).Bounds(), QRect(40, 127, 103, 32));
    EXPECT_EQ(Axis(true, 40, 143, 103).Bounds(), QRect(24, 40, 32, 103));
    VxChartLayoutAxis v = Axis(true, 40, 143, 103);
    v.SetTop(10);
    EXPECT_EQ(v.CenterPointTop, 113);
    v.SetLeft(0);
    EXPECT_EQ(v.CenterPointLeft, 16);
    v.SetCenterPointLeft(-1);
    EXPECT_EQ(v.CenterPointLeft, 16) << "negative centre points are ignored";
}

TEST(Chart2dFit, FieldBetweenTheAxes)
{
    // The default chart: both origins at (40, 143), lengths 103, shifts 20 and 50.
    EXPECT_EQ(VxChartFieldFromAxes(Axis(false, 40, 143, 103), Axis(true, 40, 143, 103)), QRect(60, 90, 33, 33));
    // A vertical x axis: the y axis gives the horizontal extent.
    const VxChartLayoutAxis x = Axis(true, 100, 200, 150, 30, 10, 30); // bounds (85, 50, 30, 150)
    const VxChartLayoutAxis y = Axis(false, 20, 220, 200, 30, 15, 25); // bounds (20, 205, 200, 30)
    EXPECT_EQ(VxChartFieldFromAxes(x, y), QRect(35, 80, 160, 110));
}

TEST(Chart2dFit, AxesAroundTheFieldAndBack)
{
    VxChartLayoutAxis x = Axis(false, 40, 300, 103);
    VxChartLayoutAxis y = Axis(true, 40, 143, 103);
    const QRect field(58, 16, 350, 278);
    VxChartAxesFromField(field, x, y);
    EXPECT_EQ(x.CenterPointLeft, 38);
    EXPECT_EQ(x.Length, 420);
    EXPECT_EQ(x.CenterPointTop, 300) << "the x axis keeps its height on the panel";
    EXPECT_EQ(y.Length, 348);
    EXPECT_EQ(y.CenterPointTop, 314); // top at 16 - 50
    EXPECT_EQ(y.CenterPointLeft, 40);
    EXPECT_EQ(VxChartFieldFromAxes(x, y), field);

    // Rotated: the vertical x axis takes the height, the y axis the width.
    VxChartLayoutAxis rx = Axis(true, 100, 200, 150, 30, 10, 30);
    VxChartLayoutAxis ry = Axis(false, 20, 220, 200, 30, 15, 25);
    const QRect f2(50, 40, 120, 90);
    VxChartAxesFromField(f2, rx, ry);
    EXPECT_EQ(ry.CenterPointLeft, 35);
    EXPECT_EQ(ry.Length, 160);
    EXPECT_EQ(rx.Length, 130);
    EXPECT_EQ(rx.CenterPointTop, 140);
    EXPECT_EQ(VxChartFieldFromAxes(rx, ry), f2);
}

// ---------------------------------------------------------------------------
// Resize reaction

VxChartLayout HorizontalLayout()
{
    VxChartLayout l;
    l.OldPanel = QSize(183, 183);
    l.Panel = QSize(383, 283); // dx 200, dy 100; old middles 91, 91
    l.XAxis = Axis(false, 40, 143, 103);
    l.YAxis = Axis(true, 40, 143, 103);
    l.YAxis2 = Axis(true, 143, 100, 50, 32, 10, 10);
    l.XCaption = QRect(0, 0, 40, 20);
    l.YCaption = QRect(0, 0, 20, 60);
    l.YCaption2 = QRect(0, 0, 20, 60);
    l.MainCaption = QRect(0, 0, 100, 30);
    l.LinesField = QRect(0, 0, 80, 40);
    l.UserTextField = QRect(0, 0, 60, 20);
    return l;
}

TEST(Chart2dRelayout, StandardMovesFarAxesAndGrowsTheAxes)
{
    const VxChartLayout r = VxChartRelayout(HorizontalLayout(), vxcrrStandart);
    // The x axis lay in the lower half: it moves down with the bottom edge
    // and grows by dx.
    EXPECT_EQ(r.XAxis.Bounds(), QRect(40, 227, 303, 32));
    // YAxis stays on the left; its lower end moves down, its top stays.
    EXPECT_EQ(r.YAxis.Bounds(), QRect(24, 40, 32, 203));
    // YAxis2 took YAxis's centre point, length and shifts, then moved right
    // with the right edge.
    EXPECT_EQ(r.YAxis2.Bounds(), QRect(327, 40, 32, 203));
    EXPECT_EQ(r.YAxis2.BeginShift, 20);
    EXPECT_EQ(r.YAxis2.EndShift, 50);
    EXPECT_EQ(r.OldPanel, QSize(383, 283));

    // Captions follow their axes.
    EXPECT_EQ(r.XCaption, QRect(171, 259, 40, 20)); // centred below the x axis
    EXPECT_EQ(r.YCaption, QRect(4, 111, 20, 60));   // left of YAxis, centred
    EXPECT_EQ(r.YCaption2, QRect(359, 111, 20, 60)); // right of YAxis2
    // Title at the top, the info boxes stacked below it left of YAxis2.
    EXPECT_EQ(r.MainCaption, QRect(141, 0, 100, 30));
    EXPECT_EQ(r.LinesField, QRect(247, 40, 80, 40));
    EXPECT_EQ(r.UserTextField, QRect(267, 90, 60, 20));
}

TEST(Chart2dRelayout, NoReactionOnlyArrangesTheCaptions)
{
    const VxChartLayout r = VxChartRelayout(HorizontalLayout(), vxcrrNone);
    EXPECT_EQ(r.XAxis.Bounds(), QRect(40, 127, 103, 32));
    EXPECT_EQ(r.YAxis.Bounds(), QRect(24, 40, 32, 103));
    EXPECT_EQ(r.YAxis2.Bounds(), QRect(127, 40, 32, 103)) << "YAxis2 still follows YAxis";
    EXPECT_EQ(r.XCaption, QRect(71, 159, 40, 20));
    EXPECT_EQ(r.OldPanel, QSize(383, 283));
}

TEST(Chart2dRelayout, InfoBoxesAwayFromTheYAxes)
{
    VxChartLayout l = HorizontalLayout();
    l.Panel = l.OldPanel; // no size change
    l.YAxis2.Visible = false;
    VxChartLayout r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.left(), 183 - 80 - 10); // YAxis left: at the right edge
    EXPECT_EQ(r.UserTextField.left(), 183 - 60 - 10);

    l.YAxis.CenterPointLeft = 150; // YAxis in the right half
    r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.left(), 0);
    EXPECT_EQ(r.YCaption.left(), 150 - 16 + 32) << "right of a y axis in the right half";

    l.YAxis2.Visible = true;
    l.YAxis2.CenterPointLeft = 30; // YAxis2 left, YAxis right
    r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.left(), 134 - 80 - 10); // left of YAxis
    EXPECT_EQ(r.UserTextField.left(), 134 - 60 - 10);

    l.YAxis.CenterPointLeft = 40; // both left: at the right edge of the panel
    r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.left(), 183 - 80 - 10);
}

TEST(Chart2dRelayout, BothYAxesLeftUseTheNewPanelWidth)
{
    VxChartLayout l = HorizontalLayout(); // the panel grows from 183 to 383 wide
    l.YAxis2.CenterPointLeft = 30;
    const VxChartLayout r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.left(), 383 - 80 - 10);
    EXPECT_EQ(r.UserTextField.left(), 383 - 60 - 10);

    l.Panel = QSize(123, 283); // and shrinking: the boxes stay inside
    const VxChartLayout s = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(s.LinesField.left(), 123 - 80 - 10);
}

TEST(Chart2dRelayout, UpperXAxisPutsTitleAtTheBottom)
{
    VxChartLayout l = HorizontalLayout();
    l.Panel = l.OldPanel;
    l.XAxis.CenterPointTop = 60; // upper half
    const VxChartLayout r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.XCaption.top(), 44 - 20) << "just above the axis";
    EXPECT_EQ(r.MainCaption, QRect(41, 153, 100, 30));
    EXPECT_EQ(r.LinesField.top(), 153 - 40 - 10);
    EXPECT_EQ(r.UserTextField.top(), 103 - 20 - 10);
}

TEST(Chart2dRelayout, VerticalXAxisExchangesTheRoles)
{
    VxChartLayout l;
    l.OldPanel = QSize(200, 200);
    l.Panel = QSize(300, 260); // dx 100, dy 60; old middles 100, 100
    l.XAxis = Axis(true, 150, 180, 150, 30);
    l.YAxis = Axis(true, 40, 50, 120, 30); // made horizontal
    l.YAxis2 = Axis(false, 10, 150, 70, 30, 5, 5);
    l.XCaption = QRect(0, 0, 20, 60);
    l.YCaption = QRect(0, 0, 60, 20);
    l.YCaption2 = QRect(0, 0, 60, 20);
    l.MainCaption = QRect(0, 0, 100, 30);
    l.LinesField = QRect(0, 0, 80, 40);
    l.UserTextField = QRect(0, 0, 60, 20);
    const VxChartLayout r = VxChartRelayout(l, vxcrrStandart);

    EXPECT_FALSE(r.YAxis.Vertical);
    EXPECT_FALSE(r.YAxis2.Vertical);
    // XAxis: beyond the middle, so it moves right; its lower end moves down
    // by dy and it grows by dy.
    EXPECT_EQ(r.XAxis.Bounds(), QRect(235, 30, 30, 210));
    // Y axes grow by dx; only YAxis2 (below the middle) moves down.
    EXPECT_EQ(r.YAxis.Bounds(), QRect(40, 35, 220, 30));
    EXPECT_EQ(r.YAxis2.Bounds(), QRect(40, 195, 220, 30));

    EXPECT_EQ(r.XCaption, QRect(265, 105, 20, 60));  // right of the x axis, centred
    EXPECT_EQ(r.YCaption, QRect(120, 15, 60, 20));   // above YAxis (upper half)
    EXPECT_EQ(r.YCaption2, QRect(120, 225, 60, 20)); // below YAxis2
    EXPECT_EQ(r.MainCaption, QRect(0, 115, 100, 30)); // x axis right: title at the left
    EXPECT_EQ(r.LinesField, QRect(110, 155, 80, 40)); // ends on YAxis2's top
    EXPECT_EQ(r.UserTextField, QRect(110, 125, 60, 20));
}

TEST(Chart2dRelayout, VerticalXAxisStackingBelowUpperYAxes)
{
    VxChartLayout l;
    l.OldPanel = l.Panel = QSize(300, 260); // middles 150, 130
    l.XAxis = Axis(true, 50, 200, 150, 30); // left half
    l.YAxis = Axis(false, 60, 40, 200, 30);
    l.YAxis2 = Axis(false, 60, 100, 200, 30);
    l.MainCaption = QRect(0, 0, 100, 30);
    l.LinesField = QRect(0, 0, 80, 40);
    l.UserTextField = QRect(0, 0, 60, 20);
    VxChartLayout r = VxChartRelayout(l, vxcrrStandart);
    // YAxis2 took YAxis's centre point: both in the upper half.
    EXPECT_EQ(r.YAxis2.CenterPointLeft, 60);
    EXPECT_EQ(r.MainCaption, QRect(200, 115, 100, 30)); // x axis left: title at the right
    EXPECT_EQ(r.LinesField.left(), 200 - 80 - 10);
    EXPECT_EQ(r.UserTextField.left(), 200 - 60 - 10);
    EXPECT_EQ(r.LinesField.top(), 100 + 15 + 10); // below the lower of the two y axes
    EXPECT_EQ(r.UserTextField.top(), 125 + 40 + 10);

    l.YAxis2.Visible = false;
    l.YAxis.CenterPointTop = 200; // lower half
    r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.top(), 0);
    EXPECT_EQ(r.UserTextField.top(), 50);

    l.YAxis.CenterPointTop = 40; // upper half, no YAxis2: at the bottom edge
    r = VxChartRelayout(l, vxcrrStandart);
    EXPECT_EQ(r.LinesField.top(), 260 - 40);
    EXPECT_EQ(r.UserTextField.top(), 220 - 20 - 10);
}

// ---------------------------------------------------------------------------
// Anchored axes

// Axes anchored on the panel they were arranged for and placed on another
// panel lie where one resize of the reaction puts them, in both
// orientations and without reaction; on a panel too small for them they keep
// the values the rule gives (negative lengths, centre points above the top).
TEST(Chart2dAnchors, PlacingIsOneResizeOfTheReaction)
{
    VxChartLayout vertical;
    vertical.OldPanel = QSize(200, 200);
    vertical.XAxis = Axis(true, 150, 180, 150, 30);
    vertical.YAxis = Axis(true, 40, 50, 120, 30);
    vertical.YAxis2 = Axis(false, 10, 150, 70, 30, 5, 5);
    const struct
    {
        const char *name;
        VxChartLayout layout;
        TVxChartResizeReaction reaction;
    } rows[] = {{"x horizontal", HorizontalLayout(), vxcrrStandart},
                {"x vertical", vertical, vxcrrStandart},
                {"no reaction", HorizontalLayout(), vxcrrNone}};
    for (const auto &row : rows) {
        const VxChartLayout &l = row.layout;
        const bool xv = l.XAxis.Vertical;
        VxChartLayoutAnchors a;
        a.XVertical = xv;
        a.Reaction = row.reaction;
        a.XAxis = VxChartAnchorAxis(l.XAxis, true, xv, l.OldPanel, row.reaction);
        a.YAxis = VxChartAnchorAxis(l.YAxis, false, xv, l.OldPanel, row.reaction);
        a.YAxis2 = VxChartAnchorAxis(l.YAxis2, false, xv, l.OldPanel, row.reaction);
        for (QSize panel : {QSize(383, 283), QSize(150, 170), QSize(90, 400), QSize(200, 200)}) {
            VxChartLayout grown = l;
            grown.Panel = panel;
            const VxChartLayout rule = VxChartRelayout(grown, row.reaction);
            const VxChartLayout placed = VxChartPlaceLayout(grown, a);
            const std::pair<VxChartLayoutAxis, VxChartLayoutAxis> axes[] = {
                {placed.XAxis, rule.XAxis}, {placed.YAxis, rule.YAxis}, {placed.YAxis2, rule.YAxis2}};
            for (const auto &[p, r] : axes) {
                EXPECT_EQ(p.Bounds(), r.Bounds()) << row.name << " " << panel.width() << "x" << panel.height();
                EXPECT_EQ(p.Vertical, r.Vertical) << row.name;
                EXPECT_EQ(p.EndShift, r.EndShift) << row.name;
            }
            EXPECT_EQ(placed.XCaption, VxChartRelayout(rule, row.reaction).XCaption) << row.name;
        }
    }

    // The default chart's x axis on a panel of 1 by 1: its centre point
    // comes to lie 40 pixels above the top, the y axis' length is 103 - 182.
    VxChartLayout tiny = HorizontalLayout();
    tiny.Panel = QSize(1, 1);
    VxChartLayoutAnchors a;
    a.XAxis = VxChartAnchorAxis(tiny.XAxis, true, false, tiny.OldPanel, vxcrrStandart);
    a.YAxis = VxChartAnchorAxis(tiny.YAxis, false, false, tiny.OldPanel, vxcrrStandart);
    a.YAxis2 = VxChartAnchorAxis(tiny.YAxis2, false, false, tiny.OldPanel, vxcrrStandart);
    const VxChartLayout placed = VxChartPlaceLayout(tiny, a);
    EXPECT_EQ(placed.XAxis.CenterPointTop, -39);
    EXPECT_EQ(placed.XAxis.Length, 103 - 182);
    EXPECT_EQ(placed.YAxis.Length, 103 - 182);
    EXPECT_EQ(placed.YAxis2.CenterPointLeft, 1 - 40) << "YAxis2 keeps its distance from the right edge";
}

// ---------------------------------------------------------------------------
// AutoScale

struct Columns
{
    explicit Columns(int lines, int points)
    {
        list.SetLineCount(lines);
        list.SetPointCount(points);
    }
    VxChartBaseLine &operator[](int i) { return *list.Line(i); }
    VxChartBaseLineArray list{nullptr};
};

TEST(Chart2dAutoScale, TimeAndTemperatureWithMarginTen)
{
    Columns c(2, 50);
    c[0].SetDataType(vxcldXData);
    c[1].SetXLine(0);
    for (int i = 0; i < 50; ++i) {
        c[0].Data()[i] = 5.0 * i;         // 0 ... 245
        c[1].Data()[i] = 20.0 + 20.0 * i; // 20 ... 1000
    }
    const VxChartAutoRanges r = VxChartAutoScaleRanges(c.list, 10.0);
    EXPECT_DOUBLE_EQ(r.X.Begin, -24.5);
    EXPECT_DOUBLE_EQ(r.X.End, 269.5);
    EXPECT_DOUBLE_EQ(r.Y.Begin, -78.0);
    EXPECT_DOUBLE_EQ(r.Y.End, 1098.0);
    EXPECT_EQ(r.Y2.Begin, 0.0);
    EXPECT_EQ(r.Y2.End, 0.0);
}

TEST(Chart2dAutoScale, EqualValuesGiveAnEmptyRange)
{
    Columns c(1, 5); // one Y column drawn against the point index
    for (int i = 0; i < 5; ++i)
        c[0].Data()[i] = 300.0;
    const VxChartAutoRanges r = VxChartAutoScaleRanges(c.list, 10.0);
    EXPECT_EQ(r.Y.Begin, 300.0);
    EXPECT_EQ(r.Y.End, 300.0);
    EXPECT_DOUBLE_EQ(r.X.Begin, -0.4);
    EXPECT_DOUBLE_EQ(r.X.End, 4.4);
}

TEST(Chart2dAutoScale, NoLinesOrNoPointsGiveZeros)
{
    VxChartBaseLineArray none(nullptr);
    none.SetPointCount(10);
    Columns empty(2, 0);
    for (const VxChartBaseLineArray *list : {&none, &empty.list}) {
        const VxChartAutoRanges r = VxChartAutoScaleRanges(*list, 10.0);
        for (const VxChartRange &range : {r.X, r.Y, r.Y2}) {
            EXPECT_EQ(range.Begin, 0.0);
            EXPECT_EQ(range.End, 0.0);
        }
    }
}

TEST(Chart2dAutoScale, LineWithoutXColumnReachesDownToZero)
{
    Columns c(3, 5);
    c[0].SetDataType(vxcldXData);
    c[1].SetXLine(0);
    c[2].SetXLine(-1); // drawn against the point index 0 ... 4
    for (int i = 0; i < 5; ++i) {
        c[0].Data()[i] = 10.0 * (i + 1); // 10 ... 50
        c[1].Data()[i] = 1.0;
        c[2].Data()[i] = 2.0;
    }
    VxChartAutoRanges r = VxChartAutoScaleRanges(c.list, 0.0);
    EXPECT_EQ(r.X.Begin, 0.0);
    EXPECT_EQ(r.X.End, 50.0);
    EXPECT_EQ(r.Y.Begin, 1.0);
    EXPECT_EQ(r.Y.End, 2.0);

    // Small x values: the point indices also extend the top of the range.
    for (int i = 0; i < 5; ++i)
        c[0].Data()[i] = 0.5 + 0.25 * i; // 0.5 ... 1.5
    r = VxChartAutoScaleRanges(c.list, 10.0);
    EXPECT_DOUBLE_EQ(r.X.Begin, -0.4);
    EXPECT_DOUBLE_EQ(r.X.End, 4.4);
}

TEST(Chart2dAutoScale, Y2ColumnsScaleYAxis2AndShareTheXRange)
{
    Columns c(3, 4);
    c[0].SetDataType(vxcldXData);
    c[1].SetDataType(vxcldY2Data);
    c[1].SetXLine(0);
    c[2].SetDataType(vxcldOffsetData); // supplies values only
    const double x[] = {-3, 1, 7, 2};
    const double y2[] = {5, -5, 15, 0};
    for (int i = 0; i < 4; ++i) {
        c[0].Data()[i] = x[i];
        c[1].Data()[i] = y2[i];
        c[2].Data()[i] = 1000.0;
    }
    const VxChartAutoRanges r = VxChartAutoScaleRanges(c.list, 50.0);
    EXPECT_DOUBLE_EQ(r.X.Begin, -8.0);
    EXPECT_DOUBLE_EQ(r.X.End, 12.0);
    EXPECT_DOUBLE_EQ(r.Y2.Begin, -15.0);
    EXPECT_DOUBLE_EQ(r.Y2.End, 25.0);
    EXPECT_EQ(r.Y.Begin, 0.0) << "no Y Data column";
    EXPECT_EQ(r.Y.End, 0.0);
}

TEST(Chart2dAutoScale, ValuesThatAreNotNumbersAreSkipped)
{
    Columns c(1, 4);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double y[] = {nan, 4.0, std::numeric_limits<double>::infinity(), 8.0};
    for (int i = 0; i < 4; ++i)
        c[0].Data()[i] = y[i];
    const VxChartAutoRanges r = VxChartAutoScaleRanges(c.list, nan);
    EXPECT_EQ(r.Y.Begin, 4.0);
    EXPECT_EQ(r.Y.End, 8.0);
    EXPECT_EQ(r.X.Begin, 0.0);
    EXPECT_EQ(r.X.End, 3.0);
}

// ---------------------------------------------------------------------------
// Legend

TEST(Chart2dLegend, ListNameThenOneTaggedLinePerDrawnColumn)
{
    Columns c(3, 2); // "Line - 0" ... survive only when LineCount comes last
    c.list.SetLineCount(0);
    c.list.SetLineCount(3);
    c[1].SetDataType(vxcldXData);
    c[2].SetDataType(vxcldY2Data);
    c[0].SetPointSize(6);
    c[2].SetPointSize(4);
    const VxChartLegendCount n = VxChartCountLegendLines(c.list);
    EXPECT_EQ(n.Lines, 2);
    EXPECT_EQ(n.PointSize, 6);
    EXPECT_EQ(VxChartLegendText(c.list, true),
              QStringList({"Lines Info :", "<inline>0</inline>Line - 0", "<inline>1</inline>Line - 2"}));
    c.list.SetListName(QString());
    EXPECT_EQ(VxChartLegendText(c.list, false), QStringList({"Line - 0", "Line - 2"}));
}

TEST(Chart2dLegend, TemplateFromPointSizeOrBackLine)
{
    const QImage plain = VxChartLegendTemplate(QImage(), 6, QColor(10, 20, 30));
    EXPECT_EQ(plain.size(), QSize(36, 12));
    EXPECT_EQ(plain.format(), QImage::Format_RGB888);
    EXPECT_EQ(plain.pixelColor(35, 11), QColor(10, 20, 30));

    QImage back(20, 10, QImage::Format_ARGB32);
    back.fill(Qt::red);
    const QImage copy = VxChartLegendTemplate(back, 6, Qt::black);
    EXPECT_EQ(copy.size(), QSize(20, 10));
    EXPECT_EQ(copy.format(), QImage::Format_RGB888);
    EXPECT_EQ(copy.pixelColor(0, 0), QColor(Qt::red));

    EXPECT_TRUE(VxChartLegendTemplate(QImage(), 0, Qt::black).isNull());
}

} // namespace
