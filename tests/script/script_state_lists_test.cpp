#include "script/script_state_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/symbol_table.h"
#include "script/script_globals.h"
#include "support/buffer_writer.h"

namespace kiv {
namespace {

using test::BufferWriter;

constexpr std::int32_t kCurrent = 100790;

class ScriptStateListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SymbolTableReset();
    scriptGlobals.Reset();
  }
  void TearDown() override { scriptGlobals.Reset(); }

  static ScriptTable3 Table(const std::u16string& name, std::int32_t lastX, std::int32_t lastY,
                            std::int32_t lastZ) {
    ScriptTable3 table;
    table.symbol = SymbolIntern(name);
    table.lastX = lastX;
    table.lastY = lastY;
    table.lastZ = lastZ;
    if (lastX >= 0 && lastY >= 0 && lastZ >= 0) {
      table.cells.resize(static_cast<std::size_t>((lastX + 1) * (lastY + 1) * (lastZ + 1)));
      for (std::int32_t x = 0; x <= lastX; ++x) {
        for (std::int32_t y = 0; y <= lastY; ++y) {
          for (std::int32_t z = 0; z <= lastZ; ++z) table.Cell(x, y, z) = Variant::Long(100 * x + 10 * y + z);
        }
      }
    }
    return table;
  }

  // Globals of every kind: text, number and array values, an empty and a full
  // collection, a 2x3x4 table and tables with negative bounds.
  static void FillGlobals() {
    scriptGlobals.variables = {
        {SymbolIntern(u"Gold"), Variant::Long(250)},
        {SymbolIntern(u"Hero"), Variant::Text(u"Ann")},
        {SymbolIntern(u"Path"), Variant::Array(kVarLong, {Variant::Long(3), Variant::Long(-4)})},
    };
    scriptGlobals.switches = {{SymbolIntern(u"DoorOpen"), -1}, {SymbolIntern(u"Night"), 0}};
    scriptGlobals.collections = {
        {SymbolIntern(u"Empty"), {}},
        {SymbolIntern(u"Bag"),
         {Variant::Text(u"rope"), Variant::Single(1.5f),
          Variant::Array(kVarVariant, {Variant::Text(u"a"), Variant::Long(7)})}},
    };
    scriptGlobals.tables = {Table(u"Grid", 1, 2, 3), Table(u"None", -1, -1, -1), Table(u"Mixed", 2, -1, 3),
                            Table(u"Odd", -5, 0, 0), Table(u"One", 0, 0, 0)};
  }

  static ByteList Write() {
    ByteList buffer;
    std::int32_t offset = 0;
    WriteScriptGlobalLists(buffer, offset);
    EXPECT_EQ(offset, static_cast<std::int32_t>(buffer.size()));
    return buffer;
  }

  static std::int32_t Read(const ByteList& buffer, std::int32_t version = kCurrent) {
    std::int32_t offset = 0;
    ReadScriptGlobalLists(buffer, offset, version);
    return offset;
  }
};

void ExpectSameGlobals(const ScriptGlobals& a, const ScriptGlobals& b) {
  ASSERT_EQ(a.variables.size(), b.variables.size());
  for (std::size_t i = 0; i < a.variables.size(); ++i) {
    EXPECT_EQ(a.variables[i].symbol, b.variables[i].symbol) << "variable " << i;
    EXPECT_EQ(a.variables[i].value, b.variables[i].value) << "variable " << i;
  }
  ASSERT_EQ(a.switches.size(), b.switches.size());
  for (std::size_t i = 0; i < a.switches.size(); ++i) {
    EXPECT_EQ(a.switches[i].symbol, b.switches[i].symbol) << "switch " << i;
    EXPECT_EQ(a.switches[i].state, b.switches[i].state) << "switch " << i;
  }
  ASSERT_EQ(a.collections.size(), b.collections.size());
  for (std::size_t i = 0; i < a.collections.size(); ++i) {
    EXPECT_EQ(a.collections[i].symbol, b.collections[i].symbol) << "collection " << i;
    EXPECT_EQ(a.collections[i].elements, b.collections[i].elements) << "collection " << i;
  }
  ASSERT_EQ(a.tables.size(), b.tables.size());
  for (std::size_t i = 0; i < a.tables.size(); ++i) {
    const ScriptTable3& p = a.tables[i];
    const ScriptTable3& q = b.tables[i];
    EXPECT_EQ(p.symbol, q.symbol) << "table " << i;
    EXPECT_EQ((std::vector<std::int32_t>{p.lastX, p.lastY, p.lastZ}),
              (std::vector<std::int32_t>{q.lastX, q.lastY, q.lastZ}))
        << "table " << i;
    EXPECT_EQ(p.cells, q.cells) << "table " << i;
  }
}

TEST_F(ScriptStateListsTest, AllFourListsRoundTripAndWriteTheSameBytesAgain) {
  FillGlobals();
  const ScriptGlobals original = scriptGlobals;
  const ByteList first = Write();

  scriptGlobals.Reset();
  EXPECT_EQ(Read(first), static_cast<std::int32_t>(first.size()));
  ExpectSameGlobals(scriptGlobals, original);
  EXPECT_EQ(Write(), first);
}

TEST_F(ScriptStateListsTest, TableCellsAreStoredWithTheFirstIndexOutermost) {
  scriptGlobals.tables = {Table(u"Grid", 1, 2, 3)};
  BufferWriter expected;
  expected.WriteLong(-1).WriteLong(-1).WriteLong(-1);  // no variables, switches or collections
  expected.WriteLong(0).WriteString(u"Grid").WriteLong(1).WriteLong(2).WriteLong(3);
  for (std::int32_t x = 0; x <= 1; ++x) {
    for (std::int32_t y = 0; y <= 2; ++y) {
      for (std::int32_t z = 0; z <= 3; ++z) expected.WriteVariant(Variant::Long(100 * x + 10 * y + z));
    }
  }
  EXPECT_EQ(Write(), expected.Bytes());

  // And the hand-built stream reads back into the same cells.
  scriptGlobals.Reset();
  EXPECT_EQ(Read(expected.Bytes()), expected.Size());
  ASSERT_EQ(scriptGlobals.tables.size(), 1u);
  ScriptTable3& table = scriptGlobals.tables[0];
  ASSERT_EQ(table.cells.size(), 24u);
  EXPECT_EQ(table.Cell(1, 0, 0), Variant::Long(100));
  EXPECT_EQ(table.Cell(0, 2, 0), Variant::Long(20));
  EXPECT_EQ(table.Cell(1, 2, 3), Variant::Long(123));
}

TEST_F(ScriptStateListsTest, TableWithANegativeBoundStoresOnlyItsBounds) {
  struct Case {
    std::int32_t lastX, lastY, lastZ;
  };
  for (const Case& c : {Case{-1, -1, -1}, Case{2, -1, 3}, Case{0, 0, -1}, Case{-5, 4, 4}}) {
    SCOPED_TRACE(std::to_string(c.lastX) + "," + std::to_string(c.lastY) + "," + std::to_string(c.lastZ));
    scriptGlobals.Reset();
    // The table is followed by one of a single cell, which must still read right.
    scriptGlobals.tables = {Table(u"Empty", c.lastX, c.lastY, c.lastZ), Table(u"One", 0, 0, 0)};
    const ByteList expected = BufferWriter()
                                  .WriteLong(-1)
                                  .WriteLong(-1)
                                  .WriteLong(-1)
                                  .WriteLong(1)
                                  .WriteString(u"Empty")
                                  .WriteLong(c.lastX)
                                  .WriteLong(c.lastY)
                                  .WriteLong(c.lastZ)
                                  .WriteString(u"One")
                                  .WriteLong(0)
                                  .WriteLong(0)
                                  .WriteLong(0)
                                  .WriteVariant(Variant::Long(0))
                                  .Bytes();
    EXPECT_EQ(Write(), expected);

    scriptGlobals.Reset();
    Read(expected);
    ASSERT_EQ(scriptGlobals.tables.size(), 2u);
    const ScriptTable3& empty = scriptGlobals.tables[0];
    EXPECT_EQ(empty.lastX, c.lastX);
    EXPECT_EQ(empty.lastY, c.lastY);
    EXPECT_EQ(empty.lastZ, c.lastZ);
    EXPECT_TRUE(empty.cells.empty());
    EXPECT_EQ(scriptGlobals.tables[1].cells, std::vector<Variant>{Variant::Long(0)});
  }
}

TEST_F(ScriptStateListsTest, TableMissingCellsIsWrittenWhole) {
  ScriptTable3 table;  // bounds 0, 0, 0 promise one cell it does not hold
  table.symbol = SymbolIntern(u"Bare");
  scriptGlobals.tables = {table};
  const ByteList bytes = Write();
  scriptGlobals.Reset();
  EXPECT_EQ(Read(bytes), static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(scriptGlobals.tables.at(0).cells, std::vector<Variant>{Variant()});
}

TEST_F(ScriptStateListsTest, StreamsOlderThanTablesEmptyTheTables) {
  FillGlobals();
  const ByteList stream = BufferWriter()
                              .WriteLong(-1)
                              .WriteLong(0)
                              .WriteString(u"Lamp")
                              .WriteInt16(-1)
                              .WriteLong(-1)
                              .WriteLong(12345)  // what follows the lists; not a table count
                              .Bytes();
  EXPECT_EQ(Read(stream, kFirstStoredTables - 1), static_cast<std::int32_t>(stream.size()) - 4);
  EXPECT_TRUE(scriptGlobals.variables.empty());
  ASSERT_EQ(scriptGlobals.switches.size(), 1u);
  EXPECT_EQ(SymbolName(scriptGlobals.switches[0].symbol), u"Lamp");
  EXPECT_TRUE(scriptGlobals.collections.empty());
  EXPECT_TRUE(scriptGlobals.tables.empty());
}

TEST_F(ScriptStateListsTest, TruncatedStreamRaisesAndLeavesTheGlobalsAsTheyWere) {
  FillGlobals();
  const ByteList full = Write();
  const ScriptGlobals before = scriptGlobals;
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    const ByteList part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    try {
      Read(part);
      ADD_FAILURE() << "no error at cut " << cut;
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrData) << "cut " << cut;
    }
  }
  ExpectSameGlobals(scriptGlobals, before);
}

TEST_F(ScriptStateListsTest, CountsBeyondTheBytesLeftRaiseBeforeAllocating) {
  struct Case {
    const char* name;
    ByteList stream;
  };
  const std::vector<Case> cases = {
      {"variables", BufferWriter().WriteLong(0x7FFFFFFE).WriteLong(0).Bytes()},
      {"switches", BufferWriter().WriteLong(-1).WriteLong(0x10000000).WriteString(u"S").Bytes()},
      {"collections", BufferWriter().WriteLong(-1).WriteLong(-1).WriteLong(0x7FFFFFFF).Bytes()},
      {"collection elements", BufferWriter()
                                  .WriteLong(-1)
                                  .WriteLong(-1)
                                  .WriteLong(0)
                                  .WriteString(u"C")
                                  .WriteLong(0x40000000)
                                  .Bytes()},
      {"tables", BufferWriter().WriteLong(-1).WriteLong(-1).WriteLong(-1).WriteLong(0x7FFFFFFF).Bytes()},
      // Each bound alone is small enough; their product is not.
      {"table cells", BufferWriter()
                          .WriteLong(-1)
                          .WriteLong(-1)
                          .WriteLong(-1)
                          .WriteLong(0)
                          .WriteString(u"T")
                          .WriteLong(0x7FFFFFFE)
                          .WriteLong(0x7FFFFFFE)
                          .WriteLong(0x7FFFFFFE)
                          .WriteVariant(Variant::Long(1))
                          .Bytes()},
      {"table cells one short", BufferWriter()
                                    .WriteLong(-1)
                                    .WriteLong(-1)
                                    .WriteLong(-1)
                                    .WriteLong(0)
                                    .WriteString(u"T")
                                    .WriteLong(0)
                                    .WriteLong(0)
                                    .WriteLong(1)
                                    .WriteVariant(Variant::Long(1))
                                    .Bytes()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Read(c.stream);
      ADD_FAILURE() << "no error";
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), kErrData);
    }
  }
}

}  // namespace
}  // namespace kiv
