#include "kivplay_dump_camera.h"

#include <string>

#include "core/text_encoding.h"
#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"

namespace kiv {

namespace {

constexpr std::uint8_t kViewKind = 6;

nlohmann::json captured = nlohmann::json::array();

nlohmann::json MatrixJson(const gfx::Matrix& m) {
  nlohmann::json rows = nlohmann::json::array();
  for (const auto& row : m.m) rows.push_back({row[0], row[1], row[2], row[3]});
  return rows;
}

nlohmann::json CameraEntry(std::int32_t map, std::int32_t index, const Field& field) {
  const FieldView& view = field.view;
  // The focus of a copy, so that a pan back is not ended by looking.
  Field copy = field;
  float x = 0, y = 0, z = 0;
  const std::int32_t shown = FieldViewFocus(copy, x, y, z);
  nlohmann::json entry = {
      {"interface", map},
      {"field", index},
      {"name", Utf16ToUtf8(field.name)},
      {"map", shown},
      {"screenView", view.screenView},
      {"projection", view.projection},
      {"viewAxis", view.viewAxis},
      {"pitch", view.pitch},
      {"yaw", view.yaw},
      {"roll", view.roll},
      {"distance", view.distance},
      {"range", view.distance2},
      {"focus", {x, y, z}},
      {"cameraSet", view.cameraSet},
  };
  if (view.cameraSet) {
    const gfx::Viewport& v = view.cameraViewport;
    entry["viewport"] = {v.x, v.y, v.width, v.height};
    entry["world"] = MatrixJson(view.cameraWorld);
    entry["view"] = MatrixJson(view.cameraView);
    entry["projection"] = MatrixJson(view.cameraProjection);
  }
  return entry;
}

}  // namespace

void CaptureViewCameras() {
  captured = nlohmann::json::array();
  for (std::int32_t map = FindNextMapInOrder(-1, false); map != -1; map = FindNextMapInOrder(map, false)) {
    const Map& record = gameData.maps[map];
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      const Field& field = record.fields[i];
      if (field.Kind() != kViewKind || field.noDraw != 0 || field.nonExistent != 0) continue;
      captured.push_back(CameraEntry(map, static_cast<std::int32_t>(i), field));
    }
  }
  // The scroll of the last view drawn.
  if (!captured.empty()) {
    captured.back()["scroll"] = {viewScroll.scrollX, viewScroll.scrollY, viewScroll.scrollZ};
  }
}

nlohmann::json CapturedViewCameras() { return captured; }

}  // namespace kiv
