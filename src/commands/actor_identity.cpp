// Identity, references and existence of actors: names, template, player,
// the actors it refers to, its variables, deletion.
#include <cmath>

#include "commands/actor_call.h"
#include "commands/actor_selection.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/actor_template.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "data/template_application.h"
#include "player/character_system_fields.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_object_names.h"
#include "script/script_party_resolvers.h"
#include "script/script_value_ops.h"
#include "script/trigger_dispatch.h"
#include "script/call_frame.h"
#include "world/map_systems.h"
#include "script/script_map_resolvers.h"
#include "world/combat_targets.h"
#include "world/object_removal.h"
#include "world/vehicles.h"

namespace kiv {

namespace {

[[noreturn]] void Refuse(const char* message) { RaiseError(kErrData, message); }

// The map-qualified name of an actor of this map, "" for -1.
std::u16string QualifiedName(const ActorCall& call, std::int32_t other) {
  if (other == -1) return u"";
  const Map& record = call.MapRecord();
  if (other < 0 || other >= static_cast<std::int32_t>(record.actors.size())) return u"";
  return u"|" + record.fileName + u":" + record.actors[static_cast<std::size_t>(other)].name;
}

std::int32_t ResolveAnyActor(const ActorCall& call, const std::u16string& text) {
  if (text.empty()) return -1;
  return VarToLong(ScriptResolveActor(text, call.map, true, false).value);
}

std::int32_t TemplateIndex(const std::u16string& text) {
  return VarToLong(ScriptLookupActorTemplate(text, true).value);
}

void Template(ActorCall& call) {
  if (!call.Assigning()) {
    const std::int32_t t = call.Record().templateIndex;
    const bool known = t >= 0 && t < static_cast<std::int32_t>(gameData.actorTemplates.size());
    call.Answer(Variant::Text(known ? gameData.actorTemplates[static_cast<std::size_t>(t)].name : u""));
    return;
  }
  const std::int32_t t = TemplateIndex(VarToText(call.value));
  Actor& actor = call.Record();
  if (t >= 0 && t < static_cast<std::int32_t>(gameData.actorTemplates.size())) {
    const ActorTemplate& chosen = gameData.actorTemplates[static_cast<std::size_t>(t)];
    // A template whose actors are made over when it changes cannot be taken on.
    if (chosen.deferFlag != 0) Refuse("You cannot change the actor to a changeable template.");
    actor.templateId = chosen.id;
  } else {
    actor.templateId = Identifier{};
  }
  actor.templateIndex = t;
  ApplyActorTemplate(actor, false, false);
}

void IsA(ActorCall& call) {
  const std::int32_t t = TemplateIndex(call.ArgumentText(0));
  call.Answer(Variant::Long(IsSameOrDescendant(call.Record().templateIndex, t) ? 1 : 0));
}

void IsPlayer(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot change the player of an actor.");
  const Actor& actor = call.Record();
  bool player = actor.driver == -1 && actor.owningPlayer >= 0;
  const auto& actors = call.MapRecord().actors;
  if (actor.driver >= 0 && actor.driver < static_cast<std::int32_t>(actors.size())) {
    player = player || actors[static_cast<std::size_t>(actor.driver)].owningPlayer >= 0;
  }
  call.Answer(Variant::Long(player ? -1 : 0));
}

void Name(ActorCall& call) {
  if (!call.Assigning()) {
    call.Answer(Variant::Text(ScriptParseScriptingId(call.Record().name, call.kind)));
    return;
  }
  const std::u16string text = VarToText(call.value);
  Actor& actor = call.Record();
  switch (call.kind) {
    case kObjectCharacter: actor.name = u"Character " + text; break;
    case kObjectVehicle: actor.name = u"Vehicle " + text; break;
    case kObjectTurret: actor.name = u"Turret " + text; break;
    case kObjectActor: actor.name = text; break;
    default: break;  // a map object keeps its name
  }
}

void FullName(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot change the full name of something.");
  const std::u16string id = ScriptParseScriptingId(call.Record().name, call.kind);
  call.Answer(Variant::Text(u"|" + call.MapRecord().fileName + u":" + id));
}

void Title(ActorCall& call) {
  if (call.Assigning()) {
    const std::u16string text = VarToText(call.value);
    call.Record().displayName = text;
  } else {
    call.Answer(Variant::Text(call.Record().displayName));
  }
}

void MapName(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot change the map this way.");
  call.Answer(Variant::Text(call.MapRecord().fileName));
}

void InMap(ActorCall& call) { call.slot.BindBoolean(call.Record().inMap); }
void InCamera(ActorCall& call) { call.slot.BindBoolean(call.Record().inCamera); }

// Assigning stores at once; the event of a change runs in phase 2.
void NonExistent(ActorCall& call) {
  call.keptNumber = 0;
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(call.Record().removed));
    return;
  }
  const std::uint8_t flag = ScriptConvertBoolean(call.value, true) != 0 ? 1 : 0;
  Actor& actor = call.Record();
  call.keptNumber = actor.removed != flag ? 1 : 0;
  actor.removed = flag;
}

void NonExistentChanged(ActorCall& call) {
  if (call.keptNumber != 0) {
    ScriptRaiseObjectEvent(kOwnerActor, call.index, kSymTriggerActorExistenceChanged, call.map);
  }
}

// References to other actors of the map by their map-qualified names.
void LastAttacked(ActorCall& call) {
  if (call.Assigning()) {
    const std::int32_t other = ResolveAnyActor(call, VarToText(call.value));
    call.Record().lastAttacked = other;
  } else {
    call.Answer(Variant::Text(QualifiedName(call, call.Record().lastAttacked)));
  }
}

void LastDamaged(ActorCall& call) {
  if (call.Assigning()) {
    const std::int32_t other = ResolveAnyActor(call, VarToText(call.value));
    call.Record().lastDamaged = other;
  } else {
    call.Answer(Variant::Text(QualifiedName(call, call.Record().lastDamaged)));
  }
}

void Team(ActorCall& call) {
  if (call.Assigning()) {
    const std::int32_t team = ScriptResolveTeam(VarToText(call.value), true, true);
    call.Record().team = team;
    return;
  }
  const std::int32_t team = call.Record().team;
  const bool known = team >= 0 && team < static_cast<std::int32_t>(projectState.teams.size());
  call.Answer(Variant::Text(known ? projectState.teams[static_cast<std::size_t>(team)].name : u""));
}

// An actor's own variables: read or assigned, never created here.
void Variable(ActorCall& call) {
  const std::u16string name = call.ArgumentText(0);
  const std::int32_t symbol = SymbolIntern(name);
  Actor& actor = call.Record();
  for (ActorVariable& variable : actor.variables) {
    if (variable.symbol != symbol) continue;
    if (call.Assigning()) {
      variable.value = call.value;
    } else {
      call.Answer(variable.value);
    }
    return;
  }
  RaiseError(kErrData, "Actor (\"" + Utf16ToAnsi(actor.name) + "\") variable \"" + Utf16ToAnsi(name) +
                           "\" does not exist.");
}

void Portrait(ActorCall& call) {
  if (call.Assigning()) Refuse("You cannot alter face graphic this way.");
  mapSystems.arrayValueBuilt = true;
  call.Answer(Variant::Array(kVarLong, {Variant::Long(10), Variant::Long(0), Variant::Long(0), Variant::Long(0),
                                        Variant::Long(0), Variant::Long(call.map), Variant::Long(call.index)}));
}

// The interface the actor carries: its own copies of the interface's fields
// and spawns, with no field selected.
void Interface(ActorCall& call) {
  if (!call.Assigning()) {
    const std::int32_t carried = call.Record().mapReference.kind;
    const bool known = carried >= 0 && carried <= gameData.maps.LastIndex();
    call.Answer(Variant::Text(known ? gameData.maps[carried].fileName : u""));
    return;
  }
  const std::u16string text = VarToText(call.value);
  // Resolving may load the interface: the record is fetched afterwards.
  const std::int32_t chosen = text.empty() ? -1 : VarToLong(ScriptResolveInterface(text, true).value);
  Actor& actor = call.Record();
  actor.mapReference.kind = chosen;
  if (chosen < 0 || chosen > gameData.maps.LastIndex()) {
    actor.mapReference.kind = -1;
    actor.carriedFields.clear();
    actor.carriedSpawns.clear();
    return;
  }
  CopyCarriedInterface(actor);
}

// Vehicles and turrets: reads in phase 1, boarding and leaving in phase 2.
void InVehicle(ActorCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(call.ReferenceText(call.Record().vehicleRidden, kObjectVehicle)));
}

void BoardVehicle(ActorCall& call) {
  if (!call.Assigning()) return;
  const std::u16string text = VarToText(call.value);
  if (text.empty()) {
    ExitVehicle(call.map, call.index, -1, false, false);
    return;
  }
  EnterVehicle(call.map, call.index, call.ResolveReference(text, kObjectCharacter), false);
}

void Child(ActorCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(call.ReferenceText(call.Record().driver, kObjectCharacter)));
}

void BoardedBy(ActorCall& call) {
  if (!call.Assigning()) return;
  const std::u16string text = VarToText(call.value);
  if (text.empty()) {
    ExitVehicle(call.map, -1, call.index, false, false);
    return;
  }
  EnterVehicle(call.map, call.ResolveReference(text, kObjectCharacter), call.index, false);
}

void InTurret(ActorCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(call.ReferenceText(call.Record().turretOperated, kObjectTurret)));
}

void OperateTurret(ActorCall& call) {
  if (!call.Assigning()) return;
  const std::u16string text = VarToText(call.value);
  if (text.empty()) {
    ExitTurret(call.map, call.index, -1);
    return;
  }
  EnterTurret(call.map, call.index, call.ResolveReference(text, kObjectTurret));
}

void ExitAll(ActorCall& call) {
  const bool atVehicle = call.HasArgument(0) && call.ArgumentBoolean(0);
  ExitVehicle(call.map, -1, call.index, atVehicle, false);
  ExitTurret(call.map, -1, call.index);
}

// The AI's target: the reference text, and SetCharacterTarget on assignment.
void AIFocusRead(ActorCall& call, std::int32_t idKind) {
  if (call.Assigning()) return;
  const std::int32_t focus = call.Record().aiFocus;
  call.Answer(Variant::Text(idKind == kObjectActor ? QualifiedName(call, focus) : call.ReferenceText(focus, idKind)));
}

void AIFocusActor(ActorCall& call) { AIFocusRead(call, kObjectActor); }
void AIFocusChar(ActorCall& call) { AIFocusRead(call, kObjectCharacter); }

void SetAIFocusActor(ActorCall& call) {
  if (call.Assigning()) SetCharacterTarget(call.map, call.index, ResolveAnyActor(call, VarToText(call.value)));
}

void SetAIFocusChar(ActorCall& call) {
  if (!call.Assigning()) return;
  const std::u16string text = VarToText(call.value);
  const std::int32_t target =
      text.empty() ? -1 : VarToLong(ScriptResolveCharacter(text, call.map, true, false).value);
  SetCharacterTarget(call.map, call.index, target);
}

// The nearest other actor in play that the filter keeps, by squared distance;
// the earlier actor wins a tie.
template <typename Keep>
std::int32_t Closest(const ActorCall& call, Keep keep) {
  const std::vector<Actor>& actors = call.MapRecord().actors;
  const Actor& self = actors[static_cast<std::size_t>(call.index)];
  float best = 3.4028230607e38f;
  std::int32_t winner = -1;
  for (std::size_t i = 0; i < actors.size(); ++i) {
    const Actor& other = actors[i];
    if (static_cast<std::int32_t>(i) == call.index || other.removed != 0 || !keep(other)) continue;
    const float dx = other.x - self.x;
    const float dy = other.y - self.y;
    const float dz = other.z - self.z;
    const float distance = dx * dx + dy * dy + dz * dz;
    if (distance < best) {
      best = distance;
      winner = static_cast<std::int32_t>(i);
    }
  }
  return winner;
}

void ClosestActor(ActorCall& call) {
  if (call.Assigning()) return;
  const std::u16string text = call.ArgumentText(0);
  const std::int32_t t = text.empty() ? -1 : TemplateIndex(text);
  call.Record();  // error 9 once the actor is gone
  const std::int32_t winner = Closest(call, [t](const Actor& other) {
    if (t == -1) return other.templateIndex != -2;
    return IsSameOrDescendant(other.templateIndex, t);
  });
  call.Answer(Variant::Text(QualifiedName(call, winner)));
}

bool IsCharacterName(const std::u16string& name) {
  std::size_t first = 0;
  while (first < name.size() && name[first] == u' ') ++first;
  const std::u16string prefix = u"character ";
  if (name.size() - first < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    char16_t c = name[first + k];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[k]) return false;
  }
  return true;
}

void ClosestChar(ActorCall& call) {
  if (call.Assigning()) return;
  call.Record();  // error 9 once the actor is gone
  const std::int32_t winner = Closest(call, [](const Actor& other) { return IsCharacterName(other.name); });
  call.Answer(Variant::Text(winner < 0 ? u"" : ScriptParseScriptingId(call.MapRecord().actors[static_cast<std::size_t>(winner)].name, kObjectCharacter)));
}

// A player's character stays; any other leaves play and is taken off the map
// on the next removal pass, also while a waiting script names it.
void DeleteCheck(ActorCall& call) {
  if (call.Record().owningPlayer >= 0) Refuse("You cannot delete a playable actor.");
}

void Delete(ActorCall& call) {
  RemoveCharacterFromPlay(call.map, call.index);
  ClearCharacterSlot(call.map, call.index);
  // The respawn time "never" is the forced remove mark; set after the slot is
  // cleared, which would reset it to an ordinary mark.
  RemoveMark(call.Record()) = kForcedRemoveMark;
}

constexpr ActorProperty kIdentity[] = {
    {"Interface", Interface, nullptr},
    {"InVehicle", InVehicle, BoardVehicle},
    {"Child", Child, BoardedBy},
    {"InTurret", InTurret, OperateTurret},
    {"Exit", nullptr, ExitAll},
    {"AIFocusActor", AIFocusActor, SetAIFocusActor},
    {"AIFocusChar", AIFocusChar, SetAIFocusChar},
    {"ClosestActor", ClosestActor, nullptr},
    {"ClosestChar", ClosestChar, nullptr},
    {"Delete", DeleteCheck, Delete},
    {"Template", Template, nullptr},
    {"IsA", IsA, nullptr},
    {"IsPlayer", IsPlayer, nullptr},
    {"Name", Name, nullptr},
    {"FullName", FullName, nullptr},
    {"Title", Title, nullptr},
    {"Map", MapName, nullptr},
    {"InMap", InMap, nullptr},
    {"InCamera", InCamera, nullptr},
    {"NonExistent", NonExistent, NonExistentChanged},
    {"LastAttacked", LastAttacked, nullptr},
    {"LastDamaged", LastDamaged, nullptr},
    {"Team", Team, nullptr},
    {"Variable", Variable, nullptr},
    {"Portrait", Portrait, nullptr},
};

}  // namespace

std::span<const ActorProperty> ActorIdentityProperties() { return kIdentity; }

}  // namespace kiv
