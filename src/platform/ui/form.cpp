#include "platform/ui/form.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "core/error.h"
#include "core/text_encoding.h"
#include "platform/gfx/window.h"
#include "platform/os/clock.h"
#include "platform/ui/form_window.h"
#include "platform/ui/key_codes.h"

namespace kiv::ui {

// What the pump knows of all forms: the loaded ones, the active one, and the
// control events waiting to run after the frame.
struct FormsRuntime {
  struct Pending {
    Form* form;
    std::uint64_t generation;
    std::function<void()> call;
  };

  std::vector<Form*> loaded;
  Form* active = nullptr;
  std::map<const Form*, std::uint64_t> generation;  // of each form's current load
  std::uint64_t nextGeneration = 0;
  std::deque<Pending> pending;
  bool windowless = false;
  std::vector<Form*> modal;  // the modal forms, innermost last
  std::function<void(Form&)> modalHook;
  // The tick at which each running timer last started its interval.
  std::map<std::tuple<const Form*, std::string, int>, std::uint32_t> timerStamps;

  struct InjectedMouse {
    const Form* form;
    int x, y;
    bool down;
  };
  std::optional<InjectedMouse> mouse;

  static FormsRuntime& Get() {
    static FormsRuntime runtime;
    return runtime;
  }

  static Form::WindowData* Data(Form& form) { return form.window_; }
  static const Form::WindowData* ConstData(const Form& form) { return form.window_; }
  static std::deque<ControlArrayOf>& MutableArrays(Form& form) { return form.arrays_; }
  static const std::deque<ControlArrayOf>& Arrays(const Form& form) { return form.arrays_; }

  // While a modal form is up, only it takes input.
  bool TakesInput(const Form& form) const { return modal.empty() || modal.back() == &form; }

  void ForgetTimers(const Form* form) {
    for (auto it = timerStamps.begin(); it != timerStamps.end();) {
      it = std::get<0>(it->first) == form ? timerStamps.erase(it) : std::next(it);
    }
  }

  // Queues the tick of every timer whose interval has passed; a timer that is
  // stopped or disabled starts its interval again when it runs anew.
  void RunTimers() {
    const std::uint32_t now = os::GetTickCount();
    for (Form* form : loaded) {
      for (const ControlArrayOf& array : form->arrays_) {
        if (array.kind != ControlKind::Timer) continue;
        for (std::size_t i = 0; i < array.items.size(); ++i) {
          const Control& timer = array.items[i];
          const auto key = std::make_tuple(static_cast<const Form*>(form), array.name, static_cast<int>(i));
          if (!timer.loaded || !timer.enabled || timer.interval <= 0) {
            timerStamps.erase(key);
            continue;
          }
          auto found = timerStamps.find(key);
          if (found == timerStamps.end()) {
            timerStamps.emplace(key, now);
            continue;
          }
          if (now - found->second < static_cast<std::uint32_t>(timer.interval)) continue;
          found->second = now;
          const std::string name = array.name;
          const int index = static_cast<int>(i);
          Queue(form, [form, name, index] { form->Control_Timer(name, index); });
        }
      }
    }
  }

  void Queue(Form* form, std::function<void()> call) {
    pending.push_back({form, generation[form], std::move(call)});
  }

  // Runs the waiting events; a handler may pump again (a game's loop), so the
  // queue is taken over first and what arrives meanwhile runs in that pump.
  void RunPending() {
    std::deque<Pending> now;
    now.swap(pending);
    for (Pending& item : now) {
      if (!item.form->IsLoaded() || generation[item.form] != item.generation) continue;
      item.call();
    }
  }

  Form* FormOfWindow(std::uint32_t windowId) {
    if (windowId == 0) return nullptr;
    for (Form* form : loaded) {
      const Form::WindowData* data = form->window_;
      if (data && data->windowId == windowId) return form;
    }
    return nullptr;
  }

  void Activate(Form& form) {
    if (active == &form) return;
    active = &form;
    form.Form_Activate();
  }

  void Route(const SDL_Event& event);
};

const std::deque<ControlArrayOf>& FormArrays(const Form& form) { return FormsRuntime::Arrays(form); }
std::deque<ControlArrayOf>& FormArrays(Form& form) { return FormsRuntime::MutableArrays(form); }
const Form::WindowData* FormWindowData(const Form& form) { return FormsRuntime::ConstData(form); }
bool FormTakesInput(const Form& form) { return FormsRuntime::Get().TakesInput(form); }

Form::Form(std::string name, std::int32_t width, std::int32_t height)
    : clientWidth(width), clientHeight(height), name_(std::move(name)) {}

Form::~Form() {
  if (window_ && window_->imgui && SDL_WasInit(SDL_INIT_VIDEO)) DestroyImGuiWindow(*window_);
  delete window_;
  window_ = nullptr;
}

SDL_Window* Form::WindowHandle() const { return window_ ? window_->window : nullptr; }
std::uint32_t Form::WindowId() const { return window_ ? window_->windowId : 0; }

void Form::AdoptWindow(gfx::Window* window) {
  if (!window_) window_ = new WindowData;
  if (window_->imgui) DestroyImGuiWindow(*window_);
  window_->adopted = window;
  window_->window = window ? window->Handle() : nullptr;
  window_->windowId = window_->window ? SDL_GetWindowID(window_->window) : 0;
  window_->title.clear();
}

ControlArrayOf& Form::AddControlArray(const std::string& name, ControlKind kind, std::size_t count) {
  ControlArrayOf array;
  array.name = name;
  array.kind = kind;
  array.items.resize(count);
  arrays_.push_back(std::move(array));
  return arrays_.back();
}

ControlArrayOf& Form::Controls(const std::string& name) {
  for (ControlArrayOf& array : arrays_) {
    if (array.name == name) return array;
  }
  RaiseError(kErrIndex, "No control " + name + " on " + name_ + ".");
}

const ControlArrayOf& Form::Controls(const std::string& name) const {
  for (const ControlArrayOf& array : arrays_) {
    if (array.name == name) return array;
  }
  RaiseError(kErrIndex, "No control " + name + " on " + name_ + ".");
}

void Form::ClearControls() {
  arrays_.clear();
  FormsRuntime::Get().ForgetTimers(this);
}

void Form::ShowModal(Form& owner) {
  FormsRuntime& runtime = FormsRuntime::Get();
  owner_ = &owner;
  runtime.modal.push_back(this);
  // The modal state ends however the loop is left.
  struct EndModal {
    Form* form;
    FormsRuntime& runtime;
    ~EndModal() {
      runtime.modal.erase(std::remove(runtime.modal.begin(), runtime.modal.end(), form), runtime.modal.end());
      form->owner_ = nullptr;
    }
  } endModal{this, runtime};
  Show();
  while (IsLoaded()) {
    if (runtime.modalHook) {
      runtime.modalHook(*this);
    } else if (runtime.windowless) {
      Unload(kUnloadUser);
      break;
    }
    if (!IsLoaded()) break;
    DoEvents();
    if (IsLoaded()) os::Sleep(10);
  }
}

void Form::Load() {
  if (loaded_) return;
  FormsRuntime& runtime = FormsRuntime::Get();
  loaded_ = true;
  runtime.loaded.push_back(this);
  runtime.generation[this] = ++runtime.nextGeneration;
  runtime.ForgetTimers(this);
  if (!runtime.windowless && !(window_ && window_->adopted)) {
    if (!window_) window_ = new WindowData;
    if (!CreateImGuiWindow(*window_, AnsiToUtf8(caption), clientWidth, clientHeight)) {
      std::fprintf(stderr, "%s: no window could be made (%s)\n", name_.c_str(), SDL_GetError());
    }
  }
  Form_Load();
}

void Form::Show() {
  Load();
  if (!loaded_) return;  // Form_Load unloaded it again
  visible_ = true;
  if (window_ && window_->window) {
    if (window_->imgui && window_->title != caption) {
      window_->title = caption;
      SDL_SetWindowTitle(window_->window, AnsiToUtf8(caption).c_str());
    }
    SDL_ShowWindow(window_->window);
    SDL_RaiseWindow(window_->window);
  }
  FormsRuntime::Get().Activate(*this);
}

void Form::Hide() {
  visible_ = false;
  if (window_ && window_->window) SDL_HideWindow(window_->window);
  FormsRuntime& runtime = FormsRuntime::Get();
  if (runtime.active == this) runtime.active = nullptr;
}

bool Form::Unload(int mode) {
  if (!loaded_) return true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel != 0) return false;
  if (!loaded_) return true;  // unloaded from inside the handler
  Form_Unload(cancel);
  if (cancel != 0) return false;
  if (!loaded_) return true;
  FormsRuntime& runtime = FormsRuntime::Get();
  if (window_) {
    if (window_->imgui) {
      DestroyImGuiWindow(*window_);
    } else if (window_->adopted) {
      // The owner of an adopted window destroys it; the adoption ends with the load.
      window_->adopted = nullptr;
      window_->window = nullptr;
      window_->windowId = 0;
    }
  }
  loaded_ = false;
  visible_ = false;
  runtime.loaded.erase(std::remove(runtime.loaded.begin(), runtime.loaded.end(), this), runtime.loaded.end());
  runtime.generation[this] = 0;
  runtime.ForgetTimers(this);
  if (runtime.active == this) runtime.active = nullptr;
  return true;
}

namespace {

std::uint32_t WindowIdOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_TEXTINPUT:
      return event.text.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_MOUSEWHEEL:
      return event.wheel.windowID;
    default:
      return 0;
  }
}

// The control array item that Return (default) or Escape (cancel) presses.
std::optional<std::pair<std::string, int>> KeyButton(const Form& form, bool cancelKey) {
  for (const ControlArrayOf& array : FormArrays(form)) {
    if (array.kind != ControlKind::Button) continue;
    for (std::size_t i = 0; i < array.items.size(); ++i) {
      const Control& item = array.items[i];
      if ((cancelKey ? item.isCancel : item.isDefault) && item.visible && item.enabled) {
        return std::make_pair(array.name, static_cast<int>(i));
      }
    }
  }
  return std::nullopt;
}

}  // namespace

void FormsRuntime::Route(const SDL_Event& event) {
  Form* form = FormOfWindow(WindowIdOf(event));
  if (!form) return;
  Form::WindowData* data = form->window_;
  // A form under a modal one sees no input; its window still draws and resizes.
  const bool input = TakesInput(*form);
  if (!input && event.type != SDL_WINDOWEVENT) return;
  if (data->imgui) ImGuiProcessEvent(*data, event);
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        const int width = event.window.data1, height = event.window.data2;
        Queue(form, [form, width, height] {
          form->clientWidth = width;
          form->clientHeight = height;
          form->Form_Resize();
        });
      } else if (!input) {
        break;
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        Queue(form, [form] { form->Unload(kUnloadUser); });
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        Queue(form, [this, form] { Activate(*form); });
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        Queue(form, [this, form] {
          if (active == form) active = nullptr;
        });
      }
      break;
    case SDL_KEYDOWN: {
      const int code = VirtualKeyFromSdl(event.key.keysym.sym);
      if (code == 0) break;
      const int shift = ShiftBitsFromSdl(event.key.keysym.mod);
      const bool imgui = data->imgui != nullptr;
      Queue(form, [form, code, shift, imgui] {
        int keyCode = code;
        form->Form_KeyDown(keyCode, shift);
        if (keyCode == 8) {
          int keyAscii = 8;
          form->Form_KeyPress(keyAscii);
        }
        if (!imgui || (keyCode != 13 && keyCode != 27) || !form->IsLoaded()) return;
        if (auto button = KeyButton(*form, keyCode == 27)) form->Control_Click(button->first, button->second);
      });
      break;
    }
    case SDL_TEXTINPUT:
      for (int code : KeyAsciiFromText(event.text.text)) {
        Queue(form, [form, code] {
          int keyAscii = code;
          form->Form_KeyPress(keyAscii);
        });
      }
      break;
    default:
      break;
  }
}

void DoEvents() {
  FormsRuntime& runtime = FormsRuntime::Get();
  if (SDL_WasInit(SDL_INIT_EVENTS)) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) runtime.Route(event);
  }
  // Drawing changes the current GL context; the game's own context comes back after.
  SDL_Window* currentWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext currentContext = SDL_GL_GetCurrentContext();
  bool drew = false;
  const std::vector<Form*> forms = runtime.loaded;
  for (Form* form : forms) {
    Form::WindowData* data = FormsRuntime::Data(*form);
    if (!form->IsVisible() || !data || !data->imgui) continue;
    DrawImGuiForm(
        *form, *data, true, [&runtime, form](ControlEvent event, const std::string& array, int index) {
          runtime.Queue(form, [form, event, array, index] { RaiseControlEvent(*form, event, array, index); });
        });
    drew = true;
  }
  if (drew) SDL_GL_MakeCurrent(currentWindow, currentContext);
  runtime.RunTimers();
  runtime.RunPending();
}

bool AnyFormLoaded() { return !FormsRuntime::Get().loaded.empty(); }

void SetWindowlessForms(bool windowless) { FormsRuntime::Get().windowless = windowless; }

void SetModalLoopHook(std::function<void(Form& modal)> hook) {
  FormsRuntime::Get().modalHook = std::move(hook);
}

void RaiseControlEvent(Form& form, ControlEvent event, const std::string& array, int index) {
  switch (event) {
    case ControlEvent::Click:
      form.Control_Click(array, index);
      break;
    case ControlEvent::Change:
      form.Control_Change(array, index);
      break;
    case ControlEvent::Scroll:
      form.Control_Scroll(array, index);
      break;
  }
}

void InjectMouse(const Form& form, int x, int y, bool leftDown) {
  FormsRuntime::Get().mouse = FormsRuntime::InjectedMouse{&form, x, y, leftDown};
}

void ClearInjectedMouse() { FormsRuntime::Get().mouse.reset(); }

bool InjectedMouseFor(const Form& form, int& x, int& y, bool& down) {
  if (!FormsRuntime::Get().TakesInput(form)) return false;
  const auto& mouse = FormsRuntime::Get().mouse;
  if (!mouse || mouse->form != &form) return false;
  x = mouse->x, y = mouse->y, down = mouse->down;
  return true;
}

bool ReadFormPixels(Form& form, std::vector<std::uint8_t>& rgba, int& width, int& height) {
  Form::WindowData* data = FormsRuntime::Data(form);
  if (!form.IsLoaded() || !data || !data->imgui) return false;
  SDL_Window* currentWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext currentContext = SDL_GL_GetCurrentContext();
  FormsRuntime& runtime = FormsRuntime::Get();
  DrawImGuiForm(
      form, *data, false, [&runtime, &form](ControlEvent event, const std::string& array, int index) {
        runtime.Queue(&form, [&form, event, array, index] { RaiseControlEvent(form, event, array, index); });
      });
  const bool ok = ReadBackBuffer(*data, rgba, width, height);
  SDL_GL_MakeCurrent(currentWindow, currentContext);
  return ok;
}

}  // namespace kiv::ui
