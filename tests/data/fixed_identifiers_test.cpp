#include "data/fixed_identifiers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/error.h"
#include "core/symbol_table.h"

namespace kiv {
namespace {

class FixedIdentifiersTest : public ::testing::Test {
 protected:
  void SetUp() override { SymbolTableReset(); }
  void TearDown() override { SymbolTableReset(); }
};

TEST_F(FixedIdentifiersTest, RegistersTheNamesAtTheirFixedNumbers) {
  RegisterScriptIdentifiers();
  EXPECT_EQ(SymbolCount(), 716);
  const struct {
    std::int32_t number;
    const char16_t* name;
  } cases[] = {
      {0, u""},
      {1, u"Actor"},
      {24, u"Char"},
      {132, u"Cursor.ActionDown"},
      {162, u"Field"},
      {229, u"Main.Paused"},
      {386, u"Paused"},
      {417, u"Collection.Add"},
      {539, u"Trigger.Actor.Action"},
      {552, u"Trigger.Actor.Loaded"},
      {553, u"Trigger.Actor.ExistenceChanged"},
      {561, u"Trigger.Actor.MouseDown"},
      {573, u"Trigger.Zone.MouseDown"},
      {585, u"Trigger.Field.MouseUp"},
      {670, u"Custom.Text_Event"},
      {714, u"HideSprite"},
      {715, u"System.Last"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SymbolName(c.number), c.name) << c.number;
    EXPECT_EQ(SymbolIntern(c.name), c.number);
  }
  EXPECT_EQ(SymbolCount(), 716);
}

TEST_F(FixedIdentifiersTest, NamesAreDistinctIgnoringCase) {
  std::set<std::string> seen;
  for (std::int32_t n = 1; n <= kFixedIdentifierCount; ++n) {
    std::string lower(FixedIdentifierName(n));
    ASSERT_FALSE(lower.empty()) << n;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert(lower).second) << FixedIdentifierName(n);
  }
  EXPECT_EQ(FixedIdentifierName(0), "");
  EXPECT_EQ(FixedIdentifierName(716), "");
}

TEST_F(FixedIdentifiersTest, LaterNamesGetNewNumbersAndMatchExactly) {
  RegisterScriptIdentifiers();
  EXPECT_EQ(SymbolIntern(u"actor"), 716);
  EXPECT_EQ(SymbolIntern(u"actor"), 716);
  EXPECT_EQ(SymbolIntern(u"Screen.X"), 354);
  EXPECT_EQ(SymbolIntern(u"X"), 100);
  EXPECT_EQ(SymbolIntern(u"MyVariable"), 717);
}

TEST_F(FixedIdentifiersTest, RefusesATableThatIsNotEmpty) {
  SymbolIntern(u"Early");
  try {
    RegisterScriptIdentifiers();
    FAIL() << "expected an error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -1);
    EXPECT_STREQ(e.what(), "Symbol error.");
  }
  // Nothing of the fixed list was registered.
  EXPECT_EQ(SymbolCount(), 2);
}

}  // namespace
}  // namespace kiv
