#pragma once
// Preparation of a map before it is played and drawn: terraformation, the
// collision entries of its tiles, the floor heights of its characters and its
// light map, once per load.
#include <cstdint>

namespace kiv {

// True while the audio library's own update threads run because map data was
// generated with progress shown; the script engine ends them when its call
// stack empties (EndMapDataAudio).
extern bool audioThreadsOn;

// Prepares the map once: nothing for a negative or unknown index, an
// interface or a map already prepared since it was loaded. With showProgress
// the loading screen shows each step and sound goes on by itself meanwhile.
void GenerateMapData(std::int32_t map, bool showProgress);

// Switches the audio library's update threads off again when map data
// generation switched them on.
void EndMapDataAudio();

// Installs GenerateMapData for map loading and save loading, EndMapDataAudio
// for trigger dispatch and LightColorAt for drawing.
void InstallMapDataHooks();

}  // namespace kiv
