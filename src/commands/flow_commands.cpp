// Pause and Return: commands that answer with a control request for the
// interpreter (a wait, or a return with its value).
#include "commands/internal_selection.h"
#include "core/error.h"
#include "script/script_globals.h"
#include "script/script_stack_access.h"
#include "script/waits.h"

namespace kiv {

namespace {

void Pause(InternalCall& call) {
  const std::int32_t milliseconds = call.ArgumentLong(0);
  call.SetResult(kValueControl,
                 ScriptMakeWaitRequest(1, milliseconds, -1, 0, -1, Variant::Long(-1), -1, -1, -1));
}

// A user collection returns its values, not a reference to it.
void Return(InternalCall& call) {
  Variant returned;
  if (call.argumentUpper >= 0) {
    const std::int32_t kind = ScriptGetArgumentKind(0);
    if (kind == kValueTable) RaiseError(kErrData, "You cannot return a table.");
    returned = kind == kValueCollection ? ScriptGetArgumentArray(0, 0) : ScriptGetArgument(0);
  } else {
    returned = Variant::Text(u"");
  }
  call.SetResult(kValueControl, Variant::Array(kVarVariant, {Variant::Long(2), std::move(returned)}));
}

constexpr InternalCommand kFlow[] = {
    {"Pause", Pause},
    {"Return", Return},
};

}  // namespace

std::span<const InternalCommand> FlowCommands() { return kFlow; }

}  // namespace kiv
