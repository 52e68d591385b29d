// The identifiers of an interface field (kind 26) on the real field records.
#include <bit>
#include <functional>

#include "data/field_record.h"
#include "field_view_fixture.h"
#include "script/script_value_ops.h"
#include "script/waits.h"

namespace kiv::test {
namespace {

class FieldPropertiesTest : public FieldViewFixture {
 protected:
  void SetUp() override {
    FieldViewFixture::SetUp();
    AddHudField(u"Title", 0);
    score_ = AddHudField(u"Score", 1);
    view_ = AddHudField(u"Camera", 6);
    effect_ = AddHudField(u"Spinner", 5);
  }

  Field& Score() { return FieldAt(kHud, score_); }

  std::int32_t score_ = -1;
  std::int32_t view_ = -1;
  std::int32_t effect_ = -1;
};

TEST_F(FieldPropertiesTest, PlainPropertiesStoreInTheRecordAndReadBackTyped) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant read;  // what a read gives afterwards, with its type
    std::function<bool(const Field&)> stored;
  };
  const Case cases[] = {
      {u"Name", T(u"Points"), T(u"Points"), [](const Field& f) { return f.name == u"Points"; }},
      {u"Title", T(u"Your points"), T(u"Your points"), [](const Field& f) { return f.displayName == u"Your points"; }},
      {u"X", L(12), Variant::Single(12.0f), [](const Field& f) { return f.x == 12.0f; }},
      {u"Y", Variant::Double(2.5), Variant::Single(2.5f), [](const Field& f) { return f.y == 2.5f; }},
      {u"Z", L(-3), Variant::Single(-3.0f), [](const Field& f) { return f.z == -3.0f; }},
      {u"Shadow", T(u"true"), Variant::Byte(1), [](const Field& f) { return f.shadow == 1; }},
      {u"NoDraw", L(5), Variant::Byte(1), [](const Field& f) { return f.noDraw == 1; }},
      {u"NonExistent", L(1), Variant::Byte(1), [](const Field& f) { return f.nonExistent == 1; }},
      {u"Color", L(-16711936), L(-16711936), [](const Field& f) { return f.colorsA[0] == 0xFF00FF00u; }},
      {u"Color1", L(0x112233), L(0x112233), [](const Field& f) { return f.colorsA[0] == 0x112233u; }},
      {u"Color2", L(-1), L(-1), [](const Field& f) { return f.colorsB[0] == 0xFFFFFFFFu && f.colorsA[0] == 0; }},
      {u"ShadowColor", L(7), L(7), [](const Field& f) { return f.colorsC[0] == 7u && f.colorsC[1] == 0u; }},
      {u"Specular", L(9), L(9), [](const Field& f) { return f.specular == 9u; }},
      {u"TextLines", L(4), L(4), [](const Field& f) { return f.lineCount == 4; }},
      {u"SizeZ", L(6), Variant::Single(6.0f), [](const Field& f) { return f.depth == 6.0f; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    Score() = Field();
    Score().kind = 1;
    Assign(FieldRef(score_), c.name, c.assigned);
    EXPECT_TRUE(c.stored(Score()));
    const Variant read = Read(FieldRef(score_), c.name);
    EXPECT_EQ(read.Type(), c.read.Type());
    EXPECT_EQ(read, c.read);
  }
}

TEST_F(FieldPropertiesTest, FaceIsAFlagBesideTheKindSoAViewStaysAView) {
  Assign(FieldRef(view_), u"Face", L(1));
  EXPECT_EQ(FieldAt(kHud, view_).face, 1);
  EXPECT_EQ(FieldAt(kHud, view_).Kind(), 6);
  EXPECT_EQ(Read(FieldRef(view_), u"Face"), Variant::Byte(1));
}

TEST_F(FieldPropertiesTest, FullNameNamesTheInterfaceAndCannotBeAssigned) {
  EXPECT_EQ(Read(FieldRef(score_), u"FullName"), T(u"|Hud:Score"));
  EXPECT_EQ(ErrorOf([&] { Assign(FieldRef(score_), u"FullName", T(u"x")); }),
            "-1 You cannot change the full name of something.");
  EXPECT_EQ(Score().name, u"Score");
}

TEST_F(FieldPropertiesTest, SizeReadsGiveTheLaidOutPixelsAssignmentsTheDesignSize) {
  Score().sizeMode = 1;  // inches, scaled by the screen's dots per inch
  Assign(FieldRef(score_), u"SizeX", L(2));
  Assign(FieldRef(score_), u"SizeY", Variant::Double(0.5));
  EXPECT_EQ(Score().width, 2.0f);
  EXPECT_EQ(Score().height, 0.5f);
  EXPECT_EQ(Read(FieldRef(score_), u"SizeX"), L(192));
  EXPECT_EQ(Read(FieldRef(score_), u"SizeY"), L(48));
}

// Position2 moves the field: within its interface only its place changes; to
// another the copy is appended there and the old entry marked with its index.
TEST_F(FieldPropertiesTest, Position2MovesTheFieldWithinItsInterfaceOrToAnother) {
  Do(FieldRef(score_), u"Position2", {T(u"Hud"), L(4), L(5), L(6)});
  EXPECT_EQ(Score().x, 4.0f);
  EXPECT_EQ(Score().y, 5.0f);
  EXPECT_EQ(Score().z, 6.0f);
  const std::size_t before = gameData.maps[kMenu].fields.size();
  Do(FieldRef(score_), u"Position2", {T(u"Menu"), L(7), L(8), L(9)});
  ASSERT_EQ(gameData.maps[kMenu].fields.size(), before + 1);
  const Field& copy = gameData.maps[kMenu].fields.back();
  EXPECT_EQ(copy.x, 7.0f);
  EXPECT_EQ(copy.y, 8.0f);
  EXPECT_EQ(Score().removeMark, static_cast<std::int32_t>(before));
}

TEST_F(FieldPropertiesTest, PositionAndResizeStoreAtOnceOrStartThreeTimedChanges) {
  struct Case {
    const char16_t* name;
    std::vector<Variant> arguments;
    std::size_t timedChanges;
    const char16_t* firstTimed;
  };
  const Case cases[] = {
      {u"Position", {L(1), L(2), L(3)}, 0, nullptr},
      {u"Position", {L(1), L(2), L(3), L(0)}, 0, nullptr},
      {u"Position", {L(1), L(2), L(3), L(500)}, 3, u"X"},
      {u"Resize", {L(1), L(2), L(3)}, 0, nullptr},
      {u"Resize", {L(1), L(2), L(3), T(u"false")}, 0, nullptr},
      {u"Resize", {L(1), L(2), L(3), L(500)}, 3, u"SizeX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name) + " with " + std::to_string(c.arguments.size()) + " arguments");
    timedChanges.clear();
    Score() = Field();
    Score().kind = 1;
    Do(FieldRef(score_), c.name, c.arguments);
    ASSERT_EQ(timedChanges.size(), c.timedChanges);
    const bool position = std::u16string(c.name) == u"Position";
    const Field& f = Score();
    const float x = position ? f.x : f.width, y = position ? f.y : f.height, z = position ? f.z : f.depth;
    if (c.timedChanges == 0) {
      EXPECT_EQ(x, 1.0f);
      EXPECT_EQ(y, 2.0f);
      EXPECT_EQ(z, 3.0f);
      if (!position) {
        EXPECT_EQ(f.pixelWidth, 1);  // laid out again
      }
      continue;
    }
    EXPECT_EQ(x, 0.0f);  // the timed changes move it later
    EXPECT_EQ(timedChanges[0].code, SymbolIntern(c.firstTimed));
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(timedChanges[i].target, FieldRef(score_));
      EXPECT_EQ(timedChanges[i].duration, 500);
      EXPECT_EQ(timedChanges[i].end, L(static_cast<std::int32_t>(i) + 1));
    }
  }
}

TEST_F(FieldPropertiesTest, PositionWithThreeArgumentsNeverReadsAFourth) {
  // A value left on the stack behind the three arguments is not an argument.
  CallFrame& frame = TopFrame();
  frame.valueStack = {ScriptValue{kValuePlain, L(1), 0}, ScriptValue{kValuePlain, L(2), 0},
                      ScriptValue{kValuePlain, L(3), 0}, ScriptValue{kValuePlain, L(500), 0}, ScriptValue()};
  frame.stackBase = 0;
  frame.valueStackTop = 3;
  ScriptValue object = FieldRef(score_);
  ScriptValue result;
  ScriptFieldViewProperty(SymbolIntern(u"Position"), object, 2, result, kModeRead, Variant(), true);
  EXPECT_TRUE(timedChanges.empty());
  EXPECT_EQ(Score().z, 3.0f);
}

TEST_F(FieldPropertiesTest, TextAtLineSpellsOneLineOfTheLaidOutText) {
  FontSet font;
  font.name = u"Plain";
  for (const char16_t code : std::u16string(u"abc")) font.glyphs.push_back(FontGlyph{0, 0, 0, 0, static_cast<std::int16_t>(code)});
  gameData.fontSets.push_back(font);
  Score().fontSet = 0;
  struct Case {
    GlyphIndexList lines;
    std::int32_t line;
    const char16_t* text;
  };
  const Case cases[] = {
      {{0, 1, 2}, 1, u"abc"},
      {{0, 1, 2}, 2, u""},
      {{0, 1, 2}, 0, u""},
      {{0, kGlyphLineMark, 1, 2, kGlyphLineMark, 2}, 2, u"bc"},
      {{0, kGlyphLineMark, 1, 2, kGlyphLineMark, 2}, 3, u"c"},
      {{0, 7, 1}, 1, u"ab"},  // a glyph the font does not have adds nothing
  };
  for (const Case& c : cases) {
    Score().lines = c.lines;
    EXPECT_EQ(Do(FieldRef(score_), u"TextAtLine", {L(c.line)}).value, T(c.text)) << "line " << c.line;
  }
}

TEST_F(FieldPropertiesTest, RotationBelongsToStaticEffectsOnly) {
  Assign(FieldRef(effect_), u"Rotation", Variant::Double(1.5));
  EXPECT_EQ(FieldAt(kHud, effect_).RotationAngle(), 1.5f);
  EXPECT_EQ(Read(FieldRef(effect_), u"Rotation"), Variant::Single(1.5f));
  const std::string message =
      "-1 You cannot access rotation of a field that does not have its behavior set to \"Static Effect\".";
  EXPECT_EQ(ErrorOf([&] { Assign(FieldRef(score_), u"Rotation", L(1)); }), message);
  EXPECT_EQ(ErrorOf([&] { Read(FieldRef(score_), u"Rotation"); }), message);
  EXPECT_EQ(Score().rotation, 0);
}

TEST_F(FieldPropertiesTest, ValueStoresByTheBehaviourAndMarksTheChange) {
  const Variant array = Variant::Array(kVarVariant, {L(1), T(u"two")});
  struct Case {
    std::uint8_t kind;
    Variant assigned;
    Variant stored;
  };
  const Case cases[] = {
      {0, T(u"12"), T(u"12")},
      {0, Variant(), Variant()},
      {1, T(u"12"), Variant::Double(12)},
      {1, Variant(), Variant::Double(0)},
      {1, array, array},
      {0, Variant::FromRaw(kVarError, 448, 0.0), Variant()},  // a missing argument
      {2, Variant::FromRaw(kVarError, 448, 0.0), Variant()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + ": type " + std::to_string(c.assigned.Type()));
    Score() = Field();
    Score().kind = c.kind;
    Score().value1 = L(99);
    Assign(FieldRef(score_), u"Value", c.assigned);
    EXPECT_EQ(Score().value1.Type(), c.stored.Type());
    EXPECT_EQ(Score().value1, c.stored);
    EXPECT_EQ(Score().runByte, 1);
    EXPECT_EQ(Read(FieldRef(score_), u"Value"), c.stored);

    Score().runByte = 0;
    Assign(FieldRef(score_), u"MaxValue", c.assigned);
    EXPECT_EQ(Score().value2, c.stored);
    EXPECT_EQ(Score().runByte, 0);
  }
}

TEST_F(FieldPropertiesTest, ACounterIsLaidOutAgainWhenItsValueChanges) {
  Score().spriteSet = 0;
  Assign(FieldRef(score_), u"MaxValue", L(5));
  Assign(FieldRef(score_), u"Value", L(3));
  EXPECT_EQ(Score().spriteCount, 3);
}

TEST_F(FieldPropertiesTest, AssociateResolvesInTheFieldsInterfaceAndPassesTheParentsStateOn) {
  const std::int32_t button = AddHudField(u"Button", 0);
  FieldAt(kHud, button).state = kFieldSelected;
  AddField(kMenu, u"Button");  // the same name elsewhere is not found
  Assign(FieldRef(score_), u"Associate", T(u"Button"));
  EXPECT_EQ(Score().parent, button);
  EXPECT_EQ(Score().state, kFieldSelected);
  EXPECT_EQ(Read(FieldRef(score_), u"Associate"), T(u"Button"));
  EXPECT_EQ(Read(FieldRef(score_), u"AssociateFull"), T(u"|Hud:Button"));

  Assign(FieldRef(score_), u"AssociateFull", T(u""));
  EXPECT_EQ(Score().parent, -1);
  EXPECT_EQ(Read(FieldRef(score_), u"Associate"), T(u""));
}

TEST_F(FieldPropertiesTest, SpriteTextureAndFontNameTheirSets) {
  FontSet font;
  font.name = u"Plain";
  gameData.fontSets.push_back(font);
  Score().sprites.resize(1);
  Assign(FieldRef(score_), u"Sprite", T(u"Moon"));
  EXPECT_EQ(Score().spriteSet, 1);
  EXPECT_EQ(Read(FieldRef(score_), u"Sprite"), T(u"Moon"));
  EXPECT_NE(ErrorOf([&] { Read(FieldRef(score_), u"Texture"); }), "no error");  // not an effect's name
  Assign(FieldRef(score_), u"Texture", T(u"Glow"));
  EXPECT_EQ(Score().spriteSet, 2);
  EXPECT_EQ(Read(FieldRef(score_), u"Texture"), T(u"Glow"));
  EXPECT_EQ(Read(FieldRef(score_), u"Sprite"), T(u"Effect Glow"));
  Assign(FieldRef(score_), u"Font", T(u"Plain"));
  EXPECT_EQ(Score().fontSet, 0);
  EXPECT_EQ(Read(FieldRef(score_), u"Font"), T(u"Plain"));
  Score().spriteSet = -1;
  Score().fontSet = -1;
  EXPECT_EQ(Read(FieldRef(score_), u"Sprite"), T(u""));
  EXPECT_EQ(Read(FieldRef(score_), u"Font"), T(u""));
}

TEST_F(FieldPropertiesTest, DeleteDetachesMarksAndResetsAlsoWhenAssigned) {
  for (const bool assigned : {false, true}) {
    SCOPED_TRACE(assigned ? "assigned" : "called");
    const std::int32_t field = AddHudField(u"Gone", 0);
    gameData.maps[kHud].SelectedField() = field;
    if (assigned) {
      Assign(FieldRef(field), u"Delete", L(1));
    } else {
      Do(FieldRef(field), u"Delete");
    }
    const Field& f = FieldAt(kHud, field);
    EXPECT_EQ(f.removeMark, 2147483135);
    EXPECT_EQ(f.name, u"");
    EXPECT_EQ(f.noDraw, 1);
    EXPECT_EQ(f.nonExistent, 1);
    EXPECT_EQ(gameData.maps[kHud].SelectedField(), -1);
  }
}

TEST_F(FieldPropertiesTest, DisabledAndSelectableDeriveTheState) {
  Assign(FieldRef(score_), u"Selectable", T(u"yes"));
  EXPECT_EQ(Score().selectable, 1);
  EXPECT_EQ(Score().state, kFieldSelectable);
  Assign(FieldRef(score_), u"Disabled", L(1));
  EXPECT_EQ(Score().disabled, 1);
  EXPECT_EQ(Score().state, kFieldDisabled);
  EXPECT_EQ(Read(FieldRef(score_), u"Disabled"), Variant::Byte(1));
  EXPECT_EQ(Read(FieldRef(score_), u"Selectable"), Variant::Byte(1));
}

TEST_F(FieldPropertiesTest, WaitDisplayAsksToWaitForTheFieldsText) {
  const ScriptValue result = Do(FieldRef(score_), u"WaitDisplay");
  EXPECT_EQ(result.kind, kValueControl);
  EXPECT_EQ(result.value,
            ScriptMakeWaitRequest(1, 0, -1, 0, kHud, Variant::Long(-1), score_, -1, -1));
}

TEST_F(FieldPropertiesTest, IdentifiersWithoutAnEffectLeaveTheResultAlone) {
  const Field before = Score();
  for (const char16_t* name : {u"Effect", u"Graphic", u"Exit", u"Field", u"Perspective"}) {
    SCOPED_TRACE(Utf16ToUtf8(name));
    EXPECT_TRUE(Read(FieldRef(score_), name).IsEmpty());
    ScriptValue object = FieldRef(score_);
    ScriptValue result{kValuePlain, T(u"kept"), 3};
    ScriptFieldViewProperty(SymbolIntern(name), object, -1, result, kModeRead, Variant(), true);
    EXPECT_EQ(result, (ScriptValue{kValuePlain, T(u"kept"), 3}));
    Assign(FieldRef(score_), name, L(1));
  }
  EXPECT_EQ(Score().name, before.name);
  EXPECT_EQ(Score().x, before.x);
}

TEST_F(FieldPropertiesTest, AReadJoinsAResultThatHoldsAValue) {
  ScriptValue object = FieldRef(score_);
  ScriptValue result{kValuePlain, T(u"Field: "), 3};
  ScriptFieldViewProperty(SymbolIntern(u"Name"), object, -1, result, kModeRead, Variant(), true);
  EXPECT_EQ(result.value, T(u"Field: Score"));
  ScriptValue fresh;
  ScriptFieldViewProperty(SymbolIntern(u"Name"), object, -1, fresh, kModeRead, Variant(), true);
  EXPECT_EQ(fresh.mapIndex, -1);
}

TEST_F(FieldPropertiesTest, BadReferencesFailBeforeAnythingChanges) {
  EXPECT_EQ(ErrorOf([&] { Read(Ref(kObjectDoor, 0, kHud), u"Name"); }), "-1 Invalid object type.");
  EXPECT_EQ(ErrorOf([&] { Read(Ref(kObjectMap, 0, kHud), u"X"); }), "-1 Invalid object type.");
  EXPECT_EQ(ErrorOf([&] { Assign(FieldRef(40), u"Name", T(u"x")); }).rfind("9 ", 0), 0u);
  EXPECT_EQ(ErrorOf([&] { Assign(FieldRef(0, 77), u"Name", T(u"x")); }).rfind("9 ", 0), 0u);
  EXPECT_EQ(ErrorOf([&] { Do(FieldRef(-1), u"Delete"); }).rfind("9 ", 0), 0u);
}

}  // namespace
}  // namespace kiv::test
