#pragma once
// The names that the map systems (spawns, interface fields, cursor navigation,
// interface animations) give to values that the stored records keep under
// their file names.
#include <bit>
#include <cstdint>

#include "data/field_record.h"
#include "data/map_objects.h"
#include "data/map_record.h"

namespace kiv {

// Field flag bytes, in record order after the shadow byte.
inline std::uint8_t& FieldHidden(Field& f) { return f.noDraw; }
inline std::uint8_t& FieldDormant(Field& f) { return f.nonExistent; }
inline std::uint8_t& FieldLiveUpdate(Field& f) { return f.byteDefault1; }
// List items that the field's list script spawned.
inline std::int32_t& FieldItemCount(Field& f) { return f.runValue; }
// Set when a script assigned the value; the value script then no longer runs.
inline std::uint8_t& FieldValueSetByScript(Field& f) { return f.runByte; }
// Milliseconds the field has been shown, the clock of its sprites and typed text.
inline std::int32_t& FieldElapsedMs(Field& f) { return f.animationTime; }
// The grid of list items: item width and height in pixels, items per row.
inline std::int32_t& FieldItemWidth(Field& f) { return f.layoutValues[0]; }
inline std::int32_t& FieldItemHeight(Field& f) { return f.layoutValues[1]; }
inline std::int32_t& FieldItemColumns(Field& f) { return f.layoutValues[2]; }
inline std::int32_t FieldItemWidth(const Field& f) { return f.layoutValues[0]; }
inline std::int32_t FieldItemHeight(const Field& f) { return f.layoutValues[1]; }
inline std::int32_t FieldItemColumns(const Field& f) { return f.layoutValues[2]; }

// Retrieve-value script slots of a field.
enum FieldValueScript : std::size_t {
  kValueScriptValue = 0,
  kValueScriptMaxValue = 1,
  kValueScriptVisible = 2,
  kValueScriptSelectable = 3,
  kValueScriptDisabled = 4,
  kValueScriptListItems = 5,
  kValueScriptSizeX = 6,
  kValueScriptSizeY = 7,
  kValueScriptSprite = 8,
  kValueScriptColor = 9,
  kValueScriptColor2 = 10,
};

// A screen sprite of a view field: its clock, the end of its fade (in or
// out, in clock milliseconds) and the clock time its fade-out began (-1 while shown).
inline std::int32_t& OverlayElapsedMs(FieldRuntimeEntry& e) { return e.values[6]; }
inline std::int32_t& OverlayFadeMs(FieldRuntimeEntry& e) { return e.values[7]; }
inline std::int32_t& OverlayHideAt(FieldRuntimeEntry& e) { return e.values[8]; }

// Navigation cursor of an interface: where it sits relative to the selected
// field, the share of the glide covered per millisecond, and the distances
// the glide covers on each axis (set when a field is selected).
inline std::int32_t& CursorOffsetX(Map& m) { return m.mapValueX; }
inline std::int32_t& CursorOffsetY(Map& m) { return m.mapValueY; }
inline float& CursorSpeed(Map& m) { return m.mapFactorZ; }
inline std::int32_t& CursorDistanceX(Map& m) { return m.savedState.stateValue1; }
inline std::int32_t& CursorDistanceY(Map& m) { return m.savedState.stateValue2; }

// Interface animations shown by scripts are projectiles of this kind.
inline constexpr std::uint8_t kProjectileAnimation = kProjectileExplosion;
inline std::uint8_t& ProjectileKind(Projectile& p) { return p.kind; }
inline std::uint8_t& ProjectileHoldLastFrame(Projectile& p) { return p.holdLastFrame; }
inline std::int32_t& ProjectileElapsedMs(Projectile& p) { return p.age; }
inline float& ProjectileLifeLeft(Projectile& p) { return p.remainingRange; }

}  // namespace kiv
