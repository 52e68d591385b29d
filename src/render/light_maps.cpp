#include "render/light_maps.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "data/sector_grid.h"
#include "mathkiv/colors.h"
#include "render/map_data_hooks.h"

namespace kiv {

namespace {

constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;
// A light blocked at squared distance d2 remembers d2 less this as the nearest obstacle.
constexpr float kBlockedMargin = 2048.0f;

bool ValidMap(std::int32_t map) { return map >= 0 && map <= gameData.maps.LastIndex(); }

bool HasTiles(const Map& m) { return m.width >= 0 && m.height >= 0 && m.layerCount >= 0; }

// from <= a <= to, or, for a range that wraps through 0 (from > to), a >= from or a <= to.
bool InAngleRange(float a, float from, float to) {
  if (from <= to) return from <= a && a <= to;
  return a >= from || a <= to;
}

float AngleFromZero(float angle) { return angle < 0.0f ? angle + kTwoPi : angle; }

float Sign(float v) { return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f); }

// The sector cell that holds the point, null when the grid has none there.
const SectorCell* SectorOf(Map& m, std::int32_t column, std::int32_t row, std::int32_t level) {
  const SectorGrid& grid = m.sectorGrid;
  if (grid.cells.empty() || column < 0 || row < 0 || level < 0 || column >= grid.columns || row >= grid.rows ||
      level >= grid.levels)
    return nullptr;
  return &m.sectorGrid.At(column, row, level);
}

// Int() of a pixel coordinate clamped to 0..last pixel of the axis (NaN lies at 0).
std::int32_t ClampedPixel(float v, std::int32_t lastIndex) {
  const double last = (static_cast<double>(lastIndex) + 1.0) * 32.0 - 1.0;
  const double p = std::isnan(v) ? 0.0 : std::floor(static_cast<double>(v));
  return static_cast<std::int32_t>(std::clamp(p, 0.0, last));
}

// Whether the light reaches the point within limitSquared; d2 receives the
// squared distance. A light of radius 0 reaches nothing. A blocked light
// lowers its nearest blocked distance when asked.
bool Reaches(std::int32_t map, Light& light, float x, float y, float z, double limitSquared, bool noteBlocked,
             float& d2) {
  if (light.enabled == 0 || light.radius == 0) return false;
  const float dx = x - light.x, dy = y - light.y, dz = z - light.z;
  d2 = dx * dx + dy * dy + dz * dz;
  if (!(static_cast<double>(d2) <= limitSquared)) return false;
  const float h = AngleFromZero(AngleBetweenPoints(light.x, light.y, x, y));
  if (!InAngleRange(h, light.horizontalFrom, light.horizontalTo)) return false;
  const float v = AngleFromZero(-AngleBetweenPoints(light.x, light.z, x, z));
  if (!InAngleRange(v, light.verticalFrom, light.verticalTo)) return false;
  if (d2 < light.clearDistanceSquared) return true;
  const LineSegment segment{RoundToLong(light.x), RoundToLong(light.y), RoundToLong(x + Sign(light.x - x)),
                            RoundToLong(y + Sign(light.y - y))};
  if (!mapDataHooks.LightBlocked(map, segment, light.z)) return true;
  if (noteBlocked && d2 - kBlockedMargin < light.nearestBlockedSquared)
    light.nearestBlockedSquared = d2 - kBlockedMargin;
  return false;
}

double Squared(double v) { return v * v; }

// The corner box of a light: columns, rows and levels whose corners it may reach.
struct CornerBox {
  std::int32_t i0 = 0, i1 = -1, j0 = 0, j1 = -1, k0 = 0, k1 = -1;
};

// floor((c - r) / 32) to ceiling((c + r) / 32) + 1, clamped to 0..last + 1.
void AxisRange(float centre, std::int32_t radius, std::int32_t last, std::int32_t& from, std::int32_t& to) {
  const double low = std::floor((static_cast<double>(centre) - radius) / 32.0);
  const double high = std::ceil((static_cast<double>(centre) + radius) / 32.0) + 1.0;
  const double top = static_cast<double>(last) + 1.0;
  from = static_cast<std::int32_t>(std::clamp(low, 0.0, top + 1.0));
  to = static_cast<std::int32_t>(std::clamp(high, -1.0, top));
}

void FillCorner(Map& m, std::int32_t map, std::int32_t i, std::int32_t j, std::int32_t k) {
  const float px = static_cast<float>(i > m.width ? 32 * i - 1 : 32 * i);
  const float py = static_cast<float>(j > m.height ? 32 * j - 1 : 32 * j);
  const float pz = static_cast<float>(k > m.layerCount ? 32 * k - 1 : 32 * k);
  const std::uint32_t colour = LightColorAt(map, px, py, pz, kNoColour);
  gameData.maps[map].lightGrid.At(i, j, k) = colour;
}

void GenerateLightingOf(std::int32_t map, std::int32_t light, bool rebuildCellLists) {
  Map& m = gameData.maps[map];
  if (m.keptById || !HasTiles(m)) return;
  const std::int32_t columns = m.width + 2, rows = m.height + 2, levels = m.layerCount + 2;
  CornerBox box;
  const Light* one = nullptr;
  if (light == -1) {
    m.lightGrid.Make(columns, rows, levels, 0);
    m.cellLights.Make(columns, rows, levels);
    box = {0, m.width + 1, 0, m.height + 1, 0, m.layerCount + 1};
  } else {
    if (light < 0 || light >= static_cast<std::int32_t>(m.lights.size())) return;
    // The light map is made by the first full pass; until then there is nothing to update.
    if (m.lightGrid.columns != columns || m.lightGrid.rows != rows || m.lightGrid.layers != levels) return;
    one = &m.lights[static_cast<std::size_t>(light)];
    if (!std::isfinite(one->x) || !std::isfinite(one->y) || !std::isfinite(one->z)) return;
    AxisRange(one->x, one->radius, m.width, box.i0, box.i1);
    AxisRange(one->y, one->radius, m.height, box.j0, box.j1);
    AxisRange(one->z, one->radius, m.layerCount, box.k0, box.k1);
  }
  for (std::int32_t i = box.i0; i <= box.i1; ++i) {
    for (std::int32_t j = box.j0; j <= box.j1; ++j) {
      if (one != nullptr) {
        // Only the horizontal distance decides which corners one light recomputes.
        const Light& l = gameData.maps[map].lights[static_cast<std::size_t>(light)];
        if (Squared(32.0 * i - l.x) + Squared(32.0 * j - l.y) > Squared(l.radius)) continue;
      }
      for (std::int32_t k = box.k0; k <= box.k1; ++k) FillCorner(gameData.maps[map], map, i, j, k);
    }
  }
  if (light != -1 && !rebuildCellLists) return;
  Map& after = gameData.maps[map];
  for (std::int32_t i = std::max(box.i0 - 2, 0); i <= std::min(box.i1 + 2, after.width); ++i)
    for (std::int32_t j = std::max(box.j0 - 2, 0); j <= std::min(box.j1 + 2, after.height); ++j)
      for (std::int32_t k = std::max(box.k0 - 2, 0); k <= std::min(box.k1 + 2, after.layerCount); ++k)
        BuildCellLightList(map, 32 * i + 16, 32 * j + 16, 32 * k + 16, after.cellLights.At(i, j, k));
}

}  // namespace

void GenerateLighting(std::int32_t map, std::int32_t light, bool rebuildCellLists) {
  if (map == -1) {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) GenerateLightingOf(m, light, rebuildCellLists);
  } else if (ValidMap(map)) {
    GenerateLightingOf(map, light, rebuildCellLists);
  }
}

std::uint32_t LightColorAt(std::int32_t map, float x, float y, float z, std::uint32_t colour) {
  if (!ValidMap(map)) return colour;
  Map& m = gameData.maps[map];
  if (!HasTiles(m)) return colour;
  const std::uint32_t ambient = m.ambientColor;
  const SectorCell* cell = SectorOf(m, ClampedPixel(x, m.width) / kSectorSize,
                                    ClampedPixel(y, m.height) / kSectorSize,
                                    ClampedPixel(z, m.layerCount) / kSectorSize);
  bool lit = false;
  std::int32_t red = 0, green = 0, blue = 0;
  if (cell != nullptr) {
    for (const std::int32_t index : cell->lights) {
      if (index < 0 || index >= static_cast<std::int32_t>(m.lights.size())) continue;
      Light& light = m.lights[static_cast<std::size_t>(index)];
      float d2 = 0.0f;
      if (!Reaches(map, light, x, y, z, Squared(light.radius), true, d2)) continue;
      const double intensity =
          static_cast<double>(light.currentIntensity) *
          (1.0 - static_cast<double>(1.0f - light.edgeIntensity) * std::sqrt(static_cast<double>(d2)) / light.radius);
      if (!lit) {
        lit = true;
        red = static_cast<std::int32_t>((ambient >> 16) & 0xFF);
        green = static_cast<std::int32_t>((ambient >> 8) & 0xFF);
        blue = static_cast<std::int32_t>(ambient & 0xFF);
      }
      const double sign = light.subtractive != 0 ? -1.0 : 1.0;
      red = RoundToLong(red + sign * light.red * intensity);
      green = RoundToLong(green + sign * light.green * intensity);
      blue = RoundToLong(blue + sign * light.blue * intensity);
    }
  }
  std::uint32_t result = ambient;
  if (lit) {
    result = (ambient & 0xFF000000u) | static_cast<std::uint32_t>(std::clamp(red, 0, 255)) << 16 |
             static_cast<std::uint32_t>(std::clamp(green, 0, 255)) << 8 |
             static_cast<std::uint32_t>(std::clamp(blue, 0, 255));
  }
  return colour == kNoColour ? result : ColorModulate(result, colour);
}

void BuildCellLightList(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z,
                        std::array<std::int32_t, 4>& list) {
  list.fill(-1);
  if (!ValidMap(map)) return;
  Map& m = gameData.maps[map];
  const SectorCell* cell = SectorOf(m, x / kSectorSize, y / kSectorSize, z / kSectorSize);
  if (cell == nullptr) return;
  std::size_t found = 0;
  for (const std::int32_t index : cell->lights) {
    if (found == list.size()) break;
    if (index < 0 || index >= static_cast<std::int32_t>(m.lights.size())) continue;
    Light& light = m.lights[static_cast<std::size_t>(index)];
    float d2 = 0.0f;
    if (Reaches(map, light, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                Squared(static_cast<double>(light.radius) + 32.0), false, d2))
      list[found++] = index;
  }
}

}  // namespace kiv
