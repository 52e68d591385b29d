#include "script/condition_compiler.h"

#include <gtest/gtest.h>

#include "core/text_encoding.h"
#include "media/gestures.h"
#include "script/script_lookups.h"
#include "trigger_engine_fixture.h"

namespace kiv {
namespace {

using test::TriggerEngineTest;

struct Token {
  std::int32_t kind;
  std::int32_t value;
  friend bool operator==(const Token&, const Token&) = default;
};

struct ConditionCase {
  std::int32_t event;
  std::vector<std::u16string> parameters;
  bool linked;
  std::vector<Token> tokens;
  std::u16string header;
};

class ConditionCompilerTest : public TriggerEngineTest {
 protected:
  void SetUp() override {
    TriggerEngineTest::SetUp();
    controls.resize(3);
    controls[0].name = u"Jump";
    controls[1].name = u"Fire";
    controls[2].name = u"Fire";
    gameData.spriteSets.resize(2);
    gameData.spriteSets[1].name = u"Hand";
    gameData.actorTemplates.resize(3);
    gameData.actorTemplates[2].name = u"Guard";
  }
};

TEST_F(ConditionCompilerTest, EventsAndParametersGiveTokensOrText) {
  const std::u16string gesture = u"\"1|0|0|10|10|-1|-1|-1|-1\"";
  const ConditionCase cases[] = {
      // MouseDown: a quoted control name is a fast token; an empty sprite adds nothing.
      {561, {u"\"Fire\"", u""}, false, {{3, 1}}, u""},
      {573, {u"\"Fire\"", u"\"Hand\""}, false, {{3, 1}}, u"IF Cursor.Sprite = (\"Hand\")"},
      {581, {u"\"Fire\"", u"\"Hand\""}, true, {{3, 1}, {0, 1}}, u""},
      {562, {u"\"Jump\""}, false, {{1, 0}}, u""},
      {577, {u"\"Nothing\""}, false, {{2, -1}}, u""},
      {585, {u"x"}, false, {}, u"IF Main.ControlUp(x)"},
      // Interval.
      {554, {u"1", u"250"}, false, {{10, 250}}, u""},
      {554, {u"2", u"250"}, false, {}, u"IF Trigger.TimePassed(2, 250)"},
      {554, {u"1", u"0"}, false, {}, u""},
      {554, {u"", u""}, false, {}, u""},
      {554, {u"5"}, false, {}, u""},
      // IsA and IsPlayer.
      {546, {u"\"Guard\"", u"1"}, true, {{8, 2}, {9, 1}}, u""},
      {546, {u"\"Guard\"", u"0"}, false, {{9, 0}}, u"IF Actor(\"relate\").IsA(\"Guard\")"},
      {544, {u"x", u"1, 2"}, false, {},
       u"IF Actor(\"relate\").IsA(x) And "
       u"(Actor(\"relate\").IsPlayer = (1) Or Actor(\"relate\").IsPlayer = (2))"},
      {540, {u"", u"1"}, false, {}, u""},
      {548, {u"", u"", u"300"}, false, {{10, 300}}, u""},
      {548, {u"", u"", u""}, false, {}, u""},
      {551, {u"", u"", u"\"Sword\""}, false, {}, u"IF Item(\"relate\").Name = (\"Sword\")"},
      // Text-only conditions.
      {553, {u"1"}, false, {}, u"IF Actor(\"this\").NonExistent = (1)"},
      {555, {u"a > 1"}, false, {}, u"IF Trigger.Toggle(a > 1)"},
      {556, {u"x"}, false, {}, u"IF Trigger.Change(x)"},
      {557, {u"0"}, false, {}, u"IF Actor(\"this\").InMap = (0)"},
      {560, {u"1"}, false, {}, u"IF Actor(\"this\").InCamera = (1)"},
      // Proximity.
      {566, {u"", u"", u"64"}, false, {{11, 64}}, u""},
      {567, {u"", u"", u"64"}, false, {{12, 64}}, u""},
      {566, {u"", u"", u"far"}, false, {}, u"IF Trigger.Proximity(far, 1)"},
      // Gestures: thresholds are whole numbers, halves to even.
      {623, {gesture, u"0.5", u"0.5", u"1.5", u"2.5", u"-0.5"}, false, {{13, 0}, {4, 0}, {5, 2}, {6, 2}, {7, 0}}, u""},
      {625, {gesture}, false, {}, u""},
      {626, {gesture, u""}, false, {{13, 1}}, u""},
      {626, {gesture, u"fast"}, false, {}, u"IF Trigger.Gesture(" + gesture + u", fast)"},
      // Events without conditions.
      {539, {u"\"Guard\""}, true, {}, u""},
      {624, {gesture, u"1"}, false, {}, u""},
  };
  for (const ConditionCase& c : cases) {
    std::string trace = std::to_string(c.event);
    for (const std::u16string& p : c.parameters) trace += " [" + Utf16ToUtf8(p) + "]";
    SCOPED_TRACE(trace);
    setsLinked = c.linked;
    Trigger trigger;
    trigger.event = c.event;
    trigger.parameters = c.parameters;
    BuildTriggerConditions(trigger);
    std::vector<Token> tokens;
    for (const ConditionToken& token : trigger.script.conditionTokens) {
      tokens.push_back({token.kind, token.value});
      EXPECT_EQ(token.gesture != nullptr, token.kind == kConditionGesture);
    }
    EXPECT_EQ(tokens, c.tokens);
    EXPECT_EQ(Utf16ToUtf8(trigger.script.header), Utf16ToUtf8(c.header));
    EXPECT_EQ(trigger.script.footer, c.header.empty() ? u"" : u"ENDIF");
    EXPECT_EQ(trigger.script.recompile, !c.header.empty());
  }
}

TEST_F(ConditionCompilerTest, GestureTokenHoldsTheParsedStroke) {
  Trigger trigger;
  trigger.event = 623;
  trigger.parameters = {u"\"1|0|0|10|10|-1|-1|-1|-1\"", u"1"};
  BuildTriggerConditions(trigger);
  ASSERT_EQ(trigger.script.conditionTokens.size(), 1u);
  const Stroke& stroke = trigger.script.conditionTokens[0].gesture->strokes[0];
  ASSERT_EQ(stroke.points.size(), 2u);
  EXPECT_EQ(stroke.points[1].x, 10.0f);
}

TEST_F(ConditionCompilerTest, RecompileFlagFollowsChangesOfTheText) {
  Trigger trigger;
  trigger.event = 544;
  trigger.parameters = {u"", u"x"};
  BuildTriggerConditions(trigger);
  EXPECT_TRUE(trigger.script.recompile);
  trigger.script.recompile = false;
  BuildTriggerConditions(trigger);
  EXPECT_FALSE(trigger.script.recompile) << "unchanged conditions";
  trigger.parameters = {u"", u"1"};  // now a fast token: the text goes away
  BuildTriggerConditions(trigger);
  EXPECT_TRUE(trigger.script.recompile);
  EXPECT_EQ(trigger.script.header, u"");
}

TEST_F(ConditionCompilerTest, TextFormJoinsConditionsAndAlternatives) {
  Script script;
  AddTriggerCondition(script, u"Actor(\"relate\").IsPlayer = ", {u"x"});
  AddTriggerCondition(script, u"Actor(\"relate\").IsPlayer = ", {u"1, 2"});
  AddTriggerCondition(script, u"Trigger.Toggle", {u"", u""});
  EXPECT_EQ(script.header,
            u"IF Actor(\"relate\").IsPlayer = (x) And "
            u"(Actor(\"relate\").IsPlayer = (1) Or Actor(\"relate\").IsPlayer = (2))");
  EXPECT_EQ(script.footer, u"ENDIF");
}

TEST_F(ConditionCompilerTest, LookUpsByName) {
  gameData.spriteSets[0].name = u"Hand";
  gameData.spriteSets[0].category = 7;
  gameData.spriteSets[1].category = SymbolIntern(u"Pointers");
  struct Case {
    bool loose;
    const char16_t* name;
    std::int32_t category;
    std::int32_t found;
  };
  const Case sprites[] = {
      {false, u"Hand", -1, 0},       {false, u"Hand", gameData.spriteSets[1].category, 1},
      {false, u" hand ", -1, -1},    {true, u" hAND ", -1, 0},
      {false, u" (None) ", -1, -1},  {false, u"", -1, -1},
  };
  for (const Case& c : sprites) {
    SetLooseNameMatching(c.loose);
    const ScriptValue found = ScriptLookupSprite(c.name, c.category, false, true);
    EXPECT_EQ(found, (ScriptValue{kObjectSprite, Variant::Long(c.found), 0})) << Utf16ToUtf8(c.name);
  }
  SetLooseNameMatching(false);
  EXPECT_EQ(ScriptLookupControl(u"Fire", false).value, Variant::Long(1)) << "the first of equal names";
  EXPECT_EQ(ScriptLookupControl(u"Fire", false).kind, kObjectInputSet);
  EXPECT_EQ(ScriptLookupActorTemplate(u"Guard", false), (ScriptValue{kObjectActorTemplate, Variant::Long(2), 0}));

  const std::pair<std::function<void()>, const char*> errors[] = {
      {[] { ScriptLookupControl(u"Duck", true); }, "Control \"Duck\" does not exist."},
      {[] { ScriptLookupActorTemplate(u"Ogre", true); }, "Actor template \"Ogre\" does not exist."},
      {[] { ScriptLookupSprite(u"Foot", -1, true, false); }, "Sprite \"Foot\" does not exist."},
      {[] { ScriptLookupSprite(u"Foot", SymbolIntern(u"Pointers"), true, false); },
       "Sprite \"Foot\" of category \"Pointers\" does not exist. Ensure you picked the correct category."},
      {[] {
         SetLooseNameMatching(true);
         ScriptLookupControl(u" DUCK ", true);
       },
       "Control \"duck\" does not exist."},
  };
  for (const auto& [lookUp, message] : errors) {
    try {
      lookUp();
      ADD_FAILURE() << "no error: " << message;
    } catch (const KivError& error) {
      EXPECT_EQ(error.Number(), -1);
      EXPECT_STREQ(error.what(), message);
    }
  }
}

}  // namespace
}  // namespace kiv
