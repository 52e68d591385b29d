#include "render/default_render_states.h"

#include <bit>
#include <cstdint>

#include "dialogs/player_settings.h"
#include "media/draw_device.h"

namespace kiv {

namespace {

// Direct3D 8 render-state, texture-stage-state and value numbers.
constexpr std::uint32_t kLighting = 137, kSpecularEnable = 29, kAlphaBlendEnable = 27, kSrcBlend = 19,
                        kDestBlend = 20, kShadeMode = 9, kCullMode = 22, kMultiSampleAntiAlias = 161,
                        kRangeFogEnable = 48, kFogTableMode = 35, kAlphaTestEnable = 15, kAlphaRef = 24,
                        kAlphaFunc = 25, kLastPixel = 16, kTextureFactor = 60, kFillMode = 8, kZEnable = 7,
                        kZFunc = 23, kPointSize = 154;
constexpr std::uint32_t kStageAlphaOp = 4, kStageAlphaArg1 = 5, kStageMinFilter = 17, kStageMagFilter = 16,
                        kStageAddressU = 13, kStageAddressV = 14;
constexpr std::uint32_t kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6, kShadeGouraud = 2, kCullCcw = 3,
                        kCmpGreaterEqual = 7, kCmpLessEqual = 4, kFillSolid = 3, kOpModulate = 4,
                        kFilterPoint = 1, kAddressWrap = 1, kArgTexture = 2;
constexpr std::uint32_t kColoredVertexFormat = 0x1C2;

// A [Detail] switch as the Integer Boolean it is stored as: -1 on, 0 off.
std::int32_t DetailValue(bool on) { return on ? -1 : 0; }

}  // namespace

void SetDefaultRenderStates() {
  DrawDevice& device = CurrentDrawDevice();
  const auto state = [&](std::uint32_t number, std::int64_t value) {
    device.SetRenderState(number, static_cast<std::uint32_t>(value));
  };
  state(kLighting, 0);
  state(kSpecularEnable, DetailValue(playerSettings.detailSpecular));
  state(kAlphaBlendEnable, DetailValue(playerSettings.detailTranslucent));
  state(kSrcBlend, kBlendSrcAlpha);
  state(kDestBlend, kBlendInvSrcAlpha);
  state(kShadeMode, kShadeGouraud);
  state(kShadeMode, 1 - DetailValue(playerSettings.detailShade));
  state(kCullMode, kCullCcw);
  state(kMultiSampleAntiAlias, 0);
  state(kRangeFogEnable, 0);
  state(kFogTableMode, 0);
  state(kAlphaTestEnable, 1);
  state(kAlphaRef, 1);
  state(kAlphaFunc, kCmpGreaterEqual);
  state(kLastPixel, 1);
  state(kTextureFactor, 0xFF000000u);
  state(kFillMode, kFillSolid);
  state(kZEnable, 1);
  state(kZFunc, kCmpLessEqual);
  state(kPointSize, std::bit_cast<std::uint32_t>(1.0f));

  device.SetTextureStageState(0, kStageAlphaOp, kOpModulate);
  device.SetTextureStageState(0, kStageMinFilter, kFilterPoint);
  device.SetTextureStageState(0, kStageMagFilter, kFilterPoint);
  device.SetTextureStageState(0, kStageAddressU, kAddressWrap);
  device.SetTextureStageState(0, kStageAddressV, kAddressWrap);
  device.SetTextureStageState(0, kStageAlphaArg1, kArgTexture);

  device.SetVertexShader(kColoredVertexFormat);
  device.SetPixelShader(0);
}

}  // namespace kiv
