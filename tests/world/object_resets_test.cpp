#include <gtest/gtest.h>

#include "data/template_application.h"
#include "support/world_builder.h"
#include "world/hit_lists.h"
#include "world/object_resets.h"
#include "script/waits.h"

namespace kiv {
namespace {

TEST(Resets, ZoneState) {
  test::WorldBuilder w(1, 1, 0);
  const std::int32_t z = w.AddZone(Box{0, 0, 10, 10, 0, 10}, true);
  w.M().zones[0].name = u"gate";
  ResetZoneState(w.map(), z);
  const Zone& zone = w.M().zones[0];
  EXPECT_EQ(zone.name, u"");
  EXPECT_EQ(zone.Blocking(), 0);
  EXPECT_EQ(zone.Disabled(), 1);
}

TEST(Resets, FieldStateBytes) {
  test::WorldBuilder w(1, 1, 0);
  Field field;
  field.name = u"button";
  field.noDraw = 0;
  field.nonExistent = 0;
  field.selectable = 1;
  field.disabled = 0;
  field.byteDefault1 = 0;
  field.byteByContent = 1;
  field.appliedSelectable = 1;
  field.parent = 3;
  field.spawner = 4;
  w.M().fields.push_back(field);
  ResetFieldState(w.map(), 0);
  const Field& f = w.M().fields[0];
  EXPECT_EQ(f.name, u"");
  const std::array<std::uint8_t, 7> bytes{f.noDraw,       f.nonExistent,   f.selectable,       f.disabled,
                                          f.byteDefault1, f.byteByContent, f.appliedSelectable};
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 7>{1, 1, 0, 1, 1, 0, 0}));
  EXPECT_EQ(f.parent, -1);
  EXPECT_EQ(f.spawner, -1);
}

TEST(Resets, DetachField) {
  test::WorldBuilder w(1, 1, 0);
  w.M().fields.resize(4);
  w.M().fields[1].parent = 2;
  w.M().fields[3].parent = 2;
  w.M().fields[0].selectable = 0;
  w.M().SelectedField() = 2;
  w.M().CursorField() = 0;
  // A script waiting on the detached field stops naming it; the references
  // to the fields after it stay (the list is not compacted).
  waitingScripts.clear();
  WaitingScript wait;
  wait.map = w.map();
  wait.fieldText = 2;
  wait.fieldTarget = 3;
  waitingScripts.push_back(wait);
  DetachField(w.map(), 2);
  EXPECT_EQ(w.M().SelectedField(), -1);
  EXPECT_EQ(w.M().fields[0].selectable, 1);
  EXPECT_EQ(w.M().fields[1].parent, -1);
  EXPECT_EQ(w.M().fields[3].parent, -1);
  EXPECT_EQ(waitingScripts[0].fieldText, -1);
  EXPECT_EQ(waitingScripts[0].fieldTarget, 3);
  waitingScripts.clear();
}

TEST(Resets, ActorHeadingAndTemplates) {
  test::WorldBuilder w(1, 1, 0);
  const std::int32_t a = w.AddCharacter(10, 10, 0);
  Actor& actor = w.M().actors[0];
  actor.heading = 1.25f;
  EXPECT_EQ(ActorHeading(w.map(), a), 1.25f);
  actor.velocityX = 0.00005f;  // within 0.0001 of rest
  EXPECT_EQ(ActorHeading(w.map(), a), 1.25f);
  actor.velocityX = 0.0f;
  actor.velocityY = 0.5f;
  EXPECT_NEAR(ActorHeading(w.map(), a), 1.5707964f, 1e-6);
  EXPECT_TRUE(IsSameOrDescendant(0, 0));
  EXPECT_TRUE(IsSameOrDescendant(5, 5));
}

TEST(StepTest, SweptBoxIsTheUnionOfBothFootprints) {
  test::WorldBuilder w(9, 9, 0);
  const std::int32_t a = w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 40});
  struct Case {
    std::int32_t direction;
    Box swept;
  };
  const Case cases[] = {
      {1, Box{86, 86, 108, 108, 0, 40}},  // diagonal: d wider and d higher
      {4, Box{92, 92, 114, 108, 0, 40}},
      {6, Box{92, 92, 108, 114, 0, 40}},
  };
  for (const Case& c : cases) {
    Box swept;
    EXPECT_FALSE(TestCharacterStep(w.map(), a, c.direction, 6.0f, swept, true, 0.0f, false, true));
    EXPECT_EQ(swept, c.swept) << c.direction;
  }
  Box raised;
  TestCharacterStep(w.map(), a, 4, 6.0f, raised, false, 10.0f, false, true);
  EXPECT_EQ(raised, (Box{92, 92, 114, 108, 0, 50}));
}

TEST(StepTest, BlockedByWhatTheSweepMeets) {
  test::WorldBuilder w(9, 9, 0);
  const std::int32_t a = w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 40});
  w.AddCharacter(120, 100, 0, Box{-8, -8, 8, 8, 0, 40});
  hitLists.Reset();
  Box swept;
  EXPECT_FALSE(TestCharacterStep(w.map(), a, 4, 3.0f, swept, true, 0.0f, false, true));
  EXPECT_TRUE(TestCharacterStep(w.map(), a, 4, 6.0f, swept, true, 0.0f, false, true));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{1}));
}

TEST(StepTest, OutsideTheBoundsBoxIsRefusedBeforeAnyTest) {
  test::WorldBuilder w(9, 9, 0);
  const std::int32_t a = w.AddCharacter(100, 100, 0, Box{-8, -8, 8, 8, 0, 40});
  w.AddCharacter(110, 100, 0);
  w.M().actors[0].areaBox = Box{0, 0, 50, 50, 0, 100};
  hitLists.Reset();
  hitLists.zoneHits = {9};
  Box swept;
  EXPECT_TRUE(TestCharacterStep(w.map(), a, 4, 6.0f, swept, true, 0.0f, false, true));
  EXPECT_TRUE(hitLists.characterHits.empty());
  EXPECT_EQ(hitLists.zoneHits, (std::vector<std::int32_t>{9}));
  // Without the check the step is tested and the neighbour listed.
  EXPECT_TRUE(TestCharacterStep(w.map(), a, 4, 6.0f, swept, false, 0.0f, false, true));
  EXPECT_EQ(hitLists.characterHits, (std::vector<std::int32_t>{1}));
}

}  // namespace
}  // namespace kiv
