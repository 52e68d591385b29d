// Trigger memory run by an actor's trigger raised again and again: the memory
// lasts from run to run, travels with a wait, and a value another function
// left there counts as empty.
#include "internal_commands_fixture.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kEvent = 600;  // an event without conditions

Variant Long(std::int32_t v) { return Variant::Long(v); }

class TriggerMemoryTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    input_ = GlobalVariable(u"input", Variant());
  }
  void TearDown() override {
    shell.frameElapsed = 0;
    InternalCommandsTest::TearDown();
  }

  // Raises the trigger once for each input and gives the marks it made.
  std::vector<Variant> Feed(std::int32_t actor, const std::vector<Variant>& inputs) {
    calls_.clear();
    for (const Variant& input : inputs) {
      scriptGlobals.variables[static_cast<std::size_t>(input_)].value = input;
      Raise(actor);
    }
    return Marks();
  }

  std::int32_t input_ = -1;
};

TEST_F(TriggerMemoryTest, ChangeAndToggleRememberTheLastRun) {
  const std::int32_t change = AddActor(kEvent, u"Mark(Trigger.Change(input))");
  EXPECT_EQ(Feed(change, Longs({5, 5, 6, 6})), Longs({0, 0, 1, 0}));
  const std::int32_t toggle = AddActor(kEvent, u"Mark(Trigger.Toggle(input))");
  EXPECT_EQ(Feed(toggle, {Variant::Text(u"yes"), Variant::Text(u"true"), Variant::Text(u"no"), Long(1)}),
            Longs({1, 0, 0, 1}));
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(TriggerMemoryTest, TimePassedGathersTickTimeWhileTheConditionHolds) {
  const std::int32_t actor = AddActor(kEvent, u"Mark(Trigger.TimePassed(input, 1000))");
  shell.frameElapsed = 400;
  EXPECT_EQ(Feed(actor, Longs({1, 1, 1, 1, 1})), Longs({0, 0, 1, 0, 1}));
  // A false condition keeps what was gathered: 0 + 400 + 400, then 1000 reached.
  EXPECT_EQ(Feed(actor, Longs({1, 1, 0, 0, 1})), Longs({0, 0, 0, 0, 1}));
}

TEST_F(TriggerMemoryTest, ProximityGivesOneOncePerEntryOfEachRelatedActor) {
  const std::int32_t owner = AddActor(kEvent, u"Mark(Trigger.Proximity(50, \"yes\"))");
  const std::int32_t first = AddActor(kEvent, u"");
  const std::int32_t second = AddActor(kEvent, u"");
  std::vector<Actor>& actors = gameData.maps[0].actors;
  actors[static_cast<std::size_t>(owner)].x = 100;
  actors[static_cast<std::size_t>(first)].x = 130;
  actors[static_cast<std::size_t>(second)].x = 400;
  calls_.clear();
  Raise(owner, first);   // first comes near
  Raise(owner, second);  // second is far
  Raise(owner, first);   // first stays near
  actors[static_cast<std::size_t>(second)].x = 90;
  Raise(owner, second);  // second comes near
  actors[static_cast<std::size_t>(first)].x = 300;
  Raise(owner, first);  // first leaves
  actors[static_cast<std::size_t>(first)].x = 120;
  Raise(owner, first);  // and comes back
  EXPECT_EQ(Marks(), Longs({1, 0, 0, 1, 0, 1}));
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(TriggerMemoryTest, AnotherFunctionsValueCountsAsEmpty) {
  // Change leaves 7: Toggle reads no earlier truth from it. Toggle's truth
  // is no time for TimePassed, and a time no actor list for Proximity.
  const std::int32_t actor =
      AddActor(kEvent,
               u"Mark(Trigger.Change(7))\r\nMark(Trigger.Toggle(1))\r\nMark(Trigger.TimePassed(1, 401))\r\n"
               u"Mark(Trigger.Proximity(50, 1))");
  const std::int32_t other = AddActor(kEvent, u"");
  shell.frameElapsed = 400;
  calls_.clear();
  Raise(actor, other);
  EXPECT_EQ(Marks(), Longs({0, 1, 0, 1}));
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(TriggerMemoryTest, TheMemoryTravelsWithAWait) {
  const std::int32_t actor =
      AddActor(kEvent, u"Mark(Trigger.Change(input))\r\nPause(10)\r\nMark(Trigger.Change(9))");
  calls_.clear();
  scriptGlobals.variables[static_cast<std::size_t>(input_)].value = Long(3);
  Raise(actor);
  Tick(20);
  EXPECT_EQ(Marks(), Longs({0, 1}));
}

}  // namespace
}  // namespace kiv::test
