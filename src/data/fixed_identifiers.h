#pragma once
// The fixed vocabulary of the script language: the empty name as symbol 0 and
// 715 names numbered 1 ("Actor") to 715 ("System.Last") in a fixed order. The
// numbers are the command, property, event and variable codes everywhere.
#include <cstdint>
#include <string_view>

namespace kiv {

inline constexpr std::int32_t kFixedIdentifierCount = 715;

// The fixed name of a symbol number 1 to 715; "" for any other number.
std::string_view FixedIdentifierName(std::int32_t number);

// Interns "" and then the 715 fixed names into the symbol table, which must be
// empty: otherwise raises -1 "Symbol error." and registers nothing further.
void RegisterScriptIdentifiers();

// Symbol numbers the readers use by name.
inline constexpr std::int32_t kSymActor = 1;
inline constexpr std::int32_t kSymField = 162;
inline constexpr std::int32_t kSymTriggerActorLoaded = 552;
inline constexpr std::int32_t kSymTriggerActorExistenceChanged = 553;
inline constexpr std::int32_t kSymTriggerActorMouseDown = 561;
inline constexpr std::int32_t kSymTriggerActorMouseUp = 565;
inline constexpr std::int32_t kSymTriggerZoneMouseDown = 573;
inline constexpr std::int32_t kSymTriggerZoneMouseUp = 577;
inline constexpr std::int32_t kSymTriggerFieldMouseDown = 581;
inline constexpr std::int32_t kSymTriggerFieldMouseUp = 585;
inline constexpr std::int32_t kSymSystemLast = 715;

}  // namespace kiv
