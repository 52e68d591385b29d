#include "player/shop_state.h"

namespace kiv {

ShopState shopState;

}  // namespace kiv
