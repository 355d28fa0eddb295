// The user's choices that the program remembers between its runs, kept by
// QSettings under "ResHeat"/"resheat" (on Linux ~/.config/ResHeat/resheat.conf).
#pragma once

namespace resheat::ui {

// "Classic formulas" of the Calculations menu; off when never chosen.
bool ReadClassicFormulas();
void WriteClassicFormulas(bool on);

} // namespace resheat::ui
