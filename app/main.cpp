// ResHeat, the desktop program.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Records.h"
#include "ui/CommandLine.h"
#include "ui/QtDesktop.h"
#include "ui/Startup.h"

namespace {

// Without any display Qt would abort with a screenful of plugin messages;
// say what is wrong in one line instead.
bool DisplayAvailable(const std::string &platformOption)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        platform = QByteArray::fromStdString(platformOption);
    return resheat::ui::DisplayReachable(qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), platform);
#else
    (void)platformOption;
    return true;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    using resheat::ui::CommandLine;
    const CommandLine line = resheat::ui::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(resheat::ui::UsageText(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs("resheat (ResHeat) " RESHEAT_VERSION "\n", stdout);
        return 0;
    case CommandLine::Action::UsageError:
        std::fprintf(stderr, "resheat: %s\n%s", line.problem.c_str(), resheat::ui::UsageText());
        return 64;
    case CommandLine::Action::Start:
        break;
    }
    // Started from a terminal, the refusal of a file is said there too; the
    // program shows it in a message box as well.
    if (!line.caseProblem.empty())
        std::fprintf(stderr, "resheat: %s\n", line.caseProblem.c_str());
    if (!DisplayAvailable(line.platform)) {
        std::fputs("resheat: no display found; start it under a virtual one, e.g. xvfb-run resheat\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(RESHEAT_VERSION));
    // Lets the desktop match the windows with the launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("resheat"));
    resheat::ProgramState state;
    resheat::ui::QtDesktop desktop;
    resheat::ui::Application program(state, desktop);
    resheat::ui::ReadStartFile(program, line);
    program.showMainWindow();
    return app.exec();
}
