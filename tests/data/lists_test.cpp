#include "data/lists.h"

#include <gtest/gtest.h>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "support/list_writer.h"

namespace kiv {
namespace {

using test::ScriptFixture;
using test::TriggerFixture;

class ListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    scriptTable.Reset();
    dataHooks.Reset();
  }
  void TearDown() override {
    dataHooks.Reset();
    scriptTable.Reset();
  }

  static ScriptFixture ScriptWithStatement() {
    ScriptFixture s;
    test::ScriptStatementFixture statement;
    statement.tokens = {{2, Variant::Text(u"Kill"), {}}};
    s.statements = {statement};
    s.hasStatements = true;
    return s;
  }

  std::vector<Trigger> ReadEvents(std::int32_t version, bool savedState,
                                  const std::vector<TriggerFixture>& triggers) {
    ByteList bytes;
    std::int32_t end = 0;
    test::WriteEventListFixture(bytes, end, version, savedState, triggers);
    std::int32_t offset = 0;
    std::vector<Trigger> list;
    ReadEventList(bytes, offset, version, list, savedState, 1);
    EXPECT_EQ(offset, end);
    return list;
  }
};

TEST_F(ListsTest, PropertyListsInternNamesOnce) {
  ByteList bytes;
  std::int32_t end = 0;
  test::WritePropertyListFixture(bytes, end,
                                 {{u"Actor", Variant::Long(5)}, {u"NewWord", Variant::Text(u"v")}});
  for (int pass = 0; pass < 2; ++pass) {
    std::int32_t offset = 0;
    std::vector<ScriptVariable> list;
    ReadPropertyList(bytes, offset, list);
    EXPECT_EQ(offset, end);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].symbol, 1);
    EXPECT_EQ(list[0].value, Variant::Long(5));
    EXPECT_EQ(list[1].symbol, 716);  // appended once, the same number the second time
    EXPECT_EQ(list[1].value, Variant::Text(u"v"));
    EXPECT_EQ(SymbolCount(), 717);
  }
  // Round trip through the writer.
  std::int32_t offset = 0;
  std::vector<ScriptVariable> list;
  ReadPropertyList(bytes, offset, list);
  ByteList out;
  std::int32_t at = 0;
  WritePropertyList(out, at, list);
  out.resize(static_cast<std::size_t>(at));
  EXPECT_EQ(out, ByteList(bytes.begin(), bytes.begin() + end));
}

TEST_F(ListsTest, EmptyListsReadFourBytesAndLeaveTheHolder) {
  ByteList bytes;
  std::int32_t end = 0;
  BufferWriteLong(bytes, -1, end);
  std::int32_t offset = 0;
  std::vector<Trigger> triggers(1);
  ReadEventList(bytes, offset, 100790, triggers, false, 1);
  EXPECT_EQ(offset, 4);
  EXPECT_EQ(triggers.size(), 1u);
  offset = 0;
  std::vector<ScriptVariable> properties(2);
  ReadPropertyList(bytes, offset, properties);
  EXPECT_EQ(properties.size(), 2u);
}

TEST_F(ListsTest, MouseTriggersOfOldFilesGetTheEffectPrefix) {
  const struct {
    std::int32_t version;
    const char16_t* event;
    std::vector<std::u16string> parameters;
    std::u16string expected;
  } cases[] = {
      {100730, u"Trigger.Zone.MouseEnter", {u"a", u"\"Glow\""}, u"\"Effect Glow\""},
      {100730, u"Trigger.Actor.MouseDown", {u"a", u"\"Glow\"", u"c"}, u"\"Effect Glow\""},
      {100730, u"Trigger.Field.MouseUp", {u"a", u"\"Glow\""}, u"\"Effect Glow\""},
      {100731, u"Trigger.Zone.MouseEnter", {u"a", u"\"Glow\""}, u"\"Glow\""},
      {100730, u"Trigger.Zone.TouchedActor", {u"a", u"\"Glow\""}, u"\"Glow\""},
      {100730, u"Trigger.Zone.MouseEnter", {u"a", u"Glow"}, u"Glow"},
      {100730, u"Trigger.Zone.MouseEnter", {u"a", u"\"G\"l\""}, u"\"G\"l\""},
  };
  for (const auto& c : cases) {
    const auto list = ReadEvents(c.version, false, {{c.event, c.parameters, ScriptFixture()}});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].parameters[1], c.expected) << c.version;
  }
  // One parameter only: nothing to change.
  const auto single =
      ReadEvents(100730, false, {{u"Trigger.Zone.MouseEnter", {u"\"Glow\""}, ScriptFixture()}});
  EXPECT_EQ(single[0].parameters[0], u"\"Glow\"");
}

TEST_F(ListsTest, SavedTriggersCarryParametersFrom100673) {
  const TriggerFixture trigger{u"Trigger.Actor.Killed", {u"p1", u"p2"}, ScriptFixture()};
  EXPECT_TRUE(ReadEvents(100672, true, {trigger})[0].parameters.empty());
  EXPECT_EQ(ReadEvents(100672, false, {trigger})[0].parameters.size(), 2u);
  EXPECT_EQ(ReadEvents(100673, true, {trigger})[0].parameters.size(), 2u);
}

TEST_F(ListsTest, TriggersAreRebuiltCompiledAndRegistered) {
  int built = 0, compiled = 0;
  dataHooks.BuildTriggerConditions = [&](Trigger& trigger) {
    ++built;
    if (trigger.parameters.size() == 1) trigger.script.recompile = true;
  };
  dataHooks.CompileScript = [&](Script& script) {
    ++compiled;
    script.recompile = false;
    script.statements.resize(1);
    script.hasStatements = true;
  };
  const auto list = ReadEvents(100790, false,
                               {{u"Trigger.Actor.Killed", {}, ScriptWithStatement()},
                                {u"Trigger.Actor.Killed", {u"x"}, ScriptFixture()},
                                {u"Trigger.Actor.Died", {}, ScriptFixture()}});
  EXPECT_EQ(built, 3);
  EXPECT_EQ(compiled, 1);
  EXPECT_EQ(list[0].event, SymbolIntern(u"Trigger.Actor.Killed"));
  EXPECT_EQ(list[2].event, 716);  // not a fixed name
  EXPECT_EQ(list[0].script.index, 0);
  EXPECT_EQ(list[1].script.index, 1);
  EXPECT_EQ(list[2].script.index, -1);
  EXPECT_EQ(scriptTable.scripts.size(), 2u);
}

TEST_F(ListsTest, FrameGroupsReadCellSizesFrom100775) {
  test::FrameFixture frame;
  for (int i = 0; i < 5; ++i) frame.values[i] = i + 1;
  frame.texture[2] = 0.5f;
  frame.extra[1] = 0xDEADBEEF;
  test::FrameGroupFixture group{{frame, frame}, 16, 24};
  for (std::int32_t version : {100774, 100775}) {
    ByteList bytes;
    std::int32_t end = 0;
    test::WriteImageFrameListsFixture(bytes, end, version, {}, {group});
    std::int32_t offset = 0;
    ImageFrameLists holder;
    ReadImageFrameLists(bytes, offset, version, holder);
    EXPECT_EQ(offset, end);
    ASSERT_EQ(holder.frameGroups.size(), 1u);
    const FrameGroup& g = holder.frameGroups[0];
    ASSERT_EQ(g.frames.size(), 2u);
    EXPECT_EQ(g.frames[1].x, 2);
    EXPECT_EQ(g.frames[1].height, 5);
    EXPECT_EQ(g.frames[1].textureRight, 0.5f);
    EXPECT_EQ(g.frames[1].extra2, 0xDEADBEEFu);
    EXPECT_EQ(g.cellWidth, version >= 100775 ? 16 : 0);
    EXPECT_EQ(g.cellHeight, version >= 100775 ? 24 : 0);
  }
}

TEST_F(ListsTest, ImagesAreReadWithTheResourceCodec) {
  EmbeddedResource image = EmptyImageSource();
  image.mode = 1;
  image.fileBytes = {1, 2, 3};
  ByteList bytes;
  std::int32_t end = 0;
  test::WriteImageFrameListsFixture(bytes, end, 100790, {image, image}, {});
  std::int32_t offset = 0;
  ImageFrameLists holder;
  ReadImageFrameLists(bytes, offset, 100790, holder);
  EXPECT_EQ(offset, end);
  ASSERT_EQ(holder.images.size(), 2u);
  EXPECT_EQ(holder.images[1].fileBytes, image.fileBytes);
}

TEST_F(ListsTest, AttachmentsOfOldFilesTakeDefaults) {
  test::AttachmentFixture a;
  IdFill(a.spriteSetId, 9);
  a.a = 1;
  a.b = 2;
  a.c = 3;
  a.f = 4;
  a.g = 5;
  a.e = 6;
  a.color = 0xFF112233;
  a.d = 7;
  for (std::int32_t version : {100637, 100638}) {
    ByteList bytes;
    std::int32_t end = 0;
    test::WriteAttachmentListFixture(bytes, end, version, {a, a});
    std::int32_t offset = 0;
    std::vector<Attachment> list;
    ReadAttachmentList(bytes, list, offset, version);
    EXPECT_EQ(offset, end);
    ASSERT_EQ(list.size(), 2u);
    for (const Attachment& got : list) {
      EXPECT_EQ(got.spriteSet, -2);
      EXPECT_EQ(got.spriteSetId, a.spriteSetId);
      EXPECT_EQ(got.valueC, 3);
      EXPECT_EQ(got.byteF, 4);
      EXPECT_EQ(got.byteG, 5);
      EXPECT_EQ(got.byteE, version >= 100638 ? 6 : 0);
      EXPECT_EQ(got.color, version >= 100638 ? 0xFF112233u : 0x22000000u);
      EXPECT_EQ(got.valueD, version >= 100638 ? 7 : 0);
    }
  }
}

TEST_F(ListsTest, TemplateFlagTablesFollowTheHoldersGate) {
  Identifier id;
  IdFill(id, 3);
  ByteList bytes;
  std::int32_t end = 0;
  test::WriteTemplateFlagTableFixture(bytes, end, {{id, 1}, {id, 0}});
  std::vector<TemplateFlag> table;
  std::int32_t offset = 0;
  ReadTemplateFlagTable(bytes, offset, 100705, table, 100705);
  EXPECT_EQ(offset, end);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].flag, 1);
  offset = 0;
  ReadTemplateFlagTable(bytes, offset, 100704, table, 100705);
  EXPECT_EQ(offset, 0);
  EXPECT_TRUE(table.empty());
  ByteList negative;
  std::int32_t at = 0;
  BufferWriteLong(negative, -5, at);
  offset = 0;
  ReadTemplateFlagTable(negative, offset, 100790, table, 0);
  EXPECT_TRUE(table.empty());
}

TEST_F(ListsTest, ListCountsBeyondTheDataAreErrors) {
  ByteList bytes;
  std::int32_t end = 0;
  BufferWriteLong(bytes, 1000000, end);
  BufferWriteLong(bytes, 0, end);
  std::int32_t offset = 0;
  std::vector<Trigger> triggers;
  EXPECT_THROW(ReadEventList(bytes, offset, 100790, triggers, false, 1), KivError);
  offset = 0;
  std::vector<Attachment> attachments;
  EXPECT_THROW(ReadAttachmentList(bytes, attachments, offset, 100790), KivError);
  offset = 0;
  ImageFrameLists holder;
  EXPECT_THROW(ReadImageFrameLists(bytes, offset, 100790, holder), KivError);
}

TEST_F(ListsTest, AddTriggerFromScriptReusesMatchingTriggers) {
  std::vector<Trigger> list;
  Script empty;
  AddTriggerFromScript(list, empty, 542, false, {u"a"});
  EXPECT_TRUE(list.empty());
  AddTriggerFromScript(list, empty, 542, true, {u"a"});
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(list[0].script.recompile);

  Script full;
  full.hasStatements = true;
  full.statements.resize(1);
  full.text = u"first";
  AddTriggerFromScript(list, full, 542, false, {u"a"});
  full.text = u"second";
  AddTriggerFromScript(list, full, 542, false, {u"a"});
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].script.text, u"second");
  AddTriggerFromScript(list, full, 542, false, {u"b"});
  AddTriggerFromScript(list, full, 543, false, {});
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[2].parameters.empty());
  // A trigger whose parameters begin with the given ones is reused.
  AddTriggerFromScript(list, full, 542, false, {});
  EXPECT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].parameters.empty());
  EXPECT_EQ(scriptTable.scripts.size(), 0u);  // never registered here
}

}  // namespace
}  // namespace kiv
