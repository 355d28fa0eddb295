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

#include "chart/VxChartBaseAxisUnit.h"
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
    // How far its labels reach from the line (horizontal axes): the x
    // caption goes just beyond them.  Unknown: beyond the element.
    VxChartAxisLabelExtent Labels;

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
// Lengths and centre points come out as the rule gives them, also below 0 on
// a panel smaller than the axes; only the setters of the elements refuse
// such values.
VxChartLayout VxChartRelayout(VxChartLayout layout, TVxChartResizeReaction reaction);

// ---------------------------------------------------------------------------
// Anchored axes
//
// Applied step by step, the resize reaction forgets where the axes belong:
// an axis that moves with the bottom edge and comes to lie above the middle
// of a small panel stays put when the panel grows again, and a centre point
// that would go below 0 is refused.  So the chart keeps its axes in a form
// that does not depend on the panel's size: each centre point coordinate and
// each length either stays where it is or keeps its distance from the far
// edge of the panel.  The form is decided by the reaction's rules on the
// panel the axes were arranged for, so placing the axes on any panel gives
// what one resize from that panel gives, and a shrink followed by a grow
// gives the arrangement back.

// A coordinate or length: Offset itself, or Offset plus the panel's extent
// (width for left coordinates and for horizontal lengths, height otherwise).
struct VxChartAnchor
{
    bool FollowsEdge = false;
    int Offset = 0;

    int At(int extent) const { return FollowsEdge ? extent + Offset : Offset; }
    bool operator==(const VxChartAnchor &) const = default;
};

struct VxChartAxisAnchors
{
    VxChartAnchor CenterPointLeft;
    VxChartAnchor CenterPointTop;
    VxChartAnchor Length;
    bool operator==(const VxChartAxisAnchors &) const = default;
};

// How an axis arranged on a panel of the given size moves with the panel.
// With vxcrrStandart and a horizontal x axis: the x axis follows the bottom
// edge when its centre point lies below the middle, and grows with the
// width; a y axis follows the right edge when its centre point lies right of
// the middle, its lower end follows the bottom edge and it grows with the
// height.  With a vertical x axis the directions change places.  With
// vxcrrNone nothing moves.
VxChartAxisAnchors VxChartAnchorAxis(const VxChartLayoutAxis &axis, bool isXAxis, bool xVertical, QSize panel,
                                     TVxChartResizeReaction reaction);

// The axis' centre point and length on a panel of the given size.  Values
// are not clamped: an axis may reach beyond the panel or have a negative
// length on a panel too small for it.
void VxChartPlaceAxis(VxChartLayoutAxis &axis, const VxChartAxisAnchors &anchors, QSize panel);

// The anchors of the three axes and what they were decided by.
struct VxChartLayoutAnchors
{
    bool XVertical = false;
    TVxChartResizeReaction Reaction = vxcrrStandart;
    VxChartAxisAnchors XAxis, YAxis, YAxis2;
};

// The layout on its current panel (layout.Panel) from anchored axes: the
// axes placed, the y axes perpendicular to the x axis, YAxis2 along YAxis
// (centre point along the axis, length, shifts), then the captions and boxes
// arranged around the axes where they now lie, as the resize reaction
// arranges them.  Thickness, shifts and visibility of the axes and the sizes
// of the boxes are taken from the layout.
VxChartLayout VxChartPlaceLayout(VxChartLayout layout, const VxChartLayoutAnchors &anchors);

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
