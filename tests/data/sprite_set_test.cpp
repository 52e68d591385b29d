#include "data/sprite_set.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

using test::FramePartFixture;
using test::SpriteLayerFixture;
using test::SpriteSetFixture;

class SpriteSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    setExtents.Reset();
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
    setExtents.Reset();
  }

  const SpriteSet& Read(const SpriteSetFixture& fixture) {
    gameData.spriteSets.assign(1, SpriteSet());
    ReadSpriteSet(test::SpriteSetFileBytes(fixture), 0);
    return gameData.spriteSets[0];
  }

  // The error number of reading the fixture, 0 when it loads.
  int ReadError(const SpriteSetFixture& fixture, std::string* message = nullptr) {
    try {
      Read(fixture);
    } catch (const KivError& e) {
      if (message != nullptr) *message = e.what();
      return e.Number();
    }
    return 0;
  }
};

test::FrameGroupFixture Group(std::int32_t width, std::int32_t height) {
  test::FrameGroupFixture group;
  group.frames.resize(1);
  group.frames[0].values[3] = width;
  group.cellWidth = width;
  group.cellHeight = height;
  return group;
}

SpriteLayerFixture Layer(std::int32_t width, std::int32_t height) {
  SpriteLayerFixture layer;
  layer.groups = {Group(width, height)};
  return layer;
}

// A set whose pose 0 has one layer and two frames in direction 4.
SpriteSetFixture AnimatedFixture(std::int32_t version) {
  SpriteSetFixture f;
  f.version = version;
  auto& d = f.poses[0].directions[4];
  d.layers = {Layer(32, 48)};
  FramePartFixture a;
  a.id = 5;
  FramePartFixture b = a;
  b.x = 10;
  b.keyBits = 1;
  d.frames = {{a}, {b}};
  d.slotValues = {7, 8};
  return f;
}

TEST_F(SpriteSetTest, ReadsTheHeadAndPosesAndDerivesFrames) {
  SpriteSetFixture f = AnimatedFixture(100790);
  IdFill(f.id, 0x21);
  f.valueA = 77;
  f.byteN = 3;
  f.name = u"Hero";
  f.category = u"People";
  f.kindName = u"Character";
  f.slot = 4;
  f.poses.resize(17);
  f.poses[15].name = u"Wave";
  f.poses[16].name = u"Bow";
  f.poses[16].directions[0].layers = {Layer(20, 20)};
  Identifier other;
  IdFill(other, 0x44);
  f.spriteFlags = {{other, 1}};
  f.templateFlags = {{other, 2}, {Identifier(), 0}};
  f.links = {{u"Shadow", other, {1, 2, 3, 4, 5, 6, 7, 8}}};

  const SpriteSet& set = Read(f);
  EXPECT_EQ(set.id, f.id);
  EXPECT_EQ(set.valueA, 77);
  EXPECT_EQ(set.byteN, 3);
  EXPECT_EQ(set.name, u"Hero");
  EXPECT_EQ(SymbolName(set.category), u"People");
  EXPECT_EQ(set.kindName, u"Character");
  ASSERT_EQ(set.poses.size(), 17u);
  EXPECT_EQ(set.poses[14].name, 0);
  EXPECT_EQ(SymbolName(set.poses[15].name), u"Wave");
  EXPECT_EQ(SymbolName(set.poses[16].name), u"Bow");
  ASSERT_EQ(set.spriteFlags.size(), 1u);
  EXPECT_EQ(set.spriteFlags[0].flag, 1);
  EXPECT_EQ(set.templateFlags.size(), 2u);
  ASSERT_EQ(set.links.size(), 1u);
  EXPECT_EQ(set.links[0].spriteSet, -2);
  EXPECT_EQ(SymbolName(set.links[0].name), u"Shadow");
  EXPECT_EQ(set.links[0].values[7], 8);

  const SpriteDirection& d = set.poses[0].directions[4];
  EXPECT_EQ(d.slots[0].value, 7);
  EXPECT_EQ(d.slots[1].value, 8);
  ASSERT_EQ(d.builtFrames.size(), 2u);
  EXPECT_EQ(d.builtFrames[1].parts[0].x, 10);
  EXPECT_EQ(d.sizeX, 42);  // -16 .. 26
  EXPECT_EQ(d.sizeY, 48);
  EXPECT_EQ(d.layers[0].entryTotal, 100);
  EXPECT_EQ(set.poses[0].mirrorMask, 0x01);  // direction 0 mirrors 4
  EXPECT_EQ(set.poses[16].mirrorMask, 0x10);
  EXPECT_EQ(set.usedValues, (std::vector<std::int32_t>{0, 4}));
  EXPECT_EQ(setExtents.maxSpriteWidth, 42);
}

TEST_F(SpriteSetTest, LinkValuesByVersion) {
  Identifier other;
  IdFill(other, 0x44);
  struct Case {
    std::int32_t version;
    std::int32_t valueLast;
    std::vector<std::int32_t> stored;
    std::array<std::int32_t, 8> expected;
  };
  const Case cases[] = {
      {100766, 2, {1, 2, 3}, {1, 2, 3, -1, -1, -1, -1, -1}},
      {100765, 0, {9}, {9, -1, -1, -1, -1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SpriteSetFixture f;
    f.version = c.version;
    f.linkValueLast = c.valueLast;
    f.links = {{u"Link", other, c.stored}, {u"Two", other, c.stored}};
    const SpriteSet& set = Read(f);
    ASSERT_EQ(set.links.size(), 2u);
    EXPECT_EQ(set.links[1].values, c.expected);
    EXPECT_EQ(set.links[1].spriteSetId, other);
  }
}

TEST_F(SpriteSetTest, ByteNIsStoredFrom100776) {
  for (std::int32_t version : {100775, 100776}) {
    SpriteSetFixture f;
    f.version = version;
    f.byteN = 9;
    f.name = u"Named";
    const SpriteSet& set = Read(f);
    EXPECT_EQ(set.byteN, version == 100776 ? 9 : 0);
    EXPECT_EQ(set.name, u"Named");
  }
}

TEST_F(SpriteSetTest, OlderLayersTakeTheirCellSizesAndEntryValues) {
  struct Case {
    const char* name;
    std::int32_t version;
    std::vector<std::int32_t> stored;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {"entry sizes before frame lists", 100750, {5, 7}, {5, 7}},
      {"entry sizes with frame lists", 100770, {5, 7}, {5, 7}},
      {"entry 0 repeated", 100729, {5, 7, 9}, {5, 5, 5}},
      {"sizes in the groups", 100775, {5, 7}, {5, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpriteSetFixture f;
    f.version = c.version;
    SpriteLayerFixture layer;
    for (std::size_t j = 0; j < c.stored.size(); ++j)
      layer.groups.push_back(Group(10 + static_cast<std::int32_t>(j), 20 + static_cast<std::int32_t>(j)));
    layer.entryValues = c.stored;
    f.poses[0].directions[2].layers = {layer};
    const SpriteLayer& read = Read(f).poses[0].directions[2].layers[0];
    ASSERT_EQ(read.frameEntries.size(), c.expected.size());
    ASSERT_EQ(read.frames.frameGroups.size(), c.expected.size());
    for (std::size_t j = 0; j < c.expected.size(); ++j) {
      EXPECT_EQ(read.frameEntries[j].value, c.expected[j]);
      EXPECT_EQ(read.frames.frameGroups[j].cellWidth, 10 + static_cast<std::int32_t>(j));
      EXPECT_EQ(read.frames.frameGroups[j].cellHeight, 20 + static_cast<std::int32_t>(j));
      EXPECT_EQ(read.frames.frameGroups[j].frames.size(), 1u);
      EXPECT_EQ(read.frames.frameGroups[j].frames[0].width, 10 + static_cast<std::int32_t>(j));
    }
  }
}

TEST_F(SpriteSetTest, FewerEntriesThanGroupsAreFilledUp) {
  SpriteSetFixture f;
  SpriteLayerFixture layer;
  layer.groups = {Group(8, 8), Group(8, 8), Group(8, 8)};
  layer.entryValues = {40};
  f.poses[0].directions[0].layers = {layer};
  const SpriteLayer& read = Read(f).poses[0].directions[0].layers[0];
  ASSERT_EQ(read.frameEntries.size(), 3u);
  EXPECT_EQ(read.frameEntries[0].value, 40);
  EXPECT_EQ(read.entryTotal, 40);
}

TEST_F(SpriteSetTest, OldLayerFlagsAndKindNames) {
  struct Case {
    std::int32_t version;
    std::int32_t flags;
    std::int32_t expectedFlags;
    std::u16string kindName;
  };
  const Case cases[] = {
      {100740, 8, 0x1008, u"People"}, {100740, 0xE08, 0x1008, u"People"}, {100740, 0x20C, 0x20C, u"Effect"},
      {100750, 4, 4, u"Effect"},      {100750, 8, 8, u"People"},          {100763, 4, 4, u"Character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SCOPED_TRACE(c.flags);
    SpriteSetFixture f;
    f.version = c.version;
    f.category = u"People";
    SpriteLayerFixture layer = Layer(4, 4);
    layer.flags = c.flags;
    f.poses[3].directions[6].layers = {layer};
    const SpriteSet& set = Read(f);
    EXPECT_EQ(set.poses[3].directions[6].layers[0].flags, c.expectedFlags);
    EXPECT_EQ(set.kindName, c.kindName);
  }
}

TEST_F(SpriteSetTest, OldEmitterPartsLoseTheirRotation) {
  for (std::int32_t version : {100742, 100743}) {
    SCOPED_TRACE(version);
    SpriteSetFixture f;
    f.version = version;
    SpriteLayerFixture layer = Layer(4, 4);
    layer.flags = 8;
    auto& d = f.poses[0].directions[0];
    d.layers = {layer};
    FramePartFixture part;
    part.rotation = Quaternion{0.0f, 0.0f, 1.0f, 0.0f};
    d.frames = {{part}};
    const FramePart& read = Read(f).poses[0].directions[0].frames[0].parts[0];
    EXPECT_EQ(read.rotation, version == 100742 ? Quaternion() : part.rotation);
  }
}

TEST_F(SpriteSetTest, LayerScriptsAreRegistered) {
  SpriteSetFixture f;
  SpriteLayerFixture layer = Layer(8, 8);
  layer.scripts[9] = test::LongScriptWithStatement();
  f.poses[0].directions[4].layers = {layer};
  FramePartFixture part;
  f.poses[0].directions[4].frames = {{part}};
  const SpriteSet& set = Read(f);
  const SpriteDirection& d = set.poses[0].directions[4];
  EXPECT_TRUE(d.layers[0].scripts[9].hasStatements);
  EXPECT_GE(d.layers[0].scripts[9].index, 0);
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
  EXPECT_EQ(d.builtFrames[0].parts[0].scripted, 1);
}

TEST_F(SpriteSetTest, Refusals) {
  struct Case {
    const char* name;
    SpriteSetFixture fixture;
    int number;
  };
  std::vector<Case> cases;
  {
    SpriteSetFixture f;
    f.version = 100727;
    cases.push_back({"older than 100728", f, kErrIndex});
  }
  {
    SpriteSetFixture f;
    f.lastStandard = 13;
    cases.push_back({"a standard pose left out", f, kErrIndex});
  }
  {
    SpriteSetFixture f;
    f.linkValueLast = 8;
    cases.push_back({"nine link values", f, kErrIndex});
  }
  {
    SpriteSetFixture f;
    f.poses[2].directions[1].slotValues = {1, 2, 3, 4, 5};
    cases.push_back({"five slot entries", f, kErrIndex});
  }
  {
    SpriteSetFixture f;
    f.ownPoseCount = -1;
    cases.push_back({"fewer than the standard poses", f, kErrIndex});
  }
  {
    SpriteSetFixture f;
    f.ownPoseCount = 1000000;
    cases.push_back({"more poses than bytes", f, kErrData});
  }
  {
    SpriteSetFixture f;
    f.version = 100299;
    cases.push_back({"below the header minimum", f, -2});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadError(c.fixture), c.number);
  }
}

TEST_F(SpriteSetTest, AnOldSetKeepsWhatWasReadBeforeTheRefusal) {
  SpriteSetFixture f;
  f.version = 100727;
  f.name = u"Old";
  EXPECT_EQ(ReadError(f), kErrIndex);
  EXPECT_EQ(gameData.spriteSets[0].name, u"Old");
}

TEST_F(SpriteSetTest, DamagedFilesAreDataErrors) {
  const ByteList whole = test::SpriteSetFileBytes(AnimatedFixture(100790));
  // Every cut inside the body fails cleanly (the header's digest is checked
  // first, so cut an unhashed version).
  const ByteList old = test::SpriteSetFileBytes(AnimatedFixture(100737));
  for (std::size_t size = 25; size < old.size(); size += 97) {  // shorter is a header error
    SCOPED_TRACE(size);
    gameData.spriteSets.assign(1, SpriteSet());
    const ByteList cut(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      ReadSpriteSet(cut, 0);
      FAIL();
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), kErrData);
    }
  }
  SpriteSetFixture odd;
  odd.version = 100737;
  ByteList bytes = test::SpriteSetFileBytes(odd);
  bytes[4 + 16 + 4] = 3;  // the name's byte count
  gameData.spriteSets.assign(1, SpriteSet());
  try {
    ReadSpriteSet(bytes, 0);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrData);
    EXPECT_STREQ(e.what(), "Invalid string data.");
  }
  EXPECT_THROW(ReadSpriteSet(whole, 1), KivError);  // no such record
}

TEST_F(SpriteSetTest, CharacterLayerValuesByName) {
  // The hiding slot is stored as a slot name; the part orders are the draw
  // groups and the last colour index the largest layer value.
  SpriteSetFixture f = AnimatedFixture(100790);
  f.symbolB = u"Hat";
  f.slot = 6;
  auto& layers = f.poses[0].directions[4].layers;
  layers = {Layer(8, 8), Layer(8, 8), Layer(8, 8)};
  layers[0].slot = 2, layers[0].value = 0;
  layers[1].slot = 9, layers[1].value = 3;
  layers[2].slot = 2, layers[2].value = 1;
  const SpriteSet& set = Read(f);
  EXPECT_EQ(SpriteHiddenBySlot(set), SymbolIntern(u"Hat"));
  EXPECT_EQ(SpritePartOrders(set), (std::vector<std::int32_t>{2, 9, 6}));
  EXPECT_EQ(SpriteLastColourIndex(set), 3);
  f.symbolB.clear();
  EXPECT_EQ(SpriteHiddenBySlot(Read(f)), 0);  // none
}

}  // namespace
}  // namespace kiv
