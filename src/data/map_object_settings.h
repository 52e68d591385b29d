#pragma once
// What the readers of map objects take from the project state and from device
// start-up. The project-state loader and device start-up fill it; until then it
// holds the values of an empty project on an 800 x 600 display.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/identifier.h"

namespace kiv {

// Fields sized in inches and font sizes in points scale by the display's dots
// per inch, which device start-up fixes at 96.
inline constexpr float kScreenDotsPerInch = 96.0f;

// The project's per-state colours of the field styles 1 to 4.
struct FieldStylePresets {
  std::uint32_t style1 = 0;
  std::uint32_t style2 = 0;
  std::array<std::uint32_t, 4> style3A{};  // per state
  std::array<std::uint32_t, 4> style3B{};
  std::uint32_t style3C = 0;
  std::array<std::uint32_t, 3> style4{};  // states 0 and 1, state 2, state 3
};

// A map the project settings name by file name and identifier.
struct ProjectMapName {
  std::u16string name;
  Identifier id;
};

struct MapObjectSettings {
  // Every actor gets a part for each appearance slot 1 to 9 that it lacks.
  bool completeAppearance = false;
  FieldStylePresets stylePresets;
  // Fields of files before 100486 in these two maps lose their anchor flags.
  std::array<ProjectMapName, 2> anchorMaps;
  // 1 swaps a screen layout's width and height before it is scored.
  std::int32_t screenRotation = 0;
  // Identifiers of the project's equipment areas, in table order.
  std::vector<Identifier> equipmentAreaIds;
  std::int32_t teamLastIndex = -1;

  // The display as device start-up keeps it: size in pixels and size value.
  std::int32_t displayWidth = 800;
  std::int32_t displayHeight = 600;
  double displaySize = 0.0;

  void Reset() { *this = MapObjectSettings(); }
};
extern MapObjectSettings mapObjectSettings;

}  // namespace kiv
