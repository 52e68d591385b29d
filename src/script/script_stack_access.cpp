#include "script/script_stack_access.h"

#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/number_text.h"
#include "core/quick_sort.h"
#include "data/game_data.h"
#include "media/controls_table.h"
#include "media/key_names.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

const Variant kEmpty;
constexpr std::int32_t kEnterKey = 28;
constexpr std::int32_t kSpaceKey = 57;

[[noreturn]] void RaiseScript(const std::string& message) { RaiseError(kErrData, message); }

const Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  const std::vector<Actor>& actors = gameData.maps[map].actors;
  if (actor < 0 || static_cast<std::size_t>(actor) >= actors.size()) {
    RaiseError(kErrIndex, "Subscript out of range: actor " + std::to_string(actor) + ".");
  }
  return actors[static_cast<std::size_t>(actor)];
}

// Whether the player's bindings of the control hold a keyboard binding to the key.
bool HasKeyBinding(const Control& control, std::int32_t player, std::int32_t key) {
  for (const InputBinding& binding : control.slots[static_cast<std::size_t>(player)].bindings) {
    if ((binding.mode & kBindKeyboard) != 0 && binding.key == key) return true;
  }
  return false;
}

const ScriptValue& EntryAt(std::int32_t offset) {
  const CallFrame& frame = TopFrame();
  const std::int32_t index = offset == -1 ? 0 : frame.stackBase + offset;
  if (index < 0 || index >= static_cast<std::int32_t>(frame.valueStack.size())) {
    RaiseError(kErrIndex, "Argument " + std::to_string(offset + 1) + " does not exist.");
  }
  return frame.valueStack[static_cast<std::size_t>(index)];
}

// The array an entry holds directly or through a variable reference; null when none.
const Variant* EntryArray(const ScriptValue& entry) {
  if (entry.kind != kValuePlain && entry.kind != kValueVariable) return nullptr;
  const Variant& value = ScriptEntryValue(TopFrame(), entry);
  return value.IsArray() ? &value : nullptr;
}

template <typename T>
const T& VariableAt(const std::vector<T>& list, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(list.size()))
    RaiseError(kErrIndex, "Subscript out of range");
  return list[static_cast<std::size_t>(index)];
}

std::string Decimal(std::int64_t n) { return std::to_string(n); }

void QuickSort(std::int32_t low, std::int32_t high, bool descending, bool numeric,
               const std::function<Variant&(std::int32_t)>& at) {
  QuickSortRange(low, high, at, [descending, numeric](const Variant& a, const Variant& b) {
    return ScriptCompareForSort(a, b, descending, numeric);
  });
}

}  // namespace

const Variant& ScriptEntryValue(const CallFrame& frame, const ScriptValue& entry) {
  if (entry.kind != kValueVariable) return entry.value;
  const Script& script = ScriptAt(frame.scriptIndex);
  if (frame.statementIndex < 0 ||
      frame.statementIndex >= static_cast<std::int32_t>(script.statements.size())) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
  const ScriptStatement& statement = script.statements[static_cast<std::size_t>(frame.statementIndex)];
  const ScriptToken& token = VariableAt(statement.tokens, entry.value.AsLong());
  switch (token.kind) {
    case kTokenNumber:
    case kTokenString:
    case kTokenOperator:
      return token.value;
    case kTokenLocal:
      return VariableAt(frame.locals, token.value.AsLong()).value;
    case kTokenStatic:
      return VariableAt(frame.statics, token.value.AsLong()).value;
    case kTokenParameter:
      return VariableAt(frame.parameters, token.value.AsLong()).value;
    case kTokenGlobalVariable:
      return GlobalVariableAt(token.value.AsLong()).value;
    default:
      return kEmpty;
  }
}

Variant ScriptGetArgument(std::int32_t offset) { return ScriptEntryValue(TopFrame(), EntryAt(offset)); }

std::int32_t ScriptGetArgumentKind(std::int32_t offset) { return EntryAt(offset).kind; }

std::int32_t ScriptGetArgumentMapIndex(std::int32_t offset) {
  const ScriptValue& entry = EntryAt(offset);
  return entry.kind == kValueVariable ? 0 : entry.mapIndex;
}

Variant ScriptGetArgumentArray(std::int32_t lastOffset, std::int32_t firstOffset) {
  if (lastOffset < firstOffset) return Variant::Array(kVarVariant, {});
  const ScriptValue& first = EntryAt(firstOffset);
  if (first.kind == kValueCollection) {
    return Variant::Array(kVarVariant, CollectionAt(first.value.AsLong()).elements);
  }
  const Variant& firstValue = ScriptEntryValue(TopFrame(), first);
  if (firstValue.IsArray()) return firstValue;
  std::vector<Variant> elements;
  for (std::int32_t offset = firstOffset; offset <= lastOffset; ++offset)
    elements.push_back(ScriptGetArgument(offset));
  return Variant::Array(kVarVariant, std::move(elements));
}

void ScriptCheckCollectionArgument(std::int32_t offset, bool refuseSystem) {
  const ScriptValue& entry = EntryAt(offset);
  if (entry.kind == kValueCollection) return;
  if (EntryArray(entry) != nullptr) {
    if (!refuseSystem) return;
    RaiseScript(
        "Cannot use this command with a system collection; use the equivalent event if there is one.");
  }
  RaiseScript("Cannot use this command with something that is not a collection.");
}

std::int32_t ScriptCollectionSize(std::int32_t offset) {
  const ScriptValue& entry = EntryAt(offset);
  if (entry.kind == kValueCollection) {
    return static_cast<std::int32_t>(CollectionAt(entry.value.AsLong()).elements.size());
  }
  const Variant& value = ScriptEntryValue(TopFrame(), entry);
  return value.IsArray() ? static_cast<std::int32_t>(value.Elements().size()) : 0;
}

void ScriptCollectionSlice(ScriptValue& result, std::int32_t offset, std::int32_t start, std::int32_t count) {
  if (start < 0) RaiseError(kErrInvalidCall, "Invalid procedure call or argument");
  const std::int32_t size = ScriptCollectionSize(offset);
  if (count < 0 || static_cast<std::int64_t>(size) < static_cast<std::int64_t>(start) + count)
    count = size - start;
  if (count <= 0) {
    result.value = Variant::Array(kVarVariant, {});
    return;
  }
  const ScriptValue& entry = EntryAt(offset);
  const std::vector<Variant>& source = entry.kind == kValueCollection
                                           ? CollectionAt(entry.value.AsLong()).elements
                                           : ScriptEntryValue(TopFrame(), entry).Elements();
  result.value = Variant::Array(kVarVariant,
                                std::vector<Variant>(source.begin() + start, source.begin() + start + count));
}

std::int32_t ScriptGetTableArgument(std::int32_t offset) {
  const ScriptValue& entry = EntryAt(offset);
  if (entry.kind != kValueTable) RaiseScript("Cannot use this command with something that is not a table.");
  return entry.value.AsLong();
}

void ScriptCheckTableElement(std::int32_t table, std::int32_t x, std::int32_t y, std::int32_t z) {
  const ScriptTable3& t = TableAt(table);
  if (x < 0 || y < 0 || z < 0 || x > t.lastX || y > t.lastY || z > t.lastZ) {
    RaiseScript("Element (" + Decimal(x + 1LL) + ", " + Decimal(y + 1LL) + ", " + Decimal(z + 1LL) +
                ") does not exist in table that is of size (" + Decimal(t.lastX + 1LL) + ", " +
                Decimal(t.lastY + 1LL) + ", " + Decimal(t.lastZ + 1LL) + ").");
  }
}

void ScriptClearTable(std::int32_t table) {
  ScriptTable3& t = TableAt(table);
  t.lastX = t.lastY = t.lastZ = 0;
  t.cells.assign(1, Variant());  // the one cell that upper indexes of 0 promise
}

void ScriptCheckTileBounds(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t z) {
  if (map < -1 || map > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  const Map& record = gameData.maps[map];
  if (x < 0 || y < 0 || z < 0 || x > record.width || y > record.height || z > record.layerCount) {
    RaiseScript("Attempting to access tile (" + Decimal(x) + ", " + Decimal(y) + ", " + Decimal(z) +
                ") which is out of the bounds of the map.");
  }
}

bool ScriptCompareForSort(const Variant& p, const Variant& q, bool descending, bool numeric) {
  if (numeric) {
    const double a = ToNumber(p);
    const double b = ToNumber(q);
    return descending ? a > b : a < b;
  }
  const std::u16string a = TrimLower(VarToText(p));
  const std::u16string b = TrimLower(VarToText(q));
  return descending ? a > b : a < b;
}

void ScriptSortArray(std::vector<Variant>& elements, std::int32_t low, std::int32_t high, bool descending,
                     bool numeric) {
  if (low >= high) return;
  if (low < 0 || high >= static_cast<std::int32_t>(elements.size()))
    RaiseError(kErrIndex, "Subscript out of range");
  QuickSort(low, high, descending, numeric,
            [&elements](std::int32_t i) -> Variant& { return elements[static_cast<std::size_t>(i)]; });
}

void ScriptSortArrayKeyed(ScriptTable3& table, std::int32_t dimension,
                          const std::array<std::int32_t, 3>& position, std::int32_t low, std::int32_t high,
                          bool descending, bool numeric) {
  if (dimension < 1 || dimension > 3) RaiseError(kErrIndex, "Subscript out of range");
  std::array<std::int32_t, 3> cell{position[0] - 1, position[1] - 1, position[2] - 1};
  const std::int32_t axis = dimension - 1;
  if (low >= high) return;
  const std::array<std::int32_t, 3> last{table.lastX, table.lastY, table.lastZ};
  for (std::int32_t i = 0; i < 3; ++i) {
    const bool inside = i == axis ? (low >= 0 && high <= last[static_cast<std::size_t>(i)])
                                  : (cell[static_cast<std::size_t>(i)] >= 0 &&
                                     cell[static_cast<std::size_t>(i)] <= last[static_cast<std::size_t>(i)]);
    if (!inside) RaiseError(kErrIndex, "Subscript out of range");
  }
  QuickSort(low, high, descending, numeric, [&table, cell, axis](std::int32_t i) mutable -> Variant& {
    cell[static_cast<std::size_t>(axis)] = i;
    return table.Cell(cell[0], cell[1], cell[2]);
  });
}

bool ScriptUpdateIdList(Variant& idList, bool close, float distance, std::int32_t map, std::int32_t actorA,
                        std::int32_t actorB) {
  const Actor& a = ActorAt(map, actorA);
  const Actor& b = ActorAt(map, actorB);
  const float d =
      std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
  const bool holds = close ? d <= distance : d > distance;
  if (!idList.IsArray()) {
    if (!holds) return false;
    idList = Variant::Array(kVarLong, {Variant::Long(actorB)});
    return true;
  }
  std::vector<Variant>& ids = idList.Elements();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i].AsLong() == actorB && ids[i].Type() == kVarLong) {
      if (!holds) {
        ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(i));
        if (ids.empty()) idList = Variant();
      }
      return false;
    }
  }
  if (!holds) return false;
  ids.push_back(Variant::Long(actorB));
  return true;
}

std::int32_t ScriptFindActionControl(std::int32_t player) {
  if (player < 0 || player > 3) RaiseError(kErrIndex, "Subscript out of range");
  const auto count = static_cast<std::int32_t>(controls.size());
  for (std::int32_t i = 0; i < count; ++i) {
    if (controls[static_cast<std::size_t>(i)].name == u"Action") return i;
  }
  for (const std::int32_t key : {kEnterKey, kSpaceKey}) {
    for (std::int32_t i = 0; i < count; ++i) {
      if (HasKeyBinding(controls[static_cast<std::size_t>(i)], player, key)) return i;
    }
  }
  RaiseScript("Could not find \"Action\" control or a control which responds to the ENTER or SPACE key.");
}

std::int32_t ScriptCurrentPlayerIndex() {
  if (scriptEngine.callTop < 0) return 0;
  const std::int32_t player = TopFrame().player;
  return player > 0 || player < 0 ? 0 : player;
}

}  // namespace kiv
