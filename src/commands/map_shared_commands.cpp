// Identifiers that maps and interfaces share: their variables, file name and
// title.
#include "commands/map_command_table.h"
#include "commands/object_executor.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

void Variable(InternalCall& call, std::int32_t map) {
  const std::u16string name = call.ArgumentText(0);
  const std::int32_t symbol = SymbolIntern(name);
  for (ScriptVariable& variable : gameData.maps[map].properties) {
    if (variable.symbol != symbol) continue;
    if (call.Assigning()) {
      variable.value = call.value;
    } else {
      call.Answer(variable.value);
    }
    return;
  }
  RaiseObjectMessage("Map/interface (\"" + Utf16ToAnsi(gameData.maps[map].fileName) + "\") variable \"" +
                     Utf16ToAnsi(name) + "\" does not exist.");
}

void TextProperty(InternalCall& call, std::u16string& text) {
  if (call.Assigning()) {
    text = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(text));
  }
}

void Name(InternalCall& call, std::int32_t map) { TextProperty(call, gameData.maps[map].fileName); }
void Title(InternalCall& call, std::int32_t map) { TextProperty(call, gameData.maps[map].displayName); }

constexpr MapCommand kShared[] = {
    {"Variable", Variable},
    {"Name", Name},
    {"Title", Title},
};

}  // namespace

std::span<const MapCommand> MapSharedCommands() { return kShared; }

}  // namespace kiv
