#pragma once
// Message boxes with an icon. The real box needs a display; without one the
// text goes to standard error as one line. A recording hook replaces both in tests.
#include <functional>
#include <string>

namespace kiv::ui {

enum class BoxIcon { Error, Warning, Information };

// Caption and text are Windows-1252, as the game's files and messages store them.
void ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon);
// Receives the Windows-1252 texts instead of a box being shown; an empty recorder restores the box.
void SetMessageBoxRecorder(std::function<void(const std::string& caption, const std::string& text, BoxIcon icon)> recorder);

// The same box with the error icon for UTF-8 texts (the launcher's).
void ShowErrorMessageBox(const std::string& caption, const std::string& text);

}  // namespace kiv::ui
