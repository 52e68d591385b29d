#include "world/pointer_picking.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/error.h"
#include "core/log.h"
#include "data/game_data.h"
#include "media/controls_table.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/player_input_state.h"
#include "platform/gfx/d3dx.h"
#include "player/shell_state.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "state/project_settings_block.h"
#include "world/actor_shapes.h"
#include "world/field_focus.h"
#include "world/move_tests.h"
#include "world/relations.h"

namespace kiv {

namespace {

constexpr std::uint8_t kViewKind = 6;
constexpr std::uint8_t kTextKind = 0;
constexpr std::int32_t kPickMapFactor = 32768;
// Maps whose index is above this do not fit the 24 bits of a pick colour.
constexpr std::int32_t kLastPickableMap = 511;

// Mouse events: down, enter, move, leave, up, gesture complete.
struct MouseEvents {
  std::int32_t down, enter, move, leave, up, gesture;
};
constexpr MouseEvents kZoneEvents{573, 574, 575, 576, 577, 626};
constexpr MouseEvents kCharacterEvents{561, 562, 563, 564, 565, 623};
constexpr MouseEvents kFieldEvents{581, 582, 583, 584, 585, 625};
constexpr std::int32_t kFirstZoneMouseEvent = 573;
constexpr std::int32_t kLastZoneMouseEvent = 577;

// The maps a pointer query is inside of, outermost first.
std::vector<std::int32_t> mapsBeingPicked;

const MouseEvents& EventsOf(std::int32_t kind) {
  if (kind == kPointerZone) return kZoneEvents;
  if (kind == kPointerCharacter) return kCharacterEvents;
  return kFieldEvents;
}

bool ValidMap(std::int32_t map) { return map >= 0 && map <= gameData.maps.LastIndex(); }

bool ValidObject(std::int32_t map, std::int32_t kind, std::int32_t index) {
  if (!ValidMap(map) || index < 0) return false;
  const Map& m = gameData.maps[map];
  const auto i = static_cast<std::size_t>(index);
  if (kind == kPointerZone) return i < m.zones.size();
  if (kind == kPointerCharacter) return i < m.actors.size();
  if (kind == kPointerField) return i < m.fields.size();
  return false;
}

void RaiseEvent(std::int32_t map, std::int32_t kind, std::int32_t index, std::int32_t code) {
  if (!ValidObject(map, kind, index)) return;
  ScriptRaiseObjectEvent(kind, index, code, map);
}

// Presses (1) or releases (0) the control a field stands for, for its player.
void SetFieldControl(std::int32_t map, std::int32_t field, std::uint8_t pressed) {
  if (!ValidObject(map, kPointerField, field)) return;
  const Field& f = gameData.maps[map].fields[static_cast<std::size_t>(field)];
  if (f.control < 0 || static_cast<std::size_t>(f.control) >= controls.size()) return;
  if (f.controlValue < 0 || f.controlValue >= kPlayerCount) return;
  controls[static_cast<std::size_t>(f.control)].slots[static_cast<std::size_t>(f.controlValue)].pending = pressed;
}

bool AnyPointerHeld() {
  for (const PlayerInputState& state : playerInputStates)
    if (state.actionState == 1) return true;
  return false;
}

void BackBufferSize(std::int32_t& width, std::int32_t& height) {
  if (DrawDeviceAvailable()) {
    DrawDevice& device = CurrentDrawDevice();
    width = static_cast<std::int32_t>(device.BackBufferWidth());
    height = static_cast<std::int32_t>(device.BackBufferHeight());
  } else {
    width = static_cast<std::int32_t>(GraphicsBackBufferWidth());
    height = static_cast<std::int32_t>(GraphicsBackBufferHeight());
  }
}

std::int32_t RoundEven(float value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

bool Inside(std::int32_t x, std::int32_t y, std::int32_t left, std::int32_t top, std::int32_t width,
            std::int32_t height) {
  return left <= x && x < left + width && top <= y && y < top + height;
}

bool HasZoneMouseTrigger(const Zone& zone) {
  for (const Trigger& trigger : zone.triggers)
    if (trigger.event >= kFirstZoneMouseEvent && trigger.event <= kLastZoneMouseEvent) return true;
  return false;
}

bool PickInInterface(PickQuery& query) {
  const std::int32_t map = query.map;
  const bool inputActive = IsMapInputActive(map);
  for (auto i = static_cast<std::int32_t>(gameData.maps[map].fields.size()) - 1; i >= 0; --i) {
    Map& record = gameData.maps[map];
    Field& field = record.fields[static_cast<std::size_t>(i)];
    if (field.noDraw != 0 || field.nonExistent != 0) continue;
    const bool view = field.Kind() == kViewKind;
    if (!view && (!inputActive || i == record.CursorField())) continue;
    const auto& region = record.scrollRect;
    if (field.Scrolls() == 1 && (region[0] != 0 || region[1] != 0 || region[2] != 0 || region[3] != 0)) {
      if (field.x < static_cast<float>(region[0]) || field.x >= static_cast<float>(region[2]) ||
          field.y < static_cast<float>(region[1]) || field.y >= static_cast<float>(region[3]))
        continue;
    }
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    if (field.Kind() == kTextKind) {
      left = field.textRect[0];
      top = field.textRect[1];
      width = field.textRect[2] - field.textRect[0];
      height = field.textRect[3] - field.textRect[1];
    } else {
      FieldScreenRect rect;
      GetFieldScreenRect(field, query.viewLeft, query.viewTop, query.viewWidth, query.viewHeight, rect);
      left = rect.left;
      top = rect.top;
      width = rect.width;
      height = rect.height;
    }
    if (!Inside(query.x, query.y, left, top, width, height)) continue;
    if (!view) {
      query.pickedMap = map;
      query.pickedKind = kPointerField;
      query.pickedIndex = i;
      return true;
    }
    if (!shell.mouseTriggersPresent) continue;
    PickQuery inner;
    inner.map = FieldViewMap(field);
    if (!ValidMap(inner.map) || inner.map == map) continue;
    inner.x = query.x;
    inner.y = query.y;
    inner.viewLeft = left;
    inner.viewTop = top;
    inner.viewWidth = width;
    inner.viewHeight = height;
    inner.viewMap = map;
    inner.viewField = i;
    if (PickAtPoint(inner)) {
      query.pickedMap = inner.pickedMap;
      query.pickedKind = inner.pickedKind;
      query.pickedIndex = inner.pickedIndex;
      return true;
    }
  }
  return false;
}

// The pointer as a ray through the view's camera: from depth 0 towards depth 1.
bool PointerRay(const PickQuery& query, Vector3& origin, Vector3& direction) {
  if (!ValidObject(query.viewMap, kPointerField, query.viewField)) return false;
  Field& viewField = gameData.maps[query.viewMap].fields[static_cast<std::size_t>(query.viewField)];
  std::int32_t width = query.viewWidth;
  std::int32_t height = query.viewHeight;
  FieldCamera camera;
  SetupFieldCamera(viewField, query.viewLeft, query.viewTop, width, height, camera);
  if (camera.width < 1 || camera.height < 1) return false;
  const gfx::Matrix all = gfx::MatrixInverse(
      gfx::MatrixMultiply(gfx::MatrixMultiply(camera.world, camera.view), camera.projection));
  const float nx = (static_cast<float>(query.x) - static_cast<float>(camera.x)) / static_cast<float>(camera.width) *
                       2.0f -
                   1.0f;
  const float ny = 1.0f - (static_cast<float>(query.y) - static_cast<float>(camera.y)) /
                              static_cast<float>(camera.height) * 2.0f;
  const gfx::Vector3 nearPoint = gfx::Vec3TransformCoord(gfx::Vector3{nx, ny, 0.0f}, all);
  const gfx::Vector3 farPoint = gfx::Vec3TransformCoord(gfx::Vector3{nx, ny, 1.0f}, all);
  origin = Vector3{nearPoint.x, nearPoint.y, nearPoint.z};
  direction = Vector3{farPoint.x - nearPoint.x, farPoint.y - nearPoint.y, farPoint.z - nearPoint.z};
  return true;
}

bool PickInMap(PickQuery& query) {
  Vector3 origin;
  Vector3 direction;
  if (!PointerRay(query, origin, direction)) return false;
  const Map& record = gameData.maps[query.map];
  for (std::size_t z = 0; z < record.zones.size(); ++z) {
    const Zone& zone = record.zones[z];
    if (!HasZoneMouseTrigger(zone) || zone.shape.rectangles.empty()) continue;
    const CollisionBox& first = zone.shape.rectangles[0];
    if (RayHitsBox(origin, direction, Box{first.left, first.top, first.right, first.bottom, first.front, first.back})) {
      query.pickedMap = query.map;
      query.pickedKind = kPointerZone;
      query.pickedIndex = static_cast<std::int32_t>(z);
      return true;
    }
  }
  for (std::size_t c = 0; c < record.actors.size(); ++c) {
    if (!IsCharacterVisible(query.map, static_cast<std::int32_t>(c))) continue;
    Box box;
    ActorCollisionRect(record.actors[c], box);
    if (RayHitsBox(origin, direction, box)) {
      query.pickedMap = query.map;
      query.pickedKind = kPointerCharacter;
      query.pickedIndex = static_cast<std::int32_t>(c);
      return true;
    }
  }
  return false;
}

// Sets the pick pass for one drawing of the pick image and clears it however
// the drawing ends, so that a failed pick never keeps later frames from
// presenting; the device's targets come back the same way.
class PickPassScope {
 public:
  explicit PickPassScope(std::int32_t mode) {
    if (graphics.direct3dDevice && graphics.pickTarget) {
      graphics.direct3dDevice->GetRenderTarget(savedTarget_);
      graphics.direct3dDevice->GetDepthStencilSurface(savedDepth_);
      graphics.direct3dDevice->SetRenderTarget(graphics.pickTarget, graphics.pickDepthSurface);
      switched_ = true;
    }
    pickPass = mode;
  }
  ~PickPassScope() {
    pickPass = 0;
    if (switched_) graphics.direct3dDevice->SetRenderTarget(savedTarget_, savedDepth_);
  }
  PickPassScope(const PickPassScope&) = delete;
  PickPassScope& operator=(const PickPassScope&) = delete;

 private:
  gfx::SurfacePtr savedTarget_;
  gfx::SurfacePtr savedDepth_;
  bool switched_ = false;
};

void DrawPickImage() {
  PickPassScope scope(shell.mouseTriggersPresent ? 1 : 2);
  DrawFrame();
}

bool PixelPicking() { return storedProjectSettings.inputPointerFlag != 0; }

// Decodes the pick colour under the pointer; false when it names nothing
// that still exists (which ends the pointer update without events).
bool DecodePickColour(std::uint32_t colour, std::int32_t& map, std::int32_t& kind, std::int32_t& index) {
  map = static_cast<std::int32_t>(colour / kPickMapFactor);
  index = static_cast<std::int32_t>(colour % kPickMapFactor) - 1;
  if (!ValidMap(map) || index < 0) return false;
  const Map& record = gameData.maps[map];
  if (record.isInterface) {
    kind = kPointerField;
    return static_cast<std::size_t>(index) < record.fields.size();
  }
  const auto characters = static_cast<std::int32_t>(record.actors.size());
  if (static_cast<std::size_t>(index) >= record.actors.size() + record.zones.size()) return false;
  if (index >= characters) {
    kind = kPointerZone;
    index -= characters;
  } else {
    kind = kPointerCharacter;
  }
  return true;
}

// The first selectable field on the parent chain; -1 when there is none.
std::int32_t SelectableAncestor(std::int32_t map, std::int32_t field) {
  const std::vector<Field>& fields = gameData.maps[map].fields;
  // A chain longer than the list has a loop.
  for (std::size_t steps = 0; steps <= fields.size(); ++steps) {
    if (field < 0 || static_cast<std::size_t>(field) >= fields.size()) return -1;
    const Field& f = fields[static_cast<std::size_t>(field)];
    if (f.selectable == 1) return field;
    field = f.parent;
  }
  return -1;
}

bool FieldDisabled(std::int32_t map, std::int32_t field) {
  return !ValidObject(map, kPointerField, field) ||
         gameData.maps[map].fields[static_cast<std::size_t>(field)].disabled != 0;
}

void FieldPointerEvents(std::int32_t map, std::int32_t field, std::int32_t buttonChange, bool moved) {
  PlayerInputState& state = playerInputStates[0];
  if (buttonChange == 1) {
    if (!FieldDisabled(map, field)) RaiseEvent(map, kPointerField, field, kFieldEvents.down);
    if (!FieldDisabled(map, field)) SetFieldControl(map, field, 1);
  } else if (buttonChange == -1) {
    if (state.pressMap == map && state.pressKind == kPointerField && state.pressIndex == field)
      ActivateField(map, field);
    if (!FieldDisabled(map, field)) {
      RaiseEvent(map, kPointerField, field, kFieldEvents.up);
      if (!AnyPointerHeld()) RaiseEvent(map, kPointerField, field, kFieldEvents.gesture);
    }
    if (!FieldDisabled(map, field)) SetFieldControl(map, field, 0);
  } else {
    if (FieldDisabled(map, field)) return;
    if (state.targetMap != map || state.targetKind != kPointerField || state.targetIndex != field) {
      SetHoverTarget(0, map, kPointerField, field);
      SelectField(map, field, false);
      RaiseEvent(map, kPointerField, field, kFieldEvents.enter);
      if (playerInputStates[0].actionState == 1) SetFieldControl(map, field, 1);
    }
    if (moved) RaiseEvent(map, kPointerField, field, kFieldEvents.move);
  }
}

void ObjectPointerEvents(std::int32_t map, std::int32_t kind, std::int32_t index, std::int32_t buttonChange,
                         bool moved) {
  const MouseEvents& events = EventsOf(kind);
  const PlayerInputState& state = playerInputStates[0];
  if (buttonChange == 1) {
    RaiseEvent(map, kind, index, events.down);
  } else if (buttonChange == -1) {
    RaiseEvent(map, kind, index, events.up);
    if (!AnyPointerHeld()) RaiseEvent(map, kind, index, events.gesture);
  } else {
    if (state.targetMap != map || state.targetKind != kind || state.targetIndex != index) {
      SetHoverTarget(0, map, kind, index);
      RaiseEvent(map, kind, index, events.enter);
    }
    if (moved) RaiseEvent(map, kind, index, events.move);
  }
}

}  // namespace

void SetHoverTarget(std::int32_t player, std::int32_t map, std::int32_t kind, std::int32_t index) {
  (void)player;
  PlayerInputState& state = playerInputStates[0];
  const std::int32_t oldMap = state.targetMap;
  const std::int32_t oldKind = state.targetKind;
  const std::int32_t oldIndex = state.targetIndex;
  if (oldMap >= 0 && oldIndex >= 0) {
    RaiseEvent(oldMap, oldKind, oldIndex, EventsOf(oldKind).leave);
    if (oldKind == kPointerField) SetFieldControl(oldMap, oldIndex, 0);
  }
  state.targetMap = map;
  state.targetKind = kind;
  state.targetIndex = index;
}

std::uint32_t PickColourAtPointer(std::int32_t player) {
  if (player != 0) RaiseError(kErrIndex, "Subscript out of range");
  PlayerInputState& state = playerInputStates[0];
  if (state.pickColorValid) return state.pickColor;
  static bool tooManyMapsLogged = false;
  if (!tooManyMapsLogged && gameData.maps.LastIndex() > kLastPickableMap) {
    tooManyMapsLogged = true;
    LogWriteLine("Maps and interfaces above 511 cannot be picked.");
  }
  std::int32_t width = 0;
  std::int32_t height = 0;
  BackBufferSize(width, height);
  state.pickColor = 0;
  if (Inside(state.cursorX, state.cursorY, 0, 0, width, height) && graphics.pickTarget) {
    if (!shell.pickRendered) {
      DrawPickImage();
      shell.pickRendered = true;
    }
    state.pickColor = SurfaceReadPixel(graphics.pickTarget.get(), graphics.pickTargetFormat, state.cursorX,
                                       state.cursorY);
  }
  state.pickColorValid = true;
  return state.pickColor;
}

bool PickAtPoint(PickQuery& query) {
  query.pickedMap = -1;
  query.pickedKind = 0;
  query.pickedIndex = -1;
  if (!ValidMap(query.map)) return false;
  // As in drawing, a view never looks into a map it is already inside of.
  if (std::find(mapsBeingPicked.begin(), mapsBeingPicked.end(), query.map) != mapsBeingPicked.end()) return false;
  mapsBeingPicked.push_back(query.map);
  struct Leave {
    ~Leave() { mapsBeingPicked.pop_back(); }
  } leave;
  return gameData.maps[query.map].isInterface ? PickInInterface(query) : PickInMap(query);
}

void UpdatePointer(std::int32_t player, std::int32_t buttonChange) {
  if (player != 0) RaiseError(kErrIndex, "Subscript out of range");
  PlayerInputState& state = playerInputStates[0];
  if (buttonChange != 0) {
    if (buttonChange == 1) state.stroke.points.clear();
    state.actionState = buttonChange;
  }
  if (buttonChange == 1 || (state.actionState == 1 && (state.relativeX != 0 || state.relativeY != 0))) {
    state.stroke.points.push_back(
        StrokePoint{static_cast<float>(state.cursorX), static_cast<float>(state.cursorY)});
  }
  const bool moved = state.relativeX != 0 || state.relativeY != 0 || state.wheel != 0;

  std::int32_t map = -1;
  std::int32_t kind = 0;
  std::int32_t index = -1;
  if (PixelPicking()) {
    const std::uint32_t colour = PickColourAtPointer(0);
    if (colour != 0 && !DecodePickColour(colour, map, kind, index)) return;
    if (colour == 0) map = -1;
  } else {
    std::int32_t width = 0;
    std::int32_t height = 0;
    BackBufferSize(width, height);
    for (std::int32_t m = FindNextMapInOrder(-1, true); m != -1; m = FindNextMapInOrder(m, true)) {
      PickQuery query;
      query.map = m;
      query.x = state.cursorX;
      query.y = state.cursorY;
      // An interface is drawn at its screen offset over the whole back buffer.
      query.viewLeft = RoundEven(gameData.maps[m].ScreenOffsetX());
      query.viewTop = RoundEven(gameData.maps[m].ScreenOffsetY());
      query.viewWidth = width;
      query.viewHeight = height;
      if (PickAtPoint(query)) {
        map = query.pickedMap;
        kind = query.pickedKind;
        index = query.pickedIndex;
        break;
      }
    }
  }
  if (map >= 0 && kind == kPointerField) {
    index = SelectableAncestor(map, index);
    if (index < 0) map = -1;
  }

  if (map >= 0) {
    if (kind == kPointerField) {
      FieldPointerEvents(map, index, buttonChange, moved);
    } else {
      ObjectPointerEvents(map, kind, index, buttonChange, moved);
    }
  } else if (buttonChange == 0) {
    SetHoverTarget(0, -1, 0, 0);
  }
  if (buttonChange == 1) {
    PlayerInputState& now = playerInputStates[0];
    now.pressMap = map;
    now.pressKind = map >= 0 ? kind : 0;
    now.pressIndex = map >= 0 ? index : -1;
  }
}

}  // namespace kiv
