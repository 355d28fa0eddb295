// The report form of the rz text results (cylindrical charge): the layout of
// TForm8 with one input row less in the first block and ten result rows.
#pragma once

#include "ui/u8.h"

namespace resheat::ui {

class TForm8a : public TextReportForm {
public:
    TForm8a();
};

} // namespace resheat::ui
