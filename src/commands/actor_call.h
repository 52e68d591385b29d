#pragma once
// One call of the actor property executor as its handlers see it: the
// dispatcher's arguments, the actor the reference names, the field a handler
// binds for the common tail, the answer of a read, and what phase 1 keeps for
// phase 2.
//
// Phase 2 runs world operations that may add, remove or reorder actors and
// maps, and so may events and resolvers: handlers fetch the record with
// Record() after every such call and never keep an Actor& or Map& across one.
#include <array>
#include <cstdint>
#include <string>

#include "commands/property_slot.h"
#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

struct Actor;
struct Map;

struct ActorCall {
  ActorCall(std::int32_t code_, ScriptValue& object_, std::int32_t argumentUpper_, ScriptValue& result_,
            std::int16_t mode_, const Variant& value_, bool lastToken_, std::int32_t map_, std::int32_t index_)
      : code(code_), object(object_), argumentUpper(argumentUpper_), result(result_), mode(mode_), value(value_),
        lastToken(lastToken_), kind(object_.kind), map(map_), index(index_) {}

  std::int32_t code = 0;
  ScriptValue& object;
  std::int32_t argumentUpper = -1;
  ScriptValue& result;
  std::int16_t mode = 0;
  const Variant& value;
  bool lastToken = false;
  std::int32_t kind = 0;  // 31, 9, 12, 14 or 15
  std::int32_t map = -1;
  std::int32_t index = -1;

  // Bound by a handler that serves a plain field; the tail reads or assigns it.
  PropertySlot slot;
  float* angle = nullptr;        // an angle: assigned through the rotation words, unclamped
  std::uint8_t* byte = nullptr;  // a plain Byte: converted and clamped by the slot's bounds
  double byteLower = kClampLowest;
  double byteUpper = kClampHighest;

  // The answer of a read, or the call's own result record (wait requests).
  Variant readValue;
  bool readFilled = false;
  bool resultWritten = false;

  // What phase 1 leaves for phase 2: a position and heading, a number, a text.
  std::array<float, 4> kept{};
  std::int32_t keptNumber = 0;
  bool phase2 = true;  // phase 1 clears it when the call is done

  bool Assigning() const;
  // The actor and its map, checked again on every call (error 9 once gone).
  Actor& Record() const;
  Map& MapRecord() const;

  // Argument i (0 = first); one the call does not have reads as "".
  Variant Argument(std::int32_t i) const;
  bool HasArgument(std::int32_t i) const { return i >= 0 && i <= argumentUpper; }
  std::u16string ArgumentText(std::int32_t i) const;
  std::int32_t ArgumentLong(std::int32_t i) const;
  float ArgumentSingle(std::int32_t i) const;
  bool ArgumentBoolean(std::int32_t i) const;

  void BindAngle(float& field) { angle = &field; }
  void BindByte(std::uint8_t& field) { byte = &field; }
  void Answer(Variant answer);
  // The reference text of another actor of this map: "" for -1, the
  // map-qualified name for kind 31, otherwise its scripting ID of kind `idKind`.
  std::u16string ReferenceText(std::int32_t other, std::int32_t idKind) const;
  // Resolves a reference text on this map ("" is -1): kind 31 by any actor
  // name, other kinds by the resolver of their family (kind 14: turrets).
  std::int32_t ResolveReference(const std::u16string& text, std::int32_t family) const;
};

// The error of an identifier this executor does not serve.
[[noreturn]] void RaiseNotActorProperty(std::int32_t code);

}  // namespace kiv
