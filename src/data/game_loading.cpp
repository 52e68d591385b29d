#include "data/game_loading.h"

#include <functional>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/log.h"
#include "core/package.h"
#include "core/text_encoding.h"
#include "data/actor_template.h"
#include "data/custom_event.h"
#include "data/data_hooks.h"
#include "data/door_set.h"
#include "data/find_by_id.h"
#include "data/font_set.h"
#include "data/game_data.h"
#include "data/input_set.h"
#include "data/item_set.h"
#include "data/linking.h"
#include "data/map_loader.h"
#include "data/map_references.h"
#include "data/project_state.h"
#include "data/sets_linked.h"
#include "data/sound_set.h"
#include "data/sprite_set.h"
#include "data/template_application.h"
#include "data/tile_set.h"
#include "media/sound_sets.h"

namespace kiv {

GameLoadLog gameLoadLog;

namespace {

constexpr std::int32_t kMaxEntrySize = 0x7FFFFDFF;
constexpr float kProgressStep = 0.008f;
constexpr std::int32_t kSoundYieldPeriod = 15;

enum class Yielding { kEveryEntry, kEveryFifteenth, kNever };

bool QuitRequested() { return dataHooks.QuitRequested(); }

std::string LowerAnsi(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The common loop over k.<extension>: returns false when the quit flag ended it.
template <typename Table>
bool LoadSetKind(const std::string& extension, Table& table, bool keepContents, Yielding yielding,
                 const std::function<void(const ByteList&, std::int32_t)>& read) {
  const std::int32_t last = CountPackageEntries("*." + extension);
  if (keepContents) {
    table.resize(static_cast<std::size_t>(last + 1));
  } else {
    table.clear();
    table.resize(static_cast<std::size_t>(last + 1));
  }
  for (std::int32_t k = 0; k <= last; ++k) {
    const bool yields = yielding == Yielding::kEveryEntry ||
                        (yielding == Yielding::kEveryFifteenth && k % kSoundYieldPeriod == kSoundYieldPeriod - 1);
    if (yields) dataHooks.YieldToWindowSystem();
    if (yielding != Yielding::kNever && QuitRequested()) return false;
    const std::string name = std::to_string(k) + "." + extension;
    gameData.currentActivity = name;
    try {
      OutOfMemoryAsError([&] { read(ReadPackageFile(name, kMaxEntrySize), k); });
    } catch (const KivError& e) {
      throw KivError(e.Number(), "\"" + name + "\": " + e.what());
    }
  }
  return true;
}

// (P) steps: shows the progress text; false when the quit flag is set.
bool Progress(const std::string& text) {
  dataHooks.ShowLoadingProgress(text, kProgressStep);
  return !QuitRequested();
}

void LinkPartyActors(bool applyFlag) {
  for (std::size_t p = 0; p < projectState.players.size(); ++p) {
    LinkPlayerItems(static_cast<std::int32_t>(p));
    const Player& player = projectState.players[p];
    const std::int32_t mapIndex = player.mapIndex;
    for (const PartyMember& member : player.party) {
      const std::int32_t character = member.character;
      if (character < 0 || character >= static_cast<std::int32_t>(gameData.maps[mapIndex].actors.size())) {
        RaiseError(kErrIndex, "Subscript out of range: party character " + std::to_string(character) + ".");
      }
      auto& actors = gameData.maps[mapIndex].actors;
      Actor actor = std::move(actors[static_cast<std::size_t>(character)]);
      ApplyActorTemplate(actor, applyFlag, false);
      gameData.maps[mapIndex].actors[static_cast<std::size_t>(character)] = std::move(actor);
      if (mapIndex >= 0) dataHooks.UpdateCharacterFloorHeight(mapIndex, character);
    }
  }
}

void ApplyToEveryActor(bool keep, bool merge) {
  for (std::int32_t m = -1; m <= gameData.maps.LastIndex(); ++m) {
    for (std::size_t a = 0; a < gameData.maps[m].actors.size(); ++a) {
      Actor actor = std::move(gameData.maps[m].actors[a]);
      ApplyActorTemplate(actor, keep, merge);
      gameData.maps[m].actors[a] = std::move(actor);
    }
  }
}

// A loop of three or more templates never becomes ready: the template where
// the walk from the first waiting one closes the loop loses its parent.
void BreakLongTemplateLoop() {
  auto& templates = gameData.actorTemplates;
  const auto count = static_cast<std::int32_t>(templates.size());
  std::int32_t t = 0;
  while (t < count && templates[static_cast<std::size_t>(t)].applied) ++t;
  if (t == count) return;
  // Every waiting template has a waiting parent, so count steps end inside the loop.
  for (std::int32_t steps = 0; steps < count; ++steps) {
    const std::int32_t parent = TemplateParent(t);
    if (parent < 0 || parent >= count) break;
    t = parent;
  }
  ActorTemplate& broken = templates[static_cast<std::size_t>(t)];
  const std::string line = "Actor template loop broken: \"" + Utf16ToAnsi(broken.name) + "\" loses its parent.";
  LogWriteLine(line);
  gameLoadLog.brokenTemplateLoops.push_back(line);
  broken.derivedRecord.templateIndex = -1;
  broken.derivedRecord.templateId = Identifier();
}

}  // namespace

void LoadActorTemplates() {
  LoadSetKind("kat", gameData.actorTemplates, false, Yielding::kEveryEntry,
              [](const ByteList& bytes, std::int32_t k) { ReadActorTemplate(bytes, k, false); });
}

void LoadInputSets() {
  LoadSetKind("kin", gameData.inputSets, false, Yielding::kEveryEntry, ReadInputSet);
}

void LoadFontSets() {
  LogWriteLine("Loading font sets.");
  LoadSetKind("kfo", gameData.fontSets, true, Yielding::kNever, ReadFontSet);
}

void LoadSoundSets() {
  dataHooks.ShowLoadingProgress("Loading sound sets...", 0.0f);
  if (QuitRequested()) return;
  LoadSetKind("kso", soundSets, false, Yielding::kEveryFifteenth, [](const ByteList& bytes, std::int32_t k) {
    ReadSoundSet(bytes, k);
    const std::int32_t entry = PackageFindEntry(std::to_string(k) + ".kso");
    const PackageEntry& stored = package.packageEntries.at(static_cast<std::size_t>(entry));
    PlaceSoundSetInPackage(soundSets[static_cast<std::size_t>(k)], package.packagePath, stored.position,
                           stored.storedSize, stored.compressed);
  });
}

bool LoadAllSets(bool applyFlag) {
  if (!Progress("Loading actor templates...")) return false;
  LoadActorTemplates();
  setExtents.maxTileCellWidth = 32;
  setExtents.maxTileCellHeight = 32;
  if (!Progress("Loading tile-sets...")) return false;
  if (!LoadSetKind("kts", gameData.tileSets, false, Yielding::kEveryEntry,
                   [](const ByteList& bytes, std::int32_t k) { ReadTileSet(bytes, -1, k); })) {
    return false;
  }
  if (!Progress("Loading sprite sets...")) return false;
  if (!LoadSetKind("ksp", gameData.spriteSets, false, Yielding::kEveryEntry, ReadSpriteSet)) return false;
  if (!Progress("Loading door sets...")) return false;
  if (!LoadSetKind("kdo", gameData.doorSets, false, Yielding::kEveryEntry, ReadDoorSet)) return false;
  if (!Progress("Loading item sets...")) return false;
  if (!LoadSetKind("kit", gameData.items, false, Yielding::kEveryEntry, ReadItemSet)) return false;
  if (!Progress("Loading input sets...")) return false;
  LoadInputSets();
  if (!Progress("Loading custom events...")) return false;
  if (!LoadSetKind("kce", gameData.customEvents, false, Yielding::kEveryEntry, ReadCustomEvent)) return false;

  gameData.currentActivity = "Linking";
  ResolveTemplateInheritance(applyFlag);
  LinkPartyActors(applyFlag);
  for (std::size_t k = 0; k < gameData.items.size(); ++k) LinkItemSet(static_cast<std::int32_t>(k));
  for (std::size_t k = 0; k < gameData.tileSets.size(); ++k) LinkTileSet(static_cast<std::int32_t>(k));
  for (std::size_t k = 0; k < gameData.spriteSets.size(); ++k) LinkSpriteSet(static_cast<std::int32_t>(k));
  setsLinked = true;
  projectState.gameDataReady = true;
  return true;
}

void ResolveTemplateInheritance(bool applyFlag) {
  auto& templates = gameData.actorTemplates;
  for (ActorTemplate& tmpl : templates) {
    tmpl.applied = false;
    ApplyActorTemplate(tmpl.derivedRecord, true, true);
  }
  auto remaining = static_cast<std::int32_t>(templates.size());
  while (remaining > 0) {
    const std::int32_t before = remaining;
    for (std::size_t k = 0; k < templates.size(); ++k) {
      if (templates[k].applied) continue;
      const std::int32_t parent = templates[k].derivedRecord.templateIndex;
      if (parent >= 0 && !templates[static_cast<std::size_t>(parent)].applied) continue;
      --remaining;
      ApplyActorTemplate(templates[k].derivedRecord, applyFlag, true);
      ApplyActorTemplate(templates[k].baseRecord, applyFlag, true);
      templates[k].applied = true;
    }
    if (remaining != before) continue;
    // Nothing became ready: a template that is its own parent, or the second
    // of two that name each other, loses its parent.
    bool brokePair = false;
    for (std::size_t k = 0; k < templates.size(); ++k) {
      const std::int32_t j = templates[k].derivedRecord.templateIndex;
      if (j < 0) continue;
      Actor& other = templates[static_cast<std::size_t>(j)].derivedRecord;
      if (other.templateIndex != static_cast<std::int32_t>(k)) continue;
      other.templateIndex = -1;
      other.templateId = Identifier();
      brokePair = true;
    }
    if (!brokePair) BreakLongTemplateLoop();
  }
  for (std::size_t k = 0; k < templates.size(); ++k) RelinkActorTemplate(static_cast<std::int32_t>(k));
}

void LoadAllInterfaces() {
  LogWriteLine("Loading all interfaces.");
  const std::int32_t before = gameData.maps.LastIndex();
  std::vector<std::string> entries;
  for (std::string name = PackageFindNextLike("*.kui"); !name.empty(); name = PackageFindNextLike("")) {
    entries.push_back(name);
  }
  for (const std::string& entry : entries) {
    if (PackageNameLike(entry, "test~*")) continue;
    const std::string lower = LowerAnsi(entry);
    bool loaded = false;
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex() && !loaded; ++m) {
      const Map& map = gameData.maps[m];
      loaded = map.isInterface && LowerAnsi(Utf16ToAnsi(map.fileName) + ".kui") == lower;
    }
    if (loaded) continue;
    try {
      OutOfMemoryAsError(
          [&] { LoadMapFromPackage(AnsiToUtf16(entry.substr(0, entry.size() - 4)), true, -1, true); });
    } catch (const KivError& e) {
      if (e.Number() == kErrLoadAborted) throw;
      gameLoadLog.droppedInterfaces.push_back("\"" + entry + "\": " + e.what());
    }
  }

  ProjectSettings& settings = projectState.settings;
  for (InterfaceReference& ref : settings.startInterfaces) ResolveMapReference(ref.index, ref.name, ref.id, true, true);
  for (InterfaceReference& ref : settings.furtherInterfaces) {
    ResolveMapReference(ref.index, ref.name, ref.id, true, true);
  }
  for (const InterfaceReference& ref : settings.startInterfaces) {
    if (ref.index < 0 || ref.index <= before) continue;
    if (settings.startAsOverlay) {
      gameData.maps[ref.index].overlayActive = 1;
      dataHooks.RunOverlayTrigger(ref.index);
    } else {
      dataHooks.SetMapActive(ref.index, true);
    }
  }
  ResolveSettingsTeam();
  InterfaceReference& current = projectState.currentPlayerInterface;
  ResolveMapReference(current.index, current.name, Identifier(), true, true);
}

void RelinkLoadedMaps() {
  ApplyToEveryActor(true, false);
  for (std::int32_t m = -1; m <= gameData.maps.LastIndex(); ++m) ResolveMapLinks(m);
  for (std::size_t k = 0; k < gameData.actorTemplates.size(); ++k) RelinkActorTemplate(static_cast<std::int32_t>(k));
}

void ResolveInputSetIds() {
  auto& refs = projectState.settings.inputSets;
  for (RecordReference& ref : refs) ref.index = FindInputSetById(ref.id);
  for (std::size_t s = 0; s < gameData.inputSets.size(); ++s) {
    const auto set = static_cast<std::int32_t>(s);
    const bool enabled = set == refs[0].index || gameData.inputSets[s].alwaysOn == 1;
    for (std::int32_t p = 0; p < kInputPlayerCount; ++p) dataHooks.SetInputSetEnabled(p, set, enabled);
  }
}

void ResolveSettingsTeam() {
  RecordReference& team = projectState.settings.team;
  team.index = FindTeamById(team.id);
}

bool LoadGameData() {
  LoadFontSets();
  LoadSoundSets();
  if (QuitRequested()) return false;
  if (!LoadAllSets(false)) return false;
  LoadAllInterfaces();
  RelinkLoadedMaps();
  ResolveInputSetIds();
  return true;
}

}  // namespace kiv
