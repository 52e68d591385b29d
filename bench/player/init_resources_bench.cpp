// InitResources over the generated game of the load benchmark (200 sets, 50
// maps), with a 64 x 64 PNG in every image slot of its tile, sprite, door,
// item and font sets, on the offscreen device: decoding, colour key and
// upload of every texture. A second benchmark decodes the same PNG bytes with
// stb_image alone, in the same run; the ratio of the two is the cost of the
// groups over bare decoding.
#include <benchmark/benchmark.h>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <memory>
#include <vector>

#include "data/game_data.h"
#include "data/game_loading.h"
#include "generated_game.h"
#include "media/device_startup.h"
#include "media/graphics.h"
#include "media/vertex_records.h"
#include "player/resource_groups.h"
#include "player/shell_state.h"
#include "support/sample_game.h"

namespace kiv {
namespace {

constexpr std::int32_t kSets = 200;
constexpr std::int32_t kMaps = 50;
constexpr int kSide = 64;

const ByteList& GamePackage() {
  static const ByteList bytes = test::GeneratedGamePackage(kSets, kMaps).Build();
  return bytes;
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<ByteList*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

// A 64 x 64 picture with a keyed (magenta) border and a gradient inside.
const ByteList& Picture() {
  static const ByteList png = [] {
    std::vector<std::uint8_t> rgb(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        std::uint8_t* p = &rgb[static_cast<std::size_t>((y * kSide + x) * 3)];
        const bool border = x < 4 || y < 4 || x >= kSide - 4 || y >= kSide - 4;
        p[0] = border ? 255 : static_cast<std::uint8_t>(x * 4);
        p[1] = border ? 0 : static_cast<std::uint8_t>(y * 4);
        p[2] = border ? 255 : static_cast<std::uint8_t>((x + y) * 2);
      }
    }
    ByteList bytes;
    stbi_write_png_to_func(&AppendBytes, &bytes, kSide, kSide, 3, rgb.data(), kSide * 3);
    return bytes;
  }();
  return png;
}

void Fill(EmbeddedResource& resource) {
  resource.mode = 1;
  resource.fileBytes = Picture();
}

// The generated game loaded, every image slot holding the picture; returns their count.
std::int32_t LoadGameWithPictures() {
  bench::OpenGeneratedGame(GamePackage());
  dataSettings.gridCellSize = 8;
  LoadGameData();
  std::int32_t count = 0;
  for (TileSet& set : gameData.tileSets) {
    for (Tile& tile : set.tiles) Fill(tile.image), ++count;
  }
  for (SpriteSet& set : gameData.spriteSets) Fill(set.imageA), ++count;
  for (DoorSet& set : gameData.doorSets) {
    for (EmbeddedResource& image : set.images) Fill(image), ++count;
  }
  for (Item& item : gameData.items) Fill(item.picture), ++count;
  for (FontSet& font : gameData.fontSets) Fill(font.texture), ++count;
  return count;
}

struct Device {
  Device() {
    graphics.Reset();
    GraphicsCreateDirectX();
    GraphicsCreateDirect3D();
    window = std::make_unique<gfx::Window>("bench", 64, 64, false, false);
    graphics.defaultVertexFormat = kColoredVertexFormat;
    GraphicsCreateDevice(window.get(), 0, 0, 0, 0, 1, 0);
    // The loading progress runs no frames: the groups alone are measured.
    graphics.videoDeviceType = 2;
  }
  ~Device() { graphics.Reset(); }  // the device before its window
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  std::unique_ptr<gfx::Window> window;
};

void BM_InitResourcesGeneratedGame(benchmark::State& state) {
  static Device device;
  std::int32_t images = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shell.loadedGroups = 0;
    images = LoadGameWithPictures();
    state.ResumeTiming();
    benchmark::DoNotOptimize(InitResources(kGroupAll));
    state.PauseTiming();
    UnloadResources(kGroupAll);
    state.ResumeTiming();
  }
  state.counters["images"] = images;
}
BENCHMARK(BM_InitResourcesGeneratedGame)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StbDecodeSameImages(benchmark::State& state) {
  const std::int32_t images = LoadGameWithPictures();
  const ByteList& png = Picture();
  for (auto _ : state) {
    for (std::int32_t i = 0; i < images; ++i) {
      int w = 0, h = 0, channels = 0;
      stbi_uc* pixels = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 4);
      benchmark::DoNotOptimize(pixels);
      stbi_image_free(pixels);
    }
  }
  state.counters["images"] = images;
}
BENCHMARK(BM_StbDecodeSameImages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
