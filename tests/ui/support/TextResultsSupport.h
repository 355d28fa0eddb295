// Helpers of the text results window tests: the captions of a report in
// label order, a counter of a window's showings, and screenshots for
// looking at the windows.
#pragma once

#include "report/ReportForm.h"

#include <QDir>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <ostream>
#include <vector>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace resheat::ui::testing {

inline std::vector<QString> Captions(const report::ReportForm &form)
{
    std::vector<QString> texts;
    for (const report::ReportLabel &label : form.labels())
        texts.push_back(label.caption);
    return texts;
}

// Counts how often a window is shown and hidden (a progress window during
// a run that keeps the thread).
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget *window) : m_window(window) { window->installEventFilter(this); }
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            ++shows;
        if (watched == m_window && event->type() == QEvent::Hide)
            ++hides;
        return false;
    }

private:
    QWidget *m_window;
};

// With RESHEAT_SHOTS set to a folder, saves a picture of the widget there.
inline void SaveShot(QWidget &widget, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("RESHEAT_SHOTS");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(fileName));
}

} // namespace resheat::ui::testing
