// The single-index rule and the three walkers that keep stored character,
// zone and field indexes right when a map's lists change.
#include "world/reference_fixup.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/number_text.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "script/call_frame.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "support/world_builder.h"
#include "world/reference_fields.h"

namespace kiv {
namespace {

std::int32_t ToLongForTest(const Variant& v) { return static_cast<std::int32_t>(ToNumber(v)); }

class ReferenceFixupTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    timedChanges.clear();
    waitingScripts.clear();
    scriptEngine.Reset();
    playerInputStates[0] = PlayerInputState();
  }
  Map& M(std::int32_t m = 0) { return gameData.maps[m]; }
  static ScriptValue Ref(std::int32_t kind, std::int32_t index, std::int32_t map = 0) {
    return ScriptValue{kind, Variant::Long(index), map};
  }
  static TimedChange ChangeOf(const ScriptValue& target) {
    TimedChange change;
    change.target = target;
    return change;
  }
  // A running frame at the top of the call stack, owned by a field of map 0.
  static CallFrame& RunningFrame() {
    scriptEngine.callTop = 0;
    CallFrame& frame = scriptEngine.callStack[0];
    frame.ownerMap = 0;
    return frame;
  }

  test::WorldBuilder w{7, 7, 1};
};

TEST_F(ReferenceFixupTest, SingleIndexRuleAsATable) {
  struct Case {
    std::int32_t ref, position, delta;
    bool shift;
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {-1, 3, -1, true, -1},  {-5, 3, 1, true, -5},  {-1, 0, 1, true, -1},   // negative never changes
      {3, 3, -1, true, -1},   {3, 3, -1, false, -1},                         // the removed element
      {3, 3, 1, true, 4},     {3, 3, 1, false, 4},                           // moves with the inserted slot
      {3, 3, 0, true, 3},                                                    // no delta
      {5, 3, -1, true, 4},    {5, 3, -1, false, 5},  {5, 3, 1, true, 6},  {5, 3, 1, false, 5},
      {2, 3, -1, true, 2},    {2, 3, 1, true, 2},    {0, 0, -1, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.ref << " at " << c.position << " delta " << c.delta << " shift "
                                      << c.shift);
    std::int32_t ref = c.ref;
    ShiftIndexRef(ref, c.position, c.delta, c.shift);
    EXPECT_EQ(ref, c.expected);
    Variant v = Variant::Double(c.ref);
    ShiftVariantRef(v, c.position, c.delta, c.shift);
    EXPECT_EQ(ToLongForTest(v), c.expected);
  }
  Variant text = Variant::Text(u"abc");
  ShiftVariantRef(text, 0, 1, true);
  EXPECT_EQ(text, Variant::Text(u"abc"));
  Variant numberText = Variant::Text(u"4");
  ShiftVariantRef(numberText, 2, 1, true);
  EXPECT_EQ(numberText, Variant::Long(5));
}

TEST_F(ReferenceFixupTest, InsertingAfterFieldNShiftsEveryKindOfStoredFieldReference) {
  constexpr std::int32_t n = 2;
  M().fields.resize(6);
  for (std::int32_t k = 0; k <= 5; ++k) {
    timedChanges.push_back(ChangeOf(Ref(k % 2 == 0 ? kObjectField : kObjectCameraView, k)));
    M().fields[static_cast<std::size_t>(k)].parent = k;
    M().fields[static_cast<std::size_t>(k)].spawner = 5 - k;
  }
  timedChanges[0].arguments.push_back(Ref(kObjectField, 4));
  timedChanges.push_back(ChangeOf(Ref(kObjectField, 4, 1)));  // another map
  timedChanges.push_back(ChangeOf(Ref(kObjectCharacter, 4)));  // another kind
  M().SelectionMarkerField() = 3;
  M().FurtherField() = 1;
  M().SelectedField() = 5;
  WaitingScript wait;
  wait.map = 0;
  wait.fieldText = 3;
  wait.fieldTarget = 2;
  CallFrame saved;
  saved.ownerMap = 0;
  saved.ownerKind = kOwnerFieldValue;
  saved.ownerIndex = 4;
  saved.thisField = 3;
  wait.frames.push_back(saved);
  saved.ownerMap = 1;  // a frame saved on another map
  wait.frames.push_back(saved);
  waitingScripts.push_back(wait);
  playerInputStates[0].targetMap = 0;
  playerInputStates[0].targetKind = kOwnerField;
  playerInputStates[0].targetIndex = 4;

  ShiftFieldRefs(0, n + 1, +1, true);

  const auto moved = [](std::int32_t k) { return k <= n ? k : k + 1; };
  for (std::int32_t k = 0; k <= 5; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(timedChanges[static_cast<std::size_t>(k)].target.value, Variant::Long(moved(k)));
    EXPECT_EQ(M().fields[static_cast<std::size_t>(k)].parent, moved(k));
    EXPECT_EQ(M().fields[static_cast<std::size_t>(k)].spawner, moved(5 - k));
  }
  EXPECT_EQ(timedChanges[0].arguments[0].value, Variant::Long(5));
  EXPECT_EQ(timedChanges[6].target.value, Variant::Long(4));
  EXPECT_EQ(timedChanges[7].target.value, Variant::Long(4));
  EXPECT_EQ(M().SelectionMarkerField(), 4);
  EXPECT_EQ(M().FurtherField(), 1);
  EXPECT_EQ(M().SelectedField(), 6);
  EXPECT_EQ(waitingScripts[0].fieldText, 4);
  EXPECT_EQ(waitingScripts[0].fieldTarget, 2);
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, 5);
  EXPECT_EQ(waitingScripts[0].frames[0].thisField, 4);
  EXPECT_EQ(waitingScripts[0].frames[1].ownerIndex, 4);
  EXPECT_EQ(waitingScripts[0].frames[1].thisField, 3);
  EXPECT_EQ(playerInputStates[0].targetIndex, 5);
}

TEST_F(ReferenceFixupTest, AFieldWaitOfAnotherMapKeepsItsFields) {
  WaitingScript wait;
  wait.map = 1;
  wait.fieldText = 3;
  wait.fieldTarget = 4;
  waitingScripts.push_back(wait);
  ShiftFieldRefs(0, 3, -1, true);
  EXPECT_EQ(waitingScripts[0].fieldText, 3);
  EXPECT_EQ(waitingScripts[0].fieldTarget, 4);
}

TEST_F(ReferenceFixupTest, ATeamReferenceIsAdjustedElementByElement) {
  ScriptValue team{kObjectTeam, Variant::Array(kVarVariant, {Variant::Long(1), Variant::Long(2), Variant::Long(4)}), 0};
  timedChanges.push_back(ChangeOf(team));
  team.mapIndex = 1;
  timedChanges.push_back(ChangeOf(team));
  ShiftCharacterRefs(0, 2, -1, true);
  EXPECT_EQ(timedChanges[0].target.value,
            Variant::Array(kVarVariant, {Variant::Long(1), Variant::Long(-1), Variant::Long(3)}));
  EXPECT_EQ(timedChanges[1].target.value,
            Variant::Array(kVarVariant, {Variant::Long(1), Variant::Long(2), Variant::Long(4)}));
}

// Everything the character walker visits, set to index 2 (the removed one) or
// 4 (above it), on map 0 and, for the values and frames, on map 1.
class CharacterWalkerTest : public ReferenceFixupTest {
 protected:
  void SetUp() override {
    ReferenceFixupTest::SetUp();
    other_ = gameData.maps.Append();
    ui_ = gameData.maps.Append();
    for (int k = 0; k < 5; ++k) w.AddCharacter(100.0f + 20.0f * static_cast<float>(k), 100, 0);
    timedChanges.push_back(ChangeOf(Ref(kObjectCharacter, 2)));
    timedChanges.push_back(ChangeOf(Ref(kObjectVehicle, 4)));
    timedChanges.push_back(ChangeOf(Ref(kObjectActor, 4, other_)));
    projectState.players.resize(2);
    projectState.players[0].mapIndex = 0;
    projectState.players[0].party.resize(2);
    projectState.players[0].party[0].character = 2;
    projectState.players[0].party[1].character = 4;
    projectState.players[1].mapIndex = other_;
    projectState.players[1].party.resize(1);
    projectState.players[1].party[0].character = 4;
    gameData.maps[ui_].isInterface = true;
    gameData.maps[ui_].fields.resize(1);
    gameData.maps[ui_].fields[0].view.ownMap = 0;
    gameData.maps[ui_].fields[0].view.followedCharacter = 4;
    M().spawns.resize(1);
    M().spawns[0].linkedActor = 4;
    WaitingScript wait;
    wait.map = 0;
    wait.actor = 4;
    CallFrame frame;
    frame.ownerMap = 0;
    frame.ownerKind = kOwnerActor;
    frame.ownerIndex = 4;
    frame.relateActor = 2;
    frame.thisActor = 4;
    wait.frames.push_back(frame);
    waitingScripts.push_back(wait);
    Actor& a = M().actors[0];
    EnemyInSight(a) = 4;
    MoveTargetActor(a) = 2;
    a.driver = 4;
    TouchingActors(a) = {{2, 100}, {4, 100}};
    LastAttacker(a) = 4;
    LastVictim(a) = 2;
    Trigger close;
    close.event = 566;
    close.script.frameTemplate.idList = Variant::Array(kVarVariant, {Variant::Long(2), Variant::Long(4)});
    a.triggers.push_back(close);
    M().doors.resize(1);
    M().doors[0].value7 = 4;  // opener
    M().projectiles.resize(1);
    FiringActor(M().projectiles[0]) = 4;
    playerInputStates[0].targetMap = 0;
    playerInputStates[0].targetKind = kOwnerActor;
    playerInputStates[0].targetIndex = 4;
  }
  std::int32_t other_ = -1, ui_ = -1;
};

TEST_F(CharacterWalkerTest, ACompactionClearsTheRemovedAndMovesTheOnesAbove) {
  ShiftCharacterRefs(0, 2, -1, true);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(-1));
  EXPECT_EQ(timedChanges[1].target.value, Variant::Long(3));
  EXPECT_EQ(timedChanges[2].target.value, Variant::Long(4));
  EXPECT_EQ(projectState.players[0].party[0].character, -1);
  EXPECT_EQ(projectState.players[0].party[1].character, 3);
  EXPECT_EQ(projectState.players[1].party[0].character, 4);
  EXPECT_EQ(gameData.maps[ui_].fields[0].view.followedCharacter, 3);
  EXPECT_EQ(M().spawns[0].linkedActor, 3);
  EXPECT_EQ(waitingScripts[0].actor, 3);
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, 3);
  EXPECT_EQ(waitingScripts[0].frames[0].relateActor, -1);
  EXPECT_EQ(waitingScripts[0].frames[0].thisActor, 3);
  const Actor& a = M().actors[0];
  Actor copy = a;
  EXPECT_EQ(EnemyInSight(copy), 3);
  EXPECT_EQ(MoveTargetActor(copy), -1);
  EXPECT_EQ(copy.driver, 3);
  EXPECT_EQ(TouchingActors(copy)[0].first, -1);
  EXPECT_EQ(TouchingActors(copy)[1].first, 3);
  EXPECT_EQ(LastAttacker(copy), 3);
  EXPECT_EQ(LastVictim(copy), -1);
  EXPECT_EQ(a.triggers[0].script.frameTemplate.idList,
            Variant::Array(kVarVariant, {Variant::Long(-1), Variant::Long(3)}));
  EXPECT_EQ(M().doors[0].value7, 3);
  EXPECT_EQ(FiringActor(M().projectiles[0]), 3);
  EXPECT_EQ(playerInputStates[0].targetIndex, 3);
}

TEST_F(CharacterWalkerTest, AnInPlaceRemovalOnlyClearsReferencesToTheSlot) {
  M().actors[0].triggers[0].event = 567;
  ShiftCharacterRefs(0, 2, -1, false);
  // Timed changes, parties, view fields, spawns and frame owners stay.
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(2));
  EXPECT_EQ(timedChanges[1].target.value, Variant::Long(4));
  EXPECT_EQ(projectState.players[0].party[0].character, 2);
  EXPECT_EQ(projectState.players[0].party[1].character, 4);
  EXPECT_EQ(gameData.maps[ui_].fields[0].view.followedCharacter, 4);
  EXPECT_EQ(M().spawns[0].linkedActor, 4);
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, 4);
  // References to the slot are cleared; the others stay.
  EXPECT_EQ(waitingScripts[0].actor, 4);
  EXPECT_EQ(waitingScripts[0].frames[0].relateActor, -1);
  EXPECT_EQ(waitingScripts[0].frames[0].thisActor, 4);
  Actor a = M().actors[0];
  EXPECT_EQ(MoveTargetActor(a), -1);
  EXPECT_EQ(LastVictim(a), -1);
  EXPECT_EQ(TouchingActors(a)[0].first, -1);
  EXPECT_EQ(EnemyInSight(a), 4);
  EXPECT_EQ(a.triggers[0].script.frameTemplate.idList,
            Variant::Array(kVarVariant, {Variant::Long(-1), Variant::Long(4)}));
  EXPECT_EQ(playerInputStates[0].targetIndex, 4);
}

TEST_F(CharacterWalkerTest, FollowLinksInsideAPartySurviveAnInPlaceRemovalAndFollowACompaction) {
  for (std::int32_t k : {1, 2, 3}) M().actors[static_cast<std::size_t>(k)].owningPlayer = 0;
  M().actors[4].owningPlayer = -1;
  LeaderActor(M().actors[1]) = 2;  // same owner as the removed one
  LeaderActor(M().actors[3]) = 2;
  LeaderActor(M().actors[4]) = 2;  // no owner
  ShiftCharacterRefs(0, 2, -1, false);
  EXPECT_EQ(LeaderActor(M().actors[1]), 2);
  EXPECT_EQ(LeaderActor(M().actors[3]), 2);
  EXPECT_EQ(LeaderActor(M().actors[4]), -1);
  LeaderActor(M().actors[4]) = 3;
  ShiftCharacterRefs(0, 2, -1, true);
  EXPECT_EQ(LeaderActor(M().actors[1]), -1);
  EXPECT_EQ(LeaderActor(M().actors[3]), -1);
  EXPECT_EQ(LeaderActor(M().actors[4]), 2);
}

TEST_F(ReferenceFixupTest, ZoneWalkerFollowsFramesProjectilesAndThePointer) {
  timedChanges.push_back(ChangeOf(Ref(kObjectZone, 3)));
  WaitingScript wait;
  CallFrame frame;
  frame.ownerMap = 0;
  frame.ownerKind = kOwnerZone;
  frame.ownerIndex = 3;
  frame.thisZone = 3;
  wait.frames.push_back(frame);
  waitingScripts.push_back(wait);
  M().projectiles.resize(1);
  ProjectileZone(M().projectiles[0]) = 3;
  playerInputStates[0].targetMap = 0;
  playerInputStates[0].targetKind = kOwnerZone;
  playerInputStates[0].targetIndex = 1;
  ShiftZoneRefs(0, 1, -1, true);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(2));
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, 2);
  EXPECT_EQ(waitingScripts[0].frames[0].thisZone, 2);
  EXPECT_EQ(ProjectileZone(M().projectiles[0]), 2);
  EXPECT_EQ(playerInputStates[0].targetIndex, -1);
  ShiftZoneRefs(0, 2, -1, false);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(2));
  EXPECT_EQ(waitingScripts[0].frames[0].ownerIndex, 2);
  EXPECT_EQ(waitingScripts[0].frames[0].thisZone, -1);
  EXPECT_EQ(ProjectileZone(M().projectiles[0]), -1);
}

// A script that spawns fields ahead of its own field keeps addressing its own
// field and the objects on its value stack; an in-place removal leaves it.
TEST_F(ReferenceFixupTest, RunningFramesFollowInsertionsAndCompactions) {
  CallFrame& frame = RunningFrame();
  frame.ownerKind = kOwnerField;
  frame.ownerIndex = 4;
  frame.thisField = 4;
  frame.valueStack = {Ref(kObjectField, 4), Ref(kObjectField, 1), Ref(kObjectField, 4, 1), Ref(kObjectField, 6)};
  frame.valueStackTop = 2;  // the last entry is stale
  ShiftFieldRefs(0, 2, +1, true);
  EXPECT_EQ(frame.ownerIndex, 5);
  EXPECT_EQ(frame.thisField, 5);
  EXPECT_EQ(frame.valueStack[0].value, Variant::Long(5));
  EXPECT_EQ(frame.valueStack[1].value, Variant::Long(1));
  EXPECT_EQ(frame.valueStack[2].value, Variant::Long(4));
  EXPECT_EQ(frame.valueStack[3].value, Variant::Long(6));
  ShiftFieldRefs(0, 5, -1, false);
  EXPECT_EQ(frame.thisField, 5);
  EXPECT_EQ(frame.valueStack[0].value, Variant::Long(5));

  frame.ownerKind = kOwnerActor;
  frame.ownerIndex = 3;
  frame.thisActor = 3;
  frame.relateActor = 1;
  frame.valueStack = {Ref(kObjectCharacter, 3)};
  frame.valueStackTop = 0;
  ShiftCharacterRefs(0, 1, -1, true);
  EXPECT_EQ(frame.ownerIndex, 2);
  EXPECT_EQ(frame.thisActor, 2);
  EXPECT_EQ(frame.relateActor, -1);
  EXPECT_EQ(frame.valueStack[0].value, Variant::Long(2));
}

TEST_F(ReferenceFixupTest, AnUnknownMapChangesNothing) {
  timedChanges.push_back(ChangeOf(Ref(kObjectField, 4, 9)));
  ShiftFieldRefs(9, 0, -1, true);
  ShiftCharacterRefs(9, 0, -1, true);
  ShiftZoneRefs(-7, 0, -1, true);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(4));
}

}  // namespace
}  // namespace kiv
