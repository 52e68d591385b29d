#include "render/tile_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "core/math_util.h"
#include "core/tile_random.h"
#include "data/field_state.h"
#include "data/game_data.h"
#include "mathkiv/colors.h"
#include "mathkiv/models.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3dx.h"
#include "render/render_hooks.h"

namespace kiv {

namespace {

inline constexpr std::uint32_t kNoTint = 0xFFFFFFFFu;

// Per-cell random salts.
enum Salt : std::int32_t {
  kSaltCornerTint = 0,
  kSaltOffsetX = 1,
  kSaltOffsetY = 2,
  kSaltOffsetZ = 3,
  kSaltTint = 4,
  kSaltFlipH = 5,
  kSaltFlipV = 6,
  kSaltTurns = 7,
};

struct Face {
  float ox, oy, oz;  // offset from the cell corner
  float ex, ey, ez;  // extents
  float nx, ny, nz;  // normal
};
constexpr Face kFlatFace{0, 0, 0, 32, 32, 0, 0, 0, 1};
constexpr std::array<Face, 4> kWallFaces{{
    {0, 32, 0, 32, 0, 32, 0, 1, 0},     // front
    {0, 0, 0, 0, 32, 32, -1, 0, 0},     // left
    {32, 0, 0, -32, 0, 32, 0, -1, 0},   // back
    {32, 32, 0, 0, -32, 32, 1, 0, 0},   // right
}};

// The four texture corners of a quad: top-left, top-right, bottom-right, bottom-left.
using Corners = std::array<TexPair, 4>;
// Corner colours: top-left, top-right, bottom-left, bottom-right.
using Colors = std::array<std::uint32_t, 4>;

// A cell's tile after animation, variation, flips and turns.
struct CellTile {
  std::int32_t setIndex = -1;
  const TileSet* set = nullptr;
  const Tile* tile = nullptr;
  std::uint8_t tileByte = 0;
  std::int32_t px = 0, py = 0, pz = 0;  // varied position (objects)
  std::uint32_t tint = kNoTint;
  bool flipH = false, flipV = false;
  std::int32_t turns = 0;
  const ImageFrame* cell = nullptr;  // the image's first cell, null: no image
  Corners corners{};                 // turned texture corners
};

Corners TurnedCorners(float uLeft, float vTop, float uRight, float vBottom, std::int32_t turns) {
  const TexPair p0{uLeft, vTop}, p1{uRight, vTop}, p2{uRight, vBottom}, p3{uLeft, vBottom};
  switch (turns) {
    case 1:
      return {p0, p3, p2, p1};
    case 2:
      return {p2, p3, p0, p1};
    case 3:
      return {p2, p1, p0, p3};
    default:
      return {p0, p1, p2, p3};
  }
}

const ImageFrame* FirstCell(const TileSet& set, std::int32_t image) {
  if (image < 0 || image >= static_cast<std::int32_t>(set.frames.frameGroups.size())) return nullptr;
  const FrameGroup& group = set.frames.frameGroups[static_cast<std::size_t>(image)];
  return group.frames.empty() ? nullptr : &group.frames.front();
}

gfx::TexturePtr TextureOf(const TileSet& set, std::int32_t texture) {
  if (texture < 0 || texture >= static_cast<std::int32_t>(set.frames.textures.size())) return nullptr;
  return set.frames.textures[static_cast<std::size_t>(texture)];
}

class TileLayerDrawer {
 public:
  explicit TileLayerDrawer(const TileLayerArgs& args)
      : args_(args),
        map_(gameData.maps[args.map]),
        group_(map_.tileLayerGroups[static_cast<std::size_t>(std::clamp(args.group, 0, 2))]),
        device_(CurrentDrawDevice()),
        litMode_(RenderLitMode() && !args.shadowPass) {}

  void Draw();

 private:
  // Steps 1 to 4 of a cell: false when the cell draws nothing.
  bool ResolveCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t slot, std::uint8_t tileByte,
                   CellTile& out) const;
  void Bind(std::int32_t setIndex, const TileSet& set, std::int32_t texture);
  void Flush();
  void SetDepthLayer(std::int32_t layer);
  void SetUpStates();
  void AddQuad(float x, float y, float z, float dx, float dy, float dz, const Corners& t, const Colors& c,
               const Face& face);

  void DrawGroundCell(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell);
  void DrawGroundFace(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell, std::int32_t faceIndex,
                      const Face& face, bool wall);
  void DrawQuarters(const Face& face, float x, float y, float z, bool wall, const Corners& t, const Colors& c);
  void DrawQuarter(const Face& face, float x, float y, float z, bool wall, std::int32_t k, const Corners& t,
                   const Colors& c);
  Colors GroundCornerColors(std::int32_t x, std::int32_t y, std::int32_t z, bool wall, const Tile& tile) const;

  void DrawObjectCell(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell);
  void DrawModel(std::int32_t x, std::int32_t y, std::int32_t z, const CellTile& cell);
  void EndModelRun();
  std::int32_t ShapeThreeHeight(std::int32_t x, std::int32_t y, std::int32_t z, const Tile& tile) const;
  Colors ObjectCornerColors(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t h, bool lying,
                            std::uint32_t tint) const;

  void DrawWallShadow(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell);
  void DrawObjectShadow(CellTile& cell);

  void ApplyCellLights(std::int32_t x, std::int32_t y, std::int32_t z, bool shaderLights);
  void UseGroundCellLights(std::int32_t x, std::int32_t y, std::int32_t z);

  const TileLayerArgs& args_;
  Map& map_;
  const TileLayerGroup& group_;
  DrawDevice& device_;
  const bool litMode_;
  bool litNow_ = false;  // the pending 3-D batch is the lit one
  bool anyBound_ = false;
  std::int32_t boundSet_ = -1, boundTexture_ = -1;
  std::int32_t depthLayer_ = 0;
  bool modelRun_ = false;
  // The light list whose shader constants the pending lit quads were made under.
  bool groundLightsSet_ = false;
  std::array<std::int32_t, 4> groundLights_{};
};

void TileLayerDrawer::SetUpStates() {
  device_.SetRenderState(gfx::kRsLighting, 0);
  if (args_.group == 0) {
    if (litMode_) {
      device_.SetVertexShader(graphics.lightingVertexShader);
      device_.SetPixelShader(graphics.lightingPixelShader);
    } else {
      device_.SetVertexShader(kColoredVertexFormat);
      device_.SetPixelShader(0);
    }
  } else {
    device_.SetTransform(gfx::kTransformWorld, args_.world);
    device_.SetVertexShader(kColoredVertexFormat);
    device_.SetPixelShader(0);
  }
  device_.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  litNow_ = litMode_ && args_.group == 0;
}

void TileLayerDrawer::Flush() {
  if (litNow_)
    QuadBatchFlushLit3D();
  else
    QuadBatchFlushColored3D();
}

void TileLayerDrawer::Bind(std::int32_t setIndex, const TileSet& set, std::int32_t texture) {
  if (anyBound_ && setIndex == boundSet_ && texture == boundTexture_) return;
  if (anyBound_) Flush();
  device_.SetTexture(0, TextureOf(set, texture));
  anyBound_ = true;
  boundSet_ = setIndex;
  boundTexture_ = texture;
}

void TileLayerDrawer::SetDepthLayer(std::int32_t layer) {
  if (layer == depthLayer_) return;
  Flush();
  device_.SetDepthLayer(layer);
  depthLayer_ = layer;
}

void TileLayerDrawer::AddQuad(float x, float y, float z, float dx, float dy, float dz, const Corners& t,
                              const Colors& c, const Face& face) {
  if (litNow_)
    QuadAddLit3D(x, y, z, dx, dy, dz, t[0], t[1], t[2], t[3], face.nx, face.ny, face.nz);
  else
    QuadAddColored3D(x, y, z, dx, dy, dz, t[0], t[1], t[2], t[3], c[0], c[1], c[2], c[3], 0);
}

bool TileLayerDrawer::ResolveCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t slot,
                                  std::uint8_t tileByte, CellTile& out) const {
  if (slot == 0 || slot >= group_.slotTileSets.size() + 1) return false;
  const std::int32_t setIndex = group_.slotTileSets[slot - 1u];
  if (setIndex < 0 || setIndex >= static_cast<std::int32_t>(gameData.tileSets.size())) return false;
  const TileSet& set = gameData.tileSets[static_cast<std::size_t>(setIndex)];
  const std::uint8_t flipMode = TileSetFlipMode(set);
  std::int32_t index = flipMode != 0 ? (tileByte & 0x3F) : tileByte;
  if (index >= static_cast<std::int32_t>(set.tiles.size())) return false;
  const Tile* tile = &set.tiles[static_cast<std::size_t>(index)];
  const std::int32_t animLast = TileAnimLast(*tile);
  if (animLast >= 0) {
    // A frame time of 0 or less has no frame to advance to: the first frame stays.
    const std::int32_t frameTime = TileAnimFrameTime(*tile);
    std::int32_t frame = 0;
    if (frameTime > 0) {
      const std::int64_t cycle = static_cast<std::int64_t>(animLast + 1) * frameTime;
      std::int64_t t = map_.animClock % cycle;
      if (t < 0) t += cycle;
      frame = static_cast<std::int32_t>(t / frameTime);
    }
    index = tile->byteList[static_cast<std::size_t>(frame)];
    if (index >= static_cast<std::int32_t>(set.tiles.size())) return false;
    tile = &set.tiles[static_cast<std::size_t>(index)];
  }
  out = CellTile{};
  out.setIndex = setIndex;
  out.set = &set;
  out.tile = tile;
  out.tileByte = tileByte;
  const std::int32_t m = args_.map;
  auto r = [&](std::int32_t salt) { return TileRandom(m, x, y, z, salt); };
  out.px = 32 * x;
  out.py = 32 * y;
  out.pz = 32 * z;
  if (args_.group != 0) {
    // The random term 0.5 - 2r runs from 0.5 down to -1.5 jitters.
    auto jitter = [&](std::int32_t amount, std::int32_t cellIndex, std::int32_t salt) {
      if (amount == 0) return 32 * cellIndex;
      return RoundToLong((0.5 - 2.0 * static_cast<double>(r(salt))) * amount + 32.0 * cellIndex);
    };
    out.px = jitter(tile->scatterX, x, kSaltOffsetX);
    out.py = jitter(tile->scatterY, y, kSaltOffsetY);
    out.pz = jitter(tile->scatterZ, z, kSaltOffsetZ);
    const std::uint32_t from = TileColorFrom(*tile), to = TileColorTo(*tile);
    out.tint = from == to ? from : ColorLerp(from, to, r(kSaltTint));
  }
  out.flipH = TileRandomFlipH(*tile) && RoundToLong(r(kSaltFlipH)) != 0;
  out.flipV = TileRandomFlipV(*tile) && RoundToLong(r(kSaltFlipV)) != 0;
  out.turns = tile->randomTurn != 0 ? RoundToLong(3.0 * static_cast<double>(r(kSaltTurns))) : 0;
  if (flipMode == 1) {
    out.flipH ^= (tileByte & 0x40) != 0;
    out.flipV ^= (tileByte & 0x80) != 0;
  } else if (flipMode == 2) {
    out.turns = (tileByte / 64 + out.turns) % 4;
  }
  out.cell = FirstCell(set, TileImage(*tile));
  if (out.cell == nullptr) return false;
  float uLeft = out.cell->textureLeft, uRight = out.cell->textureRight;
  float vTop = out.cell->textureTop, vBottom = out.cell->textureBottom;
  if (out.flipH) std::swap(uLeft, uRight);
  if (out.flipV) std::swap(vTop, vBottom);
  out.corners = TurnedCorners(uLeft, vTop, uRight, vBottom, out.turns);
  return true;
}

void TileLayerDrawer::ApplyCellLights(std::int32_t x, std::int32_t y, std::int32_t z, bool shaderLights) {
  const std::array<CellLight, 4> lights = EnableCellLights(map_, std::as_const(map_.cellLights).At(x, y, z),
                                                           renderHooks.ModelScale());
  for (std::uint32_t i = 0; i < 4; ++i) {
    const CellLight& light = lights[i];
    if (shaderLights) {
      device_.SetVertexShaderConstant(20 + i, light.vertexConstant.data(), 1);
      device_.SetPixelShaderConstant(4 + i, light.pixelConstant.data(), 1);
    } else {
      if (light.enabled) {
        gfx::Light l;
        l.type = gfx::kLightPoint;
        l.diffuse = {light.diffuse[0], light.diffuse[1], light.diffuse[2], 1.0f};
        l.position = {light.x, light.y, light.z};
        l.range = light.range;
        l.attenuation0 = 1.0f;
        device_.SetLight(i, l);
      }
      device_.LightEnable(i, light.enabled);
    }
  }
}

// The lit ground's lights are shader constants that every pending quad is
// drawn under: the batch is flushed before another cell's list replaces them.
void TileLayerDrawer::UseGroundCellLights(std::int32_t x, std::int32_t y, std::int32_t z) {
  const std::array<std::int32_t, 4> lights = std::as_const(map_.cellLights).At(x, y, z);
  if (groundLightsSet_ && lights == groundLights_) return;
  Flush();
  ApplyCellLights(x, y, z, true);
  groundLights_ = lights;
  groundLightsSet_ = true;
}

// ---- ground and walls ----

Colors TileLayerDrawer::GroundCornerColors(std::int32_t x, std::int32_t y, std::int32_t z, bool wall,
                                           const Tile& tile) const {
  const std::int32_t w = wall ? 1 : 0;
  const std::array<std::array<std::int32_t, 3>, 4> at{{
      {x, y + w, z + w}, {x + 1, y + w, z + w}, {x, y + 1, z}, {x + 1, y + 1, z}}};
  const std::uint32_t from = TileColorFrom(tile), to = TileColorTo(tile);
  Colors colors{};
  for (std::size_t i = 0; i < 4; ++i) {
    colors[i] = map_.lightGrid.At(at[i][0], at[i][1], at[i][2]);
    if (from != kNoTint || to != kNoTint) {
      const float r = TileRandom(args_.map, at[i][0], at[i][1], at[i][2], kSaltCornerTint);
      colors[i] = ColorModulate(colors[i], ColorLerp(from, to, r));
    }
  }
  return colors;
}

void TileLayerDrawer::DrawQuarter(const Face& face, float x, float y, float z, bool wall, std::int32_t k,
                                  const Corners& t, const Colors& c) {
  Corners q = t;
  // t lists top-left, top-right, bottom-right, bottom-left.
  QuarterCorners(k, t[0].tu, t[1].tu, t[3].tu, t[2].tu, q[0].tu, q[1].tu, q[3].tu, q[2].tu);
  QuarterCorners(k, t[0].tv, t[1].tv, t[3].tv, t[2].tv, q[0].tv, q[1].tv, q[3].tv, q[2].tv);
  Colors qc = c;
  QuarterColors(k, c[0], c[1], c[2], c[3], qc[0], qc[1], qc[2], qc[3]);
  const float hx = face.ex / 2, hy = face.ey / 2;
  const float across = static_cast<float>(k % 2);
  if (wall) {
    const float up = k < 2 ? 16.0f : 0.0f;
    AddQuad(x + across * hx, y + across * hy, z + up, hx, hy, 16.0f, q, qc, face);
  } else {
    const float down = static_cast<float>(k / 2);
    AddQuad(x + across * hx, y + down * hy, z, hx, hy, 0.0f, q, qc, face);
  }
}

void TileLayerDrawer::DrawQuarters(const Face& face, float x, float y, float z, bool wall, const Corners& t,
                                   const Colors& c) {
  for (std::int32_t k = 0; k < 4; ++k) DrawQuarter(face, x, y, z, wall, k, t, c);
}

void TileLayerDrawer::DrawGroundFace(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell,
                                     std::int32_t faceIndex, const Face& face, bool wall) {
  const float fx = 32.0f * x + face.ox, fy = 32.0f * y + face.oy, fz = 32.0f * z + face.oz;
  const Colors colors = GroundCornerColors(x, y, z, wall, *cell.tile);
  const std::uint8_t code = group_.terraform.At(0, faceIndex, x, y, z);
  const TerraformRule* entry = nullptr;
  if (code != 0 && code != 255) {
    const std::int32_t e = (code & 0xF) - 1;
    if (e >= 0 && e < static_cast<std::int32_t>(cell.tile->terraformRules.size()))
      entry = &cell.tile->terraformRules[static_cast<std::size_t>(e)];
  }
  const std::uint8_t mode = entry != nullptr ? TerraformMode(*entry) : 0;
  bool neighbourDrawn = false;
  if (entry != nullptr && mode == 2) {
    static constexpr std::array<std::array<std::int32_t, 2>, 8> kNeighbours{
        {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}}};
    const TileLayerGroup& ground = map_.tileLayerGroups[0];
    const std::uint8_t ownSlot = ground.slotGrid.At(x, y, z), ownByte = ground.tileGrid.At(x, y, z);
    for (const auto& d : kNeighbours) {
      const std::int32_t nx = x + d[0], ny = y + d[1];
      if (nx < 0 || ny < 0 || nx >= ground.slotGrid.columns || ny >= ground.slotGrid.rows) continue;
      const std::uint8_t slot = ground.slotGrid.At(nx, ny, z), tileByte = ground.tileGrid.At(nx, ny, z);
      if (slot == 0 || (slot == ownSlot && tileByte == ownByte)) continue;
      CellTile other;
      if (ResolveCell(x, y, z, slot, tileByte, other)) {
        Bind(other.setIndex, *other.set, other.cell->image);
        DrawQuarters(face, fx, fy, fz, wall, other.corners, colors);
      }
      neighbourDrawn = true;
      // The cell's own tile set is bound again for what follows.
      Bind(cell.setIndex, *cell.set, cell.cell->image);
      break;
    }
  }
  const bool hasTexture = cell.cell->image >= 0;
  if (!neighbourDrawn && hasTexture && (code == 0 || mode != 0) && code != 255) {
    Bind(cell.setIndex, *cell.set, cell.cell->image);
    if (code == 0)
      AddQuad(fx, fy, fz, face.ex, face.ey, face.ez, cell.corners, colors, face);
    else
      DrawQuarters(face, fx, fy, fz, wall, cell.corners, colors);
  }
  if (code == 0 && !neighbourDrawn) return;
  for (std::int32_t k = 0; k < 4; ++k) {
    const std::uint8_t q = group_.terraform.At(k, faceIndex, x, y, z);
    if (q == 0) continue;
    const std::int32_t e = (q & 0xF) - 1;
    if (e < 0 || e >= static_cast<std::int32_t>(cell.tile->terraformRules.size())) continue;
    const TerraformRule& rule = cell.tile->terraformRules[static_cast<std::size_t>(e)];
    const std::int32_t slotInRule = q / 16 + 15 * k;
    if (slotInRule >= kTerraformTileCount) continue;
    const std::int32_t image = rule.tiles[static_cast<std::size_t>(slotInRule)];
    // The entry's images come from its own tile set when it names one.
    std::int32_t setIndex = cell.setIndex;
    if (rule.tileSet >= 0 && rule.tileSet < static_cast<std::int32_t>(gameData.tileSets.size()))
      setIndex = rule.tileSet;
    const TileSet& set = gameData.tileSets[static_cast<std::size_t>(setIndex)];
    const ImageFrame* overlay = FirstCell(set, image);
    if (overlay == nullptr) continue;
    Bind(setIndex, set, overlay->image);
    const Corners whole = TurnedCorners(overlay->textureLeft, overlay->textureTop, overlay->textureRight,
                                        overlay->textureBottom, 0);
    // The whole image covers the quarter: its corners are the quarter's own.
    Colors qc = colors;
    QuarterColors(k, colors[0], colors[1], colors[2], colors[3], qc[0], qc[1], qc[2], qc[3]);
    const float hx = face.ex / 2, hy = face.ey / 2;
    const float across = static_cast<float>(k % 2);
    if (wall)
      AddQuad(fx + across * hx, fy + across * hy, fz + (k < 2 ? 16.0f : 0.0f), hx, hy, 16.0f, whole, qc, face);
    else
      AddQuad(fx + across * hx, fy + static_cast<float>(k / 2) * hy, fz, hx, hy, 0.0f, whole, qc, face);
  }
}

void TileLayerDrawer::DrawGroundCell(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell) {
  const bool wall = TileSetIsWallSet(*cell.set);
  if (litMode_ && wall) {
    // Wall faces keep their light colours: they go through the coloured batch.
    Flush();
    litNow_ = false;
    device_.SetVertexShader(kColoredVertexFormat);
    device_.SetPixelShader(0);
  } else if (litMode_) {
    UseGroundCellLights(x, y, z);
  }
  if (!wall) {
    DrawGroundFace(x, y, z, cell, 0, kFlatFace, false);
  } else {
    const std::int32_t faces = args_.is3D == 1 ? 4 : 1;
    for (std::int32_t f = 0; f < faces; ++f)
      DrawGroundFace(x, y, z, cell, f, kWallFaces[static_cast<std::size_t>(f)], true);
  }
  if (litMode_ && wall) {
    Flush();
    litNow_ = true;
    device_.SetVertexShader(graphics.lightingVertexShader);
    device_.SetPixelShader(graphics.lightingPixelShader);
  }
}

void TileLayerDrawer::DrawWallShadow(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell) {
  if (!TileSetIsWallSet(*cell.set)) return;
  Bind(cell.setIndex, *cell.set, cell.cell->image);
  const Corners zero{};
  const Colors shade{kTileShadowColor, kTileShadowColor, kTileShadowColor, kTileShadowColor};
  QuadAddColored3D(32.0f * x, 32.0f * y + 16.0f * z + 32.0f, 0.0f, 32.0f, 16.0f, 0.0f, zero[0], zero[1], zero[2],
                   zero[3], shade[0], shade[1], shade[2], shade[3], 0);
}

// ---- objects ----

std::int32_t TileLayerDrawer::ShapeThreeHeight(std::int32_t x, std::int32_t y, std::int32_t z,
                                               const Tile& tile) const {
  const std::int32_t height = TileHeight(tile);
  const TileLayerGroup& lower = map_.tileLayerGroups[1];
  if (args_.group == 2 && lower.slotGrid.At(x, y, z) != 0 && height <= 31)
    return height + (args_.is3D == 0 ? 32 : 0);
  const TileLayerGroup& ground = map_.tileLayerGroups[0];
  for (std::int32_t t = std::min(map_.height - y, map_.layerCount - z); y + t >= 0 && z + t >= 0; --t) {
    const std::int32_t row = y + t, layer = z + t;
    if (row >= ground.slotGrid.rows || layer >= ground.slotGrid.layers) continue;
    const std::uint8_t slot = ground.slotGrid.At(x, row, layer);
    if (slot == 0 || slot > ground.slotTileSets.size()) continue;
    const std::int32_t setIndex = ground.slotTileSets[slot - 1u];
    if (setIndex >= 0 && setIndex < static_cast<std::int32_t>(gameData.tileSets.size()) &&
        TileSetIsWallSet(gameData.tileSets[static_cast<std::size_t>(setIndex)]))
      return 32 * t;
  }
  return height;
}

Colors TileLayerDrawer::ObjectCornerColors(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t h,
                                           bool lying, std::uint32_t tint) const {
  const std::int32_t k = h / 32;
  auto row = [&](std::int32_t r) { return std::min(r, map_.height + 1); };
  auto layer = [&](std::int32_t l) { return std::min(l, map_.layerCount + 1); };
  Colors c{};
  if (lying) {
    c[0] = map_.lightGrid.At(x, row(y + k), layer(z + k));
    c[1] = map_.lightGrid.At(x + 1, row(y + k), layer(z + k));
    c[2] = map_.lightGrid.At(x, row(y + k + 1), layer(z + k));
    c[3] = map_.lightGrid.At(x + 1, row(y + k + 1), layer(z + k));
  } else {
    c[0] = map_.lightGrid.At(x, row(y + k + 1), layer(z + k + 1));
    c[1] = map_.lightGrid.At(x + 1, row(y + k + 1), layer(z + k + 1));
    c[2] = map_.lightGrid.At(x, row(y + k + 1), layer(z + k));
    c[3] = map_.lightGrid.At(x + 1, row(y + k + 1), layer(z + k));
  }
  if (tint != kNoTint)
    for (std::uint32_t& color : c) color = ColorModulate(color, tint);
  return c;
}

void TileLayerDrawer::EndModelRun() {
  if (!modelRun_) return;
  modelRun_ = false;
  device_.SetRenderState(gfx::kRsLighting, 0);
  device_.SetTransform(gfx::kTransformWorld, args_.world);
  device_.SetVertexShader(kColoredVertexFormat);
  device_.SetPixelShader(0);
}

void TileLayerDrawer::DrawModel(std::int32_t x, std::int32_t y, std::int32_t z, const CellTile& cell) {
  Flush();
  const bool lit = RenderLitMode();
  if (!modelRun_) {
    if (lit) {
      device_.SetVertexShader(graphics.lightingVertexShader);
      device_.SetPixelShader(graphics.lightingPixelShader);
      device_.SetRenderState(gfx::kRsLighting, 0);
    } else {
      device_.SetVertexShader(kLitVertexFormat);
      device_.SetPixelShader(0);
      device_.SetRenderState(gfx::kRsLighting, 1);
    }
    modelRun_ = true;
  }
  device_.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  SetDepthLayer(0);
  const float scale = renderHooks.ModelScale();
  const gfx::Matrix squash = args_.is3D == 0 ? gfx::MatrixScaling(1.0f, 0.75f, 0.75f) : gfx::MatrixIdentity();
  const gfx::Matrix world = gfx::MatrixMultiply(
      gfx::MatrixMultiply(squash, gfx::MatrixTranslation(static_cast<float>(cell.px + 16),
                                                         static_cast<float>(cell.py + 16),
                                                         static_cast<float>(cell.pz))),
      gfx::MatrixScaling(scale, scale, scale));
  if (lit) {
    device_.SetVertexShaderConstant(8, &world.m[0][0], 4);
    const gfx::Matrix transposed = gfx::MatrixTranspose(world);
    device_.SetVertexShaderConstant(0, &transposed.m[0][0], 4);
  } else {
    device_.SetTransform(gfx::kTransformWorld, world);
  }
  ApplyCellLights(x, y, z, lit);
  ModelDraw(TileModel(*cell.tile), ModelLighting{map_.ambientColor});
  // The model set its own textures.
  anyBound_ = false;
}

void TileLayerDrawer::DrawObjectCell(std::int32_t x, std::int32_t y, std::int32_t z, CellTile& cell) {
  const Tile& tile = *cell.tile;
  if (TileRenderKind(tile) == 2) {
    DrawModel(x, y, z, cell);
    return;
  }
  EndModelRun();
  Bind(cell.setIndex, *cell.set, cell.cell->image);
  SetDepthLayer(tile.shape == 1 ? 3 : 1);
  const float cw = static_cast<float>(cell.cell->width), ch = static_cast<float>(cell.cell->height);
  const std::int32_t h = tile.shape == 3 ? ShapeThreeHeight(x, y, z, tile) : TileHeight(tile);
  const float px = static_cast<float>(cell.px), py = static_cast<float>(cell.py), pz = static_cast<float>(cell.pz);
  const float hf = static_cast<float>(h);
  const Corners& t = cell.corners;
  const float left = px + 16 - cw / 2;
  switch (tile.shape) {
    case 0:
    case 1: {
      const Colors c = ObjectCornerColors(x, y, z, h, true, cell.tint);
      QuadAddColored3D(left, py + 16 - ch / 2 + hf, pz + hf, cw, ch, 0, t[0], t[1], t[2], t[3], c[0], c[1], c[2],
                       c[3], 0);
      break;
    }
    case 2:
    case 3: {
      const Colors c = ObjectCornerColors(x, y, z, h, false, cell.tint);
      QuadAddColored3D(left, py + hf + 32, pz + hf, cw, 0, ch, t[0], t[1], t[2], t[3], c[0], c[1], c[2], c[3], 0);
      break;
    }
    case 4: {
      const Colors c = ObjectCornerColors(x, y, z, h, false, cell.tint);
      // The image's lower half stands; its upper half lies on top of it.
      auto mid = [](const TexPair& a, const TexPair& b) { return TexPair{(a.tu + b.tu) / 2, (a.tv + b.tv) / 2}; };
      const TexPair leftMid = mid(t[0], t[3]), rightMid = mid(t[1], t[2]);
      QuadAddColored3D(left, py + hf + 32, pz + hf, cw, 0, ch / 2, leftMid, rightMid, t[2], t[3], c[0], c[1], c[2],
                       c[3], 0);
      QuadAddColored3D(left, py + hf + 32 - ch / 2, pz + hf + ch / 2, cw, ch / 2, 0, t[0], t[1], rightMid, leftMid,
                       c[0], c[1], c[0], c[1], 0);
      break;
    }
    default:
      break;
  }
}

void TileLayerDrawer::DrawObjectShadow(CellTile& cell) {
  const float cw = static_cast<float>(cell.cell->width), ch = static_cast<float>(cell.cell->height);
  Bind(cell.setIndex, *cell.set, cell.cell->image);
  float uLeft = cell.cell->textureLeft, uRight = cell.cell->textureRight;
  float vTop = cell.cell->textureTop, vBottom = cell.cell->textureBottom;
  if (cell.flipH) std::swap(uLeft, uRight);
  if (cell.flipV) std::swap(vTop, vBottom);
  // Upside down: the image's bottom edge meets the object's foot.
  const Corners t = TurnedCorners(uLeft, vBottom, uRight, vTop, 0);
  QuadAddColored3D(static_cast<float>(cell.px) + 16 - cw / 2,
                   static_cast<float>(cell.py + TileShadowOffset(*cell.tile)), 0, cw, ch / 2, 0, t[0], t[1], t[2],
                   t[3], kTileShadowColor, kTileShadowColor, kTileShadowColor, kTileShadowColor, 0);
}

void TileLayerDrawer::Draw() {
  gameData.currentActivity =
      std::string("Drawing") + (args_.shadowPass ? " Shadow " : " ") + "Tiles " + std::to_string(args_.group);
  SetUpStates();
  std::int32_t lastColumn = std::min(map_.width, group_.slotGrid.columns - 1);
  std::int32_t lastRow = std::min(map_.height, group_.slotGrid.rows - 1);
  std::int32_t lastLayer = std::min(map_.layerCount, group_.slotGrid.layers - 1);
  lastColumn = std::min(lastColumn, group_.tileGrid.columns - 1);
  lastRow = std::min(lastRow, group_.tileGrid.rows - 1);
  lastLayer = std::min(lastLayer, group_.tileGrid.layers - 1);
  std::int32_t firstColumn = 0, firstRow = 0, firstLayer = 0;
  if (!args_.wholeMap) {
    const TileViewWindow& w = args_.window;
    const std::int32_t halfWidth = CeilingLong(w.viewWidth / 2.0 / 32.0);
    const std::int32_t heightCells = CeilingLong(w.viewHeight / 32.0);
    firstColumn = std::max(w.firstColumn - halfWidth - 1, 0);
    lastColumn = std::min(w.firstColumn + w.columns + halfWidth + 1, lastColumn);
    firstRow = std::max(w.firstRow - 1, 0);
    lastRow = std::min(w.firstRow + w.rows + heightCells + 1, lastRow);
    firstLayer = std::max(w.firstLayer - heightCells, 0);
    lastLayer = std::min(w.firstLayer + w.layers, lastLayer);
  }
  for (std::int32_t z = lastLayer; z >= firstLayer; --z) {
    for (std::int32_t y = lastRow; y >= firstRow; --y) {
      for (std::int32_t x = firstColumn; x <= lastColumn; ++x) {
        CellTile cell;
        if (!ResolveCell(x, y, z, group_.slotGrid.At(x, y, z), group_.tileGrid.At(x, y, z), cell)) continue;
        if (args_.group == 0) {
          if (args_.shadowPass)
            DrawWallShadow(x, y, z, cell);
          else
            DrawGroundCell(x, y, z, cell);
        } else if (!args_.shadowPass) {
          DrawObjectCell(x, y, z, cell);
        } else if (TileShadowOffset(*cell.tile) != 0) {
          if (TileRenderKind(*cell.tile) == 2) {
            DrawModel(x, y, z, cell);
          } else {
            EndModelRun();
            DrawObjectShadow(cell);
          }
        }
      }
    }
  }
  Flush();
  modelRun_ = false;
  if (args_.group != 0) device_.SetTransform(gfx::kTransformWorld, args_.world);
  device_.SetVertexShader(kColoredVertexFormat);
  device_.SetPixelShader(0);
  device_.SetRenderState(gfx::kRsLighting, 0);
  device_.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  device_.SetDepthLayer(0);
}

}  // namespace

void DrawTileLayer(const TileLayerArgs& args) {
  if (args.map < 0 || args.map > gameData.maps.LastIndex() || args.group < 0 || args.group > 2) return;
  TileLayerDrawer(args).Draw();
}

void QuarterCorners(std::int32_t quarter, float a, float b, float c, float d, float& outA, float& outB,
                    float& outC, float& outD) {
  const float centre = (b + c) / 2;
  switch (quarter) {
    case 0:
      outA = a, outB = (a + b) / 2, outC = (a + c) / 2, outD = centre;
      break;
    case 1:
      outA = (a + b) / 2, outB = b, outC = centre, outD = (b + d) / 2;
      break;
    case 2:
      outA = (a + c) / 2, outB = centre, outC = c, outD = (c + d) / 2;
      break;
    case 3:
      outA = centre, outB = (b + d) / 2, outC = (c + d) / 2, outD = d;
      break;
    default:
      break;
  }
}

void QuarterColors(std::int32_t quarter, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t& outA, std::uint32_t& outB, std::uint32_t& outC, std::uint32_t& outD) {
  if (quarter < 0 || quarter > 3) return;
  const std::uint32_t centre = ColorAverage(b, c);
  switch (quarter) {
    case 0:
      outA = a, outB = ColorAverage(a, b), outC = ColorAverage(a, c), outD = centre;
      break;
    case 1:
      outA = ColorAverage(a, b), outB = b, outC = centre, outD = ColorAverage(b, d);
      break;
    case 2:
      outA = ColorAverage(a, c), outB = centre, outC = c, outD = ColorAverage(c, d);
      break;
    default:
      outA = centre, outB = ColorAverage(b, d), outC = ColorAverage(c, d), outD = d;
      break;
  }
}

}  // namespace kiv
