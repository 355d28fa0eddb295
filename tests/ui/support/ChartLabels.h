// Checks of a results chart as the user reads it: every number, factor
// label, caption and the legend inside the chart, none over another, and
// no factor label or legend over an axis line.
#pragma once

#include <gtest/gtest.h>

#include <QRect>
#include <QString>
#include <vector>

#include "chart/VxUniChart2D.h"

namespace resheat::ui::testing {

struct ChartLabel {
    QString what;
    QRect rect;        // panel coordinates
    bool factor = false;
};

inline std::vector<ChartLabel> ChartLabels(const TVxUniChart2D &chart)
{
    std::vector<ChartLabel> labels;
    const std::pair<const char *, const VxChartBaseAxisClassData *> axes[] = {
        {"x axis", chart.XAxis()}, {"y axis", chart.YAxis()}, {"y axis 2", chart.YAxis2()}};
    for (const auto &[name, axis] : axes) {
        if (!axis->Visible())
            continue;
        for (const VxChartAxisLabelBox &box : axis->Control()->LabelBoxes())
            labels.push_back({QStringLiteral("%1 \"%2\"").arg(QLatin1String(name), box.text),
                              box.rect.translated(axis->Left(), axis->Top()),
                              box.kind == VxChartAxisLabelBox::Factor});
    }
    const std::pair<const char *, const VxChartBaseTextClassData *> boxes[] = {
        {"x caption", chart.XCaption()},   {"y caption", chart.YCaption()},
        {"y caption 2", chart.YCaption2()}, {"title", chart.MainCaption()},
        {"user text", chart.UserTextField()}, {"legend", chart.LinesField()}};
    for (const auto &[name, box] : boxes)
        if (box->Visible())
            labels.push_back({QLatin1String(name), QRect(box->Left(), box->Top(), box->Width(), box->Height())});
    return labels;
}

// The line of each visible axis as a one pixel wide rectangle.
inline std::vector<std::pair<QString, QRect>> AxisLines(const TVxUniChart2D &chart)
{
    std::vector<std::pair<QString, QRect>> lines;
    const std::pair<const char *, const VxChartBaseAxisClassData *> axes[] = {
        {"x axis", chart.XAxis()}, {"y axis", chart.YAxis()}, {"y axis 2", chart.YAxis2()}};
    for (const auto &[name, axis] : axes) {
        if (!axis->Visible())
            continue;
        const bool vertical = axis->AxisType() == vxcbatVertical;
        lines.emplace_back(QLatin1String(name), vertical ? QRect(axis->CenterPointLeft(), axis->Top(), 1, axis->Height())
                                                         : QRect(axis->Left(), axis->CenterPointTop(), axis->Width(), 1));
    }
    return lines;
}

inline void ExpectLabelsApart(const TVxUniChart2D &chart)
{
    const QRect panel(QPoint(0, 0), chart.Panel()->size());
    const std::vector<ChartLabel> labels = ChartLabels(chart);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const ChartLabel &a = labels[i];
        EXPECT_TRUE(panel.contains(a.rect)) << a.what.toStdString() << " cut off by the chart's edge";
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(a.rect.intersects(labels[j].rect))
                << a.what.toStdString() << " over " << labels[j].what.toStdString();
        if (!a.factor && a.what != QLatin1String("legend"))
            continue;
        for (const auto &[name, line] : AxisLines(chart))
            EXPECT_FALSE(a.rect.intersects(line)) << a.what.toStdString() << " over the " << name.toStdString();
    }
}

} // namespace resheat::ui::testing
