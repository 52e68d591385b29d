// What is drawn over the characters of a map once the map is flat on the
// screen: the interface a character carries, centred on it, and the text of
// its message.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/math_util.h"
#include "core/quaternion_math.h"
#include "data/actor_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "render/map_drawing.h"
#include "render/map_object_drawing.h"
#include "render/map_top_drawing.h"
#include "render/text_drawing.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::int32_t kMessageFont = 0;
// Message text: its first line's top lies this far above the character's
// foot point on the screen, over a character of two tiles' height.
constexpr std::int32_t kMessageRise = 80;
// The two colour forms: white fading to light grey for what a character
// says, warm yellow for the second form; both with a dark shadow for legibility
// over any ground.
constexpr std::uint32_t kSayTop = 0xFFFFFFFF, kSayBottom = 0xFFC8C8C8;
constexpr std::uint32_t kSecondTop = 0xFFFFF080, kSecondBottom = 0xFFE0B040;
constexpr std::uint32_t kMessageShadow = 0xC0000000;

bool OptionFlag(std::size_t number) { return storedProjectSettings.flags[number - 1] != 0; }

Vector3 ProjectActor(const Actor& actor, const MapView& view) {
  Viewport viewport{static_cast<std::int32_t>(view.viewport.x), static_cast<std::int32_t>(view.viewport.y),
                    static_cast<std::int32_t>(view.viewport.width), static_cast<std::int32_t>(view.viewport.height),
                    view.viewport.minZ, view.viewport.maxZ};
  auto matrix = [](const gfx::Matrix& m) {
    Matrix4 out;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) out.m[r][c] = m.m[r][c];
    return out;
  };
  return ProjectToScreen(actor.x, actor.y, actor.z, viewport, matrix(view.projection), matrix(view.view),
                         matrix(view.world));
}

// The interface a character carries, drawn with its design area centred on
// the character. The character's own copies of the interface's lists and
// ambient colour stand in for the interface's while it is updated and drawn,
// and go back to the character on every way out.
void DrawCarriedInterface(const MapDrawStep& step, std::int32_t index) {
  const std::int32_t carried = gameData.maps[step.map].actors[static_cast<std::size_t>(index)].mapReference.kind;
  if (carried < 0 || carried > gameData.maps.LastIndex() || carried == step.map) return;
  if (!gameData.maps[carried].isInterface || gameData.maps[carried].overlayActive != 0) return;
  auto actorRecord = [&]() -> Actor* {
    std::vector<Actor>& list = gameData.maps[step.map].actors;
    return static_cast<std::size_t>(index) < list.size() ? &list[static_cast<std::size_t>(index)] : nullptr;
  };
  gameData.maps[carried].overlayActive = 1;
  std::vector<Field> ownFields = std::exchange(gameData.maps[carried].fields, std::move(actorRecord()->carriedFields));
  std::vector<Spawn> ownSpawns = std::exchange(gameData.maps[carried].spawns, std::move(actorRecord()->carriedSpawns));
  const std::uint32_t ownAmbient = std::exchange(gameData.maps[carried].ambientColor, actorRecord()->carriedAmbient);
  const auto giveBack = [&] {
    Map& shown = gameData.maps[carried];
    if (Actor* actor = actorRecord()) {
      actor->carriedFields = std::move(shown.fields);
      actor->carriedSpawns = std::move(shown.spawns);
      actor->carriedAmbient = shown.ambientColor;
    }
    shown.fields = std::move(ownFields);
    shown.spawns = std::move(ownSpawns);
    shown.ambientColor = ownAmbient;
    shown.overlayActive = 0;
  };
  try {
    renderHooks.UpdateCarriedInterfaceSystems(carried, step.map, index);
    const Actor* actor = actorRecord();
    if (actor != nullptr) {
      const Vector3 at = ProjectActor(*actor, *step.view);
      const double designWidth = dataSettings.gameVideoWidth, designHeight = dataSettings.gameVideoHeight;
      const std::int32_t x = RoundToLong(at.x - designWidth / 2 + std::floor((designWidth - step.width) / 2));
      const std::int32_t y = RoundToLong(at.y - designHeight / 2 + std::floor((designHeight - step.height) / 2));
      DrawMap(carried, x, y, step.parentMap, step.viewField, step.width, step.height);
    }
  } catch (...) {
    giveBack();
    throw;
  }
  giveBack();
}

void DrawMessageText(const Actor& actor, const MapView& view) {
  if (gameData.fontSets.empty() || actor.messageText.empty()) return;
  const Vector3 at = ProjectActor(actor, view);
  const MessageTextLook look = MessageTextPlacement(at.x, at.y, actor.messageSecondForm != 0);
  DrawTextCentered(kMessageFont, actor.messageText, look.x, look.y, look.top, look.bottom, look.shadow);
}

}  // namespace

MessageTextLook MessageTextPlacement(float screenX, float screenY, bool secondForm) {
  MessageTextLook look;
  look.x = RoundToLong(screenX);
  look.y = RoundToLong(screenY) - kMessageRise;
  look.top = secondForm ? kSecondTop : kSayTop;
  look.bottom = secondForm ? kSecondBottom : kSayBottom;
  look.shadow = kMessageShadow;
  return look;
}

void DrawTops(const MapDrawStep& step) {
  if (step.map < 0 || step.map > gameData.maps.LastIndex() || step.view == nullptr) return;
  if (renderHooks.PickPassMode() != 0 || gameData.maps[step.map].isInterface) return;
  gameData.currentActivity = "Drawing Tops";
  const float marginX = static_cast<float>(dataSettings.gameVideoWidth) / 4;
  const float marginY = static_cast<float>(dataSettings.gameVideoHeight) / 4;
  // Drawing a carried interface may run scripts: the lists are looked up again for every character.
  for (std::size_t i = 0; i < gameData.maps[step.map].actors.size(); ++i) {
    const Actor& actor = gameData.maps[step.map].actors[i];
    if (actor.removed != 0) continue;
    if (OutsideVisibleRect(actor.x, actor.y, marginX, marginY, marginX, marginY, step.visibleRect)) continue;
    if (actor.vehicleRidden < 0 && actor.turretOperated < 0)
      DrawCarriedInterface(step, static_cast<std::int32_t>(i));
    if (i >= gameData.maps[step.map].actors.size()) break;
    const Actor& drawn = gameData.maps[step.map].actors[i];
    if (OptionFlag(2) && drawn.messageValue > 0) DrawMessageText(drawn, *step.view);
  }
}

}  // namespace kiv
