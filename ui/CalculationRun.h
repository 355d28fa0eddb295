// Calculation runs started from the windows: the core talks to the user
// through message boxes and the geometry's progress window.
#pragma once

#include <functional>

#include "core/Host.h"
#include "ui/Desktop.h"
#include "ui/Program.h"

namespace resheat::ui {

class ProgressWindow;

// The calculation host of the desktop program.  Also used by the file
// readers, which have no progress window.
class DesktopHost : public CalcHost {
public:
    explicit DesktopHost(Desktop &desktop, ProgressWindow *progress = nullptr);
    void showMessage(const std::string &caption, const std::string &text) override;
    void showProgress() override;
    void hideProgress() override;

private:
    Desktop &desktop_;
    ProgressWindow *progress_;
};

// Runs the calculation of one geometry on the program-wide records with the
// geometry's fixed-time switch and user heating time as they are stored.
// An arithmetic fault leaves after the progress window has been hidden;
// the caller's guard reports it.
void RunCalculationXY(Program &program);
void RunCalculationRZ(Program &program);

// The guard of a window that starts runs through a host of its own: as
// RunGuarded, and a progress window left up by an abandoned run is hidden
// before the error report appears.
bool RunGuardedWithProgress(Program &program, const std::function<void()> &command);

} // namespace resheat::ui
