// The desktop layer on Qt's real dialogs.
#pragma once

#include "ui/Desktop.h"

class QWidget;

namespace resheat::ui {

class QtDesktop : public Desktop {
public:
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
    // Modal dialogs belong to the window the user is working in.
    static QWidget *dialogParent();
    bool runFileDialog(FileDialogState &state, bool save);
};

} // namespace resheat::ui
