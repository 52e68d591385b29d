// The field system of an interface: which fields evaluate, the value pair,
// sizes, sprite, colours, selectable and disabled, screen sprites, view
// timers and list items.
#include <gtest/gtest.h>

#include "state/state_setup.h"
#include "world/map_system_fields.h"
#include "world/map_systems_test_fixture.h"
#include "world/view_timers.h"

namespace kiv {
namespace {

class FieldSystemTest : public test::MapSystemsTest {
 protected:
  void SetUp() override {
    MapSystemsTest::SetUp();
    M().isInterface = true;
    // The script returns the texts of items_ as an array; ReturnBuilt() also
    // says that a property built the array anew.
    handlers_["ReturnItems"] = [this](const test::RecordedCall&, ScriptValue& result) {
      result = ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), ItemArray()}), 0};
    };
    handlers_["ReturnBuilt"] = [this](const test::RecordedCall&, ScriptValue& result) {
      mapSystems.arrayValueBuilt = true;
      result = ScriptValue{kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), ItemArray()}), 0};
    };
    handlers_["Fail"] = [](const test::RecordedCall&, ScriptValue&) {
      RaiseError(kErrData, "The value cannot be read.");
    };
  }
  // A live field of the kind with the given value scripts.
  std::int32_t AddField(std::initializer_list<std::pair<std::size_t, const char16_t*>> scripts, std::uint8_t kind = 2,
                        std::uint8_t live = 1) {
    Field f;
    f.kind = kind;
    FieldLiveUpdate(f) = live;
    f.fontSet = -1;
    for (const auto& [slot, text] : scripts) f.scripts[slot] = MakeScript(text);
    M().fields.push_back(std::move(f));
    return static_cast<std::int32_t>(M().fields.size()) - 1;
  }
  Variant ItemArray() const {
    std::vector<Variant> elements;
    for (const std::u16string& t : items_) elements.push_back(Variant::Text(t));
    return Variant::Array(kVarVariant, elements);
  }
  Field& F(std::int32_t i) { return M().fields[static_cast<std::size_t>(i)]; }
  std::vector<std::u16string> items_;
};

TEST_F(FieldSystemTest, OnlyLiveFieldsOrARefreshEvaluateAndTheRefreshIsOneShot) {
  const std::int32_t live = AddField({{kValueScriptValue, u"Mark(1)\r\nReturn(5)"}});
  const std::int32_t still = AddField({{kValueScriptValue, u"Mark(2)\r\nReturn(6)"}}, 2, 0);
  Pass(16);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1}));
  EXPECT_TRUE(F(live).value1 == Variant::Double(5));
  EXPECT_TRUE(F(still).value1.IsEmpty());
  marks_.clear();
  M().refreshFields = 1;
  Pass(16);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(M().refreshFields, 0);
  EXPECT_TRUE(F(still).value1 == Variant::Double(6));
  marks_.clear();
  Pass(16);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(FieldElapsedMs(F(still)), 48) << "every field's clock runs";
}

TEST_F(FieldSystemTest, AMapThatIsNoInterfaceRunsNoFieldSystem) {
  M().isInterface = false;
  const std::int32_t f = AddField({{kValueScriptValue, u"Return(5)"}});
  Pass(16);
  EXPECT_TRUE(F(f).value1.IsEmpty());
  EXPECT_EQ(FieldElapsedMs(F(f)), 0);
}

TEST_F(FieldSystemTest, TheValuePairIsStoredByKindAndAScriptSetValueIsKept) {
  const std::int32_t counter =
      AddField({{kValueScriptValue, u"Return(\"3\")"}, {kValueScriptMaxValue, u"Return(10)"}}, 1);
  F(counter).kind = 1;  // a counter shows one sprite per unit
  const std::int32_t text = AddField({{kValueScriptValue, u"Return(3)"}}, 0);
  const std::int32_t kept =
      AddField({{kValueScriptValue, u"Mark(9)\r\nReturn(1)"}, {kValueScriptMaxValue, u"Return(20)"}}, 1);
  F(kept).value1 = Variant::Double(7);
  FieldValueSetByScript(F(kept)) = 1;
  const std::int32_t failing = AddField({{kValueScriptValue, u"Return(Fail())"}}, 1);
  F(failing).value1 = Variant::Double(4);
  Pass(16);
  EXPECT_TRUE(F(counter).value1 == Variant::Double(3));
  EXPECT_EQ(F(counter).value1.Type(), kVarDouble);
  EXPECT_TRUE(F(counter).value2 == Variant::Double(10));
  EXPECT_EQ(F(counter).spriteCount, 3) << "the layout follows the new values";
  EXPECT_EQ(F(text).value1.Type(), kVarLong);
  EXPECT_TRUE(F(kept).value1 == Variant::Double(7));
  EXPECT_TRUE(F(kept).value2 == Variant::Double(20)) << "the maximum is still evaluated";
  EXPECT_TRUE(marks_.empty()) << "the value script of a script-set value does not run";
  EXPECT_TRUE(F(failing).value1.IsEmpty()) << "a failed script's error value is stored as Empty";
}

TEST_F(FieldSystemTest, AnArrayValueChangesOnlyWhenTheScriptsBuiltANewOne) {
  items_ = {u"a", u"b"};
  const std::int32_t stale = AddField({{kValueScriptValue, u"ReturnItems()"}});
  const std::int32_t built = AddField({{kValueScriptValue, u"ReturnBuilt()"}});
  for (std::int32_t f : {stale, built}) F(f).value1 = Variant::Array(kVarVariant, {Variant::Text(u"old")});
  Pass(16);
  EXPECT_EQ(F(stale).value1.Elements().size(), 1u);
  ASSERT_EQ(F(built).value1.Elements().size(), 2u);
  EXPECT_TRUE(F(built).value1.Elements()[1] == Variant::Text(u"b"));
}

TEST_F(FieldSystemTest, VisibilityHidesAndSkipsTheOtherScriptsOfAHiddenField) {
  const std::int32_t hidden = AddField({{kValueScriptVisible, u"Return(0)"}, {kValueScriptValue, u"Return(5)"}});
  const std::int32_t shown = AddField({{kValueScriptVisible, u"Return(\"yes\")"}, {kValueScriptValue, u"Return(5)"}});
  FieldHidden(F(shown)) = 1;
  const std::int32_t dormant = AddField({{kValueScriptVisible, u"Mark(3)\r\nReturn(1)"}});
  FieldDormant(F(dormant)) = 1;
  FieldHidden(F(dormant)) = 1;
  Pass(16);
  EXPECT_EQ(FieldHidden(F(hidden)), 1);
  EXPECT_TRUE(F(hidden).value1.IsEmpty());
  EXPECT_EQ(FieldHidden(F(shown)), 0);
  EXPECT_TRUE(F(shown).value1 == Variant::Double(5));
  EXPECT_TRUE(marks_.empty()) << "a dormant field without a list script is skipped";
  EXPECT_EQ(FieldHidden(F(dormant)), 1);
}

TEST_F(FieldSystemTest, SizesColoursAndFlagsFollowTheirScripts) {
  const std::int32_t f = AddField({{kValueScriptSizeX, u"Return(40.4)"},
                                   {kValueScriptSizeY, u"Return(\"12\")"},
                                   {kValueScriptColor, u"Return(2.5)"},
                                   {kValueScriptColor2, u"Return(3.5)"}});
  // The flags on a field of their own: a new state also sets the shown colours.
  const std::int32_t g =
      AddField({{kValueScriptSelectable, u"Return(\"on\")"}, {kValueScriptDisabled, u"Return(0)"}});
  F(g).disabled = 1;
  F(g).state = kFieldDisabled;
  Pass(16);
  EXPECT_FLOAT_EQ(F(f).width, 40.4f);
  EXPECT_FLOAT_EQ(F(f).height, 12.0f);
  EXPECT_EQ(F(f).pixelWidth, 40);
  EXPECT_EQ(F(f).pixelHeight, 12);
  EXPECT_EQ(F(f).colorsA[0], 2u) << "colours round half to even";
  EXPECT_EQ(F(f).colorsB[0], 4u);
  EXPECT_EQ(F(g).selectable, 1);
  EXPECT_EQ(F(g).disabled, 0);
  EXPECT_EQ(F(g).state, kFieldSelectable);
}

TEST_F(FieldSystemTest, TheSpriteIsLookedUpByNameOnlyWhenItChanged) {
  InstallGameStateHooks();  // loose name matching follows the project's option flag
  for (const char16_t* name : {u"Fire", u"Ice"}) {
    SpriteSet set;
    set.name = name;
    set.poses.resize(1);
    gameData.spriteSets.push_back(set);
  }
  struct Case {
    const char* what;
    const char16_t* result;
    bool loose;
    std::int32_t before;
    std::int32_t after;
    bool restarted;
  } cases[] = {
      {"another name", u"Ice", false, 0, 1, true},
      {"same name", u"Ice", false, 1, 1, false},
      {"loose name matches", u" ice ", true, 1, 1, false},
      {"empty text clears", u"", false, 1, -1, true},
      {"empty text with none", u"", false, -1, -1, false},
      {"(none) clears", u"(none)", false, 0, -1, true},
      {"from none", u"Fire", false, -1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    M().fields.clear();
    SetLooseNameMatching(c.loose);
    const std::int32_t f = AddField({{kValueScriptSprite, (u"Return(\"" + std::u16string(c.result) + u"\")").c_str()}});
    F(f).spriteSet = c.before;
    F(f).sprites.resize(3);
    Pass(16);
    EXPECT_EQ(F(f).spriteSet, c.after);
    // A restarted set has its instances rebuilt from nothing: one for this field.
    EXPECT_EQ(F(f).sprites.size(), c.restarted ? 1u : 3u);
  }
}

TEST_F(FieldSystemTest, ScreenSpritesLeaveOnceTheirFadeOutIsOver) {
  const std::int32_t f = AddField({}, 6, 0);
  struct Entry {
    std::int32_t elapsed, fade, hideAt;
  } entries[] = {{0, 100, -1}, {90, 100, 50}, {80, 100, 50}, {200, 100, -1}};
  for (const Entry& e : entries) {
    FieldRuntimeEntry entry;
    OverlayElapsedMs(entry) = e.elapsed;
    OverlayFadeMs(entry) = e.fade;
    OverlayHideAt(entry) = e.hideAt;
    F(f).runtimeEntries.push_back(entry);
  }
  Pass(15);
  ASSERT_EQ(F(f).runtimeEntries.size(), 3u) << "the fading entry past its end left";
  EXPECT_EQ(OverlayElapsedMs(F(f).runtimeEntries[0]), 15);
  EXPECT_EQ(OverlayElapsedMs(F(f).runtimeEntries[1]), 95);
  EXPECT_EQ(OverlayElapsedMs(F(f).runtimeEntries[2]), 215) << "a shown entry stays however old";
}

TEST(ViewTimersTest, PanTransitionShakeAndFlashRunAndEndAsTheirModesSay) {
  struct Case {
    const char* what;
    FieldView before;
    std::int32_t elapsed;
    FieldView after;
  };
  const auto view = [](auto&& set) {
    FieldView v;
    set(v);
    return v;
  };
  const Case cases[] = {
      {"pan clamps", view([](FieldView& v) { v.panning = 1, v.panElapsed = 90, v.panDuration = 100; }), 16,
       view([](FieldView& v) { v.panning = 1, v.panElapsed = 100, v.panDuration = 100; })},
      {"pan stopped", view([](FieldView& v) { v.panElapsed = 10, v.panDuration = 100; }), 16,
       view([](FieldView& v) { v.panElapsed = 10, v.panDuration = 100; })},
      {"show ends", view([](FieldView& v) { v.transitionMode = 2, v.transitionElapsed = 90, v.transitionDuration = 100; }),
       16, view([](FieldView& v) { v.transitionMode = 0, v.transitionElapsed = 100, v.transitionDuration = 100; })},
      {"hide stays", view([](FieldView& v) { v.transitionMode = 1, v.transitionElapsed = 90, v.transitionDuration = 100; }),
       16, view([](FieldView& v) { v.transitionMode = 1, v.transitionElapsed = 100, v.transitionDuration = 100; })},
      {"shake once ends", view([](FieldView& v) { v.shakeElapsed = 90, v.shakeDuration = 100; }), 16,
       view([](FieldView& v) { v.shakeElapsed = 0, v.shakeDuration = 0; })},
      {"shake repeats", view([](FieldView& v) { v.shakeRepeat = 1, v.shakeElapsed = 90, v.shakeDuration = 100; }), 16,
       view([](FieldView& v) { v.shakeRepeat = 1, v.shakeElapsed = 0, v.shakeDuration = 100; })},
      {"shake at its end runs on", view([](FieldView& v) { v.shakeElapsed = 84, v.shakeDuration = 100; }), 16,
       view([](FieldView& v) { v.shakeElapsed = 100, v.shakeDuration = 100; })},
      {"flash once ends", view([](FieldView& v) { v.flashElapsed = 95, v.flashDuration = 100; }), 16,
       view([](FieldView& v) { v.flashElapsed = 0, v.flashDuration = 0; })},
      {"flash repeats", view([](FieldView& v) { v.flashRepeat = 1, v.flashElapsed = 95, v.flashDuration = 100; }), 16,
       view([](FieldView& v) { v.flashRepeat = 1, v.flashElapsed = 0, v.flashDuration = 100; })},
      {"flash stopped", view([](FieldView& v) { v.flashElapsed = 5, v.flashDuration = 0; }), 16,
       view([](FieldView& v) { v.flashElapsed = 5, v.flashDuration = 0; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FieldView v = c.before;
    AdvanceViewTimers(v, c.elapsed);
    EXPECT_EQ(v.panElapsed, c.after.panElapsed);
    EXPECT_EQ(v.transitionMode, c.after.transitionMode);
    EXPECT_EQ(v.transitionElapsed, c.after.transitionElapsed);
    EXPECT_EQ(v.shakeElapsed, c.after.shakeElapsed);
    EXPECT_EQ(v.shakeDuration, c.after.shakeDuration);
    EXPECT_EQ(v.flashElapsed, c.after.flashElapsed);
    EXPECT_EQ(v.flashDuration, c.after.flashDuration);
  }
}

TEST_F(FieldSystemTest, ViewTimersRunOnlyForLiveViewFields) {
  const std::int32_t view = AddField({}, 6);
  const std::int32_t still = AddField({}, 6, 0);
  const std::int32_t text = AddField({}, 0);
  for (std::int32_t f : {view, still, text}) F(f).view.flashDuration = 100;
  Pass(16);
  EXPECT_EQ(F(view).view.flashElapsed, 16);
  EXPECT_EQ(F(still).view.flashElapsed, 0);
  EXPECT_EQ(F(text).view.flashElapsed, 0);
}

// List items: the copies a list field spawns and the dormant spares that
// earlier copies became.
class ListItemsTest : public FieldSystemTest {
 protected:
  struct Item {
    std::u16string name;
    float x, y;
    bool operator==(const Item&) const = default;
  };
  // The live copies that the field spawned, in list order.
  std::vector<Item> Items(std::int32_t list) {
    std::vector<Item> items;
    for (Field& f : M().fields)
      if (f.spawner == list && FieldDormant(f) == 0) items.push_back(Item{f.name, f.x, f.y});
    return items;
  }
  // Copies that were retired into dormant spares.
  std::int32_t Spares() {
    std::int32_t n = 0;
    for (Field& f : M().fields) n += f.spawner == -1 && FieldDormant(f) == 1 && f.name.empty() ? 1 : 0;
    return n;
  }
};

TEST_F(ListItemsTest, TheSameTextsSpawnNothingAndOneMoreRespawnsEveryItem) {
  AddField({});  // a field before the list
  const std::int32_t list = AddField({{kValueScriptListItems, u"ReturnItems()"}});
  F(list).x = 10.5f;  // nearest: 10
  F(list).y = 21.5f;  // nearest: 22
  FieldItemWidth(F(list)) = 100;
  FieldItemHeight(F(list)) = 30;
  FieldItemColumns(F(list)) = 2;
  items_ = {u"a", u"b"};
  Pass(16);
  EXPECT_EQ(Items(list), (std::vector<Item>{{u"a", 10, 22}, {u"b", 110, 22}}));
  EXPECT_EQ(FieldItemCount(F(list)), 2);
  EXPECT_EQ(F(list + 1).name, u"a") << "item 0 lies directly behind the list field";
  EXPECT_EQ(F(list + 2).name, u"b");
  EXPECT_EQ(Spares(), 0);

  const std::size_t fields = M().fields.size();
  Pass(16);
  EXPECT_EQ(M().fields.size(), fields) << "the same texts spawn nothing";
  EXPECT_EQ(Spares(), 0);

  items_ = {u"a", u"b", u"c"};
  Pass(16);
  EXPECT_EQ(Items(list), (std::vector<Item>{{u"a", 10, 22}, {u"b", 110, 22}, {u"c", 10, 52}}));
  EXPECT_EQ(Spares(), 2) << "the earlier copies retire";
  EXPECT_EQ(FieldItemCount(F(list)), 3);
  EXPECT_EQ(F(list + 3).name, u"c");

  items_ = {u"a", u"x", u"c"};
  Pass(16);
  EXPECT_EQ(Items(list), (std::vector<Item>{{u"a", 10, 22}, {u"x", 110, 22}, {u"c", 10, 52}}));
  EXPECT_EQ(Spares(), 5) << "a changed text respawns every item";
}

TEST_F(ListItemsTest, TheLoopFollowsTheListFieldWhenChildCopiesMoveIt) {
  // A child of the list field lies in front of it: every item copies the
  // child right behind the child, which moves the list field up by one.
  const std::int32_t child = AddField({});
  const std::int32_t list = AddField({{kValueScriptListItems, u"ReturnItems()"}});
  const std::int32_t after = AddField({{kValueScriptValue, u"Mark(7)\r\nReturn(1)"}});
  F(child).parent = list;
  items_ = {u"a", u"b"};
  Pass(16);
  EXPECT_EQ(FieldItemCount(F(list + 2)), 2) << "the count lands on the moved list field";
  EXPECT_EQ(FieldItemCount(F(list)), 0);
  // The two items and the two copies of the child all name the moved list field.
  EXPECT_EQ(Items(list + 2).size(), 4u);
  EXPECT_EQ(MarkNumbers(), (std::vector<std::int32_t>{7})) << "the field after the list is visited once";
  EXPECT_TRUE(F(after + 4).value1 == Variant::Double(1));
}

// Mend: fewer than one column would divide by zero; the items stand in one column.
TEST_F(ListItemsTest, ColumnsBelowOnePlaceItemsInOneColumn) {
  for (std::int32_t columns : {0, -3}) {
    SCOPED_TRACE(columns);
    M().fields.clear();
    const std::int32_t list = AddField({{kValueScriptListItems, u"ReturnItems()"}});
    FieldItemWidth(F(list)) = 100;
    FieldItemHeight(F(list)) = 30;
    FieldItemColumns(F(list)) = columns;
    items_ = {u"a", u"b"};
    Pass(16);
    EXPECT_EQ(Items(list), (std::vector<Item>{{u"a", 0, 0}, {u"b", 0, 30}}));
  }
}

TEST_F(ListItemsTest, AnEmptyOrNonArrayResultAndAHiddenListSpawnNothing) {
  AddField({{kValueScriptListItems, u"ReturnItems()"}});
  AddField({{kValueScriptListItems, u"Return(\"a\")"}});
  AddField({{kValueScriptListItems, u"ReturnItems()"}, {kValueScriptVisible, u"Return(0)"}});
  Pass(16);
  EXPECT_EQ(M().fields.size(), 3u);
  M().fields.clear();
  // A dormant list field still evaluates its visibility and its list.
  const std::int32_t dormant = AddField({{kValueScriptListItems, u"ReturnItems()"}});
  FieldDormant(F(dormant)) = 1;
  items_ = {u"z"};
  Pass(16);
  EXPECT_EQ(Items(dormant), (std::vector<Item>{{u"z", 0, 0}}));
}

}  // namespace
}  // namespace kiv
