// Passage of a player's character onto a neighbouring map, and the map-edge
// and camera-edge events.
#include <gtest/gtest.h>

#include <vector>

#include "character_system_fixture.h"
#include "core/error.h"
#include "player/character_fields.h"
#include "player/character_system.h"
#include "player/map_passage.h"

namespace kiv {
namespace {

using test::CharacterSystemFixture;
using test::MakeTrigger;

class MapPassage : public CharacterSystemFixture {
 protected:
  // Map 0 is 512 x 512; a neighbour of the given last column and row.
  std::int32_t AddNeighbour(std::int32_t side, std::int32_t width, std::int32_t height) {
    const std::int32_t n = gameData.maps.Append();
    gameData.maps[n].width = width;
    gameData.maps[n].height = height;
    gameData.maps[n].layerCount = 0;
    gameData.maps[map].namedSlots[static_cast<std::size_t>(side)].index = n;
    return n;
  }
  std::int32_t Player(float x, float y) {
    const std::int32_t c = AddCharacter(x, y);
    A(c).owningPlayer = 0;
    A(c).tickFlags = 1;  // counts as moved
    return c;
  }
  const Actor& Arrived(std::int32_t n) { return gameData.maps[n].actors.back(); }
};

TEST_F(MapPassage, LeftStripIntoATallerNeighbour) {
  const std::int32_t n = AddNeighbour(0, 15, 31);  // 512 wide, 1024 high
  const std::int32_t c = Player(10, 200);
  RunCharacterSystem(map);
  ASSERT_EQ(world.positionsSet.size(), 1u);
  EXPECT_EQ(world.positionsSet[0].a, c);
  EXPECT_EQ(world.positionsSet[0].b, map);
  EXPECT_EQ(world.positionsSet[0].c, n);
  EXPECT_FLOAT_EQ(Arrived(n).x, 512.0f - 8.0f - 32.0f);
  EXPECT_FLOAT_EQ(Arrived(n).y, 400.0f);
}

TEST_F(MapPassage, EachSideLandsInsideTheOppositeEdge) {
  struct Case {
    std::int32_t side;
    float x, y;
    float toX, toY;
  } cases[] = {
      {0, 10, 256, 1024 - 8 - 32, 128},  // neighbour 1024 x 256
      {1, 256, 10, 512, 256 - 8 - 32},
      {2, 505, 128, 32 + 8, 64},
      {3, 128, 505, 256, 32 + 8},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.side);
    gameData.maps[map].actors.clear();
    for (NamedSlot& slot : gameData.maps[map].namedSlots) slot.index = -1;
    const std::int32_t n = AddNeighbour(k.side, 31, 7);
    Player(k.x, k.y);
    RunCharacterSystem(map);
    EXPECT_FLOAT_EQ(Arrived(n).x, k.toX);
    EXPECT_FLOAT_EQ(Arrived(n).y, k.toY);
  }
}

TEST_F(MapPassage, ACornerTakesTheFirstSideWithANeighbour) {
  const std::int32_t top = AddNeighbour(1, 15, 15);
  const std::int32_t right = AddNeighbour(2, 15, 15);
  Player(10, 10);  // on the left and top strips; the left has no neighbour
  RunCharacterSystem(map);
  ASSERT_EQ(world.positionsSet.size(), 1u);
  EXPECT_EQ(world.positionsSet[0].c, top);
  const std::int32_t left = AddNeighbour(0, 15, 15);
  gameData.maps[map].actors.clear();
  world.positionsSet.clear();
  Player(10, 10);
  RunCharacterSystem(map);
  ASSERT_EQ(world.positionsSet.size(), 1u);
  EXPECT_EQ(world.positionsSet[0].c, left);
  (void)right;
}

TEST_F(MapPassage, OnlyAMovedCharacterWithAnOwnerPasses) {
  AddNeighbour(0, 15, 15);
  const std::int32_t noOwner = AddCharacter(10, 200);
  A(noOwner).tickFlags = 1;
  const std::int32_t still = Player(10, 300);
  A(still).tickFlags = 0;
  RunCharacterSystem(map);
  EXPECT_TRUE(world.positionsSet.empty());
  const std::int32_t inside = Player(200, 200);
  RunCharacterSystem(map);
  EXPECT_TRUE(world.positionsSet.empty());
  (void)inside;
}

// Once the character has left the map in its turn, its old slot raises no
// per-tick events, however it left.
TEST_F(MapPassage, LeavingTheMapEndsTheTurnOfTheOldSlot) {
  struct Case {
    const char* how;
    bool byEdge;
  };
  for (const Case& k : {Case{"map edge", true}, Case{"script of a proximity event", false}}) {
    SCOPED_TRACE(k.how);
    gameData.maps[map].actors.clear();
    world.events.clear();
    for (NamedSlot& slot : gameData.maps[map].namedSlots) slot.index = -1;
    const std::int32_t n = AddNeighbour(0, 15, 15);
    const std::int32_t c = k.byEdge ? Player(10, 200) : Player(200, 200);
    A(c).triggers = {MakeTrigger(kEventActorInterval), MakeTrigger(kEventActorCondition),
                     MakeTrigger(kEventActorChanged)};
    if (!k.byEdge) {
      A(c).triggers.push_back(MakeTrigger(kEventActorProximityClose));
      // The script of the first proximity event carries the character away.
      characterWorld.RaiseObjectEvent = [this, n](std::int32_t kind, std::int32_t object, std::int32_t event,
                                                  std::int32_t m, std::int32_t related) {
        world.events.push_back({kind, object, event, m, related});
        if (event == kEventActorProximityClose)
          characterWorld.SetCharacterPosition(object, m, n, false, false);
      };
    }
    RunCharacterSystem(map);
    EXPECT_EQ(A(c).removed, 1);
    for (const RaisedEvent& e : world.events)
      EXPECT_FALSE(e.object == c && e.map == map &&
                   (e.event == kEventActorInterval || e.event == kEventActorCondition ||
                    e.event == kEventActorChanged))
          << e.event;
    if (!k.byEdge) {
      EXPECT_EQ(world.events.size(), 1u);  // one proximity event, then the turn ended
    }
  }
}

TEST_F(MapPassage, ANeighbourKnownOnlyByIdentifierIsLoadedFirst) {
  const std::int32_t n = AddNeighbour(0, 15, 15);
  gameData.maps[n].keptById = true;
  gameData.maps[n].fileName = u"Missing";
  const std::int32_t c = Player(10, 200);
  // No package holds the map: the load fails before the character moves.
  EXPECT_THROW(RunMapPassage(map, c), KivError);
  EXPECT_TRUE(world.positionsSet.empty());
  EXPECT_FLOAT_EQ(A(c).x, 10.0f);
}

// ---- Map edges ----

class EdgeEvents : public CharacterSystemFixture {
 protected:
  void SetUp() override {
    CharacterSystemFixture::SetUp();
    c = AddCharacter(256, 256);
    A(c).triggers = {MakeTrigger(kEventActorCrossedMapEdge), MakeTrigger(kEventActorLeftEnteredMap)};
    InsideMap(A(c)) = 1;
  }
  std::vector<std::int32_t> Step(float x, float y) {
    world.events.clear();
    A(c).x = x;
    A(c).y = y;
    RaiseEdgeEvents(map, c, true, false);
    return EventCodes();
  }
  std::int32_t c = 0;
};

TEST_F(EdgeEvents, CrossingOnceUntilFullyInsideAgain) {
  const std::vector<std::int32_t> crossed{kEventActorCrossedMapEdge};
  const std::vector<std::int32_t> none;
  EXPECT_EQ(Step(4, 256), crossed);  // left edge -4 below 0
  EXPECT_EQ(Step(2, 256), none);
  EXPECT_EQ(Step(100, 256), none);  // fully inside clears the crossing state
  EXPECT_EQ(CrossingMapEdge(A(c)), 0);
  EXPECT_EQ(Step(508, 256), crossed);  // right edge 516 beyond 512
  for (const RaisedEvent& e : world.events) {
    EXPECT_EQ(e.kind, kOwnerActor);
    EXPECT_EQ(e.object, c);
    EXPECT_EQ(e.map, map);
    EXPECT_EQ(e.related, -1);
  }
}

TEST_F(EdgeEvents, LeavingCompletely) {
  // From fully inside: the crossing state is clear, so both events.
  EXPECT_EQ(Step(-100, 256), (std::vector<std::int32_t>{kEventActorCrossedMapEdge, kEventActorLeftEnteredMap}));
  EXPECT_EQ(InsideMap(A(c)), 0);
  EXPECT_EQ(Step(-200, 256), std::vector<std::int32_t>{});
  // Coming back fully inside in one step.
  EXPECT_EQ(Step(256, 256), (std::vector<std::int32_t>{kEventActorCrossedMapEdge, kEventActorLeftEnteredMap}));
  // From a partial crossing: only the left-or-entered event.
  Step(4, 256);
  EXPECT_EQ(Step(-100, 256), std::vector<std::int32_t>{kEventActorLeftEnteredMap});
}

TEST_F(EdgeEvents, OnlyForCharactersWithEdgeTriggers) {
  const std::int32_t plain = AddCharacter(4, 256);
  InsideMap(A(plain)) = 1;
  A(c).x = 4;
  RunCharacterSystem(map);
  std::vector<std::int32_t> edgeObjects;
  for (const RaisedEvent& e : world.events)
    if (e.event == kEventActorCrossedMapEdge || e.event == kEventActorLeftEnteredMap) edgeObjects.push_back(e.object);
  EXPECT_EQ(edgeObjects, std::vector<std::int32_t>{c});
}

// ---- Camera edges ----

class CameraEdges : public CharacterSystemFixture {
 protected:
  void SetUp() override {
    CharacterSystemFixture::SetUp();
    c = AddCharacter(256, 256);
    A(c).triggers = {MakeTrigger(kEventActorCrossedCameraEdge), MakeTrigger(kEventActorLeftEnteredCamera)};
    holder = gameData.maps.Append();
    gameData.maps[holder].isInterface = true;
    gameData.maps[holder].fields.resize(2);
  }
  // A view field whose camera shows the whole map in a 200 x 200 viewport at (x, y).
  void AddCamera(std::int32_t field, std::uint32_t x, std::uint32_t y, bool stored) {
    FieldView& view = gameData.maps[holder].fields[static_cast<std::size_t>(field)].view;
    view.cameraSet = stored;
    view.cameraViewport = gfx::Viewport{x, y, 200, 200, 0.0f, 1.0f};
    view.cameraProjection.m[0][0] = 2.0f / 512.0f;
    view.cameraProjection.m[3][0] = -1.0f;
    view.cameraProjection.m[1][1] = -2.0f / 512.0f;
    view.cameraProjection.m[3][1] = 1.0f;
    MapViewEntry entry;
    entry.interfaceMap = holder;
    entry.field = field;
    gameData.maps[map].viewList.push_back(entry);
  }
  std::vector<std::int32_t> Step(float x, float y) {
    world.events.clear();
    A(c).x = x;
    A(c).y = y;
    RaiseEdgeEvents(map, c, false, true);
    return EventCodes();
  }
  std::int32_t c = 0;
  std::int32_t holder = 0;
};

TEST_F(CameraEdges, AViewAwayFromTheScreenCornerSeesItsMiddleInside) {
  AddCamera(0, 400, 0, true);
  InsideCamera(A(c)) = 1;
  EXPECT_EQ(Step(256, 256), std::vector<std::int32_t>{});
  EXPECT_EQ(InsideCamera(A(c)), 1);
  EXPECT_EQ(CrossingCameraEdge(A(c)), 0);
  // Partly beyond the viewport's left edge (its X, not 0).
  EXPECT_EQ(Step(4, 256), std::vector<std::int32_t>{kEventActorCrossedCameraEdge});
  EXPECT_EQ(Step(256, 4), std::vector<std::int32_t>{});  // still crossing (top edge)
  EXPECT_EQ(Step(256, 256), std::vector<std::int32_t>{});
  EXPECT_EQ(CrossingCameraEdge(A(c)), 0);
  // Right and bottom edges: X + Width and Y + Height.
  EXPECT_EQ(Step(508, 256), std::vector<std::int32_t>{kEventActorCrossedCameraEdge});
  Step(256, 256);
  EXPECT_EQ(Step(256, 508), std::vector<std::int32_t>{kEventActorCrossedCameraEdge});
}

TEST_F(CameraEdges, EnteringTheCamera) {
  AddCamera(0, 400, 100, true);
  EXPECT_EQ(Step(256, 256),
            (std::vector<std::int32_t>{kEventActorCrossedCameraEdge, kEventActorLeftEnteredCamera}));
  EXPECT_EQ(InsideCamera(A(c)), 1);
}

TEST_F(CameraEdges, NoStoredCameraIsNeitherInsideNorCrossing) {
  struct Case {
    const char* what;
    bool viewed;
    bool stored;
  } cases[] = {{"no view shows the map", false, false}, {"a view without a stored camera", true, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    gameData.maps[map].viewList.clear();
    if (k.viewed) AddCamera(1, 0, 0, k.stored);
    InsideCamera(A(c)) = 0;
    CrossingCameraEdge(A(c)) = 0;
    EXPECT_EQ(Step(256, 256), std::vector<std::int32_t>{});
    InsideCamera(A(c)) = 1;
    CrossingCameraEdge(A(c)) = 1;
    EXPECT_EQ(Step(256, 256), std::vector<std::int32_t>{kEventActorLeftEnteredCamera});
    EXPECT_EQ(InsideCamera(A(c)), 0);
    EXPECT_EQ(CrossingCameraEdge(A(c)), 0);
  }
}

}  // namespace
}  // namespace kiv
