// Identifiers that turn a name into an object reference: the resolver or
// look-up of the object's kind gives the whole reference, and raises its own
// message for a name that names nothing.
#include <string>

#include "commands/internal_selection.h"
#include "script/script_actor_resolvers.h"
#include "script/script_lookups.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_resolvers.h"
#include "script/script_party_resolvers.h"

namespace kiv {

namespace {

// The reference is the result whole. The resolver may load a map, so nothing
// of the world is held across it.
void Give(InternalCall& call, const ScriptValue& reference) {
  call.result = reference;
}

void Actor(InternalCall& call) { Give(call, ScriptResolveActor(call.ArgumentText(0), -1, true, false)); }
void Char(InternalCall& call) { Give(call, ScriptResolveCharacter(call.ArgumentText(0), -1, true, false)); }
void Equipment(InternalCall& call) { Give(call, ScriptLookupEquipmentArea(call.ArgumentText(0), true)); }
void Interface(InternalCall& call) { Give(call, ScriptResolveInterface(call.ArgumentText(0), true)); }
void MapReference(InternalCall& call) { Give(call, ScriptResolveMap(call.ArgumentText(0), true, true, true)); }
void Item(InternalCall& call) { Give(call, ScriptLookupItem(call.ArgumentText(0), true, false)); }
void Stat(InternalCall& call) { Give(call, ScriptResolveStatistic(call.ArgumentText(0), true)); }
void Door(InternalCall& call) { Give(call, ScriptResolveDoor(call.ArgumentText(0), true)); }
void Sprite(InternalCall& call) { Give(call, ScriptLookupSprite(call.ArgumentText(0), -1, true, false)); }
void Effect(InternalCall& call) { Give(call, ScriptLookupEffect(call.ArgumentText(0), true, false)); }
void FieldReference(InternalCall& call) { Give(call, ScriptResolveField(call.ArgumentText(0), -1, true)); }
void ViewField(InternalCall& call) {
  ScriptValue reference = ScriptResolveField(call.ArgumentText(0), -1, true);
  reference.kind = kObjectCameraView;
  Give(call, reference);
}
void Font(InternalCall& call) { Give(call, ScriptLookupFont(call.ArgumentText(0), true)); }
void Input(InternalCall& call) { Give(call, ScriptLookupInputSet(call.ArgumentText(0), true)); }
void Light(InternalCall& call) { Give(call, ScriptResolveLight(call.ArgumentText(0), true)); }
// Players count from 1 in scripts; the executor of kind 34 checks the index when it is used.
void Player(InternalCall& call) {
  const std::int64_t player = static_cast<std::int64_t>(call.ArgumentLong(0)) - 1;
  call.SetResult(kObjectPlayer, Variant::Long(static_cast<std::int32_t>(player < INT32_MIN ? INT32_MIN : player)));
}
void Object(InternalCall& call) { Give(call, ScriptResolveDynamicObject(call.ArgumentText(0), true)); }
void Spawn(InternalCall& call) { Give(call, ScriptResolveTurretSpawn(call.ArgumentText(0), true)); }
void Speaker(InternalCall& call) { Give(call, ScriptResolveSpeaker(call.ArgumentText(0), true)); }
void Vehicle(InternalCall& call) { Give(call, ScriptResolveVehicle(call.ArgumentText(0), -1, true)); }
void Turret(InternalCall& call) { Give(call, ScriptResolveTurret(call.ArgumentText(0), -1, true)); }
void Zone(InternalCall& call) { Give(call, ScriptResolveZone(call.ArgumentText(0), true)); }

constexpr InternalCommand kConstructors[] = {
    {"Actor", Actor},       {"Char", Char},       {"Equipment", Equipment}, {"Interface", Interface},
    {"Map", MapReference},  {"Magic", Item},      {"Item", Item},           {"Stat", Stat},
    {"Door", Door},         {"Sprite", Sprite},   {"Effect", Effect},       {"Field", FieldReference},
    {"ViewField", ViewField}, {"Font", Font},     {"Input", Input},         {"Light", Light},
    {"Player", Player},     {"Object", Object},   {"Spawn", Spawn},         {"Speaker", Speaker},
    {"Vehicle", Vehicle},   {"Turret", Turret},   {"Zone", Zone},           {"Command", Zone},
};

}  // namespace

std::span<const InternalCommand> ConstructorCommands() { return kConstructors; }

}  // namespace kiv
