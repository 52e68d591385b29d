#include <gtest/gtest.h>

#include "core/error.h"
#include "data/door_set.h"
#include "data/font_set.h"
#include "data/game_data.h"
#include "support/set_writers.h"

namespace kiv {
namespace {

class DoorFontSetTest : public ::testing::Test {
 protected:
  void SetUp() override { gameData.Reset(); }
  void TearDown() override { gameData.Reset(); }

  const DoorSet& ReadDoor(const test::DoorSetFixture& fixture) {
    gameData.doorSets.assign(1, DoorSet());
    ReadDoorSet(test::DoorSetFileBytes(fixture), 0);
    return gameData.doorSets[0];
  }
  const FontSet& ReadFont(const test::FontSetFixture& fixture) {
    gameData.fontSets.assign(1, FontSet());
    ReadFontSet(test::FontSetFileBytes(fixture), 0);
    return gameData.fontSets[0];
  }
};

TEST_F(DoorFontSetTest, DoorTriplesAreStoredSecondIndexMajor) {
  test::DoorSetFixture f;
  for (std::size_t i = 0; i < f.table.size(); ++i) f.table[i] = static_cast<std::uint8_t>(i);
  f.headValue = 42;
  const DoorSet& set = ReadDoor(f);
  EXPECT_EQ(set.headValue, 42);
  EXPECT_EQ(set.kind, u"Wooden");
  EXPECT_EQ(set.triples[0][0], (std::array<std::uint8_t, 3>{0, 1, 2}));
  EXPECT_EQ(set.triples[1][0], (std::array<std::uint8_t, 3>{3, 4, 5}));
  EXPECT_EQ(set.triples[0][1], (std::array<std::uint8_t, 3>{12, 13, 14}));
  EXPECT_EQ(set.triples[3][7], (std::array<std::uint8_t, 3>{93, 94, 95}));
}

TEST_F(DoorFontSetTest, DoorFieldsByVersion) {
  struct Case {
    std::int32_t version;
    std::int32_t headValue;
    std::u16string kind;
  };
  for (const Case& c :
       {Case{100493, 0, u""}, Case{100762, 7, u""}, Case{100763, 7, u"Wooden"}, Case{100776, 7, u"Wooden"}}) {
    SCOPED_TRACE(c.version);
    test::DoorSetFixture f;
    f.version = c.version;
    f.headValue = 7;
    f.table[95] = 0xAB;
    const DoorSet& set = ReadDoor(f);
    EXPECT_EQ(set.headValue, c.headValue);
    EXPECT_EQ(set.name, u"Door");
    EXPECT_EQ(set.kind, c.kind);
    EXPECT_EQ(set.triples[3][7][2], 0xAB);
  }
}

TEST_F(DoorFontSetTest, FontFieldsAndLineHeight) {
  test::FontSetFixture f;
  f.textureWidth = 256;
  f.textureHeight = 256;
  f.glyphInset = 2;
  f.flag = 1;
  f.bytes = {1, 2, 3, 4};
  f.value2 = 99;
  f.glyphs = {{65, 0.0f, 0.0f, 0.25f, 0.0625f}, {66, 0.25f, 0.0f, 0.5f, 0.5f}};
  const FontSet& set = ReadFont(f);
  EXPECT_EQ(set.displayName, u"Font display");
  EXPECT_EQ(set.byte2, 2);
  EXPECT_EQ(set.value2, 99);
  EXPECT_EQ(set.kind, u"Bitmap");
  EXPECT_FALSE(set.legacy);
  ASSERT_EQ(set.glyphs.size(), 2u);
  EXPECT_EQ(set.glyphs[1].code, 66);
  EXPECT_FLOAT_EQ(set.glyphs[1].width, 0.5f);
  EXPECT_EQ(set.lineHeight, 12);
}

TEST_F(DoorFontSetTest, OlderFonts) {
  struct Case {
    std::int32_t version;
    std::int32_t width, height;
    bool legacy;
    std::u16string displayName;
  };
  for (const Case& c : {Case{100529, 256, 256, true, u"Font"}, Case{100711, 256, 256, true, u"Font"},
                        Case{100712, 512, 128, true, u"Font"}, Case{100713, 512, 128, false, u"Font"},
                        Case{100787, 512, 128, false, u"Font display"}}) {
    SCOPED_TRACE(c.version);
    test::FontSetFixture f;
    f.version = c.version;
    f.glyphInset = 3;
    f.glyphs = {{32, 0.0f, 0.0f, 0.5f, 0.125f}};
    const FontSet& set = ReadFont(f);
    EXPECT_EQ(set.textureWidth, c.width);
    EXPECT_EQ(set.textureHeight, c.height);
    EXPECT_EQ(set.legacy, c.legacy);
    EXPECT_EQ(set.glyphInset, c.legacy ? 0 : 3);
    EXPECT_EQ(set.displayName, c.displayName);
    EXPECT_FLOAT_EQ(set.glyphs[0].height, 0.125f);
  }
}

TEST_F(DoorFontSetTest, ColumnGlyphsOfOldFonts) {
  test::FontSetFixture f;
  f.version = 100529;
  f.glyphs.resize(224);
  for (std::size_t i = 0; i < 224; ++i) {
    f.glyphs[i].u = static_cast<float>(i);
    f.glyphs[i].height = static_cast<float>(i) + 0.5f;
  }
  const FontSet& set = ReadFont(f);
  ASSERT_EQ(set.glyphs.size(), 224u);
  EXPECT_EQ(set.glyphs[0].code, 32);
  EXPECT_EQ(set.glyphs[223].code, 255);
  EXPECT_FLOAT_EQ(set.glyphs[100].u, 100.0f);
  EXPECT_FLOAT_EQ(set.glyphs[100].height, 100.5f);
  EXPECT_EQ(set.lineHeight, 128);  // 0.5 x 256, halves to even
}

TEST_F(DoorFontSetTest, AFontWithoutGlyphsHasNoLineHeight) {
  test::FontSetFixture f;
  const FontSet& set = ReadFont(f);
  EXPECT_TRUE(set.glyphs.empty());
  EXPECT_EQ(set.lineHeight, 0);
}

TEST_F(DoorFontSetTest, DamagedFiles) {
  test::FontSetFixture font;
  font.version = 100737;
  font.glyphs.resize(3);
  test::DoorSetFixture door;
  door.version = 100737;
  const ByteList fontBytes = test::FontSetFileBytes(font);
  const ByteList doorBytes = test::DoorSetFileBytes(door);
  for (std::size_t size = 25; size < fontBytes.size(); size += 7) {
    gameData.fontSets.assign(1, FontSet());
    EXPECT_THROW(
        ReadFontSet(ByteList(fontBytes.begin(), fontBytes.begin() + static_cast<std::ptrdiff_t>(size)), 0),
        KivError);
  }
  for (std::size_t size = 25; size < doorBytes.size(); size += 7) {
    gameData.doorSets.assign(1, DoorSet());
    EXPECT_THROW(
        ReadDoorSet(ByteList(doorBytes.begin(), doorBytes.begin() + static_cast<std::ptrdiff_t>(size)), 0),
        KivError);
  }
}

}  // namespace
}  // namespace kiv
