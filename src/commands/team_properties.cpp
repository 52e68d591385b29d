// A character team (kind 10): every identifier goes to each character of the
// team in turn, through the actor executor.
#include "commands/actor_executor.h"
#include "commands/object_kind_commands.h"
#include "script/script_value.h"

namespace kiv {

// Reads gather in the one result by the actor executor's result rule; an
// error on one character ends the statement with the earlier ones done.
void RunTeamProperty(InternalCall& call) {
  // The team is copied first: a character's scripts may change the reference.
  const Variant team = call.object.value;
  // The actor executor writes the result; the executor's tail leaves it.
  call.resultSet = true;
  if (!team.IsArray()) return;
  const std::int32_t map = call.object.mapIndex;
  for (const Variant& character : team.Elements()) {
    ScriptValue reference{kObjectCharacter, character, map};
    ScriptActorProperty(call.code, reference, call.argumentUpper, call.result, call.mode, call.value, call.lastToken);
  }
}

}  // namespace kiv
