#pragma once
// Sprite sets of our own for the sprite-drawing tests: one pose whose
// direction 4 has layers with one 10 x 10 texture frame each and frames of
// parts placed in code.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/random.h"
#include "data/game_data.h"
#include "media/vertex_records.h"
#include "render/render_hooks.h"
#include "render/sprite_drawing.h"
#include "support/recording_batcher.h"

namespace kiv::test {

inline SpriteLayer MakeLayer(std::int32_t flags = 0, std::int32_t group = 0, std::int32_t order = 0) {
  SpriteLayer layer;
  layer.flags = flags;
  layer.slot = group;
  layer.value = order;
  FrameGroup frame;
  frame.cellWidth = 10;
  frame.cellHeight = 10;
  ImageFrame piece;
  piece.image = 0;
  piece.width = 10;
  piece.height = 10;
  piece.textureRight = 1;
  piece.textureBottom = 1;
  frame.frames.push_back(piece);
  layer.frames.frameGroups.push_back(frame);
  layer.frames.textures.push_back(
      std::make_shared<gfx::Texture>(std::make_shared<gfx::ContextToken>(), 0, 10, 10, 0, 1));
  layer.frameEntries.push_back({100, 0});
  layer.entryTotal = 0;
  return layer;
}

inline FramePart LayerPart(std::int32_t layer, std::int32_t x = 0, std::int32_t y = 0) {
  FramePart part;
  part.kind = kPartLayer;
  part.index = layer;
  part.x = x;
  part.y = y;
  part.color = 0xFFFFFFFF;
  part.scaleX = part.scaleY = part.scaleZ = 1;
  return part;
}

inline FramePart SlotPart(std::int32_t slot, std::int32_t x = 0, std::int32_t y = 0) {
  FramePart part = LayerPart(slot, x, y);
  part.kind = kPartSlot;
  return part;
}

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    spriteHoldingPoints = {};
    recorder.renderStates[gfx::kRsCullMode] = gfx::kCullCcw;
    recorder.renderStates[gfx::kRsFogEnable] = 1;
    RandomSeed(77);
  }
  void TearDown() override {
    gameData.Reset();
    renderHooks.Reset();
  }

  // Direction 4 of pose 0 of a new sprite set; the caller fills it.
  SpriteDirection& Direction(std::int32_t set = 0) {
    while (static_cast<std::int32_t>(gameData.spriteSets.size()) <= set) gameData.spriteSets.emplace_back();
    SpriteSet& s = gameData.spriteSets[static_cast<std::size_t>(set)];
    if (s.poses.empty()) s.poses.emplace_back();
    return s.poses[0].directions[4];
  }
  SpritePose& Pose(std::int32_t set = 0) { return gameData.spriteSets[static_cast<std::size_t>(set)].poses[0]; }

  // Frames with one part each, the given x values.
  static void FramesOf(SpriteDirection& d, const std::vector<FramePart>& parts) {
    d.builtFrames.clear();
    for (const FramePart& p : parts) d.builtFrames.push_back(SpriteFrame{{p}});
    d.frames = d.builtFrames;
  }

  std::int32_t Part(std::int32_t time, std::int32_t measuring = 0, bool mirrorX = false, float roll = 0,
                    std::int32_t drawMode = 0, std::int32_t order = -1, std::uint32_t colour = 0xFFFFFFFF,
                    std::uint32_t colour2 = 0xFFFFFFFF, std::uint32_t light = 0xFFFFFFFF, bool advance = true,
                    std::int32_t direction = 4) {
    return DrawSpritePart(Pose(), kAllSpriteGroups, order, direction, time, instance, view, 100, 200, 0, 1, 1, 1,
                          mirrorX, false, colour, colour2, light, 0, 0, 0, roll, drawMode, 0, 0, 1, 1, advance,
                          measuring, -1, -1);
  }

  // Centre of recorded quad q (coloured or screen).
  std::pair<float, float> Centre(std::size_t q) const {
    const RecordedQuad& quad = recorder.quads[q];
    float x = 0, y = 0;
    for (QuadCorner c : {kBottomLeft, kTopLeft, kBottomRight, kTopRight}) {
      if (quad.stride == sizeof(ColoredVertex)) {
        x += quad.Vertex<ColoredVertex>(c).x, y += quad.Vertex<ColoredVertex>(c).y;
      } else {
        x += quad.Screen(c).x, y += quad.Screen(c).y;
      }
    }
    return {x / 4, y / 4};
  }

  SpriteInstance instance;
  MapView view;
  RecordingBatcher recorder;
};

}  // namespace kiv::test
