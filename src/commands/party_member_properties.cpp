// A party member (kind 11): its name, level and experience, whether it is in
// the party, the magic it has learnt and its statistics per level.
#include "commands/object_kind_commands.h"
#include "commands/party_access.h"
#include "core/error.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "script/call_frame.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_party_resolvers.h"
#include "script/script_value_ops.h"
#include "script/trigger_dispatch.h"
#include "world/party_operations.h"
#include "world/party_progression.h"

namespace kiv {

namespace {

[[noreturn]] void OutOfRange() { RaiseError(kErrIndex, "Subscript out of range."); }

void MemberName(InternalCall& call) {
  const Player& player = CalledPlayer(call);
  Actor* character = MemberCharacter(player, CalledMember(call));
  if (character == nullptr) OutOfRange();
  if (call.Assigning()) {
    character->displayName = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(character->displayName));
  }
}

void MemberLevel(InternalCall& call) {
  PartyMember& member = CalledMember(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(member.level));
    return;
  }
  const std::int32_t level = VarToLong(call.value);
  member.experience = 0;
  AddPartyMemberExperience(CalledPlayerIndex(call), CalledMemberIndex(call), 0, level);
}

void MemberExperience(InternalCall& call) {
  PartyMember& member = CalledMember(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(member.experience));
    return;
  }
  member.experience = VarToLong(call.value);
  AddPartyMemberExperience(CalledPlayerIndex(call), CalledMemberIndex(call), 0, 0);
}

void ExperienceNextLevel(InternalCall& call) {
  const PartyMember& member = CalledMember(call);
  if (call.Assigning()) RaiseObjectError(u"You cannot alter the experience for next level.");
  const std::int64_t next = static_cast<std::int64_t>(member.level) * member.experienceStep + member.experienceBase;
  if (next < INT32_MIN || next > INT32_MAX) RaiseError(kErrOverflow, "Overflow");
  call.Answer(Variant::Long(static_cast<std::int32_t>(next)));
}

// Leaving takes the member out of the follow chain and, while its character
// is in play, removes the character from play and tells its scripts.
void InParty(InternalCall& call) {
  const std::int32_t playerIndex = CalledPlayerIndex(call);
  const std::int32_t memberIndex = CalledMemberIndex(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Integer(MemberInPlay(CalledPlayer(call), CalledMember(call)) ? 1 : 0));
    return;
  }
  if (ScriptConvertBoolean(call.value, true) != 0) {
    RejoinPartyMember(playerIndex, memberIndex);
    return;
  }
  UnlinkPartyMember(playerIndex, memberIndex);
  // The unlink may hand control on; fetch the member again.
  const Player& player = CalledPlayer(call);
  const PartyMember& member = CalledMember(call);
  Actor* character = MemberCharacter(player, member);
  if (character == nullptr || character->removed != 0) return;
  character->removed = 1;
  ScriptRaiseObjectEvent(kOwnerActor, member.character, kSymTriggerActorExistenceChanged, player.mapIndex, -1);
}

void LearnMagic(InternalCall& call) {
  const std::int32_t item = VarToLong(ScriptLookupItem(call.ArgumentText(0), true, false).value);
  const bool forget = call.argumentUpper >= 1 && call.ArgumentBoolean(1);
  SetPartyMemberListId(CalledPlayerIndex(call), CalledMemberIndex(call), item, !forget);
}

void StatForLevel(InternalCall& call) {
  const PartyMember& member = CalledMember(call);
  const std::int32_t statistic = VarToLong(ScriptResolveStatistic(call.ArgumentText(0), true).value);
  const std::int32_t level = call.ArgumentLong(1);
  std::int64_t value = 0;
  if (statistic < 0 || !LevelStat(member, static_cast<std::size_t>(statistic), level, value)) OutOfRange();
  call.Answer(Variant::Long(static_cast<std::int32_t>(value)));
}

constexpr InternalCommand kMemberCommands[] = {
    {"Name", MemberName},
    {"Level", MemberLevel},
    {"Experience", MemberExperience},
    {"ExperienceNextLevel", ExperienceNextLevel},
    {"InParty", InParty},
    {"LearnMagic", LearnMagic},
    {"StatForLevel", StatForLevel},
};

}  // namespace

void RunPartyMemberProperty(InternalCall& call) {
  static const ObjectCommandTable table(kMemberCommands);
  table.Run(call);
}

std::span<const InternalCommand> PartyMemberCommands() { return kMemberCommands; }

}  // namespace kiv
