// ResHeat, the desktop program.
#include <QApplication>

#include "core/Records.h"
#include "ui/QtDesktop.h"
#include "ui/Startup.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    resheat::ProgramState state;
    resheat::ui::QtDesktop desktop;
    resheat::ui::Application program(state, desktop);
    program.showMainWindow();
    return app.exec();
}
