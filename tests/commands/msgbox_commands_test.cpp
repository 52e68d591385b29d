// The MsgBox commands from scripts: the message wait, the choices read back,
// the face, look and choices of MsgBox.Show2, and the message settings.
#include "data/data_hooks.h"
#include "dialogs/player_settings.h"
#include "internal_commands_fixture.h"
#include "player/message_boxes.h"
#include "player/script_message_state.h"
#include "state/project_settings_block.h"

namespace kiv::test {
namespace {

constexpr char kNoChoice[] =
    "-1 Attempted to check for selected message box choice when no message box had a choice.";
constexpr char kOutOfRange[] = "-1 Attempted to specify a message box choice outside of the expected range.";

class MessageBoxCommandsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    messageBoxes[0] = MessageBox();
    messagePortrait = MessagePortrait();
    scriptMessageSettings = ScriptMessageSettings();
    storedProjectSettings.Reset();
    storedProjectSettings.messageBoxDefaults[0] = 0x11111111;
    storedProjectSettings.messageBoxDefaults[1] = 0x22222222;
    playerSettings.textInterval = 15;
    dataHooks.GenerateMapData = [](std::int32_t, bool) {};
    controls.resize(3);
    controls[2].name = u"Action";
    PushCallFrame(CallFrame(), kiv::Script());
  }
  void TearDown() override {
    messageBoxes[0] = MessageBox();
    messagePortrait = MessagePortrait();
    scriptMessageSettings = ScriptMessageSettings();
    storedProjectSettings.Reset();
    playerSettings.textInterval = 15;
    controls.clear();
    InternalCommandsTest::TearDown();
  }
  static MessageBox& Box() { return messageBoxes[0]; }
  Variant Read(const std::u16string& name) { return Call(name, {}).value; }
  std::string Assign(const std::u16string& name, Variant value) {
    return Raised([&] { Call(name, {}, kModeAssign, value); });
  }
};

TEST_F(MessageBoxCommandsTest, ReadingTimeOfTheMessageWait) {
  struct Case {
    const char16_t* script;
    float factor;
    std::int32_t interval;
    std::int32_t time;
  };
  const Case cases[] = {
      {u"MsgBox.Show(\"Hello\")", 1.0f, 15, 75},
      {u"MsgBox.Show(\"abc\")", 0.5f, 5, 8},   // 7.5: to the even 8
      {u"MsgBox.Show(\"a\")", 0.5f, 5, 2},     // 2.5: to the even 2
      {u"MsgBox.Show(\"\")", 1.0f, 15, 15},    // stored as one blank
      {u"MsgBox.Show(\"Hi\\QYes\\QNo\")", 1.0f, 10, 20},  // the message alone
      {u"MsgBox.Show2(\"Hello\", \"\", 0, 1, 1, 0, 0, 0, 0, 0, \"\", 0)", 2.0f, 10, 100},
  };
  for (const Case& c : cases) {
    ClearWaitingScripts();
    Box().typeFactor = c.factor;
    playerSettings.textInterval = c.interval;
    EXPECT_EQ(ErrorOfScript(c.script), "") << Utf16ToUtf8(c.script);
    ASSERT_EQ(waitingScripts.size(), 1u) << Utf16ToUtf8(c.script);
    const WaitingScript& wait = waitingScripts[0];
    EXPECT_EQ(wait.timeLeft, c.time) << Utf16ToUtf8(c.script);
    EXPECT_EQ(wait.combination, 1);
    EXPECT_EQ(wait.flags, 0);
    EXPECT_EQ(wait.player, 0);
    EXPECT_EQ(wait.controls, std::vector<std::int32_t>{2});
    EXPECT_TRUE(Box().visible);
  }
}

TEST_F(MessageBoxCommandsTest, ChoicesReadBackByCaptionAndPlace) {
  RunScript(u"MsgBox.Show2(\"Stay?\", \"\", 0, 1, 0.1, 0, -4, 0, 0, 0, \"\", 0, \"Yes\", \"\", \"No\")");
  ASSERT_EQ(Box().items.size(), 2u);
  EXPECT_EQ(Read(u"MsgBox.SelectedText"), Variant::Text(u"Yes"));
  EXPECT_EQ(Read(u"MsgBox.SelectedNumber"), Variant::Long(0));
  EXPECT_EQ(Assign(u"MsgBox.SelectedNumber", Variant::Long(1)), "no error");
  EXPECT_EQ(Read(u"MsgBox.SelectedText"), Variant::Text(u"No"));
  EXPECT_EQ(Read(u"MsgBox.SelectedNumber"), Variant::Long(2));

  struct Case {
    Variant assigned;
    const char* error;
  };
  const Case cases[] = {
      {Variant::Long(-1), kOutOfRange},
      {Variant::Long(2), kOutOfRange},
      {Variant::Double(-0.4), kOutOfRange},
      {Variant::Long(0), "no error"},
      {Variant::Text(u"1"), "no error"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Assign(u"MsgBox.SelectedNumber", c.assigned), c.error) << Utf16ToUtf8(VarToTextLenient(c.assigned));
  }
}

TEST_F(MessageBoxCommandsTest, ANewMessageWithoutChoicesHasNoneToRead) {
  RunScript(u"MsgBox.Show(\"Pick\\QA\\QB\")");
  Assign(u"MsgBox.SelectedNumber", Variant::Long(1));
  RunScript(u"MsgBox.Show(\"Done\")");
  EXPECT_EQ(Box().selected, 0);
  EXPECT_EQ(Box().selection, -1);
  EXPECT_EQ(Raised([&] { Read(u"MsgBox.SelectedText"); }), kNoChoice);
  EXPECT_EQ(Raised([&] { Read(u"MsgBox.SelectedNumber"); }), kNoChoice);
  EXPECT_EQ(Assign(u"MsgBox.SelectedNumber", Variant::Long(0)), kOutOfRange);
  // A selection below the list reads as none.
  RunScript(u"MsgBox.Show(\"Pick\\QA\")");
  Box().selected = -1;
  EXPECT_EQ(Raised([&] { Read(u"MsgBox.SelectedText"); }), kNoChoice);
}

TEST_F(MessageBoxCommandsTest, Show2FaceLookAndFewArguments) {
  Actor bob;
  bob.name = u"Character Bob";
  gameData.maps[0].actors.push_back(bob);
  const std::int32_t bobIndex = static_cast<std::int32_t>(gameData.maps[0].actors.size()) - 1;

  EXPECT_EQ(ErrorOfScript(u"MsgBox.Show2(\"Hi\", \"Bob\", 1, 0.5, 2, 12, 3, 1, 0, 1, \"Me\", 2, \"A\")"), "");
  EXPECT_EQ(messagePortrait.actor, bobIndex);
  EXPECT_EQ(messagePortrait.map, 0);
  EXPECT_TRUE(messagePortrait.onRight);
  EXPECT_EQ(Box().posX, 0.5f);
  EXPECT_EQ(Box().posY, 2.0f);
  EXPECT_EQ(Box().width, 12);
  EXPECT_EQ(Box().height, 3);
  EXPECT_EQ(Box().frameColor, 0u);
  EXPECT_EQ(Box().backColor, 0x11111111u);
  EXPECT_EQ(Box().itemColumns, 2);
  EXPECT_EQ(Box().inputMode, 1);
  EXPECT_EQ(Box().inputText, u"Me");
  ASSERT_EQ(Box().items.size(), 1u);

  // An empty face clears the speaker and keeps the side; the look follows the flags.
  EXPECT_EQ(ErrorOfScript(u"MsgBox.Show2(\"Hi\", \"\", 0, 1, 1, 0, 0, 0, 1, 0, \"\", 0)"), "");
  EXPECT_EQ(messagePortrait.actor, -1);
  EXPECT_EQ(messagePortrait.map, -1);
  EXPECT_TRUE(messagePortrait.onRight);
  EXPECT_EQ(Box().frameColor, 0x22222222u);
  EXPECT_EQ(Box().backColor, 0u);
  EXPECT_TRUE(Box().items.empty());

  // Missing arguments read as empty.
  EXPECT_EQ(ErrorOfScript(u"MsgBox.Show2(\"Short\")"), "");
  EXPECT_EQ(Box().text, u"Short");
  EXPECT_EQ(Box().posX, 0.0f);
  EXPECT_EQ(Box().inputMode, 0);

  EXPECT_NE(ErrorOfScript(u"MsgBox.Show2(\"Hi\", \"Nobody\", 0, 1, 1, 0, 0, 0, 0, 0, \"\", 0)"), "");
}

TEST_F(MessageBoxCommandsTest, HideAndInput) {
  RunScript(u"MsgBox.Show(\"Hi\\TName\")");
  EXPECT_TRUE(Box().visible);
  EXPECT_EQ(Read(u"MsgBox.Input"), Variant::Text(u"Name"));
  EXPECT_EQ(Assign(u"MsgBox.Input", Variant::Long(42)), "no error");
  EXPECT_EQ(Box().inputText, u"42");
  EXPECT_EQ(ErrorOfScript(u"MsgBox.Hide()"), "");
  EXPECT_FALSE(Box().visible);
  EXPECT_TRUE(waitingScripts.size() == 1u);  // only the Show waits
}

TEST_F(MessageBoxCommandsTest, MessageSettings) {
  struct Case {
    const char16_t* name;
    Variant assigned;
    Variant reads;
  };
  const Case cases[] = {
      {u"MsgBox.Message", Variant::Long(5), Variant::Text(u"5")},
      {u"MsgBox.Face", Variant::Text(u"Bob"), Variant::Text(u"Bob")},
      {u"MsgBox.RightAlignedFace", Variant::Text(u"True"), Variant::Byte(1)},
      {u"MsgBox.HorizontalPosition", Variant::Double(-3.5), Variant::Single(-3.5f)},
      {u"MsgBox.VerticalPosition", Variant::Double(0.25), Variant::Single(0.25f)},
      {u"MsgBox.Width", Variant::Double(7.5), Variant::Long(8)},
      {u"MsgBox.Height", Variant::Long(-2), Variant::Long(-2)},
      {u"MsgBox.HideBorder", Variant::Long(1), Variant::Byte(1)},
      {u"MsgBox.HideBackground", Variant::Long(0), Variant::Byte(0)},
      {u"MsgBox.AutoClose", Variant::Long(3000), Variant::Long(3000)},
      {u"MsgBox.AllowInput", Variant::Text(u"on"), Variant::Byte(1)},
      {u"MsgBox.Columns", Variant::Long(3), Variant::Long(3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Assign(c.name, c.assigned), "no error") << Utf16ToUtf8(c.name);
    EXPECT_EQ(Read(c.name), c.reads) << Utf16ToUtf8(c.name);
  }
  EXPECT_EQ(Read(u"MsgBox.Choices"), Variant::Array(kVarVariant, {}));
  scriptMessageSettings.choices = {u"Yes", u"No"};
  EXPECT_EQ(Read(u"MsgBox.Choices"), Variant::Array(kVarVariant, {Variant::Text(u"Yes"), Variant::Text(u"No")}));
}

}  // namespace
}  // namespace kiv::test
