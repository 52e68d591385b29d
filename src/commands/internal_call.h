#pragma once
// One call of the internal-command executor as its cases see it: the
// arguments of the dispatcher, the property slot or read value a case binds,
// and the clamps of the slot.
#include <cstdint>
#include <string>

#include "commands/property_slot.h"
#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

struct InternalCall {
  std::int32_t code = 0;
  ScriptValue& object;
  std::int32_t argumentUpper = -1;
  ScriptValue& result;
  std::int16_t mode = 0;
  const Variant& value;
  bool lastToken = false;

  // Bound by a case that serves a property; read or written by the common tail.
  PropertySlot slot;
  // Filled by a case that answers a read.
  Variant readValue;
  bool readFilled = false;
  // Set by SetResult: the result is the call's own, the common tail leaves it.
  bool resultSet = false;

  bool Assigning() const;
  // Argument i (0 = first); an argument the call does not have reads as "".
  Variant Argument(std::int32_t i) const;
  std::u16string ArgumentText(std::int32_t i) const;
  std::int32_t ArgumentLong(std::int32_t i) const;
  bool ArgumentBoolean(std::int32_t i) const;
  // Answers a read; the common tail writes it to the result.
  void Answer(Variant answer);
  // Ends the call with a result of its own (constructors, control requests).
  void SetResult(std::int32_t kind, Variant resultValue, std::int32_t mapIndex = 0);
};

// A read's answer goes to the result: an Empty result takes it with map index
// -1; a result that already holds a value gets the answer appended as text.
void ScriptWriteResult(ScriptValue& result, const Variant& answer);

}  // namespace kiv
