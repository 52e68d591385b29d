// Text functions: lengths, cuts, case-blind searches and replacement, exact
// splits and token counts, padding, money and timer texts. Positions count
// from 1 and a character is one UTF-16 unit.
#include <cstdint>
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/text_limits.h"
#include "core/error.h"
#include "core/number_text.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void RaiseInvalidArgument() {
  RaiseError(kErrInvalidCall, "Invalid procedure call or argument");
}

// A character count of a cut: negative counts are invalid.
std::size_t Count(InternalCall& call, std::int32_t argument) {
  const std::int32_t n = call.ArgumentLong(argument);
  if (n < 0) RaiseInvalidArgument();
  return static_cast<std::size_t>(n);
}

void AnswerText(InternalCall& call, std::u16string text) { call.Answer(Variant::Text(std::move(text))); }
void AnswerTruth(InternalCall& call, bool truth) { call.Answer(Variant::Long(truth ? 1 : 0)); }

void Length(InternalCall& call) {
  call.Answer(Variant::Long(static_cast<std::int32_t>(call.ArgumentText(0).size())));
}

void Left(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  AnswerText(call, text.substr(0, Count(call, 1)));
}

void Right(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::size_t n = Count(call, 1);
  AnswerText(call, n >= text.size() ? text : text.substr(text.size() - n));
}

void Middle(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::int32_t start = call.ArgumentLong(1);
  if (start < 1) RaiseInvalidArgument();
  const std::size_t length = Count(call, 2);
  AnswerText(call, TextFrom(text, static_cast<std::size_t>(start) - 1).substr(0, length));
}

void LeftCut(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  AnswerText(call, TextFrom(text, Count(call, 1)));
}

void RightCut(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::size_t n = Count(call, 1);
  AnswerText(call, n >= text.size() ? std::u16string() : text.substr(0, text.size() - n));
}

// Cuts that together reach the length leave nothing.
void Cut(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::size_t left = Count(call, 1);
  const std::size_t right = Count(call, 2);
  if (left >= text.size() || right >= text.size() - left) {
    AnswerText(call, u"");
    return;
  }
  AnswerText(call, text.substr(left, text.size() - left - right));
}

void StartsWith(InternalCall& call) {
  AnswerTruth(call, ToLowerText(call.ArgumentText(0)).starts_with(ToLowerText(call.ArgumentText(1))));
}

void EndsWith(InternalCall& call) {
  AnswerTruth(call, ToLowerText(call.ArgumentText(0)).ends_with(ToLowerText(call.ArgumentText(1))));
}

void Contains(InternalCall& call) {
  AnswerTruth(call, ToLowerText(call.ArgumentText(0)).find(ToLowerText(call.ArgumentText(1))) !=
                        std::u16string::npos);
}

// Forward: the first match beginning at or after start. Backward: the last
// match beginning at or before start (-1: from the end). 0 when none.
void Search(InternalCall& call) {
  const std::u16string text = ToLowerText(call.ArgumentText(0));
  const std::u16string part = ToLowerText(call.ArgumentText(1));
  const std::int32_t start = call.ArgumentLong(2);
  const bool backwards = call.ArgumentBoolean(3);
  std::size_t found = std::u16string::npos;
  if (!backwards) {
    if (start < 1) RaiseInvalidArgument();
    const auto from = static_cast<std::size_t>(start) - 1;
    if (from <= text.size()) found = text.find(part, from);
  } else {
    if (start < 1 && start != -1) RaiseInvalidArgument();
    const std::size_t from = start == -1 ? text.size() : static_cast<std::size_t>(start) - 1;
    found = text.rfind(part, from);
  }
  call.Answer(Variant::Long(found == std::u16string::npos ? 0 : static_cast<std::int32_t>(found) + 1));
}

// Every match of find (any letter case), scanning on after each replacement.
void Replace(InternalCall& call) {
  std::u16string text = call.ArgumentText(0);
  const std::u16string find = call.ArgumentText(1);
  const std::u16string replacement = call.ArgumentText(2);
  if (find.empty() || text.size() < find.size()) {
    AnswerText(call, std::move(text));
    return;
  }
  const std::u16string lowerText = ToLowerText(text);
  const std::u16string lowerFind = ToLowerText(find);
  std::vector<std::size_t> matches;
  for (std::size_t at = lowerText.find(lowerFind); at != std::u16string::npos;
       at = lowerText.find(lowerFind, at + find.size())) {
    matches.push_back(at);
  }
  const auto length = static_cast<std::uint64_t>(text.size()) - matches.size() * find.size() +
                      static_cast<std::uint64_t>(matches.size()) * replacement.size();
  CheckTextLength(length);
  std::u16string out;
  out.reserve(static_cast<std::size_t>(length));
  std::size_t copied = 0;
  for (const std::size_t at : matches) {
    out.append(text, copied, at - copied);
    out += replacement;
    copied = at + find.size();
  }
  out.append(text, copied);
  AnswerText(call, std::move(out));
}

void FormatMoney(InternalCall& call) { AnswerText(call, FormatMoneyText(ToNumber(call.Argument(0)))); }

void FormatTimer(InternalCall& call) {
  AnswerText(call, FormatDuration(call.ArgumentLong(0), call.ArgumentLong(1), call.ArgumentLong(2)));
}

std::u16string TextOrNothing(const Variant& value) {
  return value.Type() == kVarNull ? std::u16string() : VarToText(value);
}

void Combine(InternalCall& call) {
  AnswerText(call, TextOrNothing(call.Argument(0)) + TextOrNothing(call.Argument(1)));
}

void Split(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::u16string delimiter = call.ArgumentText(1);
  std::vector<Variant> pieces;
  if (delimiter.empty()) {
    pieces.push_back(Variant::Text(text));
  } else {
    std::size_t from = 0;
    for (std::size_t at = text.find(delimiter); at != std::u16string::npos; at = text.find(delimiter, from)) {
      pieces.push_back(Variant::Text(text.substr(from, at - from)));
      from = at + delimiter.size();
    }
    pieces.push_back(Variant::Text(text.substr(from)));
  }
  call.Answer(Variant::Array(kVarString, std::move(pieces)));
}

std::u16string Padding(InternalCall& call) {
  std::u16string padding = call.ArgumentText(1);
  if (padding.empty()) RaiseError(kErrData, "Invalid padding text.");
  return padding;
}

// The pad string that brings a text of length L to the width: whole copies of
// the padding, then the leading part of one more.
std::u16string PadString(std::size_t length, const std::u16string& padding, std::int32_t width) {
  if (width <= 0 || length >= static_cast<std::size_t>(width)) return u"";
  CheckTextLength(static_cast<std::uint64_t>(width));
  const std::size_t missing = static_cast<std::size_t>(width) - length;
  std::u16string pad;
  pad.reserve(missing);
  while (pad.size() < missing) pad.append(padding, 0, missing - pad.size());
  return pad;
}

void PadLeft(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::u16string padding = Padding(call);
  AnswerText(call, PadString(text.size(), padding, call.ArgumentLong(2)) + text);
}

void PadRight(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::u16string padding = Padding(call);
  AnswerText(call, text + PadString(text.size(), padding, call.ArgumentLong(2)));
}

// Whole copies on both sides while two fit; then a leading part of the
// padding before and a whole copy after while one and more fit; the last gap
// is filled after the text.
void PadCenter(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::u16string padding = Padding(call);
  const std::int32_t width = call.ArgumentLong(2);
  if (width <= 0 || text.size() >= static_cast<std::size_t>(width)) {
    AnswerText(call, text);
    return;
  }
  CheckTextLength(static_cast<std::uint64_t>(width));
  const auto w = static_cast<std::size_t>(width);
  const std::size_t p = padding.size();
  std::size_t before = 0;
  std::size_t length = text.size();
  while (length + 2 * p <= w) {
    before += p;
    length += 2 * p;
  }
  std::u16string head;
  head.reserve(w);
  std::u16string tail;
  tail.reserve(w);
  for (std::size_t copies = before / p; copies > 0; --copies) {
    head += padding;
    tail += padding;
  }
  if (length + p < w) {
    head.insert(0, padding, 0, w - length - p);
    tail += padding;
  } else if (length < w) {
    tail.append(padding, 0, w - length);
  }
  AnswerText(call, head + text + tail);
}

void TokenCount(InternalCall& call) {
  const std::u16string text = call.ArgumentText(0);
  const std::u16string token = call.ArgumentText(1);
  std::int32_t count = 0;
  if (!token.empty()) {
    for (std::size_t at = text.find(token); at != std::u16string::npos;
         at = text.find(token, at + token.size())) {
      ++count;
    }
  }
  call.Answer(Variant::Long(count));
}

constexpr InternalCommand kText[] = {
    {"Text.Length", Length},
    {"Text.Left", Left},
    {"Text.Right", Right},
    {"Text.Middle", Middle},
    {"Text.LeftCut", LeftCut},
    {"Text.RightCut", RightCut},
    {"Text.Cut", Cut},
    {"Text.StartsWith", StartsWith},
    {"Text.EndsWith", EndsWith},
    {"Text.Contains", Contains},
    {"Text.Search", Search},
    {"Text.Replace", Replace},
    {"Text.FormatMoney", FormatMoney},
    {"Text.CMoney", FormatMoney},
    {"Text.FormatTimer", FormatTimer},
    {"Text.Combine", Combine},
    {"Text.Split", Split},
    {"Text.PadLeft", PadLeft},
    {"Text.PadRight", PadRight},
    {"Text.PadCenter", PadCenter},
    {"Text.TokenCount", TokenCount},
};

}  // namespace

std::span<const InternalCommand> TextFunctions() { return kText; }

}  // namespace kiv
