#pragma once
// An element of an interface (maps may hold them too): a text, picture,
// counter, button or map view placed relative to its parent field, with values
// for its four states, event scripts and triggers; its reader and the layout
// values derived from it.
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/variant.h"
#include "data/glyph_index_list.h"
#include "data/lists.h"
#include "data/script_record.h"
#include "data/sprite_records.h"
#include "platform/gfx/d3d_types.h"

namespace kiv {

struct Map;

inline constexpr std::size_t kFieldStateCount = 5;  // entry 0 live, 1..4 per state
inline constexpr std::size_t kFieldScriptCount = 11;
inline constexpr std::int32_t kMaxFieldSprites = 1024;  // counters show at most this many sprites

// Field states.
inline constexpr std::uint8_t kFieldPlain = 0;
inline constexpr std::uint8_t kFieldSelectable = 1;
inline constexpr std::uint8_t kFieldSelected = 2;
inline constexpr std::uint8_t kFieldDisabled = 3;

// What activating the field does to an interface: 1 hide, 2 show, 3 open as the player's.
struct FieldAction {
  std::int32_t code = 0;
  std::int32_t mapKind = -1;  // -2 by name, -4 by identifier
  std::u16string mapName;
  Identifier mapId;
};

// The values of a view field that shows a map. The view timers have their
// places in the view block, in record order: values 1 to 8 are the pan's
// start x, y, z, target x, y, z, elapsed and duration; value 9 the
// transition colour, the byte after it the transition mode, values 10 to 12
// the transition kind, elapsed and duration; the next byte the flash repeat,
// values 13 to 16 the flash colour, count, elapsed and duration; the next
// byte the shake repeat, values 17 to 21 the shake angle (a Single),
// amplitude, count, elapsed and duration. View byte 2 is panning (the camera
// held by a script). int1, value22 and byte1 are carried as read.
struct FieldView {
  std::int32_t int1 = 0;
  std::int32_t value22 = 0;
  float pitch = 0.7853982f;
  float yaw = -1.5707964f;
  float distance = 1000.0f;
  float distance2 = 512.0f;
  std::uint8_t byte1 = 0;
  std::int32_t followedPlayer = 0;
  std::int32_t ownMap = -1;
  std::int32_t followedCharacter = -1;
  // The screen view the field takes when its map becomes shown.
  std::int32_t defaultView = 0;

  // The camera of the view at run time. The followed player, own map and
  // followed character above choose what it shows; distance2 is the depth
  // range of a perspective view.
  std::int32_t screenView = 0;  // the last of "45", "top", "front", "side" (0 to 3) set
  std::int32_t projection = 0;  // 0 oblique orthographic ("45"), 1 perspective, 2 orthographic
  std::int32_t viewAxis = 0;    // 0 the map plane is the screen, 1 front (height up the screen), 2 side
  float roll = 0.0f;
  std::uint8_t frontSprites = 0;  // set by the front view
  // A pan towards a target, or back to the followed focus (target x and y
  // kPanBack); scripts and the world update start it and advance the time.
  std::uint8_t panning = 0;
  std::int32_t panStartX = 0, panStartY = 0, panStartZ = 0;
  std::int32_t panTargetX = 0, panTargetY = 0, panTargetZ = 0;
  std::int32_t panElapsed = 0, panDuration = 0;
  // A shake runs while its duration is above 0.
  float shakeAngle = 0.0f;
  std::int32_t shakeAmplitude = 0, shakeCount = 0, shakeElapsed = 0, shakeDuration = 0;
  // Timers the map systems advance each tick. A repeating shake or flash
  // starts over when it ends; the others end by setting their duration to 0.
  // The transition fades the view out (mode 1, which stays hidden) or in (2).
  std::uint8_t shakeRepeat = 0;
  std::uint8_t transitionMode = 0;
  std::int32_t transitionElapsed = 0, transitionDuration = 0;
  std::uint8_t flashRepeat = 0;
  std::int32_t flashElapsed = 0, flashDuration = 0;
  // What the transition and the flash draw over the view: the colour, the
  // overlay kind of the transition (-3 instant, -4 a fade) and the pulses of
  // the flash.
  std::uint32_t transitionColor = 0;
  std::int32_t transitionKind = -4;
  std::uint32_t flashColor = 0;
  std::int32_t flashCount = 1;
  // The camera the view was last drawn with.
  bool cameraSet = false;
  gfx::Viewport cameraViewport;
  gfx::Matrix cameraWorld, cameraView, cameraProjection;
};

// The pan target of a pan back to the followed focus.
inline constexpr std::int32_t kPanBack = -2147483647;

struct FieldRuntimeEntry {
  std::array<std::int32_t, 9> values{};
  SpriteInstance sprite;  // run time: the animation of the screen sprite it shows
};

struct Field {
  std::u16string name;
  std::u16string displayName;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t mapIndex = -1;
  std::uint8_t face = 0;  // script Face, a boolean
  float width = 0.0f, height = 0.0f, depth = 0.0f;  // script SizeX, SizeY, SizeZ
  std::int32_t pixelWidth = 0, pixelHeight = 0;
  std::int32_t previousPixelWidth = 0, previousPixelHeight = 0;
  std::int32_t lineHeight = 0;  // pixels; 0 takes the font set's
  float fontScale = 1.0f;
  float fontSize = 0.0f;

  std::uint8_t shadow = 0;
  std::uint8_t noDraw = 0;
  std::uint8_t nonExistent = 0;
  std::uint8_t selectable = 0;
  std::uint8_t disabled = 0;
  std::uint8_t byteDefault1 = 1;
  std::uint8_t byteByContent = 0;
  std::uint8_t appliedSelectable = 0;

  std::vector<FieldAction> actions;
  std::uint8_t activationOrder = 0;  // 1: the activation trigger runs before the actions
  std::int32_t controlValue = 0;
  std::int32_t control = -1;  // -1 none, -2 not found
  Identifier controlId;

  std::uint8_t style = 0;  // 1..4 take the project's presets; 5 keeps live values
  std::array<std::uint32_t, kFieldStateCount> colorsA{};  // script Color1
  std::array<std::uint32_t, kFieldStateCount> colorsB{};  // script Color2
  std::uint32_t specular = 0;
  std::array<std::uint32_t, kFieldStateCount> colorsC{};  // script ShadowColor
  std::int32_t valueAfterSpecular = 0;
  std::uint8_t state = 0;

  std::int32_t parent = -1;
  std::int32_t spawner = -1;
  std::int32_t runValue = 0;
  // -1 stays; 0 or more: removed at the end of the map's tick, unless a
  // waiting script names it and the mark is not 2147483135.
  std::int32_t removeMark = -1;
  std::int32_t derivedValue = 0;

  Variant value1;  // script Value
  Variant value2;  // script MaxValue
  std::uint8_t runByte = 0;
  // What the field is: 0 text or picture, 1 icon row, 2 meter, 3 frame gauge,
  // 4 panel, 5 static effect, 6 view of a map. Read it through Kind().
  std::uint8_t kind = 0;
  std::int32_t fontSet = -1;     // -1 none, -2 not found
  Identifier fontSetId;
  GlyphIndexList lines;        // the text laid out by the font set
  std::int32_t lineCount = 0;  // script TextLines

  std::uint8_t designByte1 = 0, designByte2 = 0;
  std::int32_t valueDefault1 = 1;
  std::uint8_t designByte3 = 0;
  std::array<std::int32_t, 2> designValues{};

  FieldView view;
  std::vector<FieldRuntimeEntry> runtimeEntries;

  std::int32_t spriteSet = -1;  // -2 resolve by identifier; script Sprite, Texture
  Identifier spriteSetId;
  std::int32_t spriteCount = 0;  // sprite instances the field shows
  std::vector<SpriteInstance> sprites;

  // The first two align the field; the third keeps its size from being scaled.
  std::array<std::uint8_t, 3> placementBytes{};
  std::uint8_t sizeMode = 0;      // 0 pixels, 1 inches scaled by the screen's dots per inch
  std::uint8_t fontSizeMode = 0;  // 0 as stored, 1 points
  std::int32_t anchorFlags = 0;   // 1, 4 horizontal; 2, 8 vertical; 0x10 stretch; 0x20 scale
  std::array<std::int32_t, 3> layoutValues{0, 0, 1};
  std::int32_t placementValue = 0;  // the fifth value of a screen layout's placement
  std::int32_t rotation = 0;

  std::array<Script, kFieldScriptCount> scripts;
  std::vector<Trigger> triggers;

  bool KeepSize() const { return placementBytes[2] == 1; }

  // Run time, never stored: the clock of the field's sprites and typed text
  // (ms), and the screen rectangle its text last took (left, top, right,
  // bottom), which later pick passes paint.
  std::int32_t animationTime = 0;
  std::array<std::int32_t, 4> textRect{};

  // What the drawing of fields reads the stored values as.
  std::uint8_t Kind() const { return kind; }
  std::uint8_t ExactPick() const { return byteDefault1; }   // 0: a plain rectangle in the pick image
  std::uint8_t Scrolls() const { return byteByContent; }    // 1: clipped by the map's scroll rectangle
  std::uint8_t TypingMode() const { return designByte1; }   // 0 whole text, 1 glyph by glyph
  std::uint8_t FrameMode() const { return designByte2; }    // icon rows: 1 animates the partial icon
  std::int32_t IconValue() const { return valueDefault1; }  // value one icon stands for
  std::uint8_t MeterStyle() const { return designByte3; }   // 0 pie, 1 bar, 2 needle
  float StartAngle() const { return std::bit_cast<float>(designValues[0]); }
  float EndAngle() const { return std::bit_cast<float>(designValues[1]); }
  std::uint8_t AlignX() const { return placementBytes[0]; }  // 0 left, 1 centre, 2 right
  std::uint8_t AlignY() const { return placementBytes[1]; }  // 0 top, 1 middle, 2 bottom
  bool LaidOutVertically() const { return (placementBytes[2] & 1) != 0; }
  float RotationAngle() const { return std::bit_cast<float>(rotation); }
};

// Reads one field section into map.fields[fieldIndex] (which must exist).
// mapIndex is the map's index in the maps table, kept in the field.
void ReadField(const ByteList& buffer, std::int32_t& offset, std::int32_t version, Map& map,
               std::int32_t mapIndex, std::int32_t fieldIndex, bool withState);

// Recomputes the pixel size, font size, wrapped lines and sprite count of
// map.fields[fieldIndex]; text is wrapped to the field's drawn width on the display.
void UpdateFieldLayout(Map& map, std::int32_t mapIndex, std::int32_t fieldIndex);

}  // namespace kiv
