#include "data/sprite_frames.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/error.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "data/rotation_interpolation.h"
#include "mathkiv/colors.h"

namespace kiv {

namespace {

// Start values of the bounds: any real part replaces them.
constexpr std::int32_t kBoundsMinStart = 2147483135;   // 0x7FFFFDFF
constexpr std::int32_t kBoundsMaxStart = -2147483647;  // 0x80000001

std::int32_t ClampToLong(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

struct Bounds {
  std::int32_t minX = kBoundsMinStart, minY = kBoundsMinStart, minZ = kBoundsMinStart;
  std::int32_t maxX = kBoundsMaxStart, maxY = kBoundsMaxStart, maxZ = kBoundsMaxStart;
  bool changed = false;

  void LowerMin(std::int32_t& bound, double candidate) {
    if (candidate < bound) {
      bound = RoundToLong(candidate);
      changed = true;
    }
  }
  void RaiseMax(std::int32_t& bound, double candidate) {
    if (candidate > bound) {
      bound = RoundToLong(candidate);
      changed = true;
    }
  }
};

const SpriteLayer* LayerOf(const SpriteDirection& direction, const FramePart& part) {
  if (part.kind != kPartLayer || part.index < 0 ||
      static_cast<std::size_t>(part.index) >= direction.layers.size())
    return nullptr;
  return &direction.layers[static_cast<std::size_t>(part.index)];
}

void ExtendBounds(Bounds& bounds, const SpriteDirection& direction, const FramePart& part) {
  const double px = part.x, py = part.y, pz = part.z;
  const double sx = part.scaleX, sy = part.scaleY, sz = part.scaleZ;
  if (part.kind == kPartLayer) {
    // A layer index the direction lacks has no groups and adds nothing.
    const SpriteLayer* layer = LayerOf(direction, part);
    if (layer == nullptr) return;
    for (const FrameGroup& group : layer->frames.frameGroups) {
      if (group.frames.empty()) continue;
      const double halfW = group.cellWidth / 2.0;
      const double halfH = group.cellHeight / 2.0;
      bounds.LowerMin(bounds.minX, std::floor(px - halfW) * sx);
      bounds.LowerMin(bounds.minY, std::floor(py - halfH) * sy);
      bounds.RaiseMax(bounds.maxX, (px + halfW) * sx);
      bounds.RaiseMax(bounds.maxY, (py + halfH) * sy);
      bounds.LowerMin(bounds.minZ, std::floor(pz - halfH) * sz);
      bounds.RaiseMax(bounds.maxZ, (pz + halfH) * sz);
    }
    return;
  }
  bounds.LowerMin(bounds.minX, px * sx);
  bounds.LowerMin(bounds.minY, py * sy);
  bounds.RaiseMax(bounds.maxX, px * sx);
  bounds.RaiseMax(bounds.maxY, py * sy);
  bounds.LowerMin(bounds.minZ, pz * sz);
  bounds.RaiseMax(bounds.maxZ, pz * sz);
}

FramePart* FindBuiltPart(SpriteFrame& frame, std::int32_t id) {
  for (FramePart& part : frame.parts)
    if (part.id == id) return &part;
  return nullptr;
}

bool HasBuiltPart(const SpriteFrame& frame, std::int32_t id) {
  return std::any_of(frame.parts.begin(), frame.parts.end(), [id](const FramePart& p) { return p.id == id; });
}

void CopyKeyed(FramePart& target, const FramePart& source, std::int32_t bits) {
  if (bits & kKeyPosition) {
    target.x = source.x;
    target.y = source.y;
    target.z = source.z;
  }
  if (bits & kKeyColor) target.color = source.color;
  if (bits & kKeyScale) {
    target.scaleX = source.scaleX;
    target.scaleY = source.scaleY;
    target.scaleZ = source.scaleZ;
  }
  if (bits & kKeyRotation) target.rotation = source.rotation;
}

std::int32_t LerpPosition(std::int32_t a, std::int32_t b, float t) {
  return RoundToLong(static_cast<double>((1.0f - t) * static_cast<float>(a) + t * static_cast<float>(b)));
}

void SetSlotFlag(SpriteDirection& direction, const FramePart& part) {
  if (part.index < 0 || part.index >= kSlotEntryCount)
    RaiseError(kErrIndex, "Subscript out of range: sprite slot part " + std::to_string(part.index) + ".");
  direction.slots[static_cast<std::size_t>(part.index)].used = true;
}

void CollectParts(SpriteDirection& direction, Bounds& bounds) {
  std::vector<SpriteFrame>& built = direction.builtFrames;
  for (std::size_t i = 0; i < direction.frames.size(); ++i) {
    for (const FramePart& part : direction.frames[i].parts) {
      ExtendBounds(bounds, direction, part);
      if (HasBuiltPart(built[0], part.id)) continue;
      FramePart copy = part;
      const SpriteLayer* layer = LayerOf(direction, part);
      copy.scripted = (layer != nullptr && LayerHasScript(*layer)) ? 1 : 0;
      for (std::size_t f = 0; f < built.size(); ++f) {
        built[f].parts.push_back(copy);
        // Invisible until the frame in which the part first occurs.
        if (f < i) built[f].parts.back().color = 0;
      }
    }
  }
}

void InterpolateParts(SpriteDirection& direction) {
  const std::int32_t last = static_cast<std::int32_t>(direction.frames.size()) - 1;
  for (std::int32_t i = 0; i <= last; ++i) {
    const std::vector<FramePart>& parts = direction.frames[static_cast<std::size_t>(i)].parts;
    for (std::int32_t j = 0; j < static_cast<std::int32_t>(parts.size()); ++j) {
      const FramePart& part = parts[static_cast<std::size_t>(j)];
      if (part.kind == kPartSlot) SetSlotFlag(direction, part);
      // A key frame shows its own keyed values, also those that no earlier
      // occurrence of the part interpolates toward.
      if (FramePart* own = FindBuiltPart(direction.builtFrames[static_cast<std::size_t>(i)], part.id))
        CopyKeyed(*own, part, part.keyBits);
      std::int32_t done = ~part.keyBits & kKeyAll;
      for (std::int32_t f = i + 1; f <= last; ++f) {
        const std::vector<FramePart>& later = direction.frames[static_cast<std::size_t>(f)].parts;
        for (std::int32_t k = 0; k < static_cast<std::int32_t>(later.size()); ++k) {
          const FramePart& next = later[static_cast<std::size_t>(k)];
          if (next.id != part.id) continue;
          std::int32_t bits = next.keyBits & ~done;
          if (bits != 0) InterpolateFramePart(direction, done, bits, i, f, j, k);
        }
      }
      std::int32_t hold = kKeyAll;
      InterpolateFramePart(direction, done, hold, i, last, j, -1);
    }
  }
}

void BuildWithoutFrames(SpriteDirection& direction, Bounds& bounds) {
  direction.builtFrames.clear();
  if (direction.layers.empty() || direction.layers[0].frameEntries.empty()) return;
  const SpriteLayer& layer = direction.layers[0];
  for (const FrameGroup& group : layer.frames.frameGroups) {
    const double halfW = group.cellWidth / 2.0;
    const double halfH = group.cellHeight / 2.0;
    bounds.minX = RoundToLong(std::floor(-halfW));
    bounds.maxX = RoundToLong(std::floor(halfW));
    bounds.minY = RoundToLong(std::floor(-halfH));
    bounds.minZ = RoundToLong(std::floor(-halfH));
    bounds.maxY = RoundToLong(halfH);
    bounds.maxZ = RoundToLong(halfH);
    bounds.changed = true;
  }
  FramePart part;
  part.keyBits = -1;
  part.color = 0xFFFFFFFFu;
  part.scaleX = part.scaleY = part.scaleZ = 1.0f;
  part.scripted = LayerHasScript(layer) ? 1 : 0;
  direction.builtFrames.assign(1, SpriteFrame{{part}});
}

}  // namespace

bool LayerHasScript(const SpriteLayer& layer) {
  return std::any_of(layer.scripts.begin(), layer.scripts.end(),
                     [](const Script& s) { return s.hasStatements; });
}

void InterpolateFramePart(SpriteDirection& direction, std::int32_t& done, std::int32_t& bits, std::int32_t a,
                          std::int32_t b, std::int32_t c, std::int32_t d) {
  bits &= ~done;
  done |= bits;
  const FramePart& from = direction.frames[static_cast<std::size_t>(a)].parts[static_cast<std::size_t>(c)];
  const FramePart* to =
      d < 0 ? nullptr : &direction.frames[static_cast<std::size_t>(b)].parts[static_cast<std::size_t>(d)];
  for (std::int32_t h = a + 1; h <= b; ++h) {
    FramePart* target = FindBuiltPart(direction.builtFrames[static_cast<std::size_t>(h)], from.id);
    if (target == nullptr) continue;
    if (to == nullptr) {
      CopyKeyed(*target, from, bits);
      continue;
    }
    const float t = static_cast<float>(h - a) / static_cast<float>(b - a);
    if (bits & kKeyPosition) {
      target->x = LerpPosition(from.x, to->x, t);
      target->y = LerpPosition(from.y, to->y, t);
      target->z = LerpPosition(from.z, to->z, t);
    }
    if (bits & kKeyColor) target->color = ColorLerp(from.color, to->color, t);
    if (bits & kKeyScale) {
      target->scaleX = (1.0f - t) * from.scaleX + t * to->scaleX;
      target->scaleY = (1.0f - t) * from.scaleY + t * to->scaleY;
      target->scaleZ = (1.0f - t) * from.scaleZ + t * to->scaleZ;
    }
    if (bits & kKeyRotation) target->rotation = InterpolateRotation(from.rotation, to->rotation, t);
  }
}

void BuildSpriteDirection(SpriteDirection& direction) {
  Bounds bounds;
  if (!direction.frames.empty()) {
    for (SlotEntry& slot : direction.slots) slot.used = false;
    direction.builtFrames.assign(direction.frames.size(), SpriteFrame());
    CollectParts(direction, bounds);
    InterpolateParts(direction);
  } else {
    BuildWithoutFrames(direction, bounds);
  }
  if (!bounds.changed) bounds = Bounds{0, 0, 0, 0, 0, 0, false};
  direction.minX = bounds.minX;
  direction.minY = bounds.minY;
  direction.minZ = bounds.minZ;
  direction.maxX = bounds.maxX;
  direction.maxY = bounds.maxY;
  direction.maxZ = bounds.maxZ;

  direction.sizeX = ClampToLong(static_cast<std::int64_t>(bounds.maxX) - bounds.minX);
  direction.sizeY = ClampToLong(static_cast<std::int64_t>(bounds.maxY) - bounds.minY);
  // The reach from the origin on each axis, whichever side it lies on.
  const double reachX =
      std::max(std::fabs(static_cast<double>(bounds.minX)), std::fabs(static_cast<double>(bounds.maxX)));
  const double reachY =
      std::max(std::fabs(static_cast<double>(bounds.minY)), std::fabs(static_cast<double>(bounds.maxY)));
  direction.radius = static_cast<float>(std::sqrt(reachX * reachX + reachY * reachY));

  setExtents.maxSpriteWidth = std::max(setExtents.maxSpriteWidth, direction.sizeX);
  setExtents.maxSpriteHeight = std::max(setExtents.maxSpriteHeight, direction.sizeY);

  for (SpriteLayer& layer : direction.layers) {
    std::int64_t total = 0;
    for (const FrameEntry& entry : layer.frameEntries) total += entry.value;
    layer.entryTotal = ClampToLong(total);
  }
}

}  // namespace kiv
