#pragma once
// List formats shared by the map, interface, set and save files: property
// lists, event lists of triggers, image and frame lists, attachment lists and
// template-flag tables. On disk a list is a 32-bit last index (-1 empty) and
// the records; in memory a std::vector.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/resources.h"

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/script_record.h"
#include "platform/gfx/resources.h"

namespace kiv {

// One element of an event list: an event, its parameter texts and its script.
struct Trigger {
  std::int32_t event = 0;  // symbol number of the event's name
  std::vector<std::u16string> parameters;
  Script script;
};

struct ImageFrame {
  std::int32_t image = 0;  // index into the holder's images
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  float textureLeft = 0.0f;
  float textureTop = 0.0f;
  float textureRight = 0.0f;
  float textureBottom = 0.0f;
  std::uint32_t extra1 = 0;  // two stored values carried unchanged
  std::uint32_t extra2 = 0;
};

struct FrameGroup {
  std::vector<ImageFrame> frames;
  std::int32_t cellWidth = 0;
  std::int32_t cellHeight = 0;
};

// Held by a tile set and by each layer of a sprite set.
struct ImageFrameLists {
  std::vector<EmbeddedResource> images;
  std::vector<FrameGroup> frameGroups;
  // Device objects, one texture per image once loaded (shared by a mirrored
  // direction), and whether the group is loaded.
  std::vector<gfx::TexturePtr> textures;
  bool loaded = false;
};

// An attached sprite (or, in saves, effect) of an actor.
// An entry of an actor's attachments (attachedEffects) or effect layers
// (attachedSprites).
struct Attachment {
  std::int32_t spriteSet = -2;  // resolved by identifier after loading
  Identifier spriteSetId;
  std::int32_t valueA = 0;  // ms into the animation
  std::int32_t valueB = 0;  // the value a script attached it with
  std::int32_t valueC = 0;
  std::uint32_t color = 0x22000000;
  std::int32_t valueD = 0;  // specular colour of an effect layer
  std::uint8_t byteE = 0;   // non-zero: the animation loops
  std::uint8_t byteF = 0;   // the flag a script attached it with
  std::uint8_t byteG = 0;
};

struct TemplateFlag {
  Identifier id;
  std::uint8_t flag = 0;
};

// Version gates of the lists.
inline constexpr std::int32_t kFirstSavedTriggerParameters = 100673;
inline constexpr std::int32_t kFirstEffectMouseParameters = 100731;
inline constexpr std::int32_t kFirstFrameCellSize = 100775;
inline constexpr std::int32_t kFirstAttachmentColor = 100638;

void WritePropertyList(ByteList& buffer, std::int32_t& offset, const std::vector<ScriptVariable>& list);
// Names are interned into the symbol table; an empty stored list leaves list as it was.
void ReadPropertyList(const ByteList& buffer, std::int32_t& offset, std::vector<ScriptVariable>& list);

// Unless savedState is set, each trigger's conditions are rebuilt before its
// script is written; scripts are written in the short form only with savedState.
void WriteEventList(ByteList& buffer, std::int32_t& offset, std::vector<Trigger>& list, bool savedState);
// ownerKind (1 actors and zones, 0 fields) is the run-once default of old scripts.
// Each script is read, linked, has its conditions rebuilt and is registered.
void ReadEventList(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                   std::vector<Trigger>& list, bool savedState, std::uint8_t ownerKind);

void ReadImageFrameLists(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                         ImageFrameLists& holder);
// One frame group: its frames, then its cell size from version 100775 on.
void ReadFrameGroup(const ByteList& buffer, std::int32_t& offset, std::int32_t version, FrameGroup& group);
void ReadAttachmentList(const ByteList& buffer, std::vector<Attachment>& list, std::int32_t& offset,
                        std::int32_t version);
// Reads the table when version is at least minimumVersion; otherwise the table is empty.
void ReadTemplateFlagTable(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                           std::vector<TemplateFlag>& table, std::int32_t minimumVersion);

// Turns an old per-event script of an object into a trigger of its list: the
// first trigger with that event whose parameters begin with the given ones is
// reused, else one is appended. An empty script is skipped unless force is set.
void AddTriggerFromScript(std::vector<Trigger>& list, const Script& script, std::int32_t event, bool force,
                          const std::vector<std::u16string>& parameters);

}  // namespace kiv
