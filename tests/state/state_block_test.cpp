// The state block: the project form at its version gates, the party members
// of several players, the statistic rows, the running-game values of a save,
// and the save form read back and written again.
#include "state/state_block.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/log.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/project_state.h"
#include "data/script_record.h"
#include "data/sets_linked.h"
#include "media/player_input_state.h"
#include "media/sound_sets.h"
#include "runtime/runtime_startup.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/state_hooks.h"
#include "support/sample_game.h"
#include "support/state_block_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::PartyMemberFixture;
using test::StateBlockFixture;

Identifier IdOf(std::uint8_t value) {
  Identifier id;
  IdFill(id, value);
  return id;
}

const Identifier kHp = IdOf(0xA1);
const Identifier kMp = IdOf(0xA2);
const Identifier kHands = IdOf(0xB1);
const Identifier kSword = IdOf(0xC1);
const Identifier kShield = IdOf(0xC2);
const Identifier kHeroes = IdOf(0xD1);

PartyMemberFixture Member(const std::u16string& name, std::int32_t player, std::int32_t hpAtFirstLevel) {
  PartyMemberFixture member;
  member.firstLevel = 1;
  member.lastLevel = 2;
  member.statisticRows = {{kHp, {hpAtFirstLevel, hpAtFirstLevel + 5}}, {kMp, {3, 4}}};
  member.levelItems = {{kSword}, {kShield}};
  member.items = {kShield};
  member.player = player;
  member.actor.name = name;
  return member;
}

// Two statistics, an area, one player with one member, a team and a script in slot 9.
StateBlockFixture BasicFixture() {
  StateBlockFixture f;
  f.statistics = {{kHp, u"HP", u"Hit points", u"Number"}, {kMp, u"MP", u"Magic", u"Number"}};
  f.equipmentAreas = {{kHands, u"Hands", u"Hands", 2}};
  f.systemScripts[9] = test::EditorScriptNaming({u"Loaded"});
  test::PlayerFixture player;
  player.money = 123456789012LL;
  player.value1 = 11;
  player.value2 = 22;
  player.items = {{kSword, 2, 30}};
  player.party = {Member(u"Hero", 0, 10)};
  f.players = {player};
  f.teams = {{kHeroes, u"Heroes", {1}}};
  return f;
}

class StateBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameData();
    projectState.Reset();
    gameState.Reset();
    stateHooks.Reset();
    dataHooks.Reset();
    scriptHooks.Reset();
    triggerHooks.Reset();
    scriptGlobals = ScriptGlobals();
    soundSets.clear();
    playerInputStates[0] = PlayerInputState();
    gameData.gameSpeed = 1.0f;
  }

  // Reads a project form and checks that the whole block was read.
  static void LoadProject(std::int32_t version, const StateBlockFixture& fixture) {
    const ByteList bytes = test::ProjectStateBytes(version, fixture);
    std::int32_t offset = 0;
    LoadState(bytes, offset, false);
    EXPECT_EQ(offset, static_cast<std::int32_t>(bytes.size()));
  }

  static ByteList Save() {
    ByteList bytes;
    std::int32_t offset = 0;
    SaveState(bytes, offset);
    bytes.resize(static_cast<std::size_t>(offset));
    return bytes;
  }

  static void LoadSave(const ByteList& bytes) {
    std::int32_t offset = 0;
    LoadState(bytes, offset, true);
    EXPECT_EQ(offset, static_cast<std::int32_t>(bytes.size()));
  }

  static const Actor& OffMapActor(std::int32_t index) {
    return gameData.maps[-1].actors.at(static_cast<std::size_t>(index));
  }
};

TEST_F(StateBlockTest, ProjectFormAtEveryVersionGate) {
  struct Case {
    std::int32_t version;
    bool readsMemberPlayer;  // 100681
    bool keepsNames;         // 100680
    bool readsSecondValue;   // 100732
  };
  const Case cases[] = {
      {100654, false, false, false}, {100664, false, false, false},  // no tables stored
      {100665, false, false, false}, {100674, false, false, false}, {100683, true, true, false},
      {100731, true, true, false},   {100732, true, true, true},    {100790, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SetUp();
    StateBlockFixture f = BasicFixture();
    f.players[0].party.push_back(Member(u"Friend", 1, 20));  // names the second player
    try {
      LoadProject(c.version, f);
    } catch (const KivError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_FALSE(setsLinked);
    ASSERT_EQ(projectState.players.size(), c.readsMemberPlayer ? 2u : 1u);
    EXPECT_EQ(projectState.players[0].value2, c.readsSecondValue ? 22 : 0);
    EXPECT_EQ(projectState.players[0].money, 123456789012LL);
    ASSERT_EQ(gameData.maps[-1].actors.size(), 2u);
    EXPECT_EQ(OffMapActor(0).name, c.keepsNames ? u"Hero" : u"Character P0");
    EXPECT_EQ(OffMapActor(1).name, c.keepsNames ? u"Friend" : u"Character P1");
    EXPECT_EQ(OffMapActor(1).owningPlayer, c.readsMemberPlayer ? 1 : 0);
    EXPECT_EQ(systemScripts[9].text, u"Loaded");
    EXPECT_TRUE(systemScripts[9].hasStatements);
    EXPECT_EQ(projectState.teams.at(0).name, u"Heroes");
  }
}

TEST_F(StateBlockTest, ProjectFormFillsTablesAndSharedSettings) {
  LoadProject(100790, BasicFixture());
  ASSERT_EQ(gameData.statistics.size(), 2u);
  EXPECT_EQ(gameData.statistics[1].displayName, u"Magic");
  ASSERT_EQ(projectState.defaultStatisticValues.size(), 2u);
  EXPECT_EQ(projectState.defaultStatisticValues[1].id, kMp);
  ASSERT_EQ(projectState.defaultEquipment.size(), 1u);
  EXPECT_EQ(projectState.defaultEquipment[0].areaId, kHands);
  EXPECT_EQ(projectState.equipmentAreas.at(0).value, 2);

  const Player& player = projectState.players.at(0);
  EXPECT_EQ(player.mapIndex, -1);
  EXPECT_EQ(player.items.at(0).item, -2);
  EXPECT_EQ(player.items.at(0).itemId, kSword);
  EXPECT_EQ(player.items.at(0).ammunition, 30);
  const PartyMember& member = player.party.at(0);
  EXPECT_EQ(member.character, 0);
  ASSERT_EQ(member.levelMagic.size(), 2u);
  EXPECT_EQ(member.levelMagic[1].at(0).itemId, kShield);
  // The member's own list becomes its first level's list.
  ASSERT_EQ(member.magic.size(), 1u);
  EXPECT_EQ(member.magic[0].itemId, kSword);
  const Actor& actor = OffMapActor(0);
  EXPECT_EQ(actor.partyMember, 0);
  ASSERT_EQ(actor.statistics.size(), 2u);
  EXPECT_EQ(actor.statistics[0].baseValue, 10);
  EXPECT_EQ(actor.statistics[0].currentValue, 10);
  EXPECT_EQ(actor.statistics[1].currentValue, 3);
  ASSERT_EQ(actor.equipment.size(), 1u);
  EXPECT_EQ(actor.equipment[0].areaId, kHands);

  const ProjectSettings& shared = projectState.settings;
  EXPECT_EQ(shared.startInterfaces[0].index, -2);
  EXPECT_EQ(shared.startInterfaces[0].name, u"Screen");
  EXPECT_EQ(shared.startInterfaces[1].index, -1);
  EXPECT_EQ(shared.furtherInterfaces[1].name, u"Menu");  // the first of the three further ones
  EXPECT_EQ(shared.inputSets[0].id, IdOf(0x11));         // walking
  EXPECT_EQ(shared.inputSets[1].id, IdOf(0x44));         // interface
  EXPECT_EQ(shared.inputSets[2].id, IdOf(0x22));         // vehicle
  EXPECT_EQ(shared.inputSets[3].id, IdOf(0x33));         // turret
  EXPECT_EQ(shared.team.id, IdOf(0x55));
  EXPECT_EQ(storedProjectSettings.startMap.name, u"Town");
}

TEST_F(StateBlockTest, StatisticRowOfAnUnknownStatisticIsSkippedWhole) {
  StateBlockFixture f = BasicFixture();
  f.players[0].party[0].statisticRows = {{IdOf(0xEE), {70, 71}}, {kMp, {8, 9}}, {kHp, {40, 41}}};
  LoadProject(100790, f);
  const PartyMember& member = projectState.players.at(0).party.at(0);
  EXPECT_EQ(member.levelStats.at(0), (std::vector<std::int32_t>{40, 41}));
  EXPECT_EQ(member.levelStats.at(1), (std::vector<std::int32_t>{8, 9}));
}

TEST_F(StateBlockTest, ImpossibleLevelRangesAreErrors) {
  struct Case {
    std::int32_t firstLevel, lastLevel;
    std::int32_t statisticCount;  // statistics of the project
    bool writeLevelLists;         // the empty lists of every level follow
  };
  const Case cases[] = {
      {5, 4, 2, false},                     // last below first
      {1, 0x7FFFFFF0, 2, false},            // more levels than bytes left
      {-0x7FFFFFFF, 0x7FFFFFFF, 2, false},  // a count beyond 32 bits
      {1, 40000, 3000, true},               // lists fit, but the rows of every statistic could not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lastLevel);
    StateBlockFixture f = BasicFixture();
    f.statistics.resize(static_cast<std::size_t>(c.statisticCount), f.statistics[0]);
    PartyMemberFixture& member = f.players[0].party[0];
    member.firstLevel = c.firstLevel;
    member.lastLevel = c.lastLevel;
    member.statisticRows.clear();
    member.levelItems.clear();
    if (c.writeLevelLists) member.levelItems.resize(static_cast<std::size_t>(c.lastLevel - c.firstLevel + 1));
    const ByteList bytes = test::ProjectStateBytes(100790, f);
    std::int32_t offset = 0;
    try {
      LoadState(bytes, offset, false);
      ADD_FAILURE() << "no error";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
      EXPECT_NE(std::string(e.what()).find("levels"), std::string::npos) << e.what();
    }
  }
}

TEST_F(StateBlockTest, PartiesOfSeveralPlayersAllKeepTheirCharacters) {
  StateBlockFixture f = BasicFixture();
  f.players[0].party = {Member(u"A", 0, 1), Member(u"B", 1, 2), Member(u"C", 0, 3)};
  test::PlayerFixture second;
  second.party = {Member(u"D", 1, 4), Member(u"E", 1, 5)};
  f.players.push_back(second);
  f.players[0].party[2].actor.removed = 0;
  f.players[0].party[0].actor.removed = 1;  // out of play: C leads player 0
  LoadProject(100790, f);

  ASSERT_EQ(gameData.maps[-1].actors.size(), 5u);
  ASSERT_EQ(projectState.players.size(), 2u);
  const auto& party0 = projectState.players[0].party;
  const auto& party1 = projectState.players[1].party;
  ASSERT_EQ(party0.size(), 2u);
  ASSERT_EQ(party1.size(), 3u);
  auto nameOf = [this](const PartyMember& member) { return OffMapActor(member.character).name; };
  EXPECT_EQ(nameOf(party0[0]), u"A");
  EXPECT_EQ(nameOf(party0[1]), u"C");
  EXPECT_EQ(nameOf(party1[0]), u"D");
  EXPECT_EQ(nameOf(party1[1]), u"E");
  EXPECT_EQ(nameOf(party1[2]), u"B");  // moved to the end of its player's party
  for (std::size_t p = 0; p < 2; ++p) {
    const auto& party = projectState.players[p].party;
    for (std::size_t m = 0; m < party.size(); ++m) {
      EXPECT_EQ(OffMapActor(party[m].character).owningPlayer, static_cast<std::int32_t>(p));
      EXPECT_EQ(OffMapActor(party[m].character).partyMember, static_cast<std::int32_t>(m));
    }
  }

  // Player 0: A is out of play, so C leads and is controlled; nobody follows A.
  EXPECT_EQ(projectState.players[0].controlledMember, 1);
  EXPECT_EQ(OffMapActor(party0[0].character).autoMoveStyle, 0);
  EXPECT_EQ(OffMapActor(party0[1].character).autoMoveStyle, 0);
  // Player 1: D leads, E follows D, B follows E.
  EXPECT_EQ(projectState.players[1].controlledMember, 0);
  const Actor& e = OffMapActor(party1[1].character);
  const Actor& b = OffMapActor(party1[2].character);
  EXPECT_EQ(e.autoMoveStyle, 0x10003);
  EXPECT_EQ(e.aiFlags, 1);
  EXPECT_EQ(e.targetActor, party1[0].character);
  EXPECT_EQ(b.targetActor, party1[1].character);
}

TEST_F(StateBlockTest, MemberNamingAPlayerBeyondTheFourIsAnError) {
  StateBlockFixture f = BasicFixture();
  f.players[0].party[0].player = 4;
  EXPECT_THROW(LoadProject(100790, f), KivError);
}

TEST_F(StateBlockTest, SystemScriptsGetTheirParameterNamesBound) {
  StateBlockFixture f = BasicFixture();
  f.systemScripts[5] = test::EditorScriptNaming({u"partyMember", u"learntMagic"});
  f.systemScripts[11] = test::EditorScriptNaming({u"relateDoor"});
  LoadProject(100790, f);
  const Script& levelUp = systemScripts[5];
  ASSERT_EQ(levelUp.frameTemplate.parameters.size(), 3u);
  EXPECT_EQ(SymbolName(levelUp.frameTemplate.parameters[2].symbol), u"learntMagic");
  const auto& tokens = levelUp.statements.at(0).tokens;
  EXPECT_EQ(tokens.at(0).kind, kTokenParameter);
  EXPECT_EQ(tokens.at(0).value.AsLong(), 0);
  EXPECT_EQ(tokens.at(1).value.AsLong(), 2);
  // The registered copy, the one that runs, has them too.
  ASSERT_GE(levelUp.index, 0);
  EXPECT_EQ(scriptTable.scripts.at(static_cast<std::size_t>(levelUp.index)).frameTemplate.parameters.size(),
            3u);
  EXPECT_EQ(systemScripts[11].statements.at(0).tokens.at(0).value.AsLong(), 1);
  EXPECT_TRUE(systemScripts[10].frameTemplate.parameters.empty());  // no script in the slot
}

TEST_F(StateBlockTest, MusicVariationIsStoredFrom100716) {
  for (std::int32_t version : {100715, 100716}) {
    SCOPED_TRACE(version);
    ByteList bytes;
    std::int32_t o = 0;
    BufferWriteLong(bytes, 0, o);
    BufferWriteIdentifier(bytes, IdOf(0x77), o);  // no such sound
    for (std::int32_t value : {80, 44100, 1234}) BufferWriteLong(bytes, value, o);
    BufferWriteByte(bytes, 1, o);
    if (version >= 100716) BufferWriteLong(bytes, 3, o);
    std::vector<MusicSnapshot> list;
    std::int32_t offset = 0;
    ReadMusicSnapshots(bytes, offset, list, version);
    EXPECT_EQ(offset, o);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].soundIndex, -1);
    EXPECT_EQ(list[0].frequency, 44100.0f);
    EXPECT_EQ(list[0].variation, version >= 100716 ? 3 : 0);
  }
}

TEST_F(StateBlockTest, SaveFormKeepsTheRunningValues) {
  LoadProject(100790, BasicFixture());
  SpriteSet cursorSet;
  cursorSet.id = IdOf(0x61);
  gameData.spriteSets = {cursorSet};
  SoundSet song;
  song.id = IdOf(0x62);
  soundSets = {song};
  gameState.playTime = 98765;
  gameState.paused = 1;
  gameState.memorizedMusic = {{0, 2, 79.5f, 22050.4f, 4096, 1}};
  projectState.currentPlayerInterface = {-2, u"Inventory", Identifier()};
  gameData.gameSpeed = 1.5f;

  struct Case {
    std::int32_t sprite;
    Identifier kept;
    std::int32_t loaded;
    Identifier loadedId;
  };
  const Case cases[] = {
      {-1, Identifier(), -1, Identifier()},  // no cursor
      {0, Identifier(), 0, IdOf(0x61)},      // a loaded set
      {-2, IdOf(0x63), -2, IdOf(0x63)},      // a removed set keeps its identifier
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sprite);
    playerInputStates[0].cursorSprite = c.sprite;
    playerInputStates[0].cursorSpriteId = c.kept;
    playerInputStates[0].cursorColor = 0x7F00FF00;
    const ByteList first = Save();
    playerInputStates[0] = PlayerInputState();
    gameState.memorizedMusic.clear();
    LoadSave(first);
    EXPECT_TRUE(setsLinked);
    EXPECT_EQ(playerInputStates[0].cursorSprite, c.loaded);
    EXPECT_EQ(playerInputStates[0].cursorSpriteId, c.loadedId);
    EXPECT_EQ(playerInputStates[0].cursorColor, 0x7F00FF00);
    EXPECT_EQ(gameState.playTime, 98765);
    EXPECT_EQ(gameState.paused, 1);
    EXPECT_EQ(gameData.gameSpeed, 1.5f);
    EXPECT_EQ(projectState.currentPlayerInterface.index, -2);
    EXPECT_EQ(projectState.currentPlayerInterface.name, u"Inventory");
    ASSERT_EQ(gameState.memorizedMusic.size(), 1u);
    EXPECT_EQ(gameState.memorizedMusic[0].soundIndex, 0);
    EXPECT_EQ(gameState.memorizedMusic[0].volume, 80.0f);  // rounded, halves to even
    EXPECT_EQ(gameState.memorizedMusic[0].frequency, 22050.0f);
    EXPECT_EQ(gameState.memorizedMusic[0].variation, 2);
    // Written back unchanged (but for the save count).
    ByteList second = Save();
    ByteList expected = first;
    std::int32_t at = 8;
    BufferWriteLong(expected, gameState.saveCount, at);
    EXPECT_EQ(second, expected);
  }
}

TEST_F(StateBlockTest, EverySaveCountsItself) {
  LoadProject(100790, BasicFixture());
  for (std::int32_t count = 1; count <= 3; ++count) {
    const ByteList bytes = Save();
    std::int32_t at = 8;  // after the version and the play time
    EXPECT_EQ(BufferReadLong(bytes, at), count);
  }
}

TEST_F(StateBlockTest, SaveFormReadBackIsWrittenIdentically) {
  StateBlockFixture f = BasicFixture();
  f.players[0].party.push_back(Member(u"Friend", 1, 20));
  f.systemScripts[5] = test::EditorScriptNaming({u"partyMember"});
  f.teams.push_back({IdOf(0xD2), u"Monsters", {-1, 1}});
  f.teams[0].relations = {1, -1};
  LoadProject(100790, f);
  InputSet walking;
  walking.id = IdOf(0x11);
  walking.enabled = {1, 1, 1, 1};
  InputSet always;
  always.id = IdOf(0x12);
  always.alwaysOn = 1;
  always.enabled = {1, 1, 1, 1};
  gameData.inputSets = {walking, always, InputSet()};
  // A script switched the always-on set off for player 2 and the third set on for player 0.
  dataHooks.SetInputSetEnabled(2, 1, false);
  dataHooks.SetInputSetEnabled(0, 2, true);
  projectState.settings.inputSets[0].index = 0;
  projectState.players[1].mapIndex = 3;
  gameState.memorizedMusic = {{-1, 0, 50.0f, 0.0f, 7, 0}};

  const ByteList first = Save();
  SetUp();
  gameData.inputSets = {walking, always, InputSet()};
  projectState.settings.inputSets[0].index = 0;
  std::vector<std::tuple<std::int32_t, std::int32_t, bool>> switched;
  dataHooks.SetInputSetEnabled = [&switched](std::int32_t player, std::int32_t set, bool enabled) {
    switched.emplace_back(player, set, enabled);
  };
  LoadSave(first);
  // Each set and player as it was when saved, switches made during play included.
  ASSERT_EQ(switched.size(), 12u);
  EXPECT_EQ(switched[3], std::make_tuple(3, 0, true));
  EXPECT_EQ(switched[6], std::make_tuple(2, 1, false));
  EXPECT_EQ(switched[7], std::make_tuple(3, 1, true));
  EXPECT_EQ(switched[8], std::make_tuple(0, 2, true));
  EXPECT_EQ(switched[9], std::make_tuple(1, 2, false));
  gameData.inputSets[1].enabled = {1, 1, 0, 1};
  gameData.inputSets[2].enabled = {1, 0, 0, 0};
  EXPECT_EQ(projectState.players.size(), 2u);
  EXPECT_EQ(projectState.players[1].mapIndex, 3);
  EXPECT_EQ(projectState.teams.at(1).relations, (std::vector<std::int32_t>{-1, 1}));
  ByteList second = Save();
  ByteList expected = first;
  std::int32_t at = 8;
  BufferWriteLong(expected, 2, at);  // the second save
  EXPECT_EQ(second, expected);
}

TEST_F(StateBlockTest, TruncatedSaveFormIsAlwaysAnError) {
  StateBlockFixture f = BasicFixture();
  f.systemScripts[5] = test::EditorScriptNaming({u"partyMember"});
  LoadProject(100790, f);
  gameState.memorizedMusic = {{-1, 0, 50.0f, 0.0f, 7, 0}};
  InputSet walking;
  gameData.inputSets = {walking};
  const ByteList whole = Save();
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    const ByteList part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    std::int32_t offset = 0;
    EXPECT_THROW(LoadState(part, offset, true), KivError);
  }
}

TEST_F(StateBlockTest, RefusesSavesOfANewerVersion) {
  LoadProject(100790, BasicFixture());
  ByteList bytes = Save();
  std::int32_t at = 0;
  BufferWriteLong(bytes, 100791, at);
  std::int32_t offset = 0;
  try {
    LoadState(bytes, offset, true);
    ADD_FAILURE() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrData);
    EXPECT_STREQ(e.what(), "Project is too new for this version of Kiv.");
  }
}

TEST_F(StateBlockTest, LogsEachLoadAndSave) {
  test::TempDir dir;
  LogOpen(dir.File("log.txt"));
  LoadProject(100790, BasicFixture());
  LoadSave(Save());
  LogClose();
  const ByteList log = test::ReadTestFile(dir.File("log.txt"));
  EXPECT_EQ(std::string(log.begin(), log.end()),
            "Loading state.\r\nLoaded state.\r\nSaving state.\r\nSaved state.\r\n"
            "Loading state (full).\r\nLoaded state.\r\n");
}

TEST_F(StateBlockTest, SampleGameProjectStateLoadsFromItsPackage) {
  test::TempDir dir;
  test::SampleGamePackage().WriteTo(dir.File("DATA.kRC"));
  ASSERT_EQ(PackageLoad(dir.File("DATA.kRC"), kPackageOldNameLength), 0);
  RuntimeStartUp();  // the sample's globals need the script engine
  LoadProjectState();
  ASSERT_EQ(projectState.players.size(), 1u);
  ASSERT_EQ(projectState.players[0].party.size(), 1u);
  EXPECT_EQ(OffMapActor(0).name, u"Hero");
  EXPECT_EQ(gameData.statistics.size(), 1u);
  EXPECT_EQ(projectState.teams.size(), 1u);
  EXPECT_EQ(systemScripts[9].text, u"Exit");
  EXPECT_EQ(storedProjectSettings.startMap.name, u"Town");
  ASSERT_EQ(scriptGlobals.variables.size(), 1u);
  EXPECT_EQ(SymbolName(scriptGlobals.variables[0].symbol), u"Gold");
  EXPECT_EQ(scriptGlobals.variables[0].value.AsLong(), 50);
  ASSERT_EQ(scriptGlobals.switches.size(), 1u);
  EXPECT_EQ(scriptGlobals.switches[0].state, -1);
  ASSERT_EQ(scriptGlobals.collections.size(), 1u);
  EXPECT_EQ(scriptGlobals.collections[0].elements.size(), 1u);
  ASSERT_EQ(scriptGlobals.tables.size(), 1u);
  EXPECT_EQ(scriptGlobals.tables[0].lastX, 1);
  EXPECT_EQ(scriptGlobals.tables[0].cells.size(), 2u);
}

}  // namespace
}  // namespace kiv
