#include "data/actor_template.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "data/resource_header.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDisplayName = 100629;
constexpr std::int32_t kVersionWithPadding = 100634;  // carries 16 unused bytes
constexpr std::int32_t kFirstImage = 100623;
constexpr std::int32_t kFirstMergeFlag = 100616;
constexpr std::int32_t kFirstBaseFlag = 100644;
constexpr std::int32_t kFirstDeferFlag = 100655;
constexpr std::int32_t kFirstKind = 100763;
constexpr std::int32_t kFirstDerivedRecord = 100615;
constexpr std::int32_t kFirstExplicitParent = 100645;
constexpr std::uint8_t kBaseTemplateByte = 5;

}  // namespace

Identifier BaseTemplateId() {
  Identifier id;
  IdFill(id, kBaseTemplateByte);
  return id;
}

void ReadActorTemplate(const ByteList& buffer, std::int32_t index, bool withState) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.actorTemplates.size())
    RaiseError(kErrIndex, "Subscript out of range: actor template " + std::to_string(index) + ".");
  ActorTemplate& actorTemplate = gameData.actorTemplates[static_cast<std::size_t>(index)];
  std::int32_t offset = 0;
  std::int32_t version = 0;
  CheckResourceHeader(buffer, offset, version, kMinSetVersion);
  actorTemplate.id = ReadSetIdentifier(buffer, offset, version);
  actorTemplate.name = BufferReadString(buffer, offset);
  actorTemplate.displayName =
      version >= kFirstDisplayName ? BufferReadString(buffer, offset) : actorTemplate.name;
  if (version == kVersionWithPadding) {
    Identifier unused = BufferReadIdentifier(buffer, offset);
    (void)unused;
  }
  actorTemplate.image = EmptyImageSource();
  if (version >= kFirstImage) ReadImageSource(buffer, actorTemplate.image, offset, version);
  actorTemplate.mergeFlag = version >= kFirstMergeFlag ? BufferReadByte(buffer, offset) : 1;
  actorTemplate.baseFlag = version >= kFirstBaseFlag ? BufferReadByte(buffer, offset) : 1;
  actorTemplate.deferFlag = version >= kFirstDeferFlag ? BufferReadByte(buffer, offset) : 0;
  actorTemplate.kind = version >= kFirstKind ? BufferReadString(buffer, offset) : std::u16string();

  if (version >= kFirstDerivedRecord) {
    ReadCharacter(buffer, offset, actorTemplate.derivedRecord, version, withState);
  } else {
    actorTemplate.derivedRecord = objectDefaults.actor;
  }
  // Older templates without a parent inherit from the base template.
  const Identifier baseId = BaseTemplateId();
  if (version < kFirstExplicitParent && IdIsEmpty(actorTemplate.derivedRecord.templateId) &&
      !IdEquals(actorTemplate.id, baseId)) {
    actorTemplate.derivedRecord.templateId = baseId;
    actorTemplate.derivedRecord.templateIndex = -2;
  }

  ReadCharacter(buffer, offset, actorTemplate.baseRecord, version, withState);
  actorTemplate.baseRecord.templateIndex = -1;
  actorTemplate.baseRecord.templateId = Identifier();
}

}  // namespace kiv
