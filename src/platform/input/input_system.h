#pragma once
// The input object and its devices over SDL2: the system keyboard, the system
// mouse and game controllers, each created by name, given a data format and a
// cooperative level, acquired, polled, read into the state records of
// input_state.h, unacquired and released.
//
// Keyboard and mouse are filled from SDL events through an event watch, so an
// event pushed into SDL's queue (also by a test) reaches the state at once,
// whoever later takes the event off the queue. Joysticks are read from
// SDL_Joystick. A foreground device loses its acquisition when its window
// loses the input focus; it cannot be acquired again until the focus returns,
// so its reads fail in between.
//
// Window handles are SDL window ids; 0 stands for the application as a whole
// (such a device follows the focus of whichever window had the last focus
// change).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input/input_state.h"

namespace kiv::input {

// Results of the operations: 0 success, otherwise one of these numbers.
inline constexpr std::int32_t kInputOk = 0;
inline constexpr std::int32_t kInputErrNoSystem = -2001;       // SDL's event system could not start
inline constexpr std::int32_t kInputErrNoDevice = -2002;       // no device of that name or instance
inline constexpr std::int32_t kInputErrInvalidParam = -2003;   // bad format, flags or state kind
inline constexpr std::int32_t kInputErrAcquired = -2004;       // not allowed while acquired
inline constexpr std::int32_t kInputErrNotAcquired = -2005;    // read or poll without acquisition
inline constexpr std::int32_t kInputErrOtherHasFocus = -2006;  // foreground device, window not focused
inline constexpr std::int32_t kInputErrDeviceLost = -2007;     // the controller was unplugged

// Data formats.
inline constexpr std::int32_t kFormatKeyboard = 1;
inline constexpr std::int32_t kFormatMouse = 2;  // 4 buttons
inline constexpr std::int32_t kFormatJoystick = 3;
inline constexpr std::int32_t kFormatJoystickExtended = 4;  // read into the same 80-byte record
inline constexpr std::int32_t kFormatMouse8Buttons = 5;

// Cooperative-level flags.
inline constexpr std::int32_t kCoopExclusive = 1;
inline constexpr std::int32_t kCoopNonExclusive = 2;
inline constexpr std::int32_t kCoopForeground = 4;
inline constexpr std::int32_t kCoopBackground = 8;
inline constexpr std::int32_t kCoopNoWindowsKey = 16;

// Device names of the system keyboard and mouse.
inline constexpr std::string_view kSysKeyboardName = "GUID_SysKeyboard";
inline constexpr std::string_view kSysMouseName = "GUID_SysMouse";

// Mouse wheel movement per notch.
inline constexpr std::int32_t kWheelDelta = 120;

struct InputHub;
struct DeviceData;

class InputDevice {
 public:
  ~InputDevice();
  InputDevice(const InputDevice&) = delete;
  InputDevice& operator=(const InputDevice&) = delete;

  std::int32_t SetDataFormat(std::int32_t format);
  std::int32_t SetCooperativeLevel(std::uint32_t window, std::int32_t flags);
  // An exclusive mouse switches SDL to relative mouse mode (cursor hidden and
  // held in the window) while it is acquired.
  std::int32_t Acquire();
  std::int32_t Unacquire();
  std::int32_t Poll();
  // Each read fails with kInputErrInvalidParam when the record does not fit the
  // device, and leaves the record unchanged on every failure.
  std::int32_t GetState(KeyboardState& state);
  std::int32_t GetState(MouseState& state);
  std::int32_t GetState(JoystickState& state);

  bool IsAcquired() const;

 private:
  friend class InputSystem;
  explicit InputDevice(std::shared_ptr<InputHub> hub, std::unique_ptr<DeviceData> data);

  std::shared_ptr<InputHub> hub_;
  std::unique_ptr<DeviceData> data_;
};

class InputSystem {
 public:
  // Starts SDL's event system (and its joystick system when it can) and
  // begins to watch input events.
  static std::int32_t Create(std::unique_ptr<InputSystem>& system);
  ~InputSystem();
  InputSystem(const InputSystem&) = delete;
  InputSystem& operator=(const InputSystem&) = delete;

  // name: kSysKeyboardName, kSysMouseName or an instance text from
  // ListAttachedGameControllers. On failure `device` is left unchanged.
  std::int32_t CreateDevice(std::string_view name, std::unique_ptr<InputDevice>& device);

  // Instance texts of the attached game controllers, in SDL's order.
  std::vector<std::string> ListAttachedGameControllers() const;

 private:
  explicit InputSystem(std::shared_ptr<InputHub> hub);
  std::shared_ptr<InputHub> hub_;
};

}  // namespace kiv::input
