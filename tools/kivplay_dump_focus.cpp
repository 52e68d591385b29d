#include "kivplay_dump_focus.h"

#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/player_input_state.h"

namespace kiv::harness {

namespace {

nlohmann::json captured;

}  // namespace

void CaptureInterfaceFocus() {
  nlohmann::json interfaces = nlohmann::json::array();
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    Map& map = gameData.maps[m];
    if (!map.isInterface || map.overlayActive != 1) continue;
    interfaces.push_back({{"map", m},
                          {"name", Utf16ToUtf8(map.fileName)},
                          {"selectedField", map.SelectedField()},
                          {"cursorField", map.CursorField()},
                          {"capturesFocus", map.exclusive}});
  }
  const PlayerInputState& pointer = playerInputStates[0];
  captured = {
      {"playerInterface", projectState.currentPlayerInterface.index},
      {"interfaces", interfaces},
      {"pointer",
       {{"position", {pointer.cursorX, pointer.cursorY}},
        {"hover", {pointer.targetMap, pointer.targetKind, pointer.targetIndex}},
        {"pressed", {pointer.pressMap, pointer.pressKind, pointer.pressIndex}},
        {"buttonState", pointer.actionState},
        {"pathPoints", pointer.stroke.points.size()}}},
  };
}

void AddInterfaceFocusDump(nlohmann::json& dump) { dump["focus"] = captured; }

}  // namespace kiv::harness
