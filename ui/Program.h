// What every window of the desktop program reaches: the program-wide
// records, the desktop layer and the other windows.
#pragma once

#include <QCoreApplication>
#include <functional>

#include "core/Records.h"
#include "ui/Desktop.h"

class QWidget;

namespace resheat::ui {

class TForm1;
class TForm2;
class TForm2a;
class TForm3;
class TForm4;
class TForm7;
class TForm8;
class TForm8a;
class Tform7a;

// One instance of each window, created once at start-up in this order and
// alive until the program ends.  While the program shuts down the pointers
// are cleared first, so a window hidden then brings back nothing.
struct Windows {
    TForm1 *Form1 = nullptr;   // main window
    TForm2 *Form2 = nullptr;   // xy data dialog
    TForm3 *Form3 = nullptr;   // xy progress window
    TForm4 *Form4 = nullptr;   // rz progress window
    QWidget *Form5 = nullptr;  // xy text results
    TForm7 *Form7 = nullptr;   // xy graphic print form
    TForm8 *Form8 = nullptr;   // xy text results report form
    TForm2a *Form2a = nullptr; // rz data dialog
    QWidget *Form5a = nullptr; // rz text results
    Tform7a *form7a = nullptr; // rz graphic print form
    TForm8a *Form8a = nullptr; // rz text results report form
    QWidget *Form6a = nullptr; // rz graphic results
    QWidget *Form6 = nullptr;  // xy graphic results
    QWidget *Form9 = nullptr;  // xy compare window
    QWidget *Form9a = nullptr; // rz compare window
    QWidget *Form11 = nullptr; // user guide
};

struct Program {
    Program(ProgramState &programState, Desktop &programDesktop)
        : state(programState), desktop(programDesktop)
    {
    }

    ProgramState &state;
    Desktop &desktop;
    Windows windows;
    // "Exit": ends the message loop.  Tests replace it to observe the call.
    std::function<void()> endProgram = [] { QCoreApplication::quit(); };
};

} // namespace resheat::ui
