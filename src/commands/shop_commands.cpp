// The Shop commands: a script fills the shop's texts, price factors and
// goods, opens the project's shop interface and waits until the player has
// left it; the shop's values can be read and changed while it is open.
#include <array>
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/number_arguments.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "player/shop_state.h"
#include "script/script_globals.h"
#include "script/script_lookups.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "world/field_focus.h"

namespace kiv {

namespace {

// The shop interface's place among the project's further interfaces.
constexpr std::size_t kShopInterfacePlace = 4;

// The texts in the order of the opening commands' first eleven arguments.
constexpr std::array<std::u16string ShopState::*, 11> kTexts = {
    &ShopState::greeting,   &ShopState::more,        &ShopState::buy,          &ShopState::sell,
    &ShopState::finish,     &ShopState::buyChoose,   &ShopState::buyQuantity,  &ShopState::buyComplete,
    &ShopState::sellChoose, &ShopState::sellQuantity, &ShopState::sellComplete,
};
constexpr std::int32_t kBuyFactorArgument = 11;

std::int32_t ShopInterface() {
  const std::int32_t shop = projectState.settings.furtherInterfaces[kShopInterfacePlace].index;
  return shop >= 0 && shop <= gameData.maps.LastIndex() ? shop : -1;
}

// The names of the goods from the argument on that exist, in order; goods
// that name no item are dropped without a word.
std::vector<std::u16string> FoundGoods(const InternalCall& call, std::int32_t first) {
  std::vector<std::u16string> names;
  const Variant goods = ScriptGetArgumentArray(call.argumentUpper, first);
  for (const Variant& good : goods.Elements()) {
    const std::int32_t item = ScriptLookupItem(VarToText(good), false, false).value.AsLong();
    if (item >= 0 && static_cast<std::size_t>(item) < gameData.items.size()) {
      names.push_back(gameData.items[static_cast<std::size_t>(item)].name);
    }
  }
  return names;
}

void Open(InternalCall& call, bool withSelling) {
  shopState.done = 0;
  shopState.transaction = 0;
  for (std::size_t i = 0; i < kTexts.size(); ++i) {
    shopState.*kTexts[i] = call.ArgumentText(static_cast<std::int32_t>(i));
  }
  shopState.buyFactor = VarToSingle(call.Argument(kBuyFactorArgument));
  std::int32_t firstGood = kBuyFactorArgument + 1;
  if (withSelling) {
    shopState.sellFactor = VarToSingle(call.Argument(12));
    shopState.disableSell = VarToByte(call.Argument(13));
    firstGood = 14;
  } else {
    shopState.sellFactor = 1.0f;
    shopState.disableSell = 0;
  }
  shopState.items.clear();
  shopState.items = FoundGoods(call, firstGood);
  const std::int32_t shop = ShopInterface();
  if (shop < 0) RaiseError(kErrData, "You need to have an Shop interface in order to use this.");
  SetPlayerInterface(shop);
  call.SetResult(kValueControl,
                 ScriptMakeWaitRequest(1, 0, -1, kWaitShopClosed, -1, Variant::Long(-1), -1, -1, -1));
}

void Show(InternalCall& call) { Open(call, false); }
void Show2(InternalCall& call) { Open(call, true); }

void Transaction(InternalCall& call) { call.slot.BindBoolean(shopState.transaction); }
void Done(InternalCall& call) { call.slot.BindBoolean(shopState.done); }
void DisableSell(InternalCall& call) { call.slot.BindBoolean(shopState.disableSell); }
void BuyFactor(InternalCall& call) { call.slot.BindSingle(shopState.buyFactor); }
void SellFactor(InternalCall& call) { call.slot.BindSingle(shopState.sellFactor); }

template <std::size_t kText>
void Text(InternalCall& call) {
  std::u16string& field = shopState.*kTexts[kText];
  if (call.Assigning()) {
    field = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(field));
  }
}

// A list of texts is taken whole; any other value leaves the goods as they are.
void Items(InternalCall& call) {
  if (!call.Assigning()) {
    std::vector<Variant> names;
    for (const std::u16string& name : shopState.items) names.push_back(Variant::Text(name));
    call.Answer(Variant::Array(kVarString, std::move(names)));
    return;
  }
  if (!call.value.IsArray()) RaiseError(kErrTypeMismatch, "Type mismatch");
  std::vector<std::u16string> names;
  for (const Variant& element : call.value.Elements()) {
    if (!element.IsText()) RaiseError(kErrTypeMismatch, "Type mismatch");
    names.push_back(element.AsText());
  }
  shopState.items = std::move(names);
}

constexpr InternalCommand kShop[] = {
    {"Shop.Show", Show},
    {"Shop.Show2", Show2},
    {"Shop.Transaction", Transaction},
    {"Shop.Done", Done},
    {"Shop.Greeting", Text<0>},
    {"Shop.More", Text<1>},
    {"Shop.Buy", Text<2>},
    {"Shop.Sell", Text<3>},
    {"Shop.Finish", Text<4>},
    {"Shop.BuyChoose", Text<5>},
    {"Shop.BuyQuantity", Text<6>},
    {"Shop.BuyComplete", Text<7>},
    {"Shop.SellChoose", Text<8>},
    {"Shop.SellQuantity", Text<9>},
    {"Shop.SellComplete", Text<10>},
    {"Shop.BuyFactor", BuyFactor},
    {"Shop.SellFactor", SellFactor},
    {"Shop.DisableSell", DisableSell},
    {"Shop.Items", Items},
};

}  // namespace

std::span<const InternalCommand> ShopCommands() { return kShop; }

}  // namespace kiv
