#pragma once
// The world update: once per tick it runs every system of the game in a fixed
// order, each naming itself in gameData.currentActivity first so that the
// loop's error report tells where a failure happened.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// The activity texts of the last world update, in the order they were set.
extern std::vector<std::string> worldActivityTrail;

// Advances the game by shell.frameElapsed milliseconds. Errors end the tick
// and reach the caller.
void WorldUpdate();

// Empties every map's view list and, outside loading ticks, gives every map
// one entry per view field of a shown interface that shows it.
void RebuildViewLists();

// The pass over the maps in index order: which maps are active, the paused
// rule, each map's running time and its systems.
void RunMapPass();

// Whether (x, y) lies within the project's activity range (plus radius) of a
// view focus of the map; always true when the range is 0. z is not used.
bool IsNearViewFocus(std::int32_t map, float x, float y, float z, float radius);

// The loading interface: the interface drawn and run while loading, -1 none.
std::int32_t LoadingInterface();

}  // namespace kiv
