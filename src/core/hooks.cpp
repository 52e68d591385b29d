#include "core/hooks.h"

#include <cstdio>
#include <utility>

#include "core/text_encoding.h"

namespace kiv {
namespace {
NoticeHook& Notice() {
  static NoticeHook hook;
  return hook;
}
MessageBoxHook& Box() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

void SetNoticeHook(NoticeHook hook) { Notice() = std::move(hook); }

void AddNotice(const std::string& text, bool merge) {
  if (Notice()) Notice()(text, merge);
}

bool NoticeHookInstalled() { return static_cast<bool>(Notice()); }

void SetMessageBoxHook(MessageBoxHook hook) { Box() = std::move(hook); }

void ShowErrorBox(const std::string& caption, const std::string& text) {
  if (Box()) {
    Box()(caption, text);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", AnsiToUtf8(caption).c_str(), AnsiToUtf8(text).c_str());
}

bool MessageBoxHookInstalled() { return static_cast<bool>(Box()); }

}  // namespace kiv
