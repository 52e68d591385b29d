#include "render/frame_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/geometry.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/player_input_state.h"
#include "media/quad_batcher.h"
#include "player/notices.h"
#include "player/player_hooks.h"
#include "player/shell_state.h"
#include "player/world_update.h"
#include "render/default_render_states.h"
#include "render/text_drawing.h"

namespace kiv {

std::int32_t pickPass = 0;

namespace {

constexpr std::uint32_t kClearTarget = 1, kClearDepth = 2, kClearStencil = 4;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
constexpr std::uint32_t kStencilPassRs = 55, kStencilFuncRs = 56, kStencilRefRs = 57;
constexpr std::uint32_t kStencilOpReplace = 3, kCmpNotEqual = 6;
constexpr std::uint32_t kLedVertexFormat = 0x1C4;
constexpr std::uint32_t kAlphaTestRs = 15;
constexpr std::uint32_t kStageMinFilter = 17, kStageMagFilter = 16, kFilterPoint = 1, kFilterLinear = 2;
constexpr std::int32_t kNoticeFullTime = 10000;
constexpr float kNoticeFadeTime = 5000.0f;
constexpr float kLogoSize = 256.0f;

void Activity(const char* name) { gameData.currentActivity = name; }

// Clears drawingFrame however the frame ends: the loading progress returns at
// once while it is set, so a frame that raised would otherwise stop every
// later progress from drawing.
struct DrawingFrameScope {
  DrawingFrameScope() { shell.drawingFrame = true; }
  ~DrawingFrameScope() { shell.drawingFrame = false; }
  DrawingFrameScope(const DrawingFrameScope&) = delete;
  DrawingFrameScope& operator=(const DrawingFrameScope&) = delete;
};

std::uint32_t ClearFlagsFor(std::uint32_t depthFormat) {
  switch (depthFormat) {
    case 75:  // D24S8
    case 79:  // D24X4S4
    case 73:  // D15S1
      return kClearTarget | kClearDepth | kClearStencil;
    case 80:  // D16
    case 77:  // D24X8
    case 71:  // D32
      return kClearTarget | kClearDepth;
    default:
      return kClearTarget;
  }
}

// Rounds halves to the even neighbour.
std::int32_t RoundEven(float value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

void DrawInterface(std::int32_t map) {
  Map& record = gameData.maps[map];
  playerHooks.DrawMap(map, RoundEven(record.ScreenOffsetX()), RoundEven(record.ScreenOffsetY()), -1, -1, -1, -1);
}

bool Shown(const Map& map) { return map.isInterface && map.overlayActive == 1; }

struct OrderPair {
  std::int64_t layer;
  std::int64_t order;
};

void DrawNotices(DrawDevice& device) {
  if (gameData.fontSets.empty()) return;
  const std::int32_t lineHeight = gameData.fontSets[0].lineHeight;
  auto y = static_cast<std::int32_t>(device.BackBufferHeight());
  for (std::size_t n = notices.size(); n-- > 0;) {
    const Notice& notice = notices[n];
    y -= lineHeight * notice.lineCount;
    std::uint32_t text = 0, second = 0, shadow = 0;
    NoticeColors(notice.age, text, second, shadow);
    if (notice.glyphs.empty()) continue;
    Rect extent{};
    DrawGlyphBlock(extent, 0, notice.glyphs, 0, static_cast<std::int32_t>(notice.glyphs.size()) - 1, 0, y, text,
                   second, shadow, lineHeight, 0, 0, kAlignLeft, 1.0f);
  }
}

}  // namespace

std::uint32_t ChannelByte(float channel) {
  if (channel <= 0.0f) return 0;
  if (channel >= 1.0f) return 255;
  return static_cast<std::uint32_t>(channel * 255.0f + 0.5f);
}

void NoticeColors(std::int32_t age, std::uint32_t& text, std::uint32_t& second, std::uint32_t& shadow) {
  if (age < kNoticeFullTime) {
    text = 0xFFFFFFFF;
    second = 0xFF909090;
    shadow = 0x80000000;
    return;
  }
  const float f = 1.0f - static_cast<float>(age - kNoticeFullTime) / kNoticeFadeTime;
  const auto argb = [](float a, float rgb) {
    const std::uint32_t c = ChannelByte(rgb);
    return (ChannelByte(a) << 24) | (c << 16) | (c << 8) | c;
  };
  text = argb(f, 1.0f);
  second = argb(f, 0.5647059f);
  shadow = argb(f / 2.0f, 0.0f);
}

bool IsMapDrawnBefore(std::int32_t a, std::int32_t b) {
  const Map& first = gameData.maps[a];
  const Map& second = gameData.maps[b];
  if (first.layerNumber != second.layerNumber) return first.layerNumber < second.layerNumber;
  if (first.orderNumber != second.orderNumber) return first.orderNumber < second.orderNumber;
  return a < b;
}

std::int32_t FindNextMapInOrder(std::int32_t map, bool backwards) {
  // The kept pair starts at these bounds and is replaced only by a strictly
  // better pair, so the lowest index wins a tie.
  OrderPair kept = backwards ? OrderPair{-2147483647, -2147483647} : OrderPair{2147483135, 2147483135};
  std::int32_t found = -1;
  for (std::int32_t i = 0; i <= gameData.maps.LastIndex(); ++i) {
    const Map& candidate = gameData.maps[i];
    if (!Shown(candidate)) continue;
    if (map != -1) {
      const bool beyond = backwards ? IsMapDrawnBefore(i, map) : IsMapDrawnBefore(map, i);
      if (!beyond) continue;
    }
    const OrderPair pair{candidate.layerNumber, candidate.orderNumber};
    const bool better = backwards
                            ? (pair.layer > kept.layer || (pair.layer == kept.layer && pair.order > kept.order))
                            : (pair.layer < kept.layer || (pair.layer == kept.layer && pair.order < kept.order));
    if (better) {
      kept = pair;
      found = i;
    }
  }
  return found;
}

bool IsMapInputActive(std::int32_t map) {
  if (map == projectState.currentPlayerInterface.index) return true;
  if (gameData.maps[map].inputBlock) return false;
  for (std::int32_t above = FindNextMapInOrder(map, false); above != -1; above = FindNextMapInOrder(above, false)) {
    if (gameData.maps[above].exclusive) return false;
  }
  return true;
}

void DrawLoadingImage(float alpha, bool useDisplayMode) {
  if (!graphics.loadingLogo) return;
  DrawDevice& device = CurrentDrawDevice();
  device.SetRenderState(kAlphaTestRs, 0);
  device.SetTextureStageState(0, kStageMinFilter, kFilterLinear);
  device.SetTextureStageState(0, kStageMagFilter, kFilterLinear);
  alpha = std::clamp(alpha, 0.0f, 1.0f);
  const float width = useDisplayMode ? static_cast<float>(graphics.desktopMode.width)
                                     : static_cast<float>(device.BackBufferWidth());
  const float height = useDisplayMode ? static_cast<float>(graphics.desktopMode.height)
                                      : static_cast<float>(device.BackBufferHeight());
  device.SetTexture(0, graphics.loadingLogo);
  const std::uint32_t color = (ChannelByte(alpha) << 24) | 0x00FFFFFF;
  QuadAddScreen(width / 2.0f - kLogoSize / 2.0f, height / 2.0f - kLogoSize / 2.0f, kLogoSize, kLogoSize, 0.0f, 0.0f,
                1.0f, 1.0f, color, 0);
  QuadBatchFlushScreen();
  device.SetTextureStageState(0, kStageMinFilter, kFilterPoint);
  device.SetTextureStageState(0, kStageMagFilter, kFilterPoint);
  device.SetRenderState(kAlphaTestRs, 1);
}

void DrawFrame() {
  DrawingFrameScope scope;
  DrawDevice& device = CurrentDrawDevice();
  Activity("Starting Drawing");
  Activity("Beginning Scene");
  device.BeginScene();
  Activity("Preparing DirectX");
  SetDefaultRenderStates();
  device.ResetViewport();
  Activity("Clearing Screen");
  device.Clear(ClearFlagsFor(device.DepthStencilFormat()), kOpaqueBlack, 1.0f, 0);
  device.SetRenderState(kStencilRefRs, 1);
  device.SetRenderState(kStencilFuncRs, kCmpNotEqual);
  device.SetRenderState(kStencilPassRs, kStencilOpReplace);
  if (pickPass != 0) {
    device.BeginFlatColor();
  } else {
    device.EndFlatColor();
  }
  Activity("Finding Map");
  if (shell.loadingTick) {
    const std::int32_t loading = LoadingInterface();
    if (loading >= 0 && loading <= gameData.maps.LastIndex()) DrawInterface(loading);
    shell.loadingFade += shell.frameElapsed;
    DrawLoadingImage(1.0f - static_cast<float>(shell.loadingFade) / 1000.0f, false);
  } else {
    for (std::int32_t map = FindNextMapInOrder(-1, false); map != -1; map = FindNextMapInOrder(map, false)) {
      DrawInterface(map);
    }
  }
  if (pickPass == 0) {
    device.ResetViewport();
    Activity("Drawing LEDs");
    device.SetVertexShader(kLedVertexFormat);
    device.SetPixelShader(0);
    if (!shell.loadingTick) {
      Activity("Drawing Messages");
      DrawNotices(device);
      playerHooks.DrawMessageBoxes();
      Activity("Drawing Cursors");
      if (playerInputStates[0].cursorSprite >= 0) playerHooks.DrawCursor();
    }
  }
  Activity("Ending scene");
  device.EndScene();
  Activity("Presenting");
  if (pickPass == 0) device.Present();
  Activity("Done Drawing");
}

}  // namespace kiv
