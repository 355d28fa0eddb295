#include "chart/VxUniChart2DLayout.h"

#include "chart/VxChartBaseLinesUnit.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// Frame

int VxChartPanelInset(const VxChartFrame &frame)
{
    int inset = frame.GapInner + frame.GapInOut + frame.GapOuter;
    if (frame.BevelOuter != vxcbNone)
        inset += frame.BevelOuterWidth;
    if (frame.BevelInner != vxcbNone)
        inset += frame.BevelInnerWidth;
    return inset;
}

QRect VxChartPanelBounds(QSize chart, const VxChartFrame &frame)
{
    const int i = VxChartPanelInset(frame);
    return QRect(i, i, std::max(0, chart.width() - 1 - 2 * i), std::max(0, chart.height() - 1 - 2 * i));
}

QColor VxChartBevelLight(const QColor &c)
{
    return QColor(std::min(255, c.red() + 32), std::min(255, c.green() + 32), std::min(255, c.blue() + 32));
}

QColor VxChartBevelDark(const QColor &c)
{
    return QColor(std::max(0, c.red() - 32), std::max(0, c.green() - 32), std::max(0, c.blue() - 32));
}

VxChartBevelColors VxChartBevelLineColors(TVxChartBevel style, bool inner, int k, int width, const QColor &light,
                                          const QColor &dark)
{
    const bool firstHalf = k < width / 2;
    switch (style) {
    case vxcbUp:
        return {light, dark};
    case vxcbDown:
        return {dark, light};
    case vxcbUpFlat:
        // A ridge: the outer bevel rises then falls, the inner one the reverse.
        if (inner)
            return {firstHalf ? dark : light, dark};
        return {firstHalf ? light : dark, dark};
    case vxcbDownFlat:
        if (inner)
            return {dark, firstHalf ? dark : light};
        return {dark, firstHalf ? light : dark};
    case vxcbNone:
        break;
    }
    return {};
}

namespace {

// One bevel line: the rectangle outline (l, t) - (r, b).  The left and top
// edges are drawn as one stroke from the bottom-left corner up and across,
// ending just before the top-right corner; the right and bottom edges from
// the top-right corner down and back, ending just before the bottom-left
// corner, which the first stroke already holds.
void PaintBevelLine(QPainter &p, int l, int t, int r, int b, const QColor &first, const QColor &second)
{
    if (r < l || b < t)
        return;
    p.fillRect(QRect(l, t, 1, b - t + 1), first);
    if (r > l)
        p.fillRect(QRect(l, t, r - l, 1), first);
    p.fillRect(QRect(r, t, 1, b - t + 1), second);
    if (r > l)
        p.fillRect(QRect(l + 1, b, r - l, 1), second);
}

void PaintBevel(QPainter &p, QSize chart, int o, TVxChartBevel style, bool inner, int width, const QColor &light,
                const QColor &dark)
{
    if (style == vxcbNone)
        return;
    for (int k = 0; k < width; ++k) {
        const VxChartBevelColors c = VxChartBevelLineColors(style, inner, k, width, light, dark);
        PaintBevelLine(p, o + k, o + k, chart.width() - 1 - o - k, chart.height() - 1 - o - k, c.First, c.Second);
    }
}

} // namespace

void VxChartPaintFrame(QPainter &p, QSize chart, const VxChartFrame &frame, const QColor &bevelColor)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), chart), bevelColor);
    const QColor light = VxChartBevelLight(bevelColor);
    const QColor dark = VxChartBevelDark(bevelColor);
    int o = frame.GapOuter;
    PaintBevel(p, chart, o, frame.BevelOuter, false, frame.BevelOuterWidth, light, dark);
    if (frame.BevelOuter != vxcbNone)
        o += frame.BevelOuterWidth;
    o += frame.GapInOut;
    PaintBevel(p, chart, o, frame.BevelInner, true, frame.BevelInnerWidth, light, dark);
    p.restore();
}

// ---------------------------------------------------------------------------
// Geometry of the elements

QRect VxChartLayoutAxis::Bounds() const
{
    if (Vertical)
        return QRect(CenterPointLeft - Thickness / 2, CenterPointTop - Length, Thickness, Length);
    return QRect(CenterPointLeft, CenterPointTop - Thickness / 2, Length, Thickness);
}

void VxChartLayoutAxis::SetLeft(int left)
{
    SetCenterPointLeft(Vertical ? left + Thickness / 2 : left);
}

void VxChartLayoutAxis::SetTop(int top)
{
    SetCenterPointTop(Vertical ? top + Length : top + Thickness / 2);
}

void VxChartLayoutAxis::SetCenterPointLeft(int v)
{
    if (v >= 0)
        CenterPointLeft = v;
}

void VxChartLayoutAxis::SetCenterPointTop(int v)
{
    if (v >= 0)
        CenterPointTop = v;
}

QRect VxChartFieldFromAxes(const VxChartLayoutAxis &xAxis, const VxChartLayoutAxis &yAxis)
{
    // The axis running across the field gives the horizontal extent, the one
    // running up it the vertical extent.
    const VxChartLayoutAxis &across = xAxis.Vertical ? yAxis : xAxis;
    const VxChartLayoutAxis &up = xAxis.Vertical ? xAxis : yAxis;
    const QRect a = across.Bounds();
    const QRect u = up.Bounds();
    return QRect(a.left() + across.BeginShift, u.top() + up.EndShift,
                 a.width() - across.BeginShift - across.EndShift, u.height() - up.BeginShift - up.EndShift);
}

void VxChartAxesFromField(const QRect &field, VxChartLayoutAxis &xAxis, VxChartLayoutAxis &yAxis)
{
    VxChartLayoutAxis &across = xAxis.Vertical ? yAxis : xAxis;
    VxChartLayoutAxis &up = xAxis.Vertical ? xAxis : yAxis;
    across.SetLeft(field.left() - across.BeginShift);
    across.Length = std::max(0, field.width() + across.BeginShift + across.EndShift);
    up.Length = std::max(0, field.height() + up.BeginShift + up.EndShift);
    // Moves the axis so that its top lies at the field's top less the shift.
    up.SetCenterPointTop(field.top() - up.EndShift + up.Length);
}

namespace {

void MoveTo(QRect &r, int left, int top)
{
    r.moveTo(left, top);
}

} // namespace

VxChartLayout VxChartRelayout(VxChartLayout l, TVxChartResizeReaction reaction)
{
    const int dx = l.Panel.width() - l.OldPanel.width();
    const int dy = l.Panel.height() - l.OldPanel.height();
    const int halfW = l.OldPanel.width() / 2;
    const int halfH = l.OldPanel.height() / 2;
    VxChartLayoutAxis &X = l.XAxis;
    VxChartLayoutAxis &Y = l.YAxis;
    VxChartLayoutAxis &Y2 = l.YAxis2;
    const bool xVertical = X.Vertical;

    // The y axes stand across the x axis; YAxis2 is a twin of YAxis placed
    // elsewhere along the field.
    Y.Vertical = !xVertical;
    Y2.Vertical = !xVertical;
    if (Y.Vertical)
        Y2.SetCenterPointTop(Y.CenterPointTop);
    else
        Y2.SetCenterPointLeft(Y.CenterPointLeft);
    Y2.Length = Y.Length;
    Y2.BeginShift = Y.BeginShift;
    Y2.EndShift = Y.EndShift;

    if (reaction == vxcrrStandart) {
        if (!xVertical) {
            if (X.CenterPointTop > halfH)
                X.SetCenterPointTop(X.CenterPointTop + dy);
            for (VxChartLayoutAxis *a : {&Y, &Y2}) {
                if (a->CenterPointLeft > halfW)
                    a->SetCenterPointLeft(a->CenterPointLeft + dx);
                // The lower end moves down with the panel, the top stays.
                a->SetCenterPointTop(a->CenterPointTop + dy);
                a->Length += dy;
            }
            X.Length += dx;
        } else {
            if (X.CenterPointLeft > halfW)
                X.SetCenterPointLeft(X.CenterPointLeft + dx);
            for (VxChartLayoutAxis *a : {&Y, &Y2}) {
                if (a->CenterPointTop > halfH)
                    a->SetCenterPointTop(a->CenterPointTop + dy);
                a->Length += dx;
            }
            X.SetCenterPointTop(X.CenterPointTop + dy);
            X.Length += dy;
        }
    }

    // Halves are judged against the panel as it was, like the far-edge test.
    auto upperHalf = [&](const VxChartLayoutAxis &a) { return a.CenterPointTop <= halfH; };
    auto leftHalf = [&](const VxChartLayoutAxis &a) { return a.CenterPointLeft <= halfW; };
    const QRect xb = X.Bounds();
    const QRect yb = Y.Bounds();
    const QRect y2b = Y2.Bounds();
    const int W = l.Panel.width();
    const int H = l.Panel.height();
    QRect &mc = l.MainCaption;
    QRect &lf = l.LinesField;
    QRect &ut = l.UserTextField;

    if (!xVertical) {
        // Centred on the axis, just beyond the labels under it: the tick
        // labels, and the factor label where the caption reaches over it.
        const int captionLeft = xb.left() + xb.width() / 2 - l.XCaption.width() / 2;
        int captionTop = upperHalf(X) ? xb.top() - l.XCaption.height() : xb.top() + xb.height();
        if (X.Labels.TickDepth >= 0) {
            int depth = X.Labels.TickDepth;
            const int factorLeft = xb.left() + xb.width() - X.Labels.FactorLength;
            if (X.Labels.FactorDepth >= 0 && captionLeft + l.XCaption.width() > factorLeft)
                depth = std::max(depth, X.Labels.FactorDepth);
            captionTop = upperHalf(X) ? X.CenterPointTop - depth - 1 - l.XCaption.height()
                                      : X.CenterPointTop + depth + 1;
        }
        MoveTo(l.XCaption, captionLeft, captionTop);
        auto follow = [&](QRect &cap, const VxChartLayoutAxis &a, const QRect &b) {
            MoveTo(cap, leftHalf(a) ? b.left() - cap.width() : b.left() + b.width(),
                   b.top() + b.height() / 2 - cap.height() / 2);
        };
        follow(l.YCaption, Y, yb);
        follow(l.YCaption2, Y2, y2b);

        const bool xUpper = upperHalf(X);
        MoveTo(mc, (W - mc.width()) / 2, xUpper ? H - mc.height() : 0);
        if (xUpper) {
            lf.moveTop(mc.top() - lf.height() - 10);
            ut.moveTop(lf.top() - ut.height() - 10);
        } else {
            lf.moveTop(mc.top() + mc.height() + 10);
            ut.moveTop(lf.top() + lf.height() + 10);
        }
        // Beside the title, on the side away from the y axes.  With both y
        // axes in the left half the boxes go to the right edge of the panel
        // as it is now, as they do without YAxis2, not as it was before the
        // size change: a box placed by the old width would hang over the
        // edge of a panel that shrank.
        auto place = [&](QRect &box) {
            const int w = box.width();
            int left;
            if (!Y2.Visible)
                left = leftHalf(Y) ? W - w - 10 : 0;
            else if (leftHalf(Y2))
                left = leftHalf(Y) ? W - w - 10 : yb.left() - w - 10;
            else
                left = leftHalf(Y) ? y2b.left() - w : 0;
            box.moveLeft(left);
        };
        place(lf);
        place(ut);
    } else {
        const bool xLeft = leftHalf(X);
        MoveTo(l.XCaption, xLeft ? xb.left() - l.XCaption.width() : xb.left() + xb.width(),
               xb.top() + xb.height() / 2 - l.XCaption.height() / 2);
        auto follow = [&](QRect &cap, const VxChartLayoutAxis &a, const QRect &b) {
            MoveTo(cap, b.left() + b.width() / 2 - cap.width() / 2,
                   upperHalf(a) ? b.top() - cap.height() : b.top() + b.height());
        };
        follow(l.YCaption, Y, yb);
        follow(l.YCaption2, Y2, y2b);

        MoveTo(mc, xLeft ? W - mc.width() : 0, H / 2 - mc.height() / 2);
        if (!xLeft) {
            lf.moveLeft(mc.left() + mc.width() + 10);
            ut.moveLeft(mc.left() + mc.width() + 10);
        } else {
            lf.moveLeft(mc.left() - lf.width() - 10);
            ut.moveLeft(mc.left() - ut.width() - 10);
        }
        if (Y2.Visible && upperHalf(Y2)) {
            int top = y2b.top() + y2b.height() + 10;
            if (upperHalf(Y))
                top = std::max(top, yb.top() + yb.height() + 10);
            lf.moveTop(top);
            ut.moveTop(lf.top() + lf.height() + 10);
        } else if (upperHalf(Y)) {
            lf.moveTop((Y2.Visible ? y2b.top() : H) - lf.height());
            ut.moveTop(lf.top() - ut.height() - 10);
        } else {
            lf.moveTop(0);
            ut.moveTop(lf.height() + 10);
        }
    }

    l.OldPanel = l.Panel;
    return l;
}

// ---------------------------------------------------------------------------
// Anchored axes

VxChartAxisAnchors VxChartAnchorAxis(const VxChartLayoutAxis &axis, bool isXAxis, bool xVertical, QSize panel,
                                     TVxChartResizeReaction reaction)
{
    const int W = panel.width(), H = panel.height();
    auto fixed = [](int v) { return VxChartAnchor{false, v}; };
    auto follows = [](int v, int extent) { return VxChartAnchor{true, v - extent}; };
    auto farIf = [&](bool far, int v, int extent) { return far ? follows(v, extent) : fixed(v); };
    VxChartAxisAnchors a{fixed(axis.CenterPointLeft), fixed(axis.CenterPointTop), fixed(axis.Length)};
    if (reaction != vxcrrStandart)
        return a;
    // "Beyond the middle" as the reaction judges it: past the old size div 2.
    const bool right = axis.CenterPointLeft > W / 2;
    const bool below = axis.CenterPointTop > H / 2;
    if (!xVertical) {
        if (isXAxis) {
            a.CenterPointTop = farIf(below, axis.CenterPointTop, H);
            a.Length = follows(axis.Length, W);
        } else {
            a.CenterPointLeft = farIf(right, axis.CenterPointLeft, W);
            a.CenterPointTop = follows(axis.CenterPointTop, H);
            a.Length = follows(axis.Length, H);
        }
    } else {
        if (isXAxis) {
            a.CenterPointLeft = farIf(right, axis.CenterPointLeft, W);
            a.CenterPointTop = follows(axis.CenterPointTop, H);
            a.Length = follows(axis.Length, H);
        } else {
            a.CenterPointTop = farIf(below, axis.CenterPointTop, H);
            a.Length = follows(axis.Length, W);
        }
    }
    return a;
}

void VxChartPlaceAxis(VxChartLayoutAxis &axis, const VxChartAxisAnchors &anchors, QSize panel)
{
    axis.CenterPointLeft = anchors.CenterPointLeft.At(panel.width());
    axis.CenterPointTop = anchors.CenterPointTop.At(panel.height());
    // A length follows the extent along the axis.
    axis.Length = anchors.Length.At(axis.Vertical ? panel.height() : panel.width());
}

VxChartLayout VxChartPlaceLayout(VxChartLayout l, const VxChartLayoutAnchors &anchors)
{
    const bool xVertical = l.XAxis.Vertical;
    l.YAxis.Vertical = !xVertical;
    l.YAxis2.Vertical = !xVertical;
    VxChartPlaceAxis(l.XAxis, anchors.XAxis, l.Panel);
    VxChartPlaceAxis(l.YAxis, anchors.YAxis, l.Panel);
    VxChartPlaceAxis(l.YAxis2, anchors.YAxis2, l.Panel);
    // YAxis2 is a twin of YAxis placed elsewhere across the field.
    if (l.YAxis.Vertical)
        l.YAxis2.CenterPointTop = l.YAxis.CenterPointTop;
    else
        l.YAxis2.CenterPointLeft = l.YAxis.CenterPointLeft;
    l.YAxis2.Length = l.YAxis.Length;
    l.YAxis2.BeginShift = l.YAxis.BeginShift;
    l.YAxis2.EndShift = l.YAxis.EndShift;

    // The captions and boxes: the reaction without a size change moves no
    // axis and arranges them by where the axes lie on the panel as it is.
    const VxChartLayout placed = l;
    l.OldPanel = l.Panel;
    l = VxChartRelayout(l, vxcrrStandart);
    l.XAxis = placed.XAxis;
    l.YAxis = placed.YAxis;
    l.YAxis2 = placed.YAxis2;
    return l;
}

// ---------------------------------------------------------------------------
// AutoScale and legend

namespace {

// Smallest and largest of the finite values fed in.
struct MinMax
{
    double Min = 0.0;
    double Max = 0.0;
    bool Seeded = false;

    void Seed(double v)
    {
        Min = Max = v;
        Seeded = true;
    }
    void Add(double v)
    {
        Min = std::min(Min, v);
        Max = std::max(Max, v);
    }
};

// The first finite value of a column among its first n points.
bool FirstValue(const VxChartBaseLine &line, int n, double &v)
{
    const VxChartDataArray &d = line.Data();
    for (int i = 0; i < std::min<qsizetype>(n, d.size()); ++i) {
        if (std::isfinite(d.at(i))) {
            v = d.at(i);
            return true;
        }
    }
    return false;
}

void AddValues(const VxChartBaseLine &line, int n, MinMax &mm)
{
    const VxChartDataArray &d = line.Data();
    for (int i = 0; i < std::min<qsizetype>(n, d.size()); ++i)
        if (std::isfinite(d.at(i)))
            mm.Add(d.at(i));
}

VxChartRange WithMargin(const MinMax &mm, double margin)
{
    const double extra = (mm.Max - mm.Min) * margin / 100.0;
    return {mm.Min - extra, mm.Max + extra};
}

// Range of the columns of one data type: 0 ... 0 without any, else seeded
// with the first value of the first such column.
VxChartRange ValueRange(const VxChartBaseLineArray &lines, int n, int dataType, double margin)
{
    MinMax mm;
    for (int c = 0; c < lines.LineCount(); ++c) {
        const VxChartBaseLine *line = lines.Line(c);
        if (!line || line->DataType() != dataType)
            continue;
        double first = 0.0;
        if (!mm.Seeded && FirstValue(*line, n, first))
            mm.Seed(first);
        if (mm.Seeded)
            AddValues(*line, n, mm);
    }
    return WithMargin(mm, margin);
}

} // namespace

VxChartAutoRanges VxChartAutoScaleRanges(const VxChartBaseLineArray &lines, double margin)
{
    const int count = lines.LineCount();
    const int n = lines.PointCount();
    if (count <= 0 || n < 1)
        return {};
    if (!std::isfinite(margin))
        margin = 0.0;

    // X: the x columns of the drawn columns that name one, seeded with the
    // first x value; columns without one run over the point indices.
    MinMax x;
    x.Min = 0.0;
    x.Max = n - 1;
    auto validX = [&](int index) { return index >= 0 && index < count; };
    for (int c = 0; c < count; ++c) {
        const VxChartBaseLine *line = lines.Line(c);
        if (!line || !line->IsDrawn() || !validX(line->XLine()))
            continue;
        const VxChartBaseLine &xs = *lines.Line(line->XLine());
        double first = 0.0;
        if (!x.Seeded && FirstValue(xs, n, first))
            x.Seed(first);
        if (x.Seeded)
            AddValues(xs, n, x);
    }
    for (int c = 0; c < count; ++c) {
        const VxChartBaseLine *line = lines.Line(c);
        if (!line || !line->IsDrawn() || validX(line->XLine()))
            continue;
        if (x.Min > 0.0)
            x.Min = 0.0;
        if (n - 1 > x.Max)
            x.Max = n - 1;
    }

    VxChartAutoRanges r;
    r.X = WithMargin(x, margin);
    r.Y = ValueRange(lines, n, vxcldYData, margin);
    r.Y2 = ValueRange(lines, n, vxcldY2Data, margin);
    return r;
}

VxChartLegendCount VxChartCountLegendLines(const VxChartBaseLineArray &lines)
{
    VxChartLegendCount count;
    for (int c = 0; c < lines.LineCount(); ++c) {
        const VxChartBaseLine *line = lines.Line(c);
        if (!line || !line->IsDrawn())
            continue;
        ++count.Lines;
        count.PointSize = std::max<int>(count.PointSize, line->PointSize());
    }
    return count;
}

QStringList VxChartLegendText(const VxChartBaseLineArray &lines, bool withImages)
{
    QStringList text;
    if (!lines.ListName().isEmpty())
        text.append(lines.ListName());
    int k = 0;
    for (int c = 0; c < lines.LineCount(); ++c) {
        const VxChartBaseLine *line = lines.Line(c);
        if (!line || !line->IsDrawn())
            continue;
        if (withImages)
            text.append(QStringLiteral("<inline>") + QString::number(k) + QStringLiteral("</inline>")
                        + line->LineName());
        else
            text.append(line->LineName());
        ++k;
    }
    return text;
}

QImage VxChartLegendTemplate(const QImage &backLine, int pointSize, const QColor &fill)
{
    if (backLine.width() > 0)
        return backLine.convertToFormat(QImage::Format_RGB888);
    if (pointSize <= 0)
        return QImage();
    QImage templ(6 * pointSize, 2 * pointSize, QImage::Format_RGB888);
    templ.fill(fill);
    return templ;
}
