#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/window.h"
#include "platform/ui/form.h"
#include "platform_ui/recording_form.h"

namespace kiv::ui {
namespace {

using test::RecordingForm;

class WindowedForms : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearInjectedMouse();
    if (form.IsLoaded()) form.Unload();
  }
  void PushWindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(form.WindowHandle());
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  void PushKey(SDL_Keycode key, Uint16 mod = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(form.WindowHandle());
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  }
  void PushText(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = SDL_GetWindowID(form.WindowHandle());
    SDL_strlcpy(event.text.text, utf8, sizeof(event.text.text));
    SDL_PushEvent(&event);
  }
  RecordingForm form;
};

TEST_F(WindowedForms, AnInjectedClickRunsTheHandlerAfterTheFrameWhichMayUnloadTheForm) {
  form.Show();
  ASSERT_NE(form.WindowHandle(), nullptr);
  form.calls.clear();
  form.unloadOnClick = true;
  InjectMouse(form, 60, 10 + 36 + 15, false);  // over button 1
  DoEvents();
  InjectMouse(form, 60, 10 + 36 + 15, true);
  DoEvents();
  EXPECT_TRUE(form.calls.empty());
  InjectMouse(form, 60, 10 + 36 + 15, false);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"Click buttonTest 1", "QueryUnload 1", "Unload"}));
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(AnyFormLoaded());
}

TEST_F(WindowedForms, ADisabledOrHiddenButtonTakesNoClick) {
  form.Controls("buttonTest")[1].enabled = false;
  form.Controls("buttonTest")[2].visible = false;
  form.Show();
  form.calls.clear();
  for (int top : {10 + 36 + 15, 10 + 72 + 15}) {
    for (bool down : {false, true, false}) {
      InjectMouse(form, 60, top, down);
      DoEvents();
    }
  }
  EXPECT_TRUE(form.calls.empty());
}

TEST_F(WindowedForms, ReturnPressesTheDefaultButtonAndEscapeTheCancelButton) {
  form.Show();
  form.calls.clear();
  PushKey(SDLK_RETURN);
  PushKey(SDLK_ESCAPE);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"KeyDown 13 0", "Click buttonTest 0", "KeyDown 27 0",
                                                  "Click buttonTest 2"}));
}

TEST_F(WindowedForms, KeysReachKeyDownAndKeyPressWithBackspaceAsEight) {
  form.Show();
  form.calls.clear();
  PushKey(SDLK_a, KMOD_LSHIFT);
  PushText("A\xE2\x82\xAC\xE4\xB8\xAD");  // "A", the euro sign (0x80) and a character outside Windows-1252
  PushKey(SDLK_BACKSPACE);
  PushKey(SDLK_LALT, KMOD_LALT);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"KeyDown 65 1", "KeyPress 65", "KeyPress 128",
                                                  "KeyDown 8 0", "KeyPress 8", "KeyDown 18 4"}));
}

TEST_F(WindowedForms, TheCloseBoxAsksWithModeZeroAndFocusBackActivates) {
  form.Show();
  form.calls.clear();
  form.refuseUserClose = true;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  DoEvents();
  EXPECT_TRUE(form.IsLoaded());
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);  // still the active form: no second activation
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  DoEvents();
  form.refuseUserClose = false;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  DoEvents();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.calls, (std::vector<std::string>{"QueryUnload 0", "Activate", "QueryUnload 0", "Unload"}));
}

TEST_F(WindowedForms, AnAdoptedWindowGetsTheEventsButNoDrawingAndOutlivesTheForm) {
  gfx::Window window("game", 160, 120, false, false);
  form.AdoptWindow(&window);
  form.Show();
  ASSERT_EQ(form.WindowHandle(), window.Handle());
  std::vector<std::uint8_t> rgba;
  int width = 0, height = 0;
  EXPECT_FALSE(ReadFormPixels(form, rgba, width, height));  // not an ImGui form
  form.calls.clear();
  form.refuseUserClose = true;
  PushKey(SDLK_RETURN);  // no default button press: the window draws no controls
  PushText("x");
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  DoEvents();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"KeyDown 13 0", "KeyPress 120", "QueryUnload 0"}));
  form.refuseUserClose = false;
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(form.WindowHandle(), nullptr);
  EXPECT_NE(SDL_GetWindowID(window.Handle()), 0u);  // still the owner's
}

// Dark pixels inside a rectangle of the client area.
int DarkPixels(const std::vector<std::uint8_t>& rgba, int width, int x0, int y0, int x1, int y1) {
  int dark = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)) *
                                    4];
      if (p[0] < 100 && p[1] < 100 && p[2] < 100) ++dark;
    }
  }
  return dark;
}

TEST_F(WindowedForms, TheEuroSignAndCurlyQuotesOfWindows1252Captions) {
  // Label 0 shows only the euro sign, label 1 only the curly quotes, label 2
  // a character ImGui draws as "?" when it lacks the glyph.
  form.Controls("txtInfo")[0] = Control{"\x80", "", 20, 10, 30, 20};
  form.Controls("buttonTest")[0].visible = false;
  form.Controls("buttonTest")[1].visible = false;
  form.Controls("buttonTest")[2].visible = false;
  form.Show();
  ASSERT_TRUE(FormsUseWindows1252Font());
  std::vector<std::uint8_t> euro, quotes, missing;
  int width = 0, height = 0;
  ASSERT_TRUE(ReadFormPixels(form, euro, width, height));
  ASSERT_EQ(width, 200);
  form.Controls("txtInfo")[0].caption = "\x93\x94";
  ASSERT_TRUE(ReadFormPixels(form, quotes, width, height));
  form.Controls("txtInfo")[0].caption = "\x81";  // unassigned in Windows-1252
  ASSERT_TRUE(ReadFormPixels(form, missing, width, height));
  const int euroInk = DarkPixels(euro, width, 20, 10, 50, 30);
  const int quoteInk = DarkPixels(quotes, width, 20, 10, 50, 30);
  EXPECT_GT(euroInk, 10);
  EXPECT_GT(quoteInk, 4);
  // The quotes sit in the upper half of the line; the euro sign fills it.
  EXPECT_EQ(DarkPixels(quotes, width, 20, 20, 50, 30), 0);
  EXPECT_GT(DarkPixels(euro, width, 20, 20, 50, 30), 0);
  EXPECT_NE(euro, quotes);
}

}  // namespace
}  // namespace kiv::ui
