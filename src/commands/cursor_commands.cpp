// The pointer: its position, movement, colour and sprite, the action button
// as scripts press it, and what lies under it: the map a view field shows
// there and where the pointer's ray meets a plane of that map.
#include <string>

#include "commands/internal_selection.h"
#include "core/error.h"
#include "data/game_data.h"
#include "media/graphics.h"
#include "media/player_input_state.h"
#include "platform/gfx/d3dx.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "render/frame_drawing.h"
#include "script/script_lookups.h"
#include "script/script_object_names.h"
#include "script/script_stack_access.h"
#include "script/script_value.h"
#include "script/script_value_ops.h"
#include "world/pointer_picking.h"

namespace kiv {

namespace {

constexpr char kNotPointing[] =
    "Cursor is not currently pointing at a map. Check the value of \"Targeted Map\" use value first.";
constexpr std::uint8_t kViewFieldFace = 6;

// Only the first player has a pointer.
PlayerInputState& Pointer() { return playerInputStates[0]; }

struct PointerTarget {
  std::int32_t map = -1;
  FieldCamera camera;
};

// The front-most shown interface's first view field under the pointer; with
// camera, that field's camera is built too.
PointerTarget FindPointerTarget(bool camera) {
  PointerTarget target;
  const PlayerInputState& pointer = Pointer();
  for (std::int32_t m = FindNextMapInOrder(-1, true); m >= 0; m = FindNextMapInOrder(m, true)) {
    Map& map = gameData.maps[m];
    if (!map.isInterface || map.overlayActive != 1) continue;
    for (Field& field : map.fields) {
      if (field.Kind() != kViewFieldFace || field.nonExistent != 0 || field.noDraw != 0) continue;
      FieldScreenRect rect;
      GetFieldScreenRect(field, 0, 0, graphics.videoWidth, graphics.videoHeight, rect);
      if (pointer.cursorX < rect.left || pointer.cursorX >= rect.left + rect.width ||
          pointer.cursorY < rect.top || pointer.cursorY >= rect.top + rect.height) {
        continue;
      }
      target.map = FieldViewMap(field);
      if (camera) SetupFieldCamera(field, rect.left, rect.top, rect.width, rect.height, target.camera);
      return target;
    }
  }
  return target;
}

enum class Axis { kX, kY, kZ };

// Where the pointer's ray meets the plane axis = value: the coordinate asked for.
float PlanePoint(InternalCall& call, Axis planeAxis, Axis wanted) {
  const PointerTarget target = FindPointerTarget(true);
  if (target.map < 0) RaiseError(kErrData, kNotPointing);
  const FieldCamera& camera = target.camera;
  gfx::Viewport viewport;
  viewport.x = static_cast<std::uint32_t>(camera.x);
  viewport.y = static_cast<std::uint32_t>(camera.y);
  viewport.width = static_cast<std::uint32_t>(camera.width);
  viewport.height = static_cast<std::uint32_t>(camera.height);
  viewport.minZ = camera.minZ;
  viewport.maxZ = camera.maxZ;
  const float x = static_cast<float>(Pointer().cursorX);
  const float y = static_cast<float>(Pointer().cursorY);
  const gfx::Vector3 nearPoint =
      gfx::Vec3Unproject({x, y, 0.0f}, viewport, camera.projection, camera.view, camera.world);
  const gfx::Vector3 farPoint =
      gfx::Vec3Unproject({x, y, 1.0f}, viewport, camera.projection, camera.view, camera.world);
  const float v = static_cast<float>(VarToDouble(call.Argument(0)));
  gfx::Vector3 point;
  gfx::Vector3 normal;
  switch (planeAxis) {
    case Axis::kX:
      point.x = v;
      normal.x = 1;
      break;
    case Axis::kY:
      point.y = v;
      normal.y = 1;
      break;
    case Axis::kZ:
      point.z = v;
      normal.z = 1;
      break;
  }
  // A ray parallel to the plane meets it nowhere: the answer is 0.
  gfx::Vector3 meeting;
  if (!gfx::PlaneIntersectLine(gfx::PlaneFromPointNormal(point, normal), nearPoint, farPoint, meeting))
    return 0.0f;
  return wanted == Axis::kX ? meeting.x : wanted == Axis::kY ? meeting.y : meeting.z;
}

void AnswerPlanePoint(InternalCall& call, Axis planeAxis, Axis wanted) {
  if (!call.Assigning()) call.Answer(Variant::Single(PlanePoint(call, planeAxis, wanted)));
}

void ActionDown(InternalCall&) { UpdatePointer(ScriptCurrentPlayerIndex(), 1); }
void ActionUp(InternalCall&) { UpdatePointer(ScriptCurrentPlayerIndex(), -1); }
void Color(InternalCall& call) { call.slot.BindLong(Pointer().cursorColor); }

// The sprite set the pointer shows, "" for none.
const SpriteSet* PointerSpriteSet() {
  const std::int32_t index = Pointer().cursorSprite;
  if (index < 0 || index >= static_cast<std::int32_t>(gameData.spriteSets.size())) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(index)];
}

void Effect(InternalCall& call) {
  if (call.Assigning()) {
    Pointer().cursorSprite = VarToLong(ScriptLookupEffect(VarToText(call.value), true, true).value);
    return;
  }
  const SpriteSet* set = PointerSpriteSet();
  call.Answer(
      Variant::Text(set == nullptr ? std::u16string() : ScriptParseScriptingId(set->name, kObjectEffect)));
}

void Sprite(InternalCall& call) {
  if (call.Assigning()) {
    Pointer().cursorSprite = VarToLong(ScriptLookupSprite(VarToText(call.value), -1, true, true).value);
    return;
  }
  const SpriteSet* set = PointerSpriteSet();
  call.Answer(Variant::Text(set == nullptr ? std::u16string() : set->name));
}

void X(InternalCall& call) { call.slot.BindLong(Pointer().cursorX); }
void Y(InternalCall& call) { call.slot.BindLong(Pointer().cursorY); }
void DeltaX(InternalCall& call) { call.slot.BindLong(Pointer().relativeX); }
void DeltaY(InternalCall& call) { call.slot.BindLong(Pointer().relativeY); }
void DeltaZ(InternalCall& call) { call.slot.BindLong(Pointer().wheel); }

void TargetMap(InternalCall& call) {
  if (call.Assigning()) return;
  const std::int32_t map = FindPointerTarget(false).map;
  const bool found = map >= 0 && map <= gameData.maps.LastIndex();
  call.Answer(Variant::Text(found ? gameData.maps[map].fileName : std::u16string()));
}

void TargetXofZ(InternalCall& call) { AnswerPlanePoint(call, Axis::kZ, Axis::kX); }
void TargetYofZ(InternalCall& call) { AnswerPlanePoint(call, Axis::kZ, Axis::kY); }
void TargetXofY(InternalCall& call) { AnswerPlanePoint(call, Axis::kY, Axis::kX); }
void TargetZofY(InternalCall& call) { AnswerPlanePoint(call, Axis::kY, Axis::kZ); }
void TargetYofX(InternalCall& call) { AnswerPlanePoint(call, Axis::kX, Axis::kY); }
void TargetZofX(InternalCall& call) { AnswerPlanePoint(call, Axis::kX, Axis::kZ); }

constexpr InternalCommand kCursorCommands[] = {
    {"Cursor.ActionDown", ActionDown},
    {"Cursor.ActionUp", ActionUp},
    {"Cursor.Color", Color},
    {"Cursor.Effect", Effect},
    {"Cursor.Sprite", Sprite},
    {"Cursor.X", X},
    {"Cursor.Y", Y},
    {"Cursor.DeltaX", DeltaX},
    {"Cursor.DeltaY", DeltaY},
    {"Cursor.DeltaZ", DeltaZ},
    {"Cursor.TargetMap", TargetMap},
    {"Cursor.TargetXofZ", TargetXofZ},
    {"Cursor.TargetYofZ", TargetYofZ},
    {"Cursor.TargetXofY", TargetXofY},
    {"Cursor.TargetZofY", TargetZofY},
    {"Cursor.TargetYofX", TargetYofX},
    {"Cursor.TargetZofX", TargetZofX},
};

}  // namespace

std::span<const InternalCommand> CursorCommands() { return kCursorCommands; }

}  // namespace kiv
