#pragma once
// The sample game's scripts that exercise the internal commands as a game
// would: kept apart from the records that carry them.
#include <string>

namespace kiv::test {

// The Town hero's script when the Town is loaded: the ledger of the visit,
// kept in the game's globals (Gold, DoorOpen, Visited, Board) with collection,
// table and flow commands and the custom event "Alarm".
std::u16string SampleHeroLoadedScript();

// The custom event "Alarm" (parameter Loudness): twice the loudness.
std::u16string SampleAlarmScript();

}  // namespace kiv::test
