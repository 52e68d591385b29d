#include "media/quad_batcher.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kiv {
namespace {

struct DrawCall {
  std::uint32_t primitiveType = 0;
  std::uint32_t primitiveCount = 0;
  std::uint32_t vertexCount = 0;  // indexed draws only
  std::uint32_t stride = 0;
  std::vector<std::uint16_t> indices;
  std::vector<std::uint8_t> vertexBytes;  // the first vertices, copied at draw time
};

class RecordingDrawer final : public BatchDrawer {
 public:
  std::vector<DrawCall> calls;
  bool fail = false;

  void DrawPrimitiveUP(std::uint32_t type, std::uint32_t count, const void* vertices,
                       std::uint32_t stride) override {
    if (fail) throw std::runtime_error("draw failed");
    DrawCall c{type, count, 0, stride, {}, {}};
    const std::size_t vertexCount = type == gfx::kPrimLineList ? 2 : 4;
    c.vertexBytes.assign(static_cast<const std::uint8_t*>(vertices),
                         static_cast<const std::uint8_t*>(vertices) + vertexCount * stride);
    calls.push_back(std::move(c));
  }
  void DrawIndexedPrimitiveUP(std::uint32_t type, std::uint32_t minIndex, std::uint32_t vertexCount,
                              std::uint32_t count, const std::uint16_t* indices, const void* vertices,
                              std::uint32_t stride) override {
    if (fail) throw std::runtime_error("draw failed");
    EXPECT_EQ(minIndex, 0u);
    DrawCall c{type, count, vertexCount, stride, {}, {}};
    c.indices.assign(indices, indices + count * 3);
    c.vertexBytes.assign(static_cast<const std::uint8_t*>(vertices),
                         static_cast<const std::uint8_t*>(vertices) + vertexCount * stride);
    calls.push_back(std::move(c));
  }

  template <typename V>
  V Vertex(std::size_t call, std::size_t i) const {
    V v;
    std::memcpy(&v, calls[call].vertexBytes.data() + i * sizeof(V), sizeof(V));
    return v;
  }
};

class BatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quadBatch.Reset();
    SetBatchDrawer(&drawer);
  }
  void TearDown() override {
    SetBatchDrawer(nullptr);
    quadBatch.Reset();
  }
  RecordingDrawer drawer;
};

void AddPlainScreenQuad(float x = 0) { QuadAddScreen(x, 0, 1, 1, 0, 0, 1, 1, 0xFFFFFFFF, 0); }

TEST_F(BatcherTest, ScreenQuadSnapsOutwardAndShiftsByHalfPixel) {
  QuadAddScreen(10.3f, 20.7f, 5.2f, 3.1f, 0.1f, 0.2f, 0.8f, 0.9f, 0xFF112233, 0x44556677);
  const ScreenVertex* v = quadBatch.screen.data();
  struct Expected {
    float x, y, tu, tv;
  };
  // Stored order: bottom-left, top-left, bottom-right, top-right.
  const Expected expected[4] = {{9.5f, 23.5f, 0.1f, 0.9f},
                                {9.5f, 19.5f, 0.1f, 0.2f},
                                {15.5f, 23.5f, 0.8f, 0.9f},
                                {15.5f, 19.5f, 0.8f, 0.2f}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(v[i].x, expected[i].x);
    EXPECT_EQ(v[i].y, expected[i].y);
    EXPECT_EQ(v[i].tu, expected[i].tu);
    EXPECT_EQ(v[i].tv, expected[i].tv);
    EXPECT_EQ(v[i].z, 0.0f);
    EXPECT_EQ(v[i].rhw, 1.0f);
    EXPECT_EQ(v[i].diffuse, 0xFF112233u);
    EXPECT_EQ(v[i].specular, 0x44556677u);
  }
}

// The far edges are the ceiling of the sum taken in double: in float
// 0.01 + 0.99 is exactly 1 and the second pixel would be lost.
TEST_F(BatcherTest, ScreenQuadFarEdgeIsTheCeilingOfTheExactSum) {
  struct Case {
    float x, width;
    float left, right;  // after the half-pixel shift
  };
  const Case cases[] = {{0.01f, 0.99f, -0.5f, 1.5f},
                        {0.0f, 1.0f, -0.5f, 0.5f},
                        {-0.99f, 0.99f, -1.5f, -0.5f},
                        {100.01f, 0.99f, 99.5f, 101.5f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    quadBatch.Reset();
    QuadAddScreen(c.x, c.x, c.width, c.width, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    const ScreenVertex* v = quadBatch.screen.data();
    EXPECT_EQ(v[1].x, c.left);   // top-left
    EXPECT_EQ(v[3].x, c.right);  // top-right
    EXPECT_EQ(v[1].y, c.left);   // top
    EXPECT_EQ(v[0].y, c.right);  // bottom
  }
}

TEST_F(BatcherTest, RotatedQuadAtAngleZeroSpansByWidthParity) {
  struct Case {
    float width;
    float left, right;  // relative to x
  };
  const Case cases[] = {{32, -0.5f, 31.5f}, {33, 0.5f, 33.5f}, {1, 0.5f, 1.5f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    quadBatch.Reset();
    QuadAddScreenRotated(100, 50, c.width, c.width, 0, 0, 1, 1, 0xFFFFFFFF, 0, 0);
    const ScreenVertex* v = quadBatch.screen.data();
    EXPECT_EQ(v[1].x, 100 + c.left);   // top-left
    EXPECT_EQ(v[3].x, 100 + c.right);  // top-right
    EXPECT_EQ(v[0].x, v[1].x);         // bottom-left under top-left
  }
}

TEST_F(BatcherTest, RotatedQuadTurnsAboutItsCentre) {
  // Width 2: half extents -1 .. 1, centre x + 1; a quarter turn maps (dx, dy) to (-dy, dx).
  QuadAddScreenRotated(10, 20, 2, 2, 0, 0, 1, 1, 0, 0, static_cast<float>(M_PI / 2));
  const ScreenVertex* v = quadBatch.screen.data();
  // top-left offset (-1, -1) -> (1, -1)
  EXPECT_NEAR(v[1].x, 11 + 1 - 0.5, 1e-5);
  EXPECT_NEAR(v[1].y, 21 - 1 - 0.5, 1e-5);
}

TEST_F(BatcherTest, QuaternionScreenQuadWithIdentityMatchesRotatedAtZero) {
  QuadAddScreenQuaternion(7, 9, 5, 4, 0, 0, 0, 1, 0, 0, 1, 1, 0xFF00FF00, 0, 1, 1);
  QuadAddScreenRotated(7, 9, 5, 4, 0, 0, 1, 1, 0xFF00FF00, 0, 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(quadBatch.screen[static_cast<std::size_t>(i)].x, quadBatch.screen[static_cast<std::size_t>(i + 4)].x);
    EXPECT_EQ(quadBatch.screen[static_cast<std::size_t>(i)].y, quadBatch.screen[static_cast<std::size_t>(i + 4)].y);
  }
}

TEST_F(BatcherTest, GradientTakesColoursInTheirArgumentOrder) {
  QuadAddScreenGradient(0, 0, 4, 2, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 1, 2, 3, 4, 9);
  const ScreenVertex* v = quadBatch.screen.data();
  EXPECT_EQ(v[0].diffuse, 3u);  // bottom-left
  EXPECT_EQ(v[1].diffuse, 1u);  // top-left
  EXPECT_EQ(v[2].diffuse, 4u);  // bottom-right
  EXPECT_EQ(v[3].diffuse, 2u);  // top-right
  EXPECT_EQ(v[2].x, 3.5f);
  EXPECT_EQ(v[2].y, 1.5f);
}

TEST_F(BatcherTest, FlushWithNothingPendingDrawsNothing) {
  QuadBatchFlushScreen();
  QuadBatchFlushColored3D();
  QuadBatchFlushLit3D();
  EXPECT_TRUE(drawer.calls.empty());
  EXPECT_EQ(quadBatch.indexCount, 0);
  EXPECT_EQ(quadBatch.vertexCount, 0);
}

TEST_F(BatcherTest, SingleQuadIsAStripAndTwoQuadsAnIndexedList) {
  AddPlainScreenQuad();
  QuadBatchFlushScreen();
  ASSERT_EQ(drawer.calls.size(), 1u);
  EXPECT_EQ(drawer.calls[0].primitiveType, gfx::kPrimTriangleStrip);
  EXPECT_EQ(drawer.calls[0].primitiveCount, 2u);
  EXPECT_EQ(drawer.calls[0].stride, 32u);

  AddPlainScreenQuad();
  AddPlainScreenQuad(5);
  QuadBatchFlushScreen();
  ASSERT_EQ(drawer.calls.size(), 2u);
  const DrawCall& list = drawer.calls[1];
  EXPECT_EQ(list.primitiveType, gfx::kPrimTriangleList);
  EXPECT_EQ(list.primitiveCount, 4u);
  EXPECT_EQ(list.vertexCount, 8u);
  EXPECT_EQ(list.indices, (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));
  EXPECT_EQ(drawer.Vertex<ScreenVertex>(1, 4).x, 4.5f);
  EXPECT_EQ(quadBatch.indexCount, 0);
  EXPECT_EQ(quadBatch.vertexCount, 0);
  EXPECT_EQ(quadBatch.screenCount, 0);
}

TEST_F(BatcherTest, ColouredAndLitFlushesUseTheirStrides) {
  QuadAddFlat3D(0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0);
  QuadBatchFlushColored3D();
  QuadAddLit3D(0, 0, 0, 1, 1, 0, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0, 0, -1);
  QuadBatchFlushLit3D();
  ASSERT_EQ(drawer.calls.size(), 2u);
  EXPECT_EQ(drawer.calls[0].stride, 28u);
  EXPECT_EQ(drawer.calls[1].stride, 32u);
  EXPECT_EQ(drawer.Vertex<LitVertex>(1, 3).nz, -1.0f);
}

TEST_F(BatcherTest, The8191stQuadFlushesTheWholeBatch) {
  for (int i = 0; i < 8190; ++i) AddPlainScreenQuad();
  EXPECT_TRUE(drawer.calls.empty());
  EXPECT_EQ(quadBatch.vertexCount, 32760);
  AddPlainScreenQuad(3);
  ASSERT_EQ(drawer.calls.size(), 1u);
  EXPECT_EQ(drawer.calls[0].vertexCount, 32764u);
  EXPECT_EQ(drawer.calls[0].primitiveCount, 49146u / 3);
  EXPECT_EQ(drawer.calls[0].indices[49145], 32763);
  EXPECT_EQ(drawer.Vertex<ScreenVertex>(0, 32760).x, 2.5f);
  EXPECT_EQ(quadBatch.indexCount, 0);
  EXPECT_EQ(quadBatch.vertexCount, 0);

  // The next quad starts a new batch at vertex 0.
  AddPlainScreenQuad(7);
  EXPECT_EQ(quadBatch.screen[1].x, 6.5f);
  QuadBatchFlushScreen();
  EXPECT_EQ(drawer.calls.back().primitiveType, gfx::kPrimTriangleStrip);
}

TEST_F(BatcherTest, GrownScreenEntriesKeepRhwOneAndZZero) {
  for (int i = 0; i < 100; ++i) AddPlainScreenQuad(static_cast<float>(i));
  ASSERT_GE(quadBatch.screen.size(), 404u);
  for (const ScreenVertex& v : quadBatch.screen) {
    ASSERT_EQ(v.rhw, 1.0f);
    ASSERT_EQ(v.z, 0.0f);
  }
  QuadBatchFlushScreen();
}

TEST_F(BatcherTest, FailedDrawKeepsTheQuadsPending) {
  AddPlainScreenQuad();
  AddPlainScreenQuad();
  drawer.fail = true;
  EXPECT_ANY_THROW(QuadBatchFlushScreen());
  EXPECT_EQ(quadBatch.indexCount, 12);
  EXPECT_EQ(quadBatch.screenCount, 8);
  drawer.fail = false;
  QuadBatchFlushScreen();
  EXPECT_EQ(drawer.calls.size(), 1u);
  EXPECT_EQ(quadBatch.indexCount, 0);
}

TEST_F(BatcherTest, FreshArraysAfterAFailedDrawStillHoldThePendingCount) {
  AddPlainScreenQuad();
  AddPlainScreenQuad();
  drawer.fail = true;
  EXPECT_ANY_THROW(QuadBatchFlushScreen());
  drawer.fail = false;
  quadBatch.CreateArrays();  // a device start-up while two quads are pending
  EXPECT_EQ(quadBatch.screenCount, 8);
  AddPlainScreenQuad(5);  // written at entry 8
  EXPECT_EQ(quadBatch.screen[9].x, 4.5f);
  QuadBatchFlushScreen();
  ASSERT_EQ(drawer.calls.size(), 1u);
  EXPECT_EQ(drawer.calls[0].vertexCount, 12u);
}

TEST_F(BatcherTest, LinesDrawAtOnceWithoutTouchingPendingQuads) {
  AddPlainScreenQuad(40);
  LineDrawScreen(1, 2, 3, 4, 0, 0, 1, 1, 0xFFFF0000, 0);
  ASSERT_EQ(drawer.calls.size(), 1u);
  EXPECT_EQ(drawer.calls[0].primitiveType, gfx::kPrimLineList);
  EXPECT_EQ(drawer.calls[0].primitiveCount, 1u);
  EXPECT_EQ(drawer.Vertex<ScreenVertex>(0, 1).x, 2.5f);
  EXPECT_EQ(drawer.Vertex<ScreenVertex>(0, 1).rhw, 1.0f);
  EXPECT_EQ(quadBatch.screen[1].x, 39.5f);
  EXPECT_EQ(quadBatch.indexCount, 6);
  LineDraw3D(1, 2, 3, 4, 5, 6, 0, 0, 1, 1, 0, 0);
  EXPECT_EQ(drawer.calls[1].stride, 28u);
  EXPECT_EQ(drawer.Vertex<ColoredVertex>(1, 1).z, 6.0f);
  QuadBatchFlushScreen();
}

struct Corner3 {
  float x, y, z;
};
void ExpectCorners(const ColoredVertex* v, const Corner3 (&expected)[4]) {
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(v[i].x, expected[i].x, 1e-5);
    EXPECT_NEAR(v[i].y, expected[i].y, 1e-5);
    EXPECT_NEAR(v[i].z, expected[i].z, 1e-5);
  }
}

TEST_F(BatcherTest, ThreeDQuadCorners) {
  // Stored order BL, TL, BR, TR.
  QuadAddColored3D(1, 2, 3, 4, 5, 6, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 11, 12, 13, 14, 0);
  ExpectCorners(&quadBatch.colored[0], {{1, 7, 3}, {1, 2, 9}, {5, 7, 3}, {5, 2, 9}});
  EXPECT_EQ(quadBatch.colored[0].diffuse, 13u);
  EXPECT_EQ(quadBatch.colored[2].diffuse, 14u);
  quadBatch.Reset();
  // dx 0: an upright quad in the plane x = 1.
  QuadAddColored3D(1, 2, 3, 0, 5, 6, {0, 0}, {1, 0}, {1, 1}, {0, 1}, 0, 0, 0, 0, 0);
  ExpectCorners(&quadBatch.colored[0], {{1, 2, 3}, {1, 2, 9}, {1, 7, 3}, {1, 7, 9}});
  quadBatch.Reset();
  QuadAddFlat3D(1, 2, 3, 4, 5, 6, 0, 0, 1, 1, 0, 0);
  ExpectCorners(&quadBatch.colored[0], {{1, 7, 3}, {1, 2, 9}, {5, 7, 3}, {5, 2, 9}});
}

TEST_F(BatcherTest, BillboardSpansTheMatrixColumns) {
  gfx::Matrix m;  // identity: right = +x, up = +y
  QuadAddBillboard(10, 20, 30, 4, 2, m, 0, 0, 1, 1, 0, 0, 1, 1);
  // Half extents: width -2 .. 2, height -1 .. 1; up is subtracted.
  ExpectCorners(&quadBatch.colored[0], {{8, 19, 30}, {8, 21, 30}, {12, 19, 30}, {12, 21, 30}});
}

TEST_F(BatcherTest, BillboardRotatedAtAngleZeroUsesTheMatrixUnchanged) {
  gfx::Matrix m;
  m.m[0][0] = 0.5f, m.m[1][0] = 0.25f, m.m[0][1] = -0.75f, m.m[2][1] = 2;
  QuadAddBillboard(1, 2, 3, 6, 3, m, 0, 0, 1, 1, 0, 0, 1.5f, 0.5f);
  QuadAddBillboardRotated(1, 2, 3, 6, 3, m, 0, 0, 1, 1, 0, 0, 0.0f, 1.5f, 0.5f);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(quadBatch.colored[static_cast<std::size_t>(i)].x, quadBatch.colored[static_cast<std::size_t>(i + 4)].x);
    EXPECT_EQ(quadBatch.colored[static_cast<std::size_t>(i)].z, quadBatch.colored[static_cast<std::size_t>(i + 4)].z);
  }
  // A quarter turn: R becomes the old U and U the old -R (M x Rz).
  quadBatch.Reset();
  QuadAddBillboardRotated(0, 0, 0, 2, 2, gfx::Matrix{}, 0, 0, 1, 1, 0, 0, static_cast<float>(M_PI / 2), 1, 1);
  // top-left offset (-1, -1): -R' + U' with R' = (0, -1, 0), U' = (1, 0, 0)
  EXPECT_NEAR(quadBatch.colored[1].x, 1, 1e-5);
  EXPECT_NEAR(quadBatch.colored[1].y, 1, 1e-5);
}

TEST_F(BatcherTest, QuaternionQuads) {
  // Identity, height not 0: a quad in the x-y plane around (x + hr, y + hb).
  QuadAdd3DQuaternion(10, 20, 5, 4, 2, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1);
  ExpectCorners(&quadBatch.colored[0], {{10, 22, 5}, {10, 20, 5}, {14, 22, 5}, {14, 20, 5}});
  quadBatch.Reset();
  // Height 0: upright, spanned by width (x) and depth (z); centre z + floor(0.5 - depth / 2).
  QuadAdd3DQuaternion(10, 20, 5, 4, 0, 6, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1);
  ExpectCorners(&quadBatch.colored[0], {{10, 20, -1}, {10, 20, 5}, {14, 20, -1}, {14, 20, 5}});
  quadBatch.Reset();
  // Height 0 and depth 0 give a quad of zero area.
  QuadAdd3DQuaternion(10, 20, 5, 0, 0, 0, 0.3f, 0.1f, 0.2f, 0.9f, 0, 0, 1, 1, 0, 0, 1, 1);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(quadBatch.colored[static_cast<std::size_t>(i)].x, quadBatch.colored[0].x);
    EXPECT_EQ(quadBatch.colored[static_cast<std::size_t>(i)].z, quadBatch.colored[0].z);
  }
}

}  // namespace
}  // namespace kiv
