// Chart axes: an axis line with arrow head, major and minor ticks, "%5.2f"
// tick labels and a power-of-ten factor label for a value range.
//
// The tick arithmetic (scale update, tick positions) is kept apart from the
// painting as pure functions so that it can be checked with exact tables.
#pragma once

#include "chart/VxChartBaseMovingUnit.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <functional>

class QPainter;
class VxChartImageList;

enum VxChartBaseAxisType { vxcbatHorizontal, vxcbatVertical };
enum VxChartBaseAxisStyle { vxcbasLinear };

// The simple tick steps an axis chooses from (times a power of ten).
inline constexpr std::array<double, 9> VxChartAxisSteps = {0.04, 0.05, 0.1, 0.2, 0.4, 0.5, 1.0, 2.0, 4.0};

// z rounded to the nearest integer, ties to even.  Values far outside any
// screen are clamped so that the result always fits an int; NaN gives 0.
// Inline: the plotting field rounds two values per point.
inline int VxChartRound(double z)
{
    if (!(z == z))
        return 0;
    z = z < -1.0e8 ? -1.0e8 : z > 1.0e8 ? 1.0e8 : z;
    // Adding and taking away 1.5 * 2^52 leaves z rounded to an integer by
    // the floating-point unit's rounding, nearest with ties to even (the
    // default, which the program never changes), as nearbyint() does; exact
    // for |z| < 2^51.
    constexpr double kRounder = 6755399441055744.0;
    return static_cast<int>((z + kRounder) - kRounder);
}
// trunc(x), minus 1 when x < 0; in floating point, so that it holds over the
// whole range of doubles (time stamps divided by a small step exceed any
// int).  Infinities pass through, NaN gives 0.
double VxChartFloor(double x);
// trunc(x), plus 1 when x >= 0; in floating point like VxChartFloor.
double VxChartCeil(double x);
// 0 for v = 0, else VxChartFloor(log10 |v|), which always fits an int.
int VxChartExp(double v);

// Result of the scale update: the tick step is Steps[Index] * 10^Exponent,
// the labels show (tick - Offset) / 10^Exponent and the range actually drawn
// is CurrBegin ... CurrEnd.
struct VxChartAxisScale
{
    int Exponent = 0;
    int Index = 0;
    double Offset = 0.0;
    double CurrBegin = -1.0;
    double CurrEnd = 1.0;

    double Step() const;
};

// Chooses the tick step whose tick count comes closest to wantedTicks (the
// lower index on ties), the common offset of the labels, and widens an empty
// range so that it can be drawn.
VxChartAxisScale VxChartAxisScaleUpdate(double begin, double end, int wantedTicks);

// One major tick: its value with the offset taken off (the label shows
// Value / 10^Exponent) and its pixel distance from the begin end of the axis
// element along the axis.
struct VxChartAxisTick
{
    double Value = 0.0;
    int Pos = 0;
    bool operator==(const VxChartAxisTick &) const = default;
};

// Major ticks of a scale on an element of the given length: the whole run of
// tick values around the range (some may lie outside the shifted span; the
// painter draws only those inside).  pixelsPerValue receives the scale factor
// along the axis (negative for a reversed range).
QList<VxChartAxisTick> VxChartAxisTicks(const VxChartAxisScale &scale, int length, int beginShift, int endShift,
                                        double *pixelsPerValue = nullptr);

// Label text of a major tick: Value / 10^Exponent as "%5.2f", with the
// installed decimal separator (VxChartNumberFormat.h).
QString VxChartAxisLabel(const VxChartAxisScale &scale, double tickValue);

// The pieces of the factor label: "10", the exponent (raised, smaller font)
// and, with an offset, "   + " or "   " with the offset's mantissa as
// "%7.5f" and "*10", then the offset's exponent (raised).
struct VxChartAxisFactorPiece
{
    QString Text;
    bool Raised = false;
    bool operator==(const VxChartAxisFactorPiece &) const = default;
};
QList<VxChartAxisFactorPiece> VxChartAxisFactorPieces(const VxChartAxisScale &scale);

// Where a label of an axis is drawn, in the axis element's coordinates: the
// box of its text (for a vertical axis the box of the turned text).  Tick
// labels are kept inside the element and thinned out (every second, third
// ... one) where neighbours would touch.  The factor label of a horizontal
// axis lies at the far end in a row of its own beyond the tick labels, where
// nothing else is drawn (a font set on the axis makes it thick enough; a
// thinner axis has it on the other side of the line); that of a vertical
// axis on the other side of the line, at the far end.
struct VxChartAxisLabelBox
{
    enum Kind { Tick, Factor };
    Kind kind = Tick;
    QString text;  // a tick label, or the factor label's pieces run together
    QRect rect;
};

// How far the labels of a horizontal axis reach from its line on their side
// (pixels), for placing a caption beyond them: the tick labels everywhere,
// the factor label over the last FactorLength pixels of the element.  -1
// when there is nothing to go by (a hidden or vertical axis).
struct VxChartAxisLabelExtent
{
    int TickDepth = -1;
    int FactorDepth = -1;
    int FactorLength = 0;
    bool operator==(const VxChartAxisLabelExtent &) const = default;
};

class VxChartBaseAxisClass : public VxChartBaseMovingClass
{
    Q_OBJECT
public:
    explicit VxChartBaseAxisClass(QWidget *parent = nullptr);
    ~VxChartBaseAxisClass() override;

    // From another axis: copies the published properties in published order.
    void Assign(const VxChartBaseMovingClass &source) override;

    // Moves/resizes the element; posts CM_AXIS_MOVED and/or CM_AXIS_RESIZED
    // and keeps the centre point in step with the new bounds.
    void SetBounds(int left, int top, int width, int height) override;

    bool Ready() const { return m_ready; }

    int CenterPointLeft() const { return m_centerPointLeft; }
    void SetCenterPointLeft(int v);
    int CenterPointTop() const { return m_centerPointTop; }
    void SetCenterPointTop(int v);
    int BeginShift() const { return m_beginShift; }
    void SetBeginShift(int v);
    int EndShift() const { return m_endShift; }
    void SetEndShift(int v);
    VxChartBaseAxisType AxisType() const { return m_axisType; }
    void SetAxisType(VxChartBaseAxisType t);
    VxChartBaseAxisStyle ScaleStyle() const { return m_scaleStyle; }
    void SetScaleStyle(VxChartBaseAxisStyle s);
    int MinorTicks() const { return m_minorTicks; }
    void SetMinorTicks(int v);
    int WantedTicks() const { return m_wantedTicks; }
    void SetWantedTicks(int v);
    double BeginValue() const { return m_beginValue; }
    void SetBeginValue(double v);
    double EndValue() const { return m_endValue; }
    void SetEndValue(double v);
    VxChartImageList *CurrImageList() const { return m_imageList.data(); }
    void SetCurrImageList(VxChartImageList *list);
    bool AutoEditable() const { return m_autoEditable; }
    void SetAutoEditable(bool v) { m_autoEditable = v; }
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    QFont Font() const { return m_font; }
    void SetFont(const QFont &f);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);

    // Geometry in the axis' own terms.
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    int Length() const;
    void SetLength(int v);

    // The range actually drawn and the tick step (0 unless linear).
    double CurrBegin() const { return m_scale.CurrBegin; }
    double CurrEnd() const { return m_scale.CurrEnd; }
    double Step() const;
    const VxChartAxisScale &Scale() const { return m_scale; }

    void setVisible(bool visible) override;

    // The labels as painted now (see VxChartAxisLabelBox), in the order
    // drawn: tick labels along the axis, then the factor label.
    QList<VxChartAxisLabelBox> LabelBoxes() const;
    VxChartAxisLabelExtent LabelExtent() const;
    // The thickness a horizontal axis needs for its labels and factor label
    // on either side of its line; a vertical axis needs 4 * font size.
    int NeededThickness() const;

    // Paints the axis onto p in element coordinates (used by paintEvent and
    // by bitmap rendering).
    void PaintAxis(QPainter &p) const;

    // Opens the axis editor for an axis; installed by the editor unit.
    // Returns nothing; the editor applies its changes itself.
    static std::function<void(VxChartBaseAxisClass *)> EditorHook;

protected:
    void Paint(QPainter &p) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool canNotify() const;
    void post(int msg) const;
    void rebound(int width, int height);
    void updateScale();
    int fontSize() const;
    bool upperOrLeftHalf() const;
    QFont smallFont() const;
    // The texts to draw: each with the top-left corner of its (turned) box.
    struct LabelRun
    {
        QString text;
        QPoint origin;
        bool small = false;
    };
    void planLabels(QList<LabelRun> &runs, QList<VxChartAxisLabelBox> &boxes) const;
    void ensureThickness();

    bool m_ready = false;
    int m_centerPointLeft = 0;
    int m_beginShift = 20;
    int m_centerPointTop = 10;
    int m_endShift = 50;
    VxChartBaseAxisType m_axisType = vxcbatHorizontal;
    VxChartBaseAxisStyle m_scaleStyle = vxcbasLinear;
    int m_minorTicks = 1;
    int m_wantedTicks = 8;
    double m_endValue = 1.0;
    double m_beginValue = -1.0;
    VxChartAxisScale m_scale;
    QPointer<VxChartImageList> m_imageList;
    bool m_autoEditable = true;
    QColor m_color = Qt::black;
    QFont m_font;
    QColor m_fontColor = Qt::black;
};

// Facade of an axis: creates the axis on the inner panel and publishes its
// properties.
class VxChartBaseAxisClassData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(VxChartBaseAxisType AxisType READ AxisType WRITE SetAxisType)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int CenterPointLeft READ CenterPointLeft WRITE SetCenterPointLeft)
    Q_PROPERTY(int CenterPointTop READ CenterPointTop WRITE SetCenterPointTop)
    Q_PROPERTY(int BeginShift READ BeginShift WRITE SetBeginShift)
    Q_PROPERTY(int EndShift READ EndShift WRITE SetEndShift)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(VxChartBaseAxisStyle ScaleStyle READ ScaleStyle WRITE SetScaleStyle)
    Q_PROPERTY(double BeginValue READ BeginValue WRITE SetBeginValue)
    Q_PROPERTY(double EndValue READ EndValue WRITE SetEndValue)
    Q_PROPERTY(int WantedTicks READ WantedTicks WRITE SetWantedTicks)
    Q_PROPERTY(int MinorTicks READ MinorTicks WRITE SetMinorTicks)
    Q_PROPERTY(VxChartImageList *CurrImageList READ CurrImageList WRITE SetCurrImageList)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool AutoEditable READ AutoEditable WRITE SetAutoEditable)

public:
    explicit VxChartBaseAxisClassData(QWidget *panel, QObject *parent = nullptr);
    ~VxChartBaseAxisClassData() override;

    VxChartBaseAxisClass *Control() const { return m_control.data(); }

    // Copies all published properties of another facade in published order.
    void Assign(const VxChartBaseAxisClassData &source);

    VxChartBaseAxisType AxisType() const { return m_control->AxisType(); }
    void SetAxisType(VxChartBaseAxisType t) { m_control->SetAxisType(t); }
    int Width() const { return m_control->width(); }
    void SetWidth(int v) { m_control->SetWidth(v); }
    int Height() const { return m_control->height(); }
    void SetHeight(int v) { m_control->SetHeight(v); }
    int Top() const { return m_control->y(); }
    void SetTop(int v) { m_control->SetTop(v); }
    int Left() const { return m_control->x(); }
    void SetLeft(int v) { m_control->SetLeft(v); }
    int CenterPointLeft() const { return m_control->CenterPointLeft(); }
    void SetCenterPointLeft(int v) { m_control->SetCenterPointLeft(v); }
    int CenterPointTop() const { return m_control->CenterPointTop(); }
    void SetCenterPointTop(int v) { m_control->SetCenterPointTop(v); }
    int BeginShift() const { return m_control->BeginShift(); }
    void SetBeginShift(int v) { m_control->SetBeginShift(v); }
    int EndShift() const { return m_control->EndShift(); }
    void SetEndShift(int v) { m_control->SetEndShift(v); }
    QFont Font() const { return m_control->Font(); }
    void SetFont(const QFont &f) { m_control->SetFont(f); }
    QColor FontColor() const { return m_control->FontColor(); }
    void SetFontColor(const QColor &c) { m_control->SetFontColor(c); }
    VxChartBaseAxisStyle ScaleStyle() const { return m_control->ScaleStyle(); }
    void SetScaleStyle(VxChartBaseAxisStyle s) { m_control->SetScaleStyle(s); }
    double BeginValue() const { return m_control->BeginValue(); }
    void SetBeginValue(double v) { m_control->SetBeginValue(v); }
    double EndValue() const { return m_control->EndValue(); }
    void SetEndValue(double v) { m_control->SetEndValue(v); }
    int WantedTicks() const { return m_control->WantedTicks(); }
    void SetWantedTicks(int v) { m_control->SetWantedTicks(v); }
    int MinorTicks() const { return m_control->MinorTicks(); }
    void SetMinorTicks(int v) { m_control->SetMinorTicks(v); }
    VxChartImageList *CurrImageList() const { return m_control->CurrImageList(); }
    void SetCurrImageList(VxChartImageList *l) { m_control->SetCurrImageList(l); }
    QColor Color() const { return m_control->Color(); }
    void SetColor(const QColor &c) { m_control->SetColor(c); }
    bool Visible() const { return !m_control->isHidden(); }
    void SetVisible(bool v) { m_control->setVisible(v); }
    bool AutoEditable() const { return m_control->AutoEditable(); }
    void SetAutoEditable(bool v) { m_control->SetAutoEditable(v); }

    // Unpublished readers and the length setter.
    double CurrBegin() const { return m_control->CurrBegin(); }
    double CurrEnd() const { return m_control->CurrEnd(); }
    double Step() const { return m_control->Step(); }
    int Length() const { return m_control->Length(); }
    void SetLength(int v) { m_control->SetLength(v); }

private:
    QPointer<VxChartBaseAxisClass> m_control;
};
