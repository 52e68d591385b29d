#include "commands/actor_words.h"

namespace kiv {

std::u16string DirectionWord(std::int32_t direction) {
  static const char16_t* const kWords[] = {u"Left",  u"LeftUp",    u"Up",   u"RightUp",
                                           u"Right", u"RightDown", u"Down", u"LeftDown"};
  if (direction < 0 || direction > 7) return u"";
  return kWords[direction];
}

}  // namespace kiv
