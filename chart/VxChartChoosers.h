// Font and colour choosers of the chart editors.
//
// The chart knows nothing of the program it is embedded in, so it keeps its
// own small seam for the two common dialogs: the editors ask the installed
// choosers, which by default are the platform's colour and font dialogs.  A
// program routes them to its own dialog layer with VxChartSetChoosers, and
// tests install choosers that answer from a script.
#pragma once

#include <QColor>
#include <QFont>

#include <optional>

class VxChartChoosers
{
public:
    virtual ~VxChartChoosers() = default;

    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    // The chosen font, or nothing when the user cancelled.
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
};

// The platform's dialogs (QColorDialog, QFontDialog), over the active window.
class VxChartDialogChoosers : public VxChartChoosers
{
public:
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
};

// The choosers the editors use: the installed ones, else the platform's.
VxChartChoosers &VxChartCurrentChoosers();

// Installs other choosers (not owned; they must outlive their use) and
// returns the ones installed before.  nullptr goes back to the platform's.
VxChartChoosers *VxChartSetChoosers(VxChartChoosers *choosers);
