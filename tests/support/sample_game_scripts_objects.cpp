#include "support/sample_game_scripts_objects.h"

namespace kiv::test {

// The guard walks only downwards, so the X it is given stays. The notice
// reads "Guard 2 at 300 scale 1.5 SCORE 1.5 on 1": its place, its width
// scale, the score field's new text and whether the HUD is on (it is brought to the front).
std::u16string SampleObjectsScript() {
  return u"SET Actor(\"Guard 2\").X = 300\r\n"
         u"Actor(\"Guard 2\").Rescale(1.5, 1.5, 1)\r\n"
         u"SET Field(\"|Hud:Score\").Value = \"SCORE \" & Actor(\"Guard 2\").ScaleX\r\n"
         u"Interface(\"Hud\").Show(1, 0, 1)\r\n"
         u"Main.SystemMessage(\"Guard 2 at \" & Actor(\"Guard 2\").X & \" scale \" & Actor(\"Guard 2\").ScaleX & \" \" & "
         u"Field(\"|Hud:Score\").Value & \" on \" & Interface(\"Hud\").On)";
}

}  // namespace kiv::test
