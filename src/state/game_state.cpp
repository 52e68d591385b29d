#include "state/game_state.h"

namespace kiv {

GameState gameState;
std::array<Script, kSystemScriptCount> systemScripts;

}  // namespace kiv
