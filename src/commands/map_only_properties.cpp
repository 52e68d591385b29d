// Identifiers that only maps serve (an interface ignores them): sizes,
// ambient colour, backdrop, weather and fog, music, gravity, the path-finding
// grid, lights at a point, actor searches, pick-ups and the tile layers.
#include <cmath>
#include <string>
#include <vector>

#include "commands/map_command_table.h"
#include "commands/object_executor.h"
#include "commands/tile_layers.h"
#include "data/game_data.h"
#include "data/map_script_fields.h"
#include "data/map_weather_fields.h"
#include "data/template_application.h"
#include "mathkiv/math_init.h"
#include "media/sound_sets.h"
#include "player/game_reset.h"
#include "render/light_maps.h"
#include "render/weather_placement.h"
#include "script/project_options.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_object_names.h"
#include "script/script_party_resolvers.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "world/doors_pickups.h"
#include "world/move_tests.h"
#include "world/relations.h"

namespace kiv {

namespace {

constexpr std::int32_t kTilePixels = 32;
// The largest Single less two units in the last place: farther than any actor.
constexpr double kFarthest = 3.4028230607370965e38;

void Size(InternalCall& call, std::int32_t lastIndex) {
  if (call.Assigning()) RaiseObjectMessage("You cannot change the dimensions of a map.");
  const std::int32_t tiles = LegacyMapSize() ? lastIndex : lastIndex + 1;
  call.Answer(Variant::Long(tiles * kTilePixels));
}

void SizeX(InternalCall& call, std::int32_t map) { Size(call, gameData.maps[map].width); }
void SizeY(InternalCall& call, std::int32_t map) { Size(call, gameData.maps[map].height); }
void SizeZ(InternalCall& call, std::int32_t map) { Size(call, gameData.maps[map].layerCount); }

void Color(InternalCall& call, std::int32_t map) {
  Map& record = gameData.maps[map];
  if (!call.Assigning()) {
    call.Answer(Variant::Long(static_cast<std::int32_t>(record.ambientColor)));
    return;
  }
  const std::int32_t value = VarToLong(call.value);
  record.ambientColor = static_cast<std::uint32_t>(value);
  record.ambientFactors[0] = static_cast<float>(value & 255) / 255.0f;
  record.ambientFactors[1] = static_cast<float>((value / 256) & 255) / 255.0f;
  record.ambientFactors[2] = static_cast<float>((value / 65536) & 255) / 255.0f;
  GenerateLighting(map, -1, true);
}

std::int32_t& AsLong(std::uint32_t& colour) { return reinterpret_cast<std::int32_t&>(colour); }

void BackgroundColor1(InternalCall& call, std::int32_t map) {
  call.slot.BindLong(AsLong(gameData.maps[map].backgroundColor1));
}
void BackgroundColor2(InternalCall& call, std::int32_t map) {
  call.slot.BindLong(AsLong(gameData.maps[map].backgroundColor2));
}

// A weather amount: an assignment places the particles anew.
void WeatherAmount(InternalCall& call, std::int32_t map, float& amount) {
  call.slot.BindSingle(amount);
  if (!call.Assigning()) return;
  call.slot.Assign(call.value);
  call.slot = PropertySlot();
  InitMapWeather(map);
}

void Clouds(InternalCall& call, std::int32_t map) { WeatherAmount(call, map, CloudDensity(gameData.maps[map])); }
void Rain(InternalCall& call, std::int32_t map) { WeatherAmount(call, map, RainDensity(gameData.maps[map])); }

void Fog(InternalCall& call, std::int32_t map) { call.slot.BindBoolean(gameData.maps[map].fogOn); }
void FogColor(InternalCall& call, std::int32_t map) { call.slot.BindLong(AsLong(gameData.maps[map].fogColor)); }
void FogStart(InternalCall& call, std::int32_t map) { call.slot.BindSingle(gameData.maps[map].fogStart); }
void FogEnd(InternalCall& call, std::int32_t map) { call.slot.BindSingle(gameData.maps[map].fogEnd); }
void Free(InternalCall& call, std::int32_t map) { call.slot.BindBoolean(MapFreeFlag(gameData.maps[map])); }
void Alarm(InternalCall& call, std::int32_t map) { call.slot.BindBoolean(MapAlarm(gameData.maps[map])); }

void Music(InternalCall& call, std::int32_t map) {
  if (!call.Assigning()) {
    const std::int32_t sound = MapMusic(gameData.maps[map]);
    const bool known = sound >= 0 && static_cast<std::size_t>(sound) < soundSets.size();
    call.Answer(Variant::Text(known ? soundSets[static_cast<std::size_t>(sound)].name : std::u16string()));
    return;
  }
  const std::u16string name = VarToText(call.value);
  const std::int32_t sound = name.empty() ? -1 : ScriptLookupSound(name, true);
  MapMusic(gameData.maps[map]) = sound;
  RefreshViewedMaps(false);
}

void ChangeGravity(InternalCall& call, std::int32_t map) {
  const float x = static_cast<float>(VarToDouble(call.Argument(0)));
  const float y = static_cast<float>(VarToDouble(call.Argument(1)));
  const float z = static_cast<float>(VarToDouble(call.Argument(2)));
  Map& record = gameData.maps[map];
  MapGravityX(record) = x;
  MapGravityY(record) = y;
  MapGravityZ(record) = z;
}

void AIScan(InternalCall&, std::int32_t map) { PaintPathCollision(map, -1, -1, false); }

void LightAtPos(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const float x = static_cast<float>(VarToDouble(call.Argument(0)));
  const float y = static_cast<float>(VarToDouble(call.Argument(1)));
  const float z = static_cast<float>(VarToDouble(call.Argument(2)));
  call.Answer(Variant::Long(static_cast<std::int32_t>(LightColorAt(map, x, y, z, 0xFFFFFFFFu))));
}

// The template an actor must be of (or descend from); -1 any.
std::int32_t TemplateFilter(const std::u16string& name) {
  if (name.empty()) return -1;
  return VarToLong(ScriptLookupActorTemplate(name, true).value);
}

bool MatchesTemplate(const Actor& actor, std::int32_t filter) {
  if (actor.removed != 0) return false;
  return filter < 0 || IsSameOrDescendant(actor.templateIndex, filter);
}

bool IsCharacterInPlay(const Actor& actor) {
  if (actor.removed != 0) return false;
  std::u16string name = actor.name;
  const std::size_t first = name.find_first_not_of(u' ');
  name = first == std::u16string::npos ? std::u16string() : name.substr(first);
  for (char16_t& c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return name.rfind(u"character ", 0) == 0;
}

std::u16string FullName(std::int32_t map, const Actor& actor) {
  return u"|" + gameData.maps[map].fileName + u":" + actor.name;
}

// The nearest matching actor in list order (ties keep the earlier one); -1 none.
template <typename Matches>
std::int32_t Closest(InternalCall& call, std::int32_t map, Matches matches) {
  const double x = VarToDouble(call.Argument(0));
  const double y = VarToDouble(call.Argument(1));
  const double z = VarToDouble(call.Argument(2));
  double best = kFarthest;
  std::int32_t found = -1;
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  for (std::size_t i = 0; i < actors.size(); ++i) {
    if (!matches(actors[i])) continue;
    const double dx = x - actors[i].x;
    const double dy = y - actors[i].y;
    const double dz = z - actors[i].z;
    const double distance = dx * dx + dy * dy + dz * dz;
    if (distance < best) {
      best = distance;
      found = static_cast<std::int32_t>(i);
    }
  }
  return found;
}

void ClosestActor(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const std::int32_t filter = TemplateFilter(call.ArgumentText(3));
  const std::int32_t found = Closest(call, map, [filter](const Actor& a) { return MatchesTemplate(a, filter); });
  call.Answer(Variant::Text(found < 0 ? std::u16string()
                                      : FullName(map, gameData.maps[map].actors[static_cast<std::size_t>(found)])));
}

void ClosestChar(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const std::int32_t found = Closest(call, map, IsCharacterInPlay);
  call.Answer(Variant::Text(
      found < 0 ? std::u16string()
                : ScriptParseScriptingId(gameData.maps[map].actors[static_cast<std::size_t>(found)].name,
                                         kObjectCharacter)));
}

void Actors(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const std::int32_t filter = TemplateFilter(call.ArgumentText(0));
  std::vector<Variant> names;
  for (const Actor& actor : gameData.maps[map].actors) {
    if (MatchesTemplate(actor, filter)) names.push_back(Variant::Text(FullName(map, actor)));
  }
  call.Answer(Variant::Array(kVarVariant, std::move(names)));
}

void ActorCreated(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const ScriptValue actor = ScriptResolveActor(call.ArgumentText(0), map, false, false);
  call.Answer(Variant::Long(actor.value.IsEmpty() || VarToLong(actor.value) < 0 ? 0 : 1));
}

void AddItem(InternalCall& call, std::int32_t map, std::int32_t look) {
  const std::int32_t item = VarToLong(ScriptLookupItem(call.ArgumentText(0), true, false).value);
  const Variant money = call.Argument(4);
  const std::int64_t scaled = money.Type() == kVarCurrency
                                  ? money.CurrencyScaledValue()
                                  : static_cast<std::int64_t>(std::nearbyint(VarToDouble(money) * 10000.0));
  AddPickUp(map, static_cast<float>(VarToDouble(call.Argument(7))), static_cast<float>(VarToDouble(call.Argument(8))),
            static_cast<float>(VarToDouble(call.Argument(9))), item, call.ArgumentLong(1), call.ArgumentLong(2),
            call.ArgumentLong(3), scaled, call.ArgumentLong(5), look);
}

void SpawnItem(InternalCall& call, std::int32_t map) {
  const std::int32_t look = VarToLong(ScriptLookupEffect(call.ArgumentText(6), true, true).value);
  AddItem(call, map, look);
}

void SpawnItem2(InternalCall& call, std::int32_t map) {
  const std::int32_t look = VarToLong(ScriptLookupSprite(call.ArgumentText(6), -1, true, true).value);
  AddItem(call, map, look);
}

std::int32_t Layer(const InternalCall& call) { return ScriptConvertTileSetLayer(call.ArgumentText(0), true); }

void SwitchTileSet(InternalCall& call, std::int32_t map) {
  const std::int32_t layer = Layer(call);
  const std::int32_t from = ScriptLookupTileSet(call.ArgumentText(1), layer, false, true);
  const std::int32_t to = ScriptLookupTileSet(call.ArgumentText(2), layer, true, true);
  SwitchTileSetInLayer(map, layer, from, to);
}

void SwitchTile(InternalCall& call, std::int32_t map) {
  const std::int32_t layer = Layer(call);
  const std::int32_t from = ScriptLookupTileSet(call.ArgumentText(1), layer, false, true);
  const auto fromTile = static_cast<std::uint8_t>(call.ArgumentLong(2));
  const std::int32_t to = ScriptLookupTileSet(call.ArgumentText(3), layer, true, true);
  const auto toTile = static_cast<std::uint8_t>(call.ArgumentLong(4));
  SwitchTileInLayer(map, layer, from, fromTile, to, toTile);
}

struct TileCell {
  std::int32_t x, y, z;
};

// The cell of the pixel arguments first..first+2, checked against the map.
TileCell CheckedCell(const InternalCall& call, std::int32_t map, std::int32_t first) {
  const TileCell cell{call.ArgumentLong(first) / kTilePixels, call.ArgumentLong(first + 1) / kTilePixels,
                      call.ArgumentLong(first + 2) / kTilePixels};
  ScriptCheckTileBounds(map, cell.x, cell.y, cell.z);
  return cell;
}

void ChangeTile(InternalCall& call, std::int32_t map) {
  const TileCell cell = CheckedCell(call, map, 3);
  const std::int32_t layer = Layer(call);
  const std::int32_t set = ScriptLookupTileSet(call.ArgumentText(1), layer, true, true);
  SetTileInLayer(map, layer, set, static_cast<std::uint8_t>(call.ArgumentLong(2)), cell.x, cell.y, cell.z);
}

// The tile set of a cell's slot, -1 for no tile or a slot without a set.
std::int32_t CellTileSet(const TileLayerGroup& group, const TileCell& cell) {
  const std::uint8_t slot = group.slotGrid.At(cell.x, cell.y, cell.z);
  if (slot == 0 || slot > group.slotTileSets.size()) return -1;
  const std::int32_t set = group.slotTileSets[slot - 1u];
  return set >= 0 && static_cast<std::size_t>(set) < gameData.tileSets.size() ? set : -1;
}

const TileLayerGroup& ReadGroup(const InternalCall& call, std::int32_t map) {
  return gameData.maps[map].tileLayerGroups[static_cast<std::size_t>(Layer(call))];
}

void GetTileSet(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const TileCell cell = CheckedCell(call, map, 1);
  const std::int32_t set = CellTileSet(ReadGroup(call, map), cell);
  call.Answer(Variant::Text(set < 0 ? std::u16string() : gameData.tileSets[static_cast<std::size_t>(set)].name));
}

void GetTile(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const TileCell cell = CheckedCell(call, map, 1);
  call.Answer(Variant::Long(ReadGroup(call, map).tileGrid.At(cell.x, cell.y, cell.z) & 63));
}

void GetTileName(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const TileCell cell = CheckedCell(call, map, 1);
  const TileLayerGroup& group = ReadGroup(call, map);
  const std::int32_t set = CellTileSet(group, cell);
  std::u16string name;
  if (set >= 0) {
    const auto& tiles = gameData.tileSets[static_cast<std::size_t>(set)].tiles;
    const std::size_t tile = group.tileGrid.At(cell.x, cell.y, cell.z) & 63u;
    if (tile < tiles.size()) name = tiles[tile].name;
  }
  call.Answer(Variant::Text(name));
}

void AICollision(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  const Map& record = gameData.maps[map];
  const std::int32_t px = call.ArgumentLong(0);
  const std::int32_t py = call.ArgumentLong(1);
  const std::int32_t pz = call.ArgumentLong(2);
  // A negative pixel is outside, also from -1 to -31, which division would put in cell 0.
  if (px < 0 || py < 0 || pz < 0) {
    call.Answer(Variant::Long(1));
    return;
  }
  const std::int32_t x = px / kTilePixels;
  const std::int32_t y = py / kTilePixels;
  const std::int32_t z = pz / kTilePixels;
  if (x > record.width || y > record.height || z > record.layerCount) {
    call.Answer(Variant::Long(1));
    return;
  }
  const std::int32_t cellSize = mathKivSettings.pathCellSize;
  const std::int32_t perTile = cellSize > 0 ? kTilePixels / cellSize : 0;
  const ByteGrid3& grid = record.workingCollision;
  std::int32_t blocked = 0;
  for (std::int32_t i = 0; i < perTile && blocked == 0; ++i) {
    for (std::int32_t j = 0; j < perTile; ++j) {
      const std::int32_t gx = x * perTile + i;
      const std::int32_t gy = y * perTile + j;
      if (gx >= grid.columns || gy >= grid.rows || z >= grid.layers) continue;
      const std::uint8_t value = grid.At(gx, gy, z);
      if (value != 0 && value != 255) {
        blocked = 1;
        break;
      }
    }
  }
  call.Answer(Variant::Long(blocked));
}

void LineCollision(InternalCall& call, std::int32_t map) {
  if (call.Assigning()) return;
  if (VarToDouble(call.Argument(2)) != VarToDouble(call.Argument(5))) {
    RaiseObjectMessage("Line testing with different Z-values is currently not possible.");
  }
  LineSegment segment;
  segment.x1 = call.ArgumentLong(0);
  segment.y1 = call.ArgumentLong(1);
  segment.x2 = call.ArgumentLong(3);
  segment.y2 = call.ArgumentLong(4);
  SegmentTrace trace;
  trace.height = static_cast<float>(VarToDouble(call.Argument(2)));
  trace.skipTeams[0] = ScriptResolveTeam(call.ArgumentText(6), true, true);
  trace.skipTeams[1] = ScriptResolveTeam(call.ArgumentText(7), true, true);
  for (std::int32_t k = 0; k < 2; ++k) {
    const ScriptValue actor = ScriptResolveActor(call.ArgumentText(8 + k), map, true, true);
    trace.skipCharacters[static_cast<std::size_t>(k)] = actor.value.IsEmpty() ? -1 : VarToLong(actor.value);
  }
  trace.zoneSwitch = -2;
  call.Answer(Variant::Long(TraceSegment(map, segment, trace) ? 1 : 0));
}

constexpr MapCommand kMapOnly[] = {
    {"SizeX", SizeX},
    {"SizeY", SizeY},
    {"SizeZ", SizeZ},
    {"Color", Color},
    {"BackgroundColor1", BackgroundColor1},
    {"BackgroundColor2", BackgroundColor2},
    {"Clouds", Clouds},
    {"Rain", Rain},
    {"Fog", Fog},
    {"FogColor", FogColor},
    {"FogStart", FogStart},
    {"FogEnd", FogEnd},
    {"Free", Free},
    {"Alarm", Alarm},
    {"Music", Music},
    {"ChangeGravity", ChangeGravity},
    {"AIScan", AIScan},
    {"LightAtPos", LightAtPos},
    {"ClosestActor", ClosestActor},
    {"ClosestChar", ClosestChar},
    {"Actors", Actors},
    {"ActorCreated", ActorCreated},
    {"SpawnItem", SpawnItem},
    {"SpawnItem2", SpawnItem2},
    {"SwitchTileSet", SwitchTileSet},
    {"SwitchTile", SwitchTile},
    {"ChangeTile", ChangeTile},
    {"GetTileSet", GetTileSet},
    {"GetTile", GetTile},
    {"GetTileName", GetTileName},
    {"AICollision", AICollision},
    {"LineCollision", LineCollision},
};

}  // namespace

std::span<const MapCommand> MapOnlyCommands() { return kMapOnly; }

}  // namespace kiv
