#pragma once
// Whole game packages for tests, tools and benchmarks: the small sample game of
// the README and generated games of any size. Both hold current-format files of
// every set kind, maps and interfaces, written by the fixture writers.
#include <cstdint>
#include <string>

#include "core/identifier.h"
#include "data/script_record.h"
#include "support/package_writer.h"

namespace kiv::test {

// The identifiers the sample game's records carry.
struct SampleGameIds {
  Identifier font, tiles, sprite, sound, door, item, guard, keys, event, town, hud, cellar, team, cloud, drop;
  SampleGameIds();
};

// The sample game: a font set, a tile set, three sprite sets (a villager and
// the cloud and the drop of the Town's weather), a door set, an item,
// a sound set, an actor template, an input set, a custom event, the map "Town"
// (tiles, actors of the template, a door to "Cellar", a zone, pick-ups and
// lights), the map "Cellar", the interface "Hud" with fields, scripts in the
// map events, the custom event and the input set, "DATA.INI" and the project state
// "INTRO.kst". The tile set, the sprite sets, the door set and the item carry
// small pictures (support/sample_images.h). Maps need a collision-grid cell
// size of kSampleGridCellSize.
PackageWriter SampleGamePackage();

// Compiles a script text into the statements the editor stores. Programs that
// have the script compiler set it (make_sample_package); without it the
// sample's scripts that use the internal commands are stored as text only,
// which the player does not run.
using SampleScriptCompiler = Script (*)(const std::u16string& text);
void SetSampleScriptCompiler(SampleScriptCompiler compiler);
inline constexpr std::int32_t kSampleGridCellSize = 8;

// The names of the sample package's entries whose damage stops loading (sets),
// drops the entry (interfaces) or drops a map reached through a reference.
bool IsSampleSetEntry(const std::string& name);

// A generated game of setCount sets spread over the set kinds and mapCount maps
// of 32 x 32 tiles with actors, pick-ups and lights, compressed as the editor
// writes them.
PackageWriter GeneratedGamePackage(std::int32_t setCount, std::int32_t mapCount);

}  // namespace kiv::test
