#pragma once
// Calls that core services make into higher layers. The higher layer installs
// them at start-up; until then each does a harmless default.
#include <functional>
#include <string>

namespace kiv {

// Shows a text as an on-screen notice (the player shell installs it).
// Text is Windows-1252 bytes as written to the error log; merge joins repeats.
using NoticeHook = std::function<void(const std::string& text, bool merge)>;
void SetNoticeHook(NoticeHook hook);
void AddNotice(const std::string& text, bool merge);
bool NoticeHookInstalled();

// Shows a message box with the error icon. The default writes "caption: text" to stderr.
using MessageBoxHook = std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxHook(MessageBoxHook hook);
void ShowErrorBox(const std::string& caption, const std::string& text);
bool MessageBoxHookInstalled();

}  // namespace kiv
