#include "core/symbol_table.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"

namespace kiv {
namespace {

class SymbolTableTest : public testing::Test {
 protected:
  void SetUp() override { SymbolTableReset(); }
  void TearDown() override { SymbolTableReset(); }
};

TEST_F(SymbolTableTest, NamesAreNumberedInOrderAndMatchedExactly) {
  EXPECT_EQ(SymbolIntern(u""), 0);
  EXPECT_EQ(SymbolIntern(u"Actor"), 1);
  EXPECT_EQ(SymbolIntern(u"Actor.Name"), 2);
  EXPECT_EQ(SymbolIntern(u"Actor"), 1);
  EXPECT_EQ(SymbolIntern(u"actor"), 3);  // letter case makes a new name
  EXPECT_EQ(SymbolIntern(u"Actor "), 4);
  EXPECT_EQ(SymbolCount(), 5);
  EXPECT_EQ(SymbolName(3), u"actor");
  EXPECT_EQ(SymbolName(0), u"");
}

TEST_F(SymbolTableTest, ManyNamesKeepTheirNumbers) {
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(SymbolIntern(u"Name" + std::u16string(1, static_cast<char16_t>(0x4E00 + i))), i);
  }
  for (int i = 4999; i >= 0; --i) {
    ASSERT_EQ(SymbolIntern(u"Name" + std::u16string(1, static_cast<char16_t>(0x4E00 + i))), i);
  }
  EXPECT_EQ(SymbolCount(), 5000);
}

TEST_F(SymbolTableTest, ResetEmptiesTheTableSoRegistrationStartsAtZeroAgain) {
  SymbolIntern(u"");
  SymbolIntern(u"Actor");
  SymbolTableReset();
  EXPECT_EQ(SymbolCount(), 0);
  EXPECT_EQ(SymbolIntern(u"Actor"), 0);
}

TEST_F(SymbolTableTest, NumbersOutsideTheTableAreAnIndexError) {
  SymbolIntern(u"");
  for (const std::int32_t number : {-1, 1}) {
    try {
      SymbolName(number);
      ADD_FAILURE() << number;
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), 9);
    }
  }
}

}  // namespace
}  // namespace kiv
