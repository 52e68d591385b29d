#include "data/actor_template.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "support/actor_template_writer.h"

namespace kiv {
namespace {

using test::ActorTemplateFixture;

Identifier Id(std::uint8_t fill) {
  Identifier id;
  IdFill(id, fill);
  return id;
}

class ActorTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    RegisterScriptIdentifiers();
    BuildObjectDefaults();
    scriptTable.Reset();
    gameData.Reset();
  }
  void TearDown() override {
    gameData.Reset();
    scriptTable.Reset();
  }

  const ActorTemplate& Read(const ActorTemplateFixture& fixture) {
    gameData.actorTemplates.assign(1, ActorTemplate());
    ReadActorTemplate(test::ActorTemplateFileBytes(fixture), 0, false);
    return gameData.actorTemplates[0];
  }

  static ActorTemplateFixture Fixture(std::int32_t version) {
    ActorTemplateFixture f;
    f.version = version;
    f.id = Id(0x40);
    f.derived = objectDefaults.actor;
    f.derived.name = u"Derived";
    f.base = objectDefaults.actor;
    f.base.name = u"Base";
    f.base.templateId = Id(0x41);  // never kept in the base record
    return f;
  }
};

TEST_F(ActorTemplateTest, ReadsBothRecords) {
  ActorTemplateFixture f = Fixture(100790);
  f.derived.templateId = Id(0x42);
  const ActorTemplate& t = Read(f);
  EXPECT_EQ(t.id, Id(0x40));
  EXPECT_EQ(t.name, u"Guard");
  EXPECT_EQ(t.displayName, u"Guard display");
  EXPECT_EQ(t.kind, u"People");
  EXPECT_EQ(t.mergeFlag, 0);
  EXPECT_EQ(t.baseFlag, 0);
  EXPECT_EQ(t.deferFlag, 1);
  EXPECT_EQ(t.derivedRecord.name, u"Derived");
  EXPECT_EQ(t.derivedRecord.templateId, Id(0x42));
  EXPECT_EQ(t.baseRecord.name, u"Base");
  EXPECT_EQ(t.baseRecord.templateIndex, -1);
  EXPECT_TRUE(IdIsEmpty(t.baseRecord.templateId));
  EXPECT_FALSE(t.applied);
}

TEST_F(ActorTemplateTest, OlderLayouts) {
  struct Case {
    std::int32_t version;
    std::u16string displayName;
    std::uint8_t merge, base, defer;
    bool derivedStored;
  };
  const Case cases[] = {
      {100614, u"Guard", 1, 1, 0, false},        {100615, u"Guard", 1, 1, 0, true},
      {100616, u"Guard", 0, 1, 0, true},         {100634, u"Guard display", 0, 1, 0, true},
      {100644, u"Guard display", 0, 0, 0, true}, {100655, u"Guard display", 0, 0, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    const ActorTemplate& t = Read(Fixture(c.version));
    EXPECT_EQ(t.displayName, c.displayName);
    EXPECT_EQ(t.mergeFlag, c.merge);
    EXPECT_EQ(t.baseFlag, c.base);
    EXPECT_EQ(t.deferFlag, c.defer);
    EXPECT_EQ(t.kind, u"");
    EXPECT_EQ(t.derivedRecord.name, c.derivedStored ? u"Derived" : objectDefaults.actor.name);
    EXPECT_EQ(t.baseRecord.name, u"Base");
  }
}

TEST_F(ActorTemplateTest, OrphansOfOlderFilesInheritFromTheBaseTemplate) {
  struct Case {
    const char* name;
    std::int32_t version;
    Identifier own, parent;
    Identifier expectedParent;
    std::int32_t expectedIndex;
  };
  const Case cases[] = {
      {"orphan before 100645", 100644, Id(0x40), Identifier(), Id(5), -2},
      {"the base template itself", 100644, Id(5), Identifier(), Identifier(), -1},
      {"with a parent", 100644, Id(0x40), Id(0x42), Id(0x42), -1},
      {"orphan from 100645", 100645, Id(0x40), Identifier(), Identifier(), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ActorTemplateFixture f = Fixture(c.version);
    f.id = c.own;
    f.derived.templateId = c.parent;
    const ActorTemplate& t = Read(f);
    EXPECT_EQ(t.derivedRecord.templateId, c.expectedParent);
    if (c.expectedIndex == -2) {
      EXPECT_EQ(t.derivedRecord.templateIndex, -2);
    }
  }
  EXPECT_EQ(BaseTemplateId(), Id(5));
}

TEST_F(ActorTemplateTest, DamagedFiles) {
  const ByteList bytes = test::ActorTemplateFileBytes(Fixture(100737));
  for (std::size_t size = 25; size < bytes.size(); size += 23) {
    gameData.actorTemplates.assign(1, ActorTemplate());
    EXPECT_THROW(ReadActorTemplate(ByteList(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)),
                                   0, false),
                 KivError);
  }
}

}  // namespace
}  // namespace kiv
