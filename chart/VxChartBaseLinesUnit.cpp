#include "chart/VxChartBaseLinesUnit.h"

#include "chart/VxChartMessages.h"

#include <QMetaProperty>
#include <QPainter>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// Pure geometry

bool VxChartFieldMap::Valid() const
{
    return XBegin != XEnd && YBegin != YEnd && std::isfinite(XBegin) && std::isfinite(XEnd)
           && std::isfinite(YBegin) && std::isfinite(YEnd);
}

QList<QPoint> VxChartCatmullRom(const QPoint &p0, const QPoint &p1, const QPoint &p2, const QPoint &p3)
{
    const QPointF P0(p0), P1(p1), P2(p2), P3(p3);
    const QPointF a = (P2 - P0) / 2.0;
    const QPointF b = (2.0 * P0 - 5.0 * P1 + 4.0 * P2 - P3) / 2.0;
    const QPointF c = (-P0 + 3.0 * P1 - 3.0 * P2 + P3) / 2.0;
    QList<QPoint> points;
    points.reserve(101);
    for (int step = 0; step <= 100; ++step) {
        const double t = step / 100.0;
        const QPointF q = P1 + a * t + b * (t * t) + c * (t * t * t);
        points.append(QPoint(VxChartRound(q.x()), VxChartRound(q.y())));
    }
    return points;
}

void VxChartDrawLines(QPainter &p, const VxChartColumnPixels &c, VxChartLineReduction reduction)
{
    const int n = c.Count();
    const std::vector<QPoint> &P = c.Pixel;
    // The segment from a to a + 1 joins two points of one line: both have a
    // pixel and one at least lies inside.  Drawn unless the pixels are one.
    auto joined = [&](int a) { return c.Finite[a] && c.Finite[a + 1] && (c.Inside[a] || c.Inside[a + 1]); };
    std::vector<QLine> lines;
    auto flush = [&] {
        p.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };
    constexpr std::size_t kBatch = 4096;
    lines.reserve(kBatch);

    if (reduction == VxChartLineReduction::Plain) {
        for (int a = 0; a + 1 < n; ++a) {
            if (joined(a) && P[a] != P[a + 1])
                lines.emplace_back(P[a], P[a + 1]);
            if (lines.size() == kBatch)
                flush();
        }
        flush();
        return;
    }

    // Along: the coordinate the points of one group share (x for pixel
    // columns, y for rows); across: the other.  A cosmetic line covers
    // every pixel from one end to the other, both ends included, so the
    // segments between the points of a group cover exactly the pixels from
    // the group's smallest to its largest across coordinate.
    const bool columns = reduction == VxChartLineReduction::Columns;
    auto along = [&](const QPoint &q) { return columns ? q.x() : q.y(); };
    auto across = [&](const QPoint &q) { return columns ? q.y() : q.x(); };
    int a = 0;
    while (a < n) {
        if (!c.Finite[a]) {
            ++a;
            continue;
        }
        const int key = along(P[a]);
        int lo = across(P[a]), hi = lo;
        int b = a;
        while (b + 1 < n && joined(b) && along(P[b + 1]) == key) {
            ++b;
            lo = std::min(lo, across(P[b]));
            hi = std::max(hi, across(P[b]));
        }
        if (hi > lo)
            lines.push_back(columns ? QLine(key, lo, key, hi) : QLine(lo, key, hi, key));
        if (b + 1 < n && joined(b)) // leaves the group: the pixels differ
            lines.emplace_back(P[b], P[b + 1]);
        if (lines.size() + 2 > kBatch)
            flush();
        a = b + 1;
    }
    flush();
}

QList<int> VxChartGridPositions(double step, double begin, double end, int extent, bool vertical)
{
    QList<int> positions;
    if (!(step > 0.0) || begin == end || extent < 1 || !std::isfinite(step) || !std::isfinite(begin)
        || !std::isfinite(end))
        return positions;
    const double lower = begin < end ? begin : end;
    const double upper = begin < end ? end : begin;
    const double q = lower / step;
    const double k = std::trunc(q) - (q < 0 ? 1 : 0);
    // A step far too fine for the range would draw a solid block, slowly.
    if ((upper - lower) / step > 10000.0)
        return positions;
    for (double n = k;; n += 1.0) {
        const double v = n * step;
        if (!(v < upper))
            break;
        int pos;
        if (vertical)
            pos = begin < end ? extent - 1 - VxChartRound(extent * (v - begin) / (end - begin))
                              : VxChartRound(extent * (v - end) / (begin - end));
        else
            pos = begin < end ? VxChartRound(extent * (v - begin) / (end - begin))
                              : extent - 1 - VxChartRound(extent * (v - end) / (begin - end));
        positions.append(pos);
    }
    return positions;
}

// ---------------------------------------------------------------------------
// Data column

VxChartBaseLine::VxChartBaseLine(QObject *owner) : m_owner(owner) {}

void VxChartBaseLine::notify(bool linesChanged, bool repaint) const
{
    auto *field = qobject_cast<VxChartBaseLinesClass *>(m_owner);
    if (!field || !field->parentWidget())
        return;
    if (linesChanged)
        field->LinesChanged();
    if (repaint)
        field->ContentChanged();
}

void VxChartBaseLine::SetData(const VxChartDataArray &data)
{
    if (data.size() != m_pointCount)
        return;
    m_data = data;
    notify(true, false);
}

void VxChartBaseLine::SetPointCount(int n)
{
    if (n < 0 || n == m_pointCount)
        return;
    m_pointCount = n;
    m_data = VxChartDataArray(n, 0.0);
    notify(true, false);
}

void VxChartBaseLine::SetLineName(const QString &name)
{
    if (name == m_lineName)
        return;
    m_lineName = name;
    notify(true, false);
}

// The drawing attributes tell the legend and repaint the field.
#define VX_LINE_ATTRIBUTE_SETTER(Name, Type, member)                                                                 \
    void VxChartBaseLine::Set##Name(Type v)                                                                          \
    {                                                                                                                \
        if (v == member)                                                                                             \
            return;                                                                                                  \
        member = v;                                                                                                  \
        notify(true, true);                                                                                          \
    }
VX_LINE_ATTRIBUTE_SETTER(PointStyle, quint8, m_pointStyle)
VX_LINE_ATTRIBUTE_SETTER(PointColor, const QColor &, m_pointColor)
VX_LINE_ATTRIBUTE_SETTER(PointSize, quint8, m_pointSize)
VX_LINE_ATTRIBUTE_SETTER(LineStyle, quint8, m_lineStyle)
VX_LINE_ATTRIBUTE_SETTER(LineColor, const QColor &, m_lineColor)
VX_LINE_ATTRIBUTE_SETTER(ErrorStyle, quint8, m_errorStyle)
VX_LINE_ATTRIBUTE_SETTER(ErrorColor, const QColor &, m_errorColor)
#undef VX_LINE_ATTRIBUTE_SETTER

void VxChartBaseLine::SetDataType(quint8 v)
{
    // Always stored and announced: the legend depends on it.
    m_dataType = v;
    notify(true, true);
}

// Column references only change what the field draws.
#define VX_LINE_REFERENCE_SETTER(Name, member)                                                                       \
    void VxChartBaseLine::Set##Name(int v)                                                                           \
    {                                                                                                                \
        if (v == member)                                                                                             \
            return;                                                                                                  \
        member = v;                                                                                                  \
        if (auto *field = qobject_cast<VxChartBaseLinesClass *>(m_owner))                                           \
            field->ContentChanged();                                                                                 \
    }
VX_LINE_REFERENCE_SETTER(XLine, m_xLine)
VX_LINE_REFERENCE_SETTER(YMinusErrLine, m_yMinusErrLine)
VX_LINE_REFERENCE_SETTER(YPlusErrLine, m_yPlusErrLine)
VX_LINE_REFERENCE_SETTER(XPlusErrLine, m_xPlusErrLine)
VX_LINE_REFERENCE_SETTER(XMinusErrLine, m_xMinusErrLine)
#undef VX_LINE_REFERENCE_SETTER

void VxChartBaseLine::Assign(const VxChartBaseLine &source)
{
    if (&source == this)
        return;
    SetPointCount(source.PointCount());
    SetData(source.Data());
    SetPointStyle(source.PointStyle());
    SetDataType(source.DataType());
    SetPointColor(source.PointColor());
    SetPointSize(source.PointSize());
    SetXLine(source.XLine());
    SetYMinusErrLine(source.YMinusErrLine());
    SetYPlusErrLine(source.YPlusErrLine());
    SetXPlusErrLine(source.XPlusErrLine());
    SetXMinusErrLine(source.XMinusErrLine());
    SetLineStyle(source.LineStyle());
    SetLineColor(source.LineColor());
    SetErrorStyle(source.ErrorStyle());
    SetErrorColor(source.ErrorColor());
    SetLineName(source.LineName());
}

// ---------------------------------------------------------------------------
// Column list

VxChartBaseLineArray::VxChartBaseLineArray(QObject *owner) : m_owner(owner) {}

VxChartBaseLineArray::~VxChartBaseLineArray() = default;

void VxChartBaseLineArray::notify() const
{
    auto *field = qobject_cast<VxChartBaseLinesClass *>(m_owner);
    if (field && field->parentWidget())
        field->LinesChanged();
}

// Frees every column and creates fresh ones; numbered columns are named
// after their index, the others keep the default name.
void VxChartBaseLineArray::rebuild(int lines, int points, bool numbered)
{
    m_columns.clear();
    m_columns.reserve(std::size_t(lines));
    for (int i = 0; i < lines; ++i) {
        auto column = std::make_unique<VxChartBaseLine>(m_owner);
        column->m_pointCount = points;
        column->m_data = VxChartDataArray(points, 0.0);
        if (numbered)
            column->m_lineName = QStringLiteral("Line - ") + QString::number(i);
        m_columns.push_back(std::move(column));
    }
    if (auto *field = qobject_cast<VxChartBaseLinesClass *>(m_owner))
        field->ContentChanged();
    notify();
}

void VxChartBaseLineArray::SetLineCount(int n)
{
    if (n < 0 || n == m_lineCount)
        return;
    m_lineCount = n;
    rebuild(n, m_pointCount, true);
}

void VxChartBaseLineArray::SetPointCount(int n)
{
    if (n < 0 || n == m_pointCount)
        return;
    m_pointCount = n;
    rebuild(m_lineCount, n, false);
}

void VxChartBaseLineArray::SetListName(const QString &name)
{
    if (name == m_listName)
        return;
    m_listName = name;
    notify();
}

VxChartBaseLine *VxChartBaseLineArray::Line(int i) const
{
    if (i < 0 || i >= int(m_columns.size()))
        return nullptr;
    return m_columns[std::size_t(i)].get();
}

void VxChartBaseLineArray::SetLines(const VxChartBaseLineArray &source)
{
    if (&source == this || source.m_columns.size() != m_columns.size())
        return;
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        m_columns[i]->Assign(*source.m_columns[i]);
    notify();
}

void VxChartBaseLineArray::Assign(const VxChartBaseLineArray &source)
{
    if (&source == this)
        return;
    SetPointCount(source.PointCount());
    SetLineCount(source.LineCount());
    SetLines(source);
    SetListName(source.ListName());
}

// ---------------------------------------------------------------------------
// Plotting field

std::function<void(VxChartBaseLinesClass *)> VxChartBaseLinesClass::EditorHook;

VxChartBaseLinesClass::VxChartBaseLinesClass(QWidget *parent)
    : VxChartBaseMovingClass(parent), m_lines(std::make_unique<VxChartBaseLineArray>(this))
{
    SetZoomDragEnabled(true);
    VxChartBaseMovingClass::SetBounds(x(), y(), 100, 100);
}

VxChartBaseLinesClass::~VxChartBaseLinesClass()
{
    m_hitTable.clear();
}

template <typename T> void VxChartBaseLinesClass::store(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    ContentChanged();
}

void VxChartBaseLinesClass::SetColor(const QColor &c)
{
    store(m_color, c);
}

// Ranges: a value that is not a number would map every point to garbage.
#define VX_FIELD_RANGE_SETTER(Name, member)                                                                          \
    void VxChartBaseLinesClass::Set##Name(double v)                                                                  \
    {                                                                                                                \
        if (std::isfinite(v))                                                                                        \
            store(member, v);                                                                                        \
    }
VX_FIELD_RANGE_SETTER(XBegin, m_xBegin)
VX_FIELD_RANGE_SETTER(XEnd, m_xEnd)
VX_FIELD_RANGE_SETTER(YBegin, m_yBegin)
VX_FIELD_RANGE_SETTER(YEnd, m_yEnd)
VX_FIELD_RANGE_SETTER(Y2Begin, m_y2Begin)
VX_FIELD_RANGE_SETTER(Y2End, m_y2End)
VX_FIELD_RANGE_SETTER(XStep, m_xStep)
VX_FIELD_RANGE_SETTER(YStep, m_yStep)
VX_FIELD_RANGE_SETTER(Y2Step, m_y2Step)
#undef VX_FIELD_RANGE_SETTER

void VxChartBaseLinesClass::SetXScaleStyle(VxChartBaseAxisStyle s)
{
    store(m_xStyle, s);
}

void VxChartBaseLinesClass::SetYScaleStyle(VxChartBaseAxisStyle s)
{
    store(m_yStyle, s);
}

void VxChartBaseLinesClass::SetY2ScaleStyle(VxChartBaseAxisStyle s)
{
    store(m_y2Style, s);
}

void VxChartBaseLinesClass::SetRotated(bool v)
{
    store(m_rotated, v);
}

void VxChartBaseLinesClass::SetShowGrid(bool v)
{
    store(m_showGrid, v);
}

void VxChartBaseLinesClass::SetColorGridX(const QColor &c)
{
    store(m_colorGridX, c);
}

void VxChartBaseLinesClass::SetColorGridY(const QColor &c)
{
    store(m_colorGridY, c);
}

void VxChartBaseLinesClass::SetColorGridY2(const QColor &c)
{
    store(m_colorGridY2, c);
}

void VxChartBaseLinesClass::SetColorGridBorder(const QColor &c)
{
    store(m_colorGridBorder, c);
}

void VxChartBaseLinesClass::SetAutoEditMinDistance(int v)
{
    store(m_autoEditMinDistance, v);
}

void VxChartBaseLinesClass::SetBounds(int left, int top, int width, int height)
{
    const QRect old = geometry();
    VxChartBaseMovingClass::SetBounds(left, top, width, height);
    const QRect now = geometry();
    if (!ParentReady())
        return;
    if (old.topLeft() != now.topLeft())
        PostToParent(CM_FIELD_MOVED);
    if (old.size() != now.size())
        PostToParent(CM_FIELD_RESIZED);
}

void VxChartBaseLinesClass::Assign(const VxChartBaseMovingClass &other)
{
    const auto *source = qobject_cast<const VxChartBaseLinesClass *>(&other);
    if (!source || source == this)
        return;
    SetY2Begin(source->m_y2Begin);
    SetYBegin(source->m_yBegin);
    SetYEnd(source->m_yEnd);
    SetXBegin(source->m_xBegin);
    SetXEnd(source->m_xEnd);
    SetY2End(source->m_y2End);
    SetY2ScaleStyle(source->m_y2Style);
    SetXScaleStyle(source->m_xStyle);
    SetYScaleStyle(source->m_yStyle);
    SetRotated(source->m_rotated);
    SetShowGrid(source->m_showGrid);
    SetYStep(source->m_yStep);
    SetY2Step(source->m_y2Step);
    SetXStep(source->m_xStep);
    SetColorGridX(source->m_colorGridX);
    SetColorGridY2(source->m_colorGridY2);
    SetColorGridY(source->m_colorGridY);
    SetColorGridBorder(source->m_colorGridBorder);
    m_lines->Assign(*source->m_lines);
    SetAutoEditable(source->m_autoEditable);
    SetAutoEditMinDistance(source->m_autoEditMinDistance);
    VxChartBaseMovingClass::Assign(other);
}

void VxChartBaseLinesClass::ContentChanged()
{
    m_dragImage = QImage();
    update();
}

void VxChartBaseLinesClass::LinesChanged()
{
    if (ParentReady())
        PostToParent(CM_LINES_CHANGED);
}

VxChartFieldMap VxChartBaseLinesClass::FieldMap(int dataType) const
{
    VxChartFieldMap map;
    map.Width = width();
    map.Height = height();
    map.Rotated = m_rotated;
    map.XBegin = m_xBegin;
    map.XEnd = m_xEnd;
    const bool y2 = dataType == vxcldY2Data;
    map.YBegin = y2 ? m_y2Begin : m_yBegin;
    map.YEnd = y2 ? m_y2End : m_yEnd;
    // Only the linear scale can be mapped; anything else has no scale.
    if (m_xStyle != vxcbasLinear || (y2 ? m_y2Style : m_yStyle) != vxcbasLinear)
        map.XEnd = map.XBegin;
    return map;
}

double VxChartBaseLinesClass::XValue(int column, int point) const
{
    const VxChartBaseLine *line = m_lines->Line(column);
    if (!line)
        return point;
    const VxChartBaseLine *xs = m_lines->Line(line->XLine());
    if (!xs || point < 0 || point >= xs->Data().size())
        return point;
    return xs->Data().at(point);
}

bool VxChartBaseLinesClass::PickPoint(const QPoint &pos)
{
    const VxChartPick pick = VxChartPickPoint(m_hitTable, pos, m_autoEditMinDistance);
    m_pickedLine = pick.Column;
    m_pickedPoint = pick.Point;
    return pick.Column >= 0;
}

void VxChartBaseLinesClass::DblClick(const QPoint &pos)
{
    PickPoint(pos);
    if (m_autoEditable && EditorHook)
        EditorHook(this);
}

namespace {

// A box with exclusive right and bottom edges, as a Qt outline rectangle;
// empty boxes draw nothing.
bool boxRect(int l, int t, int r, int b, QRect *rect)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    if (r - l < 1 || b - t < 1)
        return false;
    *rect = QRect(l, t, r - l - 1, b - t - 1);
    return true;
}

// Draws one marker centred at c; h is half the point size.  crossReach is
// how far the arms of the cross reach past h (the field's crosses reach one
// pixel further than the legend's).
void drawMarker(QPainter &p, int style, const QPoint &c, int h, const QColor &color, int crossReach)
{
    const int px = c.x(), py = c.y();
    p.setPen(QPen(color, 0));
    p.setBrush(Qt::NoBrush);
    QRect box;
    const bool hasBox = boxRect(px - h, py - h, px + h, py + h, &box);
    switch (style) {
    case vxcpsCircle:
        if (hasBox)
            p.drawEllipse(box);
        break;
    case vxcpsSquare:
        if (hasBox)
            p.drawRect(box);
        break;
    case vxcpsTriangle:
        if (h > 0)
            p.drawPolyline(QPolygon({QPoint(px, py - h), QPoint(px + h, py + h), QPoint(px - h, py + h),
                                     QPoint(px, py - h)}));
        break;
    case vxcpsCross: {
        // Two arms from (px - h, py - h) and from (px - h, py + h + reach)
        // running 2h + reach pixels diagonally, the end pixel excluded as
        // with the other lines.
        const int n = 2 * h + crossReach;
        if (n > 0) {
            p.drawLine(px - h, py - h, px - h + n - 1, py - h + n - 1);
            p.drawLine(px - h, py + h + crossReach, px - h + n - 1, py + h + crossReach - (n - 1));
        }
        break;
    }
    case vxcpsDonut:
        if (hasBox) {
            p.setPen(QPen(color, std::max(3, h)));
            p.drawEllipse(box);
            p.setPen(QPen(color, 0));
        }
        break;
    case vxcpsDimond:
        if (h > 0)
            p.drawPolyline(QPolygon({QPoint(px - h, py), QPoint(px, py - h), QPoint(px + h, py), QPoint(px, py + h),
                                     QPoint(px - h, py)}));
        break;
    case vxcpsDot:
        if (hasBox) {
            p.setBrush(color);
            p.drawEllipse(box);
        }
        break;
    default:
        break;
    }
    p.setBrush(Qt::SolidPattern);
}

void drawCurve(QPainter &p, const QPoint &p0, const QPoint &p1, const QPoint &p2, const QPoint &p3)
{
    const QList<QPoint> points = VxChartCatmullRom(p0, p1, p2, p3);
    QPolygon path;
    path.reserve(points.size() + 1);
    path.append(p1);
    for (const QPoint &q : points)
        if (q != path.last())
            path.append(q);
    if (path.size() > 1)
        p.drawPolyline(path);
}

} // namespace

void VxChartBaseLinesClass::PaintGrid(QPainter &p) const
{
    const int W = width(), H = height();
    struct GridAxis
    {
        double step, begin, end;
        VxChartBaseAxisStyle style;
        QColor color;
        bool alongX; // the axis's values run horizontally
    };
    const GridAxis axes[3] = {
        {m_xStep, m_xBegin, m_xEnd, m_xStyle, m_colorGridX, !m_rotated},
        {m_yStep, m_yBegin, m_yEnd, m_yStyle, m_colorGridY, m_rotated},
        {m_y2Step, m_y2Begin, m_y2End, m_y2Style, m_colorGridY2, m_rotated},
    };
    p.save();
    p.setBrush(Qt::NoBrush);
    for (const GridAxis &axis : axes) {
        if (axis.style != vxcbasLinear)
            continue;
        p.setPen(QPen(axis.color, 0));
        const int extent = axis.alongX ? W : H;
        for (int pos : VxChartGridPositions(axis.step, axis.begin, axis.end, extent, !axis.alongX)) {
            if (axis.alongX)
                p.drawLine(pos, 0, pos, H - 1);
            else
                p.drawLine(0, pos, W - 1, pos);
        }
    }
    QRect border;
    if (boxRect(0, 0, W, H, &border)) {
        p.setPen(QPen(m_colorGridBorder, 0));
        p.drawRect(border);
    }
    p.restore();
}

void VxChartBaseLinesClass::PaintColumns(QPainter &p)
{
    const int lineCount = m_lines->LineCount();
    const int pointCount = m_lines->PointCount();
    // Table and pixels keep their storage from one paint to the next.
    m_hitTable.resize(lineCount);
    for (QList<QPoint> &row : m_hitTable)
        row.fill(QPoint(-1, -1), pointCount);
    m_pixels.resize(std::size_t(lineCount));

    // Pixels of every drawn column; a point whose values are not numbers has
    // no pixel and is treated like a point outside the field.
    struct Column
    {
        int index;
        const VxChartBaseLine *line;
        VxChartFieldMap map;
        const VxChartColumnPixels &px;
    };
    std::vector<Column> columns;
    for (int c = 0; c < lineCount; ++c) {
        const VxChartBaseLine *line = m_lines->Line(c);
        if (!line->IsDrawn())
            continue;
        const VxChartFieldMap map = FieldMap(line->DataType());
        if (!map.Valid())
            continue; // an empty range cannot be drawn against
        const VxChartDataArray &ys = line->Data();
        const VxChartBaseLine *xLine = m_lines->Line(line->XLine());
        const VxChartDataArray *xs = xLine ? &xLine->Data() : nullptr;
        const qsizetype xCount = xs ? xs->size() : 0;
        auto x = [&](int i) { return i < xCount ? xs->at(i) : double(i); };
        auto y = [&](int i) { return ys.at(i); };
        VxChartColumnPixels &px = m_pixels[std::size_t(c)];
        px.Assign(map, int(ys.size()), x, y);
        columns.push_back({c, line, map, px});
    }

    p.save();
    // Pass 1: connecting lines and splines.
    for (const Column &col : columns) {
        const VxChartColumnPixels &px = col.px;
        const int n = px.Count();
        const int style = col.line->LineStyle();
        if (style != vxclsLine && style != vxclsSpline)
            continue;
        p.setPen(QPen(col.line->LineColor(), 0));
        p.setBrush(Qt::NoBrush);
        if (style == vxclsLine) {
            // More points than pixels along the x direction: per pixel
            // column (row) reduction, which draws the same pixels.
            const int extent = m_rotated ? col.map.Height : col.map.Width;
            VxChartLineReduction reduction = VxChartLineReduction::Plain;
            if (n > extent)
                reduction = m_rotated ? VxChartLineReduction::Rows : VxChartLineReduction::Columns;
            VxChartDrawLines(p, px, reduction);
            continue;
        }
        for (int i = 0; i < n; ++i) {
            if (!px.Inside[i])
                continue;
            // Neighbours past the ends (or without a pixel) repeat the
            // nearer point.
            const QPoint pi = px.Pixel[i];
            const QPoint prev = i > 0 && px.Finite[i - 1] ? px.Pixel[i - 1] : pi;
            const QPoint next = i < n - 1 && px.Finite[i + 1] ? px.Pixel[i + 1] : pi;
            const QPoint next2 = i < n - 2 && px.Finite[i + 2] ? px.Pixel[i + 2] : next;
            const bool prevInside = prev == pi || px.Inside[i - 1];
            if (!prevInside)
                drawCurve(p, prev, prev, pi, next);
            if (next != pi)
                drawCurve(p, prev, pi, next, next2);
        }
    }

    // Pass 2: markers, and the hit table of every point inside.
    for (const Column &col : columns) {
        const int h = col.line->PointSize() / 2;
        const int style = col.line->PointStyle();
        QList<QPoint> &row = m_hitTable[col.index];
        QPoint *hits = row.data();
        const int rowSize = int(row.size());
        for (int i = 0; i < col.px.Count(); ++i) {
            if (!col.px.Inside[i])
                continue;
            if (style != vxcpsNone)
                drawMarker(p, style, col.px.Pixel[i], h, col.line->PointColor(), 1);
            if (i < rowSize)
                hits[i] = col.px.Pixel[i];
        }
    }

    // Pass 3: error marks.
    for (const Column &col : columns) {
        const int style = col.line->ErrorStyle();
        if (style != vxcesCross && style != vxcesRect)
            continue;
        const VxChartBaseLine *eXmLine = m_lines->Line(col.line->XMinusErrLine());
        const VxChartBaseLine *eXpLine = m_lines->Line(col.line->XPlusErrLine());
        const VxChartBaseLine *eYmLine = m_lines->Line(col.line->YMinusErrLine());
        const VxChartBaseLine *eYpLine = m_lines->Line(col.line->YPlusErrLine());
        // Without offset columns every mark ends on its point: nothing shows.
        if (!eXmLine && !eXpLine && !eYmLine && !eYpLine)
            continue;
        p.setPen(QPen(col.line->ErrorColor(), 0));
        auto offset = [](const VxChartBaseLine *e, int i) {
            if (!e || i >= e->Data().size() || !std::isfinite(e->Data().at(i)))
                return 0.0;
            return e->Data().at(i);
        };
        for (int i = 0; i < col.px.Count(); ++i) {
            if (!col.px.Inside[i])
                continue;
            const double x = XValue(col.index, i), y = col.line->Data().at(i);
            const double eXm = offset(eXmLine, i), eXp = offset(eXpLine, i);
            const double eYm = offset(eYmLine, i), eYp = offset(eYpLine, i);
            const QPoint xm = col.map.Map(x + eXm, y), xp = col.map.Map(x + eXp, y);
            const QPoint ym = col.map.Map(x, y + eYm), yp = col.map.Map(x, y + eYp);
            int left, right, top, bottom;
            if (!m_rotated) {
                left = xm.x(), right = xp.x(), top = ym.y(), bottom = yp.y();
            } else {
                left = ym.x(), right = yp.x(), top = xm.y(), bottom = xp.y();
            }
            const int px = col.px.Pixel[i].x(), py = col.px.Pixel[i].y();
            if (style == vxcesCross) {
                // Caps are 4 pixels long, from end - 2 up to end + 2 excluded.
                for (int end : {left, right}) {
                    if (end == px)
                        continue;
                    p.drawLine(px, py, end, py);
                    p.drawLine(end, py - 2, end, py + 1);
                }
                for (int end : {top, bottom}) {
                    if (end == py)
                        continue;
                    p.drawLine(px, py, px, end);
                    p.drawLine(px - 2, end, px + 1, end);
                }
            } else {
                QRect box;
                p.setBrush(Qt::NoBrush);
                if (boxRect(left, top, right, bottom, &box))
                    p.drawRect(box);
                p.setBrush(Qt::SolidPattern);
            }
        }
    }
    p.restore();
}

void VxChartBaseLinesClass::PaintField(QPainter &p)
{
    if (!Transparent())
        p.fillRect(rect(), m_color);
    if (m_showGrid)
        PaintGrid(p);
    PaintColumns(p);
}

void VxChartBaseLinesClass::Paint(QPainter &p)
{
    // While a zoom drag is under way the rubber band goes on top of the
    // content instead of the selection marks.  The content stays as it is
    // during the drag: it is drawn once into an image (with the device's
    // pixel ratio, transparent where a transparent field draws nothing) and
    // every move of the band copies the part of it the band left and the
    // band.  Drawing into the image gives the pixels of drawing straight on
    // the device.
    if (ZoomDragActive()) {
        const qreal ratio = p.device() ? p.device()->devicePixelRatio() : 1.0;
        const QImage::Format format = Transparent() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        if (m_dragImage.isNull() || m_dragImage.format() != format || m_dragImage.devicePixelRatio() != ratio
            || m_dragImage.deviceIndependentSize() != QSizeF(size())) {
            m_dragImage = QImage(size() * ratio, format);
            m_dragImage.setDevicePixelRatio(ratio);
            m_dragImage.fill(Qt::transparent);
            QPainter content(&m_dragImage);
            PaintField(content);
        }
        p.drawImage(0, 0, m_dragImage);
        DrawRubberBand(p);
        return;
    }
    m_dragImage = QImage();
    PaintField(p);
    VxChartBaseMovingClass::Paint(p);
}

QImage VxChartBaseLinesClass::LegendSample(int k, const QImage &templ) const
{
    const VxChartBaseLine *line = nullptr;
    for (int c = 0, seen = 0; c < m_lines->LineCount(); ++c) {
        const VxChartBaseLine *candidate = m_lines->Line(c);
        if (candidate->IsDrawn() && seen++ == k) {
            line = candidate;
            break;
        }
    }
    if (!line || templ.isNull())
        return QImage();
    QImage sample = templ.copy();
    const int w = sample.width(), h = sample.height();
    QPainter p(&sample);
    if (line->LineStyle() != vxclsNone) {
        p.setPen(QPen(line->LineColor(), 0));
        p.drawLine(0, h / 2, w, h / 2);
    }
    drawMarker(p, line->PointStyle(), QPoint(w / 2, h / 2), line->PointSize() / 2, line->PointColor(), 0);
    return sample;
}

// ---------------------------------------------------------------------------
// Facade

VxChartBaseLinesClassData::VxChartBaseLinesClassData(QWidget *panel, QObject *parent)
    : QObject(parent), m_control(new VxChartBaseLinesClass(panel))
{
}

VxChartBaseLinesClassData::~VxChartBaseLinesClassData()
{
    delete m_control.data();
}

void VxChartBaseLinesClassData::SetWidth(int v)
{
    m_control->SetWidth(v);
}

void VxChartBaseLinesClassData::SetHeight(int v)
{
    m_control->SetHeight(v);
}

void VxChartBaseLinesClassData::SetTop(int v)
{
    m_control->SetTop(v);
}

void VxChartBaseLinesClassData::SetLeft(int v)
{
    m_control->SetLeft(v);
}

bool VxChartBaseLinesClassData::Transparent() const
{
    return m_control->Transparent();
}

void VxChartBaseLinesClassData::SetTransparent(bool v)
{
    m_control->SetTransparent(v);
}

bool VxChartBaseLinesClassData::SizeAble() const
{
    return m_control->SizeAble();
}

void VxChartBaseLinesClassData::SetSizeAble(bool v)
{
    m_control->SetSizeAble(v);
}

bool VxChartBaseLinesClassData::MoveAble() const
{
    return m_control->MoveAble();
}

void VxChartBaseLinesClassData::SetMoveAble(bool v)
{
    m_control->SetMoveAble(v);
}

bool VxChartBaseLinesClassData::Selectable() const
{
    return m_control->Selectable();
}

void VxChartBaseLinesClassData::SetSelectable(bool v)
{
    m_control->SetSelectable(v);
}

void VxChartBaseLinesClassData::Assign(const VxChartBaseLinesClassData &source)
{
    const QMetaObject *meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (prop.isStored() && prop.isWritable())
            prop.write(this, prop.read(&source));
    }
}
