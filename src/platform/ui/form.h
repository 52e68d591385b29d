#pragma once
// Forms: windows with named controls and event procedures. A form is plain
// C++: the program's code and the tests call its event procedures directly;
// Dear ImGui only draws the controls at their positions and turns clicks,
// Return (the default button) and Escape (the cancel button) into the same
// calls. Each loaded form is its own SDL window. Control events are queued
// while ImGui draws and run after the frame, so a handler may unload its own
// form, or run a whole game, inside the call.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control_array.h"
#include "platform/ui/message_box.h"

struct SDL_Window;

namespace kiv::gfx {
class Window;
}

namespace kiv::ui {

// Unload modes of Form_QueryUnload and Form_Unload.
inline constexpr int kUnloadUser = 0;  // the user's close box
inline constexpr int kUnloadCode = 1;  // Unload called by the program

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
  // Shows the form owned by another and returns once it has unloaded; until
  // then no other form takes input (clicks, keys, close boxes). The pump runs
  // meanwhile, resting 10 ms a round on the platform clock.
  void ShowModal(Form& owner);
  Form* Owner() const { return owner_; }
  bool IsLoaded() const { return loaded_; }
  bool IsVisible() const { return visible_; }

  std::string caption;  // window title (Windows-1252)
  std::int32_t clientWidth;
  std::int32_t clientHeight;

  // The form's window: its own SDL window made at load, or one adopted with
  // AdoptWindow (the game window draws with the graphics device instead of
  // ImGui; events still reach the form's procedures).
  SDL_Window* WindowHandle() const;
  // The window's id, the handle that the input devices take; 0 without a window.
  std::uint32_t WindowId() const;
  void AdoptWindow(gfx::Window* window);

  // Control arrays by name; a single control is an array of one item.
  ControlArrayOf& AddControlArray(const std::string& name, ControlKind kind, std::size_t count);
  ControlArrayOf& Controls(const std::string& name);
  const ControlArrayOf& Controls(const std::string& name) const;
  // Drops every control (a form built anew at each load starts from its design).
  void ClearControls();

  // Event procedures. Index is the item of a control array.
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel, (void)unloadMode; }
  virtual void Form_Unload(int& cancel) { (void)cancel; }
  virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode, (void)shift; }
  virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
  // Form_Resize runs after the window's inner size changed (clientWidth, clientHeight).
  virtual void Form_Resize() {}
  // A click on item `index` of the named control array: a button, a check box
  // that toggled, a list or drop-down line chosen.
  virtual void Control_Click(const std::string& arrayName, int index) { (void)arrayName, (void)index; }
  // A text box edited, a slider or scroll bar moved to rest.
  virtual void Control_Change(const std::string& arrayName, int index) { (void)arrayName, (void)index; }
  // A slider or scroll bar thumb dragged one step.
  virtual void Control_Scroll(const std::string& arrayName, int index) { (void)arrayName, (void)index; }
  // A timer's interval passed on the platform clock.
  virtual void Control_Timer(const std::string& arrayName, int index) { (void)arrayName, (void)index; }

  struct WindowData;  // the forms layer's own record of the form's window

 private:
  friend struct FormsRuntime;
  std::string name_;
  bool loaded_ = false;
  bool visible_ = false;
  std::deque<ControlArrayOf> arrays_;  // a deque: adding an array keeps references to the others
  WindowData* window_ = nullptr;
  Form* owner_ = nullptr;
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
// Called at each round of a modal form's pump, before the events are taken,
// with the modal form; without windows a modal form with no such hook is
// closed at once (no one could act on it). Empty: none.
void SetModalLoopHook(std::function<void(Form& modal)> hook);
// Where the last frame drew a control (entry -1: its centre), a list box line
// or an open drop-down list's entry (entry >= 0), in the form's pixels; false
// when it was not drawn there (hidden, clipped away, the list not open).
bool ControlPoint(const Form& form, const std::string& arrayName, int index, int entry, int& x, int& y);
// Draws the form once more and reads its client area as RGBA rows, top row
// first; false when the form has no ImGui window.
bool ReadFormPixels(Form& form, std::vector<std::uint8_t>& rgba, int& width, int& height);
// True when the captions are drawn with the Windows-1252 font (not ImGui's ASCII one).
bool FormsUseWindows1252Font();

}  // namespace kiv::ui
