// A desktop layer for tests: records every box and every dialog, and
// answers file dialogs and choosers from queues filled by the test.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "ui/Desktop.h"

namespace resheat::ui::testing {

class FakeDesktop : public Desktop {
public:
    enum class BoxKind { Message, Information, ErrorReport, About };
    struct Box {
        BoxKind kind;
        QString caption;
        QString text;
    };
    enum class DialogKind { Open, Save };
    struct DialogRun {
        DialogKind kind;
        QString filter;
        QString defaultExt;
        QString initialName; // the name kept from the last use
    };

    // Next answers of the file dialogs: a name confirms (the default
    // extension is appended to a name without one), nullopt cancels.
    // An empty queue cancels.
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QFont>> fontAnswers;

    std::vector<Box> boxes;
    std::vector<DialogRun> dialogs;
    int previews = 0;
    const report::ReportForm *lastPreview = nullptr;

    // Called at each box, while it would be on screen.
    std::function<void(const Box &)> onBox;

    // The boxes as "caption|text" lines, for compact expectations.
    QStringList boxLines() const;
    void clear();

    void messageBox(const QString &caption, const QString &text) override;
    void informationBox(const QString &caption, const QString &text) override;
    void aboutBox(const QString &caption, const QString &richText) override;
    void errorReport(const QString &caption, const QString &text) override;
    bool openFileDialog(FileDialogState &state) override;
    bool saveFileDialog(FileDialogState &state) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    void previewReport(const report::ReportForm &form) override;

private:
    void record(BoxKind kind, const QString &caption, const QString &text);
    bool answerFileDialog(DialogKind kind, FileDialogState &state);
};

} // namespace resheat::ui::testing
