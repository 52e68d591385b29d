#pragma once
// The script's message box (box 0): a text with its choices and an optional
// text entry laid out for the shell to show.
#include <string>
#include <vector>

namespace kiv {

// Splits a text of the form message ["\Q" choice ...] ["\T" prompt] (codes
// matched case-sensitively; "\T" first, so a "\Q" after it belongs to the
// prompt), gives box 0 the standard message look and lays the parts out.
void ScriptShowMessage(const std::u16string& text);

// Lays box 0 out with the parts given: width, wrapped text (spoken first when
// the voice is on), one item per non-blank choice keeping its place in the
// list, the entry, and the height.
void MessageBoxSetText(const std::u16string& text, const std::vector<std::u16string>& choices, bool entry,
                       const std::u16string& entryText);

}  // namespace kiv
