#include "whole_game.h"

#include <unistd.h>

#include <cstdlib>

#include "core/hooks.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/game_data_reset.h"
#include "data/game_loading.h"
#include "data/map_object_settings.h"
#include "data/map_references.h"
#include "data/project_state.h"
#include "data/script_record.h"
#include "data/sets_linked.h"
#include "media/controls_table.h"
#include "media/graphics.h"
#include "media/sound_sets.h"
#include "runtime/runtime_startup.h"
#include "script/script_globals.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"
#include "state/state_block.h"
#include "state/state_hooks.h"
#include "support/sample_game.h"

namespace kiv::fuzz {

namespace {

// The cell size every project state sets, for a package whose state was replaced.
constexpr std::int32_t kGridCellSize = 16;

void ResolveMap(const std::u16string& name) {
  std::int32_t index = -2;
  std::u16string copy = name;
  ResolveMapReference(index, copy, Identifier(), false, true);
}

}  // namespace

const std::vector<PackageEntry>& SampleEntries() {
  static const std::vector<PackageEntry> entries = [] {
    const ByteList bytes = test::SampleGamePackage().Build();
    return PackageParse(bytes.data(), bytes.size(), kPackageOldNameLength);
  }();
  return entries;
}

const std::vector<std::size_t>& ReplaceableEntries() {
  static const std::vector<std::size_t> indexes = [] {
    std::vector<std::size_t> list;
    const std::vector<PackageEntry>& entries = SampleEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name != "DATA.INI") list.push_back(i);
    }
    return list;
  }();
  return indexes;
}

void ResetWholeGame() {
  SymbolTableReset();
  package.Reset();
  gameData.Reset();
  soundSets.clear();
  controls.clear();
  projectState.Reset();
  storedProjectSettings.Reset();
  scriptTable.Reset();
  scriptGlobals = ScriptGlobals();
  dataHooks.Reset();
  stateHooks.Reset();
  scriptHooks.Reset();
  triggerHooks.Reset();
  graphicsHooks.Reset();
  RuntimeStartUp();
  // Errors are the expected end of most inputs: nothing is shown.
  SetMessageBoxHook([](const std::string&, const std::string&) {});
  SetNoticeHook([](const std::string&, bool) {});
  dataSettings.Reset();
  mapObjectSettings.Reset();
  gameLoadLog.Reset();
  gameState.Reset();
  systemScripts.fill(Script());
  setsLinked = false;
  ResetGameData();
}

bool LoadWholePackage(const std::vector<PackageEntry>& entries) {
  package.packageEntries = entries;
  package.packagePath = ScratchPath("DATA.kRC");
  ResetGameData();
  dataSettings.gridCellSize = kGridCellSize;
  if (PackageFindEntry("INTRO.kst") >= 0) LoadProjectState();
  if (!LoadGameData()) return false;
  std::vector<std::string> names;
  for (std::string name = PackageFindNextLike("*.kmp"); !name.empty(); name = PackageFindNextLike("")) {
    names.push_back(name);
  }
  for (const std::string& name : names) ResolveMap(AnsiToUtf16(name.substr(0, name.size() - 4)));
  return true;
}

bool StartSampleGame() {
  package.packageEntries = SampleEntries();
  package.packagePath = ScratchPath("DATA.kRC");
  ResetGameData();
  LoadProjectState();
  if (!LoadGameData()) return false;
  ResolveMap(u"Cellar");
  ResolveMap(u"Town");
  return true;
}

std::string ScratchPath(const char* name) {
  static const std::string prefix = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kivfuzz-" +
           std::to_string(getpid());
  }();
  return prefix + "-" + name;
}

}  // namespace kiv::fuzz
