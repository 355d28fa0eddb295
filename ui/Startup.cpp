#include "ui/Startup.h"

#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"
#include "ui/u3.h"
#include "ui/u4.h"
#include "ui/u5.h"
#include "ui/u5a.h"
#include "ui/u6.h"
#include "ui/u6a.h"
#include "ui/u7.h"
#include "ui/u7a.h"
#include "ui/u8.h"
#include "ui/u8a.h"

namespace resheat::ui {

Application::Application(ProgramState &state, Desktop &desktop)
    : program_(state, desktop), chartChoosers_(desktop)
{
    previousChartChoosers_ = VxChartSetChoosers(&chartChoosers_);
    Windows &w = program_.windows;
    w.Form1 = create(new TForm1(program_));
    w.Form2 = create(new TForm2(program_));
    w.Form3 = create(new TForm3());
    w.Form4 = create(new TForm4());
    hostXY_ = std::make_unique<DesktopHost>(desktop, w.Form3);
    hostRZ_ = std::make_unique<DesktopHost>(desktop, w.Form4);
    w.Form5 = create(new TForm5(program_));
    form7_ = std::make_unique<TForm7>();
    w.Form7 = form7_.get();
    form8_ = std::make_unique<TForm8>();
    w.Form8 = form8_.get();
    w.Form2a = create(new TForm2a(program_));
    w.Form5a = create(new TForm5a(program_));
    form7a_ = std::make_unique<Tform7a>();
    w.form7a = form7a_.get();
    form8a_ = std::make_unique<TForm8a>();
    w.Form8a = form8a_.get();
    w.Form6a = create(new TForm6a(program_, *w.form7a));
    w.Form6 = create(new TForm6(program_, *w.Form7));
}

Application::~Application()
{
    // The other windows go first: hiding them must not bring back a main
    // window that no longer exists.
    program_.windows = Windows{};
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete *it;
    VxChartSetChoosers(previousChartChoosers_);
}

void Application::showMainWindow()
{
    program_.windows.Form1->show();
}

} // namespace resheat::ui
