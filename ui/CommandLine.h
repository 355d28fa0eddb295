// The command line of the desktop program: what to do is decided here,
// before Qt is started, so that --help, --version and mistakes are answered
// on a machine without a display too.
#pragma once

#include <string>
#include <vector>

namespace resheat::ui {

// Unknown: a file that does not end in .dxy or .drz.
enum class CaseGeometry { XY, RZ, Unknown };

struct CommandLine {
    enum class Action {
        Start,      // open the main window, after reading `caseFile` if given
        Help,       // print UsageText() on stdout
        Version,    // print the version on stdout
        UsageError, // print `problem` and UsageText() on stderr
    };
    Action action = Action::Start;
    std::string problem;
    // The case data file to read at start-up, as "Read data for xy" or
    // "Read data for rz" would read it; the extension (.dxy / .drz, any
    // letter case) tells which.  Empty: start with cleared cases.
    // A file of unknown geometry is no case: it comes from a file manager
    // as often as from a terminal, so the program starts and says so in a
    // message box (`caseProblem`) before the main window shows.
    std::string caseFile;
    CaseGeometry geometry = CaseGeometry::XY;
    std::string caseProblem;
    // The window system named by Qt's own -platform option, if any.
    std::string platform;
};

// `args` without the program name.  Qt's standard options (-platform NAME,
// -style NAME, -reverse, -qwindowgeometry GEOMETRY, ...) are recognised and
// left for QApplication, which takes them from argv itself.
CommandLine ParseCommandLine(const std::vector<std::string> &args);

const char *UsageText();

} // namespace resheat::ui
