#include "ui/u8a.h"

namespace resheat::ui {

TForm8a::TForm8a() : TextReportForm(6, 10) {}

} // namespace resheat::ui
