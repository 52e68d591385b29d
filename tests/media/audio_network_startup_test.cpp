#include "media/network_startup.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

TEST(NetworkStartUp, StartsOnceAndStaysStarted) {
  NetworkReset();
  EXPECT_TRUE(NetworkStartUp());
  EXPECT_TRUE(NetworkStartUp());
}

}  // namespace
}  // namespace kiv
