// Axes: the scale update and tick tables, geometry and refusal rules, the
// notifications, and the painted line, ticks, labels and images.
#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxChartImageList.h"
#include "support/axis_message_panel.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ScaleRow
{
    double begin, end;
    int wanted;
    int exponent, index;
    double offset, currBegin, currEnd;
};

class AxisScaleTable : public ::testing::TestWithParam<ScaleRow>
{
};

TEST_P(AxisScaleTable, ChoosesStepOffsetAndDrawnRange)
{
    const ScaleRow r = GetParam();
    const VxChartAxisScale s = VxChartAxisScaleUpdate(r.begin, r.end, r.wanted);
    EXPECT_EQ(s.Exponent, r.exponent);
    EXPECT_EQ(s.Index, r.index);
    EXPECT_DOUBLE_EQ(s.Offset, r.offset);
    EXPECT_DOUBLE_EQ(s.CurrBegin, r.currBegin);
    EXPECT_DOUBLE_EQ(s.CurrEnd, r.currEnd);
}

// Counts for a range of 1: 26 21 11 6 3 3 2 1 1; for a range of 2 (default
// -1 .. 1): 51 41 21 11 6 5 3 2 1.
INSTANTIATE_TEST_SUITE_P(
    Rows, AxisScaleTable,
    ::testing::Values(ScaleRow{0, 1, 5, 0, 3, 0, 0, 1},                    // step 0.2
                      ScaleRow{0, 1, 4, 0, 4, 0, 0, 1},                    // 3 and 3 tie: lower index (0.4)
                      ScaleRow{1, 0, 5, 0, 3, 0, 1, 0},                    // reversed range, same step
                      ScaleRow{-1, 1, 8, 0, 4, 0, -1, 1},                  // the defaults: step 0.4
                      ScaleRow{0, 1000, 5, 3, 3, 0, 0, 1000},              // step 200
                      ScaleRow{1000.1, 1000.5, 5, -1, 6, 1000, 1000.1, 1000.5}, // step 0.1, offset 1000
                      ScaleRow{-1000.5, -1000.1, 5, -1, 6, -1010, -1000.5, -1000.1},
                      ScaleRow{0, 0, 8, 0, 3, 0, -0.5, 0.5},               // empty range at 0
                      ScaleRow{20, 20, 8, 1, 4, 0, 10, 30},                // counts 51 41 21 11 6 5 3 2 1
                      ScaleRow{-20, -20, 8, 1, 4, 0, -30, -10},            // upwards also below zero
                      // Time stamps: span 12000, e = 4, counts 31 25 13 7 ..., step 2000;
                      // offset 10^6 * F(1.7E9).
                      ScaleRow{1.7e15, 1.7e15 + 12000, 8, 4, 3, 1.7e15, 1.7e15, 1.7e15 + 12000},
                      // The same with a tenth of the span added on both sides: span
                      // 14400, counts 37 29 15 8 ...; 10^6 * F(1699999999.9988).
                      ScaleRow{1.7e15 - 1200, 1.7e15 + 13200, 8, 4, 3, 1.699999999e15, 1.7e15 - 1200,
                               1.7e15 + 13200},
                      // E - B is 8796 steps of 2^-43, just under 1E-9: e = -10, counts
                      // 250 200 100 50 25 20 10 5 3, step 1E-10; 10^-8 * F(1E11).
                      ScaleRow{1000, 1000.000000001, 8, -10, 6, 1000, 1000, 1000.000000001}));

TEST(AxisScale, HelpersFollowTheirTruncatingRules)
{
    EXPECT_EQ(VxChartFloor(2.5), 2);
    EXPECT_EQ(VxChartFloor(-2.5), -3);
    EXPECT_EQ(VxChartFloor(-2.0), -3); // trunc minus one for every negative value
    EXPECT_EQ(VxChartCeil(2.0), 3);
    EXPECT_EQ(VxChartCeil(-2.5), -2);
    EXPECT_EQ(VxChartFloor(1.7e12), 1.7e12); // far beyond any int
    EXPECT_EQ(VxChartFloor(-3e15 - 0.5), -3e15 - 1);
    EXPECT_EQ(VxChartCeil(1e11), 1e11 + 1);
    EXPECT_EQ(VxChartExp(0.0), 0);
    EXPECT_EQ(VxChartExp(0.4), -1);
    EXPECT_EQ(VxChartExp(1000.1), 3);
    EXPECT_EQ(VxChartExp(-20.0), 1);
    EXPECT_EQ(VxChartRound(2.5), 2);
    EXPECT_EQ(VxChartRound(3.5), 4);
    EXPECT_EQ(VxChartRound(-2.5), -2);
    EXPECT_EQ(VxChartRound(std::nan("")), 0);
}

TEST(AxisScale, TicksOfAForwardAndAReversedRange)
{
    // Length 300 with shifts 20 and 30: 250 pixels for a range of 1.
    const VxChartAxisScale forward = VxChartAxisScaleUpdate(0, 1, 5);
    double k = 0;
    const QList<VxChartAxisTick> f = VxChartAxisTicks(forward, 300, 20, 30, &k);
    EXPECT_DOUBLE_EQ(k, 250.0);
    QList<int> pos;
    for (const VxChartAxisTick &t : f)
        pos.append(t.Pos);
    EXPECT_EQ(pos, (QList<int>{20, 70, 120, 170, 220, 270, 320}));

    const QList<VxChartAxisTick> r = VxChartAxisTicks(VxChartAxisScaleUpdate(1, 0, 5), 300, 20, 30, &k);
    EXPECT_DOUBLE_EQ(k, -250.0);
    ASSERT_EQ(r.size(), 7);
    // Measured back from the last pixel before the end shift, 300 - 1 - 30:
    // value 0 (the end value) at 269, 0.2 at 219, value 1 at 19, one pixel
    // before the shifted span, so not drawn.
    EXPECT_EQ(r.first().Pos, 269);
    EXPECT_EQ(r.at(1).Pos, 219);
    EXPECT_EQ(r.at(5).Pos, 19);

    // The plotting field puts the grid lines of the reversed range on the
    // same pixels (its left edge lies at the begin shift).
    const QList<int> grid = VxChartGridPositions(0.2, 1, 0, 250, false);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(r.at(i).Pos - 20, grid.at(i)) << i;
}

TEST(AxisScale, OffsetLabelsOfANarrowRangeFarFromZero)
{
    const VxChartAxisScale s = VxChartAxisScaleUpdate(1000.1, 1000.5, 5);
    QStringList labels;
    for (const VxChartAxisTick &t : VxChartAxisTicks(s, 300, 20, 30))
        if (t.Pos >= 20 && t.Pos <= 270)
            labels.append(VxChartAxisLabel(s, t.Value));
    EXPECT_EQ(labels, (QStringList{" 1.00", " 2.00", " 3.00", " 4.00", " 5.00"}));
    EXPECT_EQ(VxChartAxisFactorPieces(s),
              (QList<VxChartAxisFactorPiece>{{"10", false}, {"-1", true}, {"   + 1.00000*10", false}, {"3", true}}));
    EXPECT_EQ(VxChartAxisFactorPieces(VxChartAxisScaleUpdate(-1000.5, -1000.1, 5)).at(2).Text,
              QString("   -1.01000*10"));
    EXPECT_EQ(VxChartAxisFactorPieces(VxChartAxisScaleUpdate(0, 1000, 5)),
              (QList<VxChartAxisFactorPiece>{{"10", false}, {"3", true}}));
}

// Ranges far from zero, with a span that is tiny beside their values: every
// tick in the span carries its label, counted from the offset.  Axis 300
// long, shifts 20 and 30.
struct FarRow
{
    double begin, end;
    QStringList labels;
    QList<VxChartAxisFactorPiece> factor;
};

TEST(AxisScale, TicksAndLabelsFarFromZero)
{
    const FarRow rows[] = {
        {1.7e15, 1.7e15 + 12000, // ticks 0 ... 12000 past the offset, every 2000
         {" 0.00", " 0.20", " 0.40", " 0.60", " 0.80", " 1.00", " 1.20"},
         {{"10", false}, {"4", true}, {"   + 1.70000*10", false}, {"15", true}}},
        {1.7e15 - 1200, 1.7e15 + 13200, // 998800 ... 1013200 past the offset
         {"100.00", "100.20", "100.40", "100.60", "100.80", "101.00", "101.20"},
         {{"10", false}, {"4", true}, {"   + 1.70000*10", false}, {"15", true}}},
        {1000, 1000.000000001, // 0 ... 9.99989E-10: the tick at 1E-9 rounds onto pixel 270
         {" 0.00", " 1.00", " 2.00", " 3.00", " 4.00", " 5.00", " 6.00", " 7.00", " 8.00", " 9.00", "10.00"},
         {{"10", false}, {"-10", true}, {"   + 1.00000*10", false}, {"3", true}}},
    };
    for (const FarRow &r : rows) {
        const VxChartAxisScale s = VxChartAxisScaleUpdate(r.begin, r.end, 8);
        QStringList labels;
        for (const VxChartAxisTick &t : VxChartAxisTicks(s, 300, 20, 30))
            if (t.Pos >= 20 && t.Pos <= 270)
                labels.append(VxChartAxisLabel(s, t.Value));
        EXPECT_EQ(labels, r.labels) << r.begin;
        EXPECT_EQ(VxChartAxisFactorPieces(s), r.factor) << r.begin;
    }
}

TEST(Axis, DefaultsAndGeometry)
{
    AxisMessagePanel panel;
    auto *axis = new VxChartBaseAxisClass(&panel);
    EXPECT_TRUE(axis->Ready());
    EXPECT_EQ(axis->width(), 100);
    EXPECT_EQ(axis->height(), 32);
    EXPECT_EQ(axis->BeginShift(), 20);
    EXPECT_EQ(axis->EndShift(), 50);
    EXPECT_EQ(axis->CenterPointLeft(), 0);
    EXPECT_EQ(axis->CenterPointTop(), 10);
    EXPECT_EQ(axis->AxisType(), vxcbatHorizontal);
    EXPECT_EQ(axis->MinorTicks(), 1);
    EXPECT_EQ(axis->WantedTicks(), 8);
    EXPECT_DOUBLE_EQ(axis->BeginValue(), -1.0);
    EXPECT_DOUBLE_EQ(axis->EndValue(), 1.0);
    EXPECT_DOUBLE_EQ(axis->Step(), 0.4);
    EXPECT_EQ(axis->Font().family(), QString("Times New Roman"));
    EXPECT_EQ(axis->Color(), QColor(Qt::black));

    // Horizontal: the centre point is the left end, the middle row.
    axis->SetCenterPointLeft(40);
    axis->SetCenterPointTop(200);
    EXPECT_EQ(axis->geometry(), QRect(40, 184, 100, 32));
    // Vertical: the element rises from its centre point, length kept.
    axis->SetAxisType(vxcbatVertical);
    EXPECT_EQ(axis->geometry(), QRect(24, 100, 32, 100));
    EXPECT_EQ(axis->Length(), 100);
    axis->SetLeft(50);
    EXPECT_EQ(axis->CenterPointLeft(), 66);
    axis->SetTop(20);
    EXPECT_EQ(axis->CenterPointTop(), 120);
    axis->SetLength(150); // re-bound around the centre point
    EXPECT_EQ(axis->geometry(), QRect(50, -30, 32, 150));
    axis->SetCenterPointTop(-5); // refused
    EXPECT_EQ(axis->CenterPointTop(), 120);
}

TEST(Axis, RefusedSettings)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClass axis(&panel);
    axis.SetBeginShift(60); // 60 + 50 would not stay below 100
    EXPECT_EQ(axis.BeginShift(), 20);
    axis.SetBeginShift(-1);
    EXPECT_EQ(axis.BeginShift(), 20);
    axis.SetBeginShift(49);
    EXPECT_EQ(axis.BeginShift(), 49);
    axis.SetEndShift(51);
    EXPECT_EQ(axis.EndShift(), 50);
    axis.SetWantedTicks(3);
    EXPECT_EQ(axis.WantedTicks(), 8);
    axis.SetWantedTicks(5);
    EXPECT_EQ(axis.WantedTicks(), 5);
    EXPECT_DOUBLE_EQ(axis.Step(), 0.5); // counts 51 41 21 11 6 5 ...: 5 hits exactly
    axis.SetBeginValue(std::nan(""));
    EXPECT_DOUBLE_EQ(axis.BeginValue(), -1.0);
}

TEST(Axis, Notifications)
{
    AxisMessagePanel panel;
    auto *axis = new VxChartBaseAxisClass(&panel);
    EXPECT_EQ(panel.Take(), QList<int>{}); // nothing while constructing

    axis->SetBeginValue(0);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_SCALECHANGED});
    axis->SetBeginValue(0);
    EXPECT_EQ(panel.Take(), QList<int>{});
    axis->SetWantedTicks(8); // unchanged, still recomputed
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_SCALECHANGED});
    axis->SetWantedTicks(3);
    EXPECT_EQ(panel.Take(), QList<int>{});
    axis->SetBeginShift(30);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_MOVED});
    axis->SetBeginShift(60);
    EXPECT_EQ(panel.Take(), QList<int>{});
    axis->SetCenterPointTop(100);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_MOVED});
    axis->SetWidth(200);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_RESIZED});
    axis->SetMinorTicks(3);
    EXPECT_EQ(panel.Take(), QList<int>{});

    axis->SetAxisType(vxcbatVertical);
    const QList<int> typeChange = panel.Take();
    EXPECT_TRUE(typeChange.contains(CM_AXIS_TYPECHANGED));
    EXPECT_TRUE(typeChange.contains(CM_AXIS_SCALECHANGED));
    EXPECT_EQ(axis->Length(), 200);

    QFont big = axis->Font();
    big.setPointSize(12);
    axis->SetFont(big);
    EXPECT_EQ(panel.Count(CM_AXIS_FONTCHANGED), 1);
    EXPECT_EQ(axis->width(), 48); // thickness 4 * 12 on a vertical axis
    big.setPointSize(6);
    axis->SetFont(big);
    EXPECT_EQ(axis->width(), 48); // never thinner

    axis->setVisible(false);
    EXPECT_EQ(panel.Count(CM_AXIS_SCALECHANGED), 1);
    axis->SetEndValue(5);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(panel.messages.size(), 1);
    EXPECT_EQ(panel.messages.first().element, axis);
}

// An axis from 0 to 1000 with 5 wanted ticks, 300 long on a 400 x 300 panel:
// step 200, 230 pixels for the range, ticks at 20, 66, 112, 158, 204, 250.
VxChartBaseAxisClass *makeAxis(QWidget *panel, int centerTop)
{
    auto *axis = new VxChartBaseAxisClass(panel);
    axis->SetCenterPointLeft(50);
    axis->SetCenterPointTop(centerTop);
    axis->SetLength(300);
    axis->SetBeginValue(0);
    axis->SetEndValue(1000);
    axis->SetWantedTicks(5);
    return axis;
}

QImage render(const VxChartBaseAxisClass &axis)
{
    return AxisRender(axis.width(), axis.height(), [&](QPainter &p) { axis.PaintAxis(p); });
}

TEST(AxisPaint, LineTicksAndArrowOnEitherSide)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClass *lower = makeAxis(&panel, 250); // below the middle
    lower->SetFontColor(Qt::white);                      // ticks only
    QImage im = render(*lower);
    EXPECT_TRUE(AxisIsDark(im, 0, 16));
    EXPECT_TRUE(AxisIsDark(im, 150, 16));
    EXPECT_TRUE(AxisIsDark(im, 66, 24));  // major tick: 4 up, 8 down
    EXPECT_TRUE(AxisIsDark(im, 66, 12));
    EXPECT_FALSE(AxisIsDark(im, 66, 10));
    EXPECT_FALSE(AxisIsDark(im, 67, 24));
    EXPECT_TRUE(AxisIsDark(im, 43, 22));  // minor tick halfway, outwards (down)
    EXPECT_FALSE(AxisIsDark(im, 43, 13));
    EXPECT_TRUE(AxisIsDark(im, 295, 14)); // arrow strokes back from the tip
    EXPECT_TRUE(AxisIsDark(im, 295, 18));
    EXPECT_FALSE(AxisIsDark(im, 270, 24)); // nothing past the end value

    VxChartBaseAxisClass *upper = makeAxis(&panel, 100);
    upper->SetFontColor(Qt::white);
    im = render(*upper);
    EXPECT_TRUE(AxisIsDark(im, 66, 8)); // 8 up, 4 down
    EXPECT_TRUE(AxisIsDark(im, 66, 20));
    EXPECT_FALSE(AxisIsDark(im, 66, 22));
    EXPECT_TRUE(AxisIsDark(im, 43, 10)); // minor tick upwards
    EXPECT_FALSE(AxisIsDark(im, 43, 19));
}

int darkIn(const QImage &im, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += AxisIsDark(im, x, y) ? 1 : 0;
    return n;
}

TEST(AxisPaint, LabelsAndFactorSitOnTheOuterSide)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClass *lower = makeAxis(&panel, 250);
    lower->SetColor(Qt::white); // text only
    QImage im = render(*lower);
    EXPECT_GT(darkIn(im, QRect(20, 17, 40, 15)), 10); // " 0.00" below the line
    EXPECT_EQ(darkIn(im, QRect(0, 0, 250, 15)), 0);   // nothing above it but the factor
    EXPECT_GT(darkIn(im, QRect(270, 0, 30, 15)), 5);  // "10" raised "3" at the top right

    VxChartBaseAxisClass *upper = makeAxis(&panel, 100);
    upper->SetColor(Qt::white);
    im = render(*upper);
    EXPECT_GT(darkIn(im, QRect(20, 0, 40, 16)), 10);
    EXPECT_EQ(darkIn(im, QRect(0, 17, 250, 15)), 0);
    EXPECT_GT(darkIn(im, QRect(270, 17, 30, 15)), 5);
}

TEST(AxisPaint, VerticalAxisInTheLeftHalf)
{
    // Height 250, shifts 20 and 50, range 0 .. 1 in steps of 0.2: ticks
    // 36 pixels apart from 20 up; the tick of 0.2 lies at y = 249 - 56.
    AxisMessagePanel panel;
    auto *axis = new VxChartBaseAxisClass(&panel);
    axis->SetAxisType(vxcbatVertical);
    axis->SetCenterPointLeft(50);
    axis->SetCenterPointTop(280);
    axis->SetLength(250);
    axis->SetBeginValue(0);
    axis->SetWantedTicks(5);
    ASSERT_EQ(axis->geometry(), QRect(34, 30, 32, 250));

    axis->SetFontColor(Qt::white);
    QImage im = render(*axis);
    EXPECT_TRUE(AxisIsDark(im, 16, 100)); // the line
    EXPECT_TRUE(AxisIsDark(im, 9, 193));  // tick: 8 to the left, 4 to the right
    EXPECT_TRUE(AxisIsDark(im, 20, 193));
    EXPECT_FALSE(AxisIsDark(im, 22, 193));

    axis->SetFontColor(Qt::black);
    axis->SetColor(Qt::white);
    im = render(*axis);
    EXPECT_GT(darkIn(im, QRect(0, 160, 15, 34)), 10); // rotated label left of the line, upwards
    EXPECT_EQ(darkIn(im, QRect(17, 40, 15, 210)), 0);  // right of it nothing below the factor
    EXPECT_GT(darkIn(im, QRect(17, 0, 15, 30)), 5);    // factor label at the top
}

TEST(AxisPaint, ImageListReplacesTicksAndArrow)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClass *axis = makeAxis(&panel, 250);
    axis->SetFontColor(Qt::white);
    VxChartImageList images;
    images.SetSize(5, 5);
    for (QColor c : {QColor(Qt::blue), QColor(Qt::green), QColor(Qt::red)}) {
        QImage square(5, 5, QImage::Format_RGB888);
        square.fill(c);
        images.Add(square);
    }
    axis->SetCurrImageList(&images);
    const QImage im = render(*axis);
    EXPECT_EQ(im.pixelColor(66, 16), QColor(Qt::blue)); // major tick image centred on the line
    EXPECT_FALSE(AxisIsDark(im, 66, 24));                // and no tick line
    EXPECT_EQ(im.pixelColor(43, 16), QColor(Qt::green)); // minor tick image
    EXPECT_EQ(im.pixelColor(297, 16), QColor(Qt::red));  // arrow image at the far end
}

TEST(AxisFacade, AssignTakesShiftsThatOnlyFitAsAPair)
{
    // Length 100: a begin shift of 60 fits next to an end shift of 10 but
    // not next to the default 50 of the receiving axis.
    AxisMessagePanel panel;
    VxChartBaseAxisClassData a(&panel), b(&panel);
    a.SetEndShift(10);
    a.SetBeginShift(60);
    ASSERT_EQ(a.BeginShift(), 60);
    b.Assign(a);
    EXPECT_EQ(b.BeginShift(), 60);
    EXPECT_EQ(b.EndShift(), 10);

    VxChartBaseAxisClass c(&panel);
    c.Assign(*a.Control());
    EXPECT_EQ(c.BeginShift(), 60);
    EXPECT_EQ(c.EndShift(), 10);
}

TEST(AxisFacade, AssignCopiesThePublishedProperties)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClassData a(&panel), b(&panel);
    a.SetAxisType(vxcbatVertical);
    QFont font = a.Font();
    font.setItalic(true);
    a.SetFont(font);
    a.SetFontColor(Qt::blue);
    a.SetCenterPointLeft(30);
    a.SetCenterPointTop(120);
    a.SetLength(250);
    a.SetBeginValue(5);
    a.SetEndValue(7);
    a.SetWantedTicks(6);
    a.SetMinorTicks(4);
    a.SetColor(Qt::red);
    a.SetAutoEditable(false);
    a.SetVisible(false);
    b.Assign(a);
    EXPECT_EQ(b.AxisType(), vxcbatVertical);
    EXPECT_TRUE(b.Font().italic());
    EXPECT_EQ(b.FontColor(), QColor(Qt::blue));
    EXPECT_EQ(b.Control()->geometry(), a.Control()->geometry());
    EXPECT_EQ(b.CenterPointTop(), 120);
    EXPECT_DOUBLE_EQ(b.BeginValue(), 5);
    EXPECT_DOUBLE_EQ(b.EndValue(), 7);
    EXPECT_DOUBLE_EQ(b.CurrEnd(), 7);
    EXPECT_DOUBLE_EQ(b.Step(), a.Step());
    EXPECT_EQ(b.WantedTicks(), 6);
    EXPECT_EQ(b.MinorTicks(), 4);
    EXPECT_EQ(b.Color(), QColor(Qt::red));
    EXPECT_FALSE(b.AutoEditable());
    EXPECT_FALSE(b.Visible());
}

} // namespace

namespace {

TEST(AxisPaint, OnScreenTheAxisLetsThePanelShowThrough)
{
    AxisMessagePanel panel;
    panel.setAutoFillBackground(true);
    QPalette pal = panel.palette();
    pal.setColor(QPalette::Window, QColor(160, 160, 160));
    panel.setPalette(pal);
    VxChartBaseAxisClass *axis = makeAxis(&panel, 250);
    panel.show();
    const QImage im = panel.grab().toImage();
    const QPoint origin = axis->pos();
    EXPECT_TRUE(AxisIsDark(im, origin.x() + 150, origin.y() + 16)); // the line
    EXPECT_EQ(im.pixelColor(origin.x() + 150, origin.y() + 4), QColor(160, 160, 160));
}

} // namespace

namespace {

TEST(Axis, ClicksAreReportedAndDoubleClicksOpenTheEditor)
{
    AxisMessagePanel panel;
    VxChartBaseAxisClass *axis = makeAxis(&panel, 250);
    panel.show();
    panel.Take();
    int opened = 0;
    VxChartBaseAxisClass::EditorHook = [&](VxChartBaseAxisClass *a) {
        EXPECT_EQ(a, axis);
        ++opened;
    };
    auto send = [&](QEvent::Type type) {
        const QPoint local(100, 16);
        QMouseEvent e(type, QPointF(local), QPointF(axis->mapToGlobal(local)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(axis, &e);
    };
    const QPoint before = axis->pos();
    send(QEvent::MouseButtonPress);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_CLICKED});
    send(QEvent::MouseButtonDblClick);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_DBLCLICK});
    axis->SetAutoEditable(false);
    send(QEvent::MouseButtonDblClick);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(panel.Take(), QList<int>{CM_AXIS_DBLCLICK});
    EXPECT_EQ(axis->pos(), before); // never dragged or selected
    EXPECT_FALSE(axis->Selected());
    VxChartBaseAxisClass::EditorHook = nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Label boxes: every label inside the element, none touching another, the
// factor label of a horizontal axis beyond the tick labels, and the painted
// text exactly where the boxes say.

struct LabelCase
{
    const char *name;
    bool vertical;
    int centre;   // centre point across the panel (400 x 300): picks the half
    int length;
    double begin, end;
    int pixelFont;  // 0: the axis keeps its default font and thickness
};

void PrintTo(const LabelCase &c, std::ostream *os)
{
    *os << c.name;
}

class AxisLabels : public ::testing::TestWithParam<LabelCase>
{
};

bool IsFontRed(const QImage &im, int x, int y)
{
    const QColor c = im.pixelColor(x, y);
    return c.red() > 160 && c.green() < 140 && c.blue() < 140;
}

TEST_P(AxisLabels, InsideApartAndPaintedWhereTheBoxesSay)
{
    const LabelCase &c = GetParam();
    AxisMessagePanel panel;
    auto *axis = new VxChartBaseAxisClass(&panel);
    if (c.vertical)
        axis->SetAxisType(vxcbatVertical);
    if (c.pixelFont > 0) {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(c.pixelFont);
        font.setBold(true);
        axis->SetFont(font);
    }
    if (c.vertical) {
        axis->SetCenterPointLeft(c.centre);
        axis->SetCenterPointTop(290);
    } else {
        axis->SetCenterPointLeft(20);
        axis->SetCenterPointTop(c.centre);
    }
    axis->SetLength(c.length);
    axis->SetBeginShift(0);
    axis->SetEndShift(12);
    axis->SetWantedTicks(5);
    axis->SetBeginValue(c.begin);
    axis->SetEndValue(c.end);
    axis->SetColor(Qt::white); // only the texts show
    axis->SetFontColor(Qt::red);

    const QList<VxChartAxisLabelBox> boxes = axis->LabelBoxes();
    const QRect element(QPoint(0, 0), axis->size());
    int ticks = 0;
    QRect factor, tickUnion;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const VxChartAxisLabelBox &b = boxes[i];
        EXPECT_TRUE(element.contains(b.rect)) << b.text.toStdString() << " clipped";
        for (qsizetype j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(b.rect.intersects(boxes[j].rect))
                << b.text.toStdString() << " touches " << boxes[j].text.toStdString();
        if (b.kind == VxChartAxisLabelBox::Tick) {
            ++ticks;
            tickUnion |= b.rect;
        } else {
            factor = b.rect;
        }
    }
    EXPECT_GE(ticks, 2);
    ASSERT_FALSE(factor.isNull());

    // The factor label ends at the far end of the axis.
    if (c.vertical) {
        EXPECT_EQ(factor.top(), 0);
    } else {
        EXPECT_EQ(factor.right(), element.right());
    }
    // A horizontal axis with a font of its own has it beyond the tick
    // labels: below them under the line, above them over it.
    if (!c.vertical && c.pixelFont > 0) {
        if (c.centre > 150) {
            EXPECT_GE(factor.top(), tickUnion.bottom() + 1);
        } else {
            EXPECT_LE(factor.bottom(), tickUnion.top() - 1);
        }
    }

    // Every red pixel lies in a box, and every box holds some.
    const QImage im = render(*axis);
    QRegion boxed;
    for (const VxChartAxisLabelBox &b : boxes)
        boxed += b.rect;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            if (IsFontRed(im, x, y)) {
                ASSERT_TRUE(boxed.contains(QPoint(x, y))) << "text outside the boxes at " << x << "," << y;
            }
    for (const VxChartAxisLabelBox &b : boxes) {
        int red = 0;
        for (int y = b.rect.top(); y <= b.rect.bottom(); ++y)
            for (int x = b.rect.left(); x <= b.rect.right(); ++x)
                red += IsFontRed(im, x, y) ? 1 : 0;
        EXPECT_GT(red, 5) << b.text.toStdString() << " not painted in its box";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, AxisLabels,
    ::testing::Values(
        // Heating curve axes as the results windows draw them: the last
        // tick lies right at the end value, its label would run past it.
        LabelCase{"TimeBelowTheField", false, 280, 362, 0, 16.0, 15},
        LabelCase{"TimeAboveTheField", false, 40, 362, 0, 16.0, 15},
        LabelCase{"TemperatureLeft", true, 40, 290, -200, 1200, 15},
        LabelCase{"CurrentRight", true, 360, 290, 0, 1.6e5, 15},
        // Short axes: the labels are thinned out.
        LabelCase{"ShortTime", false, 280, 120, 0, 1000, 15},
        LabelCase{"ShortTemperature", true, 40, 110, 20, 1000, 15},
        // A range far from zero carries an offset in the factor label.
        LabelCase{"Offset", false, 280, 362, 1000.1, 1000.5, 15},
        // The component's defaults: a thin axis in the default font.
        LabelCase{"DefaultFont", false, 280, 300, 0, 1000, 0}),
    [](const ::testing::TestParamInfo<LabelCase> &info) { return std::string(info.param.name); });

TEST(AxisLabels, ThinnedToEverySecondLabelWhereTheyWouldTouch)
{
    AxisMessagePanel panel;
    auto *axis = new VxChartBaseAxisClass(&panel);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    axis->SetFont(font);
    axis->SetCenterPointLeft(20);
    axis->SetCenterPointTop(280);
    axis->SetBeginShift(0);
    axis->SetEndShift(12);
    axis->SetWantedTicks(5);
    axis->SetBeginValue(0);
    axis->SetEndValue(1000);
    // 0 to 1000 in steps of 200, labels in thousands: six ticks.  On a long
    // axis all six carry labels; on 132 pixels the ticks lie 24 apart,
    // closer than a label is wide, and every second one keeps its label.
    auto tickTexts = [&] {
        QStringList texts;
        for (const VxChartAxisLabelBox &b : axis->LabelBoxes())
            if (b.kind == VxChartAxisLabelBox::Tick)
                texts << b.text.trimmed();
        return texts;
    };
    axis->SetLength(362);
    EXPECT_EQ(tickTexts(), (QStringList{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));
    axis->SetLength(132);
    EXPECT_EQ(tickTexts(), (QStringList{"0.00", "0.40", "0.80"}));
}
