// Writes the starting inputs of the whole-game fuzz targets:
//   fuzz_seeds <folder>
// <folder>/game_package: each replaceable entry of the sample game in the
// package target's form (selector, version, data without the digest);
// <folder>/save_game: the uncompressed streams of saves of the sample game,
// as it starts and with an object of every kind added.
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/byte_list.h"
#include "core/data_buffer.h"
#include "core/zlib_file.h"
#include "data/game_data.h"
#include "data/resource_header.h"
#include "media/sound_sets.h"
#include "state/save_game.h"
#include "whole_game.h"

namespace {

using namespace kiv;

void WriteWhole(const std::filesystem::path& path, const ByteList& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fclose(file);
}

void WritePackageSeeds(const std::filesystem::path& folder) {
  const std::vector<std::size_t>& replaceable = fuzz::ReplaceableEntries();
  for (std::size_t k = 0; k < replaceable.size(); ++k) {
    const PackageEntry& entry = fuzz::SampleEntries()[replaceable[k]];
    std::int32_t offset = 0;
    const std::int32_t version = BufferReadLong(entry.bytes, offset);
    const std::size_t header = version >= kFirstHashedVersion ? 24 : 4;
    ByteList seed{static_cast<std::uint8_t>(k)};
    seed.insert(seed.end(), entry.bytes.begin(), entry.bytes.begin() + 4);
    seed.insert(seed.end(), entry.bytes.begin() + static_cast<std::ptrdiff_t>(header), entry.bytes.end());
    WriteWhole(folder / entry.name, seed);
  }
}

// Adds to "Town" the kinds of object the sample's maps lack.
void AddObjectsOfEveryKind() {
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    Map& map = gameData.maps[m];
    if (map.fileName != u"Town") continue;
    CollisionShape boundary;
    boundary.rectangles = {CollisionBox{-5, -6, 7, 8, 1, 2, {}}};
    map.boundaries.push_back(boundary);
    Speaker speaker;
    speaker.name = u"Bell", speaker.enabled = 1, speaker.x = 40, speaker.y = 50, speaker.radius = 90;
    speaker.soundSet = 0, speaker.soundSetId = soundSets.at(0).id;
    map.speakers.push_back(speaker);
    Spawn spawn;
    spawn.name = u"Nest", spawn.x = 64, spawn.y = 64, spawn.delay = 2, spawn.interval = 3, spawn.count = 4;
    map.spawns.push_back(spawn);
    Projectile projectile;
    projectile.x = 10, projectile.y = 20, projectile.heading = 1.5f, projectile.age = 9;
    map.projectiles.push_back(projectile);
    map.positionedTexts.push_back(PositionedText{0, 0, 1.5f, 2.5f, 3.5f, u"Here"});
    gameData.maps[-1].actors.push_back(map.actors.at(0));
  }
}

void WriteSaveSeed(const std::filesystem::path& path, bool everyKind) {
  fuzz::ResetWholeGame();
  if (!fuzz::StartSampleGame()) std::exit(1);
  if (everyKind) AddObjectsOfEveryKind();
  const std::string save = fuzz::ScratchPath("seed.kSV");
  SaveGame(save);
  WriteWhole(path, ReadCompressedFile(save));
  std::remove(save.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  std::filesystem::create_directories(root / "game_package");
  std::filesystem::create_directories(root / "save_game");
  WritePackageSeeds(root / "game_package");
  WriteSaveSeed(root / "save_game" / "sample", false);
  WriteSaveSeed(root / "save_game" / "every-kind", true);
  return 0;
}
