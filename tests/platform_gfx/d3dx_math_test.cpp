#include <gtest/gtest.h>

#include "platform/gfx/d3dx.h"

namespace kiv::gfx {
namespace {

void ExpectMatrix(const Matrix& actual, const float (&expected)[4][4]) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_FLOAT_EQ(actual.m[r][c], expected[r][c]) << "row " << r << " column " << c;
    }
  }
}

// Row-vector convention: [2n/(r-l) 0 0 0; 0 2n/(t-b) 0 0; (l+r)/(l-r) (t+b)/(b-t) f/(f-n) 1; 0 0 nf/(n-f) 0],
// worked out by hand for each case.
TEST(MatrixPerspectiveOffCenterLH, MatchesTheHandComputedMatrix) {
  struct Case {
    float left, right, bottom, top, zNear, zFar;
    float expected[4][4];
  };
  const Case cases[] = {
      {-2, 6, -1, 3, 1, 5, {{0.25f, 0, 0, 0}, {0, 0.5f, 0, 0}, {-0.5f, -0.5f, 1.25f, 1}, {0, 0, -1.25f, 0}}},
      {-1, 1, -0.5f, 0.5f, 2, 10, {{2, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 1.25f, 1}, {0, 0, -2.5f, 0}}},
      {1, 3, 2, 6, 4, 8, {{4, 0, 0, 0}, {0, 2, 0, 0}, {-2, -2, 2, 1}, {0, 0, -8, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << " " << c.right << " " << c.bottom << " " << c.top);
    ExpectMatrix(MatrixPerspectiveOffCenterLH(c.left, c.right, c.bottom, c.top, c.zNear, c.zFar), c.expected);
  }
}

// The near plane's corners land on the corners of the clip square, the far plane at depth 1.
TEST(MatrixPerspectiveOffCenterLH, MapsTheViewVolumeOntoTheClipCube) {
  const Matrix m = MatrixPerspectiveOffCenterLH(-2, 6, -1, 3, 1, 5);
  struct Case {
    Vector3 point, expected;
  };
  const Case cases[] = {
      {{6, 3, 1}, {1, 1, 0}},
      {{-2, -1, 1}, {-1, -1, 0}},
      {{30, -5, 5}, {1, -1, 1}},  // the far plane is five times as wide
  };
  for (const Case& c : cases) {
    const Vector3 p = Vec3TransformCoord(c.point, m);
    EXPECT_NEAR(p.x, c.expected.x, 1e-5);
    EXPECT_NEAR(p.y, c.expected.y, 1e-5);
    EXPECT_NEAR(p.z, c.expected.z, 1e-5);
  }
}

// A direction goes through the upper 3 x 3 only: neither the translation row
// nor the last column changes it.
TEST(Vec3TransformNormal, UsesTheUpperThreeByThreeOnly) {
  Matrix m;
  const float rows[4][4] = {{0, 2, 0, 5}, {-2, 0, 0, 0}, {0, 0, 3, 0}, {10, 20, 30, 1}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) m.m[r][c] = rows[r][c];
  }
  struct Case {
    Vector3 v, expected;
  };
  const Case cases[] = {
      {{1, 2, 3}, {-4, 2, 9}},
      {{0, 0, 0}, {0, 0, 0}},
      {{1, 0, 0}, {0, 2, 0}},
  };
  for (const Case& c : cases) {
    const Vector3 r = Vec3TransformNormal(c.v, m);
    EXPECT_FLOAT_EQ(r.x, c.expected.x);
    EXPECT_FLOAT_EQ(r.y, c.expected.y);
    EXPECT_FLOAT_EQ(r.z, c.expected.z);
  }
  // Roll about x by a quarter turn takes the up vector (0, 0, 1) to (0, -1, 0).
  const Vector3 up = Vec3TransformNormal({0, 0, 1}, MatrixRotationX(1.5707963f));
  EXPECT_NEAR(up.x, 0, 1e-6);
  EXPECT_NEAR(up.y, -1, 1e-6);
  EXPECT_NEAR(up.z, 0, 1e-6);
}

// Screen points back to world points. With identity matrices a 200 x 100
// viewport at (100, 50) spans clip x -1..1 and y 1..-1, depth minZ..maxZ.
TEST(Vec3Unproject, UndoesTheViewportAndTheMatrices) {
  Viewport viewport;
  viewport.x = 100, viewport.y = 50, viewport.width = 200, viewport.height = 100;
  viewport.minZ = 0, viewport.maxZ = 1;
  const Matrix identity = MatrixIdentity();
  const Matrix projection = MatrixPerspectiveOffCenterLH(-2, 6, -1, 3, 1, 5);
  const Matrix view = MatrixTranslation(0, 0, -1);   // the eye 1 back: view z = world z - 1
  const Matrix world = MatrixScaling(2, 2, 1);       // model points twice as wide and high
  struct Case {
    const char* what;
    Vector3 screen;
    const Matrix& projection;
    const Matrix& view;
    const Matrix& world;
    Vector3 expected;
  };
  const Case cases[] = {
      {"centre, identity", {200, 100, 0.25f}, identity, identity, identity, {0, 0, 0.25f}},
      {"top-left corner", {100, 50, 0}, identity, identity, identity, {-1, 1, 0}},
      {"bottom-right corner", {300, 150, 1}, identity, identity, identity, {1, -1, 1}},
      // Clip (1, 1, 0) is the near plane's corner (6, 3, 1); clip (-1, -1, 1) the far one's (-10, -5, 5).
      {"near corner", {300, 50, 0}, projection, identity, identity, {6, 3, 1}},
      {"far corner", {100, 150, 1}, projection, identity, identity, {-10, -5, 5}},
      // Through the view and the world as well: view (6, 3, 1) is world (6, 3, 2), model (3, 1.5, 2).
      {"through view and world", {300, 50, 0}, projection, view, world, {3, 1.5f, 2}},
  };
  for (const Case& c : cases) {
    const Vector3 p = Vec3Unproject(c.screen, viewport, c.projection, c.view, c.world);
    EXPECT_NEAR(p.x, c.expected.x, 1e-4) << c.what;
    EXPECT_NEAR(p.y, c.expected.y, 1e-4) << c.what;
    EXPECT_NEAR(p.z, c.expected.z, 1e-4) << c.what;
  }
}

TEST(PlaneIntersectLine, MeetsThePlaneOnTheLineOrNowhere) {
  struct Case {
    Vector3 point, normal, p1, p2;
    bool meets;
    Vector3 expected;
  };
  const Case cases[] = {
      {{0, 0, 2}, {0, 0, 1}, {0, 0, 0}, {2, 4, 4}, true, {1, 2, 2}},
      {{0, -3, 0}, {0, 1, 0}, {1, 1, 1}, {2, 3, 1}, true, {-1, -3, 1}},  // behind p1: the line, not the segment
      {{5, 0, 0}, {1, 0, 0}, {0, 7, 1}, {1, 7, 2}, true, {5, 7, 6}},
      {{0, 0, 2}, {0, 0, 1}, {0, 0, 0}, {3, 4, 0}, false, {}},  // parallel
  };
  for (const Case& c : cases) {
    Vector3 out{9, 9, 9};
    EXPECT_EQ(PlaneIntersectLine(PlaneFromPointNormal(c.point, c.normal), c.p1, c.p2, out), c.meets);
    const Vector3 expected = c.meets ? c.expected : Vector3{9, 9, 9};
    EXPECT_NEAR(out.x, expected.x, 1e-5);
    EXPECT_NEAR(out.y, expected.y, 1e-5);
    EXPECT_NEAR(out.z, expected.z, 1e-5);
  }
  const Plane plane = PlaneFromPointNormal({1, 2, 3}, {0, 0, 1});
  EXPECT_EQ(plane.d, -3.0f);
}

}  // namespace
}  // namespace kiv::gfx
