// The save and load slot menus driven by Return, Escape and the arrows
// through the real Input System and world update: renaming and saving into a
// slot, loading a slot with a backup of the running game, and the boxes
// around them.
#include "player/slot_menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/data_buffer.h"
#include "core/ini.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "media/input_devices.h"
#include "player/boxes_fixture.h"
#include "player/builtin_message_boxes.h"
#include "script/script_hooks.h"
#include "player/game_window.h"
#include "render/frame_drawing.h"
#include "player/world_update.h"
#include "state/game_state.h"
#include "state/save_game.h"
#include "state/state_block.h"
#include "state/state_hooks.h"
#include "support/sample_game.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kEscape = 1, kReturn = 28, kUp = 200, kDown = 208;

class SlotMenuTest : public BoxesTest {
 protected:
  void SetUp() override {
    BoxesTest::SetUp();
    inputDevices.Reset();
    // The game's data comes from no package here: a reload only resets it.
    stateHooks.ReloadGameData = [](std::int32_t) { ResetGameData(); };
    ResetGameData();
    projectState.players.assign(1, Player{});
    InitMessageBoxes(true);
    settings = JoinPath(GetUserGameFolder(), "SETTINGS.INI");
    backup = JoinPath(GetCommonFolder(), "SAVEX.kSV");
  }
  void TearDown() override {
    stateHooks.Reset();
    inputDevices.Reset();
    ResetGameData();
    BoxesTest::TearDown();
  }

 public:
  // One iteration's keys and world update.
  void Tick(std::initializer_list<std::int32_t> down, std::int32_t ms = 16) {
    inputDevices.previousKeyboardState = inputDevices.keyboardState;
    inputDevices.keyboardState.fill(0);
    for (const std::int32_t key : down) inputDevices.keyboardState[static_cast<std::size_t>(key)] = 0x80;
    shell.frameElapsed = ms;
    WorldUpdate();
  }
  // A key pressed for one tick and released the next.
  void Press(std::int32_t key) {
    Tick({key});
    Tick({});
  }
  // Moves the load or save menu's highlight to a slot and lets it arrive.
  void Choose(std::int32_t slot) {
    for (std::int32_t s = messageBoxes[messageBoxState].selected; s != slot; ++s) Press(kDown);
    Tick({}, 1000);
  }

 protected:
  bool Shown(std::int32_t box) const { return messageBoxes[static_cast<std::size_t>(box)].visible; }
  std::vector<std::int32_t> ShownBoxes() const {
    std::vector<std::int32_t> shown;
    for (std::int32_t b = 0; b < kMessageBoxCount; ++b) {
      if (Shown(b)) shown.push_back(b);
    }
    return shown;
  }
  std::string SlotPath(std::int32_t slot) {
    return JoinPath(GetUserGameFolder(), "SAVE" + std::to_string(slot) + ".kSV");
  }

  std::string settings;
  std::string backup;
};

TEST_F(SlotMenuTest, TheMenusMoveFromStateToStateOnePressAtATime) {
  struct Case {
    const char* name;
    std::function<void(SlotMenuTest&)> before;  // from a game with no box open
    std::int32_t key;
    std::int32_t state;
    std::vector<std::int32_t> shown;
  };
  const Case cases[] = {
      {"save menu: Escape closes it", [](SlotMenuTest&) { OpenSlotMenu(true); }, kEscape, 0, {}},
      {"load menu: Escape closes it", [](SlotMenuTest&) { OpenSlotMenu(false); }, kEscape, 0, {}},
      {"save menu: Return opens the rename box",
       [](SlotMenuTest&) { OpenSlotMenu(true); },
       kReturn,
       20,
       {19, 20}},
      {"rename: Escape goes back to the slots",
       [](SlotMenuTest& t) {
         OpenSlotMenu(true);
         t.Press(kReturn);
       },
       kEscape,
       19,
       {19}},
      {"rename: Return saves and confirms",
       [](SlotMenuTest& t) {
         OpenSlotMenu(true);
         t.Press(kReturn);
       },
       kReturn,
       21,
       {19, 20, 21}},
      {"saved: Return closes all three",
       [](SlotMenuTest& t) {
         OpenSlotMenu(true);
         t.Press(kReturn);
         t.Press(kReturn);
       },
       kReturn,
       0,
       {}},
      {"saved: Escape closes all three",
       [](SlotMenuTest& t) {
         OpenSlotMenu(true);
         t.Press(kReturn);
         t.Press(kReturn);
       },
       kEscape,
       0,
       {}},
      {"load menu: a missing slot shows the error",
       [](SlotMenuTest&) { OpenSlotMenu(false); },
       kReturn,
       25,
       {23, 25}},
      {"load error: any press goes back to the slots",
       [](SlotMenuTest& t) {
         OpenSlotMenu(false);
         t.Press(kReturn);
       },
       kEscape,
       23,
       {23}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messageBoxState = 0;
    for (MessageBox& box : messageBoxes) box.visible = false;
    std::filesystem::remove(SlotPath(0));
    c.before(*this);
    Tick({c.key});
    EXPECT_EQ(messageBoxState, c.state);
    EXPECT_EQ(ShownBoxes(), c.shown);
    // Held down, the key acts no more; released, nothing changes either.
    Tick({c.key});
    Tick({});
    EXPECT_EQ(messageBoxState, c.state);
    EXPECT_EQ(ShownBoxes(), c.shown);
  }
}

TEST_F(SlotMenuTest, WithNoSlotBoxTheTopmostShownBoxAloneTakesTheArrows) {
  for (const std::int32_t b : {2, 6}) {
    messageBoxes[b].visible = true;
    messageBoxes[b].items.resize(3);
  }
  Press(kDown);
  EXPECT_EQ(messageBoxes[6].selected, 1);
  EXPECT_EQ(messageBoxes[2].selected, 0);
  messageBoxes[6].visible = false;
  messageBoxes[2].visible = false;
  Tick({kEscape});  // with no box shown Escape is only consumed
  EXPECT_TRUE(projectState.players[0].keyEscapeHeld);
  EXPECT_EQ(messageBoxState, 0);
}

TEST_F(SlotMenuTest, ReturnCountsOnlyOnceTheHighlightHasArrived) {
  OpenSlotMenu(true);
  EXPECT_EQ(messageBoxes[19].cursorRow, 0.0f);  // opened settled on the start item
  Press(kDown);
  Tick({kReturn});
  EXPECT_EQ(messageBoxState, 19);
  Tick({});
  Tick({}, 1000);
  EXPECT_EQ(messageBoxes[19].cursorRow, 1.0f);
  Tick({kReturn});
  EXPECT_EQ(messageBoxState, 20);
}

TEST_F(SlotMenuTest, TheRenameBoxAsksForTheThirdSlotWithItsCurrentName) {
  IniWriteString(settings, "Save", "Slot2", "Keep");
  OpenSlotMenu(true);
  Choose(2);
  Press(kReturn);
  ASSERT_EQ(messageBoxState, 20);
  EXPECT_EQ(messageBoxes[20].glyphs, Glyphs(std::u16string(u"New name for slot 3:")));
  EXPECT_EQ(messageBoxes[20].inputText, u"Keep");
  EXPECT_EQ(messageBoxes[20].inputGlyphs, Glyphs(std::u16string(u"Keep")));
  EXPECT_EQ(messageBoxes[20].typeElapsed, 0);
}

TEST_F(SlotMenuTest, AnEmptyNameIsStoredAsABlankShownInBothMenusAndTheSlotIsSaved) {
  OpenSlotMenu(true);
  Choose(2);
  Press(kReturn);
  messageBoxes[20].inputText.clear();
  gameState.saveCount = 7;
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 21);
  EXPECT_EQ(messageBoxes[19].items[2].glyphs, Glyphs(std::u16string(u" ")));
  EXPECT_EQ(messageBoxes[23].items[2].glyphs, Glyphs(std::u16string(u" ")));
  // Read back, the profile functions trim the blank; the file holds it.
  const ByteList file = ReadTestFile(settings);
  EXPECT_NE(std::string(file.begin(), file.end()).find("Slot2= \r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_regular_file(SlotPath(2)));
  EXPECT_EQ(gameState.saveCount, 8);
}

TEST_F(SlotMenuTest, AnUnchangedNameIsWrittenAndTheSlotSavedToo) {
  OpenSlotMenu(true);
  Choose(1);
  Press(kReturn);
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 21);
  EXPECT_EQ(IniReadString(settings, "Save", "Slot1", "unset"), "Slot 2");
  EXPECT_TRUE(std::filesystem::is_regular_file(SlotPath(1)));
}

TEST_F(SlotMenuTest, AFailedSlotSaveIsLoggedAndReturnsToTheSlotsWhilePlayGoesOn) {
  std::filesystem::create_directories(SlotPath(0) + "/in the way");  // the save cannot take its name
  OpenSlotMenu(true);
  Press(kReturn);
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 19);
  EXPECT_EQ(ShownBoxes(), std::vector<std::int32_t>{19});
  EXPECT_FALSE(shell.quitRequest);
  const auto errors = ErrorLogLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Could not save the game into"), std::string::npos);
  Press(kEscape);
  EXPECT_EQ(messageBoxState, 0);
}

TEST_F(SlotMenuTest, AMissingSlotShowsTheErrorAndWritesNoBackup) {
  std::filesystem::create_directories(SlotPath(3));  // a folder is not a save
  gameState.saveCount = 5;
  OpenSlotMenu(false);
  Choose(3);
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 25);
  EXPECT_EQ(gameState.saveCount, 5);  // nothing was saved
  EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(SlotMenuTest, ADamagedSlotReloadsTheBackupDeletesItAndShowsTheError) {
  WriteTestFile(SlotPath(0), std::string("not a save"));
  gameState.saveCount = 50;
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  OpenSlotMenu(false);
  Press(kReturn);
  EXPECT_EQ(loadEvents, 1);            // the backup's load
  EXPECT_EQ(gameState.saveCount, 51);  // the game as it was, with the backup's save counted
  EXPECT_EQ(messageBoxState, 25);
  EXPECT_FALSE(std::filesystem::exists(backup));
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 23);
  EXPECT_TRUE(Shown(23));
}

TEST_F(SlotMenuTest, ABackupThatCannotBeSavedSkipsTheLoadAndStaysOnTheSlots) {
  WriteTestFile(SlotPath(0), std::string("not a save"));
  std::filesystem::create_directories(backup + "/in the way");
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  OpenSlotMenu(false);
  Press(kReturn);
  EXPECT_EQ(loadEvents, 0);
  EXPECT_EQ(messageBoxState, 23);
  EXPECT_EQ(ShownBoxes(), std::vector<std::int32_t>{23});
  EXPECT_FALSE(shell.quitRequest);
  const auto errors = ErrorLogLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("the load was skipped"), std::string::npos);
}

TEST_F(SlotMenuTest, ABackupThatCannotBeLoadedBackIsKeptAndTheGameEnds) {
  WriteTestFile(SlotPath(0), std::string("not a save"));
  // The backup is written with a waiting-script list that loading refuses.
  stateHooks.WriteScriptRunState = [](ByteList& buffer, std::int32_t& offset) {
    BufferWriteLong(buffer, 5, offset);
    BufferWriteLong(buffer, 5, offset);
  };
  OpenSlotMenu(false);
  Press(kReturn);
  EXPECT_TRUE(std::filesystem::exists(backup));
  EXPECT_TRUE(shell.quitRequest);
  const auto errors = ErrorLogLines();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors.back().find("the backup is kept and the game ends"), std::string::npos);
}

}  // namespace
}  // namespace kiv::test

namespace kiv::test {
namespace {

// The sample game loaded from its package, so that every load runs the real
// reload of the game data, which sets the boxes up again from the start.
class SlotMenuReloadTest : public SlotMenuTest {
 protected:
  void SetUp() override {
    SlotMenuTest::SetUp();
    // Hooks the start-up leaves waiting (the commands) may still hold what an
    // earlier test of this program set; the game's scripts run here.
    scriptHooks.Reset();
    RuntimeStartUp();
    dataHooks.WrapText = [](std::int32_t, const std::u16string& text, std::int32_t, std::int32_t& lines,
                            float) {
      lines = 1;
      return Glyphs(text);
    };
    // No device here: resources are not loaded, and the fonts count as loaded.
    stateHooks.InitResources = [](std::uint32_t) {};
    playerHooks.InitResources = [](std::int32_t) { return 0; };
    shell.loadedGroups = 0x3EFFF;
    static const ByteList bytes = SampleGamePackage().Build();
    package.packageEntries = PackageParse(bytes.data(), bytes.size(), kPackageOldNameLength);
    SymbolTableReset();
    gameData.Reset();
    ResetGameData();
    LoadProjectState();
    ASSERT_TRUE(LoadGameData());
    if (projectState.players.empty()) projectState.players.resize(1);
    InitMessageBoxes(true);
  }
  void TearDown() override {
    package.packageEntries.clear();
    SlotMenuTest::TearDown();
  }
};

TEST_F(SlotMenuReloadTest, AGoodSlotReplacesTheGameAndDeletesTheBackup) {
  gameState.saveCount = 0;
  SaveGame(SlotPath(1));  // saveCount 1 in the file
  gameState.saveCount = 50;
  int loadEvents = 0;
  stateHooks.RunLoadEvent = [&loadEvents] { ++loadEvents; };
  OpenSlotMenu(false);
  Choose(1);
  Press(kReturn);
  EXPECT_EQ(gameState.saveCount, 1);
  EXPECT_EQ(loadEvents, 1);
  EXPECT_EQ(messageBoxState, 0);
  EXPECT_TRUE(ShownBoxes().empty());
  EXPECT_FALSE(std::filesystem::exists(backup));
}

// What a frame shows: the shown interfaces in drawing order, over the maps table.
struct ShownGame {
  std::vector<std::u16string> interfacesDrawn;
  std::vector<std::u16string> maps;
  bool operator==(const ShownGame&) const = default;
};
ShownGame WhatTheFrameShows() {
  ShownGame shown;
  for (std::int32_t m = FindNextMapInOrder(-1, false); m != -1; m = FindNextMapInOrder(m, false)) {
    shown.interfacesDrawn.push_back(gameData.maps[m].fileName);
  }
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) shown.maps.push_back(gameData.maps[m].fileName);
  return shown;
}

TEST_F(SlotMenuReloadTest, AGoodSlotShowsTheSavedInterfacesInTheirOrderOverTheSameMaps) {
  NewGame();
  // A second interface, brought in front of the HUD by its order number
  // although it lies after it in the table.
  std::int32_t hud = -1;
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    if (gameData.maps[m].isInterface && gameData.maps[m].overlayActive == 1) hud = m;
  }
  ASSERT_GE(hud, 0);
  const std::int32_t inset = gameData.maps.Append();
  gameData.maps[inset] = gameData.maps[hud];
  gameData.maps[inset].fileName = gameData.maps[inset].fileName2 = u"Inset";
  gameData.maps[hud].orderNumber = 2;
  gameData.maps[inset].orderNumber = 1;
  const ShownGame saved = WhatTheFrameShows();
  ASSERT_EQ(saved.interfacesDrawn, (std::vector<std::u16string>{u"Inset", gameData.maps[hud].fileName}));
  ASSERT_GE(saved.maps.size(), 3u);  // the HUD, the Town and the Cellar it leads to

  OpenSlotMenu(true);
  Choose(1);
  Press(kReturn);  // the slot: the rename prompt
  Press(kReturn);  // its name: saved
  ASSERT_TRUE(std::filesystem::exists(SlotPath(1)));
  Press(kReturn);  // the saved notice closes
  gameData.maps[hud].overlayActive = 0;
  gameData.maps[inset].overlayActive = 0;

  OpenSlotMenu(false);
  Choose(1);
  Press(kReturn);
  ASSERT_EQ(messageBoxState, 0) << "the load failed";
  EXPECT_EQ(WhatTheFrameShows(), saved);
  EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(SlotMenuReloadTest, AfterAFailedLoadTheLoadMenuOpensAgainAndTakesTheArrows) {
  WriteTestFile(SlotPath(1), std::string("not a save"));
  OpenSlotMenu(false);
  Choose(1);
  Press(kReturn);
  ASSERT_EQ(messageBoxState, 25);
  EXPECT_FALSE(shell.quitRequest);
  EXPECT_FALSE(std::filesystem::exists(backup));
  EXPECT_FALSE(Shown(23));  // the reload's set-up hid the built-in boxes
  EXPECT_TRUE(Shown(25));
  Press(kReturn);
  EXPECT_EQ(messageBoxState, 23);
  ASSERT_TRUE(Shown(23));
  EXPECT_EQ(messageBoxes[23].typeElapsed, 0);
  EXPECT_EQ(messageBoxes[23].selected, 1);  // the selection is kept
  Press(kDown);
  EXPECT_EQ(messageBoxes[23].selected, 2);
  Press(kEscape);
  EXPECT_EQ(messageBoxState, 0);
  EXPECT_TRUE(ShownBoxes().empty());
}

}  // namespace
}  // namespace kiv::test
