// Alt and a letter reach every menu command and every button: each caption
// marks its letter, and no letter stands for two things in one window or
// on one menu.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <map>

#include "ui/support/TestProgram.h"
#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"

using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

// The letter after a single '&', lower case; 0 without one.
QChar Mnemonic(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return QChar();
}

// Each letter once among the captions; every caption with a letter.
void ExpectOneLetterEach(const QString &scope, const QStringList &captions)
{
    std::map<QChar, QString> taken;
    for (const QString &caption : captions) {
        const QChar letter = Mnemonic(caption);
        EXPECT_FALSE(letter.isNull()) << scope.toStdString() << ": \"" << caption.toStdString() << "\" has no Alt key";
        if (letter.isNull())
            continue;
        const auto [at, fresh] = taken.emplace(letter, caption);
        EXPECT_TRUE(fresh) << scope.toStdString() << ": Alt+" << QString(letter).toStdString() << " for \""
                           << at->second.toStdString() << "\" and \"" << caption.toStdString() << "\"";
    }
}

void ExpectMenu(const QString &scope, const QMenu &menu)
{
    QStringList captions;
    for (const QAction *action : menu.actions()) {
        if (action->isSeparator())
            continue;
        captions << action->text();
        if (const QMenu *sub = action->menu())
            ExpectMenu(scope + QStringLiteral(" > ") + action->text(), *sub);
    }
    ExpectOneLetterEach(scope, captions);
}

TEST(Mnemonics, EveryMenuHasOneLetterPerCommand)
{
    TestProgram program;
    program.app().showMainWindow();
    const TForm1 &main = *program.windows().Form1;
    QStringList titles;
    for (const QAction *action : main.menuBar()->actions()) {
        titles << action->text();
        ExpectMenu(action->text(), *action->menu());
    }
    ExpectOneLetterEach(QStringLiteral("menu bar"), titles);
    EXPECT_EQ(titles.size(), 6);
    program.windows().Form1->hide();
}

// The windows as their showing captions them: the buttons and the labels
// that lead to a box.
TEST(Mnemonics, EveryWindowHasOneLetterPerButtonAndLabelledBox)
{
    TestProgram program;
    const Windows &w = program.windows();
    const std::pair<const char *, QWidget *> windows[] = {
        {"xy data", w.Form2},          {"rz data", w.Form2a},       {"xy text results", w.Form5},
        {"rz text results", w.Form5a}, {"xy graphic results", w.Form6}, {"rz graphic results", w.Form6a},
        {"xy compare", w.Form9},       {"rz compare", w.Form9a},    {"user guide", w.Form11}};
    for (const auto &[name, window] : windows) {
        SCOPED_TRACE(name);
        ASSERT_NE(window, nullptr);
        window->show();
        QStringList captions;
        int buttons = 0;
        for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            // The buttons of the window's own controls (a scroll bar's or a
            // table's corner are not captioned).
            if (button->text().isEmpty())
                continue;
            captions << button->text();
            ++buttons;
        }
        for (const QLabel *label : window->findChildren<QLabel *>())
            if (label->buddy() && !Mnemonic(label->text()).isNull())
                captions << label->text();
        EXPECT_GE(buttons, 1);
        ExpectOneLetterEach(QString::fromLatin1(name), captions);
        window->hide();
    }
}

} // namespace
