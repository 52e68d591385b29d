#include "support/sample_game_music.h"

#include "support/sound_fixtures.h"
#include "support/sound_set_writer.h"

namespace kiv::test {

ByteList SampleChimeSoundBytes(const Identifier& id) {
  SoundSetFixture sound;
  sound.id = id;
  sound.name = u"Chime";
  sound.displayName = u"Chime";
  sound.kind = 1;  // a stream: music
  sound.kindText = u"Music";
  sound.variations = {MakeToneWav(ToneSpec{.frequency = 660.0, .seconds = 0.25, .rate = 22050})};
  return MakeSoundSetFile(100790, sound);
}

std::u16string SampleMusicScript() {
  return u"SET Music.Locked = \"yes\"\r\n"
         u"Music.Play(\"Chime\", 0, 1, 1, \"no\", \"yes\", \"no\")\r\n"
         u"Music.Memorize\r\n"
         u"Music.WaitPlay\r\n"
         u"IF Screen.SizeX = 800\r\n"
         u"IF Screen.HUD = 1\r\n"
         u"SET Music.Locked = \"no\"\r\n"
         u"ENDIF\r\n"
         u"ENDIF";
}

}  // namespace kiv::test
