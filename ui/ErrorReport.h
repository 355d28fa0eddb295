// The program's general error report: whatever a command does not handle
// itself (a file that cannot be written, an arithmetic fault in a
// calculation) ends the command in one message box with a stop icon, and
// the program goes on.  No exception ever unwinds into Qt's event loop.
#pragma once

#include <QString>
#include <functional>

#include "ui/Desktop.h"

namespace resheat::ui {

// The executable's file name without its extension.
QString ApplicationTitle();

// The message with a full stop appended, unless it is empty or already ends
// in a character that sorts at or below '.'.
QString FormatErrorReportText(const QString &message);

// Runs `command`; an exception leaving it is shown as the general error
// report.  Returns false when that happened.
bool RunGuarded(Desktop &desktop, const std::function<void()> &command);

} // namespace resheat::ui
