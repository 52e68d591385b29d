// The camera of a view field: screen views, the map shown, the focus with
// pans, the scroll over the map with shakes, the audio listener, and the
// viewport and matrices against values worked out by hand.
#include "render/field_camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/project_state.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mixer_state.h"
#include "support/recording_batcher.h"

namespace kiv {
namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kQuarterPi = 0.7853982f;

class FieldCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    projectState.Reset();
    viewScroll.Reset();
    recorder.backBufferWidth = 640;
    recorder.backBufferHeight = 480;
  }
  void TearDown() override {
    gameData.Reset();
    projectState.Reset();
    viewScroll.Reset();
  }
  // A map of the given last column, row and layer with one actor at (x, y, z).
  std::int32_t AddMap(std::int32_t lastColumn, std::int32_t lastRow, std::int32_t lastLayer, float x = 0,
                      float y = 0, float z = 0) {
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = lastColumn;
    map.height = lastRow;
    map.layerCount = lastLayer;
    Actor& actor = map.actors.emplace_back();
    actor.x = x;
    actor.y = y;
    actor.z = z;
    return index;
  }
  // A view of its own map following actor 0.
  Field ViewOf(std::int32_t map, std::int32_t screenView = 1) {
    Field field;
    field.kind = 6;
    field.view.ownMap = map;
    field.view.followedCharacter = 0;
    SetFieldScreenView(field, screenView);
    return field;
  }
  test::RecordingBatcher recorder;
};

TEST_F(FieldCameraTest, ScreenViewsSetProjectionAxisAnglesAndFrontSprites) {
  struct Case {
    std::int32_t view;
    std::int32_t projection, viewAxis;
    float pitch, yaw;
    std::uint8_t frontSprites;
  };
  const Case cases[] = {
      {0, 0, 0, kQuarterPi, -kHalfPi, 0}, {1, 2, 0, kHalfPi, -kHalfPi, 0}, {2, 2, 1, 0.0f, -kHalfPi, 1},
      {3, 2, 2, 0.0f, 0.0f, 0},           {4, 0, 0, kQuarterPi, -kHalfPi, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    Field field;
    field.view.projection = 1;
    field.view.viewAxis = 2;
    field.view.frontSprites = 1;
    field.view.roll = 0.25f;
    field.view.distance = 300.0f;
    field.view.distance2 = 40.0f;
    SetFieldScreenView(field, c.view);
    EXPECT_EQ(field.view.projection, c.projection);
    EXPECT_EQ(field.view.viewAxis, c.viewAxis);
    EXPECT_FLOAT_EQ(field.view.pitch, c.pitch);
    EXPECT_FLOAT_EQ(field.view.yaw, c.yaw);
    EXPECT_EQ(field.view.frontSprites, c.frontSprites);
    // Roll, distance and range are left as they are.
    EXPECT_FLOAT_EQ(field.view.roll, 0.25f);
    EXPECT_FLOAT_EQ(field.view.distance, 300.0f);
    EXPECT_FLOAT_EQ(field.view.distance2, 40.0f);
  }
  for (std::int32_t view : {-1, 5, 7}) {
    SCOPED_TRACE(view);
    Field field;
    field.view.projection = 1;
    field.view.pitch = 0.3f;
    SetFieldScreenView(field, view);
    EXPECT_EQ(field.view.projection, 1);
    EXPECT_FLOAT_EQ(field.view.pitch, 0.3f);
  }
}

TEST_F(FieldCameraTest, TheMapShownIsTheOwnMapElseTheFollowedPlayersMap) {
  for (int i = 0; i < 4; ++i) AddMap(3, 3, 0);
  projectState.players.resize(3);
  projectState.players[2].mapIndex = 3;
  projectState.players[1].mapIndex = -1;
  struct Case {
    std::int32_t ownMap, player, expected;
  };
  const Case cases[] = {
      {1, 2, 1},    // its own map wins
      {-1, 2, 3},   // the current map of player 2
      {-1, 1, -1},  // a player off every map
      {-1, 3, -1},  // a player beyond the last
      {-1, -1, -1},
      {4, 2, -1},  // an own map beyond the table shows nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ownMap << " " << c.player);
    Field field;
    field.view.ownMap = c.ownMap;
    field.view.followedPlayer = c.player;
    EXPECT_EQ(FieldViewMap(field), c.expected);
  }
}

TEST_F(FieldCameraTest, TheFocusIsTheFollowedCharacterElseTheMapsCentre) {
  const std::int32_t own = AddMap(9, 4, 1, 100, 200, 32);
  const std::int32_t playerMap = AddMap(3, 3, 0);
  gameData.maps[playerMap].actors.resize(3);
  gameData.maps[playerMap].actors[2].x = 7;
  gameData.maps[playerMap].actors[2].y = 8;
  gameData.maps[playerMap].actors[2].z = 9;
  projectState.players.resize(1);
  Player& player = projectState.players[0];
  player.mapIndex = playerMap;
  player.party.resize(2);
  player.party[1].character = 2;
  player.controlledMember = 1;

  Field field = ViewOf(own);
  float x = 0, y = 0, z = -5;
  EXPECT_EQ(FieldViewFocus(field, x, y, z), own);
  EXPECT_EQ(x, 100.0f);
  EXPECT_EQ(y, 200.0f);
  EXPECT_EQ(z, 32.0f);

  // Nobody followed: the middle of the 10 x 5 tile map, the height as given.
  field.view.followedCharacter = -1;
  z = -5;
  FieldViewFocus(field, x, y, z);
  EXPECT_EQ(x, 160.0f);
  EXPECT_EQ(y, 80.0f);
  EXPECT_EQ(z, -5.0f);
  field.view.followedCharacter = 1;  // beyond the actor list
  FieldViewFocus(field, x, y, z);
  EXPECT_EQ(x, 160.0f);

  // Through the player: the controlled party member's character.
  Field follower;
  follower.view.ownMap = -1;
  follower.view.followedPlayer = 0;
  EXPECT_EQ(FieldViewFocus(follower, x, y, z), playerMap);
  EXPECT_EQ(x, 7.0f);
  EXPECT_EQ(y, 8.0f);
  EXPECT_EQ(z, 9.0f);
  for (std::int32_t member : {-1, 2}) {
    player.controlledMember = member;
    z = 3;
    FieldViewFocus(follower, x, y, z);
    EXPECT_EQ(x, 64.0f);
    EXPECT_EQ(y, 64.0f);
    EXPECT_EQ(z, 3.0f);
  }

  // No map shown: nothing is written.
  Field none;
  none.view.ownMap = -1;
  none.view.followedPlayer = 5;
  x = y = z = 1.5f;
  EXPECT_EQ(FieldViewFocus(none, x, y, z), -1);
  EXPECT_EQ(x, 1.5f);
}

TEST_F(FieldCameraTest, PansMoveTheFocusAndAPanBackEndsOnTheCharacter) {
  const std::int32_t map = AddMap(9, 9, 0, 100, 200, 0);
  struct Case {
    const char* name;
    std::int32_t targetX, targetY, targetZ;
    std::int32_t elapsed, duration;
    float x, y, z;
    std::uint8_t panningAfter;
  };
  const Case cases[] = {
      {"back at once", kPanBack, kPanBack, 0, 0, 0, 100, 200, 0, 0},
      {"back halfway", kPanBack, kPanBack, 0, 500, 1000, 60, 110, 5, 1},
      {"back done", kPanBack, kPanBack, 0, 1000, 1000, 100, 200, 0, 0},
      {"back overrun", kPanBack, kPanBack, 0, 1200, 1000, 100, 200, 0, 0},
      {"to target halfway", 420, 820, 30, 250, 1000, 120, 220, 15, 1},
      {"to target at once", 420, 820, 30, 0, 0, 420, 820, 30, 1},
      {"holding the target", 420, 820, 30, 5000, 1000, 420, 820, 30, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Field field = ViewOf(map);
    FieldView& view = field.view;
    view.panning = 1;
    view.panStartX = 20;
    view.panStartY = 20;
    view.panStartZ = 10;
    view.panTargetX = c.targetX;
    view.panTargetY = c.targetY;
    view.panTargetZ = c.targetZ;
    view.panElapsed = c.elapsed;
    view.panDuration = c.duration;
    float x = 0, y = 0, z = 0;
    FieldViewFocus(field, x, y, z);
    EXPECT_FLOAT_EQ(x, c.x);
    EXPECT_FLOAT_EQ(y, c.y);
    EXPECT_FLOAT_EQ(z, c.z);
    EXPECT_EQ(view.panning, c.panningAfter);
  }
}

TEST_F(FieldCameraTest, TheScrollCentresSmallMapsAndClampsToTheEdges) {
  struct Case {
    const char* name;
    std::int32_t lastColumn;
    float focusX;
    std::int32_t viewWidth;
    bool freeScroll;
    float scrollX;
    std::int32_t pixelX;
  };
  const Case cases[] = {
      {"15 tiles in 640", 14, 100, 640, false, -80.5f, -80},
      {"near the left", 99, 100, 640, false, 0.0f, 0},
      {"at half", 99, 320, 640, false, 0.0f, 0},
      {"middle", 99, 2000, 640, false, 1680.0f, 1680},
      {"near the right", 99, 3100, 640, false, 2559.0f, 2559},
      {"free right", 99, 3100, 640, true, 2780.0f, 2780},
      {"free left", 99, 100, 640, true, -220.0f, -220},
      {"free small map", 14, 100, 640, true, -220.0f, -220},
      {"odd view", 99, 2000, 641, false, 1679.5f, 1680},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    const std::int32_t map = AddMap(c.lastColumn, 99, 0, c.focusX, 100, 0);
    gameData.maps[map].freeScroll = c.freeScroll ? 1 : 0;
    Field field = ViewOf(map);
    UpdateViewScroll(field, map, c.viewWidth, 480);
    EXPECT_FLOAT_EQ(viewScroll.scrollX, c.scrollX);
    EXPECT_EQ(viewScroll.scrollPixelX, c.pixelX);
  }
}

TEST_F(FieldCameraTest, TheScrollOfTheOtherAxesAndTheBackBufferSize) {
  // y runs like x; z is the focus height, except in the front view where the
  // screen's vertical axis runs up the height.
  const std::int32_t map = AddMap(99, 99, 3, 2000, 1500, 40);
  Field field = ViewOf(map, 1);
  UpdateViewScroll(field, map, -1, -1);  // the recorder's 640 x 480
  EXPECT_FLOAT_EQ(viewScroll.scrollX, 1680.0f);
  EXPECT_FLOAT_EQ(viewScroll.scrollY, 1260.0f);
  EXPECT_FLOAT_EQ(viewScroll.scrollZ, 40.0f);
  EXPECT_EQ(viewScroll.scrollPixelZ, 40);

  // Front: four layers (127 pixels) in a 480 view are centred: -176.5, plus the view height.
  SetFieldScreenView(field, 2);
  UpdateViewScroll(field, map, 640, 480);
  EXPECT_FLOAT_EQ(viewScroll.scrollY, 0.0f);
  EXPECT_FLOAT_EQ(viewScroll.scrollZ, 303.5f);
  EXPECT_EQ(viewScroll.scrollPixelZ, 304);
}

TEST_F(FieldCameraTest, AShakeSwingsTheScrollAlongItsAngle) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  struct Case {
    float angle;
    std::int32_t elapsed, count, duration, amplitude;
    float dx, dy;
  };
  const Case cases[] = {
      {0.0f, 250, 1, 1000, 10, 10.0f, 0.0f},       // a quarter swing: full amplitude
      {kHalfPi, 250, 1, 1000, 10, 0.0f, 10.0f},    // along y
      {0.0f, 125, 2, 1000, 8, 8.0f, 0.0f},         // two swings: the peak comes twice as soon
      {0.0f, 750, 1, 1000, 10, -10.0f, 0.0f},      // the other way
      {0.0f, 250, 1, 0, 10, 0.0f, 0.0f},           // no duration, no shake
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.angle << " " << c.elapsed);
    Field field = ViewOf(map);
    field.view.shakeAngle = c.angle;
    field.view.shakeElapsed = c.elapsed;
    field.view.shakeCount = c.count;
    field.view.shakeDuration = c.duration;
    field.view.shakeAmplitude = c.amplitude;
    UpdateViewScroll(field, map, 640, 480);
    EXPECT_NEAR(viewScroll.scrollX, 1680.0f + c.dx, 1e-3);
    EXPECT_NEAR(viewScroll.scrollY, 1260.0f + c.dy, 1e-3);
  }
}

TEST_F(FieldCameraTest, TheListenerSitsAtTheScreenCentreAboveTheScroll) {
  ASSERT_TRUE(audio::Init(0, 44100, audio::kInit3D));
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 16);
  Field field = ViewOf(map, 0);
  // The view's own size does not matter: the listener takes the back buffer's.
  UpdateViewScroll(field, map, 200, 100);
  const auto& state = audio::detail::State();
  EXPECT_FLOAT_EQ(state.listenerPosition.x, viewScroll.scrollX + 320.0f);
  EXPECT_FLOAT_EQ(state.listenerPosition.y, viewScroll.scrollY + 240.0f);
  EXPECT_FLOAT_EQ(state.listenerPosition.z, 16.0f + 48.0f);
  // Yaw -pi/2 faces (0, -1, 0): up the map.
  EXPECT_NEAR(state.listenerFront.x, 0.0f, 1e-6);
  EXPECT_NEAR(state.listenerFront.y, -1.0f, 1e-6);
  EXPECT_FLOAT_EQ(state.listenerFront.z, 0.0f);
  EXPECT_FLOAT_EQ(state.listenerTop.z, 1.0f);
  // The side view (yaw 0) faces -x.
  SetFieldScreenView(field, 3);
  UpdateViewScroll(field, map, 200, 100);
  EXPECT_NEAR(state.listenerFront.x, -1.0f, 1e-6);
  EXPECT_NEAR(state.listenerFront.y, 0.0f, 1e-6);
  audio::Free();
}

void ExpectMatrix(const gfx::Matrix& actual, const float (&expected)[4][4], float tolerance) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
      EXPECT_NEAR(actual.m[r][c], expected[r][c], tolerance);
    }
}

TEST_F(FieldCameraTest, TheTopViewLooksStraightDownOnTheFocus) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  Field field = ViewOf(map, 1);
  std::int32_t width = -1, height = -1;
  FieldCamera camera;
  SetupFieldCamera(field, 0, 0, width, height, camera);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(camera.x, 0);
  EXPECT_EQ(camera.y, 0);
  EXPECT_EQ(camera.width, 640);
  EXPECT_EQ(camera.height, 480);
  EXPECT_EQ(camera.minZ, 0.0f);
  EXPECT_EQ(camera.maxZ, 1.0f);
  // Target (1680 + 320 + 0.5, 1260 + 240 + 0.5, 0); the eye 1000 above; up (0, -1, 0).
  EXPECT_NEAR(camera.eye.x, 2000.5f, 1e-3);
  EXPECT_NEAR(camera.eye.y, 1500.5f, 1e-3);
  EXPECT_NEAR(camera.eye.z, 1000.0f, 1e-3);
  EXPECT_FLOAT_EQ(camera.up.y, -1.0f);
  const float view[4][4] = {{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {-2000.5f, 1500.5f, 1000, 1}};
  ExpectMatrix(camera.view, view, 2e-3f);
  // Off-centre orthographic, left -320, right 320, bottom -240, top 240, near 1, far 4096.
  const float projection[4][4] = {
      {2.0f / 640, 0, 0, 0}, {0, 2.0f / 480, 0, 0}, {0, 0, 1.0f / 4095, 0}, {0, 0, -1.0f / 4095, 1}};
  ExpectMatrix(camera.projection, projection, 1e-6f);
  const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(camera.world, identity, 0);
  // The field keeps the camera.
  EXPECT_TRUE(field.view.cameraSet);
  EXPECT_EQ(field.view.cameraViewport.width, 640u);
  ExpectMatrix(field.view.cameraView, view, 2e-3f);
}

TEST_F(FieldCameraTest, TheFortyFiveViewLeansTheGroundAway) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  Field field = ViewOf(map, 0);
  std::int32_t width = 640, height = 480;
  FieldCamera camera;
  SetupFieldCamera(field, 0, 0, width, height, camera);
  const float a = std::sqrt(0.5f);
  // Eye: 1000 back along +y and 1000 up, both times cos 45.
  EXPECT_NEAR(camera.eye.x, 2000.5f, 1e-3);
  EXPECT_NEAR(camera.eye.y, 1500.5f + 1000 * a, 1e-2);
  EXPECT_NEAR(camera.eye.z, 1000 * a, 1e-2);
  EXPECT_FLOAT_EQ(camera.up.z, 1.0f);
  // Left-handed look-at: x (1, 0, 0), y (0, -a, a), z (0, -a, -a).
  const float ty = -(-a * camera.eye.y + a * camera.eye.z);
  const float tz = -(-a * camera.eye.y - a * camera.eye.z);
  const float view[4][4] = {{1, 0, 0, 0}, {0, -a, -a, 0}, {0, a, -a, 0}, {-camera.eye.x, ty, tz, 1}};
  ExpectMatrix(camera.view, view, 0.05f);
  // Bounds -240 / sqrt 2 and 240 / sqrt 2.
  const float projection[4][4] = {{2.0f / 640, 0, 0, 0},
                                  {0, 2.0f / (480.0f * a), 0, 0},
                                  {0, 0, 1.0f / 4095, 0},
                                  {0, 0, -1.0f / 4095, 1}};
  ExpectMatrix(camera.projection, projection, 1e-6f);
}

TEST_F(FieldCameraTest, FrontAndSideViewsLookAlongTheGround) {
  const std::int32_t map = AddMap(99, 99, 3, 2000, 1500, 0);
  Field field = ViewOf(map, 2);
  std::int32_t width = 640, height = 480;
  FieldCamera camera;
  SetupFieldCamera(field, 0, 0, width, height, camera);
  // Front: target z is the scroll z (304) + 0.5 - 240; the eye 1000 along +y.
  EXPECT_NEAR(camera.eye.x, 2000.5f, 1e-3);
  EXPECT_NEAR(camera.eye.y, 0.0f + 240.5f + 1000.0f, 1e-2);
  EXPECT_NEAR(camera.eye.z, 304.0f + 0.5f - 240.0f, 1e-3);
  const float front[4][4] = {
      {1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {-camera.eye.x, -camera.eye.z, camera.eye.y, 1}};
  ExpectMatrix(camera.view, front, 0.05f);

  // Side: the eye 1000 towards -x, looking along +x; the screen's right is +y.
  SetFieldScreenView(field, 3);
  SetupFieldCamera(field, 0, 0, width, height, camera);
  EXPECT_NEAR(camera.eye.x, 2000.5f - 1000.0f, 1e-2);
  EXPECT_NEAR(camera.eye.y, 1500.5f, 1e-2);
  EXPECT_NEAR(camera.eye.z, 0.0f, 1e-3);
  const float side[4][4] = {
      {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {-camera.eye.y, -camera.eye.z, -camera.eye.x, 1}};
  ExpectMatrix(camera.view, side, 0.05f);
}

TEST_F(FieldCameraTest, TheUpVectorLooksDownOnlyStraightDownAndTurnsWithTheRoll) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  struct Case {
    float pitch, roll;
    gfx::Vector3 up;
  };
  const Case cases[] = {
      {kHalfPi, 0.0f, {0, -1, 0}},
      {kHalfPi + 0.00005f, 0.0f, {0, -1, 0}},  // within 0.0001 of straight down
      {kHalfPi - 0.001f, 0.0f, {0, 0, 1}},
      {kQuarterPi, 0.0f, {0, 0, 1}},
      {kQuarterPi, kHalfPi, {0, -1, 0}},  // (0, 0, 1) turned about x by a quarter
      {kHalfPi, kHalfPi, {0, 0, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pitch << " " << c.roll);
    Field field = ViewOf(map, 0);
    field.view.pitch = c.pitch;
    field.view.roll = c.roll;
    std::int32_t width = 640, height = 480;
    FieldCamera camera;
    SetupFieldCamera(field, 0, 0, width, height, camera);
    EXPECT_NEAR(camera.up.x, c.up.x, 1e-5);
    EXPECT_NEAR(camera.up.y, c.up.y, 1e-5);
    EXPECT_NEAR(camera.up.z, c.up.z, 1e-5);
  }
}

TEST_F(FieldCameraTest, AViewCutByTheScreenEdgeMovesItsBoundsIn) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  struct Case {
    const char* name;
    std::int32_t screenView;
    std::int32_t x, y, width, height;
    std::int32_t vx, vy, vw, vh;
    float left, right, bottom, top;
  };
  const float r = std::sqrt(2.0f);
  const Case cases[] = {
      {"left", 1, -50, 0, 200, 100, 0, 0, 150, 100, -50, 100, -50, 50},
      {"right", 1, 500, 0, 200, 100, 500, 0, 140, 100, -100, 40, -50, 50},
      {"top", 1, 0, -30, 200, 100, 0, 0, 200, 70, -100, 100, -50, 20},
      {"bottom", 1, 0, 400, 200, 100, 0, 400, 200, 80, -100, 100, -30, 50},
      {"odd", 1, 0, 0, 201, 101, 0, 0, 201, 101, -100, 101, -50, 51},
      {"45 top", 0, 0, -30, 200, 100, 0, 0, 200, 70, -100, 100, -50 / r, 20 / r},
      {"45 bottom", 0, 0, 400, 200, 100, 0, 400, 200, 80, -100, 100, -30 / r, 50 / r},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Field field = ViewOf(map, c.screenView);
    std::int32_t width = c.width, height = c.height;
    FieldCamera camera;
    SetupFieldCamera(field, c.x, c.y, width, height, camera);
    EXPECT_EQ(camera.x, c.vx);
    EXPECT_EQ(camera.y, c.vy);
    EXPECT_EQ(camera.width, c.vw);
    EXPECT_EQ(camera.height, c.vh);
    // Read the bounds back from the orthographic matrix.
    const gfx::Matrix& p = camera.projection;
    const float left = (-1 - p.m[3][0]) / p.m[0][0];
    const float right = (1 - p.m[3][0]) / p.m[0][0];
    const float bottom = (-1 - p.m[3][1]) / p.m[1][1];
    const float top = (1 - p.m[3][1]) / p.m[1][1];
    EXPECT_NEAR(left, c.left, 1e-3);
    EXPECT_NEAR(right, c.right, 1e-3);
    EXPECT_NEAR(bottom, c.bottom, 1e-3);
    EXPECT_NEAR(top, c.top, 1e-3);
  }
}

TEST_F(FieldCameraTest, AViewOffTheScreenHasAnEmptyViewportAndNoProjection) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  const std::int32_t rects[][4] = {{700, 0, 100, 100}, {-300, 0, 100, 100}, {0, 480, 100, 100}, {0, 0, 0, 100}};
  for (const auto& rect : rects) {
    SCOPED_TRACE(testing::Message() << rect[0] << " " << rect[1]);
    Field field = ViewOf(map, 1);
    std::int32_t width = rect[2], height = rect[3];
    FieldCamera camera;
    SetupFieldCamera(field, rect[0], rect[1], width, height, camera);
    EXPECT_TRUE(camera.width < 1 || camera.height < 1);
    const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    ExpectMatrix(camera.projection, identity, 0);
    EXPECT_TRUE(field.view.cameraSet);
    EXPECT_TRUE(field.view.cameraViewport.width == 0 || field.view.cameraViewport.height == 0);
  }
}

TEST_F(FieldCameraTest, APerspectiveViewUsesTheEighthTurnAndItsRange) {
  const std::int32_t map = AddMap(99, 99, 0, 2000, 1500, 0);
  Field field = ViewOf(map, 0);
  field.view.projection = 1;
  field.view.distance = 500.0f;
  field.view.distance2 = 300.0f;
  std::int32_t width = 640, height = 480;
  FieldCamera camera;
  SetupFieldCamera(field, 0, 0, width, height, camera);
  const float tY = std::tan(3.14159265f / 8);
  const float tX = tY * 640.0f / 480.0f;
  const float farZ = 500.0f + 300.0f + 256.0f;
  // D3D's off-centre perspective with near 1: 2 / (r - l), 2 / (t - b), far / (far - near).
  EXPECT_NEAR(camera.projection.m[0][0], 2.0f / (2 * tX), 1e-5);
  EXPECT_NEAR(camera.projection.m[1][1], 2.0f / (2 * tY), 1e-5);
  EXPECT_NEAR(camera.projection.m[2][0], 0.0f, 1e-6);
  EXPECT_NEAR(camera.projection.m[2][1], 0.0f, 1e-6);
  EXPECT_NEAR(camera.projection.m[2][2], farZ / (farZ - 1), 1e-5);
  EXPECT_NEAR(camera.projection.m[2][3], 1.0f, 1e-6);
  EXPECT_NEAR(camera.projection.m[3][2], -farZ / (farZ - 1), 1e-4);
  EXPECT_FLOAT_EQ(camera.range, 300.0f);
  // Cut at the top by 120 (a quarter of the height): the top bound moves down
  // by its share, so the rest of the picture stays in place.
  std::int32_t cutWidth = 640, cutHeight = 480;
  SetupFieldCamera(field, 0, -120, cutWidth, cutHeight, camera);
  EXPECT_EQ(camera.height, 360);
  const float bottom = -tY, top = tY * (240.0f - 120.0f) / 240.0f;
  EXPECT_NEAR(camera.projection.m[1][1], 2.0f / (top - bottom), 1e-5);
  EXPECT_NEAR(camera.projection.m[2][1], (top + bottom) / (bottom - top), 1e-5);
}

}  // namespace
}  // namespace kiv
