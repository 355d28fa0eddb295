// The chart widget: construction, published properties, panel placement,
// the window's creation, notifications and their forwarding, resizing,
// AutoScale, zoom, legend, double-click events, bitmap and clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

#include "chart/VxUniChart2D.h"
#include "support/chart2d_helpers.h"

namespace {

QRect Bounds(VxChartBaseAxisClassData *a)
{
    return a->Control()->geometry();
}
QRect Bounds(VxChartBaseTextClassData *t)
{
    return t->Control()->geometry();
}
QRect Bounds(VxChartBaseLinesClassData *f)
{
    return f->Control()->geometry();
}

// ---------------------------------------------------------------------------
// Construction

TEST(Chart2dWidget, ConstructionPlacesTheElements)
{
    TVxUniChart2D chart;
    EXPECT_EQ(chart.size(), QSize(200, 200));
    EXPECT_EQ(chart.Panel()->geometry(), QRect(8, 8, 183, 183));
    EXPECT_FALSE(chart.HandleReady());

    // Origin 40 pixels from the bottom-left corner of the 183 by 183 panel.
    EXPECT_EQ(Bounds(chart.XAxis()), QRect(40, 127, 103, 32));
    EXPECT_EQ(chart.XAxis()->AxisType(), vxcbatHorizontal);
    EXPECT_EQ(Bounds(chart.YAxis()), QRect(24, 40, 32, 103));
    EXPECT_EQ(chart.YAxis()->AxisType(), vxcbatVertical);
    EXPECT_EQ(chart.YAxis2()->CenterPointLeft(), 143);
    EXPECT_EQ(chart.YAxis2()->CenterPointTop(), 143);
    EXPECT_EQ(chart.YAxis2()->Length(), 103);
    EXPECT_FALSE(chart.YAxis2()->Visible());
    EXPECT_EQ(Bounds(chart.MainField()), QRect(60, 90, 33, 33));

    EXPECT_EQ(chart.XCaption()->Text(), "<U>X Caption");
    EXPECT_EQ(chart.XCaption()->Top(), 153);
    EXPECT_EQ(chart.XCaption()->Left(), 50);
    EXPECT_EQ(chart.YCaption()->Text(), "<U>Y Caption");
    EXPECT_EQ(chart.YCaption()->TextOrientation(), vxcbto_90_Degrees);
    EXPECT_EQ(chart.YCaption()->Left(), 0);
    EXPECT_EQ(chart.YCaption()->Top(), 50);
    EXPECT_EQ(chart.YCaption2()->Text(), "<U>Y Caption 2");
    EXPECT_EQ(chart.YCaption2()->Left(), 127 + 32);
    EXPECT_FALSE(chart.YCaption2()->Visible());
    for (VxChartBaseTextClassData *c : {chart.XCaption(), chart.YCaption(), chart.YCaption2()}) {
        EXPECT_EQ(c->BorderStyle(), vxcbbsUp);
        EXPECT_EQ(c->InnerGap(), 2);
        EXPECT_EQ(c->OuterGap(), 2);
    }
    for (VxChartBaseTextClassData *c : {chart.XCaption(), chart.YCaption(), chart.YCaption2(), chart.MainCaption(),
                                        chart.LinesField(), chart.UserTextField()}) {
        EXPECT_EQ(c->Color(), QColor(192, 192, 192));
        EXPECT_TRUE(c->Transparent());
    }

    EXPECT_EQ(chart.MainCaption()->Text(), "<B>Main Caption");
    EXPECT_EQ(chart.MainCaption()->Font().pointSize(), 14);
    EXPECT_EQ(chart.MainCaption()->Top(), 0);
    EXPECT_EQ(chart.MainCaption()->BorderStyle(), vxcbbsUp);
    EXPECT_TRUE(chart.LinesField()->StringsArray().isEmpty());
    EXPECT_FALSE(chart.LinesField()->AutoEditable());
    EXPECT_EQ(chart.LinesField()->Font().pointSize(), 10);
    EXPECT_EQ(chart.LinesField()->Top(), 20);
    EXPECT_EQ(chart.LinesField()->BorderStyle(), vxcbbsDown);
    EXPECT_EQ(chart.UserTextField()->StringsArray(), QStringList({"User info field"}));
    EXPECT_EQ(chart.UserTextField()->BorderStyle(), vxcbbsDown);
}

// The title and the info boxes are placed from their size while they still
// have the default single-line border (frame 11); their own borders (frame
// 13) come afterwards and make them 4 pixels larger without moving them.
TEST(Chart2dWidget, ConstructionPlacesTitleAndInfoBoxesBeforeTheirBorders)
{
    TVxUniChart2D chart;
    const int P = 183; // panel width and height

    const VxChartBaseTextClassData *title = chart.MainCaption();
    EXPECT_EQ(title->Top(), 0);
    EXPECT_EQ(title->Left(), (P - (title->Width() - 4)) / 2);

    const VxChartBaseTextClassData *lines = chart.LinesField();
    EXPECT_EQ(Bounds(chart.LinesField()), QRect(P - 22, 20, 26, 26)) << "empty text: twice the frame";

    const VxChartBaseTextClassData *user = chart.UserTextField();
    EXPECT_EQ(user->Font().pointSize(), 10);
    EXPECT_EQ(user->Left(), P - (user->Width() - 4));
    EXPECT_EQ(user->Top(), P - (user->Height() - 4) - 25);
    EXPECT_EQ(lines->Font().pointSize(), 10);

    EXPECT_EQ(chart.YCaption2()->Top(), 50);
    EXPECT_EQ(chart.YCaption2()->TextOrientation(), vxcbto_90_Degrees);
}

TEST(Chart2dWidget, PublishedPropertiesInOrderWithDefaults)
{
    TVxUniChart2D chart;
    const QMetaObject *meta = chart.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << meta->property(i).name();
    EXPECT_EQ(names, QStringList({"MainField", "XCaption", "YCaption", "YCaption2", "MainCaption", "UserTextField",
                                  "LinesField", "XAxis", "YAxis", "YAxis2", "BevelOuter", "BevelInner",
                                  "BevelOuterWidth", "BevelInnerWidth", "GapOuter", "GapInOut", "GapInner",
                                  "BevelColor", "Color", "ResizeReaction", "BackLineDrawBitmap",
                                  "BackLineBitmapTransparent"}));
    EXPECT_EQ(chart.BevelOuter(), vxcbUp);
    EXPECT_EQ(chart.BevelInner(), vxcbDown);
    EXPECT_EQ(chart.BevelOuterWidth(), 2);
    EXPECT_EQ(chart.BevelInnerWidth(), 2);
    EXPECT_EQ(chart.GapOuter(), 2);
    EXPECT_EQ(chart.GapInOut(), 0);
    EXPECT_EQ(chart.GapInner(), 2);
    EXPECT_EQ(chart.BevelColor(), QColor(192, 192, 192));
    EXPECT_EQ(chart.Color(), QColor(160, 160, 160));
    EXPECT_EQ(chart.ResizeReaction(), vxcrrStandart);
    EXPECT_TRUE(chart.BackLineDrawBitmap().isNull());
    EXPECT_FALSE(chart.BackLineBitmapTransparent());
}

TEST(Chart2dWidget, FrameSettersPlaceThePanel)
{
    TVxUniChart2D chart;
    chart.SetBevelOuter(vxcbNone);
    EXPECT_EQ(chart.Panel()->geometry(), QRect(6, 6, 187, 187)) << "GapOuter stays in the inset";
    chart.SetGapInOut(5);
    chart.SetBevelInnerWidth(300); // a byte: at most 255
    EXPECT_EQ(chart.BevelInnerWidth(), 255);
    chart.SetBevelInnerWidth(1);
    EXPECT_EQ(chart.Panel()->geometry(), QRect(10, 10, 179, 179));
}

TEST(Chart2dWidget, FacadePropertyAssignsIntoTheChartsOwnElement)
{
    TVxUniChart2D a, b;
    b.XAxis()->SetBeginValue(10.0);
    b.XAxis()->SetEndValue(20.0);
    VxChartBaseAxisClassData *own = a.XAxis();
    a.setProperty("XAxis", QVariant::fromValue(b.XAxis()));
    EXPECT_EQ(a.XAxis(), own);
    EXPECT_EQ(a.XAxis()->EndValue(), 20.0);
    a.SetYCaption(b.XCaption());
    EXPECT_EQ(a.YCaption()->StringsArray(), QStringList({"<U>X Caption"}));
}

TEST(Chart2dWidget, AssignCopiesFrameElementsAndTemplate)
{
    TVxUniChart2D a, b;
    b.SetBevelInner(vxcbUpFlat);
    b.SetGapOuter(4);
    b.SetBevelColor(Qt::blue);
    b.SetColor(Qt::white);
    b.SetResizeReaction(vxcrrNone);
    b.SetBackLineBitmapTransparent(true);
    b.MainCaption()->SetText("Title");
    b.YAxis()->SetEndValue(500.0);
    b.MainField()->SetShowGrid(false);
    QImage back(8, 4, QImage::Format_RGB32);
    back.fill(Qt::green);
    b.SetBackLineDrawBitmap(back);

    a.Assign(b);
    EXPECT_EQ(a.BevelInner(), vxcbUpFlat);
    EXPECT_EQ(a.GapOuter(), 4);
    EXPECT_EQ(a.BevelColor(), QColor(Qt::blue));
    EXPECT_EQ(a.Color(), QColor(Qt::white));
    EXPECT_EQ(a.ResizeReaction(), vxcrrNone);
    EXPECT_TRUE(a.BackLineBitmapTransparent());
    EXPECT_EQ(a.MainCaption()->StringsArray(), QStringList({"Title"}));
    EXPECT_EQ(a.YAxis()->EndValue(), 500.0);
    EXPECT_FALSE(a.MainField()->ShowGrid());
    EXPECT_EQ(a.BackLineDrawBitmap().size(), QSize(8, 4));
    EXPECT_EQ(a.BackLineDrawBitmap().format(), QImage::Format_RGB888);
    EXPECT_EQ(a.Panel()->geometry(), QRect(10, 10, 179, 179));
}

TEST(Chart2dWidget, DestroysElementsThenPanelThenImageList)
{
    auto chart = std::make_unique<TVxUniChart2D>();
    QStringList order;
    auto watch = [&order](QObject *o, const QString &name) {
        QObject::connect(o, &QObject::destroyed, [&order, name] { order << name; });
    };
    watch(chart->XAxis()->Control(), "XAxis");
    watch(chart->YAxis()->Control(), "YAxis");
    watch(chart->YAxis2()->Control(), "YAxis2");
    watch(chart->MainField()->Control(), "MainField");
    watch(chart->XCaption()->Control(), "XCaption");
    watch(chart->YCaption()->Control(), "YCaption");
    watch(chart->YCaption2()->Control(), "YCaption2");
    watch(chart->LinesField()->Control(), "LinesField");
    watch(chart->MainCaption()->Control(), "MainCaption");
    watch(chart->UserTextField()->Control(), "UserTextField");
    watch(chart->Panel(), "panel");
    watch(chart->ImageList(), "images");
    chart.reset();
    EXPECT_EQ(order, QStringList({"XAxis", "YAxis", "YAxis2", "MainField", "XCaption", "YCaption", "YCaption2",
                                  "LinesField", "MainCaption", "UserTextField", "panel", "images"}));
}

// ---------------------------------------------------------------------------
// The window's creation and forwarding

// A size change before the window exists moves nothing; once shown the
// chart has the layout its size calls for, as if it had been shown at its
// first size and resized: from the 183 by 183 panel to 383 by 283 the x axis
// moves down by 100 and grows by 200, the y axis grows by 100.
TEST(Chart2dWindow, SizedBeforeShownGetsTheLayoutOfItsSize)
{
    TVxUniChart2D chart;
    chart.resize(400, 300);
    Chart2dDrain();
    EXPECT_EQ(Bounds(chart.XAxis()), QRect(40, 127, 103, 32));
    EXPECT_EQ(Bounds(chart.YAxis()), QRect(24, 40, 32, 103));

    chart.show();
    Chart2dDrain();
    EXPECT_TRUE(chart.HandleReady());
    EXPECT_EQ(chart.Panel()->geometry(), QRect(8, 8, 383, 283));
    EXPECT_EQ(chart.OldPanelSize(), QSize(383, 283));
    EXPECT_EQ(Bounds(chart.XAxis()), QRect(40, 227, 303, 32));
    EXPECT_EQ(Bounds(chart.YAxis()), QRect(24, 40, 32, 203));
    EXPECT_EQ(Bounds(chart.MainField()), QRect(60, 90, 233, 133));
}

TEST(Chart2dWindow, RangesReachTheFieldOnlyOnceTheWindowExists)
{
    TVxUniChart2D chart;
    chart.XAxis()->SetBeginValue(0.0);
    chart.XAxis()->SetEndValue(100.0);
    Chart2dDrain();
    EXPECT_EQ(chart.MainField()->Control()->XEnd(), 1.0) << "not forwarded before the window exists";

    chart.show();
    Chart2dDrain();
    const VxChartBaseLinesClass *field = chart.MainField()->Control();
    EXPECT_EQ(field->XBegin(), 0.0);
    EXPECT_EQ(field->XEnd(), 100.0);
    EXPECT_EQ(field->XStep(), chart.XAxis()->Step());
    EXPECT_GT(field->XStep(), 0.0);
    EXPECT_EQ(field->Y2Step(), 0.0) << "a hidden axis gives no grid";
    EXPECT_FALSE(field->Rotated());
}

TEST(Chart2dWindow, FieldPlacedBeforeShowingTakesTheAxesAlong)
{
    // As a window sets up its chart: the axes' crossing first, the field last.
    TVxUniChart2D chart;
    chart.resize(441, 369);
    chart.XAxis()->SetCenterPointTop(300);
    chart.YAxis()->SetCenterPointLeft(50);
    chart.MainField()->SetLeft(58);
    chart.MainField()->SetTop(16);
    chart.MainField()->SetWidth(350);
    chart.MainField()->SetHeight(278);
    Chart2dDrain();
    chart.show();
    Chart2dDrain();
    EXPECT_EQ(Bounds(chart.MainField()), QRect(58, 16, 350, 278));
    EXPECT_EQ(chart.XAxis()->Left(), 38);
    EXPECT_EQ(chart.XAxis()->Length(), 420);
    EXPECT_EQ(chart.YAxis()->Length(), 348);
    EXPECT_EQ(chart.YAxis()->Top(), 16 - 50);
    EXPECT_EQ(chart.XAxis()->CenterPointTop(), 300);
    EXPECT_EQ(chart.YAxis()->CenterPointLeft(), 50);
    // The captions follow: below the x axis' labels, left of the y axis.
    EXPECT_EQ(chart.XCaption()->Top(), Chart2dBelowTickLabels(chart.XAxis()));
    EXPECT_EQ(chart.YCaption()->Left() + chart.YCaption()->Width(), chart.YAxis()->Left());
}

TEST(Chart2dWindow, DestroyedWithNotificationsPending)
{
    auto chart = std::make_unique<TVxUniChart2D>();
    chart->show();
    chart->MainField()->Lines()->SetLineCount(2);
    chart->XAxis()->SetEndValue(50.0);
    chart->MainCaption()->SetText("a longer title than before");
    chart.reset();
    Chart2dDrain(); // the queued messages died with their receivers
    SUCCEED();
}

// ---------------------------------------------------------------------------
// Notifications

TEST(Chart2dMessages, ResizeMovesFarAxisGrowsAxesAndMovesCaptions)
{
    auto chart = Chart2dShown();
    chart->resize(400, 300);
    Chart2dDrain();
    EXPECT_EQ(chart->LastSizeChange(), QSize(0, 0)) << "later relayouts find no further change";
    EXPECT_EQ(chart->OldPanelSize(), QSize(383, 283));
    EXPECT_EQ(Bounds(chart->XAxis()), QRect(40, 227, 303, 32));
    EXPECT_EQ(Bounds(chart->YAxis()), QRect(24, 40, 32, 203));
    EXPECT_EQ(Bounds(chart->YAxis2()), QRect(327, 40, 32, 203));
    EXPECT_EQ(Bounds(chart->MainField()), QRect(60, 90, 233, 133));

    const QRect xc = Bounds(chart->XCaption());
    EXPECT_EQ(xc.top(), Chart2dBelowTickLabels(chart->XAxis()));
    EXPECT_LT(xc.top(), 227 + 32) << "closer than the element's edge";
    EXPECT_EQ(xc.left(), 40 + 151 - xc.width() / 2);
    const QRect yc = Bounds(chart->YCaption());
    EXPECT_EQ(yc.right() + 1, 24);
    EXPECT_EQ(yc.top(), 40 + 101 - yc.height() / 2);
    const QRect mc = Bounds(chart->MainCaption());
    EXPECT_EQ(mc.topLeft(), QPoint((383 - mc.width()) / 2, 0));
    const QRect lf = Bounds(chart->LinesField());
    EXPECT_EQ(lf.topLeft(), QPoint(383 - lf.width() - 10, mc.height() + 10));
    const QRect ut = Bounds(chart->UserTextField());
    EXPECT_EQ(ut.topLeft(), QPoint(383 - ut.width() - 10, lf.top() + lf.height() + 10));
}

// Shrinking to less than half the height brings the x axis, which moves with
// the bottom edge, above the middle of the panel as it was.  Once settled the
// captions are judged by where the axis lies now: title at the top, the x
// caption below the axis.
TEST(Chart2dMessages, ShrinkingBelowHalfKeepsTheTitleAtTheTop)
{
    auto chart = Chart2dShown();
    chart->resize(800, 600);
    Chart2dDrain();
    chart->resize(400, 300);
    Chart2dDrain();
    EXPECT_EQ(chart->OldPanelSize(), QSize(383, 283));
    EXPECT_EQ(Bounds(chart->XAxis()), QRect(40, 227, 303, 32));
    EXPECT_EQ(Bounds(chart->XCaption()).top(), Chart2dBelowTickLabels(chart->XAxis()));
    const QRect mc = Bounds(chart->MainCaption());
    EXPECT_EQ(mc.topLeft(), QPoint((383 - mc.width()) / 2, 0));
    const QRect lf = Bounds(chart->LinesField());
    EXPECT_EQ(lf.top(), mc.height() + 10);
}

TEST(Chart2dMessages, ShrinkingToNothingAndBackSettles)
{
    auto chart = Chart2dShown();
    chart->resize(10, 10);
    Chart2dDrain();
    EXPECT_EQ(chart->Panel()->size(), QSize(0, 0));
    EXPECT_LE(chart->XAxis()->Length(), 20 + 50); // no longer than its shifts
    EXPECT_GE(chart->MainField()->Width(), 0);
    chart->resize(300, 300);
    Chart2dDrain();
    EXPECT_EQ(chart->OldPanelSize(), QSize(283, 283));
    EXPECT_EQ(Bounds(chart->MainField()),
              VxChartFieldFromAxes(chart->CurrentLayout().XAxis, chart->CurrentLayout().YAxis));
    EXPECT_FALSE(chart->CreateBitmap().isNull());
}

// Where every element of a chart lies.
struct Chart2dPlaces
{
    QList<QPair<const char *, QRect>> rects;

    explicit Chart2dPlaces(TVxUniChart2D &c)
        : rects{{"XAxis", Bounds(c.XAxis())},
                {"YAxis", Bounds(c.YAxis())},
                {"YAxis2", Bounds(c.YAxis2())},
                {"MainField", Bounds(c.MainField())},
                {"XCaption", Bounds(c.XCaption())},
                {"YCaption", Bounds(c.YCaption())},
                {"YCaption2", Bounds(c.YCaption2())},
                {"MainCaption", Bounds(c.MainCaption())},
                {"LinesField", Bounds(c.LinesField())},
                {"UserTextField", Bounds(c.UserTextField())}}
    {
    }

    // Every element within `tolerance` pixels of its place in `other`, edge
    // by edge.
    void ExpectNear(const Chart2dPlaces &other, int tolerance, const char *what) const
    {
        for (int i = 0; i < rects.size(); ++i) {
            const QRect a = rects[i].second, b = other.rects[i].second;
            const bool near = std::abs(a.left() - b.left()) <= tolerance && std::abs(a.top() - b.top()) <= tolerance
                              && std::abs(a.width() - b.width()) <= tolerance
                              && std::abs(a.height() - b.height()) <= tolerance;
            EXPECT_TRUE(near) << what << ": " << rects[i].first << " at " << a.x() << "," << a.y() << " "
                              << a.width() << "x" << a.height() << ", expected " << b.x() << "," << b.y() << " "
                              << b.width() << "x" << b.height();
        }
    }
};

struct ResizeTrip
{
    const char *name;
    QSize start;
    QList<QSize> via;
    bool secondYAxis = false;
    bool verticalX = false;
};

// Shrinking and growing back gives the layout back, whatever sizes the chart
// goes through, also sizes too small for its axes.
TEST(Chart2dResize, RoundTripsEndWhereTheyStarted)
{
    const ResizeTrip trips[] = {
        {"via 400x200", {820, 600}, {{400, 200}}},
        {"via 120x90", {820, 600}, {{120, 90}}},
        {"via 1x1", {820, 600}, {{1, 1}}},
        {"the long way", {820, 600}, {{1, 1}, {120, 90}, {2000, 1500}, {300, 900}, {900, 300}, {60, 600}}},
        {"from the default size", {200, 200}, {{820, 600}, {1, 1}, {120, 90}}},
        {"second y axis", {820, 600}, {{120, 90}, {1, 1}, {500, 80}}, true},
        {"vertical x axis", {820, 600}, {{120, 90}, {1, 1}, {1600, 400}}, false, true},
    };
    for (const ResizeTrip &trip : trips) {
        auto chart = Chart2dShown(trip.start.width(), trip.start.height());
        chart->YAxis2()->SetVisible(trip.secondYAxis);
        chart->YCaption2()->SetVisible(trip.secondYAxis);
        if (trip.verticalX)
            chart->XAxis()->SetAxisType(vxcbatVertical);
        Chart2dDrain();
        chart->Relayout(); // the boxes placed for the second axis too
        Chart2dDrain();
        const Chart2dPlaces start(*chart);
        for (const QSize &size : trip.via) {
            chart->resize(size);
            Chart2dDrain();
        }
        chart->resize(trip.start);
        Chart2dDrain();
        Chart2dPlaces(*chart).ExpectNear(start, 1, trip.name);
        EXPECT_EQ(Bounds(chart->MainField()),
                  VxChartFieldFromAxes(chart->CurrentLayout().XAxis, chart->CurrentLayout().YAxis))
            << trip.name;
    }
}

// A chart sized before it is first shown, in any order, shows the layout of
// a chart shown first and resized afterwards.  On the 803 x 583 panel of an
// 820 x 600 chart the x axis lies 40 pixels above the bottom (centre point
// 543, 723 long), the y axis rises from there to 40 pixels below the top.
TEST(Chart2dResize, SizedBeforeShowingInAnyOrder)
{
    QWidget window;
    auto *inLayout = new TVxUniChart2D;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inLayout);
    window.resize(820, 600);
    window.show();
    Chart2dDrain();
    ASSERT_EQ(inLayout->size(), QSize(820, 600));
    EXPECT_EQ(Bounds(inLayout->XAxis()), QRect(40, 527, 723, 32));
    EXPECT_EQ(Bounds(inLayout->YAxis()), QRect(24, 40, 32, 503));
    EXPECT_EQ(Bounds(inLayout->MainField()), QRect(60, 90, 653, 433));
    EXPECT_EQ(Bounds(inLayout->YAxis2()), QRect(747, 40, 32, 503)) << "on the right, 40 from the edge";

    auto shownFirst = Chart2dShown();
    shownFirst->resize(820, 600);
    Chart2dDrain();
    Chart2dPlaces(*inLayout).ExpectNear(Chart2dPlaces(*shownFirst), 0, "in a layout");

    // Sized, then shown and sized again before the notices arrive.
    TVxUniChart2D late;
    late.resize(300, 700);
    late.show();
    late.resize(820, 600);
    Chart2dDrain();
    Chart2dPlaces(late).ExpectNear(Chart2dPlaces(*shownFirst), 0, "resized while showing");
}

TEST(Chart2dMessages, NoReactionKeepsTheAxes)
{
    auto chart = Chart2dShown();
    chart->SetResizeReaction(vxcrrNone);
    chart->resize(400, 300);
    Chart2dDrain();
    EXPECT_EQ(Bounds(chart->XAxis()), QRect(40, 127, 103, 32));
    EXPECT_EQ(Bounds(chart->MainField()), QRect(60, 90, 33, 33));
}

TEST(Chart2dMessages, BurstOfCaptionChangesCostsOneRelayout)
{
    auto chart = Chart2dShown();
    Chart2dMessageCounter relayouts(chart.get(), CM_CHART_RELAYOUT);
    chart->XCaption()->SetText("<U>t [s]");
    chart->MainCaption()->SetText("<B>Temperature");
    chart->UserTextField()->SetText("two\nlines");
    Chart2dDrain();
    EXPECT_EQ(relayouts.count, 1);
    EXPECT_FALSE(chart->Panel()->RelayoutQueued());
    // The new sizes were arranged: the title is centred again.
    const QRect mc = Bounds(chart->MainCaption());
    EXPECT_EQ(mc.left(), (183 - mc.width()) / 2);
}

TEST(Chart2dMessages, CaptionResizedUnderTheMouseDoesNotRelayout)
{
    auto chart = Chart2dShown();
    Chart2dMessageCounter relayouts(chart.get(), CM_CHART_RELAYOUT);
    VxChartBaseTextClass *box = chart->UserTextField()->Control();
    box->Select(true);
    box->SetBounds(box->Left(), box->Top(), box->Width() + 20, box->Height());
    Chart2dDrain();
    EXPECT_EQ(relayouts.count, 0);
}

TEST(Chart2dMessages, AxisFontIsSharedWithTheOtherAxes)
{
    auto chart = Chart2dShown();
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(15);
    f.setBold(true);
    chart->XAxis()->SetFont(f);
    chart->XAxis()->SetFontColor(Qt::darkRed);
    Chart2dDrain();
    for (VxChartBaseAxisClassData *a : {chart->YAxis(), chart->YAxis2()}) {
        EXPECT_EQ(a->Font(), f);
        EXPECT_EQ(a->FontColor(), QColor(Qt::darkRed));
    }
}

TEST(Chart2dMessages, VerticalXAxisTurnsTheYAxesAndRotatesTheField)
{
    auto chart = Chart2dShown();
    chart->XAxis()->SetAxisType(vxcbatVertical);
    Chart2dDrain();
    EXPECT_EQ(chart->YAxis()->AxisType(), vxcbatHorizontal);
    EXPECT_EQ(chart->YAxis2()->AxisType(), vxcbatHorizontal);
    EXPECT_TRUE(chart->MainField()->Control()->Rotated());
    // The field lies between the turned axes.
    const VxChartLayout l = chart->CurrentLayout();
    EXPECT_EQ(Bounds(chart->MainField()), VxChartFieldFromAxes(l.XAxis, l.YAxis));
}

TEST(Chart2dMessages, MovingTheFieldMovesTheAxes)
{
    auto chart = Chart2dShown(400, 300);
    chart->MainField()->SetLeft(100);
    chart->MainField()->SetHeight(150);
    Chart2dDrain();
    EXPECT_EQ(chart->XAxis()->Left(), 80);
    EXPECT_EQ(chart->YAxis()->Length(), 220);
    EXPECT_EQ(chart->YAxis()->Top() + chart->YAxis()->EndShift(), chart->MainField()->Top());
    EXPECT_EQ(chart->YAxis2()->Length(), 220) << "YAxis2 follows YAxis";
}

TEST(Chart2dMessages, AxesAndFieldSetInOneGoSettleOnTheLastSetting)
{
    auto chart = Chart2dShown(400, 300);
    // Both sides change before any notice arrives; the field was set last.
    chart->XAxis()->SetEndShift(10);
    chart->YAxis()->SetLength(150);
    chart->MainField()->SetLeft(70);
    chart->MainField()->SetWidth(250);
    Chart2dDrain();
    EXPECT_EQ(Bounds(chart->MainField()), QRect(70, 90, 250, 133));
    EXPECT_EQ(chart->XAxis()->Left(), 50);
    EXPECT_EQ(chart->XAxis()->Length(), 280);

    // Only the axes change: the field follows them.
    chart->YAxis()->SetLength(200);
    Chart2dDrain();
    EXPECT_EQ(chart->MainField()->Height(), 130);
    EXPECT_EQ(chart->MainField()->Top(), chart->YAxis()->Top() + 50);
}

TEST(Chart2dMessages, PressOnTheBarePanelDeselects)
{
    auto chart = Chart2dShown(400, 300);
    VxChartBaseTextClass *caption = chart->MainCaption()->Control();
    caption->Select(true);
    ASSERT_TRUE(caption->Selected());
    // A press on the field passes through to the panel but is not a press
    // on the bare panel.
    QTest::mousePress(chart->Panel(), Qt::LeftButton, {}, Bounds(chart->MainField()).center());
    EXPECT_TRUE(caption->Selected());
    QTest::mouseRelease(chart->Panel(), Qt::LeftButton, {}, Bounds(chart->MainField()).center());
    caption->Select(true); // the click selected the field, which deselected the caption

    const QPoint bare(Bounds(chart->MainField()).right() + 5, Bounds(chart->MainField()).center().y());
    ASSERT_EQ(chart->Panel()->childAt(bare), nullptr);
    QTest::mouseClick(chart->Panel(), Qt::LeftButton, {}, bare);
    EXPECT_FALSE(caption->Selected());
}

TEST(Chart2dMessages, DoubleClicksRaiseTheElementsEvents)
{
    auto chart = Chart2dShown(400, 300);
    QSignalSpy xAxis(chart.get(), &TVxUniChart2D::OnXAxisDblClick);
    QSignalSpy yAxis(chart.get(), &TVxUniChart2D::OnYAxisDblClick);
    QSignalSpy xCaption(chart.get(), &TVxUniChart2D::OnXAxisCaptionDblClick);
    QSignalSpy title(chart.get(), &TVxUniChart2D::OnMainCaptionDblClick);
    QSignalSpy field(chart.get(), &TVxUniChart2D::OnMainFieldDblClick);
    QSignalSpy info(chart.get(), &TVxUniChart2D::OnUserInfoFieldDblClick);

    chart->XAxis()->SetAutoEditable(false);
    chart->MainField()->SetAutoEditable(false);
    for (VxChartBaseTextClassData *t : {chart->XCaption(), chart->MainCaption()})
        t->SetAutoEditable(false);
    QTest::mouseDClick(chart->XAxis()->Control(), Qt::LeftButton, {}, QPoint(30, 16));
    QTest::mouseDClick(chart->XCaption()->Control(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(chart->MainCaption()->Control(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(chart->MainField()->Control(), Qt::LeftButton, {}, QPoint(10, 10));
    Chart2dDrain();
    EXPECT_EQ(xAxis.count(), 1);
    EXPECT_EQ(yAxis.count(), 0);
    EXPECT_EQ(xCaption.count(), 1);
    EXPECT_EQ(title.count(), 1);
    EXPECT_EQ(field.count(), 1);
    EXPECT_EQ(info.count(), 0);
    ASSERT_EQ(field.count(), 1);
    EXPECT_EQ(field.at(0).at(0).value<QObject *>(), chart.get());
}

// ---------------------------------------------------------------------------
// AutoScale and zoom

void FillTemperature(TVxUniChart2D &chart)
{
    VxChartBaseLineArray *lines = chart.MainField()->Lines();
    lines->SetLineCount(2);
    lines->SetPointCount(50);
    lines->Line(0)->SetDataType(vxcldXData);
    lines->Line(1)->SetErrorStyle(vxcesNone);
    lines->Line(1)->SetDataType(vxcldYData);
    for (int i = 0; i < 50; ++i) {
        lines->Line(0)->Data()[i] = 5.0 * i;
        lines->Line(1)->Data()[i] = 20.0 + 20.0 * i;
    }
    lines->Line(1)->SetLineColor(QColor(0, 0, 255));
    lines->Line(1)->SetPointColor(QColor(0, 0, 127));
    lines->Line(1)->SetErrorColor(QColor(0, 0, 96));
    lines->Line(1)->SetPointSize(6);
    lines->Line(1)->SetXLine(0);
}

TEST(Chart2dAutoScaleWidget, SetsTheAxesAndTheFieldRanges)
{
    auto chart = Chart2dShown(441, 369);
    FillTemperature(*chart);
    chart->AutoScale(10.0);
    EXPECT_DOUBLE_EQ(chart->XAxis()->BeginValue(), -24.5);
    EXPECT_DOUBLE_EQ(chart->XAxis()->EndValue(), 269.5);
    EXPECT_DOUBLE_EQ(chart->YAxis()->BeginValue(), -78.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->EndValue(), 1098.0);
    EXPECT_EQ(chart->YAxis2()->BeginValue(), 0.0);
    EXPECT_EQ(chart->YAxis2()->EndValue(), 0.0);
    Chart2dDrain();
    const VxChartBaseLinesClass *field = chart->MainField()->Control();
    EXPECT_DOUBLE_EQ(field->YBegin(), -78.0);
    EXPECT_DOUBLE_EQ(field->YEnd(), 1098.0);
    EXPECT_EQ(field->Y2Begin(), -0.5) << "an empty range is widened by the axis";
    EXPECT_EQ(field->Y2End(), 0.5);
}

TEST(Chart2dAutoScaleWidget, EqualTemperaturesDrawHalfToOneAndAHalf)
{
    auto chart = Chart2dShown();
    VxChartBaseLineArray *lines = chart->MainField()->Lines();
    lines->SetLineCount(1);
    lines->SetPointCount(3);
    for (int i = 0; i < 3; ++i)
        lines->Line(0)->Data()[i] = 20.0;
    chart->AutoScale(10.0);
    Chart2dDrain();
    EXPECT_EQ(chart->YAxis()->BeginValue(), 20.0);
    EXPECT_EQ(chart->YAxis()->EndValue(), 20.0);
    EXPECT_EQ(chart->MainField()->Control()->YBegin(), 10.0);
    EXPECT_EQ(chart->MainField()->Control()->YEnd(), 30.0);
}

TEST(Chart2dZoom, DragOverTheFieldZoomsTheAxes)
{
    auto chart = Chart2dShown(400, 300);
    VxChartBaseLinesClassData *field = chart->MainField();
    field->SetWidth(200);
    field->SetHeight(100);
    chart->XAxis()->SetBeginValue(0.0);
    chart->XAxis()->SetEndValue(100.0);
    chart->YAxis()->SetBeginValue(0.0);
    chart->YAxis()->SetEndValue(50.0);
    Chart2dDrain();
    ASSERT_EQ(Bounds(field).size(), QSize(200, 100));

    QWidget *f = field->Control();
    QTest::mousePress(f, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mouseMove(f, QPoint(150, 80));
    QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(150, 80));
    Chart2dDrain();
    EXPECT_DOUBLE_EQ(chart->XAxis()->BeginValue(), 25.0);
    EXPECT_DOUBLE_EQ(chart->XAxis()->EndValue(), 75.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->BeginValue(), 10.0); // bottom edge 80 of 100
    EXPECT_DOUBLE_EQ(chart->YAxis()->EndValue(), 40.0);   // top edge 20
    EXPECT_DOUBLE_EQ(field->Control()->XBegin(), 25.0);
    EXPECT_DOUBLE_EQ(field->Control()->XEnd(), 75.0);
    EXPECT_FALSE(field->Control()->Selected());

    // A drag of 3 by 2 pixels is a click, not a zoom.
    QTest::mousePress(f, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mouseMove(f, QPoint(53, 22));
    QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(53, 22));
    Chart2dDrain();
    EXPECT_DOUBLE_EQ(chart->XAxis()->BeginValue(), 25.0);
    EXPECT_DOUBLE_EQ(chart->XAxis()->EndValue(), 75.0);

    // A purely horizontal drag zooms x only: pixels 100 and 200 of 200 show
    // 50 and 75; y stays 10 ... 40.
    auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(f, Qt::LeftButton, {}, from);
        QTest::mouseMove(f, to);
        QTest::mouseRelease(f, Qt::LeftButton, {}, to);
        Chart2dDrain();
    };
    drag({100, 50}, {200, 50});
    EXPECT_DOUBLE_EQ(chart->XAxis()->BeginValue(), 50.0);
    EXPECT_DOUBLE_EQ(chart->XAxis()->EndValue(), 75.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->BeginValue(), 10.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->EndValue(), 40.0);
    // A purely vertical one zooms y only: rows 100 and 50 of 100 show 10 and 25.
    drag({30, 50}, {30, 100});
    EXPECT_DOUBLE_EQ(chart->XAxis()->BeginValue(), 50.0);
    EXPECT_DOUBLE_EQ(chart->XAxis()->EndValue(), 75.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->BeginValue(), 10.0);
    EXPECT_DOUBLE_EQ(chart->YAxis()->EndValue(), 25.0);
}

// ---------------------------------------------------------------------------
// Legend

TEST(Chart2dLegendWidget, TwoLinesWithSampleImages)
{
    auto chart = Chart2dShown();
    VxChartBaseLineArray *lines = chart->MainField()->Lines();
    lines->SetPointCount(3);
    lines->SetLineCount(2);
    lines->Line(0)->SetPointSize(6);
    lines->Line(1)->SetPointSize(6);
    lines->Line(1)->SetLineColor(Qt::red);
    Chart2dDrain();

    EXPECT_EQ(chart->LinesField()->StringsArray(),
              QStringList({"Lines Info :", "<inline>0</inline>Line - 0", "<inline>1</inline>Line - 1"}));
    VxChartImageList *images = chart->ImageList();
    EXPECT_EQ(chart->LinesField()->CurrImageList(), images);
    ASSERT_EQ(images->Count(), 2);
    EXPECT_EQ(images->Width(), 36);
    EXPECT_EQ(images->Height(), 12);
    // Samples: the line across the middle on the field's colour.
    const QImage second = images->Image(1).toImage();
    EXPECT_EQ(second.pixelColor(1, 6), QColor(Qt::red));
    EXPECT_EQ(second.pixelColor(1, 1), QColor(175, 175, 175));
    // The box grew to show the samples and the names.
    EXPECT_GE(chart->LinesField()->Height(), 3 * 12);
}

TEST(Chart2dLegendWidget, WithoutMarkersOnlyNames)
{
    auto chart = Chart2dShown();
    VxChartBaseLineArray *lines = chart->MainField()->Lines();
    lines->SetPointCount(3);
    lines->SetLineCount(2);
    lines->Line(0)->SetDataType(vxcldXData);
    lines->Line(1)->SetPointSize(0);
    lines->SetListName(QString());
    Chart2dDrain();
    EXPECT_EQ(chart->LinesField()->StringsArray(), QStringList({"Line - 1"}));
    EXPECT_EQ(chart->LinesField()->CurrImageList(), nullptr);

    lines->Line(1)->SetDataType(vxcldOffsetData);
    lines->SetListName(QStringLiteral("Nothing drawn"));
    Chart2dDrain();
    EXPECT_EQ(chart->LinesField()->StringsArray(), QStringList({"Nothing drawn"}));
}

TEST(Chart2dLegendWidget, BackLineBitmapIsTheTemplate)
{
    auto chart = Chart2dShown();
    VxChartBaseLineArray *lines = chart->MainField()->Lines();
    lines->SetPointCount(2);
    lines->SetLineCount(1);
    lines->Line(0)->SetPointSize(6);
    lines->Line(0)->SetLineStyle(vxclsNone);
    QImage back(20, 10, QImage::Format_ARGB32);
    back.fill(Qt::yellow);
    chart->SetBackLineDrawBitmap(back);
    Chart2dDrain();
    EXPECT_EQ(chart->BackLineDrawBitmap().format(), QImage::Format_RGB888);
    ASSERT_EQ(chart->ImageList()->Count(), 1);
    EXPECT_EQ(chart->ImageList()->Width(), 20);
    EXPECT_EQ(chart->ImageList()->Image(0).toImage().pixelColor(0, 0), QColor(Qt::yellow));

    // Transparent samples: the template colour is masked out.
    chart->SetBackLineBitmapTransparent(true);
    EXPECT_TRUE(chart->ImageList()->Masked());
    EXPECT_EQ(chart->ImageList()->Image(0).toImage().pixelColor(0, 0).alpha(), 0);

    chart->SetBackLineDrawBitmap(QImage());
    Chart2dDrain();
    EXPECT_TRUE(chart->BackLineDrawBitmap().isNull());
    EXPECT_EQ(chart->ImageList()->Width(), 36);
}

// ---------------------------------------------------------------------------
// Bitmap and clipboard

TEST(Chart2dBitmap, ElementsPaintedAtTheirOffsets)
{
    auto chart = Chart2dShown(400, 300);
    chart->MainField()->SetShowGrid(false);
    chart->MainField()->Control()->Select(true); // inverting marks must not disturb the bitmap
    chart->SetColor(QColor(100, 110, 120));
    Chart2dDrain();
    const QImage img = chart->CreateBitmap();
    EXPECT_EQ(img.format(), QImage::Format_RGB888);
    EXPECT_EQ(img.size(), QSize(400, 300));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(192, 192, 192));
    EXPECT_EQ(img.pixelColor(2, 150), QColor(224, 224, 224)); // outer bevel, light
    EXPECT_EQ(img.pixelColor(4, 150), QColor(160, 160, 160)); // inner bevel, dark

    const QPoint panel = chart->Panel()->pos();
    const QRect field = Bounds(chart->MainField());
    EXPECT_EQ(img.pixelColor(panel + field.center()), QColor(175, 175, 175));
    const QPoint bare(field.right() + 5, field.center().y());
    ASSERT_EQ(chart->Panel()->childAt(bare), nullptr);
    EXPECT_EQ(img.pixelColor(panel + bare), QColor(100, 110, 120));
    // The x axis line runs through the middle of its element, in black.
    const QRect x = Bounds(chart->XAxis());
    EXPECT_EQ(img.pixelColor(panel + QPoint(x.left() + 5, x.top() + x.height() / 2)), QColor(Qt::black));
}

TEST(Chart2dBitmap, CopyToClipboardPutsTheChartImage)
{
    auto chart = Chart2dShown(300, 250);
    QClipboard *clipboard = QGuiApplication::clipboard();
    ASSERT_NE(clipboard, nullptr);
    clipboard->setText(QStringLiteral("something else"));
    chart->CopyToClipboard();
    const QImage image = clipboard->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(300, 250));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(192, 192, 192));
}

} // namespace
