// Damaged saves never crash the loader: a fixture save cut at every 97th byte
// and flipped at every 101st, both as a file (the checks before loading) and
// as a stream compressed again (the readers of every section).
#include <gtest/gtest.h>

#include "save_game_fixture.h"

namespace kiv::test {
namespace {

class SaveGameDamageTest : public SaveGameTest {
 protected:
  void SetUp() override {
    SaveGameTest::SetUp();
    StartSampleGame();
    AddObjectsOfEveryKind();
    SaveGame(dir.File("good.kSV"));
    file = ReadTestFile(dir.File("good.kSV"));
    stream = StreamOf(dir.File("good.kSV"));
  }

  // Loads the bytes as a save; the loader must come back with a number.
  std::int32_t Load(const ByteList& bytes) {
    WriteTestFile(dir.File("damaged.kSV"), bytes);
    return LoadGame(dir.File("damaged.kSV"));
  }

  // After all the damage the intact save still loads to the same game.
  void ExpectTheIntactSaveStillLoads() {
    ASSERT_EQ(LoadGame(dir.File("good.kSV")), 0);
    gameState.saveCount -= 1;  // saving raises it again
    SaveGame(dir.File("again.kSV"));
    EXPECT_EQ(StreamOf(dir.File("again.kSV")), stream);
  }

  ByteList file;
  ByteList stream;
};

ByteList CutAt(const ByteList& bytes, std::size_t length) {
  return ByteList(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

ByteList FlippedAt(ByteList bytes, std::size_t at) {
  bytes[at] ^= 0xFF;
  return bytes;
}

TEST_F(SaveGameDamageTest, AFileCutOrFlippedAnywhereIsAnErrorOrALoad) {
  for (std::size_t length = 0; length < file.size(); length += 97) {
    SCOPED_TRACE(length);
    EXPECT_NE(Load(CutAt(file, length)), 0);
  }
  for (std::size_t at = 0; at < file.size(); at += 101) {
    SCOPED_TRACE(at);
    Load(FlippedAt(file, at));
  }
  ExpectTheIntactSaveStillLoads();
}

TEST_F(SaveGameDamageTest, AStreamCutOrFlippedAnywhereIsAnErrorOrALoad) {
  for (std::size_t length = 0; length < stream.size(); length += 97) {
    SCOPED_TRACE(length);
    EXPECT_NE(Load(SaveFileOf(CutAt(stream, length))), 0);
  }
  for (std::size_t at = 0; at < stream.size(); at += 101) {
    SCOPED_TRACE(at);
    Load(SaveFileOf(FlippedAt(stream, at)));
  }
  ExpectTheIntactSaveStillLoads();
}

}  // namespace
}  // namespace kiv::test
