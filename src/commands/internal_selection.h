#pragma once
// The selection of the internal-command executor: identifier code to the case
// that serves it. Each family of commands lists its cases by name; the codes
// are those of the fixed vocabulary.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "commands/internal_call.h"

namespace kiv {

using InternalHandler = void (*)(InternalCall& call);

struct InternalCommand {
  std::string_view name;  // the fixed identifier
  InternalHandler handler;
};

// An identifier an executor serves, with the object kinds it serves it for.
struct ServedIdentifier {
  std::int32_t code = 0;
  std::vector<std::int32_t> kinds;
};

// The families (one file each).
std::span<const InternalCommand> ConstructorCommands();
std::span<const InternalCommand> FlowCommands();
std::span<const InternalCommand> CollectionCommands();
std::span<const InternalCommand> TableCommands();
std::span<const InternalCommand> MainCommands();
std::span<const InternalCommand> MessageBoxCommands();
std::span<const InternalCommand> CursorCommands();
std::span<const InternalCommand> InnLoadingCommands();
std::span<const InternalCommand> MusicCommands();
std::span<const InternalCommand> SoundCommands();
std::span<const InternalCommand> ScreenCommands();
std::span<const InternalCommand> ShopCommands();
std::span<const InternalCommand> StructureFunctions();
std::span<const InternalCommand> TextFunctions();
std::span<const InternalCommand> MathFunctions();
std::span<const InternalCommand> GeometryFunctions();
std::span<const InternalCommand> ColourFunctions();
std::span<const InternalCommand> TriggerMemoryFunctions();
std::span<const InternalCommand> MainIdentifiers();

// The case of a code 1 to 679; nullptr when the code has none (it then takes
// the fall-back block).
InternalHandler InternalHandlerFor(std::int32_t code);

// Every code the executor has a case for (kind 0, no object).
std::vector<ServedIdentifier> InternalExecutorServes();

}  // namespace kiv
