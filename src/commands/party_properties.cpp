// A party and its main player (kind 34): members, control of the party,
// money, points and steps, experience for all, and the player's controls.
#include <string>
#include <vector>

#include "commands/map_object_access.h"
#include "commands/object_kind_commands.h"
#include "commands/party_access.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "script/project_options.h"
#include "script/script_convert.h"
#include "script/script_party_resolvers.h"
#include "script/script_value_ops.h"
#include "world/party_operations.h"
#include "world/party_progression.h"

namespace kiv {

namespace {

void PartyMemberReference(InternalCall& call) {
  const ScriptValue member = ScriptResolvePartyMember(call.ArgumentText(0), CalledPlayerIndex(call), true);
  call.SetResult(member.kind, member.value, member.mapIndex);
}

// The members whose characters are in play, in party order: "P<index>" with
// party shortcut names, else the characters' scripting IDs.
void PartyList(InternalCall& call) {
  const Player& player = CalledPlayer(call);
  const bool shortcuts = ScriptPartyShortcutNames();
  std::vector<Variant> members;
  for (std::size_t m = 0; m < player.party.size(); ++m) {
    if (!MemberInPlay(player, player.party[m])) continue;
    members.push_back(Variant::Text(shortcuts ? u"P" + AnsiToUtf16(std::to_string(m))
                                              : MemberCharacter(player, player.party[m])->name));
  }
  call.Answer(Variant::Array(kVarVariant, std::move(members)));
}

void PrimaryMember(InternalCall& call) {
  const std::int32_t playerIndex = CalledPlayerIndex(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(CalledPlayer(call).controlledMember));
    return;
  }
  const ScriptValue resolved = ScriptResolvePartyMember(VarToText(call.value), playerIndex, true);
  const std::int32_t member = VarToLong(resolved.value);
  const Player& player = CalledPlayer(call);
  const std::u16string number = AnsiToUtf16(std::to_string(member));
  if (member < 0 || static_cast<std::size_t>(member) >= player.party.size()) {
    RaiseObjectError(u"Party member \"" + number + u"\" does not exist.");
  }
  const PartyMember& chosen = player.party[static_cast<std::size_t>(member)];
  if (!MemberInPlay(player, chosen)) {
    const Actor* character = MemberCharacter(player, chosen);
    RaiseObjectError(u"Party member \"" + number + u"\" (" + (character != nullptr ? character->displayName : u"") +
                     u") is currently not in the party, and therefore can't be controlled.");
  }
  SetPrimaryMember(playerIndex, member);
}

// A member can take control while its character is in play and its first
// statistic is above 0.
bool CanControl(const Player& player, const PartyMember& member) {
  if (!MemberInPlay(player, member)) return false;
  const Actor& character = *MemberCharacter(player, member);
  return !character.statistics.empty() && character.statistics[0].currentValue > 0;
}

// The next (or previous) member that can take control, visiting each member
// at most once, also from a party that nobody controls (-1).
void SwitchPrimaryMember(InternalCall& call) {
  const std::int32_t playerIndex = CalledPlayerIndex(call);
  const bool forward = call.ArgumentBoolean(0);
  const Player& player = CalledPlayer(call);
  const auto count = static_cast<std::int32_t>(player.party.size());
  if (count < 2) return;
  const std::int32_t start = player.controlledMember;
  std::int32_t candidate = start;
  for (std::int32_t visited = 0; visited < count; ++visited) {
    candidate = forward ? (candidate + 1) % count : (candidate + count - 1) % count;
    if (candidate < 0) candidate += count;
    if (candidate == start) return;
    if (CanControl(player, player.party[static_cast<std::size_t>(candidate)])) {
      SetPrimaryMember(playerIndex, candidate);
      return;
    }
  }
}

void Money(InternalCall& call) {
  Player& player = CalledPlayer(call);
  if (!call.Assigning()) {
    call.Answer(Variant::CurrencyScaled(player.money));
    return;
  }
  PropertySlot slot;
  slot.BindCurrency(player.money);
  AssignNow(call, slot);
  if (player.money < 0) player.money = 0;
}

void MoneyFormatted(InternalCall& call) {
  if (call.Assigning()) RaiseObjectError(u"You cannot change the amount of money through this formatted command.");
  call.Answer(Variant::Text(FormatMoneyText(static_cast<double>(CalledPlayer(call).money) / 10000.0)));
}

// Every member in play gains the points, in party order; level scripts may
// change the party, so each step fetches it again.
void PartyExperience(InternalCall& call) {
  const std::int32_t playerIndex = CalledPlayerIndex(call);
  const std::int32_t points = call.ArgumentLong(0);
  for (std::size_t m = 0;; ++m) {
    if (static_cast<std::size_t>(playerIndex) >= projectState.players.size()) return;
    const Player& player = projectState.players[static_cast<std::size_t>(playerIndex)];
    if (m >= player.party.size()) return;
    if (!MemberInPlay(player, player.party[m])) continue;
    AddPartyMemberExperience(playerIndex, static_cast<std::int32_t>(m), points, 0);
  }
}

}  // namespace

// The player's controls (party_controls.cpp).
std::span<const InternalCommand> PartyControlCommands();

constexpr InternalCommand kPartyCommands[] = {
    {"Member", PartyMemberReference},
    {"Party", PartyList},
    {"PrimaryMember", PrimaryMember},
    {"SwitchPrimaryMember", SwitchPrimaryMember},
    {"Money", Money},
    {"MoneyFormatted", MoneyFormatted},
    {"Points", [](InternalCall& c) { c.slot.BindLong(PlayerPoints(CalledPlayer(c))); }},
    {"Steps", [](InternalCall& c) { c.slot.BindLong(PlayerSteps(CalledPlayer(c))); }},
    {"Experience", PartyExperience},
};

std::span<const InternalCommand> PartyCommands() { return kPartyCommands; }

void RunPartyProperty(InternalCall& call) {
  static const ObjectCommandTable table(kPartyCommands);
  static const ObjectCommandTable controlTable(PartyControlCommands());
  if (!table.Run(call)) controlTable.Run(call);
}

}  // namespace kiv
