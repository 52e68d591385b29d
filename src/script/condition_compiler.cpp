#include "script/condition_compiler.h"

#include <cmath>
#include <limits>
#include <memory>

#include "core/number_text.h"
#include "data/sets_linked.h"
#include "media/gestures.h"
#include "script/script_lookups.h"

namespace kiv {

namespace {

constexpr std::u16string_view kCursorSprite = u"Cursor.Sprite = ";
constexpr std::u16string_view kControl = u"Main.Control";
constexpr std::u16string_view kControlUp = u"Main.ControlUp";
constexpr std::u16string_view kControlDown = u"Main.ControlDown";
constexpr std::u16string_view kGestureAccuracy = u"Main.GestureAccuracy >= ";
constexpr std::u16string_view kGestureScaleMin = u"Main.GestureScale >= ";
constexpr std::u16string_view kGestureScaleMax = u"Main.GestureScale <= ";
constexpr std::u16string_view kGestureAngleMax = u"Main.GestureAngle <= ";
constexpr std::u16string_view kIsA = u"Actor(\"relate\").IsA";
constexpr std::u16string_view kIsPlayer = u"Actor(\"relate\").IsPlayer = ";
constexpr std::u16string_view kTimePassed = u"Trigger.TimePassed";
constexpr std::u16string_view kProximity = u"Trigger.Proximity";
constexpr std::u16string_view kGesture = u"Trigger.Gesture";
constexpr std::u16string_view kItemName = u"Item(\"relate\").Name = ";
constexpr std::u16string_view kNonExistent = u"Actor(\"this\").NonExistent = ";
constexpr std::u16string_view kInMap = u"Actor(\"this\").InMap = ";
constexpr std::u16string_view kInCamera = u"Actor(\"this\").InCamera = ";
constexpr std::u16string_view kToggle = u"Trigger.Toggle";
constexpr std::u16string_view kChange = u"Trigger.Change";

bool LooksNumeric(const std::u16string& text) { return IsNumericValue(Variant::Text(text)); }

// The text as a whole number, halves to even; out-of-range values are clamped.
std::int32_t WholeNumber(const std::u16string& text) {
  const double number = std::nearbyint(ToNumber(ParseNumber(text)));
  if (!(number >= std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  if (number > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(number);
}

std::u16string Or(const std::u16string& text, std::u16string_view fallback) {
  return text.empty() ? std::u16string(fallback) : text;
}

void AddConditionText(Script& script, std::u16string_view prefix, const std::vector<std::u16string>& q) {
  if (script.header.empty()) {
    script.header = u"IF ";
    script.footer = u"ENDIF";
  } else {
    script.header += u" And ";
  }
  const auto form = [prefix](const std::u16string& inner) {
    return std::u16string(prefix) + u"(" + inner + u")";
  };
  if (q.size() > 1) {
    std::u16string joined;
    for (std::size_t i = 0; i < q.size(); ++i) joined += (i > 0 ? u", " : u"") + q[i];
    script.header += form(joined);
    return;
  }
  const std::vector<std::u16string> alternatives = SplitArguments(q.empty() ? u"" : q[0]);
  if (alternatives.size() == 1) {
    script.header += form(alternatives[0]);
    return;
  }
  std::u16string joined;
  for (std::size_t i = 0; i < alternatives.size(); ++i) {
    joined += (i > 0 ? u" Or " : u"") + form(alternatives[i]);
  }
  script.header += u"(" + joined + u")";
}

// A fast form of a quoted first parameter; false when it needs the text form.
bool AddQuotedCondition(Script& script, std::u16string_view prefix, const std::vector<std::u16string>& q) {
  const std::u16string inner = q[0].substr(1, q[0].size() - 2);
  if (prefix == kCursorSprite) {
    if (!setsLinked) return false;
    AddConditionToken(script, kConditionCursorSprite, ScriptLookupSprite(inner, -1, false, true).value.AsLong());
    return true;
  }
  if (prefix == kControl || prefix == kControlUp || prefix == kControlDown) {
    const std::int32_t kind = prefix == kControl     ? kConditionControl
                              : prefix == kControlUp ? kConditionControlUp
                                                     : kConditionControlDown;
    AddConditionToken(script, kind, ScriptLookupControl(inner, false).value.AsLong());
    return true;
  }
  if (prefix == kIsA) {
    if (!setsLinked) return false;
    AddConditionToken(script, kConditionIsA, ScriptLookupActorTemplate(inner, false).value.AsLong());
    return true;
  }
  if (prefix == kGesture) {
    if (q.size() < 2 || !LooksNumeric(q[1])) return false;
    ConditionToken token;
    token.kind = kConditionGesture;
    token.value = WholeNumber(q[1]);
    token.gesture = std::make_shared<const Gesture>(GestureParse(q[0]));
    script.conditionTokens.push_back(std::move(token));
    return true;
  }
  return false;
}

// A fast form of a numeric first parameter; false when it needs the text form.
bool AddNumericCondition(Script& script, std::u16string_view prefix, const std::vector<std::u16string>& q) {
  const std::int32_t value = WholeNumber(q[0]);
  const bool secondNumeric = q.size() >= 2 && LooksNumeric(q[1]);
  if (prefix == kIsPlayer) {
    AddConditionToken(script, kConditionIsPlayer, value);
  } else if (prefix == kGestureAccuracy) {
    AddConditionToken(script, kConditionGestureAccuracy, value);
  } else if (prefix == kGestureScaleMin) {
    AddConditionToken(script, kConditionGestureScaleMin, value);
  } else if (prefix == kGestureScaleMax) {
    AddConditionToken(script, kConditionGestureScaleMax, value);
  } else if (prefix == kGestureAngleMax) {
    AddConditionToken(script, kConditionGestureAngleMax, value);
  } else if (prefix == kProximity && secondNumeric) {
    AddConditionToken(script, q[1] != u"0" ? kConditionProximityClose : kConditionProximityFar, value);
  } else if (prefix == kTimePassed && q[0] == u"1" && secondNumeric) {
    // An interval of "0" is no condition at all.
    if (q[1] != u"0") AddConditionToken(script, kConditionTimePassed, WholeNumber(q[1]));
  } else {
    return false;
  }
  return true;
}

}  // namespace

void AddConditionToken(Script& script, std::int32_t kind, std::int32_t value) {
  ConditionToken token;
  token.kind = kind;
  token.value = value;
  script.conditionTokens.push_back(std::move(token));
}

void AddTriggerCondition(Script& script, std::u16string_view prefix, const std::vector<std::u16string>& parameters) {
  bool allEmpty = true;
  for (const std::u16string& parameter : parameters) allEmpty = allEmpty && parameter.empty();
  if (allEmpty) return;
  const std::vector<std::u16string>& q = parameters;
  bool fast = false;
  if (IsQuotedString(q[0])) {
    fast = AddQuotedCondition(script, prefix, q);
  } else if (LooksNumeric(q[0])) {
    fast = AddNumericCondition(script, prefix, q);
  }
  if (!fast) AddConditionText(script, prefix, q);
}

void BuildTriggerConditions(Trigger& trigger) {
  Script& script = trigger.script;
  const std::u16string oldHeader = std::move(script.header);
  const std::u16string oldFooter = std::move(script.footer);
  script.header.clear();
  script.footer.clear();
  script.conditionTokens.clear();

  const std::vector<std::u16string>& p = trigger.parameters;
  const std::int32_t n = static_cast<std::int32_t>(p.size()) - 1;
  const auto at = [&p](std::int32_t i) { return p[static_cast<std::size_t>(i)]; };
  // Adds the condition when the parameter at position exists.
  const auto add = [&script, n](std::int32_t position, std::u16string_view prefix,
                                const std::vector<std::u16string>& q) {
    if (n >= position) AddTriggerCondition(script, prefix, q);
  };
  const auto isA = [&] { add(0, kIsA, {n >= 0 ? at(0) : u""}); };
  const auto isPlayer = [&] { add(1, kIsPlayer, {n >= 1 ? at(1) : u""}); };
  const auto single = [&](std::int32_t position, std::u16string_view prefix) {
    add(position, prefix, {n >= position ? at(position) : u""});
  };

  const std::int32_t e = trigger.event;
  if (e == 540 || e == 541) {
    isA();
  } else if (e == 544 || e == 546 || e == 547 || e == 550 || e == 570 || e == 571 || e == 572) {
    isA();
    isPlayer();
  } else if (e == 548) {
    isA();
    isPlayer();
    if (n >= 2) add(2, kTimePassed, {u"1", Or(at(2), u"0")});
  } else if (e == 551) {
    isA();
    isPlayer();
    single(2, kItemName);
  } else if (e == 553) {
    single(0, kNonExistent);
  } else if (e == 554) {
    if (n >= 1) add(1, kTimePassed, {Or(at(0), u"1"), Or(at(1), u"0")});
  } else if (e == 555) {
    single(0, kToggle);
  } else if (e == 556) {
    single(0, kChange);
  } else if (e == 557 || e == 559) {
    single(0, kInMap);
  } else if (e == 558 || e == 560) {
    single(0, kInCamera);
  } else if (e == 561 || e == 573 || e == 581 || e == 565 || e == 577 || e == 585 || (e >= 562 && e <= 564) ||
             (e >= 574 && e <= 576) || (e >= 582 && e <= 584)) {
    const bool down = e == 561 || e == 573 || e == 581;
    const bool up = e == 565 || e == 577 || e == 585;
    single(0, down ? kControlDown : up ? kControlUp : kControl);
    single(1, kCursorSprite);
  } else if (e == 566 || e == 567) {
    isA();
    isPlayer();
    if (n >= 2) add(2, kProximity, {at(2), e == 566 ? u"1" : u"0"});
  } else if (e == 623 || e == 625 || e == 626) {
    if (n >= 1) {
      add(1, kGesture, {at(0), Or(at(1), u"1")});
      single(2, kGestureAccuracy);
      single(3, kGestureScaleMin);
      single(4, kGestureScaleMax);
      single(5, kGestureAngleMax);
    }
  }

  if (script.header != oldHeader || script.footer != oldFooter) script.recompile = true;
}

}  // namespace kiv
