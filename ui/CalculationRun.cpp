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

void RunCalculationXY(Program &program)
{
    ProgramState &s = program.state;
    DesktopHost host(program.desktop, program.windows.Form3);
    RunWithProgress(host, [&] {
        CalculationXY(s.dataXY, s.fixedTimeXY, s.resultsXY, s.userTimeXY, s.historyXY, host);
    });
}

void RunCalculationRZ(Program &program)
{
    ProgramState &s = program.state;
    DesktopHost host(program.desktop, program.windows.Form4);
    RunWithProgress(host, [&] {
        CalculationRZ(s.dataRZ, s.fixedTimeRZ, s.resultsRZ, s.userTimeRZ, s.historyRZ, host);
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
