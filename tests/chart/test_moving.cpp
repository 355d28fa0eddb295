// Movable chart elements: hit zones, cursors, selection, dragging and
// resizing with the mouse, notifications, the selection frame and the
// rubber-band zoom with its arithmetic.
#include <gtest/gtest.h>

#include <QImage>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <memory>

#include "chart/VxChartBaseMovingUnit.h"
#include "support/moving_recorder.h"

namespace {

// A plain element that fills itself white so that its marks can be probed.
class WhiteElement : public VxChartBaseMovingClass
{
public:
    using VxChartBaseMovingClass::VxChartBaseMovingClass;
    QColor fill = Qt::white;

protected:
    void Paint(QPainter &p) override
    {
        p.fillRect(rect(), fill);
        VxChartBaseMovingClass::Paint(p);
    }
};

// An element with the zoom drag switched on, as the plotting field has it.
class ZoomElement : public VxChartBaseMovingClass
{
public:
    explicit ZoomElement(QWidget *parent) : VxChartBaseMovingClass(parent) { SetZoomDragEnabled(true); }
};

struct Panel
{
    Panel()
    {
        panel.resize(400, 300);
        panel.show();
        (void)QTest::qWaitForWindowExposed(&panel);
    }
    QWidget panel;
};

// Global position of a point given in element coordinates now.
QPoint Global(QWidget *w, QPoint p) { return w->mapToGlobal(p); }

// Sends a press, moves and a release at the same screen point, as a user
// dragging from `from` by (dx, dy) would.
void Drag(QWidget *w, QPoint from, QPoint delta)
{
    const QPoint target = Global(w, from + delta);
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, from + delta);
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(target));
}

} // namespace

// --- defaults -------------------------------------------------------------

TEST(MovingDefaults, StateFlagsSizeAndPublishedOrder)
{
    QWidget panel;
    VxChartBaseMovingClass e(&panel);
    EXPECT_EQ(e.size(), QSize(20, 20));
    EXPECT_FALSE(e.Pressed());
    EXPECT_FALSE(e.Dragged());
    EXPECT_EQ(e.Zone(), 0);
    EXPECT_EQ(e.PressPoint(), QPoint(0, 0));
    EXPECT_FALSE(e.Transparent());
    EXPECT_TRUE(e.testAttribute(Qt::WA_OpaquePaintEvent)) << "an element that is not transparent is opaque";
    EXPECT_TRUE(e.SizeAble());
    EXPECT_TRUE(e.MoveAble());
    EXPECT_FALSE(e.KeepOthers());
    EXPECT_TRUE(e.Selectable());
    EXPECT_FALSE(e.Selected());
    e.SetTransparent(true);
    EXPECT_FALSE(e.testAttribute(Qt::WA_OpaquePaintEvent));

    const QMetaObject *meta = e.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << meta->property(i).name();
    EXPECT_EQ(names, QStringList({"SizeAble", "MoveAble", "Transparent", "Selectable"}));

    // Assign copies those four flags.
    VxChartBaseMovingClass other(&panel);
    other.SetSizeAble(false);
    other.SetMoveAble(false);
    other.SetSelectable(false);
    e.Assign(other);
    EXPECT_FALSE(e.SizeAble());
    EXPECT_FALSE(e.MoveAble());
    EXPECT_FALSE(e.Transparent());
    EXPECT_FALSE(e.Selectable());
}

// --- hit zones ------------------------------------------------------------

struct ZoneRow
{
    int x, y;
    int pressZone;
    int hoverZone;
};

class MovingZoneTest : public ::testing::TestWithParam<ZoneRow>
{
};

TEST_P(MovingZoneTest, ZoneOfAPointInA40By30Element)
{
    const ZoneRow r = GetParam();
    EXPECT_EQ(VxChartHitZone(r.x, r.y, 40, 30, false), r.pressZone) << r.x << "," << r.y;
    EXPECT_EQ(VxChartHitZone(r.x, r.y, 40, 30, true), r.hoverZone) << r.x << "," << r.y;
}

// Bands: left x 0..4, right x 35..39, top y 0..4, bottom y 25..29; while
// hovering the top band of the middle column is y 0..2 only.
INSTANTIATE_TEST_SUITE_P(Table, MovingZoneTest,
                         ::testing::Values(ZoneRow{-1, 10, 0, 0}, ZoneRow{40, 10, 0, 0}, ZoneRow{10, 30, 0, 0},
                                           ZoneRow{20, 15, 1, 1}, ZoneRow{5, 5, 1, 1}, ZoneRow{34, 24, 1, 1},
                                           ZoneRow{0, 0, 2, 2}, ZoneRow{4, 4, 2, 2}, ZoneRow{0, 15, 3, 3},
                                           ZoneRow{4, 25, 4, 4}, ZoneRow{0, 29, 4, 4}, ZoneRow{35, 0, 5, 5},
                                           ZoneRow{39, 4, 5, 5}, ZoneRow{35, 15, 6, 6}, ZoneRow{39, 29, 7, 7},
                                           ZoneRow{20, 0, 8, 8}, ZoneRow{20, 2, 8, 8}, ZoneRow{20, 3, 8, 1},
                                           ZoneRow{20, 4, 8, 1}, ZoneRow{20, 5, 1, 1}, ZoneRow{20, 25, 9, 9},
                                           ZoneRow{20, 24, 1, 1}));

TEST(MovingCursor, SelectedElementShowsTheZoneCursorUnselectedTheDefault)
{
    EXPECT_EQ(VxChartZoneCursor(1, true, true, true), Qt::DragMoveCursor);
    EXPECT_EQ(VxChartZoneCursor(1, true, false, true), Qt::ArrowCursor);
    EXPECT_EQ(VxChartZoneCursor(2, true, true, true), Qt::SizeFDiagCursor);
    EXPECT_EQ(VxChartZoneCursor(7, true, true, true), Qt::SizeFDiagCursor);
    EXPECT_EQ(VxChartZoneCursor(4, true, true, true), Qt::SizeBDiagCursor);
    EXPECT_EQ(VxChartZoneCursor(5, true, true, true), Qt::SizeBDiagCursor);
    EXPECT_EQ(VxChartZoneCursor(3, true, true, true), Qt::SizeHorCursor);
    EXPECT_EQ(VxChartZoneCursor(6, true, true, true), Qt::SizeHorCursor);
    EXPECT_EQ(VxChartZoneCursor(8, true, true, true), Qt::SizeVerCursor);
    EXPECT_EQ(VxChartZoneCursor(9, true, true, true), Qt::SizeVerCursor);
    EXPECT_EQ(VxChartZoneCursor(6, true, true, false), Qt::ArrowCursor);
    EXPECT_EQ(VxChartZoneCursor(0, true, true, true), Qt::ArrowCursor);
    for (int zone = 0; zone <= 9; ++zone)
        EXPECT_EQ(VxChartZoneCursor(zone, false, true, true), Qt::ArrowCursor) << zone;
}

TEST(MovingCursor, HoverAtY4ShowsDragButPressResizesFromTheTop)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    e->Select(true);

    QTest::mouseMove(e, QPoint(30, 4));
    EXPECT_EQ(e->Zone(), 1);
    EXPECT_EQ(e->cursor().shape(), Qt::DragMoveCursor);

    QTest::mousePress(e, Qt::LeftButton, {}, QPoint(30, 4));
    EXPECT_EQ(e->Zone(), 8);
    EXPECT_EQ(e->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(e, QPoint(30, 1));
    QTest::mouseRelease(e, Qt::LeftButton, {}, QPoint(30, 4));
    EXPECT_EQ(e->geometry(), QRect(50, 37, 60, 43)) << "dragged the top edge up by 3";
}

// --- selection ------------------------------------------------------------

TEST(MovingSelect, ClickSelectsSecondClickDeselects)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_TRUE(e->Selected());
    EXPECT_FALSE(e->Pressed());
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_FALSE(e->Selected());
}

TEST(MovingSelect, DragOverAnUnselectedElementEndsUnselectedAndUnmoved)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    Drag(e, QPoint(30, 20), QPoint(10, 5));
    EXPECT_FALSE(e->Selected());
    EXPECT_FALSE(e->Dragged());
    EXPECT_EQ(e->geometry(), QRect(50, 40, 60, 40));
}

TEST(MovingSelect, NotSelectableNeverSelects)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    e->Select(true);
    ASSERT_TRUE(e->Selected());
    e->SetSelectable(false);
    EXPECT_FALSE(e->Selected()) << "switching Selectable off deselects";
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_FALSE(e->Selected());
    e->Select(true);
    EXPECT_FALSE(e->Selected());
}

TEST(MovingSelect, SelectingDeselectsTheOthersOnTheSameParentOnly)
{
    Panel p;
    QWidget otherPanel;
    auto *a = new WhiteElement(&p.panel);
    auto *b = new WhiteElement(&p.panel);
    auto *keeper = new WhiteElement(&p.panel);
    auto *elsewhere = new WhiteElement(&otherPanel);
    a->SetBounds(10, 10, 40, 30);
    b->SetBounds(100, 10, 40, 30);
    keeper->SetKeepOthers(true);
    a->Select(true);
    keeper->Select(true);
    elsewhere->Select(true);
    EXPECT_TRUE(a->Selected()) << "an element keeping others leaves them selected";

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_TRUE(b->Selected());
    EXPECT_FALSE(a->Selected());
    EXPECT_TRUE(keeper->Selected());
    EXPECT_TRUE(elsewhere->Selected());

    a->Select(true);
    EXPECT_FALSE(b->Selected());
}

// --- dragging -------------------------------------------------------------

struct DragRow
{
    int zone;
    QPoint press;
    QRect expected; // element starts at (50, 40, 60, 40) and the mouse moves by (6, 4)
};

class MovingDragTest : public ::testing::TestWithParam<DragRow>
{
};

TEST_P(MovingDragTest, EachZoneMovesItsOwnEdges)
{
    const DragRow r = GetParam();
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    e->Select(true);
    MovingMessageRecorder rec(&p.panel);
    rec.Clear();

    Drag(e, r.press, QPoint(6, 4));
    EXPECT_EQ(e->geometry(), r.expected) << "zone " << r.zone;
    EXPECT_TRUE(e->Selected()) << "a drag ending where the mouse was keeps the selection";

    const QList<MovingRecordedMessage> bounds = rec.Of(CM_ELEMENT_BOUNDS);
    if (r.expected.size() == QSize(60, 40)) {
        EXPECT_TRUE(bounds.isEmpty()) << "a plain move does not report a size change";
    } else {
        ASSERT_EQ(bounds.size(), 1);
        EXPECT_EQ(bounds[0].Element, e);
        EXPECT_EQ(bounds[0].Value, 0) << "selected";
    }
}

INSTANTIATE_TEST_SUITE_P(NineCases, MovingDragTest,
                         ::testing::Values(DragRow{1, {30, 20}, {56, 44, 60, 40}}, DragRow{2, {2, 2}, {56, 44, 54, 36}},
                                           DragRow{3, {2, 20}, {56, 40, 54, 40}}, DragRow{4, {2, 38}, {56, 40, 54, 44}},
                                           DragRow{5, {58, 2}, {50, 44, 66, 36}}, DragRow{6, {58, 20}, {50, 40, 66, 40}},
                                           DragRow{7, {58, 38}, {50, 40, 66, 44}}, DragRow{8, {30, 2}, {50, 44, 60, 36}},
                                           DragRow{9, {30, 38}, {50, 40, 60, 44}}));

TEST(MovingDrag, SeveralStepsAccumulate)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    e->Select(true);
    QTest::mousePress(e, Qt::LeftButton, {}, QPoint(30, 20));
    // Each step is given in the element's coordinates before the step; the
    // element follows the mouse so the press point stays under it.
    QTest::mouseMove(e, QPoint(35, 20));
    QTest::mouseMove(e, QPoint(30, 27));
    QTest::mouseRelease(e, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_EQ(e->geometry(), QRect(55, 47, 60, 40));
    EXPECT_TRUE(e->Selected());
}

TEST(MovingDrag, MoveAbleAndSizeAbleOff)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    e->Select(true);
    e->SetMoveAble(false);
    Drag(e, QPoint(30, 20), QPoint(6, 4));
    EXPECT_EQ(e->geometry(), QRect(50, 40, 60, 40));

    e->SetMoveAble(true);
    e->SetSizeAble(false);
    e->Select(true);
    Drag(e, QPoint(58, 20), QPoint(6, 4));
    EXPECT_EQ(e->geometry(), QRect(50, 40, 60, 40));
    Drag(e, QPoint(30, 20), QPoint(6, 4));
    EXPECT_EQ(e->geometry(), QRect(56, 44, 60, 40)) << "moving is still allowed";
}

// --- notifications --------------------------------------------------------

TEST(MovingNotify, SetBoundsReportsSizeChangesWithTheSelectionState)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    MovingMessageRecorder rec(&p.panel);
    e->SetBounds(10, 10, 50, 30);
    e->SetBounds(20, 15, 50, 30); // position only
    QList<MovingRecordedMessage> got = rec.Of(CM_ELEMENT_BOUNDS);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Element, e);
    EXPECT_EQ(got[0].Value, 1) << "not selected";

    rec.Clear();
    e->Select(true);
    e->SetWidth(70);
    got = rec.Of(CM_ELEMENT_BOUNDS);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Value, 0);
}

TEST(MovingNotify, ElementWithoutParentPostsNothing)
{
    WhiteElement e;
    MovingMessageRecorder rec(&e);
    e.SetBounds(0, 0, 33, 33);
    EXPECT_TRUE(rec.Flush().isEmpty());
}

TEST(MovingNotify, DoubleClickPostsAndDoesNotToggleTheSelection)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(50, 40, 60, 40);
    MovingMessageRecorder rec(&p.panel);
    // What the window system delivers for a double click.
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseDClick(e, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseRelease(e, Qt::LeftButton, {}, QPoint(30, 20));
    const QList<MovingRecordedMessage> got = rec.Of(CM_ELEMENT_DBLCLICK);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Element, e);
    EXPECT_FALSE(e->Pressed());
    EXPECT_EQ(e->DblClickPoint(), QPoint(30, 20));
    EXPECT_TRUE(e->Selected()) << "the first click selected, the double click leaves it so";
}

TEST(MovingNotify, QueuedMessageOfADestroyedElementCarriesNoElement)
{
    Panel p;
    MovingMessageRecorder rec(&p.panel);
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(0, 0, 30, 30);
    delete e;
    const QList<MovingRecordedMessage> got = rec.Of(CM_ELEMENT_BOUNDS);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Element, nullptr);
}

// --- selection frame ------------------------------------------------------

namespace {
QImage Render(QWidget *w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::red);
    w->render(&img);
    return img;
}
bool IsBlack(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }
bool IsWhite(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }
} // namespace

TEST(MovingFrame, InvertedBandWithHatchingWhileSelected)
{
    Panel p;
    auto *e = new WhiteElement(&p.panel);
    e->SetBounds(0, 0, 60, 40);
    QImage img = Render(e);
    for (int x = 0; x < 60; ++x)
        ASSERT_TRUE(IsWhite(img.pixel(x, 20))) << "unselected: no marks at " << x;

    e->Select(true);
    img = Render(e);
    // On white the inverting band is black, so every band pixel is black.
    for (int x = 0; x < 5; ++x) {
        EXPECT_TRUE(IsBlack(img.pixel(x, 20))) << x;
        EXPECT_TRUE(IsBlack(img.pixel(59 - x, 20))) << 59 - x;
        EXPECT_TRUE(IsBlack(img.pixel(30, x))) << x;
        EXPECT_TRUE(IsBlack(img.pixel(30, 39 - x))) << 39 - x;
    }
    EXPECT_TRUE(IsWhite(img.pixel(5, 20)));
    EXPECT_TRUE(IsWhite(img.pixel(54, 20)));
    EXPECT_TRUE(IsWhite(img.pixel(30, 5)));
    EXPECT_TRUE(IsWhite(img.pixel(30, 20)));

    // On black the band turns white and the hatching shows as black
    // diagonals in the five frames, which reach up to the column before the
    // right edge and the row above the bottom edge.
    e->fill = Qt::black;
    img = Render(e);
    int hatchLeft = 0, hatchRightmost = 0;
    for (int y = 5; y < 35; ++y) {
        hatchLeft += IsBlack(img.pixel(2, y)) ? 1 : 0;
        hatchRightmost += IsBlack(img.pixel(59, y)) ? 1 : 0;
        EXPECT_TRUE(IsBlack(img.pixel(5, y)) || y < 5 || y > 34) << "interior stays black";
    }
    EXPECT_GT(hatchLeft, 0);
    EXPECT_LT(hatchLeft, 30) << "hatched, not filled";
    EXPECT_EQ(hatchRightmost, 0) << "the last column is only inverted";
}

// --- zoom -----------------------------------------------------------------

TEST(MovingZoom, DragOverTheUnselectedFieldStoresAndPostsTheZoom)
{
    Panel p;
    auto *f = new ZoomElement(&p.panel);
    f->SetBounds(20, 20, 200, 100);
    MovingMessageRecorder rec(&p.panel);
    rec.Clear();

    QTest::mousePress(f, Qt::LeftButton, {}, QPoint(70, 60));
    EXPECT_TRUE(f->Zooming());
    QTest::mouseMove(f, QPoint(120, 30));
    EXPECT_TRUE(f->ZoomDragActive());
    EXPECT_EQ(f->ZoomCorner(), QPoint(120, 30));
    QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(120, 30));

    EXPECT_FALSE(f->Zooming());
    EXPECT_EQ(f->ZoomRect(), (VxChartEdges{70, 30, 120, 60}));
    EXPECT_EQ(f->FieldRect(), (VxChartEdges{0, 0, 200, 100}));
    EXPECT_EQ(f->ZoomCorner(), f->ZoomStart());
    const QList<MovingRecordedMessage> got = rec.Of(CM_FIELD_ZOOM);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].Element, f);
    EXPECT_FALSE(f->Selected()) << "the mouse ended elsewhere";
}

TEST(MovingZoom, ShortDragsDoNothing)
{
    Panel p;
    auto *f = new ZoomElement(&p.panel);
    f->SetBounds(20, 20, 200, 100);
    MovingMessageRecorder rec(&p.panel);
    rec.Clear();

    Drag(f, QPoint(50, 50), QPoint(3, 2)); // Manhattan length 5
    EXPECT_TRUE(rec.Of(CM_FIELD_ZOOM).isEmpty());
    EXPECT_EQ(f->ZoomRect(), VxChartEdges{});

    Drag(f, QPoint(50, 50), QPoint(-4, 2)); // 6
    EXPECT_EQ(rec.Of(CM_FIELD_ZOOM).size(), 1);
    EXPECT_EQ(f->ZoomRect(), (VxChartEdges{46, 50, 50, 52}));
}

TEST(MovingZoom, SelectedFieldMovesInsteadOfZooming)
{
    Panel p;
    auto *f = new ZoomElement(&p.panel);
    f->SetBounds(20, 20, 200, 100);
    f->Select(true);
    MovingMessageRecorder rec(&p.panel);
    rec.Clear();
    Drag(f, QPoint(50, 50), QPoint(30, 20));
    EXPECT_TRUE(rec.Of(CM_FIELD_ZOOM).isEmpty());
    EXPECT_EQ(f->geometry(), QRect(50, 40, 200, 100));
}

TEST(MovingZoom, RubberBandDrawnTwiceLeavesNoTrace)
{
    Panel p;
    auto *f = new ZoomElement(&p.panel);
    f->SetBounds(0, 0, 100, 80);
    QTest::mousePress(f, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(f, QPoint(60, 50));

    QImage img(100, 80, QImage::Format_RGB32);
    img.fill(QColor(10, 200, 30));
    const QImage original = img.copy();
    {
        QPainter painter(&img);
        f->DrawRubberBand(painter);
    }
    EXPECT_EQ(img.pixel(10, 30), qRgb(245, 55, 225)) << "the band's left edge is inverted";
    EXPECT_EQ(img.pixel(35, 30), original.pixel(35, 30)) << "inside is untouched";
    {
        QPainter painter(&img);
        f->DrawRubberBand(painter);
    }
    EXPECT_EQ(img, original);
    QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(60, 50));
}

struct ZoomRow
{
    const char *name;
    VxChartRange current;
    bool horizontal;
    VxChartEdges zoom;
    VxChartEdges field;
    VxChartRange expected;
};

class MovingZoomRangeTest : public ::testing::TestWithParam<ZoomRow>
{
};

TEST_P(MovingZoomRangeTest, NewRange)
{
    const ZoomRow r = GetParam();
    const VxChartRange got = VxChartZoomRange(r.current, r.horizontal, r.zoom, r.field);
    EXPECT_DOUBLE_EQ(got.Begin, r.expected.Begin) << r.name;
    EXPECT_DOUBLE_EQ(got.End, r.expected.End) << r.name;
}

// The field draws the begin value at its left (bottom) edge, also when the
// range runs downwards, so the new range is always the pair of values under
// the rectangle's edges.
INSTANTIATE_TEST_SUITE_P(
    Cases, MovingZoomRangeTest,
    ::testing::Values(
        // 200-pixel field, 0..100 zoomed to x 50..150: 25..75
        ZoomRow{"x 0..100", {0, 100}, true, {50, 10, 150, 90}, {0, 0, 200, 100}, {25, 75}},
        // 100..0: pixel 20 shows 90, pixel 60 shows 70
        ZoomRow{"x 100..0", {100, 0}, true, {20, 10, 60, 90}, {0, 0, 200, 100}, {90, 70}},
        // vertical 0..100 over 100 pixels: rows 60 and 20 show 40 and 80
        ZoomRow{"y 0..100", {0, 100}, false, {50, 20, 150, 60}, {0, 0, 200, 100}, {40, 80}},
        // vertical 100..0: rows 60 and 20 show 60 and 20
        ZoomRow{"y 100..0", {100, 0}, false, {50, 20, 150, 60}, {0, 0, 200, 100}, {60, 20}},
        // a rotated field's x axis runs vertically: 0..245 over 50 rows, rows 40 and 10
        ZoomRow{"rotated x", {0, 245}, false, {5, 10, 15, 40}, {0, 0, 20, 50}, {49, 196}},
        ZoomRow{"negative", {-50, 50}, true, {0, 0, 200, 100}, {0, 0, 200, 100}, {-50, 50}},
        ZoomRow{"no width", {1, 2}, true, {0, 0, 0, 10}, {0, 0, 0, 10}, {1, 2}},
        ZoomRow{"no height", {1, 2}, false, {0, 0, 10, 0}, {0, 0, 10, 0}, {1, 2}},
        // a drag along one direction only leaves the other direction's range
        ZoomRow{"flat drag, y", {0, 100}, false, {50, 30, 150, 30}, {0, 0, 200, 100}, {0, 100}},
        ZoomRow{"flat drag, x", {0, 100}, true, {50, 30, 150, 30}, {0, 0, 200, 100}, {25, 75}},
        ZoomRow{"upright drag, x", {0, 100}, true, {40, 10, 40, 90}, {0, 0, 200, 100}, {0, 100}},
        ZoomRow{"upright drag, y", {0, 100}, false, {40, 10, 40, 90}, {0, 0, 200, 100}, {10, 90}}));

// --- point pick -----------------------------------------------------------

TEST(MovingPick, NearestDrawnPointWithinTheRadius)
{
    const QList<QList<QPoint>> hits = {
        {{10, 10}, {-1, -1}, {40, 40}},
        {{12, 10}, {0, 100}},
    };
    EXPECT_EQ(VxChartPickPoint(hits, {11, 10}, 50), (VxChartPick{1, 0})) << "equal distance: the later entry";
    EXPECT_EQ(VxChartPickPoint(hits, {9, 10}, 50), (VxChartPick{0, 0}));
    EXPECT_EQ(VxChartPickPoint(hits, {40, 45}, 50), (VxChartPick{0, 2}));
    EXPECT_EQ(VxChartPickPoint(hits, {-1, -1}, 0), VxChartPick{}) << "undrawn points never match";
    EXPECT_EQ(VxChartPickPoint(hits, {0, 150}, 50), (VxChartPick{1, 1})) << "exactly at the radius";
    EXPECT_EQ(VxChartPickPoint(hits, {0, 151}, 50), VxChartPick{});
    EXPECT_EQ(VxChartPickPoint({}, {0, 0}, 50), VxChartPick{});
}

namespace {

// A parent that counts the mouse presses and double clicks reaching it.
class CountingPanel : public QWidget
{
public:
    int presses = 0;
    int doubleClicks = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseDoubleClickEvent(QMouseEvent *) override { ++doubleClicks; }
};

} // namespace

TEST(MovingMouse, TheElementKeepsTheLeftButtonToItself)
{
    CountingPanel panel;
    panel.resize(400, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    WhiteElement e(&panel);
    e.SetBounds(50, 50, 100, 80);
    QTest::mouseClick(&e, Qt::LeftButton, {}, QPoint(50, 40));
    QTest::mouseDClick(&e, Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(panel.presses, 0);
    EXPECT_EQ(panel.doubleClicks, 0);
    // Other buttons are none of the element's business.
    QTest::mouseClick(&e, Qt::RightButton, {}, QPoint(50, 40));
    EXPECT_EQ(panel.presses, 1);
}
