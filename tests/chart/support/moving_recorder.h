// Records the chart messages that reach an object (posted or sent), for the
// tests of the movable elements and the text boxes.
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QPointer>

#include "chart/VxChartMessages.h"

struct MovingRecordedMessage
{
    int Msg = 0;
    QObject *Element = nullptr;
    qintptr Value = 0;
};

class MovingMessageRecorder : public QObject
{
public:
    explicit MovingMessageRecorder(QObject *watched) : m_watched(watched) { watched->installEventFilter(this); }
    ~MovingMessageRecorder() override
    {
        if (m_watched)
            m_watched->removeEventFilter(this);
    }

    // Delivers everything posted so far, then returns what arrived.
    const QList<MovingRecordedMessage> &Flush()
    {
        QCoreApplication::sendPostedEvents(nullptr, VxChartMessageEvent::eventType());
        return m_messages;
    }
    QList<MovingRecordedMessage> Of(int msg)
    {
        QList<MovingRecordedMessage> out;
        for (const MovingRecordedMessage &m : Flush())
            if (m.Msg == msg)
                out.append(m);
        return out;
    }
    void Clear()
    {
        Flush();
        m_messages.clear();
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == m_watched) {
            if (const VxChartMessageEvent *m = vxChartMessage(e))
                m_messages.append({m->msg(), m->element(), m->value()});
        }
        return false;
    }

private:
    QPointer<QObject> m_watched;
    QList<MovingRecordedMessage> m_messages;
};
