#include "chart/VxChartChoosers.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>

namespace {

VxChartChoosers *g_installed = nullptr;

QWidget *DialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

std::optional<QColor> VxChartDialogChoosers::chooseColor(const QColor &initial)
{
    const QColor c = QColorDialog::getColor(initial, DialogParent());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QFont> VxChartDialogChoosers::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, DialogParent());
    if (!ok)
        return std::nullopt;
    return f;
}

VxChartChoosers &VxChartCurrentChoosers()
{
    static VxChartDialogChoosers platform;
    return g_installed ? *g_installed : platform;
}

VxChartChoosers *VxChartSetChoosers(VxChartChoosers *choosers)
{
    VxChartChoosers *before = g_installed;
    g_installed = choosers;
    return before;
}
