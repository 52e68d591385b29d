// The sound-set reader and the placing of its variations in the package file.
#include "data/sound_set.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/log.h"
#include "support/sound_set_writer.h"

namespace kiv {
namespace {

using test::MakeSoundSetFile;
using test::SoundSetFixture;

class SoundSetTest : public ::testing::Test {
 protected:
  void SetUp() override { soundSets.assign(1, SoundSet{}); }
  void TearDown() override { soundSets.clear(); }
  SoundSet& Read(std::int32_t version, const SoundSetFixture& fixture) {
    ReadSoundSet(MakeSoundSetFile(version, fixture), 0);
    return soundSets[0];
  }
};

TEST_F(SoundSetTest, CurrentFileWithEveryField) {
  SoundSetFixture f;
  f.id.bytes[3] = 7;
  f.headValue = 42;
  f.variations = {ByteList(10, 1), {}, ByteList(5, 2)};
  f.name = u"Boom";
  f.displayName = u"Big boom";
  f.kind = 1;
  f.maxPlaybacks = 6;
  f.loop = 1;
  f.threeD = 1;
  f.kindText = u"Music";
  f.volume = 0.5f;
  f.tempo = 1.5f;
  f.volumeSpread = 0.1f;
  f.tempoSpread = 0.2f;
  const SoundSet& s = Read(100790, f);
  EXPECT_EQ(s.id, f.id);
  EXPECT_EQ(s.headValue, 42);
  ASSERT_EQ(s.variations.size(), 3u);
  // Header 24, identifier 16, head value 4, skipped byte 1, last index 4, then each length.
  EXPECT_EQ(s.variations[0].dataOffset, 53);
  EXPECT_EQ(s.variations[0].dataLength, 10);
  EXPECT_FALSE(s.variations[0].empty);
  EXPECT_TRUE(s.variations[1].empty);  // takes no bytes: the next length follows at once
  EXPECT_EQ(s.variations[2].dataOffset, 53 + 10 + 4 + 4);
  EXPECT_EQ(s.name, u"Boom");
  EXPECT_EQ(s.displayName, u"Big boom");
  EXPECT_EQ(s.kind, 1);
  EXPECT_EQ(s.maxPlaybacks, 6);
  EXPECT_EQ(s.loop, 1);
  EXPECT_EQ(s.threeD, 1);
  EXPECT_EQ(s.kindText, u"Music");
  EXPECT_EQ(s.volume, 0.5f);
  EXPECT_EQ(s.tempo, 1.5f);
  EXPECT_EQ(s.volumeSpread, 0.1f);
  EXPECT_EQ(s.tempoSpread, 0.2f);
}

TEST_F(SoundSetTest, OlderFilesByVersion) {
  struct Case {
    std::int32_t version;
    std::uint8_t kind;
    std::size_t variations;
    std::u16string kindText;
    std::uint8_t loop;
    std::uint8_t threeD;
  };
  const Case cases[] = {
      {100713, 0, 1, u"Sound Effect", 1, 0},  // one variation only; its own flags
      {100700, 1, 1, u"Music", 1, 0},
      {100410, 0, 1, u"Sound Effect", 0, 1},  // flags from the kind
      {100410, 2, 1, u"Music", 1, 0},
      {100300, 0, 1, u"Sound Effect", 0, 1},
  };
  for (const Case& c : cases) {
    SoundSetFixture f;
    f.variations = {ByteList(8, 1), ByteList(8, 2)};
    f.kind = c.kind;
    f.loop = 1;
    f.threeD = 0;
    f.volume = 0.3f;
    const SoundSet& s = Read(c.version, f);
    SCOPED_TRACE(c.version);
    EXPECT_EQ(s.variations.size(), c.variations);
    EXPECT_EQ(s.kindText, c.kindText);
    EXPECT_EQ(s.displayName, s.name);
    EXPECT_EQ(s.loop, c.loop);
    EXPECT_EQ(s.threeD, c.threeD);
    EXPECT_EQ(s.volume, 1.0f);
    EXPECT_EQ(s.tempoSpread, 0.0f);
  }
}

TEST_F(SoundSetTest, DamagedFilesAreErrors) {
  SoundSetFixture f;
  f.variations = {ByteList(8, 1)};
  ByteList tooOld = MakeSoundSetFile(100299, f);
  EXPECT_THROW(ReadSoundSet(tooOld, 0), KivError);
  // A variation longer than the file.
  ByteList bytes = MakeSoundSetFile(100700, f);
  const std::int32_t lengthAt = 4 + 16 + 4;  // version, identifier, head value
  bytes[lengthAt] = 0xFF;
  bytes[lengthAt + 1] = 0xFF;
  bytes[lengthAt + 2] = 0xFF;
  bytes[lengthAt + 3] = 0x7F;
  try {
    ReadSoundSet(bytes, 0);
    FAIL();
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), -1);
  }
  EXPECT_THROW(ReadSoundSet(MakeSoundSetFile(100790, f), 1), KivError);  // outside the table
}

TEST_F(SoundSetTest, PlacingMakesOffsetsAbsoluteAndRefusesWhatIsNotInTheEntry) {
  SoundSet set;
  set.name = u"Rain";
  auto variation = [](std::int64_t offset, std::int32_t length) {
    SoundVariation v;
    v.dataOffset = offset;
    v.dataLength = length;
    v.empty = length <= 0;
    return v;
  };
  set.variations = {variation(50, 10), variation(60, 0),
                    variation(95, 10),  // runs past the entry's 100 bytes
                    variation(90, 0x7FFFFFFF)};
  PlaceSoundSetInPackage(set, "/games/x/DATA.kRC", 0x7FFFFF00, 100, false);
  EXPECT_EQ(set.packagePath, "/games/x/DATA.kRC");
  EXPECT_EQ(set.variations[0].dataOffset, 0x7FFFFF00LL + 50);
  EXPECT_FALSE(set.variations[0].unusable);
  EXPECT_FALSE(set.variations[1].unusable);
  EXPECT_TRUE(set.variations[2].unusable);
  EXPECT_TRUE(set.variations[3].unusable);
  EXPECT_EQ(set.variations.size(), 4u);  // numbering stays

  SoundSet compressed;
  compressed.variations = {variation(50, 10)};
  PlaceSoundSetInPackage(compressed, "p", 1000, 100, true);
  EXPECT_TRUE(compressed.variations[0].unusable);
}

}  // namespace
}  // namespace kiv
