// The package inspector:
//   kivinfo PACKAGE
// Loads a game package with the player's own loaders (the project state
// "INTRO.kst", every set kind, the interfaces and the maps they reach, linking) and prints as JSON the entries,
// every set table, every map and interface with its object counts, the
// scripts, the teams and script globals, the references left unresolved and every error met. Exits 0 when
// the game loaded; otherwise prints "error <number>: <message>" to stderr and
// exits 1 (2 for a wrong command line).
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/error.h"
#include "core/hooks.h"
#include "core/package.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "data/map_references.h"
#include "data/project_state.h"
#include "media/sound_sets.h"
#include "runtime/runtime_startup.h"
#include "script/script_globals.h"
#include "state/state_block.h"

namespace {

using nlohmann::json;
using namespace kiv;

// A package without a project state still has its maps gridded: this is the
// size every project state sets.
constexpr std::int32_t kGridCellSize = 16;

std::string Text(const std::u16string& text) { return Utf16ToUtf8(text); }

std::string Hex(const Identifier& id) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t byte : id.bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  return out;
}

template <typename Table>
json SetTable(const Table& table) {
  json list = json::array();
  for (const auto& record : table) list.push_back({{"name", Text(record.name)}, {"id", Hex(record.id)}});
  return {{"count", table.size()}, {"records", list}};
}

json Entries() {
  json list = json::array();
  for (const PackageEntry& entry : package.packageEntries) {
    list.push_back({{"name", AnsiToUtf8(entry.name)},
                    {"size", entry.bytes.size()},
                    {"storedSize", entry.storedSize},
                    {"compressed", entry.compressed}});
  }
  return list;
}

// The actors of a map that belong to a team, with the team's index and identifier.
json TeamMembers(const Map& map) {
  json list = json::array();
  for (const Actor& actor : map.actors) {
    if (actor.team == -1) continue;
    list.push_back({{"actor", Text(actor.name)}, {"team", actor.team}, {"teamId", Hex(actor.teamId)}});
  }
  return list;
}

json Maps() {
  json list = json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    list.push_back({{"index", m},
                    {"name", Text(map.fileName)},
                    {"id", Hex(map.id)},
                    {"interface", map.isInterface},
                    {"placeholder", map.keptById},
                    {"width", map.width + 1},
                    {"height", map.height + 1},
                    {"actors", map.actors.size()},
                    {"doors", map.doors.size()},
                    {"zones", map.zones.size()},
                    {"boundaries", map.boundaries.size()},
                    {"pickUps", map.pickUps.size()},
                    {"lights", map.lights.size()},
                    {"speakers", map.speakers.size()},
                    {"spawns", map.spawns.size()},
                    {"fields", map.fields.size()},
                    {"texts", map.positionedTexts.size()},
                    {"teamMembers", TeamMembers(map)}});
  }
  return list;
}

json Teams() {
  json list = json::array();
  for (const Team& team : projectState.teams) list.push_back({{"name", Text(team.name)}, {"id", Hex(team.id)}});
  return list;
}

// The script globals of the project state, by name.
json Globals() {
  json variables = json::array();
  for (const ScriptVariable& variable : scriptGlobals.variables) variables.push_back(Text(SymbolName(variable.symbol)));
  json switches = json::array();
  for (const GlobalSwitch& entry : scriptGlobals.switches) switches.push_back(Text(SymbolName(entry.symbol)));
  json collections = json::array();
  for (const ScriptCollection& collection : scriptGlobals.collections) {
    collections.push_back({{"name", Text(SymbolName(collection.symbol))}, {"elements", collection.elements.size()}});
  }
  json tables = json::array();
  for (const ScriptTable3& table : scriptGlobals.tables) {
    tables.push_back({{"name", Text(SymbolName(table.symbol))}, {"cells", table.cells.size()}});
  }
  return {{"variables", variables}, {"switches", switches}, {"collections", collections}, {"tables", tables}};
}

json Scripts() {
  json registered = json::array();
  for (std::size_t s = 0; s < scriptTable.scripts.size(); ++s) {
    registered.push_back({{"index", s}, {"text", Text(scriptTable.scripts[s].text)}});
  }
  std::size_t texts = 0;
  auto count = [&texts](const Script& script) { texts += script.text.empty() ? 0 : 1; };
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    for (const Script& script : gameData.maps[m].eventScripts) count(script);
  }
  for (const CustomEvent& event : gameData.customEvents) count(event.script);
  for (const InputSet& set : gameData.inputSets) {
    for (const InputEntry& entry : set.entries) count(entry.script);
  }
  return {{"registered", registered}, {"withText", texts}};
}

// Every reference that linking left at -2, named by where it is held.
json Unresolved() {
  json list = json::array();
  auto note = [&list](std::int32_t index, const std::string& where) {
    if (index == -2) list.push_back(where);
  };
  for (std::size_t i = 0; i < gameData.items.size(); ++i) {
    const Item& item = gameData.items[i];
    const std::string where = "item " + Text(item.name);
    for (const RecordReference& ref : item.spriteSets) note(ref.index, where + " sprite set");
    for (const RecordReference& ref : item.sounds) note(ref.index, where + " sound");
    note(item.linkedItem.index, where + " linked item");
  }
  for (const SpriteSet& set : gameData.spriteSets) {
    for (const SpriteLink& link : set.links) note(link.spriteSet, "sprite set " + Text(set.name) + " link");
  }
  for (const TileSet& set : gameData.tileSets) {
    for (const Tile& tile : set.tiles) note(tile.linkedTileSet, "tile set " + Text(set.name) + " tile " + Text(tile.name));
  }
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    const Map& map = gameData.maps[m];
    const std::string where = (map.isInterface ? "interface " : "map ") + Text(map.fileName);
    for (const TileLayerGroup& group : map.tileLayerGroups) {
      for (std::int32_t slot : group.slotTileSets) note(slot, where + " tile-set slot");
    }
    for (const Actor& actor : map.actors) {
      const std::string who = where + " actor " + Text(actor.name);
      note(actor.templateIndex, who + " template");
      for (const AppearancePart& part : actor.parts) note(part.spriteSet, who + " appearance");
      for (const InventoryEntry& entry : actor.items) note(entry.item, who + " item");
      note(actor.team, who + " team");
    }
    for (const Door& door : map.doors) {
      note(door.doorSet, where + " door " + Text(door.name) + " door set");
      note(door.target.index, where + " door " + Text(door.name) + " target map");
    }
    for (const Zone& zone : map.zones) note(zone.target.index, where + " zone " + Text(zone.name) + " target map");
    for (const PickUp& pickUp : map.pickUps) {
      note(pickUp.spriteSet, where + " pick-up sprite set");
      note(pickUp.items[0].item, where + " pick-up item");
    }
    for (const Field& field : map.fields) {
      note(field.fontSet, where + " field " + Text(field.name) + " font set");
      note(field.spriteSet, where + " field " + Text(field.name) + " sprite set");
    }
  }
  return list;
}

// The inspector reaches every map of the package the way a reference to it
// does, not only those the start of a game reaches.
void LoadEveryMap() {
  std::vector<std::string> names;
  for (std::string name = PackageFindNextLike("*.kmp"); !name.empty(); name = PackageFindNextLike("")) {
    names.push_back(name);
  }
  for (const std::string& name : names) {
    if (PackageNameLike(name, "test~*")) continue;  // the editor's test copies, as the game skips them
    std::int32_t index = -2;
    std::u16string mapName = AnsiToUtf16(name.substr(0, name.size() - 4));
    ResolveMapReference(index, mapName, Identifier(), false, true);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PACKAGE\n", argv[0]);
    return 2;
  }
  std::vector<std::string> errors;
  const auto collectBox = [&errors](const std::string& caption, const std::string& text) {
    errors.push_back(AnsiToUtf8(caption + ": " + text));
  };
  SetMessageBoxHook(collectBox);
  SetNoticeHook([&errors](const std::string& text, bool) { errors.push_back(AnsiToUtf8(text)); });

  json report;
  report["package"] = argv[1];
  bool loaded = false;
  std::string failure;
  try {
    // A file that asks for more memory than there is ends as error 7 like any bad file.
    OutOfMemoryAsError([&] {
      const int result = PackageLoad(argv[1], kPackageOldNameLength);
      if (result != 0) throw KivError(result, "Could not load resource file properly.");
      RuntimeStartUp();
      SetMessageBoxHook(collectBox);  // start-up installs the player's boxes; this tool reports instead
      ResetGameData();
      dataSettings.gridCellSize = kGridCellSize;
      if (PackageFindEntry("INTRO.kst") >= 0) {
        gameData.currentActivity = "INTRO.kst";
        LoadProjectState();
        gameData.currentActivity.clear();
      }
      loaded = LoadGameData();
      if (loaded) LoadEveryMap();
    });
    if (!loaded) failure = "error -5: Loading was stopped.";
  } catch (const KivError& e) {
    failure = "error " + std::to_string(e.Number()) + ": " + AnsiToUtf8(e.what());
    if (!gameData.currentActivity.empty()) failure += " (while " + gameData.currentActivity + ")";
    errors.push_back(failure);
  }
  for (const std::string& dropped : gameLoadLog.droppedInterfaces) errors.push_back("dropped interface " + dropped);
  for (const std::string& line : gameLoadLog.brokenTemplateLoops) errors.push_back(line);

  report["loaded"] = loaded;
  report["entries"] = Entries();
  report["sets"] = {{"actorTemplates", SetTable(gameData.actorTemplates)}, {"tileSets", SetTable(gameData.tileSets)},
                    {"spriteSets", SetTable(gameData.spriteSets)},         {"doorSets", SetTable(gameData.doorSets)},
                    {"items", SetTable(gameData.items)},                   {"fontSets", SetTable(gameData.fontSets)},
                    {"soundSets", SetTable(soundSets)},                    {"inputSets", SetTable(gameData.inputSets)},
                    {"customEvents", SetTable(gameData.customEvents)}};
  report["maps"] = Maps();
  report["scripts"] = Scripts();
  report["teams"] = Teams();
  report["globals"] = Globals();
  report["unresolved"] = Unresolved();
  report["errors"] = errors;
  std::cout << report.dump(2) << "\n";
  if (!loaded) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    return 1;
  }
  return 0;
}
