#pragma once
// The three vertex records that the batcher and the box shapes write; their
// layouts are the device's flexible vertex formats 0x1C4, 0x1C2 and 0x112.
#include <cstdint>

#include "platform/gfx/d3d_types.h"

namespace kiv {

inline constexpr std::uint32_t kScreenVertexFormat = 0x1C4;   // XYZRHW | DIFFUSE | SPECULAR | TEX1
inline constexpr std::uint32_t kColoredVertexFormat = 0x1C2;  // XYZ | DIFFUSE | SPECULAR | TEX1
inline constexpr std::uint32_t kLitVertexFormat = 0x112;      // XYZ | NORMAL | TEX1

struct ScreenVertex {
  float x = 0, y = 0, z = 0, rhw = 1.0f;
  std::uint32_t diffuse = 0, specular = 0;
  float tu = 0, tv = 0;
};

struct ColoredVertex {
  float x = 0, y = 0, z = 0;
  std::uint32_t diffuse = 0, specular = 0;
  float tu = 0, tv = 0;
};

struct LitVertex {
  float x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0, tu = 0, tv = 0;
};

// A coloured vertex with the device's quad extras: the depth scale of its
// depth layer and the slot of its texture (see gfx::kFvfQuadExtras).
inline constexpr std::uint32_t kSlottedVertexFormat = kColoredVertexFormat | gfx::kFvfQuadExtras;

struct SlottedVertex {
  float x = 0, y = 0, z = 0;
  std::uint32_t diffuse = 0, specular = 0;
  float tu = 0, tv = 0;
  float depthScale = 1, slot = 0;
};

static_assert(sizeof(ScreenVertex) == 32);
static_assert(sizeof(SlottedVertex) == 36);
static_assert(sizeof(ColoredVertex) == 28);
static_assert(sizeof(LitVertex) == 32);

}  // namespace kiv
