#include "support/sample_game_scripts_functions.h"

namespace kiv::test {

// The party joins the Town after its Loaded scripts: the leader's name is read
// after a pause. The notice then reads "**a town of silver** -65408 10 3.14
// Hero": the motto, the colour (red 255, blue 128), a sum worked out by
// evaluated text, the half turn from west to east and the leader's name.
std::u16string SampleFunctionsScript() {
  return u"LOCAL facts\r\n"
         u"SET facts = Text.PadCenter(Text.Replace(\"a town of GOLD\", \"gold\", \"silver\"), \"*\", 20)\r\n"
         u"SET facts = Text.Combine(facts, \" \" & Color.RGB(300, -5, 128))\r\n"
         u"SET facts = facts & \" \" & Structure.Evaluate(\"Return(Math.Add(2, Math.Max(3, 8)))\")\r\n"
         u"SET facts = facts & \" \" & Math.Round(Geometry.DirectionDiff(\"left\", \"right\"), 2)\r\n"
         u"Pause(100)\r\n"
         u"Main.SystemMessage(facts & \" \" & Main.Name)";
}

}  // namespace kiv::test
