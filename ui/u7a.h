// The print form of the rz graphic results, laid out as the xy one (u7).
#pragma once

#include "ui/u7.h"

namespace resheat::ui {

class Tform7a : public GraphicReportForm {
public:
    Tform7a() = default;
};

} // namespace resheat::ui
