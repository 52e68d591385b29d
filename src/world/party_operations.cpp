#include "world/party_operations.h"

#include <array>
#include <string>
#include <vector>

#include "core/error.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "dialogs/player_settings.h"
#include "media/speech.h"
#include "player/shell_state.h"
#include "player/start_window.h"
#include "script/call_frame.h"
#include "script/trigger_dispatch.h"
#include "state/game_state.h"
#include "world/equipment.h"
#include "world/inventory.h"
#include "world/long_arithmetic.h"
#include "world/party_progression.h"
#include "world/placement.h"
#include "world/vehicles.h"

namespace kiv {

namespace {

std::vector<Actor>& ActorsOf(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex())
    RaiseError(kErrIndex, "Subscript out of range: map " + std::to_string(map) + ".");
  return gameData.maps[map].actors;
}

Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  std::vector<Actor>& actors = ActorsOf(map);
  if (actor < 0 || static_cast<std::size_t>(actor) >= actors.size())
    RaiseError(kErrIndex, "Subscript out of range: character " + std::to_string(actor) + ".");
  return actors[static_cast<std::size_t>(actor)];
}

const Item* ItemRecord(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return nullptr;
  return &gameData.items[static_cast<std::size_t>(item)];
}

// The count of the first entry holding the item, 0 when none does.
std::int32_t FirstCount(const std::vector<InventoryEntry>& list, std::int32_t item) {
  for (const InventoryEntry& entry : list) {
    if (entry.item == item) return entry.quantity;
  }
  return 0;
}

// Adds one per equipment area holding the item.
std::int32_t AddEquipped(std::int32_t count, const Actor& actor, std::int32_t item) {
  for (const InventoryEntry& entry : actor.equipment) {
    if (entry.item == item) count = AddLong(count, 1);
  }
  return count;
}

PartyMember& MemberAt(Player& player, std::int32_t member) {
  if (member < 0 || static_cast<std::size_t>(member) >= player.party.size())
    RaiseError(kErrIndex, "Subscript out of range: party member " + std::to_string(member) + ".");
  return player.party[static_cast<std::size_t>(member)];
}

bool HasPrimary(const Player& owner) {
  return owner.controlledMember >= 0 && static_cast<std::size_t>(owner.controlledMember) < owner.party.size();
}

// True when an entry holds the key with a count of 0 or more.
bool HoldsKey(const std::vector<InventoryEntry>& list, std::int32_t key) {
  for (const InventoryEntry& entry : list) {
    if (entry.item == key && entry.quantity >= 0) return true;
  }
  return false;
}

bool SystemScriptHasCode(std::int32_t slot) {
  const Script& script = systemScripts[static_cast<std::size_t>(slot)];
  return script.hasStatements && script.index >= 0 &&
         static_cast<std::size_t>(script.index) < scriptTable.scripts.size();
}

void RunKeyMissingTrigger(std::int32_t map, std::int32_t character, const std::u16string& vehicleName) {
  if (!SystemScriptHasCode(kVehicleKeyMissingSystemTrigger)) return;
  Script& script =
      scriptTable.scripts[static_cast<std::size_t>(systemScripts[kVehicleKeyMissingSystemTrigger].index)];
  const std::u16string values[] = {u"", u"|" + gameData.maps[map].fileName + u":" + vehicleName};
  std::vector<ScriptVariable>& parameters = script.frameTemplate.parameters;
  for (std::size_t k = 0; k < std::size(values) && k < parameters.size(); ++k)
    parameters[k].value = Variant::Text(values[k]);
  TriggerRun run;
  run.ownerKind = kOwnerSystem;
  run.ownerIndex = kVehicleKeyMissingSystemTrigger;
  run.subIndex = 0;
  run.callerValue = -1;
  run.map = map;
  run.relateActor = character;
  run.player = 0;
  ScriptRunTrigger(run);
}

}  // namespace

std::int32_t CountCharacterItem(std::int32_t map, std::int32_t actor, std::int32_t item) {
  const Actor& character = ActorAt(map, actor);
  if (character.owningPlayer < 0) return FirstCount(character.items, item);
  const std::int32_t stock = FirstCount(PlayerAt(character.owningPlayer).items, item);
  return AddEquipped(stock, character, item);
}

std::int32_t CountAmmo(std::int32_t map, std::int32_t actor, std::int32_t item) {
  const Actor& character = ActorAt(map, actor);
  if (character.owningPlayer < 0) return -1;
  const Item* record = ItemRecord(item);
  if (record == nullptr) return -1;
  const std::int32_t ammoItem = ItemAmmoItem(*record);
  if (ammoItem < 0 && ItemAmmoUse(*record) <= 0) return -1;
  Player& owner = PlayerAt(character.owningPlayer);
  if (ammoItem >= 0) return FirstCount(owner.items, ammoItem);
  std::int32_t count = FirstCount(owner.items, item);
  if (!HasPrimary(owner)) return count;
  // The primary member's equipment counts, whichever character was asked about.
  const PartyMember& primary = owner.party[static_cast<std::size_t>(owner.controlledMember)];
  return AddEquipped(count, ActorAt(owner.mapIndex, primary.character), item);
}

void PropagateBodyColors(Actor& actor) {
  if (actor.parts.empty()) return;
  const std::array<std::uint32_t, kActorColorCount> body = actor.parts[0].colors;
  for (std::size_t part = 1; part < actor.parts.size(); ++part) {
    const std::int32_t set = actor.parts[part].spriteSet;
    if (set < 0 || static_cast<std::size_t>(set) >= gameData.spriteSets.size()) continue;
    if ((gameData.spriteSets[static_cast<std::size_t>(set)].flags & kSpriteSetFollowsBodyColors) == 0) continue;
    actor.parts[part].colors = body;
    for (CharacterLayer& layer : actor.characterLayers) {
      if (layer.area != -1 || layer.source != static_cast<std::int32_t>(part)) continue;
      if (layer.colourIndex < 0 || static_cast<std::size_t>(layer.colourIndex) >= body.size()) continue;
      layer.colour = body[static_cast<std::size_t>(layer.colourIndex)];
    }
  }
}

void EquipNextInArea(std::int32_t map, std::int32_t actor, std::int32_t area, bool forward) {
  const Actor& character = ActorAt(map, actor);
  if (character.owningPlayer < 0)
    RaiseError(kErrData, "Changing equipment sequentially does not work with non-playable character.");
  if (area < 0 || static_cast<std::size_t>(area) >= character.equipment.size())
    RaiseError(kErrIndex, "Subscript out of range: equipment area " + std::to_string(area) + ".");
  const std::int32_t equipped = character.equipment[static_cast<std::size_t>(area)].item;
  std::vector<InventoryEntry>& inventory = PlayerAt(character.owningPlayer).items;
  std::int32_t chosen = -1;
  for (std::size_t pass = 0; pass < inventory.size(); ++pass) {
    const InventoryEntry& entry = forward ? inventory.front() : inventory.back();
    const Item* record = ItemRecord(entry.item);
    if (record != nullptr && ItemHoldingArea(*record) == area && entry.item != equipped) {
      chosen = entry.item;
      break;
    }
    if (forward) {
      InventoryEntry moved = std::move(inventory.front());
      inventory.erase(inventory.begin());
      inventory.push_back(std::move(moved));
    } else {
      InventoryEntry moved = std::move(inventory.back());
      inventory.pop_back();
      inventory.insert(inventory.begin(), std::move(moved));
    }
  }
  if (chosen < 0) return;
  if (playerSettings.voiceEnabled)
    startWindowDevices.SpeechSpeak(gameData.items[static_cast<std::size_t>(chosen)].displayName,
                                   kSpeakAsync | kSpeakPurge);
  EquipItem(map, actor, area, chosen, !forward);
}

void SetPrimaryMember(std::int32_t player, std::int32_t member) {
  Player& owner = PlayerAt(player);
  const std::int32_t map = owner.mapIndex;
  const std::int32_t newCharacter = MemberAt(owner, member).character;
  ActorAt(map, newCharacter);
  if (HasPrimary(owner)) {
    const std::int32_t oldCharacter = owner.party[static_cast<std::size_t>(owner.controlledMember)].character;
    ActorAt(map, oldCharacter);
    if (!SnapCharacterToGrid(map, oldCharacter, -1)) return;
    Actor& old = ActorAt(map, oldCharacter);
    old.autoMoveStyle = kFollowLeaderCommand;
    old.aiFlags = kComputerMoved;
    const std::int32_t leader = ActorAt(map, newCharacter).targetActor;
    if (leader >= 0) {
      // The new member's followers now follow whom it followed.
      for (const PartyMember& m : owner.party) {
        Actor& follower = ActorAt(map, m.character);
        if (follower.targetActor == newCharacter) follower.targetActor = leader;
      }
    }
    ActorAt(map, oldCharacter).targetActor = newCharacter;
  }
  Actor& now = ActorAt(map, newCharacter);
  now.aiState = 0;
  now.aiValue = 0;
  now.autoMoveStyle = 0;
  now.aiFlags = 0;
  now.targetActor = -1;
  owner.controlledMember = member;
}

void RejoinPartyMember(std::int32_t player, std::int32_t member) {
  Player& owner = PlayerAt(player);
  const std::int32_t map = owner.mapIndex;
  const std::int32_t character = MemberAt(owner, member).character;
  if (ActorAt(map, character).removed == 0) return;
  std::int32_t leader = -1;
  if (!HasPrimary(owner)) {
    owner.controlledMember = member;
  } else {
    // Walk to the end of the follow chain from the controlled member. Each
    // member joins the chain once, so follow links that form a loop end it.
    std::vector<bool> visited(owner.party.size(), false);
    std::size_t end = static_cast<std::size_t>(owner.controlledMember);
    visited[end] = true;
    for (;;) {
      const std::int32_t endCharacter = owner.party[end].character;
      std::size_t next = owner.party.size();
      for (std::size_t i = 0; i < owner.party.size(); ++i) {
        if (visited[i] || i == static_cast<std::size_t>(member)) continue;
        const Actor& candidate = ActorAt(map, owner.party[i].character);
        if (candidate.removed == 0 && candidate.targetActor == endCharacter) {
          next = i;
          break;
        }
      }
      if (next == owner.party.size()) break;
      visited[next] = true;
      end = next;
    }
    // A member never follows itself (it was the controlled member).
    if (end != static_cast<std::size_t>(member)) leader = owner.party[end].character;
  }
  Actor& joining = ActorAt(map, character);
  joining.targetActor = leader;
  joining.removed = 0;
  if (leader >= 0) {
    const Actor& followed = ActorAt(map, leader);
    Actor& self = ActorAt(map, character);
    self.x = followed.x;
    self.y = followed.y;
    self.z = followed.z;
    self.heading = followed.heading;
    SnapCharacterToGrid(map, character, leader);
  }
  ScriptRaiseObjectEvent(kOwnerActor, character, kSymTriggerActorExistenceChanged, map);
}

void ScriptVehicleMain() {
  const CallFrame& frame = TopFrame();
  if (frame.relateActor < 0 || frame.thisActor < 0) RaiseError(kErrData, "Incorrect usage of VEHICLEMAIN.");
  const std::int32_t map = frame.ownerMap;
  const std::int32_t character = frame.relateActor;
  const std::int32_t vehicle = frame.thisActor;
  ActorAt(map, character);
  const std::int32_t key = ActorAt(map, vehicle).itemReference.index;
  if (key >= 0) {
    bool held = false;
    if (shell.currentPlayer >= 0 && static_cast<std::size_t>(shell.currentPlayer) < projectState.players.size())
      held = HoldsKey(projectState.players[static_cast<std::size_t>(shell.currentPlayer)].items, key);
    if (!held) held = HoldsKey(ActorAt(map, character).equipment, key);
    if (!held) {
      RunKeyMissingTrigger(map, character, ActorAt(map, vehicle).name);
      return;
    }
  }
  EnterVehicle(map, character, vehicle, false);
}

}  // namespace kiv
