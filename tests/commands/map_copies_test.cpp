#include "commands/map_object_copies.h"
#include "data/script_record.h"
#include "object_frame_fixture.h"

namespace kiv::test {
namespace {

Variant T(const char16_t* text) { return Variant::Text(text); }
Variant L(std::int32_t v) { return Variant::Long(v); }

class MapCopiesTest : public ObjectFrameTest {
 protected:
  void SetUp() override {
    ObjectFrameTest::SetUp();
    Map& town = gameData.maps[0];
    town.fileName = u"Town";
    town.width = town.height = 9;
    town.layerCount = 1;
    other_ = gameData.maps.Append();
    Map& cave = gameData.maps[other_];
    cave.fileName = u"Cave";
    cave.width = cave.height = 9;
    cave.layerCount = 1;
  }
  std::int32_t other_ = -1;
};

TEST_F(MapCopiesTest, SpawnZoneTakesItsBoxInArgumentOrderAndRegistersItsScriptsAnew) {
  Zone door;
  door.name = u"Gate";
  door.shape.rectangles.emplace_back();
  Trigger trigger;
  trigger.script.hasStatements = true;
  trigger.script.text = u"enter";
  door.triggers.push_back(trigger);
  RegisterScript(door.triggers[0].script);
  gameData.maps[0].zones.push_back(door);
  const std::int32_t sourceScript = gameData.maps[0].zones[0].triggers[0].script.index;
  const std::size_t before = scriptTable.scripts.size();

  On(MapRef(other_), u"SpawnZone", {T(u"|Town:Gate"), T(u"Gate 2"), L(1), L(2), L(3), L(4), L(5), L(6)});

  ASSERT_EQ(gameData.maps[other_].zones.size(), 1u);
  const Zone& copy = gameData.maps[other_].zones[0];
  EXPECT_EQ(copy.name, u"Gate 2");
  const CollisionBox& box = copy.shape.rectangles[0];
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 2);
  EXPECT_EQ(box.top, 3);
  EXPECT_EQ(box.bottom, 4);
  EXPECT_EQ(box.back, 5) << "ceiling";
  EXPECT_EQ(box.front, 6) << "floor";
  EXPECT_EQ(scriptTable.scripts.size(), before + 1);
  EXPECT_NE(copy.triggers[0].script.index, sourceScript);
  scriptTable.scripts[static_cast<std::size_t>(copy.triggers[0].script.index)].text = u"changed";
  EXPECT_EQ(scriptTable.scripts[static_cast<std::size_t>(sourceScript)].text, u"enter") << "the source is spared";
}

TEST_F(MapCopiesTest, SpawnLightCopiesAtWholeCoordinates) {
  Light lamp;
  lamp.name = u"Lamp";
  lamp.radius = 64;
  gameData.maps[0].lights.push_back(lamp);
  On(MapRef(other_), u"SpawnLight", {T(u"|Town:Lamp"), T(u"Lamp 2"), Variant::Double(10.6), L(20), L(0)});
  ASSERT_EQ(gameData.maps[other_].lights.size(), 1u);
  EXPECT_EQ(gameData.maps[other_].lights[0].name, u"Lamp 2");
  EXPECT_EQ(gameData.maps[other_].lights[0].x, 11.0f);
  EXPECT_EQ(gameData.maps[0].lights[0].name, u"Lamp") << "the source stays";
}

TEST_F(MapCopiesTest, ALitLightIsReLitOnlyWhenAWholeCoordinateChanges) {
  struct Case {
    float from, to;
    bool relit;
  };
  const Case cases[] = {{10.1f, 10.4f, false}, {10.4f, 10.6f, true}, {10.0f, 10.0f, false}};
  for (const Case& c : cases) {
    gameData.maps[0].lights.clear();
    Light lamp;
    lamp.name = u"Lamp";
    lamp.radius = 10;
    lamp.enabled = 1;
    lamp.x = c.from;
    lamp.clearDistanceSquared = 5.0f;  // what the last light map left
    lamp.nearestBlockedSquared = 5.0f;
    gameData.maps[0].lights.push_back(lamp);
    EXPECT_EQ(MoveLight(0, 0, 0, c.to, 0.0f, 0.0f), 0);
    const Light& moved = gameData.maps[0].lights[0];
    EXPECT_EQ(moved.x, c.to);
    EXPECT_EQ(moved.enabled, 1);
    // A re-lit light starts its reach from the full radius.
    EXPECT_EQ(moved.nearestBlockedSquared == 101.0f, c.relit) << c.from << " to " << c.to;
  }
}

TEST_F(MapCopiesTest, ALightOrSpeakerMovedAwayLeavesABlankEntry) {
  Light lamp;
  lamp.name = u"Lamp";
  lamp.enabled = 1;
  gameData.maps[0].lights.push_back(lamp);
  gameData.maps[other_].lights.push_back(Light{});
  Speaker radio;
  radio.name = u"Radio";
  gameData.maps[0].speakers.push_back(radio);

  EXPECT_EQ(MoveLight(0, 0, other_, 5.0f, 6.0f, 0.0f), 1);
  EXPECT_EQ(MoveSpeaker(0, 0, other_, 5.0f, 6.0f, 0.0f), 0);

  ASSERT_EQ(gameData.maps[0].lights.size(), 1u);
  EXPECT_EQ(gameData.maps[0].lights[0].name, u"");
  ASSERT_EQ(gameData.maps[other_].lights.size(), 2u);
  EXPECT_EQ(gameData.maps[other_].lights[1].name, u"Lamp");
  EXPECT_EQ(gameData.maps[other_].lights[1].enabled, 1);
  EXPECT_EQ(gameData.maps[0].speakers[0].name, u"");
  ASSERT_EQ(gameData.maps[other_].speakers.size(), 1u);
  EXPECT_EQ(gameData.maps[other_].speakers[0].name, u"Radio");
  EXPECT_EQ(gameData.maps[other_].speakers[0].enabled, 0) << "a disabled speaker stays silent";
  EXPECT_EQ(gameData.maps[other_].speakers[0].playing, 0);
}

TEST_F(MapCopiesTest, RemoveLightUnlightsAndBlanksIt) {
  Light lamp;
  lamp.name = u"Lamp";
  lamp.enabled = 1;
  gameData.maps[0].lights.push_back(lamp);
  RemoveLight(0, 0);
  EXPECT_EQ(gameData.maps[0].lights[0].enabled, 0);
  EXPECT_EQ(gameData.maps[0].lights[0].name, u"");
  EXPECT_EQ(Raised([] { RemoveLight(0, 1); }).substr(0, 2), "9 ");
}

TEST_F(MapCopiesTest, AFieldMovedWithinItsInterfaceOnlyMoves) {
  const std::int32_t menu = AddInterface(u"Menu");
  const std::int32_t other = AddInterface(u"Other");
  Field button;
  button.name = u"Button";
  button.parent = -1;
  gameData.maps[menu].fields.push_back(button);
  gameData.maps[menu].fields.push_back(button);
  gameData.maps[menu].fields[1].parent = 0;
  EXPECT_EQ(MoveField(1, menu, menu, 5.0f, 6.0f, 0.0f), 1);
  EXPECT_EQ(gameData.maps[menu].fields[1].x, 5.0f);
  EXPECT_EQ(gameData.maps[menu].fields[1].parent, 0) << "its parent stays";
  EXPECT_EQ(gameData.maps[menu].fields[1].name, u"Button");
  gameData.maps[other].fields.push_back(Field{});
  EXPECT_EQ(MoveField(0, menu, other, 7.0f, 8.0f, 0.0f), 1);
  ASSERT_EQ(gameData.maps[other].fields.size(), 2u);
  EXPECT_EQ(gameData.maps[other].fields[1].name, u"Button");
  EXPECT_EQ(gameData.maps[other].fields[1].x, 7.0f);
  EXPECT_EQ(gameData.maps[menu].fields[0].spawner, 1) << "the old entry's removal mark names the copy";
}

}  // namespace
}  // namespace kiv::test
