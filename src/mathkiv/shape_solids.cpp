#include "mathkiv/shape_solids.h"

#include <algorithm>
#include <cmath>

namespace kiv::mathkiv_detail {

namespace {

constexpr double kTileCentre = 16.0;
// Projections closer than this (in pixels along a unit axis) count as touching.
constexpr double kTouchTolerance = 1e-6;

struct Mat3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Apply(const Mat3& m, const Vec3& v) {
  return {m.m[0][0] * v.x + m.m[0][1] * v.y + m.m[0][2] * v.z,
          m.m[1][0] * v.x + m.m[1][1] * v.y + m.m[1][2] * v.z,
          m.m[2][0] * v.x + m.m[2][1] * v.y + m.m[2][2] * v.z};
}

Mat3 Multiply(const Mat3& a, const Mat3& b) {
  Mat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

Mat3 Diagonal(double x, double y, double z) {
  Mat3 r;
  r.m[0][0] = x;
  r.m[1][1] = y;
  r.m[2][2] = z;
  return r;
}

Mat3 RotationAbout(int axis, double angle) {
  Mat3 r;
  if (angle == 0.0) return r;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const int a = (axis + 1) % 3;
  const int b = (axis + 2) % 3;
  r.m[a][a] = c;
  r.m[a][b] = -s;
  r.m[b][a] = s;
  r.m[b][b] = c;
  return r;
}

// A stored rotation; four zeros (or anything that cannot be normalised) is none.
Mat3 FromQuaternion(const CollisionRotation& q) {
  double x = q.x, y = q.y, z = q.z, w = q.w;
  const double n = std::sqrt(x * x + y * y + z * z + w * w);
  if (!(n > 0.0) || !std::isfinite(n)) return Mat3{};
  x /= n, y /= n, z /= n, w /= n;
  Mat3 r;
  r.m[0][0] = 1 - 2 * (y * y + z * z);
  r.m[0][1] = 2 * (x * y - z * w);
  r.m[0][2] = 2 * (x * z + y * w);
  r.m[1][0] = 2 * (x * y + z * w);
  r.m[1][1] = 1 - 2 * (x * x + z * z);
  r.m[1][2] = 2 * (y * z - x * w);
  r.m[2][0] = 2 * (x * z - y * w);
  r.m[2][1] = 2 * (y * z + x * w);
  r.m[2][2] = 1 - 2 * (x * x + y * y);
  return r;
}

bool IsDiagonal(const Mat3& m) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != j && std::fabs(m.m[i][j]) > 1e-12) return false;
  return true;
}

// Shape space (after flips and scale) to world space.
struct Placer {
  Mat3 flipScale;
  Mat3 rotation;
  Vec3 pivot;
  Vec3 position;

  // The linear map of a part with its own rotation.
  Mat3 Linear(const Mat3& partRotation) const {
    return Multiply(rotation, Multiply(flipScale, partRotation));
  }
  Vec3 Point(const Mat3& linear, const Vec3& local) const {
    return Apply(linear, local) - Apply(rotation, pivot) + pivot + position;
  }
};

Placer MakePlacer(const CollisionShape& shape, const ShapePlacement& p, PivotMode pivot) {
  Placer placer;
  const double fx = shape.flipX ? -1.0 : 1.0;
  const double fy = shape.flipY ? -1.0 : 1.0;
  placer.flipScale = Diagonal(fx * p.scaleX, fy * p.scaleY, p.scaleZ);
  placer.rotation = Multiply(RotationAbout(2, p.rotationZ),
                             Multiply(RotationAbout(1, p.rotationY), RotationAbout(0, p.rotationX)));
  if (pivot == PivotMode::TileCentre) placer.pivot = Apply(placer.flipScale, {kTileCentre, kTileCentre, 0.0});
  placer.position = {p.x, p.y, p.z};
  return placer;
}

void Bound(ConvexSolid& solid) {
  solid.min = solid.max = solid.vertices.front();
  for (const Vec3& v : solid.vertices) {
    solid.min = {std::min(solid.min.x, v.x), std::min(solid.min.y, v.y), std::min(solid.min.z, v.z)};
    solid.max = {std::max(solid.max.x, v.x), std::max(solid.max.y, v.y), std::max(solid.max.z, v.z)};
  }
}

bool PlaceBox(const CollisionBox& box, const Placer& placer, ConvexSolid& solid) {
  if (box.right < box.left || box.bottom < box.top || box.back < box.front) return false;
  const Mat3 linear = placer.Linear(FromQuaternion(box.rotation));
  for (int corner = 0; corner < 8; ++corner) {
    const Vec3 local{static_cast<double>((corner & 1) ? box.right : box.left),
                     static_cast<double>((corner & 2) ? box.bottom : box.top),
                     static_cast<double>((corner & 4) ? box.back : box.front)};
    solid.vertices.push_back(placer.Point(linear, local));
  }
  const Vec3 ex = Apply(linear, {1, 0, 0});
  const Vec3 ey = Apply(linear, {0, 1, 0});
  const Vec3 ez = Apply(linear, {0, 0, 1});
  solid.edges = {ex, ey, ez};
  solid.normals = {Cross(ey, ez), Cross(ez, ex), Cross(ex, ey)};
  solid.axisAligned = IsDiagonal(linear);
  Bound(solid);
  return true;
}

struct Point2 {
  double x = 0.0;
  double y = 0.0;
};

double Turn(const Point2& a, const Point2& b, const Point2& c) {
  return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
}

bool IsConvex(const std::vector<Point2>& p) {
  int sign = 0;
  const std::size_t n = p.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double t = Turn(p[i], p[(i + 1) % n], p[(i + 2) % n]);
    const int s = t > 0 ? 1 : (t < 0 ? -1 : 0);
    if (s != 0 && sign != 0 && s != sign) return false;
    if (s != 0) sign = s;
  }
  return true;
}

bool InsideTriangle(const Point2& p, const Point2& a, const Point2& b, const Point2& c, double orientation) {
  return Turn(a, b, p) * orientation > 0 && Turn(b, c, p) * orientation > 0 &&
         Turn(c, a, p) * orientation > 0;
}

// Cuts a polygon into convex pieces: itself when convex, else triangles by ear
// clipping (a self-crossing rest is fanned).
std::vector<std::vector<Point2>> ConvexPieces(std::vector<Point2> p) {
  if (p.size() <= 3 || IsConvex(p)) return {p};
  double area = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const Point2& a = p[i];
    const Point2& b = p[(i + 1) % p.size()];
    area += a.x * b.y - b.x * a.y;
  }
  const double orientation = area >= 0 ? 1.0 : -1.0;
  std::vector<std::vector<Point2>> pieces;
  while (p.size() > 3) {
    bool clipped = false;
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n && !clipped; ++i) {
      const Point2& a = p[(i + n - 1) % n];
      const Point2& b = p[i];
      const Point2& c = p[(i + 1) % n];
      if (Turn(a, b, c) * orientation <= 0) continue;
      bool empty = true;
      for (std::size_t j = 0; j < n && empty; ++j) {
        if (j == i || j == (i + n - 1) % n || j == (i + 1) % n) continue;
        empty = !InsideTriangle(p[j], a, b, c, orientation);
      }
      if (!empty) continue;
      pieces.push_back({a, b, c});
      p.erase(p.begin() + static_cast<std::ptrdiff_t>(i));
      clipped = true;
    }
    if (!clipped) {
      for (std::size_t i = 1; i + 1 < p.size(); ++i) pieces.push_back({p[0], p[i], p[i + 1]});
      return pieces;
    }
  }
  pieces.push_back(p);
  return pieces;
}

void PlacePolygon(const CollisionPolygon& polygon, const Placer& placer, PlacedShape& out) {
  std::vector<Point2> points;
  for (const CollisionPoint& p : polygon.points) {
    const Point2 q{p.x, p.y};
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    if (points.empty() || points.back().x != q.x || points.back().y != q.y) points.push_back(q);
  }
  while (points.size() > 1 && points.front().x == points.back().x && points.front().y == points.back().y)
    points.pop_back();
  if (points.empty()) return;
  const double z0 = std::min(0, polygon.height);
  const double z1 = std::max(0, polygon.height);
  const Mat3 linear = placer.Linear(FromQuaternion(polygon.rotation));
  const Vec3 up = Apply(linear, {0, 0, 1});
  const Vec3 cap = Cross(Apply(linear, {1, 0, 0}), Apply(linear, {0, 1, 0}));
  for (const std::vector<Point2>& piece : ConvexPieces(points)) {
    ConvexSolid& solid = out.Next();
    for (const Point2& p : piece) {
      solid.vertices.push_back(placer.Point(linear, {p.x, p.y, z0}));
      solid.vertices.push_back(placer.Point(linear, {p.x, p.y, z1}));
    }
    solid.edges.push_back(up);
    solid.normals.push_back(cap);
    for (std::size_t i = 0; i < piece.size() && piece.size() > 1; ++i) {
      const Point2& a = piece[i];
      const Point2& b = piece[(i + 1) % piece.size()];
      const Vec3 edge = Apply(linear, {b.x - a.x, b.y - a.y, 0});
      solid.edges.push_back(edge);
      solid.normals.push_back(Cross(edge, up));
    }
    Bound(solid);
  }
}

// True when the axis parts the two point sets (touching counts as parted).
bool Separates(const Vec3& axis, const ConvexSolid& a, const ConvexSolid& b) {
  const double length = std::sqrt(Dot(axis, axis));
  if (!(length > 1e-12)) return false;
  const Vec3 n{axis.x / length, axis.y / length, axis.z / length};
  double minA = Dot(n, a.vertices.front()), maxA = minA;
  for (const Vec3& v : a.vertices) {
    const double d = Dot(n, v);
    minA = std::min(minA, d);
    maxA = std::max(maxA, d);
  }
  double minB = Dot(n, b.vertices.front()), maxB = minB;
  for (const Vec3& v : b.vertices) {
    const double d = Dot(n, v);
    minB = std::min(minB, d);
    maxB = std::max(maxB, d);
  }
  return maxA <= minB + kTouchTolerance || maxB <= minA + kTouchTolerance;
}

}  // namespace

bool Finite(const ShapePlacement& p) {
  for (float v : {p.x, p.y, p.z, p.rotationX, p.rotationY, p.rotationZ, p.scaleX, p.scaleY, p.scaleZ})
    if (!std::isfinite(v)) return false;
  return true;
}

void PlaceShapeInto(const CollisionShape& shape, const ShapePlacement& placement, PivotMode pivot,
                    PlacedShape& out) {
  out.Clear();
  if (!Finite(placement)) return;
  const Placer placer = MakePlacer(shape, placement, pivot);
  for (const CollisionBox& box : shape.rectangles)
    if (!PlaceBox(box, placer, out.Next())) out.DropLast();
  for (const CollisionPolygon& polygon : shape.polygons) PlacePolygon(polygon, placer, out);
}

PlacedShape PlaceShape(const CollisionShape& shape, const ShapePlacement& placement, PivotMode pivot) {
  PlacedShape placed;
  PlaceShapeInto(shape, placement, pivot, placed);
  return placed;
}

ConvexSolid AlignedBox(const Vec3& min, const Vec3& max) {
  ConvexSolid solid;
  for (int corner = 0; corner < 8; ++corner)
    solid.vertices.push_back(
        {(corner & 1) ? max.x : min.x, (corner & 2) ? max.y : min.y, (corner & 4) ? max.z : min.z});
  solid.edges = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  solid.normals = solid.edges;
  solid.min = min;
  solid.max = max;
  solid.axisAligned = true;
  return solid;
}

ConvexSolid SegmentSolid(const Vec3& a, const Vec3& b) {
  ConvexSolid solid;
  solid.vertices = {a, b};
  solid.edges = {b - a};
  Bound(solid);
  return solid;
}

bool SolidsOverlap(const ConvexSolid& a, const ConvexSolid& b) {
  // The world axes part any two convex solids whose bounds do not overlap.
  if (a.max.x <= b.min.x + kTouchTolerance || b.max.x <= a.min.x + kTouchTolerance) return false;
  if (a.max.y <= b.min.y + kTouchTolerance || b.max.y <= a.min.y + kTouchTolerance) return false;
  if (a.max.z <= b.min.z + kTouchTolerance || b.max.z <= a.min.z + kTouchTolerance) return false;
  if (a.axisAligned && b.axisAligned) return true;
  for (const Vec3& n : a.normals)
    if (Separates(n, a, b)) return false;
  for (const Vec3& n : b.normals)
    if (Separates(n, a, b)) return false;
  for (const Vec3& ea : a.edges)
    for (const Vec3& eb : b.edges)
      if (Separates(Cross(ea, eb), a, b)) return false;
  return true;
}

namespace {

bool Unturned(const CollisionShape& shape, const ShapePlacement& p) {
  if (!Finite(p) || !shape.polygons.empty() || p.rotationX != 0.0f || p.rotationY != 0.0f ||
      p.rotationZ != 0.0f)
    return false;
  const CollisionRotation identity;
  for (const CollisionBox& box : shape.rectangles)
    if (!(box.rotation == identity)) return false;
  return true;
}

// One axis of an unturned box: lo..hi mirrored, scaled and moved, in order.
void AlignedSpan(double lo, double hi, double factor, double position, double& min, double& max) {
  const double a = factor * lo + position;
  const double b = factor * hi + position;
  min = std::min(a, b);
  max = std::max(a, b);
}

bool AlignedBounds(const CollisionBox& box, const CollisionShape& shape, const ShapePlacement& p, Vec3& min,
                   Vec3& max) {
  if (box.right < box.left || box.bottom < box.top || box.back < box.front) return false;
  const double fx = (shape.flipX ? -1.0 : 1.0) * p.scaleX;
  const double fy = (shape.flipY ? -1.0 : 1.0) * p.scaleY;
  AlignedSpan(box.left, box.right, fx, p.x, min.x, max.x);
  AlignedSpan(box.top, box.bottom, fy, p.y, min.y, max.y);
  AlignedSpan(box.front, box.back, p.scaleZ, p.z, min.z, max.z);
  return true;
}

bool Apart(double aMin, double aMax, double bMin, double bMax) {
  return aMax <= bMin + kTouchTolerance || bMax <= aMin + kTouchTolerance;
}

}  // namespace

bool OverlapUnturnedBoxes(const CollisionShape& a, const ShapePlacement& placementA, const CollisionShape& b,
                          const ShapePlacement& placementB, bool& result) {
  if (!Unturned(a, placementA) || !Unturned(b, placementB)) return false;
  result = false;
  for (const CollisionBox& boxA : a.rectangles) {
    Vec3 minA, maxA;
    if (!AlignedBounds(boxA, a, placementA, minA, maxA)) continue;
    for (const CollisionBox& boxB : b.rectangles) {
      Vec3 minB, maxB;
      if (!AlignedBounds(boxB, b, placementB, minB, maxB)) continue;
      if (Apart(minA.x, maxA.x, minB.x, maxB.x) || Apart(minA.y, maxA.y, minB.y, maxB.y) ||
          Apart(minA.z, maxA.z, minB.z, maxB.z))
        continue;
      result = true;
      return true;
    }
  }
  return true;
}

bool UnturnedBounds(const CollisionShape& shape, const ShapePlacement& placement, Vec3& min, Vec3& max,
                    bool& any) {
  if (!Unturned(shape, placement)) return false;
  any = false;
  for (const CollisionBox& box : shape.rectangles) {
    Vec3 lo, hi;
    if (!AlignedBounds(box, shape, placement, lo, hi)) continue;
    min = any ? Vec3{std::fmin(min.x, lo.x), std::fmin(min.y, lo.y), std::fmin(min.z, lo.z)} : lo;
    max = any ? Vec3{std::fmax(max.x, hi.x), std::fmax(max.y, hi.y), std::fmax(max.z, hi.z)} : hi;
    any = true;
  }
  return true;
}

}  // namespace kiv::mathkiv_detail
