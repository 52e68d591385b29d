#include "script/waits.h"

#include <gtest/gtest.h>

#include "media/input_binding.h"
#include "script/script_value_ops.h"
#include "trigger_engine_fixture.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

constexpr std::int32_t kEvent = 600;  // an event without conditions

class WaitsTest : public TriggerEngineTest {};

TEST_F(WaitsTest, PauseResumesAfterItsTimeOfTicksAndNotBefore) {
  const std::int32_t owner = AddActor(kEvent, u"Mark(1)\r\nPause(500)\r\nMark(2)");
  EXPECT_EQ(Raise(owner).Type(), kVarNull);
  ASSERT_EQ(waitingScripts.size(), 1u);
  for (int tick = 0; tick < 4; ++tick) Tick(100);
  Tick(99);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(1)}));
  Tick(1);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(1), Variant::Long(2)}));
  EXPECT_TRUE(waitingScripts.empty());
  EXPECT_EQ(scriptEngine.callTop, -1);
  EXPECT_EQ(scriptEngine.resumeTop, -1);
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(WaitsTest, WaitInsideACustomEventGivesTheCallerTheEventsReturnValue) {
  gameData.customEvents.resize(1);
  gameData.customEvents[0].script = MakeScript(u"LOCAL n\r\nSET n = 3\r\nPause(100)\r\nReturn(n + 4)");
  const std::int32_t owner = AddActor(kEvent, u"LOCAL x\r\nSET x = 1 + MyEvent()\r\nMark(x)");
  EXPECT_EQ(Raise(owner).Type(), kVarNull);
  ASSERT_EQ(waitingScripts.size(), 1u);
  ASSERT_EQ(waitingScripts[0].frames.size(), 2u);  // the trigger and the custom event
  EXPECT_EQ(waitingScripts[0].frames[1].ownerKind, kOwnerCustomEvent);
  Tick(100);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(8)}));
  EXPECT_TRUE(waitingScripts.empty());
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(WaitsTest, ExclusiveScriptIsBlockedWhileItWaitsAndRunsAgainAfterwards) {
  const std::int32_t owner = AddActor(kEvent, u"Mark(1)\r\nPause(100)\r\nMark(2)", {}, 1);
  Raise(owner);
  EXPECT_TRUE(Raise(owner).IsEmpty());
  EXPECT_EQ(Marks().size(), 1u);
  Tick(100);
  EXPECT_EQ(Marks().size(), 2u);
  Raise(owner);
  EXPECT_EQ(Marks().size(), 3u);

  // A script without the exclusive flag runs again while it waits.
  const std::int32_t shared = AddActor(kEvent, u"Mark(5)\r\nPause(100)");
  Raise(shared);
  Raise(shared);
  EXPECT_EQ(waitingScripts.size(), 3u);
}

TEST_F(WaitsTest, DroppedWaitNoLongerCountsAsRunning) {
  const std::vector<std::pair<const char*, std::function<void()>>> drops = {
      {"remove", [] { RemoveWaitingScript(0); }},
      {"map reload", [] { CancelWaitsOfMap(0, false); }},
      {"reset or load", [] { ResetTriggerEngine(); }},
  };
  for (const auto& [what, drop] : drops) {
    SCOPED_TRACE(what);
    calls_.clear();
    gameData.maps[0].actors.clear();
    const std::int32_t owner = AddActor(kEvent, u"Mark(1)\r\nPause(100000)", {}, 1);
    Raise(owner);
    Raise(owner);
    EXPECT_EQ(Marks().size(), 1u);
    drop();
    EXPECT_TRUE(waitingScripts.empty());
    Raise(owner);
    EXPECT_EQ(Marks().size(), 2u);
    ResetTriggerEngine();
  }
}

TEST_F(WaitsTest, MapReloadCancelsWaitsOfItsFramesAndOfItsOwnMap) {
  gameData.maps.Append();  // map 1
  const std::int32_t owner = AddActor(kEvent, u"Pause(100000)");
  handlers_["WaitOnMap1"] = [](const test::RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kValueControl, ScriptMakeWaitRequest(1, 100000, -1, 0, 1, Variant::Long(-1), -1, -1, -1), 0};
  };
  const std::int32_t waitsOnMap1 = AddActor(kEvent, u"WaitOnMap1");
  Raise(owner);
  Raise(waitsOnMap1);
  Raise(owner);
  CancelWaitsOfMap(1, false);
  EXPECT_EQ(waitingScripts.size(), 2u);
  CancelWaitsOfMap(0, true);  // the newest is spared
  ASSERT_EQ(waitingScripts.size(), 1u);
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, owner);
}

TEST_F(WaitsTest, CombinationsWithoutConditions) {
  const std::int32_t any = AddActor(kEvent, u"WaitAny\r\nMark(1)");
  Raise(any);
  for (int tick = 0; tick < 20; ++tick) Tick(100);
  EXPECT_TRUE(Marks().empty()) << "an any-wait without conditions never resumes";
  waitingScripts[0].released = 1;
  Tick(16);
  EXPECT_EQ(Marks().size(), 1u);

  const std::int32_t all = AddActor(kEvent, u"Pause(0)\r\nMark(2)");
  Raise(all);
  EXPECT_EQ(Marks().size(), 1u);
  Tick(0);
  EXPECT_EQ(Marks().size(), 2u) << "an all-wait without conditions resumes at the next poll";
}

TEST_F(WaitsTest, RequestElementsBecomeTheWaitingScript) {
  scriptHooks.CurrentPlayer = [] { return 2; };
  struct Case {
    Variant controls;
    std::uint8_t combination;
    std::vector<std::int32_t> list;
  };
  const Case cases[] = {
      {Variant::Long(-1), 0, {}},
      {Variant::Long(4), 0, {4}},
      {Variant::Array(kVarVariant, {Variant::Long(1), Variant::Long(3), Variant::Long(5)}), 1, {3, 5}},
      {Variant::Array(kVarVariant, {Variant::Long(0), Variant::Long(3), Variant::Long(5)}), 0, {3, 5}},
  };
  for (const Case& c : cases) {
    waitingScripts.clear();
    handlers_["Wait"] = [&c](const test::RecordedCall&, ScriptValue& result) {
      result = ScriptValue{kValueControl, ScriptMakeWaitRequest(0, 250, 7, 12, 0, c.controls, 8, 9, -1), 0};
    };
    Raise(AddActor(kEvent, u"Wait"));
    ASSERT_EQ(waitingScripts.size(), 1u);
    const WaitingScript& wait = waitingScripts[0];
    EXPECT_EQ(wait.combination, 0);
    EXPECT_EQ(wait.timeLeft, 250);
    EXPECT_EQ(wait.actor, 7);
    EXPECT_EQ(wait.flags, 12);
    EXPECT_EQ(wait.map, 0);
    EXPECT_EQ(wait.fieldText, 8);
    EXPECT_EQ(wait.fieldTarget, 9);
    EXPECT_EQ(wait.player, 2);
    EXPECT_EQ(wait.controlCombination, c.combination);
    EXPECT_EQ(wait.controls, c.list);
  }
}

TEST_F(WaitsTest, ConditionsOfThePollCountedByCombination) {
  // Controls 0 and 1 of player 0 are bound to themselves through their pending state.
  controls.resize(2);
  auto press = [](std::int32_t control, bool down) {
    BindingSlot& slot = controls[static_cast<std::size_t>(control)].slots[0];
    slot.previous = slot.current;
    slot.current = down ? 1 : 0;
  };
  bool actorStopped = false;
  triggerHooks.ActorStopped = [&actorStopped](std::int32_t, std::int32_t) { return actorStopped; };
  struct Case {
    const char* what;
    std::uint8_t combination;
    Variant controls;
    std::int32_t time;
    std::vector<bool> downs;  // controls 0 and 1 go down in the poll
    std::int32_t actor;       // must stop moving, -1 none
    bool stopped;
    bool resumes;
  };
  const Variant both = Variant::Array(kVarVariant, {Variant::Long(1), Variant::Long(0), Variant::Long(1)});
  const Variant either = Variant::Array(kVarVariant, {Variant::Long(0), Variant::Long(0), Variant::Long(1)});
  const Case cases[] = {
      {"all controls, one down", 1, both, 0, {true, false}, -1, false, false},
      {"all controls, both down", 1, both, 0, {true, true}, -1, false, true},
      {"either control", 1, either, 0, {false, true}, -1, false, true},
      {"any condition: the actor stopped", 0, Variant::Long(0), 100000, {false, false}, 3, true, true},
      {"all conditions: the actor stopped, time left", 1, Variant::Long(-1), 100000, {false, false}, 3, true, false},
      {"all conditions: the actor still moving", 1, Variant::Long(-1), 0, {false, false}, 3, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetTriggerEngine();
    calls_.clear();
    handlers_["Wait"] = [&c](const test::RecordedCall&, ScriptValue& result) {
      result = ScriptValue{kValueControl, ScriptMakeWaitRequest(c.combination, c.time, c.actor, 0, 0, c.controls, -1, -1, 0), 0};
    };
    Raise(AddActor(kEvent, u"Wait\r\nMark(1)"));
    press(0, false);
    press(1, false);
    actorStopped = c.stopped;
    press(0, c.downs[0]);
    press(1, c.downs[1]);
    Tick(16);
    EXPECT_EQ(Marks().size(), c.resumes ? 1u : 0u);
  }
}

TEST_F(WaitsTest, CallBackGoesOnBelowAResumedWaitAndFollowsRemovals) {
  // A, B and C wait 100 ms; C's continuation drops A. In the tick they all
  // become ready, C and then B resume.
  handlers_["DropFirst"] = [](const test::RecordedCall&, ScriptValue&) { RemoveWaitingScript(0); };
  Raise(AddActor(kEvent, u"Pause(100)\r\nMark(1)"));
  Raise(AddActor(kEvent, u"Pause(100)\r\nMark(2)"));
  Raise(AddActor(kEvent, u"Pause(100)\r\nDropFirst\r\nMark(3)"));
  Tick(100);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(3), Variant::Long(2)}));
  EXPECT_TRUE(waitingScripts.empty());

  // Three ready waits that remove nothing all resume in one tick, last first.
  for (int k = 1; k <= 3; ++k) Raise(AddActor(kEvent, u"Pause(50)\r\nMark(" + std::u16string(1, u'0' + k) + u"0)"));
  calls_.clear();
  Tick(50);
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(30), Variant::Long(20), Variant::Long(10)}));
}

// A wait whose test or resumption fails is logged as one block and dropped;
// its exclusive script can run again, and the waits below it still resume in
// the same tick.
TEST_F(WaitsTest, FailingWaitIsLoggedAndDroppedAndTheOthersGoOn) {
  handlers_["WaitControl7"] = [](const test::RecordedCall&, ScriptValue& result) {
    result =
        ScriptValue{kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, 0, Variant::Long(7), -1, -1, 0), 0};
  };
  struct Case {
    const char* what;
    const char16_t* text;
    std::function<void()> breakIt;  // between the suspension and the tick
    const char* log;
  };
  const Case cases[] = {
      {"a control outside the controls table", u"Mark(1)\r\nWaitControl7\r\nMark(2)", [] {},
       "Error: Subscript out of range (9)\r\n  in waiting script of Map: \"\" Actor: \"\" Trigger: Trigger.Param1\r\n"},
      {"the owner removed while it waits", u"Mark(1)\r\nPause(100)\r\nMark(2)",
       [] { gameData.maps[0].actors.pop_back(); },
       "Error: Actor 1 does not exist. (9)\r\n  in waiting script of Map: \"\" Actor: \"\" Trigger: \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetTriggerEngine();
    gameData.maps[0].actors.clear();
    calls_.clear();
    const std::string before = ErrorLog();
    Raise(AddActor(kEvent, u"Pause(100)\r\nMark(9)"));
    const std::int32_t owner = AddActor(kEvent, c.text, {}, 1);
    const std::int32_t script =
        gameData.maps[0].actors[static_cast<std::size_t>(owner)].triggers[0].script.index;
    Raise(owner);
    ASSERT_EQ(waitingScripts.size(), 2u);
    EXPECT_EQ(ScriptAt(script).hasRun, 1);
    c.breakIt();

    EXPECT_NO_THROW(Tick(100));
    EXPECT_EQ(ErrorLog().substr(before.size()), c.log);
    EXPECT_TRUE(waitingScripts.empty());
    EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(1), Variant::Long(9)}));
    EXPECT_EQ(ScriptAt(script).hasRun, 0);
    EXPECT_EQ(scriptEngine.callTop, -1);
    EXPECT_EQ(scriptEngine.resumeTop, -1);
    EXPECT_TRUE(scriptEngine.resumeFrames.empty());
  }
}

TEST_F(WaitsTest, NothingResumesWhileASystemMenuIsOpenOrTheWaitIsPaused) {
  Raise(AddActor(kEvent, u"Pause(100)\r\nMark(1)"));
  bool menu = true;
  triggerHooks.SystemMenuOpen = [&menu] { return menu; };
  Tick(500);
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(waitingScripts[0].timeLeft, 100) << "a menu stops the wait's time";
  menu = false;
  SetGamePaused(1);
  Tick(500);
  EXPECT_TRUE(Marks().empty());
  SetGamePaused(0);
  Tick(50);
  Tick(50);
  EXPECT_EQ(Marks().size(), 1u);
}

TEST_F(WaitsTest, WaitsOfInterfacesCountTheTickTime) {
  gameData.maps[0].isInterface = true;
  handlers_["Wait"] = [](const test::RecordedCall&, ScriptValue& result) {
    result = ScriptValue{kValueControl, ScriptMakeWaitRequest(1, 100, -1, 0, 0, Variant::Long(-1), -1, -1, -1), 0};
  };
  Raise(AddActor(kEvent, u"Wait\r\nMark(1)"));
  RunCallBackSystem(0, 100);  // the game time stands still, the tick goes on
  EXPECT_EQ(Marks().size(), 1u);
}

}  // namespace
}  // namespace kiv
