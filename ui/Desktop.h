// The desktop layer: every modal or system interaction of the windows goes
// through this one interface.  The program uses QtDesktop (real dialogs);
// tests install a recording fake that answers from a script.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace resheat::report { class ReportForm; }

namespace resheat::ui {

// State of one file dialog object; it lives as long as its window, so the
// last file name is kept between uses.
struct FileDialogState {
    QString filter;        // "data xy|*.dxy": description|pattern
    QString defaultExt;    // "dxy", appended to a name typed without one
    QString fileName;      // last confirmed file name (full path)
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Modal box: caption, text, one OK button, no icon.
    virtual void messageBox(const QString &caption, const QString &text) = 0;
    // Modal box with the information icon and one OK button.
    virtual void informationBox(const QString &caption, const QString &text) = 0;
    // The program's About box: its icon, a rich text with a link, one OK
    // button.
    virtual void aboutBox(const QString &caption, const QString &richText) = 0;
    // The general error report: stop icon, caption = application title,
    // `text` already formatted (see FormatErrorReportText).
    virtual void errorReport(const QString &caption, const QString &text) = 0;

    // File dialogs: true when the user confirmed a name, which is then in
    // state.fileName (with the default extension appended when typed without).
    virtual bool openFileDialog(FileDialogState &state) = 0;
    virtual bool saveFileDialog(FileDialogState &state) = 0;

    // Choosers for the chart editors.
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;

    // Preview of a report form in a window of its own, from which the user
    // prints or saves a PDF; returns when that window closes.
    virtual void previewReport(const report::ReportForm &form) = 0;
};

// A file dialog's answer as the program receives it: a name typed without
// an extension gets the dialog's default one ("case" -> "case.dxy").
QString WithDefaultExtension(const QString &fileName, const QString &defaultExt);

} // namespace resheat::ui
