#pragma once
// Writes the project form of the state block ("INTRO.kst") at a chosen format
// version, the way the editor stores it, with the statistics, equipment areas,
// system scripts, players and teams a test chooses.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/variant.h"
#include "data/actor_record.h"
#include "support/project_settings_writer.h"
#include "support/script_writer.h"

namespace kiv::test {

struct StatisticFixture {
  Identifier id;
  std::u16string name, displayName, kind;
};

struct EquipmentAreaFixture {
  Identifier id;
  std::u16string name, displayName;
  std::int32_t value = 0;
};

struct StatisticRowFixture {
  Identifier id;
  std::vector<std::int32_t> levels;  // one value per level, first to last
};

struct PartyMemberFixture {
  std::int32_t character = 0;  // replaced by the reader of the project form
  std::int32_t value2 = 0;
  std::int32_t firstLevel = 1;
  std::int32_t lastLevel = 1;
  std::array<std::int32_t, 3> values5to7{};
  std::vector<StatisticRowFixture> statisticRows;
  // The lists of the levels, written as given: a readable member has one per
  // level from the first to the last.
  std::vector<std::vector<Identifier>> levelItems;
  std::vector<Identifier> items;
  std::int32_t player = 0;  // from 100681
  Actor actor;              // written with its run-time part
};

struct InventoryFixture {
  Identifier id;
  std::int32_t quantity = 0;
  std::int32_t ammunition = 0;
};

struct PlayerFixture {
  std::int64_t money = 0;
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;  // from 100732
  std::vector<InventoryFixture> items;
  std::int32_t controlledMember = 0;
  std::vector<PartyMemberFixture> party;
};

struct TeamFixture {
  Identifier id;
  std::u16string name;
  std::vector<std::int32_t> relations;  // written as given
};

struct StateBlockFixture {
  ProjectSettingsFixture settings;
  std::vector<StatisticFixture> statistics;
  std::vector<EquipmentAreaFixture> equipmentAreas;
  std::int32_t controlsStamp = 7;  // from 100756; no controls are stored
  // Slots 0 to 12; the stored slots without a script get an empty one.
  // Scripts are written as given (the editor's files use the long form).
  std::array<std::optional<ScriptFixture>, 13> systemScripts;
  std::vector<PlayerFixture> players;
  // The global variables, switches, collections and tables as stored; empty:
  // four empty lists (three below 100665).
  ByteList globalLists;
  std::vector<TeamFixture> teams;
};

// The global variables, switches, collections and tables of a state block.
// Table cells are given in stored order: x outermost, z innermost.
struct GlobalTableFixture {
  std::u16string name;
  std::int32_t lastX = -1, lastY = -1, lastZ = -1;
  std::vector<Variant> cells;
};
struct GlobalListsFixture {
  std::vector<std::pair<std::u16string, Variant>> variables;
  std::vector<std::pair<std::u16string, std::int16_t>> switches;
  std::vector<std::pair<std::u16string, std::vector<Variant>>> collections;
  std::vector<GlobalTableFixture> tables;  // stored from 100665
};
ByteList GlobalListsBytes(std::int32_t version, const GlobalListsFixture& fixture);

// The common part and what precedes it, without the resource header.
ByteList StateBlockPayload(std::int32_t version, const StateBlockFixture& fixture);
// The whole "INTRO.kst": resource header, settings and common part.
ByteList ProjectStateBytes(std::int32_t version, const StateBlockFixture& fixture);

// A script in the editor's form whose one statement names each of the words.
ScriptFixture EditorScriptNaming(const std::vector<std::u16string>& words);

}  // namespace kiv::test
