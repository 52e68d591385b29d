#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gfx/window.h"
#include "platform/ui/form.h"
#include "platform_ui/recording_form.h"
#include "support/form_driver.h"

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

Control Place(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
              const std::string& caption = "") {
  Control control;
  control.left = left, control.top = top, control.width = width, control.height = height;
  control.caption = caption;
  return control;
}

// A form with one control of each further kind, and a picture box that clips what it holds.
class ControlKindsTest : public WindowedForms {
 protected:
  void SetUp() override {
    form.clientWidth = 400, form.clientHeight = 300;
    form.AddControlArray("checkOn", ControlKind::CheckBox, 1)[0] = Place(10, 130, 150, 20, "On");
    form.AddControlArray("txtName", ControlKind::TextBox, 1)[0] = Place(10, 160, 150, 20);
    Control& lines = form.AddControlArray("listLines", ControlKind::ListBox, 1)[0] = Place(200, 10, 150, 60);
    for (const char* line : {"Up", "Down", "Fire"}) lines.AddItem(line);
    Control& choice = form.AddControlArray("listChoice", ControlKind::DropDown, 1)[0] =
        Place(200, 80, 150, 20);
    choice.AddItem("Small", 10);
    choice.AddItem("Large", 20);
    Control& level = form.AddControlArray("sliderLevel", ControlKind::Slider, 1)[0] =
        Place(200, 110, 150, 20);
    level.min = 0, level.max = 10, level.largeChange = 2, level.value = 5;
    Control& page = form.AddControlArray("scrollPage", ControlKind::ScrollBar, 1)[0] =
        Place(370, 10, 17, 120);
    page.min = 0, page.max = 100, page.smallChange = 1, page.largeChange = 10;
    form.AddControlArray("picClip", ControlKind::PictureBox, 1)[0] = Place(10, 200, 100, 40);
    ControlArrayOf& inside = form.AddControlArray("txtInside", ControlKind::Label, 2);
    inside[0] = Place(4, 24, 90, 30, "Half");
    inside[1] = Place(4, 60, 90, 30, "Gone");
    for (Control& label : inside.items) label.container = "picClip";
    form.Show();
    form.calls.clear();
  }
};

TEST_F(ControlKindsTest, EachKindTurnsTheUsersActionIntoItsEvent) {
  kiv::test::Click(form, "checkOn");
  EXPECT_EQ(form.Controls("checkOn")[0].value, 1);
  kiv::test::Click(form, "listLines", 0, 2);
  EXPECT_EQ(form.Controls("listLines")[0].listIndex, 2);
  kiv::test::Choose(form, "listChoice", 1);
  EXPECT_EQ(form.Controls("listChoice")[0].listIndex, 1);
  kiv::test::ClickAt(form, 345, 120);  // right of the slider's thumb: one large step
  EXPECT_EQ(form.Controls("sliderLevel")[0].value, 7);
  kiv::test::ClickAt(form, 378, 125);  // the scroll bar's lower arrow
  kiv::test::ClickAt(form, 378, 100);  // below its thumb: a page
  EXPECT_EQ(form.Controls("scrollPage")[0].value, 11);
  kiv::test::Click(form, "txtName");
  kiv::test::TypeText(form, "Ann");
  EXPECT_EQ(form.Controls("txtName")[0].text, "Ann");
  std::vector<std::string> events;
  for (const std::string& call : form.calls) {
    if (call.rfind("Key", 0) != 0) events.push_back(call);
  }
  EXPECT_EQ(events,
            (std::vector<std::string>{"Click checkOn 0", "Click listLines 0", "Click listChoice 0",
                                      "Change sliderLevel 0", "Change scrollPage 0", "Change scrollPage 0",
                                      "Change txtName 0"}));  // one text event, one change
}

TEST_F(ControlKindsTest, AListOfMoreLinesThanFitScrollsWithItsOwnBar) {
  Control& lines = form.Controls("listLines")[0];
  for (const char* line : {"Left", "Right", "Jump"}) lines.AddItem(line);
  DoEvents();
  int x = 0, y = 0;
  EXPECT_TRUE(ControlPoint(form, "listLines", 0, 0, x, y));
  EXPECT_FALSE(ControlPoint(form, "listLines", 0, 5, x, y));
  for (int i = 0; i < 3; ++i) kiv::test::ClickAt(form, 342, 62);  // the bar's lower arrow
  DoEvents();
  EXPECT_FALSE(ControlPoint(form, "listLines", 0, 0, x, y));
  kiv::test::Click(form, "listLines", 0, 5);
  EXPECT_EQ(form.Controls("listLines")[0].listIndex, 5);
}

TEST_F(ControlKindsTest, APictureBoxClipsWhatItHoldsAndMovingItMovesItsContents) {
  int x = 0, y = 0;
  ASSERT_TRUE(ControlPoint(form, "txtInside", 0, -1, x, y));
  EXPECT_EQ(y, 200 + (24 + 40) / 2);  // the middle of the part that shows
  EXPECT_FALSE(ControlPoint(form, "txtInside", 1, -1, x, y));
  kiv::test::FormPixels pixels = kiv::test::ReadPixels(form);
  EXPECT_GT(pixels.Dark(12, 224, 100, 240), 5);  // "Half" inside the box
  EXPECT_EQ(pixels.Dark(12, 241, 100, 300), 0);  // nothing below it
  form.Controls("picClip")[0].top = 150;
  form.Controls("picClip")[0].left = 200;
  pixels = kiv::test::ReadPixels(form);
  EXPECT_GT(pixels.Dark(202, 174, 300, 190), 5);
  form.Controls("picClip")[0].visible = false;  // a hidden container hides its contents
  EXPECT_FALSE(ControlPoint(form, "txtInside", 0, -1, x, y));
}

TEST_F(ControlKindsTest, UnderAModalFormTheOwnerTakesNoInputButResizes) {
  RecordingForm modal;
  bool acted = false;
  SetModalLoopHook([&](Form& shown) {
    if (acted) return;
    acted = true;
    kiv::test::Click(form, "checkOn");
    PushKey(SDLK_RETURN);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event resize{};
    resize.type = SDL_WINDOWEVENT;
    resize.window.windowID = form.WindowId();
    resize.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    resize.window.data1 = 420, resize.window.data2 = 310;
    SDL_PushEvent(&resize);
    DoEvents();
    kiv::test::Click(shown, "buttonTest", 1);  // the modal form's own button works
    shown.Unload();
  });
  modal.ShowModal(form);
  SetModalLoopHook(nullptr);
  EXPECT_EQ(form.Controls("checkOn")[0].value, 0);
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(form.calls, (std::vector<std::string>{"Resize 420x310"}));
  EXPECT_NE(std::find(modal.calls.begin(), modal.calls.end(), "Click buttonTest 1"), modal.calls.end());
  // Afterwards the owner takes input again.
  kiv::test::Click(form, "checkOn");
  EXPECT_EQ(form.Controls("checkOn")[0].value, 1);
}

}  // namespace
}  // namespace kiv::ui
