#include "world/sprite_layers.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/quick_sort.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "world/actor_pose.h"

namespace kiv {

namespace {

constexpr std::int32_t kLastColourIndexLimit = 7;

const SpriteSet& SpriteSetAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.spriteSets.size())
    RaiseError(kErrIndex, "Subscript out of range: sprite set " + std::to_string(index) + ".");
  return gameData.spriteSets[static_cast<std::size_t>(index)];
}

const Item& ItemAt(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= gameData.items.size())
    RaiseError(kErrIndex, "Subscript out of range: item " + std::to_string(index) + ".");
  return gameData.items[static_cast<std::size_t>(index)];
}

// The sprites that the item in one equipment area gives for the body set.
void AddItemLayers(Actor& character, std::int32_t area, const Item& item, std::int32_t body) {
  const std::int32_t bodySlot = objectDefaults.appearanceSlots[0];
  for (std::size_t j = 0; j < item.spriteLayers.size(); ++j) {
    const ItemSpriteLayer& entry = item.spriteLayers[j];
    if (entry.spriteSet.index != body) continue;
    for (std::size_t k = 0; k < entry.parts.size(); ++k) {
      const ItemSpriteLayerPart& part = entry.parts[k];
      if (part.spriteSet.index < 0) continue;
      const SpriteSet& set = SpriteSetAt(part.spriteSet.index);
      if (set.slot == bodySlot) continue;  // an item never redraws the body itself
      for (std::int32_t order : SpritePartOrders(set)) {
        CharacterLayer layer;
        layer.layerSpriteSet = part.spriteSet.index;
        layer.colour = ItemSpritePartColour(part);
        layer.order = order;
        layer.colourIndex = 0;
        layer.source = static_cast<std::int32_t>(k);
        layer.area = area;
        layer.itemSprite = static_cast<std::int32_t>(j);
        character.characterLayers.push_back(layer);
      }
    }
  }
}

// True when a layer already in the list dresses the slot.
bool SlotDressed(const Actor& character, std::int32_t slot) {
  for (const CharacterLayer& layer : character.characterLayers) {
    if (SpriteSetAt(layer.layerSpriteSet).slot == slot) return true;
  }
  return false;
}

void AddAppearanceLayers(Actor& character, std::int32_t partIndex) {
  const AppearancePart& part = character.parts[static_cast<std::size_t>(partIndex)];
  const SpriteSet& set = SpriteSetAt(part.spriteSet);
  const std::int32_t hiddenBy = SpriteHiddenBySlot(set);
  if (hiddenBy != 0 && SlotDressed(character, hiddenBy)) return;
  const std::int32_t lastColour = SpriteLastColourIndex(set);
  if (lastColour > kLastColourIndexLimit)
    RaiseError(kErrIndex, "Subscript out of range: colour index " + std::to_string(lastColour) + ".");
  for (std::int32_t order : SpritePartOrders(set)) {
    for (std::int32_t k = 0; k <= lastColour; ++k) {
      CharacterLayer layer;
      layer.layerSpriteSet = part.spriteSet;
      layer.colour = part.colors[static_cast<std::size_t>(k)];
      layer.order = order;
      layer.colourIndex = k;
      layer.source = partIndex;
      layer.area = -1;
      character.characterLayers.push_back(layer);
    }
  }
}

bool SetHasDeathPose(const SpriteSet& set) {
  if (static_cast<std::int32_t>(set.poses.size()) <= kPoseDead) return false;
  for (const SpriteDirection& direction : set.poses[static_cast<std::size_t>(kPoseDead)].directions) {
    if (DirectionLastFrame(direction) >= 0) return true;
  }
  return false;
}

}  // namespace

void RebuildSpriteLayers(Actor& character) {
  character.characterLayers.clear();
  const std::int32_t body = character.parts.empty() ? -1 : character.parts[0].spriteSet;
  if (body >= 0) {
    for (std::size_t area = 0; area < character.equipment.size(); ++area) {
      const std::int32_t item = character.equipment[area].item;
      if (item < 0) continue;
      AddItemLayers(character, static_cast<std::int32_t>(area), ItemAt(item), body);
    }
  }
  for (std::size_t i = 0; i < character.parts.size(); ++i) {
    if (character.parts[i].spriteSet >= 0) AddAppearanceLayers(character, static_cast<std::int32_t>(i));
  }
  if (!character.characterLayers.empty())
    QuickSortCharacterLayers(character, 0, static_cast<std::int32_t>(character.characterLayers.size()) - 1);
  character.hasPose13 = 0;
  for (const CharacterLayer& layer : character.characterLayers) {
    if (SetHasDeathPose(SpriteSetAt(layer.layerSpriteSet))) {
      character.hasPose13 = -1;
      break;
    }
  }
}

bool CharacterLayerLess(const CharacterLayer& a, const CharacterLayer& b) {
  return std::tie(a.order, a.colourIndex, a.area, a.source) <
         std::tie(b.order, b.colourIndex, b.area, b.source);
}

void QuickSortCharacterLayers(Actor& character, std::int32_t low, std::int32_t high) {
  std::vector<CharacterLayer>& layers = character.characterLayers;
  QuickSortRange(
      low, high, [&layers](std::int32_t k) -> CharacterLayer& { return layers[static_cast<std::size_t>(k)]; },
      CharacterLayerLess);
}

}  // namespace kiv
