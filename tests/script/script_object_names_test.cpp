#include "script/script_object_names.h"

#include <gtest/gtest.h>

#include "resolver_fixture.h"

namespace kiv {
namespace {

using test::ErrorOf;
using test::ScriptEngineTest;

class ScriptObjectNamesTest : public ScriptEngineTest {};

TEST_F(ScriptObjectNamesTest, ScriptingIdsComeFromStoredNames) {
  struct Case {
    const char16_t* stored;
    std::int32_t kind;
    bool loose;
    const char16_t* id;
  };
  const Case cases[] = {
      {u"Character 12", kObjectCharacter, false, u"12"},
      // Only the whole name is trimmed: the blanks after the word stay but one.
      {u" Character  12", kObjectCharacter, false, u" 12"},
      {u"CHARACTER Bob", kObjectCharacter, false, u"Bob"},  // the prefix in any case, the ID as stored
      {u"Character MiXed", kObjectCharacter, true, u"MiXed"},
      {u"Vehicle 3", kObjectVehicle, false, u"3"},
      {u"Turret Gun", kObjectTurret, false, u"Gun"},
      {u"Effect Boom", kObjectEffect, false, u"Boom"},
      {u" Hero ", kObjectActor, false, u" Hero "},
      {u" Hero ", kObjectActor, true, u"Hero"},
      {u" Tree ", kObjectSprite, true, u"Tree"},
      {u"", kObjectCharacter, false, u""},
      {u"", kObjectField, false, u""},
  };
  for (const Case& c : cases) {
    SetLooseNameMatching(c.loose);
    EXPECT_EQ(ScriptParseScriptingId(c.stored, c.kind), c.id) << Utf16ToUtf8(c.stored) << " " << c.kind;
  }
}

TEST_F(ScriptObjectNamesTest, AStoredNameWithoutItsPrefixIsRefusedAlways) {
  const struct {
    const char16_t* stored;
    std::int32_t kind;
    const char* message;
  } cases[] = {
      {u"Vehicle 3", kObjectCharacter,
       "-1 Cannot identify \"Vehicle 3\" as a character, since the scripting ID does not begin with "
       "'Character '."},
      {u" Bob", kObjectVehicle,
       "-1 Cannot identify \" Bob\" as a vehicle, since the scripting ID does not begin with 'Vehicle '."},
      {u"Bob", kObjectTurret,
       "-1 Cannot identify \"Bob\" as a turret, since the scripting ID does not begin with 'Turret '."},
      {u"Boom", kObjectEffect,
       "-1 Cannot identify \"Boom\" as an effect, since the scripting ID does not begin with 'Effect '."},
      {u"Character1", kObjectCharacter,
       "-1 Cannot identify \"Character1\" as a character, since the scripting ID does not begin with "
       "'Character '."},
      {u"Gate", kObjectField, "-1 Cannot identify \"Gate\"."},
      {u"Gate", kObjectZone, "-1 Cannot identify \"Gate\"."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf([&] { ScriptParseScriptingId(c.stored, c.kind); }), c.message);
}

// The area-damage system trigger names the vehicles it hits as characters.
TEST_F(ScriptObjectNamesTest, AVehicleIsACharacterOnlyInsideTheAreaDamageTrigger) {
  const std::string refused =
      "-1 Cannot identify \"Vehicle 3\" as a character, since the scripting ID does not begin with "
      "'Character '.";
  EXPECT_EQ(ErrorOf([] { ScriptParseScriptingId(u"Vehicle 3", kObjectCharacter); }),
            refused);  // no script runs
  const struct {
    std::int32_t ownerKind;
    std::int32_t ownerIndex;
    bool accepted;
  } frames[] = {{kOwnerSystem, 2, true}, {kOwnerSystem, 1, false}, {kOwnerActor, 2, false}};
  for (const auto& f : frames) {
    CallFrame frame;
    frame.ownerKind = f.ownerKind;
    frame.ownerIndex = f.ownerIndex;
    PushCallFrame(frame, Script());
    if (f.accepted) {
      EXPECT_EQ(ScriptParseScriptingId(u" vehicle Cart ", kObjectCharacter), u"Cart");
    } else {
      EXPECT_EQ(ErrorOf([] { ScriptParseScriptingId(u"Vehicle 3", kObjectCharacter); }), refused);
    }
    PopCallFrame();
  }
}

TEST_F(ScriptObjectNamesTest, NamesMatchExactlyOrTrimmedWithoutCase) {
  const struct {
    const char16_t* stored;
    const char16_t* argument;
    bool exact;
    bool loose;
  } cases[] = {
      {u"Bob", u"Bob", true, true},
      {u"Bob", u"bob", false, true},
      {u"  BOB ", u" bob", false, true},
      {u"Bob", u"Bob ", false, true},
      {u"Bo b", u"bob", false, false},
      {u"", u"", true, true},
      {u"   ", u"", false, true},
      {u"\u00C9t\u00E9", u"\u00E9T\u00C9", false, true},  // Latin-1 letters fold too
      {u"Bobby", u"bob", false, false},
  };
  for (const auto& c : cases) {
    for (const bool loose : {false, true}) {
      SetLooseNameMatching(loose);
      const ScriptSearchName name = ScriptPrepareName(c.argument);
      EXPECT_EQ(name.loose, loose);
      EXPECT_EQ(ScriptNameMatches(c.stored, name.text, name.loose), loose ? c.loose : c.exact)
          << Utf16ToUtf8(c.stored) << " / " << Utf16ToUtf8(c.argument) << " loose " << loose;
    }
  }
}

}  // namespace
}  // namespace kiv
