// How an actor is drawn: part colours and tint, sprite sets of parts and
// effect layers, flashing, visibility flags, scale, attachments, poses chosen
// by scripts and the holding points of the current frame.
//
// The actor's two Attachment lists: attachedSprites are its effect layers
// (layer 0 is what Texture without a part name sets; Color and Specular reach
// all of them), attachedEffects the attachments that AttachEffect and
// AttachSprite add and combat's effect animations append to.
#include <string>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "mathkiv/lists.h"
#include "player/shell_state.h"
#include "render/sprite_drawing.h"
#include "script/script_lookups.h"
#include "script/script_object_names.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "world/actor_pose.h"
#include "world/holding_point.h"
#include "world/party_operations.h"
#include "world/sprite_layers.h"

namespace kiv {

namespace {

constexpr std::uint32_t kAlphaMask = 0xFF000000u;
constexpr std::uint32_t kColourMask = 0x00FFFFFFu;
// Sprite-set flag: the set's frames turn with the actor's heading.
constexpr std::uint8_t kSetTurnsWithHeading = 4;

std::uint32_t AsColour(const Variant& value) { return static_cast<std::uint32_t>(VarToLong(value)); }
Variant ColourValue(std::uint32_t colour) { return Variant::Long(static_cast<std::int32_t>(colour)); }

bool IsColor2(const ActorCall& call) { return SymbolName(call.code) == u"Color2"; }

// Color splits a value into the tint's alpha and an opaque part colour;
// Color2 stores it as it is.
void StorePartColour(Actor& actor, AppearancePart& part, std::uint32_t value, bool second) {
  if (second) {
    part.colors[0] = value;
    return;
  }
  actor.tint = value | kColourMask;
  part.colors[0] = value | kAlphaMask;
}

Variant ReadColour(const Actor& actor, std::uint32_t colour, bool second) {
  if (!second) return ColourValue(colour);
  return ColourValue((actor.tint & kAlphaMask) | (colour & kColourMask));
}

std::int32_t FindPart(const Actor& actor, std::int32_t code) {
  for (std::size_t k = 0; k < actor.parts.size(); ++k) {
    if (actor.parts[k].slot == code) return static_cast<std::int32_t>(k);
  }
  return -1;
}

const SpriteSet* SetAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.spriteSets.size()) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(index)];
}

void Colour(ActorCall& call) {
  const bool second = IsColor2(call);
  Actor& actor = call.Record();
  if (!call.HasArgument(0)) {
    if (!call.Assigning()) {
      if (!actor.attachedSprites.empty()) {
        call.Answer(ReadColour(actor, actor.attachedSprites[0].color, second));
      } else {
        call.Answer(ReadColour(actor, actor.parts.empty() ? kNoColor : actor.parts[0].colors[0], second));
      }
      return;
    }
    const std::uint32_t value = AsColour(call.value);
    for (AppearancePart& part : actor.parts) StorePartColour(actor, part, value, second);
    for (CharacterLayer& layer : actor.characterLayers) {
      if (layer.area == -1 && layer.colourIndex == 0) layer.colour = value;
    }
    for (Attachment& layer : actor.attachedSprites) layer.color = value;
    return;
  }
  const std::int32_t code = SymbolIntern(call.ArgumentText(0));
  const std::int32_t found = FindPart(actor, code);
  if (!call.Assigning()) {
    call.Answer(found < 0 ? Variant::Long(-1)
                          : ReadColour(actor, actor.parts[static_cast<std::size_t>(found)].colors[0], second));
    return;
  }
  const std::uint32_t value = AsColour(call.value);
  if (found < 0) {
    AppearancePart part;
    part.slot = code;
    StorePartColour(actor, part, value, second);
    actor.parts.push_back(part);
    RebuildSpriteLayers(actor);
    return;
  }
  AppearancePart& part = actor.parts[static_cast<std::size_t>(found)];
  StorePartColour(actor, part, value, second);
  for (CharacterLayer& layer : actor.characterLayers) {
    if (layer.area != -1 || layer.source != found) continue;
    if (layer.colourIndex >= 0 && static_cast<std::size_t>(layer.colourIndex) < part.colors.size())
      layer.colour = part.colors[static_cast<std::size_t>(layer.colourIndex)];
  }
  const SpriteSet* set = SetAt(part.spriteSet);
  if (found == 0 || (set != nullptr && (set->flags & kSpriteSetFollowsBodyColors) != 0)) PropagateBodyColors(actor);
}

void SetCollisionFromSet(Actor& actor, std::int32_t spriteSet) {
  const SpriteSet* set = SetAt(spriteSet);
  actor.collisionShape = (set == nullptr || set->poses.empty()) ? objectDefaults.characterCollisionShape
                                                                : set->poses[0].directions[0].collision;
}

void Texture(ActorCall& call) {
  Actor& actor = call.Record();
  if (!call.HasArgument(0)) {
    if (!call.Assigning()) {
      const SpriteSet* set = actor.attachedSprites.empty() ? nullptr : SetAt(actor.attachedSprites[0].spriteSet);
      call.Answer(Variant::Text(set == nullptr ? u"" : ScriptParseScriptingId(set->name, kObjectEffect)));
      return;
    }
    const std::int32_t index = VarToLong(ScriptLookupEffect(VarToText(call.value), true, true).value);
    Actor& again = call.Record();
    if (again.attachedSprites.empty()) again.attachedSprites.emplace_back();
    Attachment& layer = again.attachedSprites[0];
    layer.spriteSet = index;
    layer.valueA = 0;  // the animation starts again
    RebuildSpriteLayers(again);
    return;
  }
  const std::int32_t code = SymbolIntern(call.ArgumentText(0));
  if (!call.Assigning()) {
    const std::int32_t found = FindPart(actor, code);
    const SpriteSet* set = found < 0 ? nullptr : SetAt(actor.parts[static_cast<std::size_t>(found)].spriteSet);
    call.Answer(Variant::Text(set == nullptr ? u"" : set->name));
    return;
  }
  const std::int32_t index = VarToLong(ScriptLookupSprite(VarToText(call.value), code, true, true).value);
  Actor& again = call.Record();
  bool any = false;
  for (std::size_t k = 0; k < again.parts.size(); ++k) {
    if (again.parts[k].slot != code) continue;
    any = true;
    again.parts[k].spriteSet = index;
    if (k == 0) SetCollisionFromSet(again, index);
  }
  if (!any) {
    AppearancePart part;
    part.slot = code;
    part.spriteSet = index;
    again.parts.push_back(part);
  }
  RebuildSpriteLayers(again);
}

void Tint(ActorCall& call) {
  call.slot.BindLong(reinterpret_cast<std::int32_t&>(call.Record().tint));
}

void Flash(ActorCall& call) {
  const std::int32_t count = call.ArgumentLong(1);
  if (count < 1) RaiseError(kErrData, "You cannot have a flash count less than 1.");
  Actor& actor = call.Record();
  actor.flashColor = static_cast<std::uint32_t>(call.ArgumentLong(0));
  actor.flashValues = {count, 0, call.ArgumentLong(2)};
  actor.flashing = 0;
}

void FlashStart(ActorCall& call) {
  Actor& actor = call.Record();
  actor.flashColor = static_cast<std::uint32_t>(call.ArgumentLong(0));
  actor.flashValues = {1, 0, call.ArgumentLong(1)};
  actor.flashing = 1;
}

void FlashStop(ActorCall& call) { call.Record().flashValues[2] = 0; }

void NoDraw(ActorCall& call) { call.slot.BindBoolean(call.Record().noDraw); }
void NoRect(ActorCall& call) { call.slot.BindBoolean(call.Record().noRect); }
void Face(ActorCall& call) { call.slot.BindBoolean(call.Record().face); }
void Shadow(ActorCall& call) { call.slot.BindBoolean(call.Record().shadow); }
void ShadowColor(ActorCall& call) {
  call.slot.BindLong(reinterpret_cast<std::int32_t&>(call.Record().shadowColor));
}

void Specular(ActorCall& call) {
  Actor& actor = call.Record();
  if (!call.Assigning()) {
    call.Answer(ColourValue(actor.specular));
    return;
  }
  const std::int32_t value = VarToLong(call.value);
  actor.specular = static_cast<std::uint32_t>(value);
  for (Attachment& layer : actor.attachedSprites) layer.valueD = value;
}

void ScaleX(ActorCall& call) { call.slot.BindSingle(call.Record().scaleX); }
void ScaleY(ActorCall& call) { call.slot.BindSingle(call.Record().scaleY); }
void ScaleZ(ActorCall& call) { call.slot.BindSingle(call.Record().scaleZ); }

void Rescale(ActorCall& call) {
  const Variant x = call.Argument(0);
  const Variant y = call.Argument(1);
  const Variant z = call.Argument(2);
  const bool timed = call.HasArgument(3) && call.ArgumentBoolean(3);
  const std::int32_t duration = timed ? call.ArgumentLong(3) : 0;
  // Each change is keyed by its own property with no arguments; one the
  // timed changes do not take over is made at once.
  const std::pair<const char16_t*, Variant> targets[] = {{u"ScaleX", x}, {u"ScaleY", y}, {u"ScaleZ", z}};
  for (std::size_t axis = 0; axis < 3; ++axis) {
    const auto& [name, value] = targets[axis];
    if (timed && ScriptStartTimedChange(SymbolIntern(name), call.object, -1, value, duration)) continue;
    Actor& actor = call.Record();
    float* scale[] = {&actor.scaleX, &actor.scaleY, &actor.scaleZ};
    *scale[axis] = static_cast<float>(VarToDouble(value));
  }
}

void Attach(ActorCall& call, bool effect) {
  const std::u16string name = call.ArgumentText(0);
  const std::int32_t index = effect ? VarToLong(ScriptLookupEffect(name, true, false).value)
                                    : VarToLong(ScriptLookupSprite(name, -1, true, false).value);
  const std::int32_t value = call.ArgumentLong(1);
  const bool flag = call.ArgumentBoolean(2);
  const bool reuse = call.ArgumentBoolean(3);
  std::vector<Attachment>& list = call.Record().attachedEffects;
  std::size_t slot = list.size();
  if (reuse) {
    for (std::size_t k = 0; k < list.size(); ++k) {
      if (list[k].spriteSet == index) {
        slot = k;
        break;
      }
    }
  }
  if (slot == list.size()) list.emplace_back();
  Attachment& entry = list[slot];
  entry.spriteSet = index;
  entry.valueA = 0;  // elapsed: the animation starts again
  entry.valueB = value;
  entry.valueC = 0;
  entry.byteE = 0;
  entry.byteF = flag ? 1 : 0;
  entry.byteG = 0;
}

void Detach(ActorCall& call, bool effect) {
  const std::u16string name = call.ArgumentText(0);
  const std::int32_t index = effect ? VarToLong(ScriptLookupEffect(name, true, false).value)
                                    : VarToLong(ScriptLookupSprite(name, -1, true, false).value);
  const bool all = call.ArgumentBoolean(1);
  std::vector<Attachment>& list = call.Record().attachedEffects;
  for (std::size_t k = list.size(); k-- > 0;) {
    if (list[k].spriteSet != index) continue;
    ArrayRemove(list, static_cast<std::int32_t>(k));
    if (!all) break;
  }
}

void AttachEffect(ActorCall& call) { Attach(call, true); }
void AttachSprite(ActorCall& call) { Attach(call, false); }
void DetachEffect(ActorCall& call) { Detach(call, true); }
void DetachSprite(ActorCall& call) { Detach(call, false); }

// The script pose restarts: the Character System adds this tick's time
// before it is drawn, so the pose shows from 0 ms.
void StartPose(Actor& actor, std::int32_t pose, std::int32_t playCount) {
  actor.pose = pose;
  actor.poseValue = playCount;
  actor.customPoseTime = -shell.frameElapsed;
}

void Pose(ActorCall& call) {
  Actor& actor = call.Record();
  if (!call.Assigning()) {
    call.Answer(Variant::Text(actor.pose == 0 ? u"" : SymbolName(actor.pose)));
    return;
  }
  const std::u16string text = VarToText(call.value);
  StartPose(actor, text.empty() ? 0 : SymbolIntern(text), -1);
}

void PosePlay(ActorCall& call) {
  const std::int32_t pose = SymbolIntern(call.ArgumentText(0));
  const std::int32_t count = call.ArgumentLong(1);
  StartPose(call.Record(), pose, count);
}

void PoseStart(ActorCall& call) { StartPose(call.Record(), SymbolIntern(call.ArgumentText(0)), -1); }
void PoseStop(ActorCall& call) { call.Record().pose = 0; }

void HoldingPoint(ActorCall& call, std::size_t axis) {
  const std::int32_t n = call.ArgumentLong(0);
  const Actor& actor = call.Record();
  if (actor.parts.empty() || n < 1 || n > 4) return;
  const std::int32_t setIndex = actor.parts[0].spriteSet;
  const SpriteSet* set = SetAt(setIndex);
  if (set == nullptr) return;
  const std::int32_t direction = ActorDrawDirection(actor);
  std::int32_t pose = 0;
  std::int32_t time = 0;
  SelectActorPose(call.map, actor, setIndex, kAllSpriteGroups, direction, pose, time);
  const float angle = (set->flags & kSetTurnsWithHeading) != 0 ? actor.heading : 0.0f;
  std::array<std::int32_t, 3> point{};
  const Actor& again = call.Record();
  const std::array<float, 3> base{again.x, again.y, again.z};
  const std::array<float, 3> scale{again.scaleX, again.scaleY, again.scaleZ};
  if (!MeasureHoldingPoint(setIndex, pose, direction, time, n - 1, point, angle)) {
    call.Answer(Variant::Double(0.0));
    return;
  }
  call.Answer(Variant::Double(static_cast<double>(base[axis]) +
                              static_cast<double>(scale[axis]) * static_cast<double>(point[axis])));
}

void HoldingPointX(ActorCall& call) { HoldingPoint(call, 0); }
void HoldingPointY(ActorCall& call) { HoldingPoint(call, 1); }
void HoldingPointZ(ActorCall& call) { HoldingPoint(call, 2); }

constexpr ActorProperty kAppearance[] = {
    {"Color", Colour, nullptr},
    {"Color2", Colour, nullptr},
    {"Tint", Tint, nullptr},
    {"Texture", Texture, nullptr},
    {"Flash", Flash, nullptr},
    {"FlashStart", FlashStart, nullptr},
    {"FlashStop", FlashStop, nullptr},
    {"NoDraw", NoDraw, nullptr},
    {"NoRect", NoRect, nullptr},
    {"Face", Face, nullptr},
    {"Shadow", Shadow, nullptr},
    {"ShadowColor", ShadowColor, nullptr},
    {"Specular", Specular, nullptr},
    {"ScaleX", ScaleX, nullptr},
    {"ScaleY", ScaleY, nullptr},
    {"ScaleZ", ScaleZ, nullptr},
    {"Rescale", Rescale, nullptr},
    {"AttachEffect", AttachEffect, nullptr},
    {"AttachSprite", AttachSprite, nullptr},
    {"DetachEffect", DetachEffect, nullptr},
    {"DetachSprite", DetachSprite, nullptr},
    {"Pose", Pose, nullptr},
    {"PosePlay", PosePlay, nullptr},
    {"PoseStart", PoseStart, nullptr},
    {"PoseStop", PoseStop, nullptr},
    {"HoldingPointX", HoldingPointX, nullptr},
    {"HoldingPointY", HoldingPointY, nullptr},
    {"HoldingPointZ", HoldingPointZ, nullptr},
};

}  // namespace

std::span<const ActorProperty> ActorAppearanceProperties() { return kAppearance; }

}  // namespace kiv
