// The Shop commands: what opening a shop writes, which goods it keeps, the
// wait until the player leaves, and the shop's values read and changed by scripts.
#include "data/game_data.h"
#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "player/shop_state.h"
#include "player_wait_conditions.h"
#include "script/waits.h"
#include "state/project_settings_block.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kEventWithoutConditions = 600;
constexpr std::size_t kShopPlace = 4;  // among the project's further interfaces
constexpr std::size_t kLooseNamesFlag = 22;
constexpr char kNoShop[] = "You need to have an Shop interface in order to use this.";
constexpr char16_t kTexts[] =
    u"\"Hello\", \"More?\", \"Buy\", \"Sell\", \"Bye\", \"Pick\", \"How many\", \"Thanks\", \"Offer\", "
    u"\"Count\", "
    u"\"Sold\"";

class ShopCommandsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    UsePlayerWaitConditions();
    projectState.Reset();
    projectState.players.resize(4);
    shop_ = gameData.maps.Append();
    gameData.maps[shop_].isInterface = true;
    gameData.maps[shop_].fileName = u"Shop";
    projectState.settings.furtherInterfaces[kShopPlace].index = shop_;
    for (const char16_t* name : {u"Potion", u"Sword", u"Ether"}) {
      Item item;
      item.name = name;
      gameData.items.push_back(item);
    }
    shopState = ShopState();
  }
  void TearDown() override {
    shopState = ShopState();
    storedProjectSettings.flags[kLooseNamesFlag] = 0;
    gameData.items.clear();
    projectState.Reset();
    InternalCommandsTest::TearDown();
  }

  // Runs the text as an actor's trigger, which a wait can suspend.
  void RunWaiting(const std::u16string& text) { Raise(AddActor(kEventWithoutConditions, text)); }
  // Runs the text in a frame of its own that belongs to the item.
  void RunForItem(const std::u16string& text, std::int32_t item) {
    CallFrame frame;
    frame.ownerMap = 0;
    frame.thisItem = item;
    Run(Load(text), frame);
  }
  static std::u16string Show(const std::u16string& rest) {
    return u"Shop.Show(" + std::u16string(kTexts) + rest + u")";
  }
  static std::u16string Show2(const std::u16string& rest) {
    return u"Shop.Show2(" + std::u16string(kTexts) + rest + u")";
  }
  static std::vector<std::u16string> Items(std::initializer_list<const char16_t*> names) {
    return std::vector<std::u16string>(names.begin(), names.end());
  }

  std::int32_t shop_ = -1;
};

TEST_F(ShopCommandsTest, ShowFillsTheShopOpensItAndWaitsUntilThePlayerLeaves) {
  shopState.done = 1;
  shopState.transaction = 1;
  shopState.sellFactor = 3.0f;
  shopState.disableSell = 1;
  RunWaiting(Show(u", 1.5, \"Potion\", \"Sword\"") + u"\r\nMark(1)");

  const std::u16string texts[] = {shopState.greeting,     shopState.more,        shopState.buy,
                                  shopState.sell,         shopState.finish,      shopState.buyChoose,
                                  shopState.buyQuantity,  shopState.buyComplete, shopState.sellChoose,
                                  shopState.sellQuantity, shopState.sellComplete};
  const char16_t* expected[] = {u"Hello",    u"More?",  u"Buy",   u"Sell",  u"Bye", u"Pick",
                                u"How many", u"Thanks", u"Offer", u"Count", u"Sold"};
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(texts[i], expected[i]) << i;
  EXPECT_FLOAT_EQ(shopState.buyFactor, 1.5f);
  EXPECT_FLOAT_EQ(shopState.sellFactor, 1.0f);
  EXPECT_EQ(shopState.disableSell, 0);
  EXPECT_EQ(shopState.done, 0);
  EXPECT_EQ(shopState.transaction, 0);
  EXPECT_EQ(shopState.items, Items({u"Potion", u"Sword"}));
  EXPECT_EQ(projectState.currentPlayerInterface.index, shop_);
  ASSERT_EQ(waitingScripts.size(), 1u);
  EXPECT_EQ(waitingScripts[0].flags, kWaitShopClosed);

  EXPECT_EQ(RunScript(u"Return(Shop.Done)"), Variant::Byte(0));
  Tick(16);
  Tick(500);
  EXPECT_TRUE(Marks().empty());
  RunScript(u"SET Shop.Done = \"yes\"");
  Tick(16);
  EXPECT_EQ(Marks(), Longs({1}));
}

TEST_F(ShopCommandsTest, OnlyGoodsThatNameItemsAreKeptUnderTheirItemsNames) {
  Collection(u"bag", {Variant::Text(u"Sword"), Variant::Text(u"Nope"), Variant::Text(u"Potion")});
  struct Case {
    const char16_t* goods;
    bool loose;
    std::vector<std::u16string> items;
  };
  const Case cases[] = {
      {u"\"Potion\", \"Potoin\", \"Sword\"", false, Items({u"Potion", u"Sword"})},
      {u"bag", false, Items({u"Sword", u"Potion"})},
      {u"Collection.Make(\"Ether\", \"Ether\", \"sword\")", false, Items({u"Ether", u"Ether"})},
      {u"\" potion \", \"SWORD\"", true, Items({u"Potion", u"Sword"})},
      {u"\" potion \", \"SWORD\"", false, Items({})},
      {u"\"this\", \"relate\", \"Potion\"", false, Items({u"Ether", u"Potion"})},
      {u"", false, Items({})},
  };
  for (const Case& c : cases) {
    storedProjectSettings.flags[kLooseNamesFlag] = c.loose ? -1 : 0;
    shopState.items = Items({u"Old"});
    const std::u16string rest = std::u16string(u", 1") + (c.goods[0] != u'\0' ? u", " : u"") + c.goods;
    RunForItem(Show(rest), 2);
    EXPECT_EQ(shopState.items, c.items) << Utf16ToUtf8(c.goods);
    shopState.items = Items({u"Old"});
    RunForItem(Show2(u", 1, 1, 0" + std::u16string(c.goods[0] != u'\0' ? u", " : u"") + c.goods), 2);
    EXPECT_EQ(shopState.items, c.items) << "Show2 " << Utf16ToUtf8(c.goods);
  }
  waitingScripts.clear();
}

TEST_F(ShopCommandsTest, Show2TakesTheSellFactorAndWhetherSellingIsOff) {
  struct Case {
    const char16_t* arguments;  // 12 and 13
    float sellFactor;
    std::uint8_t disableSell;
    const char* error;
  };
  const Case cases[] = {
      {u"0.5, 1", 0.5f, 1, nullptr},        {u"2, 0", 2.0f, 0, nullptr},
      {u"1, 255", 1.0f, 255, nullptr},      {u"1, 2.5", 1.0f, 2, nullptr},
      {u"1, 3.5", 1.0f, 4, nullptr},        {u"0.25, -1", 0.25f, 9, "Overflow"},
      {u"0.25, 256", 0.25f, 9, "Overflow"}, {u"0.25, \"yes\"", 0.25f, 9, "Type mismatch"},
  };
  for (const Case& c : cases) {
    shopState = ShopState();
    shopState.disableSell = 9;
    shopState.done = 1;
    shopState.items = Items({u"Old"});
    const std::string error =
        ErrorOfScript(Show2(u", 1.25, " + std::u16string(c.arguments) + u", \"Sword\""));
    EXPECT_EQ(error, c.error != nullptr ? c.error : "") << Utf16ToUtf8(c.arguments);
    // What comes before the failing conversion is stored; nothing after it happens.
    EXPECT_EQ(shopState.sellComplete, u"Sold");
    EXPECT_FLOAT_EQ(shopState.buyFactor, 1.25f);
    EXPECT_FLOAT_EQ(shopState.sellFactor, c.sellFactor) << Utf16ToUtf8(c.arguments);
    EXPECT_EQ(shopState.disableSell, c.disableSell) << Utf16ToUtf8(c.arguments);
    EXPECT_EQ(shopState.done, 0);
    EXPECT_EQ(shopState.items, c.error != nullptr ? Items({u"Old"}) : Items({u"Sword"}))
        << Utf16ToUtf8(c.arguments);
  }
  waitingScripts.clear();
}

TEST_F(ShopCommandsTest, ShowAfterAShopThatRefusedSellingAllowsItAgain) {
  RunScript(Show2(u", 1, 0.5, 1"));
  ASSERT_EQ(shopState.disableSell, 1);
  RunScript(Show(u", 1"));
  EXPECT_EQ(shopState.disableSell, 0);
  EXPECT_FLOAT_EQ(shopState.sellFactor, 1.0f);
  EXPECT_EQ(RunScript(u"Return(Shop.DisableSell)"), Variant::Byte(0));
  waitingScripts.clear();
}

TEST_F(ShopCommandsTest, WithoutAShopInterfaceTheShopIsFilledAndTheScriptStops) {
  projectState.settings.furtherInterfaces[kShopPlace].index = -1;
  for (const std::u16string& script :
       {Show(u", 2, \"Potion\"") + u"\r\nMark(1)", Show2(u", 2, 1, 0, \"Potion\"") + u"\r\nMark(1)"}) {
    shopState = ShopState();
    shopState.done = 1;
    EXPECT_EQ(ErrorOfScript(script), kNoShop);
    EXPECT_EQ(shopState.greeting, u"Hello");
    EXPECT_FLOAT_EQ(shopState.buyFactor, 2.0f);
    EXPECT_EQ(shopState.items, Items({u"Potion"}));
    EXPECT_EQ(shopState.done, 0);
  }
  EXPECT_TRUE(Marks().empty());
  EXPECT_TRUE(waitingScripts.empty());
  EXPECT_EQ(projectState.currentPlayerInterface.index, -1);
}

TEST_F(ShopCommandsTest, TheShopsValuesAreReadAndAssigned) {
  struct Case {
    const char16_t* identifier;
    const char16_t* assigned;
    Variant read;
  };
  const Case cases[] = {
      {u"Shop.Greeting", u"\"Welcome\"", Variant::Text(u"Welcome")},
      {u"Shop.More", u"12", Variant::Text(u"12")},
      {u"Shop.Buy", u"\"b\"", Variant::Text(u"b")},
      {u"Shop.Sell", u"\"s\"", Variant::Text(u"s")},
      {u"Shop.Finish", u"\"f\"", Variant::Text(u"f")},
      {u"Shop.BuyChoose", u"\"bc\"", Variant::Text(u"bc")},
      {u"Shop.BuyQuantity", u"\"bq\"", Variant::Text(u"bq")},
      {u"Shop.BuyComplete", u"\"bd\"", Variant::Text(u"bd")},
      {u"Shop.SellChoose", u"\"sc\"", Variant::Text(u"sc")},
      {u"Shop.SellQuantity", u"\"sq\"", Variant::Text(u"sq")},
      {u"Shop.SellComplete", u"2.5", Variant::Text(u"2.5")},
      {u"Shop.BuyFactor", u"\"2.5\"", Variant::Single(2.5f)},
      {u"Shop.SellFactor", u"-3", Variant::Single(-3.0f)},
      {u"Shop.Transaction", u"\"on\"", Variant::Byte(1)},
      {u"Shop.Done", u"7", Variant::Byte(1)},
      {u"Shop.DisableSell", u"\"no\"", Variant::Byte(0)},
  };
  for (const Case& c : cases) {
    const std::u16string name = c.identifier;
    ASSERT_EQ(ErrorOfScript(u"SET " + name + u" = " + c.assigned), "") << Utf16ToUtf8(name);
    EXPECT_EQ(RunScript(u"Return(" + name + u")"), c.read) << Utf16ToUtf8(name);
  }
  EXPECT_EQ(ErrorOfScript(u"SET Shop.BuyFactor = 10 ^ 300"), "Overflow");
  EXPECT_EQ(ErrorOfScript(u"SET Shop.SellFactor = 10 ^ 39"), "Overflow");
  EXPECT_FLOAT_EQ(shopState.buyFactor, 2.5f);
  EXPECT_FLOAT_EQ(shopState.sellFactor, -3.0f);
}

TEST_F(ShopCommandsTest, ItemsAreAListOfTexts) {
  shopState.items = Items({u"Potion"});
  const Variant read = RunScript(u"Return(Shop.Items)");
  ASSERT_TRUE(read.IsArray());
  ASSERT_EQ(read.Elements().size(), 1u);
  EXPECT_EQ(read.Elements()[0], Variant::Text(u"Potion"));

  RunScript(u"SET Shop.Items = Collection.Make(\"Sword\", \"Anything\")");
  EXPECT_EQ(shopState.items, Items({u"Sword", u"Anything"}));
  RunScript(u"SET Shop.Items = Collection.Make()");
  EXPECT_EQ(shopState.items, Items({}));
  shopState.items = Items({u"Potion"});
  for (const char16_t* value : {u"5", u"\"Sword\"", u"Collection.Make(\"Sword\", 3)"}) {
    EXPECT_EQ(ErrorOfScript(u"SET Shop.Items = " + std::u16string(value)), "Type mismatch")
        << Utf16ToUtf8(value);
    EXPECT_EQ(shopState.items, Items({u"Potion"})) << Utf16ToUtf8(value);
  }
}

}  // namespace
}  // namespace kiv::test
