#include "data/custom_event.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/game_data.h"
#include "data/resource_header.h"
#include "data/script_codec.h"
#include "data/script_link.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstText2 = 100736;
constexpr std::int32_t kFirstValue = 100702;
constexpr std::int32_t kFirstKind = 100763;
constexpr std::int32_t kFirstItemMagicType = 100589;
constexpr std::int32_t kFirstGatesType = 100703;
constexpr std::int32_t kFirstSpriteType = 100734;

constexpr std::int32_t kParameterSize = 8;  // two strings

// Brings a parameter type written by an older editor up to date.
std::u16string CurrentParameterType(std::u16string type, std::int32_t version) {
  if (version < kFirstItemMagicType && (type == u"ENUM:ITEM" || type == u"ENUM:MAGIC"))
    return u"ENUM:ITEMMAGIC";
  if (version < kFirstGatesType && type == u"GATES") return u"GATES:2;2;25";
  if (version < kFirstSpriteType && type == u"CHARTEXTURE") return u"SPRITE";
  return type;
}

}  // namespace

void ReadCustomEvent(const ByteList& buffer, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.customEvents.size())
    RaiseError(kErrIndex, "Subscript out of range: custom event " + std::to_string(index) + ".");
  CustomEvent& event = gameData.customEvents[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSetVersion);
  event.id = ReadSetIdentifier(buffer, offset, version);
  event.name = BufferReadString(buffer, offset);
  event.eventSymbol = SymbolIntern(u"Custom." + event.name);
  event.displayName = BufferReadString(buffer, offset);
  event.text2 = version >= kFirstText2 ? BufferReadString(buffer, offset) : std::u16string();
  event.image = EmptyImageSource();
  ReadImageSource(buffer, event.image, offset, version);
  event.value = version >= kFirstValue ? BufferReadLong(buffer, offset) : 0;
  ReadScript(buffer, offset, event.script, false, false, 0, true);

  const std::int32_t last = BufferReadLastIndex(buffer, offset, kParameterSize);
  event.parameters.assign(static_cast<std::size_t>(last + 1), CustomEventParameter());
  std::vector<ScriptVariable>& variables = event.script.frameTemplate.parameters;
  variables.resize(event.parameters.size());
  for (std::size_t k = 0; k < event.parameters.size(); ++k) {
    CustomEventParameter& parameter = event.parameters[k];
    parameter.name = BufferReadString(buffer, offset);
    parameter.type = CurrentParameterType(BufferReadString(buffer, offset), version);
    variables[k].symbol = SymbolIntern(parameter.name);
  }
  event.kind = version >= kFirstKind ? BufferReadString(buffer, offset) : std::u16string();

  LinkScript(event.script, true);
  // The table holds the copy made before linking; it runs the linked script.
  const std::int32_t registered = event.script.index;
  if (event.script.hasStatements && registered >= 0 &&
      static_cast<std::size_t>(registered) < scriptTable.scripts.size())
    scriptTable.scripts[static_cast<std::size_t>(registered)] = event.script;
}

}  // namespace kiv
