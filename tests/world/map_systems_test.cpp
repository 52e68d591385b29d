// The map-systems pass: cursor glide and arrival, animations on interfaces,
// the relate context, carried interfaces, HasTriggerEvent and the installed hooks.
#include <gtest/gtest.h>

#include "player/player_hooks.h"
#include "world/field_focus.h"
#include "world/map_system_fields.h"
#include "world/map_systems_setup.h"
#include "world/map_systems_test_fixture.h"

namespace kiv {
namespace {

constexpr std::int32_t kFieldSelect = 579;

class MapSystemsPassTest : public test::MapSystemsTest {
 protected:
  void SetUp() override {
    MapSystemsTest::SetUp();
    M().isInterface = true;
    InstallMapSystemsHooks();
    handlers_["Relate"] = [this](const test::RecordedCall&, ScriptValue&) {
      std::int32_t map = 0, character = 0;
      scriptHooks.RelateContext(map, character);
      relates_.emplace_back(map, character);
    };
  }
  void TearDown() override {
    playerHooks.Reset();
    MapSystemsTest::TearDown();
  }
  std::int32_t AddField(float x, float y, std::uint8_t state = kFieldPlain) {
    Field f;
    f.x = x;
    f.y = y;
    f.state = state;
    M().fields.push_back(f);
    return static_cast<std::int32_t>(M().fields.size()) - 1;
  }
  Field& F(std::int32_t i) { return M().fields[static_cast<std::size_t>(i)]; }
  std::vector<std::pair<std::int32_t, std::int32_t>> relates_;
};

class NavigationTest : public MapSystemsPassTest {
 protected:
  void SetUp() override {
    MapSystemsPassTest::SetUp();
    cursor_ = AddField(0, 0);
    target_ = AddField(100, 40, kFieldSelectable);
    F(target_).triggers.push_back(MakeTrigger(kFieldSelect, u"Mark(579)"));
    M().CursorField() = cursor_;
    M().SelectedField() = target_;
    CursorOffsetX(M()) = -10;
    CursorOffsetY(M()) = 0;
  }
  std::int32_t cursor_ = -1, target_ = -1;
};

TEST_F(NavigationTest, TheCursorGlidesAndOnPassingItsTargetLandsAndSelects) {
  CursorSpeed(M()) = 0.01f;
  CursorDistanceX(M()) = 90;
  CursorDistanceY(M()) = 40;
  Pass(30);  // 27 and 12 pixels
  EXPECT_FLOAT_EQ(F(cursor_).x, 27);
  EXPECT_FLOAT_EQ(F(cursor_).y, 12);
  EXPECT_EQ(F(target_).state, kFieldSelectable);
  Pass(30);
  Pass(30);
  EXPECT_TRUE(marks_.empty());
  Pass(30);  // would reach 108 and 48: lands at 90 and 40
  EXPECT_FLOAT_EQ(F(cursor_).x, 90);
  EXPECT_FLOAT_EQ(F(cursor_).y, 40);
  EXPECT_EQ(F(target_).state, kFieldSelected);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{579}));
  Pass(30);
  EXPECT_FLOAT_EQ(F(cursor_).x, 90) << "a cursor on its target does not move";
  EXPECT_FLOAT_EQ(F(cursor_).y, 40);
  EXPECT_EQ(marks_.size(), 1u);
}

TEST_F(NavigationTest, AGlidingCursorIsKeptInTheScrollRegion) {
  M().scrollRect = {0, 0, 20, 200};
  CursorSpeed(M()) = 0.01f;
  CursorDistanceX(M()) = 90;
  CursorDistanceY(M()) = 40;
  Pass(30);  // glides to 27 and 12, beyond the region's right edge
  EXPECT_FLOAT_EQ(F(cursor_).x, 20);
  EXPECT_FLOAT_EQ(F(cursor_).y, 12);
}

// Mend: a glide that lands exactly on its target counts as arrival.
TEST_F(NavigationTest, AGlideThatLandsExactlyOnItsTargetArrives) {
  CursorSpeed(M()) = 0.0625f;
  CursorDistanceX(M()) = 90;
  CursorDistanceY(M()) = 40;
  for (int tick = 0; tick < 1; ++tick) Pass(16);  // 0.0625 x 16 = the whole glide
  EXPECT_FLOAT_EQ(F(cursor_).x, 90);
  EXPECT_FLOAT_EQ(F(cursor_).y, 40);
  EXPECT_EQ(F(target_).state, kFieldSelected);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{579}));
}

// Mend: a gap below half a pixel rounds the glide's distance to 0, whose steps
// of 0 would never arrive; the cursor lands and the selection is announced.
TEST_F(NavigationTest, AGlideWhoseDistanceRoundsToZeroArrives) {
  struct Case {
    float x, y;  // where the cursor starts; the target point is (90, 40)
  };
  for (const Case& k : {Case{89.75f, 40.0f}, Case{90.0f, 40.25f}, Case{90.4f, 39.6f}}) {
    SCOPED_TRACE(testing::Message() << k.x << ", " << k.y);
    marks_.clear();
    F(target_).state = kFieldSelectable;
    M().SelectedField() = -1;
    F(cursor_).x = k.x;
    F(cursor_).y = k.y;
    CursorSpeed(M()) = 0.01f;
    SelectField(0, target_, false);
    ASSERT_EQ(CursorDistanceX(M()), 0);
    ASSERT_EQ(CursorDistanceY(M()), 0);
    Pass(16);
    EXPECT_FLOAT_EQ(F(cursor_).x, 90);
    EXPECT_FLOAT_EQ(F(cursor_).y, 40);
    EXPECT_EQ(F(target_).state, kFieldSelected);
    EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{579}));
  }
}

TEST_F(NavigationTest, ACursorAlreadyOnItsTargetRaisesNothing) {
  CursorSpeed(M()) = 0.01f;
  F(cursor_).x = 90;
  F(cursor_).y = 40;
  Pass(16);
  EXPECT_TRUE(marks_.empty());
  EXPECT_FLOAT_EQ(F(cursor_).x, 90);
  EXPECT_EQ(F(target_).state, kFieldSelectable);
}

TEST_F(NavigationTest, TheGlideGoesBackwardsAndOnlyASelectableTargetIsSelected) {
  CursorSpeed(M()) = 0.5f;
  CursorDistanceX(M()) = 100;
  CursorDistanceY(M()) = 100;
  F(cursor_).x = 300;
  F(cursor_).y = 300;
  F(target_).state = kFieldDisabled;
  Pass(16);
  EXPECT_FLOAT_EQ(F(cursor_).x, 90);
  EXPECT_FLOAT_EQ(F(cursor_).y, 40);
  EXPECT_EQ(F(target_).state, kFieldDisabled);
  EXPECT_TRUE(marks_.empty());
}

TEST_F(NavigationTest, NoSelectionOrNoCursorMovesNothing) {
  CursorSpeed(M()) = 0.01f;
  CursorDistanceX(M()) = 90;
  M().SelectedField() = -1;
  Pass(16);
  EXPECT_FLOAT_EQ(F(cursor_).x, 0);
  M().SelectedField() = target_;
  M().CursorField() = -1;
  Pass(16);
  EXPECT_FLOAT_EQ(F(cursor_).x, 0);
  M().CursorField() = 17;  // no such field
  Pass(16);
  EXPECT_FLOAT_EQ(F(cursor_).x, 0);
}

TEST_F(MapSystemsPassTest, AnimationsOnAnInterfacePlayOnceHeldOrSpent) {
  SpriteSet set;
  set.poses.resize(1);
  set.poses[0].directions[4].builtFrames.resize(4);
  set.poses[0].directions[4].frameDuration = 25;  // 100 ms
  gameData.spriteSets.push_back(set);
  struct Entry {
    std::uint8_t kind, hold;
    std::int32_t elapsed;
    float life;
  } entries[] = {{99, 0, 90, 1.0f}, {99, 1, 90, 1.0f}, {99, 0, 0, 1.0f}, {0, 0, 500, 0.0f}, {4, 0, 500, 2.0f}};
  for (const Entry& e : entries) {
    Projectile p;
    p.spriteSet = 0;
    ProjectileKind(p) = e.kind;
    ProjectileHoldLastFrame(p) = e.hold;
    ProjectileElapsedMs(p) = e.elapsed;
    ProjectileLifeLeft(p) = e.life;
    M().projectiles.push_back(p);
  }
  Pass(16);
  ASSERT_EQ(M().projectiles.size(), 3u);
  EXPECT_EQ(ProjectileElapsedMs(M().projectiles[0]), 100) << "held on its last frame";
  EXPECT_EQ(ProjectileElapsedMs(M().projectiles[1]), 16);
  EXPECT_EQ(ProjectileElapsedMs(M().projectiles[2]), 516);
  M().isInterface = false;
  Pass(16);
  EXPECT_EQ(ProjectileElapsedMs(M().projectiles[1]), 16) << "maps age their projectiles elsewhere";
}

TEST_F(MapSystemsPassTest, TheRelateContextHoldsDuringThePassAndIsClearedAfterItEvenAfterAnError) {
  Field f;
  FieldLiveUpdate(f) = 1;
  f.scripts[kValueScriptValue] = MakeScript(u"Relate()");
  M().fields.push_back(f);
  shell.frameElapsed = 16;
  UpdateMapSystems(0, 3, 7, true);
  EXPECT_EQ(relates_, (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 7}}));
  std::int32_t map = 0, character = 0;
  scriptHooks.RelateContext(map, character);
  EXPECT_EQ(map, -1);
  EXPECT_EQ(character, -1);
  // A sprite name that no set has fails the pass.
  M().fields[0].scripts[kValueScriptSprite] = MakeScript(u"Return(\"Nowhere\")");
  EXPECT_THROW(UpdateMapSystems(0, 3, 7, true), KivError);
  scriptHooks.RelateContext(map, character);
  EXPECT_EQ(map, -1);
  EXPECT_EQ(character, -1);
}

TEST_F(MapSystemsPassTest, TheWorldUpdatesHookRunsAWholePassWithoutRelateContext) {
  Spawn s;
  s.interval = 1000;
  M().spawns.push_back(s);
  Field f;
  FieldLiveUpdate(f) = 1;
  f.scripts[kValueScriptValue] = MakeScript(u"Relate()");
  M().fields.push_back(f);
  shell.frameElapsed = 16;
  playerHooks.UpdateMapSystems(0);
  EXPECT_EQ(M().spawns[0].born, 1);
  EXPECT_EQ(relates_, (std::vector<std::pair<std::int32_t, std::int32_t>>{{-1, -1}}));
  EXPECT_EQ(gameData.currentActivity, "Field System");
}

TEST_F(MapSystemsPassTest, ACarriedInterfaceUpdatesTheCharactersOwnCopies) {
  const std::int32_t world = 0;
  M(world).isInterface = false;
  const std::int32_t hud = gameData.maps.Append();
  M(hud).isInterface = true;
  Field own;
  own.name = u"own";
  M(hud).fields.push_back(own);
  Spawn ownSpawn;
  ownSpawn.interval = 1000;
  M(hud).spawns.push_back(ownSpawn);
  const std::int32_t actor = world_->AddCharacter(64, 64, 0);
  Actor& a = M(world).actors[static_cast<std::size_t>(actor)];
  a.mapReference.kind = hud;
  Field copy;
  copy.name = u"copy";
  copy.kind = 2;
  FieldLiveUpdate(copy) = 1;
  copy.scripts[kValueScriptValue] = MakeScript(u"Relate()\r\nReturn(5)");
  a.carriedFields = {copy};
  a.carriedSpawns = {ownSpawn};
  shell.frameElapsed = 16;
  UpdateCarriedInterface(world, actor);
  const Actor& after = M(world).actors[static_cast<std::size_t>(actor)];
  ASSERT_EQ(after.carriedFields.size(), 1u);
  EXPECT_EQ(after.carriedFields[0].name, u"copy");
  EXPECT_TRUE(after.carriedFields[0].value1 == Variant::Double(5));
  EXPECT_EQ(after.carriedSpawns[0].born, 1) << "the spawn system runs on the copies too";
  EXPECT_EQ(relates_, (std::vector<std::pair<std::int32_t, std::int32_t>>{{world, actor}}));
  ASSERT_EQ(M(hud).fields.size(), 1u);
  EXPECT_EQ(M(hud).fields[0].name, u"own");
  EXPECT_TRUE(M(hud).fields[0].value1.IsEmpty());
  EXPECT_EQ(M(hud).spawns[0].born, 0);
}

TEST(HasTriggerEventTest, AnswersForALiveTriggerOfTheEventWithinTheLastIndex) {
  std::vector<Trigger> triggers(3);
  triggers[0].event = 539;
  triggers[1].event = 543;
  triggers[1].script.hasStatements = true;
  triggers[2].event = 568;
  triggers[2].script.hasStatements = true;
  struct Case {
    const char* what;
    std::int32_t lastIndex;
    std::int32_t event;
    bool answer;
  } cases[] = {
      {"present", 2, 543, true},         {"no script", 2, 539, false},       {"another event", 2, 569, false},
      {"beyond the last index", 1, 568, false}, {"empty list", -1, 543, false}, {"last index past the list", 9, 568, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(HasTriggerEvent(triggers, c.lastIndex, c.event), c.answer);
  }
  EXPECT_FALSE(HasTriggerEvent({}, -1, 539));
}

}  // namespace
}  // namespace kiv
