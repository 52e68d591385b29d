// Property scripts of sprite layers: compiled from text, run as owner kind 13
// through the hook that the drawing library installs.
#include <cmath>

#include "core/quaternion_math.h"
#include "render/render_setup.h"
#include "render/sprite_drawing.h"
#include "script/trigger_engine_fixture.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

class SpriteScriptsTest : public test::TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    InstallRenderDataHooks();
    gameData.spriteSets.emplace_back();
    gameData.spriteSets[0].poses.emplace_back();
    SpriteDirection& d = Direction();
    SpriteLayer layer;
    FrameGroup frame;
    frame.cellWidth = frame.cellHeight = 10;
    ImageFrame piece;
    piece.width = piece.height = 10;
    piece.textureRight = piece.textureBottom = 1;
    frame.frames.push_back(piece);
    layer.frames.frameGroups.push_back(frame);
    layer.frameEntries.push_back({100, 0});
    d.layers.push_back(std::move(layer));
    FramePart part;
    part.kind = kPartLayer;
    part.x = 3;
    part.y = 4;
    part.color = 0xFFFFFFFF;
    part.scaleX = part.scaleY = part.scaleZ = 1;
    part.scripted = 1;
    d.builtFrames = {SpriteFrame{{part}}};
  }

  SpriteDirection& Direction() { return gameData.spriteSets[0].poses[0].directions[4]; }

  void Draw() {
    DrawSpritePart(gameData.spriteSets[0].poses[0], kAllSpriteGroups, -1, 4, 0, instance, view, 100, 200, 0, 1, 1, 1,
                   false, false, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0, 1, 1, true, 0, 0, -1);
  }

  std::pair<float, float> Centre() const {
    float x = 0, y = 0;
    for (auto c : {test::kBottomLeft, test::kTopLeft, test::kBottomRight, test::kTopRight}) {
      x += recorder.quads.at(0).Vertex<ColoredVertex>(c).x;
      y += recorder.quads.at(0).Vertex<ColoredVertex>(c).y;
    }
    return {x / 4, y / 4};
  }

  SpriteInstance instance;
  MapView view;
  test::RecordingBatcher recorder;
};

TEST_F(SpriteScriptsTest, ResultsReplaceValuesAndNothingUsableKeepsThem) {
  struct Case {
    std::u16string slot0, slot1;
    float x, y;
  };
  const Case cases[] = {
      {u"Return(\"12\")", u"", 12, 4},       // a text that reads as a number replaces x
      {u"Return(7.6)", u"Mark(1)", 8, 4},    // rounded; no result keeps y
      {u"Return(\"abc\")", u"Return(-2)", 0, -2},  // any other text converts as ToNumber does
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.slot0.begin(), c.slot0.end()));
    SpriteLayer& layer = Direction().layers[0];
    layer.scripts = {};
    layer.scripts[0] = MakeScript(c.slot0);
    if (!c.slot1.empty()) layer.scripts[1] = MakeScript(c.slot1);
    recorder.Clear();
    Draw();
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_FLOAT_EQ(Centre().first, 100 + c.x);
    EXPECT_FLOAT_EQ(Centre().second, 200 + c.y);
  }
}

TEST_F(SpriteScriptsTest, AngleSlotsGoThroughEulerAngles) {
  SpriteLayer& layer = Direction().layers[0];
  Direction().builtFrames[0].parts[0].rotation = QuaternionFromYawPitchRoll(0.4f, 0, 0);
  auto depthSpread = [this] {
    float low = 1e9f, high = -1e9f;
    for (auto c : {test::kBottomLeft, test::kTopLeft, test::kBottomRight, test::kTopRight}) {
      low = std::min(low, recorder.quads.at(0).Vertex<ColoredVertex>(c).z);
      high = std::max(high, recorder.quads.at(0).Vertex<ColoredVertex>(c).z);
    }
    return high - low;
  };
  Draw();
  EXPECT_GT(depthSpread(), 1.0f);  // turned out of the x-y plane
  // Slot 6 replaces the first angle with 0: the quad lies flat again.
  layer.scripts[6] = MakeScript(u"Return(0)");
  recorder.Clear();
  Draw();
  EXPECT_NEAR(depthSpread(), 0.0f, 1e-3f);
}

}  // namespace
}  // namespace kiv
