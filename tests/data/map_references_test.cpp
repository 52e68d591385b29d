#include "data/map_references.h"

#include <cstring>

#include "core/hooks.h"
#include "data/resource_header.h"
#include "game_data_fixture.h"
#include "support/map_writer.h"

namespace kiv::test {
namespace {

class MapReferencesTest : public GameDataTest {
 protected:
  static ByteList MapBytes(std::int32_t version, const Identifier& id) {
    MapFixture map;
    map.version = version;
    map.id = id;
    map.width = map.height = 1;
    map.layerCount = 0;
    return MapFileBytes(map);
  }
};

TEST_F(MapReferencesTest, NamesAndEmptyIdentifiersNeedNoSearch) {
  gameData.maps.Append();
  gameData.maps[0].fileName = u"Town";
  struct Case {
    std::int32_t index;
    std::u16string name;
    bool withId;
    std::int32_t want;
    std::u16string wantName;
  };
  const Case cases[] = {
      {-2, u"*", false, -3, u"*"},
      {-4, u"Town", false, -1, u""},
      {-2, u"", false, -1, u""},
      {-2, u"tOWN", false, 0, u"tOWN"},  // letter case is ignored
      {-2, u"Nowhere", false, -2, u"Nowhere"},
  };
  for (const Case& c : cases) {
    std::int32_t index = c.index;
    std::u16string name = c.name;
    EXPECT_EQ(ResolveMapReference(index, name, Identifier(), false, true), c.want);
    EXPECT_EQ(index, c.want);
    EXPECT_EQ(name, c.wantName);
  }
  // Interfaces are searched among interfaces only.
  std::int32_t index = -2;
  std::u16string name = u"Town";
  EXPECT_EQ(ResolveMapReference(index, name, Identifier(), true, true), -2);
}

TEST_F(MapReferencesTest, AnUnloadedMapIsFoundByTheIdentifierAfterItsOwnHeader) {
  // A current (hashed) file keeps its identifier at offset 24, an old one at 4.
  PackageWriter writer;
  writer.AddCompressed("Old.kmp", MapBytes(100700, IdOf(0x0D)));
  writer.AddCompressed("New.kmp", MapBytes(100790, IdOf(0x0E)));
  writer.AddCompressed("test~New.kmp", MapBytes(100790, IdOf(0x0E)));
  UsePackage(writer);
  for (const auto& [id, want] : {std::pair{IdOf(0x0E), u"New"}, std::pair{IdOf(0x0D), u"Old"}}) {
    std::int32_t index = -4;
    std::u16string name;
    const std::int32_t found = ResolveMapReference(index, name, id, false, true);
    ASSERT_GE(found, 0);
    EXPECT_EQ(name, want);
    EXPECT_EQ(gameData.maps[found].id, id);
  }
  // Found again among the loaded maps without loading.
  std::int32_t index = -4;
  std::u16string name;
  EXPECT_EQ(ResolveMapReference(index, name, IdOf(0x0E), false, true), 0);
  EXPECT_EQ(gameData.maps.LastIndex(), 1);
}

TEST_F(MapReferencesTest, WithoutLoadAPlaceholderIsEntered) {
  PackageWriter writer;
  writer.AddCompressed("Cave.kmp", MapBytes(100790, IdOf(0x0C)));
  UsePackage(writer);
  std::int32_t index = -4;
  std::u16string name;
  EXPECT_EQ(ResolveMapReference(index, name, IdOf(0x0C), false, false), 0);
  EXPECT_EQ(name, u"Cave");
  const Map& placeholder = gameData.maps[0];
  EXPECT_TRUE(placeholder.keptById);
  EXPECT_EQ(placeholder.id, IdOf(0x0C));
  EXPECT_TRUE(placeholder.actors.empty());
  EXPECT_EQ(placeholder.width, -1);
}

TEST_F(MapReferencesTest, TheIdentifierOfTooShortBytesIsNotRead) {
  Identifier id;
  EXPECT_FALSE(MapFileIdentifier(ByteList{0x01, 0x02}, id));
  ByteList hashed(30, 0);
  const std::int32_t version = kFirstHashedVersion;
  std::memcpy(hashed.data(), &version, 4);
  EXPECT_FALSE(MapFileIdentifier(hashed, id));
}

TEST_F(MapReferencesTest, MapLinksResolveDoorsZonesSlotsAndFieldActions) {
  PackageWriter writer;
  writer.AddCompressed("Cave.kmp", MapBytes(100790, IdOf(0x0C)));
  UsePackage(writer);
  const std::int32_t m = gameData.maps.Append();
  Map& map = gameData.maps[m];
  map.fileName = u"Town";
  map.namedSlots[0] = {u"TOWN", -2};
  map.doors.resize(1);
  map.doors[0].target = {-2, u"Cave", {}};
  map.zones.resize(1);
  map.zones[0].target = {-4, u"", IdOf(0x77)};
  map.fields.resize(1);
  map.fields[0].actions.resize(1);
  map.fields[0].actions[0].mapKind = -2;
  map.fields[0].actions[0].mapName = u"Menu";
  ResolveMapLinks(m);
  const Map& linked = gameData.maps[m];
  EXPECT_EQ(linked.namedSlots[0].index, 0);
  EXPECT_EQ(linked.namedSlots[1].index, -1);
  EXPECT_EQ(linked.doors[0].target.index, 1);  // a placeholder for the cave
  EXPECT_TRUE(gameData.maps[1].keptById);
  EXPECT_EQ(linked.zones[0].target.index, -2);
  EXPECT_EQ(linked.fields[0].actions[0].mapKind, -2);
}

}  // namespace
}  // namespace kiv::test
