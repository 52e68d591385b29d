#include "dialogs/dialog_hooks.h"

namespace kiv {

DialogHooks dialogHooks;

void DialogHooks::Reset() {
  ShowStartWindow = [] {};
}

namespace {
struct InitialHooks {
  InitialHooks() { dialogHooks.Reset(); }
};
const InitialHooks initialHooks;
}  // namespace

}  // namespace kiv
