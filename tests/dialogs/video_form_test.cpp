#include "dialogs/video_form.h"

#include <gtest/gtest.h>

#include "dialogs/dialogs_fixture.h"

namespace kiv {
namespace {

using test::DialogsTest;

class VideoTest : public DialogsTest {
 protected:
  void TearDown() override {
    if (frmVideo.IsLoaded()) frmVideo.Unload();
    DialogsTest::TearDown();
  }
  ui::Control& Item(const char* name) { return frmVideo.Controls(name).Item(0); }
  ui::Control& Size(int i) { return frmVideo.Controls("txtboxSize")[static_cast<std::size_t>(i)]; }
};

TEST_F(VideoTest, ModeTextsListsAndTheirItemValues) {
  EXPECT_EQ(VideoModeText(800, 600, 60, 22), "800x600x60Hz 32bit ID:22");
  EXPECT_EQ(VideoModeText(1024, 768, 0, 23), "1024x768x0Hz 16bit ID:23");
  adapters = {std::string("Primary\0hidden", 14), std::string(600, 'A')};
  frmVideo.Show();
  EXPECT_EQ(frmVideo.caption, "Video Options");
  EXPECT_EQ(Item("listAdapter").list, (std::vector<std::string>{"Primary", std::string(512, 'A')}));
  EXPECT_EQ(Item("listDevice").list,
            (std::vector<std::string>{"Hardware Accelerated Rendering", "Software Rendering"}));
  EXPECT_EQ(Item("listDevice").itemData, (std::vector<std::int32_t>{1, 2}));
  // In enumeration order, only wider than 639 and taller than 479.
  EXPECT_EQ(Item("listDisplayMode").list,
            (std::vector<std::string>{"640x480x60Hz 32bit ID:22", "800x600x60Hz 32bit ID:22",
                                      "800x600x75Hz 32bit ID:22", "1024x768x60Hz 32bit ID:22",
                                      "800x600x60Hz 16bit ID:23"}));
}

TEST_F(VideoTest, OnlyTheDeviceTypesWhoseQuerySucceeds) {
  const struct {
    bool hardware, software;
    std::vector<std::int32_t> values;
  } cases[] = {{true, false, {1}}, {false, true, {2}}, {false, false, {}}};
  for (const auto& c : cases) {
    hardware = c.hardware, software = c.software;
    frmVideo.Show();
    EXPECT_EQ(Item("listDevice").itemData, c.values);
    EXPECT_EQ(Item("listDevice").listIndex, c.values.empty() ? -1 : 0);
    frmVideo.Unload();
  }
}

TEST_F(VideoTest, TheStoredModeIsSelectedByTextThenBySizeAndFormatThenFirst) {
  const struct {
    const char* name;
    std::int32_t width, height, refresh, format;
    std::int32_t selected;
  } cases[] = {
      {"exact text", 800, 600, 75, 22, 2},
      {"other refresh rate", 1024, 768, 85, 22, 3},
      {"same size, format decides", 800, 600, 85, 23, 4},
      {"size no longer offered", 1280, 1024, 60, 22, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    graphics.videoWidth = c.width, graphics.videoHeight = c.height;
    graphics.videoRefresh = c.refresh, graphics.videoFormat = c.format;
    frmVideo.Show();
    EXPECT_EQ(Item("listDisplayMode").listIndex, c.selected);
    frmVideo.Unload();
  }
}

TEST_F(VideoTest, StoredAdapterAndDeviceAndTheWindowedState) {
  adapters = {"First", "Second"};
  playerSettings.adapterIndex = 1;
  playerSettings.deviceIndex = 2;
  graphics.videoWindowed = true;
  graphics.videoWidth = 1000, graphics.videoHeight = 700;
  frmVideo.Show();
  EXPECT_EQ(Item("listAdapter").listIndex, 1);
  EXPECT_EQ(calls.front(), "EnumDisplayModes 1");
  EXPECT_EQ(Item("listDevice").listIndex, 1);
  EXPECT_EQ(Item("checkWindow").value, 1);
  EXPECT_FALSE(Item("listDisplayMode").visible);
  EXPECT_TRUE(Size(0).visible && Size(1).visible);
  EXPECT_EQ(Size(0).text, "1000");
  EXPECT_EQ(Size(1).text, "700");
  // Toggling shows the mode list instead.
  Item("checkWindow").value = 0;
  frmVideo.checkWindow_Click();
  EXPECT_TRUE(Item("listDisplayMode").visible);
  EXPECT_FALSE(Size(0).visible || Size(1).visible);
  frmVideo.Unload();

  // Beyond the lists: entry 0.
  playerSettings.adapterIndex = 5;
  playerSettings.deviceIndex = 7;
  frmVideo.Show();
  EXPECT_EQ(Item("listAdapter").listIndex, 0);
  EXPECT_EQ(Item("listDevice").listIndex, 0);
}

TEST_F(VideoTest, PackageLocksNarrowTheChoices) {
  playerSettings.resolutionChangeAllowed = false;
  playerSettings.fullscreenChangeAllowed = false;
  playerSettings.designWidth = 800, playerSettings.designHeight = 600;
  graphics.videoWindowed = true;
  frmVideo.Show();
  EXPECT_EQ(Item("listDisplayMode").list,
            (std::vector<std::string>{"800x600x60Hz 32bit ID:22", "800x600x75Hz 32bit ID:22",
                                      "800x600x60Hz 16bit ID:23"}));
  EXPECT_FALSE(Size(0).enabled || Size(1).enabled);
  EXPECT_FALSE(Item("checkWindow").enabled);
  EXPECT_EQ(Item("checkWindow").value, 1);  // the stored value stays
}

TEST_F(VideoTest, OkWritesTheRenderKeysInOrder) {
  WriteSettings("[Render]\r\nFormat=23\r\nMine=yes\r\n");
  graphics.videoFormat = 23, graphics.videoRefresh = 85;
  frmVideo.Show();
  Item("listDisplayMode").listIndex = 3;  // 1024x768x60Hz 32bit ID:22
  Item("listDevice").listIndex = 1;
  frmVideo.buttonOK_Click();
  EXPECT_FALSE(frmVideo.IsLoaded());
  EXPECT_EQ(SettingsText(),
            "[Render]\r\nFormat=22\r\nMine=yes\r\nAdapter=0\r\nDevice=2\r\nWidth=1024\r\nHeight=768\r\n"
            "Refresh=60\r\nWindowed=0\r\n");
  EXPECT_EQ(graphics.videoWidth, 1024);
  EXPECT_EQ(graphics.videoRefresh, 60);
  EXPECT_EQ(graphics.videoDeviceType, 2);
  EXPECT_EQ(playerSettings.deviceIndex, 2);
  EXPECT_FALSE(graphics.videoWindowed);
  EXPECT_EQ(calls.back(), "ShowStartWindow");
}

TEST_F(VideoTest, AWindowedOkKeepsFormatAndRefresh) {
  graphics.videoFormat = 23, graphics.videoRefresh = 75;
  frmVideo.Show();
  Item("checkWindow").value = 1;
  frmVideo.checkWindow_Click();
  Size(0).text = "1280";
  Size(1).text = " 720 ";
  frmVideo.buttonOK_Click();
  EXPECT_EQ(SettingsText(),
            "[Render]\r\nAdapter=0\r\nDevice=1\r\nWidth=1280\r\nHeight=720\r\nFormat=23\r\nRefresh=75\r\n"
            "Windowed=-1\r\n");
  EXPECT_TRUE(graphics.videoWindowed);
}

TEST_F(VideoTest, AnOkThatCannotBeHadKeepsTheDialogOpenAndWritesNothing) {
  const struct {
    const char* name;
    const char* width;
    const char* height;
    bool windowed;
    bool noModes;
    bool noDevices;
    const char* field;
  } cases[] = {
      {"width not a number", "wide", "600", true, false, false, "Window : the width"},
      {"height zero", "800", "0", true, false, false, "Window : the height"},
      {"negative width", "-800", "600", true, false, false, "Window : the width"},
      {"fraction", "800.5", "600", true, false, false, "Window : the width"},
      {"no mode", "", "", false, true, false, "Display :"},
      {"no device", "800", "600", true, false, true, "Device :"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    if (c.noModes) modes.clear();
    hardware = software = !c.noDevices;
    frmVideo.Show();
    Item("checkWindow").value = c.windowed ? 1 : 0;
    Size(0).text = c.width;
    Size(1).text = c.height;
    frmVideo.buttonOK_Click();
    EXPECT_TRUE(frmVideo.IsLoaded());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(c.field), std::string::npos) << boxes[0];
    EXPECT_FALSE(std::filesystem::exists(SettingsIniPath()));
    frmVideo.Unload();
  }
}

TEST_F(VideoTest, NoAdapterShowsTheMessageAndCloses) {
  adapters.clear();
  frmVideo.Show();
  EXPECT_FALSE(frmVideo.IsLoaded());
  EXPECT_EQ(boxes,
            (std::vector<std::string>{
                "DirectX 8 : Direct3D 8 General Error|DirectX 8 : Direct3D 8 wasn't able to detect any "
                "display adapters.  You probably don't have the latest drivers for your video card.  Could "
                "you please try to download them.  We do not offer any support on this subject at this "
                "time."}));
  EXPECT_EQ(calls, (std::vector<std::string>{"ShowStartWindow"}));
}

TEST_F(VideoTest, TheTitleIsSpokenWithTheVoiceOn) {
  playerSettings.voiceEnabled = true;
  frmVideo.Show();
  EXPECT_EQ(calls.back(), "Speak Video Options 3");
}

}  // namespace
}  // namespace kiv
