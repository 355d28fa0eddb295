#include "FakeDesktop.h"

namespace resheat::ui::testing {

QStringList FakeDesktop::boxLines() const
{
    QStringList lines;
    for (const Box &box : boxes)
        lines << box.caption + QLatin1Char('|') + box.text;
    return lines;
}

void FakeDesktop::clear()
{
    boxes.clear();
    dialogs.clear();
    previews = 0;
    lastPreview = nullptr;
}

void FakeDesktop::record(BoxKind kind, const QString &caption, const QString &text)
{
    boxes.push_back({kind, caption, text});
    if (onBox)
        onBox(boxes.back());
}

void FakeDesktop::messageBox(const QString &caption, const QString &text)
{
    record(BoxKind::Message, caption, text);
}

void FakeDesktop::informationBox(const QString &caption, const QString &text)
{
    record(BoxKind::Information, caption, text);
}

void FakeDesktop::aboutBox(const QString &caption, const QString &richText)
{
    record(BoxKind::About, caption, richText);
}

void FakeDesktop::errorReport(const QString &caption, const QString &text)
{
    record(BoxKind::ErrorReport, caption, text);
}

bool FakeDesktop::answerFileDialog(DialogKind kind, FileDialogState &state)
{
    dialogs.push_back({kind, state.filter, state.defaultExt, state.fileName});
    if (fileAnswers.empty())
        return false;
    const std::optional<QString> answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer)
        return false;
    state.fileName = WithDefaultExtension(*answer, state.defaultExt);
    return true;
}

bool FakeDesktop::openFileDialog(FileDialogState &state)
{
    return answerFileDialog(DialogKind::Open, state);
}

bool FakeDesktop::saveFileDialog(FileDialogState &state)
{
    return answerFileDialog(DialogKind::Save, state);
}

std::optional<QColor> FakeDesktop::chooseColor(const QColor &)
{
    if (colorAnswers.empty())
        return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

std::optional<QFont> FakeDesktop::chooseFont(const QFont &)
{
    if (fontAnswers.empty())
        return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

void FakeDesktop::previewReport(const report::ReportForm &form)
{
    ++previews;
    lastPreview = &form;
}

} // namespace resheat::ui::testing
