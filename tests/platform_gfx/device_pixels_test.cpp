#include <stb_image_write.h>

#include <cstring>
#include <functional>

#include "device_fixture.h"
#include "platform/gfx/d3dx.h"

namespace kiv::gfx::test {
namespace {

void DrawStrip(Device& device, const std::vector<TVertex>& v) {
  ASSERT_EQ(device.SetVertexShader(0x1C4), kOk);
  ASSERT_EQ(device.DrawPrimitiveUP(kPrimTriangleStrip, 2, v.data(), sizeof(TVertex)), kOk);
}

TEST_F(DeviceTest, ScreenQuadCoversExactlyItsPixels) {
  device->Clear(kClearTarget, 0xFF000000, 1, 0);
  // Pixel centres lie on whole numbers: -0.5 offsets make the quad cover 2..5 x 1..3.
  DrawStrip(*device, ScreenQuad(1.5f, 0.5f, 5.5f, 3.5f, 0xFF00FF00));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x <= 5 && y >= 1 && y <= 3;
      EXPECT_EQ(Rgb(x, y), inside ? 0x00FF00u : 0u) << x << "," << y;
    }
  }
}

TEST_F(DeviceTest, OnePixelQuadCoversOnePixel) {
  device->Clear(kClearTarget, 0xFF000000, 1, 0);
  DrawStrip(*device, ScreenQuad(9.5f, 6.5f, 10.5f, 7.5f, 0xFFFFFFFF));
  int lit = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < 16; ++x) lit += Rgb(x, y) != 0;
  }
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(Rgb(10, 7), 0xFFFFFFu);
}

TEST_F(DeviceTest, ViewportOffsetsAndClipsScreenQuads) {
  device->Clear(kClearTarget, 0xFF000000, 1, 0);
  ASSERT_EQ(device->SetViewport(Viewport{10, 10, 4, 4, 0, 1}), kOk);
  DrawStrip(*device, ScreenQuad(-0.5f, -0.5f, 30.5f, 30.5f, 0xFFFF0000));
  EXPECT_EQ(Rgb(10, 10), 0xFF0000u);
  EXPECT_EQ(Rgb(13, 13), 0xFF0000u);
  EXPECT_EQ(Rgb(14, 13), 0u);
  EXPECT_EQ(Rgb(9, 10), 0u);
}

TEST_F(DeviceTest, AlphaBlendingMixesWithTheBackground) {
  device->Clear(kClearTarget, 0xFF0000FF, 1, 0);
  device->SetRenderState(kRsAlphaBlendEnable, 1);
  device->SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  device->SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
  device->SetTextureStageState(0, kTssAlphaArg1, kTaDiffuse);
  DrawStrip(*device, ScreenQuad(-0.5f, -0.5f, 3.5f, 3.5f, 0x80FF0000));
  const std::uint32_t p = Rgb(1, 1);
  EXPECT_NEAR(static_cast<int>(p >> 16), 128, 2);
  EXPECT_EQ((p >> 8) & 0xFF, 0u);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 127, 2);
}

TEST_F(DeviceTest, TextureFactorGivesAFlatColour) {
  device->Clear(kClearTarget, 0xFF000000, 1, 0);
  device->SetTextureStageState(0, kTssColorOp, kTopSelectArg1);
  device->SetTextureStageState(0, kTssColorArg1, kTaTFactor);
  device->SetRenderState(kRsTextureFactor, 0xFF123456);
  DrawStrip(*device, ScreenQuad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFFFFFFFF));
  EXPECT_EQ(Rgb(2, 2), 0x123456u);
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

// A 2 x 1 PNG: opaque magenta, then opaque green.
std::vector<std::uint8_t> MagentaGreenPng() {
  const std::uint8_t rgba[8] = {255, 0, 255, 255, 0, 255, 0, 255};
  std::vector<std::uint8_t> png;
  stbi_write_png_to_func(&AppendBytes, &png, 2, 1, 4, rgba, 8);
  return png;
}

TEST_F(DeviceTest, ColourKeyMakesMagentaTransparent) {
  const std::vector<std::uint8_t> png = MagentaGreenPng();
  TexturePtr texture;
  ASSERT_EQ(CreateTextureFromFileInMemoryEx(*device, png.data(), png.size(), 0, 0, 1, 0, kFmtA8R8G8B8, 1,
                                            kFilterPoint, kFilterPoint, 0xFFFF00FF, texture),
            kOk);
  EXPECT_EQ(texture->Width(), 2u);
  device->Clear(kClearTarget, 0xFF0000FF, 1, 0);
  device->SetTexture(0, texture);
  device->SetRenderState(kRsAlphaBlendEnable, 1);
  device->SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  device->SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
  DrawStrip(*device, ScreenQuad(-0.5f, -0.5f, 3.5f, 1.5f, 0xFFFFFFFF));  // 4 x 2 pixels, 2 per texel
  EXPECT_EQ(Rgb(0, 0), 0x0000FFu);  // magenta: background shows
  EXPECT_EQ(Rgb(1, 1), 0x0000FFu);
  EXPECT_EQ(Rgb(2, 0), 0x00FF00u);
  EXPECT_EQ(Rgb(3, 1), 0x00FF00u);
}

// An 8 x 4 DDS of two blocks: magenta on the left, green on the right, opaque.
std::vector<std::uint8_t> MagentaGreenDds(const char* fourCC) {
  std::vector<std::uint8_t> dds(128, 0);
  std::memcpy(dds.data(), "DDS ", 4);
  dds[4] = 124;
  dds[12] = 4, dds[16] = 8;  // height, width
  dds[76] = 32;
  dds[80] = 0x4;  // four-character code
  std::memcpy(&dds[84], fourCC, 4);
  for (const std::uint16_t color : {std::uint16_t{0xF81F}, std::uint16_t{0x07E0}}) {
    if (fourCC[3] == '3') dds.insert(dds.end(), 8, 0xFF);  // alpha 15 everywhere
    if (fourCC[3] == '5') dds.insert(dds.end(), {255, 255, 0, 0, 0, 0, 0, 0});
    const std::uint8_t lo = static_cast<std::uint8_t>(color), hi = static_cast<std::uint8_t>(color >> 8);
    dds.insert(dds.end(), {lo, hi, lo, hi, 0, 0, 0, 0});  // both end points the colour, every index 0
  }
  return dds;
}

TEST_F(DeviceTest, ColourKeyAppliesToCompressedTextures) {
  struct Case {
    const char* fourCC;
    std::uint32_t colorKey;
    std::uint32_t left;  // what the magenta half shows
  };
  const Case cases[] = {{"DXT1", 0xFFFF00FF, 0x0000FF},
                        {"DXT3", 0xFFFF00FF, 0x0000FF},
                        {"DXT5", 0xFFFF00FF, 0x0000FF},
                        {"DXT1", 0, 0xFF00FF},
                        {"DXT5", 0, 0xFF00FF}};
  device->SetRenderState(kRsAlphaBlendEnable, 1);
  device->SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  device->SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fourCC << " key " << std::hex << c.colorKey);
    const std::vector<std::uint8_t> dds = MagentaGreenDds(c.fourCC);
    TexturePtr texture;
    ASSERT_EQ(CreateTextureFromFileInMemoryEx(*device, dds.data(), dds.size(), 0, 0, 1, 0, kFmtA8R8G8B8, 1,
                                              kFilterPoint, kFilterPoint, c.colorKey, texture),
              kOk);
    EXPECT_EQ(texture->Width(), 8u);
    device->Clear(kClearTarget, 0xFF0000FF, 1, 0);
    device->SetTexture(0, texture);
    DrawStrip(*device, ScreenQuad(-0.5f, -0.5f, 7.5f, 3.5f, 0xFFFFFFFF));
    for (int y : {0, 3}) {
      EXPECT_EQ(Rgb(0, y), c.left);
      EXPECT_EQ(Rgb(3, y), c.left);
      EXPECT_EQ(Rgb(4, y), 0x00FF00u);
      EXPECT_EQ(Rgb(7, y), 0x00FF00u);
    }
  }
  // A requested size needs the pixels as well.
  const std::vector<std::uint8_t> dds = MagentaGreenDds("DXT1");
  TexturePtr texture;
  ASSERT_EQ(CreateTextureFromFileInMemoryEx(*device, dds.data(), dds.size(), 16, 4, 1, 0, kFmtA8R8G8B8, 1,
                                            kFilterPoint, kFilterPoint, 0, texture),
            kOk);
  EXPECT_EQ(texture->Width(), 16u);
}

TEST_F(DeviceTest, UndecodableImageBytesGiveNoTexture) {
  const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
  TexturePtr texture;
  EXPECT_NE(CreateTextureFromFileInMemoryEx(*device, junk, sizeof junk, 0, 0, 1, 0, 0, 1, kFilterPoint,
                                            kFilterPoint, 0xFFFF00FF, texture),
            kOk);
  EXPECT_FALSE(texture);
  // A DDS header that claims more pixels than the file holds.
  std::vector<std::uint8_t> dds(128, 0);
  std::memcpy(dds.data(), "DDS ", 4);
  dds[4] = 124;
  dds[12] = 64, dds[16] = 64;  // 64 x 64
  dds[80] = 0x40, dds[88] = 32;
  EXPECT_NE(CreateTextureFromFileInMemoryEx(*device, dds.data(), dds.size(), 0, 0, 1, 0, 0, 1, kFilterPoint,
                                            kFilterPoint, 0, texture),
            kOk);
}

TEST_F(DeviceTest, ShaderConstantsBeyondTheirRegistersAreRefused) {
  const float values[96 * 4] = {};
  const auto pixel = [&](std::uint32_t reg, std::uint32_t count) {
    return device->SetPixelShaderConstant(reg, values, count) == kOk;
  };
  const auto vertex = [&](std::uint32_t reg, std::uint32_t count) {
    return device->SetVertexShaderConstant(reg, values, count) == kOk;
  };
  struct File {
    const char* name;
    std::function<bool(std::uint32_t, std::uint32_t)> set;
    std::uint32_t registers;
  } files[] = {{"pixel", pixel, 8}, {"vertex", vertex, 96}};
  for (const File& f : files) {
    const std::uint32_t n = f.registers;
    EXPECT_TRUE(f.set(0, n)) << f.name;
    EXPECT_TRUE(f.set(n - 1, 1)) << f.name;
    EXPECT_FALSE(f.set(n, 1)) << f.name;
    EXPECT_FALSE(f.set(n - 1, 2)) << f.name;
    EXPECT_FALSE(f.set(0xFFFFFFFF, 2)) << f.name;  // the end wraps around to 1
  }
}

// An 18-byte run-length true-colour TGA with no pixel data: the decoder reads
// missing pixels as 0, so the header alone decides what it decodes.
std::vector<std::uint8_t> EmptyTga(std::uint16_t width, std::uint16_t height) {
  std::vector<std::uint8_t> tga(18, 0);
  tga[2] = 10;  // run-length true colour
  tga[12] = static_cast<std::uint8_t>(width), tga[13] = static_cast<std::uint8_t>(width >> 8);
  tga[14] = static_cast<std::uint8_t>(height), tga[15] = static_cast<std::uint8_t>(height >> 8);
  tga[16] = 32;
  return tga;
}

TEST(DecodeImageArgb, RefusesImagesLargerThanTheLargestTextureBeforeDecoding) {
  std::vector<std::uint32_t> argb;
  std::uint32_t w = 0, h = 0;
  const std::vector<std::uint8_t> small = EmptyTga(4, 3);
  ASSERT_TRUE(DecodeImageArgb(small.data(), small.size(), 0, argb, w, h));
  EXPECT_EQ(w, 4u);
  EXPECT_EQ(argb.size(), 12u);
  // 65535 x 1025 pixels is more than 8192 x 8192.
  const std::vector<std::uint8_t> huge = EmptyTga(65535, 1025);
  EXPECT_FALSE(DecodeImageArgb(huge.data(), huge.size(), 0, argb, w, h));
  EXPECT_TRUE(argb.empty());
}

// Red, green and blue corners: flat shading fills each triangle with its
// first vertex's colour, Gouraud shading blends them.
TEST_F(DeviceTest, FlatShadingFillsTrianglesWithTheirFirstVertexColour) {
  const std::vector<TVertex> triangle = {{4, 4, 0, 1, 0xFFFF0000, 0, 0, 0},
                                         {60, 4, 0, 1, 0xFF00FF00, 0, 0, 0},
                                         {4, 44, 0, 1, 0xFF0000FF, 0, 0, 0}};
  // A strip's second triangle starts at its second vertex (top-left, green).
  std::vector<TVertex> strip = ScreenQuad(3.5f, 3.5f, 59.5f, 43.5f, 0);
  const std::uint32_t stripColors[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  for (int i = 0; i < 4; ++i) strip[static_cast<std::size_t>(i)].diffuse = stripColors[i];
  device->SetRenderState(kRsCullMode, kCullNone);
  ASSERT_EQ(device->SetVertexShader(0x1C4), kOk);
  struct Case {
    std::uint32_t shadeMode;
    bool flat;
  };
  for (const Case c : {Case{kShadeFlat, true}, Case{kShadeGouraud, false}, Case{3, false}}) {
    SCOPED_TRACE(c.shadeMode);
    ASSERT_EQ(device->SetRenderState(kRsShadeMode, c.shadeMode), kOk);
    device->Clear(kClearTarget, 0xFF000000, 1, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleList, 1, triangle.data(), sizeof(TVertex)), kOk);
    for (const auto& [x, y] : {std::pair{6, 6}, std::pair{40, 8}, std::pair{8, 30}, std::pair{20, 18}}) {
      const std::uint32_t p = Rgb(x, y);
      if (c.flat) {
        EXPECT_EQ(p, 0xFF0000u) << x << "," << y;
      } else if (x == 40 || y == 30) {
        EXPECT_NE(p, 0xFF0000u) << x << "," << y;  // far from the red corner
      }
    }
    device->Clear(kClearTarget, 0xFF000000, 1, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleStrip, 2, strip.data(), sizeof(TVertex)), kOk);
    EXPECT_EQ(Rgb(6, 40) == 0xFF0000u, c.flat);  // near the bottom-left corner, first triangle
    EXPECT_EQ(Rgb(56, 6) == 0x00FF00u, c.flat);  // near the top-right corner, second triangle
  }
}

// The same holds when a vertex and a pixel shader pass the colour through.
TEST_F(DeviceTest, FlatShadingAppliesToShaderColours) {
  // Stream 0: a three-float position into v0 and a colour into v5.
  const std::uint32_t declaration[] = {0x20000000, 0x40020000, 0x40040005, 0xFFFFFFFF};
  std::vector<std::uint8_t> vertexProgram, pixelProgram;
  std::string errors;
  ASSERT_EQ(AssembleShader("vs.1.1\nmov oPos, v0\nmov oD0, v5", 0, vertexProgram, errors), kOk) << errors;
  ASSERT_EQ(AssembleShader("ps.1.4\nmov r0, v0", 0, pixelProgram, errors), kOk) << errors;
  std::uint32_t vs = 0, ps = 0;
  ASSERT_EQ(device->CreateVertexShader(declaration, vertexProgram.data(), vertexProgram.size(), vs, 0), kOk);
  std::vector<std::uint32_t> words(pixelProgram.size() / 4);
  std::memcpy(words.data(), pixelProgram.data(), words.size() * 4);
  ASSERT_EQ(device->CreatePixelShader(words.data(), words.size(), ps), kOk);
  ASSERT_EQ(device->SetVertexShader(vs), kOk);
  ASSERT_EQ(device->SetPixelShader(ps), kOk);
  device->SetRenderState(kRsCullMode, kCullNone);
  device->SetRenderState(kRsZEnable, 0);
  struct Vertex {
    float x, y, z;
    std::uint32_t color;
  };
  const Vertex triangle[3] = {
      {-1, 1, 0.5f, 0xFFFF0000}, {1, 1, 0.5f, 0xFF00FF00}, {-1, -1, 0.5f, 0xFF0000FF}};
  for (const bool flat : {true, false}) {
    SCOPED_TRACE(flat);
    device->SetRenderState(kRsShadeMode, flat ? kShadeFlat : kShadeGouraud);
    device->Clear(kClearTarget, 0xFF000000, 1, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleList, 1, triangle, sizeof(Vertex)), kOk);
    if (flat) {
      EXPECT_EQ(Rgb(2, 2), 0xFF0000u);
    }
    EXPECT_EQ(Rgb(kWidth - 8, 2) == 0xFF0000u, flat);
    EXPECT_EQ(Rgb(2, kHeight - 8) == 0xFF0000u, flat);
  }
}

// Two 3D quads at the same z: the depth range of the viewport orders them.
TEST_F(DeviceTest, ViewportDepthRangeOrdersQuads) {
  device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1, 0);
  device->SetRenderState(kRsCullMode, kCullNone);
  ASSERT_EQ(device->SetVertexShader(0x1C2), kOk);
  const auto quad = [&](std::uint32_t color) {
    const CVertex v[4] = {{-1, -1, 0.5f, color, 0, 0, 0},
                          {-1, 1, 0.5f, color, 0, 0, 0},
                          {1, -1, 0.5f, color, 0, 0, 0},
                          {1, 1, 0.5f, color, 0, 0, 0}};
    ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleStrip, 2, v, sizeof(CVertex)), kOk);
  };
  ASSERT_EQ(device->SetViewport(Viewport{0, 0, kWidth, kHeight, 0, 0.5f}), kOk);
  quad(0xFF00FF00);  // nearer layer first
  ASSERT_EQ(device->SetViewport(Viewport{0, 0, kWidth, kHeight, 0, 1.0f}), kOk);
  quad(0xFFFF0000);  // farther layer drawn later stays hidden
  EXPECT_EQ(Rgb(32, 24), 0x00FF00u);
}

TEST_F(DeviceTest, PerspectiveQuadLandsWhereTheMatricesPutIt) {
  device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1, 0);
  device->SetRenderState(kRsCullMode, kCullNone);
  device->SetTransform(kTransformView, MatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0}));
  device->SetTransform(kTransformProjection, MatrixPerspectiveFovLH(1.0f, 64.0f / 48.0f, 1, 100));
  ASSERT_EQ(device->SetVertexShader(0x1C2), kOk);
  // A small quad right of the centre (x > 0 is to the right, y > 0 is up).
  const CVertex v[4] = {{0.5f, 0.2f, 0, 0xFFFFFFFF, 0, 0, 0},
                        {0.5f, 1.0f, 0, 0xFFFFFFFF, 0, 0, 0},
                        {1.5f, 0.2f, 0, 0xFFFFFFFF, 0, 0, 0},
                        {1.5f, 1.0f, 0, 0xFFFFFFFF, 0, 0, 0}};
  ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleStrip, 2, v, sizeof(CVertex)), kOk);
  const Vector3 centre = Vec3TransformCoord(
      {1.0f, 0.6f, 0},
      MatrixMultiply(MatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0}), MatrixPerspectiveFovLH(1.0f, 64.0f / 48.0f, 1, 100)));
  const int px = static_cast<int>((centre.x + 1) / 2 * kWidth);
  const int py = static_cast<int>((1 - centre.y) / 2 * kHeight);
  EXPECT_GT(px, 32);
  EXPECT_LT(py, 24);
  EXPECT_EQ(Rgb(px, py), 0xFFFFFFu);
  EXPECT_EQ(Rgb(32 - (px - 32), py), 0u);
}

TEST_F(DeviceTest, FixedFunctionLightIsBrighterNearTheLight) {
  device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1, 0);
  device->SetRenderState(kRsLighting, 1);
  device->SetRenderState(kRsCullMode, kCullNone);
  Material material;
  material.diffuse = {1, 1, 1, 1};
  device->SetMaterial(material);
  Light light;
  light.type = kLightPoint;
  light.diffuse = {1, 1, 1, 1};
  light.position = {-1, 0, -0.5f};
  light.range = 100;
  light.attenuation0 = 0;
  light.attenuation1 = 1;
  device->SetLight(0, light);
  device->LightEnable(0, true);
  struct LVertex {
    float x, y, z, nx, ny, nz, tu, tv;
  };
  const LVertex v[4] = {{-1, -1, 0, 0, 0, -1, 0, 0},
                        {-1, 1, 0, 0, 0, -1, 0, 0},
                        {1, -1, 0, 0, 0, -1, 0, 0},
                        {1, 1, 0, 0, 0, -1, 0, 0}};
  ASSERT_EQ(device->SetVertexShader(0x112), kOk);
  ASSERT_EQ(device->DrawPrimitiveUP(kPrimTriangleStrip, 2, v, sizeof(LVertex)), kOk);
  const std::uint32_t nearLight = Rgb(4, 24) & 0xFF, farFromLight = Rgb(60, 24) & 0xFF;
  EXPECT_GT(nearLight, farFromLight + 20);
}

TEST_F(DeviceTest, IndexedDrawRejectsIndicesOutsideTheVertices) {
  const auto v = ScreenQuad(0, 0, 4, 4, 0xFFFFFFFF);
  const std::uint16_t bad[6] = {0, 1, 2, 2, 1, 7};
  ASSERT_EQ(device->SetVertexShader(0x1C4), kOk);
  EXPECT_EQ(device->DrawIndexedPrimitiveUP(kPrimTriangleList, 0, 4, 2, bad, kIndex16, v.data(), sizeof(TVertex)),
            kErrInvalidCall);
  const std::uint16_t good[6] = {0, 1, 2, 2, 1, 3};
  EXPECT_EQ(device->DrawIndexedPrimitiveUP(kPrimTriangleList, 0, 4, 2, good, kIndex16, v.data(), sizeof(TVertex)),
            kOk);
}

TEST_F(DeviceTest, RenderTargetReadBack) {
  SurfacePtr target, depth, back, backDepth;
  ASSERT_EQ(device->CreateRenderTarget(32, 16, kFmtA8R8G8B8, 0, true, target), kOk);
  ASSERT_EQ(device->CreateDepthStencilSurface(32, 16, kFmtD24S8, 0, depth), kOk);
  device->GetRenderTarget(back);
  device->GetDepthStencilSurface(backDepth);
  ASSERT_EQ(device->SetRenderTarget(target, depth), kOk);
  device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1, 0);
  DrawStrip(*device, ScreenQuad(4.5f, 2.5f, 5.5f, 3.5f, 0xFFABCDEF));
  EXPECT_EQ(ReadPixel(*target, 5, 3), 0xFFABCDEFu);
  EXPECT_EQ(ReadPixel(*target, 4, 3), 0xFF000000u);
  ASSERT_EQ(device->SetRenderTarget(back, backDepth), kOk);
  LockedRect locked;
  const Rect outside{30, 0, 40, 1};
  EXPECT_NE(target->LockRect(locked, &outside, 0), kOk);
}

TEST_F(DeviceTest, ResetFollowsTheWindowSizeAndRestoresDefaults) {
  device->SetRenderState(kRsAlphaBlendEnable, 1);
  window->SetClientSize(40, 30);
  PresentParameters pp = device->Parameters();
  ASSERT_EQ(device->Reset(pp), kOk);
  SurfacePtr back;
  device->GetBackBuffer(back);
  EXPECT_EQ(back->Width(), 40u);
  EXPECT_EQ(back->Height(), 30u);
  std::uint32_t value = 1;
  device->GetRenderState(kRsAlphaBlendEnable, value);
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(device->TestCooperativeLevel(), kOk);
  EXPECT_EQ(device->Present(), kOk);

  // A full-screen reset without a display format fails and leaves the device waiting for a reset.
  pp.windowed = 0;
  pp.backBufferFormat = 0;
  EXPECT_NE(device->Reset(pp), kOk);
  EXPECT_EQ(device->TestCooperativeLevel(), kErrDeviceNotReset);
}

}  // namespace
}  // namespace kiv::gfx::test
