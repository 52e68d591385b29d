// The frame of the actor property executor: which codes it serves, references
// it refuses, map objects of interfaces, the result rule and the typed tail.
#include <string>

#include "commands/actor_selection.h"
#include "actor_properties_fixture.h"
#include "data/fixed_identifiers.h"
#include "script/script_value_ops.h"

namespace kiv::test {
namespace {

using ActorFrame = ActorPropertiesTest;

constexpr std::int32_t kActorKinds[] = {kObjectActor, kObjectCharacter, kObjectVehicle, kObjectTurret,
                                        kObjectDynamic};

TEST_F(ActorFrame, IdentifiersItDoesNotServeAreErrorsForEveryKind) {
  const std::int32_t bob = AddNamed(u"Character Bob");
  // Names inside the blocks of actor codes that have no handler, and names outside them.
  for (const char16_t* name : {u"Char", u"DirectionAngleX", u"Cursor.ActionDown", u"Cursor.X", u"Cursor.TargetZofX",
                               u"DOORACTION", u"Door", u"OpenAmount", u"OpenFuture", u"OpenStyle", u"TileX",
                               u"TileY", u"Sprite", u"SizeX", u"SizeY", u"Effect", u"Graphic", u"Turret", u"Field",
                               u"Music.Play"}) {
    for (const std::int32_t kind : kActorKinds) {
      EXPECT_EQ(Raised([&] { Read(kind, bob, name); }),
                "-1 Identifier \"" + Utf16ToUtf8(name) + "\" is not a property of actors.")
          << Utf16ToUtf8(name) << " kind " << kind;
      EXPECT_EQ(Raised([&] { Assign(kind, bob, name, Variant::Long(1)); }),
                "-1 Identifier \"" + Utf16ToUtf8(name) + "\" is not a property of actors.");
    }
  }
}

TEST_F(ActorFrame, ServesOnlyCodesOfTheActorBlocks) {
  for (const ServedIdentifier& served : ActorExecutorServes()) {
    const std::int32_t code = served.code;
    EXPECT_TRUE((code >= 2 && code <= 161) || (code >= 396 && code <= 407) || code == 170 || code == 411 ||
                code == 610)
        << FixedIdentifierName(code);
  }
}

TEST_F(ActorFrame, AMapObjectOfAnInterfaceIsAField) {
  gameData.maps.Append();
  gameData.maps[1].isInterface = true;
  gameData.maps[1].fileName = u"Hud";
  // Field 4 of the interface: no actor list is looked at, whatever the code.
  for (const char16_t* name : {u"X", u"Char", u"Text"}) {
    fieldCalls_.clear();
    const ScriptValue read = On(kObjectDynamic, 4, name, {Variant::Long(7)}, kModeRead, Variant(), 1);
    EXPECT_EQ(read.value, Text(u"field answer"));
    On(kObjectDynamic, 4, name, {}, kModeAssign, Variant::Long(3), 1);
    ASSERT_EQ(fieldCalls_.size(), 2u) << Utf16ToUtf8(name);
    EXPECT_EQ(fieldCalls_[0].object, (ScriptValue{kObjectField, Variant::Long(4), 1}));
    EXPECT_EQ(fieldCalls_[0].code, SymbolIntern(name));
    EXPECT_EQ(fieldCalls_[0].argumentUpper, 0);
    EXPECT_EQ(fieldCalls_[1].mode, kModeAssign);
    EXPECT_EQ(fieldCalls_[1].value, Variant::Long(3));
  }
  // A map object of a map stays an actor reference.
  const std::int32_t crate = AddNamed(u"Crate", 5.0f);
  fieldCalls_.clear();
  EXPECT_EQ(Read(kObjectDynamic, crate, u"X"), Variant::Single(5.0f));
  EXPECT_TRUE(fieldCalls_.empty());
}

TEST_F(ActorFrame, AReferencePastItsListIsErrorNineAndChangesNothing) {
  const std::int32_t bob = AddNamed(u"Character Bob", 1.0f);
  struct Case {
    std::int32_t index;
    std::int32_t map;
  };
  for (const Case& c : {Case{1, 0}, Case{-1, 0}, Case{bob, 3}, Case{bob, -1}}) {
    for (const std::int32_t kind : kActorKinds) {
      EXPECT_EQ(Raised([&] { On(kind, c.index, u"X", {}, kModeAssign, Variant::Long(9), c.map); }),
                "9 Subscript out of range")
          << c.index << " " << c.map;
      EXPECT_EQ(Raised([&] { On(kind, c.index, u"Char", {}, kModeRead, Variant(), c.map); }),
                "9 Subscript out of range");
    }
  }
  EXPECT_EQ(At(bob).x, 1.0f);
}

TEST_F(ActorFrame, AReadFillsAnEmptyResultAndAppendsToOneThatHoldsAValue) {
  const std::int32_t bob = AddNamed(u"Character Bob");
  const std::int32_t ann = AddNamed(u"Character Ann");
  At(bob).displayName = u"Bob the Guard";
  At(ann).displayName = u"Ann";
  PushCallFrame(CallFrame(), kiv::Script());
  // What the party executor does for a team: one result through every member.
  ScriptValue result;
  result.mapIndex = 5;
  for (const std::int32_t member : {bob, ann}) {
    ScriptValue object{kObjectCharacter, Variant::Long(member), 0};
    TopFrame().valueStack = {ScriptValue()};
    ScriptActorProperty(SymbolIntern(u"Title"), object, -1, result, kModeRead, Variant(), true);
  }
  EXPECT_EQ(result.value, Text(u"Bob the GuardAnn"));
  EXPECT_EQ(result.mapIndex, -1);
  // An assignment leaves the result as it was.
  ScriptValue untouched{kValuePlain, Variant::Long(4), 2};
  ScriptValue object{kObjectCharacter, Variant::Long(bob), 0};
  ScriptActorProperty(SymbolIntern(u"Title"), object, -1, untouched, kModeAssign, Text(u"Bob"), true);
  EXPECT_EQ(untouched, (ScriptValue{kValuePlain, Variant::Long(4), 2}));
  EXPECT_EQ(At(bob).displayName, u"Bob");
  PopCallFrame();
}

TEST_F(ActorFrame, TypedFieldsConvertOnAssignment) {
  const std::int32_t bob = AddNamed(u"Character Bob");
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant read;
  };
  const Case cases[] = {
      {u"X", Text(u"12.5"), Variant::Single(12.5f)},
      {u"Y", Variant::Long(-3), Variant::Single(-3.0f)},
      {u"InMap", Text(u"True"), Variant::Byte(1)},
      {u"InCamera", Variant::Long(0), Variant::Byte(0)},
      // Angles take the rotation words and numbers, unclamped.
      {u"DirectionAngle", Variant::Double(7.5), Variant::Single(7.5f)},
      {u"DirectionAngleY", Variant::Long(-9), Variant::Single(-9.0f)},
  };
  for (const Case& c : cases) {
    Assign(kObjectCharacter, bob, c.name, c.assigned);
    EXPECT_EQ(Read(kObjectCharacter, bob, c.name), c.read) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(Raised([&] { Assign(kObjectCharacter, bob, u"InMap", Text(u"maybe")); }).rfind("-1 ", 0), 0u);
}

TEST_F(ActorFrame, ScriptsReachTheExecutorThroughTheirReferences) {
  AddNamed(u"Character Bob", 3.0f);
  EXPECT_EQ(ErrorOfScript(u"SET Char(\"Bob\").Title = \"Guard\"\r\nMark(Char(\"Bob\").Title)\r\nMark(Char(\"Bob\").X)"),
            "");
  EXPECT_EQ(Marks(), (std::vector<Variant>{Text(u"Guard"), Variant::Single(3.0f)}));
  EXPECT_EQ(At(0).displayName, u"Guard");
  EXPECT_EQ(ErrorOfScript(u"Mark(Char(\"Bob\").Door)"), "Identifier \"Door\" is not a property of actors.");
}

}  // namespace
}  // namespace kiv::test
