#include "chart/VxChartBaseMovingUnit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <limits>

namespace {

constexpr int kEdgeBand = 5;        // width of the grab bands along the edges
constexpr int kHoverTopBand = 3;    // top band of the middle column while hovering
constexpr int kZoomThreshold = 5;   // a zoom drag must be longer than this (Manhattan)

} // namespace

VxChartRange VxChartZoomRange(VxChartRange current, bool runsHorizontally, const VxChartEdges &zoom,
                              const VxChartEdges &field)
{
    // The field draws the begin value at its left (horizontal) or bottom
    // (vertical) edge whichever way the range runs, so the value at a pixel
    // is begin + range * (distance from that edge) / extent in both
    // directions.  The new range is the values under the dragged rectangle's
    // edges: its left and right edge horizontally, its bottom and top edge
    // vertically.
    const double cb = current.Begin;
    const double r = current.End - current.Begin;
    if (runsHorizontally) {
        const int w = field.Right - field.Left;
        if (w <= 0 || zoom.Right == zoom.Left)
            return current;
        return {cb + r * (zoom.Left - field.Left) / w, cb + r * (zoom.Right - field.Left) / w};
    }
    const int h = field.Bottom - field.Top;
    if (h <= 0 || zoom.Bottom == zoom.Top)
        return current;
    return {cb + r * (field.Bottom - zoom.Bottom) / h, cb + r * (field.Bottom - zoom.Top) / h};
}

int VxChartHitZone(int x, int y, int width, int height, bool hovering)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const bool left = x < kEdgeBand;
    const bool right = x > width - 1 - kEdgeBand;
    const bool top = y < kEdgeBand;
    const bool bottom = y > height - 1 - kEdgeBand;
    if (left) {
        if (top)
            return 2;
        if (bottom)
            return 4;
        return 3;
    }
    if (right) {
        if (top)
            return 5;
        if (bottom)
            return 7;
        return 6;
    }
    if (top && (!hovering || y < kHoverTopBand))
        return 8;
    if (bottom)
        return 9;
    return 1;
}

Qt::CursorShape VxChartZoneCursor(int zone, bool selected, bool moveAble, bool sizeAble)
{
    if (!selected)
        return Qt::ArrowCursor;
    switch (zone) {
    case 1:
        return moveAble ? Qt::DragMoveCursor : Qt::ArrowCursor;
    case 2:
    case 7:
        return sizeAble ? Qt::SizeFDiagCursor : Qt::ArrowCursor;
    case 4:
    case 5:
        return sizeAble ? Qt::SizeBDiagCursor : Qt::ArrowCursor;
    case 3:
    case 6:
        return sizeAble ? Qt::SizeHorCursor : Qt::ArrowCursor;
    case 8:
    case 9:
        return sizeAble ? Qt::SizeVerCursor : Qt::ArrowCursor;
    default:
        return Qt::ArrowCursor;
    }
}

VxChartPick VxChartPickPoint(const QList<QList<QPoint>> &hits, QPoint mouse, int maxDistance)
{
    VxChartPick pick;
    double best = std::numeric_limits<double>::infinity();
    for (int c = 0; c < hits.size(); ++c) {
        const QList<QPoint> &column = hits.at(c);
        for (int i = 0; i < column.size(); ++i) {
            const QPoint pt = column.at(i);
            if (pt.x() < 0 || pt.y() < 0)
                continue;
            const double dx = double(mouse.x()) - pt.x();
            const double dy = double(mouse.y()) - pt.y();
            const double d = std::nearbyint(std::sqrt(dx * dx + dy * dy));
            if (d <= maxDistance && d <= best) {
                best = d;
                pick = {c, i};
            }
        }
    }
    return pick;
}

VxChartBaseMovingClass::VxChartBaseMovingClass(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true); // hovering updates the zone and the cursor
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    resize(20, 20);
    // Elements are visible unless hidden, also when created on a panel
    // that is already on screen.
    if (parent)
        setVisible(true);
}

VxChartBaseMovingClass::~VxChartBaseMovingClass() = default;

void VxChartBaseMovingClass::Assign(const VxChartBaseMovingClass &source)
{
    SetSizeAble(source.SizeAble());
    SetMoveAble(source.MoveAble());
    SetTransparent(source.Transparent());
    SetSelectable(source.Selectable());
}

void VxChartBaseMovingClass::SetBounds(int left, int top, int width, int height)
{
    const QRect old = geometry();
    setGeometry(left, top, qMax(0, width), qMax(0, height));
    if (size() != old.size() && ParentReady())
        PostToParent(CM_ELEMENT_BOUNDS, m_selected ? 0 : 1);
    if (geometry() != old)
        emit BoundsChanged();
}

void VxChartBaseMovingClass::SetTransparent(bool on)
{
    m_transparent = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    update();
}

void VxChartBaseMovingClass::SetSelectable(bool on)
{
    m_selectable = on;
    if (!on && m_selected) {
        m_selected = false;
        UpdateCursor();
    }
    update();
}

void VxChartBaseMovingClass::Select(bool on)
{
    if (!m_selectable || on == m_selected)
        return;
    m_selected = on;
    if (on && !m_keepOthers)
        vxChartSend(this, CM_ELEMENT_SELECT, this);
    UpdateCursor();
    update();
}

void VxChartBaseMovingClass::DrawRubberBand(QPainter &p) const
{
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::black);
    pen.setWidth(3);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(m_zoomStart, m_zoomCorner).normalized());
    p.restore();
}

QRect VxChartBaseMovingClass::RubberBandBounds() const
{
    // The 3-pixel pen reaches past the rectangle's edges; 3 pixels of room
    // hold its mitred corners.
    return QRect(m_zoomStart, m_zoomCorner).normalized().adjusted(-3, -3, 3, 3);
}

void VxChartBaseMovingClass::Paint(QPainter &p)
{
    PaintSelection(p);
}

void VxChartBaseMovingClass::PaintSelection(QPainter &p) const
{
    if (!m_selected)
        return;
    const int w = width();
    const int h = height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);

    // A 5-pixel inverting band along the edges ...
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::black);
    pen.setWidth(5);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygon({QPoint(2, 2), QPoint(w - 3, 2), QPoint(w - 3, h - 3), QPoint(2, h - 3)}));

    // ... hatched over by five nested one-pixel frames.  A frame of the
    // rectangle (i, i, w-1-i, h-1-i) covers its left and top edge and the
    // column and row just inside its right and bottom edge.
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QBrush hatch(Qt::black, Qt::BDiagPattern);
    for (int i = 0; i < 5; ++i) {
        const int l = i, t = i, r = w - 1 - i, b = h - 1 - i; // r, b exclusive
        if (r <= l || b <= t)
            break;
        p.fillRect(QRect(l, t, r - l, 1), hatch);
        p.fillRect(QRect(l, b - 1, r - l, 1), hatch);
        p.fillRect(QRect(l, t, 1, b - t), hatch);
        p.fillRect(QRect(r - 1, t, 1, b - t), hatch);
    }
    p.restore();
}

void VxChartBaseMovingClass::DblClick(const QPoint &) {}

void VxChartBaseMovingClass::ChartMessage(VxChartMessageEvent &m)
{
    if (m.msg() != CM_ELEMENT_SELECT)
        return;
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    for (QObject *child : parent->children()) {
        auto *other = qobject_cast<VxChartBaseMovingClass *>(child);
        if (!other || other == this || !other->m_selected || other->m_keepOthers)
            continue;
        other->m_selected = false;
        other->UpdateCursor();
        other->update();
    }
}

bool VxChartBaseMovingClass::ParentReady() const
{
    return parentWidget() != nullptr;
}

void VxChartBaseMovingClass::PostToParent(int msg, qintptr value, QObject *other)
{
    vxChartPost(parentWidget(), msg, this, value, other);
}

void VxChartBaseMovingClass::UpdateCursor()
{
    setCursor(VxChartZoneCursor(m_zone, m_selected, m_moveAble, m_sizeAble));
}

QPoint VxChartBaseMovingClass::MousePos(const QMouseEvent *e) const
{
    // Taken from the screen position: while the element moves under the
    // mouse, the event's own local position may refer to its old place.
    return e->globalPosition().toPoint() - mapToGlobal(QPoint(0, 0));
}

bool VxChartBaseMovingClass::event(QEvent *e)
{
    if (VxChartMessageEvent *m = vxChartMessage(e)) {
        ChartMessage(*m);
        return true;
    }
    return QWidget::event(e);
}

void VxChartBaseMovingClass::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Paint(p);
}

void VxChartBaseMovingClass::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    e->accept(); // the element handles it: it does not travel on to the panel
    const QPoint pos = MousePos(e);
    m_zone = VxChartHitZone(pos.x(), pos.y(), width(), height(), false);
    UpdateCursor();
    m_pressed = true;
    m_dragged = false;
    m_pressPoint = pos;
    if (m_zoomEnabled) {
        m_zooming = true;
        m_zoomStart = pos;
        m_zoomCorner = pos;
    }
    update();
}

void VxChartBaseMovingClass::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    const QPoint pos = MousePos(e);
    if (!m_pressed) {
        m_zone = VxChartHitZone(pos.x(), pos.y(), width(), height(), true);
        UpdateCursor();
        return;
    }
    if (m_zooming && !m_selected) {
        // Only the band changes: repaint where it was and where it is now.
        const QRect before = RubberBandBounds();
        m_zoomCorner = pos;
        update(QRegion(before).united(RubberBandBounds()));
    }
    if (!m_selected || m_zone == 0)
        return;

    m_dragged = true;
    const int dx = pos.x() - m_pressPoint.x();
    const int dy = pos.y() - m_pressPoint.y();
    int l = Left(), t = Top(), w = Width(), h = Height();
    switch (m_zone) {
    case 1:
        if (m_moveAble) {
            l += dx;
            t += dy;
        }
        break;
    case 2:
        l += dx, t += dy, w -= dx, h -= dy;
        break;
    case 3:
        l += dx, w -= dx;
        break;
    case 4:
        l += dx, w -= dx, h += dy;
        break;
    case 5:
        t += dy, h -= dy, w += dx;
        break;
    case 6:
        w += dx;
        break;
    case 7:
        w += dx, h += dy;
        break;
    case 8:
        t += dy, h -= dy;
        break;
    case 9:
        h += dy;
        break;
    default:
        break;
    }
    if (m_zone == 1 || m_sizeAble)
        SetBounds(l, t, w, h);
    m_pressPoint = MousePos(e); // in the element's new coordinates
    update();
}

void VxChartBaseMovingClass::mouseReleaseEvent(QMouseEvent *e)
{
    QWidget::mouseReleaseEvent(e);
    // Only the release of a press on this element counts; the release that
    // ends a double click does not toggle the selection again.
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    e->accept();
    const QPoint pos = MousePos(e);

    bool sel = m_dragged ? true : !m_selected;
    if (!m_selectable)
        sel = false;
    if (sel && pos != m_pressPoint)
        sel = false; // the mouse went elsewhere: a drag over the element, not a click
    m_selected = sel;
    if (sel && !m_keepOthers)
        vxChartSend(this, CM_ELEMENT_SELECT, this);

    if (m_zooming) {
        m_zooming = false;
        const int manhattan = std::abs(m_zoomStart.x() - m_zoomCorner.x()) + std::abs(m_zoomStart.y() - m_zoomCorner.y());
        if (manhattan > kZoomThreshold) {
            m_zoomRect = {qMin(m_zoomStart.x(), m_zoomCorner.x()), qMin(m_zoomStart.y(), m_zoomCorner.y()),
                          qMax(m_zoomStart.x(), m_zoomCorner.x()), qMax(m_zoomStart.y(), m_zoomCorner.y())};
            m_fieldRect = {0, 0, width(), height()};
            if (width() > 0 && height() > 0)
                PostToParent(CM_FIELD_ZOOM);
        }
        m_zoomCorner = m_zoomStart;
    }

    m_pressed = false;
    UpdateCursor();
    update();
}

void VxChartBaseMovingClass::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(e);
        return;
    }
    e->accept();
    m_pressed = false;
    m_zooming = false;
    m_zoomCorner = m_zoomStart;
    m_dblClickPoint = MousePos(e);
    PostToParent(CM_ELEMENT_DBLCLICK);
    update();
    DblClick(m_dblClickPoint);
}
