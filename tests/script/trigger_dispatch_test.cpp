#include "script/trigger_dispatch.h"

#include <gtest/gtest.h>

#include "script/script_value_ops.h"
#include "trigger_engine_fixture.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

constexpr std::int32_t kTouchedActor = 546;  // conditions: IsA (p0), IsPlayer (p1)
constexpr std::int32_t kInterval = 554;      // conditions: TimePassed (p0, p1)

class TriggerDispatchTest : public TriggerEngineTest {};

TEST_F(TriggerDispatchTest, FastConditionsPassOrStopTheRun) {
  setsLinked = true;
  gameData.actorTemplates.resize(3);
  gameData.actorTemplates[1].name = u"Hero";
  gameData.actorTemplates[2].derivedRecord.templateIndex = 1;  // 2 descends from 1
  const std::int32_t owner = AddActor(kTouchedActor, u"Mark(1)", {u"\"Hero\"", u"1"});
  ASSERT_EQ(gameData.maps[0].actors[static_cast<std::size_t>(owner)].triggers[0].script.header, u"");

  struct Case {
    const char* what;
    std::int32_t templateIndex;
    std::int32_t owningPlayer;
    bool driven;  // a player's character drives it
    bool runs;
  };
  const Case cases[] = {
      {"the template itself, a player's", 1, 0, false, true},
      {"a descendant template", 2, 3, false, true},
      {"another template", 0, 0, false, false},
      {"nobody's actor", 1, -1, false, false},
      {"a vehicle driven by a player's character", 1, -1, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Actor driver;
    driver.owningPlayer = 0;
    gameData.maps[0].actors.resize(1);
    gameData.maps[0].actors.push_back(driver);
    Actor relate;
    relate.templateIndex = c.templateIndex;
    relate.owningPlayer = c.owningPlayer;
    relate.driver = c.driven ? 1 : -1;
    gameData.maps[0].actors.push_back(relate);
    calls_.clear();
    Raise(owner, 2);
    EXPECT_EQ(Marks().size(), c.runs ? 1u : 0u);
  }
  EXPECT_EQ(ErrorLog(), "");
  EXPECT_EQ(scriptEngine.callTop, -1);
}

TEST_F(TriggerDispatchTest, CursorSpriteConditionReadsPlayerZeroInputState) {
  const std::int32_t owner = AddActor(kTouchedActor, u"Mark(1)");
  const std::int32_t index =
      gameData.maps[0].actors[static_cast<std::size_t>(owner)].triggers[0].script.index;
  scriptTable.scripts.at(static_cast<std::size_t>(index)).conditionTokens = {
      ConditionToken{kConditionCursorSprite, 4, nullptr}};
  for (const std::int32_t cursor : {-1, 3, 4, -2}) {
    playerInputStates[0].cursorSprite = cursor;
    calls_.clear();
    Raise(owner);
    EXPECT_EQ(Marks().size(), cursor == 4 ? 1u : 0u) << "cursor sprite " << cursor;
  }
}

TEST_F(TriggerDispatchTest, ConditionThatCannotBeTestedFailsAndIsLogged) {
  setsLinked = true;
  gameData.actorTemplates.resize(1);
  gameData.actorTemplates[0].name = u"Hero";
  const std::int32_t owner = AddActor(kTouchedActor, u"Mark(1)", {u"\"Hero\""});
  // No relate actor: the IsA test reads actor -1.
  EXPECT_TRUE(Raise(owner, -1).IsEmpty());
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_FALSE(scriptEngine.applyingTimedChange);
  EXPECT_EQ(ErrorLog().rfind("Error: Actor -1 does not exist. (9)\r\n  in condition 8 of Map: \"\" Actor: ", 0), 0u)
      << ErrorLog();

  // An interval counter that holds a list (a proximity list) cannot count.
  const std::int32_t interval = AddActor(kInterval, u"Mark(2)", {u"1", u"100"});
  Script& script = scriptTable.scripts.at(static_cast<std::size_t>(
      gameData.maps[0].actors[static_cast<std::size_t>(interval)].triggers[0].script.index));
  script.frameTemplate.idList = Variant::Array(kVarVariant, {Variant::Long(3)});
  triggerHooks.TickElapsed = [] { return 500; };
  EXPECT_TRUE(Raise(interval).IsEmpty());
  EXPECT_TRUE(Marks().empty());
  EXPECT_NE(ErrorLog().find("in condition 10 of"), std::string::npos);
}

TEST_F(TriggerDispatchTest, IntervalRunsOnEvery32ndEventOf16MsAndKeepsTheRemainder) {
  const std::int32_t owner = AddActor(kInterval, u"Mark(1)", {u"1", u"500"});
  triggerHooks.TickElapsed = [] { return 16; };
  std::vector<int> runs;
  for (int event = 1; event <= 100; ++event) {
    calls_.clear();
    Raise(owner);
    if (!Marks().empty()) runs.push_back(event);
  }
  EXPECT_EQ(runs, (std::vector<int>{32, 63, 94}));
  const Script& script = scriptTable.scripts.at(
      static_cast<std::size_t>(gameData.maps[0].actors[static_cast<std::size_t>(owner)].triggers[0].script.index));
  EXPECT_EQ(script.frameTemplate.idList, Variant::Long(100));
}

TEST_F(TriggerDispatchTest, StaticsPersistAcrossRunsAndLocalsStartFresh) {
  const std::int32_t owner =
      AddActor(600, u"STATIC s\r\nLOCAL l\r\nSET s = s + 1\r\nSET l = l + 1\r\nMark(s * 10 + l)");
  for (int run = 0; run < 3; ++run) Raise(owner);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(11), Variant::Long(21), Variant::Long(31)}));
}

TEST_F(TriggerDispatchTest, ThisObjectsByOwnerKindAndFromTheCallerOfACustomEvent) {
  gameData.customEvents.resize(1);
  gameData.customEvents[0].script = MakeScript(u"Probe\r\nReturn(1)");
  gameData.maps[0].zones.resize(2);
  gameData.maps[0].zones[1].triggers.push_back(Trigger{600, {}, MakeScript(u"Probe\r\nMyEvent")});
  std::vector<std::pair<std::int32_t, std::int32_t>> seen;  // owner kind, this zone
  handlers_["Probe"] = [&seen](const test::RecordedCall&, ScriptValue&) {
    seen.emplace_back(TopFrame().ownerKind, TopFrame().thisZone);
  };
  ScriptRaiseObjectEvent(kOwnerZone, 1, 600, 0);
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{kOwnerZone, 1}, {kOwnerCustomEvent, 1}}));
}

TEST_F(TriggerDispatchTest, ObjectEventStopsWhenAScriptRemovedItsObject) {
  gameData.maps[0].zones.resize(2);
  auto& triggers = gameData.maps[0].zones[1].triggers;
  triggers.push_back(Trigger{600, {}, MakeScript(u"Mark(1)\r\nRemoveZone")});
  triggers.push_back(Trigger{601, {}, MakeScript(u"Mark(2)")});
  triggers.push_back(Trigger{600, {}, MakeScript(u"Mark(3)")});
  handlers_["RemoveZone"] = [](const test::RecordedCall&, ScriptValue&) { gameData.maps[0].zones.pop_back(); };
  ScriptRaiseObjectEvent(kOwnerZone, 1, 600, 0);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(1)}));
}

TEST_F(TriggerDispatchTest, SlotsOutsideTheirOwnerAreRefused) {
  AddActor(600, u"Mark(1)");
  const std::array<std::array<std::int32_t, 3>, 5> slots = {{
      {kOwnerActor, 0, 1},
      {kOwnerActor, 5, 0},
      {kOwnerSystem, 13, 0},
      {kOwnerMap, 6, 0},
      {4, 0, 0},
  }};
  for (const auto& [kind, owner, sub] : slots) {
    EXPECT_THROW(FindTriggerScript(kind, owner, sub, 0), KivError) << kind << " " << owner << " " << sub;
  }
  EXPECT_EQ(FindTriggerScript(kOwnerSystem, 12, 0, 0), -1);  // an empty system slot
}

TEST_F(TriggerDispatchTest, MapTriggerRunningWhileItsFirstEventScriptIsOnTheStack) {
  bool running = false;
  bool otherMap = true;
  handlers_["Probe"] = [&](const test::RecordedCall&, ScriptValue&) {
    running = ScriptIsMapTriggerRunning(0);
    otherMap = ScriptIsMapTriggerRunning(1);
  };
  gameData.maps[0].eventScripts[0] = MakeScript(u"Probe");
  TriggerRun run;
  run.ownerKind = kOwnerMap;
  run.ownerIndex = 0;
  run.map = 0;
  ScriptRunTrigger(run);
  EXPECT_TRUE(running);
  EXPECT_FALSE(otherMap);
  EXPECT_FALSE(ScriptIsMapTriggerRunning(0));
}

}  // namespace
}  // namespace kiv
