#pragma once
// What play calls the item's stored values. The item file keeps most of them
// under letters (set_records.h); this is the one place that gives each its
// name. Weapons, damage, item effects, combat behaviour, pose choice,
// equipment, the inventory and held-item drawing all read items through here.
//
// Our reading of the lettered values, by where the file keeps them:
//   general     kindNumber 1 = magic, flagV = drawn unlit, flagsX = ItemFlags,
//               valueY = EffectFlags (older files get 1: changes act on values),
//               valueZ1 = kept away from the player's inventory when equipped,
//               the equipment-area reference = the area it is worn in, whose
//               holding point launches its projectiles;
//   weapon      valueF damage, spriteSets[2] projectile sprite, valueG range,
//               valueH accuracy, valueI clip, linkedItem ammunition, valueJ
//               delay between uses, valueK projectiles per use, valueL reload
//               time, valueM alert radius, sounds[2] reload, sounds[3] empty,
//               flagN stand to fire, valueO damage interval, sounds[4] the
//               projectile's hit sound, spriteSets[3] its explosion, flagP
//               thrown, valueQ/R/S melee reach forward/backward/sideways,
//               valueT rounds per use;
//   use and hit sounds[0] use, sounds[1] hit, spriteSets[0] use effect,
//               spriteSets[1] hit effect;
//   projectile  flagA charge (kind 4), flagE damage phase, valueB speed,
//               valueW turn rate, valueU homing range, valueZ2 vertical speed
//               (the file keeps whole numbers; the projectile holds Singles);
//   statistics  statisticValues[0] modifiers while equipped, [1] the cost of
//               a use, [2] the change an effect makes;
//   templates   templateFlags (realigned to the template table at linking):
//               a set flag makes that template immune to the item.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/set_records.h"

namespace kiv {

// ItemFlags bits.
inline constexpr std::int32_t kItemAutomatic = 0x1;       // fires while the control is held
inline constexpr std::int32_t kItemOnLiving = 0x8;        // may be used on living targets
inline constexpr std::int32_t kItemOnDead = 0x10;         // may be used on dead targets
inline constexpr std::int32_t kItemWholeParty = 0x20;     // acts on the whole party of the target's player
// EffectFlags bits.
inline constexpr std::int32_t kEffectOnValues = 0x1;      // StatChange adds to the current values
inline constexpr std::int32_t kEffectOnMaximums = 0x2;    // StatChange adds to the maximums

// Shop and inventory values, in the order the file keeps them after the
// display name: the text field, then (after the kind number) the 64-bit value
// (the price) and Long B (the weight of one piece).
inline const std::u16string& ItemDescription(const Item& item) { return item.text; }
inline std::int64_t ItemPriceScaled(const Item& item) { return item.value64; }  // Currency: ten-thousandths
inline std::int32_t ItemWeight(const Item& item) { return item.valueB; }

// General.
inline std::int32_t ItemFlags(const Item& item) { return item.flagsX; }
inline std::int32_t ItemEffectFlags(const Item& item) { return item.valueY; }
inline bool ItemUnlit(const Item& item) { return item.flagV != 0; }  // drawn without the light colour
inline std::int32_t ItemNoInventory(const Item& item) { return item.valueZ1; }
// Equipment area the item is worn in, whose holding point launches its
// projectiles; -1: not equipment.
inline std::int32_t ItemHoldingArea(const Item& item) { return item.equipmentArea.index; }

// Per-statistic values, one per entry of the statistics table (shorter when
// the item was read before the table grew: read them with ItemStatAt).
inline const std::vector<std::int32_t>& ItemStatModifiers(const Item& item) { return item.statisticValues[0]; }
inline const std::vector<std::int32_t>& ItemStatCost(const Item& item) { return item.statisticValues[1]; }
inline const std::vector<std::int32_t>& ItemStatChange(const Item& item) { return item.statisticValues[2]; }
inline std::int32_t ItemStatAt(const std::vector<std::int32_t>& values, std::size_t statistic) {
  return statistic < values.size() ? values[statistic] : 0;
}

// Weapons and ammunition.
inline std::int32_t ItemAmmoItem(const Item& item) { return item.linkedItem.index; }  // -1: its own ammunition
inline std::int32_t ItemAmmoUse(const Item& item) { return item.valueT; }
inline std::int32_t ItemClipSize(const Item& item) { return item.valueI; }  // below 1: no clip
inline std::int32_t ItemReloadTime(const Item& item) { return item.valueL; }
// Milliseconds between uses; also the length the attack poses play over.
inline std::int32_t ItemFireDelay(const Item& item) { return item.valueJ; }
inline std::int32_t ItemProjectileCount(const Item& item) { return item.valueK; }
inline std::int32_t ItemProjectileSprite(const Item& item) { return item.spriteSets[2].index; }
inline float ItemAccuracy(const Item& item) { return item.valueH; }  // 1 = no spread
inline std::int32_t ItemAlertRadius(const Item& item) { return item.valueM; }
inline std::int32_t ItemRange(const Item& item) { return item.valueG; }
inline std::uint8_t ItemStandToFire(const Item& item) { return item.flagN; }
// Melee reach in pixels beyond the footprint: forward (below 1 none), backward, sideways.
inline std::int32_t ItemReach(const Item& item) { return item.valueQ; }
inline std::int32_t ItemReachBackward(const Item& item) { return item.valueR; }
inline std::int32_t ItemReachSideways(const Item& item) { return item.valueS; }

// The two pose-class flags that pose choice reads besides reach and projectiles:
// a magic item (kind number 1) and a thrown one.
inline std::int32_t ItemAttackPoseFlag5(const Item& item) { return item.kindNumber; }
inline std::uint8_t ItemAttackPoseFlag4(const Item& item) { return item.flagP; }

// Sounds (sound-set index, -1 none) and effect animations (sprite set, -1 none).
inline std::int32_t ItemUseSound(const Item& item) { return item.sounds[0].index; }
inline std::int32_t ItemHitSound(const Item& item) { return item.sounds[1].index; }
inline std::int32_t ItemReloadSound(const Item& item) { return item.sounds[2].index; }
inline std::int32_t ItemEmptySound(const Item& item) { return item.sounds[3].index; }
inline std::int32_t ItemUseEffect(const Item& item) { return item.spriteSets[0].index; }
inline std::int32_t ItemHitEffect(const Item& item) { return item.spriteSets[1].index; }

// What each launched projectile copies from the item.
inline std::uint8_t ItemProjectileKindFlag(const Item& item) { return item.flagA; }  // set: a charge
inline std::uint8_t ItemProjectileSubKind(const Item& item) { return item.flagE; }   // the damage phase
inline std::int32_t ItemProjectileDamage(const Item& item) { return item.valueF; }
inline std::int32_t ItemProjectileDamageInterval(const Item& item) { return item.valueO; }
inline std::int32_t ItemProjectileHitSound(const Item& item) { return item.sounds[4].index; }
inline std::int32_t ItemExplosionSprite(const Item& item) { return item.spriteSets[3].index; }
inline float ItemProjectileSpeed(const Item& item) { return static_cast<float>(item.valueB); }
inline float ItemProjectileTurnRate(const Item& item) { return static_cast<float>(item.valueW); }
inline std::int32_t ItemProjectileHomingRange(const Item& item) { return item.valueU; }
inline float ItemProjectileVerticalSpeed(const Item& item) { return static_cast<float>(item.valueZ2); }

// True when the item's flag for the actor template is set (templates index
// the realigned table; -1 and out-of-range indexes are never immune).
inline bool ItemImmuneTemplate(const Item& item, std::int32_t templateIndex) {
  return templateIndex >= 0 && static_cast<std::size_t>(templateIndex) < item.templateFlags.size() &&
         item.templateFlags[static_cast<std::size_t>(templateIndex)].flag != 0;
}

}  // namespace kiv
