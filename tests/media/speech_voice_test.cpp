// Speech through the mixer: voices, speaking with purge, rate mapping.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio_fixture.h"
#include "media/audio_startup.h"
#include "media/speech.h"

namespace kiv {
namespace {

TEST(SpeechRate, MapsTheTwentyOneStepsOntoWordsPerMinute) {
  struct Case {
    std::int32_t rate;
    int wordsPerMinute;
  };
  for (const Case& c : {Case{0, 175}, Case{10, 525}, Case{-10, 58}, Case{5, 303}, Case{99, 525}}) {
    EXPECT_EQ(SpeechRateToWordsPerMinute(c.rate), c.wordsPerMinute) << c.rate;
  }
}

TEST(Speech, WithoutAVoiceEveryCallIsQuiet) {
  SpeechRelease();  // nothing created: nothing happens
  SpeechSpeak(u"Main Menu", 3);
  SpeechSelectVoice(0);
  SpeechSetRate(3);
  SpeechSetVolume(50);
  EXPECT_EQ(SpeechGetVoiceCount(u"", u""), 0);
  EXPECT_EQ(SpeechGetVoiceName(0), u"");
}

TEST(Speech, SpeaksIntoTheMixerAndANewTextCutsTheOldOne) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ASSERT_TRUE(SoundStartUp());
  ASSERT_EQ(SpeechCreateVoice(), 0);
  const std::int32_t count = SpeechGetVoiceCount(u"", u"");
  ASSERT_GT(count, 0);
  EXPECT_NE(SpeechGetVoiceName(0), u"");  // the names the voice dialog lists
  EXPECT_NE(SpeechGetVoiceName(count - 1), u"");
  EXPECT_EQ(SpeechGetVoiceName(count), u"");
  EXPECT_EQ(SpeechGetVoiceName(-1), u"");
  SpeechSelectVoice(0);
  SpeechSelectVoice(count);  // outside the list: unchanged
  SpeechSetRate(0);
  SpeechSetVolume(100);

  SpeechSpeak(u"Main Menu", 3);
  EXPECT_GT(ListenRms(0.8), 0.001);
  ListenRms(3.0);  // let it finish
  EXPECT_EQ(ListenRms(0.2), 0.0);

  SpeechSpeak(u"This is a long sentence that keeps the voice busy for several seconds at least.", 3);
  EXPECT_GT(ListenRms(0.3), 0.001);
  SpeechSpeak(u"Yes", 3);
  ListenRms(1.5);
  EXPECT_EQ(ListenRms(0.5), 0.0);  // what was left of the long one was dropped
  SpeechRelease();
  EXPECT_EQ(SpeechGetVoiceCount(u"", u""), 0);
}

}  // namespace
}  // namespace kiv
