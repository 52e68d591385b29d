#include "data/template_application.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/error.h"
#include "data/data_hooks.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_object_settings.h"
#include "data/map_references.h"
#include "data/object_defaults.h"
#include "data/project_state.h"

namespace kiv {

namespace {

// Sprite-set bit 1 of actors of these files makes their physics take bits 0x04, 0x10 and 0x20.
constexpr std::int32_t kLastOldPhysicsVersion = 100641;
constexpr std::uint8_t kSpriteSetOldPhysics = 2;
constexpr std::int32_t kOldPhysicsBits = 0x04 | 0x10 | 0x20;

ActorTemplate& TemplateAt(std::int32_t t) {
  if (t < 0 || t >= static_cast<std::int32_t>(gameData.actorTemplates.size())) {
    RaiseError(kErrIndex, "Subscript out of range: actor template " + std::to_string(t) + ".");
  }
  return gameData.actorTemplates[static_cast<std::size_t>(t)];
}

std::int32_t AddWrapping(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int64_t AddWrapping64(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

// An item's statistic bonuses go into both values of the actor's statistics.
void AddItemBonuses(Actor& actor, std::int32_t item) {
  if (item < 0 || item >= static_cast<std::int32_t>(gameData.items.size())) return;
  const std::vector<std::int32_t>& bonuses = gameData.items[static_cast<std::size_t>(item)].statisticValues[0];
  const std::size_t count = std::min(bonuses.size(), actor.statistics.size());
  for (std::size_t s = 0; s < count; ++s) {
    actor.statistics[s].baseValue = AddWrapping(actor.statistics[s].baseValue, bonuses[s]);
    actor.statistics[s].currentValue = AddWrapping(actor.statistics[s].currentValue, bonuses[s]);
  }
}

// Equipment, items and teams: found gives the index, an empty identifier turns
// -2 into -1, another identifier gives -2; an index never takes an identifier.
template <typename Table>
void ResolveKeepingEmpty(std::int32_t& index, Identifier& id, const Table& table) {
  ResolveRecordRef(index, id, table, true);
}

// Rebuild: the actor becomes the template's derived record, keeping what
// belongs to the placed actor.
void RebuildFromTemplate(Actor& actor, const ActorTemplate& tmpl) {
  Actor kept = std::move(actor);
  actor = tmpl.derivedRecord;
  for (Trigger& trigger : actor.triggers) RegisterScript(trigger.script);
  actor.name = std::move(kept.name);
  actor.x = kept.x;
  actor.y = kept.y;
  actor.z = kept.z;
  actor.scaleX = kept.scaleX;
  actor.scaleY = kept.scaleY;
  actor.scaleZ = kept.scaleZ;
  actor.gridX = kept.gridX;
  actor.gridY = kept.gridY;
  actor.gridHeading = kept.gridHeading;
  actor.heading = kept.heading;
  actor.templateIndex = kept.templateIndex;
  actor.templateId = kept.templateId;
  actor.route = std::move(kept.route);
  actor.routePosition = kept.routePosition;
  actor.owningPlayer = kept.owningPlayer;
  if (actor.owningPlayer >= 0) actor.partyMember = kept.partyMember;
}

void ResolveAppearanceParts(Actor& actor) {
  for (std::size_t p = 0; p < actor.parts.size(); ++p) {
    AppearancePart& part = actor.parts[p];
    if (part.spriteSet != -2 && part.spriteSet < 0) continue;
    const std::int32_t found = FindSpriteSetById(part.spriteSetId);
    if (found >= 0) {
      const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(found)];
      part.spriteSet = found;
      part.slot = set.slot;
      if (p == 0 && actor.fileVersion <= kLastOldPhysicsVersion && (set.flags & kSpriteSetOldPhysics) != 0) {
        actor.physicsFlags |= kOldPhysicsBits;
      }
    } else if (!IdIsEmpty(part.spriteSetId)) {
      part.spriteSet = -2;
    } else if (part.spriteSet == -2) {
      part.spriteSet = -1;
    }
  }
}

bool AnySpriteSetHasSlot(std::int32_t slot) {
  return std::any_of(gameData.spriteSets.begin(), gameData.spriteSets.end(),
                     [slot](const SpriteSet& set) { return set.slot == slot; });
}

// Parts of a slot seen for the first time (from the last part back) that
// show nothing and that no sprite set could fill are dropped; the base slots
// always stay.
void RemoveSurplusParts(Actor& actor) {
  std::vector<std::int32_t> seen{objectDefaults.appearanceSlots[0]};
  if (mapObjectSettings.completeAppearance) {
    for (std::size_t s = 1; s <= 9; ++s) seen.push_back(objectDefaults.appearanceSlots[s]);
  }
  for (std::size_t p = actor.parts.size(); p-- > 0;) {
    const AppearancePart& part = actor.parts[p];
    if (std::find(seen.begin(), seen.end(), part.slot) != seen.end()) continue;
    seen.push_back(part.slot);
    if (part.spriteSet == -1 && !AnySpriteSetHasSlot(part.slot)) {
      actor.parts.erase(actor.parts.begin() + static_cast<std::ptrdiff_t>(p));
    }
  }
}

void ResolveMapOfActor(Actor& actor) {
  ActorMapReference& ref = actor.mapReference;
  if (ref.kind != -2 && ref.kind != -4 && ref.kind < 0) return;
  std::int32_t index = ref.kind;
  const std::int32_t r = ResolveMapReference(index, ref.name, ref.id, true, true);
  if (r >= 0 || ref.kind == -2) ref.kind = r;
}

}  // namespace

// An actor whose map reference names a loaded map takes copies of that map's
// fields, spawns and ambient colour; a reference to no map leaves the copies
// as they are.
void CopyCarriedInterface(Actor& actor) {
  const std::int32_t map = actor.mapReference.kind;
  if (map < 0 || map > gameData.maps.LastIndex()) return;
  const Map& carried = gameData.maps[map];
  actor.carriedFields = carried.fields;
  actor.carriedSpawns = carried.spawns;
  actor.carriedAmbient = carried.ambientColor;
  actor.carriedIndex = -1;
}

namespace {

void SetCollisionFromFirstPart(Actor& actor) {
  if (actor.parts.empty() || actor.parts[0].spriteSet < 0 ||
      actor.parts[0].spriteSet >= static_cast<std::int32_t>(gameData.spriteSets.size())) {
    actor.collisionShape = objectDefaults.characterCollisionShape;
    return;
  }
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(actor.parts[0].spriteSet)];
  actor.collisionShape =
      set.poses.empty() ? objectDefaults.characterCollisionShape : set.poses[0].directions[0].collision;
}

}  // namespace

std::int32_t TemplateParent(std::int32_t t) { return TemplateAt(t).derivedRecord.templateIndex; }

bool IsSameOrDescendant(std::int32_t t, std::int32_t ancestor) {
  const auto count = static_cast<std::int32_t>(gameData.actorTemplates.size());
  // A chain without a loop visits each template once and then leaves the table.
  for (std::int32_t steps = 0; steps <= count; ++steps) {
    if (t == ancestor) return true;
    if (t < 0 || t >= count) return false;
    t = gameData.actorTemplates[static_cast<std::size_t>(t)].derivedRecord.templateIndex;
  }
  return false;
}

std::int32_t TemplateApplyRoot(std::int32_t t) {
  // At most one step per template: a loop of deferring templates ends where it closes.
  const auto count = static_cast<std::int32_t>(gameData.actorTemplates.size());
  for (std::int32_t steps = 0; steps < count; ++steps) {
    const ActorTemplate& tmpl = TemplateAt(t);
    const std::int32_t parent = tmpl.derivedRecord.templateIndex;
    if (tmpl.deferFlag == 0 || parent < 0 || parent >= count) break;
    t = parent;
  }
  return t;
}

void ApplyActorTemplate(Actor& actor, bool keep, bool merge) {
  // 1. The template by identifier.
  const std::int32_t found = FindActorTemplateById(actor.templateId);
  if (found >= 0) {
    actor.templateIndex = found;
  } else if (!IdIsEmpty(actor.templateId)) {
    actor.templateIndex = -2;
  } else if (actor.templateIndex == -2) {
    actor.templateIndex = -1;
  }
  const std::int32_t t = actor.templateIndex;

  // 2. Rebuild.
  if (!keep && t >= 0 && TemplateAt(t).mergeFlag == 0 && !merge) RebuildFromTemplate(actor, TemplateAt(t));

  // 3-4. Appearance.
  ResolveAppearanceParts(actor);
  RemoveSurplusParts(actor);

  // 5-6. Items and equipment.
  for (InventoryEntry& entry : actor.items) ResolveKeepingEmpty(entry.item, entry.itemId, gameData.items);
  for (InventoryEntry& entry : actor.equipment) {
    ResolveKeepingEmpty(entry.item, entry.itemId, gameData.items);
    if (entry.item >= 0 && !keep && !merge) AddItemBonuses(actor, entry.item);
  }

  // 7. Further sprite sets, attachments and the weapon.
  for (IndexedReference& ref : actor.furtherReferences) ResolveSpriteSetRef(ref.index, ref.id);
  for (Attachment& a : actor.attachedEffects) ResolveSpriteSetRef(a.spriteSet, a.spriteSetId);
  for (Attachment& a : actor.attachedSprites) ResolveSpriteSetRef(a.spriteSet, a.spriteSetId);
  ResolveItemRef(actor.itemReference.index, actor.itemReference.id);

  // 8-9. Team and map.
  ResolveKeepingEmpty(actor.team, actor.teamId, projectState.teams);
  ResolveMapOfActor(actor);

  // 10. Merge.
  if (!keep && t >= 0 && (TemplateAt(t).mergeFlag == 1 || merge)) {
    const std::int32_t root = TemplateApplyRoot(t);
    // The record is copied: merging may add to the very template being read.
    const Actor record = TemplateAt(root).derivedRecord;
    MergeTemplateRecord(actor, record, root);
  }

  // 11. The interface the actor carries.
  CopyCarriedInterface(actor);

  // 12-13. Collision and drawing layers.
  SetCollisionFromFirstPart(actor);
  dataHooks.RebuildSpriteLayers(actor);
}

void MergeTemplateRecord(Actor& actor, const Actor& record, std::int32_t registerTemplate) {
  if (actor.mapReference.kind == -3) {
    actor.mapReference.kind = record.mapReference.kind;
    actor.mapReference.name = record.mapReference.name;
  }
  for (std::size_t e = 0; e < actor.equipment.size() && e < record.equipment.size(); ++e) {
    InventoryEntry& entry = actor.equipment[e];
    if (entry.item != -3) continue;
    entry.item = record.equipment[e].item;
    entry.itemId = record.equipment[e].itemId;
    if (entry.item >= 0) AddItemBonuses(actor, entry.item);
  }
  for (AppearancePart& part : actor.parts) {
    if (part.spriteSet != -3) continue;
    for (auto it = record.parts.rbegin(); it != record.parts.rend(); ++it) {
      if (it->slot != part.slot) continue;
      part.spriteSet = it->spriteSet;
      part.spriteSetId = it->spriteSetId;
      break;
    }
  }
  for (std::size_t r = 0; r < actor.furtherReferences.size(); ++r) {
    if (actor.furtherReferences[r].index == -3) actor.furtherReferences[r] = record.furtherReferences[r];
  }
  const std::size_t statistics = std::min(actor.statistics.size(), record.statistics.size());
  for (std::size_t s = 0; s < statistics; ++s) {
    actor.statistics[s].baseValue = AddWrapping(actor.statistics[s].baseValue, record.statistics[s].baseValue);
    actor.statistics[s].currentValue =
        AddWrapping(actor.statistics[s].currentValue, record.statistics[s].currentValue);
  }
  actor.items.insert(actor.items.end(), record.items.begin(), record.items.end());
  actor.experience = AddWrapping(actor.experience, record.experience);
  actor.points = AddWrapping(actor.points, record.points);
  actor.money = AddWrapping64(actor.money, record.money);
  const std::size_t firstTrigger = actor.triggers.size();
  actor.triggers.insert(actor.triggers.end(), record.triggers.begin(), record.triggers.end());
  if (registerTemplate >= 0) {
    for (std::size_t k = firstTrigger; k < actor.triggers.size(); ++k) RegisterScript(actor.triggers[k].script);
  }
  actor.variables.insert(actor.variables.end(), record.variables.begin(), record.variables.end());
}

void InitCharacterFromTemplate(Actor& actor, std::int32_t t, bool full) {
  const ActorTemplate& first = TemplateAt(t);
  actor = full ? first.derivedRecord : first.baseRecord;
  actor.templateIndex = t;
  std::int32_t current = t;
  const auto count = static_cast<std::int32_t>(gameData.actorTemplates.size());
  for (std::int32_t steps = 0; steps < count; ++steps) {
    const ActorTemplate& tmpl = TemplateAt(current);
    if (!full && tmpl.deferFlag == 0) break;
    const std::int32_t parent = tmpl.derivedRecord.templateIndex;
    if (parent < 0 || parent >= count) break;
    current = parent;
    const ActorTemplate& parentTemplate = TemplateAt(current);
    const Actor record = parentTemplate.baseFlag != 0 ? parentTemplate.baseRecord : parentTemplate.derivedRecord;
    MergeTemplateRecord(actor, record, -1);
  }
  actor.templateId = TemplateAt(current).id;
}

void RelinkActorTemplate(std::int32_t t) {
  ApplyActorTemplate(TemplateAt(t).derivedRecord, true, true);
  ApplyActorTemplate(TemplateAt(t).baseRecord, true, true);
}

}  // namespace kiv
