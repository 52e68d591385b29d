// What loading a save claims from memory when one of its maps asks for sizes
// no map needs, and what an allocation that fails while loading turns into.
// This program replaces operator new to count, so it lives apart.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "core/error.h"
#include "save_game_fixture.h"
#include "support/allocation_meter.h"

namespace kiv::test {
namespace {

// A load may claim at most this much in all; a single request beyond it fails.
constexpr std::size_t kLoadCeiling = 100u << 20;

class SaveMemoryTest : public SaveGameTest {
 protected:
  void SetUp() override {
    SaveGameTest::SetUp();
    StartSampleGame();
    SaveGame(dir.File("good.kSV"));
  }
};

// The map chunks of a save are read by the map readers: a size whose sector
// grid alone would take gigabytes is refused as in a package.
TEST_F(SaveMemoryTest, AMapOfCraftedSizeIsRefusedBeforeItsGrids) {
  const struct {
    std::int32_t width, height, layerCount;
  } cases[] = {{-1, (1 << 24) - 2, 0}, {67108865, -1, 11}, {0x7FFFFFF0, -1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    Map& town = gameData.maps[MapNamed(u"Town")];
    town.width = c.width;
    town.height = c.height;
    town.layerCount = c.layerCount;
    SaveGame(dir.File("crafted.kSV"));
    MeteredScope meter(kLoadCeiling);
    EXPECT_EQ(LoadGame(dir.File("crafted.kSV")), kErrData);
    EXPECT_LT(meter.Requested(), kLoadCeiling);
    EXPECT_NE(LogText().find("error #-1: Invalid map size."), std::string::npos);
    // The failed load returned the game to its start: reach the map again.
    StartSampleGame();
  }
  EXPECT_EQ(LoadGame(dir.File("good.kSV")), 0);
}

TEST_F(SaveMemoryTest, AnAllocationThatFailsWhileLoadingIsErrorSeven) {
  const std::function<void()> failures[] = {
      [] { throw std::bad_alloc(); },
      [] { throw std::length_error("vector::reserve"); },
  };
  for (const auto& fail : failures) {
    stateHooks.InitResources = [&fail](std::uint32_t) { fail(); };
    EXPECT_EQ(LoadGame(dir.File("good.kSV")), 7);
    EXPECT_EQ(gameData.maps.LastIndex(), -1);  // back at the start, not half replaced
  }
  EXPECT_NE(LogText().find("error #7: Out of memory\r\n"), std::string::npos);

  // The stream itself larger than the memory left.
  stateHooks.InitResources = [](std::uint32_t) {};
  {
    MeteredScope meter(1024);
    EXPECT_EQ(LoadGame(dir.File("good.kSV")), 7);
  }
  EXPECT_EQ(LoadGame(dir.File("good.kSV")), 0);
}

}  // namespace
}  // namespace kiv::test
