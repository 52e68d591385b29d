// The pointer with injected mouse states and geometric picking: the gesture
// path, the mouse events of fields in order, the parent climb, clicks, the
// controls that fields press, what picking skips, the front-to-back order of
// fields and interfaces, and zones and characters seen through a view field.
#include <gtest/gtest.h>

#include <functional>

#include "core/error.h"
#include "platform/gfx/d3dx.h"
#include "render/draw_helpers.h"
#include "render/field_camera.h"
#include "support/recording_batcher.h"
#include "support/world_builder.h"
#include "world/field_focus.h"
#include "world/interface_fixture.h"
#include "world/pointer_picking.h"

namespace kiv {
namespace {

constexpr std::int32_t kDown = 581, kEnter = 582, kMove = 583, kLeave = 584, kUp = 585, kGesture = 625;
constexpr std::int32_t kSelect = 579, kUnselect = 580, kActivate = 578;
constexpr std::int32_t kActorDown = 561, kActorEnter = 562, kActorMove = 563, kActorLeave = 564, kActorUp = 565,
                       kActorGesture = 623;
constexpr std::int32_t kZoneDown = 573, kZoneEnter = 574, kZoneMove = 575, kZoneLeave = 576, kZoneUp = 577,
                       kZoneGesture = 626;

class PointerTest : public test::InterfaceTest {
 protected:
  void SetUp() override {
    InterfaceTest::SetUp();
    recorder_.backBufferWidth = 200;
    recorder_.backBufferHeight = 150;
    storedProjectSettings.inputPointerFlag = 0;  // geometric picking
    // Interfaces designed for the back buffer's size.
    dataSettings.gameVideoWidth = 200;
    dataSettings.gameVideoHeight = 150;
  }
  void TearDown() override {
    dataSettings = DataSettings();
    InterfaceTest::TearDown();
  }

  // The pointer at (x, y), moved by (dx, dy) in this frame.
  static void Mouse(std::int32_t x, std::int32_t y, std::int32_t dx = 0, std::int32_t dy = 0) {
    PlayerInputState& state = playerInputStates[0];
    state.cursorX = x;
    state.cursorY = y;
    state.relativeX = dx;
    state.relativeY = dy;
  }
  static void Frame() { UpdatePointer(0, 0); }
  static void Down() { UpdatePointer(0, 1); }
  static void Up() { UpdatePointer(0, -1); }
  static std::tuple<std::int32_t, std::int32_t, std::int32_t> Hover() {
    const PlayerInputState& s = playerInputStates[0];
    return {s.targetMap, s.targetKind, s.targetIndex};
  }
  static std::tuple<std::int32_t, std::int32_t, std::int32_t> Pressed() {
    const PlayerInputState& s = playerInputStates[0];
    return {s.pressMap, s.pressKind, s.pressIndex};
  }
  static void WatchAll(std::int32_t map, std::int32_t field) {
    Watch(map, field, {kDown, kEnter, kMove, kLeave, kUp, kGesture, kActivate});
  }
  std::vector<std::int32_t> TakeEvents() {
    std::vector<std::int32_t> events = Events();
    ClearEvents();
    return events;
  }

  test::RecordingBatcher recorder_;
};

TEST_F(PointerTest, TheGesturePathIsEmptiedOnDownAndGrowsWhileHeldAndMoving) {
  PlayerInputState& state = playerInputStates[0];
  state.stroke.points = {{1, 1}, {2, 2}};
  Mouse(10, 10);
  Down();
  ASSERT_EQ(state.stroke.points.size(), 1u);
  EXPECT_FLOAT_EQ(state.stroke.points[0].x, 10);
  EXPECT_EQ(state.actionState, 1);
  struct Step {
    std::int32_t x, y, dx, dy;
    std::size_t points;
  };
  for (const Step& step : std::vector<Step>{{15, 10, 5, 0, 2}, {15, 10, 0, 0, 2}, {15, 18, 0, 8, 3}, {15, 18, 0, 0, 3}}) {
    Mouse(step.x, step.y, step.dx, step.dy);
    Frame();
    EXPECT_EQ(state.stroke.points.size(), step.points) << step.x << "," << step.y;
  }
  EXPECT_EQ(state.stroke.points.size(), 3u);
  EXPECT_FLOAT_EQ(state.stroke.points[2].y, 18);
  Mouse(20, 20, 2, 2);
  Up();
  EXPECT_EQ(state.actionState, -1);
  Frame();
  EXPECT_EQ(state.stroke.points.size(), 3u);  // released: the path is kept, and grows no more
}

TEST_F(PointerTest, FieldEventsInOrderThroughAClick) {
  const std::int32_t a = AddField(0, 10, 10);
  const std::int32_t b = AddField(0, 60, 10);
  WatchAll(0, a);
  WatchAll(0, b);
  Watch(0, a, {kSelect, kUnselect});
  struct Step {
    const char* what;
    std::int32_t x, y, dx, dy, button;
    std::vector<std::int32_t> events;
  };
  const std::vector<Step> steps = {
      {"enter and move in one call", 12, 12, 1, 0, 0, {kSelect * 100 + a, kEnter * 100 + a, kMove * 100 + a}},
      {"still, on the same field", 12, 12, 0, 0, 0, {}},
      {"moved", 13, 12, 1, 0, 0, {kMove * 100 + a}},
      {"down", 13, 12, 0, 0, 1, {kDown * 100 + a}},
      {"up on the same field activates first", 13, 12, 0, 0, -1,
       {kActivate * 100 + a, kUp * 100 + a, kGesture * 100 + a}},
      {"over another field", 62, 12, 0, 0, 0,
       {kLeave * 100 + a, kUnselect * 100 + a, kEnter * 100 + b}},
      {"over nothing", 150, 100, 0, 0, 0, {kLeave * 100 + b}},
      {"over nothing again", 150, 100, 3, 0, 0, {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Mouse(step.x, step.y, step.dx, step.dy);
    UpdatePointer(0, step.button);
    EXPECT_EQ(TakeEvents(), step.events);
  }
  EXPECT_EQ(Hover(), std::make_tuple(-1, 0, 0));
}

TEST_F(PointerTest, AClickEndingOverAnotherFieldActivatesNothing) {
  const std::int32_t a = AddField(0, 10, 10);
  const std::int32_t b = AddField(0, 60, 10);
  WatchAll(0, a);
  WatchAll(0, b);
  Mouse(12, 12);
  Frame();
  ClearEvents();
  Down();
  EXPECT_EQ(Pressed(), std::make_tuple(0, 9, a));
  Mouse(62, 12, 50, 0);
  Up();
  EXPECT_EQ(TakeEvents(), (std::vector<std::int32_t>{kDown * 100 + a, kUp * 100 + b, kGesture * 100 + b}));
  // Down over nothing forgets the pressed field.
  Mouse(150, 100);
  Down();
  EXPECT_EQ(Pressed(), std::make_tuple(-1, 0, -1));
}

TEST_F(PointerTest, ALabelPassesItsEventsToTheSelectableParent) {
  const std::int32_t button = AddField(0, 10, 10);
  const std::int32_t label = AddField(0, 12, 12, 0);
  F(0, label).parent = button;
  WatchAll(0, button);
  WatchAll(0, label);
  F(0, button).textRect = {0, 0, 0, 0};  // only the label lies under the pointer
  Mouse(15, 15);
  Frame();
  Down();
  EXPECT_EQ(Pressed(), std::make_tuple(0, 9, button));
  Up();
  EXPECT_EQ(TakeEvents(), (std::vector<std::int32_t>{kEnter * 100 + button, kDown * 100 + button,
                                                     kActivate * 100 + button, kUp * 100 + button,
                                                     kGesture * 100 + button}));
  EXPECT_EQ(Hover(), std::make_tuple(0, 9, button));
}

TEST_F(PointerTest, ADisabledFieldGetsNoEventsAndStopsTheClimb) {
  const std::int32_t parent = AddField(0, 0, 0);
  F(0, parent).textRect = {0, 0, 0, 0};
  const std::int32_t disabled = AddField(0, 10, 10);
  F(0, disabled).disabled = 1;
  F(0, disabled).parent = parent;
  const std::int32_t inner = AddField(0, 12, 12, 0);
  F(0, inner).parent = disabled;
  const std::int32_t other = AddField(0, 60, 10);
  for (std::int32_t f : {parent, disabled, inner, other}) WatchAll(0, f);
  Watch(0, disabled, {624});
  Mouse(62, 12);
  Frame();
  ClearEvents();
  Mouse(15, 15, 3, 3);  // over the inner label of the disabled field
  Frame();
  Down();
  Up();
  // A click on it activates it, which raises only the disabled activation.
  EXPECT_EQ(TakeEvents(), std::vector<std::int32_t>{624 * 100 + disabled});
  EXPECT_EQ(Hover(), std::make_tuple(0, 9, other));  // not left: a disabled field is not nothing
  EXPECT_EQ(gameData.maps[0].SelectedField(), other);
}

TEST_F(PointerTest, AChainWithoutASelectableFieldIsNothing) {
  const std::int32_t a = AddField(0, 10, 10);
  const std::int32_t plain = AddField(0, 60, 10, 0);
  const std::int32_t loop = AddField(0, 100, 10, 0);
  F(0, loop).parent = loop;  // a parent loop ends the climb too
  WatchAll(0, a);
  Mouse(12, 12);
  Frame();
  ClearEvents();
  for (std::int32_t x : {62, 102}) {
    Mouse(x, 12);
    Frame();
    EXPECT_EQ(Hover(), std::make_tuple(-1, 0, 0));
    Mouse(12, 12);
    Frame();
  }
  (void)plain;
  EXPECT_EQ(TakeEvents(), (std::vector<std::int32_t>{kLeave * 100 + a, kEnter * 100 + a, kLeave * 100 + a,
                                                     kEnter * 100 + a}));
}

TEST_F(PointerTest, AFieldPressesAndReleasesItsControl) {
  controls.resize(2);
  const std::int32_t pad = AddField(0, 10, 10);
  F(0, pad).control = 1;
  F(0, pad).controlValue = 2;
  const std::uint8_t& pressed = controls[1].slots[2].pending;
  Mouse(12, 12);
  Frame();
  EXPECT_EQ(pressed, 0);
  Down();
  EXPECT_EQ(pressed, 1);
  Up();
  EXPECT_EQ(pressed, 0);
  // Entering with the button held presses it; leaving releases it.
  Mouse(150, 100);
  Frame();
  Down();
  Mouse(12, 12, -138, -88);
  Frame();
  EXPECT_EQ(pressed, 1);
  Mouse(150, 100, 138, 88);
  Frame();
  EXPECT_EQ(pressed, 0);
  // A control outside the table or a player outside 0..3 is left alone.
  F(0, pad).control = 5;
  Mouse(12, 12);
  Frame();
  Down();
  F(0, pad).control = 1;
  F(0, pad).controlValue = 4;
  Down();
  EXPECT_EQ(pressed, 0);
}

TEST_F(PointerTest, PickingSkipsFieldsThatCannotTakeThePointer) {
  struct Case {
    const char* what;
    std::function<void(std::int32_t field)> change;
    bool picked;
  };
  const std::vector<Case> cases = {
      {"plain", [](std::int32_t) {}, true},
      {"hidden", [](std::int32_t f) { F(0, f).noDraw = 1; }, false},
      {"dormant", [](std::int32_t f) { F(0, f).nonExistent = 1; }, false},
      {"the cursor field", [](std::int32_t f) { gameData.maps[0].CursorField() = f; }, false},
      {"scrolling, outside the region",
       [](std::int32_t f) {
         F(0, f).byteByContent = 1;
         gameData.maps[0].scrollRect = {0, 0, 10, 10};
       },
       false},
      {"scrolling, inside the region",
       [](std::int32_t f) {
         F(0, f).byteByContent = 1;
         gameData.maps[0].scrollRect = {0, 0, 50, 50};
       },
       true},
      {"not scrolling, outside the region",
       [](std::int32_t) { gameData.maps[0].scrollRect = {0, 0, 10, 10}; }, true},
      {"the map blocks its input",
       [](std::int32_t) {
         projectState.currentPlayerInterface.index = -1;
         gameData.maps[0].inputBlock = true;
       },
       false},
      {"outside the rectangle", [](std::int32_t f) { F(0, f).textRect = {0, 0, 10, 10}; }, false},
      {"the right edge is outside", [](std::int32_t f) { F(0, f).textRect = {10, 10, 20, 20}; }, false},
      {"the left and top edges are inside", [](std::int32_t f) { F(0, f).textRect = {20, 20, 30, 30}; }, true},
      {"the bottom edge is outside", [](std::int32_t f) { F(0, f).textRect = {20, 10, 30, 20}; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.maps[0].fields.clear();
    gameData.maps[0].scrollRect = {};
    gameData.maps[0].CursorField() = -1;
    gameData.maps[0].inputBlock = false;
    projectState.currentPlayerInterface.index = 0;
    const std::int32_t f = AddField(0, 20, 20);
    c.change(f);
    PickQuery query;
    query.map = 0;
    query.x = 20;
    query.y = 20;
    query.viewWidth = 200;
    query.viewHeight = 150;
    EXPECT_EQ(PickAtPoint(query), c.picked);
    if (c.picked) {
      EXPECT_EQ(std::make_tuple(query.pickedMap, query.pickedKind, query.pickedIndex), std::make_tuple(0, 9, f));
    }
  }
}

TEST_F(PointerTest, FieldsAndInterfacesArePickedFrontToBack) {
  const std::int32_t under = AddField(0, 10, 10);
  const std::int32_t over = AddField(0, 15, 15);
  Mouse(17, 17);
  Frame();
  EXPECT_EQ(Hover(), std::make_tuple(0, 9, over));
  // A second interface drawn in front takes the pointer where it has a field.
  const std::int32_t front = AddInterface();
  gameData.maps[front].overlayActive = 1;
  gameData.maps[front].layerNumber = 1;
  const std::int32_t cover = AddField(front, 16, 16);
  Frame();
  EXPECT_EQ(Hover(), std::make_tuple(front, 9, cover));
  // Elsewhere the interface behind still answers.
  Mouse(11, 11);
  Frame();
  EXPECT_EQ(Hover(), std::make_tuple(0, 9, under));
  // A field of a non-text kind is placed as the drawing places it.
  const std::int32_t boxIndex = AddField(front, 100, 100);
  Field& box = F(front, boxIndex);
  box.kind = 1;
  FieldScreenRect rect;
  GetFieldScreenRect(box, 0, 0, 200, 150, rect);
  Mouse(rect.left + 1, rect.top + 1);
  Frame();
  EXPECT_EQ(Hover(), std::make_tuple(front, 9, boxIndex));
}

TEST_F(PointerTest, OnlyPlayerZeroHasAPointer) {
  for (std::int32_t player : {1, 3, -1}) {
    try {
      UpdatePointer(player, 0);
      ADD_FAILURE() << player;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), 9);
    }
  }
}

// A map shown through a view field of map 0 that covers the back buffer.
class ViewPickTest : public PointerTest {
 protected:
  void SetUp() override {
    PointerTest::SetUp();
    world = gameData.maps.Append();
    Map& m = gameData.maps[world];
    m.width = 19;
    m.height = 19;
    m.layerCount = 3;
    view = AddField(0, 0, 0);
    Field& v = F(0, view);
    v.kind = 6;
    v.selectable = 0;
    v.pixelWidth = 200;
    v.pixelHeight = 150;
    v.view.ownMap = world;
    shell.mouseTriggersPresent = true;
  }
  std::int32_t AddCharacter(float x, float y, float z) {
    Actor actor;
    actor.x = x;
    actor.y = y;
    actor.z = z;
    actor.collisionShape = test::MakeBoxShape(Box{-8, -8, 8, 8, 0, 48});
    gameData.maps[world].actors.push_back(actor);
    return static_cast<std::int32_t>(gameData.maps[world].actors.size()) - 1;
  }
  // Where a point of the world map appears on the screen.
  std::pair<std::int32_t, std::int32_t> ScreenOf(float x, float y, float z) {
    Field& v = F(0, view);
    FieldScreenRect rect;
    GetFieldScreenRect(v, 0, 0, 200, 150, rect);
    std::int32_t width = rect.width, height = rect.height;
    FieldCamera camera;
    SetupFieldCamera(v, rect.left, rect.top, width, height, camera);
    const gfx::Matrix all =
        gfx::MatrixMultiply(gfx::MatrixMultiply(camera.world, camera.view), camera.projection);
    const gfx::Vector3 p = gfx::Vec3TransformCoord(gfx::Vector3{x, y, z}, all);
    return {static_cast<std::int32_t>(camera.x + (p.x + 1.0f) / 2.0f * camera.width),
            static_cast<std::int32_t>(camera.y + (1.0f - p.y) / 2.0f * camera.height)};
  }
  std::int32_t world = -1;
  std::int32_t view = -1;
};

TEST_F(ViewPickTest, TheLowerIndexWinsEvenBehindAnother) {
  for (std::int32_t projection : {0, 1}) {
    SCOPED_TRACE(projection);
    F(0, view).view.projection = projection;
    gameData.maps[world].actors.clear();
    const std::int32_t low = AddCharacter(300, 300, 0);
    const std::int32_t high = AddCharacter(300, 300, 40);  // stands above it, nearer the camera
    const auto [x, y] = ScreenOf(300, 300, 44);
    PickQuery query;
    query.map = 0;
    query.x = x;
    query.y = y;
    query.viewWidth = 200;
    query.viewHeight = 150;
    ASSERT_TRUE(PickAtPoint(query));
    EXPECT_EQ(std::make_tuple(query.pickedMap, query.pickedKind, query.pickedIndex),
              std::make_tuple(world, 3, low));
    // Hidden, removed or riding, the lower one is passed over.
    gameData.maps[world].actors[static_cast<std::size_t>(low)].removed = 1;
    ASSERT_TRUE(PickAtPoint(query));
    EXPECT_EQ(query.pickedIndex, high);
    gameData.maps[world].actors[static_cast<std::size_t>(high)].vehicleRidden = 0;
    EXPECT_FALSE(PickAtPoint(query));
  }
}

TEST_F(ViewPickTest, ZonesWithMouseTriggersComeBeforeCharactersAndEventsFollow) {
  const std::int32_t hero = AddCharacter(320, 320, 0);
  WatchActor(world, hero, {kActorDown, kActorEnter, kActorMove, kActorLeave, kActorUp, kActorGesture});
  Zone quiet;
  quiet.shape = test::MakeBoxShape(Box{300, 300, 340, 340, 0, 64});
  gameData.maps[world].zones.push_back(quiet);
  const auto [x, y] = ScreenOf(320, 320, 24);
  Mouse(x, y, 1, 0);
  Frame();
  Down();
  Up();
  Mouse(0, 0);
  Frame();
  EXPECT_EQ(TakeEvents(), (std::vector<std::int32_t>{kActorEnter * 100, kActorMove * 100, kActorDown * 100,
                                                     kActorUp * 100, kActorGesture * 100, kActorLeave * 100}));
  // A zone with a mouse trigger takes the pointer first.
  Zone mouse = quiet;
  gameData.maps[world].zones.push_back(mouse);
  WatchZone(world, 1, {kZoneDown, kZoneEnter, kZoneMove, kZoneLeave, kZoneUp, kZoneGesture});
  Mouse(x, y);
  Frame();
  Down();
  Up();
  EXPECT_EQ(Hover(), std::make_tuple(world, 2, 1));
  Mouse(0, 0, 1, 1);
  Frame();
  EXPECT_EQ(TakeEvents(), (std::vector<std::int32_t>{kZoneEnter * 100 + 1, kZoneDown * 100 + 1, kZoneUp * 100 + 1,
                                                     kZoneGesture * 100 + 1, kZoneLeave * 100 + 1}));
  // Without the mouse-trigger flag views are not looked into.
  shell.mouseTriggersPresent = false;
  Mouse(x, y);
  Frame();
  EXPECT_EQ(Hover(), std::make_tuple(-1, 0, 0));
}

}  // namespace
}  // namespace kiv
