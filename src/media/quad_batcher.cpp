#include "media/quad_batcher.h"

#include <algorithm>
#include <cmath>

#include "media/batch_drawer_default.h"

namespace kiv {

QuadBatchState quadBatch;

namespace {

BatchDrawer* installedDrawer = nullptr;

BatchDrawer& Drawer() { return CurrentBatchDrawer(); }

constexpr std::uint16_t kQuadIndices[6] = {0, 1, 2, 2, 1, 3};

// Five entries, or more when quads are pending: the counts carry over, and
// the next quad is written at its kind's count.
template <typename V>
void FreshArray(std::vector<V>& a, std::int32_t ownCount) {
  a.assign(std::max<std::size_t>(5, static_cast<std::size_t>(ownCount) + 4), V{});
}

// The pending quad's first vertex in a kind's array.
template <typename V>
V* Slot(std::vector<V>& a, std::int32_t count) {
  return &a[static_cast<std::size_t>(count)];
}

template <typename V>
void Commit(std::vector<V>& array, std::int32_t& ownCount, void (*flush)()) {
  QuadBatchState& b = quadBatch;
  if (static_cast<std::int32_t>(b.indices.size()) - 1 < b.indexCount + 5) {
    b.indices.resize(static_cast<std::size_t>(b.indexCount) + 6);
    for (int i = 0; i < 6; ++i) {
      b.indices[static_cast<std::size_t>(b.indexCount + i)] =
          static_cast<std::uint16_t>(b.vertexCount + kQuadIndices[i]);
    }
  }
  b.indexCount += 6;
  b.vertexCount = static_cast<std::int16_t>(b.vertexCount + 4);
  if (b.vertexCount > kMaxBatchVertices) {
    flush();
    return;
  }
  ownCount += 4;
  if (static_cast<std::int32_t>(array.size()) - 1 < ownCount + 3) {
    // New entries are value-initialised, which gives screen vertices rhw 1.0.
    array.resize(static_cast<std::size_t>(ownCount) + 4);
  }
}

template <typename V>
void Flush(std::vector<V>& array, std::int32_t& ownCount) {
  QuadBatchState& b = quadBatch;
  const std::uint32_t stride = sizeof(V);
  if (b.indexCount == 6) {
    Drawer().DrawPrimitiveUP(gfx::kPrimTriangleStrip, 2, array.data(), stride);
  } else if (b.indexCount == 0) {
    return;
  } else {
    Drawer().DrawIndexedPrimitiveUP(gfx::kPrimTriangleList, 0, static_cast<std::uint32_t>(b.vertexCount),
                                    static_cast<std::uint32_t>(b.indexCount / 3), b.indices.data(),
                                    array.data(), stride);
  }
  b.indexCount = 0;
  b.vertexCount = 0;
  ownCount = 0;
}

// The four vertices of a quad are stored bottom-left, top-left, bottom-right,
// top-right; these are their positions in that order.
enum Corner { kBL = 0, kTL = 1, kBR = 2, kTR = 3 };

void SetScreen(ScreenVertex& v, double x, double y, float tu, float tv, std::uint32_t diffuse,
               std::uint32_t specular) {
  v.x = static_cast<float>(x - 0.5);
  v.y = static_cast<float>(y - 0.5);
  v.tu = tu;
  v.tv = tv;
  v.diffuse = diffuse;
  v.specular = specular;
}

void SetColored(ColoredVertex& v, double x, double y, double z, float tu, float tv, std::uint32_t diffuse,
                std::uint32_t specular) {
  v.x = static_cast<float>(x);
  v.y = static_cast<float>(y);
  v.z = static_cast<float>(z);
  v.tu = tu;
  v.tv = tv;
  v.diffuse = diffuse;
  v.specular = specular;
}

// Integer half extents of a centred quad: left/top offset and right/bottom offset.
struct HalfExtents {
  double lo, hi;
};
HalfExtents Halves(float size) {
  return {std::floor(0.5 - static_cast<double>(size) / 2), std::floor(static_cast<double>(size) / 2 + 0.5)};
}

struct Offsets {
  double dx[4], dy[4];  // indexed by Corner
};
Offsets CornerOffsets(HalfExtents w, HalfExtents h) {
  Offsets o{};
  o.dx[kTL] = w.lo, o.dy[kTL] = h.lo;
  o.dx[kTR] = w.hi, o.dy[kTR] = h.lo;
  o.dx[kBR] = w.hi, o.dy[kBR] = h.hi;
  o.dx[kBL] = w.lo, o.dy[kBL] = h.hi;
  return o;
}

struct TexCorners {
  float tu[4], tv[4];
};
TexCorners TexFromPairs(float tu1, float tv1, float tu2, float tv2) {
  TexCorners t{};
  t.tu[kTL] = tu1, t.tv[kTL] = tv1;
  t.tu[kTR] = tu2, t.tv[kTR] = tv1;
  t.tu[kBR] = tu2, t.tv[kBR] = tv2;
  t.tu[kBL] = tu1, t.tv[kBL] = tv2;
  return t;
}
TexCorners TexFromCorners(TexPair tl, TexPair tr, TexPair br, TexPair bl) {
  TexCorners t{};
  t.tu[kTL] = tl.tu, t.tv[kTL] = tl.tv;
  t.tu[kTR] = tr.tu, t.tv[kTR] = tr.tv;
  t.tu[kBR] = br.tu, t.tv[kBR] = br.tv;
  t.tu[kBL] = bl.tu, t.tv[kBL] = bl.tv;
  return t;
}

void AddColoredCorners(const double (&px)[4], const double (&py)[4], const double (&pz)[4], const TexCorners& t,
                       const std::uint32_t (&diffuse)[4], std::uint32_t specular) {
  QuadBatchState& b = quadBatch;
  if (b.slotting) {
    SlottedVertex* s = Slot(b.slotted, b.slottedCount);
    const auto slot = static_cast<float>(b.slot);
    for (int c = 0; c < 4; ++c) {
      ColoredVertex v;
      SetColored(v, px[c], py[c], pz[c], t.tu[c], t.tv[c], diffuse[c], specular);
      s[c] = SlottedVertex{v.x, v.y, v.z, v.diffuse, v.specular, v.tu, v.tv, b.depthScale, slot};
    }
    QuadBatchCommitColored3D();
    return;
  }
  ColoredVertex* v = Slot(quadBatch.colored, quadBatch.coloredCount);
  for (int c = 0; c < 4; ++c) SetColored(v[c], px[c], py[c], pz[c], t.tu[c], t.tv[c], diffuse[c], specular);
  QuadBatchCommitColored3D();
}

// The first two columns of M span a billboard: right R and up U.
void AddBillboard(float x, float y, float z, float width, float height, const gfx::Matrix& m, float tu1,
                  float tv1, float tu2, float tv2, std::uint32_t diffuse, std::uint32_t specular, float scaleX,
                  float scaleY) {
  const Offsets o = CornerOffsets(Halves(width), Halves(height));
  double px[4], py[4], pz[4];
  for (int c = 0; c < 4; ++c) {
    const double a = static_cast<double>(scaleX) * o.dx[c];
    const double b = static_cast<double>(scaleY) * o.dy[c];
    px[c] = x + a * m.m[0][0] - b * m.m[0][1];
    py[c] = y + a * m.m[1][0] - b * m.m[1][1];
    pz[c] = z + a * m.m[2][0] - b * m.m[2][1];
  }
  const std::uint32_t d[4] = {diffuse, diffuse, diffuse, diffuse};
  AddColoredCorners(px, py, pz, TexFromPairs(tu1, tv1, tu2, tv2), d, specular);
}

// M x Rz(angle) in the row-vector convention.
gfx::Matrix MultiplyRotationZ(const gfx::Matrix& m, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  gfx::Matrix r = m;
  for (int row = 0; row < 4; ++row) {
    r.m[row][0] = m.m[row][0] * c - m.m[row][1] * s;
    r.m[row][1] = m.m[row][0] * s + m.m[row][1] * c;
  }
  return r;
}

struct Rotation3 {
  double r[3][3];
};
Rotation3 QuaternionRotation(double qx, double qy, double qz, double qw) {
  Rotation3 m{};
  m.r[0][0] = 1 - 2 * (qy * qy + qz * qz);
  m.r[0][1] = 2 * (qx * qy - qz * qw);
  m.r[0][2] = 2 * (qx * qz + qy * qw);
  m.r[1][0] = 2 * (qx * qy + qz * qw);
  m.r[1][1] = 1 - 2 * (qx * qx + qz * qz);
  m.r[1][2] = 2 * (qy * qz - qx * qw);
  m.r[2][0] = 2 * (qx * qz - qy * qw);
  m.r[2][1] = 2 * (qy * qz + qx * qw);
  m.r[2][2] = 1 - 2 * (qx * qx + qy * qy);
  return m;
}

}  // namespace

BatchDrawer& CurrentBatchDrawer() { return installedDrawer ? *installedDrawer : DefaultBatchDrawer(); }

void SetBatchDrawer(BatchDrawer* drawer) { installedDrawer = drawer; }

void BatchDrawer::DrawSlottedQuads(std::uint32_t vertexCount, std::uint32_t primitiveCount,
                                   const std::uint16_t* indices, const SlottedVertex* vertices,
                                   const gfx::TexturePtr*, std::uint32_t) {
  std::vector<ColoredVertex> plain(vertexCount);
  for (std::uint32_t i = 0; i < vertexCount; ++i) {
    const SlottedVertex& s = vertices[i];
    plain[i] = ColoredVertex{s.x, s.y, s.z, s.diffuse, s.specular, s.tu, s.tv};
  }
  if (primitiveCount == 2) {
    DrawPrimitiveUP(gfx::kPrimTriangleStrip, 2, plain.data(), sizeof(ColoredVertex));
  } else {
    DrawIndexedPrimitiveUP(gfx::kPrimTriangleList, 0, vertexCount, primitiveCount, indices, plain.data(),
                           sizeof(ColoredVertex));
  }
}

void QuadBatchState::CreateArrays() {
  FreshArray(slotted, slottedCount);
  FreshArray(screen, screenCount);
  FreshArray(colored, coloredCount);
  FreshArray(lit, litCount);
}

void QuadBatchState::Reset() {
  indexCount = 0;
  vertexCount = 0;
  indices.clear();
  screenCount = coloredCount = litCount = slottedCount = 0;
  slotting = false;
  slotsAllowed = true;
  depthScale = 1;
  slot = 0;
  slotTextures = {};
  slotTextureCount = 0;
  CreateArrays();
}

void QuadBatchCommitScreen() { Commit(quadBatch.screen, quadBatch.screenCount, &QuadBatchFlushScreen); }
void QuadBatchCommitColored3D() {
  if (quadBatch.slotting) {
    Commit(quadBatch.slotted, quadBatch.slottedCount, &QuadBatchFlushSlotted);
  } else {
    Commit(quadBatch.colored, quadBatch.coloredCount, &QuadBatchFlushColored3D);
  }
}
void QuadBatchCommitLit3D() { Commit(quadBatch.lit, quadBatch.litCount, &QuadBatchFlushLit3D); }

void QuadBatchFlushScreen() { Flush(quadBatch.screen, quadBatch.screenCount); }
void QuadBatchFlushColored3D() {
  if (quadBatch.slottedCount > 0) {
    QuadBatchFlushSlotted();
    return;
  }
  Flush(quadBatch.colored, quadBatch.coloredCount);
}

void QuadBatchFlushSlotted() {
  QuadBatchState& b = quadBatch;
  if (b.indexCount == 0 || b.slottedCount == 0) return;
  Drawer().DrawSlottedQuads(static_cast<std::uint32_t>(b.vertexCount), static_cast<std::uint32_t>(b.indexCount / 3),
                            b.indices.data(), b.slotted.data(), b.slotTextures.data(), b.slotTextureCount);
  b.indexCount = 0;
  b.vertexCount = 0;
  b.slottedCount = 0;
}

void QuadBatchUseTexture(const gfx::TexturePtr& texture) {
  QuadBatchState& b = quadBatch;
  for (std::uint32_t i = 0; i < b.slotTextureCount; ++i) {
    if (b.slotTextures[i] == texture) {
      b.slot = i;
      return;
    }
  }
  if (b.slotTextureCount == b.slotTextures.size()) {
    QuadBatchFlushSlotted();
    b.slotTextures = {};
    b.slotTextureCount = 0;
  }
  b.slot = b.slotTextureCount;
  b.slotTextures[b.slotTextureCount++] = texture;
}

void QuadBatchSetSlotting(bool on) {
  QuadBatchState& b = quadBatch;
  QuadBatchFlushColored3D();
  b.slotting = on;
  b.depthScale = 1;
  b.slot = 0;
  b.slotTextures = {};
  b.slotTextureCount = 0;
}
void QuadBatchFlushLit3D() { Flush(quadBatch.lit, quadBatch.litCount); }

void QuadAddScreen(float x, float y, float width, float height, float tu1, float tv1, float tu2, float tv2,
                   std::uint32_t diffuse, std::uint32_t specular) {
  // The far edges are summed in double: in float, 0.01 + 0.99 rounds to 1 and
  // the quad would lose the pixel column it reaches into.
  const double left = std::floor(x), top = std::floor(y);
  const double right = std::ceil(static_cast<double>(x) + static_cast<double>(width));
  const double bottom = std::ceil(static_cast<double>(y) + static_cast<double>(height));
  ScreenVertex* v = Slot(quadBatch.screen, quadBatch.screenCount);
  SetScreen(v[kBL], left, bottom, tu1, tv2, diffuse, specular);
  SetScreen(v[kTL], left, top, tu1, tv1, diffuse, specular);
  SetScreen(v[kBR], right, bottom, tu2, tv2, diffuse, specular);
  SetScreen(v[kTR], right, top, tu2, tv1, diffuse, specular);
  QuadBatchCommitScreen();
}

void QuadAddScreenGradient(float x, float y, float width, float height, TexPair tl, TexPair tr, TexPair br,
                           TexPair bl, std::uint32_t diffuseTL, std::uint32_t diffuseTR,
                           std::uint32_t diffuseBL, std::uint32_t diffuseBR, std::uint32_t specular) {
  const float right = x + width, bottom = y + height;
  ScreenVertex* v = Slot(quadBatch.screen, quadBatch.screenCount);
  SetScreen(v[kBL], x, bottom, bl.tu, bl.tv, diffuseBL, specular);
  SetScreen(v[kTL], x, y, tl.tu, tl.tv, diffuseTL, specular);
  SetScreen(v[kBR], right, bottom, br.tu, br.tv, diffuseBR, specular);
  SetScreen(v[kTR], right, y, tr.tu, tr.tv, diffuseTR, specular);
  QuadBatchCommitScreen();
}

void QuadAddScreenRotated(float x, float y, float width, float height, float tu1, float tv1, float tu2,
                          float tv2, std::uint32_t diffuse, std::uint32_t specular, float angle) {
  const HalfExtents hw = Halves(width), hh = Halves(height);
  const Offsets o = CornerOffsets(hw, hh);
  const TexCorners t = TexFromPairs(tu1, tv1, tu2, tv2);
  const double cx = x + hw.hi, cy = y + hh.hi;
  const double c = std::cos(angle), s = std::sin(angle);
  ScreenVertex* v = Slot(quadBatch.screen, quadBatch.screenCount);
  for (int k = 0; k < 4; ++k) {
    SetScreen(v[k], cx + c * o.dx[k] - s * o.dy[k], cy + s * o.dx[k] + c * o.dy[k], t.tu[k], t.tv[k], diffuse,
              specular);
  }
  QuadBatchCommitScreen();
}

void QuadAddScreenQuaternion(float x, float y, float width, float height, float qx, float qy, float qz,
                             float qw, float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                             std::uint32_t specular, float scaleX, float scaleY) {
  const HalfExtents hw = Halves(width), hh = Halves(height);
  const Offsets o = CornerOffsets(hw, hh);
  const TexCorners t = TexFromPairs(tu1, tv1, tu2, tv2);
  const Rotation3 r = QuaternionRotation(qx, qy, qz, qw);
  const double cx = x + hw.hi, cy = y + hh.hi;
  ScreenVertex* v = Slot(quadBatch.screen, quadBatch.screenCount);
  for (int k = 0; k < 4; ++k) {
    const double a = scaleX * o.dx[k], b = scaleY * o.dy[k];
    SetScreen(v[k], cx + a * r.r[0][0] + b * r.r[0][1], cy + a * r.r[1][0] + b * r.r[1][1], t.tu[k], t.tv[k],
              diffuse, specular);
  }
  QuadBatchCommitScreen();
}

void QuadAddFlat3D(float x, float y, float z, float width, float height, float dz, float tu1, float tv1,
                   float tu2, float tv2, std::uint32_t diffuse, std::uint32_t specular) {
  const float right = x + width, bottom = y + height, raised = z + dz;
  double px[4], py[4], pz[4];
  px[kTL] = x, py[kTL] = y, pz[kTL] = raised;
  px[kTR] = right, py[kTR] = y, pz[kTR] = raised;
  px[kBR] = right, py[kBR] = bottom, pz[kBR] = z;
  px[kBL] = x, py[kBL] = bottom, pz[kBL] = z;
  const std::uint32_t d[4] = {diffuse, diffuse, diffuse, diffuse};
  AddColoredCorners(px, py, pz, TexFromPairs(tu1, tv1, tu2, tv2), d, specular);
}

namespace {
// Corners of a 3D quad from an origin and extents; dx 0 is an upright quad in
// the plane of constant x.
void Quad3DCorners(float x, float y, float z, float dx, float dy, float dz, float (&px)[4], float (&py)[4],
                   float (&pz)[4]) {
  const float raised = z + dz;
  if (dx != 0) {
    px[kTL] = x, py[kTL] = y, pz[kTL] = raised;
    px[kTR] = x + dx, py[kTR] = y, pz[kTR] = raised;
    px[kBR] = x + dx, py[kBR] = y + dy, pz[kBR] = z;
    px[kBL] = x, py[kBL] = y + dy, pz[kBL] = z;
  } else {
    px[kTL] = x, py[kTL] = y, pz[kTL] = raised;
    px[kTR] = x, py[kTR] = y + dy, pz[kTR] = raised;
    px[kBR] = x, py[kBR] = y + dy, pz[kBR] = z;
    px[kBL] = x, py[kBL] = y, pz[kBL] = z;
  }
}
}  // namespace

void QuadAddColored3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr,
                      TexPair br, TexPair bl, std::uint32_t diffuseTL, std::uint32_t diffuseTR,
                      std::uint32_t diffuseBL, std::uint32_t diffuseBR, std::uint32_t specular) {
  float fx[4], fy[4], fz[4];
  Quad3DCorners(x, y, z, dx, dy, dz, fx, fy, fz);
  double px[4], py[4], pz[4];
  for (int c = 0; c < 4; ++c) px[c] = fx[c], py[c] = fy[c], pz[c] = fz[c];
  std::uint32_t d[4];
  d[kTL] = diffuseTL, d[kTR] = diffuseTR, d[kBL] = diffuseBL, d[kBR] = diffuseBR;
  AddColoredCorners(px, py, pz, TexFromCorners(tl, tr, br, bl), d, specular);
}

void QuadAddLit3D(float x, float y, float z, float dx, float dy, float dz, TexPair tl, TexPair tr, TexPair br,
                  TexPair bl, float nx, float ny, float nz) {
  float px[4], py[4], pz[4];
  Quad3DCorners(x, y, z, dx, dy, dz, px, py, pz);
  const TexCorners t = TexFromCorners(tl, tr, br, bl);
  LitVertex* v = Slot(quadBatch.lit, quadBatch.litCount);
  for (int c = 0; c < 4; ++c) v[c] = LitVertex{px[c], py[c], pz[c], nx, ny, nz, t.tu[c], t.tv[c]};
  QuadBatchCommitLit3D();
}

void QuadAddBillboard(float x, float y, float z, float width, float height, const gfx::Matrix& m, float tu1,
                      float tv1, float tu2, float tv2, std::uint32_t diffuse, std::uint32_t specular,
                      float scaleX, float scaleY) {
  AddBillboard(x, y, z, width, height, m, tu1, tv1, tu2, tv2, diffuse, specular, scaleX, scaleY);
}

void QuadAddBillboardRotated(float x, float y, float z, float width, float height, const gfx::Matrix& m,
                             float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                             std::uint32_t specular, float angle, float scaleX, float scaleY) {
  const gfx::Matrix turned = angle != 0 ? MultiplyRotationZ(m, angle) : m;
  AddBillboard(x, y, z, width, height, turned, tu1, tv1, tu2, tv2, diffuse, specular, scaleX, scaleY);
}

void QuadAdd3DQuaternion(float x, float y, float z, float width, float height, float depth, float qx, float qy,
                         float qz, float qw, float tu1, float tv1, float tu2, float tv2, std::uint32_t diffuse,
                         std::uint32_t specular, float scaleX, float scaleY) {
  const TexCorners t = TexFromPairs(tu1, tv1, tu2, tv2);
  const std::uint32_t d[4] = {diffuse, diffuse, diffuse, diffuse};
  double px[4], py[4], pz[4];
  const HalfExtents hw = Halves(width);
  if (height != 0) {
    // A quad in the local x-y plane, turned by the quaternion.
    const Offsets o = CornerOffsets(hw, Halves(height));
    const Rotation3 r = QuaternionRotation(qx, qy, qz, qw);
    const double cx = x + hw.hi, cy = y + Halves(height).hi, cz = z;
    for (int c = 0; c < 4; ++c) {
      const double a = scaleX * o.dx[c], b = scaleY * o.dy[c];
      px[c] = cx + r.r[0][0] * a + r.r[0][1] * b;
      py[c] = cy + r.r[1][0] * a + r.r[1][1] * b;
      pz[c] = cz + r.r[2][0] * a + r.r[2][1] * b;
    }
  } else {
    // An upright quad spanned by width and depth, turned by the conjugate.
    const HalfExtents hd = Halves(depth);
    const Rotation3 r = QuaternionRotation(-qx, -qy, -qz, qw);
    const double cx = x + hw.hi, cz = z + hd.lo;
    double ox[4], oy[4];
    ox[kTL] = hw.lo, oy[kTL] = hd.hi;
    ox[kTR] = hw.hi, oy[kTR] = hd.hi;
    ox[kBR] = hw.hi, oy[kBR] = hd.lo;
    ox[kBL] = hw.lo, oy[kBL] = hd.lo;
    for (int c = 0; c < 4; ++c) {
      const double a = scaleX * ox[c], b = scaleY * oy[c];
      px[c] = cx + r.r[0][0] * a + r.r[0][1] * b;
      py[c] = y + r.r[2][0] * a + r.r[2][1] * b;
      pz[c] = cz + r.r[1][0] * a + r.r[1][1] * b;
    }
  }
  AddColoredCorners(px, py, pz, t, d, specular);
}

void LineDrawScreen(float x1, float y1, float x2, float y2, float tu1, float tv1, float tu2, float tv2,
                    std::uint32_t diffuse, std::uint32_t specular) {
  ScreenVertex line[2];
  SetScreen(line[0], x1, y1, tu1, tv1, diffuse, specular);
  SetScreen(line[1], x2, y2, tu2, tv2, diffuse, specular);
  Drawer().DrawPrimitiveUP(gfx::kPrimLineList, 1, line, sizeof(ScreenVertex));
}

void LineDraw3D(float x1, float y1, float z1, float x2, float y2, float z2, float tu1, float tv1, float tu2,
                float tv2, std::uint32_t diffuse, std::uint32_t specular) {
  ColoredVertex line[2];
  SetColored(line[0], x1, y1, z1, tu1, tv1, diffuse, specular);
  SetColored(line[1], x2, y2, z2, tu2, tv2, diffuse, specular);
  Drawer().DrawPrimitiveUP(gfx::kPrimLineList, 1, line, sizeof(ColoredVertex));
}

}  // namespace kiv
