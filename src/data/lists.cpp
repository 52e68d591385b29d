#include "data/lists.h"

#include "core/data_buffer.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/script_codec.h"
#include "data/script_link.h"

namespace kiv {

namespace {

// Smallest stored records, to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinPropertySize = 9;  // empty name, tag, empty text
constexpr std::int32_t kMinTriggerSize = 12;  // name, then at least a script's text and version
constexpr std::int32_t kMinStringSize = 4;
constexpr std::int32_t kFrameSize = 44;
constexpr std::int32_t kMinFrameGroupSize = 4;
constexpr std::int32_t kMinImageSize = 1;
constexpr std::int32_t kMinAttachmentSize = 30;
constexpr std::int32_t kTemplateFlagSize = 17;

bool IsMouseEvent(std::int32_t event) {
  return (event >= kSymTriggerActorMouseDown && event <= kSymTriggerActorMouseUp) ||
         (event >= kSymTriggerZoneMouseDown && event <= kSymTriggerZoneMouseUp) ||
         (event >= kSymTriggerFieldMouseDown && event <= kSymTriggerFieldMouseUp);
}

}  // namespace

void WritePropertyList(ByteList& buffer, std::int32_t& offset, const std::vector<ScriptVariable>& list) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (const ScriptVariable& entry : list) {
    BufferWriteString(buffer, SymbolName(entry.symbol), offset);
    BufferWriteVariant(buffer, entry.value, offset);
  }
}

void ReadPropertyList(const ByteList& buffer, std::int32_t& offset, std::vector<ScriptVariable>& list) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinPropertySize);
  if (last < 0) return;
  list.assign(static_cast<std::size_t>(last + 1), ScriptVariable());
  for (ScriptVariable& entry : list) {
    entry.symbol = SymbolIntern(BufferReadString(buffer, offset));
    BufferReadVariant(buffer, entry.value, offset);
  }
}

void WriteEventList(ByteList& buffer, std::int32_t& offset, std::vector<Trigger>& list, bool savedState) {
  BufferWriteLastIndex(buffer, list.size(), offset);
  for (Trigger& trigger : list) {
    if (!savedState) dataHooks.BuildTriggerConditions(trigger);
    BufferWriteString(buffer, SymbolName(trigger.event), offset);
    BufferWriteLastIndex(buffer, trigger.parameters.size(), offset);
    for (const std::u16string& parameter : trigger.parameters) BufferWriteString(buffer, parameter, offset);
    SerializeScript(buffer, offset, trigger.script, savedState);
  }
}

void ReadEventList(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                   std::vector<Trigger>& list, bool savedState, std::uint8_t ownerKind) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinTriggerSize);
  if (last < 0) return;
  list.assign(static_cast<std::size_t>(last + 1), Trigger());
  for (Trigger& trigger : list) {
    trigger.event = SymbolIntern(BufferReadString(buffer, offset));
    if (!savedState || version >= kFirstSavedTriggerParameters) {
      const std::int32_t parameterLast = BufferReadLastIndex(buffer, offset, kMinStringSize);
      for (std::int32_t i = 0; i <= parameterLast; ++i)
        trigger.parameters.push_back(BufferReadString(buffer, offset));
    }
    // Older files named the effect of a mouse trigger without its "Effect " prefix.
    if (version < kFirstEffectMouseParameters && IsMouseEvent(trigger.event) &&
        trigger.parameters.size() >= 2 && IsQuotedString(trigger.parameters[1])) {
      trigger.parameters[1].insert(1, u"Effect ");
    }
    ReadScript(buffer, offset, trigger.script, savedState, true, ownerKind, false);
    dataHooks.BuildTriggerConditions(trigger);
    if (trigger.script.recompile) {
      dataHooks.CompileScript(trigger.script);
      LinkScript(trigger.script, true);
    }
    RegisterScript(trigger.script);
  }
}

void ReadImageFrameLists(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                         ImageFrameLists& holder) {
  const std::int32_t imageLast = BufferReadLastIndex(buffer, offset, kMinImageSize);
  holder.images.clear();
  for (std::int32_t i = 0; i <= imageLast; ++i) {
    EmbeddedResource image = EmptyImageSource();
    ReadImageSource(buffer, image, offset, version);
    holder.images.push_back(std::move(image));
  }
  const std::int32_t groupLast = BufferReadLastIndex(buffer, offset, kMinFrameGroupSize);
  holder.frameGroups.assign(static_cast<std::size_t>(groupLast + 1), FrameGroup());
  for (FrameGroup& group : holder.frameGroups) ReadFrameGroup(buffer, offset, version, group);
}

void ReadFrameGroup(const ByteList& buffer, std::int32_t& offset, std::int32_t version, FrameGroup& group) {
  const std::int32_t frameLast = BufferReadLastIndex(buffer, offset, kFrameSize);
  group.frames.assign(static_cast<std::size_t>(frameLast + 1), ImageFrame());
  for (ImageFrame& frame : group.frames) {
    frame.image = BufferReadLong(buffer, offset);
    frame.x = BufferReadLong(buffer, offset);
    frame.y = BufferReadLong(buffer, offset);
    frame.width = BufferReadLong(buffer, offset);
    frame.height = BufferReadLong(buffer, offset);
    frame.textureLeft = BufferReadSingle(buffer, offset);
    frame.textureTop = BufferReadSingle(buffer, offset);
    frame.textureRight = BufferReadSingle(buffer, offset);
    frame.textureBottom = BufferReadSingle(buffer, offset);
    frame.extra1 = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
    frame.extra2 = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
  }
  if (version >= kFirstFrameCellSize) {
    group.cellWidth = BufferReadLong(buffer, offset);
    group.cellHeight = BufferReadLong(buffer, offset);
  }
}

void ReadAttachmentList(const ByteList& buffer, std::vector<Attachment>& list, std::int32_t& offset,
                        std::int32_t version) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinAttachmentSize);
  if (last < 0) return;
  list.assign(static_cast<std::size_t>(last + 1), Attachment());
  for (Attachment& attachment : list) {
    attachment.spriteSet = -2;
    attachment.spriteSetId = BufferReadIdentifier(buffer, offset);
    attachment.valueA = BufferReadLong(buffer, offset);
    attachment.valueB = BufferReadLong(buffer, offset);
    attachment.valueC = BufferReadLong(buffer, offset);
    attachment.byteF = BufferReadByte(buffer, offset);
    attachment.byteG = BufferReadByte(buffer, offset);
    if (version >= kFirstAttachmentColor) {
      attachment.byteE = BufferReadByte(buffer, offset);
      attachment.color = static_cast<std::uint32_t>(BufferReadLong(buffer, offset));
      attachment.valueD = BufferReadLong(buffer, offset);
    } else {
      attachment.byteE = 0;
      attachment.color = 0x22000000;
      attachment.valueD = 0;
    }
  }
}

void ReadTemplateFlagTable(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                           std::vector<TemplateFlag>& table, std::int32_t minimumVersion) {
  table.clear();
  if (version < minimumVersion) return;
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kTemplateFlagSize);
  table.resize(static_cast<std::size_t>(last + 1));
  for (TemplateFlag& entry : table) {
    entry.id = BufferReadIdentifier(buffer, offset);
    entry.flag = BufferReadByte(buffer, offset);
  }
}

void AddTriggerFromScript(std::vector<Trigger>& list, const Script& script, std::int32_t event, bool force,
                          const std::vector<std::u16string>& parameters) {
  if (!script.hasStatements && !force) return;
  Trigger* target = nullptr;
  for (Trigger& trigger : list) {
    if (trigger.event != event || trigger.parameters.size() < parameters.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < parameters.size() && same; ++i) same = trigger.parameters[i] == parameters[i];
    if (same) {
      target = &trigger;
      break;
    }
  }
  if (target == nullptr) {
    list.emplace_back();
    target = &list.back();
    target->event = event;
  }
  target->script = script;
  target->script.recompile = true;
  target->parameters = parameters;
  dataHooks.BuildTriggerConditions(*target);
  if (!target->script.header.empty() || !target->script.footer.empty()) {
    dataHooks.CompileScript(target->script);
    LinkScript(target->script, true);
  }
}

}  // namespace kiv
