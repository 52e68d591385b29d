#pragma once
// The shop that a script opens: the texts the shop interface shows at each
// step of buying and selling, the price factors, whether selling is allowed,
// the goods, and the flags the shop interface sets as the player trades and
// leaves. Scripts write it before the shop opens and may change it while it is
// open; its values stay from one shop to the next.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

struct ShopState {
  std::uint8_t transaction = 0;  // 1 or 0
  std::uint8_t done = 0;         // 1 once the player has left the shop
  std::u16string greeting;
  std::u16string more;
  std::u16string buy;
  std::u16string sell;
  std::u16string finish;
  std::u16string buyChoose;
  std::u16string buyQuantity;
  std::u16string buyComplete;
  std::u16string sellChoose;
  std::u16string sellQuantity;
  std::u16string sellComplete;
  float buyFactor = 0.0f;
  float sellFactor = 0.0f;
  std::uint8_t disableSell = 0;       // 1 or 0
  std::vector<std::u16string> items;  // item names
};
extern ShopState shopState;

}  // namespace kiv
