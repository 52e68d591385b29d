// Why the mixer gave no channel, and times turned into byte positions.
#include <gtest/gtest.h>

#include "platform/audio/mixer.h"

namespace kiv::audio {
namespace {

class MixerErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Init(0, kOutputRate, kInit3D)); }
  void TearDown() override { Free(); }
};

TEST_F(MixerErrorTest, NoChannelSaysWhy) {
  const Handle plain = SampleCreate(4410, 44100, 1, 1, 0);
  const Handle overriding = SampleCreate(4410, 44100, 1, 1, kFlagOverrideLongest);
  ASSERT_NE(plain, 0u);
  ASSERT_NE(overriding, 0u);
  ASSERT_TRUE(SampleSetData(plain, std::vector<float>(4410, 0.5f)));
  ASSERT_TRUE(SampleSetData(overriding, std::vector<float>(4410, 0.5f)));
  ASSERT_TRUE(ChannelPlay(SampleGetChannel(plain, false), true));
  ASSERT_TRUE(ChannelPlay(SampleGetChannel(overriding, false), true));

  struct Case {
    const char* what;
    Handle sample;
    bool onlyNew;
    bool given;
    int error;
  };
  const Case cases[] = {
      {"handle 0", 0, false, false, kErrorHandle},
      {"a handle no sample has", 999999, false, false, kErrorHandle},
      {"every playback busy", plain, false, false, kErrorNoChannel},
      {"taken over", overriding, false, true, kErrorNone},
      {"only a new one", overriding, true, false, kErrorNoChannel},
  };
  for (const Case& c : cases) {
    const Handle channel = SampleGetChannel(c.sample, c.onlyNew);
    EXPECT_EQ(channel != 0, c.given) << c.what;
    EXPECT_EQ(ErrorGetCode(), c.error) << c.what;
  }

  ChannelInfo info;
  EXPECT_FALSE(ChannelGetInfo(0, info));
  EXPECT_EQ(ErrorGetCode(), kErrorHandle);
  const Handle stream = StreamCreatePush(2000, 2);
  EXPECT_TRUE(ChannelGetInfo(stream, info));
  EXPECT_EQ(ErrorGetCode(), kErrorNone);
  StreamFree(stream);
}

TEST_F(MixerErrorTest, SecondsAreWholeFramesOfTheSourcesRate) {
  const Handle stream = StreamCreatePush(2000, 2);
  struct Case {
    double seconds;
    std::uint64_t bytes;
  };
  const Case cases[] = {{1.5, 12000}, {0.0, 0}, {0.0007, 4}, {0.0004999, 0}, {-0.5, ~std::uint64_t{0}}};
  for (const Case& c : cases) EXPECT_EQ(ChannelSeconds2Bytes(stream, c.seconds), c.bytes) << c.seconds;
  EXPECT_EQ(ChannelSeconds2Bytes(0, 1.0), ~std::uint64_t{0});
  StreamFree(stream);
}

}  // namespace
}  // namespace kiv::audio
