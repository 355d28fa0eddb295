#include "ui/Startup.h"

#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"
#include "ui/u3.h"
#include "ui/u4.h"

namespace resheat::ui {

Application::Application(ProgramState &state, Desktop &desktop) : program_(state, desktop)
{
    Windows &w = program_.windows;
    w.Form1 = create(new TForm1(program_));
    w.Form2 = create(new TForm2(program_));
    w.Form3 = create(new TForm3());
    w.Form4 = create(new TForm4());
    hostXY_ = std::make_unique<DesktopHost>(desktop, w.Form3);
    hostRZ_ = std::make_unique<DesktopHost>(desktop, w.Form4);
    // Form5 (xy text results), Form7 (xy graphic print form) and Form8 (xy
    // text results report form) come here when their units join.
    w.Form2a = create(new TForm2a(program_));
    // Form5a, form7a, Form8a, Form6a and Form6 come here, in that order.
}

Application::~Application()
{
    // The other windows go first: hiding them must not bring back a main
    // window that no longer exists.
    program_.windows = Windows{};
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete *it;
}

void Application::showMainWindow()
{
    program_.windows.Form1->show();
}

} // namespace resheat::ui
