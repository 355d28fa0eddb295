#include "ui/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace resheat::ui {

namespace {

// QApplication's standard options, spelt with one dash or two as Qt accepts
// them; the X11 ones are included because the program runs on X11 desktops.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowtitle", "qwindowicon", "session", "style", "stylesheet",
    "display", "geometry", "title", "icon", "name"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "testability",
                                                      "nograb", "dograb", "sync"};
constexpr std::array<std::string_view, 3> kQtOptionsWithJoinedValue = {"style=", "stylesheet=",
                                                                       "qmljsdebugger="};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N> &names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsQtOptionWithJoinedValue(std::string_view name)
{
    return std::any_of(kQtOptionsWithJoinedValue.begin(), kQtOptionsWithJoinedValue.end(),
                       [name](std::string_view prefix) { return name.substr(0, prefix.size()) == prefix; });
}

bool HasExtension(const std::string &fileName, std::string_view extension)
{
    if (fileName.size() <= extension.size())
        return false;
    const std::string_view tail = std::string_view(fileName).substr(fileName.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

CommandLine Problem(std::string text)
{
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.problem = std::move(text);
    return line;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string> &args)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (!line.caseFile.empty())
                return Problem("only one case file can be given");
            if (HasExtension(arg, ".dxy")) {
                line.geometry = CaseGeometry::XY;
            } else if (HasExtension(arg, ".drz")) {
                line.geometry = CaseGeometry::RZ;
            } else {
                line.geometry = CaseGeometry::Unknown;
                line.caseProblem = "Cannot tell the geometry of " + arg +
                                   ": a case file ends in .dxy (rectangular bar) or .drz (round rod)";
            }
            line.caseFile = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else {
            const std::string_view name = std::string_view(arg).substr(arg[1] == '-' ? 2 : 1);
            if (Contains(kQtOptionsWithValue, name)) {
                if (++i >= args.size())
                    return Problem("option " + arg + " needs a value");
                if (name == "platform")
                    line.platform = args[i];
            } else if (!Contains(kQtFlags, name) && !IsQtOptionWithJoinedValue(name)) {
                return Problem("unknown option " + arg);
            }
        }
    }
    return line;
}

const char *UsageText()
{
    return "usage: resheat [--help] [--version] [QT-OPTION...] [CASEFILE]\n"
           "\n"
           "Starts the desktop program for direct resistance heating.  A case data\n"
           "file (.dxy rectangular bar, .drz round rod) is read as \"Read data for xy\"\n"
           "or \"Read data for rz\" reads it before the main window opens; any other\n"
           "file is refused in a message box.\n"
           "  -h, --help        print this help and exit\n"
           "  --version         print the version and exit\n"
           "  --                what follows is a file name, even if it starts with -\n"
           "Qt's standard options are accepted, e.g. -platform NAME, -style NAME, -reverse.\n"
           "Exit status: 0 normal end, 1 no display, 64 usage error.\n";
}

} // namespace resheat::ui
