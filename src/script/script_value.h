#pragma once
// One cell of a script's value stack; the same record is an object reference,
// a command result and the target of a timed change.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

// Entry kinds; 8 and above are object references whose kind is the object type.
enum ScriptValueKind : std::int32_t {
  kValuePlain = 0,
  kValueCollection = 1,  // value: index in the collections
  kValueTable = 2,       // value: index in the tables
  kValueOperator = 3,    // inside the interpreter only: an operator waiting for its operands
  kValueMarker = 4,      // start of an argument list
  kValueControl = 6,     // control request: array whose element 0 is 0 wait, 1 stop, 2 return
  kValueVariable = 7,    // value: index of the token in the current statement
  kValueFirstObject = 8,
};

// Object kinds (the kind of an object reference).
enum ScriptObjectKind : std::int32_t {
  kObjectNone = 0,
  kObjectMap = 8,
  kObjectCharacter = 9,
  kObjectTeam = 10,
  kObjectPartyMember = 11,
  kObjectVehicle = 12,
  kObjectDoor = 13,
  kObjectTurret = 14,
  kObjectDynamic = 15,
  kObjectLight = 17,
  kObjectZone = 19,
  kObjectSpawn = 21,
  kObjectItem = 22,
  kObjectEffect = 23,
  kObjectMapOrInterface = 25,
  kObjectField = 26,
  kObjectEquipmentArea = 27,
  kObjectStatistic = 28,
  kObjectInputSet = 29,
  kObjectSpeaker = 30,
  kObjectActor = 31,
  kObjectCameraView = 33,
  kObjectPlayer = 34,
  kObjectSprite = 36,
  kObjectFont = 37,
};

struct ScriptValue {
  std::int32_t kind = kValuePlain;
  Variant value;
  std::int32_t mapIndex = 0;

  friend bool operator==(const ScriptValue&, const ScriptValue&) = default;
};

inline bool IsObjectReference(const ScriptValue& entry) { return entry.kind >= kValueFirstObject; }

}  // namespace kiv
