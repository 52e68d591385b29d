// Characters of a map: their sprite layers in drawing order, each new frame
// set one depth layer in front of the last, the items they carry, the
// animations attached to them, the marker of the player controlling them, and
// their pick colour in a pick pass.
#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/angles.h"
#include "data/actor_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "mathkiv/colors.h"
#include "media/device_reset.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3d_types.h"
#include "render/door_drawing.h"
#include "render/draw_helpers.h"
#include "render/map_object_drawing.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::int32_t kDeadState = 3;
constexpr std::int32_t kLastDepthLayer = 17;
constexpr std::uint8_t kSetOwnLayer = 0x4;     // sprite-set flag: the set starts a far layer of its own
constexpr std::uint8_t kSetTurnsWithHeading = 0x10;
constexpr float kLightHeight = 32;  // characters are lit at their middle
constexpr float kLyingDrop = 32 - 4;  // a dead actor lies this far below its z
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

const SpriteSet* SetAt(std::int32_t set) {
  if (set < 0 || set >= static_cast<std::int32_t>(gameData.spriteSets.size())) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(set)];
}

bool OwnLayerOption() { return storedProjectSettings.flags[2] != 0; }  // option flag 3

// The rotation of an actor's sprites: turned by the heading, less the turn that
// the drawn direction already shows when the body's set turns with the heading.
float ActorRotation(const Actor& actor, std::int32_t direction) {
  const SpriteSet* body = actor.parts.empty() ? nullptr : SetAt(actor.parts[0].spriteSet);
  if (body != nullptr && (body->flags & kSetTurnsWithHeading) != 0) return actor.heading - DirectionToAngle(direction);
  return actor.heading;
}

struct CharacterPass {
  std::int32_t map = -1;
  std::int32_t index = -1;
  const MapView* view = nullptr;
  std::int32_t direction = 0;
  std::uint32_t light = kWhite;
  float rotation = 0;
  ActorColours colours;
  bool animate = true;
};

// The items an actor carries at the holding points the last part showed, each
// in a depth layer of its own between two steps of the counter.
void DrawCarriedItems(const Actor& actor, const CharacterPass& pass, std::int32_t shownSlots,
                      CharacterDepthLayer& depth) {
  DrawDevice& device = CurrentDrawDevice();
  const auto& areas = projectState.equipmentAreas;
  for (std::size_t area = 0; area < actor.equipment.size() && area < areas.size(); ++area) {
    const std::int32_t slot = EquipmentAreaDrawSlot(areas[area]);
    if (slot < 0 || slot >= static_cast<std::int32_t>(spriteHoldingPoints.size())) continue;
    const std::int32_t item = actor.equipment[area].item;
    if (item < 0 || (shownSlots & (1 << slot)) == 0) continue;
    device.SetDepthLayer(depth.Step());
    DrawHeldItem(spriteHoldingPoints[static_cast<std::size_t>(slot)], pass.direction, item, actor.x, actor.y,
                 actor.z, actor.scaleX, actor.scaleY, actor.scaleZ, kWhite, pass.light, 0);
    device.SetDepthLayer(depth.Step());
  }
}

void DrawLayers(Actor& actor, const CharacterPass& pass) {
  DrawDevice& device = CurrentDrawDevice();
  CharacterDepthLayer depth;
  device.SetDepthLayer(0);
  const bool upright = actor.state != kDeadState || actor.deadUpright != 0;
  const bool items = actor.state != kDeadState || actor.keepItems != 0;
  const SpriteSet* lastSet = nullptr;
  std::int32_t lastPose = -1;
  bool first = true;
  for (const CharacterLayer& layer : actor.characterLayers) {
    const SpriteSet* set = SetAt(layer.layerSpriteSet);
    if (set == nullptr) continue;
    std::int32_t pose = 0, poseTime = 0;
    renderHooks.SelectActorPose(pass.map, actor, layer.layerSpriteSet, LayerTag(layer), pass.direction, pose,
                                poseTime);
    const bool far = OwnLayerOption() || (set->flags & kSetOwnLayer) != 0;
    const bool newFrameSet = first ? far : (set != lastSet || pose != lastPose);
    if (newFrameSet) device.SetDepthLayer(depth.Move(far));
    first = false;
    lastSet = set;
    lastPose = pose;
    if (pose < 0 || pose >= static_cast<std::int32_t>(set->poses.size())) continue;
    const SpritePose& record = set->poses[static_cast<std::size_t>(pose)];
    if (upright) {
      const std::int32_t shown = DrawSpritePart(
          record, LayerTag(layer), layer.order, pass.direction, poseTime, actor.sprite, *pass.view, actor.x,
          actor.y, actor.z, actor.scaleX, actor.scaleY, actor.scaleZ, actor.mirrorX != 0, actor.mirrorY != 0,
          layer.colour, pass.colours.tint, pass.light, pass.colours.second, 0, 0, pass.rotation, 0, 0, 0, 1, 1,
          pass.animate, 0, pass.map, pass.index);
      if (items) DrawCarriedItems(actor, pass, shown, depth);
    } else {
      const float quarter = std::numbers::pi_v<float> / 2;
      DrawSpritePart(record, LayerTag(layer), layer.order, pass.direction, poseTime, actor.sprite, *pass.view,
                     actor.x, actor.y, actor.z - kLyingDrop, actor.scaleX, actor.scaleY, actor.scaleZ,
                     actor.mirrorX != 0, actor.mirrorY != 0, layer.colour, pass.colours.tint, pass.light,
                     pass.colours.second, quarter, quarter, 0, 0, 0, 0, 1, 1, pass.animate, 0, pass.map, pass.index);
    }
  }
}

// The animations attached to the actor, in its two lists.
void DrawAttachments(Actor& actor, const CharacterPass& pass) {
  for (const std::vector<Attachment>* list : {&actor.attachedEffects, &actor.attachedSprites}) {
    for (const Attachment& a : *list) {
      const SpriteSet* set = SetAt(a.spriteSet);
      if (set == nullptr) continue;
      const float angle = (set->flags & kSetTurnsWithHeading) != 0 ? pass.rotation : 0.0f;
      DrawSprite(a.spriteSet, AttachmentClock(a), actor.sprite, *pass.view, actor.x, actor.y, actor.z, actor.scaleX,
                 actor.scaleY, actor.scaleZ, false, false, a.color, pass.light, AttachmentSecondColour(a), angle, 0,
                 0, 0, 1, 1, pass.animate);
    }
  }
}

// The marker of the player that controls the actor, over it: the player's
// indicator sprite set with its own clock and animation, untinted but lit.
void DrawPlayerMarker(const Actor& actor, const CharacterPass& pass) {
  const std::int32_t owner = actor.owningPlayer;
  if (owner < 0 || owner >= static_cast<std::int32_t>(projectState.players.size())) return;
  Player& player = projectState.players[static_cast<std::size_t>(owner)];
  if (SetAt(player.actionSprite) == nullptr || player.controlledMember != actor.partyMember) return;
  DrawSprite(player.actionSprite, player.actionIndicatorTime, player.actionIndicator, *pass.view, actor.x, actor.y,
             actor.z, actor.scaleX, actor.scaleY, actor.scaleZ, false, false, kWhite, pass.light, 0, 0, 0, 0, 0, 1, 1,
             pass.animate);
}

void DrawCharacter(const MapDrawStep& step, std::int32_t index, Actor& actor, bool picking) {
  DrawDevice& device = CurrentDrawDevice();
  const bool depthOff = picking && actor.noDepth != 0;
  if (picking) {
    const auto pick = static_cast<std::uint32_t>(MakePickColor(step.map, index, 0));
    device.SetRenderState(gfx::kRsTextureFactor, ColorForFormat(graphics.pickTargetFormat, pick));
    if (depthOff) device.SetRenderState(gfx::kRsZEnable, 0);
  }
  CharacterPass pass;
  pass.map = step.map;
  pass.index = index;
  pass.view = step.view;
  pass.direction = renderHooks.ActorDrawDirection(actor);
  pass.light = actor.fullBright != 0 ? kWhite : renderHooks.LightColorAt(step.map, actor.x, actor.y,
                                                                         actor.z + kLightHeight, kWhite);
  pass.rotation = ActorRotation(actor, pass.direction);
  pass.colours = FlashedColours(actor);
  pass.animate = gameState.paused == 0;
  DrawLayers(actor, pass);
  DrawAttachments(actor, pass);
  DrawPlayerMarker(actor, pass);
  if (depthOff) device.SetRenderState(gfx::kRsZEnable, 1);
}

}  // namespace

std::int32_t CharacterDepthLayer::Move(bool far) {
  if (value_ == 0) {
    value_ = far ? 3 : 1;
  } else {
    Step();
  }
  return value_;
}

std::int32_t CharacterDepthLayer::Step() {
  if (value_ < kLastDepthLayer) ++value_;
  return value_;
}

ActorColours FlashedColours(const Actor& actor) {
  const std::int32_t count = actor.flashValues[0], elapsed = actor.flashValues[1], duration = actor.flashValues[2];
  ActorColours c{actor.tint, actor.specular};
  if (duration < 1) return c;
  const double f =
      (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(elapsed) * count / static_cast<double>(duration))) /
      2.0;
  c.tint = ColorLerp(actor.tint, actor.flashColor & 0xFF000000u, static_cast<float>(f));
  c.second = ColorLerp(actor.specular, actor.flashColor, static_cast<float>(f));
  return c;
}

void DrawCharacters(const MapDrawStep& step) {
  const std::int32_t map = step.map;
  if (map < 0 || map > gameData.maps.LastIndex() || step.view == nullptr) return;
  Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  device.SetVertexShader(kColoredVertexFormat);
  device.SetPixelShader(0);
  const bool picking = renderHooks.PickPassMode() != 0;
  // The pick pass sets a colour per character, so it draws piece by piece.
  if (!picking) device.BeginQuadSlots();
  const auto marginX = static_cast<float>(setExtents.maxSpriteWidth);
  const auto marginY = static_cast<float>(setExtents.maxSpriteHeight);
  for (std::size_t i = 0; i < record.actors.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    if (!renderHooks.IsCharacterVisible(map, index)) continue;
    Actor& actor = record.actors[i];
    if (OutsideVisibleRect(actor.x, actor.y, marginX, marginY, marginX, marginY, step.visibleRect)) continue;
    DrawCharacter(step, index, actor, picking);
  }
  device.SetDepthLayer(0);
  if (!picking) device.EndQuadSlots();
}

}  // namespace kiv
