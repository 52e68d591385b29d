#pragma once
// Actor templates (".kat"): two character records, the base record and the
// derived record whose template reference names the parent template.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/actor_record.h"

namespace kiv {

struct ActorTemplate {
  Identifier id;
  std::u16string name;
  std::u16string displayName;
  std::u16string kind;
  EmbeddedResource image;
  std::uint8_t mergeFlag = 1;
  std::uint8_t baseFlag = 1;
  std::uint8_t deferFlag = 0;
  Actor baseRecord;     // its template reference is always none
  Actor derivedRecord;  // its template reference names the parent
  bool applied = false;
};

// The identifier of the base template: sixteen bytes 5.
Identifier BaseTemplateId();

// Reads a whole template file into gameData.actorTemplates[index] (which must
// exist). withState asks the character reader for the run-time part too.
void ReadActorTemplate(const ByteList& buffer, std::int32_t index, bool withState);

}  // namespace kiv
