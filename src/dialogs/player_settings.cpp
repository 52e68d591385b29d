#include "dialogs/player_settings.h"

namespace kiv {

PlayerSettings playerSettings;

}  // namespace kiv
