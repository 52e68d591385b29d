// The sample game played in the game window on a fake clock: what moves in
// the Town without any input.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "media/input_devices.h"
#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "player/game_window.h"
#include "player/main_loop.h"
#include "player/player_hooks.h"
#include "player/start_window_fixture.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv::test {
namespace {

constexpr std::uint32_t kTickMs = 16;

class SampleGamePlayTest : public StartWindowTest {
 protected:
  void SetUp() override {
    StartWindowTest::SetUp();
    RuntimeStartUp();
    // After each world tick of play (not of the loading screen) the Town is
    // looked at, until enough ticks have run.
    const auto worldUpdate = playerHooks.WorldUpdate;
    playerHooks.WorldUpdate = [this, worldUpdate] {
      worldUpdate();
      if (shell.loadingTick) return;
      Look();
      if (++ticks == tickLimit) shell.quitRequest = true;
    };
    loopPlatform.DoEvents = [this] {
      clock.Advance(kTickMs);
      for (const auto& [tick, down] : keyEvents)
        if (tick == ticks) PushKey(down);
      ui::DoEvents();
    };
    loopPlatform.GameWindowInFront = [] { return true; };
    ASSERT_EQ(GraphicsCreateDirectX(), 0);
    ASSERT_EQ(GraphicsCreateDirect3D(), 0);
    ASSERT_EQ(InputCreateDirectInput(), 0);

    PackageWriter sample = SampleGamePackage();
    const std::string folder = dir_.File("games/Quest");
    std::filesystem::create_directories(folder);
    sample.WriteTo(folder + "/DATA.kRC");
    SymbolTableReset();  // the fixture writers intern names; the game data starts from an empty table
    ASSERT_TRUE(frmStart.Initialize(folder + "/DATA.kRC"));
    frmStart.Show();
    ASSERT_TRUE(frmStart.IsLoaded());
    frmStart.Unload();  // as button 0 does before the game starts
  }
  void TearDown() override {
    if (frmMain.IsLoaded()) frmMain.Unload();
    loopPlatform.Reset();
    playerHooks.Reset();
    dataHooks.Reset();
    stateHooks.Reset();
    scriptHooks.Reset();
    triggerHooks.Reset();
    inputDevices.Reset();
    graphics.Reset();
    StartWindowTest::TearDown();
  }

  // The Town's index, -1 while it is not loaded.
  static std::int32_t Town() {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m)
      if (!gameData.maps[m].isInterface && gameData.maps[m].displayName == u"Town") return m;
    return -1;
  }
  static const Actor* Named(const Map& map, const std::u16string& name) {
    for (const Actor& actor : map.actors)
      if (actor.name == name) return &actor;
    return nullptr;
  }

  // The character player 0 controls on the map, null when it is elsewhere.
  static const Actor* Controlled(std::int32_t map) {
    if (projectState.players.empty()) return nullptr;
    const Player& player = projectState.players[0];
    if (player.mapIndex != map || player.controlledMember < 0 ||
        static_cast<std::size_t>(player.controlledMember) >= player.party.size())
      return nullptr;
    const std::int32_t character = player.party[static_cast<std::size_t>(player.controlledMember)].character;
    const std::vector<Actor>& actors = gameData.maps[map].actors;
    return character >= 0 && static_cast<std::size_t>(character) < actors.size()
               ? &actors[static_cast<std::size_t>(character)]
               : nullptr;
  }

  void Look() {
    const std::int32_t town = Town();
    if (town < 0) return;
    const Map& map = gameData.maps[town];
    if (const Actor* guard = Named(map, u"Guard")) guardAt.push_back({guard->x, guard->y});
    if (const Actor* hero = Controlled(town)) heroAt.push_back({hero->x, hero->y});
    if (!map.doors.empty()) doorOpening = std::max(doorOpening, map.doors[0].openAmount);
  }

  // The key event the game window receives for `key` going down or up.
  void PushKey(bool down) const {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = gameWindowHandle != nullptr ? SDL_GetWindowID(gameWindowHandle) : 0;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    SDL_PushEvent(&event);
  }

  void Play(int count) {
    tickLimit = count;
    os::ScopedClock scope(clock);
    frmMain.Start("");
  }

  os::FakeClock clock{50000};
  int ticks = 0;
  int tickLimit = 0;
  std::vector<std::pair<float, float>> guardAt, heroAt;
  SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
  std::vector<std::pair<int, bool>> keyEvents;  // tick, down
  float doorOpening = 0;
};

TEST_F(SampleGamePlayTest, TheGuardPacesItsRouteAndTheCellarDoorSwingsOpen) {
  // Two steps of 32 pixels down at 0.06 pixels per ms, a wait, two steps back.
  Play(240);
  ASSERT_FALSE(guardAt.empty());
  EXPECT_NEAR(guardAt.front().second, 96, 2);  // from where the map puts it
  float lowest = 0;
  for (const auto& [x, y] : guardAt) {
    EXPECT_EQ(x, 200);  // straight down and up
    lowest = std::max(lowest, y);
  }
  EXPECT_EQ(lowest, 160);
  EXPECT_LT(guardAt.back().second, 160);  // on its way back
  // The second guard walked into the cellar door, which swings on its hinge.
  EXPECT_GT(doorOpening, 0.5f);
}

TEST_F(SampleGamePlayTest, TheArrowKeysRunTheWalkingScriptsOnTheHero) {
  // The actor commands are not built yet: the characters they are called on
  // are recorded.
  std::vector<const Actor*> objects;
  scriptHooks.actorExecutor = [&objects](std::int32_t, ScriptValue& object, std::int32_t, ScriptValue&,
                                         std::int16_t, const Variant&, bool) {
    const std::vector<Actor>& actors = gameData.maps[object.mapIndex].actors;
    objects.push_back(&actors.at(static_cast<std::size_t>(object.value.AsLong())));
    EXPECT_EQ(objects.back(), Controlled(object.mapIndex));
  };

  key = SDL_SCANCODE_LEFT;
  keyEvents = {{5, true}, {8, false}};
  Play(20);
  EXPECT_FALSE(objects.empty());
}

// The walking input set's scripts step the controlled character 32 pixels
// with the actor command MoveDirection; the Character System walks the steps.
TEST_F(SampleGamePlayTest, TheLeftArrowWalksTheHeroUntilTheWallStopsIt) {
  // Three presses of a step of 32 pixels each; the second reaches the wall.
  key = SDL_SCANCODE_LEFT;
  keyEvents = {{5, true}, {8, false}, {50, true}, {53, false}, {100, true}, {103, false}};
  Play(160);
  ASSERT_FALSE(heroAt.empty());
  EXPECT_EQ(heroAt.front(), (std::pair<float, float>{96, 96}));
  // One whole step to x 64; then the hero walks on until its footprint (10
  // pixels to the left) meets the wall in the first column (x 0 to 32), and
  // the third press moves it no further.
  EXPECT_GE(heroAt.back().first, 42.0f);
  EXPECT_LT(heroAt.back().first, 44.0f);
  EXPECT_EQ(heroAt.back().second, 96.0f);
  EXPECT_NE(std::find(heroAt.begin(), heroAt.end(), std::pair<float, float>{64, 96}), heroAt.end());
}

}  // namespace
}  // namespace kiv::test
