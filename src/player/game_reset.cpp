#include "player/game_reset.h"

#include "media/draw_device.h"

#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/game_loading.h"
#include "data/linking.h"
#include "data/project_state.h"
#include "data/template_application.h"
#include "mathkiv/models.h"
#include "media/audio_startup.h"
#include "media/device_startup.h"
#include "media/draw_device.h"
#include "media/graphics.h"
#include "media/sound_channels.h"
#include "platform/audio/mixer.h"
#include "player/game_window.h"
#include "player/map_speaker_sound.h"
#include "player/player_hooks.h"
#include "player/resource_groups.h"
#include "player/shell_state.h"
#include "state/game_state.h"

namespace kiv {

std::int32_t screenWidthTiles = 0;

namespace {

constexpr std::uint8_t kFieldKindView = 6;

}  // namespace

void RegisterHeldScripts() {
  for (ActorTemplate& actorTemplate : gameData.actorTemplates) {
    for (Trigger& trigger : actorTemplate.baseRecord.triggers) RegisterScript(trigger.script);
  }
  for (SpriteSet& set : gameData.spriteSets) {
    for (SpritePose& pose : set.poses) {
      for (SpriteDirection& direction : pose.directions) {
        for (SpriteLayer& layer : direction.layers) {
          for (Script& script : layer.scripts) RegisterScript(script);
        }
      }
    }
  }
  for (Item& item : gameData.items) {
    for (Script& script : item.scripts) RegisterScript(script);
  }
}

void ReloadGameData(bool reinitIcons) {
  UnloadResources(kGroupIcons);
  LoadProjectState(true);
  StartUpLoad();
  LoadActorTemplates();
  ResolveTemplateInheritance(true);
  LoadInputSets();
  ResolveInputSetIds();
  if (reinitIcons) InitResources(kGroupIcons);
  RegisterHeldScripts();
}

void RestartGame() {
  SoundStopAll();
  ReloadGameData(true);
  for (std::size_t p = 0; p < projectState.players.size(); ++p) {
    LinkPlayerItems(static_cast<std::int32_t>(p));
    Player& player = projectState.players[p];
    for (PartyMember& member : player.party) {
      Map& map = gameData.maps[player.mapIndex];
      if (member.character < 0 || static_cast<std::size_t>(member.character) >= map.actors.size()) continue;
      ApplyActorTemplate(map.actors[static_cast<std::size_t>(member.character)], false, true);
    }
  }
  LoadAllInterfaces();
  RelinkLoadedMaps();
  NewGame();
}

void RefreshViewedMaps(bool resetBoxes) {
  const auto width = static_cast<std::int32_t>(GraphicsBackBufferWidth());
  screenWidthTiles = width / 32 - 1;
  const std::int32_t last = gameData.maps.LastIndex();
  for (std::int32_t m = 0; m <= last; ++m) gameData.maps[m].shownNow = 0;
  for (std::int32_t m = 0; m <= last; ++m) {
    if (!gameData.maps[m].isInterface) continue;
    for (std::size_t f = 0; f < gameData.maps[m].fields.size(); ++f) {
      const Field& field = gameData.maps[m].fields[f];
      if (field.Kind() != kFieldKindView) continue;
      const std::int32_t shown = playerHooks.FieldViewMap(m, static_cast<std::int32_t>(f));
      if (shown < 0 || shown > last) continue;
      gameData.maps[shown].shownNow = 1;
      if (gameData.maps[shown].shownBefore == 0) {
        playerHooks.SetFieldScreenView(m, static_cast<std::int32_t>(f), field.view.defaultView);
      }
    }
  }
  bool changed = false;
  bool musicWanted = false;
  std::vector<std::int32_t> music;
  for (std::int32_t m = 0; m <= last; ++m) {
    Map& map = gameData.maps[m];
    if (map.isInterface) continue;
    if (map.shownNow != map.shownBefore) {
      changed = true;
      if (map.shownNow != 0) {
        dataHooks.GenerateMapData(m, true);
        for (Speaker& speaker : gameData.maps[m].speakers) UpdateMapSpeaker(speaker, false);
      } else {
        for (Speaker& speaker : map.speakers) {
          if (speaker.playing == 0) continue;
          audio::ChannelStop(speaker.channel);
          speaker.volumeFactor = 0.0f;
        }
      }
    }
    if (gameData.maps[m].shownNow != 0) {
      dataHooks.InitMapWeather(m);
      const Map& shownMap = gameData.maps[m];
      if (shownMap.MusicFlag()) {
        musicWanted = true;
        if (shownMap.soundSet >= 0) music.push_back(shownMap.soundSet);
      }
    }
  }
  for (std::int32_t m = 0; m <= last; ++m) gameData.maps[m].shownBefore = gameData.maps[m].shownNow;
  if (shell.playing && changed && musicWanted && gameState.musicLocked == 0) {
    if (!music.empty()) {
      SoundPlayMusic(music, 0, 1.0f, 1.0f, true, static_cast<std::int32_t>(audio::kFlagLoop), true, false);
    } else if (!soundGlobals.musicList.empty()) {
      SoundStopChannel(soundGlobals.musicList, 0);
    }
  }
  playerHooks.InitMessageBoxes(resetBoxes);
}

void ShutdownGraphics() {
  graphics.pickTarget.reset();
  graphics.pickDepthSurface.reset();
  ReleaseRenderTargets();
  GraphicsReleaseD3DX();
  GraphicsTerminate();
  if (graphics.direct3dDevice) {
    graphics.direct3dDevice->DeletePixelShader(graphics.lightingPixelShader);
    graphics.direct3dDevice->DeleteVertexShader(graphics.lightingVertexShader);
  }
  graphics.direct3dDevice.reset();
}

}  // namespace kiv
