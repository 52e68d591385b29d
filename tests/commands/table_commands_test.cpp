// The Table commands run from scripts over the table "grid".
#include "internal_commands_fixture.h"

namespace kiv::test {
namespace {

class Tables : public InternalCommandsTest {
 protected:
  // grid: w x h x d cells numbered x + 10 y + 100 z (1-based).
  ScriptTable3& Grid(std::int32_t w, std::int32_t h, std::int32_t d) {
    scriptGlobals.tables.clear();
    Table(u"grid", w, h, d);
    ScriptTable3& grid = scriptGlobals.tables[0];
    for (std::int32_t z = 0; z < d; ++z)
      for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) grid.Cell(x, y, z) = Variant::Long((x + 1) + 10 * (y + 1) + 100 * (z + 1));
    return grid;
  }
  ScriptTable3& Get() { return scriptGlobals.tables[0]; }
  // The cells x fastest, then y, then z.
  std::vector<Variant> Cells() { return Get().cells; }
  std::vector<std::int32_t> Sizes() { return {Get().lastX + 1, Get().lastY + 1, Get().lastZ + 1}; }
};

std::vector<Variant> Values(std::initializer_list<std::int32_t> values) { return Longs(values); }

struct Case {
  const char* what;
  std::array<std::int32_t, 3> start;  // the grid's sizes before
  const char16_t* script;
  Variant result;
  const char* error;
  std::vector<std::int32_t> sizes;  // afterwards; empty: unchanged
  std::vector<Variant> cells;       // afterwards; empty: unchanged
};

TEST_F(Tables, EdgeCasesAndMessages) {
  const Variant none;
  const Case cases[] = {
      {"clear keeps the sizes", {2, 1, 1}, u"Table.Clear(grid)", none, nullptr, {}, Values({0, 0})},
      {"edit", {2, 1, 1}, u"Table.Edit(grid, \"x\", 2, 1, 1)", none, nullptr, {},
       {Variant::Long(111), Variant::Text(u"x")}},
      {"edit outside", {2, 1, 1}, u"Table.Edit(grid, 1, 3, 1, 1)", none,
       "Element (3, 1, 1) does not exist in table that is of size (2, 1, 1).", {}, {}},
      {"item", {2, 2, 1}, u"Return(Table.Item(grid, 1, 2, 1))", Variant::Long(121), nullptr, {}, {}},
      {"item at 0", {2, 2, 1}, u"Return(Table.Item(grid, 0, 1, 1))", none,
       "Element (0, 1, 1) does not exist in table that is of size (2, 2, 1).", {}, {}},
      {"resize keeping", {2, 2, 1}, u"Table.Resize(grid, 0, 3, 3, 1)", none, nullptr, {3, 3, 1},
       Values({111, 112, 0, 121, 122, 0, 0, 0, 0})},
      {"resize resetting", {2, 2, 1}, u"Table.Resize(grid, 1, 2, 2, 2)", none, nullptr, {2, 2, 2},
       Values({0, 0, 0, 0, 0, 0, 0, 0})},
      {"resize smaller keeping", {3, 2, 1}, u"Table.Resize(grid, \"no\", 2, 1, 1)", none, nullptr, {2, 1, 1},
       Values({111, 112})},
      {"resize to nothing", {2, 2, 1}, u"Table.Resize(grid, 0, 2, 0, \"1\")", none,
       "Resizing to size (2, 0, 1) is invalid.", {}, {}},
      {"resize beyond the byte cap", {2, 2, 1}, u"Table.Resize(grid, 1, 1000, 1000, 1000)", none,
       "Resizing to size (1000, 1000, 1000) is invalid.", {}, {}},
      {"resize of three large sizes", {2, 2, 1}, u"Table.Resize(grid, 1, 2000000000, 2000000000, 2000000000)", none,
       "Resizing to size (2000000000, 2000000000, 2000000000) is invalid.", {}, {}},
      {"size", {4, 5, 6}, u"Return(Table.Size(grid, 3))", Variant::Long(6), nullptr, {}, {}},
      {"size of dimension 4", {4, 5, 6}, u"Return(Table.Size(grid, 4))", none, "Subscript out of range", {}, {}},
      {"fill", {3, 2, 1}, u"Table.Fill(grid, 0, 2, 1, 1, 3, 2, 1)", none, nullptr, {},
       Values({111, 0, 0, 121, 0, 0})},
      {"fill reversed fills nothing", {3, 2, 1}, u"Table.Fill(grid, 0, 2, 1, 1, 1, 2, 1)", none, nullptr, {}, {}},
      {"fill to a corner outside", {3, 2, 1}, u"Table.Fill(grid, 0, 1, 1, 1, 4, 2, 1)", none,
       "Element (4, 2, 1) does not exist in table that is of size (3, 2, 1).", {}, {}},
      {"delete slice 2 along 1", {3, 2, 1}, u"Table.Delete(grid, 1, 2)", none, nullptr, {2, 2, 1},
       Values({111, 113, 121, 123})},
      {"delete along 2", {2, 3, 1}, u"Table.Delete(grid, 2, 1)", none, nullptr, {2, 2, 1},
       Values({121, 122, 131, 132})},
      {"delete the only slice", {2, 1, 1}, u"Table.Delete(grid, 2, 1)", none, nullptr, {2, 1, 1}, Values({0, 0})},
      {"delete a slice that is not there", {3, 2, 1}, u"Table.Delete(grid, 1, 4)", none, "This row is invalid.", {},
       {}},
      {"delete slice 0", {3, 2, 1}, u"Table.Delete(grid, 1, 0)", none, "This row is invalid.", {}, {}},
      {"delete along 0", {3, 2, 1}, u"Table.Delete(grid, 0, 1)", none, "Subscript out of range", {}, {}},
      {"sort one line", {3, 2, 1},
       u"Table.Edit(grid, 10, 1, 2, 1)\r\nTable.Edit(grid, 9, 2, 2, 1)\r\nTable.Edit(grid, 100, 3, 2, 1)\r\n"
       u"Table.Sort(grid, 1, 0, 1, 1, 2, 1)",
       none, nullptr, {}, Values({111, 112, 113, 9, 10, 100})},
      {"sort descending by text", {3, 1, 1}, u"Table.Sort(grid, 1, 1, 0, 3, 1, 1)", none, nullptr, {},
       Values({113, 112, 111})},
      {"sort along 5", {3, 1, 1}, u"Table.Sort(grid, 5, 1, 0, 1, 1, 1)", none, "Subscript out of range", {}, {}},
      {"find along 2 from a cell", {1, 5, 1}, u"Return(Table.Find(grid, 2, 121, 1, 3, 1))", Variant::Long(0),
       nullptr, {}, {}},
      {"find along 2 found", {1, 5, 1}, u"Return(Table.Find(grid, 2, \"141\", 1, 3, 1))", Variant::Long(4), nullptr,
       {}, {}},
      {"find along 3", {1, 1, 3}, u"Return(Table.Find(grid, 3, 311, 1, 1, 1))", Variant::Long(3), nullptr, {}, {}},
      {"not a table", {1, 1, 1}, u"Table.Clear(5)", none, "Cannot use this command with something that is not a table.",
       {}, {}},
      {"a text for a number", {1, 1, 1}, u"Table.Edit(grid, 1, \"one\", 1, 1)", none, "Type mismatch", {}, {}},
  };
  for (const Case& c : cases) {
    Grid(c.start[0], c.start[1], c.start[2]);
    const std::vector<Variant> before = Cells();
    const std::vector<std::int32_t> sizesBefore = Sizes();
    const std::size_t logBefore = ErrorLog().size();
    const Variant result = RunScript(c.script);
    const std::string error = ErrorLog().size() == logBefore ? std::string() : LastError();
    EXPECT_EQ(error, c.error == nullptr ? "" : c.error) << c.what;
    if (c.error == nullptr) {
      EXPECT_EQ(result, c.result) << c.what;
    }
    EXPECT_EQ(Sizes(), c.sizes.empty() ? sizesBefore : c.sizes) << c.what;
    EXPECT_EQ(Cells(), c.cells.empty() ? before : c.cells) << c.what;
  }
}

TEST_F(Tables, AfterResetTheTableIsOneEmptyCell) {
  Grid(3, 3, 3);
  EXPECT_EQ(RunScript(u"Table.Reset(grid)\r\nReturn(Table.Size(grid, 1) & Table.Size(grid, 3))"), Variant::Text(u"11"));
  EXPECT_EQ(RunScript(u"Return(Table.Item(grid, 1, 1, 1))"), Variant());
  EXPECT_EQ(ErrorOfScript(u"Table.Edit(grid, 1, 2, 1, 1)"),
            "Element (2, 1, 1) does not exist in table that is of size (1, 1, 1).");
  RunScript(u"Table.Resize(grid, 0, 2, 1, 1)");
  EXPECT_EQ(Cells(), (std::vector<Variant>{Variant(), Variant::Long(0)}));
}

}  // namespace
}  // namespace kiv::test
