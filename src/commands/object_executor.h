#pragma once
// The executor of object references that are neither actors nor fields nor
// the camera view: maps and interfaces, parties, party members, teams, doors,
// lights, zones, spawns, speakers and the game-data kinds. It picks the entry
// of the reference's kind; the entry binds a slot or answers a read on the
// call, and the executor's tail stores or reads the slot and writes the
// result.
#include <cstdint>

#include "commands/internal_call.h"
#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

// One kind's entry. An identifier the entry does not serve does nothing: the
// tail then adds an Empty value on a read and drops an assignment.
using ObjectKindEntryFn = void (*)(InternalCall& call);

// The entry of a reference kind; nullptr for a kind the executor does not take.
ObjectKindEntryFn ObjectKindEntryFor(std::int32_t kind);

// mode: only its low 16 bits count; 0 reads or calls, any other value assigns.
void ScriptObjectProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                          std::int16_t mode, const Variant& value, bool lastToken);

// Installs ScriptObjectProperty as the script engine's executor of object kinds.
void InstallObjectExecutor();

// The record index of a reference's id in a list of `count` records: error 9
// for an index outside the list (a reference kept past a removal).
std::size_t ObjectListIndex(const Variant& id, std::size_t count);

// Raises a script error (number -1) with the message.
[[noreturn]] void RaiseObjectMessage(const std::string& message);

// The entries of the kinds (one file per family).
void RunMapProperty(InternalCall& call);  // kind 8

}  // namespace kiv
