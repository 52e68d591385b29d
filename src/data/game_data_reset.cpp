#include "data/game_data_reset.h"

#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"
#include "data/game_data.h"
#include "data/object_defaults.h"
#include "data/project_state.h"
#include "data/script_record.h"
#include "media/player_input_state.h"

namespace kiv {

ScriptOperatorTables scriptOperatorTables;

namespace {

constexpr std::uint8_t kEmptyOperator = 255;

void InstallOperatorTables() {
  scriptOperatorTables.operatorStack.fill(kEmptyOperator);
  auto& rank = scriptOperatorTables.operatorPrecedence;
  auto set = [&rank](char code, std::uint8_t value) { rank[static_cast<unsigned char>(code)] = value; };
  set('^', 1);
  set('n', 2);  // negation
  set('*', 3);
  set('/', 3);
  set('M', 4);  // Mod
  set('+', 5);
  set('-', 5);
  set('&', 6);
  for (char code : {'=', '<', '>', 'u', 'l', 'g'}) set(code, 7);  // comparisons
  set('L', 8);  // Like
  set('N', 9);  // Not
  set('A', 10);
  set('O', 11);
  set('X', 12);
  set('E', 13);
  set('I', 14);
  set(')', 15);
  rank[0] = 16;
}

// The record of the objects that belong to no map.
void ResetOffMapRecord() {
  gameData.maps.Reset();
  Map& offMap = gameData.maps[-1];
  offMap.ambientColor = 0xFFFFFFFF;
}

}  // namespace

void ResetGameData() {
  RegisterScriptIdentifiers();
  BuildObjectDefaults();
  InstallOperatorTables();
  dataHooks.ResetShellState();
  dataHooks.ResetScriptRunState();
  scriptTable.Reset();
  projectState.players.clear();
  ResetOffMapRecord();
  playerInputStates[0] = PlayerInputState();
  projectState.currentPlayerInterface.index = -1;
  gameData.gameSpeed = 1.0f;
}

}  // namespace kiv
