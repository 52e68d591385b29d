#include "mathkiv/collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "mathkiv/boundaries.h"
#include "mathkiv/shape_solids.h"

namespace kiv {
namespace {

constexpr float kQuarterTurn = 1.5707964f;

CollisionShape BoxShape(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t f,
                        std::int32_t k) {
  CollisionShape shape;
  CollisionBox box;
  box.left = l, box.top = t, box.right = r, box.bottom = b, box.front = f, box.back = k;
  shape.rectangles.push_back(box);
  return shape;
}

CollisionShape PolygonShape(std::initializer_list<CollisionPoint> points, std::int32_t height) {
  CollisionShape shape;
  CollisionPolygon polygon;
  polygon.points = points;
  polygon.height = height;
  shape.polygons.push_back(polygon);
  return shape;
}

ShapePlacement At(float x, float y, float z = 0.0f, float heading = 0.0f) {
  ShapePlacement p;
  p.x = x, p.y = y, p.z = z, p.rotationZ = heading;
  return p;
}

struct OverlapCase {
  std::string name;
  CollisionShape a;
  ShapePlacement placeA;
  CollisionShape b;
  ShapePlacement placeB;
  bool overlap;
};

CollisionShape Flipped(CollisionShape shape, bool x, bool y) {
  shape.transformed = 1;
  shape.flipX = x ? 1 : 0;
  shape.flipY = y ? 1 : 0;
  return shape;
}

CollisionShape Turned(CollisionShape shape, float angle) {
  // A rotation about the height axis as a quaternion.
  shape.rectangles.front().rotation = {0.0f, 0.0f, std::sin(angle / 2), std::cos(angle / 2)};
  return shape;
}

TEST(IntersectCollisionCollision, TableOfCasesGivesTheSameAnswerBothWays) {
  const CollisionShape square = BoxShape(-16, -16, 16, 16, 0, 64);
  const CollisionShape tile = BoxShape(0, 0, 32, 32, 0, 32);
  const CollisionShape small = BoxShape(0, 0, 4, 4, 0, 4);
  const CollisionShape triangle = PolygonShape({{0, 0}, {32, 0}, {0, 32}}, 64);
  const CollisionShape ell = PolygonShape({{0, 0}, {32, 0}, {32, 8}, {8, 8}, {8, 32}, {0, 32}}, 64);
  const CollisionShape plate = BoxShape(0, 0, 32, 32, 0, 0);
  ShapePlacement doubled = At(0, 0);
  doubled.scaleX = doubled.scaleY = 2.0f;

  const OverlapCase cases[] = {
      {"faces touching in x", tile, At(0, 0), tile, At(32, 0), false},
      {"one pixel into x", tile, At(0, 0), tile, At(31, 0), true},
      {"faces touching in y", tile, At(0, 0), tile, At(0, 32), false},
      {"stacked: back meets front", tile, At(0, 0), tile, At(0, 0, 32), false},
      {"stacked one pixel lower", tile, At(0, 0), tile, At(0, 0, 31), true},
      {"same place", tile, At(5, 5), tile, At(5, 5), true},
      {"unturned square misses", square, At(0, 0), small, At(17, -2), false},
      {"square turned 45 degrees reaches", square, At(0, 0, 0, 0.7853982f), small, At(17, -2), true},
      {"box's own quarter rotation", Turned(square, 0.7853982f), At(0, 0), small, At(17, -2), true},
      {"quarter turn keeps a square in place", square, At(0, 0, 0, kQuarterTurn), small, At(16, 0), false},
      {"triangle: box beyond the long side", triangle, At(0, 0), BoxShape(20, 20, 30, 30, 0, 10), At(0, 0),
       false},
      {"triangle: box inside", triangle, At(0, 0), BoxShape(10, 10, 20, 20, 0, 10), At(0, 0), true},
      {"concave polygon: box in the notch", ell, At(0, 0), BoxShape(16, 16, 30, 30, 0, 10), At(0, 0), false},
      {"concave polygon: box in its arm", ell, At(0, 0), BoxShape(2, 20, 6, 30, 0, 10), At(0, 0), true},
      {"polygon above its height", triangle, At(0, 0), small, At(2, 2, 64), false},
      {"plate under a standing box", plate, At(0, 0, 64), tile, At(0, 0, 64), false},
      {"plate through a falling box", plate, At(0, 0, 64), tile, At(0, 0, 63), true},
      {"two plates at one height", plate, At(0, 0, 64), plate, At(8, 8, 64), false},
      {"flip x mirrors about the origin", Flipped(BoxShape(0, 0, 8, 32, 0, 32), true, false), At(32, 0),
       small, At(24, 10), true},
      {"flip x leaves the old place", Flipped(BoxShape(0, 0, 8, 32, 0, 32), true, false), At(32, 0), small,
       At(32, 10), false},
      {"flip y", Flipped(BoxShape(0, 0, 32, 8, 0, 32), false, true), At(0, 32), small, At(10, 28), true},
      {"scale doubles the reach", BoxShape(-8, -8, 8, 8, 0, 8), doubled, small, At(12, 0), true},
      {"scale 1 does not reach", BoxShape(-8, -8, 8, 8, 0, 8), At(0, 0), small, At(12, 0), false},
      {"empty shape", CollisionShape{}, At(0, 0), tile, At(0, 0), false},
      {"inverted box covers nothing", BoxShape(10, 0, 0, 10, 0, 10), At(0, 0), tile, At(0, 0), false},
  };
  for (const OverlapCase& c : cases) {
    EXPECT_EQ(IntersectCollisionCollision(c.a, c.placeA, c.b, c.placeB), c.overlap) << c.name;
    EXPECT_EQ(IntersectCollisionCollision(c.b, c.placeB, c.a, c.placeA), c.overlap) << c.name << " (swapped)";
  }
}

TEST(IntersectRectRect, AgreesWithTheShapeTestOnRandomBoxes) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coordinate(0, 6);
  auto randomBox = [&] {
    Box b;
    b.left = coordinate(random), b.right = b.left + coordinate(random) / 2;
    b.top = coordinate(random), b.bottom = b.top + coordinate(random) / 2;
    b.front = coordinate(random), b.back = b.front + coordinate(random) / 2;
    return b;
  };
  for (int i = 0; i < 5000; ++i) {
    const Box a = randomBox();
    const Box b = randomBox();
    const bool rects = IntersectRectRect(a, b);
    EXPECT_EQ(rects, IntersectRectRect(b, a));
    const bool shapes = IntersectCollisionCollision(
        BoxShape(a.left, a.top, a.right, a.bottom, a.front, a.back), ShapePlacement{},
        BoxShape(b.left, b.top, b.right, b.bottom, b.front, b.back), ShapePlacement{});
    ASSERT_EQ(rects, shapes) << a.left << "," << a.top << "," << a.right << "," << a.bottom << "," << a.front
                             << "," << a.back << " / " << b.left << "," << b.top << "," << b.right << ","
                             << b.bottom << "," << b.front << "," << b.back;
  }
}

// Unturned boxes take a shortcut; it must answer as placing the solids does.
TEST(IntersectCollisionCollision, UnturnedBoxShortcutAgreesWithPlacedSolids) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-8, 8);
  std::uniform_int_distribution<int> choice(0, 3);
  const float scales[] = {1.0f, 0.5f, 2.0f, -1.0f};
  auto randomShape = [&] {
    CollisionShape shape;
    const int boxes = 1 + choice(random) % 2;
    for (int i = 0; i < boxes; ++i) {
      const int l = coordinate(random), t = coordinate(random), f = coordinate(random);
      shape = [&] {
        CollisionShape s = shape;
        s.rectangles.push_back(
            BoxShape(l, t, l + choice(random) * 2, t + choice(random) * 2, f, f + choice(random) * 2)
                .rectangles[0]);
        return s;
      }();
    }
    shape.flipX = choice(random) == 0;
    shape.flipY = choice(random) == 0;
    return shape;
  };
  auto randomPlace = [&] {
    ShapePlacement p =
        At(coordinate(random) / 2.0f, coordinate(random) / 2.0f, static_cast<float>(coordinate(random)));
    p.scaleX = scales[choice(random)];
    p.scaleY = scales[choice(random)];
    p.scaleZ = scales[choice(random) % 3];
    return p;
  };
  int overlaps = 0;
  for (int i = 0; i < 5000; ++i) {
    const CollisionShape a = randomShape(), b = randomShape();
    const ShapePlacement pa = randomPlace(), pb = randomPlace();
    bool shortcut = false;
    ASSERT_TRUE(mathkiv_detail::OverlapUnturnedBoxes(a, pa, b, pb, shortcut));
    bool placed = false;
    for (const auto& sa : mathkiv_detail::PlaceShape(a, pa))
      for (const auto& sb : mathkiv_detail::PlaceShape(b, pb))
        placed = placed || mathkiv_detail::SolidsOverlap(sa, sb);
    ASSERT_EQ(shortcut, placed) << "case " << i;
    overlaps += placed;
  }
  EXPECT_GT(overlaps, 50);  // both answers occur
}

// Boxes of unturned shapes are read without placing them: the bounds must be
// the very numbers placing gives (fractional scales and positions, flips,
// boxes that cover nothing), so the rounded boxes cannot differ.
TEST(GetCollisionRect, UnturnedShortcutGivesThePlacedBounds) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-40, 40);
  std::uniform_int_distribution<int> choice(0, 5);
  const float scales[] = {1.0f, 0.3f, 1.7f, -1.0f, 0.0f, -2.5f};
  int empty = 0;
  for (int i = 0; i < 5000; ++i) {
    CollisionShape shape;
    for (int k = choice(random) % 3; k >= 0; --k) {
      const int l = coordinate(random), t = coordinate(random), f = coordinate(random);
      // A fifth of the boxes are inverted on one axis and cover nothing.
      const int w = choice(random) == 0 ? -3 : choice(random) * 3;
      shape.rectangles.push_back(BoxShape(l, t, l + w, t + choice(random) * 5, f, f + choice(random)).rectangles[0]);
    }
    shape.flipX = choice(random) < 2;
    shape.flipY = choice(random) < 2;
    ShapePlacement p = At(coordinate(random) / 3.0f, coordinate(random) / 7.0f, coordinate(random) / 2.0f);
    p.scaleX = scales[choice(random)];
    p.scaleY = scales[choice(random)];
    p.scaleZ = scales[choice(random)];
    mathkiv_detail::Vec3 min, max;
    bool any = false;
    ASSERT_TRUE(mathkiv_detail::UnturnedBounds(shape, p, min, max, any));
    const auto placed = mathkiv_detail::PlaceShape(shape, p);
    ASSERT_EQ(any, !placed.empty()) << "case " << i;
    if (!any) {
      ++empty;
      continue;
    }
    mathkiv_detail::Vec3 pmin = placed.begin()->min, pmax = placed.begin()->max;
    for (const auto& s : placed) {
      pmin = {std::fmin(pmin.x, s.min.x), std::fmin(pmin.y, s.min.y), std::fmin(pmin.z, s.min.z)};
      pmax = {std::fmax(pmax.x, s.max.x), std::fmax(pmax.y, s.max.y), std::fmax(pmax.z, s.max.z)};
    }
    ASSERT_EQ(min.x, pmin.x) << "case " << i;
    ASSERT_EQ(min.y, pmin.y) << "case " << i;
    ASSERT_EQ(min.z, pmin.z) << "case " << i;
    ASSERT_EQ(max.x, pmax.x) << "case " << i;
    ASSERT_EQ(max.y, pmax.y) << "case " << i;
    ASSERT_EQ(max.z, pmax.z) << "case " << i;
  }
  EXPECT_GT(empty, 10);  // shapes that cover nothing occur
  // Anything turned is left to placing.
  mathkiv_detail::Vec3 min, max;
  bool any = false;
  EXPECT_FALSE(mathkiv_detail::UnturnedBounds(BoxShape(0, 0, 4, 4, 0, 4), At(0, 0, 0, 0.1f), min, max, any));
}

TEST(IntersectCollisionCollision, PlacementsThatAreNotNumbersMeetNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const CollisionShape tile = BoxShape(0, 0, 32, 32, 0, 32);
  for (float bad : {nan, inf}) {
    ShapePlacement p = At(0, 0);
    p.x = bad;
    EXPECT_FALSE(IntersectCollisionCollision(tile, p, tile, At(0, 0)));
    EXPECT_FALSE(IntersectCollisionCollision(tile, At(0, 0), tile, p));
    p = At(0, 0, 0, bad);
    EXPECT_FALSE(IntersectCollisionCollision(tile, p, tile, At(0, 0)));
    EXPECT_FALSE(IntersectCollisionLine(tile, p, {-5, 5, 50, 5}, 5.0f));
    EXPECT_FALSE(IntersectCollisionLine(tile, At(0, 0), {-5, 5, 50, 5}, bad));
  }
}

TEST(IntersectRectRect, TouchingAndFlatBoxes) {
  EXPECT_FALSE(IntersectRectRect({0, 0, 32, 32, 0, 32}, {32, 0, 64, 32, 0, 32}));
  EXPECT_TRUE(IntersectRectRect({0, 0, 32, 32, 0, 32}, {31, 31, 64, 64, 31, 64}));
  EXPECT_TRUE(IntersectRectRect({0, 0, 32, 32, 10, 10}, {0, 0, 32, 32, 0, 32}));   // a plate inside
  EXPECT_FALSE(IntersectRectRect({0, 0, 32, 32, 32, 32}, {0, 0, 32, 32, 0, 32}));  // a plate on top
}

struct LineCase {
  std::string name;
  LineSegment segment;
  float height;
  bool hit;
};

TEST(IntersectCollisionLine, SegmentsAgainstATileBox) {
  const CollisionShape tile = BoxShape(0, 0, 32, 32, 0, 32);
  const LineCase cases[] = {
      {"straight through", {-10, 16, 50, 16}, 10.0f, true},
      {"above the box", {-10, 16, 50, 16}, 40.0f, false},
      {"at its lowest pixel layer", {-10, 16, 50, 16}, 0.0f, true},
      {"at its back (exclusive)", {-10, 16, 50, 16}, 32.0f, false},
      {"ends short of it", {-10, 16, -1, 16}, 10.0f, false},
      {"ends on its first pixel", {-10, 16, 0, 16}, 10.0f, true},
      {"along the row below it", {-10, 32, 50, 32}, 10.0f, false},
      {"along its last row", {-10, 31, 50, 31}, 10.0f, true},
      {"diagonal across a corner", {-5, 20, 20, -5}, 10.0f, true},
      {"diagonal past a corner", {-5, -1, -1, -5}, 10.0f, false},
      {"inside it", {5, 5, 6, 6}, 10.0f, true},
      {"a point inside", {5, 5, 5, 5}, 10.0f, true},
  };
  for (const LineCase& c : cases)
    EXPECT_EQ(IntersectCollisionLine(tile, At(0, 0), c.segment, c.height), c.hit) << c.name;
}

TEST(IntersectCollisionLine, PolygonAndPlacedShapes) {
  const CollisionShape triangle = PolygonShape({{0, 0}, {32, 0}, {0, 32}}, 64);
  EXPECT_TRUE(IntersectCollisionLine(triangle, At(100, 100), {90, 110, 140, 110}, 5.0f));
  EXPECT_FALSE(
      IntersectCollisionLine(triangle, At(100, 100), {120, 140, 140, 120}, 5.0f));  // past the long side
  // A box turned a quarter about its position now lies to the left of it.
  const CollisionShape bar = BoxShape(0, -2, 40, 2, 0, 32);
  EXPECT_TRUE(IntersectCollisionLine(bar, At(100, 100), {120, 90, 120, 110}, 5.0f));
  EXPECT_FALSE(IntersectCollisionLine(bar, At(100, 100, 0, kQuarterTurn), {120, 90, 120, 110}, 5.0f));
  EXPECT_TRUE(IntersectCollisionLine(bar, At(100, 100, 0, kQuarterTurn), {90, 120, 110, 120}, 5.0f));
  EXPECT_FALSE(IntersectCollisionLine(CollisionShape{}, At(0, 0), {-5, -5, 5, 5}, 0.0f));
}

TEST(GetCollisionRect, BoxesAroundPlacedShapes) {
  const CollisionShape actor = BoxShape(-12, -8, 12, 16, 0, 64);
  Box box;
  GetCollisionRect(box, actor, At(100, 200, 5), kRectPlaced);
  EXPECT_EQ(box, (Box{88, 192, 112, 216, 5, 69}));
  GetCollisionRect(box, actor, At(100, 200, 0, kQuarterTurn), kRectPlaced);
  EXPECT_EQ(box, (Box{84, 188, 108, 212, 0, 64}));

  // Tile entries turn about their cell's centre and stay in the cell.
  const CollisionShape tile = BoxShape(0, 0, 32, 32, 0, 32);
  GetCollisionRect(box, tile, At(64, 64, 0, kQuarterTurn), kRectTileEntry);
  EXPECT_EQ(box, (Box{64, 64, 96, 96, 0, 32}));
  GetCollisionRect(box, tile, At(64, 64, 0, kQuarterTurn), kRectPlaced);
  EXPECT_EQ(box, (Box{32, 64, 64, 96, 0, 32}));
  GetCollisionRect(box, Flipped(tile, true, false), At(64, 64, 0, kQuarterTurn), kRectTileEntry);
  EXPECT_EQ(box, (Box{32, 64, 64, 96, 0, 32}));

  const CollisionShape triangle = PolygonShape({{0, 0}, {10, 0}, {0, 20}}, -8);
  GetCollisionRect(box, triangle, At(1.4f, 0, 0), kRectPlaced);
  EXPECT_EQ(box, (Box{1, 0, 12, 20, -8, 0}));

  GetCollisionRect(box, CollisionShape{}, At(10.6f, -3.2f, 7), kRectPlaced);
  EXPECT_EQ(box, (Box{11, -3, 11, -3, 7, 7}));
}

TEST(MapBoundaries, ShapesAndSegmentsOutsideTheMapArea) {
  const MapBoundaries map{9, 4};  // 320 x 160 pixels
  const CollisionShape tile = BoxShape(0, 0, 32, 32, 0, 32);
  EXPECT_FALSE(IntersectBoundariesCollision(map, tile, At(0, 0)));
  EXPECT_FALSE(IntersectBoundariesCollision(map, tile, At(288, 128)));
  EXPECT_FALSE(IntersectBoundariesCollision(map, tile, At(100, 100, -500)));  // heights are free
  EXPECT_TRUE(IntersectBoundariesCollision(map, tile, At(-1, 0)));
  EXPECT_TRUE(IntersectBoundariesCollision(map, tile, At(0, -1)));
  EXPECT_TRUE(IntersectBoundariesCollision(map, tile, At(289, 0)));
  EXPECT_TRUE(IntersectBoundariesCollision(map, tile, At(0, 129)));
  EXPECT_FALSE(IntersectBoundariesCollision(map, CollisionShape{}, At(-100, -100)));

  EXPECT_FALSE(IntersectBoundariesLine(map, {0, 0, 319, 159}, 0.0f));
  EXPECT_TRUE(IntersectBoundariesLine(map, {0, 0, 320, 5}, 0.0f));
  EXPECT_TRUE(IntersectBoundariesLine(map, {5, 160, 5, 5}, 0.0f));
  EXPECT_TRUE(IntersectBoundariesLine(map, {-1, 5, 5, 5}, 0.0f));
}

}  // namespace
}  // namespace kiv
