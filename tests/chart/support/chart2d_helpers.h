// Helpers of the chart widget tests: letting the posted notifications run,
// counting the chart messages that reach an object, and a chart on screen.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTest>

#include <memory>

#include "chart/VxChartMessages.h"
#include "chart/VxUniChart2D.h"

// Delivers posted events until the queue stays empty (a handled message may
// post further ones).
inline void Chart2dDrain()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::sendPostedEvents();
}

// Counts the chart messages of one id that reach an object, posted or sent.
class Chart2dMessageCounter : public QObject
{
public:
    Chart2dMessageCounter(QObject *watched, int msg) : m_watched(watched), m_msg(msg)
    {
        watched->installEventFilter(this);
    }
    ~Chart2dMessageCounter() override
    {
        if (m_watched)
            m_watched->removeEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == m_watched && vxChartMessageId(e) == m_msg)
            ++count;
        return false;
    }

private:
    QPointer<QObject> m_watched;
    int m_msg;
};

// A chart shown at its default size with every notification handled.
inline std::unique_ptr<TVxUniChart2D> Chart2dShown(int width = 200, int height = 200)
{
    auto chart = std::make_unique<TVxUniChart2D>();
    chart->resize(width, height);
    chart->show();
    Chart2dDrain();
    return chart;
}

// The row under a horizontal axis where its caption goes: one pixel below
// the lowest of its tick labels (panel coordinates).
inline int Chart2dBelowTickLabels(const VxChartBaseAxisClassData *axis)
{
    int bottom = axis->CenterPointTop();
    for (const VxChartAxisLabelBox &box : axis->Control()->LabelBoxes())
        if (box.kind == VxChartAxisLabelBox::Tick)
            bottom = std::max(bottom, axis->Top() + box.rect.bottom() + 1);
    return bottom + 1;
}
