// The extension block of our saves: the run-time values that the record
// layouts have no place for come back after a load, a save without the block
// (older, or another program's) loads with the defaults, and a damaged or
// foreign block never reaches past its bytes.
#include "state/save_extension.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "save_game_fixture.h"

namespace kiv::test {
namespace {

class SaveExtensionTest : public SaveGameTest {
 protected:
  static Map& Town() { return gameData.maps[MapNamed(u"Town")]; }
  static Map& Hud() { return gameData.maps[MapNamed(u"Hud")]; }

  // Gives every value of the block a value that no default has.
  static void SetValues() {
    Actor& a = Town().actors.at(1);
    a.moveWait = 321, a.aiMoveCommand = 0x10003, a.walkTime = 11, a.idleTime = 12, a.attackTimer = 13;
    a.hurtTime = 14, a.risePoseTime = 15, a.fallPoseTime = 16, a.hopTime = 17, a.hopSpeed = 0.5f;
    a.hopHeight = 2.25f, a.groundState = 0, a.actorFlags = 4, a.attackArea = 0;
    a.movementX = 0.125f, a.movementY = -0.25f, a.movementZ = 1.5f, a.movementFlags = {1, 0, 1};
    a.damageShowTime = 900, a.damageRise = 0.03f, a.damageOffset = 7.5f, a.damageShown = 42;
    a.messageValue = 2500, a.messageText = u"Halt!", a.messageSecondForm = 1;
    a.pushes = {PushEntry{0.5f, -0.5f, 0.0f, 300}, PushEntry{0.0f, 1.0f, 0.25f, 50}};
    ASSERT_FALSE(a.equipment.empty());
    a.equipment[0].fireWait = 77, a.equipment[0].pressFired = 1;
    ASSERT_FALSE(Town().doors.empty());
    Town().doors[0].openTimeLeft = 450;
    ASSERT_FALSE(Town().spawns.empty());
    Town().spawns[0].departedCount = 2;
    ASSERT_FALSE(Hud().fields.empty());
    Field& view = Hud().fields.back();
    view.animationTime = 1234, view.view.shakeRepeat = 1;
  }

  static void ExpectDefaults() {
    const Actor& a = Town().actors.at(1);
    EXPECT_EQ(a.moveWait, 0);
    EXPECT_EQ(a.aiMoveCommand, 0);
    EXPECT_EQ(a.walkTime, 0);
    EXPECT_EQ(a.groundState, 1);
    EXPECT_EQ(a.attackArea, -1);
    EXPECT_TRUE(a.pushes.empty());
    EXPECT_TRUE(a.messageText.empty());
    EXPECT_EQ(a.equipment.at(0).fireWait, 0);
    EXPECT_EQ(Town().doors[0].openTimeLeft, 0);
    EXPECT_EQ(Town().spawns[0].departedCount, 0);
    EXPECT_EQ(Hud().fields.back().animationTime, 0);
  }

  // Saves the game and returns the save's stream.
  ByteList SavedStream() {
    SaveGame(dir.File("SAVE0.kSV"));
    return StreamOf(dir.File("SAVE0.kSV"));
  }

  std::int32_t LoadStream(const ByteList& stream) {
    WriteTestFile(dir.File("SAVE1.kSV"), SaveFileOf(stream));
    return LoadGame(dir.File("SAVE1.kSV"));
  }
};

TEST_F(SaveExtensionTest, ValuesWithNoPlaceInTheRecordsComeBackAfterALoad) {
  StartSampleGame();
  AddObjectsOfEveryKind();
  SetValues();
  SaveGame(dir.File("SAVE0.kSV"));
  ASSERT_EQ(LoadGame(dir.File("SAVE0.kSV")), 0);

  const Actor& a = Town().actors.at(1);
  EXPECT_EQ(a.moveWait, 321);
  EXPECT_EQ(a.aiMoveCommand, 0x10003);
  EXPECT_EQ(a.walkTime, 11);
  EXPECT_EQ(a.idleTime, 12);
  EXPECT_EQ(a.attackTimer, 13);
  EXPECT_EQ(a.hurtTime, 14);
  EXPECT_EQ(a.risePoseTime, 15);
  EXPECT_EQ(a.fallPoseTime, 16);
  EXPECT_EQ(a.hopTime, 17);
  EXPECT_EQ(a.hopSpeed, 0.5f);
  EXPECT_EQ(a.hopHeight, 2.25f);
  EXPECT_EQ(a.groundState, 0);
  EXPECT_EQ(a.actorFlags, 4);
  EXPECT_EQ(a.attackArea, 0);
  EXPECT_EQ(a.movementX, 0.125f);
  EXPECT_EQ(a.movementY, -0.25f);
  EXPECT_EQ(a.movementZ, 1.5f);
  EXPECT_EQ(a.movementFlags, (std::array<std::uint8_t, 3>{1, 0, 1}));
  EXPECT_EQ(a.damageShowTime, 900);
  EXPECT_EQ(a.damageRise, 0.03f);
  EXPECT_EQ(a.damageOffset, 7.5f);
  EXPECT_EQ(a.damageShown, 42);
  EXPECT_EQ(a.messageValue, 2500);
  EXPECT_EQ(a.messageText, u"Halt!");
  EXPECT_EQ(a.messageSecondForm, 1);
  ASSERT_EQ(a.pushes.size(), 2u);
  EXPECT_EQ(a.pushes[0].y, -0.5f);
  EXPECT_EQ(a.pushes[0].timeLeft, 300);
  EXPECT_EQ(a.pushes[1].z, 0.25f);
  EXPECT_EQ(a.equipment.at(0).fireWait, 77);
  EXPECT_EQ(a.equipment.at(0).pressFired, 1);
  EXPECT_EQ(Town().doors[0].openTimeLeft, 450);
  EXPECT_EQ(Town().spawns[0].departedCount, 2);
  EXPECT_EQ(Hud().fields.back().animationTime, 1234);
  EXPECT_EQ(Hud().fields.back().view.shakeRepeat, 1);
  // The other characters keep their defaults.
  EXPECT_EQ(Town().actors.at(0).moveWait, 0);
}

// A save without the block, or with one of a later version, loads whole and
// leaves the values at their defaults.
TEST_F(SaveExtensionTest, ASaveWithoutAKnownBlockLoadsWithTheDefaults) {
  struct Case {
    const char* what;
    void (*change)(ByteList& stream, std::size_t block);
  };
  const Case cases[] = {
      {"no block (an older save)", [](ByteList& stream, std::size_t block) { stream.resize(block); }},
      {"a later version",
       [](ByteList& stream, std::size_t block) {
         std::int32_t at = static_cast<std::int32_t>(block + 4);
         BufferWriteLong(stream, kSaveExtensionVersion + 1, at);
       }},
      {"other bytes after the lists",
       [](ByteList& stream, std::size_t block) {
         stream.resize(block);
         stream.insert(stream.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Clear();
    StartSampleGame();
    AddObjectsOfEveryKind();
    SetValues();
    ByteList stream = SavedStream();
    const std::size_t block = ExtensionBlockAt(stream);
    ASSERT_GT(block, 0u);
    c.change(stream, block);
    ASSERT_EQ(LoadStream(stream), 0);
    ExpectDefaults();
    EXPECT_EQ(Town().actors.size(), 3u);
  }
}

// A block cut off inside its mark or version is damage, not an older save.
TEST_F(SaveExtensionTest, ABlockCutShortIsAnError) {
  StartSampleGame();
  const ByteList stream = SavedStream();
  const std::size_t block = ExtensionBlockAt(stream);
  ASSERT_GT(block, 0u);
  for (const std::size_t kept : {1u, 2u, 3u, 4u, 6u}) {
    SCOPED_TRACE(kept);
    EXPECT_NE(LoadStream(ByteList(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(block + kept))), 0);
  }
}

// A list that holds more or fewer entries than the loaded map gives its values
// to the entries both have; a count that cannot fit in the bytes is refused.
TEST_F(SaveExtensionTest, ListsOfAnotherLengthGiveTheEntriesBothHaveAndBadCountsAreRefused) {
  StartSampleGame();
  AddObjectsOfEveryKind();
  SetValues();
  Town().actors.at(0).moveWait = 5;
  ByteList block;
  std::int32_t end = 0;
  WriteSaveExtension(block, end);
  block.resize(static_cast<std::size_t>(end));

  // One character fewer: the first keeps its value, the second's is read into scratch.
  Town().actors.resize(1);
  Town().actors[0].moveWait = 0;
  std::int32_t offset = 0;
  ReadSaveExtension(block, offset);
  EXPECT_EQ(offset, end);
  EXPECT_EQ(Town().actors[0].moveWait, 5);

  // One character more: it keeps its default.
  Town().actors.resize(4);
  offset = 0;
  ReadSaveExtension(block, offset);
  EXPECT_EQ(Town().actors[0].moveWait, 5);
  EXPECT_EQ(Town().actors[3].moveWait, 0);

  // The block cut short: an error of the data, not a read past the bytes.
  ByteList cut(block.begin(), block.begin() + end / 2);
  offset = 0;
  EXPECT_THROW(ReadSaveExtension(cut, offset), KivError);
  // A map count far beyond the bytes left.
  ByteList huge = block;
  std::int32_t at = 8;
  BufferWriteLong(huge, 0x7FFFFFF0, at);
  offset = 0;
  EXPECT_THROW(ReadSaveExtension(huge, offset), KivError);
}

}  // namespace
}  // namespace kiv::test
