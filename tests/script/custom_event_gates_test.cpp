#include "script/custom_event_gates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "data/game_data.h"

namespace kiv {
namespace {

struct Parameter {
  std::u16string type;
  Variant templateValue;
};

struct GateCase {
  const char* what;
  std::int32_t stored;  // the event's own gate count
  std::vector<Parameter> parameters;
  std::int32_t expected;
};

// One custom event whose script parameters carry the given types and template values.
void OneEvent(std::int32_t stored, const std::vector<Parameter>& parameters) {
  gameData.Reset();
  gameData.customEvents.resize(1);
  CustomEvent& event = gameData.customEvents[0];
  event.value = stored;
  for (const Parameter& parameter : parameters) {
    event.parameters.push_back({u"p", parameter.type});
    event.script.frameTemplate.parameters.push_back({0, parameter.templateValue});
  }
}

TEST(CustomEventGateCount, OwnCountElseTheFirstGatesParameterElseOne) {
  const GateCase cases[] = {
      {"own count", 3, {{u"GATES:2;2;25", Variant::Long(5)}}, 3},
      {"own count of 1", 1, {{u"GATES:2;2;25", Variant::Long(5)}}, 1},
      {"no own count: the gates parameter",
       0,
       {{u"NUMBER", Variant::Long(9)}, {u"GATES:2;2;25", Variant::Long(4)}},
       4},
      {"a negative own count", -2, {{u"GATES:2;2;25", Variant::Long(6)}}, 6},
      {"letter case does not matter", 0, {{u"gates:3", Variant::Long(7)}}, 7},
      {"the first of two", 0, {{u"GATES:1", Variant::Long(5)}, {u"GATES:2", Variant::Long(8)}}, 5},
      {"a numeric text", 0, {{u"GATES:", Variant::Text(u"3")}}, 3},
      {"a type that only contains the word", 0, {{u"NOGATES:", Variant::Long(5)}}, 1},
      {"the word without its colon", 0, {{u"GATES", Variant::Long(5)}}, 1},
      {"no parameters", 0, {}, 1},
  };
  for (const GateCase& c : cases) {
    OneEvent(c.stored, c.parameters);
    EXPECT_EQ(CustomEventGateCount(0), c.expected) << c.what;
  }
}

TEST(CustomEventGateCount, AnEventThatDoesNotExistHasNoGates) {
  OneEvent(5, {});
  EXPECT_EQ(CustomEventGateCount(-1), 1);
  EXPECT_EQ(CustomEventGateCount(1), 1);
  EXPECT_EQ(CustomEventGateCount(0), 5);
}

TEST(CustomEventGateCount, AParameterWithoutItsScriptVariableHasNoGates) {
  OneEvent(0, {{u"GATES:2;2;25", Variant::Long(4)}});
  gameData.customEvents[0].script.frameTemplate.parameters.clear();
  EXPECT_EQ(CustomEventGateCount(0), 1);
}

}  // namespace
}  // namespace kiv
