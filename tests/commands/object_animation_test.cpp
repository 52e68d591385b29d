#include "object_frame_fixture.h"

namespace kiv::test {
namespace {

Variant T(const char16_t* text) { return Variant::Text(text); }
Variant D(double v) { return Variant::Double(v); }

class ObjectAnimationTest : public ObjectFrameTest {
 protected:
  void SetUp() override {
    ObjectFrameTest::SetUp();
    for (const char16_t* name : {u"Smoke", u"Effect Blast"}) {
      SpriteSet set;
      set.name = name;
      set.poses.resize(1);
      gameData.spriteSets.push_back(std::move(set));
    }
  }
};

TEST_F(ObjectAnimationTest, AnimationsAppendAnExplosionPlayedOnceInTheArgumentOrder) {
  const std::int32_t menu = AddInterface(u"Menu");
  On(MapRef(0), u"PlaySprite", {T(u"Smoke"), D(1), D(2), D(3), D(1.5), D(-2), D(0.25), T(u"east"), T(u"yes")});
  On(MapRef(0), u"PlayEffect",
     {T(u"Blast"), D(4), D(5), D(6), D(2), D(3), D(4), D(0.5), T(u"south"), D(9), T(u"no")});
  On(MapRef(menu), u"PlayEffect2", {T(u"Blast"), D(7), D(8), T(u"yes"), D(1), D(5), D(0), T(u"east"), T(u"no")});
  const std::vector<Projectile>& list = gameData.maps[0].projectiles;
  ASSERT_EQ(list.size(), 2u);
  struct Expect {
    std::int32_t spriteSet;
    float x, y, z, sx, sy, sz, speed;
    std::int32_t colour;
    std::uint8_t keep;
  };
  const Expect expected[] = {{0, 1, 2, 3, 1.5f, 1.5f, 1.5f, 0.25f, -2, 1}, {1, 4, 5, 6, 2, 3, 4, 0.5f, -1, 0}};
  for (std::size_t i = 0; i < 2; ++i) {
    const Projectile& p = list[i];
    const Expect& e = expected[i];
    EXPECT_EQ(p.spriteSet, e.spriteSet) << i;
    EXPECT_EQ(p.x, e.x) << i;
    EXPECT_EQ(p.y, e.y) << i;
    EXPECT_EQ(p.z, e.z) << i;
    EXPECT_EQ(p.scaleX, e.sx) << i;
    EXPECT_EQ(p.scaleY, e.sy) << i;
    EXPECT_EQ(p.scaleZ, e.sz) << i;
    EXPECT_EQ(p.speed, e.speed) << i;
    EXPECT_EQ(p.specular, e.colour) << i;
    EXPECT_EQ(p.holdLastFrame, e.keep) << i;
    EXPECT_EQ(p.kind, kProjectileExplosion) << i;
    EXPECT_EQ(p.motionMode, 3) << i;
    EXPECT_EQ(p.item, -1) << i;
    EXPECT_EQ(p.owner, -1) << i;
    EXPECT_EQ(p.remainingRange, 1.0f) << i;
    EXPECT_EQ(p.damage, 0) << i;
  }
  EXPECT_FLOAT_EQ(list[1].heading, 1.5707964f);
  ASSERT_EQ(gameData.maps[menu].projectiles.size(), 1u);
  EXPECT_EQ(gameData.maps[menu].projectiles[0].z, 1.0f) << "z is a boolean keyword on an interface";
  EXPECT_EQ(Raised([&] { On(MapRef(0), u"PlaySprite", {T(u"Fog")}); }).substr(0, 10), "-1 Sprite ");
}

}  // namespace
}  // namespace kiv::test
