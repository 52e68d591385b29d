#include "render/door_drawing.h"

#include <cmath>
#include <numbers>

#include "data/game_data.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "platform/gfx/d3d_types.h"

namespace kiv {

namespace {

// The hide styles move a texture edge by these fractions of the texture: a
// door cell is an eighth of its width and a quarter of its height.
constexpr float kCellU = 0.125f;
constexpr float kCellV = 0.25f;

struct Edges {
  double xl, yl, xr, yr;  // left and right edge positions on the floor
  double zb, zt;          // bottom and top
  float uL, uR, vT, vB;   // texture of the left, right, top and bottom edges
};

DoorQuad MakeQuad(const Edges& e) {
  DoorQuad q{};
  auto set = [](ColoredVertex& v, double x, double y, double z, float u, float t) {
    v.x = static_cast<float>(x), v.y = static_cast<float>(y), v.z = static_cast<float>(z);
    v.tu = u, v.tv = t;
  };
  set(q[0], e.xl, e.yl, e.zb, e.uL, e.vB);  // bottom-left
  set(q[1], e.xl, e.yl, e.zt, e.uL, e.vT);  // top-left
  set(q[2], e.xr, e.yr, e.zb, e.uR, e.vB);  // bottom-right
  set(q[3], e.xr, e.yr, e.zt, e.uR, e.vT);  // top-right
  return q;
}

// The flat pass draws the slide styles as the hide styles they resemble.
std::int32_t EffectiveStyle(std::int32_t style, bool flatPass) {
  if (style < kDoorNone || style > kDoorSlideSplitHorizontal) return kDoorNone;
  if (!flatPass) return style;
  switch (style) {
    case kDoorSlideLeft: return kDoorHideLeft;
    case kDoorSlideUp: return kDoorHideUp;
    case kDoorSlideRight: return kDoorHideRight;
    case kDoorSlideSplitHorizontal: return kDoorHideSplitHorizontal;
    default: return style;
  }
}

}  // namespace

std::vector<DoorQuad> BuildDoorQuads(const DoorShape& d) {
  const double w = d.width, h = d.height, a = d.amount;
  const double x0 = d.x, x1 = d.x + w, z0 = d.z, z1 = d.z + h;
  Edges e{x0, d.y, x1, d.y, z0, z1, d.mirrorU ? d.u2 : d.u1, d.mirrorU ? d.u1 : d.u2, d.mirrorV ? d.v2 : d.v1,
          d.mirrorV ? d.v1 : d.v2};
  // An advancing edge moves towards the opposite texture edge, the other way on a mirrored axis.
  const float su = d.mirrorU ? -1.0f : 1.0f, sv = d.mirrorV ? -1.0f : 1.0f;
  const float fa = d.amount;
  const double turn = a * std::numbers::pi / 2.0;
  std::vector<DoorQuad> quads;
  switch (EffectiveStyle(d.style, d.flatPass)) {
    case kDoorRotateLeft:
    case kDoorRotateLeftUp:
    case kDoorRotateLeftDown:
      e.xr = x0 + w * std::cos(turn), e.yr = d.y + w * std::sin(turn);
      break;
    case kDoorRotateRight:
    case kDoorRotateRightUp:
    case kDoorRotateRightDown:
      e.xl = x1 + w * std::cos(std::numbers::pi - turn), e.yl = d.y + w * std::sin(std::numbers::pi - turn);
      break;
    case kDoorSqueezeLeft: e.xr = x1 - w * a; break;
    case kDoorSqueezeUp: e.zb = z0 + h * a; break;
    case kDoorSqueezeRight: e.xl = x0 + w * a; break;
    case kDoorSqueezeDown: e.zt = z1 - h * a; break;
    case kDoorHideLeft:
      e.xr = x1 - w * a;
      e.uL += su * fa * kCellU;
      break;
    case kDoorHideUp:
      e.zb = z0 + h * a;
      e.vT += sv * fa * kCellV;
      break;
    case kDoorHideRight:
      e.xl = x0 + w * a;
      e.uR -= su * fa * kCellU;
      break;
    case kDoorHideDown:
      e.zt = z1 - h * a;
      e.vB -= sv * fa * kCellV;
      break;
    case kDoorSlideLeft: e.xl -= w * a, e.xr -= w * a; break;
    case kDoorSlideUp: e.zb += h * a, e.zt += h * a; break;
    case kDoorSlideRight: e.xl += w * a, e.xr += w * a; break;
    case kDoorHideSplitVertical: {
      const float vMid = (e.vT + e.vB) / 2.0f;
      Edges upper = e, lower = e;
      upper.zb = z0 + h / 2 + h * a / 2, upper.vB = vMid;
      upper.vT += sv * fa * (kCellV / 2);
      lower.zt = z0 + h / 2 - h * a / 2, lower.vT = vMid;
      lower.vB -= sv * fa * (kCellV / 2);
      quads = {MakeQuad(upper), MakeQuad(lower)};
      break;
    }
    case kDoorHideSplitHorizontal: {
      const float uMid = (e.uL + e.uR) / 2.0f;
      Edges left = e, right = e;
      left.xr = x0 + w / 2 - w * a / 2, left.uR = uMid;
      left.uL += su * fa * (kCellU / 2);
      right.xl = x0 + w / 2 + w * a / 2, right.uL = uMid;
      right.uR -= su * fa * (kCellU / 2);
      quads = {MakeQuad(left), MakeQuad(right)};
      break;
    }
    case kDoorSlideSplitHorizontal: {
      const float uMid = (e.uL + e.uR) / 2.0f;
      Edges left = e, right = e;
      left.xl = x0 - w * a / 2, left.xr = x0 + w / 2 - w * a / 2, left.uR = uMid;
      right.xl = x0 + w / 2 + w * a / 2, right.xr = x1 + w * a / 2, right.uL = uMid;
      quads = {MakeQuad(left), MakeQuad(right)};
      break;
    }
    default: break;
  }
  if (quads.empty()) quads.push_back(MakeQuad(e));
  if (d.flatPass) {
    // The upright quad laid onto the map plane.
    for (DoorQuad& q : quads)
      for (ColoredVertex& v : q) v.y += v.z, v.z = static_cast<float>(z0);
  }
  return quads;
}

namespace {

void DrawQuads(std::vector<DoorQuad>& quads, const gfx::TexturePtr& texture, std::uint32_t diffuse,
               std::uint32_t specular, bool setSpecular) {
  CurrentDrawDevice().SetTexture(0, texture);
  BatchDrawer& drawer = CurrentBatchDrawer();
  for (DoorQuad& q : quads) {
    for (ColoredVertex& v : q) {
      v.diffuse = diffuse;
      if (setSpecular) v.specular = specular;
    }
    drawer.DrawPrimitiveUP(gfx::kPrimTriangleStrip, 2, q.data(), sizeof(ColoredVertex));
  }
}

}  // namespace

void DrawDoor(std::int32_t doorSet, float x, float y, float z, float u1, float v1, float u2, float v2,
              std::uint32_t colour, std::uint32_t overlayColour, std::uint32_t specular, std::int32_t openStyle,
              float openAmount, bool mirrorU, bool mirrorV, bool flatPass, std::int32_t width, float height) {
  if (doorSet < 0 || doorSet >= static_cast<std::int32_t>(gameData.doorSets.size())) return;
  const DoorSet& set = gameData.doorSets[static_cast<std::size_t>(doorSet)];
  DoorShape shape{x, y, z, u1, v1, u2, v2, openStyle, openAmount, mirrorU, mirrorV, flatPass,
                  static_cast<float>(width), height};
  if (flatPass) {
    if (!DoorFlatTexture(set)) return;
    std::vector<DoorQuad> quads = BuildDoorQuads(shape);
    DrawQuads(quads, DoorFlatTexture(set), colour, specular, true);
    return;
  }
  if (!DoorTexture(set) && !DoorOverlayTexture(set)) return;
  std::vector<DoorQuad> quads = BuildDoorQuads(shape);
  for (DoorQuad& q : quads)
    for (ColoredVertex& v : q) v.specular = specular;
  if (DoorTexture(set)) DrawQuads(quads, DoorTexture(set), colour, specular, true);
  // The overlay changes only the diffuse colour.
  if (DoorOverlayTexture(set)) DrawQuads(quads, DoorOverlayTexture(set), overlayColour, 0, false);
}

}  // namespace kiv
