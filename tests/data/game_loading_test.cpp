#include "data/game_loading.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "core/hooks.h"
#include "data/map_references.h"
#include "data/map_weather_fields.h"
#include "data/object_defaults.h"
#include "data/sound_set.h"
#include "game_data_fixture.h"
#include "platform/gfx/d3dx.h"
#include "support/map_writer.h"
#include "support/sample_game.h"
#include "support/sample_images.h"
#include "support/set_writers.h"
#include "support/sound_set_writer.h"

namespace kiv::test {
namespace {

class GameLoadingTest : public GameDataTest {
 protected:
  void SetUp() override {
    GameDataTest::SetUp();
    SetNoticeHook([this](const std::string& text, bool) { notices.push_back(text); });
  }
  void TearDown() override {
    SetNoticeHook(nullptr);
    GameDataTest::TearDown();
  }
  // Loads the game and reaches every map the way a player's reference does.
  static void LoadWithMaps() {
    ASSERT_TRUE(LoadGameData());
    for (std::u16string name : {u"Cellar", u"Town"}) {
      std::int32_t index = -2;
      ResolveMapReference(index, name, Identifier(), false, true);
    }
  }
  static std::int32_t MapNamed(const std::u16string& name) {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
      if (gameData.maps[m].fileName == name) return m;
    }
    return -1;
  }
  std::vector<std::string> notices;
};

TEST_F(GameLoadingTest, TheSampleGameLoadsAndLinksFromEndToEnd) {
  UsePackage(SampleGamePackage());
  const SampleGameIds ids;
  LoadWithMaps();
  EXPECT_TRUE(setsLinked);
  EXPECT_EQ(gameData.fontSets.size(), 1u);
  EXPECT_EQ(soundSets.size(), 2u);  // the bell and the Town's music
  EXPECT_EQ(gameData.tileSets.size(), 1u);
  EXPECT_EQ(gameData.spriteSets.size(), 3u);  // the villager, the cloud and the drop
  EXPECT_EQ(gameData.doorSets.size(), 1u);
  EXPECT_EQ(gameData.items.size(), 1u);
  EXPECT_EQ(gameData.inputSets.size(), 1u);
  EXPECT_EQ(gameData.customEvents.size(), 1u);
  ASSERT_EQ(gameData.actorTemplates.size(), 1u);
  EXPECT_TRUE(gameData.actorTemplates[0].applied);
  EXPECT_EQ(gameData.items[0].spriteSets[0].index, 0);

  const std::int32_t hud = MapNamed(u"Hud");
  ASSERT_GE(hud, 0);
  EXPECT_TRUE(gameData.maps[hud].isInterface);
  EXPECT_EQ(gameData.maps[hud].fields.at(0).fontSet, 0);

  const std::int32_t town = MapNamed(u"Town");
  ASSERT_GE(town, 0);
  const Map& map = gameData.maps[town];
  EXPECT_EQ(map.tileLayerGroups[0].slotTileSets, (std::vector<std::int32_t>{0}));
  ASSERT_EQ(map.actors.size(), 3u);
  EXPECT_EQ(map.actors[0].templateIndex, -1);
  EXPECT_EQ(map.actors[1].templateIndex, 0);
  EXPECT_EQ(map.actors[1].experience, 10);  // merged from the template
  EXPECT_EQ(map.actors[1].parts.at(0).spriteSet, 0);
  EXPECT_EQ(map.doors.at(0).doorSet, 0);
  EXPECT_EQ(map.doors.at(0).target.index, MapNamed(u"Cellar"));
  EXPECT_EQ(map.zones.at(0).target.index, town);
  EXPECT_EQ(map.pickUps.at(0).spriteSet, 0);
  EXPECT_EQ(map.pickUps.at(0).items[0].item, 0);
  EXPECT_EQ(map.lights.size(), 2u);
  EXPECT_EQ(CloudSpriteSet(map, 0), 1);
  EXPECT_EQ(RainSpriteSet(map), 2);
  EXPECT_FLOAT_EQ(CloudDensity(map), 0.012f);
  EXPECT_TRUE(notices.empty());
}

// The sample's pictures load from the sets: each decodes to the size it was
// drawn at, the magenta ground becomes transparent and the drawn parts stay.
TEST_F(GameLoadingTest, TheSampleGamesPicturesComeWithTheirSets) {
  UsePackage(SampleGamePackage());
  ASSERT_TRUE(LoadGameData());
  struct Pixel {
    std::uint32_t x, y, argb;
  };
  struct Case {
    const char* what;
    const EmbeddedResource* image;
    std::uint32_t width, height;
    std::vector<Pixel> pixels;
  };
  ASSERT_EQ(gameData.tileSets.size(), 1u);
  ASSERT_EQ(gameData.spriteSets.size(), 3u);
  ASSERT_EQ(gameData.doorSets.size(), 1u);
  ASSERT_EQ(gameData.items.size(), 1u);
  const TileSet& tiles = gameData.tileSets[0];
  ASSERT_EQ(tiles.frames.images.size(), 1u);
  const SpriteDirection& south = gameData.spriteSets[0].poses.at(0).directions[2];
  ASSERT_EQ(south.layers.size(), 1u);
  ASSERT_EQ(south.layers[0].frames.images.size(), 1u);
  const Case cases[] = {
      {"tiles", &tiles.frames.images[0], 160, 32, {{64, 5, 0xFF606060}, {127, 31, 0xFF2870C0}, {130, 7, 0xFF5A4A40}}},
      {"figure", &south.layers[0].frames.images[0], 32, 48, {{0, 0, 0}, {16, 20, 0xFFC03030}}},
      {"door", &gameData.doorSets[0].images[1], 256, 256, {{0, 0, 0xFF4A2C12}, {40, 10, 0}, {24, 34, 0xFFE0C040}}},
      {"coin", &gameData.items[0].picture, 32, 32, {{0, 0, 0}, {16, 16, 0xFFF0C020}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(c.image->mode, 1);
    std::vector<std::uint32_t> argb;
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(gfx::DecodeImageArgb(c.image->fileBytes.data(), c.image->fileBytes.size(), 0xFF000000u | kKeyColour,
                                     argb, width, height));
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    ASSERT_EQ(argb.size(), static_cast<std::size_t>(width) * height);
    for (const Pixel& p : c.pixels) EXPECT_EQ(argb[p.y * width + p.x], p.argb) << p.x << ", " << p.y;
  }
  // Tile t shows the t-th fifth of the sheet (grass, sand, stone, water, wall).
  ASSERT_EQ(tiles.frames.frameGroups.size(), 5u);
  for (std::size_t t = 0; t < 5; ++t) {
    EXPECT_EQ(tiles.tiles.at(t).frameGroup, static_cast<std::int32_t>(t));
    const ImageFrame& cell = tiles.frames.frameGroups[t].frames.at(0);
    EXPECT_FLOAT_EQ(cell.textureLeft, static_cast<float>(t) / 5);
    EXPECT_FLOAT_EQ(cell.textureRight, static_cast<float>(t + 1) / 5);
  }
}

TEST_F(GameLoadingTest, SoundVariationsAreLocatedInThePackageFile) {
  UsePackage(SampleGamePackage());
  LoadSoundSets();
  ASSERT_EQ(soundSets.size(), 2u);  // the bell and the Town's music
  const PackageEntry& entry = package.packageEntries.at(static_cast<std::size_t>(PackageFindEntry("0.kso")));
  // The offsets as the reader finds them within the entry.
  soundSets.emplace_back();
  ReadSoundSet(entry.bytes, 2);
  ASSERT_EQ(soundSets[0].variations.size(), 2u);
  for (std::size_t v = 0; v < 2; ++v) {
    EXPECT_EQ(soundSets[0].variations[v].dataOffset, entry.position + soundSets[2].variations[v].dataOffset);
    EXPECT_FALSE(soundSets[0].variations[v].unusable);
  }
  EXPECT_EQ(soundSets[0].packagePath, package.packagePath);
}

TEST_F(GameLoadingTest, YieldingAndTheQuitFlagFollowTheSetKind) {
  PackageWriter writer;
  for (int k = 0; k < 31; ++k) {
    SoundSetFixture sound;
    sound.variations = {ByteList(4, 1)};
    writer.AddStored(std::to_string(k) + ".kso", MakeSoundSetFile(100790, sound));
  }
  for (int k = 0; k < 3; ++k) writer.AddCompressed(std::to_string(k) + ".kfo", FontSetFileBytes(FontSetFixture()));
  UsePackage(writer);
  int yields = 0;
  dataHooks.YieldToWindowSystem = [&yields] { ++yields; };
  gameData.fontSets.resize(5);
  gameData.fontSets[4].name = u"kept";
  LoadFontSets();
  EXPECT_EQ(yields, 0);
  // The table is resized keeping its contents.
  EXPECT_EQ(gameData.fontSets.size(), 3u);
  LoadSoundSets();
  EXPECT_EQ(yields, 2);  // entries 14 and 29
  EXPECT_EQ(soundSets.size(), 31u);

  // A quit flag set at the second yield ends the sound loop with the sets read so far.
  yields = 0;
  bool quit = false;
  dataHooks.YieldToWindowSystem = [&] { quit = ++yields == 2; };
  dataHooks.QuitRequested = [&quit] { return quit; };
  soundSets.clear();
  LoadSoundSets();
  EXPECT_EQ(soundSets.size(), 31u);
  EXPECT_EQ(soundSets[28].variations.size(), 1u);
  EXPECT_TRUE(soundSets[29].variations.empty());
  EXPECT_FALSE(LoadAllSets(false));
  EXPECT_FALSE(setsLinked);
}

TEST_F(GameLoadingTest, NumberingGapsEndAKindAndTestInterfacesAreSkipped) {
  PackageWriter writer;
  for (const char* name : {"0.kdo", "1.kdo", "3.kdo"}) writer.AddCompressed(name, DoorSetFileBytes(DoorSetFixture()));
  MapFixture ui;
  ui.isInterface = true;
  ui.width = ui.height = ui.layerCount = -1;
  writer.AddCompressed("Menu.kui", MapFileBytes(ui));
  writer.AddCompressed("TEST~Menu.kui", MapFileBytes(ui));
  writer.AddCompressed("menu.KUI", MapFileBytes(ui));
  UsePackage(writer);
  ASSERT_TRUE(LoadAllSets(false));
  EXPECT_EQ(gameData.doorSets.size(), 2u);
  EXPECT_TRUE(gameData.spriteSets.empty());
  LoadAllInterfaces();
  EXPECT_EQ(gameData.maps.LastIndex(), 0);
  EXPECT_EQ(gameData.maps[0].fileName, u"Menu");
}

TEST_F(GameLoadingTest, StartInterfacesAreShownOrRunAsOverlays) {
  UsePackage(SampleGamePackage());
  std::vector<std::int32_t> shown;
  std::vector<std::int32_t> overlays;
  dataHooks.SetMapActive = [&shown](std::int32_t map, bool) { shown.push_back(map); };
  dataHooks.RunOverlayTrigger = [&overlays](std::int32_t map) { overlays.push_back(map); };
  std::vector<std::pair<std::int32_t, bool>> enabled;
  dataHooks.SetInputSetEnabled = [&enabled](std::int32_t player, std::int32_t, bool on) {
    enabled.emplace_back(player, on);
  };
  projectState.settings.startInterfaces[0].name = u"HUD";
  projectState.teams.resize(2);
  projectState.teams[1].id = IdOf(0x44);
  projectState.settings.team.id = IdOf(0x44);
  ASSERT_TRUE(LoadGameData());
  EXPECT_EQ(projectState.settings.startInterfaces[0].index, 0);
  EXPECT_EQ(shown, (std::vector<std::int32_t>{0}));
  EXPECT_TRUE(overlays.empty());
  EXPECT_EQ(projectState.settings.team.index, 1);
  // The sample's input set is always on: enabled for all four players.
  ASSERT_EQ(enabled.size(), 4u);
  for (const auto& [player, on] : enabled) EXPECT_TRUE(on);

  GameDataTest::Clear();
  UsePackage(SampleGamePackage());
  dataHooks.SetMapActive = [&shown](std::int32_t map, bool) { shown.push_back(map); };
  dataHooks.RunOverlayTrigger = [&overlays](std::int32_t map) { overlays.push_back(map); };
  projectState.settings.startInterfaces[0].name = u"Hud";
  projectState.settings.startAsOverlay = true;
  shown.clear();
  ASSERT_TRUE(LoadGameData());
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(overlays, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(gameData.maps[0].overlayActive, 1);
}

// Every entry of the sample game damaged in turn: a set stops the load with its
// error naming the entry; an interface is dropped; a map reached through a
// reference is dropped with a notice and the reference stays unresolved.
TEST_F(GameLoadingTest, EachDamagedEntryHasItsOutcome) {
  PackageWriter sample = SampleGamePackage();
  for (std::size_t e = 0; e < sample.Entries().size(); ++e) {
    PackageWriter damaged = sample;
    PackageFixtureEntry& entry = damaged.Entries()[e];
    const std::string name = entry.name;
    // Not read by game-data loading: the settings, the project state and the window skin.
    if (name == "DATA.INI" || name == "INTRO.kst" || name == "S0.bmp") continue;
    // Keep the header (version, and digest when hashed) and cut the rest short.
    entry.bytes.resize(std::min<std::size_t>(entry.bytes.size(), 40));
    GameDataTest::Clear();
    notices.clear();
    UsePackage(damaged);
    if (IsSampleSetEntry(name)) {
      try {
        LoadGameData();
        ADD_FAILURE() << name << ": no error";
      } catch (const KivError& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + name + "\""), std::string::npos) << e.what();
        EXPECT_EQ(gameData.currentActivity, name);
      }
      continue;
    }
    ASSERT_TRUE(LoadGameData()) << name;
    if (name == "Hud.kui") {
      EXPECT_EQ(MapNamed(u"Hud"), -1);
      ASSERT_EQ(gameLoadLog.droppedInterfaces.size(), 1u);
      EXPECT_EQ(gameData.maps.LastIndex(), -1);
      continue;
    }
    const std::u16string mapName = name == "Town.kmp" ? u"Town" : u"Cellar";
    std::int32_t index = -2;
    std::u16string reference = mapName;
    const std::int32_t before = gameData.maps.LastIndex();
    EXPECT_EQ(ResolveMapReference(index, reference, Identifier(), false, true), -2) << name;
    EXPECT_EQ(gameData.maps.LastIndex(), before) << name;
    EXPECT_EQ(notices, (std::vector<std::string>{"Map \"" + name + "\" file could not be loaded as it is corrupt."}));
  }
}

}  // namespace
}  // namespace kiv::test
