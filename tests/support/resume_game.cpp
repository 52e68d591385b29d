#include "support/resume_game.h"

#include <stdexcept>

#include "core/symbol_table.h"
#include "support/map_writer.h"
#include "support/sample_game.h"

namespace kiv::test {

namespace {

// Movement words: a step north and a step south.
constexpr std::int32_t kStepNorth = 0x11;
constexpr std::int32_t kStepSouth = 0x101;

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
  // The sentry walks four steps north into the door and four back, for ever.
  Actor sentry = placed(u"Sentry", kSentryX, kSentryY);
  sentry.speed = 0.1f;  // pixels per ms
  sentry.route = {kStepNorth, kStepNorth, kStepNorth, kStepNorth, kStepSouth, kStepSouth, kStepSouth, kStepSouth};
  town.body.actors = {hero, sentry};

  Door door;
  door.name = door.displayName = u"Cellar door";
  door.x = 256;
  door.y = 128;
  door.doorSetId = ids.door;
  door.openStyle = 7;  // swings open away from its opener
  door.value6 = kSentryDoorStayOpenMs;
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
