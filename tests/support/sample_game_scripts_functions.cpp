#include "support/sample_game_scripts_functions.h"

namespace kiv::test {

// The party joins the Town after its Loaded scripts: the leader's name is
// read after a pause. Afterwards: Motto "**a town of silver**", Tint -65408 (red 255, blue 128),
// Sum 10 (worked out by evaluated text), Leader the hero's display name, and
// Heading 3.14 (west and east are half a turn apart).
std::u16string SampleFunctionsScript() {
  return u"SET Motto = Text.PadCenter(Text.Replace(\"a town of GOLD\", \"gold\", \"silver\"), \"*\", 20)\r\n"
         u"SET Tint = Color.RGB(300, -5, 128)\r\n"
         u"SET Sum = Structure.Evaluate(\"Return(Math.Add(2, Math.Max(3, 8)))\")\r\n"
         u"SET Heading = Math.Round(Geometry.DirectionDiff(\"left\", \"right\"), 2)\r\n"
         u"Pause(100)\r\n"
         u"SET Leader = Main.Name";
}

void AddSampleFunctionGlobals(GlobalListsFixture& globals) {
  for (const char16_t* name : {u"Motto", u"Tint", u"Sum", u"Leader", u"Heading"}) {
    globals.variables.emplace_back(name, Variant::Long(0));
  }
}

}  // namespace kiv::test
