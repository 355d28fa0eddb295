// Routes the chart editors' font and colour choosers through the program's
// desktop layer, so that they behave like every other dialog of the program
// (and tests answer them from their script).
#pragma once

#include "chart/VxChartChoosers.h"
#include "ui/Desktop.h"

namespace resheat::ui {

class DesktopChartChoosers : public VxChartChoosers {
public:
    explicit DesktopChartChoosers(Desktop &desktop) : desktop_(desktop) {}
    std::optional<QColor> chooseColor(const QColor &initial) override
    {
        return desktop_.chooseColor(initial);
    }
    std::optional<QFont> chooseFont(const QFont &initial) override
    {
        return desktop_.chooseFont(initial);
    }

private:
    Desktop &desktop_;
};

} // namespace resheat::ui
