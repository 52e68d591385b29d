// The Music commands run from scripts on the mixer without output: what the
// music list holds, which channels play, loop, fade and where they stand.
#include <cmath>

#include "audio_commands_fixture.h"
#include "script/waits.h"

namespace kiv::test {
namespace {

constexpr char kNoPrimary[] = "There is currently no primary song playing right now.";
constexpr char kNotThisWay[] = "You cannot directly play music this way. Use Play Music.";
constexpr char kNoLengthChange[] =
    "You cannot alter the length of a song. Consider using a timer, stop the music, and restart it.";

class MusicCommandsTest : public AudioCommandsTest {
 protected:
  void SetUp() override {
    AudioCommandsTest::SetUp();
    theme_ = AddMusic(u"Theme");
    battle_ = AddMusic(u"Battle");
    rain_ = AddMusic(u"Rain");
    beep_ = AddSound(u"Beep", kSoundKindSample, {Tone(0.2)});
  }

  static std::vector<std::u16string> Texts(const Variant& list) {
    std::vector<std::u16string> texts;
    for (const Variant& element : list.Elements()) texts.push_back(element.AsText());
    return texts;
  }
  static bool Loops(std::int32_t sound) {
    return (audio::ChannelFlags(ChannelOf(sound), 0, 0) & audio::kFlagLoop) != 0;
  }
  static float Attribute(std::int32_t sound, int attribute) {
    float value = -1.0f;
    audio::ChannelGetAttribute(ChannelOf(sound), attribute, value);
    return value;
  }

  std::int32_t theme_ = -1;
  std::int32_t battle_ = -1;
  std::int32_t rain_ = -1;
  std::int32_t beep_ = -1;
};

TEST_F(MusicCommandsTest, PlayingTheListThatPlaysChangesNothing) {
  RunScript(u"Music.Play(\"Theme\")");
  Listen(0.3);
  audio::ChannelSetAttribute(ChannelOf(theme_), audio::kAttribVolume, 0.25f);
  const double before = SecondsIn(theme_);
  ASSERT_GT(before, 0.25);

  RunScript(u"Music.Play(\"Theme\")");
  RunScript(u"Music.Play(\"Theme\", 500, 1, 1, \"no\", \"no\", \"no\")");

  EXPECT_DOUBLE_EQ(SecondsIn(theme_), before);
  EXPECT_FLOAT_EQ(Attribute(theme_, audio::kAttribVolume), 0.25f);
  EXPECT_FALSE(audio::ChannelIsSliding(ChannelOf(theme_), audio::kAttribVolume));
  EXPECT_EQ(MusicList(), (std::vector<std::int32_t>{theme_}));
}

TEST_F(MusicCommandsTest, PlayingOneSongStopsTheOthersAndLoopsItFromItsStart) {
  RunScript(u"Music.Play(\"Battle\")\r\nMusic.Play(\"Rain\", 0, 1, 1, \"yes\", \"no\", \"no\")");
  RunScript(u"Music.Play(\"Theme\")");
  Listen(0.3);
  RunScript(u"Music.Play(\"Battle\")");

  EXPECT_EQ(MusicList(), (std::vector<std::int32_t>{battle_}));
  EXPECT_EQ(audio::ChannelIsActive(ChannelOf(theme_)), audio::kActiveStopped);
  EXPECT_EQ(audio::ChannelIsActive(ChannelOf(rain_)), audio::kActiveStopped);
  EXPECT_TRUE(Playing(battle_));
  EXPECT_TRUE(Loops(battle_));
  EXPECT_DOUBLE_EQ(SecondsIn(battle_), 0.0);
  EXPECT_GT(Listen(0.1), 0.1);
}

TEST_F(MusicCommandsTest, TheSixFixedArgumentsFollowTheNames) {
  struct Case {
    const char16_t* script;  // run after Theme started alone
    std::vector<const char16_t*> playing;
    bool lastLoops;
    float volume;     // of the last song
    float frequency;  // of the last song, Hz
    bool fading;
  };
  const Case cases[] = {
      {u"Music.Play(\"Battle\", \"Rain\", 0, 1, 1, \"yes\", \"no\", \"no\")",
       {u"Theme", u"Battle", u"Rain"},
       true,
       1.0f,
       44100.0f,
       false},
      {u"Music.Play(\"Battle\", \"Rain\", 0, 1, 1, \"no\", \"no\", \"no\")",
       {u"Battle", u"Rain"},
       true,
       1.0f,
       44100.0f,
       false},
      {u"Music.Play(\"Rain\", 0, 0.5, 2, \"no\", \"yes\", \"no\")", {u"Rain"}, false, 0.5f, 88200.0f, false},
      {u"Music.Play(\"Rain\", 400, 1, 1, \"no\", \"no\", \"no\")", {u"Rain"}, true, 0.0f, 44100.0f, true},
      // Two to six arguments leave no room for a name: nothing happens.
      {u"Music.Play(\"Rain\", 0, 1, 1, \"no\", \"no\")", {u"Theme"}, true, 1.0f, 44100.0f, false},
      {u"Music.Play(\"Rain\", \"Battle\")", {u"Theme"}, true, 1.0f, 44100.0f, false},
  };
  for (const Case& c : cases) {
    RunScript(u"Music.Stop\r\nMusic.Play(\"Theme\")");
    ASSERT_EQ(ErrorOfScript(c.script), "") << Utf16ToUtf8(c.script);
    const Variant playing = RunScript(u"Return(Music.Playing)");
    EXPECT_EQ(Texts(playing), std::vector<std::u16string>(c.playing.begin(), c.playing.end()))
        << Utf16ToUtf8(c.script);
    const std::int32_t last = MusicList().back();
    EXPECT_TRUE(Playing(last)) << Utf16ToUtf8(c.script);
    EXPECT_EQ(Loops(last), c.lastLoops) << Utf16ToUtf8(c.script);
    EXPECT_FLOAT_EQ(Attribute(last, audio::kAttribVolume), c.volume) << Utf16ToUtf8(c.script);
    EXPECT_FLOAT_EQ(Attribute(last, audio::kAttribFrequency), c.frequency) << Utf16ToUtf8(c.script);
    EXPECT_EQ(audio::ChannelIsSliding(ChannelOf(last), audio::kAttribVolume), c.fading)
        << Utf16ToUtf8(c.script);
    EXPECT_EQ(RunScript(u"Return(Music.PlayingPrimary)"), Variant::Text(c.playing.front()));
  }
}

TEST_F(MusicCommandsTest, ResumeGoesOnFromWhereTheChannelStands) {
  RunScript(u"Music.Play(\"Theme\")");
  Listen(0.4);
  RunScript(u"Music.Play(\"Battle\")");
  RunScript(u"Music.Play(\"Theme\", 0, 1, 1, \"no\", \"no\", \"yes\")");
  EXPECT_NEAR(SecondsIn(theme_), 0.4, 0.05);
  RunScript(u"Music.Play(\"Battle\")\r\nMusic.Play(\"Theme\", 0, 1, 1, \"no\", \"no\", \"no\")");
  EXPECT_DOUBLE_EQ(SecondsIn(theme_), 0.0);
}

TEST_F(MusicCommandsTest, WrongNamesAndSoundsRaiseTheirMessages) {
  struct Case {
    const char16_t* script;
    const char* error;
  };
  const Case cases[] = {
      {u"Music.Play(\"Beep\")", "Cannot play \"Beep\" as it is set to be played as a sound and not music."},
      {u"Music.Play(\"Nothing\")", "Sound/Music \"Nothing\" does not exist."},
      {u"Music.Seek(\"Nothing\", 5)", "Sound/Music \"Nothing\" does not exist."},
      {u"Music.Play(\"Theme\", 0, 1, 1, \"maybe\", \"no\", \"no\")", "Boolean \"maybe\" is invalid."},
      {u"Music.StopSpecific(\"Nothing\", 0)", "Sound/Music \"Nothing\" does not exist."},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOfScript(c.script), c.error) << Utf16ToUtf8(c.script);
}

TEST_F(MusicCommandsTest, WithTheSoundSwitchOffTheListIsKeptAndNothingSounds) {
  soundGlobals.soundEnabled = false;
  RunScript(u"Music.Play(\"Theme\")\r\nMusic.Play(\"Battle\", 0, 1, 1, \"yes\", \"no\", \"no\")");
  EXPECT_EQ(MusicList(), (std::vector<std::int32_t>{theme_, battle_}));
  EXPECT_FALSE(Playing(theme_));
  EXPECT_DOUBLE_EQ(Listen(0.2), 0.0);
  struct Case {
    const char16_t* script;
    Variant result;
  };
  const Case cases[] = {
      {u"Return(Music.Length(\"Theme\"))", Variant::Long(0)},
      {u"Return(Music.Time(\"Theme\"))", Variant::Long(0)},
      {u"Return(Music.TimePrimary)", Variant::Long(0)},
      {u"Music.Stop\r\nReturn(Music.PlayingPrimary)", Variant::Text(u"Theme")},
      {u"Music.StopSpecific(\"Theme\", 0)\r\nReturn(Music.PlayingPrimary)", Variant::Text(u"Theme")},
  };
  for (const Case& c : cases) EXPECT_EQ(RunScript(c.script), c.result) << Utf16ToUtf8(c.script);
  EXPECT_EQ(ErrorOfScript(u"SET Music.Length(\"Theme\") = 5"), "");
}

TEST_F(MusicCommandsTest, MemorizedMusicComesBackWhereItStood) {
  RunScript(u"Music.Play(\"Theme\")\r\nMusic.Play(\"Battle\", 0, 1, 1, \"yes\", \"yes\", \"no\")");
  Listen(0.5);
  RunScript(u"Music.Memorize");
  const double themeAt = SecondsIn(theme_);
  ASSERT_EQ(gameState.memorizedMusic.size(), 2u);

  RunScript(u"Music.Play(\"Rain\")");
  Listen(0.2);
  RunScript(u"Music.PlayMemorized(0)");

  EXPECT_EQ(MusicList(), (std::vector<std::int32_t>{theme_, battle_}));
  EXPECT_EQ(audio::ChannelIsActive(ChannelOf(rain_)), audio::kActiveStopped);
  EXPECT_TRUE(Playing(theme_));
  EXPECT_TRUE(Playing(battle_));
  EXPECT_NEAR(SecondsIn(theme_), themeAt, 0.03);
  EXPECT_TRUE(Loops(theme_));
  EXPECT_FALSE(Loops(battle_));

  RunScript(u"Music.Play(\"Rain\")\r\nMusic.PlayMemorized(300)");
  EXPECT_TRUE(audio::ChannelIsSliding(ChannelOf(theme_), audio::kAttribVolume));
}

TEST_F(MusicCommandsTest, AnEmptyMemoryStopsAllMusicAtOnce) {
  RunScript(
      u"Music.Memorize\r\nMusic.Play(\"Theme\")\r\nMusic.Play(\"Battle\", 0, 1, 1, \"yes\", \"no\", \"no\")");
  ASSERT_TRUE(Playing(theme_));
  RunScript(u"Music.PlayMemorized(500)");
  EXPECT_TRUE(MusicList().empty());
  EXPECT_EQ(audio::ChannelIsActive(ChannelOf(theme_)), audio::kActiveStopped);
  EXPECT_EQ(audio::ChannelIsActive(ChannelOf(battle_)), audio::kActiveStopped);
}

TEST_F(MusicCommandsTest, PlayingNamesTheSongsInStartOrder) {
  EXPECT_TRUE(Texts(RunScript(u"Return(Music.Playing)")).empty());
  EXPECT_TRUE(RunScript(u"Return(Music.Playing)").IsArray());
  EXPECT_EQ(RunScript(u"Return(Music.PlayingPrimary)"), Variant::Text(u""));
  RunScript(u"Music.Play(\"Rain\")\r\nMusic.Play(\"Theme\", \"Battle\", 0, 1, 1, \"yes\", \"no\", \"no\")");
  EXPECT_EQ(Texts(RunScript(u"Return(Music.Playing)")),
            (std::vector<std::u16string>{u"Rain", u"Theme", u"Battle"}));
  // A sound refused as music leaves an empty place, read as "".
  EXPECT_NE(ErrorOfScript(u"Music.Play(\"Beep\", 0, 1, 1, \"yes\", \"no\", \"no\")"), "");
  EXPECT_EQ(Texts(RunScript(u"Return(Music.Playing)")),
            (std::vector<std::u16string>{u"Rain", u"Theme", u"Battle", u""}));
}

TEST_F(MusicCommandsTest, StopTakesAllOrTheNamedSongs) {
  struct Case {
    const char16_t* script;
    std::vector<const char16_t*> left;
    bool themeFades;
  };
  const Case cases[] = {
      {u"Music.Stop", {}, false},
      {u"Music.Stop(0)", {}, false},
      {u"Music.Stop(300)", {}, true},
      {u"Music.StopSpecific(\"Theme\", \"Rain\", 0)", {u"Battle"}, false},
      {u"Music.StopSpecific(\"Theme\", 300)", {u"Battle", u"Rain"}, true},
      {u"Music.StopSpecific(\"Theme\")", {u"Theme", u"Battle", u"Rain"}, false},
  };
  for (const Case& c : cases) {
    RunScript(u"Music.Play(\"Theme\", \"Battle\", \"Rain\", 0, 1, 1, \"no\", \"no\", \"no\")");
    ASSERT_EQ(MusicList().size(), 3u);
    RunScript(c.script);
    EXPECT_EQ(Texts(RunScript(u"Return(Music.Playing)")),
              std::vector<std::u16string>(c.left.begin(), c.left.end()))
        << Utf16ToUtf8(c.script);
    const bool themeLeft = !c.left.empty() && std::u16string(c.left.front()) == u"Theme";
    EXPECT_EQ(Playing(theme_), themeLeft || c.themeFades) << Utf16ToUtf8(c.script);
    EXPECT_EQ(audio::ChannelIsSliding(ChannelOf(theme_), audio::kAttribVolume), c.themeFades)
        << Utf16ToUtf8(c.script);
    RunScript(u"Music.Stop");
    audio::ChannelStop(ChannelOf(theme_));
  }
  EXPECT_EQ(ErrorOfScript(u"Music.Stop"), "");
}

TEST_F(MusicCommandsTest, ReadOnlyIdentifiersRefuseAssignment) {
  RunScript(u"Music.Play(\"Theme\")");
  struct Case {
    const char16_t* script;
    const char* error;
  };
  const Case cases[] = {
      {u"SET Music.Playing = \"Rain\"", kNotThisWay},
      {u"SET Music.PlayingPrimary = \"Rain\"", kNotThisWay},
      {u"SET Music.Length(\"Theme\") = 5", kNoLengthChange},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOfScript(c.script), c.error) << Utf16ToUtf8(c.script);
  EXPECT_EQ(MusicList(), (std::vector<std::int32_t>{theme_}));
}

TEST_F(MusicCommandsTest, WithoutAPrimarySongTimeAndWaitRaise) {
  struct Case {
    const char16_t* setUp;
    const char16_t* script;
    const char* error;
    Variant result;
  };
  const Case cases[] = {
      {u"Music.Stop", u"Return(Music.TimePrimary)", kNoPrimary, {}},
      {u"Music.Stop", u"Music.WaitPlay", kNoPrimary, {}},
      // A first place left empty by a refused sound.
      {u"Music.Stop\r\nMusic.Play(\"Beep\")", u"Return(Music.TimePrimary)", nullptr, Variant::Long(0)},
      {u"Music.Stop\r\nMusic.Play(\"Beep\")", u"Music.WaitPlay", kNoPrimary, {}},
      {u"Music.Stop\r\nMusic.Play(\"Beep\")", u"Return(Music.PlayingPrimary)", nullptr, Variant::Text(u"")},
  };
  for (const Case& c : cases) {
    RunScript(c.setUp);
    if (c.error != nullptr) {
      EXPECT_EQ(ErrorOfScript(c.script), c.error) << Utf16ToUtf8(c.script);
    } else {
      EXPECT_EQ(RunScript(c.script), c.result) << Utf16ToUtf8(c.script);
    }
  }
  EXPECT_TRUE(waitingScripts.empty());
}

TEST_F(MusicCommandsTest, TimesAreWholeMillisecondsRoundedHalfToEven) {
  // At 2,000 frames a second one frame is half a millisecond.
  struct Case {
    std::uint32_t frames;
    std::int32_t milliseconds;
  };
  const Case cases[] = {{2001, 1000}, {2003, 1002}, {2002, 1001}, {5, 2}, {7, 4}};
  for (const Case& c : cases) {
    const std::u16string name = u"Clip" + Utf8ToUtf16(std::to_string(c.frames));
    AddSound(name, kSoundKindStream, {Frames(c.frames, 2000)});
    RunScript(u"Music.Play(\"" + name + u"\")");
    EXPECT_EQ(RunScript(u"Return(Music.Length(\"" + name + u"\"))"), Variant::Long(c.milliseconds))
        << c.frames;
  }
  AddSound(u"Long", kSoundKindStream, {Frames(20000, 2000)});
  RunScript(u"Music.Play(\"Long\")\r\nMusic.Seek(\"Long\", 1500)");
  EXPECT_EQ(RunScript(u"Return(Music.Time(\"Long\"))"), Variant::Long(1500));
  EXPECT_EQ(RunScript(u"Return(Music.TimePrimary)"), Variant::Long(1500));
  EXPECT_EQ(RunScript(u"Return(Music.Length(\"Long\"))"), Variant::Long(10000));
  // A sound never loaded has no channel to time.
  EXPECT_EQ(RunScript(u"Return(Music.Time(\"Rain\"))"), Variant::Long(0));
}

TEST_F(MusicCommandsTest, ChangeVolumeSetsOrSlidesEveryVariation) {
  RunScript(u"Music.Play(\"Theme\")\r\nMusic.ChangeVolume(\"Theme\", 0.5, 0)");
  EXPECT_FLOAT_EQ(Attribute(theme_, audio::kAttribVolume), 0.5f);
  RunScript(u"Music.ChangeVolume(\"Theme\", 0.2, 200)");
  EXPECT_TRUE(audio::ChannelIsSliding(ChannelOf(theme_), audio::kAttribVolume));
  Listen(0.3);
  EXPECT_FLOAT_EQ(Attribute(theme_, audio::kAttribVolume), 0.2f);
}

TEST_F(MusicCommandsTest, LockedIsABooleanOfTheGame) {
  struct Case {
    const char16_t* value;
    std::uint8_t stored;
  };
  for (const Case& c : {Case{u"\"yes\"", 1}, Case{u"0", 0}, Case{u"5", 1}, Case{u"\"off\"", 0}}) {
    RunScript(u"SET Music.Locked = " + std::u16string(c.value));
    EXPECT_EQ(gameState.musicLocked, c.stored) << Utf16ToUtf8(c.value);
    EXPECT_EQ(RunScript(u"Return(Music.Locked)"), Variant::Byte(c.stored)) << Utf16ToUtf8(c.value);
  }
}

// Waiting for the primary song: the script stays until the song ends.
class MusicWaitPlayTest : public MusicCommandsTest {
 protected:
  // Runs the text as an actor's trigger, which a wait can suspend.
  void RunWaiting(const std::u16string& text) {
    constexpr std::int32_t kEventWithoutConditions = 600;
    Raise(AddActor(kEventWithoutConditions, text));
  }
  void Poll() { Tick(16); }
};

TEST_F(MusicWaitPlayTest, ResumesWhenThePrimarySongEnds) {
  AddSound(u"Short", kSoundKindStream, {Tone(0.3)});
  RunScript(u"Music.Play(\"Short\", 0, 1, 1, \"no\", \"yes\", \"no\")");
  soundGlobals.musicEnded = true;  // left over from an earlier song
  RunWaiting(u"Music.WaitPlay\r\nMark(1)");
  EXPECT_FALSE(soundGlobals.musicEnded.load());
  Poll();
  EXPECT_TRUE(Marks().empty());
  Listen(0.2);
  Poll();
  EXPECT_TRUE(Marks().empty());
  Listen(0.2);
  Poll();
  EXPECT_EQ(Marks(), (std::vector<Variant>{Variant::Long(1)}));
}

TEST_F(MusicWaitPlayTest, ALoopingSongEndsAtItsLoop) {
  AddSound(u"Short", kSoundKindStream, {Tone(0.3)});
  RunWaiting(u"Music.Play(\"Short\")\r\nMusic.WaitPlay\r\nMark(1)");
  Listen(0.2);
  Poll();
  EXPECT_TRUE(Marks().empty());
  Listen(0.2);
  Poll();
  EXPECT_EQ(Marks().size(), 1u);
  EXPECT_TRUE(Playing(soundGlobals.musicList.front()));
}

TEST_F(MusicWaitPlayTest, ASongThatHasAlreadyEndedDoesNotWaitForEver) {
  AddSound(u"Short", kSoundKindStream, {Tone(0.1)});
  RunScript(u"Music.Play(\"Short\", 0, 1, 1, \"no\", \"yes\", \"no\")");
  Listen(0.3);
  ASSERT_FALSE(Playing(soundGlobals.musicList.front()));
  ASSERT_EQ(soundGlobals.musicList.size(), 1u);
  soundGlobals.musicEnded = false;
  RunWaiting(u"Music.WaitPlay\r\nMark(1)");
  Poll();
  EXPECT_EQ(Marks().size(), 1u);
}

TEST_F(MusicWaitPlayTest, APausedSongStillWaits) {
  RunScript(u"Music.Play(\"Theme\")");
  audio::Pause();
  RunWaiting(u"Music.WaitPlay\r\nMark(1)");
  Poll();
  audio::Start();
  EXPECT_TRUE(Marks().empty());
}

TEST_F(MusicWaitPlayTest, WithTheSoundSwitchOffItWaitsOnePoll) {
  RunScript(u"Music.Play(\"Theme\")");
  soundGlobals.soundEnabled = false;
  RunWaiting(u"Music.WaitPlay\r\nMark(1)");
  EXPECT_TRUE(Marks().empty());
  ASSERT_EQ(waitingScripts.size(), 1u);
  EXPECT_EQ(waitingScripts[0].flags, 0);
  Poll();
  EXPECT_EQ(Marks().size(), 1u);
}

TEST_F(MusicWaitPlayTest, AnotherWaitTakesTheEarlierSyncOff) {
  RunScript(u"Music.Play(\"Theme\")\r\nMusic.WaitPlay");
  const std::uint32_t first = soundSets[static_cast<std::size_t>(theme_)].endSync;
  RunScript(u"Music.WaitPlay");
  EXPECT_NE(soundSets[static_cast<std::size_t>(theme_)].endSync, first);
  EXPECT_FALSE(audio::ChannelRemoveSync(ChannelOf(theme_), first));
}

}  // namespace
}  // namespace kiv::test
