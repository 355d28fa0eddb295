// Helpers of the text results window tests: a desktop layer that records
// messages and previews, the captions of a report in label order, and
// screenshots for looking at the windows.
#pragma once

#include "report/ReportForm.h"
#include "support/RecordingHost.h"
#include "ui/Desktop.h"

#include <QDir>
#include <QString>
#include <QWidget>
#include <ostream>
#include <utility>
#include <vector>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace resheat::testing {

class TextResultsDesktop : public ui::Desktop {
public:
    std::vector<std::pair<QString, QString>> messages;   // caption, text
    std::vector<report::ReportForm> previews;            // copies of the previewed forms

    void messageBox(const QString &caption, const QString &text) override
    {
        messages.emplace_back(caption, text);
    }
    void informationBox(const QString &caption, const QString &text) override
    {
        messages.emplace_back(caption, text);
    }
    void errorReport(const QString &caption, const QString &text) override
    {
        messages.emplace_back(caption, text);
    }
    bool openFileDialog(ui::FileDialogState &) override { return false; }
    bool saveFileDialog(ui::FileDialogState &) override { return false; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    void previewReport(const report::ReportForm &form) override { previews.push_back(form); }
};

inline std::vector<QString> Captions(const report::ReportForm &form)
{
    std::vector<QString> texts;
    for (const report::ReportLabel &label : form.labels())
        texts.push_back(label.caption);
    return texts;
}

// With RESHEAT_SHOTS set to a folder, saves a picture of the widget there.
inline void SaveShot(QWidget &widget, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("RESHEAT_SHOTS");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(fileName));
}

} // namespace resheat::testing
