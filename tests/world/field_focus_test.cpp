// Interface focus: selection with and without a gliding cursor, navigation by
// direction with its wrap, activation order, showing and hiding overlays, the
// player's interface with its input sets, and the scroll region.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/package.h"
#include "support/map_writer.h"
#include "world/field_focus.h"
#include "world/interface_fixture.h"

namespace kiv {
namespace {

constexpr std::int32_t kActivate = 578, kSelect = 579, kUnselect = 580, kActivateDisabled = 624;

class FieldFocusTest : public test::InterfaceTest {};

TEST_F(FieldFocusTest, NavigationByDirectionWithWrap) {
  struct Case {
    const char* what;
    std::vector<std::pair<float, float>> fields;
    std::int32_t selected;
    std::vector<std::int32_t> directions;
    std::vector<std::int32_t> selections;  // after each step
  };
  const std::vector<Case> cases = {
      {"left from (50,10) takes (10,10)", {{10, 10}, {50, 10}, {10, 50}}, 1, {0}, {0}},
      {"right from (50,10) takes (10,50), then wraps to (10,10)", {{10, 10}, {50, 10}, {10, 50}}, 1, {4, 4}, {2, 0}},
      {"left from the first wraps to the last in row order", {{10, 10}, {50, 10}, {10, 50}}, 0, {0}, {2}},
      {"down goes column by column", {{10, 10}, {50, 10}, {10, 50}}, 0, {6, 6, 6}, {2, 1, 0}},
      {"up goes back column by column", {{10, 10}, {50, 10}, {10, 50}}, 0, {2, 2}, {1, 2}},
      {"same place: right to the higher index, left back", {{30, 30}, {30, 30}}, 0, {4, 0}, {1, 0}},
      {"nothing selected: right takes the first after (0, 0) in rows", {{50, 10}, {10, 10}, {10, 50}}, -1, {4}, {1}},
      {"nothing selected: left takes the last before (0, 0), wrapping", {{50, 10}, {10, 10}, {10, 50}}, -1, {0}, {2}},
      {"equal keys: the first met in the scan wins", {{10, 10}, {40, 40}, {40, 40}}, 0, {4}, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.maps[0].fields.clear();
    for (const auto& [x, y] : c.fields) AddField(0, x, y);
    gameData.maps[0].SelectedField() = c.selected;
    for (std::size_t step = 0; step < c.directions.size(); ++step) {
      NavigateFields(0, c.directions[step], true, -1);
      EXPECT_EQ(gameData.maps[0].SelectedField(), c.selections[step]) << "step " << step;
    }
  }
}

TEST_F(FieldFocusTest, NavigationSkipsFieldsNotSelectableOrDormantButNotHiddenOrDisabled) {
  AddField(0, 10, 10);
  AddField(0, 20, 10, 0);               // not selectable
  F(0, AddField(0, 30, 10)).nonExistent = 1;  // dormant
  const std::int32_t hidden = AddField(0, 40, 10);
  F(0, hidden).noDraw = 1;
  const std::int32_t disabled = AddField(0, 50, 10);
  F(0, disabled).disabled = 1;
  gameData.maps[0].SelectedField() = 0;
  NavigateFields(0, 4, true, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), hidden);
  NavigateFields(0, 4, true, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), disabled);
}

TEST_F(FieldFocusTest, NavigationToAFieldAndWithNothingToFind) {
  AddField(0, 10, 10);
  AddField(0, 20, 20);
  NavigateFields(0, 8, true, 1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), 1);
  // Direction 8 without a field deselects only when gliding is off.
  NavigateFields(0, 8, false, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), 1);
  NavigateFields(0, 8, true, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), -1);
  // No selectable field at all.
  gameData.maps[0].fields.clear();
  AddField(0, 10, 10, 0);
  gameData.maps[0].SelectedField() = 0;
  NavigateFields(0, 4, false, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), 0);
  NavigateFields(0, 4, true, -1);
  EXPECT_EQ(gameData.maps[0].SelectedField(), -1);
}

TEST_F(FieldFocusTest, AnInvalidDirectionRaisesAndSelectsNothing) {
  AddField(0, 10, 10);
  for (std::int32_t direction : {-1, 1, 3, 5, 7, 9}) {
    SCOPED_TRACE(direction);
    try {
      NavigateFields(0, direction, true, 0);
      ADD_FAILURE() << "no error";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), -1);
      EXPECT_STREQ(e.what(), "Invalid direction for interface navigation.");
    }
    EXPECT_EQ(gameData.maps[0].SelectedField(), -1);
  }
}

TEST_F(FieldFocusTest, SelectingMovesTheStatesAndAnnouncesInOrder) {
  const std::int32_t a = AddField(0, 10, 10);
  const std::int32_t b = AddField(0, 50, 10);
  Watch(0, a, {kSelect, kUnselect});
  Watch(0, b, {kSelect, kUnselect});
  SelectField(0, a, true);
  EXPECT_EQ(F(0, a).state, kFieldSelected);
  SelectField(0, b, false);  // no cursor: no glide
  EXPECT_EQ(F(0, a).state, kFieldSelectable);
  EXPECT_EQ(F(0, b).state, kFieldSelected);
  SelectField(0, -1, false);
  EXPECT_EQ(F(0, b).state, kFieldSelectable);
  EXPECT_EQ(gameData.maps[0].SelectedField(), -1);
  EXPECT_EQ(Events(), (std::vector<std::int32_t>{kSelect * 100 + a, kUnselect * 100 + a, kSelect * 100 + b,
                                                 kUnselect * 100 + b}));
}

TEST_F(FieldFocusTest, AGlidingCursorUnselectsAtOnceAndAnnouncesOnlyOnArrival) {
  const std::int32_t a = AddField(0, 10, 10);
  const std::int32_t b = AddField(0, 50, 30);
  const std::int32_t cursor = AddField(0, 0, 0, 0);
  Map& m = gameData.maps[0];
  m.CursorField() = cursor;
  m.CursorOffsetX() = -5;
  m.CursorOffsetY() = 2;
  m.CursorSpeed() = 0.5f;
  Watch(0, a, {kSelect, kUnselect});
  Watch(0, b, {kSelect, kUnselect});
  SelectField(0, a, true);  // no glide: the cursor jumps
  EXPECT_FLOAT_EQ(F(0, cursor).x, 5);
  EXPECT_FLOAT_EQ(F(0, cursor).y, 12);
  EXPECT_EQ(F(0, cursor).nonExistent, 0);
  EXPECT_EQ(Events(), (std::vector<std::int32_t>{kSelect * 100 + a}));
  ClearEvents();
  SelectField(0, b, false);
  EXPECT_EQ(Events(), (std::vector<std::int32_t>{kUnselect * 100 + a}));
  EXPECT_EQ(m.SelectedField(), b);
  EXPECT_EQ(F(0, b).state, kFieldSelectable);  // selected when the cursor arrives
  EXPECT_EQ(m.cursorDistanceX, 40);             // |5 - (50 - 5)|
  EXPECT_EQ(m.cursorDistanceY, 20);             // |12 - (30 + 2)|
  EXPECT_FLOAT_EQ(F(0, cursor).x, 5);           // the glide moves it, not the selection
  // Deselecting hides the cursor.
  SelectField(0, -1, false);
  EXPECT_EQ(F(0, cursor).nonExistent, 1);
}

TEST_F(FieldFocusTest, ActivationOrderAndTheDisabledEvent) {
  const std::int32_t shown = AddInterface();
  WatchShown(shown);
  const std::int32_t hidden = AddInterface();
  gameData.maps[hidden].overlayActive = 1;
  const std::int32_t button = AddField(0, 10, 10);
  const auto action = [](std::int32_t code, std::int32_t target) {
    FieldAction a;
    a.code = code;
    a.mapKind = target;
    return a;
  };
  F(0, button).actions = {action(2, shown), action(1, hidden), action(2, -1), action(7, shown)};
  Watch(0, button, {kActivate, kActivateDisabled});
  struct Case {
    std::uint8_t order;
    std::uint8_t disabled;
    std::vector<std::int32_t> events;
  };
  const std::vector<Case> cases = {
      {1, 0, {kActivate * 100, 1000 + shown}},
      {0, 0, {1000 + shown, kActivate * 100}},
      {1, 1, {kActivateDisabled * 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.order) * 10 + c.disabled);
    ClearEvents();
    gameData.maps[shown].overlayActive = 0;
    gameData.maps[hidden].overlayActive = 1;
    F(0, button).activationOrder = c.order;
    F(0, button).disabled = c.disabled;
    ActivateField(0, button);
    EXPECT_EQ(Events(), c.events);
    EXPECT_EQ(gameData.maps[shown].overlayActive, c.disabled != 0 ? 0 : 1);
    EXPECT_EQ(gameData.maps[hidden].overlayActive, c.disabled != 0 ? 1 : 0);
  }
}

TEST_F(FieldFocusTest, ShowingWithoutASelectionSelectsTheFirstInColumnOrderWithoutGlide) {
  const std::int32_t map = AddInterface();
  WatchShown(map);
  AddField(map, 50, 5);
  const std::int32_t first = AddField(map, 10, 60);
  F(map, AddField(map, 10, 0)).nonExistent = 1;
  const std::int32_t cursor = AddField(map, 0, 0, 0);
  gameData.maps[map].CursorField() = cursor;
  gameData.maps[map].CursorSpeed() = 1.0f;
  F(map, cursor).nonExistent = 1;
  Watch(map, first, {kSelect});
  SetMapActive(map, true, -1);
  EXPECT_EQ(gameData.maps[map].overlayActive, 1);
  EXPECT_TRUE(gameData.maps[map].exclusive);
  EXPECT_EQ(systemsRuns, std::vector<std::int32_t>{map});
  EXPECT_EQ(gameData.maps[map].SelectedField(), first);
  EXPECT_EQ(F(map, first).state, kFieldSelected);
  EXPECT_FLOAT_EQ(F(map, cursor).y, 60);  // placed at once
  EXPECT_EQ(F(map, cursor).nonExistent, 0);
  EXPECT_EQ(Events(), (std::vector<std::int32_t>{1000 + map, kSelect * 100 + first}));

  // Shown again: no second show, the selection is announced again.
  ClearEvents();
  SetMapActive(map, true, 0);
  EXPECT_FALSE(gameData.maps[map].exclusive);
  EXPECT_EQ(systemsRuns.size(), 1u);
  EXPECT_EQ(Events(), (std::vector<std::int32_t>{kSelect * 100 + first}));

  // Hidden: the cursor goes, the selection stays.
  ClearEvents();
  SetMapActive(map, false, 0);
  EXPECT_EQ(gameData.maps[map].overlayActive, 0);
  EXPECT_EQ(F(map, cursor).nonExistent, 1);
  EXPECT_EQ(gameData.maps[map].SelectedField(), first);
  EXPECT_TRUE(Events().empty());
}

TEST_F(FieldFocusTest, AMapThatReloadsOnShowIsReloaded) {
  const std::int32_t map = AddInterface();
  // The map in memory has three fields and a shown script; its file has neither.
  test::MapFixture file;
  file.isInterface = true;
  file.width = -1;
  file.height = -1;
  file.layerCount = -1;
  package.Reset();
  package.packageEntries.push_back({"Menu.kui", test::MapFileBytes(file), 0});
  gameData.maps[map].fileName = u"Menu";
  gameData.maps[map].fields.resize(3);
  gameData.maps[map].reloadOnShow = 1;
  WatchShown(map);
  SetMapActive(map, true, 0);
  package.Reset();
  EXPECT_TRUE(gameData.maps[map].fields.empty());
  EXPECT_EQ(gameData.maps[map].overlayActive, 1) << "the reload keeps the map shown";
  EXPECT_EQ(systemsRuns, std::vector<std::int32_t>{map}) << "the reload runs the map systems once";
  EXPECT_TRUE(Events().empty()) << "the shown event runs the file's scripts";
}

TEST_F(FieldFocusTest, ThePlayersInterfaceSwapsTheInputSets) {
  constexpr std::int32_t kWalking = 10, kInterface = 11, kVehicle = 12, kTurret = 13;
  auto& sets = projectState.settings.inputSets;
  sets[0].index = kWalking;
  sets[1].index = kInterface;
  sets[2].index = kVehicle;
  sets[3].index = kTurret;
  const std::int32_t world = gameData.maps.Append();
  gameData.maps[world].actors.resize(2);
  projectState.players.resize(1);
  Player& player = projectState.players[0];
  player.mapIndex = world;
  player.party.resize(1);
  player.party[0].character = 1;
  player.controlledMember = 0;
  const std::int32_t hud = AddInterface();
  gameData.maps[hud].fileName = u"HUD";
  struct Case {
    const char* what;
    std::int32_t vehicle, turret, member;
    std::int32_t worldSet;  // -1 none
  };
  const std::vector<Case> cases = {
      {"walking", -1, -1, 0, kWalking},
      {"in a vehicle", 0, -1, 0, kVehicle},
      {"on a turret", -1, 0, 0, kTurret},
      {"in a vehicle that is a turret's", 0, 0, 0, kVehicle},
      {"no controlled member", -1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.maps[world].actors[1].vehicleRidden = c.vehicle;
    gameData.maps[world].actors[1].turretOperated = c.turret;
    player.controlledMember = c.member;
    gameData.maps[hud].overlayActive = 0;
    inputSets.clear();
    SetPlayerInterface(hud);
    EXPECT_EQ(projectState.currentPlayerInterface.index, hud);
    EXPECT_EQ(projectState.currentPlayerInterface.name, u"HUD");
    EXPECT_EQ(gameData.maps[hud].overlayActive, 1);
    std::vector<std::tuple<std::int32_t, std::int32_t, bool>> expected;
    if (c.worldSet >= 0) expected.emplace_back(0, c.worldSet, false);
    expected.emplace_back(0, kInterface, true);
    EXPECT_EQ(inputSets, expected);

    // Hiding the player's interface returns the player to the world.
    inputSets.clear();
    SetMapActive(hud, false, 0);
    EXPECT_EQ(projectState.currentPlayerInterface.index, -1);
    EXPECT_EQ(projectState.currentPlayerInterface.name, u"");
    expected.clear();
    expected.emplace_back(0, kInterface, false);
    if (c.worldSet >= 0) expected.emplace_back(0, c.worldSet, true);
    EXPECT_EQ(inputSets, expected);
  }
}

TEST_F(FieldFocusTest, ReshowingThePlayersInterfaceShowsItAgainInFull) {
  const std::int32_t hud = AddInterface();
  WatchShown(hud);
  gameData.maps[hud].overlayActive = 1;
  SetPlayerInterface(hud);
  EXPECT_EQ(Events(), std::vector<std::int32_t>{});
  storedProjectSettings.flags[8] = -1;  // reshow the player's interface
  SetPlayerInterface(hud);
  EXPECT_EQ(Events(), std::vector<std::int32_t>{1000 + hud});
  storedProjectSettings.flags[8] = 0;
}

TEST_F(FieldFocusTest, KeepingAFieldInTheScrollRegionMovesTheScrollingFieldsAndTheTree) {
  struct Case {
    const char* what;
    float x, y;
    std::int32_t dx, dy;
  };
  const std::vector<Case> cases = {
      {"inside", 40, 40, 0, 0},
      {"beyond the right and bottom", 95, 98, -15, -8},
      {"before the left and top", -2.5f, 3, 12, 7},  // nearest(12.5) = 12
      {"before the left, beyond the bottom", 5, 96, 5, -6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gameData.maps[0].fields.clear();
    gameData.maps[0].scrollRect = {10, 10, 100, 100};
    const std::int32_t kept = AddField(0, c.x, c.y);  // 20 x 10, does not scroll
    const std::int32_t child = AddField(0, 1, 1);     // follows the kept field
    F(0, child).parent = kept;
    const std::int32_t grandchild = AddField(0, 2, 2);
    F(0, grandchild).parent = child;
    const std::int32_t list = AddField(0, 30, 30);  // scrolls, with a child that does not
    F(0, list).byteByContent = 1;
    const std::int32_t item = AddField(0, 31, 31);
    F(0, item).parent = list;
    const std::int32_t row = AddField(0, 32, 32);  // scrolls and is a child of the kept field
    F(0, row).byteByContent = 1;
    F(0, row).parent = kept;
    const std::int32_t still = AddField(0, 50, 50);
    KeepFieldInScrollRegion(0, kept);
    const auto moved = [&](std::int32_t f, float x, float y) {
      EXPECT_FLOAT_EQ(F(0, f).x, x + static_cast<float>(c.dx)) << "field " << f;
      EXPECT_FLOAT_EQ(F(0, f).y, y + static_cast<float>(c.dy)) << "field " << f;
    };
    moved(kept, c.x, c.y);
    moved(child, 1, 1);
    moved(grandchild, 2, 2);
    moved(list, 30, 30);
    moved(item, 31, 31);
    moved(row, 32, 32);
    EXPECT_FLOAT_EQ(F(0, still).x, 50);
  }
  // Without a region nothing moves.
  gameData.maps[0].scrollRect = {0, 0, 0, 0};
  F(0, 0).x = 500;
  KeepFieldInScrollRegion(0, 0);
  EXPECT_FLOAT_EQ(F(0, 0).x, 500);
}

TEST_F(FieldFocusTest, MovingAFieldTreeSurvivesALoopOfParents) {
  const std::int32_t a = AddField(0, 0, 0);
  const std::int32_t b = AddField(0, 10, 0);
  F(0, a).parent = b;
  F(0, b).parent = a;
  MoveFieldTree(0, a, 3, -4);
  EXPECT_FLOAT_EQ(F(0, a).x, 3);
  EXPECT_FLOAT_EQ(F(0, b).x, 13);
  EXPECT_FLOAT_EQ(F(0, b).y, -4);
}

TEST_F(FieldFocusTest, SelectingWithoutACursorKeepsTheFieldInTheRegion) {
  gameData.maps[0].scrollRect = {0, 0, 100, 100};
  const std::int32_t far = AddField(0, 10, 150);
  F(0, far).byteByContent = 1;
  SelectField(0, far, false);
  EXPECT_FLOAT_EQ(F(0, far).y, 90);
}

}  // namespace
}  // namespace kiv
