#include "kivplay_dump_fields.h"

#include <string>

#include "core/math_util.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "media/draw_device.h"
#include "player/player_hooks.h"
#include "render/draw_helpers.h"
#include "render/frame_drawing.h"

namespace kiv {

namespace {

constexpr std::uint8_t kViewKind = 6;

nlohmann::json FieldEntry(std::int32_t map, std::int32_t index, const Field& field, std::int32_t width,
                          std::int32_t height) {
  const Map& record = gameData.maps[map];
  FieldScreenRect rect;
  // Interfaces are drawn at their screen offset over the whole back buffer.
  GetFieldScreenRect(field, RoundToLong(record.ScreenOffsetX()), RoundToLong(record.ScreenOffsetY()), width, height,
                     rect);
  nlohmann::json entry = {
      {"map", map},
      {"index", index},
      {"name", Utf16ToUtf8(field.name)},
      {"kind", field.Kind()},
      {"rect", {rect.left, rect.top, rect.width, rect.height}},
      {"anchor", {field.x - static_cast<float>(rect.offsetX), field.y - static_cast<float>(rect.offsetY)}},
      {"textRect", {field.textRect[0], field.textRect[1], field.textRect[2], field.textRect[3]}},
  };
  if (field.Kind() == kViewKind) {
    entry["view"] = {
        {"map", playerHooks.FieldViewMap(map, index)},
        {"pitch", field.view.pitch},
        {"yaw", field.view.yaw},
        {"distance", field.view.distance},
        {"distance2", field.view.distance2},
        {"followedPlayer", field.view.followedPlayer},
        {"followedCharacter", field.view.followedCharacter},
        {"ownMap", field.view.ownMap},
    };
    float x = 0, y = 0, z = 0;
    playerHooks.FieldViewFocus(map, index, x, y, z);
    entry["view"]["focus"] = {x, y, z};
  }
  return entry;
}

}  // namespace

nlohmann::json DumpShownFields() {
  nlohmann::json fields = nlohmann::json::array();
  if (!DrawDeviceAvailable()) return fields;
  DrawDevice& device = CurrentDrawDevice();
  const auto width = static_cast<std::int32_t>(device.BackBufferWidth());
  const auto height = static_cast<std::int32_t>(device.BackBufferHeight());
  for (std::int32_t map = FindNextMapInOrder(-1, false); map != -1; map = FindNextMapInOrder(map, false)) {
    const Map& record = gameData.maps[map];
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      const Field& field = record.fields[i];
      if (field.noDraw != 0 || field.nonExistent != 0) continue;
      fields.push_back(FieldEntry(map, static_cast<std::int32_t>(i), field, width, height));
    }
  }
  return fields;
}

bool DrawPickImage() {
  if (!DrawDeviceAvailable()) return false;
  pickPass = 1;
  try {
    DrawFrame();
  } catch (...) {
    pickPass = 0;
    throw;
  }
  pickPass = 0;
  return true;
}

}  // namespace kiv
