// The Collection commands: user collections (the project's global lists) are
// changed in place; any list value (a system collection) can be read, searched
// and cut into new lists. Scripts count elements from 1.
#include <string>
#include <vector>

#include "commands/internal_selection.h"
#include "commands/value_helpers.h"
#include "core/error.h"
#include "script/call_frame.h"
#include "script/script_globals.h"
#include "script/script_stack_access.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

[[noreturn]] void RaiseScript(const std::string& message) { RaiseError(kErrData, message); }

// The user collection of argument 0, after the check that refuses any other list.
std::vector<Variant>& UserElements() {
  ScriptCheckCollectionArgument(0, true);
  return CollectionAt(ScriptGetArgument(0).AsLong()).elements;
}

// The elements of argument offset, a user or system collection (checked),
// read in place: a script that searches a long list must not copy it on every
// call. Valid until the collections or the value stack change.
const std::vector<Variant>& AnyElements(std::int32_t offset) {
  ScriptCheckCollectionArgument(offset, false);
  if (ScriptGetArgumentKind(offset) == kValueCollection) {
    return CollectionAt(ScriptGetArgument(offset).AsLong()).elements;
  }
  const CallFrame& frame = TopFrame();
  const std::int64_t at = static_cast<std::int64_t>(frame.stackBase) + offset;
  if (at < 0 || at >= static_cast<std::int64_t>(frame.valueStack.size())) RaiseError(kErrIndex, "Subscript out of range");
  return ScriptEntryValue(frame, frame.valueStack[static_cast<std::size_t>(at)]).Elements();
}

void CheckTooHigh(std::int32_t index, std::size_t count) {
  if (static_cast<std::int64_t>(index) > static_cast<std::int64_t>(count)) {
    RaiseScript("Index (" + std::to_string(index) + ") too high for collection containing " + std::to_string(count) +
                " value(s).");
  }
}

std::size_t Position(std::int32_t index) { return static_cast<std::size_t>(index - 1); }

std::int32_t FindEqual(const std::vector<Variant>& elements, const Variant& value) {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (ScriptValuesEqual(elements[i], value)) return static_cast<std::int32_t>(i) + 1;
  }
  return 0;
}

void Add(InternalCall& call) {
  Variant value = call.Argument(1);
  UserElements().push_back(std::move(value));
}

void Clear(InternalCall&) { UserElements().clear(); }

void Count(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  call.Answer(Variant::Long(ScriptCollectionSize(0)));
}

void Edit(InternalCall& call) {
  std::vector<Variant>& elements = UserElements();
  const std::int32_t index = call.ArgumentLong(1);
  if (index <= 0) RaiseScript("Cannot edit an element of a collection using an index equal or lower than 0.");
  if (elements.empty()) RaiseScript("Cannot edit an element of an empty collection.");
  CheckTooHigh(index, elements.size());
  Variant value = call.Argument(2);
  UserElements()[Position(index)] = std::move(value);
}

void Find(InternalCall& call) {
  const Variant value = call.Argument(1);
  call.Answer(Variant::Long(FindEqual(AnyElements(0), value)));
}

void Insert(InternalCall& call) {
  std::vector<Variant>& elements = UserElements();
  const std::int32_t index = call.ArgumentLong(1);
  if (index <= 0) RaiseScript("Cannot insert into a collection using an index equal or lower than 0.");
  if (elements.empty()) RaiseScript("Cannot insert a value into an empty collection. Use Add to Collection instead.");
  CheckTooHigh(index, elements.size());
  Variant value = call.Argument(2);
  std::vector<Variant>& target = UserElements();
  target.insert(target.begin() + static_cast<std::ptrdiff_t>(Position(index)), std::move(value));
}

void Item(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  const std::int32_t index = call.ArgumentLong(1);
  if (index <= 0) RaiseScript("Cannot access a collection using an index equal or lower than 0.");
  const std::vector<Variant>& elements = AnyElements(0);
  CheckTooHigh(index, elements.size());
  call.Answer(elements[Position(index)]);
}

void Make(InternalCall& call) { call.Answer(ScriptGetArgumentArray(call.argumentUpper, 0)); }

void Merge(InternalCall& call) {
  std::vector<Variant> merged = AnyElements(0);
  const std::vector<Variant>& second = AnyElements(1);
  merged.insert(merged.end(), second.begin(), second.end());
  call.Answer(Variant::Array(kVarVariant, std::move(merged)));
}

void Remove(InternalCall& call) {
  ScriptCheckCollectionArgument(0, true);
  const Variant value = call.Argument(1);
  std::vector<Variant>& elements = UserElements();
  const std::int32_t index = FindEqual(elements, value);
  if (index > 0) elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(Position(index)));
}

void RemoveIndex(InternalCall& call) {
  std::vector<Variant>& elements = UserElements();
  const std::int32_t index = call.ArgumentLong(1);
  if (index <= 0) RaiseScript("Cannot remove from a collection using an index equal or lower than 0.");
  if (elements.empty()) RaiseScript("Cannot remove a value from an empty collection.");
  CheckTooHigh(index, elements.size());
  std::vector<Variant>& target = UserElements();
  target.erase(target.begin() + static_cast<std::ptrdiff_t>(Position(index)));
}

void Sort(InternalCall& call) {
  ScriptCheckCollectionArgument(0, true);
  const bool descending = call.ArgumentBoolean(1);
  const bool numeric = call.ArgumentBoolean(2);
  std::vector<Variant>& elements = UserElements();
  if (!elements.empty()) {
    ScriptSortArray(elements, 0, static_cast<std::int32_t>(elements.size()) - 1, descending, numeric);
  }
}

void Join(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  const bool user = ScriptGetArgumentKind(0) == kValueCollection;
  const Variant elements = ScriptGetArgumentArray(0, 0);
  const std::u16string separator = call.ArgumentText(1);
  std::u16string joined;
  for (std::size_t i = 0; i < elements.Elements().size(); ++i) {
    if (i > 0) joined += separator;
    const Variant& element = elements.Elements()[i];
    if (element.Type() != kVarNull) joined += VarToText(element);
  }
  // An empty user collection joins to nothing at all; an empty list to "".
  if (user && elements.Elements().empty()) {
    call.Answer(Variant());
  } else {
    call.Answer(Variant::Text(std::move(joined)));
  }
}

// Elements start .. start + count - 1 (0-based) of argument 0 as a new list.
void Slice(InternalCall& call, std::int64_t start, std::int64_t count) {
  ScriptCheckCollectionArgument(0, false);
  if (start < INT32_MIN || start > INT32_MAX) RaiseError(kErrOverflow, "Overflow");
  if (count < INT32_MIN) count = -1;
  if (count > INT32_MAX) count = INT32_MAX;
  ScriptValue slice;
  ScriptCollectionSlice(slice, 0, static_cast<std::int32_t>(start), static_cast<std::int32_t>(count));
  call.Answer(std::move(slice.value));
}

std::int64_t Size() { return ScriptCollectionSize(0); }

void Left(InternalCall& call) { Slice(call, 0, call.ArgumentLong(1)); }
void Right(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  Slice(call, Size() - call.ArgumentLong(1), -1);
}
void Middle(InternalCall& call) { Slice(call, static_cast<std::int64_t>(call.ArgumentLong(1)) - 1, call.ArgumentLong(2)); }
void LeftCut(InternalCall& call) { Slice(call, call.ArgumentLong(1), -1); }
void RightCut(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  const std::int64_t count = Size() - call.ArgumentLong(1);
  // Cutting more than the count gives a negative count, which the slice takes as the whole list.
  Slice(call, 0, count);
}
void Cut(InternalCall& call) {
  ScriptCheckCollectionArgument(0, false);
  const std::int64_t a = call.ArgumentLong(1);
  const std::int64_t b = call.ArgumentLong(2);
  Slice(call, a, Size() - a - b);
}

constexpr InternalCommand kCollection[] = {
    {"Collection.Add", Add},         {"Collection.Clear", Clear},
    {"Collection.Count", Count},     {"Collection.Edit", Edit},
    {"Collection.Find", Find},       {"Collection.Insert", Insert},
    {"Collection.Item", Item},       {"Collection.Make", Make},
    {"Collection.Merge", Merge},     {"Collection.Remove", Remove},
    {"Collection.RemoveIndex", RemoveIndex}, {"Collection.Sort", Sort},
    {"Collection.Join", Join},       {"Collection.Left", Left},
    {"Collection.Right", Right},     {"Collection.Middle", Middle},
    {"Collection.LeftCut", LeftCut}, {"Collection.RightCut", RightCut},
    {"Collection.Cut", Cut},
};

}  // namespace

std::span<const InternalCommand> CollectionCommands() { return kCollection; }

}  // namespace kiv
