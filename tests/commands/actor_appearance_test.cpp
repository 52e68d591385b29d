// Actor appearance on the real script engine: colours and tint, sprite sets
// of parts and effect layers, flashing, scale, attachments, script poses and
// holding points, with a save and load of what the commands set.
#include <string>

#include "actor_properties_fixture.h"
#include "core/symbol_table.h"
#include "data/actor_record.h"
#include "data/object_defaults.h"
#include "player/shell_state.h"
#include "script/timed_changes.h"
#include "state/object_writers.h"
#include "state/save_game.h"
#include "world/party_operations.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kColourA = static_cast<std::int32_t>(0x80FF0000u);

class ActorAppearanceTest : public ActorPropertiesTest {
 protected:
  void SetUp() override {
    ActorPropertiesTest::SetUp();
    BuildObjectDefaults();
    // Sets: 0 "Body" of the body slot, 1 "Cape" following the body's colours,
    // 2 "Effect Glow", 3 "Spark".
    const char16_t* names[] = {u"Body", u"Cape", u"Effect Glow", u"Spark"};
    for (const char16_t* name : names) {
      SpriteSet set;
      set.name = name;
      set.usedValues = {0};
      set.poses.resize(1);
      gameData.spriteSets.push_back(set);
    }
    gameData.spriteSets[0].slot = objectDefaults.appearanceSlots[0];
    gameData.spriteSets[0].category = objectDefaults.appearanceSlots[0];
    gameData.spriteSets[1].flags = kSpriteSetFollowsBodyColors;
    gameData.spriteSets[1].slot = SymbolIntern(u"Cape");
    gameData.spriteSets[0].poses[0].directions[0].collision.rectangles.resize(2);
    gameData.spriteSets[0].poses[0].directions[0].collision.mode = 3;
    hero_ = AddNamed(u"Hero", 100, 200, 0);
    Actor& a = At(hero_);
    a.parts.resize(1);
    a.parts[0].slot = objectDefaults.appearanceSlots[0];
    a.parts[0].spriteSet = 0;
  }
  void TearDown() override {
    timedChanges.clear();
    shell.frameElapsed = 0;
    ActorPropertiesTest::TearDown();
  }
  Actor& Hero() { return At(hero_); }
  std::int32_t hero_ = -1;
};

TEST_F(ActorAppearanceTest, ColorSplitsIntoTintAndOpaquePartColour) {
  Assign(kObjectActor, hero_, u"Color", Variant::Long(kColourA));
  EXPECT_EQ(Hero().tint, 0x80FFFFFFu);
  EXPECT_EQ(Hero().parts[0].colors[0], 0xFFFF0000u);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Color2"), Variant::Long(kColourA));
  EXPECT_EQ(Read(kObjectActor, hero_, u"Color"), Variant::Long(static_cast<std::int32_t>(0xFFFF0000u)));
  // Color2 stores the value as it is and leaves the tint.
  Assign(kObjectActor, hero_, u"Color2", Variant::Long(0x10203040));
  EXPECT_EQ(Hero().parts[0].colors[0], 0x10203040u);
  EXPECT_EQ(Hero().tint, 0x80FFFFFFu);
}

TEST_F(ActorAppearanceTest, ColorWithoutPartReachesPartsOwnSlotZeroLayersAndEffectLayers) {
  Actor& a = Hero();
  a.parts.resize(2);
  a.parts[1].spriteSet = 3;
  CharacterLayer own;
  own.area = -1, own.colourIndex = 0, own.colour = 1;
  CharacterLayer otherSlot = own;
  otherSlot.colourIndex = 2;
  CharacterLayer item = own;
  item.area = 0;
  a.characterLayers = {own, otherSlot, item};
  a.attachedSprites.resize(2);
  Assign(kObjectActor, hero_, u"Color2", Variant::Long(0x11223344));
  const Actor& b = Hero();
  EXPECT_EQ(b.parts[0].colors[0], 0x11223344u);
  EXPECT_EQ(b.parts[1].colors[0], 0x11223344u);
  EXPECT_EQ(b.characterLayers[0].colour, 0x11223344u);
  EXPECT_EQ(b.characterLayers[1].colour, 1u);
  EXPECT_EQ(b.characterLayers[2].colour, 1u);
  EXPECT_EQ(b.attachedSprites[0].color, 0x11223344u);
  EXPECT_EQ(b.attachedSprites[1].color, 0x11223344u);
  // With an effect layer a read comes from effect layer 0.
  Hero().attachedSprites[0].color = 0xAABBCCDD;
  EXPECT_EQ(Read(kObjectActor, hero_, u"Color"), Variant::Long(static_cast<std::int32_t>(0xAABBCCDDu)));
}

TEST_F(ActorAppearanceTest, ColorOfANamedPart) {
  // An unknown part name appends a part with no sprite set.
  Assign(kObjectActor, hero_, u"Color", Variant::Long(kColourA), {Text(u"Hat")});
  ASSERT_EQ(Hero().parts.size(), 2u);
  const AppearancePart& hat = Hero().parts[1];
  EXPECT_EQ(hat.slot, SymbolIntern(u"Hat"));
  EXPECT_EQ(hat.spriteSet, -1);
  EXPECT_EQ(hat.colors[0], 0xFFFF0000u);
  for (std::size_t k = 1; k < kActorColorCount; ++k) EXPECT_EQ(hat.colors[k], kNoColor);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Color", {Text(u"Hat")}), Variant::Long(static_cast<std::int32_t>(0xFFFF0000u)));
  EXPECT_EQ(Read(kObjectActor, hero_, u"Color", {Text(u"Boots")}), Variant::Long(-1));
  // A cape follows the body: a colour given to it gives way to part 0's.
  Actor& a = Hero();
  AppearancePart cape;
  cape.slot = SymbolIntern(u"Cape");
  cape.spriteSet = 1;
  a.parts.push_back(cape);
  a.parts[0].colors = {1, 2, 3, 4, 5, 6, 7, 8};
  Assign(kObjectActor, hero_, u"Color2", Variant::Long(0x55), {Text(u"Cape")});
  EXPECT_EQ(Hero().parts[2].colors, (std::array<std::uint32_t, kActorColorCount>{1, 2, 3, 4, 5, 6, 7, 8}));
  // A colour given to the body reaches the cape in all eight slots.
  Assign(kObjectActor, hero_, u"Color2", Variant::Long(0x66), {Text(SymbolName(objectDefaults.appearanceSlots[0]))});
  EXPECT_EQ(Hero().parts[2].colors, (std::array<std::uint32_t, kActorColorCount>{0x66, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(ActorAppearanceTest, TextureOfAPartAndOfEffectLayerZero) {
  Hero().collisionShape = CollisionShape();
  const std::u16string body = SymbolName(objectDefaults.appearanceSlots[0]);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Texture", {Text(body)}), Text(u"Body"));
  // Part 0 without a sprite set takes the default collision shape.
  Assign(kObjectActor, hero_, u"Texture", Text(u"(none)"), {Text(body)});
  EXPECT_EQ(Hero().parts[0].spriteSet, -1);
  EXPECT_EQ(Hero().collisionShape, objectDefaults.characterCollisionShape);
  Assign(kObjectActor, hero_, u"Texture", Text(u"Body"), {Text(body)});
  EXPECT_EQ(Hero().parts[0].spriteSet, 0);
  EXPECT_EQ(Hero().collisionShape, gameData.spriteSets[0].poses[0].directions[0].collision);
  EXPECT_FALSE(Hero().characterLayers.empty()) << "the drawn layers are rebuilt";
  // Without a part name: effect layer 0, its animation restarted.
  EXPECT_EQ(Read(kObjectActor, hero_, u"Texture"), Text(u""));
  Hero().attachedSprites.resize(1);
  Hero().attachedSprites[0].valueA = 700;
  Assign(kObjectActor, hero_, u"Texture", Text(u"Glow"));
  EXPECT_EQ(Hero().attachedSprites[0].spriteSet, 2);
  EXPECT_EQ(Hero().attachedSprites[0].valueA, 0);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Texture"), Text(u"Glow"));
}

TEST_F(ActorAppearanceTest, FlashCountsAndForever) {
  EXPECT_EQ(Raised([&] { On(kObjectActor, hero_, u"Flash", {Variant::Long(1), Variant::Long(0), Variant::Long(9)}); }),
            "-1 You cannot have a flash count less than 1.");
  EXPECT_EQ(Hero().flashValues[2], 0);
  On(kObjectActor, hero_, u"Flash", {Variant::Long(0x00FF00), Variant::Long(3), Variant::Long(250)});
  EXPECT_EQ(Hero().flashColor, 0x00FF00u);
  EXPECT_EQ(Hero().flashValues, (std::array<std::int32_t, 3>{3, 0, 250}));
  EXPECT_EQ(Hero().flashing, 0);
  On(kObjectActor, hero_, u"FlashStart", {Variant::Long(0xFF), Variant::Long(100)});
  EXPECT_EQ(Hero().flashValues, (std::array<std::int32_t, 3>{1, 0, 100}));
  EXPECT_EQ(Hero().flashing, 1);
  On(kObjectActor, hero_, u"FlashStop");
  EXPECT_EQ(Hero().flashValues[2], 0);
}

TEST_F(ActorAppearanceTest, SpecularReachesEveryEffectLayer) {
  Hero().attachedSprites.resize(3);
  Assign(kObjectActor, hero_, u"Specular", Variant::Long(0x123456));
  EXPECT_EQ(Hero().specular, 0x123456u);
  for (const Attachment& layer : Hero().attachedSprites) EXPECT_EQ(layer.valueD, 0x123456);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Specular"), Variant::Long(0x123456));
}

TEST_F(ActorAppearanceTest, RescaleAtOnceOrOverTime) {
  On(kObjectActor, hero_, u"Rescale", {Variant::Long(2), Variant::Long(2), Variant::Long(1)});
  EXPECT_EQ(Hero().scaleX, 2.0f);
  EXPECT_EQ(Hero().scaleY, 2.0f);
  EXPECT_EQ(Hero().scaleZ, 1.0f);
  EXPECT_TRUE(timedChanges.empty());
  On(kObjectActor, hero_, u"Rescale", {Variant::Long(3), Variant::Long(4), Variant::Long(5), Variant::Long(500)});
  EXPECT_EQ(timedChanges.size(), 3u);
  EXPECT_EQ(Hero().scaleX, 2.0f) << "the timed change moves it later";
}

TEST_F(ActorAppearanceTest, AttachAndDetach) {
  auto sets = [this] {
    std::vector<std::int32_t> out;
    for (const Attachment& a : Hero().attachedEffects) out.push_back(a.spriteSet * 100 + a.valueB);
    return out;
  };
  On(kObjectActor, hero_, u"AttachSprite", {Text(u"Spark"), Variant::Long(1), Variant::Long(0), Variant::Long(0)});
  On(kObjectActor, hero_, u"AttachSprite", {Text(u"Spark"), Variant::Long(2), Variant::Long(-1), Variant::Long(0)});
  EXPECT_EQ(sets(), (std::vector<std::int32_t>{301, 302}));
  EXPECT_EQ(Hero().attachedEffects[1].byteF, 1);
  // Reuse takes the first entry with the set, restarting it.
  Hero().attachedEffects[0].valueA = 900;
  On(kObjectActor, hero_, u"AttachSprite", {Text(u"Spark"), Variant::Long(5), Variant::Long(0), Variant::Long(-1)});
  EXPECT_EQ(sets(), (std::vector<std::int32_t>{305, 302}));
  EXPECT_EQ(Hero().attachedEffects[0].valueA, 0);
  On(kObjectActor, hero_, u"AttachEffect", {Text(u"Glow"), Variant::Long(7), Variant::Long(0), Variant::Long(-1)});
  On(kObjectActor, hero_, u"AttachSprite", {Text(u"Spark"), Variant::Long(8), Variant::Long(0), Variant::Long(0)});
  EXPECT_EQ(sets(), (std::vector<std::int32_t>{305, 302, 207, 308}));
  On(kObjectActor, hero_, u"DetachSprite", {Text(u"Spark"), Variant::Long(0)});
  EXPECT_EQ(sets(), (std::vector<std::int32_t>{305, 302, 207})) << "the last match only";
  On(kObjectActor, hero_, u"DetachSprite", {Text(u"Spark"), Variant::Long(-1)});
  EXPECT_EQ(sets(), (std::vector<std::int32_t>{207}));
  On(kObjectActor, hero_, u"DetachEffect", {Text(u"Glow"), Variant::Long(0)});
  EXPECT_TRUE(sets().empty());
  EXPECT_NE(Raised([&] { On(kObjectActor, hero_, u"AttachSprite", {Text(u"Nothing")}); }), "no error");
}

TEST_F(ActorAppearanceTest, PosesRestartFromThisTick) {
  shell.frameElapsed = 40;
  Assign(kObjectActor, hero_, u"Pose", Text(u"Wave"));
  EXPECT_EQ(Hero().pose, SymbolIntern(u"Wave"));
  EXPECT_EQ(Hero().poseValue, -1);
  EXPECT_EQ(Hero().customPoseTime, -40);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Pose"), Text(u"Wave"));
  On(kObjectActor, hero_, u"PosePlay", {Text(u"Bow"), Variant::Long(2)});
  EXPECT_EQ(Hero().pose, SymbolIntern(u"Bow"));
  EXPECT_EQ(Hero().poseValue, 2);
  On(kObjectActor, hero_, u"PoseStop");
  EXPECT_EQ(Hero().pose, 0);
  EXPECT_EQ(Read(kObjectActor, hero_, u"Pose"), Text(u""));
  On(kObjectActor, hero_, u"PoseStart", {Text(u"Sit")});
  EXPECT_EQ(Hero().poseValue, -1);
  Assign(kObjectActor, hero_, u"Pose", Text(u""));
  EXPECT_EQ(Hero().pose, 0);
}

TEST_F(ActorAppearanceTest, HoldingPointsOutsideOneToFourLeaveTheResultEmpty) {
  EXPECT_EQ(Read(kObjectActor, hero_, u"HoldingPointX", {Variant::Long(5)}), Variant());
  EXPECT_EQ(Read(kObjectActor, hero_, u"HoldingPointX", {Variant::Long(0)}), Variant());
  // A frame without holding point 1 gives 0.
  EXPECT_EQ(Read(kObjectActor, hero_, u"HoldingPointX", {Variant::Long(1)}), Variant::Double(0.0));
  Hero().parts[0].spriteSet = -1;
  EXPECT_EQ(Read(kObjectActor, hero_, u"HoldingPointY", {Variant::Long(1)}), Variant());
}

TEST_F(ActorAppearanceTest, PlainFlagsAndScales) {
  struct Case {
    const char16_t* name;
    Variant value;
    Variant reads;
  } cases[] = {
      {u"NoDraw", Variant::Long(-1), Variant::Byte(1)},     {u"NoRect", Variant::Long(-1), Variant::Byte(1)},
      {u"Face", Variant::Long(-1), Variant::Byte(1)},       {u"Shadow", Variant::Long(0), Variant::Byte(0)},
      {u"ShadowColor", Variant::Long(0x7F), Variant::Long(0x7F)}, {u"Tint", Variant::Long(-1), Variant::Long(-1)},
      {u"ScaleX", Variant::Double(1.5), Variant::Single(1.5f)},   {u"ScaleZ", Variant::Long(3), Variant::Single(3.0f)},
  };
  for (const Case& c : cases) {
    Assign(kObjectActor, hero_, c.name, c.value);
    EXPECT_EQ(Read(kObjectActor, hero_, c.name), c.reads) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(Hero().noRect, 1);
  EXPECT_EQ(Hero().shadowColor, 0x7Fu);
}

// What PosePlay and Flash set survives a save and a load.
TEST_F(ActorAppearanceTest, PoseAndFlashSurviveASave) {
  shell.frameElapsed = 25;
  On(kObjectActor, hero_, u"PosePlay", {Text(u"Bow"), Variant::Long(3)});
  On(kObjectActor, hero_, u"Flash", {Variant::Long(0x00FF00), Variant::Long(4), Variant::Long(200)});
  Hero().flashValues[1] = 60;  // the timer ran a while
  Hero().customPoseTime = 35;
  ByteList bytes;
  std::int32_t offset = 0;
  WriteActor(Hero(), bytes, offset, true);
  Actor loaded;
  std::int32_t read = 0;
  ReadCharacter(bytes, read, loaded, kSaveFormatVersion, true);
  EXPECT_EQ(read, offset);
  EXPECT_EQ(loaded.pose, SymbolIntern(u"Bow"));
  EXPECT_EQ(loaded.poseValue, 3);
  EXPECT_EQ(loaded.customPoseTime, 35);
  EXPECT_EQ(loaded.flashColor, 0x00FF00u);
  EXPECT_EQ(loaded.flashValues, (std::array<std::int32_t, 3>{4, 60, 200}));
  EXPECT_EQ(loaded.flashing, 0);
}

}  // namespace
}  // namespace kiv::test
