#include "data/linking.h"

#include <string>
#include <utility>

#include "core/error.h"
#include "data/data_hooks.h"
#include "data/find_by_id.h"
#include "data/game_data.h"
#include "data/map_object_readers.h"
#include "data/project_state.h"
#include "data/template_application.h"

namespace kiv {

namespace {

void ResolvePlayerItem(InventoryEntry& entry) { ResolveRecordRef(entry.item, entry.itemId, gameData.items, true); }

}  // namespace

void RealignTemplateFlags(std::vector<TemplateFlag>& table) {
  const std::vector<TemplateFlag> old = std::move(table);
  const auto& templates = gameData.actorTemplates;
  const auto count = static_cast<std::int32_t>(templates.size());
  table.assign(templates.size(), TemplateFlag());
  std::vector<bool> listed(templates.size(), false);
  for (std::int32_t t = 0; t < count; ++t) {
    TemplateFlag& entry = table[static_cast<std::size_t>(t)];
    entry.id = templates[static_cast<std::size_t>(t)].id;
    for (const TemplateFlag& candidate : old) {
      if (IdEquals(candidate.id, entry.id)) {
        entry = candidate;
        listed[static_cast<std::size_t>(t)] = true;
        break;
      }
    }
  }
  for (std::int32_t t = 0; t < count; ++t) {
    if (listed[static_cast<std::size_t>(t)]) continue;
    // Up the parents, at most one step per template so that a loop ends.
    std::int32_t ancestor = TemplateParent(t);
    for (std::int32_t steps = 0; steps < count && ancestor >= 0 && ancestor < count; ++steps) {
      if (listed[static_cast<std::size_t>(ancestor)]) {
        table[static_cast<std::size_t>(t)].flag = table[static_cast<std::size_t>(ancestor)].flag;
        break;
      }
      ancestor = TemplateParent(ancestor);
    }
  }
}

void LinkItemSet(std::int32_t index) {
  Item& item = gameData.items.at(static_cast<std::size_t>(index));
  for (RecordReference& ref : item.spriteSets) ResolveSpriteSetRef(ref.index, ref.id);
  for (RecordReference& ref : item.sounds) ResolveSoundSetRef(ref.index, ref.id);
  ResolveEquipmentAreaRef(item.equipmentArea.index, item.equipmentArea.id);
  for (ItemSpriteLayer& layer : item.spriteLayers) {
    ResolveSpriteSetRef(layer.spriteSet.index, layer.spriteSet.id);
    for (ItemSpriteLayerPart& part : layer.parts) ResolveSpriteSetRef(part.spriteSet.index, part.spriteSet.id);
  }
  ResolveItemRef(item.linkedItem.index, item.linkedItem.id);
  RealignTemplateFlags(item.templateFlags);
}

void LinkTileSet(std::int32_t index) {
  TileSet& set = gameData.tileSets.at(static_cast<std::size_t>(index));
  for (Tile& tile : set.tiles) {
    ResolveTileSetRef(tile.linkedTileSet, tile.linkedTileSetId);
    for (TerraformRule& rule : tile.terraformRules) ResolveTileSetRef(rule.tileSet, rule.tileSetId);
  }
}

void LinkSpriteSet(std::int32_t index) {
  SpriteSet& set = gameData.spriteSets.at(static_cast<std::size_t>(index));
  for (SpriteLink& link : set.links) {
    ResolveSpriteSetRef(link.spriteSet, link.spriteSetId);
    if (link.spriteSet >= 0) link.name = gameData.spriteSets[static_cast<std::size_t>(link.spriteSet)].slot;
  }
  set.spriteSetMask.assign(gameData.spriteSets.size(), 0);
  for (const SpriteFlag& entry : set.spriteFlags) {
    if (entry.flag == 0) continue;
    const std::int32_t found = FindSpriteSetById(entry.id);
    if (found >= 0) set.spriteSetMask[static_cast<std::size_t>(found)] = 1;
  }
  RealignTemplateFlags(set.templateFlags);
}

void LinkMapObjects(std::int32_t mapIndex, bool isSave) {
  {
    Map& map = gameData.maps[mapIndex];
    for (SetReference& ref : map.setReferences) ResolveSpriteSetRef(ref.index, ref.id);
    ResolveSpriteSetRef(map.setReference4.index, map.setReference4.id);
  }
  dataHooks.InitMapWeather(mapIndex);
  {
    Map& map = gameData.maps[mapIndex];
    for (BackgroundSprite& sprite : map.backgroundSprites1) ResolveSpriteSetRef(sprite.spriteSet, sprite.spriteSetId);
    for (BackgroundSprite& sprite : map.backgroundSprites2) ResolveSpriteSetRef(sprite.spriteSet, sprite.spriteSetId);
  }
  // Template application may reach other maps: each actor is taken out of the
  // table while it is worked on, and the map is looked up again afterwards.
  for (std::size_t a = 0; a < gameData.maps[mapIndex].actors.size(); ++a) {
    Actor actor = std::move(gameData.maps[mapIndex].actors[a]);
    ApplyActorTemplate(actor, isSave, false);
    gameData.maps[mapIndex].actors[a] = std::move(actor);
  }
  Map& map = gameData.maps[mapIndex];
  for (std::size_t f = 0; f < map.fields.size(); ++f) {
    Field& field = map.fields[f];
    ResolveSpriteSetRef(field.spriteSet, field.spriteSetId);
    UpdateFieldLayout(map, mapIndex, static_cast<std::int32_t>(f));
  }
  for (PickUp& pickUp : map.pickUps) {
    ResolveSpriteSetRef(pickUp.spriteSet, pickUp.spriteSetId);
    ResolveItemRef(pickUp.items[0].item, pickUp.items[0].itemId);
    const std::int32_t first = pickUp.items[0].item;
    std::int32_t linked = -1;
    if (first >= 0) linked = gameData.items[static_cast<std::size_t>(first)].linkedItem.index;
    pickUp.items[1].item = linked >= 0 ? linked : -1;
    SetObjectCollisionBox(pickUp);
  }
  for (Zone& zone : map.zones) RealignTemplateFlags(zone.templateFlags);
}

void LinkPlayerItems(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(projectState.players.size())) {
    RaiseError(kErrIndex, "Subscript out of range: player " + std::to_string(index) + ".");
  }
  Player& player = projectState.players[static_cast<std::size_t>(index)];
  for (InventoryEntry& entry : player.items) ResolvePlayerItem(entry);
  for (PartyMember& member : player.party) {
    for (std::vector<InventoryEntry>& slot : member.levelMagic) {
      for (InventoryEntry& entry : slot) ResolvePlayerItem(entry);
    }
    for (InventoryEntry& entry : member.magic) ResolvePlayerItem(entry);
  }
}

}  // namespace kiv
