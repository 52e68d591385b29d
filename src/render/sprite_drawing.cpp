#include "render/sprite_drawing.h"

#include <cmath>

#include "core/angles.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/number_text.h"
#include "core/quaternion_math.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/render_hooks.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"

namespace kiv {

std::array<FramePart, 4> spriteHoldingPoints{};
std::int32_t spriteScriptSlot = -1;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::int32_t kBillboardFlags = kLayerBillboardX | kLayerBillboardY | kLayerBillboardZ;

gfx::Quaternion ToGfx(const Quaternion& q) { return {q.x, q.y, q.z, q.w}; }
Quaternion FromGfx(const gfx::Quaternion& q) { return {q.x, q.y, q.z, q.w}; }

Matrix4 ToMatrix4(const gfx::Matrix& m) {
  Matrix4 out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out.m[r][c] = m.m[r][c];
  return out;
}

Viewport ToViewport(const gfx::Viewport& v) {
  return {static_cast<std::int32_t>(v.x), static_cast<std::int32_t>(v.y), static_cast<std::int32_t>(v.width),
          static_cast<std::int32_t>(v.height), v.minZ, v.maxZ};
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

std::int32_t Sgn(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Index of the texture frame shown e milliseconds into the layer's animation.
std::size_t TextureFrameAt(const SpriteLayer& layer, std::int32_t e) {
  std::size_t index = layer.frameEntries.size() - 1;
  for (std::size_t i = 0; i < layer.frameEntries.size(); ++i) {
    e -= layer.frameEntries[i].value;
    if (e < 0) {
      index = i;
      break;
    }
  }
  return index;
}

std::size_t TextureFrame(const SpriteLayer& layer, std::int32_t time, std::uint8_t playMode) {
  const std::int32_t length = LayerAnimationLength(layer);
  if (length <= 0) return 0;
  const std::int32_t e = playMode == 0 ? PositiveMod(time, length) : std::min(time, length - 1);
  return TextureFrameAt(layer, e);
}

gfx::TexturePtr LayerTexture(const SpriteLayer& layer, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(layer.frames.textures.size())) return nullptr;
  return layer.frames.textures[static_cast<std::size_t>(index)];
}

// A part of the given frame taken the same way as the part being drawn.
const FramePart* PartOf(const SpriteDirection& direction, std::int32_t frame, std::size_t j) {
  if (frame < 0 || frame >= static_cast<std::int32_t>(direction.builtFrames.size())) return nullptr;
  const SpriteFrame& f = direction.builtFrames[static_cast<std::size_t>(frame)];
  return j < f.parts.size() ? &f.parts[j] : nullptr;
}

// Runs the property scripts of a scripted part and lets their results replace
// the key's values.
void RunPropertyScripts(const SpriteLayer& layer, std::int32_t layerIndex, FramePart& key, std::int32_t scriptMap,
                        std::int32_t scriptIndex) {
  auto run = [&](std::int32_t slot, double& value) {
    const Script& script = layer.scripts[static_cast<std::size_t>(slot)];
    if (script.index < 0) return false;
    spriteScriptSlot = script.index;
    TriggerRun trigger;
    trigger.ownerKind = kOwnerSpriteTexture;
    trigger.ownerIndex = layerIndex;
    trigger.subIndex = slot;
    trigger.map = scriptMap;
    trigger.relateActor = scriptIndex;
    const Variant result = ScriptRunTrigger(trigger);
    if (result.IsEmpty() || result.Type() == kVarError || result.IsArray() || result.Type() == kVarNull)
      return false;
    try {
      value = ToNumber(result);
    } catch (const KivError&) {
      return false;  // a value that cannot convert leaves the value as it was
    }
    return true;
  };
  double v = 0;
  if (run(0, v)) key.x = RoundToLong(v);
  if (run(1, v)) key.y = RoundToLong(v);
  if (run(2, v)) key.z = RoundToLong(v);
  if (run(3, v)) key.scaleX = static_cast<float>(v);
  if (run(4, v)) key.scaleY = static_cast<float>(v);
  if (run(5, v)) key.scaleZ = static_cast<float>(v);
  bool anyAngle = false;
  for (std::size_t s = 6; s <= 8; ++s) anyAngle |= layer.scripts[s].index >= 0;
  if (anyAngle) {
    Vector3 angles = QuaternionToEuler(key.rotation);
    if (run(6, v)) angles.x = static_cast<float>(v);
    if (run(7, v)) angles.y = static_cast<float>(v);
    if (run(8, v)) angles.z = static_cast<float>(v);
    key.rotation = QuaternionFromYawPitchRoll(angles.x, angles.y, angles.z);
  }
  if (run(9, v)) key.color = static_cast<std::uint32_t>(RoundToLong(v));
}

struct LayerStates {
  bool additive = false, smooth = false, twoSided = false, screen = false, fogOff = false, noDepthWrite = false;
  bool slotsPaused = false, flushFirst = false;
  std::uint32_t fog = 0;
};

// Whether the layer changes a state for its quads: slotted quads pending from
// earlier layers are drawn first, and the layer's own before the states go back.
bool ChangesStates(std::int32_t flags, bool particles) {
  const std::int32_t changing = renderHooks.PickPassMode() == 0 ? (kLayerAdditive | kLayerSmooth | kLayerTwoSided) : 0;
  return particles || (flags & (changing | kLayerScreenOverlay)) != 0;
}

LayerStates ApplyLayerStates(DrawDevice& device, std::int32_t flags, std::int32_t drawMode, bool particles) {
  LayerStates s;
  if (quadBatch.slotting && ChangesStates(flags, particles)) QuadBatchFlushSlotted();
  // Screen quads take the device's texture: slotting pauses for them.
  s.slotsPaused = quadBatch.slotting && (flags & kLayerScreenOverlay) != 0;
  if (s.slotsPaused) quadBatch.slotting = false;
  if (renderHooks.PickPassMode() == 0) {
    if (flags & kLayerAdditive) {
      device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendOne);
      s.additive = true;
    }
    if (flags & kLayerSmooth) {
      device.SetTextureStageState(0, gfx::kTssMinFilter, gfx::kTexfLinear);
      device.SetTextureStageState(0, gfx::kTssMagFilter, gfx::kTexfLinear);
      s.smooth = true;
    }
    if (flags & kLayerTwoSided) {
      device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
      s.twoSided = true;
    }
  }
  if (flags & kLayerScreenOverlay) {
    device.SetVertexShader(kScreenVertexFormat);
    device.SetPixelShader(0);
    s.screen = true;
    if ((flags & kLayerUnlit) && drawMode != 2) {
      s.fog = device.GetRenderState(gfx::kRsFogEnable);
      device.SetRenderState(gfx::kRsFogEnable, 0);
      s.fogOff = true;
    }
  }
  if (particles) {
    device.SetRenderState(gfx::kRsZWriteEnable, 0);
    s.noDepthWrite = true;
  }
  s.flushFirst = quadBatch.slotting && ChangesStates(flags, particles);
  return s;
}

void RestoreLayerStates(DrawDevice& device, const LayerStates& s) {
  if (s.flushFirst) QuadBatchFlushSlotted();
  if (s.slotsPaused) quadBatch.slotting = true;
  if (s.additive) device.SetRenderState(gfx::kRsDestBlend, gfx::kBlendInvSrcAlpha);
  if (s.smooth) {
    device.SetTextureStageState(0, gfx::kTssMinFilter, gfx::kTexfPoint);
    device.SetTextureStageState(0, gfx::kTssMagFilter, gfx::kTexfPoint);
  }
  if (s.twoSided) device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  if (s.screen) {
    device.SetVertexShader(kColoredVertexFormat);
    device.SetPixelShader(0);
  }
  if (s.fogOff) device.SetRenderState(gfx::kRsFogEnable, s.fog);
  if (s.noDepthWrite) device.SetRenderState(gfx::kRsZWriteEnable, 1);
}

// Everything one image part needs to place and draw its quads.
struct PartPlacement {
  const MapView* view = nullptr;
  const SpriteLayer* layer = nullptr;
  FramePart key;
  gfx::Quaternion rotation;
  float x = 0, y = 0, z = 0;           // sprite position
  float scaleX = 1, scaleY = 1, scaleZ = 1;
  std::int32_t offX = 0, offY = 0;     // turned and mirrored offset
  bool mirrorX = false, mirrorY = false;
  std::uint32_t colour = kWhite;       // before the key colour
  std::uint32_t pickColour = 0;
  float roll = 0;
  std::int32_t drawMode = 0;
  float u1 = 0, v1 = 0, u2 = 1, v2 = 1;
  gfx::Matrix basis;                   // billboard basis
  float X() const { return x + scaleX * static_cast<float>(offX); }
  float Y() const { return y + scaleY * static_cast<float>(offY); }
  float Z() const { return z + scaleZ * static_cast<float>(key.z); }
};

gfx::Matrix BillboardBasis(const PartPlacement& p, std::int32_t flags) {
  const MapView& view = *p.view;
  const gfx::Vector3 eye = view.eye;
  gfx::Vector3 target = eye;
  const bool bx = (flags & kLayerBillboardX) != 0, by = (flags & kLayerBillboardY) != 0,
             bz = (flags & kLayerBillboardZ) != 0;
  const float tx = p.X(), ty = p.Y(), tz = p.Z();
  if (bx && bz) {
    target.x = tx;
    if (view.screenView != 0) target.y = ty;
    target.z = tz;
  } else if (bx) {
    if (view.screenView != 0) target.y = ty;
    target.z = tz;
  } else if (bz) {
    target.x = tx;
    if (view.screenView != 0) target.y = ty;
  } else if (by) {
    target.y = eye.y - 1;
  }
  gfx::Vector3 up{0, 0, 1};
  if (by || ((view.viewMode == 1 || view.viewMode == 5) && (bx || bz)))
    up = view.up;
  else if (target.y == eye.y && bx)
    up = {0, -1, 0};
  return gfx::MatrixMultiply(gfx::MatrixLookAtLH(eye, target, up), gfx::MatrixRotationQuaternion(p.rotation));
}

// The batch keeps one vertex count for all kinds: only the kind in use is flushed.
void FlushPending(bool screen) {
  if (screen)
    QuadBatchFlushScreen();
  else
    QuadBatchFlushColored3D();
}

// Draws one piece of the chosen texture frame, with its tiled copies.
void DrawPiece(DrawDevice& device, const PartPlacement& p, const FrameGroup& frame, std::size_t pieceIndex) {
  const ImageFrame& piece = frame.frames[pieceIndex];
  const SpriteLayer& layer = *p.layer;
  const std::int32_t flags = layer.flags;
  float sx = p.scaleX, sy = p.scaleY, sz = p.scaleZ;
  const bool tileX = (flags & kLayerTileX) != 0;
  const bool tileY = (flags & kLayerTileY) != 0;
  const bool tileZ = !tileY && (flags & kLayerTileZ) != 0;
  double cx = 1, cy = 1;
  if (tileX) cx = static_cast<double>(sx) * p.key.scaleX, sx = 1;
  if (tileY) cy = static_cast<double>(sy) * p.key.scaleY, sy = 1;
  if (tileZ) cy = static_cast<double>(sz) * p.key.scaleY, sz = 1;
  // A repeat count of 0 has no copies to draw.
  if ((tileX && cx == 0) || ((tileY || tileZ) && cy == 0)) return;
  if (p.key.scaleX == 0 || (!(tileY || tileZ) && p.key.scaleY == 0)) return;
  const float X = p.x + sx * static_cast<float>(p.offX), Y = p.y + sy * static_cast<float>(p.offY),
              Z = p.z + sz * static_cast<float>(p.key.z);
  const float fw = static_cast<float>(frame.cellWidth), fh = static_cast<float>(frame.cellHeight);
  const float pw = static_cast<float>(piece.width), ph = static_cast<float>(piece.height);
  const std::uint32_t colour = ColorModulate(p.colour, p.key.color);
  const gfx::Quaternion& q = p.rotation;
  const Quaternion qc = FromGfx(q);
  const float screenScale = renderHooks.ScreenScale();
  device.SetTexture(0, LayerTexture(layer, piece.image));

  const std::int32_t stepX = tileX ? Sgn(cx) : 1, stepY = (tileY || tileZ) ? Sgn(cy) : 1;
  const std::int32_t endX = tileX ? RoundAwayFromZero(cx) - stepX : 0;
  const std::int32_t endY = (tileY || tileZ) ? RoundAwayFromZero(cy) - stepY : 0;
  const std::int32_t lastX = static_cast<std::int32_t>(std::trunc(cx)), lastY = static_cast<std::int32_t>(std::trunc(cy));
  for (std::int32_t i = 0; stepX > 0 ? i <= endX : i >= endX; i += stepX) {
    for (std::int32_t j = 0; stepY > 0 ? j <= endY : j >= endY; j += stepY) {
      float w = p.key.scaleX * pw, h = p.key.scaleY * ph;
      float pu1 = piece.textureLeft, pv1 = piece.textureTop, pu2 = piece.textureRight, pv2 = piece.textureBottom;
      if (tileX) {
        w = static_cast<float>(stepX) * pw;
        if (i == lastX) {
          const float f = static_cast<float>(std::fabs(cx - i));
          w *= f;
          pu2 = pu1 + f * (pu2 - pu1);
        }
      }
      if (tileY || tileZ) {
        h = static_cast<float>(stepY) * ph;
        if (j == lastY) {
          const float f = static_cast<float>(std::fabs(cy - j));
          h *= f;
          pv2 = pv1 + f * (pv2 - pv1);
        }
      }
      float left = 0, top = 0, depth = Z;
      const bool billboard = p.drawMode == 0 && (flags & (kBillboardFlags | kLayerFacesCamera)) != 0;
      if (billboard) {
        left = X - p.key.scaleX * fw / 2 + w / 2;
        top = Y - p.key.scaleY * fh / 2 + h / 2;
      } else if (tileX || tileY || tileZ) {
        const float ox = (static_cast<float>(i) - static_cast<float>(cx) / 2) * fw + w / 2;
        const float oy = (static_cast<float>(j) - static_cast<float>(cy) / 2) * fh + h / 2;
        left = X - w / 2 + QuaternionRotatePlanarX(ox, oy, qc);
        top = Y - h / 2 + QuaternionRotatePlanarY(ox, oy, qc);
        depth = Z + QuaternionRotatePlanarZ(ox, oy, qc);
      } else {
        left = X - p.key.scaleX * fw / 2;
        top = Y - p.key.scaleY * fh / 2;
      }
      if (pieceIndex > 0) {
        left += static_cast<float>(piece.x);
        top += static_cast<float>(piece.y);
      }
      const float du = p.mirrorX ? pu1 - pu2 : pu2 - pu1, dv = p.mirrorY ? pv1 - pv2 : pv2 - pv1;
      const float baseU = p.mirrorX ? pu2 : pu1, baseV = p.mirrorY ? pv2 : pv1;
      const float tu1 = baseU + du * p.u1, tu2 = baseU + du * p.u2;
      const float tv1 = baseV + dv * p.v1, tv2 = baseV + dv * p.v2;
      if (p.drawMode == 2) {
        QuadAddScreenQuaternion(left, top, w, h, q.x, q.y, q.z, q.w, tu1, tv1, tu2, tv2, colour, p.pickColour,
                                sx, sy);
        QuadBatchFlushScreen();
      } else if (flags & kLayerScreenOverlay) {
        const Vector3 s = ProjectToScreen(X, Y, Z, ToViewport(p.view->viewport), ToMatrix4(p.view->projection),
                                          ToMatrix4(p.view->view), ToMatrix4(p.view->world));
        QuadAddScreenQuaternion(std::trunc(s.x) + (left - X) * screenScale, std::trunc(s.y) + (top - Y) * screenScale,
                                w * screenScale, h * screenScale, q.x, q.y, q.z, q.w, tu1, tv1, tu2, tv2, colour,
                                p.pickColour, sx, sy);
        QuadBatchFlushScreen();
      } else if (flags & kLayerFacesCamera) {
        const gfx::Matrix m = gfx::MatrixMultiply(gfx::MatrixRotationQuaternion(q), p.view->view);
        const float squash = p.view->screenView == 0 ? 0.75f : 1.0f;
        QuadAddBillboard(left, top, depth, w, h, m, tu1, tv1, tu2, tv2, colour, p.pickColour, sx, sy * squash);
      } else if (p.drawMode == 1) {
        QuadAdd3DQuaternion(left, top + static_cast<float>(layer.valueK), 0, w, h, 0, q.x, q.y, q.z, q.w, tu1, tv1,
                            tu2, tv2, colour, p.pickColour, sx, sy);
      } else if (flags & kBillboardFlags) {
        QuadAddBillboard(left, top, depth, w, h, p.basis, tu1, tv1, tu2, tv2, colour, p.pickColour, sx, sy);
      } else {
        QuadAdd3DQuaternion(left, top, depth, w, h, 0, q.x, q.y, q.z, q.w, tu1, tv1, tu2, tv2, colour,
                            p.pickColour, sx, sy);
      }
      if (p.drawMode != 2 && !(flags & kLayerScreenOverlay) && !quadBatch.slotting) QuadBatchFlushColored3D();
    }
  }
}

void DrawParticles(DrawDevice& device, const PartPlacement& p, PartState& emitter, bool advance,
                   std::uint8_t playMode) {
  const SpriteLayer& layer = *p.layer;
  const std::int32_t flags = layer.flags;
  const std::uint8_t particleFlags = LayerParticleFlags(layer);
  const bool local = (particleFlags & 1) != 0;
  const bool turnWithSprite = (particleFlags & 8) != 0;
  const std::int32_t interval = RandomWhole(layer.emissionIntervalMin, layer.emissionIntervalMax);
  const std::int32_t tick = renderHooks.TickMilliseconds();
  const float ft = static_cast<float>(tick);
  const float cr = std::cos(p.roll), sr = std::sin(p.roll);
  const float X = p.X(), Y = p.Y(), Z = p.Z();
  const float screenScale = renderHooks.ScreenScale();
  const bool screen = p.drawMode == 2 || (flags & kLayerScreenOverlay) != 0;
  std::int32_t deadSlot = -1;
  const gfx::Texture* lastTexture = nullptr;
  bool anyTexture = false;
  for (std::size_t i = 0; i < emitter.particles.size(); ++i) {
    Particle& particle = emitter.particles[i];
    if (advance) particle.remaining -= tick;
    if (particle.remaining < 1) {
      deadSlot = static_cast<std::int32_t>(i);
      continue;
    }
    const std::int32_t age = particle.life - particle.remaining;
    const float a = particle.life > 0 ? static_cast<float>(age) / static_cast<float>(particle.life) : 1.0f;
    if (advance) {
      const float vx = Lerp(particle.velocityStartX, particle.velocityEndX, a);
      const float vy = Lerp(particle.velocityStartY, particle.velocityEndY, a);
      const float vz = Lerp(particle.velocityStartZ, particle.velocityEndZ, a);
      particle.x += vx * ft * cr - vy * ft * sr;
      particle.y += vx * ft * sr + vy * ft * cr;
      particle.z += vz * ft;
    }
    const float size = Lerp(particle.sizeStart, particle.sizeEnd, a);
    const float angle = Lerp(particle.angleStart, particle.angleEnd, a);
    gfx::Quaternion q = ToGfx(QuaternionFromYawPitchRoll(0, 0, angle));
    if (turnWithSprite && local) q = gfx::QuaternionMultiply(q, p.rotation);
    float px = particle.x, py = particle.y, pz = particle.z;
    if (local) px += X, py += Y, pz += Z;
    if (layer.frameEntries.empty() || layer.frames.frameGroups.empty()) continue;
    const std::size_t frameIndex =
        std::min(TextureFrame(layer, age, playMode), layer.frames.frameGroups.size() - 1);
    const FrameGroup& frame = layer.frames.frameGroups[frameIndex];
    if (frame.frames.empty()) continue;
    const ImageFrame& piece = frame.frames.front();
    const float w = p.scaleX * p.key.scaleX * static_cast<float>(piece.width) * size;
    const float h = p.scaleY * p.key.scaleY * static_cast<float>(piece.height) * size;
    const gfx::TexturePtr texture = LayerTexture(layer, piece.image);
    if (!anyTexture || texture.get() != lastTexture) {
      FlushPending(screen);
      device.SetTexture(0, texture);
      lastTexture = texture.get();
      anyTexture = true;
    }
    const std::uint32_t colour = ColorModulate(p.colour, ColorLerp(particle.colourStart, particle.colourEnd, a));
    const float tu1 = piece.textureLeft, tv1 = piece.textureTop, tu2 = piece.textureRight,
                tv2 = piece.textureBottom;
    if (p.drawMode == 2) {
      QuadAddScreenQuaternion(px - w / 2, py - h / 2, w, h, q.x, q.y, q.z, q.w, tu1, tv1, tu2, tv2, colour,
                              p.pickColour, 1, 1);
    } else if (flags & kLayerScreenOverlay) {
      const Vector3 s = ProjectToScreen(px, py, pz, ToViewport(p.view->viewport), ToMatrix4(p.view->projection),
                                        ToMatrix4(p.view->view), ToMatrix4(p.view->world));
      QuadAddScreenRotated(std::trunc(s.x) - w * screenScale / 2, std::trunc(s.y) - h * screenScale / 2,
                           w * screenScale, h * screenScale, tu1, tv1, tu2, tv2, colour, p.pickColour, angle);
    } else if (flags & kLayerFacesCamera) {
      QuadAddBillboardRotated(px, py, pz, w, h, p.view->view, tu1, tv1, tu2, tv2, colour, p.pickColour, angle, 1,
                              p.view->screenView == 0 ? 0.75f : 1.0f);
    } else if (flags & kBillboardFlags) {
      QuadAddBillboard(px, py, pz, w, h, p.basis, tu1, tv1, tu2, tv2, colour, p.pickColour, 1, 1);
    } else {
      QuadAdd3DQuaternion(px - w / 2, py - h / 2, pz, w, h, 0, q.x, q.y, q.z, q.w, tu1, tv1, tu2, tv2, colour,
                          p.pickColour, 1, 1);
    }
  }
  FlushPending(screen);
  if (!advance) return;
  emitter.emitCountdown -= tick;
  if (emitter.emitCountdown >= 1) return;
  emitter.emitCountdown += interval;
  if (emitter.emissionLimit != -1 && emitter.emitted >= emitter.emissionLimit) return;
  if (deadSlot < 0) {
    deadSlot = static_cast<std::int32_t>(emitter.particles.size());
    emitter.particles.emplace_back();
  }
  ++emitter.emitted;
  Particle& born = emitter.particles[static_cast<std::size_t>(deadSlot)];
  InitParticle(born, layer);
  if (!local) {
    born.x += X, born.y += Y, born.z += Z;
    if (turnWithSprite) born.angleStart += p.roll, born.angleEnd += p.roll;
  }
}

// The emitter of part j; parts beyond the list the instance started with get
// fresh emitters, made as the instance's own were.
PartState& EmitterOf(SpriteInstance& instance, const SpriteDirection& direction, std::size_t j) {
  if (!instance.started) InitSpriteFrameDelays(instance, direction);
  while (instance.partStates.size() <= j) {
    PartState& state = instance.partStates.emplace_back();
    const std::size_t index = instance.partStates.size() - 1;
    const FramePart* part = direction.builtFrames.empty() ? nullptr : PartOf(direction, 0, index);
    if (part != nullptr && part->kind == kPartLayer && part->index >= 0 &&
        part->index < static_cast<std::int32_t>(direction.layers.size())) {
      const SpriteLayer& layer = direction.layers[static_cast<std::size_t>(part->index)];
      if (layer.emissionLimitMin > 0 || layer.emissionLimitMax > 0)
        state.emissionLimit = RandomWhole(layer.emissionLimitMin, layer.emissionLimitMax);
    }
  }
  return instance.partStates[j];
}

}  // namespace

std::int32_t RandomWhole(std::int32_t min, std::int32_t max) {
  return static_cast<std::int32_t>(
      std::floor(RandomNext() * (static_cast<double>(max) - min + 1.0) + static_cast<double>(min)));
}

void InitParticle(Particle& particle, const SpriteLayer& layer) {
  auto draw = [](float min, float max) { return min + (max - min) * RandomSingle(); };
  particle.life = RandomWhole(layer.particleLifeMin, layer.particleLifeMax);
  particle.remaining = particle.life;
  const auto& sizes = layer.particleRangesP;   // start size pair, size change pair
  const auto& angles = layer.particleRangesQ;  // start angle pair, angle change pair
  particle.sizeStart = draw(sizes[0], sizes[1]);
  particle.sizeEnd = particle.sizeStart + draw(sizes[2], sizes[3]);
  particle.angleStart = draw(angles[0], angles[1]);
  particle.angleEnd = particle.angleStart + draw(angles[2], angles[3]);
  const auto& v = layer.particleRangesS;  // start velocity x, y, z pairs, then their change pairs
  particle.velocityStartX = draw(v[0], v[1]);
  particle.velocityStartY = draw(v[2], v[3]);
  particle.velocityStartZ = draw(v[4], v[5]);
  particle.velocityEndX = particle.velocityStartX + draw(v[6], v[7]);
  particle.velocityEndY = particle.velocityStartY + draw(v[8], v[9]);
  particle.velocityEndZ = particle.velocityStartZ + draw(v[10], v[11]);
  particle.colourStart = ColorLerp(layer.startColorA, layer.startColorB, RandomSingle());
  particle.colourEnd = ColorLerp(layer.endColorA, layer.endColorB, RandomSingle());
  const auto& r = layer.spreadR;  // offset radius x, y, z pairs
  const bool hx = r[1] > 0, hy = r[3] > 0, hz = r[5] > 0;
  float x = 0, y = 0, z = 0;
  if (hx && hy && hz) {
    z = RandomSingle() * 2 - 1;
    const float angle = RandomSingle() * 6.2831855f;
    const float ring = std::sqrt(1 - z * z);
    x = ring * std::cos(angle);
    y = ring * std::sin(angle);
  } else if (hx && hy) {
    const float angle = RandomSingle() * 6.2831855f;
    x = std::cos(angle), y = std::sin(angle);
  } else if (hy && hz) {
    const float angle = RandomSingle() * 6.2831855f;
    y = std::cos(angle), z = std::sin(angle);
  } else if (hx && hz) {
    const float angle = RandomSingle() * 6.2831855f;
    x = std::cos(angle), z = std::sin(angle);
  } else if (hx || hy || hz) {
    const float sign = RandomNext() >= 0.5 ? -1.0f : 1.0f;
    x = y = z = sign;
  }
  particle.x = draw(r[0], r[1]) * x;
  particle.y = draw(r[2], r[3]) * y;
  particle.z = draw(r[4], r[5]) * z;
}

std::int32_t DrawSpritePart(const SpritePose& pose, std::int32_t group, std::int32_t order, std::int32_t direction,
                            std::int32_t time, SpriteInstance& instance, const MapView& view, float x, float y,
                            float z, float scaleX, float scaleY, float scaleZ, bool mirrorX, bool mirrorY,
                            std::uint32_t colour, std::uint32_t colour2, std::uint32_t lightColour,
                            std::uint32_t pickColour, float yaw, float pitch, float roll, std::int32_t drawMode,
                            float u1, float v1, float u2, float v2, bool advance, std::int32_t measuringMode,
                            std::int32_t scriptMap, std::int32_t scriptIndex) {
  if (renderHooks.PickPassMode() != 0) advance = false;
  if (direction < 0 || direction >= kDirectionCount) return 0;
  const Quaternion spriteRotation = QuaternionFromYawPitchRoll(yaw, pitch, roll);
  if ((pose.mirrorMask & DirectionBit(direction)) != 0) {
    // Directions 2 and 6 have no partner: their bit is ignored.
    const std::int32_t mirrored = DirectionMirror(direction);
    if (mirrored >= 0 && mirrored < kDirectionCount) {
      direction = mirrored;
      mirrorX = !mirrorX;
    }
  }
  const SpriteDirection& dir = pose.directions[static_cast<std::size_t>(direction)];
  const std::int32_t lastFrame = DirectionLastFrame(dir);
  if (lastFrame < 0) return 0;
  const std::uint8_t playMode = DirectionPlayMode(dir);
  if (playMode > 1) return 0;
  const std::int32_t n = lastFrame + 1;
  const std::int32_t duration = dir.frameDuration;
  // A frame duration of 0 shows frame 0 unblended.
  const std::int32_t k = duration > 0 ? time / duration : 0;
  const std::int32_t current = playMode == 0 ? PositiveMod(k, n) : std::clamp(k, 0, lastFrame);
  const std::int32_t next = playMode == 0 ? PositiveMod(k + 1, n) : std::clamp(k + 1, 0, lastFrame);
  const float t = duration > 0 ? static_cast<float>(PositiveMod(time, duration)) / static_cast<float>(duration) : 0;
  const bool blend = n != 1 && duration > 0;
  const SpriteFrame& frame = dir.builtFrames[static_cast<std::size_t>(current)];
  DrawDevice& device = CurrentDrawDevice();
  std::int32_t mask = 0;
  const float cr = std::cos(roll), sr = std::sin(roll);

  for (std::size_t j = 0; j < frame.parts.size(); ++j) {
    FramePart key = frame.parts[j];
    if (measuringMode == kDrawMeasure && key.kind != kPartSlot) continue;
    if (key.kind != kPartLayer && key.kind != kPartSlot) continue;
    const SpriteLayer* layer = nullptr;
    if (key.kind == kPartLayer) {
      if (key.index < 0 || key.index >= static_cast<std::int32_t>(dir.layers.size())) continue;
      layer = &dir.layers[static_cast<std::size_t>(key.index)];
      if (group != kAllSpriteGroups && LayerGroup(*layer) != group) continue;
      if (order >= 0) {
        if ((layer->flags & kLayerUncoloured) ? order != 0 : order != LayerOrder(*layer)) continue;
      }
    } else {
      if (key.index < 0 || key.index >= kSlotEntryCount) continue;  // only slots 0..3 exist
      if (group != kAllSpriteGroups && HoldingPointGroup(dir, static_cast<std::size_t>(key.index)) != group)
        continue;
    }
    if (blend) {
      const FramePart* b = PartOf(dir, next, j);
      // Holding points never blend: their t is cut to its integer part.
      const float tt = key.kind == kPartSlot ? std::trunc(t) : t;
      if (b != nullptr) {
        const FramePart& a = frame.parts[j];
        key.x = RoundToLong((1.0 - tt) * a.x + static_cast<double>(tt) * b->x);
        key.y = RoundToLong((1.0 - tt) * a.y + static_cast<double>(tt) * b->y);
        key.z = drawMode != 0 ? 0 : RoundToLong((1.0 - tt) * a.z + static_cast<double>(tt) * b->z);
        key.color = ColorLerp(a.color, b->color, tt);
        key.scaleX = Lerp(a.scaleX, b->scaleX, tt);
        key.scaleY = Lerp(a.scaleY, b->scaleY, tt);
        key.scaleZ = Lerp(a.scaleZ, b->scaleZ, tt);
        key.rotation = FromGfx(gfx::QuaternionSlerp(ToGfx(a.rotation), ToGfx(b->rotation), tt));
      } else if (drawMode != 0) {
        key.z = 0;
      }
    } else if (drawMode != 0) {
      key.z = 0;
    }
    if (key.scripted != 0 && layer != nullptr) RunPropertyScripts(*layer, key.index, key, scriptMap, scriptIndex);

    std::int32_t offX = RoundToLong(static_cast<double>(key.x) * cr - static_cast<double>(key.y) * sr);
    std::int32_t offY = RoundToLong(static_cast<double>(key.x) * sr + static_cast<double>(key.y) * cr);
    gfx::Quaternion rotation = gfx::QuaternionMultiply(ToGfx(key.rotation), ToGfx(spriteRotation));
    if (mirrorX) {
      offX = -offX;
      rotation.y = -rotation.y;
      rotation.z = -rotation.z;
    }
    if (mirrorY) {
      offY = -offY;
      rotation.x = -rotation.x;
      rotation.w = -rotation.w;
    }
    if (key.kind == kPartSlot) {
      FramePart stored = key;
      stored.x = offX;
      stored.y = offY;
      stored.rotation = FromGfx(rotation);
      spriteHoldingPoints[static_cast<std::size_t>(key.index)] = stored;
      mask |= 1 << key.index;
      continue;
    }
    if (layer->frameEntries.empty()) continue;

    PartPlacement p;
    p.view = &view;
    p.layer = layer;
    p.key = key;
    p.rotation = rotation;
    p.x = x, p.y = y, p.z = z;
    p.scaleX = scaleX, p.scaleY = scaleY, p.scaleZ = scaleZ;
    p.offX = offX, p.offY = offY;
    p.mirrorX = mirrorX, p.mirrorY = mirrorY;
    p.pickColour = pickColour;
    p.roll = roll;
    p.drawMode = drawMode;
    p.u1 = u1, p.v1 = v1, p.u2 = u2, p.v2 = v2;
    const std::int32_t flags = layer->flags;
    std::uint32_t c = colour;
    if (drawMode != 1) {
      if (flags & kLayerUnlit)
        c = (flags & kLayerUncoloured) ? kWhite : colour;
      else if (flags & kLayerUncoloured)
        c = lightColour;
      else
        c = ColorModulate(colour, lightColour);
    }
    p.colour = ColorModulate(c, colour2);
    if ((flags & kBillboardFlags) && !(flags & (kLayerScreenOverlay | kLayerFacesCamera)))
      p.basis = BillboardBasis(p, flags);

    const bool particles = (flags & kLayerParticles) != 0;
    const LayerStates states = ApplyLayerStates(device, flags, drawMode, particles);
    if (particles) {
      DrawParticles(device, p, EmitterOf(instance, dir, j), advance, playMode);
    } else if (!layer->frames.frameGroups.empty()) {
      const std::size_t index = std::min(TextureFrame(*layer, time, playMode), layer->frames.frameGroups.size() - 1);
      const FrameGroup& textureFrame = layer->frames.frameGroups[index];
      for (std::size_t piece = 0; piece < textureFrame.frames.size(); ++piece)
        DrawPiece(device, p, textureFrame, piece);
    }
    RestoreLayerStates(device, states);
  }
  return mask;
}

void DrawSprite(std::int32_t spriteSet, std::int32_t time, SpriteInstance& instance, const MapView& view, float x,
                float y, float z, float scaleX, float scaleY, float scaleZ, bool mirrorX, bool mirrorY,
                std::uint32_t colour, std::uint32_t lightColour, std::uint32_t pickColour, float angle,
                std::int32_t drawMode, float u1, float v1, float u2, float v2, bool advance) {
  if (spriteSet < 0 || spriteSet >= static_cast<std::int32_t>(gameData.spriteSets.size())) return;
  std::int32_t pose = 0, direction = 0;
  FindSpriteDirection(spriteSet, pose, direction);
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
  if (pose < 0 || pose >= static_cast<std::int32_t>(set.poses.size())) return;
  const SpritePose& record = set.poses[static_cast<std::size_t>(pose)];
  for (const std::int32_t g : SpriteDrawGroups(set)) {
    for (std::int32_t o = 0; o <= SpriteLastDrawOrder(set); ++o) {
      DrawSpritePart(record, g, o, direction, time, instance, view, x, y, z, scaleX, scaleY, scaleZ, mirrorX,
                     mirrorY, colour, kWhite, lightColour, pickColour, 0, 0, angle, drawMode, u1, v1, u2, v2,
                     advance, 0, -1, -1);
    }
  }
}

}  // namespace kiv
