// The arithmetic of the chart widget, kept apart from the widgets so that it
// can be checked with exact numbers: the frame and the inner panel's place,
// fitting the axes and the plotting field to one another, the reaction to a
// size change of the panel, the ranges of AutoScale and the legend text.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>

#include "chart/VxChartBaseMovingUnit.h"

class QPainter;
class VxChartBaseLineArray;

// Frame bevel styles and the reactions to a size change.
enum TVxChartBevel { vxcbUp, vxcbDown, vxcbUpFlat, vxcbDownFlat, vxcbNone };
enum TVxChartResizeReaction { vxcrrNone, vxcrrStandart };

// ---------------------------------------------------------------------------
// Frame

struct VxChartFrame
{
    TVxChartBevel BevelOuter = vxcbUp;
    TVxChartBevel BevelInner = vxcbDown;
    int BevelOuterWidth = 2;
    int BevelInnerWidth = 2;
    int GapOuter = 2;
    int GapInOut = 0;
    int GapInner = 2;
};

// Distance of the inner panel from the chart's edge: the three gaps plus the
// width of every bevel that is drawn.
int VxChartPanelInset(const VxChartFrame &frame);

// Bounds of the inner panel in a chart of the given size: inset i on the left
// and top, width and height the chart's less 1 + 2i (never below 0).
QRect VxChartPanelBounds(QSize chart, const VxChartFrame &frame);

// Bevel shades of a frame colour: each channel plus or minus 32, kept in 0..255.
QColor VxChartBevelLight(const QColor &c);
QColor VxChartBevelDark(const QColor &c);

// Colours of line k of a bevel of the given style and width: `first` for the
// left and top edges, `second` for the right and bottom edges.  inner: the
// inner bevel, whose flat styles shade the other way round.
struct VxChartBevelColors
{
    QColor First;
    QColor Second;
};
VxChartBevelColors VxChartBevelLineColors(TVxChartBevel style, bool inner, int k, int width, const QColor &light,
                                          const QColor &dark);

// Paints the whole frame of a chart of the given size: the background in the
// frame colour, the outer bevel, the gap between the bevels and the inner
// bevel.  The panel covers the rest.
void VxChartPaintFrame(QPainter &p, QSize chart, const VxChartFrame &frame, const QColor &bevelColor);

// ---------------------------------------------------------------------------
// Geometry of the elements

// An axis as the layout sees it: its centre point, its length along the axis
// and its thickness across it.  A horizontal axis runs to the right from its
// centre point, which lies on its middle row; a vertical one rises from its
// centre point, which lies on its middle column.
struct VxChartLayoutAxis
{
    bool Vertical = false;
    int CenterPointLeft = 0;
    int CenterPointTop = 10;
    int Length = 100;
    int Thickness = 32;
    int BeginShift = 20;
    int EndShift = 50;
    bool Visible = true;

    QRect Bounds() const;
    // Places the axis so that its element gets the given left or top edge,
    // the centre point following (vertical: top edge, centre point below it).
    void SetLeft(int left);
    void SetTop(int top);
    // Centre points are never negative; a negative value is ignored.
    void SetCenterPointLeft(int v);
    void SetCenterPointTop(int v);
};

// The plotting field fitted to the axes (axis-to-field direction): its left
// edge and width from the axis that runs horizontally, its top and height
// from the one that runs vertically.
QRect VxChartFieldFromAxes(const VxChartLayoutAxis &xAxis, const VxChartLayoutAxis &yAxis);

// The axes fitted to the plotting field: the horizontally running axis takes
// the field's left edge and width, the vertically running one its height and
// top edge (its centre point moving with it), each with its shifts added.
void VxChartAxesFromField(const QRect &field, VxChartLayoutAxis &xAxis, VxChartLayoutAxis &yAxis);

// Everything the resize reaction looks at and moves.  Text boxes keep their
// size; only their positions change.
struct VxChartLayout
{
    QSize Panel;    // current panel size
    QSize OldPanel; // panel size at the last reaction
    VxChartLayoutAxis XAxis, YAxis, YAxis2;
    QRect XCaption, YCaption, YCaption2, MainCaption, LinesField, UserTextField;
};

// The reaction to a size change of the panel: the y axes made perpendicular
// to the x axis with YAxis2 following YAxis; with vxcrrStandart the axes on
// the far side move with the far edge and the axes grow with the panel; the
// captions follow their axes; the title and the two info boxes are stacked at
// the edge away from the x axis.  The old size becomes the current one.
VxChartLayout VxChartRelayout(VxChartLayout layout, TVxChartResizeReaction reaction);

// ---------------------------------------------------------------------------
// AutoScale and legend

struct VxChartAutoRanges
{
    VxChartRange X;
    VxChartRange Y;
    VxChartRange Y2;
};

// Axis ranges spanning the data of the columns with a margin of `margin` per
// cent of the span added on each side.  X: the x values of every Y and Y2
// column (the point index for a column without a valid x column, which also
// brings 0 and the last index into the range); Y and Y2: the values of the Y
// Data and Y2 Data columns (0 ... 0 without such columns).  No columns or no
// points give 0 ... 0 everywhere.  Values that are not finite are skipped.
VxChartAutoRanges VxChartAutoScaleRanges(const VxChartBaseLineArray &lines, double margin);

// The columns the legend lists (Y Data and Y2 Data) and their largest marker.
struct VxChartLegendCount
{
    int Lines = 0;
    int PointSize = 0;
};
VxChartLegendCount VxChartCountLegendLines(const VxChartBaseLineArray &lines);

// The legend text: the list name (when not empty), then one line per listed
// column, its name, preceded by an inline sample image k when withImages.
QStringList VxChartLegendText(const VxChartBaseLineArray &lines, bool withImages);

// Template of the legend samples: a 24-bit copy of backLine when that has a
// width, else 6s by 2s pixels of the fill colour.
QImage VxChartLegendTemplate(const QImage &backLine, int pointSize, const QColor &fill);
