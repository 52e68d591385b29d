#include "kivplay_dump_scripts.h"

#include <string>

#include "core/folders.h"
#include "core/log.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "script/script_globals.h"
#include "script/script_value_ops.h"

namespace kivplay {

namespace {

using nlohmann::json;

std::string Name(std::int32_t symbol) { return kiv::Utf16ToUtf8(kiv::SymbolName(symbol)); }
std::string Text(const kiv::Variant& value) { return kiv::Utf16ToUtf8(kiv::VarToTextLenient(value)); }

std::string ErrorLogText() {
  const std::string path = kiv::JoinPath(kiv::GetUserGameFolder(), "ERROR.LOG");
  if (!kiv::FileExists(path)) return "";
  const kiv::ByteList bytes = kiv::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

json captured = json::object();

}  // namespace

void CaptureScripts() {
  json variables = json::object();
  for (const kiv::ScriptVariable& variable : kiv::scriptGlobals.variables) variables[Name(variable.symbol)] = Text(variable.value);
  json switches = json::object();
  for (const kiv::GlobalSwitch& s : kiv::scriptGlobals.switches) switches[Name(s.symbol)] = s.state != 0;
  json collections = json::object();
  for (const kiv::ScriptCollection& collection : kiv::scriptGlobals.collections) {
    json elements = json::array();
    for (const kiv::Variant& element : collection.elements) elements.push_back(Text(element));
    collections[Name(collection.symbol)] = elements;
  }
  json tables = json::object();
  for (const kiv::ScriptTable3& table : kiv::scriptGlobals.tables) {
    json cells = json::array();
    for (const kiv::Variant& cell : table.cells) cells.push_back(Text(cell));
    tables[Name(table.symbol)] = {{"size", {table.lastX + 1, table.lastY + 1, table.lastZ + 1}}, {"cells", cells}};
  }
  captured = {{"variables", variables},
              {"switches", switches},
              {"collections", collections},
              {"tables", tables},
              {"errorLog", ErrorLogText()}};
}

json ScriptsDump() { return captured; }

}  // namespace kivplay
