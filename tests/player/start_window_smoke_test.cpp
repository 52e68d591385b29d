// The start window in a real (offscreen) window: drawn from the sample game's
// menu, written as a PNG, and button 0 clicked through an injected mouse.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>

#include "player/start_window_fixture.h"
#include "support/sample_game.h"

namespace kiv {
namespace {

using test::StartWindowTest;

int DarkPixels(const std::vector<std::uint8_t>& rgba, int width, int x0, int y0, int x1, int y1) {
  int dark = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)) *
                                    4];
      if (p[0] < 80 && p[1] < 80 && p[2] < 80) ++dark;
    }
  }
  return dark;
}

TEST_F(StartWindowTest, TheSampleMenuIsDrawnAndButtonZeroClickedStartsAGame) {
  ui::SetWindowlessForms(false);
  startWindowDevices.Reset();  // the real devices, audio and voice
  startWindowDevices.StartGame = [this](const std::string& path) {
    calls_.push_back("StartGame [" + path + "]");
  };
  const std::string path = dir_.File("games/Sample/DATA.kRC");
  std::filesystem::create_directories(dir_.File("games/Sample"));
  test::SampleGamePackage().WriteTo(path);
  ASSERT_TRUE(frmStart.Initialize(path));
  frmStart.Show();
  ASSERT_TRUE(frmStart.IsLoaded());
  ASSERT_NE(frmStart.WindowHandle(), nullptr);
  EXPECT_EQ(frmStart.caption, "Welcome to the Sample Game!");
  ui::DoEvents();

  std::vector<std::uint8_t> rgba;
  int width = 0, height = 0;
  ASSERT_TRUE(ui::ReadFormPixels(frmStart, rgba, width, height));
  ASSERT_EQ(width, 700);
  ASSERT_EQ(height, 500);
  const char* png = std::getenv("KIV_START_WINDOW_PNG");
  const std::string pngPath = png ? std::string(png) : dir_.File("start_window.png");
  EXPECT_NE(stbi_write_png(pngPath.c_str(), width, height, 4, rgba.data(), width * 4), 0);
  // Captions on the visible buttons (0, 1, the options, 9), none where "Website" hides button 8.
  for (int top : {4, 41, 82, 119, 156, 193, 230, 271}) {
    EXPECT_GT(DarkPixels(rgba, width, 430, top + 6, 690, top + 27), 20) << "button at " << top;
  }
  EXPECT_EQ(DarkPixels(rgba, width, 430, 312 + 6, 690, 312 + 27), 0);
  // The page's place is empty inside its frame.
  EXPECT_EQ(DarkPixels(rgba, width, 10, 10, 410, 490), 0);

  calls_.clear();
  for (bool down : {false, true, false}) {
    ui::InjectMouse(frmStart, 420 + 138, 4 + 16, down);
    ui::DoEvents();
  }
  ui::ClearInjectedMouse();
  EXPECT_EQ(Calls("StartGame"), (std::vector<std::string>{"StartGame []"}));
  EXPECT_FALSE(frmStart.IsLoaded());
  ShutdownDevices();
}

}  // namespace
}  // namespace kiv
