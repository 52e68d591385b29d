// The change rule of a field's value pair and how results are stored.
#include <gtest/gtest.h>

#include "script/trigger_engine_fixture.h"
#include "world/field_values.h"

namespace kiv {
namespace {

Variant Texts(std::initializer_list<const char16_t*> texts) {
  std::vector<Variant> elements;
  for (const char16_t* t : texts) elements.push_back(Variant::Text(t));
  return Variant::Array(kVarVariant, elements);
}

class FieldValuesTest : public test::TriggerEngineTest {};

TEST_F(FieldValuesTest, ThePairChangesByTypeByArrayElementsAndByTheScriptsNotEqual) {
  struct Case {
    const char* what;
    Variant storedValue, storedMax, value, maximum;
    bool arrayBuilt;
    bool changed;
  } cases[] = {
      {"same doubles", Variant::Double(5), Variant::Double(9), Variant::Double(5), Variant::Double(9), false, false},
      {"other value", Variant::Double(5), Variant::Double(9), Variant::Double(6), Variant::Double(9), false, true},
      {"other maximum", Variant::Double(5), Variant::Double(9), Variant::Double(5), Variant::Double(8), false, true},
      {"types differ though equal", Variant::Double(5), Variant::Double(9), Variant::Long(5), Variant::Double(9),
       false, true},
      {"maximum type differs", Variant::Double(5), Variant(), Variant::Double(5), Variant::Double(0), false, true},
      {"same text", Variant::Text(u"a"), Variant(), Variant::Text(u"a"), Variant(), false, false},
      {"text case differs", Variant::Text(u"a"), Variant(), Variant::Text(u"A"), Variant(), false, true},
      {"array against text", Variant::Text(u"a"), Variant(), Texts({u"a"}), Variant(), false, true},
      {"text against array", Texts({u"a"}), Variant(), Variant::Text(u"a"), Variant(), false, true},
      {"array element differs, built", Texts({u"a", u"b"}), Variant(), Texts({u"a", u"c"}), Variant(), true, true},
      {"array element differs, not built", Texts({u"a", u"b"}), Variant(), Texts({u"a", u"c"}), Variant(), false,
       false},
      {"array longer, built", Texts({u"a"}), Variant(), Texts({u"a", u"b"}), Variant(), true, true},
      {"same array, built", Texts({u"a", u"b"}), Variant(), Texts({u"a", u"b"}), Variant(), true, false},
      {"array elements compare as numbers", Variant::Array(kVarVariant, {Variant::Long(1)}), Variant(),
       Variant::Array(kVarVariant, {Variant::Double(1)}), Variant(), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Field field;
    field.value1 = c.storedValue;
    field.value2 = c.storedMax;
    EXPECT_EQ(FieldValuePairChanged(field, c.value, c.maximum, c.arrayBuilt), c.changed);
  }
}

TEST_F(FieldValuesTest, ResultsAreStoredAsTheFieldKeepsThem) {
  struct Case {
    const char* what;
    std::uint8_t kind;
    Variant result;
    Variant stored;
  } cases[] = {
      {"error becomes empty", 2, Variant::FromRaw(kVarError, 5, 0.0), Variant()},
      {"number becomes a double", 2, Variant::Long(7), Variant::Double(7)},
      {"numeric text becomes a double", 2, Variant::Text(u"2.5"), Variant::Double(2.5)},
      {"text field keeps the type", 0, Variant::Long(7), Variant::Long(7)},
      {"array kept", 2, Texts({u"x"}), Texts({u"x"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Field field;
    field.kind = c.kind;
    Variant slot = Variant::Text(u"before");
    StoreFieldValue(field, slot, c.result);
    EXPECT_EQ(slot.Type(), c.stored.Type());
    EXPECT_TRUE(slot == c.stored);
  }
  Field field;
  Variant slot = Variant::Text(u"before");
  StoreFieldValue(field, slot, Variant());
  EXPECT_TRUE(slot == Variant::Text(u"before")) << "Empty leaves the slot as it was";
}

TEST_F(FieldValuesTest, AnEmptyValueThatIsStoredFollowsTheKind) {
  for (const auto& [kind, stored] : {std::pair{std::uint8_t{0}, Variant()}, std::pair{std::uint8_t{2}, Variant::Double(0)}}) {
    Field field;
    field.kind = kind;
    Variant slot = Variant::Text(u"before");
    StoreFieldValue(field, slot, Variant(), FieldEmptyValue::kStore);
    EXPECT_EQ(slot.Type(), stored.Type()) << "kind " << int{kind};
  }
}

TEST_F(FieldValuesTest, AResultCountsUnlessEmptyAnErrorOrAnUnwantedArray) {
  EXPECT_FALSE(ResultCounts(Variant()));
  EXPECT_FALSE(ResultCounts(Variant::FromRaw(kVarError, 448, 0.0)));
  EXPECT_FALSE(ResultCounts(Texts({u"a"})));
  EXPECT_TRUE(ResultCounts(Texts({u"a"}), true));
  EXPECT_TRUE(ResultCounts(Variant::Long(0)));
  EXPECT_TRUE(ResultCounts(Variant::Text(u"")));
}

}  // namespace
}  // namespace kiv
