#include "ui/CompareRun.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>

namespace resheat::ui {

// What the worker and the owner share for one run.  The worker writes the
// result and the error before its thread finishes; the owner reads them
// only after that.
struct CompareRun::Slot {
    std::atomic<bool> cancel{false};
    std::atomic<int> reported{-1}; // last progress posted to the owner
    Comparison result;
    std::exception_ptr error;
};

CompareRun::CompareRun(QObject *parent) : QObject(parent) {}

CompareRun::~CompareRun()
{
    if (m_slot)
        m_slot->cancel = true;
    waitForThread();
}

void CompareRun::waitForThread()
{
    if (m_thread) {
        m_thread->wait();
        m_thread.reset();
    }
}

void CompareRun::start(Job job)
{
    cancel();
    waitForThread();

    auto slot = std::make_shared<Slot>();
    m_slot = slot;
    m_running = true;
    m_thread.reset(QThread::create([this, slot, job = std::move(job)] {
        RefinedOptions options;
        options.cancel = &slot->cancel;
        // Posts only when the shown step changes: a run has thousands of
        // time steps and the bar a thousand steps.
        options.progress = [this, slot](double fraction) {
            const int steps =
                static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kProgressSteps));
            if (slot->reported.exchange(steps) == steps)
                return;
            QMetaObject::invokeMethod(
                this,
                [this, slot, steps] {
                    if (slot == m_slot && m_running)
                        emit progressed(steps);
                },
                Qt::QueuedConnection);
        };
        try {
            slot->result = job(options);
        } catch (...) {
            slot->error = std::current_exception();
        }
    }));
    // Emitted on the worker thread as it ends; handled here, on the owner's.
    // The thread object stays until the next run or the owner's end.
    connect(m_thread.get(), &QThread::finished, this, [this, slot] {
        if (slot != m_slot)
            return; // a run replaced by a newer one
        m_thread->wait();
        m_running = false;
        emit finished();
    });
    m_thread->start();
}

void CompareRun::cancel()
{
    if (m_slot && m_running)
        m_slot->cancel = true;
}

const Comparison &CompareRun::result() const
{
    static const Comparison none;
    return m_slot ? m_slot->result : none;
}

std::exception_ptr CompareRun::error() const
{
    return m_slot ? m_slot->error : nullptr;
}

} // namespace resheat::ui
