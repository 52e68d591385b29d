#include "support/sample_game.h"

#include <algorithm>
#include <vector>

#include "core/symbol_table.h"
#include "support/actor_template_writer.h"
#include "support/map_writer.h"
#include "support/sample_game_music.h"
#include "support/sample_game_scripts.h"
#include "support/sample_game_scripts_functions.h"
#include "support/sample_game_scripts_objects.h"
#include "support/sample_game_scripts_shell.h"
#include "support/sample_images.h"
#include "support/script_writer.h"
#include "support/set_writers.h"
#include "support/sound_set_writer.h"
#include "support/sprite_set_writer.h"
#include "support/state_block_writer.h"

namespace kiv::test {

namespace {

constexpr std::int32_t kVersion = 100790;

// Movement words of a route: step one cell and face that way; a wait of n ms.
constexpr std::int32_t kStepUp = 0x13, kStepDown = 0x103;
constexpr std::int32_t kWait = static_cast<std::int32_t>(0x80000000u);
// Pixels per ms the sample's characters walk.
constexpr float kSampleWalkSpeed = 0.06f;
// An input step that fires when its key goes down.
constexpr std::int32_t kInputKeyboard = 2, kInputOnPress = 0x200;
// The tile of the sample's tile set that is a wall.
constexpr std::uint8_t kWallTile = 4;
// The figure's footprint around its feet.
const CollisionBox kSampleFootprint{-10, -6, 10, 6, 0, 40, {}};

// A character casts a soft shadow and walks at the sample's pace.
void CastsShadow(Actor& actor) {
  actor.shadow = 1;
  actor.shadowColor = 0x70000000;
  actor.speed = kSampleWalkSpeed;
}

Identifier IdOf(std::uint8_t value) {
  Identifier id;
  IdFill(id, value);
  return id;
}

// A numbered identifier: kind byte, then the number.
Identifier NumberedId(std::uint8_t kind, std::int32_t number) {
  Identifier id = IdOf(kind);
  id.bytes[1] = static_cast<std::uint8_t>(number);
  id.bytes[2] = static_cast<std::uint8_t>(number >> 8);
  return id;
}

// A script stored as its text in the form before the compiled one, which
// the loader compiles.
ScriptFixture TextScript(const std::u16string& text) {
  ScriptFixture script;
  script.version = 100017;
  script.shortForm = false;
  script.text = text;
  return script;
}

SampleScriptCompiler sampleScriptCompiler = nullptr;

// A script of the internal-command examples: compiled when a compiler is set.
Script ExampleScript(const std::u16string& text) {
  if (sampleScriptCompiler != nullptr) return sampleScriptCompiler(text);
  Script script;
  script.text = text;
  return script;
}

// With pictures, printable ASCII on the sample's glyph sheet; otherwise the
// capitals as glyph cells without an image.
ByteList FontBytes(const Identifier& id, bool pictures = false) {
  FontSetFixture font;
  font.id = id;
  font.name = u"Plain";
  if (pictures) {
    const auto sheet = static_cast<float>(kSampleFontSheetSize);
    font.textureWidth = font.textureHeight = kSampleFontSheetSize;
    font.image = EmbeddedImage(SampleFontSheet());
    for (char16_t c = kSampleFirstGlyph; c <= kSampleLastGlyph; ++c) {
      const std::int32_t n = c - kSampleFirstGlyph;
      font.glyphs.push_back({static_cast<std::int16_t>(c),
                             static_cast<float>(n % kSampleGlyphColumns * kSampleGlyphWidth) / sheet,
                             static_cast<float>(n / kSampleGlyphColumns * kSampleGlyphHeight) / sheet,
                             static_cast<float>(SampleGlyphAdvance(c)) / sheet,
                             static_cast<float>(kSampleGlyphHeight) / sheet});
    }
    return FontSetFileBytes(font);
  }
  for (char16_t c = u'A'; c <= u'Z'; ++c) {
    const float u = static_cast<float>(c - u'A') / 32.0f;
    font.glyphs.push_back({static_cast<std::int16_t>(c), u, 0.0f, 1.0f / 32.0f, 0.125f});
  }
  return FontSetFileBytes(font);
}

// A frame of width x height pixels cut from the whole of image 0 (or, with
// cells, from cell `cell` of `cells` side by side).
FrameGroupFixture WholeImageFrame(std::int32_t width, std::int32_t height, std::int32_t cell = 0,
                                  std::int32_t cells = 1) {
  FrameFixture frame;
  frame.values[0] = 0;  // image
  frame.values[1] = width * cell;
  frame.values[3] = width;
  frame.values[4] = height;
  frame.texture[0] = static_cast<float>(cell) / static_cast<float>(cells);
  frame.texture[2] = static_cast<float>(cell + 1) / static_cast<float>(cells);
  frame.texture[3] = 1.0f;
  FrameGroupFixture group;
  group.frames = {frame};
  group.cellWidth = width;
  group.cellHeight = height;
  return group;
}

// Four ground tiles; with pictures, tile i shows cell i of one sheet.
ByteList TileSetBytes(const Identifier& id, const std::u16string& name, bool pictures = false) {
  TileSetFixture tiles;
  tiles.id = id;
  tiles.name = name;
  tiles.displayName = name;
  tiles.tiles.resize(kSampleTileCount);
  tiles.tiles[0].name = u"Grass";
  tiles.tiles[1].name = u"Sand";
  tiles.tiles[2].name = u"Stone";
  tiles.tiles[3].name = u"Water";
  tiles.tiles[4].name = u"Wall";
  if (pictures) {
    tiles.images = {EmbeddedImage(SampleTileSheet())};
    for (std::int32_t t = 0; t < kSampleTileCount; ++t) {
      tiles.groups.push_back(WholeImageFrame(kSampleTileSize, kSampleTileSize, t, kSampleTileCount));
      TileFixture& tile = tiles.tiles[static_cast<std::size_t>(t)];
      tile.frameGroup = t;
      tile.colorA = tile.colorB = 0xFFFFFFFF;  // untinted
    }
    // The wall stands upright on its cell and fills it.
    tiles.tiles[kWallTile].shape = 2;
    tiles.tiles[kWallTile].collision.rectangles = {CollisionBox{0, 0, 32, 32, 0, 32, {}}};
  }
  return TileSetFileBytes(tiles);
}

// A sprite set whose default pose shows one picture in every direction: one
// layer and one frame whose part centres the picture on the set's origin, or
// with `standing` puts the origin at its feet and gives it a footprint.
ByteList PictureSpriteSetBytes(const Identifier& id, const std::u16string& name, const ByteList& image,
                               std::int32_t width, std::int32_t height, bool standing = false) {
  SpriteSetFixture sprite;
  sprite.id = id;
  sprite.name = name;
  sprite.displayName = name;
  SpriteLayerFixture layer;
  layer.images = {EmbeddedImage(image)};
  layer.groups = {WholeImageFrame(width, height)};
  FramePartFixture part;
  part.kind = 0;  // draws layer 0
  part.index = 0;
  if (standing) {
    part.y = -height / 2;
    sprite.flags = 0x10;  // the picture stays upright whatever way the figure faces
    // The flattened shadow (half the height) is moved down to lie in front
    // of the feet, where the figure does not cover it.
    layer.valueK = height / 2;
  }
  for (SpriteDirectionFixture& direction : sprite.poses[0].directions) {
    direction.layers = {layer};
    direction.frames = {{part}};
    if (standing) direction.collision.rectangles = {kSampleFootprint};
  }
  return SpriteSetFileBytes(sprite);
}

ByteList SpriteSetBytes(const Identifier& id, const std::u16string& name, bool pictures = false) {
  if (pictures)
    return PictureSpriteSetBytes(id, name, SampleFigure(), kSampleFigureWidth, kSampleFigureHeight, true);
  SpriteSetFixture sprite;
  sprite.id = id;
  sprite.name = name;
  sprite.displayName = name;
  return SpriteSetFileBytes(sprite);
}

// With pictures, the upright door image holds a door in its first cell.
ByteList DoorSetBytes(const Identifier& id, bool pictures = false) {
  DoorSetFixture door;
  door.id = id;
  if (pictures) door.images[1] = EmbeddedImage(SampleDoorSheet());
  return DoorSetFileBytes(door);
}

// With pictures, the item lies on the map as a coin.
ByteList ItemBytes(const Identifier& id, const Identifier& spriteId, const std::u16string& name,
                   bool pictures = false) {
  ItemFixture item;
  item.id = id;
  item.name = name;
  item.displayName = name;
  item.spriteSetIds[0] = spriteId;
  if (pictures) item.picture = EmbeddedImage(SampleCoin());
  return ItemFileBytes(item);
}

ByteList TemplateBytes(const Identifier& id, const Identifier& spriteId, const std::u16string& name) {
  ActorTemplateFixture guard;
  guard.id = id;
  guard.name = name;
  guard.mergeFlag = 1;
  guard.deferFlag = 0;
  guard.derived.name = name;
  guard.derived.parts.resize(1);
  guard.derived.parts[0].slot = SymbolIntern(u"Body");
  guard.derived.parts[0].spriteSetId = spriteId;
  guard.derived.parts[0].spriteSet = -2;
  guard.derived.statistics.resize(1);
  guard.derived.statistics[0].baseValue = 5;
  guard.derived.statistics[0].currentValue = 5;
  guard.derived.experience = 10;
  CastsShadow(guard.derived);
  guard.base = guard.derived;
  return ActorTemplateFileBytes(guard);
}

// The walking input set: each press of an arrow key steps the controlled
// character one step (32 pixels) that way.
ByteList InputSetBytes(const Identifier& id) {
  InputSetFixture keys;
  keys.id = id;
  keys.alwaysOn = 1;
  struct Arrow {
    std::int32_t key;  // key code
    const char16_t* direction;
  };
  for (const Arrow& arrow : {Arrow{203, u"Left"}, Arrow{200, u"Up"}, Arrow{205, u"Right"}, Arrow{208, u"Down"}}) {
    InputEntryFixture entry;
    entry.script = TextScript(u"Actor(\"main\").MoveDirection(\"" + std::u16string(arrow.direction) + u"\", 32, 1)");
    InputStepFixture step;
    step.flags = kInputOnPress | kInputKeyboard;
    step.value = arrow.key;
    entry.steps = {step};
    keys.entries.push_back(entry);
  }
  return InputSetFileBytes(keys);
}

ByteList CustomEventBytes(const Identifier& id) {
  CustomEventFixture event;
  event.id = id;
  event.name = u"Alarm";
  event.script = CompiledScriptFixture(ExampleScript(SampleAlarmScript()));
  event.parameters = {{u"Loudness", u"Number"}};
  return CustomEventFileBytes(event);
}

ByteList SoundSetBytes(const Identifier& id) {
  SoundSetFixture sound;
  sound.id = id;
  sound.name = u"Bell";
  // Two variations of eight bytes each; only their place in the package matters here.
  sound.variations = {ByteList(8, 0x11), ByteList(8, 0x22)};
  return MakeSoundSetFile(kVersion, sound);
}

// A map of width x height tiles (last column and row) whose ground group names
// the tile set in slot 1 and fills every cell with tile (x + y) mod 4.
MapFixture TiledMap(const Identifier& id, const Identifier& tilesId, std::int32_t width, std::int32_t height) {
  MapFixture map;
  map.id = id;
  map.width = width;
  map.height = height;
  map.layerCount = 0;
  // Fog begins beyond the views' camera distance of 1000, so the ground shows
  // with a light haze towards the far edge instead of the fog colour alone.
  map.fogStart = 1100.0f;
  map.fogEnd = 2400.0f;
  // A sky-to-grass backdrop, so a view of the map is told from the black around it.
  map.backgroundColor1 = 0xFF5080C0;
  map.backgroundColor2 = 0xFF407030;
  // Opaque daylight, so the ground hides the backdrop, and no force: characters
  // stay where they are put.
  map.ambientColor = 0xFFA0A0A0;
  map.valuesAA = {0.0f, 0.0f, 0.0f};
  const auto cells = static_cast<std::size_t>((width + 1) * (height + 1));
  for (std::size_t g = 0; g < map.groups.size(); ++g) {
    map.groups[g].slotGrid.assign(cells, 0);
    map.groups[g].tileGrid.assign(cells, 0);
  }
  map.groups[0].slotIds = {tilesId};
  for (std::int32_t y = 0; y <= height; ++y) {
    for (std::int32_t x = 0; x <= width; ++x) {
      const auto cell = static_cast<std::size_t>(y * (width + 1) + x);
      map.groups[0].slotGrid[cell] = 1;
      map.groups[0].tileGrid[cell] = static_cast<std::uint8_t>((x + y) % 4);
    }
  }
  return map;
}

Actor PlacedActor(const std::u16string& name, float x, float y, const Identifier& templateId,
                  const Identifier& spriteId) {
  Actor actor;
  CastsShadow(actor);
  actor.name = name;
  actor.displayName = name;
  actor.x = x;
  actor.y = y;
  actor.templateId = templateId;
  actor.parts.resize(1);
  actor.parts[0].slot = SymbolIntern(u"Body");
  actor.parts[0].spriteSetId = spriteId;
  return actor;
}

// A trigger of the event an actor raises when its map is loaded.
Trigger LoadedTrigger(const std::u16string& text) {
  Trigger trigger;
  trigger.event = SymbolIntern(u"Trigger.Actor.Loaded");
  trigger.script = ExampleScript(text);
  return trigger;
}

PickUp PlacedPickUp(float x, float y, const Identifier& spriteId, const Identifier& itemId) {
  PickUp pickUp;
  pickUp.x = x;
  pickUp.y = y;
  pickUp.color = 0xFFFFFFFF;
  pickUp.spriteSetId = spriteId;
  pickUp.items[0].itemId = itemId;
  pickUp.items[0].quantity = 1;
  return pickUp;
}

Light PlacedLight(const std::u16string& name, float x, float y, std::int32_t radius = 192) {
  Light light;
  light.name = name;
  light.displayName = name;
  light.x = x;
  light.y = y;
  light.radius = radius;
  light.red = 255;
  light.green = 220;
  light.blue = 160;
  light.enabled = 1;
  return light;
}

Field TextField(const std::u16string& name, const std::u16string& text, float x, float y,
                const Identifier& fontId) {
  Field field;
  field.name = name;
  field.displayName = name;
  field.x = x;
  field.y = y;
  field.width = 200;
  field.height = 24;
  field.value1 = Variant::Text(text);
  field.fontSetId = fontId;
  // White fading to pale gold, over a dark shadow.
  field.colorsA.fill(0xFFFFFFFF);
  field.colorsB.fill(0xFFFFE890);
  field.colorsC.fill(0xC0000000);
  return field;
}

// A view of the map of player 0, following the character the player controls.
Field ViewField(const std::u16string& name, float x, float y, float width, float height) {
  Field field;
  field.name = name;
  field.displayName = name;
  field.kind = 6;
  field.x = x;
  field.y = y;
  field.width = width;
  field.height = height;
  field.view.followedPlayer = 0;
  field.view.ownMap = -1;
  return field;
}

ByteList TownBytes(const SampleGameIds& ids) {
  MapFixture town = TiledMap(ids.town, ids.tiles, 15, 11);
  town.displayName = u"Town";
  town.eventScripts = {TextScript(u"Exit"), TextScript(u"Exit")};
  town.body.actors = {PlacedActor(u"Hero", 64, 64, Identifier(), ids.sprite),
                      PlacedActor(u"Guard", 200, 96, ids.guard, ids.sprite),
                      PlacedActor(u"Guard 2", 272, 112, ids.guard, ids.sprite)};
  town.body.actors[0].teamId = ids.team;
  town.body.actors[0].triggers = {LoadedTrigger(SampleHeroLoadedScript()), LoadedTrigger(SampleMusicScript()),
                                  LoadedTrigger(SampleFunctionsScript())};
  town.body.actors[1].triggers = {LoadedTrigger(SampleGuardLoadedScript())};
  town.body.actors[2].triggers = {LoadedTrigger(SampleObjectsScript())};
  // A low wall to the hero's left, in the first column: walking left, the
  // hero stops at it.
  town.groups[1].slotIds = {ids.tiles};
  for (std::int32_t y = 0; y <= 4; ++y) {
    const auto cell = static_cast<std::size_t>(y * (town.width + 1));
    town.groups[1].slotGrid[cell] = 1;
    town.groups[1].tileGrid[cell] = kWallTile;
  }
  // The guard paces two steps down and back on its own; the second walks
  // into the cellar door, which swings open for it.
  town.body.actors[1].route = {kStepDown, kStepDown, kWait | 300, kStepUp, kStepUp, kWait | 300};
  town.body.actors[2].route = {kStepDown, kStepDown, kStepDown, kWait | 600};
  town.setIds[0] = ids.cloud;
  town.cloudDensity = 0.012f;  // five clouds on 800 x 600
  town.rainSetId = ids.drop;
  town.rainDensity = 0.15f;
  town.cloudAlphas = {150, 200};
  town.rainAlphas = {140, 200};
  Door door;
  door.name = u"Cellar door";
  door.displayName = u"Cellar door";
  door.x = 256;
  door.y = 128;
  door.doorSetId = ids.door;
  door.openStyle = 1;  // swings open on its left hinge
  door.target.name = u"Cellar";
  town.body.doors = {door};
  Zone zone;
  zone.name = u"Market";
  zone.displayName = u"Market";
  zone.keptShape.rectangles = {CollisionBox{0, 0, 128, 128, 0, 64, {}}};
  zone.target.name = u"Town";
  town.body.zones = {zone};
  town.body.pickUps = {PlacedPickUp(96, 160, ids.sprite, ids.item), PlacedPickUp(160, 160, Identifier(), ids.item)};
  town.body.lights = {PlacedLight(u"Lamp", 128, 128, 224), PlacedLight(u"Torch", 360, 64, 160)};
  return MapFileBytes(town);
}

ByteList CellarBytes(const SampleGameIds& ids) {
  MapFixture cellar = TiledMap(ids.cellar, ids.tiles, 7, 7);
  cellar.displayName = u"Cellar";
  cellar.body.lights = {PlacedLight(u"Candle", 32, 32, 128)};
  return MapFileBytes(cellar);
}

ByteList HudBytes(const SampleGameIds& ids) {
  MapFixture hud;
  hud.id = ids.hud;
  hud.isInterface = true;
  hud.width = -1;
  hud.height = -1;
  hud.layerCount = -1;
  hud.designWidth = 800;
  hud.designHeight = 600;
  hud.fogOn = 0;  // an interface has no depth to fog
  hud.ambientColor = 0xFFFFFFFF;  // fields drawn in their own colours
  hud.displayName = u"Hud";
  hud.body.fields = {TextField(u"Title", u"SAMPLE", 16, 16, ids.font), TextField(u"Score", u"SCORE", 16, 48, ids.font),
                     ViewField(u"World", 16, 80, 768, 504)};
  return MapFileBytes(hud);
}

// The project state: a statistic, an equipment area, one player whose party
// is one hero carrying the sample's item, a team, a global of each kind and a
// load script.
ByteList ProjectStateBytesOf(const SampleGameIds& ids) {
  StateBlockFixture state;
  state.settings.templateName = u"Blank";
  state.settings.startMap = u"Town";
  state.settings.hudInterface = u"Hud";
  state.settings.setIds[0] = ids.keys;  // the walking input set
  // The party starts in the Town, two cells right of the wall.
  state.settings.start = {96, 96, 0};
  // Message boxes: a dark blue window with a pale frame; white text fading
  // to pale blue; items white, the selected one gold.
  state.settings.messageBoxDefaults = {static_cast<std::int32_t>(0xE0203050), static_cast<std::int32_t>(0xFFE0E8FF),
                                       static_cast<std::int32_t>(0xFFFFFFFF), static_cast<std::int32_t>(0xFFC8D8FF),
                                       static_cast<std::int32_t>(0xC0000000), static_cast<std::int32_t>(0xFFFFFFFF),
                                       static_cast<std::int32_t>(0xFFD0D0D0), static_cast<std::int32_t>(0xFF8090C0),
                                       static_cast<std::int32_t>(0xFFFFFF80), static_cast<std::int32_t>(0xFFFFD040),
                                       static_cast<std::int32_t>(0xFFFFE060), static_cast<std::int32_t>(0xFFFFFFFF),
                                       112, 113};
  state.statistics = {{IdOf(0xD0), u"HP", u"Hit points", u"Number"}};
  state.equipmentAreas = {{IdOf(0xD1), u"Hands", u"Hands", 0}};
  PartyMemberFixture hero;
  hero.firstLevel = 1;
  hero.lastLevel = 2;
  hero.statisticRows = {{IdOf(0xD0), {20, 30}}};
  hero.levelItems = {{ids.item}, {}};
  hero.actor.name = u"Hero";
  hero.actor.displayName = u"Hero";
  // Drawn as a villager, with a shadow, at the sample's walking pace.
  hero.actor.parts.resize(1);
  hero.actor.parts[0].slot = SymbolIntern(u"Body");
  hero.actor.parts[0].spriteSetId = ids.sprite;
  CastsShadow(hero.actor);
  PlayerFixture player;
  player.money = 500000;  // 50 in ten-thousandths
  player.items = {{ids.item, 3, 0}};
  player.party = {hero};
  state.players = {player};
  state.teams = {{ids.team, u"Heroes", {1}}};
  state.systemScripts[9] = EditorScriptNaming({u"Exit"});
  GlobalListsFixture globals;
  globals.variables = {{u"Gold", Variant::Long(50)}};
  globals.switches = {{u"DoorOpen", -1}};
  globals.collections = {{u"Visited", {Variant::Text(u"Town")}}};
  globals.tables = {{u"Board", 1, 0, 0, {Variant::Long(1), Variant::Long(2)}}};
  state.globalLists = GlobalListsBytes(kVersion, globals);
  return ProjectStateBytes(kVersion, state);
}

}  // namespace

SampleGameIds::SampleGameIds()
    : font(IdOf(0x10)),
      tiles(IdOf(0x20)),
      sprite(IdOf(0x30)),
      sound(IdOf(0x40)),
      door(IdOf(0x50)),
      item(IdOf(0x60)),
      guard(IdOf(0x70)),
      keys(IdOf(0x80)),
      event(IdOf(0x90)),
      town(IdOf(0xA0)),
      hud(IdOf(0xB0)),
      cellar(IdOf(0xC0)),
      team(IdOf(0xD2)),
      cloud(IdOf(0x31)),
      drop(IdOf(0x32)) {}

void SetSampleScriptCompiler(SampleScriptCompiler compiler) { sampleScriptCompiler = compiler; }

PackageWriter SampleGamePackage() {
  const SampleGameIds ids;
  PackageWriter writer;
  // Entries in case-insensitive name order, as the editor writes them.
  writer.AddCompressed("0.kat", TemplateBytes(ids.guard, ids.sprite, u"Guard"));
  writer.AddCompressed("0.kce", CustomEventBytes(ids.event));
  writer.AddCompressed("0.kdo", DoorSetBytes(ids.door, true));
  writer.AddCompressed("0.kfo", FontBytes(ids.font, true));
  writer.AddCompressed("0.kin", InputSetBytes(ids.keys));
  writer.AddCompressed("0.kit", ItemBytes(ids.item, ids.sprite, u"Coin", true));
  writer.AddStored("0.kso", SoundSetBytes(ids.sound));  // sound sets stay uncompressed
  writer.AddCompressed("0.ksp", SpriteSetBytes(ids.sprite, u"Villager", true));
  writer.AddCompressed("0.kts", TileSetBytes(ids.tiles, u"Meadow", true));
  writer.AddStored("1.kso", SampleChimeSoundBytes(IdOf(0x41)));  // the Town's music
  // Weather of the Town: a few clouds and a light rain.
  writer.AddCompressed("1.ksp", PictureSpriteSetBytes(ids.cloud, u"Cloud", SampleCloud(), kSampleCloudWidth,
                                                      kSampleCloudHeight));
  writer.AddCompressed("2.ksp", PictureSpriteSetBytes(ids.drop, u"Drop", SampleDrop(), kSampleDropWidth,
                                                      kSampleDropHeight));
  writer.AddCompressed("Cellar.kmp", CellarBytes(ids));
  writer.AddCompressed("DATA.INI", BytesOf("[Main Menu]\r\n"
                                           "Caption Title=Welcome to the Sample Game!\r\n"
                                           "Start New Game=Start New Game\r\n"
                                           "Load Saved Game=Load Saved Game\r\n"
                                           "Website=#\r\n"
                                           "Quit=Quit Sample Game\r\n"
                                           "Video Width=800\r\n"
                                           "Video Height=600\r\n"));
  writer.AddCompressed("Hud.kui", HudBytes(ids));
  writer.AddCompressed("INTRO.kst", ProjectStateBytesOf(ids));
  writer.AddCompressed("S0.bmp", SampleWindowSkin());  // the message boxes' window skin
  writer.AddCompressed("Town.kmp", TownBytes(ids));
  return writer;
}

bool IsSampleSetEntry(const std::string& name) {
  static const std::vector<std::string> kSetExtensions = {".kat", ".kce", ".kdo", ".kfo", ".kin",
                                                          ".kit", ".kso", ".ksp", ".kts"};
  return std::any_of(kSetExtensions.begin(), kSetExtensions.end(), [&name](const std::string& extension) {
    return name.size() > extension.size() && name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  });
}

PackageWriter GeneratedGamePackage(std::int32_t setCount, std::int32_t mapCount) {
  // The sets are spread over the kinds in this proportion.
  struct Kind {
    const char* extension;
    std::int32_t share;
  };
  static constexpr Kind kKinds[] = {{"kts", 4}, {"ksp", 4}, {"kit", 4}, {"kdo", 3}, {"kfo", 2},
                                    {"kin", 1}, {"kat", 1}, {"kce", 1}};
  std::int32_t shares = 0;
  for (const Kind& kind : kKinds) shares += kind.share;
  PackageWriter writer;
  std::int32_t written = 0;
  for (std::size_t k = 0; k < std::size(kKinds); ++k) {
    const Kind& kind = kKinds[k];
    const bool last = k + 1 == std::size(kKinds);
    const std::int32_t count = last ? setCount - written : setCount * kind.share / shares;
    written += count;
    for (std::int32_t n = 0; n < count; ++n) {
      const std::string name = std::to_string(n) + "." + kind.extension;
      const std::string extension = kind.extension;
      const Identifier id = NumberedId(static_cast<std::uint8_t>(0x10 + k), n);
      const Identifier spriteId = NumberedId(0x11, 0);
      ByteList bytes;
      if (extension == "kts") bytes = TileSetBytes(id, u"Tiles");
      if (extension == "ksp") bytes = SpriteSetBytes(id, u"Sprite");
      if (extension == "kit") bytes = ItemBytes(id, spriteId, u"Item");
      if (extension == "kdo") bytes = DoorSetBytes(id);
      if (extension == "kfo") bytes = FontBytes(id);
      if (extension == "kin") bytes = InputSetBytes(id);
      if (extension == "kat") bytes = TemplateBytes(id, spriteId, u"Template");
      if (extension == "kce") bytes = CustomEventBytes(id);
      writer.AddCompressed(name, bytes);
    }
  }
  const Identifier tilesId = NumberedId(0x10, 0);
  const Identifier spriteId = NumberedId(0x11, 0);
  const Identifier itemId = NumberedId(0x12, 0);
  const Identifier templateId = NumberedId(0x16, 0);
  for (std::int32_t m = 0; m < mapCount; ++m) {
    MapFixture map = TiledMap(NumberedId(0xA0, m), tilesId, 31, 31);
    for (std::int32_t a = 0; a < 8; ++a) {
      map.body.actors.push_back(PlacedActor(u"Actor", 32.0f * a, 64, templateId, spriteId));
      map.body.pickUps.push_back(PlacedPickUp(32.0f * a, 128, spriteId, itemId));
      map.body.lights.push_back(PlacedLight(u"Light", 32.0f * a, 256));
    }
    writer.AddCompressed("Map" + std::to_string(m) + ".kmp", MapFileBytes(map));
  }
  return writer;
}

}  // namespace kiv::test
