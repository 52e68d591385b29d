#include "player/resource_groups.h"

#include <exception>

#include "core/angles.h"
#include "core/error.h"
#include "core/log.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "mathkiv/models.h"
#include "media/audio_startup.h"
#include "media/graphics.h"
#include "media/sound_sets.h"
#include "platform/ui/form.h"
#include "platform/ui/message_box.h"
#include "player/loading_progress.h"
#include "player/main_loop.h"
#include "player/shell_state.h"

namespace kiv {

std::array<gfx::TexturePtr, 2> systemTextures;

namespace {

constexpr std::uint32_t kFilterLinear = 2;

// Thrown by the progress steps when the user asked to quit.
struct QuitLoading {};

void QuitTest() {
  if (shell.quitRequest) throw QuitLoading{};
}

void Progress(const std::string& text, float step) {
  ShowLoadingProgress(text, step);
  QuitTest();
}

void EventsAndQuitTest() {
  loopPlatform.DoEvents();
  QuitTest();
}

void LoadSpriteDirection(SpritePose& pose, std::int32_t d, bool mirror) {
  if (mirror && (pose.mirrorMask & DirectionBit(d)) == 0) return;
  SpriteDirection& direction = pose.directions[static_cast<std::size_t>(d)];
  for (std::size_t g = 0; g < direction.layers.size(); ++g) {
    ImageFrameLists& group = direction.layers[g].frames;
    if (group.loaded) continue;
    if (mirror) {
      // The group draws its mirror direction's frames: it shares their textures.
      const SpriteDirection& source = pose.directions[static_cast<std::size_t>(DirectionMirror(d))];
      if (g < source.layers.size()) {
        const ImageFrameLists& from = source.layers[g].frames;
        group.frameGroups = from.frameGroups;
        group.textures = from.textures;
      }
    } else {
      group.textures.assign(group.images.size(), nullptr);
      for (std::size_t i = 0; i < group.images.size(); ++i) {
        group.textures[i] = LoadEmbeddedResource(group.images[i], false);
      }
    }
    group.loaded = true;
  }
}

void UnloadFrames(ImageFrameLists& group) {
  for (std::size_t i = 0; i < group.images.size(); ++i) {
    if (group.images[i].mode == 2) ModelUnload(group.images[i]);
  }
  group.textures.clear();
  group.loaded = false;
}

void LoadGroups(std::int32_t flags, float step) {
  if ((flags & kGroupFonts) != 0) {
    for (FontSet& font : gameData.fontSets) font.loadedTexture = LoadEmbeddedResource(font.texture, false);
  }
  const bool iconsOnly = flags == kGroupIcons;
  if ((flags & kGroupStatisticIcons) != 0) {
    if (!iconsOnly) Progress("Loading icon statistics...", step);
    for (Statistic& statistic : gameData.statistics) statistic.texture = LoadEmbeddedResource(statistic.image, true);
  }
  if ((flags & kGroupEquipmentIcons) != 0) {
    if (!iconsOnly) Progress("Loading icon equipment...", step);
    for (EquipmentArea& area : projectState.equipmentAreas) area.texture = LoadEmbeddedResource(area.image, true);
  }
  if ((flags & kGroupSpriteSets) != 0) {
    for (std::size_t c = 0; c < gameData.spriteSets.size(); ++c) {
      if (c % 5 == 4) {
        Progress("Loading sprite set " + std::to_string(c) + "...", step);
      } else {
        EventsAndQuitTest();
      }
      LoadSpriteSet(static_cast<std::int32_t>(c));
    }
  }
  if ((flags & kGroupTileSets) != 0) {
    for (std::size_t c = 0; c < gameData.tileSets.size(); ++c) {
      Progress("Loading tile-set (" + std::to_string(c) + ")...", step);
      LoadTileSet(static_cast<std::int32_t>(c));
    }
  }
  if ((flags & kGroupDoorSets) != 0) {
    for (std::size_t c = 0; c < gameData.doorSets.size(); ++c) {
      Progress("Loading door texture " + std::to_string(c) + "...", step);
      DoorSet& set = gameData.doorSets[c];
      for (std::size_t i = 0; i < set.images.size(); ++i) set.textures[i] = LoadEmbeddedResource(set.images[i], false);
    }
  }
  if ((flags & kGroupItems) != 0) {
    for (std::size_t c = 0; c < gameData.items.size(); ++c) {
      if (c % 5 == 4) {
        Progress("Loading item texture " + std::to_string(c) + "...", step);
      } else {
        EventsAndQuitTest();
      }
      Item& item = gameData.items[c];
      for (ItemImageEntry& entry : item.images) entry.texture = LoadEmbeddedResource(entry.image, false);
      item.pictureTexture = LoadEmbeddedResource(item.picture, false);
    }
  }
  if ((flags & kGroupSounds) != 0) {
    for (std::size_t c = 0; c < soundSets.size(); ++c) {
      if (c % 10 == 9) {
        Progress("Loading sound " + std::to_string(c) + "...", step);
      } else {
        EventsAndQuitTest();
      }
      SoundLoad(static_cast<std::int32_t>(c));
    }
  }
  if ((flags & kGroupSystemTextures) != 0) {
    Progress("Loading system textures...", step);
    for (std::size_t slot = 0; slot < systemTextures.size(); ++slot) {
      systemTextures[slot] = TextureLoadFromPackage("S" + std::to_string(slot) + ".bmp", 0, 0, kColorKeyMagenta,
                                                    kFormatA8R8G8B8, kFilterLinear, 1, kFilterLinear);
    }
  }
}

std::int32_t LastIndex(std::size_t size) { return static_cast<std::int32_t>(size) - 1; }

}  // namespace

gfx::TexturePtr CreateResourceTexture(const EmbeddedResource& resource) {
  return TextureLoadFromBytes(resource.fileBytes, 0, 0, kColorKeyMagenta, kFormatA8R8G8B8, kFilterLinear, 1,
                              kFilterLinear);
}

gfx::TexturePtr LoadEmbeddedResource(EmbeddedResource& resource, bool keepBytes) {
  if (resource.mode == 1) {
    gfx::TexturePtr texture = CreateResourceTexture(resource);
    if (!keepBytes) {
      resource.fileBytes = ByteList{};
      resource.color = ColorRecord{};
    }
    return texture;
  }
  if (resource.mode == 2) ModelLoad(resource);
  return nullptr;
}

void UnloadEmbeddedResource(EmbeddedResource& resource, gfx::TexturePtr& texture) {
  texture.reset();
  if (resource.mode == 2) ModelUnload(resource);
}

void LoadSpriteSet(std::int32_t index) {
  SpriteSet& set = gameData.spriteSets.at(static_cast<std::size_t>(index));
  if (set.loaded) return;
  set.textureA = LoadEmbeddedResource(set.imageA, false);
  set.textureB = LoadEmbeddedResource(set.imageB, false);
  for (SpritePose& pose : set.poses) {
    for (std::int32_t d = 0; d < kDirectionCount; ++d) LoadSpriteDirection(pose, d, false);
    for (std::int32_t d = 0; d < kDirectionCount; ++d) LoadSpriteDirection(pose, d, true);
  }
  set.loaded = true;
}

void LoadTileSet(std::int32_t index) {
  TileSet& set = gameData.tileSets.at(static_cast<std::size_t>(index));
  for (Tile& tile : set.tiles) tile.texture = LoadEmbeddedResource(tile.image, false);
  set.frames.textures.assign(set.frames.images.size(), nullptr);
  for (std::size_t i = 0; i < set.frames.images.size(); ++i) {
    set.frames.textures[i] = LoadEmbeddedResource(set.frames.images[i], false);
  }
}

std::int32_t InitResources(std::int32_t flags) {
  LogWriteLine("Initializing resources: " + std::to_string(flags) + ".");
  float step = 0.0f;
  if (flags == kGroupAll) {
    const std::int32_t divisor = LastIndex(gameData.tileSets.size()) + LastIndex(gameData.doorSets.size()) +
                                 static_cast<std::int32_t>(gameData.spriteSets.size()) / 5 +
                                 static_cast<std::int32_t>(gameData.items.size()) / 5 +
                                 static_cast<std::int32_t>(soundSets.size()) / 10 + 6;
    step = divisor != 0 ? 0.8f / static_cast<float>(divisor) : 0.0f;
  }
  shell.quitRequest = false;
  const auto wanted = static_cast<std::int32_t>(static_cast<std::uint32_t>(flags) & ~shell.loadedGroups);
  try {
    LoadGroups(wanted, step);
    if (wanted == kGroupIcons) {
      shell.loadedGroups |= static_cast<std::uint32_t>(wanted);
      return 0;
    }
    Progress("Starting game...", step);
    shell.loadedGroups |= static_cast<std::uint32_t>(wanted);
    return 0;
  } catch (const QuitLoading&) {
    return -1;
  } catch (...) {
    std::string message;
    const std::int32_t number = ErrorNumberOf(std::current_exception(), message);
    ui::ShowMessageBox("InitResources Error", "Failed on the following operation:\n" + shell.loadingText,
                       ui::BoxIcon::Error);
    UnloadResources(kGroupAll);
    return number;
  }
}

void UnloadResources(std::int32_t flags) {
  const auto loaded = static_cast<std::int32_t>(shell.loadedGroups);
  const std::int32_t effective = flags & ((flags & (kGroupSounds | kGroupSpriteSets)) | loaded);
  if ((effective & kGroupSystemTextures) != 0) {
    for (gfx::TexturePtr& texture : systemTextures) texture.reset();
  }
  if ((effective & kGroupFonts) != 0) {
    for (FontSet& font : gameData.fontSets) font.loadedTexture.reset();
    gameData.fontSets.clear();
  }
  if ((effective & kGroupTileSets) != 0) {
    for (TileSet& set : gameData.tileSets) {
      for (Tile& tile : set.tiles) UnloadEmbeddedResource(tile.image, tile.texture);
      UnloadFrames(set.frames);
    }
    gameData.tileSets.clear();
  }
  // Character sets: the player reads no character-set tables, so only the bit goes.
  if ((effective & kGroupSpriteSets) != 0) {
    for (SpriteSet& set : gameData.spriteSets) {
      set.loaded = false;
      UnloadEmbeddedResource(set.imageA, set.textureA);
      UnloadEmbeddedResource(set.imageB, set.textureB);
      for (SpritePose& pose : set.poses) {
        for (SpriteDirection& direction : pose.directions) {
          for (SpriteLayer& layer : direction.layers) UnloadFrames(layer.frames);
        }
      }
    }
    gameData.spriteSets.clear();
  }
  if ((effective & kGroupDoorSets) != 0) {
    for (DoorSet& set : gameData.doorSets) {
      for (std::size_t i = 0; i < set.images.size(); ++i) UnloadEmbeddedResource(set.images[i], set.textures[i]);
    }
    gameData.doorSets.clear();
  }
  if ((effective & kGroupItems) != 0) {
    for (Item& item : gameData.items) {
      for (ItemImageEntry& entry : item.images) UnloadEmbeddedResource(entry.image, entry.texture);
      UnloadEmbeddedResource(item.picture, item.pictureTexture);
    }
    gameData.items.clear();
  }
  if ((effective & kGroupSounds) != 0) {
    for (std::size_t c = 0; c < soundSets.size(); ++c) SoundUnload(static_cast<std::int32_t>(c));
    soundSets.clear();
  }
  if ((effective & kGroupStatisticIcons) != 0) {
    for (Statistic& statistic : gameData.statistics) UnloadEmbeddedResource(statistic.image, statistic.texture);
  }
  if ((effective & kGroupEquipmentIcons) != 0) {
    for (EquipmentArea& area : projectState.equipmentAreas) UnloadEmbeddedResource(area.image, area.texture);
  }
  shell.loadedGroups &= ~static_cast<std::uint32_t>(effective);
}

}  // namespace kiv
