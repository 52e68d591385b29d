// The Screen commands: the screen size, the HUD shown and hidden as an
// overlay, and the camera view's names handed on unchanged.
#include "data/game_data.h"
#include "data/project_state.h"
#include "internal_commands_fixture.h"
#include "media/graphics.h"
#include "script/waits.h"

namespace kiv::test {
namespace {

constexpr std::int32_t kCameraViewFace = 6;

class ScreenCommandsTest : public InternalCommandsTest {
 protected:
  void SetUp() override {
    InternalCommandsTest::SetUp();
    projectState.Reset();
    hud_ = gameData.maps.Append();
    gameData.maps[hud_].isInterface = true;
    gameData.maps[hud_].fileName = u"Hud";
    projectState.settings.startInterfaces[0].index = hud_;
    savedWidth_ = graphics.videoWidth;
    savedHeight_ = graphics.videoHeight;
  }
  void TearDown() override {
    graphics.videoWidth = savedWidth_;
    graphics.videoHeight = savedHeight_;
    projectState.Reset();
    InternalCommandsTest::TearDown();
  }

  std::int32_t hud_ = -1;
  std::int32_t savedWidth_ = 0;
  std::int32_t savedHeight_ = 0;
};

TEST_F(ScreenCommandsTest, HudIsShownAndHiddenAsAnOverlay) {
  struct Case {
    const char16_t* value;
    std::uint8_t shown;
  };
  const Case cases[] = {{u"\"no\"", 0}, {u"1", 1}, {u"0", 0}, {u"\"Yes\"", 1}, {u"\"off\"", 0}, {u"-1", 1}};
  for (const Case& c : cases) {
    ASSERT_EQ(ErrorOfScript(u"SET Screen.HUD = " + std::u16string(c.value)), "") << Utf16ToUtf8(c.value);
    EXPECT_EQ(gameData.maps[hud_].overlayActive, c.shown) << Utf16ToUtf8(c.value);
    EXPECT_EQ(RunScript(u"Return(Screen.HUD)"), Variant::Long(c.shown)) << Utf16ToUtf8(c.value);
  }
  EXPECT_EQ(ErrorOfScript(u"SET Screen.HUD = \"maybe\""), "Boolean \"maybe\" is invalid.");
  EXPECT_EQ(gameData.maps[hud_].overlayActive, 1);
}

TEST_F(ScreenCommandsTest, WithoutAHudNothingHappens) {
  projectState.settings.startInterfaces[0].index = -1;
  EXPECT_EQ(ErrorOfScript(u"SET Screen.HUD = 1"), "");
  EXPECT_EQ(ErrorOfScript(u"SET Screen.HUD = \"maybe\""), "");
  EXPECT_EQ(gameData.maps[hud_].overlayActive, 0);
  EXPECT_EQ(RunScript(u"LOCAL r\r\nSET r = Screen.HUD\r\nReturn(r)"), Variant());
}

TEST_F(ScreenCommandsTest, SizeIsTheScreensAndCannotBeAssigned) {
  struct Case {
    std::int32_t width;
    std::int32_t height;
  };
  for (const Case& c : {Case{1024, 768}, Case{800, 600}, Case{1920, 1080}}) {
    graphics.videoWidth = c.width;
    graphics.videoHeight = c.height;
    EXPECT_EQ(RunScript(u"Return(Screen.SizeX)"), Variant::Long(c.width));
    EXPECT_EQ(RunScript(u"Return(Screen.SizeY)"), Variant::Long(c.height));
  }
  EXPECT_EQ(ErrorOfScript(u"SET Screen.SizeX = 5\r\nSET Screen.SizeY = 5"), "");
  EXPECT_EQ(graphics.videoWidth, 1920);
  EXPECT_EQ(graphics.videoHeight, 1080);
}

// The camera view's own names reach its executor without the prefix, with the
// arguments, the mode and the value, and its result is the script's.
TEST_F(ScreenCommandsTest, CameraViewNamesAreHandedOnWhole) {
  Field view;
  view.kind = kCameraViewFace;
  gameData.maps[hud_].fields.push_back(view);
  gameData.maps[hud_].overlayActive = 1;
  struct Handed {
    std::u16string name;
    std::int32_t kind;
    std::int32_t arguments;
    std::int16_t mode;
    Variant value;
  };
  std::vector<Handed> handed;
  scriptHooks.fieldExecutor = [&handed](std::int32_t code, ScriptValue& object, std::int32_t upper,
                                        ScriptValue& result, std::int16_t mode, const Variant& value, bool) {
    handed.push_back({SymbolName(code), object.kind, upper + 1, mode, value});
    if (SymbolName(code) == u"WaitPan") {
      result =
          ScriptValue{kValueControl, ScriptMakeWaitRequest(1, 0, -1, 0, -1, Variant::Long(-1), -1, 0, -1), 0};
    } else if (mode != kModeAssign) {
      result.value = Variant::Text(u"view");
    }
  };
  const char16_t* names[] = {
      u"Disable",      u"Flash",     u"FlashStart", u"FlashStop", u"FocusActor", u"FocusChar", u"FocusMap",
      u"FocusVehicle", u"Hide",      u"Hide2",      u"Pan",       u"Pan2",       u"PanReturn", u"Shake",
      u"ShakeStart",   u"ShakeStop", u"Show",       u"X",         u"Y",          u"Z",         u"X2",
      u"Y2",           u"Z2",        u"View"};
  for (const char16_t* name : names) {
    handed.clear();
    const std::u16string screen = u"Screen." + std::u16string(name);
    EXPECT_EQ(RunScript(u"Return(" + screen + u"(1, 2))"), Variant::Text(u"view")) << Utf16ToUtf8(name);
    ASSERT_EQ(ErrorOfScript(u"SET " + screen + u" = 7"), "") << Utf16ToUtf8(name);
    ASSERT_EQ(handed.size(), 2u) << Utf16ToUtf8(name);
    for (const Handed& h : handed) {
      EXPECT_EQ(h.name, name);
      EXPECT_EQ(h.kind, kObjectCameraView);
    }
    EXPECT_EQ(handed[0].arguments, 2) << Utf16ToUtf8(name);
    EXPECT_EQ(handed[1].mode, kModeAssign) << Utf16ToUtf8(name);
    EXPECT_EQ(handed[1].value, Variant::Long(7)) << Utf16ToUtf8(name);
  }
  // The view's waits are the script's.
  constexpr std::int32_t kEventWithoutConditions = 600;
  Raise(AddActor(kEventWithoutConditions, u"Screen.WaitPan\r\nMark(1)"));
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(waitingScripts.size(), 1u);
}

}  // namespace
}  // namespace kiv::test
