#pragma once
// Writes sprite-set files (".ksp") in the layout of any format version from
// 100728 on, for reader tests. Images are written empty, in the resource
// layout of the version, except a layer's own images (current format).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/geometry.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "support/list_writer.h"
#include "support/script_writer.h"

namespace kiv::test {

struct FramePartFixture {
  std::int32_t id = 0;
  std::int32_t keyBits = 15;
  std::int32_t kind = 0;  // 0 layer, 1 slot, others points
  std::int32_t index = 0;
  std::int32_t x = 0, y = 0, z = 0;
  std::uint32_t color = 0xFFFFFFFFu;
  float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
  Quaternion rotation;
};

struct SpriteLayerFixture {
  // What the frames cut from; written only where the version keeps the
  // images apart from the entries (100762 on).
  std::vector<EmbeddedResource> images;
  // Frame groups (cell sizes are written with the entries before 100775 and
  // in the groups from then on) and one display time per group.
  std::vector<FrameGroupFixture> groups;
  std::vector<std::int32_t> entryValues;  // written as stored; defaults to 100 per group
  std::array<ScriptFixture, 10> scripts;  // long form, empty
  std::u16string text;
  std::int32_t slot = 0;
  std::int32_t value = 0;  // from 100765
  std::int32_t particleLifeMin = 0, particleLifeMax = 0;
  std::int32_t emissionIntervalMin = 0, emissionIntervalMax = 0;
  std::uint32_t startColorA = 0, startColorB = 0, endColorA = 0, endColorB = 0;
  std::int32_t flags = 0;
  std::int32_t emissionLimitMin = 0, emissionLimitMax = 0;
  std::uint8_t byteT = 0;
  std::int32_t valueK = 0;

  SpriteLayerFixture();
};

struct SpriteDirectionFixture {
  CollisionShape collision;
  std::int32_t frameDuration = 100;
  std::uint8_t byteO = 0;
  std::vector<SpriteLayerFixture> layers;
  std::vector<std::int32_t> slotValues;  // at most 4 in a sound file
  std::optional<std::int32_t> slotLast;  // overrides the stored last index
  std::vector<std::vector<FramePartFixture>> frames;
};

struct SpritePoseFixture {
  std::u16string name;  // written for the set's own poses (15 on)
  std::array<SpriteDirectionFixture, 8> directions;
};

struct SpriteLinkFixture {
  std::u16string name;
  Identifier spriteSetId;
  std::vector<std::int32_t> values;  // the stored ones: link value count + 1 from 100766, else 1
};

struct SpriteSetFixture {
  std::int32_t version = 100790;
  Identifier id;
  std::int32_t valueA = 0;
  std::uint8_t byteN = 0;  // from 100776
  std::u16string name = u"Sprite";
  std::u16string displayName = u"Sprite";
  std::uint8_t flags = 0;
  std::u16string category = u"Character";
  std::u16string kindName = u"Character";  // from 100763
  std::u16string symbolB;
  std::vector<std::pair<Identifier, std::uint8_t>> spriteFlags;
  std::int32_t linkValueLast = 7;  // from 100766
  std::vector<SpriteLinkFixture> links;
  std::vector<std::pair<Identifier, std::uint8_t>> templateFlags;
  std::array<std::int32_t, 6> valuesCtoH{};
  std::array<std::uint8_t, 24> blockI{};
  std::int32_t valueJ = 0;
  std::int32_t slot = 0;
  // Poses 0 to 14 and the set's own; a pose above lastStandard and below 15
  // is left out of the file.
  std::vector<SpritePoseFixture> poses = std::vector<SpritePoseFixture>(15);
  std::int32_t lastStandard = 14;
  std::optional<std::int32_t> ownPoseCount;  // overrides poses.size() - 15
};

// An empty image in the resource layout of the version.
void WriteEmptyImage(ByteList& buffer, std::int32_t& offset, std::int32_t version);
// The image in the current resource format, or an empty one when it holds none.
void WriteImageOrEmpty(ByteList& buffer, std::int32_t& offset, std::int32_t version, const EmbeddedResource& image);

// The whole file: resource header and body.
ByteList SpriteSetFileBytes(const SpriteSetFixture& set);

// A long-form script without statements, as set files store them.
ScriptFixture LongEmptyScript();
// A long-form script with one statement (it registers).
ScriptFixture LongScriptWithStatement();

}  // namespace kiv::test
