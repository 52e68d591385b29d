#pragma once
// The sound of a map speaker: its record handed to the sound layer, with the
// channel and variation the sound layer picks written back to the record.
#include "data/map_objects.h"

namespace kiv {

// Starts, restarts or stops the speaker's sound as its record says; with
// placeOnly a playing sound is only moved to the speaker's place and radius.
void UpdateMapSpeaker(Speaker& speaker, bool placeOnly);

}  // namespace kiv
