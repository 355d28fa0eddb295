#include "ui/ChartMarks.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/VxUniChart2D.h"
#include "ui/NumberFormat.h"

namespace resheat::ui {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
// Points looked at along each drawn segment when judging what the legend
// would cover.
constexpr int kSamplesPerSegment = 8;

// A pixel of the field for a value pair, as the field maps it; false for a
// range that cannot be mapped.
bool FieldPixel(double x, double y, double xBegin, double xEnd, double yBegin, double yEnd, const QSize &field,
                QPoint &pixel)
{
    if (xEnd == xBegin || yEnd == yBegin || !std::isfinite(x) || !std::isfinite(y))
        return false;
    pixel = QPoint(static_cast<int>(std::lround(field.width() * (x - xBegin) / (xEnd - xBegin))),
                   field.height() - static_cast<int>(std::lround(field.height() * (y - yBegin) / (yEnd - yBegin))));
    return true;
}

} // namespace

QString HeatingTimeText(double seconds)
{
    return QStringLiteral("Heating time %1 s").arg(FormatGeneral(seconds, 4));
}

QString FinishTemperatureText(double celsius)
{
    return QStringLiteral("Finish temperature %1 oC").arg(FormatGeneral(celsius, 15));
}

void SetMarkColumns(VxChartBaseLineArray &lines, int first, const std::vector<ChartMark> &marks, int pointSize)
{
    const int n = lines.PointCount();
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const ChartMark &mark = marks[k];
        const int xColumn = first + 2 * static_cast<int>(k);
        VxChartBaseLine &xs = *lines.Line(xColumn);
        VxChartBaseLine &ys = *lines.Line(xColumn + 1);
        xs.SetDataType(vxcldXData);
        for (int i = 0; i < n; ++i) {
            xs.Data()[i] = mark.atTime ? mark.value : kNoValue;
            ys.Data()[i] = mark.atTime ? kNoValue : mark.value;
        }
        ys.SetDataType(vxcldYData);
        ys.SetXLine(xColumn);
        ys.SetErrorStyle(vxcesNone);
        ys.SetLineStyle(vxclsLine);
        ys.SetPointStyle(vxcpsNone);
        ys.SetLineColor(mark.color);
        ys.SetPointColor(mark.color);
        ys.SetPointSize(pointSize);
        ys.SetLineName(mark.name);
    }
}

void SpanMarks(TVxUniChart2D &chart, int first, const std::vector<ChartMark> &marks)
{
    VxChartBaseLineArray &lines = *chart.MainField()->Lines();
    const int n = lines.PointCount();
    const double xBegin = chart.XAxis()->CurrBegin(), xEnd = chart.XAxis()->CurrEnd();
    const double yBegin = chart.YAxis()->CurrBegin(), yEnd = chart.YAxis()->CurrEnd();
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const ChartMark &mark = marks[k];
        const int xColumn = first + 2 * static_cast<int>(k);
        VxChartBaseLine &xs = *lines.Line(xColumn);
        VxChartBaseLine &ys = *lines.Line(xColumn + 1);
        for (int i = 0; i < n; ++i) {
            // From one end of the range to the other in even steps.
            const double along = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
            xs.Data()[i] = mark.atTime ? mark.value : xBegin + (xEnd - xBegin) * along;
            ys.Data()[i] = mark.atTime ? yBegin + (yEnd - yBegin) * along : mark.value;
        }
    }
    // Values written into the columns tell the field nothing.
    chart.MainField()->Control()->update();
}

void PlaceAxisCaptions(TVxUniChart2D &chart, int gap)
{
    const VxChartBaseAxisClassData &xAxis = *chart.XAxis();
    VxChartBaseTextClassData &xCaption = *chart.XCaption();
    const int left = xAxis.Left() + xAxis.Width() / 2 - xCaption.Width() / 2;
    const VxChartAxisLabelExtent labels = xAxis.Control()->LabelExtent();
    int depth = std::max(labels.TickDepth, 0);
    if (labels.FactorDepth >= 0 && left + xCaption.Width() > xAxis.Left() + xAxis.Width() - labels.FactorLength)
        depth = std::max(depth, labels.FactorDepth);
    xCaption.SetLeft(left);
    xCaption.SetTop(labels.TickDepth >= 0 ? xAxis.CenterPointTop() + depth + gap
                                          : xAxis.Top() + xAxis.Height() + gap);

    auto beside = [gap](const VxChartBaseAxisClassData &axis, VxChartBaseTextClassData &caption, bool left) {
        caption.SetLeft(left ? std::max(axis.Left() - caption.Width() - gap, 0) : axis.Left() + axis.Width() + gap);
        caption.SetTop(axis.Top() + axis.Height() / 2 - caption.Height() / 2);
    };
    beside(*chart.YAxis(), *chart.YCaption(), true);
    if (chart.YAxis2()->Visible())
        beside(*chart.YAxis2(), *chart.YCaption2(), false);
}

QRect LegendCorner(const QRect &field, const QSize &box, int inset, const std::vector<QPoint> &points,
                   const std::vector<QRect> &obstacles)
{
    if (box.width() + 2 * inset > field.width() || box.height() + 2 * inset > field.height())
        return {};
    struct Corner {
        bool top;
        bool left;
    };
    constexpr Corner kCorners[] = {{true, true}, {true, false}, {false, false}, {false, true}};
    QRect best;
    long bestCovered = std::numeric_limits<long>::max();
    for (const Corner &corner : kCorners) {
        QRect r(QPoint(corner.left ? field.left() + inset : field.right() - inset - box.width() + 1,
                       corner.top ? field.top() + inset : field.bottom() - inset - box.height() + 1),
                box);
        // Away from the edge it sits on, past whatever label reaches in.
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRect &obstacle : obstacles)
                if (r.intersects(obstacle)) {
                    r.moveTop(corner.top ? obstacle.bottom() + 1 + inset : obstacle.top() - inset - r.height());
                    moved = true;
                }
            if (!field.contains(r))
                break;
        }
        if (!field.contains(r))
            continue;
        const long covered = std::count_if(points.begin(), points.end(), [&](const QPoint &p) {
            return r.adjusted(-inset, -inset, inset, inset).contains(p);
        });
        if (covered < bestCovered) {
            bestCovered = covered;
            best = r;
        }
    }
    return best;
}

std::vector<QRect> ChartLabelBoxes(const TVxUniChart2D &chart)
{
    std::vector<QRect> boxes;
    for (const VxChartBaseAxisClassData *axis : {chart.XAxis(), chart.YAxis(), chart.YAxis2()}) {
        if (!axis->Visible())
            continue;
        const QPoint origin(axis->Left(), axis->Top());
        for (const VxChartAxisLabelBox &label : axis->Control()->LabelBoxes())
            boxes.push_back(label.rect.translated(origin));
    }
    for (const VxChartBaseTextClassData *caption :
         {chart.XCaption(), chart.YCaption(), chart.YCaption2(), chart.MainCaption(), chart.UserTextField()})
        if (caption->Visible())
            boxes.push_back(QRect(caption->Left(), caption->Top(), caption->Width(), caption->Height()));
    return boxes;
}

bool PlaceLegendInField(TVxUniChart2D &chart, int inset)
{
    VxChartBaseTextClassData &legend = *chart.LinesField();
    const VxChartBaseLinesClassData &fieldData = *chart.MainField();
    const QRect field(fieldData.Left(), fieldData.Top(), fieldData.Width(), fieldData.Height());

    // The drawn lines, sampled along every segment, in panel coordinates.
    std::vector<QPoint> points;
    const VxChartBaseLineArray &lines = *fieldData.Lines();
    const int n = lines.PointCount();
    for (int c = 0; c < lines.LineCount(); ++c) {
        const VxChartBaseLine &line = *lines.Line(c);
        if (!line.IsDrawn())
            continue;
        const bool y2 = line.DataType() == vxcldY2Data;
        const VxChartBaseAxisClassData &yAxis = y2 ? *chart.YAxis2() : *chart.YAxis();
        const bool hasX = line.XLine() >= 0 && line.XLine() < lines.LineCount();
        auto pixel = [&](int i, QPoint &p) {
            const double x = hasX ? lines.Line(line.XLine())->Data()[i] : i;
            return FieldPixel(x, line.Data()[i], chart.XAxis()->CurrBegin(), chart.XAxis()->CurrEnd(),
                              yAxis.CurrBegin(), yAxis.CurrEnd(), field.size(), p);
        };
        for (int i = 0; i + 1 < n; ++i) {
            QPoint a, b;
            if (!pixel(i, a) || !pixel(i + 1, b))
                continue;
            for (int s = 0; s <= kSamplesPerSegment; ++s)
                points.push_back(field.topLeft() + a + (b - a) * s / kSamplesPerSegment);
        }
    }
    const QRect place = LegendCorner(field, QSize(legend.Width(), legend.Height()), inset, points,
                                     ChartLabelBoxes(chart));
    if (place.isNull())
        return false;
    legend.SetLeft(place.left());
    legend.SetTop(place.top());
    return true;
}

} // namespace resheat::ui
