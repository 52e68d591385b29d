#pragma once
// A sample script that uses actor, field and interface commands as a game
// would: when the Town is loaded the second guard steps aside, grows, writes
// its size in the HUD's score field, brings the HUD to the front and posts
// what it reads back as a notice.
#include <string>

namespace kiv::test {

// The Town's second guard's Loaded script.
std::u16string SampleObjectsScript();

}  // namespace kiv::test
