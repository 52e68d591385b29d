#include "player/map_passage.h"

#include <array>
#include <cstddef>

#include "core/geometry.h"
#include "core/quaternion_math.h"
#include "data/broad_phase.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "mathkiv/collision.h"
#include "player/character_fields.h"
#include "player/character_world.h"

namespace kiv {

namespace {

constexpr std::int32_t kStrip = 16;    // width of the passage strip along an edge
constexpr float kLanding = 32.0f;      // distance inside the neighbour's opposite edge
constexpr std::int32_t kStripLow = -2147483647;
constexpr std::int32_t kStripHigh = 2147483135;

Actor& ActorOf(std::int32_t map, std::int32_t character) {
  return gameData.maps[map].actors[static_cast<std::size_t>(character)];
}

ShapePlacement PlacementOf(const Actor& a) {
  return ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
}

std::int32_t PixelWidth(const Map& m) { return (m.width + 1) * 32; }
std::int32_t PixelHeight(const Map& m) { return (m.height + 1) * 32; }
std::int32_t PixelDepth(const Map& m) { return (m.layerCount + 1) * 32; }

CollisionShape StripShape(std::int32_t side, std::int32_t w, std::int32_t h) {
  CollisionBox box;
  box.front = kStripLow;
  box.back = kStripHigh;
  switch (side) {
    case 0:
      box.right = kStrip;
      box.bottom = h;
      break;
    case 1:
      box.right = w;
      box.bottom = kStrip;
      break;
    case 2:
      box.left = w - kStrip;
      box.right = w;
      box.bottom = h;
      break;
    default:
      box.top = h - kStrip;
      box.right = w;
      box.bottom = h;
      break;
  }
  CollisionShape shape;
  shape.rectangles.push_back(box);
  return shape;
}

// The side whose strip the character meets and that has a neighbour, -1 none.
std::int32_t TakenSide(std::int32_t map, const Actor& a) {
  const Map& m = gameData.maps[map];
  const std::int32_t last = gameData.maps.LastIndex();
  for (std::int32_t side = 0; side < 4; ++side) {
    const std::int32_t neighbour = m.namedSlots[static_cast<std::size_t>(side)].index;
    if (neighbour < 0 || neighbour > last) continue;
    const CollisionShape strip = StripShape(side, PixelWidth(m), PixelHeight(m));
    if (IntersectCollisionCollision(a.collisionShape, PlacementOf(a), strip, ShapePlacement{})) return side;
  }
  return -1;
}

// The edge state rules shared by the map and the camera: an inside change
// raises the crossing event (when no crossing was under way) and the
// left-or-entered event; a crossing while inside raises the crossing event once.
void ApplyEdgeState(std::int32_t map, std::int32_t character, bool inside, bool crossing, bool cameraBytes,
                    std::int32_t crossedEvent, std::int32_t leftEnteredEvent) {
  const auto insideByte = [&]() -> std::uint8_t& {
    Actor& a = ActorOf(map, character);
    return cameraBytes ? InsideCamera(a) : InsideMap(a);
  };
  const auto crossingByte = [&]() -> std::uint8_t& {
    Actor& a = ActorOf(map, character);
    return cameraBytes ? CrossingCameraEdge(a) : CrossingMapEdge(a);
  };
  const auto raise = [&](std::int32_t event) { characterWorld.RaiseObjectEvent(kOwnerActor, character, event, map, -1); };
  if ((insideByte() != 0) != inside) {
    if (crossingByte() == 0) {
      raise(crossedEvent);
      if (inside && crossing) crossingByte() = 1;
    }
    insideByte() = inside ? 1 : 0;
    raise(leftEnteredEvent);
  }
  if (inside && crossing) {
    if (crossingByte() == 0) {
      crossingByte() = 1;
      raise(crossedEvent);
    }
  } else {
    crossingByte() = 0;
  }
}

Viewport ToViewport(const gfx::Viewport& v) {
  Viewport r;
  r.X = static_cast<std::int32_t>(v.x);
  r.Y = static_cast<std::int32_t>(v.y);
  r.Width = static_cast<std::int32_t>(v.width);
  r.Height = static_cast<std::int32_t>(v.height);
  r.MinZ = v.minZ;
  r.MaxZ = v.maxZ;
  return r;
}

Matrix4 ToMatrix4(const gfx::Matrix& m) {
  Matrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = m.m[i][j];
  return r;
}

// Projects the eight corners of the footprint through every stored camera of
// the views that show the map. A corner outside a viewport (its pixels run
// from the viewport's X and Y) makes crossing, any other inside.
void CameraState(std::int32_t map, const Box& r, bool& inside, bool& crossing) {
  inside = false;
  crossing = false;
  const Map& m = gameData.maps[map];
  for (const MapViewEntry& entry : m.viewList) {
    if (entry.interfaceMap < 0 || entry.interfaceMap > gameData.maps.LastIndex()) continue;
    const Map& holder = gameData.maps[entry.interfaceMap];
    if (entry.field < 0 || static_cast<std::size_t>(entry.field) >= holder.fields.size()) continue;
    const FieldView& view = holder.fields[static_cast<std::size_t>(entry.field)].view;
    if (!view.cameraSet) continue;
    const Viewport vp = ToViewport(view.cameraViewport);
    const Matrix4 projection = ToMatrix4(view.cameraProjection);
    const Matrix4 viewMatrix = ToMatrix4(view.cameraView);
    const Matrix4 world = ToMatrix4(view.cameraWorld);
    for (int corner = 0; corner < 8; ++corner) {
      const auto x = static_cast<float>((corner & 1) != 0 ? r.right : r.left);
      const auto y = static_cast<float>((corner & 2) != 0 ? r.bottom : r.top);
      const auto z = static_cast<float>((corner & 4) != 0 ? r.back : r.front);
      const Vector3 s = ProjectToScreen(x, y, z, vp, projection, viewMatrix, world);
      const auto left = static_cast<float>(vp.X);
      const auto top = static_cast<float>(vp.Y);
      if (s.x < left || s.y < top || s.x >= left + static_cast<float>(vp.Width) ||
          s.y >= top + static_cast<float>(vp.Height)) {
        crossing = true;
      } else {
        inside = true;
      }
    }
  }
}

}  // namespace

bool RunMapPassage(std::int32_t map, std::int32_t character) {
  const std::int32_t side = TakenSide(map, ActorOf(map, character));
  if (side < 0) return false;
  const std::int32_t neighbour = gameData.maps[map].namedSlots[static_cast<std::size_t>(side)].index;
  if (gameData.maps[neighbour].keptById) {
    const std::u16string name = gameData.maps[neighbour].fileName;
    LoadMapFromPackage(name, false, neighbour, true);
  }
  const Map& from = gameData.maps[map];
  const Map& to = gameData.maps[neighbour];
  const auto w = static_cast<float>(PixelWidth(from));
  const auto h = static_cast<float>(PixelHeight(from));
  const auto w2 = static_cast<float>(PixelWidth(to));
  const auto h2 = static_cast<float>(PixelHeight(to));
  Actor& a = ActorOf(map, character);
  Box r;
  GetCollisionRect(r, a.collisionShape,
                   ShapePlacement{0.0f, 0.0f, 0.0f, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ},
                   kRectPlaced);
  switch (side) {
    case 0:
      a.x = w2 - static_cast<float>(r.right) - kLanding;
      a.y = a.y / h * h2;
      break;
    case 1:
      a.x = a.x / w * w2;
      a.y = h2 - static_cast<float>(r.bottom) - kLanding;
      break;
    case 2:
      a.x = kLanding - static_cast<float>(r.left);
      a.y = a.y / h * h2;
      break;
    default:
      a.x = a.x / w * w2;
      a.y = kLanding - static_cast<float>(r.top);
      break;
  }
  MarkBroadPhaseDirty(gameData.maps[map]);
  characterWorld.SetCharacterPosition(character, map, neighbour, false, false);
  return true;
}

void RaiseEdgeEvents(std::int32_t map, std::int32_t character, bool mapEdges, bool cameraEdges) {
  if (mapEdges) {
    const Map& m = gameData.maps[map];
    const Actor& a = ActorOf(map, character);
    Box r;
    GetCollisionRect(r, a.collisionShape, PlacementOf(a), kRectPlaced);
    const Box mapBox{0, 0, PixelWidth(m), PixelHeight(m), 0, PixelDepth(m)};
    const bool inside = IntersectRectRect(r, mapBox);
    const bool crossing = !inside || r.left < 0 || r.top < 0 || r.front < 0 || r.right > mapBox.right ||
                          r.bottom > mapBox.bottom || r.back > mapBox.back;
    ApplyEdgeState(map, character, inside, crossing, false, kEventActorCrossedMapEdge, kEventActorLeftEnteredMap);
  }
  // A script run by a map-edge event may have removed the character.
  if (cameraEdges && static_cast<std::size_t>(character) < gameData.maps[map].actors.size()) {
    const Actor& a = ActorOf(map, character);
    Box r;
    GetCollisionRect(r, a.collisionShape, PlacementOf(a), kRectPlaced);
    bool inside = false;
    bool crossing = false;
    CameraState(map, r, inside, crossing);
    ApplyEdgeState(map, character, inside, crossing, true, kEventActorCrossedCameraEdge,
                   kEventActorLeftEnteredCamera);
  }
}

}  // namespace kiv
