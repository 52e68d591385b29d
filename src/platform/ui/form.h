#pragma once
// Forms: windows with named controls and event procedures. A form is plain
// C++: the program's code and the tests call its event procedures directly;
// Dear ImGui only draws the controls at their positions and turns clicks,
// Return (the default button) and Escape (the cancel button) into the same
// calls. Each loaded form is its own SDL window. Control events are queued
// while ImGui draws and run after the frame, so a handler may unload its own
// form, or run a whole game, inside the call.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"

struct SDL_Window;

namespace kiv::gfx {
class Window;
}

namespace kiv::ui {

// Unload modes of Form_QueryUnload and Form_Unload.
inline constexpr int kUnloadUser = 0;  // the user's close box
inline constexpr int kUnloadCode = 1;  // Unload called by the program

// A command button, label or picture box: the properties the forms use.
// Positions and sizes are in the form's pixels.
struct Control {
  std::string caption;  // Windows-1252 text, as the game's files store it
  std::string tag;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool enabled = true;
  bool visible = true;
  bool isDefault = false;  // Return presses it
  bool isCancel = false;   // Escape presses it
};

enum class ControlKind { Button, Label, PictureBox };

// A control array: one handler receives the index of the item.
struct ControlArrayOf {
  std::string name;
  ControlKind kind = ControlKind::Button;
  std::vector<Control> items;
  Control& operator[](std::size_t i) { return items.at(i); }
  const Control& operator[](std::size_t i) const { return items.at(i); }
};

class Form {
 public:
  Form(std::string name, std::int32_t clientWidth, std::int32_t clientHeight);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  // Loads the form (once; Form_Load runs), then shows it (never modal).
  // Form_Activate runs on each show and each time the form becomes the
  // active window again.
  void Show();
  void Hide();
  // Form_QueryUnload(cancel, mode), then when not cancelled Form_Unload, then
  // the window goes. Returns false when cancelled. The last unload of all
  // forms ends the program's event loop (AnyFormLoaded turns false).
  bool Unload(int mode = kUnloadCode);
  // Loads without showing (Form_Load runs once).
  void Load();
  bool IsLoaded() const { return loaded_; }
  bool IsVisible() const { return visible_; }

  std::string caption;  // window title (Windows-1252)
  std::int32_t clientWidth;
  std::int32_t clientHeight;

  // The form's window: its own SDL window made at load, or one adopted with
  // AdoptWindow (the game window draws with the graphics device instead of
  // ImGui; events still reach the form's procedures).
  SDL_Window* WindowHandle() const;
  void AdoptWindow(gfx::Window* window);

  // Control arrays by name; a single control is an array of one item.
  ControlArrayOf& AddControlArray(const std::string& name, ControlKind kind, std::size_t count);
  ControlArrayOf& Controls(const std::string& name);

  // Event procedures. Index is the item of a control array.
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel, (void)unloadMode; }
  virtual void Form_Unload(int& cancel) { (void)cancel; }
  virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode, (void)shift; }
  virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
  // A click on item `index` of the named control array.
  virtual void Control_Click(const std::string& arrayName, int index) { (void)arrayName, (void)index; }

  struct WindowData;  // the forms layer's own record of the form's window

 private:
  friend struct FormsRuntime;
  std::string name_;
  bool loaded_ = false;
  bool visible_ = false;
  std::vector<ControlArrayOf> arrays_;
  WindowData* window_ = nullptr;
};

// Lets the window system deliver pending events to every form: close boxes
// (Form_QueryUnload with mode 0, then the unload unless cancelled), keys
// (Form_KeyDown; Form_KeyPress with Backspace as 8 and characters from SDL
// text input), focus changes (Form_Activate), and draws the ImGui forms; then
// runs the control events queued while drawing.
void DoEvents();
bool AnyFormLoaded();

// Message boxes (ShowMessageBox, SetMessageBoxRecorder, BoxIcon) are in
// platform/ui/message_box.h.

// Opens an address with the desktop's handler (xdg-open), not waited for; a
// recording hook replaces it in tests.
void OpenUrl(const std::string& url);
void SetOpenUrlRecorder(std::function<void(const std::string& url)> recorder);

// Without windows, forms are loaded, shown and unloaded as plain objects: no
// SDL window, no drawing. Form logic tests run so without a display.
void SetWindowlessForms(bool windowless);

// Test seams. The mouse of a form's next frames, set after the backend has read
// the system's mouse and before ImGui starts the frame; cleared with
// ClearInjectedMouse. A click is one frame with the button down and one up.
void InjectMouse(const Form& form, int x, int y, bool leftDown);
void ClearInjectedMouse();
// Draws the form once more and reads its client area as RGBA rows, top row
// first; false when the form has no ImGui window.
bool ReadFormPixels(Form& form, std::vector<std::uint8_t>& rgba, int& width, int& height);
// True when the captions are drawn with the Windows-1252 font (not ImGui's ASCII one).
bool FormsUseWindows1252Font();

}  // namespace kiv::ui
