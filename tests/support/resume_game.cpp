#include "support/resume_game.h"

#include <stdexcept>

#include "core/symbol_table.h"
#include "support/map_writer.h"
#include "support/sample_game.h"

namespace kiv::test {

namespace {

// Movement words: a step north, a step south, a wait of n ms (kWait | n).
constexpr std::int32_t kStepNorth = 0x11;
constexpr std::int32_t kStepSouth = 0x101;
constexpr std::int32_t kWait = static_cast<std::int32_t>(0x80000000u);

MapFixture ResumeTown(const SampleGameIds& ids) {
  MapFixture town;
  town.id = ids.town;
  town.displayName = u"Town";
  town.width = 15;
  town.height = 11;
  town.layerCount = 0;
  town.ambientColor = 0xFFA0A0A0;
  town.valuesAA = {0.0f, 0.0f, 0.0f};  // no force: characters stay where they are put
  const auto cells = static_cast<std::size_t>((town.width + 1) * (town.height + 1));
  for (auto& group : town.groups) {
    group.slotGrid.assign(cells, 0);
    group.tileGrid.assign(cells, 0);
  }
  town.groups[0].slotIds = {ids.tiles};
  town.groups[0].slotGrid.assign(cells, 1);

  auto placed = [&](const std::u16string& name, float x, float y) {
    Actor actor;
    actor.name = actor.displayName = name;
    actor.x = x;
    actor.y = y;
    actor.parts.resize(1);
    actor.parts[0].slot = SymbolIntern(u"Body");
    actor.parts[0].spriteSetId = ids.sprite;
    return actor;
  };
  Actor hero = placed(u"Hero", 64, 64);
  hero.teamId = ids.team;
  // 32-pixel steps of 320 ms: a step north (0 to 320 ms), a wait until about
  // 1020 ms, a step north and two south, for ever.
  Actor sentry = placed(u"Sentry", kSentryX, kSentryY);
  sentry.speed = 0.1f;  // pixels per ms
  sentry.route = {kStepNorth, kWait | 700, kStepNorth, kStepSouth, kStepSouth};
  town.body.actors = {hero, sentry};

  Door door;
  door.name = door.displayName = u"Cellar door";
  door.x = 96;
  door.y = 128;
  door.doorSetId = ids.door;
  town.body.doors = {door};
  return town;
}

}  // namespace

PackageWriter ResumeGamePackage() {
  PackageWriter writer = SampleGamePackage();
  for (PackageFixtureEntry& entry : writer.Entries()) {
    if (entry.name == "Town.kmp") {
      entry.bytes = MapFileBytes(ResumeTown(SampleGameIds()));
      return writer;
    }
  }
  throw std::logic_error("the sample game has no Town");
}

}  // namespace kiv::test
