#include "chart/VxChartBaseAxisUnit.h"

#include "chart/VxChartImageList.h"
#include "chart/VxChartMessages.h"
#include "chart/VxChartNumberFormat.h"

#include <QFontMetrics>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cfloat>
#include <cmath>

// ---------------------------------------------------------------------------
// Tick arithmetic

namespace {

// Label layout in pixels: between the tick labels and the factor label's
// row, the lift of the factor's exponents, and the least room between two
// tick labels along the axis.
constexpr int kFactorGap = 2;
constexpr int kRaise = 2;
constexpr int kLabelGap = 3;

// The tick count of every table step for a range of the given width and
// exponent; the step whose count comes closest to the wish wins, the lower
// index on ties.
int chooseStepIndex(double range, int exponent, int wantedTicks)
{
    const double decade = std::pow(10.0, exponent);
    int best = 0;
    double bestDiff = DBL_MAX;
    for (int j = 0; j < int(VxChartAxisSteps.size()); ++j) {
        const double count = std::trunc(range / (decade * VxChartAxisSteps[j]) + 1.0);
        const double diff = std::fabs(count - wantedTicks);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = j;
        }
    }
    return best;
}

} // namespace

double VxChartFloor(double x)
{
    if (std::isnan(x))
        return 0.0;
    return std::trunc(x) - (x < 0 ? 1.0 : 0.0);
}

double VxChartCeil(double x)
{
    if (std::isnan(x))
        return 0.0;
    return std::trunc(x) + (x >= 0 ? 1.0 : 0.0);
}

int VxChartExp(double v)
{
    if (v == 0.0 || !std::isfinite(v))
        return 0;
    return static_cast<int>(VxChartFloor(std::log10(std::fabs(v))));
}

double VxChartAxisScale::Step() const
{
    return std::pow(10.0, Exponent) * VxChartAxisSteps[std::size_t(std::clamp(Index, 0, 8))];
}

VxChartAxisScale VxChartAxisScaleUpdate(double begin, double end, int wantedTicks)
{
    VxChartAxisScale s;
    if (begin != end) {
        double range = std::fabs(end - begin);
        if (!std::isfinite(range))
            range = DBL_MAX;
        s.Exponent = VxChartExp(range);
        s.Index = chooseStepIndex(range, s.Exponent, wantedTicks);
        const double lower = begin < end ? begin : end;
        if (s.Exponent + 2 <= VxChartExp(lower) && lower != 0.0) {
            const double unit = std::pow(10.0, s.Exponent + 2);
            s.Offset = unit * VxChartFloor(lower / unit);
        }
        s.CurrBegin = begin;
        s.CurrEnd = end;
    } else if (begin == 0.0) {
        s.Exponent = VxChartExp(1.0);
        s.Index = chooseStepIndex(1.0, s.Exponent, wantedTicks);
        s.CurrBegin = -0.5;
        s.CurrEnd = 0.5;
    } else {
        s.Exponent = VxChartExp(begin);
        s.Index = chooseStepIndex(std::fabs(begin), s.Exponent, wantedTicks);
        // Half the value's size on either side: the range runs upwards also
        // for a negative value.
        s.CurrBegin = begin - std::fabs(begin) / 2;
        s.CurrEnd = begin + std::fabs(begin) / 2;
    }
    return s;
}

QList<VxChartAxisTick> VxChartAxisTicks(const VxChartAxisScale &scale, int length, int beginShift, int endShift,
                                        double *pixelsPerValue)
{
    QList<VxChartAxisTick> ticks;
    const double s = scale.Step();
    const double cb = scale.CurrBegin, ce = scale.CurrEnd, o = scale.Offset;
    if (pixelsPerValue)
        *pixelsPerValue = 0.0;
    if (!(s > 0.0) || !std::isfinite(s) || cb == ce || !std::isfinite(cb) || !std::isfinite(ce))
        return ticks;
    const double span = length - beginShift - endShift;
    const bool forward = cb < ce;
    const double lo = forward ? cb : ce, hi = forward ? ce : cb;
    const double k = span / (hi - lo);
    if (pixelsPerValue)
        *pixelsPerValue = forward ? k : -k;
    // Tick values are counted from the offset, so that they stay small
    // beside a range far from zero; the span's ends relative to the offset
    // are taken once, before the small tick values meet them.
    const double first = VxChartFloor((lo - o) / s);
    const double last = VxChartCeil((hi - o) / s);
    // An absurd step relative to the range would never finish: such a scale
    // cannot come out of the scale update.
    if (!(last - first <= 10000.0))
        return ticks;
    const double base = (forward ? cb : ce) - o; // the begin (end) value less the offset
    const int count = static_cast<int>(last - first);
    for (int j = 0; j <= count; ++j) {
        const double t = (first + j) * s;
        if (!std::isfinite(t) || !std::isfinite(t - base))
            continue; // past the largest number: nothing to draw there
        VxChartAxisTick tick;
        tick.Value = t;
        // The begin value sits at beginShift; a reversed range is measured
        // backwards from the last pixel before the end shift, as the
        // plotting field places the grid lines of a reversed range, so that
        // ticks and grid lines meet.
        if (forward)
            tick.Pos = VxChartRound((t - base) * k + beginShift);
        else
            tick.Pos = length - 1 - endShift - VxChartRound((t - base) * k);
        ticks.append(tick);
    }
    return ticks;
}

QString VxChartAxisLabel(const VxChartAxisScale &scale, double tickValue)
{
    return VxChartWithDecimalSeparator(QString::asprintf("%5.2f", tickValue / std::pow(10.0, scale.Exponent)));
}

QList<VxChartAxisFactorPiece> VxChartAxisFactorPieces(const VxChartAxisScale &scale)
{
    QList<VxChartAxisFactorPiece> pieces{{QStringLiteral("10"), false}, {QString::number(scale.Exponent), true}};
    const double o = scale.Offset;
    if (o != 0.0) {
        const int k = VxChartExp(o);
        pieces.append({(o > 0 ? QStringLiteral("   + ") : QStringLiteral("   "))
                           + VxChartWithDecimalSeparator(QString::asprintf("%7.5f", o / std::pow(10.0, k)))
                           + QStringLiteral("*10"),
                       false});
        pieces.append({QString::number(k), true});
    }
    return pieces;
}

// ---------------------------------------------------------------------------
// The axis element

std::function<void(VxChartBaseAxisClass *)> VxChartBaseAxisClass::EditorHook;

VxChartBaseAxisClass::VxChartBaseAxisClass(QWidget *parent) : VxChartBaseMovingClass(parent)
{
    // An axis paints only its line, ticks and texts: the panel shows through.
    SetTransparent(true);
    m_font = QFont(QStringLiteral("Times New Roman"), 8);
    rebound(100, 32); // around the default centre point
    m_scale = VxChartAxisScaleUpdate(m_beginValue, m_endValue, m_wantedTicks);
    m_ready = true;
}

VxChartBaseAxisClass::~VxChartBaseAxisClass() = default;

bool VxChartBaseAxisClass::canNotify() const
{
    return m_ready && parentWidget() != nullptr;
}

void VxChartBaseAxisClass::post(int msg) const
{
    if (canNotify())
        vxChartPost(parentWidget(), msg, const_cast<VxChartBaseAxisClass *>(this));
}

void VxChartBaseAxisClass::SetBounds(int left, int top, int width, int height)
{
    // Axes are not edited with the mouse and report their own moves and
    // resizes, so the element-bounds notice of the moving base is not sent.
    const QRect old = geometry();
    setGeometry(left, top, std::max(0, width), std::max(0, height));
    const QRect now = geometry();
    if (m_axisType == vxcbatHorizontal) {
        m_centerPointLeft = now.x();
        m_centerPointTop = now.y() + now.height() / 2;
    } else {
        m_centerPointLeft = now.x() + now.width() / 2;
        m_centerPointTop = now.y() + now.height();
    }
    if (old.topLeft() != now.topLeft())
        post(CM_AXIS_MOVED);
    if (old.size() != now.size())
        post(CM_AXIS_RESIZED);
    if (old != now)
        emit BoundsChanged();
}

// Places an element of the given size around the centre point.
void VxChartBaseAxisClass::rebound(int w, int h)
{
    if (m_axisType == vxcbatHorizontal)
        SetBounds(m_centerPointLeft, m_centerPointTop - h / 2, w, h);
    else
        SetBounds(m_centerPointLeft - w / 2, m_centerPointTop - h, w, h);
}

void VxChartBaseAxisClass::SetLeft(int v)
{
    SetBounds(v, y(), width(), height());
}

void VxChartBaseAxisClass::SetTop(int v)
{
    SetBounds(x(), v, width(), height());
}

void VxChartBaseAxisClass::SetWidth(int v)
{
    if (v != width())
        rebound(v, height());
}

void VxChartBaseAxisClass::SetHeight(int v)
{
    if (v != height())
        rebound(width(), v);
}

int VxChartBaseAxisClass::Length() const
{
    return m_axisType == vxcbatHorizontal ? width() : height();
}

void VxChartBaseAxisClass::SetLength(int v)
{
    if (m_axisType == vxcbatHorizontal)
        SetWidth(v);
    else
        SetHeight(v);
}

void VxChartBaseAxisClass::SetCenterPointLeft(int v)
{
    if (v < 0 || v == m_centerPointLeft)
        return;
    m_centerPointLeft = v;
    rebound(width(), height());
}

void VxChartBaseAxisClass::SetCenterPointTop(int v)
{
    if (v < 0 || v == m_centerPointTop)
        return;
    m_centerPointTop = v;
    rebound(width(), height());
}

void VxChartBaseAxisClass::SetBeginShift(int v)
{
    if (v == m_beginShift || v < 0 || v + m_endShift >= Length())
        return;
    m_beginShift = v;
    post(CM_AXIS_MOVED);
    update();
}

void VxChartBaseAxisClass::SetEndShift(int v)
{
    if (v == m_endShift || v < 0 || m_beginShift + v >= Length())
        return;
    m_endShift = v;
    post(CM_AXIS_MOVED);
    update();
}

void VxChartBaseAxisClass::SetAxisType(VxChartBaseAxisType t)
{
    if (t == m_axisType)
        return;
    const int w = width(), h = height();
    m_axisType = t;
    // The length stays the length: width and height change places around
    // the centre point.
    rebound(h, w);
    ensureThickness();
    post(CM_AXIS_TYPECHANGED);
    post(CM_AXIS_SCALECHANGED);
    update();
}

void VxChartBaseAxisClass::SetScaleStyle(VxChartBaseAxisStyle s)
{
    if (s == m_scaleStyle)
        return;
    m_scaleStyle = s;
    updateScale();
}

void VxChartBaseAxisClass::SetMinorTicks(int v)
{
    v = std::clamp(v, 0, 255);
    if (v == m_minorTicks)
        return;
    m_minorTicks = v;
    update();
}

void VxChartBaseAxisClass::SetWantedTicks(int v)
{
    if (v < 4)
        return;
    m_wantedTicks = std::min(v, 255);
    updateScale();
}

void VxChartBaseAxisClass::SetBeginValue(double v)
{
    // A value that is not a number would reach the labels as garbage.
    if (!std::isfinite(v) || v == m_beginValue)
        return;
    m_beginValue = v;
    updateScale();
}

void VxChartBaseAxisClass::SetEndValue(double v)
{
    if (!std::isfinite(v) || v == m_endValue)
        return;
    m_endValue = v;
    updateScale();
}

void VxChartBaseAxisClass::updateScale()
{
    m_scale = VxChartAxisScaleUpdate(m_beginValue, m_endValue, m_wantedTicks);
    post(CM_AXIS_SCALECHANGED);
    update();
}

double VxChartBaseAxisClass::Step() const
{
    return m_scaleStyle == vxcbasLinear ? m_scale.Step() : 0.0;
}

void VxChartBaseAxisClass::SetCurrImageList(VxChartImageList *list)
{
    if (list == m_imageList)
        return;
    if (m_imageList)
        disconnect(m_imageList, nullptr, this, nullptr);
    m_imageList = list;
    if (list)
        connect(list, &VxChartImageList::Changed, this, qOverload<>(&QWidget::update));
    update();
}

void VxChartBaseAxisClass::SetColor(const QColor &c)
{
    if (c == m_color)
        return;
    m_color = c;
    update();
}

int VxChartBaseAxisClass::fontSize() const
{
    if (m_font.pointSize() > 0)
        return m_font.pointSize();
    if (m_font.pixelSize() > 0)
        return m_font.pixelSize() * 72 / 96;
    return std::abs(VxChartRound(m_font.pointSizeF()));
}

void VxChartBaseAxisClass::SetFont(const QFont &f)
{
    if (f == m_font)
        return;
    m_font = f;
    ensureThickness();
    post(CM_AXIS_FONTCHANGED);
    update();
}

// The axis must be thick enough for its labels: at least 4 * font size,
// and a horizontal axis room for the row of the factor label beyond its
// tick labels.
void VxChartBaseAxisClass::ensureThickness()
{
    const int thickness = std::max(m_axisType == vxcbatHorizontal ? height() : width(), NeededThickness());
    if (m_axisType == vxcbatHorizontal)
        SetHeight(thickness);
    else
        SetWidth(thickness);
}

int VxChartBaseAxisClass::NeededThickness() const
{
    const int fs = fontSize();
    if (m_axisType == vxcbatVertical)
        return 4 * fs;
    const QFontMetrics normal(m_font, this);
    const int h = normal.height();
    // Below the line: the tick labels from the line, then the factor row;
    // above it: the tick labels 2 * font size above the line, then the
    // factor row above them.
    const int below = h + kFactorGap + h;
    const int above = 2 * fs + kFactorGap + h + kRaise;
    return std::max(4 * fs, 2 * std::max(below, above));
}

void VxChartBaseAxisClass::SetFontColor(const QColor &c)
{
    if (c == m_fontColor)
        return;
    m_fontColor = c;
    post(CM_AXIS_FONTCHANGED);
    update();
}

void VxChartBaseAxisClass::setVisible(bool visible)
{
    const bool changed = visible == isHidden();
    VxChartBaseMovingClass::setVisible(visible);
    if (changed) {
        post(CM_AXIS_SCALECHANGED);
        update();
    }
}

void VxChartBaseAxisClass::Assign(const VxChartBaseMovingClass &other)
{
    const auto *axis = qobject_cast<const VxChartBaseAxisClass *>(&other);
    if (!axis)
        return;
    const VxChartBaseAxisClass &source = *axis;
    SetAxisType(source.AxisType());
    SetWidth(source.width());
    SetHeight(source.height());
    SetTop(source.y());
    SetLeft(source.x());
    SetCenterPointLeft(source.CenterPointLeft());
    SetCenterPointTop(source.CenterPointTop());
    SetBeginShift(source.BeginShift());
    SetEndShift(source.EndShift());
    // A begin shift refused next to the old end shift fits once the new end
    // shift is in: the source's pair always fits its length.
    SetBeginShift(source.BeginShift());
    SetFont(source.Font());
    SetFontColor(source.FontColor());
    SetScaleStyle(source.ScaleStyle());
    SetBeginValue(source.BeginValue());
    SetEndValue(source.EndValue());
    SetWantedTicks(source.WantedTicks());
    SetMinorTicks(source.MinorTicks());
    SetCurrImageList(source.CurrImageList());
    SetColor(source.Color());
    setVisible(!source.isHidden());
    SetAutoEditable(source.AutoEditable());
}

bool VxChartBaseAxisClass::upperOrLeftHalf() const
{
    const QWidget *panel = parentWidget();
    if (!panel)
        return true;
    if (m_axisType == vxcbatHorizontal)
        return panel->height() / 2 >= m_centerPointTop;
    return panel->width() / 2 >= m_centerPointLeft;
}

QFont VxChartBaseAxisClass::smallFont() const
{
    QFont small = m_font;
    if (m_font.pointSize() > 0)
        small.setPointSize(std::max(1, m_font.pointSize() - 2));
    else if (m_font.pixelSize() > 0)
        small.setPixelSize(std::max(1, m_font.pixelSize() - 3));
    return small;
}

namespace {

// Text with its top-left corner at (x, y); rotated text runs upwards from its
// origin with the glyph tops towards the left.
void drawTextAt(QPainter &p, int x, int y, const QString &text, bool rotated)
{
    const int ascent = p.fontMetrics().ascent();
    if (!rotated) {
        p.drawText(x, y + ascent, text);
        return;
    }
    p.save();
    p.translate(x, y);
    p.rotate(-90.0);
    p.drawText(0, ascent, text);
    p.restore();
}

} // namespace

void VxChartBaseAxisClass::PaintAxis(QPainter &p) const
{
    if (isHidden())
        return;
    const bool vertical = m_axisType == vxcbatVertical;
    const int W = width(), H = height();
    const int length = vertical ? H : W;
    const int thickness = vertical ? W : H;
    const int fs = fontSize();
    const int a = std::min(fs, thickness / 2);
    const bool outerHalf = upperOrLeftHalf();
    const VxChartImageList *images = m_imageList.data();
    const int imageCount = images ? images->Count() : 0;

    // A point d pixels along the axis from its begin end, c pixels across it
    // (positive downwards or to the right).
    auto at = [&](double d, double c) {
        return vertical ? QPointF(W / 2 + c, H - 1 - d) : QPointF(d, H / 2 + c);
    };
    auto drawImageAt = [&](int index, double d) {
        const QPointF centre = at(d, 0);
        images->Draw(p, VxChartRound(centre.x() - images->Width() / 2.0),
                     VxChartRound(centre.y() - images->Height() / 2.0), index);
    };

    p.save();
    p.setFont(m_font);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(m_color, 0));

    // Axis line and arrow head at the end-value end.
    p.drawLine(at(0, 0), at(length - 1, 0));
    if (imageCount >= 3) {
        if (vertical)
            images->Draw(p, W / 2 - images->Width() / 2, 0, 2);
        else
            images->Draw(p, W - images->Width(), H / 2 - images->Height() / 2, 2);
    } else if (a > 0) {
        p.drawLine(at(length - 1, 0), at(length - 1 - a, -a / 2));
        p.drawLine(at(length - 1, 0), at(length - 1 - a, a / 2));
    }

    if (m_scaleStyle != vxcbasLinear) {
        p.restore();
        return;
    }

    double k = 0.0;
    const QList<VxChartAxisTick> ticks = VxChartAxisTicks(m_scale, length, m_beginShift, m_endShift, &k);
    const double s = m_scale.Step();
    auto inSpan = [&](int d) { return d >= m_beginShift && d <= length - m_endShift; };

    for (const VxChartAxisTick &tick : ticks) {
        // Minor ticks follow each major tick in the direction of rising values.
        for (int j = 1; j <= m_minorTicks; ++j) {
            const int d = tick.Pos + VxChartRound(k * s * j / (m_minorTicks + 1));
            if (!inSpan(d))
                continue;
            if (imageCount >= 2)
                drawImageAt(1, d);
            else
                p.drawLine(at(d, 0), at(d, outerHalf ? -a : a));
        }
        if (!inSpan(tick.Pos))
            continue;
        if (imageCount >= 1)
            drawImageAt(0, tick.Pos);
        else if (outerHalf)
            p.drawLine(at(tick.Pos, -a), at(tick.Pos, a / 2));
        else
            p.drawLine(at(tick.Pos, -a / 2), at(tick.Pos, a));
    }

    // Tick labels and the factor label.
    p.setPen(m_fontColor);
    QList<LabelRun> runs;
    QList<VxChartAxisLabelBox> boxes;
    planLabels(runs, boxes);
    const QFont small = smallFont();
    for (const LabelRun &run : runs) {
        p.setFont(run.small ? small : m_font);
        drawTextAt(p, run.origin.x(), run.origin.y(), run.text, vertical);
    }
    p.restore();
}

void VxChartBaseAxisClass::planLabels(QList<LabelRun> &runs, QList<VxChartAxisLabelBox> &boxes) const
{
    runs.clear();
    boxes.clear();
    if (isHidden() || m_scaleStyle != vxcbasLinear)
        return;
    const bool vertical = m_axisType == vxcbatVertical;
    const int W = width(), H = height();
    const int length = vertical ? H : W;
    const int fs = fontSize();
    const bool outerHalf = upperOrLeftHalf();
    const QFontMetrics normal(m_font, this), smallMetrics(smallFont(), this);
    const int h = normal.height();

    // A text's box from the top-left corner of its (turned) box and its
    // advance; turned text runs upwards from the corner's row.
    auto box = [&](int x, int y, int advance, int height) {
        return vertical ? QRect(x, y - advance, height, advance) : QRect(x, y, advance, height);
    };

    // Tick labels: each from its tick as far as the element allows.
    struct Candidate
    {
        QString text;
        QPoint origin;
        int advance;
    };
    QList<Candidate> ticks;
    for (const VxChartAxisTick &tick : VxChartAxisTicks(m_scale, length, m_beginShift, m_endShift)) {
        if (tick.Pos < m_beginShift || tick.Pos > length - m_endShift)
            continue;
        const QString text = VxChartAxisLabel(m_scale, tick.Value);
        const int advance = normal.horizontalAdvance(text);
        if (vertical) {
            // Runs upwards from the tick; kept between the element's ends.
            const int y = std::clamp(H - 1 - tick.Pos, std::min(advance, H), H);
            ticks.append({text, QPoint(outerHalf ? W / 2 - 2 * fs : W / 2, y), advance});
        } else {
            const int x = std::clamp(tick.Pos, 0, std::max(0, W - advance));
            ticks.append({text, QPoint(x, outerHalf ? H / 2 - 2 * fs : H / 2), advance});
        }
    }
    // Every k-th label, with the smallest k that keeps neighbours apart.
    auto along = [&](const Candidate &c) {
        return vertical ? std::pair(c.origin.y() - c.advance, c.origin.y())
                        : std::pair(c.origin.x(), c.origin.x() + c.advance);
    };
    int every = 1;
    for (; every < ticks.size(); ++every) {
        bool apart = true;
        for (qsizetype i = every; i < ticks.size() && apart; i += every) {
            const auto [a0, a1] = along(ticks[i - every]);
            const auto [b0, b1] = along(ticks[i]);
            apart = std::max(a0, b0) - std::min(a1, b1) >= kLabelGap;
        }
        if (apart)
            break;
    }
    for (qsizetype i = 0; i < ticks.size(); i += every) {
        const Candidate &c = ticks[i];
        runs.append({c.text, c.origin, false});
        boxes.append({VxChartAxisLabelBox::Tick, c.text, box(c.origin.x(), c.origin.y(), c.advance, h)});
    }

    // Factor label "10^e" and, with an offset, "   + m*10^k", ending at the
    // element's far end; exponents in a smaller font, raised.
    const QList<VxChartAxisFactorPiece> pieces = VxChartAxisFactorPieces(m_scale);
    int total = 0;
    QString text;
    for (const VxChartAxisFactorPiece &piece : pieces) {
        total += (piece.Raised ? smallMetrics : normal).horizontalAdvance(piece.Text);
        text += piece.Text;
    }
    // Row (horizontal) or column (vertical) of the normal-size pieces.
    int line = 0;
    if (vertical) {
        line = outerHalf ? W - h : kRaise;
    } else {
        // Beyond the tick labels where the axis is thick enough (a font set
        // on it makes it so), else on the other side of the line.
        const int tickRow = outerHalf ? H / 2 - 2 * fs : H / 2;
        line = outerHalf ? tickRow - kFactorGap - h : tickRow + h + kFactorGap;
        if (line - kRaise < 0 || line + h > H)
            line = outerHalf ? H - h : kRaise;
    }
    int run = vertical ? total : W - total;
    QRect factor;
    for (const VxChartAxisFactorPiece &piece : pieces) {
        const QFontMetrics &metrics = piece.Raised ? smallMetrics : normal;
        const int advance = metrics.horizontalAdvance(piece.Text);
        const int across = line - (piece.Raised ? kRaise : 0);
        const QPoint origin = vertical ? QPoint(across, run) : QPoint(run, across);
        runs.append({piece.Text, origin, piece.Raised});
        factor |= box(origin.x(), origin.y(), advance, metrics.height());
        run += vertical ? -advance : advance;
    }
    boxes.append({VxChartAxisLabelBox::Factor, text, factor});
}

QList<VxChartAxisLabelBox> VxChartBaseAxisClass::LabelBoxes() const
{
    QList<LabelRun> runs;
    QList<VxChartAxisLabelBox> boxes;
    planLabels(runs, boxes);
    return boxes;
}

VxChartAxisLabelExtent VxChartBaseAxisClass::LabelExtent() const
{
    VxChartAxisLabelExtent extent;
    if (isHidden() || m_axisType == vxcbatVertical)
        return extent;
    const int line = height() / 2;
    const bool upper = upperOrLeftHalf();
    auto depth = [&](const QRect &r) { return upper ? line - r.top() : r.top() + r.height() - line; };
    // The tick marks reach as far as a = min(font size, half the thickness).
    extent.TickDepth = std::min(fontSize(), height() / 2);
    for (const VxChartAxisLabelBox &b : LabelBoxes()) {
        if (b.kind == VxChartAxisLabelBox::Tick) {
            extent.TickDepth = std::max(extent.TickDepth, depth(b.rect));
        } else if (upper ? b.rect.bottom() < line : b.rect.top() >= line) {
            extent.FactorDepth = depth(b.rect);
            extent.FactorLength = width() - b.rect.left();
        }
    }
    return extent;
}

void VxChartBaseAxisClass::Paint(QPainter &p)
{
    // No selection marks: axes are not edited with the mouse.
    PaintAxis(p);
}

void VxChartBaseAxisClass::mousePressEvent(QMouseEvent *event)
{
    // Axes are not moved or resized with the mouse: a press only tells the
    // panel about the click.
    event->accept();
    if (parentWidget())
        vxChartPost(parentWidget(), CM_AXIS_CLICKED, this);
}

void VxChartBaseAxisClass::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void VxChartBaseAxisClass::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void VxChartBaseAxisClass::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (m_autoEditable && EditorHook)
        EditorHook(this);
    if (parentWidget())
        vxChartPost(parentWidget(), CM_AXIS_DBLCLICK, this);
}

// ---------------------------------------------------------------------------
// Facade

VxChartBaseAxisClassData::VxChartBaseAxisClassData(QWidget *panel, QObject *parent)
    : QObject(parent), m_control(new VxChartBaseAxisClass(panel))
{
}

VxChartBaseAxisClassData::~VxChartBaseAxisClassData()
{
    delete m_control.data();
}

void VxChartBaseAxisClassData::Assign(const VxChartBaseAxisClassData &source)
{
    const QMetaObject *meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (prop.isStored() && prop.isWritable())
            prop.write(this, prop.read(&source));
    }
    // The begin shift may have been refused next to the old end shift.
    SetBeginShift(source.BeginShift());
}
