#include "data/input_set.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/custom_event.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "media/controls_table.h"
#include "support/set_writers.h"
#include "support/sprite_set_writer.h"

namespace kiv {
namespace {

using test::InputEntryFixture;
using test::InputSetFixture;

class InputSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    gameData.Reset();
    controls.clear();
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
    controls.clear();
  }

  const InputSet& Read(const InputSetFixture& fixture) {
    gameData.inputSets.assign(1, InputSet());
    ReadInputSet(test::InputSetFileBytes(fixture), 0);
    return gameData.inputSets[0];
  }
  const CustomEvent& ReadEvent(const test::CustomEventFixture& fixture) {
    gameData.customEvents.assign(1, CustomEvent());
    ReadCustomEvent(test::CustomEventFileBytes(fixture), 0);
    return gameData.customEvents[0];
  }
};

Identifier Id(std::uint8_t fill) {
  Identifier id;
  IdFill(id, fill);
  return id;
}

InputEntryFixture Entry(std::vector<test::InputStepFixture> steps) {
  InputEntryFixture entry;
  entry.script = test::LongEmptyScript();
  entry.steps = std::move(steps);
  return entry;
}

TEST_F(InputSetTest, StepsAreResolvedAgainstTheControls) {
  controls.resize(3);
  controls[0].id = Id(0x10);
  controls[1].id = Id(0x11);
  controls[2].id = Id(0x11);  // the first with the identifier wins
  InputSetFixture f;
  f.alwaysOn = 1;
  f.entries = {Entry({{1, Id(0x11), 0}, {1, Id(0x99), 0}, {1, Identifier(), 0}, {4, Identifier(), 37}}),
               Entry({})};
  f.entries[0].script = test::LongScriptWithStatement();
  const InputSet& set = Read(f);
  EXPECT_EQ(set.name, u"Keys");
  EXPECT_EQ(set.displayName, u"Keys display");
  EXPECT_EQ(set.kind, u"Movement");
  EXPECT_EQ(set.alwaysOn, 1);
  ASSERT_EQ(set.entries.size(), 2u);
  const auto& steps = set.entries[0].steps;
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].value, 1);
  EXPECT_EQ(steps[0].controlId, Id(0x11));
  EXPECT_EQ(steps[1].value, -2);
  EXPECT_EQ(steps[2].value, -2);  // an empty identifier names no control
  EXPECT_EQ(steps[3].value, 37);
  EXPECT_GE(set.entries[0].script.index, 0);  // registered
  EXPECT_EQ(scriptTable.scripts.size(), 1u);
}

TEST_F(InputSetTest, DerivedEntryFlags) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> stepFlags;
    bool noControl, kind4;
  };
  const Case cases[] = {
      {"no steps", {}, true, false},        {"control step with bit 4", {5}, false, false},
      {"kind 4 step", {4}, true, true},     {"control and kind 4 steps", {4, 1}, false, true},
      {"other steps", {2, 8}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<test::InputStepFixture> steps;
    for (std::int32_t flags : c.stepFlags) steps.push_back({flags, Identifier(), 0});
    InputSetFixture f;
    f.entries = {Entry(steps)};
    const InputEntry& entry = Read(f).entries[0];
    EXPECT_EQ(entry.noControl, c.noControl);
    EXPECT_EQ(entry.kind4, c.kind4);
  }
}

TEST_F(InputSetTest, OlderInputSets) {
  struct Case {
    std::int32_t version;
    std::u16string displayName, kind;
    std::uint8_t alwaysOn;
  };
  for (const Case& c :
       {Case{100628, u"Keys", u"", 0}, Case{100751, u"Keys display", u"", 0},
        Case{100752, u"Keys display", u"", 1}, Case{100776, u"Keys display", u"Movement", 1}}) {
    SCOPED_TRACE(c.version);
    InputSetFixture f;
    f.version = c.version;
    f.alwaysOn = 1;
    f.entries = {Entry({{2, Identifier(), 5}})};
    const InputSet& set = Read(f);
    EXPECT_EQ(set.displayName, c.displayName);
    EXPECT_EQ(set.kind, c.kind);
    EXPECT_EQ(set.alwaysOn, c.alwaysOn);
    EXPECT_EQ(set.entries[0].steps[0].value, 5);
  }
}

TEST_F(InputSetTest, CustomEventSymbolParametersAndScript) {
  test::CustomEventFixture f;
  f.name = u"Hit";
  f.value = 4;
  f.script = test::LongScriptWithStatement();
  f.parameters = {{u"Damage", u"NUMBER"}, {u"Source", u"ACTOR"}};
  const CustomEvent& event = ReadEvent(f);
  EXPECT_EQ(SymbolName(event.eventSymbol), u"Custom.Hit");
  EXPECT_EQ(event.text2, u"second");
  EXPECT_EQ(event.value, 4);
  EXPECT_EQ(event.kind, u"Combat");
  ASSERT_EQ(event.parameters.size(), 2u);
  EXPECT_EQ(event.parameters[1].type, u"ACTOR");
  const auto& variables = event.script.frameTemplate.parameters;
  ASSERT_EQ(variables.size(), 2u);
  EXPECT_EQ(SymbolName(variables[0].symbol), u"Damage");
  EXPECT_EQ(SymbolName(variables[1].symbol), u"Source");
  // The script table runs the linked copy, parameters included.
  ASSERT_GE(event.script.index, 0);
  const Script& registered = scriptTable.scripts[static_cast<std::size_t>(event.script.index)];
  ASSERT_EQ(registered.frameTemplate.parameters.size(), 2u);
  EXPECT_EQ(registered.frameTemplate.parameters[1].symbol, variables[1].symbol);
}

TEST_F(InputSetTest, CustomEventParameterTypesAreBroughtUpToDate) {
  struct Case {
    std::int32_t version;
    std::u16string stored, expected;
  };
  const Case cases[] = {
      {100588, u"ENUM:MAGIC", u"ENUM:ITEMMAGIC"},
      {100588, u"ENUM:ITEM", u"ENUM:ITEMMAGIC"},
      {100589, u"ENUM:MAGIC", u"ENUM:MAGIC"},
      {100702, u"GATES", u"GATES:2;2;25"},
      {100703, u"GATES", u"GATES"},
      {100733, u"CHARTEXTURE", u"SPRITE"},
      {100734, u"CHARTEXTURE", u"CHARTEXTURE"},
      {100500, u"NUMBER", u"NUMBER"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    test::CustomEventFixture f;
    f.version = c.version;
    f.script = test::LongEmptyScript();
    f.parameters = {{u"P", c.stored}};
    const CustomEvent& event = ReadEvent(f);
    EXPECT_EQ(event.parameters[0].type, c.expected);
    EXPECT_EQ(event.text2, c.version >= 100736 ? u"second" : u"");
    EXPECT_EQ(event.kind, u"");
  }
}

TEST_F(InputSetTest, DamagedFiles) {
  InputSetFixture f;
  f.version = 100737;
  f.entries = {Entry({{1, Id(1), 0}, {4, Identifier(), 2}})};
  const ByteList bytes = test::InputSetFileBytes(f);
  for (std::size_t size = 25; size < bytes.size(); size += 5) {
    gameData.inputSets.assign(1, InputSet());
    EXPECT_THROW(ReadInputSet(ByteList(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)), 0),
                 KivError);
  }
  test::CustomEventFixture e;
  e.version = 100737;
  e.script = test::LongEmptyScript();
  e.parameters = {{u"A", u"B"}};
  const ByteList eventBytes = test::CustomEventFileBytes(e);
  for (std::size_t size = 25; size < eventBytes.size(); size += 5) {
    gameData.customEvents.assign(1, CustomEvent());
    EXPECT_THROW(ReadCustomEvent(
                     ByteList(eventBytes.begin(), eventBytes.begin() + static_cast<std::ptrdiff_t>(size)), 0),
                 KivError);
  }
}

}  // namespace
}  // namespace kiv
