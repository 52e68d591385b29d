// A script waiting for the inn resumes through the Call Back system once the
// player has left the inn interface, and not before.
#include <gtest/gtest.h>

#include "player/script_message_state.h"
#include "player/shell_systems_setup.h"
#include "script/trigger_hooks.h"
#include "script/waits.h"
#include "script/world_systems.h"

namespace kiv {
namespace {

class InnWaitTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallShellSystems(); }
  void TearDown() override {
    waitingScripts.clear();
    innRequest = InnRequest();
    triggerHooks.Reset();
  }
};

TEST_F(InnWaitTest, ResumesOnceTheInnIsDone) {
  WaitingScript wait;
  wait.combination = 1;
  wait.flags = kWaitInnClosed;
  waitingScripts.push_back(wait);
  innRequest.done = 0;
  innRequest.transaction = 1;  // paying is not leaving
  RunCallBackSystem(16, 16);
  EXPECT_EQ(waitingScripts.size(), 1u);
  innRequest.done = 1;
  RunCallBackSystem(16, 16);
  EXPECT_TRUE(waitingScripts.empty());
}

}  // namespace
}  // namespace kiv
