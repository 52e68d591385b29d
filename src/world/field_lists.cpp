#include "world/field_lists.h"

#include <algorithm>
#include <utility>

#include "data/field_state.h"
#include "data/game_data.h"
#include "data/script_record.h"
#include "mathkiv/lists.h"
#include "world/object_resets.h"
#include "world/reference_fixup.h"

namespace kiv {

namespace {

bool ValidField(std::int32_t map, std::int32_t field) {
  if (map < -1 || map > gameData.maps.LastIndex()) return false;
  return field >= 0 && static_cast<std::size_t>(field) < gameData.maps[map].fields.size();
}

// The tag a retired spare keeps: its own index.
std::int32_t& SpareTag(Field& f) { return f.removeMark; }

// The copy owns its scripts: each one is registered again.
void RegisterCopiedScripts(Field& copy) {
  for (Script& script : copy.scripts) RegisterScript(script);
  for (Trigger& trigger : copy.triggers) RegisterScript(trigger.script);
}

// Opens a slot for a copy: right behind `after` in the same map (the
// references above it move first), else at the end of the target map.
std::int32_t PlaceCopy(std::int32_t targetMap, bool sameMap, std::int32_t after, Field&& copy) {
  std::vector<Field>& fields = gameData.maps[targetMap].fields;
  if (!sameMap) {
    fields.push_back(std::move(copy));
    return static_cast<std::int32_t>(fields.size()) - 1;
  }
  const std::int32_t slot = after + 1;
  ShiftFieldRefs(targetMap, slot, +1, true);
  ArrayInsert(fields, slot);
  fields[static_cast<std::size_t>(slot)] = std::move(copy);
  return slot;
}

// An index at or above a newly opened slot moves up with the list.
void FollowInsertion(std::int32_t& index, std::int32_t slot) {
  if (index >= slot) ++index;
}

void DeriveSelectableState(Map& map, std::int32_t field, Field& f) {
  if (f.selectable == 0) {
    f.state = kFieldPlain;
    return;
  }
  f.state = map.SelectedField() == field ? kFieldSelected : kFieldSelectable;
}

}  // namespace

std::int32_t InsertField(std::int32_t targetMap, std::int32_t sourceMap, std::int32_t sourceField, bool withChildren,
                         const std::u16string& name, std::int32_t x, std::int32_t y) {
  std::int32_t src = sourceField;
  if (!ValidField(sourceMap, src) || targetMap < -1 || targetMap > gameData.maps.LastIndex()) return src;
  const bool sameMap = targetMap == sourceMap;

  Field copy = gameData.maps[sourceMap].fields[static_cast<std::size_t>(src)];
  const float sourceX = copy.x;
  const float sourceY = copy.y;
  const std::uint8_t sourceSelectable = copy.selectable;
  copy.scripts[kFieldListScript] = Script();  // a copy never spawns items of its own
  RegisterCopiedScripts(copy);
  copy.name = name;
  copy.x = static_cast<float>(x);
  copy.y = static_cast<float>(y);
  copy.nonExistent = 0;
  copy.spawner = src;
  const std::int32_t spawner = src;
  std::int32_t item = PlaceCopy(targetMap, sameMap, src, std::move(copy));
  if (sameMap) FollowInsertion(src, item);

  if (!withChildren) return src;
  // The last index is read again on every step: the list grows as children are copied.
  for (std::int32_t d = 0; static_cast<std::size_t>(d) < gameData.maps[sourceMap].fields.size(); ++d) {
    const Field& child = gameData.maps[sourceMap].fields[static_cast<std::size_t>(d)];
    if (child.parent != src || d == item) continue;
    Field childCopy = child;
    RegisterCopiedScripts(childCopy);
    childCopy.name = name + u" " + child.name;
    childCopy.x = static_cast<float>(x) - (sourceX - child.x);
    childCopy.y = static_cast<float>(y) - (sourceY - child.y);
    childCopy.nonExistent = 0;
    childCopy.spawner = spawner;
    childCopy.byteByContent = sourceSelectable;  // scrolls
    const std::int32_t parentNow = item;
    childCopy.parent = parentNow;
    if (sameMap) {
      // The copy's parent is at or below d, so the shift leaves it in place
      // unless it lies behind the child.
      const std::int32_t slot = d + 1;
      childCopy.parent = parentNow >= slot ? parentNow + 1 : parentNow;
      PlaceCopy(targetMap, true, d, std::move(childCopy));
      FollowInsertion(src, slot);
      FollowInsertion(item, slot);
      ++d;  // the child copy itself is no child of the source
    } else {
      PlaceCopy(targetMap, false, d, std::move(childCopy));
    }
  }
  ApplyFieldState(gameData.maps[targetMap], item);
  return src;
}

std::int32_t SpawnListItems(std::int32_t map, std::int32_t field, const std::vector<ListItemPlace>& items) {
  if (items.empty() || !ValidField(map, field)) return field;
  std::vector<Field>& fields = gameData.maps[map].fields;
  const Field& source = fields[static_cast<std::size_t>(field)];
  if (source.parent == field) {
    // A field that is its own parent would copy its own copies: one at a time.
    for (std::size_t i = items.size(); i-- > 0;)
      field = InsertField(map, map, field, true, items[i].name, items[i].x, items[i].y);
    return field;
  }
  std::vector<std::int32_t> children;
  for (std::size_t d = 0; d < fields.size(); ++d)
    if (fields[d].parent == field) children.push_back(static_cast<std::int32_t>(d));
  const auto k = static_cast<std::int32_t>(items.size());
  const std::size_t n = items.size();

  // The copies, made (and their scripts registered) in the order of the
  // one-at-a-time insertion: last item first, each before its children.
  std::vector<Field> itemCopies(n);
  std::vector<std::vector<Field>> childCopies(children.size(), std::vector<Field>(n));
  for (std::size_t i = n; i-- > 0;) {
    Field copy = source;
    copy.scripts[kFieldListScript] = Script();  // a copy never spawns items of its own
    RegisterCopiedScripts(copy);
    copy.name = items[i].name;
    copy.x = static_cast<float>(items[i].x);
    copy.y = static_cast<float>(items[i].y);
    copy.nonExistent = 0;
    itemCopies[i] = std::move(copy);
    for (std::size_t j = 0; j < children.size(); ++j) {
      const Field& child = fields[static_cast<std::size_t>(children[j])];
      Field childCopy = child;
      RegisterCopiedScripts(childCopy);
      childCopy.name = items[i].name + u" " + child.name;
      childCopy.x = static_cast<float>(items[i].x) - (source.x - child.x);
      childCopy.y = static_cast<float>(items[i].y) - (source.y - child.y);
      childCopy.nonExistent = 0;
      childCopy.byteByContent = source.selectable;  // scrolls
      childCopies[j][i] = std::move(childCopy);
    }
  }

  // The anchors, ascending: a block of k copies follows each. References
  // move from the last slot down, so that no moved reference is moved twice.
  std::vector<std::int32_t> anchors = children;
  anchors.insert(std::lower_bound(anchors.begin(), anchors.end(), field), field);
  for (std::size_t a = anchors.size(); a-- > 0;) ShiftFieldRefs(map, anchors[a] + 1, k, true);
  const auto finalIndex = [&](std::int32_t g) {
    const auto before = std::lower_bound(anchors.begin(), anchors.end(), g) - anchors.begin();
    return g + k * static_cast<std::int32_t>(before);
  };

  const auto blockOf = [&](std::int32_t g) -> std::vector<Field>& {
    if (g == field) return itemCopies;
    const auto j = std::lower_bound(children.begin(), children.end(), g) - children.begin();
    return childCopies[static_cast<std::size_t>(j)];
  };
  const std::size_t oldSize = fields.size();
  const std::size_t newSize = oldSize + static_cast<std::size_t>(k) * anchors.size();
  if (newSize > fields.capacity()) {
    // The list grows: every field and block moves once, in order, into new
    // storage with room for more.
    std::vector<Field> grown;
    grown.reserve(std::max(newSize, 2 * fields.capacity()));
    std::size_t nextAnchor = 0;
    for (std::size_t g = 0; g < oldSize; ++g) {
      grown.push_back(std::move(fields[g]));
      if (nextAnchor < anchors.size() && anchors[nextAnchor] == static_cast<std::int32_t>(g)) {
        ++nextAnchor;
        for (Field& copy : blockOf(static_cast<std::int32_t>(g))) grown.push_back(std::move(copy));
      }
    }
    fields = std::move(grown);
  } else {
    // One pass from the end places every field and block where it belongs.
    fields.resize(newSize);
    std::size_t nextAnchor = anchors.size();
    for (std::size_t g = oldSize; g-- > 0;) {
      const auto at = static_cast<std::size_t>(finalIndex(static_cast<std::int32_t>(g)));
      if (nextAnchor > 0 && anchors[nextAnchor - 1] == static_cast<std::int32_t>(g)) {
        --nextAnchor;
        std::vector<Field>& block = blockOf(static_cast<std::int32_t>(g));
        for (std::size_t i = 0; i < n; ++i) fields[at + 1 + i] = std::move(block[i]);
      }
      if (at != g) fields[at] = std::move(fields[g]);
    }
  }

  const std::int32_t newField = finalIndex(field);
  const std::int32_t parent = fields[static_cast<std::size_t>(newField)].parent;
  std::vector<std::int32_t> family(children.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t item = newField + 1 + static_cast<std::int32_t>(i);
    Field& copy = fields[static_cast<std::size_t>(item)];
    copy.parent = parent;
    copy.spawner = newField;
    for (std::size_t j = 0; j < children.size(); ++j) {
      family[j] = finalIndex(children[j]) + 1 + static_cast<std::int32_t>(i);
      Field& childCopy = fields[static_cast<std::size_t>(family[j])];
      childCopy.parent = item;
      childCopy.spawner = newField;
    }
    ApplyFieldStateToFamily(gameData.maps[map], item, family);
  }
  return newField;
}

void UnspawnChildFields(std::int32_t map, std::int32_t field) {
  if (map < -1 || map > gameData.maps.LastIndex() || field < 0) return;
  for (std::size_t i = 0; i < gameData.maps[map].fields.size(); ++i) {
    if (gameData.maps[map].fields[i].spawner != field) continue;
    const auto index = static_cast<std::int32_t>(i);
    DetachField(map, index);
    SpareTag(gameData.maps[map].fields[i]) = index;
    ResetFieldState(map, index);
  }
}

void SetFieldSelectable(std::int32_t map, std::int32_t field, std::uint8_t value) {
  if (!ValidField(map, field)) return;
  Map& m = gameData.maps[map];
  Field& f = m.fields[static_cast<std::size_t>(field)];
  f.selectable = value;
  if (f.disabled == 0) DeriveSelectableState(m, field, f);
  ApplyFieldState(m, field);
}

void SetFieldDisabled(std::int32_t map, std::int32_t field, std::uint8_t value) {
  if (!ValidField(map, field)) return;
  Map& m = gameData.maps[map];
  Field& f = m.fields[static_cast<std::size_t>(field)];
  f.disabled = value;
  if (value != 0) f.state = kFieldDisabled;
  else DeriveSelectableState(m, field, f);
  ApplyFieldState(m, field);
}

}  // namespace kiv
