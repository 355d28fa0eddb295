// Data columns, the column list and the plotting field: mapping, curve and
// grid tables, store and notify rules, and pixel probes of the drawing.
#include "chart/VxChartBaseLinesUnit.h"
#include "support/axis_message_panel.h"
#include "support/lines_paint_counter.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace {

const QPoint kNone(-1, -1);

TEST(LinesMap, ValueToPixelNormalAndRotated)
{
    const VxChartFieldMap m{200, 100, 0, 10, 0, 100, false};
    EXPECT_EQ(m.Map(5, 50), QPoint(100, 50));
    EXPECT_EQ(m.Map(0, 100), QPoint(0, 0));
    EXPECT_EQ(m.Map(10, 0), QPoint(200, 100));
    EXPECT_EQ(m.Map(1.25, 0), QPoint(25, 100));

    // Halves round to the even neighbour.
    const VxChartFieldMap ties{10, 10, 0, 4, 0, 4, false};
    EXPECT_EQ(ties.Map(1, 1), QPoint(2, 8));
    EXPECT_EQ(ties.Map(3, 3), QPoint(8, 2));

    const VxChartFieldMap r{200, 100, 0, 10, 0, 100, true};
    EXPECT_EQ(r.Map(2, 25), QPoint(50, 80)); // x runs up, y runs right

    EXPECT_TRUE(m.Inside({0, 0}));
    EXPECT_TRUE(m.Inside({199, 99}));
    EXPECT_FALSE(m.Inside({200, 50})); // right edge excluded
    EXPECT_FALSE(m.Inside({50, 100})); // bottom edge excluded
    EXPECT_FALSE(m.Inside({-1, 0}));
    EXPECT_TRUE(m.Valid());
    EXPECT_FALSE((VxChartFieldMap{200, 100, 3, 3, 0, 100, false}.Valid()));
    EXPECT_FALSE((VxChartFieldMap{200, 100, 0, 1, 7, 7, false}.Valid()));
}

TEST(LinesCurve, CatmullRomPoints)
{
    // Equally spaced collinear points: a straight, evenly paced run.
    const QList<QPoint> straight = VxChartCatmullRom({0, 0}, {10, 0}, {20, 0}, {30, 0});
    ASSERT_EQ(straight.size(), 101);
    EXPECT_EQ(straight.first(), QPoint(10, 0));
    EXPECT_EQ(straight.at(25), QPoint(12, 0)); // 12.5 to even
    EXPECT_EQ(straight.at(75), QPoint(18, 0)); // 17.5 to even
    EXPECT_EQ(straight.last(), QPoint(20, 0));

    // Doubled end points: x(t) = 5t + 15t^2 - 10t^3.
    const QList<QPoint> eased = VxChartCatmullRom({0, 0}, {0, 0}, {10, 0}, {10, 0});
    EXPECT_EQ(eased.at(25), QPoint(2, 0)); // 2.03125
    EXPECT_EQ(eased.at(50), QPoint(5, 0));
    EXPECT_EQ(eased.at(75), QPoint(8, 0)); // 7.96875

    // a = (10, 0), b = (5, -25), c = (-5, 15): at t = 0.5 (15.625, 5.625).
    EXPECT_EQ(VxChartCatmullRom({0, 0}, {10, 10}, {20, 0}, {20, 0}).at(50), QPoint(16, 6));
}

TEST(LinesGrid, PositionsPerDirection)
{
    using L = QList<int>;
    EXPECT_EQ(VxChartGridPositions(0.2, 0, 1, 100, false), (L{0, 20, 40, 60, 80}));
    EXPECT_EQ(VxChartGridPositions(0.2, 0, 1, 100, true), (L{99, 79, 59, 39, 19}));
    EXPECT_EQ(VxChartGridPositions(0.2, 1, 0, 100, false), (L{99, 79, 59, 39, 19}));
    EXPECT_EQ(VxChartGridPositions(0.2, 1, 0, 100, true), (L{0, 20, 40, 60, 80}));
    // A negative lower end starts one step further down: -1.5 for -1.
    EXPECT_EQ(VxChartGridPositions(0.5, -1, 1, 100, false), (L{-25, 0, 25, 50, 75}));
    EXPECT_EQ(VxChartGridPositions(0, 0, 1, 100, false), L{});
    EXPECT_EQ(VxChartGridPositions(0.2, 1, 1, 100, false), L{});
    EXPECT_EQ(VxChartGridPositions(0.2, 0, 1, 0, false), L{});
}

TEST(LinesColumns, DefaultsNamesAndCounts)
{
    VxChartBaseLineArray list(nullptr);
    EXPECT_EQ(list.ListName(), QString("Lines Info :"));
    EXPECT_EQ(list.LineCount(), 0);
    EXPECT_EQ(list.PointCount(), 0);

    list.SetLineCount(3);
    ASSERT_EQ(list.LineCount(), 3);
    EXPECT_EQ(list[0]->LineName(), QString("Line - 0"));
    EXPECT_EQ(list[2]->LineName(), QString("Line - 2"));
    EXPECT_EQ(list[3], nullptr);
    const VxChartBaseLine &c = *list[1];
    EXPECT_EQ(c.PointCount(), 0);
    EXPECT_EQ(c.PointSize(), 10);
    EXPECT_EQ(c.XLine(), -1);
    EXPECT_EQ(c.YMinusErrLine(), -1);
    EXPECT_EQ(c.XPlusErrLine(), -1);
    EXPECT_EQ(c.PointStyle(), vxcpsNone);
    EXPECT_EQ(c.DataType(), vxcldYData);
    EXPECT_EQ(c.LineStyle(), vxclsLine);
    EXPECT_EQ(c.ErrorStyle(), vxcesCross);
    EXPECT_EQ(c.LineColor(), QColor(Qt::black));

    // Setting the point count afterwards discards names and attributes.
    list[1]->SetPointStyle(vxcpsDot);
    list.SetPointCount(4);
    EXPECT_EQ(list[0]->LineName(), QString("One of the Lines"));
    EXPECT_EQ(list[1]->PointStyle(), vxcpsNone);
    EXPECT_EQ(list[2]->Data(), (VxChartDataArray{0, 0, 0, 0}));

    list.SetLineCount(-1);
    list.SetPointCount(-2);
    EXPECT_EQ(list.LineCount(), 3);
    EXPECT_EQ(list.PointCount(), 4);

    VxChartBaseLine &col = *list[0];
    col.SetData({1, 2, 3});
    EXPECT_EQ(col.Data(), (VxChartDataArray{0, 0, 0, 0})); // wrong length ignored
    col.SetData({1, 2, 3, 4});
    EXPECT_EQ(col.Data(), (VxChartDataArray{1, 2, 3, 4}));
    col.SetPointCount(2);
    EXPECT_EQ(col.Data(), (VxChartDataArray{0, 0})); // reallocated, values lost
}

TEST(LinesColumns, ListReplacementAndAssign)
{
    VxChartBaseLineArray a(nullptr), b(nullptr), other(nullptr);
    a.SetLineCount(2);
    a.SetPointCount(3);
    a[1]->SetData({7, 8, 9});
    a[1]->SetLineName("temperature");
    a[1]->SetXLine(0);
    a[1]->SetPointColor(Qt::blue);
    a.SetListName("Legend");

    other.SetLineCount(3);
    other.SetLines(a); // different column count: refused
    EXPECT_EQ(other[1]->LineName(), QString("Line - 1"));

    b.Assign(a);
    ASSERT_EQ(b.LineCount(), 2);
    EXPECT_EQ(b.PointCount(), 3);
    EXPECT_EQ(b[1]->Data(), (VxChartDataArray{7, 8, 9}));
    EXPECT_EQ(b[1]->LineName(), QString("temperature"));
    EXPECT_EQ(b[1]->XLine(), 0);
    EXPECT_EQ(b[1]->PointColor(), QColor(Qt::blue));
    EXPECT_EQ(b[0]->LineName(), QString("One of the Lines")); // a's names were reset by its PointCount
    EXPECT_EQ(b.ListName(), QString("Legend"));
}

struct NotifyRow
{
    const char *what;
    std::function<void(VxChartBaseLine &)> change;
    bool linesChanged;
    bool repaint;
};

TEST(LinesColumns, SettersNotifyAsTheirKindRequires)
{
    AxisMessagePanel panel;
    auto *field = new VxChartBaseLinesClass(&panel);
    panel.show();
    LinesPaintCounter paints(field);
    field->Lines()->SetLineCount(1);
    field->Lines()->SetPointCount(5);
    panel.Take();
    paints.Take();
    VxChartBaseLine &c = *(*field->Lines())[0];

    const NotifyRow rows[] = {
        {"PointCount", [](VxChartBaseLine &l) { l.SetPointCount(4); }, true, false},
        {"PointCount negative", [](VxChartBaseLine &l) { l.SetPointCount(-1); }, false, false},
        {"Data", [](VxChartBaseLine &l) { l.SetData({1, 2, 3, 4}); }, true, false},
        {"Data wrong length", [](VxChartBaseLine &l) { l.SetData({1}); }, false, false},
        {"LineName", [](VxChartBaseLine &l) { l.SetLineName("a"); }, true, false},
        {"PointStyle", [](VxChartBaseLine &l) { l.SetPointStyle(vxcpsDot); }, true, true},
        {"DataType unchanged", [](VxChartBaseLine &l) { l.SetDataType(vxcldYData); }, true, true},
        {"PointColor", [](VxChartBaseLine &l) { l.SetPointColor(Qt::red); }, true, true},
        {"PointSize", [](VxChartBaseLine &l) { l.SetPointSize(6); }, true, true},
        {"PointSize unchanged", [](VxChartBaseLine &l) { l.SetPointSize(6); }, false, false},
        {"LineStyle", [](VxChartBaseLine &l) { l.SetLineStyle(vxclsSpline); }, true, true},
        {"LineColor", [](VxChartBaseLine &l) { l.SetLineColor(Qt::blue); }, true, true},
        {"ErrorStyle", [](VxChartBaseLine &l) { l.SetErrorStyle(vxcesRect); }, true, true},
        {"ErrorColor", [](VxChartBaseLine &l) { l.SetErrorColor(Qt::green); }, true, true},
        {"XLine", [](VxChartBaseLine &l) { l.SetXLine(0); }, false, true},
        {"YMinusErrLine", [](VxChartBaseLine &l) { l.SetYMinusErrLine(0); }, false, true},
        {"YPlusErrLine", [](VxChartBaseLine &l) { l.SetYPlusErrLine(0); }, false, true},
        {"XPlusErrLine", [](VxChartBaseLine &l) { l.SetXPlusErrLine(0); }, false, true},
        {"XMinusErrLine", [](VxChartBaseLine &l) { l.SetXMinusErrLine(0); }, false, true},
    };
    for (const NotifyRow &row : rows) {
        row.change(c);
        EXPECT_EQ(panel.Count(CM_LINES_CHANGED), row.linesChanged ? 1 : 0) << row.what;
        EXPECT_EQ(paints.Take() > 0, row.repaint) << row.what;
    }

    c.Data()[0] = 42; // direct writes tell nobody
    EXPECT_EQ(panel.Count(CM_LINES_CHANGED), 0);

    VxChartBaseLineArray &list = *field->Lines();
    list.SetListName("x");
    EXPECT_EQ(panel.Count(CM_LINES_CHANGED), 1);
    list.SetLineCount(3);
    EXPECT_EQ(panel.Count(CM_LINES_CHANGED), 1);
    list.SetLineCount(3);
    EXPECT_EQ(panel.Count(CM_LINES_CHANGED), 0);
}

TEST(LinesField, SetBoundsAndSettersNotify)
{
    AxisMessagePanel panel;
    auto *field = new VxChartBaseLinesClass(&panel);
    EXPECT_EQ(field->size(), QSize(100, 100));
    EXPECT_EQ(field->Color(), QColor(175, 175, 175));
    EXPECT_TRUE(field->ShowGrid());
    EXPECT_EQ(field->AutoEditMinDistance(), 50);
    panel.show();
    LinesPaintCounter paints(field);
    panel.Take();
    paints.Take();

    auto fieldIds = [&] {
        QList<int> ids;
        for (int id : panel.Take())
            if (id == CM_FIELD_MOVED || id == CM_FIELD_RESIZED)
                ids.append(id);
        return ids;
    };
    field->SetBounds(10, 10, 100, 100);
    EXPECT_EQ(fieldIds(), QList<int>{CM_FIELD_MOVED});
    field->SetBounds(10, 10, 120, 100);
    EXPECT_EQ(fieldIds(), QList<int>{CM_FIELD_RESIZED});
    field->SetBounds(20, 15, 130, 90);
    EXPECT_EQ(fieldIds(), (QList<int>{CM_FIELD_MOVED, CM_FIELD_RESIZED}));
    field->SetBounds(20, 15, 130, 90);
    EXPECT_EQ(fieldIds(), QList<int>{});

    paints.Take();
    field->SetXBegin(-1.0); // unchanged
    EXPECT_EQ(paints.Take(), 0);
    field->SetXBegin(0.0);
    EXPECT_GT(paints.Take(), 0);
    field->SetColorGridY2(Qt::red);
    EXPECT_GT(paints.Take(), 0);
}

// A 200 x 100 white field, X 0 .. 10 and Y 0 .. 100, no grid, with an X
// column (0) and a Y column (1) drawn against it.
struct Plot
{
    AxisMessagePanel panel;
    VxChartBaseLinesClass *field = new VxChartBaseLinesClass(&panel);

    Plot(const VxChartDataArray &xs, const VxChartDataArray &ys)
    {
        field->SetBounds(0, 0, 200, 100);
        field->SetXBegin(0);
        field->SetXEnd(10);
        field->SetYBegin(0);
        field->SetYEnd(100);
        field->SetShowGrid(false);
        field->SetColor(Qt::white);
        VxChartBaseLineArray &l = *field->Lines();
        l.SetLineCount(2);
        l.SetPointCount(int(xs.size()));
        l[0]->SetDataType(vxcldXData);
        l[0]->SetData(xs);
        l[1]->SetData(ys);
        l[1]->SetXLine(0);
        l[1]->SetLineColor(Qt::blue);
        l[1]->SetPointColor(Qt::red);
        l[1]->SetPointStyle(vxcpsNone);
    }
    VxChartBaseLine &y() { return *(*field->Lines())[1]; }
    QImage render() { return AxisRender(200, 100, [&](QPainter &p) { field->PaintField(p); }); }
};

bool has(const QImage &im, int x, int y, QColor c)
{
    return im.pixelColor(x, y) == c;
}

int countColor(const QImage &im, QColor c)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += im.pixelColor(x, y) == c ? 1 : 0;
    return n;
}

TEST(LinesPaint, BlueLineOfCirclesAndItsHitTable)
{
    Plot plot({1, 5, 9}, {20, 60, 20}); // pixels (20, 80), (100, 40), (180, 80)
    plot.y().SetPointStyle(vxcpsCircle);
    const QImage im = plot.render();
    EXPECT_TRUE(has(im, 60, 60, Qt::blue));  // middle of the first segment
    EXPECT_TRUE(has(im, 140, 60, Qt::blue)); // and of the second
    bool ringLeft = false;
    for (int y = 38; y <= 41; ++y)
        ringLeft = ringLeft || has(im, 95, y, Qt::red);
    EXPECT_TRUE(ringLeft);
    EXPECT_FALSE(has(im, 90, 40, Qt::red));

    const QList<QList<QPoint>> &hits = plot.field->HitTable();
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits[0], (QList<QPoint>{kNone, kNone, kNone})); // X Data is not drawn
    EXPECT_EQ(hits[1], (QList<QPoint>{{20, 80}, {100, 40}, {180, 80}}));

    EXPECT_TRUE(plot.field->PickPoint({103, 44}));
    EXPECT_EQ(plot.field->PickedLine(), 1);
    EXPECT_EQ(plot.field->PickedPoint(), 1);
    plot.field->SetAutoEditMinDistance(3);
    EXPECT_FALSE(plot.field->PickPoint({103, 44})); // 5 pixels away
    EXPECT_EQ(plot.field->PickedLine(), -1);
    EXPECT_EQ(plot.field->PickedPoint(), -1);
}

TEST(LinesPaint, PointsOnTheRightOrBottomEdgeAreOutside)
{
    Plot plot({5, 10, 5}, {50, 50, 0}); // (100, 50), (200, 50), (100, 100)
    plot.y().SetPointStyle(vxcpsDot);
    plot.y().SetPointSize(6);
    const QImage im = plot.render();
    EXPECT_EQ(plot.field->HitTable()[1], (QList<QPoint>{{100, 50}, kNone, kNone}));
    EXPECT_TRUE(has(im, 100, 50, Qt::red));
    EXPECT_FALSE(has(im, 198, 50, Qt::red)); // no marker reaching in from the edge
    EXPECT_FALSE(has(im, 100, 98, Qt::red));
    EXPECT_TRUE(has(im, 150, 50, Qt::blue)); // the segment starting inside is drawn
    EXPECT_FALSE(has(im, 160, 70, Qt::blue)); // none between two outside points
}

TEST(LinesPaint, PointIndexAsXAndASinglePoint)
{
    Plot plot({0, 0, 0}, {10, 20, 30});
    plot.field->SetXEnd(4);
    plot.y().SetXLine(-1); // x = 0, 1, 2
    plot.render();
    EXPECT_EQ(plot.field->HitTable()[1], (QList<QPoint>{{0, 90}, {50, 80}, {100, 70}}));

    Plot single({5}, {50});
    single.y().SetPointStyle(vxcpsDot);
    single.y().SetPointSize(6);
    const QImage im = single.render();
    EXPECT_TRUE(has(im, 100, 50, Qt::red));
    EXPECT_EQ(countColor(im, Qt::blue), 0); // its only segment has no length
}

TEST(LinesPaint, ThreePointSplineEndsOnTheLastPointTwice)
{
    Plot plot({1, 5, 9}, {20, 60, 20}); // (20, 80), (100, 40), (180, 80)
    plot.y().SetLineStyle(vxclsSpline);
    const QImage im = plot.render();
    // First curve: controls P0, P0, P1, P2, at t = 0.5 (55, 57.5).
    EXPECT_TRUE(has(im, 55, 58, Qt::blue));
    // Second curve: controls P0, P1, P2, P2, at t = 0.5 (145, 57.5); a
    // straight segment would pass (145, 62.5).
    EXPECT_TRUE(has(im, 145, 58, Qt::blue));
    EXPECT_FALSE(has(im, 145, 62, Qt::blue));
    EXPECT_TRUE(has(im, 180, 80, Qt::blue));
}

TEST(LinesPaint, PointSizeOneAndEmptyRanges)
{
    Plot plot({5}, {50});
    plot.y().SetPointStyle(vxcpsCircle);
    plot.y().SetPointSize(1);
    QImage im = plot.render();
    EXPECT_EQ(countColor(im, Qt::red), 0); // a circle of no size
    EXPECT_EQ(plot.field->HitTable()[1][0], QPoint(100, 50));

    plot.y().SetPointStyle(vxcpsDot);
    plot.y().SetPointSize(10);
    plot.field->SetXEnd(0); // X range 0 .. 0 cannot be mapped
    im = plot.render();
    EXPECT_EQ(countColor(im, Qt::red), 0);
    EXPECT_EQ(plot.field->HitTable()[1][0], kNone);

    plot.field->SetXEnd(10);
    plot.y().SetDataType(vxcldY2Data);
    plot.field->SetY2Begin(3);
    plot.field->SetY2End(3); // empty Y2 range: the Y2 column is skipped
    im = plot.render();
    EXPECT_EQ(countColor(im, Qt::red), 0);
    plot.field->SetY2End(103);
    plot.render();
    EXPECT_EQ(plot.field->HitTable()[1][0], QPoint(100, 53));
}

TEST(LinesPaint, RotatedField)
{
    Plot plot({2}, {25});
    plot.field->SetRotated(true);
    plot.render();
    EXPECT_EQ(plot.field->HitTable()[1][0], QPoint(50, 80));
}

// Straight lines drawn from a per pixel column (row) reduction cover the
// pixels of every segment drawn on its own, for data that put many points on
// each column (5000 over 200 columns or rows) or only a few (300 or 450),
// some points beyond every edge.
TEST(LinesPaint, ReducedLinesDrawTheSamePixels)
{
    constexpr int n = 5000;
    const double nan = std::nan(""), inf = INFINITY;
    std::mt19937 random(11);
    std::vector<double> noise(n);
    for (double &v : noise)
        v = std::uniform_real_distribution<double>(-30.0, 130.0)(random);
    auto index = [](int i) { return double(i); };
    const struct
    {
        const char *name;
        int count;
        std::function<double(int)> x, y;
        bool rotated;
    } shapes[] = {
        {"sawtooth", n, index, [](int i) { return (i % 37) * 3.3 - 10.0; }, false},
        {"noise", n, index, [&](int i) { return noise[i]; }, false},
        {"sparse noise", 300, index, [&](int i) { return noise[i]; }, false},
        {"steps", n, index, [](int i) { return std::floor(i / 400.0) * 14.0 - 20.0; }, false},
        {"steep sine", 450, index, [](int i) { return 50.0 + 70.0 * std::sin(i / 6.0); }, false},
        {"gaps", n, index,
         [&](int i) { return i % 50 == 7 ? nan : (i / 300) % 4 == 2 && i % 300 < 40 ? inf : 50 + 60 * std::sin(i / 90.0); },
         false},
        {"back and forth", n, [](int i) { return double(i % 1000 < 500 ? i : 1000 * (i / 1000) + 999 - i % 1000); },
         [&](int i) { return noise[i]; }, false},
        {"rotated noise", n, index, [&](int i) { return noise[i]; }, true},
        {"rotated sparse sine", 300, index, [](int i) { return 50.0 + 70.0 * std::sin(i / 5.0); }, true},
    };
    for (const auto &shape : shapes) {
        // X 20 ... count - 20: the first and last points lie beyond the edges.
        const int count = shape.count;
        const VxChartFieldMap map{200, 100, 20, count - 20.0, 0, 100, shape.rotated};
        const VxChartColumnPixels px = VxChartColumnPixels::Map(map, count, shape.x, shape.y);
        auto draw = [&](VxChartLineReduction reduction) {
            return AxisRender(200, 100, [&](QPainter &p) {
                p.setPen(QPen(Qt::blue, 0));
                VxChartDrawLines(p, px, reduction);
            });
        };
        const QImage plain = draw(VxChartLineReduction::Plain);
        const QImage reduced =
            draw(shape.rotated ? VxChartLineReduction::Rows : VxChartLineReduction::Columns);
        EXPECT_GT(countColor(plain, Qt::blue), 150) << shape.name;
        EXPECT_TRUE(reduced == plain) << shape.name;
    }

    // The field reduces by itself once there are more points than columns.
    VxChartDataArray xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = 10.0 * i / n;
        ys[i] = noise[i];
    }
    Plot plot(xs, ys);
    const VxChartColumnPixels px = VxChartColumnPixels::Map(
        plot.field->FieldMap(vxcldYData), n, [&](int i) { return xs[i]; }, [&](int i) { return ys[i]; });
    const QImage plain = AxisRender(200, 100, [&](QPainter &p) {
        p.setPen(QPen(Qt::blue, 0));
        VxChartDrawLines(p, px, VxChartLineReduction::Plain);
    });
    EXPECT_TRUE(plot.render() == plain);
}

struct MarkerRow
{
    quint8 style;
    QList<QPoint> on;
    QList<QPoint> off;
};

TEST(LinesPaint, EightMarkerStyles)
{
    // Size 10 (h = 5) at (100, 50).
    const MarkerRow rows[] = {
        {vxcpsNone, {}, {{100, 50}, {95, 50}}},
        {vxcpsCircle, {{100, 45}, {100, 54}}, {{100, 50}}},
        {vxcpsSquare, {{95, 50}, {104, 50}, {100, 45}, {100, 54}}, {{100, 50}}},
        {vxcpsTriangle, {{100, 45}, {100, 55}, {104, 53}}, {{100, 50}}},
        // Arms (95, 45) .. (105, 55) and (95, 56) .. (105, 46): the second
        // starts one row below the first one's end row.
        {vxcpsCross, {{95, 45}, {105, 55}, {100, 50}, {95, 56}, {105, 46}, {100, 51}}, {{100, 45}, {95, 55}, {105, 45}}},
        {vxcpsDonut, {{96, 50}, {100, 46}}, {{100, 50}}},
        {vxcpsDimond, {{95, 50}, {100, 45}, {105, 50}, {100, 55}}, {{100, 50}}},
        {vxcpsDot, {{100, 50}, {97, 50}}, {{90, 50}}},
    };
    for (const MarkerRow &row : rows) {
        Plot plot({5}, {50});
        plot.y().SetPointStyle(row.style);
        const QImage im = plot.render();
        for (const QPoint &p : row.on)
            EXPECT_TRUE(has(im, p.x(), p.y(), Qt::red)) << int(row.style) << " at " << p.x() << "," << p.y();
        for (const QPoint &p : row.off)
            EXPECT_FALSE(has(im, p.x(), p.y(), Qt::red)) << int(row.style) << " at " << p.x() << "," << p.y();
        EXPECT_EQ(plot.field->HitTable()[1][0], QPoint(100, 50));
    }
}

TEST(LinesPaint, ErrorCrossesAndRectangles)
{
    // Point (5, 50) at (100, 50); y offsets -10 / +10, x offsets -1 / +1.
    Plot plot({5}, {50});
    VxChartBaseLineArray &l = *plot.field->Lines();
    l.SetLineCount(6);
    l.SetPointCount(1);
    l[0]->SetDataType(vxcldXData);
    l[0]->SetData({5});
    const double offsets[] = {-10, 10, -1, 1};
    for (int i = 2; i < 6; ++i) {
        l[i]->SetDataType(vxcldOffsetData);
        l[i]->SetData({offsets[i - 2]});
    }
    VxChartBaseLine &y = *l[1];
    y.SetData({50});
    y.SetXLine(0);
    y.SetLineStyle(vxclsNone);
    y.SetYMinusErrLine(2);
    y.SetYPlusErrLine(3);
    y.SetXMinusErrLine(4);
    y.SetXPlusErrLine(5);
    y.SetErrorColor(Qt::green);

    QImage im = plot.render();
    // Caps are 4 pixels long: end - 2 .. end + 1.
    EXPECT_TRUE(has(im, 100, 55, Qt::green)); // down to y - 10 at row 60
    EXPECT_TRUE(has(im, 98, 60, Qt::green));  // its cap
    EXPECT_TRUE(has(im, 101, 60, Qt::green));
    EXPECT_FALSE(has(im, 102, 60, Qt::green));
    EXPECT_TRUE(has(im, 98, 40, Qt::green)); // cap of y + 10 at row 40
    EXPECT_FALSE(has(im, 102, 40, Qt::green));
    EXPECT_TRUE(has(im, 80, 51, Qt::green)); // cap of x - 1 at column 80
    EXPECT_FALSE(has(im, 80, 52, Qt::green));
    EXPECT_TRUE(has(im, 120, 48, Qt::green)); // cap of x + 1 at column 120
    EXPECT_FALSE(has(im, 120, 47, Qt::green));

    y.SetErrorStyle(vxcesRect);
    im = plot.render();
    EXPECT_TRUE(has(im, 80, 50, Qt::green));
    EXPECT_TRUE(has(im, 119, 50, Qt::green));
    EXPECT_TRUE(has(im, 100, 40, Qt::green));
    EXPECT_TRUE(has(im, 100, 59, Qt::green));
    EXPECT_FALSE(has(im, 100, 50, Qt::green));

    y.SetYPlusErrLine(9); // out of range: offset 0
    y.SetYMinusErrLine(-1);
    y.SetErrorStyle(vxcesCross);
    im = plot.render();
    EXPECT_FALSE(has(im, 100, 45, Qt::green));
    EXPECT_TRUE(has(im, 90, 50, Qt::green));
}

TEST(LinesPaint, GridAndBorder)
{
    Plot plot({}, {});
    VxChartBaseLinesClass &f = *plot.field;
    f.SetColor(QColor(175, 175, 175));
    f.SetShowGrid(true);
    f.SetXStep(2);  // columns 0, 40, 80, 120, 160
    f.SetYStep(50); // rows 99 - 0 and 99 - 50
    f.SetColorGridX(Qt::red);
    f.SetColorGridY(Qt::green);
    f.SetColorGridBorder(Qt::blue);
    QImage im = plot.render();
    EXPECT_TRUE(has(im, 40, 30, Qt::red));
    EXPECT_TRUE(has(im, 160, 30, Qt::red));
    EXPECT_FALSE(has(im, 41, 30, Qt::red));
    EXPECT_TRUE(has(im, 100, 49, Qt::green));
    EXPECT_FALSE(has(im, 100, 50, Qt::green));
    for (QPoint p : {QPoint(0, 50), QPoint(199, 50), QPoint(100, 0), QPoint(100, 99)})
        EXPECT_TRUE(has(im, p.x(), p.y(), Qt::blue)) << p.x() << "," << p.y();
    EXPECT_TRUE(has(im, 10, 10, QColor(175, 175, 175)));

    f.SetShowGrid(false);
    im = plot.render();
    EXPECT_TRUE(has(im, 40, 30, QColor(175, 175, 175)));
    EXPECT_TRUE(has(im, 0, 50, QColor(175, 175, 175)));

    f.SetTransparent(true);
    im = plot.render();
    EXPECT_TRUE(has(im, 10, 10, Qt::white));
}

TEST(LinesPaint, LegendSample)
{
    Plot plot({1}, {2});
    plot.y().SetPointStyle(vxcpsSquare);
    plot.y().SetPointSize(6);
    QImage templ(60, 20, QImage::Format_RGB888);
    templ.fill(Qt::white);
    QImage sample = plot.field->LegendSample(0, templ); // the first drawn column is column 1
    ASSERT_EQ(sample.size(), QSize(60, 20));
    EXPECT_TRUE(has(sample, 0, 10, Qt::blue));
    EXPECT_TRUE(has(sample, 59, 10, Qt::blue));
    EXPECT_TRUE(has(sample, 27, 8, Qt::red)); // square 27 .. 32 around (30, 10)
    EXPECT_TRUE(has(sample, 32, 8, Qt::red));
    EXPECT_TRUE(plot.field->LegendSample(1, templ).isNull());

    // The legend's cross has no extensions: arms (27, 7) .. (32, 12) and
    // (27, 13) .. (32, 8), each 6 pixels.
    plot.y().SetPointStyle(vxcpsCross);
    sample = plot.field->LegendSample(0, templ);
    for (QPoint on : {QPoint(27, 7), QPoint(32, 12), QPoint(27, 13), QPoint(32, 8)})
        EXPECT_TRUE(has(sample, on.x(), on.y(), Qt::red)) << on.x() << "," << on.y();
    for (QPoint off : {QPoint(33, 13), QPoint(27, 12), QPoint(33, 7)})
        EXPECT_FALSE(has(sample, off.x(), off.y(), Qt::red)) << off.x() << "," << off.y();

    plot.y().SetLineStyle(vxclsNone);
    sample = plot.field->LegendSample(0, templ);
    EXPECT_TRUE(has(sample, 5, 10, Qt::white));
}

TEST(LinesField, DoubleClickPicksAndOpensTheEditor)
{
    Plot plot({1, 5, 9}, {20, 60, 20});
    plot.panel.show();
    plot.render();
    int opened = 0;
    VxChartBaseLinesClass::EditorHook = [&](VxChartBaseLinesClass *f) {
        EXPECT_EQ(f, plot.field);
        ++opened;
    };
    auto dblClick = [&](QPoint local) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(local), QPointF(plot.field->mapToGlobal(local)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(plot.field, &e);
    };
    dblClick({178, 82});
    EXPECT_EQ(plot.field->PickedPoint(), 2);
    EXPECT_EQ(opened, 1);
    plot.field->SetAutoEditable(false);
    dblClick({22, 78});
    EXPECT_EQ(plot.field->PickedPoint(), 0);
    EXPECT_EQ(opened, 1);
    VxChartBaseLinesClass::EditorHook = nullptr;
}

TEST(LinesField, ZoomDragPaintsTheContentAndTheRubberBand)
{
    Plot plot({}, {});
    plot.field->SetColorGridBorder(Qt::white);
    plot.panel.show();
    auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(local), QPointF(plot.field->mapToGlobal(local)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(plot.field, &e);
    };
    send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    send(QEvent::MouseMove, {80, 60}, Qt::LeftButton);
    QImage im = plot.field->grab().toImage();
    EXPECT_TRUE(AxisIsDark(im, 20, 40)); // the band inverts the white field
    EXPECT_TRUE(AxisIsDark(im, 50, 60));
    EXPECT_FALSE(AxisIsDark(im, 50, 40));
    EXPECT_FALSE(AxisIsDark(im, 120, 40));
    send(QEvent::MouseButtonRelease, {80, 60}, Qt::NoButton);
    im = plot.field->grab().toImage();
    EXPECT_FALSE(AxisIsDark(im, 20, 40)); // gone once the drag ends
}

// During a zoom drag the content is drawn once and each move of the band
// repaints over that drawing: the band over the field as it was when the
// drag began, pixel for pixel.  Values written straight into a column (which
// tells nobody) show once the drag ends; a setter shows at once.
TEST(LinesField, ZoomDragMovesTheBandOverTheContentAsItWas)
{
    Plot plot({1, 5, 9}, {20, 60, 20});
    plot.panel.show();
    auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(local), QPointF(plot.field->mapToGlobal(local)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(plot.field, &e);
    };
    auto grab = [&] { return plot.field->grab().toImage().convertToFormat(QImage::Format_RGB888); };
    const QImage before = plot.render();
    send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    send(QEvent::MouseMove, {60, 50}, Qt::LeftButton);
    QImage expected = before;
    {
        QPainter p(&expected);
        plot.field->DrawRubberBand(p);
    }
    EXPECT_TRUE(grab() == expected);

    plot.y().Data()[1] = 90.0; // straight into the column: the middle point moves up to row 10
    send(QEvent::MouseMove, {120, 70}, Qt::LeftButton);
    expected = before;
    {
        QPainter p(&expected);
        plot.field->DrawRubberBand(p);
    }
    EXPECT_TRUE(grab() == expected) << "the band moved over the content as it was";

    plot.y().SetLineColor(Qt::darkGreen); // a setter: drawn anew at once
    EXPECT_GT(countColor(grab(), Qt::darkGreen), 100);
    EXPECT_TRUE(has(grab(), 100, 10, Qt::darkGreen)) << "with the value written before";

    send(QEvent::MouseButtonRelease, {120, 70}, Qt::NoButton);
    EXPECT_TRUE(grab() == plot.render()) << "no band once the drag ends";
}

TEST(LinesField, AssignAndFacade)
{
    Plot source({1, 2}, {3, 4});
    VxChartBaseLinesClass &s = *source.field;
    s.SetY2Begin(-5);
    s.SetY2End(5);
    s.SetRotated(true);
    s.SetXStep(0.5);
    s.SetColorGridBorder(Qt::red);
    s.SetAutoEditMinDistance(7);
    s.SetTransparent(true);
    s.SetColor(Qt::yellow);

    AxisMessagePanel panel;
    VxChartBaseLinesClassData a(&panel), b(&panel);
    a.Control()->Assign(s);
    VxChartBaseLinesClass &t = *a.Control();
    EXPECT_DOUBLE_EQ(t.XEnd(), 10);
    EXPECT_DOUBLE_EQ(t.Y2Begin(), -5);
    EXPECT_TRUE(t.Rotated());
    EXPECT_FALSE(t.ShowGrid());
    EXPECT_DOUBLE_EQ(t.XStep(), 0.5);
    EXPECT_EQ(t.ColorGridBorder(), QColor(Qt::red));
    EXPECT_EQ(t.AutoEditMinDistance(), 7);
    EXPECT_TRUE(t.Transparent());
    EXPECT_EQ(t.Color(), QColor(175, 175, 175)); // the colour is not part of the copy
    ASSERT_EQ(t.Lines()->LineCount(), 2);
    EXPECT_EQ((*t.Lines())[1]->Data(), (VxChartDataArray{3, 4}));

    a.SetColor(Qt::cyan);
    a.SetWidth(150);
    a.SetSelectable(false);
    b.Assign(a);
    EXPECT_EQ(b.Color(), QColor(Qt::cyan));
    EXPECT_EQ(b.Width(), 150);
    EXPECT_FALSE(b.Selectable());
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.AutoEditMinDistance(), 7);
    EXPECT_EQ(b.Lines()->LineCount(), 0); // the column list is not published
    b.SetLines(*a.Lines());
    EXPECT_EQ(b.Lines()->LineCount(), 2);
}

} // namespace
