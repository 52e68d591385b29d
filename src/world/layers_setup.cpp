#include "world/layers_setup.h"

#include "data/data_hooks.h"
#include "world/sprite_layers.h"

namespace kiv {

void InstallWorldLayerHooks() {
  dataHooks.RebuildSpriteLayers = [](Actor& actor) { RebuildSpriteLayers(actor); };
}

}  // namespace kiv
