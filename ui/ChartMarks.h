// What the results charts add to a chart of temperatures against time:
// lines that mark the heating time and the finish temperature, named with
// their values in the legend; the legend placed where it covers least; the
// axis captions beside the axes' labels.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

class TVxUniChart2D;
class VxChartBaseLineArray;

namespace resheat::ui {

// A line across the whole plotting field at one value: at a time (a
// vertical line) or at a temperature (a horizontal one, drawn against the
// y axis).
struct ChartMark {
    bool atTime = true;
    double value = 0;
    QColor color;
    QString name;   // its line in the legend
};

// "Heating time 10.76 s" and "Finish temperature 1500 oC", the numbers in
// the regional format.
QString HeatingTimeText(double seconds);
QString FinishTemperatureText(double celsius);

// Two columns per mark from column `first` on: its x values, then its
// y values (Y Data, drawn against the first), both `pointSize` for the
// legend's samples.  Until SpanMarks a mark holds only its value, so that
// AutoScale takes it into the ranges.
void SetMarkColumns(VxChartBaseLineArray &lines, int first, const std::vector<ChartMark> &marks, int pointSize);

// After AutoScale: each mark's line from one edge of the field to the other.
void SpanMarks(TVxUniChart2D &chart, int first, const std::vector<ChartMark> &marks);

// The x caption centred under the x axis just below its labels (below the
// factor label where it reaches over it), the y captions centred beside
// their axes, `gap` pixels away and never beyond the panel's left edge.
void PlaceAxisCaptions(TVxUniChart2D &chart, int gap);

// Where a box of `box` size inside `field` covers the fewest of `points`
// and none of `obstacles`: the four corners, `inset` pixels in, each moved
// along the field's edge clear of the obstacles; top left, top right,
// bottom right, bottom left in that order of preference.  An empty
// rectangle when no corner has room.
QRect LegendCorner(const QRect &field, const QSize &box, int inset, const std::vector<QPoint> &points,
                   const std::vector<QRect> &obstacles);

// The chart's legend inside its plotting field, at the corner LegendCorner
// finds for the drawn lines and the axes' labels (panel coordinates).
// Returns false, leaving the legend where it is, when no corner has room.
bool PlaceLegendInField(TVxUniChart2D &chart, int inset);

// The boxes of every axis label and visible caption of the chart, in panel
// coordinates: what must not be covered.
std::vector<QRect> ChartLabelBoxes(const TVxUniChart2D &chart);

} // namespace resheat::ui
