#include "data/set_loading.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "core/package.h"
#include "data/door_set.h"
#include "data/game_data.h"
#include "support/set_writers.h"

namespace kiv {
namespace {

class SetLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    package.Reset();
    gameData.Reset();
  }
  void TearDown() override {
    package.Reset();
    gameData.Reset();
  }

  static void AddEntry(const std::string& name, const ByteList& bytes) {
    PackageEntry entry;
    entry.name = name;
    entry.bytes = bytes;
    package.packageEntries.push_back(entry);
  }
  static ByteList Door(const std::u16string& name) {
    test::DoorSetFixture f;
    f.name = name;
    return test::DoorSetFileBytes(f);
  }
};

TEST_F(SetLoadingTest, ReadsNumberedEntriesUpToTheFirstGap) {
  AddEntry("1.kdo", Door(u"One"));
  AddEntry("0.KDO", Door(u"Zero"));
  AddEntry("3.kdo", Door(u"Three"));
  AddEntry("2.kit", Door(u"Not a door"));
  LoadNumberedSets("kdo", gameData.doorSets, ReadDoorSet);
  ASSERT_EQ(gameData.doorSets.size(), 2u);
  EXPECT_EQ(gameData.doorSets[0].name, u"Zero");
  EXPECT_EQ(gameData.doorSets[1].name, u"One");

  package.Reset();
  LoadNumberedSets("kdo", gameData.doorSets, ReadDoorSet);
  EXPECT_TRUE(gameData.doorSets.empty());
}

TEST_F(SetLoadingTest, AFailingEntryIsNamedInTheError) {
  AddEntry("0.kdo", Door(u"Zero"));
  ByteList broken = Door(u"One");
  broken.resize(broken.size() - 10);
  AddEntry("1.kdo", broken);
  try {
    LoadNumberedSets("kdo", gameData.doorSets, ReadDoorSet);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), -2);  // the digest no longer matches
    EXPECT_EQ(std::string(e.what()).rfind("\"1.kdo\": ", 0), 0u) << e.what();
  }
  EXPECT_EQ(gameData.doorSets[0].name, u"Zero");
}

}  // namespace
}  // namespace kiv
