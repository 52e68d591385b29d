#include "player/player_hooks.h"

namespace kiv {

PlayerHooks playerHooks;

}  // namespace kiv
