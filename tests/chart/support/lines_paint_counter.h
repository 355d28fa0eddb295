// Counts the paint events a shown widget receives, to tell whether a setter
// asked for a repaint.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

class LinesPaintCounter : public QObject
{
public:
    explicit LinesPaintCounter(QObject *watched) { watched->installEventFilter(this); }

    // Lets pending repaints happen and returns how many paints there were
    // since the last call.
    int Take()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        const int n = count;
        count = 0;
        return n;
    }

    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
