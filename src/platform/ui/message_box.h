#pragma once
// Error message boxes that need no window of the program's own.
#include <string>

namespace kiv::ui {

// Shows a modal box with the error icon, the caption and the text (UTF-8) and
// returns when the user closes it. Where no box can be shown (no display), the
// text goes to standard error as one line instead.
void ShowErrorMessageBox(const std::string& caption, const std::string& text);

}  // namespace kiv::ui
