// A script waiting for the music's end resumes through the Call Back system
// as soon as no music can play, and otherwise only once the music ended.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/audio_startup.h"
#include "player/shell_systems_setup.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"
#include "script/world_systems.h"

namespace kiv {
namespace {

struct MusicCase {
  std::string name;
  bool soundEnabled;
  std::vector<std::int32_t> musicList;
  bool musicEnded;
  bool resumes;
};

class MusicWaitTest : public ::testing::TestWithParam<MusicCase> {
 protected:
  void SetUp() override { InstallShellSystems(); }
  void TearDown() override {
    waitingScripts.clear();
    soundGlobals.Reset();
    triggerHooks.Reset();
  }
};

TEST_P(MusicWaitTest, WaitOnTheMusicsEnd) {
  const MusicCase& c = GetParam();
  soundGlobals.soundEnabled = c.soundEnabled;
  soundGlobals.musicList = c.musicList;
  soundGlobals.musicEnded = c.musicEnded;
  WaitingScript wait;
  wait.combination = 1;
  wait.flags = kWaitMusicEnded;
  waitingScripts.push_back(wait);

  RunCallBackSystem(16, 16);

  EXPECT_EQ(waitingScripts.empty(), c.resumes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MusicWaitTest,
    ::testing::Values(MusicCase{"SoundOff", false, {3}, false, true},
                      MusicCase{"NothingQueued", true, {}, false, true},
                      MusicCase{"FirstEntryNamesNoSound", true, {-1, 3}, false, true},
                      MusicCase{"MusicStillPlaying", true, {3}, false, false},
                      MusicCase{"MusicEnded", true, {3}, true, true},
                      MusicCase{"FirstEntryIsSoundZero", true, {0}, false, false}),
    [](const ::testing::TestParamInfo<MusicCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kiv
