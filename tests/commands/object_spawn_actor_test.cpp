#include "data/script_record.h"
#include "object_frame_fixture.h"

namespace kiv::test {
namespace {

Variant T(const char16_t* text) { return Variant::Text(text); }
Variant D(double v) { return Variant::Double(v); }

class ObjectSpawnActorTest : public ObjectFrameTest {
 protected:
  void SetUp() override {
    ObjectFrameTest::SetUp();
    Map& town = gameData.maps[0];
    town.fileName = u"Town";
    town.width = town.height = 9;
    town.layerCount = 0;
    Actor bob;
    bob.name = u"Character Bob";
    bob.removed = 1;
    bob.x = 5;
    bob.vehicleRidden = 3;
    bob.owningPlayer = 0;
    bob.driver = 2;
    bob.aiFocus = 1;
    bob.lastDamaged = 1;
    bob.spawn = 0;
    bob.pairs1.push_back({});
    Trigger trigger;
    trigger.script.hasStatements = true;
    bob.triggers.push_back(trigger);
    RegisterScript(bob.triggers[0].script);
    town.actors.push_back(bob);
  }
};

TEST_F(ObjectSpawnActorTest, ACopyExistsOwnsItsScriptsAndHasNoLinks) {
  const std::size_t scriptsBefore = scriptTable.scripts.size();
  On(MapRef(0), u"SpawnActor", {T(u"Character Bob"), T(u"Character Rob"), D(64), D(96), D(0), T(u"south")});
  const std::vector<Actor>& actors = gameData.maps[0].actors;
  ASSERT_EQ(actors.size(), 2u);
  const Actor& copy = actors[1];
  EXPECT_EQ(copy.name, u"Character Rob");
  EXPECT_EQ(copy.x, 64.0f);
  EXPECT_EQ(copy.y, 96.0f);
  EXPECT_FLOAT_EQ(copy.heading, 1.5707964f);
  EXPECT_EQ(copy.removed, 0);
  for (const std::int32_t link : {copy.vehicleRidden, copy.owningPlayer, copy.driver, copy.aiFocus, copy.lastDamaged,
                                  copy.spawn}) {
    EXPECT_EQ(link, -1);
  }
  EXPECT_TRUE(copy.pairs1.empty());
  EXPECT_EQ(scriptTable.scripts.size(), scriptsBefore + 1);
  EXPECT_NE(copy.triggers[0].script.index, actors[0].triggers[0].script.index);
  EXPECT_EQ(actors[0].removed, 1) << "the source stays as it was";
  EXPECT_EQ(actors[0].vehicleRidden, 3);
}

TEST_F(ObjectSpawnActorTest, AnUnknownActorOrTemplateIsTheLookUpsError) {
  EXPECT_EQ(Raised([&] {
              On(MapRef(0), u"SpawnActor", {T(u"Character Nobody"), T(u"x"), D(0), D(0), D(0), T(u"south")});
            }).substr(0, 3),
            "-1 ");
  EXPECT_EQ(Raised([&] {
              On(MapRef(0), u"CreateActor", {T(u"Nothing"), T(u"x"), D(0), D(0), D(0), T(u"south")});
            }).substr(0, 3),
            "-1 ");
  EXPECT_EQ(gameData.maps[0].actors.size(), 1u);
}

}  // namespace
}  // namespace kiv::test
