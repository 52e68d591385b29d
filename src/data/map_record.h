#pragma once
// The record of one map or interface (an interface is a map whose is-interface
// flag is set): size, tile layers, collision grids, properties, event scripts,
// the object lists of the body and the sector grid.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/identifier.h"
#include "core/record_codecs.h"
#include "data/actor_record.h"
#include "data/broad_phase_grid.h"
#include "data/field_record.h"
#include "data/lists.h"
#include "data/map_objects.h"
#include "data/script_record.h"
#include "data/sprite_records.h"
#include "data/weather_particles.h"

namespace kiv {

// Bytes indexed (column, row, layer), column fastest.
struct ByteGrid3 {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;
  std::vector<std::uint8_t> cells;

  void Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount);
  std::uint8_t& At(std::int32_t column, std::int32_t row, std::int32_t layer);
  std::uint8_t At(std::int32_t column, std::int32_t row, std::int32_t layer) const;
};

// The transition codes of a tile-layer group: one byte per quarter (0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right), face (0..3) and cell; 0 none,
// 255 no base image. Terraformation fills it; an unmade grid reads 0.
struct QuarterGrid {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;
  std::vector<std::uint8_t> cells;

  void Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount);
  std::uint8_t& At(std::int32_t quarter, std::int32_t face, std::int32_t column, std::int32_t row,
                   std::int32_t layer);
  std::uint8_t At(std::int32_t quarter, std::int32_t face, std::int32_t column, std::int32_t row,
                  std::int32_t layer) const;
};

// The light colour of every tile corner: columns 0..width + 1, rows
// 0..height + 1, layers 0..layers + 1. The light maps fill it; a corner
// outside the made grid reads white.
struct CornerColorGrid {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;
  std::vector<std::uint32_t> cells;

  void Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount, std::uint32_t color);
  std::uint32_t& At(std::int32_t column, std::int32_t row, std::int32_t layer);
  std::uint32_t At(std::int32_t column, std::int32_t row, std::int32_t layer) const;
};

// The at most four lights that reach each cell (light indexes, -1 none); an
// unmade grid or a cell outside it has none.
struct CellLightGrid {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;
  std::vector<std::array<std::int32_t, 4>> cells;

  void Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount);
  std::array<std::int32_t, 4>& At(std::int32_t column, std::int32_t row, std::int32_t layer);
  std::array<std::int32_t, 4> At(std::int32_t column, std::int32_t row, std::int32_t layer) const;
};

// One of the three tile-layer groups: ground-or-wall, lower object, upper object.
// A cell of the slot grid names a tile set by its slot (1-based, 0 none).
struct TileLayerGroup {
  std::vector<std::int32_t> slotTileSets;  // index into tileSets per slot; -1 empty id, -2 not found
  std::vector<Identifier> slotIds;
  std::uint8_t slotCount = 0;
  ByteGrid3 slotGrid;
  ByteGrid3 tileGrid;
  QuarterGrid terraform;
};

inline constexpr std::int32_t kTileLayerGroupCount = 3;

// A reference to a set by identifier; the index is resolved after loading.
struct SetReference {
  std::int32_t index = -2;
  Identifier id;
};

struct LinkedMapReference {
  std::int32_t index = -1;  // -1 none, -2 resolve by name, -4 resolve by identifier
  std::u16string name;
  Identifier id;
};

// One layer of a map's backdrop: a sprite set that scrolls with the camera by
// a parallax share, moves on its own and may repeat across the view.
struct BackgroundSprite {
  std::int32_t spriteSet = -2;  // resolved after loading
  Identifier spriteSetId;
  float parallaxX = 0.0f;  // share of the camera movement
  float parallaxY = 0.0f;
  float speedX = 0.0f;  // pixels per ms of automatic scrolling
  float speedY = 0.0f;
  std::uint8_t repeatX = 0;  // tile the layer along x
  std::uint8_t repeatY = 0;
  std::uint8_t fitMap = 0;   // span the map instead of the view
  std::int32_t elapsed = 0;  // ms of unpaused play; saves only
  SpriteInstance instance;   // animation state, not stored
};

struct FieldPlacement {
  std::array<std::int32_t, 6> values{};
};

struct ScreenLayout {
  std::vector<std::u16string> platformNames;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int64_t sizeValue = 0;
  std::vector<FieldPlacement> placements;
};

struct NamedSlot {
  std::u16string name;
  std::int32_t index = -1;
};

// The cubic cell of the sector grid: indexes of the objects that reach into it.
struct SectorCell {
  std::vector<std::int32_t> actors;
  std::vector<std::int32_t> doors;
  std::vector<std::int32_t> pickUps;
  std::vector<std::int32_t> zones;
  std::vector<std::int32_t> boundaries;
  std::vector<std::int32_t> lights;
  // Indexes into the map's tileCollisionEntries.
  std::vector<std::int32_t> tileEntries;
};

// A solid part of the map's tiles, kept in the sector grid so that move and
// line tests look only at the tiles near them.
struct TileCollisionEntry {
  CollisionShape shape;
  std::int32_t x = 0, y = 0, z = 0;  // placement of the shape, pixels
  std::int32_t quarterTurns = 0;     // turned about the centre of its tile
  std::uint8_t groundOnly = 0;       // stops only movers of move mode 1; never painted
  bool inUse = false;                // false: a free slot of the pool
  // The tile cell whose build added the entry.
  std::int32_t cellX = 0, cellY = 0, cellLayer = 0;
  Box box;  // around the entry as placed
  // The sectors it was entered into (inclusive ranges).
  std::int32_t sectorLeft = 0, sectorTop = 0, sectorFront = 0;
  std::int32_t sectorRight = -1, sectorBottom = -1, sectorBack = -1;
};

struct SectorGrid {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t levels = 0;
  std::vector<SectorCell> cells;
  // How far (pixels) the box of any tile entry reaches past the sectors it is
  // listed in: a query need look no further than that around its box.
  std::int32_t tileEntryReach = 0;

  SectorCell& At(std::int32_t column, std::int32_t row, std::int32_t level);
};

// Run-time state of a map that only saves carry.
struct MapSavedState {
  std::uint8_t stateByte = 0;
  std::int32_t focusedField = -1;
  std::int32_t stateValue1 = 0;
  std::int32_t stateValue2 = 0;
  // Then three values the Map holds by its own names: overlayActive (Byte),
  // orderNumber (Long) and exclusive (Integer), so that a loaded game shows
  // the interfaces it showed, in their order.
  // The pan of a map, which is an interface's position on the screen (pixels).
  float screenOffsetX = 0.0f;
  float screenOffsetY = 0.0f;
  std::int32_t stateValue6 = 0;
  std::int16_t stateFlag2 = 0;
  std::int16_t stateFlag3 = 0;
};

inline constexpr int kMapEventScriptCount = 6;

// One view field that shows a map: its focus and where the field lives.
struct MapViewEntry {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  std::int32_t interfaceMap = -1;
  std::int32_t field = -1;
};

struct Map {
  // Header section.
  Identifier id;
  LinkedMapReference linkedMap;
  std::u16string fileName;
  std::u16string fileName2;
  std::u16string displayName;
  std::u16string displayNameWorking;
  std::int32_t headerValue = 0;
  std::vector<ScriptVariable> properties;
  std::int32_t width = -1;  // last tile column
  std::int32_t height = -1;
  std::int32_t layerCount = -1;  // last layer
  ByteGrid3 staticCollision;
  ByteGrid3 workingCollision;
  std::array<TileLayerGroup, kTileLayerGroupCount> tileLayerGroups;
  CornerColorGrid lightGrid;
  CellLightGrid cellLights;
  std::int32_t animClock = 0;  // milliseconds; animated tiles follow it

  // Flags that loading resets.
  bool keptById = false;
  bool mapDataPrepared = false;
  bool sectorGridBuilt = false;
  bool loadFlag = false;
  std::uint8_t loadByte = 1;
  // 1 while a start interface is shown as an overlay.
  std::uint8_t overlayActive = 0;
  // A reload the world update performs: bit 0 requested, bit 1 skip the entry
  // trigger, bit 2 the load flag. Run time, never stored.
  std::uint8_t pendingReload = 0;

  // Run-time values of the world update and the frame, never stored.
  std::uint8_t shownNow = 0;     // some view field shows the map
  std::uint8_t shownBefore = 0;  // shownNow as the last refresh left it
  std::int32_t runningTime = 0;  // ms the map has been active
  std::vector<MapViewEntry> viewList;  // one per view field showing the map, rebuilt every tick
  bool exclusive = false;   // shown as an exclusive overlay: interfaces under it take no input
  bool inputBlock = false;  // the interface takes no input of its own
  std::int32_t layerNumber = 0;  // drawing order of interfaces: layer, then order, then index
  std::int32_t orderNumber = 0;
  std::int32_t defaultView = 0;  // screen view a view field takes when the map becomes shown
  // The views of the map may scroll beyond its edges (a camera setting, never stored).
  std::uint8_t freeScroll = 0;

  // Properties section; letters name values whose users lie in drawing, weather and scripts.
  std::uint8_t mapByteA = 0;
  bool isInterface = false;
  std::int32_t designWidth = 0;
  std::int32_t designHeight = 0;
  std::uint32_t ambientColor = 0;
  std::array<float, 4> ambientFactors{};  // red, green, blue, and the fourth factor
  std::int32_t mapValueB = 0;
  std::uint8_t mapByteA2 = 1;
  std::int32_t soundSet = -1;
  Identifier soundSetId;
  float mapValueC = 0.0f;
  float mapValueD = 0.0f;
  std::array<SetReference, 3> setReferences;
  float mapValueE = 0.0f;
  float mapValueF = 0.0f;
  float mapValueG = 0.0f;
  std::uint8_t mapByteH = 0;
  std::uint8_t mapByteI = 0;
  std::uint8_t mapByteK = 0;
  std::uint8_t mapByteJ = 0;
  float mapValueL = 0.0f;
  SetReference setReference4;
  float mapValueM = 0.0f;
  float mapValueN = 0.0f;
  float mapValueO = 0.0f;
  float mapValueP = 0.0f;
  std::uint8_t mapByteQ = 0;
  std::uint8_t mapByteR = 0;
  std::uint8_t fogOn = 0;
  std::uint32_t fogColor = 0;
  float fogStart = 0.0f;
  float fogEnd = 0.0f;
  std::uint8_t mapByteS = 0;
  // Of an interface: the game's pause state (Main.Paused) at its last change,
  // which the interface's own updates follow. Maps keep what they were read with.
  std::uint8_t paused = 0;
  std::uint8_t mapByteU = 0;
  std::int32_t mapValueV = -1;
  std::int32_t mapValueW = -1;
  std::int32_t mapValueX = 0;
  std::int32_t mapValueY = 0;
  float mapFactorZ = 0.01f;
  Identifier furtherId;
  std::uint32_t backgroundColor1 = 0xFF000000;
  std::uint32_t backgroundColor2 = 0xFF000000;
  std::vector<BackgroundSprite> backgroundSprites1;
  std::vector<BackgroundSprite> backgroundSprites2;
  std::int32_t mapMode = 0;
  std::array<std::uint8_t, 6> flags{1, 1, 1, 1, 1, 1};
  std::array<NamedSlot, 4> namedSlots;
  std::vector<ScreenLayout> screenLayouts;
  std::int32_t chosenScreenLayout = -1;
  float mapValueAA = 0.0f;
  float mapValueAB = 0.0f;
  float mapValueAC = 0.0f;
  std::array<Script, kMapEventScriptCount> eventScripts;
  MapSavedState savedState;
  std::int32_t furtherMapIndex1 = -1;
  std::int32_t furtherMapIndex2 = -1;

  // Body: the object lists.
  std::vector<Door> doors;
  std::vector<Zone> zones;
  std::vector<CollisionShape> boundaries;
  std::vector<Actor> actors;
  std::vector<PickUp> pickUps;
  std::vector<Light> lights;
  std::vector<Speaker> speakers;
  std::vector<Projectile> projectiles;  // saves only
  std::vector<Spawn> spawns;
  std::vector<Field> fields;
  std::vector<PositionedText> positionedTexts;
  // Weather: placed anew by the weather placement, moved by the Cloud and Rain
  // systems, never stored. Last index = size - 1.
  std::vector<CloudParticle> clouds;
  std::vector<RainParticle> rainDrops;
  // The field indexes of the properties (-1 none): the selected field is the
  // saved focused field, the selection marker value V and the further field value W.
  std::int32_t& SelectedField() { return savedState.focusedField; }
  std::int32_t& SelectionMarkerField() { return mapValueV; }
  // An interface's screen position is the pan that saves carry.
  float& ScreenOffsetX() { return savedState.screenOffsetX; }
  float& ScreenOffsetY() { return savedState.screenOffsetY; }
  float ScreenOffsetX() const { return savedState.screenOffsetX; }
  float ScreenOffsetY() const { return savedState.screenOffsetY; }
  // The byte stored just before the music reference: non-zero, showing the map plays its music.
  bool MusicFlag() const { return mapByteA2 != 0; }
  std::int32_t& FurtherField() { return mapValueW; }
  // Of an interface with a scroll area: left, top, right, bottom in design
  // pixels; fields that scroll are drawn only with their anchor inside. All 0: none.
  std::array<std::int32_t, 4> scrollRect{};

  // Sector grid of 128-unit cells.
  SectorGrid sectorGrid;

  // Not stored in files.
  // Ground height per tile corner, (width + 2) x (height + 2) Singles, column
  // fastest; written by terraformation. Empty: flat.
  std::vector<float> heightGrid;
  std::uint8_t partyArrived = 0;
  // The tile collision entries that the sector grid indexes; slots whose
  // inUse is false are free and listed in freeTileEntries.
  std::vector<TileCollisionEntry> tileCollisionEntries;
  std::vector<std::int32_t> freeTileEntries;
  // Boxes and columns of the collision broad phase (data/broad_phase.h).
  MapBroadPhase broadPhase;
  // A request that every field of the interface evaluates its value scripts
  // in the next map-systems pass, which clears it.
  std::uint8_t refreshFields = 0;

  // The third of the six flag bytes: ground without height is flat.
  bool FlatGround() const { return flags[2] != 0; }
  // The map's force (gravity) per axis: map values AA, AB and AC.
  float MapForceX() const { return mapValueAA; }
  float MapForceY() const { return mapValueAB; }
  float MapForceZ() const { return mapValueAC; }
  // The field that holds the navigation cursor, -1 none (map value V).
  std::int32_t& CursorField() { return mapValueV; }

  // Interface focus: the cursor's offset from the selected field (map values X
  // and Y) and its glide speed in pixels per ms (factor Z); the distance the
  // gliding cursor still has to go (run time); a map that is reloaded from its
  // file whenever it is shown (run time, set by scripts).
  std::int32_t& CursorOffsetX() { return mapValueX; }
  std::int32_t& CursorOffsetY() { return mapValueY; }
  float& CursorSpeed() { return mapFactorZ; }
  std::int32_t cursorDistanceX = 0;
  std::int32_t cursorDistanceY = 0;
  std::uint8_t reloadOnShow = 0;
};

}  // namespace kiv
