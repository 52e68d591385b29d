#pragma once
// The weather settings of a map under their meanings. The properties section
// keeps them under its letters; the cloud settings follow the cloud amount
// (D) and its three sprite sets, the rain settings the rain amount (L) and
// its sprite set, Singles before Bytes.
#include <cstdint>

#include "data/map_record.h"

namespace kiv {

// Radians; clouds move along it, rain drifts about it and is drawn turned by it.
inline float& WindDirection(Map& m) { return m.mapValueC; }
inline float WindDirection(const Map& m) { return m.mapValueC; }

// Clouds per 32 x 32 screen pixels.
inline float& CloudDensity(Map& m) { return m.mapValueD; }
inline float CloudDensity(const Map& m) { return m.mapValueD; }
// Cloud sprite set k (0..2): index into spriteSets, -1 none, -2 not found.
inline std::int32_t& CloudSpriteSet(Map& m, std::size_t k) { return m.setReferences[k].index; }
inline std::int32_t CloudSpriteSet(const Map& m, std::size_t k) { return m.setReferences[k].index; }
// Pixels per ms.
inline float& CloudSpeedFrom(Map& m) { return m.mapValueE; }
inline float& CloudSpeedTo(Map& m) { return m.mapValueF; }
inline float& CloudVariation(Map& m) { return m.mapValueG; }
inline std::uint8_t& CloudAlphaFrom(Map& m) { return m.mapByteH; }
inline std::uint8_t& CloudAlphaTo(Map& m) { return m.mapByteI; }
// Non-zero: clouds are mirrored at random.
inline std::uint8_t& CloudMirrorA(Map& m) { return m.mapByteJ; }
inline std::uint8_t& CloudMirrorB(Map& m) { return m.mapByteK; }

// Drops per 32 x 32 screen pixels.
inline float& RainDensity(Map& m) { return m.mapValueL; }
inline float RainDensity(const Map& m) { return m.mapValueL; }
inline std::int32_t& RainSpriteSet(Map& m) { return m.setReference4.index; }
inline std::int32_t RainSpriteSet(const Map& m) { return m.setReference4.index; }
inline float& RainSpeedFrom(Map& m) { return m.mapValueM; }
inline float& RainSpeedTo(Map& m) { return m.mapValueN; }
inline float& RainSizeVariation(Map& m) { return m.mapValueO; }
inline float& RainSway(Map& m) { return m.mapValueP; }
inline float RainSway(const Map& m) { return m.mapValueP; }
inline std::uint8_t& RainAlphaFrom(Map& m) { return m.mapByteQ; }
inline std::uint8_t& RainAlphaTo(Map& m) { return m.mapByteR; }

}  // namespace kiv
