// The start-up leaves no hook at its default unless the hook is listed as
// awaiting a provider, and lists none that is already provided.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/hooks.h"
#include "data/data_hooks.h"
#include "media/graphics.h"
#include "player/start_window.h"
#include "runtime/hook_registry.h"
#include "runtime/hooks_awaiting.h"
#include "runtime/runtime_startup.h"
#include "script/script_hooks.h"
#include "script/trigger_hooks.h"
#include "state/state_hooks.h"

namespace kiv {
namespace {

void ResetEveryHook() {
  dataHooks.Reset();
  stateHooks.Reset();
  scriptHooks.Reset();
  triggerHooks.Reset();
  graphicsHooks.Reset();
  startWindowHooks.Reset();
  SetNoticeHook(nullptr);
  SetMessageBoxHook(nullptr);
}

class StartUpHooks : public ::testing::Test {
 protected:
  void SetUp() override { ResetEveryHook(); }
  void TearDown() override { ResetEveryHook(); }
};

TEST_F(StartUpHooks, EveryHookAtItsDefaultAwaitsAProvider) {
  RuntimeStartUp();
  std::set<std::string> awaiting;
  for (const AwaitingHook& hook : HooksAwaitingProvider()) awaiting.insert(hook.name);
  for (const HookState& hook : ListHooks()) {
    if (hook.atDefault) {
      EXPECT_TRUE(awaiting.count(hook.name)) << hook.name << " is left at its default but awaits no provider";
    }
  }
}

TEST_F(StartUpHooks, NoListedHookIsProvidedAlready) {
  RuntimeStartUp();
  std::set<std::string> known;
  for (const HookState& hook : ListHooks()) {
    known.insert(hook.name);
    if (!hook.atDefault) {
      for (const AwaitingHook& waiting : HooksAwaitingProvider()) {
        EXPECT_NE(hook.name, waiting.name) << hook.name << " is installed: take it off the awaiting list";
      }
    }
  }
  for (const AwaitingHook& waiting : HooksAwaitingProvider()) {
    EXPECT_TRUE(known.count(waiting.name)) << waiting.name << " names no hook";
    EXPECT_NE(std::string(waiting.provider), "") << waiting.name;
  }
}

TEST_F(StartUpHooks, TheRegistrySeesAnInstalledHookAndAReset) {
  const auto atDefault = [](const std::string& name) {
    for (const HookState& hook : ListHooks()) {
      if (hook.name == name) return hook.atDefault;
    }
    ADD_FAILURE() << name << " not listed";
    return false;
  };
  EXPECT_TRUE(atDefault("dataHooks.GenerateMapData"));
  EXPECT_TRUE(atDefault("SetNoticeHook"));
  dataHooks.GenerateMapData = [](std::int32_t, bool) {};
  SetNoticeHook([](const std::string&, bool) {});
  EXPECT_FALSE(atDefault("dataHooks.GenerateMapData"));
  EXPECT_FALSE(atDefault("SetNoticeHook"));
  ResetEveryHook();
  EXPECT_TRUE(atDefault("dataHooks.GenerateMapData"));
  EXPECT_TRUE(atDefault("SetNoticeHook"));
}

}  // namespace
}  // namespace kiv
