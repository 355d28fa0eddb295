// Chart lines and data arrays: the data columns, the column list and the
// plotting field that maps values to pixels and draws lines, splines,
// markers, error marks, grid and border.
//
// The value-to-pixel mapping, the curve points and the grid positions are
// pure functions so that they can be checked with exact tables.
#pragma once

#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartBaseMovingUnit.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class VxChartBaseLine;
class VxChartBaseLinesClass;

// A growable array of values, and a growable array of column references.
using VxChartDataArray = QList<double>;
using VxChartDataArrayArr = std::vector<std::unique_ptr<VxChartBaseLine>>;

// Column kinds, styles and markers.
enum VxChartLineDataType { vxcldXData = 0, vxcldYData = 1, vxcldY2Data = 2, vxcldOffsetData = 3 };
enum VxChartLineStyle { vxclsNone = 0, vxclsLine = 1, vxclsSpline = 2 };
enum VxChartPointStyle {
    vxcpsNone = 0,
    vxcpsCircle = 1,
    vxcpsSquare = 2,
    vxcpsTriangle = 3,
    vxcpsCross = 4,
    vxcpsDonut = 5,
    vxcpsDimond = 6,
    vxcpsDot = 7
};
enum VxChartErrorStyle { vxcesNone = 0, vxcesCross = 1, vxcesRect = 2 };

// ---------------------------------------------------------------------------
// Pure geometry

// Maps values to pixels of a field of the given size.  In rotated mode x
// values run bottom to top and y values left to right.
struct VxChartFieldMap
{
    int Width = 0;
    int Height = 0;
    double XBegin = -1.0, XEnd = 1.0;
    double YBegin = -1.0, YEnd = 1.0;
    bool Rotated = false;

    // Both ranges can be mapped (begin differs from end, both finite).
    bool Valid() const;
    // px = rnd(W (x - Xbegin) / (Xend - Xbegin)), py = H - rnd(H (y -
    // Ybegin) / (Yend - Ybegin)); rotated: x and y change places, with H and
    // W.  Inline: it runs for every point of every drawn column.
    QPoint Map(double x, double y) const
    {
        const double fx = (x - XBegin) / (XEnd - XBegin);
        const double fy = (y - YBegin) / (YEnd - YBegin);
        if (Rotated)
            return QPoint(VxChartRound(Width * fy), Height - VxChartRound(Height * fx));
        return QPoint(VxChartRound(Width * fx), Height - VxChartRound(Height * fy));
    }
    // Inside the client rectangle, right and bottom edges excluded.
    bool Inside(const QPoint &p) const { return p.x() >= 0 && p.y() >= 0 && p.x() < Width && p.y() < Height; }
};

// The 101 points of the Catmull-Rom curve from p1 to p2 with the outer
// control points p0 and p3 (t = 0, 0.01, ... 1), each rounded to a pixel.
QList<QPoint> VxChartCatmullRom(const QPoint &p0, const QPoint &p1, const QPoint &p2, const QPoint &p3);

// Where the points of one drawn column lie: the pixel of each point, whether
// it has one at all (both values finite) and whether it lies inside the
// field.
struct VxChartColumnPixels
{
    std::vector<QPoint> Pixel;
    std::vector<char> Finite;
    std::vector<char> Inside;

    int Count() const { return int(Pixel.size()); }
    // Maps n points, (x(i), y(i)) for i = 0 ... n - 1.
    template <typename X, typename Y> static VxChartColumnPixels Map(const VxChartFieldMap &map, int n, X x, Y y)
    {
        VxChartColumnPixels c;
        c.Assign(map, n, x, y);
        return c;
    }
    // The same into this object, keeping its storage: a long column is
    // mapped on every paint.
    template <typename X, typename Y> void Assign(const VxChartFieldMap &map, int n, X x, Y y);
};

// How the straight connecting lines of a column are drawn.  Plain: every
// segment on its own.  The reductions give the same pixels with a few
// segments per pixel column (per pixel row for a rotated field): consecutive
// points on one column are joined by vertical segments, which together cover
// the column from their smallest to their largest row, so one segment
// between those does; the segment leaving the column, from its last point to
// the next point, is drawn as it is.  Worth it when there are more points
// than pixel columns.
enum class VxChartLineReduction { Plain, Columns, Rows };

// The straight connecting lines of a column: the segment from point i to
// point i + 1 is drawn when both points have a pixel, the pixels differ and
// at least one of them lies inside the field.  Pen and clipping are the
// painter's.
void VxChartDrawLines(QPainter &p, const VxChartColumnPixels &column, VxChartLineReduction reduction);

// Pixel positions of the grid lines of one axis over a field extent.
// vertical: the axis values run up the field (lines are horizontal).
// Empty for a step <= 0, an empty range or an extent below 1.
QList<int> VxChartGridPositions(double step, double begin, double end, int extent, bool vertical);

template <typename X, typename Y> void VxChartColumnPixels::Assign(const VxChartFieldMap &map, int n, X x, Y y)
{
    Pixel.resize(std::size_t(n));
    Finite.resize(std::size_t(n));
    Inside.resize(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double xi = x(i), yi = y(i);
        const bool finite = std::isfinite(xi) && std::isfinite(yi);
        const QPoint pixel = finite ? map.Map(xi, yi) : QPoint(-1, -1);
        Pixel[std::size_t(i)] = pixel;
        Finite[std::size_t(i)] = finite;
        Inside[std::size_t(i)] = finite && map.Inside(pixel);
    }
}

// ---------------------------------------------------------------------------
// Data column

class VxChartBaseLine
{
public:
    // owner: normally the plotting field that draws the column; only then
    // do the setters notify.
    explicit VxChartBaseLine(QObject *owner);
    virtual ~VxChartBaseLine() = default;
    VxChartBaseLine(const VxChartBaseLine &) = delete;
    VxChartBaseLine &operator=(const VxChartBaseLine &) = delete;

    virtual void Assign(const VxChartBaseLine &source);

    QObject *Owner() const { return m_owner; }

    // The values; writing elements directly notifies nothing.
    const VxChartDataArray &Data() const { return m_data; }
    VxChartDataArray &Data() { return m_data; }
    // Replaces the values, only when the new array has PointCount values.
    void SetData(const VxChartDataArray &data);

    int PointCount() const { return m_pointCount; }
    // Reallocates Data to n zeros; negative counts are ignored.
    void SetPointCount(int n);
    quint8 PointSize() const { return m_pointSize; }
    void SetPointSize(quint8 v);
    int XLine() const { return m_xLine; }
    void SetXLine(int v);
    int YMinusErrLine() const { return m_yMinusErrLine; }
    void SetYMinusErrLine(int v);
    int YPlusErrLine() const { return m_yPlusErrLine; }
    void SetYPlusErrLine(int v);
    int XPlusErrLine() const { return m_xPlusErrLine; }
    void SetXPlusErrLine(int v);
    int XMinusErrLine() const { return m_xMinusErrLine; }
    void SetXMinusErrLine(int v);
    quint8 PointStyle() const { return m_pointStyle; }
    void SetPointStyle(quint8 v);
    quint8 DataType() const { return m_dataType; }
    void SetDataType(quint8 v);
    QColor PointColor() const { return m_pointColor; }
    void SetPointColor(const QColor &c);
    quint8 LineStyle() const { return m_lineStyle; }
    void SetLineStyle(quint8 v);
    QColor LineColor() const { return m_lineColor; }
    void SetLineColor(const QColor &c);
    quint8 ErrorStyle() const { return m_errorStyle; }
    void SetErrorStyle(quint8 v);
    QColor ErrorColor() const { return m_errorColor; }
    void SetErrorColor(const QColor &c);
    QString LineName() const { return m_lineName; }
    void SetLineName(const QString &name);

    // Drawn columns: Y Data and Y2 Data.
    bool IsDrawn() const { return m_dataType == vxcldYData || m_dataType == vxcldY2Data; }

private:
    friend class VxChartBaseLineArray;
    void notify(bool linesChanged, bool repaint) const;

    QObject *m_owner;
    VxChartDataArray m_data;
    int m_pointCount = 0;
    quint8 m_pointSize = 10;
    int m_xLine = -1;
    int m_yMinusErrLine = -1;
    int m_yPlusErrLine = -1;
    int m_xPlusErrLine = -1;
    int m_xMinusErrLine = -1;
    quint8 m_pointStyle = vxcpsNone;
    quint8 m_dataType = vxcldYData;
    QColor m_pointColor = Qt::black;
    quint8 m_lineStyle = vxclsLine;
    QColor m_lineColor = Qt::black;
    quint8 m_errorStyle = vxcesCross;
    QColor m_errorColor = Qt::black;
    QString m_lineName = QStringLiteral("One of the Lines");
};

// ---------------------------------------------------------------------------
// Column list

class VxChartBaseLineArray
{
public:
    explicit VxChartBaseLineArray(QObject *owner);
    virtual ~VxChartBaseLineArray();
    VxChartBaseLineArray(const VxChartBaseLineArray &) = delete;
    VxChartBaseLineArray &operator=(const VxChartBaseLineArray &) = delete;

    // PointCount, LineCount, the columns, ListName, in this order.
    virtual void Assign(const VxChartBaseLineArray &source);

    QObject *Owner() const { return m_owner; }

    int LineCount() const { return m_lineCount; }
    // Creates n fresh columns named "Line - i" with PointCount zeros each.
    void SetLineCount(int n);
    int PointCount() const { return m_pointCount; }
    // Creates LineCount fresh default columns with n zeros each.
    void SetPointCount(int n);
    QString ListName() const { return m_listName; }
    void SetListName(const QString &name);

    // Column i (0-based), nullptr outside the list.
    VxChartBaseLine *Line(int i) const;
    VxChartBaseLine *operator[](int i) const { return Line(i); }

    // Assigns each column from its counterpart; only for equal counts.
    void SetLines(const VxChartBaseLineArray &source);

private:
    void rebuild(int lines, int points, bool numbered);
    void notify() const;

    QObject *m_owner;
    VxChartDataArrayArr m_columns;
    int m_pointCount = 0;
    int m_lineCount = 0;
    QString m_listName = QStringLiteral("Lines Info :");
};

// ---------------------------------------------------------------------------
// Plotting field

class VxChartBaseLinesClass : public VxChartBaseMovingClass
{
    Q_OBJECT
public:
    explicit VxChartBaseLinesClass(QWidget *parent = nullptr);
    ~VxChartBaseLinesClass() override;

    // From another field: ranges, styles, grid, colours, the column list and
    // the editing switches in a fixed order, then the moving-element state.
    void Assign(const VxChartBaseMovingClass &source) override;
    void SetBounds(int left, int top, int width, int height) override;

    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);

    double XBegin() const { return m_xBegin; }
    void SetXBegin(double v);
    double XEnd() const { return m_xEnd; }
    void SetXEnd(double v);
    double YBegin() const { return m_yBegin; }
    void SetYBegin(double v);
    double YEnd() const { return m_yEnd; }
    void SetYEnd(double v);
    double Y2Begin() const { return m_y2Begin; }
    void SetY2Begin(double v);
    double Y2End() const { return m_y2End; }
    void SetY2End(double v);
    VxChartBaseAxisStyle XScaleStyle() const { return m_xStyle; }
    void SetXScaleStyle(VxChartBaseAxisStyle s);
    VxChartBaseAxisStyle YScaleStyle() const { return m_yStyle; }
    void SetYScaleStyle(VxChartBaseAxisStyle s);
    VxChartBaseAxisStyle Y2ScaleStyle() const { return m_y2Style; }
    void SetY2ScaleStyle(VxChartBaseAxisStyle s);
    bool Rotated() const { return m_rotated; }
    void SetRotated(bool v);
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool v);
    double XStep() const { return m_xStep; }
    void SetXStep(double v);
    double YStep() const { return m_yStep; }
    void SetYStep(double v);
    double Y2Step() const { return m_y2Step; }
    void SetY2Step(double v);
    QColor ColorGridX() const { return m_colorGridX; }
    void SetColorGridX(const QColor &c);
    QColor ColorGridY() const { return m_colorGridY; }
    void SetColorGridY(const QColor &c);
    QColor ColorGridY2() const { return m_colorGridY2; }
    void SetColorGridY2(const QColor &c);
    QColor ColorGridBorder() const { return m_colorGridBorder; }
    void SetColorGridBorder(const QColor &c);
    bool AutoEditable() const { return m_autoEditable; }
    void SetAutoEditable(bool v) { m_autoEditable = v; }
    int AutoEditMinDistance() const { return m_autoEditMinDistance; }
    void SetAutoEditMinDistance(int v);

    VxChartBaseLineArray *Lines() const { return m_lines.get(); }
    void SetLines(const VxChartBaseLineArray &source) { m_lines->Assign(source); }

    // The pixel where each point of each column was last drawn, (-1, -1)
    // where it was not.
    const QList<QList<QPoint>> &HitTable() const { return m_hitTable; }
    int PickedLine() const { return m_pickedLine; }
    int PickedPoint() const { return m_pickedPoint; }
    // Searches the hit table for the drawn point nearest to pos within
    // AutoEditMinDistance (the later entry wins on equal distance) and
    // stores it as the picked point; false when none is near enough.
    bool PickPoint(const QPoint &pos);

    // The x value of point i of column c: the value of its x column, or the
    // point index when the column names none (or one out of range).
    double XValue(int column, int point) const;

    // The mapping used for the columns of the given data type.
    VxChartFieldMap FieldMap(int dataType) const;

    // Paints background, grid and columns (everything but the selection
    // marks) onto p in element coordinates.
    void PaintField(QPainter &p);
    void PaintGrid(QPainter &p) const;
    void PaintColumns(QPainter &p);

    // Legend sample of the k-th drawn column (Y or Y2 Data) on a copy of the
    // template; a null image when there is no such column.
    QImage LegendSample(int k, const QImage &templ) const;

    // Tells the chart that the columns changed (CM_LINES_CHANGED).
    void LinesChanged();
    // Repaints the field after a change of what it shows (values written
    // into the columns, ranges, styles, colours).  The setters call it; the
    // image a zoom drag draws its band over is drawn anew too.
    void ContentChanged();

    // Opens the lines editor for a field; installed by the editor unit.
    static std::function<void(VxChartBaseLinesClass *)> EditorHook;

protected:
    void Paint(QPainter &p) override;
    // Picks the nearest drawn point and opens the lines editor.
    void DblClick(const QPoint &pos) override;

private:
    template <typename T> void store(T &field, const T &value);

    QColor m_color = QColor(175, 175, 175);
    double m_xBegin = -1.0, m_xEnd = 1.0;
    double m_yBegin = -1.0, m_yEnd = 1.0;
    double m_y2Begin = -1.0, m_y2End = 1.0;
    VxChartBaseAxisStyle m_xStyle = vxcbasLinear, m_yStyle = vxcbasLinear, m_y2Style = vxcbasLinear;
    bool m_rotated = false;
    bool m_showGrid = true;
    double m_xStep = 0.0, m_yStep = 0.0, m_y2Step = 0.0;
    QColor m_colorGridX = Qt::black, m_colorGridY = Qt::black, m_colorGridY2 = Qt::black,
           m_colorGridBorder = Qt::black;
    std::unique_ptr<VxChartBaseLineArray> m_lines;
    bool m_autoEditable = true;
    int m_autoEditMinDistance = 50;
    QList<QList<QPoint>> m_hitTable;
    // The pixels of the drawn columns at the last paint, kept for their
    // storage.
    std::vector<VxChartColumnPixels> m_pixels;
    // The field's content during a zoom drag: drawn once, at the drag's
    // first paint, so that a move of the band costs the band only.
    QImage m_dragImage;
    friend class VxChartBaseLine;
    int m_pickedLine = -1;
    int m_pickedPoint = -1;
};

// Facade of the plotting field.
class VxChartBaseLinesClassData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool SizeAble READ SizeAble WRITE SetSizeAble)
    Q_PROPERTY(bool MoveAble READ MoveAble WRITE SetMoveAble)
    Q_PROPERTY(bool Selectable READ Selectable WRITE SetSelectable)
    Q_PROPERTY(bool ShowGrid READ ShowGrid WRITE SetShowGrid)
    Q_PROPERTY(QColor ColorGridX READ ColorGridX WRITE SetColorGridX)
    Q_PROPERTY(QColor ColorGridY READ ColorGridY WRITE SetColorGridY)
    Q_PROPERTY(QColor ColorGridY2 READ ColorGridY2 WRITE SetColorGridY2)
    Q_PROPERTY(QColor ColorGridBorder READ ColorGridBorder WRITE SetColorGridBorder)
    Q_PROPERTY(bool AutoEditable READ AutoEditable WRITE SetAutoEditable)
    Q_PROPERTY(int AutoEditMinDistance READ AutoEditMinDistance WRITE SetAutoEditMinDistance)

public:
    explicit VxChartBaseLinesClassData(QWidget *panel, QObject *parent = nullptr);
    ~VxChartBaseLinesClassData() override;

    VxChartBaseLinesClass *Control() const { return m_control.data(); }

    // Copies the published properties of another facade in published order.
    void Assign(const VxChartBaseLinesClassData &source);

    int Width() const { return m_control->width(); }
    void SetWidth(int v);
    int Height() const { return m_control->height(); }
    void SetHeight(int v);
    int Top() const { return m_control->y(); }
    void SetTop(int v);
    int Left() const { return m_control->x(); }
    void SetLeft(int v);
    QColor Color() const { return m_control->Color(); }
    void SetColor(const QColor &c) { m_control->SetColor(c); }
    bool Transparent() const;
    void SetTransparent(bool v);
    bool SizeAble() const;
    void SetSizeAble(bool v);
    bool MoveAble() const;
    void SetMoveAble(bool v);
    bool Selectable() const;
    void SetSelectable(bool v);
    bool ShowGrid() const { return m_control->ShowGrid(); }
    void SetShowGrid(bool v) { m_control->SetShowGrid(v); }
    QColor ColorGridX() const { return m_control->ColorGridX(); }
    void SetColorGridX(const QColor &c) { m_control->SetColorGridX(c); }
    QColor ColorGridY() const { return m_control->ColorGridY(); }
    void SetColorGridY(const QColor &c) { m_control->SetColorGridY(c); }
    QColor ColorGridY2() const { return m_control->ColorGridY2(); }
    void SetColorGridY2(const QColor &c) { m_control->SetColorGridY2(c); }
    QColor ColorGridBorder() const { return m_control->ColorGridBorder(); }
    void SetColorGridBorder(const QColor &c) { m_control->SetColorGridBorder(c); }
    bool AutoEditable() const { return m_control->AutoEditable(); }
    void SetAutoEditable(bool v) { m_control->SetAutoEditable(v); }
    int AutoEditMinDistance() const { return m_control->AutoEditMinDistance(); }
    void SetAutoEditMinDistance(int v) { m_control->SetAutoEditMinDistance(v); }

    // Public, not stored: the column list; setting it assigns the other list.
    VxChartBaseLineArray *Lines() const { return m_control->Lines(); }
    void SetLines(const VxChartBaseLineArray &source) { m_control->SetLines(source); }

private:
    QPointer<VxChartBaseLinesClass> m_control;
};
