#pragma once
// The controls table: the named actions of a game with their bindings per
// player. The state block and "controls.dat" fill it (src/state,
// src/dialogs); it lives here because the binding test reads it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/identifier.h"
#include "core/record_codecs.h"

namespace kiv {

struct InputBinding {
  std::int32_t mode = 0;  // 0 none, 1 control, 2 keyboard, 4 mouse, 8 joystick button
  std::int32_t key = 0;   // control index, key code, mouse code 0 to 10 or button 0 to 31
};

struct BindingSlot {
  std::vector<InputBinding> bindings;
  // 0 up, 1 down. The pointer sets pending while it holds down a field that
  // stands for the control; once per tick previous := current := pending.
  std::uint8_t pending = 0;
  std::uint8_t current = 0;
  std::uint8_t previous = 0;
};

inline constexpr int kPlayerCount = 4;

struct Control {
  Identifier id;
  std::u16string name;         // used by scripts and look-ups
  std::u16string displayName;  // shown to the user
  std::int32_t reserved = 0;   // kept with the record, never stored
  EmbeddedResource image;
  std::array<BindingSlot, kPlayerCount> slots;  // one per player 0 to 3
};

// Index = control number.
extern std::vector<Control> controls;

}  // namespace kiv
