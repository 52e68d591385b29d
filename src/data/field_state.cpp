#include "data/field_state.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/math_util.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"

namespace kiv {

namespace {

constexpr std::int32_t kAnchorLeft = 1;
constexpr std::int32_t kAnchorTop = 2;
constexpr std::int32_t kAnchorRight = 4;
constexpr std::int32_t kAnchorBottom = 8;
constexpr std::int32_t kAnchorScale = 0x20;

void CopyStateToLive(Field& field) {
  if (field.style == 5) return;
  const std::size_t state = static_cast<std::size_t>(field.state) + 1;
  if (state >= kFieldStateCount) return;
  field.colorsA[0] = field.colorsA[state];
  field.colorsB[0] = field.colorsB[state];
  field.colorsC[0] = field.colorsC[state];
}

// One axis of the rescale: position and size from design extent d to current extent w.
void RescaleAxis(float& position, float& size, double d, double w, std::int32_t flags, std::int32_t nearFlag,
                 std::int32_t farFlag, bool keepSize) {
  if (d == w) return;
  double p = position;
  if (d != 0.0) {
    const bool scale = (flags & kAnchorScale) != 0;
    if ((flags & nearFlag) != 0 && (flags & farFlag) != 0) {
      p = p / d * w;
      if (!keepSize) size = static_cast<float>(static_cast<double>(size) * w / d);
    } else if ((flags & farFlag) != 0) {
      p = scale ? p / d * w : p + w - d;
    } else if ((flags & nearFlag) == 0) {
      p = p + static_cast<double>(static_cast<std::int64_t>(w - d) / 2);
    } else if (scale) {
      p = p / d * w;
    }
  }
  position = static_cast<float>(8 * (RoundToLong(p) / 8));
}

}  // namespace

void SetFieldStateDefaults(Field& field) {
  const FieldStylePresets& presets = mapObjectSettings.stylePresets;
  for (std::size_t state = 0; state < 4; ++state) {
    const std::size_t entry = state + 1;
    switch (field.style) {
      case 1:
      case 2: {
        const std::uint32_t value = field.style == 1 ? presets.style1 : presets.style2;
        field.colorsA[entry] = value;
        field.colorsB[entry] = value;
        field.colorsC[entry] = 0;
        break;
      }
      case 3:
        field.colorsA[entry] = presets.style3A[state];
        field.colorsB[entry] = presets.style3B[state];
        field.colorsC[entry] = presets.style3C;
        break;
      case 4: {
        const std::uint32_t value = presets.style4[state <= 1 ? 0 : state - 1];
        field.colorsA[entry] = value;
        field.colorsB[entry] = value;
        field.colorsC[entry] = 0;
        break;
      }
      default:
        return;
    }
  }
}

void ApplyFieldState(Map& map, std::int32_t f) {
  if (f < 0 || f >= static_cast<std::int32_t>(map.fields.size())) return;
  // Depth-first over the tree of child fields, with an explicit stack so that
  // a long chain of fields cannot exhaust the call stack. A child is visited
  // only when its state differs, so a cycle of parents ends.
  struct Frame {
    std::int32_t field;
    std::size_t next;
  };
  std::vector<Frame> stack;
  auto enter = [&](std::int32_t index) {
    Field& field = map.fields[static_cast<std::size_t>(index)];
    CopyStateToLive(field);
    field.appliedSelectable = field.selectable;
    stack.push_back({index, 0});
  };
  enter(f);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const Field& parent = map.fields[static_cast<std::size_t>(frame.field)];
    bool descended = false;
    while (frame.next < map.fields.size()) {
      const std::size_t g = frame.next++;
      Field& child = map.fields[g];
      if (child.parent != frame.field || child.state == parent.state) continue;
      child.state = parent.state;
      enter(static_cast<std::int32_t>(g));
      descended = true;
      break;
    }
    if (descended) continue;
    // Leaving a child: it takes its parent's selectable flag as applied.
    const std::int32_t done = frame.field;
    stack.pop_back();
    if (!stack.empty()) {
      map.fields[static_cast<std::size_t>(done)].appliedSelectable =
          map.fields[static_cast<std::size_t>(stack.back().field)].selectable;
    }
  }
}

void ApplyFieldStateToFamily(Map& map, std::int32_t f, const std::vector<std::int32_t>& children) {
  if (f < 0 || f >= static_cast<std::int32_t>(map.fields.size())) return;
  Field& parent = map.fields[static_cast<std::size_t>(f)];
  CopyStateToLive(parent);
  parent.appliedSelectable = parent.selectable;
  for (std::int32_t c : children) {
    if (c < 0 || c >= static_cast<std::int32_t>(map.fields.size())) continue;
    Field& child = map.fields[static_cast<std::size_t>(c)];
    if (child.state == parent.state) continue;
    child.state = parent.state;
    CopyStateToLive(child);
    // Entered and left at once: it ends with its parent's selectable flag.
    child.appliedSelectable = parent.selectable;
  }
}

bool ApplyLayoutToField(Map& map, std::int32_t f, std::int32_t k) {
  if (k < 0 || k >= static_cast<std::int32_t>(map.screenLayouts.size())) return false;
  if (f < 0 || f >= static_cast<std::int32_t>(map.fields.size())) return false;
  for (const FieldPlacement& placement : map.screenLayouts[static_cast<std::size_t>(k)].placements) {
    if (placement.values[0] != f) continue;
    Field& field = map.fields[static_cast<std::size_t>(f)];
    field.x = static_cast<float>(placement.values[1]);
    field.y = static_cast<float>(placement.values[2]);
    field.width = static_cast<float>(placement.values[3]);
    field.height = static_cast<float>(placement.values[4]);
    field.placementValue = placement.values[5];
    return true;
  }
  return false;
}

void RescaleFieldToScreen(Map& map, std::int32_t f) {
  if (f < 0 || f >= static_cast<std::int32_t>(map.fields.size())) return;
  double currentWidth = dataSettings.gameVideoWidth;
  double currentHeight = dataSettings.gameVideoHeight;
  if (map.chosenScreenLayout >= 0 && map.chosenScreenLayout < static_cast<std::int32_t>(map.screenLayouts.size())) {
    const ScreenLayout& layout = map.screenLayouts[static_cast<std::size_t>(map.chosenScreenLayout)];
    currentWidth = layout.width;
    currentHeight = layout.height;
  }
  Field& field = map.fields[static_cast<std::size_t>(f)];
  RescaleAxis(field.x, field.width, map.designWidth, currentWidth, field.anchorFlags, kAnchorLeft, kAnchorRight,
              field.KeepSize());
  RescaleAxis(field.y, field.height, map.designHeight, currentHeight, field.anchorFlags, kAnchorTop,
              kAnchorBottom, field.KeepSize());
}

std::array<CellLight, 4> EnableCellLights(Map& map, const std::array<std::int32_t, 4>& cellLights,
                                          float worldScale) {
  std::array<CellLight, 4> result;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int32_t index = cellLights[i];
    if (index < 0 || index >= static_cast<std::int32_t>(map.lights.size())) continue;
    Light& light = map.lights[static_cast<std::size_t>(index)];
    // A light that reaches nowhere lights nothing (and has no finite falloff).
    if (light.radius <= 0 || worldScale == 0.0f) continue;
    CellLight& cell = result[i];
    cell.enabled = true;
    cell.x = light.x;
    cell.y = light.y;
    cell.z = light.z;
    const float intensity = light.currentIntensity;
    cell.diffuse = {light.red / 255.0f * intensity, light.green / 255.0f * intensity,
                    light.blue / 255.0f * intensity};
    cell.range = static_cast<float>(light.radius);
    const float scaledRadius = worldScale * static_cast<float>(light.radius);
    light.shaderFalloff = 1.0f / (scaledRadius * scaledRadius);
    cell.vertexConstant = {worldScale * light.x, worldScale * light.y, worldScale * light.z, light.shaderFalloff};
    cell.pixelConstant = {cell.diffuse[0], cell.diffuse[1], cell.diffuse[2], 1.0f};
  }
  return result;
}

}  // namespace kiv
