#include "mathkiv/lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(ArrayRemove, TakesOutOneElementAndKeepsTheOrder) {
  std::vector<std::string> list{"a", "b", "c", "d"};
  ArrayRemove(list, 1);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "c", "d"}));
  ArrayRemove(list, 2);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "c"}));
  ArrayRemove(list, 0);
  ArrayRemove(list, 0);
  EXPECT_TRUE(list.empty());
}

TEST(ArrayInsert, OpensAFreshSlotAtTheIndex) {
  std::vector<std::string> list{"a", "b"};
  ArrayInsert(list, 1);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "", "b"}));
  ArrayInsert(list, 3);  // the end: appends
  ArrayInsert(list, 0);
  EXPECT_EQ(list, (std::vector<std::string>{"", "a", "", "b", ""}));
}

TEST(ArrayLists, IndexesOutsideTheListAreErrorNineAndChangeNothing) {
  std::vector<int> list{1, 2, 3};
  for (std::int32_t index : {-1, 3, 100}) {
    try {
      ArrayRemove(list, index);
      ADD_FAILURE() << "remove " << index;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrIndex);
    }
  }
  for (std::int32_t index : {-1, 4}) {
    try {
      ArrayInsert(list, index);
      ADD_FAILURE() << "insert " << index;
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrIndex);
    }
  }
  EXPECT_EQ(list, (std::vector<int>{1, 2, 3}));
  std::vector<int> empty;
  EXPECT_THROW(ArrayRemove(empty, 0), KivError);
}

}  // namespace
}  // namespace kiv
