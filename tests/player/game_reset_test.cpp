// Which maps view fields show and what starts or stops with that; the scripts
// held outside maps registered again in their order; the graphics released at
// the end of a game.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "mathkiv/models.h"
#include "media/audio_startup.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/sound_sets.h"
#include "media/vertex_records.h"
#include "player/game_reset.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "state/game_state.h"

namespace kiv {
namespace {

constexpr std::uint8_t kViewField = 6;
constexpr std::uint8_t kMusicKind = 1;  // a stream: played as music

class RefreshViewedMapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    shell.Reset();
    gameState.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    soundGlobals.Reset();
    soundGlobals.soundEnabled = false;  // the lists change, nothing plays
    soundSets.clear();
    for (int i = 0; i < 3; ++i) soundSets.emplace_back().kind = kMusicKind;
    graphics.presentParameters.backBufferWidth = 800;
    shell.playing = true;
    hud = AddMap(true);
    for (int i = 0; i < 3; ++i) {
      gameData.maps[hud].fields.emplace_back().kind = kViewField;
      gameData.maps[hud].fields.back().view.defaultView = 10 + i;
    }
    gameData.maps[hud].fields.emplace_back().kind = 0;  // a text field shows nothing
    for (int i = 0; i < 3; ++i) maps.push_back(AddMap(false));
    playerHooks.FieldViewMap = [this](std::int32_t map, std::int32_t field) {
      if (map != hud) return -1;
      const auto found = shows.find(field);
      return found == shows.end() ? -1 : found->second;
    };
    playerHooks.SetFieldScreenView = [this](std::int32_t map, std::int32_t field, std::int32_t view) {
      calls.push_back("view " + std::to_string(map) + "/" + std::to_string(field) + "=" + std::to_string(view));
    };
    playerHooks.InitMessageBoxes = [this](bool reset) { calls.push_back(reset ? "boxes reset" : "boxes"); };
    dataHooks.GenerateMapData = [this](std::int32_t map, bool progress) {
      calls.push_back("generate " + std::to_string(map) + (progress ? " with progress" : ""));
    };
    dataHooks.InitMapWeather = [this](std::int32_t map) { calls.push_back("weather " + std::to_string(map)); };
  }
  void TearDown() override {
    gameData.Reset();
    shell.Reset();
    gameState.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    soundGlobals.Reset();
    soundSets.clear();
  }
  std::int32_t AddMap(bool isInterface) {
    const std::int32_t index = gameData.maps.Append();
    gameData.maps[index].isInterface = isInterface;
    gameData.maps[index].mapByteA2 = 0;  // no music flag
    return index;
  }
  // Field f of the interface shows map m (-1 none).
  void Show(std::int32_t field, std::int32_t map) {
    if (map < 0) {
      shows.erase(field);
    } else {
      shows[field] = map;
    }
  }
  void Music(std::int32_t map, std::int32_t sound) {
    gameData.maps[map].mapByteA2 = 1;  // the music flag
    gameData.maps[map].soundSet = sound;
  }
  std::vector<std::string> Refresh(bool reset = false) {
    calls.clear();
    RefreshViewedMaps(reset);
    return calls;
  }

  std::int32_t hud = 0;
  std::vector<std::int32_t> maps;
  std::map<std::int32_t, std::int32_t> shows;
  std::vector<std::string> calls;
};

TEST_F(RefreshViewedMapsTest, TheScreenWidthInTilesIsTheWholeTilesLessOne) {
  for (const auto& [width, tiles] : std::vector<std::pair<std::uint32_t, std::int32_t>>{
           {800, 24}, {831, 24}, {832, 25}, {31, -1}, {640, 19}}) {
    graphics.presentParameters.backBufferWidth = width;
    Refresh();
    EXPECT_EQ(screenWidthTiles, tiles) << width;
  }
}

TEST_F(RefreshViewedMapsTest, ANewlyShownMapGetsItsViewDataWeatherAndTheBoxesAreLaidOut) {
  Show(0, maps[0]);
  Show(2, maps[0]);  // two fields show it
  EXPECT_EQ(Refresh(true),
            (std::vector<std::string>{"view 0/0=10", "view 0/2=12", "generate 1 with progress", "weather 1",
                                      "boxes reset"}));
  EXPECT_EQ(gameData.maps[maps[0]].shownBefore, 1);
  // Shown still: the weather is placed again, nothing else starts.
  EXPECT_EQ(Refresh(), (std::vector<std::string>{"weather 1", "boxes"}));
  // A second map: its field takes the field's default view, the first map keeps its own.
  Show(1, maps[1]);
  EXPECT_EQ(Refresh(), (std::vector<std::string>{"view 0/1=11", "weather 1", "generate 2 with progress",
                                                 "weather 2", "boxes"}));
}

TEST_F(RefreshViewedMapsTest, TheViewFieldsOfAMapThatIsNoInterfaceShowNothing) {
  gameData.maps[maps[2]].fields.emplace_back().kind = kViewField;
  playerHooks.FieldViewMap = [this](std::int32_t map, std::int32_t) { return map == maps[2] ? maps[1] : -1; };
  EXPECT_EQ(Refresh(), (std::vector<std::string>{"boxes"}));
  EXPECT_EQ(gameData.maps[maps[1]].shownNow, 0);
}

TEST_F(RefreshViewedMapsTest, AHiddenMapStopsItsPlayingSpeakers) {
  Show(0, maps[0]);
  Refresh();
  Speaker playing, silent;
  playing.playing = 1;
  playing.channel = 0x12345;
  playing.volumeFactor = 0.7f;
  silent.volumeFactor = 0.4f;
  gameData.maps[maps[0]].speakers = {playing, silent};
  Show(0, -1);
  EXPECT_EQ(Refresh(), (std::vector<std::string>{"boxes"}));
  EXPECT_EQ(gameData.maps[maps[0]].speakers[0].volumeFactor, 0.0f);
  EXPECT_EQ(gameData.maps[maps[0]].speakers[1].volumeFactor, 0.4f);
  EXPECT_EQ(gameData.maps[maps[0]].shownBefore, 0);
}

TEST_F(RefreshViewedMapsTest, MusicFollowsTheShownMapsOnlyWhileTheGameIsPlaying) {
  struct Case {
    const char* name;
    bool playing;
    std::uint8_t locked;
    std::int32_t flaggedMusic;             // music of the map shown by field 0, flag set; -2 no flag
    std::vector<std::int32_t> before;      // the music list before the refresh
    std::vector<std::int32_t> expected;    // after it
  };
  const Case cases[] = {
      {"a flagged map plays its music", true, 0, 1, {}, {1}},
      {"not while the start window plays", false, 0, 1, {}, {}},
      {"not while the music is locked", true, 1, 1, {2}, {2}},
      {"a map without the flag leaves the music", true, 0, -2, {2}, {2}},
      {"a flagged map without music stops the list", true, 0, -1, {2}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    shell.playing = c.playing;
    gameState.musicLocked = c.locked;
    soundGlobals.musicList = c.before;
    if (c.flaggedMusic != -2) Music(maps[0], c.flaggedMusic);
    Show(0, maps[0]);
    Refresh();
    std::vector<std::int32_t> left;
    for (std::int32_t sound : soundGlobals.musicList) {
      if (sound >= 0) left.push_back(sound);
    }
    EXPECT_EQ(left, c.expected);
  }
}

TEST_F(RefreshViewedMapsTest, ANewMapWithoutTheFlagPlaysTheMusicOfAnotherShownFlaggedMap) {
  Music(maps[0], 1);
  Show(0, maps[0]);
  Refresh();
  soundGlobals.musicList = {2};  // a script changed the music since
  Show(1, maps[1]);              // no flag of its own
  Refresh();
  EXPECT_EQ(soundGlobals.musicList.back(), 1);
}

TEST_F(RefreshViewedMapsTest, AResizeThatChangesNoShownMapStartsNothing) {
  Music(maps[0], 1);
  Show(0, maps[0]);
  Refresh();
  soundGlobals.musicList = {2};
  graphics.presentParameters.backBufferWidth = 1024;
  EXPECT_EQ(Refresh(true), (std::vector<std::string>{"weather 1", "boxes reset"}));
  EXPECT_EQ(soundGlobals.musicList, std::vector<std::int32_t>{2});
  EXPECT_EQ(screenWidthTiles, 31);
}

TEST(HeldScripts, TemplatesThenSpriteLayersThenItemsRegisterInOrder) {
  gameData.Reset();
  scriptTable.Reset();
  std::int32_t mark = 0;
  const auto marked = [&mark] {
    Script script;
    script.hasStatements = true;
    script.text = std::u16string(1, static_cast<char16_t>(u'a' + mark++));
    return script;
  };
  ActorTemplate& first = gameData.actorTemplates.emplace_back();
  first.baseRecord.triggers.resize(2);
  first.baseRecord.triggers[0].script = marked();
  first.baseRecord.triggers[1].script = marked();
  SpriteSet& set = gameData.spriteSets.emplace_back();
  set.poses.resize(2);
  set.poses[0].directions[3].layers.resize(1);
  set.poses[0].directions[3].layers[0].scripts[0] = marked();
  set.poses[0].directions[3].layers[0].scripts[9] = marked();
  set.poses[1].directions[0].layers.resize(1);
  set.poses[1].directions[0].layers[0].scripts[4] = marked();
  Item& item = gameData.items.emplace_back();
  item.scripts[3] = marked();
  item.scripts[0] = marked();
  RegisterHeldScripts();
  std::u16string order;
  for (const Script& script : scriptTable.scripts) order += script.text;
  EXPECT_EQ(order, u"abcdegf");
  EXPECT_EQ(gameData.items[0].scripts[3].index, 6);
  EXPECT_EQ(gameData.spriteSets[0].poses[0].directions[3].layers[0].scripts[1].index, -1);  // empty
  gameData.Reset();
  scriptTable.Reset();
}

TEST(ShutdownGraphics, ReleasesTheTargetsModelsAndTheDevice) {
  graphics.Reset();
  ASSERT_EQ(GraphicsCreateDirectX(), 0);
  ASSERT_EQ(GraphicsCreateDirect3D(), 0);
  auto window = std::make_unique<gfx::Window>("shutdown", 32, 32, false, false);
  graphics.defaultVertexFormat = kColoredVertexFormat;
  ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
  GraphicsInit(graphics.direct3dDevice.get());
  EmbeddedResource model;
  model.mode = 2;
  const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n";
  model.listBytes = ByteList(square.begin(), square.end());
  ASSERT_TRUE(ModelLoad(model));
  ShutdownGraphics();
  EXPECT_EQ(graphics.direct3dDevice, nullptr);
  EXPECT_EQ(graphics.pickTarget, nullptr);
  EXPECT_EQ(graphics.pickDepthSurface, nullptr);
  EXPECT_EQ(LoadedModelCount(), 0u);
  ShutdownGraphics();  // again, without a device: nothing to release
  graphics.Reset();
  window.reset();
}

}  // namespace
}  // namespace kiv
