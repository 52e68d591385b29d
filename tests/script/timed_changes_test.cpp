#include "script/timed_changes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"
#include "core/number_text.h"
#include "mathkiv/colors.h"
#include "script/script_value_ops.h"
#include "trigger_engine_fixture.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

constexpr std::int32_t kEvent = 600;

class TimedChangesTest : public TriggerEngineTest {
 protected:
  double Number(const std::string& key) { return ToNumber(properties_[key]); }
};

TEST_F(TimedChangesTest, LerpMovesAValueInStepsAndEndsExactlyOnTheTarget) {
  const std::int32_t score = GlobalVariable(u"Score", Variant::Long(0));
  RunText(u"LERP 1000\r\nSET Score = 100");
  ASSERT_EQ(timedChanges.size(), 1u);
  EXPECT_EQ(scriptGlobals.variables[static_cast<std::size_t>(score)].value, Variant::Long(0));
  std::vector<double> steps;
  for (int tick = 0; tick < 10; ++tick) {
    Tick(100);
    steps.push_back(ToNumber(scriptGlobals.variables[static_cast<std::size_t>(score)].value));
  }
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(steps[static_cast<std::size_t>(k)], 10.0 * (k + 1), 1e-4);
  EXPECT_EQ(steps.back(), 100.0);
  EXPECT_TRUE(timedChanges.empty());

  // A tick longer than the duration finishes the change at once.
  RunText(u"LERP 1000\r\nSET Score = 40");
  Tick(1500);
  EXPECT_EQ(ToNumber(scriptGlobals.variables[static_cast<std::size_t>(score)].value), 40.0);
  EXPECT_TRUE(timedChanges.empty());
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(TimedChangesTest, AngleTurnsTheShortWay) {
  const float from = 170.0f * kPi / 180.0f;
  properties_["Direction"] = Variant::Single(from);
  RunText(u"LERP 1000\r\nSET Actor(\"a\").Direction = -2.9670597");  // -170 degrees
  double previous = from;
  for (int tick = 0; tick < 10; ++tick) {
    Tick(100);
    const double now = Number("Direction");
    EXPECT_NEAR(now - previous, 2.0 * kPi / 180.0, 1e-4) << "2 degrees a tick";
    previous = now;
  }
  EXPECT_NEAR(std::remainder(previous - (-170.0 * kPi / 180.0), 2.0 * kPi), 0.0, 1e-5);
}

TEST_F(TimedChangesTest, ColourFadesThroughColorLerp) {
  const std::uint32_t black = 0xFF000000u;
  const std::uint32_t white = 0xFFFFFFFFu;
  properties_["Color"] = Variant::Long(static_cast<std::int32_t>(black));
  RunText(u"LERP 1000\r\nSET Actor(\"a\").Color = -1");
  Tick(500);
  const std::int32_t halfway = static_cast<std::int32_t>(ColorLerp(black, white, 0.5f));
  EXPECT_EQ(properties_["Color"], Variant::Long(halfway));
  EXPECT_NE(halfway, (static_cast<std::int32_t>(black) - 1) / 2) << "not the numeric mean";
  Tick(500);
  EXPECT_EQ(properties_["Color"], Variant::Long(-1));
}

TEST_F(TimedChangesTest, AssignmentsCancelAndReplaceByPropertyObjectAndArguments) {
  properties_["X/1"] = Variant::Long(0);
  properties_["X/2"] = Variant::Long(0);
  RunText(u"LERP 1000\r\nSET Actor(\"a\").X(1) = 100\r\nLERP 1000\r\nSET Actor(\"a\").X(2) = 100");
  EXPECT_EQ(timedChanges.size(), 2u) << "other arguments run beside";
  RunText(u"LERP 500\r\nSET Actor(\"a\").X(1) = 50");
  ASSERT_EQ(timedChanges.size(), 2u) << "the same arguments replace";
  EXPECT_EQ(timedChanges[1].end, Variant::Long(50));
  EXPECT_EQ(timedChanges[1].arguments, (std::vector<ScriptValue>{ScriptValue{kValuePlain, Variant::Long(1), 0}}));
  RunText(u"SET Actor(\"a\").X(2) = 7");
  ASSERT_EQ(timedChanges.size(), 1u) << "an assignment without duration cancels";
  EXPECT_EQ(properties_["X/2"], Variant::Long(7));
  RunText(u"LERP 500\r\nSET Actor(\"other\").X(1) = 9");
  EXPECT_EQ(timedChanges.size(), 2u) << "another object runs beside";

  // The value the property already holds starts nothing and changes nothing.
  assigned_.clear();
  properties_["Y"] = Variant::Long(5);
  RunText(u"LERP 500\r\nSET Actor(\"a\").Y = 5");
  EXPECT_EQ(timedChanges.size(), 2u);
  EXPECT_TRUE(assigned_["Y"].empty());
  EXPECT_EQ(scriptEngine.pendingDuration, 0);
}

TEST_F(TimedChangesTest, ValuesThatCannotBeTimedAreScriptErrors) {
  properties_["Y"] = Variant::Long(5);
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"LERP 500\r\nSET Actor(\"a\").Y = \"abc\"", "Duration cannot be used with text (\"abc\")."},
      {u"LERP 500\r\nSET Actor(\"a\").Y = Nothing", "Duration cannot be used with text (\"\")."},
      {u"LERP 500\r\nSET Actor(\"a\").Y = List", "Duration cannot be used with a collection."},
  };
  handlers_["List"] = [](const test::RecordedCall&, ScriptValue& result) {
    result.value = Variant::Array(kVarVariant, {Variant::Long(1)});
  };
  for (const auto& [text, message] : cases) {
    const std::string before = ErrorLog();
    EXPECT_EQ(RunText(text).Type(), kVarError);
    EXPECT_EQ(ErrorLog().substr(before.size()).rfind("Error: " + std::string(message) + "\r\n", 0), 0u)
        << ErrorLog();
    EXPECT_EQ(scriptEngine.pendingDuration, 0);
  }
  EXPECT_TRUE(timedChanges.empty());
}

TEST_F(TimedChangesTest, AFailingAssignmentIsLoggedAndDropsOnlyItsChange) {
  properties_["Explode"] = Variant::Long(0);
  properties_["Y"] = Variant::Long(0);
  RunText(u"LERP 1000\r\nSET Actor(\"a\").Y = 10\r\nLERP 1000\r\nSET Actor(\"a\").Explode = 10");
  ASSERT_EQ(timedChanges.size(), 2u);
  Tick(100);
  ASSERT_EQ(timedChanges.size(), 1u);
  EXPECT_EQ(timedChanges[0].code, SymbolIntern(u"Y"));
  EXPECT_NEAR(Number("Y"), 1.0, 1e-5);
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_FALSE(scriptEngine.applyingTimedChange);
  EXPECT_EQ(ErrorLog(), "Error: The property cannot take this value. (-1)\r\n  in timed change of Explode\r\n");
}

TEST_F(TimedChangesTest, GlobalIsChangedEvenWhenAnEarlierScriptLeftALocalOfItsName) {
  const std::int32_t score = GlobalVariable(u"Score", Variant::Long(0));
  RunText(u"LERP 1000\r\nSET Score = 100");
  RunText(u"LOCAL Score\r\nMark");  // leaves frame 0 with a local Score
  ASSERT_EQ(scriptEngine.callStack[0].locals.size(), 1u);
  Tick(1000);
  EXPECT_EQ(ToNumber(scriptGlobals.variables[static_cast<std::size_t>(score)].value), 100.0);
}

TEST_F(TimedChangesTest, NothingAdvancesWhileASystemMenuIsOpenOrTheChangeIsPaused) {
  properties_["Y"] = Variant::Long(0);
  RunText(u"LERP 1000\r\nSET Actor(\"a\").Y = 10");
  triggerHooks.SystemMenuOpen = [] { return true; };
  Tick(500);
  EXPECT_EQ(Number("Y"), 0.0);
  triggerHooks.SystemMenuOpen = [] { return false; };
  SetGamePaused(1);
  Tick(500);
  EXPECT_EQ(Number("Y"), 0.0);
  SetGamePaused(0);
  Tick(500);
  EXPECT_EQ(Number("Y"), 5.0);
}

}  // namespace
}  // namespace kiv
