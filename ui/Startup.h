// Start-up of the desktop program: every window created once, in a fixed
// order with the main window first, alive until the program ends.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "chart/VxChartNumberFormat.h"
#include "ui/CalculationRun.h"
#include "ui/CommandLine.h"
#include "ui/ChartChoosers.h"
#include "ui/Program.h"

namespace resheat::ui {

class TForm7;
class TForm8;
class TForm8a;
class Tform7a;

// Whether the program can reach a window system, judged from the values of
// DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM: an X display named but not
// answering counts as none.  Without one Qt would abort with a screenful of
// plugin messages; the program says so in one line instead.
bool DisplayReachable(const QByteArray &display, const QByteArray &waylandDisplay, const QByteArray &platform);

class Application {
public:
    // Creates the windows; creating the main window fills the material
    // presets and clears both cases.  Nothing is shown yet.
    Application(ProgramState &state, Desktop &desktop);
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    Program &program() { return program_; }
    Windows &windows() { return program_.windows; }
    // Hosts of the runs that windows other than the main window start
    // (messages as boxes, Form3 / Form4 as progress windows).
    DesktopHost &hostXY() { return *hostXY_; }
    DesktopHost &hostRZ() { return *hostRZ_; }

    // The message loop shows the main window; closing it ends the program.
    void showMainWindow();

private:
    // Remembers a window so that it is destroyed with the program.
    template <class Form>
    Form *create(Form *window)
    {
        created_.push_back(window);
        return window;
    }

    Program program_;
    std::vector<QWidget *> created_;
    std::unique_ptr<DesktopHost> hostXY_;
    std::unique_ptr<DesktopHost> hostRZ_;
    // The report forms are page layouts, not windows.
    std::unique_ptr<TForm7> form7_;
    std::unique_ptr<TForm8> form8_;
    std::unique_ptr<Tform7a> form7a_;
    std::unique_ptr<TForm8a> form8a_;
    // The chart editors choose fonts and colours through the desktop layer.
    DesktopChartChoosers chartChoosers_;
    VxChartChoosers *previousChartChoosers_ = nullptr;
    // The chart's axes write numbers in the regional format, as the windows do.
    VxChartDecimalSeparatorSource previousChartSeparator_;
};

// The case file named on the command line, read before the main window
// shows, as "Read data for xy" / "Read data for rz" read it; a file of
// unknown geometry gets its message in a box ("Execution Error") instead.
void ReadStartFile(Application &program, const CommandLine &line);

} // namespace resheat::ui
