// Removal of marked characters and fields at the end of a map's turn: waits
// that hold it back or go with it, timed changes on the object, reference
// fix-up before the record leaves, and a requested reload.
#include <gtest/gtest.h>

#include <vector>

#include "character_system_fixture.h"
#include "player/marked_removal.h"
#include "script/script_value.h"
#include "script/timed_changes.h"
#include "script/waits.h"

namespace kiv {
namespace {

using test::CharacterSystemFixture;

class MarkedRemoval : public CharacterSystemFixture {
 protected:
  void SetUp() override {
    CharacterSystemFixture::SetUp();
    waitingScripts.clear();
    timedChanges.clear();
    // The reference fix-up sees the list before the record leaves.
    const auto record = characterWorld.ShiftCharacterRefs;
    characterWorld.ShiftCharacterRefs = [this, record](std::int32_t m, std::int32_t c, std::int32_t d, bool k) {
      sizesAtShift.push_back(static_cast<std::int32_t>(gameData.maps[m].actors.size()));
      record(m, c, d, k);
    };
    other = gameData.maps.Append();
  }
  void TearDown() override {
    waitingScripts.clear();
    timedChanges.clear();
  }
  std::int32_t Named(const char* name) {
    const std::int32_t c = AddCharacter(10, 10);
    A(c).name = std::u16string(name, name + std::char_traits<char>::length(name));
    return c;
  }
  std::vector<std::u16string> Names() {
    std::vector<std::u16string> out;
    for (const Actor& a : gameData.maps[map].actors) out.push_back(a.name);
    return out;
  }
  void WaitOn(std::int32_t onMap, std::int32_t actor, std::int32_t fieldText = -1, std::int32_t fieldTarget = -1) {
    WaitingScript w;
    w.map = onMap;
    w.actor = actor;
    w.fieldText = fieldText;
    w.fieldTarget = fieldTarget;
    waitingScripts.push_back(w);
  }
  void Timed(std::int32_t kind, Variant value, std::int32_t onMap) {
    TimedChange t;
    t.target.kind = kind;
    t.target.value = std::move(value);
    t.target.mapIndex = onMap;
    timedChanges.push_back(t);
  }
  static Variant Characters(std::initializer_list<std::int32_t> list) {
    std::vector<Variant> elements;
    for (std::int32_t i : list) elements.push_back(Variant::Long(i));
    return Variant::Array(kVarLong, elements);
  }
  std::int32_t other = 0;
  std::vector<std::int32_t> sizesAtShift;
};

TEST_F(MarkedRemoval, MarksAndWaits) {
  struct Case {
    const char* what;
    std::int32_t mark;
    bool waitOnIt;
    bool waitElsewhere;
    bool removed;
    std::size_t waitsLeft;
  } cases[] = {
      {"no mark", -1, false, false, false, 0},
      {"mark 0", 0, false, false, true, 0},
      {"mark 5", 5, false, false, true, 0},
      {"a wait names it: held back", 0, true, false, false, 1},
      {"forced: removed with its wait", kForcedRemoveMark, true, false, true, 0},
      {"a wait on another map does not hold it", 0, false, true, true, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[map].actors.clear();
    waitingScripts.clear();
    world.characterRefShifts.clear();
    Named("a");
    const std::int32_t b = Named("b");
    Named("c");
    RemoveMark(A(b)) = k.mark;
    if (k.waitOnIt) WaitOn(map, b);
    if (k.waitElsewhere) WaitOn(other, b);
    RemoveMarkedObjects(map);
    EXPECT_EQ(Names(), k.removed ? (std::vector<std::u16string>{u"a", u"c"})
                                 : (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(waitingScripts.size(), k.waitsLeft);
    if (k.removed) {
      ASSERT_EQ(world.characterRefShifts.size(), 1u);
      EXPECT_EQ(world.characterRefShifts[0], (FakeCall{map, b, -1, 1}));
    } else {
      EXPECT_TRUE(world.characterRefShifts.empty());
    }
  }
}

TEST_F(MarkedRemoval, FromTheLastDownReferencesShiftBeforeTheRecordLeaves) {
  for (const char* n : {"a", "b", "c", "d"}) Named(n);
  RemoveMark(A(1)) = 0;
  RemoveMark(A(3)) = 0;
  RemoveMarkedObjects(map);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"a", u"c"}));
  ASSERT_EQ(world.characterRefShifts.size(), 2u);
  EXPECT_EQ(world.characterRefShifts[0].b, 3);
  EXPECT_EQ(world.characterRefShifts[1].b, 1);
  EXPECT_EQ(sizesAtShift, (std::vector<std::int32_t>{4, 3}));
}

TEST_F(MarkedRemoval, TimedChangesOnTheCharacter) {
  Named("a");
  const std::int32_t b = Named("b");
  RemoveMark(A(b)) = 0;
  // Kept: 0 other character, 1 other map, 2 a field, 3 an array without it.
  Timed(kObjectCharacter, Variant::Long(0), map);
  Timed(kObjectCharacter, Variant::Long(b), other);
  Timed(kObjectField, Variant::Long(b), map);
  Timed(kObjectTeam, Characters({0, 4}), map);
  // Gone: each kind that names one character.
  for (std::int32_t kind : {kObjectActor, kObjectCharacter, kObjectVehicle, kObjectTurret, kObjectDynamic})
    Timed(kind, Variant::Long(b), map);
  // An array that holds it loses it; one of a single element goes.
  Timed(kObjectTeam, Characters({0, b, 2}), map);
  Timed(kObjectTeam, Characters({b}), map);
  RemoveMarkedObjects(map);
  ASSERT_EQ(timedChanges.size(), 5u);
  EXPECT_EQ(timedChanges[0].target.value.AsLong(), 0);
  EXPECT_EQ(timedChanges[1].target.mapIndex, other);
  EXPECT_EQ(timedChanges[2].target.kind, kObjectField);
  EXPECT_EQ(timedChanges[3].target.value.Elements().size(), 2u);
  const std::vector<Variant>& shrunk = timedChanges[4].target.value.Elements();
  ASSERT_EQ(shrunk.size(), 2u);
  EXPECT_EQ(shrunk[0].AsLong(), 0);
  EXPECT_EQ(shrunk[1].AsLong(), 2);
}

TEST_F(MarkedRemoval, FieldsWithTheirWaitsAndTimedChanges) {
  std::vector<Field>& fields = gameData.maps[map].fields;
  fields.resize(4);
  for (Field& f : fields) FieldRemoveMark(f) = -1;
  FieldRemoveMark(fields[1]) = 0;  // held back by a wait on its text
  FieldRemoveMark(fields[2]) = kForcedRemoveMark;
  FieldRemoveMark(fields[3]) = 0;
  fields[3].name = u"three";
  WaitOn(map, -1, 1, -1);
  WaitOn(map, -1, -1, 2);
  WaitOn(map, 3, -1, -1);  // names character 3, not field 3
  Timed(kObjectField, Variant::Long(2), map);
  Timed(kObjectCameraView, Variant::Long(3), map);
  Timed(kObjectField, Variant::Long(1), map);
  Timed(kObjectCharacter, Variant::Long(3), map);
  RemoveMarkedObjects(map);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(world.fieldRefShifts, (std::vector<FakeCall>{{map, 3, -1, 1}, {map, 2, -1, 1}}));
  ASSERT_EQ(waitingScripts.size(), 2u);
  EXPECT_EQ(waitingScripts[0].fieldText, 1);
  EXPECT_EQ(waitingScripts[1].actor, 3);
  ASSERT_EQ(timedChanges.size(), 2u);
  EXPECT_EQ(timedChanges[0].target.value.AsLong(), 1);
  EXPECT_EQ(timedChanges[1].target.kind, kObjectCharacter);
}

TEST_F(MarkedRemoval, ARequestedReloadWithItsFlags) {
  struct Case {
    std::uint8_t byte;
    std::vector<FakeCall> expected;
  } cases[] = {
      {0, {}},
      {6, {}},                 // flags without the request
      {1, {{0, 2, -1, -1}}},   // skip entry off, spare newest True, load flag off
      {3, {{0, 3, -1, -1}}},
      {7, {{0, 7, -1, -1}}},
      {5, {{0, 6, -1, -1}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.byte));
    world.reloads.clear();
    gameData.maps[map].pendingReload = k.byte;
    RemoveMarkedObjects(map);
    EXPECT_EQ(world.reloads, k.expected);
    // A reload happens once per request.
    world.reloads.clear();
    RemoveMarkedObjects(map);
    EXPECT_TRUE((k.byte & 1) == 0 || world.reloads.empty());
  }
}

}  // namespace
}  // namespace kiv
