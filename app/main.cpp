// ResHeat, the desktop program.
#include <QApplication>
#include <cstdio>

#include "core/Records.h"
#include "ui/QtDesktop.h"
#include "ui/Startup.h"

namespace {

// Without any display Qt would abort with a screenful of plugin messages;
// say what is wrong in one line instead.
bool DisplayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return resheat::ui::DisplayReachable(qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"));
#else
    return true;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    if (!DisplayAvailable()) {
        std::fputs("resheat: no display found; start it under a virtual one, e.g. xvfb-run resheat\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    resheat::ProgramState state;
    resheat::ui::QtDesktop desktop;
    resheat::ui::Application program(state, desktop);
    program.showMainWindow();
    return app.exec();
}
