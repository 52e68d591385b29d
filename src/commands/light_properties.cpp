// Lights of a map: colour, on and radius, each change relighting the map
// around the light.
#include "commands/map_object_access.h"
#include "commands/map_object_copies.h"
#include "commands/object_kind_commands.h"
#include "data/sector_grid.h"
#include "render/light_maps.h"
#include "script/script_map_resolvers.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// Colour changes this close (squared distance of the three bytes) are dropped.
constexpr std::int32_t kSmallestColourChange = 24;

Light& CalledLight(const InternalCall& call) { return CalledMapObject(call, &Map::lights); }

std::int32_t CalledLightIndex(const InternalCall& call) {
  return static_cast<std::int32_t>(CalledObjectIndex(call, CalledMap(call).lights.size()));
}

void Relight(const InternalCall& call) { GenerateLighting(CalledMapIndex(call), CalledLightIndex(call), true); }

void LightColor(InternalCall& call) {
  Light& light = CalledLight(call);
  if (!call.Assigning()) {
    const std::uint32_t argb = 0xFF000000u | (std::uint32_t{light.red} << 16) | (std::uint32_t{light.green} << 8) |
                               std::uint32_t{light.blue};
    call.Answer(Variant::Long(static_cast<std::int32_t>(argb)));
    return;
  }
  const auto rgb = static_cast<std::uint32_t>(VarToLong(call.value));
  const auto red = static_cast<std::int32_t>((rgb >> 16) & 0xFF);
  const auto green = static_cast<std::int32_t>((rgb >> 8) & 0xFF);
  const auto blue = static_cast<std::int32_t>(rgb & 0xFF);
  const std::int32_t dr = red - light.red, dg = green - light.green, db = blue - light.blue;
  if (dr * dr + dg * dg + db * db <= kSmallestColourChange) return;
  light.red = static_cast<std::uint8_t>(red);
  light.green = static_cast<std::uint8_t>(green);
  light.blue = static_cast<std::uint8_t>(blue);
  if (light.enabled != 0) Relight(call);
}

void LightOn(InternalCall& call) {
  Light& light = CalledLight(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(light.enabled));
    return;
  }
  std::uint8_t on = light.enabled;
  PropertySlot slot;
  slot.BindByte(on);
  slot.Assign(call.value);
  if (on == light.enabled) return;
  light.enabled = on;
  Relight(call);
  Light& relit = CalledLight(call);
  if (relit.enabled != 0) relit.clearDistanceSquared = relit.nearestBlockedSquared;
}

// The light leaves the sector cells of its old reach and enters those of the
// new one; the map is relit around it with the old reach dark first.
void LightRadius(InternalCall& call) {
  Light& light = CalledLight(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(light.radius));
    return;
  }
  const std::int32_t radius = VarToLong(call.value);
  if (radius == light.radius) return;
  const std::int32_t index = CalledLightIndex(call);
  const std::uint8_t on = light.enabled;
  if (on != 0) {
    light.enabled = 0;
    Relight(call);
    Light& off = CalledLight(call);
    SectorGridAddLight(CalledMap(call), index, off.x, off.y, off.z, off.radius, true);
    off.enabled = on;
  }
  Light& changed = CalledLight(call);
  changed.radius = radius < 1 ? 1 : radius;
  if (on == 0) return;
  changed.nearestBlockedSquared = static_cast<float>(changed.radius) * static_cast<float>(changed.radius) + 1.0f;
  SectorGridAddLight(CalledMap(call), index, changed.x, changed.y, changed.z, changed.radius, false);
  Relight(call);
  Light& relit = CalledLight(call);
  if (relit.clearDistanceSquared < relit.nearestBlockedSquared) relit.clearDistanceSquared = relit.nearestBlockedSquared;
}

// Off and nameless; the light keeps its place in the list.
void LightDelete(InternalCall& call) { RemoveLight(CalledMapIndex(call), CalledLightIndex(call)); }

// To x, y, z of the map named first; naming the map may load it.
void LightPosition(InternalCall& call) {
  const std::int32_t target = VarToLong(ScriptResolveMap(call.ArgumentText(0), true, true, true).value);
  const auto x = static_cast<float>(VarToDouble(call.Argument(1)));
  const auto y = static_cast<float>(VarToDouble(call.Argument(2)));
  const auto z = static_cast<float>(VarToDouble(call.Argument(3)));
  MoveLight(CalledLightIndex(call), CalledMapIndex(call), target, x, y, z);
}

constexpr InternalCommand kLightCommands[] = {
    {"Name", [](InternalCall& call) { TextProperty(call, CalledLight(call).name); }},
    {"Title", [](InternalCall& call) { TextProperty(call, CalledLight(call).displayName); }},
    {"Color", LightColor},
    {"On", LightOn},
    {"Radius", LightRadius},
    {"Delete", LightDelete},
    {"Position", LightPosition},
};

}  // namespace

void RunLightProperty(InternalCall& call) {
  static const ObjectCommandTable table(kLightCommands);
  table.Run(call);
}

std::span<const InternalCommand> LightCommands() { return kLightCommands; }

}  // namespace kiv
