// The Collection commands run from scripts over user collections (bag, none,
// mixed, dup) and system collections (lists made by the script).
#include "internal_commands_fixture.h"

namespace kiv::test {
namespace {

class Collections : public InternalCommandsTest {
 protected:
  void Fill() {
    scriptGlobals.collections.clear();
    scriptGlobals.tables.clear();
    Collection(u"bag", Longs({1, 2, 3}));
    Collection(u"none");
    Collection(u"mixed", {Variant::Long(5), Variant::Text(u"5")});
    Collection(u"dup", {Variant::Text(u"a"), Variant::Text(u"b"), Variant::Text(u"a")});
    Table(u"grid", 1, 1, 1);
  }
  std::vector<Variant>& Bag() { return scriptGlobals.collections[0].elements; }
};

Variant List(std::vector<Variant> elements) { return Variant::Array(kVarVariant, std::move(elements)); }
Variant Text(const char16_t* text) { return Variant::Text(text); }

constexpr char kNotCollection[] = "Cannot use this command with something that is not a collection.";
constexpr char kSystem[] = "Cannot use this command with a system collection; use the equivalent event if there is one.";
constexpr char kInvalidCall[] = "Invalid procedure call or argument";

struct Case {
  const char16_t* script;
  Variant result;          // what the script returns
  const char* error;       // or the message it fails with
  std::vector<Variant> bag;  // bag afterwards (1, 2, 3 when empty here)
};

TEST_F(Collections, EveryCommandWithItsMessagesInCheckOrder) {
  const std::vector<Variant> unchanged = Longs({1, 2, 3});
  const Case cases[] = {
      // Add, Clear, Count
      {u"Collection.Add(bag, 4)", {}, nullptr, Longs({1, 2, 3, 4})},
      {u"Collection.Add(none, 9)\r\nReturn(Collection.Item(none, 1) & Collection.Count(none))", Text(u"91"),
       nullptr, {}},
      {u"LOCAL s\r\nSET s = Collection.Make(1)\r\nCollection.Add(s, 2)", {}, kSystem, {}},
      {u"Collection.Add(5, 2)", {}, kNotCollection, {}},
      {u"Collection.Add(grid, 2)", {}, kNotCollection, {}},
      {u"Collection.Clear(bag)\r\nReturn(Collection.Count(bag))", Variant::Long(0), nullptr, {}},
      {u"Return(Collection.Count(Collection.Make()))", Variant::Long(0), nullptr, {}},
      {u"Return(Collection.Count(bag))", Variant::Long(3), nullptr, {}},
      // Edit
      {u"Collection.Edit(bag, 2, \"x\")", {}, nullptr, {Variant::Long(1), Text(u"x"), Variant::Long(3)}},
      {u"Collection.Edit(bag, 0, 1)", {}, "Cannot edit an element of a collection using an index equal or lower than 0.",
       {}},
      {u"Collection.Edit(none, 0, 1)", {},
       "Cannot edit an element of a collection using an index equal or lower than 0.", {}},
      {u"Collection.Edit(none, 1, 1)", {}, "Cannot edit an element of an empty collection.", {}},
      {u"Collection.Edit(bag, 4, 1)", {}, "Index (4) too high for collection containing 3 value(s).", {}},
      {u"Collection.Edit(bag, \"two\", 1)", {}, "Type mismatch", {}},
      // Find
      {u"Return(Collection.Find(mixed, \"5\"))", Variant::Long(1), nullptr, {}},
      {u"Return(Collection.Find(bag, 7))", Variant::Long(0), nullptr, {}},
      {u"Return(Collection.Find(Collection.Make(\"a\", \"b\"), \"b\"))", Variant::Long(2), nullptr, {}},
      // Insert
      {u"Collection.Insert(bag, 1, 0)", {}, nullptr, Longs({0, 1, 2, 3})},
      {u"Collection.Insert(bag, 3, 9)", {}, nullptr, Longs({1, 2, 9, 3})},
      {u"Collection.Insert(bag, 4, 9)", {}, "Index (4) too high for collection containing 3 value(s).", {}},
      {u"Collection.Insert(bag, 0, 9)", {}, "Cannot insert into a collection using an index equal or lower than 0.",
       {}},
      {u"Collection.Insert(none, 1, 9)", {},
       "Cannot insert a value into an empty collection. Use Add to Collection instead.", {}},
      // Item
      {u"Return(Collection.Item(bag, 3))", Variant::Long(3), nullptr, {}},
      {u"Return(Collection.Item(Collection.Make(7, 8), 2))", Variant::Long(8), nullptr, {}},
      {u"Return(Collection.Item(bag, 0))", {}, "Cannot access a collection using an index equal or lower than 0.", {}},
      {u"Return(Collection.Item(none, 1))", {}, "Index (1) too high for collection containing 0 value(s).", {}},
      // Make, Merge
      {u"Return(Collection.Make(1, \"b\"))", List({Variant::Long(1), Text(u"b")}), nullptr, {}},
      {u"Return(Collection.Make())", List({}), nullptr, {}},
      {u"Return(Collection.Merge(bag, Collection.Make(4)))", List(Longs({1, 2, 3, 4})), nullptr, {}},
      {u"Return(Collection.Merge(none, Collection.Make()))", List({}), nullptr, {}},
      {u"Return(Collection.Merge(bag, 4))", {}, kNotCollection, {}},
      // Remove, RemoveIndex
      {u"Collection.Remove(dup, \"a\")\r\nReturn(Collection.Join(dup, \",\"))", Text(u"b,a"), nullptr, {}},
      {u"Collection.Remove(bag, 9)", {}, nullptr, {}},
      {u"Collection.Remove(Collection.Make(1), 1)", {}, kSystem, {}},
      {u"Collection.RemoveIndex(bag, 2)", {}, nullptr, Longs({1, 3})},
      {u"Collection.RemoveIndex(bag, 0)", {}, "Cannot remove from a collection using an index equal or lower than 0.",
       {}},
      {u"Collection.RemoveIndex(none, 1)", {}, "Cannot remove a value from an empty collection.", {}},
      {u"Collection.RemoveIndex(bag, 5)", {}, "Index (5) too high for collection containing 3 value(s).", {}},
      // Sort
      {u"Collection.Sort(bag, \"yes\", \"no\")", {}, nullptr, Longs({3, 2, 1})},
      {u"Collection.Sort(none, 0, 1)\r\nReturn(Collection.Count(none))", Variant::Long(0), nullptr, {}},
      {u"Collection.Sort(bag, 0, \"perhaps\")", {}, "Boolean \"perhaps\" is invalid.", {}},
      // Join
      {u"Return(Collection.Join(bag, \"-\"))", Text(u"1-2-3"), nullptr, {}},
      {u"Return(Collection.Join(none, \"-\"))", {}, nullptr, {}},
      {u"Return(Collection.Join(Collection.Make(), \"-\"))", Text(u""), nullptr, {}},
      // Slices
      {u"Return(Collection.Left(bag, 2))", List(Longs({1, 2})), nullptr, {}},
      {u"Return(Collection.Left(bag, 9))", List(Longs({1, 2, 3})), nullptr, {}},
      {u"Return(Collection.Left(bag, -1))", List(Longs({1, 2, 3})), nullptr, {}},
      {u"Return(Collection.Right(bag, 2))", List(Longs({2, 3})), nullptr, {}},
      {u"Return(Collection.Right(bag, 0))", List({}), nullptr, {}},
      {u"Return(Collection.Right(bag, 4))", {}, kInvalidCall, {}},
      {u"Return(Collection.Middle(bag, 2, 1))", List(Longs({2})), nullptr, {}},
      {u"Return(Collection.Middle(bag, 2, 9))", List(Longs({2, 3})), nullptr, {}},
      {u"Return(Collection.Middle(bag, 0, 1))", {}, kInvalidCall, {}},
      {u"Return(Collection.LeftCut(bag, 1))", List(Longs({2, 3})), nullptr, {}},
      {u"Return(Collection.LeftCut(bag, -1))", {}, kInvalidCall, {}},
      {u"Return(Collection.RightCut(bag, 1))", List(Longs({1, 2})), nullptr, {}},
      {u"Return(Collection.RightCut(bag, 5))", List(Longs({1, 2, 3})), nullptr, {}},
      {u"Return(Collection.Cut(Collection.Make(1, 2, 3, 4, 5), 1, 1))", List(Longs({2, 3, 4})), nullptr, {}},
      {u"Return(Collection.Cut(Collection.Make(1, 2), 1, 1))", List({}), nullptr, {}},
      {u"Return(Collection.Cut(bag, 1, 7))", List(Longs({2, 3})), nullptr, {}},
      {u"Return(Collection.Cut(bag, -1, 0))", {}, kInvalidCall, {}},
  };
  for (const Case& c : cases) {
    Fill();
    const std::size_t before = ErrorLog().size();
    const Variant result = RunScript(c.script);
    const std::string error = ErrorLog().size() == before ? std::string() : LastError();
    EXPECT_EQ(error, c.error == nullptr ? "" : c.error) << Utf16ToUtf8(c.script);
    if (c.error == nullptr) {
      EXPECT_EQ(result, c.result) << Utf16ToUtf8(c.script);
    }
    EXPECT_EQ(Bag(), c.bag.empty() && std::u16string(c.script).find(u"Clear(bag)") == std::u16string::npos
                         ? unchanged
                         : c.bag)
        << Utf16ToUtf8(c.script);
  }
}

TEST_F(Collections, SortIsNumericOrByTextAndKeepsTheQuicksortsOrderOfEqualKeys) {
  Fill();
  Bag() = {Variant::Text(u"10"), Variant::Text(u"9"), Variant::Long(100)};
  RunScript(u"Collection.Sort(bag, 0, 1)");
  EXPECT_EQ(Bag(), (std::vector<Variant>{Variant::Text(u"9"), Variant::Text(u"10"), Variant::Long(100)}));
  RunScript(u"Collection.Sort(bag, 0, 0)");
  EXPECT_EQ(Bag(), (std::vector<Variant>{Variant::Text(u"10"), Variant::Long(100), Variant::Text(u"9")}));
  // Equal keys by text (case and blanks do not count): the middle-pivot quicksort's order, not the input's.
  Bag() = {Variant::Text(u"b1"), Variant::Text(u"A"), Variant::Text(u" a"), Variant::Text(u"B1"),
           Variant::Text(u"a ")};
  RunScript(u"Collection.Sort(bag, 0, 0)");
  EXPECT_EQ(Bag(), (std::vector<Variant>{Variant::Text(u" a"), Variant::Text(u"a "), Variant::Text(u"A"),
                                         Variant::Text(u"b1"), Variant::Text(u"B1")}));
}

}  // namespace
}  // namespace kiv::test
