#pragma once
// Set once every set of the game is loaded and linked (and for the save form
// of the state block), so that trigger conditions may look sets up by name.
namespace kiv {

inline bool setsLinked = false;

}  // namespace kiv
