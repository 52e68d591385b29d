// Door quads for every open style and amount, the flat and 3-D passes, and
// held items drawn at a holding point.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "data/item_fields.h"
#include "mathkiv/colors.h"
#include "render/door_drawing.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

using test::RecordedKind;

// One quad as its edges: left and right floor positions, bottom and top, and
// the texture of the left, right, top and bottom edges.
struct QuadEdges {
  float xl, yl, xr, yr, zb, zt, uL, uR, vT, vB;
};

struct DoorCase {
  std::int32_t style;
  float amount;
  std::vector<QuadEdges> quads;
};

// A door 32 wide and 64 high at the origin, texture cell (0, 0)-(0.125, 0.25).
const DoorCase kDoorCases[] = {
    {0, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {0, 0.5f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {0, 1.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {0, -0.5f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {1, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {1, 0.5f, {{0, 0, 22.627417f, 22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {1, 1.0f, {{0, 0, 0, 32, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {1, -0.5f, {{0, 0, 22.627417f, -22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {2, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {2, 0.5f, {{9.372583f, 22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {2, 1.0f, {{32, 32, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {2, -0.5f, {{9.372583f, -22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {3, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {3, 0.5f, {{0, 0, 22.627417f, 22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {3, 1.0f, {{0, 0, 0, 32, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {3, -0.5f, {{0, 0, 22.627417f, -22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {4, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {4, 0.5f, {{0, 0, 22.627417f, 22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {4, 1.0f, {{0, 0, 0, 32, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {4, -0.5f, {{0, 0, 22.627417f, -22.627417f, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {5, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {5, 0.5f, {{9.372583f, 22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {5, 1.0f, {{32, 32, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {5, -0.5f, {{9.372583f, -22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {6, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {6, 0.5f, {{9.372583f, 22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {6, 1.0f, {{32, 32, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {6, -0.5f, {{9.372583f, -22.627417f, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {7, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {7, 0.5f, {{0, 0, 16, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {7, 1.0f, {{0, 0, 0, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {7, -0.5f, {{0, 0, 48, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {8, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {8, 0.5f, {{0, 0, 32, 0, 32, 64, 0, 0.125f, 0, 0.25f}}},
    {8, 1.0f, {{0, 0, 32, 0, 64, 64, 0, 0.125f, 0, 0.25f}}},
    {8, -0.5f, {{0, 0, 32, 0, -32, 64, 0, 0.125f, 0, 0.25f}}},
    {9, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {9, 0.5f, {{16, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {9, 1.0f, {{32, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {9, -0.5f, {{-16, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {10, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {10, 0.5f, {{0, 0, 32, 0, 0, 32, 0, 0.125f, 0, 0.25f}}},
    {10, 1.0f, {{0, 0, 32, 0, 0, 0, 0, 0.125f, 0, 0.25f}}},
    {10, -0.5f, {{0, 0, 32, 0, 0, 96, 0, 0.125f, 0, 0.25f}}},
    {11, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {11, 0.5f, {{0, 0, 16, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {11, 1.0f, {{0, 0, 0, 0, 0, 64, 0.125f, 0.125f, 0, 0.25f}}},
    {11, -0.5f, {{0, 0, 48, 0, 0, 64, -0.0625f, 0.125f, 0, 0.25f}}},
    {12, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {12, 0.5f, {{0, 0, 32, 0, 32, 64, 0, 0.125f, 0.125f, 0.25f}}},
    {12, 1.0f, {{0, 0, 32, 0, 64, 64, 0, 0.125f, 0.25f, 0.25f}}},
    {12, -0.5f, {{0, 0, 32, 0, -32, 64, 0, 0.125f, -0.125f, 0.25f}}},
    {13, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {13, 0.5f, {{16, 0, 32, 0, 0, 64, 0, 0.0625f, 0, 0.25f}}},
    {13, 1.0f, {{32, 0, 32, 0, 0, 64, 0, 0, 0, 0.25f}}},
    {13, -0.5f, {{-16, 0, 32, 0, 0, 64, 0, 0.1875f, 0, 0.25f}}},
    {14, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {14, 0.5f, {{0, 0, 32, 0, 0, 32, 0, 0.125f, 0, 0.125f}}},
    {14, 1.0f, {{0, 0, 32, 0, 0, 0, 0, 0.125f, 0, 0}}},
    {14, -0.5f, {{0, 0, 32, 0, 0, 96, 0, 0.125f, 0, 0.375f}}},
    {15, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {15, 0.5f, {{-16, 0, 16, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {15, 1.0f, {{-32, 0, 0, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {15, -0.5f, {{16, 0, 48, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {16, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {16, 0.5f, {{0, 0, 32, 0, 32, 96, 0, 0.125f, 0, 0.25f}}},
    {16, 1.0f, {{0, 0, 32, 0, 64, 128, 0, 0.125f, 0, 0.25f}}},
    {16, -0.5f, {{0, 0, 32, 0, -32, 32, 0, 0.125f, 0, 0.25f}}},
    {17, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {17, 0.5f, {{16, 0, 48, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {17, 1.0f, {{32, 0, 64, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {17, -0.5f, {{-16, 0, 16, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {18, 0.0f, {{0, 0, 32, 0, 32, 64, 0, 0.125f, 0, 0.125f}, {0, 0, 32, 0, 0, 32, 0, 0.125f, 0.125f, 0.25f}}},
    {18, 0.5f, {{0, 0, 32, 0, 48, 64, 0, 0.125f, 0.0625f, 0.125f}, {0, 0, 32, 0, 0, 16, 0, 0.125f, 0.125f, 0.1875f}}},
    {18, 1.0f, {{0, 0, 32, 0, 64, 64, 0, 0.125f, 0.125f, 0.125f}, {0, 0, 32, 0, 0, 0, 0, 0.125f, 0.125f, 0.125f}}},
    {18, -0.5f, {{0, 0, 32, 0, 16, 64, 0, 0.125f, -0.0625f, 0.125f}, {0, 0, 32, 0, 0, 48, 0, 0.125f, 0.125f, 0.3125f}}},
    {19, 0.0f, {{0, 0, 16, 0, 0, 64, 0, 0.0625f, 0, 0.25f}, {16, 0, 32, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {19, 0.5f, {{0, 0, 8, 0, 0, 64, 0.03125f, 0.0625f, 0, 0.25f}, {24, 0, 32, 0, 0, 64, 0.0625f, 0.09375f, 0, 0.25f}}},
    {19, 1.0f, {{0, 0, 0, 0, 0, 64, 0.0625f, 0.0625f, 0, 0.25f}, {32, 0, 32, 0, 0, 64, 0.0625f, 0.0625f, 0, 0.25f}}},
    {19, -0.5f, {{0, 0, 24, 0, 0, 64, -0.03125f, 0.0625f, 0, 0.25f}, {8, 0, 32, 0, 0, 64, 0.0625f, 0.15625f, 0, 0.25f}}},
    {20, 0.0f, {{0, 0, 16, 0, 0, 64, 0, 0.0625f, 0, 0.25f}, {16, 0, 32, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {20, 0.5f, {{-8, 0, 8, 0, 0, 64, 0, 0.0625f, 0, 0.25f}, {24, 0, 40, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {20, 1.0f, {{-16, 0, 0, 0, 0, 64, 0, 0.0625f, 0, 0.25f}, {32, 0, 48, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {20, -0.5f, {{8, 0, 24, 0, 0, 64, 0, 0.0625f, 0, 0.25f}, {8, 0, 24, 0, 0, 64, 0.0625f, 0.125f, 0, 0.25f}}},
    {21, 0.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {21, 0.5f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {21, 1.0f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
    {21, -0.5f, {{0, 0, 32, 0, 0, 64, 0, 0.125f, 0, 0.25f}}},
};

void ExpectQuad(const DoorQuad& q, const QuadEdges& e) {
  constexpr float kTolerance = 1e-4f;
  // Corner order: bottom-left, top-left, bottom-right, top-right.
  const float x[4] = {e.xl, e.xl, e.xr, e.xr}, y[4] = {e.yl, e.yl, e.yr, e.yr};
  const float z[4] = {e.zb, e.zt, e.zb, e.zt};
  const float u[4] = {e.uL, e.uL, e.uR, e.uR}, v[4] = {e.vB, e.vT, e.vB, e.vT};
  for (int c = 0; c < 4; ++c) {
    SCOPED_TRACE(c);
    EXPECT_NEAR(q[static_cast<std::size_t>(c)].x, x[c], kTolerance);
    EXPECT_NEAR(q[static_cast<std::size_t>(c)].y, y[c], kTolerance);
    EXPECT_NEAR(q[static_cast<std::size_t>(c)].z, z[c], kTolerance);
    EXPECT_NEAR(q[static_cast<std::size_t>(c)].tu, u[c], kTolerance);
    EXPECT_NEAR(q[static_cast<std::size_t>(c)].tv, v[c], kTolerance);
  }
}

DoorShape Shape(std::int32_t style, float amount) {
  DoorShape d;
  d.u1 = 0, d.v1 = 0, d.u2 = 0.125f, d.v2 = 0.25f;
  d.style = style, d.amount = amount;
  d.width = 32, d.height = 64;
  return d;
}

TEST(DoorQuadsTest, EveryStyleAtEveryAmount) {
  for (const DoorCase& c : kDoorCases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " amount " << c.amount);
    const std::vector<DoorQuad> quads = BuildDoorQuads(Shape(c.style, c.amount));
    ASSERT_EQ(quads.size(), c.quads.size());
    for (std::size_t i = 0; i < quads.size(); ++i) ExpectQuad(quads[i], c.quads[i]);
  }
}

TEST(DoorQuadsTest, MirroredAxesSwapTheTextureAndReverseTheHideShift) {
  struct Case {
    std::int32_t style;
    bool mirrorU, mirrorV;
    QuadEdges expected;
  };
  const Case cases[] = {
      {kDoorNone, true, false, {0, 0, 32, 0, 0, 64, 0.125f, 0, 0, 0.25f}},
      {kDoorNone, false, true, {0, 0, 32, 0, 0, 64, 0, 0.125f, 0.25f, 0}},
      {kDoorHideLeft, true, false, {0, 0, 16, 0, 0, 64, 0.0625f, 0, 0, 0.25f}},
      {kDoorHideRight, true, false, {16, 0, 32, 0, 0, 64, 0.125f, 0.0625f, 0, 0.25f}},
      {kDoorHideUp, false, true, {0, 0, 32, 0, 32, 64, 0, 0.125f, 0.125f, 0}},
      {kDoorHideDown, false, true, {0, 0, 32, 0, 0, 32, 0, 0.125f, 0.25f, 0.125f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    DoorShape d = Shape(c.style, 0.5f);
    d.mirrorU = c.mirrorU, d.mirrorV = c.mirrorV;
    const std::vector<DoorQuad> quads = BuildDoorQuads(d);
    ASSERT_EQ(quads.size(), 1u);
    ExpectQuad(quads[0], c.expected);
  }
}

TEST(DoorQuadsTest, FlatPassLaysTheQuadDownAndTurnsSlidesIntoHides) {
  struct Case {
    std::int32_t style, drawnAs;
  };
  for (const Case& c : {Case{kDoorSlideLeft, kDoorHideLeft}, Case{kDoorSlideUp, kDoorHideUp},
                        Case{kDoorSlideRight, kDoorHideRight},
                        Case{kDoorSlideSplitHorizontal, kDoorHideSplitHorizontal}, Case{kDoorRotateLeft, 1},
                        Case{kDoorHideSplitVertical, kDoorHideSplitVertical}}) {
    SCOPED_TRACE(c.style);
    DoorShape flat = Shape(c.style, 0.5f);
    flat.x = 5, flat.y = 7, flat.z = 3;
    flat.flatPass = true;
    DoorShape upright = Shape(c.drawnAs, 0.5f);
    upright.x = 5, upright.y = 7, upright.z = 3;
    const std::vector<DoorQuad> laid = BuildDoorQuads(flat), standing = BuildDoorQuads(upright);
    ASSERT_EQ(laid.size(), standing.size());
    for (std::size_t i = 0; i < laid.size(); ++i) {
      for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(laid[i][k].x, standing[i][k].x);
        EXPECT_FLOAT_EQ(laid[i][k].y, standing[i][k].y + standing[i][k].z);
        EXPECT_FLOAT_EQ(laid[i][k].z, 3);
        EXPECT_FLOAT_EQ(laid[i][k].tu, standing[i][k].tu);
        EXPECT_FLOAT_EQ(laid[i][k].tv, standing[i][k].tv);
      }
    }
  }
}

class DoorDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    gameData.doorSets.emplace_back();
    for (gfx::TexturePtr& t : gameData.doorSets[0].textures)
      t = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 256, 256, 0, 1);
  }
  void TearDown() override { gameData.Reset(); }
  DoorSet& Set() { return gameData.doorSets[0]; }
  void Draw(std::int32_t style, bool flatPass) {
    DrawDoor(0, 0, 64, 0, 0, 0, 0.125f, 0.25f, 0xFF112233, 0xFF445566, 0x00778899, style, 0.5f, false, false,
             flatPass, 32, flatPass ? 32.0f : 64.0f);
  }
  std::vector<test::RecordedEvent> Binds() const {
    std::vector<test::RecordedEvent> out;
    for (const test::RecordedEvent& e : recorder.events)
      if (e.kind == RecordedKind::kBind) out.push_back(e);
    return out;
  }
  test::RecordingBatcher recorder;
};

TEST_F(DoorDrawTest, ThreeDPassDrawsTheTextureThenTheOverlayWithOnlyTheDiffuseChanged) {
  Draw(kDoorHideSplitHorizontal, false);
  const auto binds = Binds();
  ASSERT_EQ(binds.size(), 2u);
  EXPECT_EQ(binds[0].texture, DoorTexture(Set()).get());
  EXPECT_EQ(binds[1].texture, DoorOverlayTexture(Set()).get());
  ASSERT_EQ(recorder.quads.size(), 4u);  // two quads per pass
  for (std::size_t q = 0; q < 4; ++q) {
    EXPECT_EQ(recorder.quads[q].stride, 28u);
    const ColoredVertex v = recorder.quads[q].Vertex<ColoredVertex>(test::kTopLeft);
    EXPECT_EQ(v.diffuse, q < 2 ? 0xFF112233u : 0xFF445566u) << q;
    EXPECT_EQ(v.specular, 0x00778899u) << q;
  }
}

TEST_F(DoorDrawTest, MissingTexturesSkipTheirPasses) {
  Set().textures[1] = nullptr;
  Draw(kDoorNone, false);
  ASSERT_EQ(Binds().size(), 1u);
  EXPECT_EQ(Binds()[0].texture, DoorOverlayTexture(Set()).get());
  EXPECT_EQ(recorder.quads.size(), 1u);

  recorder.Clear();
  Set().textures[2] = nullptr;
  Draw(kDoorNone, false);
  EXPECT_TRUE(recorder.events.empty());

  Draw(kDoorNone, true);
  ASSERT_EQ(Binds().size(), 1u);
  EXPECT_EQ(Binds()[0].texture, DoorFlatTexture(Set()).get());
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).diffuse, 0xFF112233u);
  // Laid down: y + z, z at the base.
  EXPECT_FLOAT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).y, 64 + 32);
  EXPECT_FLOAT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).z, 0);

  recorder.Clear();
  Set().textures[0] = nullptr;
  Draw(kDoorNone, true);
  EXPECT_TRUE(recorder.events.empty());
}

// Items: images for directions 2 and 4 only.
class HeldItemTest : public DoorDrawTest {
 protected:
  void SetUp() override {
    DoorDrawTest::SetUp();
    Item item;
    for (std::size_t d : {2u, 4u}) {
      ItemImageEntry& e = item.images[d];
      e.image.mode = 1;
      e.value1 = 20, e.value2 = 10;
      e.texture = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 32, 32, 0, 1);
    }
    gameData.items.push_back(item);
    point.x = 6, point.y = -4, point.z = 8;
    point.color = 0xFF8080FF;
    point.scaleX = 1.5f, point.scaleY = 2;
  }
  FramePart point;
};

TEST_F(HeldItemTest, NearestImageDirectionLooksBackBeforeForward) {
  struct Case {
    std::int32_t asked, drawn;
  };
  for (const Case& c : {Case{2, 2}, Case{3, 2}, Case{4, 4}, Case{5, 4}, Case{6, 4}, Case{1, 2}, Case{0, 2},
                        Case{7, 4}}) {
    EXPECT_EQ(NearestItemImage(0, c.asked), c.drawn) << c.asked;
  }
  gameData.items.emplace_back();
  EXPECT_EQ(NearestItemImage(1, 3), -1);
  EXPECT_EQ(NearestItemImage(5, 3), -1);
  DrawHeldItem(point, 3, 1, 0, 0, 0, 1, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0);
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(HeldItemTest, ColourSizeAndPlaceComeFromTheHoldingPoint) {
  DrawHeldItem(point, 3, 0, 100, 200, 10, 2, 3, 0.5f, 0xFF804020, 0xFF808080, 0x00000042);
  ASSERT_EQ(Binds().size(), 1u);
  EXPECT_EQ(Binds()[0].texture, gameData.items[0].images[2].texture.get());
  ASSERT_EQ(recorder.quads.size(), 1u);
  ASSERT_EQ(recorder.Count(RecordedKind::kFlush), 1u);
  const test::RecordedQuad& q = recorder.quads[0];
  EXPECT_EQ(q.stride, 28u);
  const ColoredVertex v = q.Vertex<ColoredVertex>(test::kTopLeft);
  EXPECT_EQ(v.diffuse, ColorModulate(0xFF8080FF, ColorModulate(0xFF804020, 0xFF808080)));
  EXPECT_EQ(v.specular, 0x42u);
  // w = 2 x 1.5 x 20 = 60, h = 3 x 2 x 10 = 60; left = 100 + 2 x 6 - 30, top = 200 + 3 x -4 - 30.
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (test::QuadCorner c : {test::kBottomLeft, test::kTopLeft, test::kBottomRight, test::kTopRight}) {
    const ColoredVertex p = q.Vertex<ColoredVertex>(c);
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    EXPECT_FLOAT_EQ(p.z, 10 + 0.5f * 8);
  }
  EXPECT_FLOAT_EQ(minX, 82);
  EXPECT_FLOAT_EQ(maxX, 142);
  EXPECT_FLOAT_EQ(minY, 158);
  EXPECT_FLOAT_EQ(maxY, 218);

  // An unlit item ignores the light colour. Its flag is the item's flag V.
  recorder.Clear();
  gameData.items[0].flagV = 1;
  EXPECT_TRUE(ItemUnlit(gameData.items[0]));
  DrawHeldItem(point, 3, 0, 100, 200, 10, 2, 3, 0.5f, 0xFF804020, 0xFF808080, 0);
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(test::kTopLeft).diffuse, ColorModulate(0xFF8080FF, 0xFF804020));
}

TEST(ItemFieldNamesTest, ImageDirectionsAreTheEightImageEntries) {
  ItemImageEntry e;
  EXPECT_FALSE(ItemImagePresent(e));
  e.image.mode = 2;
  EXPECT_TRUE(ItemImagePresent(e));
  e.value1 = 12, e.value2 = 34;
  EXPECT_EQ(ItemImageWidth(e), 12);
  EXPECT_EQ(ItemImageHeight(e), 34);
  DoorSet set;
  for (std::size_t i = 0; i < 3; ++i)
    set.textures[i] = std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 8, 8, 0, 1);
  EXPECT_EQ(DoorFlatTexture(set), set.textures[0]);
  EXPECT_EQ(DoorTexture(set), set.textures[1]);
  EXPECT_EQ(DoorOverlayTexture(set), set.textures[2]);
}

}  // namespace
}  // namespace kiv
