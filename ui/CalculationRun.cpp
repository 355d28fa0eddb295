#include "ui/CalculationRun.h"

#include "core/Heating.h"
#include "ui/ErrorReport.h"
#include "ui/ProgressWindow.h"
#include "ui/u3.h"
#include "ui/u4.h"

namespace resheat::ui {

DesktopHost::DesktopHost(Desktop &desktop, ProgressWindow *progress)
    : desktop_(desktop), progress_(progress)
{
}

void DesktopHost::showMessage(const std::string &caption, const std::string &text)
{
    desktop_.messageBox(QString::fromStdString(caption), QString::fromStdString(text));
}

void DesktopHost::showProgress()
{
    if (progress_)
        progress_->showNow();
}

void DesktopHost::hideProgress()
{
    if (progress_)
        progress_->hide();
}

namespace {

template <class Run>
void RunWithProgress(DesktopHost &host, Run run)
{
    try {
        run();
    } catch (...) {
        host.hideProgress();
        throw;
    }
}

} // namespace

namespace {

Formulas FormulasOf(const ProgramState &s)
{
    return s.classicFormulas ? Formulas::Classic : Formulas::Series;
}

// A run that wrote the history also decides which formulas its results show.
bool HistoryWritten(RunOutcome outcome)
{
    return outcome == RunOutcome::Completed || outcome == RunOutcome::NotReached;
}

} // namespace

void RunCalculationXY(Program &program)
{
    ProgramState &s = program.state;
    DesktopHost host(program.desktop, program.windows.Form3);
    RunWithProgress(host, [&] {
        const bool classic = s.classicFormulas;
        if (HistoryWritten(CalculationXY(s.dataXY, s.fixedTimeXY, s.resultsXY, s.userTimeXY, s.historyXY, host,
                                         FormulasOf(s))))
            s.classicResultsXY = classic;
    });
}

void RunCalculationRZ(Program &program)
{
    ProgramState &s = program.state;
    DesktopHost host(program.desktop, program.windows.Form4);
    RunWithProgress(host, [&] {
        const bool classic = s.classicFormulas;
        if (HistoryWritten(CalculationRZ(s.dataRZ, s.fixedTimeRZ, s.resultsRZ, s.userTimeRZ, s.historyRZ, host,
                                         FormulasOf(s))))
            s.classicResultsRZ = classic;
    });
}

bool RunGuardedWithProgress(Program &program, const std::function<void()> &command)
{
    return RunGuarded(program.desktop, [&program, &command] {
        try {
            command();
        } catch (...) {
            for (ProgressWindow *window : {static_cast<ProgressWindow *>(program.windows.Form3),
                                           static_cast<ProgressWindow *>(program.windows.Form4)})
                if (window)
                    window->hide();
            throw;
        }
    });
}

} // namespace resheat::ui
