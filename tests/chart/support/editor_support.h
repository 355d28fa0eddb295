// Helpers of the chart editor tests: scripted font and colour choosers, a
// scripted modal step, finding controls by caption and choosing list items
// the way a user does.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

#include "chart/VxChartChoosers.h"
#include "chart/VxUniChart2DEditorUnit.h"

// Answers the choosers from a script and records what they were asked.
class EditorFakeChoosers : public VxChartChoosers
{
public:
    EditorFakeChoosers() : m_before(VxChartSetChoosers(this)) {}
    ~EditorFakeChoosers() override { VxChartSetChoosers(m_before); }

    std::optional<QColor> chooseColor(const QColor &initial) override
    {
        AskedColors.append(initial);
        if (Colors.isEmpty())
            return std::nullopt; // cancelled
        return Colors.takeFirst();
    }
    std::optional<QFont> chooseFont(const QFont &initial) override
    {
        AskedFonts.append(initial);
        if (Fonts.isEmpty())
            return std::nullopt;
        return Fonts.takeFirst();
    }

    QList<QColor> Colors; // next answers; none left means cancelled
    QList<QFont> Fonts;
    QList<QColor> AskedColors;
    QList<QFont> AskedFonts;

private:
    VxChartChoosers *m_before;
};

// Replaces the modal step while it lives: the script gets the shown dialog
// and returns its result.
class EditorScriptedExec
{
public:
    explicit EditorScriptedExec(std::function<int(QDialog &)> script)
    {
        m_before = VxChartSetEditorExec([this, script](QDialog &d) {
            ++Runs;
            LastTitle = d.windowTitle();
            QPointer<QDialog> shown = &d;
            d.show(); // as exec would: the editor fills itself on showing
            const int result = script(d);
            if (shown) // the script may have destroyed the editor's owner
                shown->hide();
            return result;
        });
    }
    ~EditorScriptedExec() { VxChartSetEditorExec(m_before); }

    int Runs = 0;
    QString LastTitle;

private:
    VxChartEditorExecHook m_before;
};

// The button with the given caption among the widget's children; nullptr
// when there is none or more than one.
inline QAbstractButton *EditorButton(QWidget *w, const QString &caption)
{
    QAbstractButton *found = nullptr;
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
        if (b->text() == caption) {
            if (found)
                return nullptr;
            found = b;
        }
    }
    return found;
}

// All captions of a list.
inline QStringList EditorItems(const QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

// Chooses an item as the user does (the list reports it as activated).
inline void EditorChoose(QComboBox *c, int index)
{
    c->setCurrentIndex(index);
    emit c->activated(index);
}

// Saves a rendering of a window when RESHEAT_EDITOR_PNG names a folder.
inline QImage EditorGrab(QWidget *w, const char *name)
{
    const QImage image = w->grab().toImage();
    const QString dir = qEnvironmentVariable("RESHEAT_EDITOR_PNG");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png"));
    return image;
}
