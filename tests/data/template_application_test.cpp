#include "data/template_application.h"

#include "core/symbol_table.h"
#include "data/object_defaults.h"
#include "game_data_fixture.h"

namespace kiv::test {
namespace {

class TemplateApplicationTest : public GameDataTest {
 protected:
  // One template with identifier 0xE0 whose derived record adds statistics, an item and counters.
  static ActorTemplate& OneTemplate(std::uint8_t mergeFlag) {
    gameData.items.resize(1);
    gameData.items[0].id = IdOf(0x21);
    gameData.actorTemplates.assign(1, ActorTemplate());
    ActorTemplate& tmpl = gameData.actorTemplates[0];
    tmpl.id = IdOf(0xE0);
    tmpl.mergeFlag = mergeFlag;
    Actor& record = tmpl.derivedRecord;
    record.templateIndex = -1;
    record.name = u"Template name";
    record.statistics.resize(1);
    record.statistics[0].baseValue = 3;
    record.statistics[0].currentValue = 4;
    record.items.resize(1);
    record.items[0].item = -2;
    record.items[0].itemId = IdOf(0x21);
    record.experience = 10;
    record.money = 500;
    record.triggers.resize(1);
    record.triggers[0].script.hasStatements = true;
    return tmpl;
  }

  static Actor Placed() {
    Actor actor;
    actor.name = u"Bob";
    actor.x = 11;
    actor.y = 22;
    actor.scaleX = 2;
    actor.heading = 1.5f;
    actor.owningPlayer = 1;
    actor.partyMember = 3;
    actor.templateIndex = -2;
    actor.templateId = IdOf(0xE0);
    actor.statistics.resize(1);
    actor.statistics[0].baseValue = 1;
    actor.statistics[0].currentValue = 1;
    return actor;
  }
};

TEST_F(TemplateApplicationTest, ADeletedTemplateIsNeitherRebuiltNorMerged) {
  OneTemplate(1);
  Actor actor = Placed();
  actor.templateId = IdOf(0x99);
  ApplyActorTemplate(actor, false, false);
  EXPECT_EQ(actor.templateIndex, -2);
  EXPECT_EQ(actor.statistics[0].baseValue, 1);
  EXPECT_TRUE(actor.items.empty());
}

TEST_F(TemplateApplicationTest, RebuildKeepsWhatBelongsToThePlacedActor) {
  OneTemplate(0);
  Actor actor = Placed();
  ApplyActorTemplate(actor, false, false);
  EXPECT_EQ(actor.templateIndex, 0);
  EXPECT_EQ(actor.name, u"Bob");
  EXPECT_EQ(actor.x, 11);
  EXPECT_EQ(actor.y, 22);
  EXPECT_EQ(actor.scaleX, 2);
  EXPECT_EQ(actor.heading, 1.5f);
  EXPECT_EQ(actor.owningPlayer, 1);
  EXPECT_EQ(actor.partyMember, 3);
  // Everything else is the template's, and the copy's trigger has a script of its own.
  EXPECT_EQ(actor.statistics[0].baseValue, 3);
  ASSERT_EQ(actor.items.size(), 1u);
  EXPECT_EQ(actor.items[0].item, 0);
  EXPECT_EQ(actor.triggers.at(0).script.index, 0);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
}

TEST_F(TemplateApplicationTest, MergeAddsEachTimeItIsApplied) {
  OneTemplate(1);
  Actor actor = Placed();
  ApplyActorTemplate(actor, false, false);
  EXPECT_EQ(actor.name, u"Bob");
  EXPECT_EQ(actor.statistics[0].baseValue, 4);
  EXPECT_EQ(actor.statistics[0].currentValue, 5);
  EXPECT_EQ(actor.items.size(), 1u);
  EXPECT_EQ(actor.experience, 10);
  EXPECT_EQ(actor.money, 500);
  EXPECT_EQ(actor.triggers.size(), 1u);
  ApplyActorTemplate(actor, false, false);
  EXPECT_EQ(actor.statistics[0].baseValue, 7);
  EXPECT_EQ(actor.items.size(), 2u);
  EXPECT_EQ(actor.experience, 20);
  // keep (a save, a relink) only links.
  ApplyActorTemplate(actor, true, false);
  EXPECT_EQ(actor.statistics[0].baseValue, 7);
}

TEST_F(TemplateApplicationTest, UnresolvedFirstPartGivesTheDefaultCollisionShape) {
  Actor actor = Placed();
  actor.parts.resize(1);
  actor.parts[0].spriteSet = -2;
  actor.parts[0].spriteSetId = IdOf(0x31);
  actor.parts[0].slot = objectDefaults.appearanceSlots[0];
  ApplyActorTemplate(actor, false, false);
  EXPECT_EQ(actor.parts.at(0).spriteSet, -2);
  EXPECT_EQ(actor.collisionShape, objectDefaults.characterCollisionShape);
  ASSERT_EQ(actor.collisionShape.rectangles.size(), 1u);
  EXPECT_EQ(actor.collisionShape.rectangles[0].back, 64);
}

TEST_F(TemplateApplicationTest, SurplusPartsWithoutASpriteSetAreDropped) {
  SpriteSet hats;
  hats.id = IdOf(0x31);
  hats.slot = objectDefaults.appearanceSlots[4];
  gameData.spriteSets = {hats};
  Actor actor;
  for (std::size_t s : {0, 2, 4}) {
    AppearancePart part;
    part.slot = objectDefaults.appearanceSlots[s];
    actor.parts.push_back(part);
  }
  ApplyActorTemplate(actor, false, false);
  // Body is a base slot; Hair has no sprite set to fill it; Hat has one.
  ASSERT_EQ(actor.parts.size(), 2u);
  EXPECT_EQ(actor.parts[0].slot, objectDefaults.appearanceSlots[0]);
  EXPECT_EQ(actor.parts[1].slot, objectDefaults.appearanceSlots[4]);
}

// Templates 0..n-1 (identifier 0xE0 + t) naming the given parents by identifier.
void TemplatesWithParents(const std::vector<std::int32_t>& parents) {
  gameData.actorTemplates.assign(parents.size(), ActorTemplate());
  for (std::size_t t = 0; t < parents.size(); ++t) {
    ActorTemplate& tmpl = gameData.actorTemplates[t];
    IdFill(tmpl.id, static_cast<std::uint8_t>(0xE0 + t));
    tmpl.derivedRecord.templateIndex = -2;
    if (parents[t] >= 0) IdFill(tmpl.derivedRecord.templateId, static_cast<std::uint8_t>(0xE0 + parents[t]));
    tmpl.derivedRecord.experience = 1;
  }
}

TEST_F(TemplateApplicationTest, InheritanceAppliesParentsFirstAndBreaksLoops) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> parents;
    std::vector<std::int32_t> wantParents;  // after inheritance
    std::size_t brokenLoops;
  };
  const Case cases[] = {
      {"chain", {-1, 0, 1}, {-1, 0, 1}, 0},
      {"own parent", {0, -1}, {-1, -1}, 0},
      {"pair: the second loses its parent", {1, 0}, {1, -1}, 0},
      {"loop of three: the first loses its parent", {1, 2, 0}, {-1, 2, 0}, 1},
      {"loop of four behind a tail", {1, 2, 3, 4, 1}, {1, -1, 3, 4, 1}, 1},
  };
  for (const Case& c : cases) {
    GameDataTest::Clear();
    TemplatesWithParents(c.parents);
    ResolveTemplateInheritance(false);
    for (std::size_t t = 0; t < c.parents.size(); ++t) {
      const ActorTemplate& tmpl = gameData.actorTemplates[t];
      EXPECT_TRUE(tmpl.applied) << c.name << " template " << t;
      EXPECT_EQ(tmpl.derivedRecord.templateIndex, c.wantParents[t]) << c.name << " template " << t;
    }
    EXPECT_EQ(gameLoadLog.brokenTemplateLoops.size(), c.brokenLoops) << c.name;
  }
  // In a chain each derived record merged its parent's after the parent merged its own.
  GameDataTest::Clear();
  TemplatesWithParents({-1, 0, 1});
  ResolveTemplateInheritance(false);
  EXPECT_EQ(gameData.actorTemplates[0].derivedRecord.experience, 1);
  EXPECT_EQ(gameData.actorTemplates[1].derivedRecord.experience, 2);
  EXPECT_EQ(gameData.actorTemplates[2].derivedRecord.experience, 3);
}

TEST_F(TemplateApplicationTest, DeferringTemplatesPassApplicationToTheirParent) {
  TemplatesWithParents({-1, 0, 1});
  for (ActorTemplate& tmpl : gameData.actorTemplates) tmpl.deferFlag = 1;
  gameData.actorTemplates[0].derivedRecord.templateIndex = -1;
  gameData.actorTemplates[1].derivedRecord.templateIndex = 0;
  gameData.actorTemplates[2].derivedRecord.templateIndex = 1;
  EXPECT_EQ(TemplateApplyRoot(2), 0);
  gameData.actorTemplates[1].deferFlag = 0;
  EXPECT_EQ(TemplateApplyRoot(2), 1);
  // A loop of deferring templates ends.
  gameData.actorTemplates[1].deferFlag = 1;
  gameData.actorTemplates[0].derivedRecord.templateIndex = 2;
  const std::int32_t root = TemplateApplyRoot(2);
  EXPECT_GE(root, 0);
  EXPECT_LE(root, 2);
}

TEST_F(TemplateApplicationTest, IsSameOrDescendantFollowsTheParents) {
  // 0 <- 1 <- 2; 3 and 4 name each other; 5 names a parent beyond the table.
  const std::int32_t parents[] = {-1, 0, 1, 4, 3, 9};
  gameData.actorTemplates.assign(std::size(parents), ActorTemplate());
  for (std::size_t t = 0; t < std::size(parents); ++t)
    gameData.actorTemplates[t].derivedRecord.templateIndex = parents[t];
  struct Case {
    std::int32_t t;
    std::int32_t ancestor;
    bool expected;
  };
  // 3 of 0 walks the loop of 3 and 4 and ends; 6 and -2 are no templates.
  const Case cases[] = {
      {0, 0, true},  {2, 0, true}, {2, 1, true},  {1, 2, false}, {0, 1, false},  {3, 4, true},
      {3, 0, false}, {5, 9, true}, {5, 0, false}, {6, 6, true},  {-2, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSameOrDescendant(c.t, c.ancestor), c.expected) << c.t << " of " << c.ancestor;
  }
}

}  // namespace
}  // namespace kiv::test
