// A slot load asked for by a script, performed after the world update with a
// backup of the running game in the common folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/data_buffer.h"
#include "data/game_data_reset.h"
#include "player/loop_fixture.h"
#include "state/save_game.h"
#include "state/state_hooks.h"

namespace kiv::test {
namespace {

class SlotLoadTest : public LoopTest {
 protected:
  void SetUp() override {
    LoopTest::SetUp();
    stateHooks.Reset();
    // The game's data comes from no package here: a reload only resets it.
    stateHooks.ReloadGameData = [](std::int32_t) { ResetGameData(); };
    ResetGameData();
    slot = JoinPath(GetUserGameFolder(), "SAVE2.kSV");
    backup = JoinPath(GetCommonFolder(), "SAVEX.kSV");
    playerHooks.WorldUpdate = [this] {
      ticks.push_back(shell.worldStepTime);
      if (ticks.size() == 1) shell.pendingSlotLoad = 2;
    };
  }
  void TearDown() override {
    stateHooks.Reset();
    LoopTest::TearDown();
  }
  std::vector<std::string> ErrorLogLines() {
    const std::string path = JoinPath(GetUserGameFolder(), "ERROR.LOG");
    if (!std::filesystem::exists(path)) return {};
    const ByteList bytes = ReadTestFile(path);
    std::vector<std::string> lines;
    std::string text(bytes.begin(), bytes.end());
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
  std::string slot;
  std::string backup;
};

TEST_F(SlotLoadTest, AMissingSlotOnlyClearsTheRequest) {
  Run(3);
  EXPECT_EQ(shell.pendingSlotLoad, -1);
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(backup));
  EXPECT_TRUE(ErrorLogLines().empty());
}

TEST_F(SlotLoadTest, AFolderNamedLikeTheSlotCountsAsMissing) {
  std::filesystem::create_directories(slot);
  Run(2);
  EXPECT_EQ(shell.pendingSlotLoad, -1);
  EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(SlotLoadTest, AFailingSlotReloadsTheBackupAndDeletesIt) {
  WriteTestFile(slot, std::string("not a save"));
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  Run(3);
  EXPECT_EQ(loadEvents, 1);  // the backup's load
  EXPECT_EQ(shell.pendingSlotLoad, -1);
  EXPECT_FALSE(std::filesystem::exists(backup));
  EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(SlotLoadTest, AGoodSlotIsLoadedAndTheBackupDeleted) {
  SaveGame(slot);
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  Run(2);
  EXPECT_EQ(loadEvents, 1);
  EXPECT_FALSE(std::filesystem::exists(backup));
  EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(SlotLoadTest, ABackupThatCannotBeSavedSkipsTheLoadAndPlayGoesOn) {
  WriteTestFile(slot, std::string("not a save"));
  std::filesystem::create_directories(backup);  // a folder in the way: the backup cannot be written
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  Run(3);
  EXPECT_EQ(loadEvents, 0);
  EXPECT_EQ(shell.pendingSlotLoad, -1);
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_TRUE(boxes.empty());
  const auto errors = ErrorLogLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("the load was skipped"), std::string::npos);
}

TEST_F(SlotLoadTest, ABackupThatCannotBeLoadedBackIsKeptAndTheGameEnds) {
  WriteTestFile(slot, std::string("not a save"));
  // The backup is written with a waiting-script list that loading refuses.
  stateHooks.WriteScriptRunState = [](ByteList& buffer, std::int32_t& offset) {
    BufferWriteLong(buffer, 5, offset);
    BufferWriteLong(buffer, 5, offset);
  };
  Run(5);
  EXPECT_TRUE(std::filesystem::exists(backup));
  EXPECT_EQ(ticks.size(), 1u);  // the game ended after the iteration of the load
  EXPECT_TRUE(shell.quitRequest);
  const auto errors = ErrorLogLines();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors.back().find("the backup is kept and the game ends"), std::string::npos);
  const auto lines = LogLines();
  EXPECT_EQ(lines.back(), "Ending game loop.");
}

}  // namespace
}  // namespace kiv::test
