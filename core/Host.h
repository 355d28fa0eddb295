// How a calculation or a file reader talks to whoever called it: the desktop
// program shows message boxes and progress windows, the command-line
// calculator writes to stderr, tests record.
#pragma once

#include <string>

namespace resheat {

class CalcHost {
public:
    virtual ~CalcHost() = default;
    // A modal message box with one OK button and no icon.
    virtual void showMessage(const std::string &caption, const std::string &text) = 0;
    // The geometry's progress window; a no-op where there is none.
    virtual void showProgress() {}
    virtual void hideProgress() {}
};

} // namespace resheat
