// The movable chart element: a child widget of the chart's inner panel that
// the user selects with a click and then moves or resizes with the mouse.
// Text boxes and the plotting field derive from it; the axes use its
// notifications but not its mouse editing.  The plotting field also switches
// on the rubber-band zoom drag kept here.
#pragma once

#include <QList>
#include <QPoint>
#include <QWidget>

#include "chart/VxChartImageList.h"
#include "chart/VxChartMessages.h"

class QPainter;

// A rectangle by its edges, right and bottom lying one past the last pixel:
// a field W pixels wide spans Left 0 .. Right W.
struct VxChartEdges
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const VxChartEdges &, const VxChartEdges &) = default;
};

// A value range from Begin to End (either direction).
struct VxChartRange
{
    double Begin = 0.0;
    double End = 0.0;
};

// New range of an axis after a zoom drag.  current: the axis's current begin
// and end; runsHorizontally: the axis runs along the field's width (x axis of
// an unrotated field, y axes of a rotated one); zoom: the dragged rectangle and
// field: the field rectangle (0, 0, W, H), both in field pixels.  A field or
// a dragged rectangle without extent in the axis direction leaves the range
// as it is: a purely horizontal drag zooms only along the width.
VxChartRange VxChartZoomRange(VxChartRange current, bool runsHorizontally, const VxChartEdges &zoom,
                              const VxChartEdges &field);

// Hit zone of the point (x, y) in an element of the given size:
// 0 outside, 1 interior, 2 top-left, 3 left, 4 bottom-left, 5 top-right,
// 6 right, 7 bottom-right, 8 top, 9 bottom.  The edge bands are 5 pixels wide;
// while hovering the top band of the middle column is only 3 pixels high, so
// that grabbing the element just below its top edge moves it.
int VxChartHitZone(int x, int y, int width, int height, bool hovering);

// Cursor shown over a zone of an element.
Qt::CursorShape VxChartZoneCursor(int zone, bool selected, bool moveAble, bool sizeAble);

// Result of a point pick: column and point index, -1 and -1 when none.
struct VxChartPick
{
    int Column = -1;
    int Point = -1;
    friend bool operator==(const VxChartPick &, const VxChartPick &) = default;
};

// Nearest drawn point to the mouse.  hits[column][point] is the pixel where a
// point was last drawn, (-1, -1) when it was not.  Only entries with both
// coordinates >= 0 take part; the distance is the rounded Euclidean distance
// and must not exceed maxDistance; on equal distance the later entry wins.
VxChartPick VxChartPickPoint(const QList<QList<QPoint>> &hits, QPoint mouse, int maxDistance);

class VxChartBaseMovingClass : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool SizeAble READ SizeAble WRITE SetSizeAble)
    Q_PROPERTY(bool MoveAble READ MoveAble WRITE SetMoveAble)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Selectable READ Selectable WRITE SetSelectable)

public:
    explicit VxChartBaseMovingClass(QWidget *parent = nullptr);
    ~VxChartBaseMovingClass() override;

    // Copies SizeAble, MoveAble, Transparent and Selectable.
    virtual void Assign(const VxChartBaseMovingClass &source);

    // Moves and sizes the element.  A size change posts CM_ELEMENT_BOUNDS to
    // the parent (value 0 when the element is selected, 1 when it is not).
    // Every position or size change of an element goes through here.
    virtual void SetBounds(int left, int top, int width, int height);
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    bool SizeAble() const { return m_sizeAble; }
    void SetSizeAble(bool on) { m_sizeAble = on; }
    bool MoveAble() const { return m_moveAble; }
    void SetMoveAble(bool on) { m_moveAble = on; }
    bool Selectable() const { return m_selectable; }
    void SetSelectable(bool on);
    // When False, selecting this element deselects the other selected
    // elements of the parent that do not keep others either.
    bool KeepOthers() const { return m_keepOthers; }
    void SetKeepOthers(bool on) { m_keepOthers = on; }

    bool Selected() const { return m_selected; }
    // Selects or deselects; ignored unless Selectable and different.
    void Select(bool on);

    // Mouse state, for the derived elements and for tests.
    bool Pressed() const { return m_pressed; }
    bool Dragged() const { return m_dragged; }
    int Zone() const { return m_zone; }
    QPoint PressPoint() const { return m_pressPoint; }

    // Zoom drag (plotting field only).
    bool ZoomDragEnabled() const { return m_zoomEnabled; }
    bool Zooming() const { return m_zooming; }
    // A zoom drag is in progress on the unselected element.  Every paint
    // starts afresh, so the field paints its content and then the rubber
    // band (DrawRubberBand); each mouse move of the drag repaints it.  The
    // chart turns the stored rectangles into new axis ranges with
    // VxChartZoomRange.
    bool ZoomDragActive() const { return m_zoomEnabled && m_zooming && !m_selected; }
    QPoint ZoomStart() const { return m_zoomStart; }
    QPoint ZoomCorner() const { return m_zoomCorner; }
    // The last zoom rectangle and the field rectangle it refers to, stored
    // when a zoom drag ends; the chart reads them on CM_FIELD_ZOOM.
    VxChartEdges ZoomRect() const { return m_zoomRect; }
    VxChartEdges FieldRect() const { return m_fieldRect; }
    // Draws the rubber band between the zoom start and the moving corner in
    // inverting mode, so that drawing it twice removes it.
    void DrawRubberBand(QPainter &p) const;
    // The pixels the band covers, as far as a repaint must reach.
    QRect RubberBandBounds() const;

    // Mouse position of the last double click, in element coordinates.
    QPoint DblClickPoint() const { return m_dblClickPoint; }

signals:
    // The element's position or size changed, whoever changed it; emitted at
    // once, also while the element is hidden.
    void BoundsChanged();

protected:
    // Paints the element on any painter (screen, bitmap, printer).  Derived
    // elements paint their content and then call this, which draws the
    // selection marks.
    virtual void Paint(QPainter &p);
    // The selection frame: an inverting 5-pixel polyline and five hatched
    // frame rectangles; nothing when the element is not selected.
    void PaintSelection(QPainter &p) const;

    // Called after the element's own double-click handling (the notification
    // is already posted).  Text boxes open their editor here, the plotting
    // field picks the nearest point.
    virtual void DblClick(const QPoint &pos);

    // Chart messages delivered to the element.  The base handles
    // CM_ELEMENT_SELECT; overrides call it for the messages they leave alone.
    virtual void ChartMessage(VxChartMessageEvent &m);

    // Whether notifications to the parent may be sent: it exists.
    virtual bool ParentReady() const;
    // Posts a chart message to the parent with this element as sender.
    void PostToParent(int msg, qintptr value = 0, QObject *other = nullptr);

    // The plotting field switches the zoom drag on in its constructor.
    void SetZoomDragEnabled(bool on) { m_zoomEnabled = on; }

    void UpdateCursor();
    // Mouse position of an event in this element's current coordinates
    // (screen position minus the element's screen origin).
    QPoint MousePos(const QMouseEvent *e) const;

    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    bool m_pressed = false;
    bool m_dragged = false;
    int m_zone = 0;
    QPoint m_pressPoint;
    bool m_transparent = false;
    bool m_sizeAble = true;
    bool m_moveAble = true;
    bool m_keepOthers = false;
    bool m_selectable = true;
    bool m_selected = false;

    bool m_zoomEnabled = false;
    bool m_zooming = false;
    QPoint m_zoomStart;
    QPoint m_zoomCorner;
    VxChartEdges m_zoomRect;
    VxChartEdges m_fieldRect;
    QPoint m_dblClickPoint;
};
