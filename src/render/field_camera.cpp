#include "render/field_camera.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/math_util.h"
#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "platform/audio/mixer.h"
#include "platform/gfx/d3dx.h"

namespace kiv {

ViewScroll viewScroll;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kHalfPi = 1.5707964f;
constexpr float kQuarterPi = 0.7853982f;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr std::int32_t kProjectionOblique = 0;
constexpr std::int32_t kProjectionPerspective = 1;
constexpr std::int32_t kAxisFront = 1;
constexpr float kOrthoNear = 1.0f;
constexpr float kOrthoFar = 4096.0f;
constexpr float kListenerHeight = 48.0f;

struct ScreenView {
  std::int32_t projection;
  std::int32_t viewAxis;
  float pitch;
  float yaw;
  std::uint8_t frontSprites;
};

// "45", "top", "front" and "side".
constexpr ScreenView kScreenViews[] = {
    {kProjectionOblique, 0, kQuarterPi, -kHalfPi, 0},
    {2, 0, kHalfPi, -kHalfPi, 0},
    {2, kAxisFront, 0.0f, -kHalfPi, 1},
    {2, 2, 0.0f, 0.0f, 0},
};

std::int32_t BackBufferWidth() { return static_cast<std::int32_t>(CurrentDrawDevice().BackBufferWidth()); }
std::int32_t BackBufferHeight() { return static_cast<std::int32_t>(CurrentDrawDevice().BackBufferHeight()); }

std::int32_t ToLong(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

bool MapExists(std::int32_t map) { return map >= 0 && map <= gameData.maps.LastIndex(); }

// The actor the view follows in the map it shows, -1 none.
std::int32_t FollowedActor(const Field& field, std::int32_t map) {
  const FieldView& view = field.view;
  std::int32_t actor = -1;
  if (view.ownMap >= 0) {
    actor = view.followedCharacter;
  } else {
    const Player& player = projectState.players[static_cast<std::size_t>(view.followedPlayer)];
    const std::int32_t member = player.controlledMember;
    if (member >= 0 && member < static_cast<std::int32_t>(player.party.size())) {
      actor = player.party[static_cast<std::size_t>(member)].character;
    }
  }
  const auto actorCount = static_cast<std::int32_t>(gameData.maps[map].actors.size());
  return actor >= 0 && actor < actorCount ? actor : -1;
}

// One axis of the scroll: extent is the map's in pixels, view the view's.
double AxisScroll(double focus, std::int32_t extent, std::int32_t view, bool freeScroll) {
  const std::int32_t spare = RoundToLong(static_cast<double>(extent) - view);
  const std::int32_t half = RoundToLong(view / 2.0);
  const std::int32_t farEdge = RoundToLong(extent - view / 2.0);
  if (!freeScroll && spare <= 0) return spare / 2.0;
  if (focus > half || freeScroll) return focus < farEdge || freeScroll ? focus - view / 2.0 : spare;
  return 0.0;
}

void PlaceListener(float yaw) {
  const Vector3 position = SoundMakeVector(viewScroll.scrollX + static_cast<float>(BackBufferWidth()) / 2.0f,
                                           viewScroll.scrollY + static_cast<float>(BackBufferHeight()) / 2.0f,
                                           viewScroll.scrollZ + kListenerHeight);
  const double facing = static_cast<double>(yaw) + kPi / 2.0;
  const Vector3 front = SoundMakeVector(static_cast<float>(-std::sin(facing)), static_cast<float>(-std::cos(facing)), 0);
  // Without 3-D sound there is no listener to place.
  audio::Set3DPosition(position, SoundMakeVector(0, 0, 0), front, SoundMakeVector(0, 0, 1));
}

gfx::Matrix Projection(const FieldView& view, std::int32_t width, std::int32_t height, std::int32_t cutLeft,
                       std::int32_t cutTop, std::int32_t cutRight, std::int32_t cutBottom) {
  const double halfW = width * 0.5;
  const double halfH = height * 0.5;
  const double intHalfW = std::floor(halfW);
  const double intHalfH = std::floor(halfH);
  if (view.projection == kProjectionPerspective) {
    const double tY = std::tan(kPi / 8.0);
    const double tX = tY / (static_cast<double>(height) / width);
    // The cut edges move in by their share of the half view, so the part that
    // is still on the screen keeps its place in the picture.
    const double left = tX * (cutLeft - halfW) / halfW;
    const double right = tX * (halfW + cutRight) / halfW;
    const double bottom = -tY * (halfH + cutBottom) / halfH;
    const double top = tY * (halfH - cutTop) / halfH;
    return gfx::MatrixPerspectiveOffCenterLH(static_cast<float>(left), static_cast<float>(right),
                                             static_cast<float>(bottom), static_cast<float>(top), 1.0f,
                                             view.distance + view.distance2 + 256.0f);
  }
  const double left = cutLeft - intHalfW;
  const double right = halfW - intHalfW + halfW + cutRight;
  double bottom = -cutBottom - intHalfH;
  double top = 2.0 * halfH - intHalfH - cutTop;
  if (view.projection == kProjectionOblique) {
    // The ground leans away at 45 degrees: a screen pixel covers the square
    // root of 2 of it, cut edges included, so the picture keeps its scale.
    bottom /= kSqrt2;
    top /= kSqrt2;
  }
  return gfx::MatrixOrthoOffCenterLH(static_cast<float>(left), static_cast<float>(right), static_cast<float>(bottom),
                                     static_cast<float>(top), kOrthoNear, kOrthoFar);
}

}  // namespace

void SetFieldScreenView(Field& field, std::int32_t view) {
  if (view == 4) view = 0;
  if (view < 0 || view > 3) return;
  const ScreenView& chosen = kScreenViews[view];
  field.view.screenView = view;
  field.view.projection = chosen.projection;
  field.view.viewAxis = chosen.viewAxis;
  field.view.pitch = chosen.pitch;
  field.view.yaw = chosen.yaw;
  field.view.frontSprites = chosen.frontSprites;
}

std::int32_t FieldViewMap(const Field& field) {
  const FieldView& view = field.view;
  if (view.ownMap >= 0) return MapExists(view.ownMap) ? view.ownMap : -1;
  const auto playerCount = static_cast<std::int32_t>(projectState.players.size());
  if (view.followedPlayer < 0 || view.followedPlayer >= playerCount) return -1;
  const std::int32_t map = projectState.players[static_cast<std::size_t>(view.followedPlayer)].mapIndex;
  return MapExists(map) ? map : -1;
}

std::int32_t FieldViewFocus(Field& field, float& x, float& y, float& z) {
  const std::int32_t map = FieldViewMap(field);
  if (map < 0) return map;
  const Map& record = gameData.maps[map];
  const std::int32_t actor = FollowedActor(field, map);
  if (actor >= 0) {
    const Actor& followed = record.actors[static_cast<std::size_t>(actor)];
    x = followed.x;
    y = followed.y;
    z = followed.z;
  } else {
    // Nobody to follow: the middle of the map, at the height given.
    x = static_cast<float>((record.width + 1) * 16.0);
    y = static_cast<float>((record.height + 1) * 16.0);
  }
  FieldView& view = field.view;
  if (view.panning == 0) return map;
  // The owners advance the time and may pass the duration: the pan then holds its end.
  const double t = view.panDuration > 0 ? std::min(1.0, static_cast<double>(view.panElapsed) / view.panDuration) : 1.0;
  const auto lerp = [t](double from, double to) { return static_cast<float>(from * (1.0 - t) + to * t); };
  if (view.panTargetX == kPanBack && view.panTargetY == kPanBack) {
    if (view.panDuration > 0) {
      x = lerp(view.panStartX, x);
      y = lerp(view.panStartY, y);
      z = lerp(view.panStartZ, z);
    }
    if (view.panElapsed >= view.panDuration) view.panning = 0;
  } else {
    x = lerp(view.panStartX, view.panTargetX);
    y = lerp(view.panStartY, view.panTargetY);
    z = lerp(view.panStartZ, view.panTargetZ);
  }
  return map;
}

void UpdateViewScroll(Field& field, std::int32_t map, std::int32_t width, std::int32_t height) {
  if (width == -1 && height == -1) {
    width = BackBufferWidth();
    height = BackBufferHeight();
  }
  float fx = 0.0f, fy = 0.0f, fz = 0.0f;
  FieldViewFocus(field, fx, fy, fz);
  double scrollX = 0.0, scrollY = 0.0, scrollZ = 0.0;
  if (MapExists(map)) {
    const Map& record = gameData.maps[map];
    const bool freeScroll = record.freeScroll != 0;
    scrollX = AxisScroll(fx, 32 * record.width + 31, width, freeScroll);
    const double offsetY = AxisScroll(fy, 32 * record.height + 31, height, freeScroll);
    const double offsetZ = AxisScroll(fz, 32 * record.layerCount + 31, height, freeScroll);
    if (field.view.viewAxis == kAxisFront) {
      // The screen's vertical axis runs up the height.
      scrollY = 0.0;
      scrollZ = height + offsetZ;
    } else {
      scrollY = offsetY;
      scrollZ = fz;
    }
  }
  const FieldView& view = field.view;
  if (view.shakeDuration > 0) {
    const double s = std::sin(2.0 * kPi * view.shakeElapsed * view.shakeCount / view.shakeDuration);
    scrollX += std::cos(view.shakeAngle) * view.shakeAmplitude * s;
    scrollY += std::sin(view.shakeAngle) * view.shakeAmplitude * s;
  }
  viewScroll.scrollX = static_cast<float>(scrollX);
  viewScroll.scrollY = static_cast<float>(scrollY);
  viewScroll.scrollZ = static_cast<float>(scrollZ);
  viewScroll.scrollPixelX = RoundToLong(viewScroll.scrollX);
  viewScroll.scrollPixelY = RoundToLong(viewScroll.scrollY);
  viewScroll.scrollPixelZ = RoundToLong(viewScroll.scrollZ);
  PlaceListener(view.yaw);
}

void SetupFieldCamera(Field& field, std::int32_t x, std::int32_t y, std::int32_t& width, std::int32_t& height,
                      FieldCamera& camera) {
  UpdateViewScroll(field, FieldViewMap(field), width, height);
  const std::int32_t screenWidth = BackBufferWidth();
  const std::int32_t screenHeight = BackBufferHeight();
  if (width == -1 && height == -1) {
    width = screenWidth;
    height = screenHeight;
  }
  // The viewport, cut to the back buffer; the cuts keep the picture in place.
  std::int64_t left = x, top = y;
  std::int64_t right = static_cast<std::int64_t>(x) + width;
  std::int64_t bottom = static_cast<std::int64_t>(y) + height;
  std::int32_t cutLeft = 0, cutTop = 0, cutRight = 0, cutBottom = 0;
  if (left < 0) {
    cutLeft = static_cast<std::int32_t>(-left);
    left = 0;
  }
  if (top < 0) {
    cutTop = static_cast<std::int32_t>(-top);
    top = 0;
  }
  if (right > screenWidth) {
    cutRight = ToLong(screenWidth - right);
    right = screenWidth;
  }
  if (bottom > screenHeight) {
    cutBottom = ToLong(screenHeight - bottom);
    bottom = screenHeight;
  }
  camera.x = static_cast<std::int32_t>(left);
  camera.y = static_cast<std::int32_t>(top);
  camera.width = ToLong(right - left);
  camera.height = ToLong(bottom - top);
  camera.minZ = 0.0f;
  camera.maxZ = 1.0f;
  camera.world = gfx::MatrixIdentity();

  const FieldView& view = field.view;
  camera.projection = camera.width < 1 || camera.height < 1
                          ? gfx::MatrixIdentity()
                          : Projection(view, width, height, cutLeft, cutTop, cutRight, cutBottom);
  if (view.projection == kProjectionPerspective) camera.range = view.distance2;

  const gfx::Matrix turn = gfx::MatrixMultiply(gfx::MatrixRotationX(view.pitch),
                                               gfx::MatrixRotationZ(view.yaw + kHalfPi));
  const gfx::Vector3 offset = gfx::Vec3TransformCoord({0.0f, view.distance, 0.0f}, turn);
  const bool lookingDown = std::fabs(view.pitch - kHalfPi) < 0.0001f;
  camera.up = gfx::Vec3TransformNormal(lookingDown ? gfx::Vector3{0.0f, -1.0f, 0.0f} : gfx::Vector3{0.0f, 0.0f, 1.0f},
                                       gfx::MatrixRotationX(view.roll));
  const bool perspective = view.projection == kProjectionPerspective;
  const double sx = perspective ? viewScroll.scrollX : viewScroll.scrollPixelX;
  const double sy = perspective ? viewScroll.scrollY : viewScroll.scrollPixelY;
  const double sz = perspective ? viewScroll.scrollZ : viewScroll.scrollPixelZ;
  const double dz = view.viewAxis == kAxisFront ? 0.5 - std::floor(height / 2.0) : 0.0;
  const gfx::Vector3 target{static_cast<float>(sx + std::floor(width / 2.0) + 0.5),
                            static_cast<float>(sy + std::floor(height / 2.0) + 0.5), static_cast<float>(sz + dz)};
  camera.eye = {target.x + offset.x, target.y + offset.y, target.z + offset.z};
  camera.view = MakeLookAtMatrix(camera.eye.x, camera.eye.y, camera.eye.z, target.x, target.y, target.z, camera.up.x,
                                 camera.up.y, camera.up.z);

  FieldView& stored = field.view;
  stored.cameraSet = true;
  stored.cameraViewport.x = static_cast<std::uint32_t>(camera.x);
  stored.cameraViewport.y = static_cast<std::uint32_t>(camera.y);
  stored.cameraViewport.width = static_cast<std::uint32_t>(std::max(camera.width, 0));
  stored.cameraViewport.height = static_cast<std::uint32_t>(std::max(camera.height, 0));
  stored.cameraViewport.minZ = camera.minZ;
  stored.cameraViewport.maxZ = camera.maxZ;
  stored.cameraWorld = camera.world;
  stored.cameraView = camera.view;
  stored.cameraProjection = camera.projection;
}

}  // namespace kiv
