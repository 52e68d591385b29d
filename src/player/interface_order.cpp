#include "player/interface_order.h"

namespace kiv {

std::int32_t interfaceOrderCounter = 0;

}  // namespace kiv
