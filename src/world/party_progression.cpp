#include "world/party_progression.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "core/variant.h"
#include "data/game_data.h"
#include "mathkiv/lists.h"
#include "script/call_frame.h"
#include "script/script_hooks.h"
#include "state/game_state.h"
#include "world/inventory.h"
#include "world/long_arithmetic.h"

namespace kiv {

namespace {

PartyMember& MemberAt(Player& player, std::int32_t member) {
  if (member < 0 || static_cast<std::size_t>(member) >= player.party.size())
    RaiseError(kErrIndex, "Subscript out of range: party member " + std::to_string(member) + ".");
  return player.party[static_cast<std::size_t>(member)];
}

Actor& CharacterOf(const Player& player, const PartyMember& member) {
  if (player.mapIndex < -1 || player.mapIndex > gameData.maps.LastIndex())
    RaiseError(kErrIndex, "Subscript out of range: map " + std::to_string(player.mapIndex) + ".");
  std::vector<Actor>& actors = gameData.maps[player.mapIndex].actors;
  if (member.character < 0 || static_cast<std::size_t>(member.character) >= actors.size())
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(member.character) + ".");
  return actors[static_cast<std::size_t>(member.character)];
}

// After a step from one level to the next: the maximums move by the change of
// the level bases (left alone where the table has no value for either level),
// then every statistic is restored to its maximum.
void ApplyLevelStep(const PartyMember& member, Actor& actor, std::int32_t previous, std::int32_t level) {
  for (std::size_t s = 0; s < actor.statistics.size(); ++s) {
    std::int64_t from = 0;
    std::int64_t to = 0;
    if (!LevelStat(member, s, previous, from) || !LevelStat(member, s, level, to)) continue;
    actor.statistics[s].baseValue = CheckedLong(actor.statistics[s].baseValue + to - from);
  }
  for (StatisticValue& value : actor.statistics) value.currentValue = value.baseValue;
}

std::int32_t Threshold(const PartyMember& member, std::int32_t level) {
  return CheckedLong(static_cast<std::int64_t>(level) * member.experienceStep + member.experienceBase);
}

std::u16string ItemName(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return u"";
  return gameData.items[static_cast<std::size_t>(item)].name;
}

// The magic a level grants that the member did not know yet, now learnt.
void LearnLevelMagic(std::int32_t player, std::int32_t member, std::int32_t level,
                     std::vector<Variant>& learnt) {
  const PartyMember& record = MemberAt(PlayerAt(player), member);
  const std::int64_t column = static_cast<std::int64_t>(level) - record.minLevel;
  if (column < 0 || column >= static_cast<std::int64_t>(record.levelMagic.size())) return;
  const std::vector<InventoryEntry> granted = record.levelMagic[static_cast<std::size_t>(column)];
  for (const InventoryEntry& entry : granted) {
    if (SetPartyMemberListId(player, member, entry.item, true))
      learnt.push_back(Variant::Text(ItemName(entry.item)));
  }
}

// The registered copy of the level trigger's script, nullptr when the game has none.
Script* LevelTriggerScript() {
  const Script& slot = systemScripts[static_cast<std::size_t>(kLevelChangedSystemTrigger)];
  if (!slot.hasStatements || slot.index < 0 ||
      static_cast<std::size_t>(slot.index) >= scriptTable.scripts.size())
    return nullptr;
  return &scriptTable.scripts[static_cast<std::size_t>(slot.index)];
}

void RunLevelTrigger(const Player& player, const PartyMember& member, std::int32_t oldLevel,
                     std::vector<Variant> learnt) {
  Script* script = LevelTriggerScript();
  if (script == nullptr) return;
  const Variant values[] = {Variant::Text(CharacterOf(player, member).name), Variant::Long(oldLevel),
                            Variant::Array(kVarString, std::move(learnt))};
  std::vector<ScriptVariable>& parameters = script->frameTemplate.parameters;
  for (std::size_t k = 0; k < std::size(values) && k < parameters.size(); ++k)
    parameters[k].value = values[k];
  TriggerRun run;
  run.ownerKind = kOwnerSystem;
  run.ownerIndex = kLevelChangedSystemTrigger;
  run.map = player.mapIndex;
  run.relateActor = member.character;
  scriptHooks.RunTrigger(run);
}

void StopCharacter(Actor& actor) {
  actor.aiMoveCommand = 0;
  actor.autoMoveStyle = 0;
  actor.aiFlags = 0;
}

}  // namespace

bool LevelStat(const PartyMember& member, std::size_t statistic, std::int32_t level, std::int64_t& value) {
  if (statistic >= member.levelStats.size() || level < member.minLevel || level > member.maxLevel)
    return false;
  const std::vector<std::int32_t>& row = member.levelStats[statistic];
  const std::int64_t column = static_cast<std::int64_t>(level) - member.minLevel;
  if (row.empty()) {
    value = 0;
    return true;
  }
  if (column >= static_cast<std::int64_t>(row.size())) return false;
  value = row[static_cast<std::size_t>(column)];
  return true;
}

void AddPartyMemberExperience(std::int32_t player, std::int32_t member, std::int32_t points,
                              std::int32_t target) {
  Player& owner = PlayerAt(player);
  PartyMember& m = MemberAt(owner, member);
  Actor& actor = CharacterOf(owner, m);
  const std::int32_t oldLevel = m.level;
  m.experience = AddLong(m.experience, points);
  std::vector<Variant> learnt;
  for (;;) {
    const std::int32_t previous = m.level;
    if (m.experience < 0 || (target > 0 && target < m.level)) {
      if (m.level <= m.minLevel) break;
      m.level -= 1;
      if (target == 0) m.experience = AddLong(m.experience, Threshold(m, m.level));
    } else {
      const std::int32_t threshold = Threshold(m, m.level);
      if ((m.experience < threshold && (target <= 0 || m.level >= target)) || m.level >= m.maxLevel) break;
      if (target == 0) m.experience = CheckedLong(static_cast<std::int64_t>(m.experience) - threshold);
      m.level += 1;
    }
    ApplyLevelStep(m, actor, previous, m.level);
    if (m.level > previous) LearnLevelMagic(player, member, m.level, learnt);
  }
  if (m.level != oldLevel) RunLevelTrigger(owner, m, oldLevel, std::move(learnt));
}

bool SetPartyMemberListId(std::int32_t player, std::int32_t member, std::int32_t item, bool add) {
  std::vector<InventoryEntry>& magic = MemberAt(PlayerAt(player), member).magic;
  std::int32_t found = -1;
  for (std::size_t k = 0; k < magic.size(); ++k) {
    if (magic[k].item == item) {
      found = static_cast<std::int32_t>(k);
      break;
    }
  }
  if (add && found < 0) {
    InventoryEntry entry;
    entry.item = item;
    if (item >= 0 && static_cast<std::size_t>(item) < gameData.items.size())
      entry.itemId = gameData.items[static_cast<std::size_t>(item)].id;
    magic.push_back(entry);
    return true;
  }
  if (!add && found >= 0) {
    ArrayRemove(magic, found);
    return true;
  }
  return false;
}

void UnlinkPartyMember(std::int32_t player, std::int32_t member) {
  Player& owner = PlayerAt(player);
  const PartyMember& leaving = MemberAt(owner, member);
  Actor& left = CharacterOf(owner, leaving);
  for (std::size_t i = 0; i < owner.party.size(); ++i) {
    Actor& follower = CharacterOf(owner, owner.party[i]);
    if (follower.targetActor != leaving.character) continue;
    if (owner.controlledMember == member) {
      StopCharacter(left);
      follower.autoMoveStyle = kFollowLeaderCommand;
      follower.aiFlags = kComputerMoved;
      if (follower.removed == 0) owner.controlledMember = static_cast<std::int32_t>(i);
    }
    follower.targetActor = left.targetActor;
  }
  if (owner.controlledMember == member) {
    owner.controlledMember = -1;
  } else if (owner.controlledMember >= 0 &&
             static_cast<std::size_t>(owner.controlledMember) < owner.party.size()) {
    StopCharacter(CharacterOf(owner, owner.party[static_cast<std::size_t>(owner.controlledMember)]));
  }
  left.targetActor = -1;
}

}  // namespace kiv
