#include "world/interface_setup.h"

#include "data/data_hooks.h"
#include "player/player_hooks.h"
#include "world/field_focus.h"
#include "world/pointer_picking.h"

namespace kiv {

void InstallInterfaceHooks() {
  // Loading shows the start interfaces without capturing the focus.
  dataHooks.SetMapActive = [](std::int32_t map, bool show) { SetMapActive(map, show, 0); };
  playerHooks.UpdatePointer = [](std::int32_t player, std::int32_t buttonChange) {
    UpdatePointer(player, buttonChange);
  };
}

}  // namespace kiv
