// Resource groups on the offscreen device: which groups load in which order
// with which progress texts, the step of the bar, a quit and an error in the
// middle, the textures shared by a mirrored direction, the system textures,
// models, and what unloading frees and erases.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/angles.h"
#include "core/log.h"
#include "core/package.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "mathkiv/models.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/sound_sets.h"
#include "media/vertex_records.h"
#include "platform/ui/message_box.h"
#include "player/main_loop.h"
#include "player/resource_groups.h"
#include "player/shell_state.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

// A 2 x 2 24-bit BMP of one colour (B, G, R).
ByteList SolidBmp(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  ByteList bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
                  0,   0,   0,  0, 16, 0, 0, 0};
  bmp.resize(54, 0);
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) bmp.insert(bmp.end(), {b, g, r});
    bmp.insert(bmp.end(), {0, 0});
  }
  return bmp;
}

EmbeddedResource Image(std::uint8_t shade = 0x80) {
  EmbeddedResource resource;
  resource.mode = 1;
  resource.fileBytes = SolidBmp(shade, shade, shade);
  return resource;
}

EmbeddedResource Model() {
  const std::string square =
      "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
      "f 1 2 3\nf 1 3 4\n";
  EmbeddedResource resource;
  resource.mode = 2;
  resource.listBytes = ByteList(square.begin(), square.end());
  return resource;
}

class ResourceGroupsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    graphics.Reset();
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    window = std::make_unique<gfx::Window>("groups", 32, 32, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    ASSERT_EQ(GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0), 0);
  }
  static void TearDownTestSuite() {
    graphics.Reset();
    window.reset();
  }
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    soundSets.clear();
    package.Reset();
    systemTextures = {};
    loopPlatform.Reset();
    // The reference device: progress runs no tick and no frame.
    graphics.videoDeviceType = 2;
    LogOpen(temp.File("log.txt"));
    ui::SetMessageBoxRecorder([this](const std::string& caption, const std::string& text, ui::BoxIcon) {
      boxes.push_back(caption + "|" + text);
    });
  }
  void TearDown() override {
    UnloadResources(kGroupAll);
    LogClose();
    ui::SetMessageBoxRecorder(nullptr);
    loopPlatform.Reset();
    gameData.Reset();
    projectState.Reset();
    shell.Reset();
    package.Reset();
    soundSets.clear();
    systemTextures = {};
  }

  // The log's lines since it was opened.
  std::vector<std::string> Log() {
    LogClose();
    const ByteList bytes = test::ReadTestFile(temp.File("log.txt"));
    std::vector<std::string> lines;
    std::string line;
    for (std::uint8_t c : bytes) {
      if (c == '\r') continue;
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line.push_back(static_cast<char>(c));
      }
    }
    LogOpen(temp.File("log.txt"));  // empties it for the next call
    return lines;
  }

  static void AddSystemImages() {
    for (const char* name : {"S0.bmp", "S1.bmp"}) {
      PackageEntry entry;
      entry.name = name;
      entry.bytes = SolidBmp(0x10, 0x20, 0x30);
      package.packageEntries.push_back(entry);
    }
  }

  // One sprite set: pose 0 with a layer of one image in each direction but
  // `mirrored`, which has none and draws its mirror direction's frames.
  static void AddSpriteSet(std::int32_t mirrored = -1) {
    SpriteSet set;
    set.imageA = Image();
    SpritePose pose;
    for (std::int32_t d = 0; d < kDirectionCount; ++d) {
      if (d == mirrored) continue;
      SpriteLayer layer;
      layer.frames.images.push_back(Image(static_cast<std::uint8_t>(d * 16)));
      pose.directions[static_cast<std::size_t>(d)].layers.push_back(layer);
    }
    if (mirrored >= 0) pose.mirrorMask = DirectionBit(mirrored);
    set.poses.push_back(pose);
    gameData.spriteSets.push_back(set);
  }

  // Fonts, icons, tile sets, door sets, items and sprite sets of every kind.
  void AddOneOfEach() {
    gameData.fontSets.emplace_back().texture = Image();
    gameData.statistics.emplace_back().image = Image();
    projectState.equipmentAreas.emplace_back().image = Image();
    TileSet tiles;
    tiles.tiles.emplace_back().image = Image();
    tiles.frames.images.push_back(Image());
    gameData.tileSets.push_back(tiles);
    DoorSet door;
    for (EmbeddedResource& image : door.images) image = Image();
    gameData.doorSets.push_back(door);
    Item item;
    item.picture = Image();
    item.images[0].image = Image();
    gameData.items.push_back(item);
    AddSpriteSet();
    AddSystemImages();
  }

  test::TempDir temp;
  std::vector<std::string> boxes;
  static inline std::unique_ptr<gfx::Window> window;
};

TEST_F(ResourceGroupsTest, EveryGroupLoadsInItsOrderWithItsTexts) {
  AddOneOfEach();
  EXPECT_EQ(InitResources(kGroupAll), 0);
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupAll));
  EXPECT_EQ(Log(), (std::vector<std::string>{"Initializing resources: 258047.", "Loading icon statistics...",
                                             "Loading icon equipment...", "Loading tile-set (0)...",
                                             "Loading door texture 0...", "Loading system textures...",
                                             "Starting game..."}));
  EXPECT_NE(gameData.fontSets[0].loadedTexture, nullptr);
  EXPECT_NE(gameData.statistics[0].texture, nullptr);
  EXPECT_NE(projectState.equipmentAreas[0].texture, nullptr);
  EXPECT_NE(gameData.tileSets[0].tiles[0].texture, nullptr);
  ASSERT_EQ(gameData.tileSets[0].frames.textures.size(), 1u);
  EXPECT_NE(gameData.tileSets[0].frames.textures[0], nullptr);
  for (const gfx::TexturePtr& texture : gameData.doorSets[0].textures) EXPECT_NE(texture, nullptr);
  EXPECT_NE(gameData.items[0].pictureTexture, nullptr);
  EXPECT_NE(gameData.items[0].images[0].texture, nullptr);
  EXPECT_EQ(gameData.items[0].images[1].texture, nullptr);  // no image there
  EXPECT_TRUE(gameData.spriteSets[0].loaded);
  EXPECT_NE(gameData.spriteSets[0].textureA, nullptr);
  EXPECT_NE(systemTextures[0], nullptr);
  EXPECT_NE(systemTextures[1], nullptr);
  // The icons keep their bytes; the rest give them up once on the device.
  EXPECT_FALSE(gameData.statistics[0].image.fileBytes.empty());
  EXPECT_FALSE(projectState.equipmentAreas[0].image.fileBytes.empty());
  EXPECT_TRUE(gameData.tileSets[0].tiles[0].image.fileBytes.empty());
  EXPECT_TRUE(gameData.fontSets[0].texture.fileBytes.empty());
}

TEST_F(ResourceGroupsTest, ASecondFullCallLoadsNothingAndStartsTheGame) {
  AddOneOfEach();
  ASSERT_EQ(InitResources(kGroupAll), 0);
  Log();
  const gfx::TexturePtr tile = gameData.tileSets[0].tiles[0].texture;
  EXPECT_EQ(InitResources(kGroupAll), 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Initializing resources: 258047.", "Starting game..."}));
  EXPECT_EQ(gameData.tileSets[0].tiles[0].texture, tile);
}

TEST_F(ResourceGroupsTest, TheIconGroupsAloneShowNoTexts) {
  AddOneOfEach();
  EXPECT_EQ(InitResources(kGroupIcons), 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Initializing resources: 49152."}));
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupIcons));
  EXPECT_NE(gameData.statistics[0].texture, nullptr);
  EXPECT_EQ(gameData.tileSets[0].tiles[0].texture, nullptr);
}

TEST_F(ResourceGroupsTest, TwelveSpriteSetsReportSetsFourAndNineAndTheBarMovesByTheStep) {
  for (int i = 0; i < 12; ++i) AddSpriteSet();
  int events = 0;
  loopPlatform.DoEvents = [&events] { ++events; };
  EXPECT_EQ(InitResources(kGroupAll), 0);
  const std::vector<std::string> log = Log();
  EXPECT_EQ(log, (std::vector<std::string>{"Initializing resources: 258047.", "Loading icon statistics...",
                                           "Loading icon equipment...", "Loading sprite set 4...",
                                           "Loading sprite set 9...", "Loading system textures...",
                                           "Starting game..."}));
  EXPECT_EQ(events, 10);  // the sets without a text still let the window breathe
  // step = 0.8 / (-1 + -1 + 12 \ 5 + 0 \ 5 + 0 \ 10 + 6) = 0.8 / 6, six texts move the bar.
  EXPECT_NEAR(shell.loadingProgress, 6 * (0.8f / 6.0f), 1e-6);
  for (const SpriteSet& set : gameData.spriteSets) EXPECT_TRUE(set.loaded);
}

TEST_F(ResourceGroupsTest, OnlyTheFullMaskMovesTheBar) {
  AddOneOfEach();
  EXPECT_EQ(InitResources(kGroupTileSets | kGroupDoorSets), 0);
  EXPECT_EQ(shell.loadingProgress, 0.0f);
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupTileSets | kGroupDoorSets));
}

TEST_F(ResourceGroupsTest, AQuitRequestStopsLoadingAndRecordsNothing) {
  AddOneOfEach();
  ASSERT_EQ(InitResources(kGroupFonts), 0);
  for (int i = 0; i < 3; ++i) AddSpriteSet();
  // The window is closed while the first sprite set is loading.
  loopPlatform.DoEvents = [] { shell.quitRequest = true; };
  EXPECT_EQ(InitResources(kGroupAll), -1);
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupFonts));
  EXPECT_NE(gameData.statistics[0].texture, nullptr);  // begun before the quit, left unrecorded
  EXPECT_FALSE(gameData.spriteSets[0].loaded);
  // A request made before the call is forgotten: the call clears it first.
  loopPlatform.DoEvents = [] {};
  shell.quitRequest = true;
  EXPECT_EQ(InitResources(kGroupAll), 0);
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupAll));
}

TEST_F(ResourceGroupsTest, AnErrorShowsTheLastTextUnloadsEveryGroupAndReturnsItsNumber) {
  AddOneOfEach();
  ASSERT_EQ(InitResources(kGroupFonts | kGroupStatisticIcons), 0);
  package.packageEntries[0].bytes = ByteList{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  const std::int32_t result = InitResources(kGroupAll);
  EXPECT_NE(result, 0);
  EXPECT_NE(result, -1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "InitResources Error|Failed on the following operation:\nLoading system textures...");
  EXPECT_EQ(shell.loadedGroups, 0u);
  // Recorded groups are freed, sprite sets always; the icon tables stay without textures.
  EXPECT_TRUE(gameData.fontSets.empty());
  EXPECT_TRUE(gameData.spriteSets.empty());
  ASSERT_EQ(gameData.statistics.size(), 1u);
  EXPECT_EQ(gameData.statistics[0].texture, nullptr);
  // A group this call had loaded stays unrecorded; its record owns the
  // texture until the table is erased or read anew.
  EXPECT_EQ(gameData.tileSets.size(), 1u);
  EXPECT_NE(gameData.tileSets[0].tiles[0].texture, nullptr);
}

TEST_F(ResourceGroupsTest, AMirroredDirectionMakesNoTexturesOfItsOwn) {
  const std::int32_t mirrored = 1;
  AddSpriteSet(mirrored);
  LoadSpriteSet(0);
  const SpritePose& pose = gameData.spriteSets[0].poses[0];
  // Seven textures for seven directions with images: the mirrored one draws
  // its mirror direction's, so the image is on the device once, not twice.
  std::vector<const gfx::Texture*> textures;
  for (const SpriteDirection& direction : pose.directions) {
    for (const SpriteLayer& layer : direction.layers) {
      EXPECT_TRUE(layer.frames.loaded);
      for (const gfx::TexturePtr& texture : layer.frames.textures) textures.push_back(texture.get());
    }
  }
  EXPECT_EQ(textures.size(), 7u);
  EXPECT_TRUE(pose.directions[static_cast<std::size_t>(mirrored)].layers.empty());
  const ImageFrameLists& source =
      pose.directions[static_cast<std::size_t>(DirectionMirror(mirrored))].layers[0].frames;
  ASSERT_EQ(source.textures.size(), 1u);
  ASSERT_NE(source.textures[0], nullptr);
  // Loading the set again changes nothing.
  const gfx::TexturePtr before = source.textures[0];
  LoadSpriteSet(0);
  EXPECT_EQ(source.textures[0], before);
}

TEST_F(ResourceGroupsTest, ModeTwoResourcesLoadAsModelsAndUnloadWithTheirGroup) {
  const std::size_t models = LoadedModelCount();
  TileSet tiles;
  tiles.tiles.emplace_back().image = Model();
  gameData.tileSets.push_back(tiles);
  ASSERT_EQ(InitResources(kGroupTileSets), 0);
  EXPECT_EQ(LoadedModelCount(), models + 1);
  EXPECT_EQ(gameData.tileSets[0].tiles[0].texture, nullptr);
  UnloadResources(kGroupTileSets);
  EXPECT_EQ(LoadedModelCount(), models);
}

TEST_F(ResourceGroupsTest, UnloadingFollowsTheLoadedBitsButSoundsAndSpritesAlways) {
  AddOneOfEach();
  // Nothing recorded: tile sets stay, sprite sets and sounds go.
  SoundSet sound;
  sound.loaded = true;
  soundSets.push_back(sound);
  UnloadResources(kGroupTileSets | kGroupSounds | kGroupSpriteSets);
  EXPECT_EQ(gameData.tileSets.size(), 1u);
  EXPECT_TRUE(soundSets.empty());
  EXPECT_TRUE(gameData.spriteSets.empty());

  AddSpriteSet();
  ASSERT_EQ(InitResources(kGroupAll), 0);
  UnloadResources(kGroupAll);
  EXPECT_EQ(shell.loadedGroups & static_cast<std::uint32_t>(kGroupAll), 0u);
  EXPECT_EQ(systemTextures[0], nullptr);
  EXPECT_EQ(systemTextures[1], nullptr);
  EXPECT_TRUE(gameData.tileSets.empty());
  EXPECT_TRUE(gameData.fontSets.empty());
  EXPECT_EQ(projectState.equipmentAreas.size(), 1u);
  EXPECT_EQ(projectState.equipmentAreas[0].texture, nullptr);
}

TEST_F(ResourceGroupsTest, TheCharacterSetBitIsOnlyRecorded) {
  EXPECT_EQ(InitResources(kGroupCharacterSets), 0);
  EXPECT_EQ(shell.loadedGroups, static_cast<std::uint32_t>(kGroupCharacterSets));
  UnloadResources(kGroupCharacterSets);
  EXPECT_EQ(shell.loadedGroups, 0u);
}

}  // namespace
}  // namespace kiv
