// A comparison computed on a worker thread, so that its window stays
// responsive, shows the progress and can stop the run.  The progress and
// the end of a run arrive as signals on the thread that owns the object
// (the user-interface thread); the worker touches nothing else.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "ui/Comparison.h"

namespace resheat::ui {

class CompareRun : public QObject {
    Q_OBJECT
public:
    // The work of one run.  It gets the options that carry the run's cancel
    // flag and its progress callback and must pass them to the solver.
    using Job = std::function<Comparison(const RefinedOptions &)>;

    // Progress is reported in steps of 1/kProgressSteps.
    static constexpr int kProgressSteps = 1000;

    explicit CompareRun(QObject *parent = nullptr);
    // Cancels a run still in progress and waits for its thread.
    ~CompareRun() override;
    CompareRun(const CompareRun &) = delete;
    CompareRun &operator=(const CompareRun &) = delete;

    // Starts `job` on a thread of its own.  A run still in progress is
    // cancelled and waited for first; its end is not reported.
    void start(Job job);
    // Asks the run in progress to stop at its next time step; finished()
    // follows.  Nothing happens when no run is in progress.
    void cancel();
    // From start() until finished() has been emitted.
    bool running() const { return m_running; }

    // The outcome of the last finished run; valid after finished().
    const Comparison &result() const;
    // What the job threw, if it threw; then result() holds nothing useful.
    std::exception_ptr error() const;

signals:
    // Done so far, 0 to kProgressSteps; only changes are reported.
    void progressed(int steps);
    void finished();

private:
    struct Slot;
    void waitForThread();

    std::shared_ptr<Slot> m_slot;       // the current run
    std::unique_ptr<QThread> m_thread;  // its thread
    bool m_running = false;
};

} // namespace resheat::ui
