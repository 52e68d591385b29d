#include "data/map_script_fields.h"
#include "data/project_state.h"
#include "mathkiv/math_init.h"
#include "media/sound_sets.h"
#include "object_frame_fixture.h"
#include "player/interface_order.h"
#include "script/timed_changes.h"
#include "state/project_settings_block.h"

namespace kiv::test {
namespace {

Variant T(const char16_t* text) { return Variant::Text(text); }
Variant L(std::int32_t v) { return Variant::Long(v); }

class ObjectMapTest : public ObjectFrameTest {
 protected:
  void SetUp() override {
    ObjectFrameTest::SetUp();
    Map& map = gameData.maps[0];
    map.fileName = u"Town";
    map.width = 9;
    map.height = 4;
    map.layerCount = 0;
  }
  void TearDown() override {
    storedProjectSettings.flags = {};
    soundSets.clear();
    mathKivSettings.Reset();
    ObjectFrameTest::TearDown();
  }
  std::int32_t AddActor(const std::u16string& name, float x, float y, std::int32_t templateIndex = -1) {
    Actor actor;
    actor.name = name;
    actor.x = x;
    actor.y = y;
    actor.templateIndex = templateIndex;
    gameData.maps[0].actors.push_back(std::move(actor));
    return static_cast<std::int32_t>(gameData.maps[0].actors.size()) - 1;
  }
  static std::int32_t AddTemplate(const std::u16string& name, std::int32_t parent) {
    ActorTemplate t;
    t.name = name;
    t.derivedRecord.templateIndex = parent;
    gameData.actorTemplates.push_back(std::move(t));
    return static_cast<std::int32_t>(gameData.actorTemplates.size()) - 1;
  }
};

TEST_F(ObjectMapTest, SizesInPixelsFollowTheLegacySetting) {
  struct Case {
    const char16_t* name;
    std::int32_t modern, legacy;
  };
  const Case cases[] = {{u"SizeX", 320, 288}, {u"SizeY", 160, 128}, {u"SizeZ", 32, 0}};
  for (const Case& c : cases) {
    storedProjectSettings.flags[23] = 0;
    EXPECT_EQ(On(MapRef(0), c.name).value, L(c.modern)) << "modern";
    storedProjectSettings.flags[23] = -1;
    EXPECT_EQ(On(MapRef(0), c.name).value, L(c.legacy)) << "legacy";
    EXPECT_EQ(Raised([&] { Set(MapRef(0), c.name, L(64)); }), "-1 You cannot change the dimensions of a map.");
  }
  EXPECT_EQ(gameData.maps[0].width, 9);
}

TEST_F(ObjectMapTest, ColorSetsTheAmbientComponents) {
  Set(MapRef(0), u"Color", L(0x00336699));
  const Map& map = gameData.maps[0];
  EXPECT_EQ(map.ambientColor, 0x00336699u);
  EXPECT_FLOAT_EQ(map.ambientFactors[0], 0x99 / 255.0f);
  EXPECT_FLOAT_EQ(map.ambientFactors[1], 0x66 / 255.0f);
  EXPECT_FLOAT_EQ(map.ambientFactors[2], 0x33 / 255.0f);
  EXPECT_EQ(On(MapRef(0), u"Color").value, L(0x00336699));
}

TEST_F(ObjectMapTest, BoundValuesReadAsTheirTypes) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant reads;
  };
  const Case cases[] = {
      {u"BackgroundColor1", L(-16777216), L(-16777216)},
      {u"BackgroundColor2", L(255), L(255)},
      {u"Fog", T(u"on"), Variant::Byte(1)},
      {u"FogColor", L(0x123456), L(0x123456)},
      {u"FogStart", Variant::Double(1.5), Variant::Single(1.5f)},
      {u"FogEnd", L(300), Variant::Single(300.0f)},
      {u"Free", T(u"yes"), Variant::Byte(1)},
      {u"Alarm", T(u"true"), Variant::Byte(1)},
      {u"Clouds", Variant::Double(0.25), Variant::Single(0.25f)},
      {u"Rain", L(2), Variant::Single(2.0f)},
  };
  for (const Case& c : cases) {
    Set(MapRef(0), c.name, c.assigned);
    EXPECT_EQ(On(MapRef(0), c.name).value, c.reads) << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
  }
  Set(MapRef(0), u"Alarm", T(u"off"));
  EXPECT_EQ(MapAlarm(gameData.maps[0]), 0);
}

TEST_F(ObjectMapTest, MusicByNameAndTheEmptyTextForNone) {
  SoundSet song;
  song.name = u"Theme";
  soundSets.push_back(song);
  Set(MapRef(0), u"Music", T(u"Theme"));
  EXPECT_EQ(MapMusic(gameData.maps[0]), 0);
  EXPECT_EQ(On(MapRef(0), u"Music").value, T(u"Theme"));
  Set(MapRef(0), u"Music", T(u""));
  EXPECT_EQ(MapMusic(gameData.maps[0]), -1);
  EXPECT_EQ(On(MapRef(0), u"Music").value, T(u""));
}

TEST_F(ObjectMapTest, ActorSearchesFollowTemplatesAndListOrder) {
  const std::int32_t animal = AddTemplate(u"Animal", -1);
  const std::int32_t dog = AddTemplate(u"Dog", animal);
  AddTemplate(u"Stone", -1);
  AddActor(u"Character Ann", 10, 0);
  AddActor(u"Dynamic Object Rex", 0, 10, dog);
  AddActor(u"Dynamic Object Fido", 10, 0, dog);  // as near as Rex: Rex is earlier
  const std::int32_t gone = AddActor(u"Character Bob", 1, 1, animal);
  gameData.maps[0].actors[static_cast<std::size_t>(gone)].removed = 1;
  EXPECT_EQ(On(MapRef(0), u"ClosestActor", {L(0), L(0), L(0), T(u"Animal")}).value, T(u"|Town:Dynamic Object Rex"));
  EXPECT_EQ(On(MapRef(0), u"ClosestActor", {L(0), L(0), L(0), T(u"")}).value, T(u"|Town:Character Ann"));
  EXPECT_EQ(On(MapRef(0), u"ClosestActor", {L(0), L(0), L(0), T(u"Stone")}).value, T(u""));
  EXPECT_EQ(On(MapRef(0), u"ClosestChar", {L(0), L(0), L(0)}).value, T(u"Ann"));
  EXPECT_EQ(On(MapRef(0), u"Actors", {T(u"Dog")}).value,
            Variant::Array(kVarVariant, {T(u"|Town:Dynamic Object Rex"), T(u"|Town:Dynamic Object Fido")}));
  const Variant none = On(MapRef(0), u"Actors", {T(u"Stone")}).value;
  EXPECT_TRUE(none.IsArray()) << "an empty array, never Empty";
  EXPECT_EQ(Raised([&] { On(MapRef(0), u"Actors", {T(u"Cloud")}); }).substr(0, 3), "-1 ");
}

TEST_F(ObjectMapTest, ActorCreatedNeverRaises) {
  AddActor(u"Character Ann", 10, 0);
  EXPECT_EQ(On(MapRef(0), u"ActorCreated", {T(u"Character Ann")}).value, L(1));
  EXPECT_EQ(Raised([&] { EXPECT_EQ(On(MapRef(0), u"ActorCreated", {T(u"Character Nobody")}).value, L(0)); }),
            "no error");
}

TEST_F(ObjectMapTest, AICollisionOutsideTheMapIsBlockedWithoutReadingTheGrid) {
  mathKivSettings.pathCellSize = 16;
  Map& map = gameData.maps[0];
  map.workingCollision.Make(20, 10, 1);
  map.workingCollision.At(3, 1, 0) = 1;    // inside tile (1, 0)
  map.workingCollision.At(4, 0, 0) = 255;  // free mark, tile (2, 0)
  struct Case {
    std::int32_t x, y, z, blocked;
  };
  const Case cases[] = {{-1, 0, 0, 1},  {-31, 40, 0, 1}, {0, -5, 0, 1}, {320, 0, 0, 1}, {0, 160, 0, 1},
                        {0, 0, 32, 1},  {40, 10, 0, 1},  {70, 0, 0, 0}, {0, 0, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(On(MapRef(0), u"AICollision", {L(c.x), L(c.y), L(c.z)}).value, L(c.blocked))
        << c.x << ", " << c.y << ", " << c.z;
  }
}

TEST_F(ObjectMapTest, LineCollisionNeedsOneHeight) {
  EXPECT_EQ(Raised([&] {
              On(MapRef(0), u"LineCollision", {L(0), L(0), L(0), L(10), L(10), L(1), T(u""), T(u""), T(u""), T(u"")});
            }),
            "-1 Line testing with different Z-values is currently not possible.");
}

TEST_F(ObjectMapTest, MapOnlyIdentifiersDoNothingOnAnInterface) {
  const std::int32_t menu = AddInterface(u"Menu");
  gameData.maps[menu].width = 9;
  EXPECT_EQ(On(MapRef(menu), u"SizeX").value, Variant());
  EXPECT_EQ(Raised([&] { Set(MapRef(menu), u"SizeX", L(3)); }), "no error");
  Set(MapRef(menu), u"Color", L(0x112233));
  EXPECT_EQ(gameData.maps[menu].ambientColor, 0x112233u);
  EXPECT_EQ(gameData.maps[menu].ambientFactors[0], 0.0f) << "an interface's colour is only bound";
}

class ObjectInterfaceTest : public ObjectMapTest {
 protected:
  void SetUp() override {
    ObjectMapTest::SetUp();
    menu_ = AddInterface(u"Menu");
    projectState.settings.furtherInterfaces[0].index = -1;
    interfaceOrderCounter = 0;
  }
  void TearDown() override {
    projectState.settings.furtherInterfaces[0].index = -1;
    timedChanges.clear();
    ObjectMapTest::TearDown();
  }
  std::int32_t menu_ = -1;
};

TEST_F(ObjectInterfaceTest, ShowToFrontStampsTheCounterThenIncrementsIt) {
  const std::int32_t second = AddInterface(u"Second");
  interfaceOrderCounter = 7;
  On(MapRef(menu_), u"Show", {T(u"yes"), T(u"no"), T(u"yes")});
  On(MapRef(second), u"Show", {T(u"yes"), T(u"no"), T(u"yes")});
  On(MapRef(menu_), u"Show", {T(u"yes"), T(u"no")});
  EXPECT_EQ(gameData.maps[menu_].orderNumber, 7);
  EXPECT_EQ(gameData.maps[second].orderNumber, 8);
  EXPECT_EQ(interfaceOrderCounter, 9);
  EXPECT_EQ(gameData.maps[menu_].overlayActive, 1);
  EXPECT_EQ(On(MapRef(menu_), u"On").value, Variant::Byte(1));
}

TEST_F(ObjectInterfaceTest, TheLoadingInterfaceCannotBeShownOrSwitched) {
  projectState.settings.furtherInterfaces[0].index = menu_;
  EXPECT_EQ(Raised([&] { On(MapRef(menu_), u"On"); }),
            "-1 You cannot alter or retrieve whether a loading interface is on or off.");
  EXPECT_EQ(Raised([&] { Set(MapRef(menu_), u"On", T(u"yes")); }),
            "-1 You cannot alter or retrieve whether a loading interface is on or off.");
  EXPECT_EQ(Raised([&] { On(MapRef(menu_), u"Show", {T(u"yes"), T(u"no")}); }),
            "-1 You cannot show/hide a loading interface.");
  EXPECT_EQ(gameData.maps[menu_].overlayActive, 0);
}

TEST_F(ObjectInterfaceTest, SelectionAndUpdateRefusals) {
  EXPECT_EQ(Raised([&] { On(MapRef(menu_), u"SelectedFieldValue"); }),
            "-1 The interface \"Menu\" does not currently have a selected field.");
  EXPECT_EQ(Raised([&] { On(MapRef(menu_), u"Update"); }), "-1 You cannot update an interface that isn't on.");
  EXPECT_EQ(On(MapRef(menu_), u"SelectedField").value, T(u""));
  EXPECT_EQ(On(MapRef(menu_), u"SelectedFieldFull").value, T(u""));
}

TEST_F(ObjectInterfaceTest, PanMovesAtOnceOrStartsTwoTimedChanges) {
  On(MapRef(menu_), u"Pan", {L(40), L(-20)});
  EXPECT_EQ(gameData.maps[menu_].ScreenOffsetX(), 40.0f);
  EXPECT_EQ(gameData.maps[menu_].ScreenOffsetY(), -20.0f);
  EXPECT_EQ(On(MapRef(menu_), u"X").value, Variant::Single(40.0f));
  On(MapRef(menu_), u"Pan", {L(100), L(50), L(500)});
  EXPECT_EQ(timedChanges.size(), 2u);
  EXPECT_EQ(gameData.maps[menu_].ScreenOffsetX(), 40.0f) << "the change runs over time";
}

TEST_F(ObjectInterfaceTest, NavigateRunsTheEventOfItsDirectionAndCancelEventOne) {
  for (std::int32_t event = 1; event <= 5; ++event) {
    gameData.maps[menu_].eventScripts[static_cast<std::size_t>(event)] =
        MakeScript(u"Mark(" + std::u16string(1, static_cast<char16_t>(u'0' + event)) + u")");
  }
  for (const char16_t* word : {u"left", u"up", u"right", u"down"}) On(MapRef(menu_), u"Navigate", {T(word)});
  On(MapRef(menu_), u"Cancel");
  EXPECT_EQ(Marks(), (std::vector<Variant>{L(2), L(3), L(4), L(5), L(1)}));
  EXPECT_EQ(Raised([&] { On(MapRef(menu_), u"Navigate", {T(u"leftup")}); }),
            "-1 Invalid direction for interface navigation.");
  EXPECT_EQ(Marks().size(), 5u) << "no event for another direction";
}

TEST_F(ObjectMapTest, ResetFromTheMapsOwnScriptIsDeferredAndWaitsWhenTheProjectAsks) {
  struct Case {
    std::int16_t waitFlag;
    std::vector<Variant> arguments;
    std::uint8_t request;
    std::int32_t resultKind;
  };
  const Case cases[] = {
      {0, {}, 5, kValuePlain},
      {0, {T(u"no")}, 1, kValuePlain},
      {-1, {}, 5, kValueControl},
  };
  for (const Case& c : cases) {
    storedProjectSettings.flags[16] = c.waitFlag;
    gameData.maps[0].pendingReload = 0;
    const ScriptValue result = On(MapRef(0), u"Reset", c.arguments);
    EXPECT_EQ(gameData.maps[0].pendingReload, c.request);
    EXPECT_EQ(result.kind, c.resultKind);
  }
}

}  // namespace
}  // namespace kiv::test
