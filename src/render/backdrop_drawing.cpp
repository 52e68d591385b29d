#include "render/backdrop_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/math_util.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"

namespace kiv {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
constexpr std::int32_t kScreenDrawing = 2;

bool GamePaused() { return gameState.paused != 0; }

void DrawGradient(const Map& record, float x, float y, float width, float height) {
  if (record.backgroundColor1 == kOpaqueBlack && record.backgroundColor2 == kOpaqueBlack) return;
  CurrentDrawDevice().SetTexture(0, nullptr);
  QuadAddScreenGradient(x, y, width, height, {0, 0}, {1, 0}, {1, 1}, {0, 1}, record.backgroundColor1,
                        record.backgroundColor1, record.backgroundColor2, record.backgroundColor2, 0);
  QuadBatchFlushScreen();
}

// The copies are placed in the view (x, y, width, height): the screen
// vertices are in back-buffer pixels, so the view's corner is added.
void DrawLayer(const Map& record, BackgroundSprite& layer, float x, float y, float width, float height,
               const MapView& view, bool paused) {
  if (!paused) layer.elapsed += renderHooks.TickMilliseconds();
  if (layer.spriteSet < 0 || layer.spriteSet >= static_cast<std::int32_t>(gameData.spriteSets.size())) return;
  std::int32_t pose = 0, direction = 0;
  FindSpriteDirection(layer.spriteSet, pose, direction);
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(layer.spriteSet)];
  if (pose < 0 || pose >= static_cast<std::int32_t>(set.poses.size())) return;
  const SpriteDirection& frames = set.poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)];
  const std::int32_t fw = frames.sizeX, fh = frames.sizeY;
  if (fw <= 0 || fh <= 0) return;

  double halfWidth = width / 2.0, halfHeight = height / 2.0;
  if (layer.fitMap != 0) {
    halfWidth = ((view.screenView == 2 ? record.height : record.width) + 1) * 32.0 / 2.0;
    halfHeight = ((view.screenView != 0 ? record.layerCount : record.height) + 1) * 32.0 / 2.0;
  }
  const std::int32_t nx = layer.repeatX != 0 ? static_cast<std::int32_t>(std::ceil(width / fw)) + 1 : 0;
  const std::int32_t ny = layer.repeatY != 0 ? static_cast<std::int32_t>(std::ceil(height / fh)) + 1 : 0;
  const std::array<float, 2> camera = renderHooks.CameraOffset();
  for (std::int32_t i = 0; i <= nx; ++i) {
    const std::int32_t px =
        BackdropCopyPosition(halfWidth, i, fw, layer.speedX, layer.elapsed, layer.parallaxX, camera[0], width);
    for (std::int32_t j = 0; j <= ny; ++j) {
      const std::int32_t py =
          BackdropCopyPosition(halfHeight, j, fh, layer.speedY, layer.elapsed, layer.parallaxY, camera[1], height);
      // Only the first copy advances the shared animation, once per frame.
      const bool advance = i == 0 && j == 0 && !paused;
      DrawSprite(layer.spriteSet, layer.elapsed, layer.instance, view, x + static_cast<float>(px - fw),
                 y + static_cast<float>(py - fh), 0, 1, 1, 1, false, false, kWhite, kWhite, 0, 0, kScreenDrawing, 0, 0,
                 1, 1, advance);
    }
  }
}

}  // namespace

std::int32_t BackdropCopyPosition(double half, std::int32_t index, std::int32_t frame, float speed,
                                  std::int32_t elapsed, float parallax, float camera, float extent) {
  const std::int32_t p = RoundToLong(half + static_cast<double>(index) * frame +
                                     static_cast<double>(speed) * elapsed - static_cast<double>(parallax) * camera);
  const std::int32_t span = (static_cast<std::int32_t>(std::ceil(extent / frame)) + 2) * frame;
  return PositiveMod(p, span);
}

void DrawMapBackdrop(std::int32_t map, std::int32_t which, float x, float y, float width, float height,
                     const MapView& view) {
  Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  device.SetRenderState(gfx::kRsZEnable, 0);
  if (which == kBackdropBackground && !record.isInterface) DrawGradient(record, x, y, width, height);
  const bool paused = GamePaused();
  auto& layers = which == kBackdropBackground ? record.backgroundSprites1 : record.backgroundSprites2;
  for (BackgroundSprite& layer : layers) DrawLayer(record, layer, x, y, width, height, view, paused);
  device.SetRenderState(gfx::kRsZEnable, 1);
}

void DrawProjectiles(std::int32_t map, std::int32_t layer, float x, float y, float width, float height,
                     const MapView& view, std::int32_t drawMode, const std::array<double, 4>& viewRect) {
  Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  const bool onInterface = record.isInterface;
  if (onInterface) {
    device.SetRenderState(gfx::kRsZEnable, 0);
    device.SetVertexShader(kScreenVertexFormat);
    device.SetPixelShader(0);
  } else {
    device.SetDepthLayer(2);
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
  }
  const bool paused = GamePaused();
  const std::array<std::int32_t, 2> reference = renderHooks.InterfaceReferenceSize();
  const bool shaderLit = !onInterface && renderHooks.ShaderLighting();
  for (Projectile& p : record.projectiles) {
    const std::uint32_t specular = ProjectileSpecular(p);
    if (onInterface) {
      if (RoundToLong(p.z) != layer) continue;
      const double px = p.x - std::floor((reference[0] - width) / 2.0) + x;
      const double py = p.y - std::floor((reference[1] - height) / 2.0) + y;
      DrawSprite(p.spriteSet, ProjectileAnimationTime(p), p.sprite, view, static_cast<float>(px),
                 static_cast<float>(py), 0, p.scaleX, p.scaleY, p.scaleZ, false, false, kWhite, kWhite, specular,
                 p.heading, kScreenDrawing, 0, 0, 1, 1, true);
      continue;
    }
    const double r = static_cast<double>(std::max(p.scaleX, p.scaleY)) * renderHooks.SpriteSetRadius(p.spriteSet);
    if (p.x - r >= viewRect[2] || p.y - r >= viewRect[3] || p.x + r <= viewRect[0] || p.y + r <= viewRect[1])
      continue;
    const std::uint32_t light = shaderLit ? kWhite : renderHooks.LightColorAt(map, p.x, p.y, p.z, kWhite);
    DrawSprite(p.spriteSet, ProjectileAnimationTime(p), p.sprite, view, p.x, p.y, p.z, p.scaleX, p.scaleY,
               p.scaleZ, false, false, kWhite, light, specular, p.heading, drawMode, 0, 0, 1, 1, !paused);
  }
  if (onInterface) {
    // The frame's own shaders: the lighting pair in lit mode, else plain coloured vertices.
    const bool lit = RenderLitMode();
    device.SetVertexShader(lit ? graphics.lightingVertexShader : kColoredVertexFormat);
    device.SetPixelShader(lit ? graphics.lightingPixelShader : 0);
    device.SetRenderState(gfx::kRsZEnable, 1);
  } else {
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
    device.SetDepthLayer(0);
  }
}

}  // namespace kiv
