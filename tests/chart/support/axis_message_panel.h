// A stand-in for the chart's inner panel that records the chart messages its
// elements post to it, and a helper that renders an element into an image.
#pragma once

#include "chart/VxChartMessages.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>

class AxisMessagePanel : public QWidget
{
public:
    struct Message
    {
        int id;
        QObject *element;
    };

    explicit AxisMessagePanel(int width = 400, int height = 300) { resize(width, height); }

    // Delivers everything posted so far and returns the ids in order.
    QList<int> Take()
    {
        QCoreApplication::sendPostedEvents();
        QList<int> ids;
        for (const Message &m : messages)
            ids.append(m.id);
        messages.clear();
        return ids;
    }
    int Count(int id)
    {
        const QList<int> ids = Take();
        return int(std::count(ids.begin(), ids.end(), id));
    }

    QList<Message> messages;

protected:
    bool event(QEvent *e) override
    {
        if (VxChartMessageEvent *m = vxChartMessage(e)) {
            messages.append({m->msg(), m->element()});
            return true;
        }
        return QWidget::event(e);
    }
};

// Renders with paint(painter) into a white image of the given size.
template <typename PaintFn> QImage AxisRender(int width, int height, PaintFn paint)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p);
    p.end();
    return image;
}

inline bool AxisIsDark(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return c.red() < 128 && c.green() < 128 && c.blue() < 128;
}
