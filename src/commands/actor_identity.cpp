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
#include "world/object_removal.h"

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

constexpr ActorProperty kIdentity[] = {
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
