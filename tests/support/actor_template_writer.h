#pragma once
// Writes actor-template files (".kat") in the layout of a given format
// version, for reader tests; the two character records go through the actor
// writer of the map objects.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "data/actor_record.h"

namespace kiv::test {

struct ActorTemplateFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::u16string name = u"Guard";
  std::u16string displayName = u"Guard display";  // from 100629
  std::uint8_t mergeFlag = 0;                     // from 100616
  std::uint8_t baseFlag = 0;                      // from 100644
  std::uint8_t deferFlag = 1;                     // from 100655
  std::u16string kind = u"People";                // from 100763
  Actor derived;                                  // from 100615
  Actor base;
};
ByteList ActorTemplateFileBytes(const ActorTemplateFixture& fixture);

}  // namespace kiv::test
