#include "platform/input/input_system.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <mutex>
#include <unordered_set>

#include "platform/input/scancode_table.h"

namespace kiv::input {

enum class DeviceKind { kKeyboard, kMouse, kJoystick };

// One device's settings and the input gathered for it. The fields marked
// "guarded" are also written by the event watch and are read and written
// under the hub's mutex.
struct DeviceData {
  DeviceKind kind = DeviceKind::kKeyboard;
  std::int32_t format = 0;  // 0 until a data format is set
  std::int32_t flags = 0;   // 0 until a cooperative level is set: shared, background
  std::uint32_t window = 0;
  bool acquired = false;             // guarded
  std::int64_t motionX = 0;          // guarded: mouse movement since the last read
  std::int64_t motionY = 0;          // guarded
  std::int64_t wheel = 0;            // guarded
  bool relativeMode = false;         // this exclusive mouse holds SDL's relative mode
  SDL_Joystick* joystick = nullptr;  // game controllers only
};

// What the event watch sees, shared by the input object and its devices; it
// lives until the last of them is gone.
struct InputHub {
  std::mutex mutex;
  std::array<bool, 256> keysDown{};
  std::array<bool, 8> mouseButtons{};
  std::unordered_set<std::uint32_t> unfocusedWindows;
  bool applicationFocused = true;
  std::vector<DeviceData*> devices;
  bool joystickSystem = false;

  ~InputHub();
  bool HasFocus(std::uint32_t window) const {
    return window == 0 ? applicationFocused : unfocusedWindows.count(window) == 0;
  }
  void OnEvent(const SDL_Event& event);
};

namespace {

constexpr std::string_view kJoystickPrefix = "joystick:";

int SDLCALL WatchEvent(void* userdata, SDL_Event* event) {
  static_cast<InputHub*>(userdata)->OnEvent(*event);
  return 1;
}

// SDL numbers mouse buttons from 1 as left, middle, right, X1, X2; the state
// record has left, right, middle, then the others in order.
int MouseButtonIndex(std::uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    default:
      return sdlButton >= 4 && sdlButton <= 8 ? sdlButton - 1 : -1;
  }
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int32_t AxisValue(SDL_Joystick* joystick, int axis) {
  if (axis >= SDL_JoystickNumAxes(joystick)) return 0;
  return static_cast<std::int32_t>(SDL_JoystickGetAxis(joystick, axis)) + 32768;
}

// Hundredths of degrees clockwise from up; -1 when centred.
std::int32_t HatValue(SDL_Joystick* joystick, int hat) {
  if (hat >= SDL_JoystickNumHats(joystick)) return -1;
  switch (SDL_JoystickGetHat(joystick, hat)) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return -1;
  }
}

bool ValidFormat(DeviceKind kind, std::int32_t format) {
  switch (kind) {
    case DeviceKind::kKeyboard:
      return format == kFormatKeyboard;
    case DeviceKind::kMouse:
      return format == kFormatMouse || format == kFormatMouse8Buttons;
    case DeviceKind::kJoystick:
      return format == kFormatJoystick || format == kFormatJoystickExtended;
  }
  return false;
}

// Exactly one of exclusive/shared and one of foreground/background; no other bits.
bool ValidCooperativeFlags(std::int32_t flags) {
  const std::int32_t known =
      kCoopExclusive | kCoopNonExclusive | kCoopForeground | kCoopBackground | kCoopNoWindowsKey;
  if ((flags & ~known) != 0) return false;
  const std::int32_t sharing = flags & (kCoopExclusive | kCoopNonExclusive);
  const std::int32_t focus = flags & (kCoopForeground | kCoopBackground);
  return (sharing == kCoopExclusive || sharing == kCoopNonExclusive) &&
         (focus == kCoopForeground || focus == kCoopBackground);
}

}  // namespace

InputHub::~InputHub() {
  SDL_DelEventWatch(WatchEvent, this);
  if (joystickSystem && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

void InputHub::OnEvent(const SDL_Event& event) {
  std::lock_guard lock(mutex);
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::uint8_t code = KeyCodeFromScancode(event.key.keysym.scancode);
      if (code != 0) keysDown[code] = event.type == SDL_KEYDOWN;
      break;
    }
    case SDL_MOUSEMOTION:
      for (DeviceData* device : devices) {
        if (device->kind != DeviceKind::kMouse || !device->acquired) continue;
        device->motionX += event.motion.xrel;
        device->motionY += event.motion.yrel;
      }
      break;
    case SDL_MOUSEWHEEL: {
      std::int64_t notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      for (DeviceData* device : devices) {
        if (device->kind == DeviceKind::kMouse && device->acquired) device->wheel += notches * kWheelDelta;
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int index = MouseButtonIndex(event.button.button);
      if (index >= 0) mouseButtons[static_cast<std::size_t>(index)] = event.type == SDL_MOUSEBUTTONDOWN;
      break;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        unfocusedWindows.insert(event.window.windowID);
        applicationFocused = false;
        // Keys and buttons held now will send no release to this program.
        keysDown.fill(false);
        mouseButtons.fill(false);
        for (DeviceData* device : devices) {
          const bool sameWindow = device->window == 0 || device->window == event.window.windowID;
          if ((device->flags & kCoopForeground) != 0 && sameWindow) device->acquired = false;
        }
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        unfocusedWindows.erase(event.window.windowID);
        applicationFocused = true;
      }
      break;
    default:
      break;
  }
}

// ---- InputDevice ----

InputDevice::InputDevice(std::shared_ptr<InputHub> hub, std::unique_ptr<DeviceData> data)
    : hub_(std::move(hub)), data_(std::move(data)) {
  std::lock_guard lock(hub_->mutex);
  hub_->devices.push_back(data_.get());
}

InputDevice::~InputDevice() {
  {
    std::lock_guard lock(hub_->mutex);
    std::erase(hub_->devices, data_.get());
  }
  if (data_->relativeMode && SDL_WasInit(SDL_INIT_EVENTS) != 0) SDL_SetRelativeMouseMode(SDL_FALSE);
  // After SDL_Quit the joystick is already gone.
  if (data_->joystick != nullptr && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) SDL_JoystickClose(data_->joystick);
}

std::int32_t InputDevice::SetDataFormat(std::int32_t format) {
  std::lock_guard lock(hub_->mutex);
  if (data_->acquired) return kInputErrAcquired;
  if (!ValidFormat(data_->kind, format)) return kInputErrInvalidParam;
  data_->format = format;
  return kInputOk;
}

std::int32_t InputDevice::SetCooperativeLevel(std::uint32_t window, std::int32_t flags) {
  std::lock_guard lock(hub_->mutex);
  if (data_->acquired) return kInputErrAcquired;
  if (!ValidCooperativeFlags(flags)) return kInputErrInvalidParam;
  data_->window = window;
  data_->flags = flags;
  return kInputOk;
}

std::int32_t InputDevice::Acquire() {
  bool lostFocus = false;
  {
    std::lock_guard lock(hub_->mutex);
    if (data_->format == 0) return kInputErrInvalidParam;
    if ((data_->flags & kCoopForeground) != 0 && !hub_->HasFocus(data_->window)) {
      data_->acquired = false;
      lostFocus = true;
    } else if (data_->acquired) {
      return kInputOk;
    }
  }
  // SDL calls that may push events run without the mutex: the watch takes it.
  if (lostFocus) {
    if (data_->relativeMode) {
      SDL_SetRelativeMouseMode(SDL_FALSE);
      data_->relativeMode = false;
    }
    return kInputErrOtherHasFocus;
  }
  if (data_->kind == DeviceKind::kJoystick && !SDL_JoystickGetAttached(data_->joystick))
    return kInputErrDeviceLost;
  {
    std::lock_guard lock(hub_->mutex);
    data_->acquired = true;
    data_->motionX = data_->motionY = data_->wheel = 0;
  }
  if (data_->kind == DeviceKind::kMouse && (data_->flags & kCoopExclusive) != 0 && !data_->relativeMode) {
    // Without a relative mode (some video drivers have none) the mouse stays shared.
    data_->relativeMode = SDL_SetRelativeMouseMode(SDL_TRUE) == 0;
  }
  return kInputOk;
}

std::int32_t InputDevice::Unacquire() {
  {
    std::lock_guard lock(hub_->mutex);
    data_->acquired = false;
  }
  if (data_->relativeMode) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    data_->relativeMode = false;
  }
  return kInputOk;
}

std::int32_t InputDevice::Poll() {
  if (!IsAcquired()) return kInputErrNotAcquired;
  if (data_->kind != DeviceKind::kJoystick) return kInputOk;
  SDL_JoystickUpdate();
  if (!SDL_JoystickGetAttached(data_->joystick)) {
    std::lock_guard lock(hub_->mutex);
    data_->acquired = false;
    return kInputErrDeviceLost;
  }
  return kInputOk;
}

std::int32_t InputDevice::GetState(KeyboardState& state) {
  if (data_->kind != DeviceKind::kKeyboard) return kInputErrInvalidParam;
  std::lock_guard lock(hub_->mutex);
  if (!data_->acquired) return kInputErrNotAcquired;
  for (std::size_t code = 0; code < state.size(); ++code) state[code] = hub_->keysDown[code] ? kDownBit : 0;
  return kInputOk;
}

std::int32_t InputDevice::GetState(MouseState& state) {
  if (data_->kind != DeviceKind::kMouse) return kInputErrInvalidParam;
  std::lock_guard lock(hub_->mutex);
  if (!data_->acquired) return kInputErrNotAcquired;
  state.x = ClampToInt32(data_->motionX);
  state.y = ClampToInt32(data_->motionY);
  state.z = ClampToInt32(data_->wheel);
  data_->motionX = data_->motionY = data_->wheel = 0;
  const std::size_t buttonCount = data_->format == kFormatMouse8Buttons ? 8 : 4;
  for (std::size_t i = 0; i < state.buttons.size(); ++i) {
    state.buttons[i] = i < buttonCount && hub_->mouseButtons[i] ? kDownBit : 0;
  }
  return kInputOk;
}

std::int32_t InputDevice::GetState(JoystickState& state) {
  if (data_->kind != DeviceKind::kJoystick) return kInputErrInvalidParam;
  if (!IsAcquired()) return kInputErrNotAcquired;
  SDL_Joystick* joystick = data_->joystick;
  if (!SDL_JoystickGetAttached(joystick)) {
    std::lock_guard lock(hub_->mutex);
    data_->acquired = false;
    return kInputErrDeviceLost;
  }
  state.x = AxisValue(joystick, 0);
  state.y = AxisValue(joystick, 1);
  state.z = AxisValue(joystick, 2);
  state.rx = AxisValue(joystick, 3);
  state.ry = AxisValue(joystick, 4);
  state.rz = AxisValue(joystick, 5);
  state.sliders[0] = AxisValue(joystick, 6);
  state.sliders[1] = AxisValue(joystick, 7);
  for (int hat = 0; hat < 4; ++hat)
    state.pointOfView[static_cast<std::size_t>(hat)] = HatValue(joystick, hat);
  const int buttonCount = SDL_JoystickNumButtons(joystick);
  for (int button = 0; button < 32; ++button) {
    const bool down = button < buttonCount && SDL_JoystickGetButton(joystick, button) != 0;
    state.buttons[static_cast<std::size_t>(button)] = down ? kDownBit : 0;
  }
  return kInputOk;
}

bool InputDevice::IsAcquired() const {
  std::lock_guard lock(hub_->mutex);
  return data_->acquired;
}

// ---- InputSystem ----

InputSystem::InputSystem(std::shared_ptr<InputHub> hub) : hub_(std::move(hub)) {}
InputSystem::~InputSystem() = default;

std::int32_t InputSystem::Create(std::unique_ptr<InputSystem>& system) {
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return kInputErrNoSystem;
  auto hub = std::make_shared<InputHub>();
  // Keyboard and mouse work without the joystick system.
  hub->joystickSystem = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  SDL_AddEventWatch(WatchEvent, hub.get());
  system.reset(new InputSystem(std::move(hub)));
  return kInputOk;
}

std::int32_t InputSystem::CreateDevice(std::string_view name, std::unique_ptr<InputDevice>& device) {
  auto data = std::make_unique<DeviceData>();
  if (name == kSysKeyboardName) {
    data->kind = DeviceKind::kKeyboard;
  } else if (name == kSysMouseName) {
    data->kind = DeviceKind::kMouse;
  } else {
    if (!hub_->joystickSystem || !name.starts_with(kJoystickPrefix)) return kInputErrNoDevice;
    const std::string_view digits = name.substr(kJoystickPrefix.size());
    SDL_JoystickID instance = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), instance);
    if (error != std::errc() || end != digits.data() + digits.size()) return kInputErrNoDevice;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
        data->joystick = SDL_JoystickOpen(index);
        break;
      }
    }
    if (data->joystick == nullptr) return kInputErrNoDevice;
    data->kind = DeviceKind::kJoystick;
  }
  device.reset(new InputDevice(hub_, std::move(data)));
  return kInputOk;
}

std::vector<std::string> InputSystem::ListAttachedGameControllers() const {
  std::vector<std::string> instances;
  if (!hub_->joystickSystem) return instances;
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
    if (instance >= 0) instances.push_back(std::string(kJoystickPrefix) + std::to_string(instance));
  }
  return instances;
}

}  // namespace kiv::input
