#pragma once
// Numbers, records and result codes of the device layer. They keep the values
// that the player's code and its stored settings use (format numbers in
// "SETTINGS.INI", render-state numbers written by the drawing code).
#include <cstdint>

namespace kiv::gfx {

using HResult = std::int32_t;
inline constexpr HResult kOk = 0;
inline constexpr HResult kErrNotAvailable = static_cast<HResult>(0x8876086A);
inline constexpr HResult kErrInvalidDevice = static_cast<HResult>(0x8876086B);
inline constexpr HResult kErrInvalidCall = static_cast<HResult>(0x8876086C);
inline constexpr HResult kErrDeviceLost = static_cast<HResult>(0x88760868);
inline constexpr HResult kErrDeviceNotReset = static_cast<HResult>(0x88760869);
inline constexpr HResult kErrOutOfVideoMemory = static_cast<HResult>(0x8876017C);
inline constexpr HResult kErrInvalidData = static_cast<HResult>(0x88760B59);  // image bytes not understood
inline constexpr HResult kErrFail = static_cast<HResult>(0x80004005);

// Surface formats.
inline constexpr std::uint32_t kFmtUnknown = 0;
inline constexpr std::uint32_t kFmtR8G8B8 = 20;
inline constexpr std::uint32_t kFmtA8R8G8B8 = 21;
inline constexpr std::uint32_t kFmtX8R8G8B8 = 22;
inline constexpr std::uint32_t kFmtR5G6B5 = 23;
inline constexpr std::uint32_t kFmtX1R5G5B5 = 24;
inline constexpr std::uint32_t kFmtA1R5G5B5 = 25;
inline constexpr std::uint32_t kFmtA4R4G4B4 = 26;
inline constexpr std::uint32_t kFmtA8P8 = 40;
inline constexpr std::uint32_t kFmtP8 = 41;
inline constexpr std::uint32_t kFmtD32 = 71;
inline constexpr std::uint32_t kFmtD15S1 = 73;
inline constexpr std::uint32_t kFmtD24S8 = 75;
inline constexpr std::uint32_t kFmtD24X8 = 77;
inline constexpr std::uint32_t kFmtD24X4S4 = 79;
inline constexpr std::uint32_t kFmtD16 = 80;

// The largest width or height of a texture or surface the device makes.
inline constexpr std::uint32_t kMaxTextureSide = 8192;

inline constexpr std::uint32_t kDevTypeHal = 1;
inline constexpr std::uint32_t kDevTypeRef = 2;

inline constexpr std::uint32_t kUsageRenderTarget = 1;
inline constexpr std::uint32_t kUsageDepthStencil = 2;
inline constexpr std::uint32_t kResourceSurface = 1;
inline constexpr std::uint32_t kResourceTexture = 3;

inline constexpr std::uint32_t kSwapDiscard = 1;
inline constexpr std::uint32_t kSwapFlip = 2;

inline constexpr std::uint32_t kCreateSoftwareVertexProcessing = 0x20;
inline constexpr std::uint32_t kCreateHardwareVertexProcessing = 0x40;
inline constexpr std::uint32_t kDevCapsHwTransformAndLight = 0x10000;

// Primitive types.
inline constexpr std::uint32_t kPrimPointList = 1;
inline constexpr std::uint32_t kPrimLineList = 2;
inline constexpr std::uint32_t kPrimLineStrip = 3;
inline constexpr std::uint32_t kPrimTriangleList = 4;
inline constexpr std::uint32_t kPrimTriangleStrip = 5;
inline constexpr std::uint32_t kPrimTriangleFan = 6;

inline constexpr std::uint32_t kIndex16 = 101;
inline constexpr std::uint32_t kIndex32 = 102;

// Flexible vertex format bits.
inline constexpr std::uint32_t kFvfXyz = 0x002;
inline constexpr std::uint32_t kFvfXyzRhw = 0x004;
inline constexpr std::uint32_t kFvfPositionMask = 0x00E;
inline constexpr std::uint32_t kFvfNormal = 0x010;
inline constexpr std::uint32_t kFvfDiffuse = 0x040;
inline constexpr std::uint32_t kFvfSpecular = 0x080;
inline constexpr std::uint32_t kFvfTexCountMask = 0xF00;
inline constexpr std::uint32_t kFvfTexCountShift = 8;
// This device's own vertex format flag: two floats after the texture
// coordinates, a depth scale (multiplies the viewport's depth range for the
// vertex, which lets quads of several depth layers share one draw) and a
// texture slot (0 the stage-0 texture, 1..7 the slot textures).
inline constexpr std::uint32_t kFvfQuadExtras = 0x8000;
inline constexpr std::uint32_t kTextureSlotCount = 8;

// Transform state numbers.
inline constexpr std::uint32_t kTransformView = 2;
inline constexpr std::uint32_t kTransformProjection = 3;
inline constexpr std::uint32_t kTransformWorld = 256;

// Render states.
inline constexpr std::uint32_t kRsZEnable = 7;
inline constexpr std::uint32_t kRsFillMode = 8;
inline constexpr std::uint32_t kRsShadeMode = 9;
inline constexpr std::uint32_t kRsZWriteEnable = 14;
inline constexpr std::uint32_t kRsAlphaTestEnable = 15;
inline constexpr std::uint32_t kRsSrcBlend = 19;
inline constexpr std::uint32_t kRsDestBlend = 20;
inline constexpr std::uint32_t kRsCullMode = 22;
inline constexpr std::uint32_t kRsZFunc = 23;
inline constexpr std::uint32_t kRsAlphaRef = 24;
inline constexpr std::uint32_t kRsAlphaFunc = 25;
inline constexpr std::uint32_t kRsDitherEnable = 26;
inline constexpr std::uint32_t kRsAlphaBlendEnable = 27;
inline constexpr std::uint32_t kRsFogEnable = 28;
inline constexpr std::uint32_t kRsSpecularEnable = 29;
inline constexpr std::uint32_t kRsFogColor = 34;
inline constexpr std::uint32_t kRsFogTableMode = 35;
inline constexpr std::uint32_t kRsFogStart = 36;
inline constexpr std::uint32_t kRsFogEnd = 37;
inline constexpr std::uint32_t kRsFogDensity = 38;
inline constexpr std::uint32_t kRsZBias = 47;
inline constexpr std::uint32_t kRsStencilEnable = 52;
inline constexpr std::uint32_t kRsStencilFail = 53;
inline constexpr std::uint32_t kRsStencilZFail = 54;
inline constexpr std::uint32_t kRsStencilPass = 55;
inline constexpr std::uint32_t kRsStencilFunc = 56;
inline constexpr std::uint32_t kRsStencilRef = 57;
inline constexpr std::uint32_t kRsStencilMask = 58;
inline constexpr std::uint32_t kRsStencilWriteMask = 59;
inline constexpr std::uint32_t kRsTextureFactor = 60;
inline constexpr std::uint32_t kRsLighting = 137;
inline constexpr std::uint32_t kRsAmbient = 139;
inline constexpr std::uint32_t kRsFogVertexMode = 140;
inline constexpr std::uint32_t kRsColorVertex = 141;
inline constexpr std::uint32_t kRsNormalizeNormals = 143;
inline constexpr std::uint32_t kRsColorWriteEnable = 168;
inline constexpr std::uint32_t kRsBlendOp = 171;
inline constexpr std::uint32_t kRenderStateCount = 256;

// Render-state values.
inline constexpr std::uint32_t kFillPoint = 1, kFillWireframe = 2, kFillSolid = 3;
inline constexpr std::uint32_t kShadeFlat = 1, kShadeGouraud = 2;
inline constexpr std::uint32_t kBlendZero = 1, kBlendOne = 2, kBlendSrcColor = 3, kBlendInvSrcColor = 4,
                               kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6, kBlendDestAlpha = 7,
                               kBlendInvDestAlpha = 8, kBlendDestColor = 9, kBlendInvDestColor = 10,
                               kBlendSrcAlphaSat = 11;
inline constexpr std::uint32_t kBlendOpAdd = 1, kBlendOpSubtract = 2, kBlendOpRevSubtract = 3,
                               kBlendOpMin = 4, kBlendOpMax = 5;
inline constexpr std::uint32_t kCullNone = 1, kCullCw = 2, kCullCcw = 3;
inline constexpr std::uint32_t kCmpNever = 1, kCmpLess = 2, kCmpEqual = 3, kCmpLessEqual = 4,
                               kCmpGreater = 5, kCmpNotEqual = 6, kCmpGreaterEqual = 7, kCmpAlways = 8;
inline constexpr std::uint32_t kStencilKeep = 1, kStencilZero = 2, kStencilReplace = 3, kStencilIncrSat = 4,
                               kStencilDecrSat = 5, kStencilInvert = 6, kStencilIncr = 7, kStencilDecr = 8;
inline constexpr std::uint32_t kFogNone = 0, kFogExp = 1, kFogExp2 = 2, kFogLinear = 3;

// Texture-stage states.
inline constexpr std::uint32_t kTssColorOp = 1;
inline constexpr std::uint32_t kTssColorArg1 = 2;
inline constexpr std::uint32_t kTssColorArg2 = 3;
inline constexpr std::uint32_t kTssAlphaOp = 4;
inline constexpr std::uint32_t kTssAlphaArg1 = 5;
inline constexpr std::uint32_t kTssAlphaArg2 = 6;
inline constexpr std::uint32_t kTssTexCoordIndex = 11;
inline constexpr std::uint32_t kTssAddressU = 13;
inline constexpr std::uint32_t kTssAddressV = 14;
inline constexpr std::uint32_t kTssMagFilter = 16;
inline constexpr std::uint32_t kTssMinFilter = 17;
inline constexpr std::uint32_t kTssMipFilter = 18;
inline constexpr std::uint32_t kTssStateCount = 32;
inline constexpr int kStageCount = 2;

inline constexpr std::uint32_t kTopDisable = 1, kTopSelectArg1 = 2, kTopSelectArg2 = 3, kTopModulate = 4,
                               kTopModulate2x = 5, kTopModulate4x = 6, kTopAdd = 7, kTopAddSigned = 8,
                               kTopAddSigned2x = 9, kTopSubtract = 10, kTopAddSmooth = 11,
                               kTopBlendDiffuseAlpha = 12, kTopBlendTextureAlpha = 13,
                               kTopBlendFactorAlpha = 14;
inline constexpr std::uint32_t kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2, kTaTFactor = 3,
                               kTaSpecular = 4, kTaSelectMask = 0x0F, kTaComplement = 0x10,
                               kTaAlphaReplicate = 0x20;
inline constexpr std::uint32_t kTaddressWrap = 1, kTaddressMirror = 2, kTaddressClamp = 3;
inline constexpr std::uint32_t kTexfNone = 0, kTexfPoint = 1, kTexfLinear = 2;

// Clear flags.
inline constexpr std::uint32_t kClearTarget = 1, kClearZBuffer = 2, kClearStencil = 4;

// Light types.
inline constexpr std::uint32_t kLightPoint = 1, kLightSpot = 2, kLightDirectional = 3;

struct ColorValue {
  float r = 0, g = 0, b = 0, a = 0;
};
struct Vector3 {
  float x = 0, y = 0, z = 0;
};

// A 4 x 4 matrix in the row-vector convention (v' = v M), m[row][col].
// Its memory is the same as glm's column-major matrix of the transposed
// (column-vector) transform, so glm builds and multiplies them directly.
struct Matrix {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

struct Viewport {
  std::uint32_t x = 0, y = 0, width = 0, height = 0;
  float minZ = 0, maxZ = 1;
};

struct Material {
  ColorValue diffuse, ambient, specular, emissive;
  float power = 0;
};

struct Light {
  std::uint32_t type = kLightPoint;
  ColorValue diffuse, specular, ambient;
  Vector3 position, direction;
  float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0, theta = 0, phi = 0;
};

struct DisplayMode {
  std::uint32_t width = 0, height = 0, refreshRate = 0, format = 0;
};

// The thirteen fields of the presentation parameters, in their stored order.
// The device window is our window object.
class Window;
struct PresentParameters {
  std::uint32_t backBufferWidth = 0;
  std::uint32_t backBufferHeight = 0;
  std::uint32_t backBufferFormat = 0;
  std::uint32_t backBufferCount = 0;
  std::uint32_t multiSampleType = 0;
  std::uint32_t swapEffect = 0;
  Window* deviceWindow = nullptr;
  std::int32_t windowed = 0;
  std::int32_t enableAutoDepthStencil = 0;
  std::uint32_t autoDepthStencilFormat = 0;
  std::uint32_t flags = 0;
  std::uint32_t fullScreenRefreshRateInHz = 0;
  std::uint32_t fullScreenPresentationInterval = 0;
};

struct Caps {
  std::uint32_t deviceType = 0;
  std::uint32_t adapterOrdinal = 0;
  std::uint32_t devCaps = 0;
  std::uint32_t maxTextureWidth = 0, maxTextureHeight = 0;
  std::uint32_t maxActiveLights = 0;
  std::uint32_t maxSimultaneousTextures = 0;
  std::uint32_t vertexShaderVersion = 0, pixelShaderVersion = 0;
};

struct AdapterIdentifier {
  char driver[512] = {};
  char description[512] = {};
  std::uint64_t driverVersion = 0;
  std::uint32_t vendorId = 0, deviceId = 0, subSysId = 0, revision = 0;
  std::uint8_t deviceIdentifier[16] = {};
  std::uint32_t whqlLevel = 0;
};

}  // namespace kiv::gfx
