#include "script/script_map_resolvers.h"

#include <gtest/gtest.h>

#include "resolver_fixture.h"
#include "support/map_writer.h"

namespace kiv {
namespace {

using test::ErrorOf;
using test::kCave;
using test::kForest;
using test::kHarbour;
using test::kHud;
using test::kMenu;
using test::kTown;
using test::PreparedMap;
using test::Ref;

class ScriptMapResolversTest : public test::ResolverTest {
 protected:
  // A map or interface file in the package, with one character.
  static void AddPackageMap(const std::string& entry, const std::u16string& character = u"Character Bat") {
    test::MapFixture fixture;
    fixture.body.actors.emplace_back();
    fixture.body.actors.back().name = character;
    package.packageEntries.push_back({entry, test::MapFileBytes(fixture), 0});
  }
};

TEST_F(ScriptMapResolversTest, MapsAreFoundByFileName) {
  gameData.maps[kHarbour].fileName = u"Forest";  // a second map of one name
  const struct {
    bool loose;
    const char16_t* name;
    std::int32_t expected;
  } cases[] = {
      {false, u"Town", kTown}, {false, u"Forest", kForest},  // the lower index wins
      {false, u"town", -1},    {true, u"town", kTown},      {true, u" CAVE ", kCave},
      {false, u" Cave", -1},   {false, u"Menu", -1},  // an interface is no map
      {false, u"", -1},        {true, u"   ", -1},
  };
  for (const auto& c : cases) {
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptResolveMap(c.name, false, true, true), Ref(kObjectMap, c.expected, 0))
        << Utf16ToUtf8(c.name) << " loose " << c.loose;
  }
  EXPECT_TRUE(prepared_.empty());  // nothing is prepared without load
}

TEST_F(ScriptMapResolversTest, AMapAndAnInterfaceOfOneName) {
  gameData.maps[kMenu].fileName = u"Cave";  // interface 3 and map 1
  gameData.maps[kHud].fileName = u"Town";   // interface 4 and map 0
  EXPECT_EQ(ScriptResolveMap(u"Cave", true, true, true), Ref(kObjectMap, kCave, 0));
  EXPECT_EQ(ScriptResolveInterface(u"Cave", true), Ref(kObjectMap, kMenu, 0));
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Cave", true), Ref(kObjectMap, kCave, 0));
  gameData.maps[kTown].isInterface = true;  // now the interface has the lower index
  gameData.maps[kHud].isInterface = false;
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Town", true), Ref(kObjectMapOrInterface, kTown, 0));
}

TEST_F(ScriptMapResolversTest, MainIsThePlayersMapAndAKeywordOnlyInLowerCase) {
  const std::int32_t named = gameData.maps.Append();
  gameData.maps[named].fileName = u"Main";
  projectState.players[0].mapIndex = kForest;
  SetLooseNameMatching(false);
  EXPECT_EQ(ScriptResolveMap(u"main", false, true, true), Ref(kObjectMap, kForest, 0));
  EXPECT_EQ(ScriptResolveMap(u"Main", false, true, true), Ref(kObjectMap, named, 0));
  EXPECT_EQ(ScriptResolveMap(u" main", false, true, true), Ref(kObjectMap, -1, 0));
  SetLooseNameMatching(true);
  EXPECT_EQ(ScriptResolveMap(u" Main ", false, true, true), Ref(kObjectMap, kForest, 0));

  scriptHooks.CurrentPlayer = [] { return 2; };  // a player in no map
  EXPECT_EQ(ErrorOf([] { ScriptResolveMap(u"main", true, true, true); }),
            "-1 Cannot use map \"main\" as the player is currently not in a map.");
  EXPECT_EQ(ScriptResolveMap(u"main", true, false, true), Ref(kObjectMap, -1, 0));
  EXPECT_TRUE(prepared_.empty());  // keywords prepare nothing
}

TEST_F(ScriptMapResolversTest, ThisAndRelateAreTheTriggersMap) {
  for (const char16_t* word : {u"this", u"relate"}) {
    Frame().ownerMap = kCave;
    EXPECT_EQ(ScriptResolveMap(word, true, true, true), Ref(kObjectMap, kCave, 0));
    Frame().ownerMap = kMenu;
    EXPECT_EQ(ScriptResolveMap(word, true, false, true), Ref(kObjectMap, -1, 0));
    EXPECT_EQ(
        ErrorOf([word] { ScriptResolveMap(word, true, true, true); }),
        "-1 Cannot use map \"this\"/\"relate\" in an interface. Use \"main\" to get the map the player is "
        "on.");
    Frame().ownerMap = -1;  // a system trigger: raised even without errors
    EXPECT_EQ(
        ErrorOf([word] { ScriptResolveMap(word, true, false, true); }),
        "-1 Cannot use map \"this\"/\"relate\" in a trigger that doesn't deal with maps. Use \"main\" to get "
        "the map the player is on.");
  }
  EXPECT_TRUE(prepared_.empty());
}

TEST_F(ScriptMapResolversTest, AMissingMapIsLoadedUnderTheUntouchedArgument) {
  AddPackageMap("Cellar.kmp");
  SetLooseNameMatching(true);
  const ScriptValue result = ScriptResolveMap(u"CELLAR", true, true, false);
  const std::int32_t cellar = kHarbour + 1;
  EXPECT_EQ(result, Ref(kObjectMap, cellar, 0));
  EXPECT_EQ(gameData.maps[cellar].fileName, u"CELLAR");
  EXPECT_EQ(gameData.maps[cellar].actors.at(0).name, u"Character Bat");
  EXPECT_FALSE(gameData.maps[cellar].isInterface);
  // The loader prepares the new map with progress, then the resolver once more.
  EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{cellar, true, true}, {cellar, true, false}}));
  // Found now without another load.
  prepared_.clear();
  EXPECT_EQ(ScriptResolveMap(u"cellar", true, true, true), Ref(kObjectMap, cellar, 0));
  EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{cellar, true, false}}));
  EXPECT_EQ(gameData.maps.LastIndex(), cellar);
}

TEST_F(ScriptMapResolversTest, WithoutLoadNothingIsLoadedOrPrepared) {
  AddPackageMap("Cellar.kmp");
  gameData.maps[kCave].keptById = true;
  EXPECT_EQ(ScriptResolveMap(u"Cellar", false, true, true), Ref(kObjectMap, -1, 0));
  EXPECT_EQ(ScriptResolveMap(u"Cave", false, true, true), Ref(kObjectMap, kCave, 0));
  EXPECT_TRUE(gameData.maps[kCave].keptById);
  EXPECT_EQ(gameData.maps.LastIndex(), kHarbour);
  EXPECT_TRUE(prepared_.empty());
}

TEST_F(ScriptMapResolversTest, AMissingPackageEntryPassesTheLoadersError) {
  for (const bool raise : {true, false}) {
    EXPECT_EQ(ErrorOf([raise] { ScriptResolveMap(u"Nowhere", true, raise, true); }),
              "-1 Map file \"Nowhere\" cannot be found.");
  }
  EXPECT_EQ(gameData.maps.LastIndex(), kHarbour);
}

// A map held only by its identifier is read into its own slot; the progress
// flag is the caller's only under loose name matching.
TEST_F(ScriptMapResolversTest, AMapHeldByIdentifierIsReadInItsSlot) {
  AddPackageMap("Cave.kmp", u"Character Troll");
  const struct {
    bool loose;
    bool showProgress;
    bool loaderProgress;
  } cases[] = {{false, false, true}, {false, true, true}, {true, false, false}, {true, true, true}};
  for (const auto& c : cases) {
    gameData.maps[kCave].keptById = true;
    gameData.maps[kCave].actors.clear();
    prepared_.clear();
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptResolveMap(u"Cave", true, true, c.showProgress), Ref(kObjectMap, kCave, 0));
    EXPECT_FALSE(gameData.maps[kCave].keptById);
    EXPECT_EQ(gameData.maps[kCave].actors.size(), 1u);
    EXPECT_EQ(gameData.maps.LastIndex(), kHarbour);
    EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{kCave, c.loaderProgress, true}, {kCave, true, false}}))
        << "loose " << c.loose << " progress " << c.showProgress;
  }
}

TEST_F(ScriptMapResolversTest, NoMapDuringALoadingTick) {
  bool loadingTick = true;
  scriptHooks.LoadingTickRunning = [&loadingTick] { return loadingTick; };
  projectState.players[0].mapIndex = kTown;
  Frame().ownerMap = kTown;
  const struct {
    bool loose;
    const char16_t* name;
    const char* message;
  } cases[] = {
      {false, u"Town", "-1 Cannot load map \"Town\" while loading."},
      {false, u"main", "-1 Cannot load map \"main\" while loading."},
      {true, u" Main ", "-1 Cannot load map \"main\" while loading."},
      {false, u"this", "-1 Cannot load map \"this\" while loading."},
      {false, u"", "-1 Cannot load map \"\" while loading."},
  };
  for (const auto& c : cases) {
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ErrorOf([&c] { ScriptResolveMap(c.name, true, false, true); }), c.message);
  }
  // The other two have no such rule.
  SetLooseNameMatching(false);
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Town", true), Ref(kObjectMap, kTown, 0));
  EXPECT_EQ(ScriptResolveInterface(u"Menu", true), Ref(kObjectMap, kMenu, 0));
  loadingTick = false;
  EXPECT_EQ(ScriptResolveMap(u"Town", true, true, true), Ref(kObjectMap, kTown, 0));
}

TEST_F(ScriptMapResolversTest, InterfaceMainIsThePlayersOrTheTopOne) {
  std::int32_t top = -1;
  bool takesInput = true;
  std::vector<std::int32_t> asked;
  scriptHooks.FindNextMapInOrder = [&](std::int32_t from, bool backwards) {
    EXPECT_EQ(from, -1);
    EXPECT_TRUE(backwards);
    return top;
  };
  scriptHooks.IsMapInputActive = [&](std::int32_t map) {
    asked.push_back(map);
    return takesInput;
  };
  const std::string none =
      "-1 Cannot use interface \"main\" as the player is currently not interacting with an interface.";
  projectState.currentPlayerInterface.index = kHud;
  EXPECT_EQ(ScriptResolveInterface(u"main", true), Ref(kObjectMap, kHud, 0));
  projectState.currentPlayerInterface.index = -1;
  EXPECT_EQ(ErrorOf([] { ScriptResolveInterface(u"main", true); }), none);
  EXPECT_EQ(ScriptResolveInterface(u"main", false), Ref(kObjectMap, -1, 0));
  top = kMenu;
  EXPECT_EQ(ScriptResolveInterface(u"main", true), Ref(kObjectMap, kMenu, 0));
  // A top interface without input is the answer, and the error says so.
  takesInput = false;
  EXPECT_EQ(ErrorOf([] { ScriptResolveInterface(u"main", true); }), none);
  EXPECT_EQ(ScriptResolveInterface(u"main", false), Ref(kObjectMap, kMenu, 0));
  EXPECT_EQ(asked, (std::vector<std::int32_t>{kMenu, kMenu, kMenu}));
  EXPECT_TRUE(prepared_.empty());
}

TEST_F(ScriptMapResolversTest, InterfaceThisAndRelate) {
  Frame().ownerMap = kMenu;
  EXPECT_EQ(ScriptResolveInterface(u"this", true), Ref(kObjectMap, kMenu, 0));
  EXPECT_EQ(ScriptResolveInterface(u"relate", false), Ref(kObjectMap, kMenu, 0));
  Frame().ownerMap = kCave;
  EXPECT_EQ(ErrorOf([] { ScriptResolveInterface(u"this", false); }),
            "-1 Cannot use interface \"this\"/\"relate\" in a map. Use the actual interface name to get the "
            "interface desired.");
  // In a trigger of no map the word is an interface name.
  Frame().ownerMap = -1;
  const std::int32_t named = gameData.maps.Append();
  gameData.maps[named].fileName = u"relate";
  gameData.maps[named].isInterface = true;
  EXPECT_EQ(ScriptResolveInterface(u"relate", true), Ref(kObjectMap, named, 0));
  EXPECT_EQ(ErrorOf([] { ScriptResolveInterface(u"this", false); }),
            "-1 Interface file \"this\" cannot be found.");
}

TEST_F(ScriptMapResolversTest, AMissingInterfaceIsAlwaysLoaded) {
  AddPackageMap("Shop.kui");
  gameData.maps[kMenu].keptById = true;  // not looked at for interfaces
  EXPECT_EQ(ScriptResolveInterface(u"Menu", false), Ref(kObjectMap, kMenu, 0));
  EXPECT_TRUE(gameData.maps[kMenu].keptById);
  EXPECT_EQ(ScriptResolveInterface(u"Shop", false), Ref(kObjectMap, kHarbour + 1, 0));
  EXPECT_TRUE(gameData.maps[kHarbour + 1].isInterface);
  EXPECT_EQ(ScriptResolveInterface(u"", true), Ref(kObjectMap, -1, 0));
  // Only the loader prepares (and ignores) the interface.
  EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{kHarbour + 1, true, true}}));
}

TEST_F(ScriptMapResolversTest, MapOrInterface) {
  Frame().ownerMap = kMenu;
  EXPECT_EQ(ScriptResolveMapOrInterface(u"this", true), Ref(kObjectMapOrInterface, kMenu, 0));
  Frame().ownerMap = kForest;
  EXPECT_EQ(ScriptResolveMapOrInterface(u"relate", false), Ref(kObjectMap, kForest, 0));
  Frame().ownerMap = -1;
  EXPECT_EQ(ErrorOf([] { ScriptResolveMapOrInterface(u"this", false); }),
            "-1 Cannot use map/interface \"this\"/\"relate\" in a trigger that doesn't deal with maps or "
            "interfaces.");
  EXPECT_TRUE(prepared_.empty());

  EXPECT_EQ(ScriptResolveMapOrInterface(u"Hud", true), Ref(kObjectMapOrInterface, kHud, 0));
  EXPECT_TRUE(prepared_.empty());  // an interface is not prepared
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Harbour", false), Ref(kObjectMap, kHarbour, 0));
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Nowhere", false), Ref(kObjectMap, -1, 0));
  EXPECT_TRUE(prepared_.empty());
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Harbour", true), Ref(kObjectMap, kHarbour, 0));
  EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{kHarbour, true, false}}));
  // No empty-name rule: a map named "" is loaded.
  EXPECT_EQ(ErrorOf([] { ScriptResolveMapOrInterface(u"", true); }), "-1 Map file \"\" cannot be found.");
  // A map held by identifier is read with progress.
  AddPackageMap("Cave.kmp");
  gameData.maps[kCave].keptById = true;
  prepared_.clear();
  EXPECT_EQ(ScriptResolveMapOrInterface(u"Cave", true), Ref(kObjectMap, kCave, 0));
  EXPECT_EQ(prepared_, (std::vector<PreparedMap>{{kCave, true, true}, {kCave, true, false}}));
}

TEST_F(ScriptMapResolversTest, NoRunningScriptIsErrorNine) {
  PopCallFrame();
  EXPECT_EQ(ErrorOf([] { ScriptResolveMap(u"Town", false, false, false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveInterface(u"Menu", false); }).substr(0, 2), "9 ");
  EXPECT_EQ(ErrorOf([] { ScriptResolveMapOrInterface(u"Town", false); }).substr(0, 2), "9 ");
}

}  // namespace
}  // namespace kiv
