// A fresh desktop program for one test: its own records, the recording
// desktop layer and every window created as at start-up.  Nothing blocks:
// "Exit" only sets a flag.
#pragma once

#include <QWidget>
#include <QApplication>

#include "FakeDesktop.h"
#include "core/Records.h"
#include "ui/Settings.h"
#include "ui/Startup.h"

namespace resheat::ui::testing {

class TestProgram {
public:
    TestProgram() : app_(state, desktop)
    {
        app_.program().endProgram = [this] { ++exitCalls; };
    }

    ProgramState state;
    FakeDesktop desktop;
    int exitCalls = 0;

    Application &app() { return app_; }
    Program &program() { return app_.program(); }
    Windows &windows() { return app_.windows(); }

    // The program's top-level windows that are visible now.
    static QList<QWidget *> visibleWindows()
    {
        QList<QWidget *> list;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isWindow() && !w->inherits("QMenu"))
                list << w;
        return list;
    }

private:
    // Every test program starts as a first run does, with nothing remembered
    // (the settings live in the test run's own folder, see qt_test_main.cpp).
    struct ForgetSettings {
        ForgetSettings() { WriteClassicFormulas(false); }
    } forget_;
    Application app_;
};

// The worked steel bar and rod (examples/steel-bar.dxy, steel-rod.drz).
inline DataXY SteelBar()
{
    DataXY d;
    d.name.set("steel");
    d.length = 1;
    d.width = 0.05;
    d.thickness = 0.05;
    d.density = 7800;
    d.specificHeat = 481.32;
    d.conductivity = 87.88;
    d.resistivity = 1.5384E-7;
    d.supplyVoltage = 10;
    d.voltageDrop = 10;
    d.startTemp = 20;
    d.finishTemp = 1500;
    d.alfa = 15;
    d.maxContactCurrent = 1000;
    return d;
}

inline DataRZ SteelRod()
{
    DataRZ d;
    d.name.set("steel");
    d.length = 1;
    d.diameter = 0.05;
    d.density = 7800;
    d.specificHeat = 481.32;
    d.conductivity = 87.88;
    d.resistivity = 1.5384E-7;
    d.supplyVoltage = 10;
    d.voltageDrop = 10;
    d.startTemp = 20;
    d.finishTemp = 1500;
    d.alfa = 15;
    d.maxContactCurrent = 1000;
    return d;
}

} // namespace resheat::ui::testing
