#include <array>
#include <initializer_list>
#include <string_view>

#include "core/error.h"
#include "core/symbol_table.h"
#include "data/script_codec.h"
#include "data/script_link.h"
#include "state/game_state.h"
#include "state/state_block_parts.h"

namespace kiv {

namespace {

// The slots in the order the block stores them. A block older than
// kFirstAllSlotsVersion is refused once its first kOldBlockSlots slots are
// read; every project block passes the header check and so is newer: only the
// version a save stores can be that old.
constexpr std::array<std::size_t, 9> kStoredSlots = {0, 8, 5, 1, 2, 9, 10, 11, 12};
constexpr std::size_t kOldBlockSlots = 3;
constexpr std::int32_t kFirstAllSlotsVersion = 100561;

// The names the engine passes to the scripts of some slots, in order.
struct SlotParameters {
  std::size_t slot;
  std::initializer_list<std::u16string_view> names;
};
const SlotParameters kSlotParameters[] = {
    {5, {u"partyMember", u"previousLevel", u"learntMagic"}},
    {10,
     {u"treasureChest", u"itemName", u"itemCount", u"ammoName", u"ammoCount", u"money", u"experience",
      u"points"}},
    {11, {u"code", u"relateDoor"}},
    {12, {u"relateDoor", u"relateVehicle"}},
};

std::initializer_list<std::u16string_view> ParametersOf(std::size_t slot) {
  for (const SlotParameters& entry : kSlotParameters) {
    if (entry.slot == slot) return entry.names;
  }
  return {};
}

// The parameters are set before the script is linked and registered, so the
// script's uses of them bind to the parameter list and the registered copy
// (the one that runs) has them too.
void ReadSlot(const ByteList& buffer, std::int32_t& offset, bool full, std::size_t slot) {
  Script& script = systemScripts[slot];
  ReadScript(buffer, offset, script, full, false, 0, false);
  if (script.hasStatements) {
    for (std::u16string_view name : ParametersOf(slot)) {
      ScriptVariable parameter;
      parameter.symbol = SymbolIntern(name);
      script.frameTemplate.parameters.push_back(parameter);
    }
  }
  LinkScript(script, true);
  RegisterScript(script);
}

}  // namespace

void ReadSystemScripts(const ByteList& buffer, std::int32_t& offset, bool full, std::int32_t version) {
  for (std::size_t k = 0; k < kStoredSlots.size(); ++k) {
    if (k == kOldBlockSlots && version < kFirstAllSlotsVersion) {
      RaiseError(kErrData, "Data file is too old for this version of EngineKiv. Re-build with MapKiv.");
    }
    ReadSlot(buffer, offset, full, kStoredSlots[k]);
  }
}

void WriteSystemScripts(ByteList& buffer, std::int32_t& offset) {
  for (std::size_t slot : kStoredSlots) SerializeScript(buffer, offset, systemScripts[slot], true);
}

}  // namespace kiv
