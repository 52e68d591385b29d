// The Main commands from scripts: save slots, slot menus, the player's
// interface, settings, play time, speed, pause, restart and notices.
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "core/folders.h"
#include "core/number_text.h"
#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "player/interface_order.h"
#include "player/message_boxes.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/slot_menu.h"
#include "script/script_state_hooks.h"
#include "state/game_state.h"
#include "support/temp_dir.h"

namespace kiv::test {
namespace {

// Limits the size of the files this process writes, as a full disk does, while it lives.
class WriteLimit {
 public:
  explicit WriteLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = std::min(bytes, saved_.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~WriteLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
  WriteLimit(const WriteLimit&) = delete;
  WriteLimit& operator=(const WriteLimit&) = delete;

 private:
  rlimit saved_{};
};

class MainCommandsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    InstallScriptStateHooks();
    gameState.Reset();
    gameData.gameSpeed = 1.0f;
    shell.pendingRestart = false;
    shell.pendingSlotLoad = -1;
    messageBoxState = 0;
    messageBoxOpenedByScript = 0;
    notices.clear();
    playerHooks.UpdateMapSystems = [](std::int32_t) {};
    PushCallFrame(CallFrame(), kiv::Script());
  }
  void TearDown() override {
    gameState.Reset();
    messageBoxState = 0;
    messageBoxOpenedByScript = 0;
    shell.pendingRestart = false;
    shell.pendingSlotLoad = -1;
    notices.clear();
    projectState.Reset();
    InternalCommandsTest::TearDown();
  }
  Variant Read(const std::u16string& name, const std::vector<Variant>& arguments = {}) {
    return Call(name, arguments).value;
  }
  static bool SlotFileExists(std::int32_t slot) {
    return std::filesystem::is_regular_file(SlotSavePath(slot));
  }
  std::int32_t AddInterface(const std::u16string& name) {
    const std::int32_t index = gameData.maps.Append();
    gameData.maps[index].fileName = name;
    gameData.maps[index].isInterface = true;
    return index;
  }
};

TEST_F(MainCommandsTest, SaveSlotsAreFilesOfTheUserFolder) {
  EXPECT_EQ(Read(u"Main.SaveExists", Longs({5})), Variant::Long(0));
  EXPECT_EQ(ErrorOfScript(u"Main.SaveTo(5)\r\nMark(1)"), "");
  EXPECT_EQ(Marks(), Longs({1}));  // the script goes on
  EXPECT_EQ(Read(u"Main.SaveExists", Longs({5})), Variant::Long(1));
  EXPECT_EQ(gameState.saveCount, 1);

  EXPECT_EQ(ErrorOfScript(u"Main.SaveTo(2)\r\nMain.SaveTo(-1)"), "");
  EXPECT_TRUE(std::filesystem::is_regular_file(GetUserGameFolder() + "/SAVE2.kSV"));
  EXPECT_TRUE(std::filesystem::is_regular_file(GetUserGameFolder() + "/SAVE-1.kSV"));

  // A folder of a slot's name is no save.
  std::filesystem::create_directory(GetUserGameFolder() + "/SAVE6.kSV");
  EXPECT_EQ(Read(u"Main.SaveExists", Longs({6})), Variant::Long(0));

  EXPECT_EQ(ErrorOfScript(u"Main.Delete(5)\r\nMain.Delete(7)"), "");
  EXPECT_EQ(Read(u"Main.SaveExists", Longs({5})), Variant::Long(0));
  EXPECT_TRUE(SlotFileExists(2));
}

TEST_F(MainCommandsTest, ASaveFromAScriptKeepsOnlyWaitingScripts) {
  // Another script waits; the saving one runs on the stack as the save is written.
  RunScript(u"Pause(500)");
  ASSERT_EQ(waitingScripts.size(), 1u);
  EXPECT_EQ(ErrorOfScript(u"Main.SaveTo(1)\r\nMark(2)"), "");
  EXPECT_EQ(Marks(), Longs({2}));
  EXPECT_EQ(waitingScripts.size(), 1u);
  EXPECT_TRUE(SlotFileExists(1));
}

TEST_F(MainCommandsTest, AFailedSaveIsTheScriptsErrorAndKeepsTheOldFile) {
  // A save large enough that half of it leaves room for the error report.
  std::u16string filler;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    filler += static_cast<char16_t>(u'a' + (seed >> 16) % 26);
  }
  GlobalVariable(u"filler", Variant::Text(filler));
  ASSERT_EQ(ErrorOfScript(u"Main.SaveTo(3)"), "");
  const ByteList previous = ReadTestFile(SlotSavePath(3));
  const std::size_t logBefore = ErrorLog().size();
  {
    WriteLimit full(previous.size() / 2);
    RunScript(u"Main.SaveTo(3)\r\nMark(1)");
  }
  EXPECT_GT(ErrorLog().size(), logBefore) << "the script reports the failed save";
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(ReadTestFile(SlotSavePath(3)), previous);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(GetUserGameFolder())) {
    files.push_back(entry.path().filename());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"ERROR.LOG", "SAVE3.kSV"}));  // no temporary file left
}

TEST_F(MainCommandsTest, PlayTimeTexts) {
  struct Case {
    std::int32_t milliseconds;
    const char16_t* semicolon;
    const char16_t* slash;
  };
  const Case cases[] = {
      {0, u"00:00:00", u"00h 00m 00s"},
      {1000, u"00:00:01", u"00h 00m 01s"},  // 0.9999996 s rounds up
      {1500, u"00:00:01", u"00h 00m 01s"},  // 1.4999994 s
      {59999, u"00:01:00", u"00h 01m 00s"},
      {3723000, u"01:02:03", u"01h 02m 03s"},  // 3722.9986 s
      {86399000, u"23:59:59", u"23h 59m 59s"},
      {90000000, u"25:00:00", u"25h 00m 00s"},  // past a day the hours go on
      {1000000000, u"277:46:40", u"277h 46m 40s"},
  };
  for (const Case& c : cases) {
    gameState.playTime = c.milliseconds;
    EXPECT_EQ(Read(u"Main.PlayTimeSemicolon"), Variant::Text(c.semicolon)) << c.milliseconds;
    EXPECT_EQ(Read(u"Main.PlayTimeSlash"), Variant::Text(c.slash)) << c.milliseconds;
  }
}

TEST_F(MainCommandsTest, GameStateProperties) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant reads;
  };
  const Case cases[] = {
      {u"Main.Speed", Variant::Long(-2), Variant::Single(0.0f)},
      {u"Main.Speed", Variant::Double(2.5), Variant::Single(2.5f)},
      {u"Main.Speed", Variant::Double(1e6), Variant::Single(1e6f)},
      {u"Main.PlayTime", Variant::Long(-5), Variant::Long(-5)},
      {u"Main.PlayTime", Variant::Double(12.5), Variant::Long(12)},
      {u"Main.SaveDisabled", Variant::Text(u"True"), Variant::Byte(1)},
      {u"Main.SaveDisabled", Variant::Long(0), Variant::Byte(0)},
      {u"Main.Paused", Variant::Long(1), Variant::Byte(1)},
      {u"Main.Paused", Variant::Text(u"off"), Variant::Byte(0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Raised([&] { Call(c.name, {}, kModeAssign, c.assigned); }), "no error") << Utf16ToUtf8(c.name);
    EXPECT_EQ(Read(c.name), c.reads) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(gameData.gameSpeed, 1e6f);
  // Read-only values ignore an assignment.
  gameState.saveCount = 4;
  Call(u"Main.Saves", {}, kModeAssign, Variant::Long(9));
  EXPECT_EQ(Read(u"Main.Saves"), Variant::Long(4));
  EXPECT_EQ(Read(u"Main.OS"), Variant::Text(GetPlatformName()));
  EXPECT_NE(Raised([&] { Call(u"Main.Paused", {}, kModeAssign, Variant::Text(u"maybe")); }), "no error");
}

TEST_F(MainCommandsTest, RequestsForTheMainLoop) {
  EXPECT_EQ(ErrorOfScript(u"Main.Restart()\r\nMark(1)"), "");
  EXPECT_TRUE(shell.pendingRestart);
  EXPECT_EQ(ErrorOfScript(u"Main.LoadFrom(3)\r\nMark(2)"), "");
  EXPECT_EQ(shell.pendingSlotLoad, 3);
  EXPECT_EQ(Marks(), Longs({1}));  // LoadFrom ends the script
  EXPECT_TRUE(waitingScripts.empty());
}

TEST_F(MainCommandsTest, WaitsOfTheSlotMenusAndInterfaces) {
  gameData.maps[0].actors.emplace_back();
  Actor& hero = gameData.maps[0].actors.back();
  hero.movementX = 3.0f;
  hero.keyForward = 1.0f;
  projectState.players.resize(1);
  Player& player = projectState.players[0];
  player.mapIndex = 0;
  player.party.emplace_back();
  player.party.back().character = 0;
  player.controlledMember = 0;
  messageBoxes[19].startItem = 2;
  messageBoxes[23].startItem = 1;

  struct Case {
    const char16_t* script;
    std::int32_t flags;
    std::int32_t state;
  };
  const Case cases[] = {
      {u"Main.Save()", 1, 19},
      {u"Main.Load()", 1, 23},
      {u"Main.WaitInterfaces()", 32, 0},
  };
  for (const Case& c : cases) {
    ClearWaitingScripts();
    messageBoxState = 0;
    messageBoxOpenedByScript = 0;
    EXPECT_EQ(ErrorOfScript(c.script), "") << Utf16ToUtf8(c.script);
    ASSERT_EQ(waitingScripts.size(), 1u) << Utf16ToUtf8(c.script);
    EXPECT_EQ(waitingScripts[0].flags, c.flags);
    EXPECT_EQ(waitingScripts[0].timeLeft, 0);
    EXPECT_EQ(messageBoxState, c.state);
    if (c.state != 0) {
      const MessageBox& box = messageBoxes[static_cast<std::size_t>(c.state)];
      EXPECT_EQ(messageBoxOpenedByScript, -1);
      EXPECT_TRUE(box.visible);
      EXPECT_EQ(box.selected, box.startItem);
      EXPECT_EQ(box.cursorRow, static_cast<float>(box.startItem));
    }
  }
  EXPECT_EQ(gameData.maps[0].actors[0].movementX, 0.0f);
  EXPECT_EQ(gameData.maps[0].actors[0].keyForward, 0.0f);
  messageBoxes[19] = MessageBox();
  messageBoxes[23] = MessageBox();
}

TEST_F(MainCommandsTest, NamesOfTablesAreArraysEvenWhenEmpty) {
  const Variant none = Variant::Array(kVarVariant, {});
  EXPECT_EQ(Read(u"Main.EquipmentAreas"), none);
  EXPECT_EQ(Read(u"Main.Statistics"), none);
  projectState.equipmentAreas.resize(2);
  projectState.equipmentAreas[0].name = u"Head";
  projectState.equipmentAreas[1].name = u"Hand";
  gameData.statistics.resize(1);
  gameData.statistics[0].name = u"Strength";
  EXPECT_EQ(Read(u"Main.EquipmentAreas"),
            Variant::Array(kVarVariant, {Variant::Text(u"Head"), Variant::Text(u"Hand")}));
  EXPECT_EQ(Read(u"Main.Statistics"), Variant::Array(kVarVariant, {Variant::Text(u"Strength")}));
  gameData.statistics.clear();
}

TEST_F(MainCommandsTest, SystemMessagesAreNeverMerged) {
  GameRunningScope running;
  RunScript(u"Main.SystemMessage(\"Saved\")\r\nMain.SystemMessage(\"Saved\")");
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].text, u"Saved");
  EXPECT_EQ(notices[1].count, 1);
}

TEST_F(MainCommandsTest, SettingsGoThroughTheSettingsFile) {
  EXPECT_EQ(ErrorOfScript(u"Main.SaveSetting(\"Game\", \"Level\", 7)"), "");
  EXPECT_EQ(Read(u"Main.LoadSetting", {Variant::Text(u"Game"), Variant::Text(u"Level"), Variant::Text(u"1")}),
            Variant::Text(u"7"));
  EXPECT_EQ(Read(u"Main.LoadSetting", {Variant::Text(u"Game"), Variant::Text(u"None"), Variant::Long(1)}),
            Variant::Text(u"1"));
}

TEST_F(MainCommandsTest, InterfacesChangeAndKeepTheirOrder) {
  const std::int32_t menu = AddInterface(u"Menu");
  const std::int32_t hud = AddInterface(u"Hud");
  const std::int32_t map = AddInterface(u"Map");
  gameData.maps[menu].fields.resize(2);
  gameData.maps[menu].CursorField() = 1;
  interfaceOrderCounter = 10;

  EXPECT_EQ(Read(u"Main.Interface"), Variant::Text(u""));
  Call(u"Main.Interface", {}, kModeAssign, Variant::Text(u"Menu"));
  EXPECT_EQ(Read(u"Main.Interface"), Variant::Text(u"Menu"));
  EXPECT_EQ(gameData.maps[menu].overlayActive, 1);

  // Keeping the current one: it stays shown, the new one draws above all before it.
  gameData.maps[menu].fields[1].nonExistent = 0;
  EXPECT_EQ(ErrorOfScript(u"Main.ChangeInterface(\"Hud\", 1)"), "");
  EXPECT_EQ(Read(u"Main.Interface"), Variant::Text(u"Hud"));
  EXPECT_EQ(gameData.maps[menu].overlayActive, 1);
  EXPECT_EQ(gameData.maps[menu].fields[1].nonExistent, 0);
  EXPECT_EQ(gameData.maps[hud].orderNumber, 10);

  // Without the second argument the current one is hidden with its cursor.
  Call(u"Main.Interface", {}, kModeAssign, Variant::Text(u"Menu"));
  EXPECT_EQ(projectState.currentPlayerInterface.index, menu);
  gameData.maps[menu].fields[1].nonExistent = 0;
  EXPECT_EQ(ErrorOfScript(u"Main.ChangeInterface(\"Map\")"), "");
  EXPECT_EQ(projectState.currentPlayerInterface.index, map);
  EXPECT_EQ(gameData.maps[menu].overlayActive, 0);
  EXPECT_EQ(gameData.maps[menu].fields[1].nonExistent, 1);
  EXPECT_EQ(gameData.maps[map].orderNumber, 11);
  EXPECT_GT(gameData.maps[map].orderNumber, gameData.maps[hud].orderNumber);
  EXPECT_EQ(interfaceOrderCounter, 12);

  // A name the resolver finds nothing for changes no order and no interface.
  const std::int32_t offMapOrder = gameData.maps[-1].orderNumber;
  RunScript(u"Main.ChangeInterface(\"Nowhere\", 1)");
  EXPECT_EQ(interfaceOrderCounter, 12);
  EXPECT_EQ(gameData.maps[-1].orderNumber, offMapOrder);
  EXPECT_EQ(projectState.currentPlayerInterface.index, map);
  interfaceOrderCounter = 0;
}

}  // namespace
}  // namespace kiv::test
