#include "support/sample_game_scripts.h"

namespace kiv::test {

// What the globals hold afterwards: Visited ("Gate", "Market", "Town"), Board
// 3 x 2 x 1 with its first line sorted downwards (2, 1, 0) and 3 (the count
// of Visited) in the last cell, DoorOpen off, and Gold 50 + 6 (the alarm of 3)
// + 1 (where Board's 2 is) = 57, the last part after a pause of 100 ms.
std::u16string SampleHeroLoadedScript() {
  return u"Collection.Add(Visited, \"Market\")\r\n"
         u"Collection.Insert(Visited, 1, \"Gate\")\r\n"
         u"Collection.Sort(Visited, 0, 0)\r\n"
         u"Table.Resize(Board, 0, 3, 2, 1)\r\n"
         u"Table.Edit(Board, Collection.Count(Visited), 3, 2, 1)\r\n"
         u"Table.Sort(Board, 1, 1, 1, 1, 1, 1)\r\n"
         u"SET Gold = Gold + Custom.Alarm(Collection.Count(Visited))\r\n"
         u"SET DoorOpen = \"no\"\r\n"
         u"Pause(100)\r\n"
         u"SET Gold = Gold + Table.Find(Board, 1, 2, 1, 1, 1)";
}

std::u16string SampleAlarmScript() { return u"Return(Loudness * 2)"; }

}  // namespace kiv::test
