// Internal notifications of the chart component.
//
// Chart elements never call the chart directly: they post (queue) or send
// (process at once) a message to their parent, the inner panel, which forwards
// it to the chart.  A message is one Qt event of a single registered type that
// carries the message id, the sending element (first parameter), an extra
// value and, for the few messages that name a second object, that object.
// Posting coalesces bursts of property changes into one relayout.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

// Message ids.  They only matter inside the component.
inline constexpr int CM_CHART_ERASEPANEL = 0xB065;  // panel paint: fill the panel with the chart colour
inline constexpr int CM_CHART_RELAYOUT = 0xB066;    // run the chart's resize reaction
inline constexpr int CM_AXIS_FONTCHANGED = 0xB06F;  // an axis font changed: share it with the other axes
inline constexpr int CM_AXIS_TYPECHANGED = 0xB070;  // an axis changed between horizontal and vertical
inline constexpr int CM_AXIS_MOVED = 0xB071;        // an axis position or centre point changed
inline constexpr int CM_AXIS_RESIZED = 0xB072;      // an axis size changed
inline constexpr int CM_AXIS_CLICKED = 0xB073;      // mouse button pressed on an axis
inline constexpr int CM_AXIS_SCALECHANGED = 0xB074; // an axis range, visibility, type or tick set changed
inline constexpr int CM_AXIS_DBLCLICK = 0xB075;     // double click on an axis
inline constexpr int CM_FIELD_MOVED = 0xB096;       // plotting field moved
inline constexpr int CM_FIELD_RESIZED = 0xB097;     // plotting field resized
inline constexpr int CM_FIELD_ZOOM = 0xB098;        // a zoom drag over the plotting field ended
inline constexpr int CM_LINES_CHANGED = 0xB099;     // a line or the line array changed
inline constexpr int CM_ELEMENT_SELECT = 0xB0C8;    // an element became selected (sent to itself)
inline constexpr int CM_ELEMENT_BOUNDS = 0xB0C9;    // an element's size changed (value 1: it was not selected)
inline constexpr int CM_ELEMENT_DBLCLICK = 0xB0CA;  // double click on a text box or the plotting field

// One chart message.  The sending element and the second object are guarded
// pointers: a message still queued when its element is destroyed arrives with
// a null element instead of a dangling one.
class VxChartMessageEvent : public QEvent
{
public:
    VxChartMessageEvent(int msg, QObject *element = nullptr, qintptr value = 0, QObject *other = nullptr)
        : QEvent(eventType()), m_msg(msg), m_element(element), m_value(value), m_other(other)
    {
    }

    // The Qt event type of every chart message, registered once.
    static QEvent::Type eventType()
    {
        static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    int msg() const { return m_msg; }
    QObject *element() const { return m_element.data(); } // first parameter: the sender
    qintptr value() const { return m_value; }              // second parameter as a number
    QObject *other() const { return m_other.data(); }      // second parameter as an object
    void setOther(QObject *o) { m_other = o; }

    // Answer of a sent message, read by the sender after vxChartSend returns.
    qintptr result() const { return m_result; }
    void setResult(qintptr r) { m_result = r; }

private:
    int m_msg;
    QPointer<QObject> m_element;
    qintptr m_value;
    QPointer<QObject> m_other;
    qintptr m_result = 0;
};

// The chart message an event carries, or nullptr for any other event.
inline VxChartMessageEvent *vxChartMessage(QEvent *e)
{
    return (e && e->type() == VxChartMessageEvent::eventType()) ? static_cast<VxChartMessageEvent *>(e) : nullptr;
}

// The message id an event carries, or 0 for any other event.
inline int vxChartMessageId(QEvent *e)
{
    const VxChartMessageEvent *m = vxChartMessage(e);
    return m ? m->msg() : 0;
}

// Queues a message for the receiver; delivered by the event loop later.
// Returns false when there is no receiver.
inline bool vxChartPost(QObject *receiver, int msg, QObject *element = nullptr, qintptr value = 0,
                        QObject *other = nullptr)
{
    if (!receiver)
        return false;
    QCoreApplication::postEvent(receiver, new VxChartMessageEvent(msg, element, value, other));
    return true;
}

// Delivers a message to the receiver at once and returns its answer
// (0 when there is no receiver or it did not set one).
inline qintptr vxChartSend(QObject *receiver, int msg, QObject *element = nullptr, qintptr value = 0,
                           QObject *other = nullptr)
{
    if (!receiver)
        return 0;
    VxChartMessageEvent e(msg, element, value, other);
    QCoreApplication::sendEvent(receiver, &e);
    return e.result();
}
