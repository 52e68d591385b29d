// Field copies with their children, retirement into spares, and the field
// state from the selectable and disabled flags.
#include "world/field_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "data/script_record.h"
#include "script/timed_changes.h"
#include "support/world_builder.h"

namespace kiv {
namespace {

class FieldListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    timedChanges.clear();
    scriptTable.Reset();
  }
  void TearDown() override {
    timedChanges.clear();
    scriptTable.Reset();
  }
  Field& F(std::int32_t k, std::int32_t m = 0) { return gameData.maps[m].fields[static_cast<std::size_t>(k)]; }
  std::string Name(std::int32_t k, std::int32_t m = 0) { return Utf16ToUtf8(F(k, m).name); }
  // Fields f0..f8 of map 0; field 3 at (10, 10) with children at 4 (15, 20) and 7 (0, 4).
  void MakeFields() {
    gameData.maps[0].fields.resize(9);
    for (std::int32_t k = 0; k < 9; ++k) {
      F(k).name = Utf8ToUtf16("f" + std::to_string(k));
      F(k).x = static_cast<float>(k);
    }
    F(3).x = 10;
    F(3).y = 10;
    F(3).selectable = 1;
    F(4).parent = 3;
    F(4).x = 15;
    F(4).y = 20;
    F(7).parent = 3;
    F(7).x = 0;
    F(7).y = 4;
    F(8).parent = 7;
  }
  static Script ScriptWithStatic() {
    Script script;
    script.hasStatements = true;
    script.frameTemplate.statics.push_back(ScriptVariable{1, Variant::Long(7)});
    return script;
  }

  test::WorldBuilder w{3, 3, 1};
};

TEST_F(FieldListsTest, ACopyLandsBehindItsSourceAndEachChildCopyBehindItsChild) {
  MakeFields();
  TimedChange change;
  change.target = ScriptValue{kObjectField, Variant::Long(8), 0};
  timedChanges.push_back(change);
  EXPECT_EQ(InsertField(0, 0, 3, true, u"item", 100, 50), 3);

  const std::vector<std::string> names = {"f0", "f1", "f2", "f3", "item", "f4", "item f4", "f5", "f6", "f7", "item f7", "f8"};
  ASSERT_EQ(gameData.maps[0].fields.size(), names.size());
  for (std::size_t k = 0; k < names.size(); ++k) EXPECT_EQ(Name(static_cast<std::int32_t>(k)), names[k]) << k;
  EXPECT_EQ(F(4).spawner, 3);
  EXPECT_EQ(F(4).nonExistent, 0);
  EXPECT_FLOAT_EQ(F(4).x, 100);
  EXPECT_FLOAT_EQ(F(4).y, 50);
  // The children keep their parent (3 did not move); the copies get the item.
  EXPECT_EQ(F(5).parent, 3);
  EXPECT_EQ(F(9).parent, 3);
  EXPECT_EQ(F(11).parent, 9);  // f8 under f7, which moved from 7 to 9
  for (std::int32_t k : {6, 10}) {
    SCOPED_TRACE(k);
    EXPECT_EQ(F(k).parent, 4);
    EXPECT_EQ(F(k).spawner, 3);
    EXPECT_EQ(F(k).nonExistent, 0);
    EXPECT_EQ(F(k).Scrolls(), 1);  // the source's selectable flag
  }
  // Same offset from the copy as the child has from the source.
  EXPECT_FLOAT_EQ(F(6).x, 105);
  EXPECT_FLOAT_EQ(F(6).y, 60);
  EXPECT_FLOAT_EQ(F(10).x, 90);
  EXPECT_FLOAT_EQ(F(10).y, 44);
  EXPECT_EQ(timedChanges[0].target.value, Variant::Long(11));
}

TEST_F(FieldListsTest, AChildBeforeItsSourceMovesTheSourceAndTheCopy) {
  MakeFields();
  F(1).parent = 3;  // a child ahead of its parent
  EXPECT_EQ(InsertField(0, 0, 3, false, u"solo", 0, 0), 3);
  EXPECT_EQ(Name(4), "solo");
  gameData.maps[0].fields.erase(gameData.maps[0].fields.begin() + 4);
  EXPECT_EQ(InsertField(0, 0, 3, true, u"item", 0, 0), 4);
  EXPECT_EQ(Name(2), "item f1");
  EXPECT_EQ(Name(4), "f3");
  EXPECT_EQ(Name(5), "item");
  EXPECT_EQ(F(2).parent, 5);
  EXPECT_EQ(F(1).parent, 4);
}

TEST_F(FieldListsTest, ACopyIntoAnotherMapIsAppendedAndTheSourceStays) {
  MakeFields();
  const std::int32_t ui = gameData.maps.Append();
  gameData.maps[ui].fields.resize(2);
  EXPECT_EQ(InsertField(ui, 0, 3, true, u"item", 100, 50), 3);
  EXPECT_EQ(gameData.maps[0].fields.size(), 9u);
  ASSERT_EQ(gameData.maps[ui].fields.size(), 5u);
  EXPECT_EQ(Name(2, ui), "item");
  EXPECT_EQ(Name(3, ui), "item f4");
  EXPECT_EQ(Name(4, ui), "item f7");
  EXPECT_EQ(F(3, ui).parent, 2);
  EXPECT_EQ(F(4, ui).parent, 2);
}

TEST_F(FieldListsTest, TheCopyOwnsItsScriptsAndSpawnsNoItems) {
  MakeFields();
  Trigger trigger;
  trigger.script = ScriptWithStatic();
  RegisterScript(trigger.script);
  F(3).triggers.push_back(trigger);
  F(3).scripts[kFieldListScript] = ScriptWithStatic();
  F(3).scripts[0] = ScriptWithStatic();
  RegisterScript(F(3).scripts[kFieldListScript]);
  RegisterScript(F(3).scripts[0]);
  const std::size_t before = scriptTable.scripts.size();
  InsertField(0, 0, 3, false, u"item", 0, 0);
  EXPECT_EQ(scriptTable.scripts.size(), before + 2);  // trigger and value script 0, no list script
  EXPECT_FALSE(F(4).scripts[kFieldListScript].hasStatements);
  EXPECT_EQ(F(4).scripts[kFieldListScript].index, -1);
  const std::int32_t copyTrigger = F(4).triggers[0].script.index;
  ASSERT_NE(copyTrigger, F(3).triggers[0].script.index);
  scriptTable.scripts[static_cast<std::size_t>(copyTrigger)].frameTemplate.statics[0].value = Variant::Long(99);
  EXPECT_EQ(scriptTable.scripts[static_cast<std::size_t>(F(3).triggers[0].script.index)].frameTemplate.statics[0].value,
            Variant::Long(7));
}

TEST_F(FieldListsTest, OnlyACopyWithChildrenAppliesItsState) {
  MakeFields();
  F(3).appliedSelectable = 0;
  InsertField(0, 0, 3, false, u"a", 0, 0);
  EXPECT_EQ(F(4).appliedSelectable, 0);
  InsertField(0, 0, 3, true, u"b", 0, 0);
  EXPECT_EQ(Name(4), "b");
  EXPECT_EQ(F(4).appliedSelectable, 1);
}

TEST_F(FieldListsTest, UnspawningRetiresTheCopiesOnceAndKeepsTheListLength) {
  MakeFields();
  InsertField(0, 0, 3, true, u"item", 0, 0);
  gameData.maps[0].SelectedField() = 4;
  const std::size_t size = gameData.maps[0].fields.size();
  UnspawnChildFields(0, 3);
  EXPECT_EQ(gameData.maps[0].fields.size(), size);
  EXPECT_EQ(gameData.maps[0].SelectedField(), -1);
  for (std::int32_t k : {4, 6, 10}) {
    SCOPED_TRACE(k);
    EXPECT_EQ(Name(k), "");
    EXPECT_EQ(F(k).nonExistent, 1);
    EXPECT_EQ(F(k).noDraw, 1);
    EXPECT_EQ(F(k).spawner, -1);
    EXPECT_EQ(F(k).parent, -1);
    EXPECT_EQ(F(k).removeMark, k);  // spare tag
  }
  EXPECT_EQ(Name(3), "f3");
  F(4).removeMark = 77;
  F(4).x = 5;
  UnspawnChildFields(0, 3);
  EXPECT_EQ(F(4).removeMark, 77);
  EXPECT_FLOAT_EQ(F(4).x, 5);
}

TEST_F(FieldListsTest, StateFromSelectableAndDisabled) {
  struct Case {
    const char* what;
    bool selectableCall;
    std::uint8_t selectable, disabled, value;
    bool selected;
    std::uint8_t state;
  };
  const std::vector<Case> cases = {
      {"selectable on", true, 0, 0, 1, false, kFieldSelectable},
      {"selectable on, the selected field", true, 0, 0, 1, true, kFieldSelected},
      {"selectable off", true, 1, 0, 0, false, kFieldPlain},
      {"selectable on while disabled keeps disabled", true, 0, 1, 1, false, kFieldDisabled},
      {"disable", false, 1, 0, 1, false, kFieldDisabled},
      {"enable a selectable field", false, 1, 1, 0, false, kFieldSelectable},
      {"enable the selected field", false, 1, 1, 0, true, kFieldSelected},
      {"enable a field that is not selectable", false, 0, 1, 0, false, kFieldPlain},
  };
  gameData.maps[0].fields.resize(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    F(1) = Field();
    F(1).selectable = c.selectable;
    F(1).disabled = c.disabled;
    F(1).state = c.disabled != 0 ? kFieldDisabled : kFieldPlain;
    gameData.maps[0].SelectedField() = c.selected ? 1 : 0;
    if (c.selectableCall) {
      SetFieldSelectable(0, 1, c.value);
      EXPECT_EQ(F(1).selectable, c.value);
    } else {
      SetFieldDisabled(0, 1, c.value);
      EXPECT_EQ(F(1).disabled, c.value);
    }
    EXPECT_EQ(F(1).state, c.state);
    EXPECT_EQ(F(1).appliedSelectable, F(1).selectable);  // the state was applied
  }
  SetFieldDisabled(0, 5, 1);  // outside the list: nothing
  SetFieldSelectable(3, 0, 1);
}

// A list's items spawned as blocks end exactly as one insertion at a time
// would leave them: the fields in order, their names, places, parents,
// spawners and states, the references into the list, and the scripts.
TEST_F(FieldListsTest, ListItemsSpawnedAsBlocksMatchOneAtATime) {
  struct Outcome {
    std::vector<std::string> names;
    std::vector<std::int32_t> parents, spawners, states, applied;
    std::vector<float> xs, ys;
    std::int32_t selected = 0, further = 0, timedTarget = 0, listField = 0;
    std::size_t scripts = 0;
    bool operator==(const Outcome&) const = default;
  };
  const std::vector<ListItemPlace> items{{u"a", 100, 50}, {u"b", 100, 70}, {u"c", 100, 90}};
  const auto run = [&](bool blocks) {
    SetUp();
    gameData.maps[0].fields.clear();
    MakeFields();
    F(1).parent = 3;  // a child before the list field
    F(6).parent = 5;  // a reference to the slot behind child 4
    F(4).state = 2;   // differs from the list field's state
    F(4).scripts[0] = ScriptWithStatic();
    gameData.maps[0].SelectedField() = 5;
    gameData.maps[0].FurtherField() = 8;
    TimedChange change;
    change.target = ScriptValue{kObjectField, Variant::Long(4), 0};
    timedChanges.push_back(change);
    std::int32_t field = 3;
    if (blocks) {
      field = SpawnListItems(0, 3, items);
    } else {
      for (std::size_t i = items.size(); i-- > 0;)
        field = InsertField(0, 0, field, true, items[i].name, items[i].x, items[i].y);
    }
    Outcome out;
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(gameData.maps[0].fields.size()); ++k) {
      out.names.push_back(Name(k));
      out.parents.push_back(F(k).parent);
      out.spawners.push_back(F(k).spawner);
      out.states.push_back(F(k).state);
      out.applied.push_back(F(k).appliedSelectable);
      out.xs.push_back(F(k).x);
      out.ys.push_back(F(k).y);
    }
    out.selected = gameData.maps[0].SelectedField();
    out.further = gameData.maps[0].FurtherField();
    out.timedTarget = timedChanges.at(0).target.value.AsLong();
    out.listField = field;
    out.scripts = scriptTable.scripts.size();
    return out;
  };
  const Outcome single = run(false);
  const Outcome blocks = run(true);
  EXPECT_EQ(single.names, blocks.names);
  EXPECT_EQ(single.parents, blocks.parents);
  // Every copy names the list field as its spawner. One at a time, the copies
  // of a child lying before the list field kept the field's index from before
  // that child's copy moved it, so unspawning missed them.
  for (std::size_t k = 0; k < blocks.spawners.size(); ++k)
    EXPECT_EQ(blocks.spawners[k], single.spawners[k] < 0 ? -1 : blocks.listField) << k;
  EXPECT_EQ(single.states, blocks.states);
  EXPECT_EQ(single.applied, blocks.applied);
  EXPECT_EQ(single.xs, blocks.xs);
  EXPECT_EQ(single.ys, blocks.ys);
  Outcome withoutSpawners = single;
  withoutSpawners.spawners = blocks.spawners;
  EXPECT_TRUE(withoutSpawners == blocks);
  // 9 fields, 3 items of 1 field and 3 children each.
  EXPECT_EQ(blocks.names.size(), 9u + 3u * 4u);
  EXPECT_EQ(blocks.listField, 6);
}

}  // namespace
}  // namespace kiv
