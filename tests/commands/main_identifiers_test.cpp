// The remaining internal identifiers run from scripts: Error, the leading
// character's name, the cursor names, accelerometer and gesture slots, the
// all-in-one message settings, references and the names handed on or left
// without behaviour.
#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "media/player_input_state.h"
#include "player/message_boxes.h"
#include "player/script_message_state.h"

namespace kiv::test {
namespace {

Variant Text(const char16_t* text) { return Variant::Text(text); }

class MainIdentifiersTest : public InternalCommandsTest {
 protected:
  void TearDown() override {
    playerInputStates[0] = PlayerInputState();
    gestureResults = {};
    scriptMessageSettings = ScriptMessageSettings();
    messageBoxes[0] = MessageBox();
    projectState.players.clear();
    InternalCommandsTest::TearDown();
  }

  // Player 1 of two leads with the second actor of map 0.
  Actor& LeadingCharacter() {
    gameData.maps[0].actors.resize(2);
    gameData.maps[0].actors[1].displayName = u"Hero";
    projectState.players.resize(2);
    projectState.players[1].mapIndex = 0;
    projectState.players[1].party.resize(2);
    projectState.players[1].party[0].character = 1;
    projectState.players[1].party[1].character = 0;
    shell.currentPlayer = 1;
    return gameData.maps[0].actors[1];
  }
};

TEST_F(MainIdentifiersTest, ErrorStopsTheScriptWithItsText) {
  EXPECT_EQ(ErrorOfScript(u"Mark(1)\r\nError(\"Oops\")\r\nMark(2)"), "Oops");
  EXPECT_EQ(Marks(), std::vector<Variant>{Variant::Long(1)});
  EXPECT_EQ(ErrorLog().rfind("Error: Oops\r\n  [2]: Error(\"Oops\")\r\n", 0), 0u) << ErrorLog();
}

TEST_F(MainIdentifiersTest, MainNameIsTheLeadingCharactersDisplayName) {
  Actor& hero = LeadingCharacter();
  EXPECT_EQ(RunScript(u"Return(Main.Name)"), Text(u"Hero"));
  RunScript(u"SET Main.Name = 42");
  EXPECT_EQ(hero.displayName, u"42");
  EXPECT_EQ(RunScript(u"Return(Main.Name)"), Text(u"42"));
  projectState.players[1].party.clear();
  EXPECT_EQ(ErrorOfScript(u"Return(Main.Name)"), "Subscript out of range");
}

TEST_F(MainIdentifiersTest, CursorNamesAreTheCursorCommands) {
  RunScript(u"SET Main.CursorX = 40\r\nSET Main.CursorY = 30");
  EXPECT_EQ(RunScript(u"Return(Cursor.X & \",\" & Cursor.Y)"), Text(u"40,30"));
  RunScript(u"SET Cursor.X = 7");
  EXPECT_EQ(RunScript(u"Return(Main.CursorX)"), RunScript(u"Return(Cursor.X)"));
  EXPECT_EQ(RunScript(u"Return(Main.Cursor)"), RunScript(u"Return(Cursor.Effect)"));
}

TEST_F(MainIdentifiersTest, AccelerometerAndGestureSlotsAreSingles) {
  struct SlotCase {
    const char16_t* name;
    float* field;
  };
  const SlotCase slots[] = {
      {u"Cursor.AccelerometerX", &playerInputStates[0].accelerometerX},
      {u"Cursor.AccelerometerY", &playerInputStates[0].accelerometerY},
      {u"Cursor.AccelerometerZ", &playerInputStates[0].accelerometerZ},
      {u"Main.GestureAccuracy", &gestureResults[kGestureAccuracySlot]},
      {u"Main.GestureCompletion", &gestureResults[kGestureCompletionSlot]},
      {u"Main.GestureAngle", &gestureResults[kGestureAngleSlot]},
      {u"Main.GestureScale", &gestureResults[kGestureScaleSlot]},
  };
  for (const SlotCase& slot : slots) {
    SCOPED_TRACE(Utf16ToUtf8(slot.name));
    const std::u16string name = slot.name;
    EXPECT_EQ(RunScript(u"Return(" + name + u")"), Variant::Single(0));
    RunScript(u"SET " + name + u" = \"-1.25\"");
    EXPECT_EQ(*slot.field, -1.25f);
    EXPECT_EQ(RunScript(u"Return(" + name + u")"), Variant::Single(-1.25f));
  }
  // The gesture slots in the order a match fills them.
  gestureResults = {0.5f, 0.25f, 2.0f, 3.0f};
  EXPECT_EQ(
      RunScript(u"Return(Main.GestureAccuracy & \" \" & Main.GestureCompletion & \" \" & Main.GestureAngle & "
                u"\" \" & Main.GestureScale)"),
      Text(u"0.5 0.25 2 3"));
}

TEST_F(MainIdentifiersTest, Show3SetsEverySettingAndTheChoicesWithoutShowingTheBox) {
  messageBoxes[0].items.resize(3);
  messageBoxes[0].items[0].caption = u"kept";
  RunScript(u"MsgBox.Show3(\"Hello\", \"Bob\", \"yes\", 0.5, 0.25, 8, 4, \"on\", 0, 3000, 1, \"typed\", 2)");
  const ScriptMessageSettings& s = scriptMessageSettings;
  EXPECT_EQ(ErrorLog(), "");
  EXPECT_EQ(s.message, u"Hello");
  EXPECT_EQ(s.face, u"Bob");
  EXPECT_EQ(s.rightAlignedFace, 1);
  EXPECT_EQ(s.horizontalPosition, 0.5f);
  EXPECT_EQ(s.verticalPosition, 0.25f);
  EXPECT_EQ(s.width, 8);
  EXPECT_EQ(s.height, 4);
  EXPECT_EQ(s.hideBorder, 1);
  EXPECT_EQ(s.hideBackground, 0);
  EXPECT_EQ(s.autoClose, 3000);
  EXPECT_EQ(s.allowInput, 1);
  EXPECT_EQ(messageBoxes[0].inputText, u"typed");
  EXPECT_EQ(s.columns, 2);
  EXPECT_TRUE(s.choices.empty());
  EXPECT_EQ(messageBoxes[0].items.size(), 3u);
  EXPECT_EQ(messageBoxes[0].items[0].caption, u"kept");

  RunScript(u"MsgBox.Show3(\"Pick\", \"\", 0, 0, 0, 0, 0, 0, 0, 0, 0, \"\", 0, \"Tea\", \"Coffee\")");
  EXPECT_EQ(s.choices, (std::vector<std::u16string>{u"Tea", u"Coffee"}));
  ASSERT_EQ(messageBoxes[0].LastItem(), 1);
  EXPECT_EQ(messageBoxes[0].items[0].caption, u"Tea");
  EXPECT_EQ(messageBoxes[0].items[1].caption, u"Coffee");
  EXPECT_FALSE(messageBoxes[0].visible);
  EXPECT_EQ(ErrorOfScript(u"MsgBox.Show3(\"a\", \"\", \"maybe\", 0, 0, 0, 0, 0, 0, 0, 0, \"\", 0)"),
            "Boolean \"maybe\" is invalid.");
}

TEST_F(MainIdentifiersTest, ReferencesComeFromTheirResolvers) {
  EXPECT_EQ(ErrorOfScript(u"Return(Main.Member(\"Nobody\"))"), "Party member \"Nobody\" is not loaded.");
  LeadingCharacter().name = u"Hero";
  PushCallFrame(CallFrame(), kiv::Script());
  const ScriptValue member = Call(u"Main.Member", {Text(u"Hero")});
  EXPECT_EQ(member.kind, kObjectPartyMember);
  EXPECT_EQ(member.value, Variant::Long(0));  // the first party slot
  EXPECT_EQ(member.mapIndex, 1);              // of player 1
  PopCallFrame();
  EXPECT_NE(ErrorOfScript(u"Return(CharTeam(\"Nobody\"))"), "");
  EXPECT_NE(ErrorOfScript(u"Return(Command(\"Nowhere\"))"), "");
}

// Names without behaviour of their own end in the unknown-identifier message
// unless a custom event claims them; the "Screen." and "Main." names of other
// executors are handed on.
TEST_F(MainIdentifiersTest, InertAndHandedOnNames) {
  for (const char16_t* name : {u"FileSystem.Open", u"Trigger.Param1", u"Trigger.Actor.Action", u"Push"}) {
    const std::u16string text = name;
    EXPECT_EQ(ErrorOfScript(text + u"(1)"),
              "Identifier \"" + Utf16ToUtf8(text) +
                  "\" is not a variable, switch, custom event or internal command.");
  }
  projectState.players.resize(1);
  EXPECT_EQ(ErrorOfScript(u"Main.Experience(10)"), "");
  EXPECT_EQ(calls_.back().name, "Experience");
  EXPECT_EQ(ErrorOfScript(u"Screen.ShowSprite(\"x\")"), "Ambiguous camera view.");
}

}  // namespace
}  // namespace kiv::test
