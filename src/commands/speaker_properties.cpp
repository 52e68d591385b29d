// Speakers of a map: on, sound and radius, each change passed to the sound.
#include "commands/map_object_access.h"
#include "commands/map_object_copies.h"
#include "commands/object_kind_commands.h"
#include "media/sound_sets.h"
#include "player/map_speaker_sound.h"
#include "script/script_lookups.h"
#include "script/script_map_resolvers.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

Speaker& CalledSpeaker(const InternalCall& call) { return CalledMapObject(call, &Map::speakers); }

void SpeakerOn(InternalCall& call) {
  Speaker& speaker = CalledSpeaker(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Byte(speaker.enabled));
    return;
  }
  std::uint8_t on = speaker.enabled;
  PropertySlot slot;
  slot.BindByte(on);
  slot.Assign(call.value);
  if (on == speaker.enabled) return;
  speaker.enabled = on;
  UpdateMapSpeaker(speaker, false);
}

void SpeakerSoundProperty(InternalCall& call) {
  Speaker& speaker = CalledSpeaker(call);
  if (!call.Assigning()) {
    const bool known = speaker.soundSet >= 0 && static_cast<std::size_t>(speaker.soundSet) < soundSets.size();
    call.Answer(Variant::Text(known ? soundSets[static_cast<std::size_t>(speaker.soundSet)].name : std::u16string()));
    return;
  }
  const std::int32_t sound = ScriptLookupSound(VarToText(call.value), true);
  Speaker& found = CalledSpeaker(call);
  found.soundSet = sound;
  UpdateMapSpeaker(found, false);
}

// A playing speaker is only moved to its new radius.
void SpeakerRadius(InternalCall& call) {
  Speaker& speaker = CalledSpeaker(call);
  if (!call.Assigning()) {
    call.Answer(Variant::Long(speaker.radius));
    return;
  }
  speaker.radius = VarToLong(call.value);
  if (speaker.enabled != 0) UpdateMapSpeaker(speaker, true);
}

// To x, y, z of the map named first; naming the map may load it.
void SpeakerPosition(InternalCall& call) {
  const std::int32_t target = VarToLong(ScriptResolveMap(call.ArgumentText(0), true, true, true).value);
  const auto x = static_cast<float>(VarToDouble(call.Argument(1)));
  const auto y = static_cast<float>(VarToDouble(call.Argument(2)));
  const auto z = static_cast<float>(VarToDouble(call.Argument(3)));
  const std::int32_t map = CalledMapIndex(call);
  const auto speaker = static_cast<std::int32_t>(CalledObjectIndex(call, gameData.maps[map].speakers.size()));
  MoveSpeaker(speaker, map, target, x, y, z);
}

constexpr InternalCommand kSpeakerCommands[] = {
    {"On", SpeakerOn},
    {"Sound", SpeakerSoundProperty},
    {"Radius", SpeakerRadius},
    {"Position", SpeakerPosition},
};

}  // namespace

void RunSpeakerProperty(InternalCall& call) {
  static const ObjectCommandTable table(kSpeakerCommands);
  table.Run(call);
}

std::span<const InternalCommand> SpeakerCommands() { return kSpeakerCommands; }

}  // namespace kiv
