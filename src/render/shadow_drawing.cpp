// Shadows on the ground: doors laid flat, characters' sprite layers
// flattened and shrunk with height, attached effects and pick-ups pressed
// onto z 0, and the tiles' own shadows. The stencil test that frame drawing
// sets up (reference 1, not equal, replace) lets every pixel be darkened by
// one shadow only, however many overlap.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/angles.h"
#include "data/actor_record.h"
#include "data/door_fields.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "media/vertex_records.h"
#include "platform/gfx/d3d_types.h"
#include "render/door_drawing.h"
#include "render/map_drawing.h"
#include "render/map_object_drawing.h"
#include "render/map_top_drawing.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"
#include "state/project_settings_block.h"

namespace kiv {

namespace {

constexpr std::int32_t kShadowDepthLayer = 2;
constexpr std::int32_t kDeadState = 3;
constexpr std::uint8_t kSetFullHeightShadow = 0x4;  // sprite-set flag: the shadow keeps its full height
constexpr std::uint8_t kSetTurnsWithHeading = 0x10;
constexpr float kShadowFalloff = 150;  // a character this high casts a shadow of half its size
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::int32_t kFlatDrawing = 1;
// Doors: culling margins and the size of their flat shadow.
constexpr float kDoorLeft = 32, kDoorUp = -64, kDoorRight = 64, kDoorDown = 192;
constexpr float kDoorRise = 64;
constexpr std::int32_t kDoorWidth = 32;
constexpr float kDoorShadowHeight = 32;
constexpr float kCellsAcross = 8, kCellsDown = 4;
// Pick-ups: culling margins, icon cells, and the sprite's shadow offset and squash.
constexpr float kImageMargin = 24, kSpriteMargin = 256;
constexpr float kIconSize = 48, kIconCell = 0.25f;
constexpr std::int32_t kIconTexture = 1;
constexpr float kSpriteShadowDrop = 24, kSpriteShadowSquash = 0.5f;

bool OptionFlag(std::size_t number) { return storedProjectSettings.flags[number - 1] != 0; }

const SpriteSet* SetAt(std::int32_t set) {
  if (set < 0 || set >= static_cast<std::int32_t>(gameData.spriteSets.size())) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(set)];
}

void DrawDoorShadows(const MapDrawStep& step, const Map& map) {
  const auto doorSets = static_cast<std::int32_t>(gameData.doorSets.size());
  for (const Door& door : map.doors) {
    if (!DoorCastsShadow(door) || DoorNoDraw(door) || door.doorSet < 0 || door.doorSet >= doorSets) continue;
    if (OutsideVisibleRect(door.x, door.y, kDoorLeft, kDoorUp, kDoorRight, kDoorDown, step.visibleRect)) continue;
    const float u1 = static_cast<float>(DoorTileX(door)) / kCellsAcross;
    const float v1 = static_cast<float>(DoorTileY(door)) / kCellsDown;
    const float u2 = static_cast<float>(DoorTileX(door) + 1) / kCellsAcross;
    const float v2 = static_cast<float>(DoorTileY(door) + 1) / kCellsDown;
    const std::uint32_t colour = DoorShadowColour(door);
    DrawDoor(door.doorSet, door.x, door.y + kDoorRise, door.z, u1, v1, u2, v2, colour, colour,
             DoorShadowSecondColour(door), door.openStyle, door.openAmount, door.mirrorU != 0, door.mirrorV != 0,
             true, kDoorWidth, kDoorShadowHeight);
  }
}

// The rotation character drawing gives the actor's sprites.
float ActorRotation(const Actor& actor, std::int32_t direction) {
  const SpriteSet* body = actor.parts.empty() ? nullptr : SetAt(actor.parts[0].spriteSet);
  if (body != nullptr && (body->flags & kSetTurnsWithHeading) != 0) return actor.heading - DirectionToAngle(direction);
  return actor.heading;
}

void DrawCharacterShadow(const MapDrawStep& step, std::int32_t index, Actor& actor) {
  const std::int32_t direction = renderHooks.ActorDrawDirection(actor);
  const float rotation = ActorRotation(actor, direction);
  const bool animate = gameState.paused == 0;
  const bool standing = actor.state != kDeadState || (actor.deadUpright != 0 && actor.keepItems != 0);
  if (standing && actor.shadow == 1 && actor.z >= 0) {
    const float s = ShadowScale(actor.z);
    for (const CharacterLayer& layer : actor.characterLayers) {
      const SpriteSet* set = SetAt(layer.layerSpriteSet);
      if (set == nullptr) continue;
      std::int32_t pose = 0, poseTime = 0;
      renderHooks.SelectActorPose(step.map, actor, layer.layerSpriteSet, LayerTag(layer), direction, pose, poseTime);
      if (pose < 0 || pose >= static_cast<std::int32_t>(set->poses.size())) continue;
      const float squash = (set->flags & kSetFullHeightShadow) != 0 ? s : s / 2;
      DrawSpritePart(set->poses[static_cast<std::size_t>(pose)], LayerTag(layer), layer.order, direction, poseTime,
                     actor.sprite, *step.view, actor.x, actor.y, actor.z, s * actor.scaleX, squash * actor.scaleY,
                     s * actor.scaleZ, actor.mirrorX != 0, actor.mirrorY != 0, actor.shadowColor, kWhite, kWhite,
                     ActorShadowSecondColour(actor), 0, 0, rotation, kFlatDrawing, 0, 0, 1, 1, animate, 0, step.map,
                     index);
    }
  }
  // Attached effects that cast a shadow lie flattened on the ground.
  for (const std::vector<Attachment>* list : {&actor.attachedEffects, &actor.attachedSprites}) {
    for (const Attachment& a : *list) {
      if (!AttachmentCastsShadow(a) || SetAt(a.spriteSet) == nullptr) continue;
      DrawSprite(a.spriteSet, AttachmentClock(a), actor.sprite, *step.view, actor.x, actor.y, 0, actor.scaleX,
                 actor.scaleY, 0, false, false, AttachmentShadowColour(a), kWhite, 0, 0.0f, 0, 0, 0, 1, 1, animate);
    }
  }
}

void DrawCharacterShadows(const MapDrawStep& step, Map& map) {
  const auto marginX = static_cast<float>(setExtents.maxSpriteWidth);
  const auto marginY = static_cast<float>(setExtents.maxSpriteHeight);
  for (std::size_t i = 0; i < map.actors.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    if (!renderHooks.IsCharacterVisible(step.map, index)) continue;
    Actor& actor = map.actors[i];
    if (OutsideVisibleRect(actor.x, actor.y, marginX, marginY, marginX, marginY, step.visibleRect)) continue;
    DrawCharacterShadow(step, index, actor);
  }
}

// A picture of a pick-up lying at z 0, (u1, v1)-(u2, v2) flipped by its mirror bytes.
void AddLyingPicture(const PickUp& p, float size, float u1, float v1, float u2, float v2) {
  if (p.mirrorH != 0) std::swap(u1, u2);
  if (p.mirrorV != 0) std::swap(v1, v2);
  QuadAddFlat3D(p.x - size / 2, p.y - size / 2, 0, size, size, 0, u1, v1, u2, v2, PickUpShadowColour(p),
                PickUpShadowSecondColour(p));
}

void DrawPickUpPictureShadow(const PickUp& p) {
  DrawDevice& device = CurrentDrawDevice();
  const std::int32_t item = p.items[0].item;
  if (item >= 0 && item < static_cast<std::int32_t>(gameData.items.size())) {
    const Item& record = gameData.items[static_cast<std::size_t>(item)];
    device.SetTexture(0, record.pictureTexture);
    AddLyingPicture(p, static_cast<float>(ItemPictureSize(record)), 0, 0, 1, 1);
    QuadBatchFlushColored3D();
  }
  struct Icon {
    bool shown;
    float column, row;
  };
  const Icon icons[] = {{p.values3[0] > 0, 3, 0}, {p.money > 0, 2, 0}, {p.values3[1] > 0, 2, 1}};
  bool any = false;
  for (const Icon& icon : icons) any = any || icon.shown;
  if (!any) return;
  device.SetTexture(0, renderHooks.SystemTexture(kIconTexture));
  for (const Icon& icon : icons) {
    if (!icon.shown) continue;
    const float u = icon.column * kIconCell, v = icon.row * kIconCell;
    AddLyingPicture(p, kIconSize, u, v, u + kIconCell, v + kIconCell);
  }
  QuadBatchFlushColored3D();
}

void DrawPickUpShadows(const MapDrawStep& step, Map& map) {
  const bool animate = gameState.paused == 0;
  for (PickUp& p : map.pickUps) {
    const bool hasSprite = p.spriteSet >= 0;
    // The pick-ups that pick-up drawing shows, and only those that cast a shadow.
    if (!PickUpCastsShadow(p) || p.hidden != 0 || (p.Taken() && !hasSprite)) continue;
    const float margin = hasSprite ? kSpriteMargin : kImageMargin;
    if (OutsideVisibleRect(p.x, p.y, margin, margin, margin, margin, step.visibleRect)) continue;
    if (!hasSprite) {
      DrawPickUpPictureShadow(p);
      continue;
    }
    DrawSprite(p.spriteSet, PickUpClock(p), p.sprite, *step.view, p.x, p.y + kSpriteShadowDrop, 0, 1,
               kSpriteShadowSquash, 1, p.mirrorH != 0, p.mirrorV != 0, PickUpShadowColour(p), kWhite,
               PickUpShadowSecondColour(p), 0.0f, 0, 0.0f, 0.0f, 1.0f, 1.0f, animate);
  }
}

}  // namespace

float ShadowScale(float z) { return kShadowFalloff / (std::fabs(z) + kShadowFalloff); }

void DrawShadows(const MapDrawStep& step) {
  if (step.map < 0 || step.map > gameData.maps.LastIndex() || step.view == nullptr) return;
  if (renderHooks.PickPassMode() != 0 || !OptionFlag(3)) return;
  Map& map = gameData.maps[step.map];
  if (map.isInterface) return;
  DrawDevice& device = CurrentDrawDevice();
  // Shadows are coloured 3-D quads, whatever the projectiles drawn before left set.
  device.SetVertexShader(kColoredVertexFormat);
  device.SetPixelShader(0);
  device.SetDepthLayer(kShadowDepthLayer);
  device.SetRenderState(gfx::kRsStencilEnable, 1);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullCw);
  DrawDoorShadows(step, map);
  device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  DrawCharacterShadows(step, map);
  DrawPickUpShadows(step, map);
  DrawMapTileGroup(step, 0, true);
  DrawMapTileGroup(step, 1, true);
  device.SetRenderState(gfx::kRsStencilEnable, 0);
  device.SetDepthLayer(0);
}

// Shadow fields kept under their file names. A door stores its shadow byte
// and shadow colour after its colour and specular, the second shadow colour
// after them, as an actor stores its specular, shadow colour and the value
// after it.
std::uint32_t ActorShadowSecondColour(const Actor& actor) { return static_cast<std::uint32_t>(actor.designValue); }
// A pick-up's second flag byte and the two values after it.
bool PickUpCastsShadow(const PickUp& p) { return p.flag2 != 0; }
std::uint32_t PickUpShadowColour(const PickUp& p) { return static_cast<std::uint32_t>(p.values2[0]); }
std::uint32_t PickUpShadowSecondColour(const PickUp& p) { return static_cast<std::uint32_t>(p.values2[1]); }
// An attachment's flag byte and value, as the scripts that attach it set them.
bool AttachmentCastsShadow(const Attachment& a) { return a.byteF != 0; }
std::uint32_t AttachmentShadowColour(const Attachment& a) { return static_cast<std::uint32_t>(a.valueB); }

}  // namespace kiv
