// An actor whose map reference names a loaded interface keeps its own copies
// of that interface's fields and spawns once its template is applied.
#include "data/template_application.h"

#include "game_data_fixture.h"

namespace kiv::test {
namespace {

class CarriedInterfaceTest : public GameDataTest {
 protected:
  void SetUp() override {
    GameDataTest::SetUp();
    gameData.maps.Append();  // map 0: the world
    hud_ = gameData.maps.Append();
    Map& hud = gameData.maps[hud_];
    hud.isInterface = true;
    hud.fileName = u"Hud";
    hud.ambientColor = 0x80C0A060;
    for (const char16_t* name : {u"Health", u"Ammo"}) {
      Field f;
      f.name = name;
      hud.fields.push_back(f);
    }
    Spawn s;
    s.name = u"Spark";
    s.born = 2;
    hud.spawns.push_back(s);
  }
  std::int32_t hud_ = -1;
};

TEST_F(CarriedInterfaceTest, AResolvedReferenceCopiesTheInterfacesFieldsSpawnsAndAmbientColour) {
  Actor actor;
  actor.mapReference.kind = -2;
  actor.mapReference.name = u"Hud";
  actor.carriedIndex = 5;
  ApplyActorTemplate(actor, false, false);
  ASSERT_EQ(actor.mapReference.kind, hud_);
  ASSERT_EQ(actor.carriedFields.size(), 2u);
  EXPECT_EQ(actor.carriedFields[1].name, u"Ammo");
  ASSERT_EQ(actor.carriedSpawns.size(), 1u);
  EXPECT_EQ(actor.carriedSpawns[0].born, 2);
  EXPECT_EQ(actor.carriedAmbient, 0x80C0A060u);
  EXPECT_EQ(actor.carriedIndex, -1);
  // Copies, not views: the interface's own lists stay as they were.
  actor.carriedFields[0].name = u"Changed";
  EXPECT_EQ(gameData.maps[hud_].fields[0].name, u"Health");
}

TEST_F(CarriedInterfaceTest, AnActorWithoutAnInterfaceTakesNoCopies) {
  struct Case {
    const char* what;
    std::int32_t kind;
    const char16_t* name;
  } cases[] = {{"no reference", -1, u""}, {"unknown interface", -2, u"Nowhere"}, {"any map", -3, u"*"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Actor actor;
    actor.mapReference.kind = c.kind;
    actor.mapReference.name = c.name;
    ApplyActorTemplate(actor, false, false);
    EXPECT_LT(actor.mapReference.kind, 0);
    EXPECT_TRUE(actor.carriedFields.empty());
    EXPECT_TRUE(actor.carriedSpawns.empty());
    EXPECT_EQ(actor.carriedIndex, -1);
  }
}

}  // namespace
}  // namespace kiv::test
