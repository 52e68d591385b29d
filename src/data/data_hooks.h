#pragma once
// Calls that the game-data readers make into subsystems above them (script
// engine, renderer, world, player shell). The owner installs them at start-up;
// until then each does the harmless default named beside it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/record_codecs.h"

namespace kiv {

struct Actor;
struct Script;
struct Trigger;

struct DataHooks {
  // Compiles a script's text into statements. Default: keeps the text and
  // leaves the script without statements.
  std::function<void(Script& script)> CompileScript;
  // Rebuilds a trigger's condition texts and tokens. Default: nothing.
  std::function<void(Trigger& trigger)> BuildTriggerConditions;
  // Looks a name up among the global variables, switches, collections and
  // tables; gives the token kind (13 to 16) and index. Default: not found.
  std::function<bool(std::int32_t symbol, std::uint8_t& kind, std::int32_t& index)> FindGlobalName;
  // The symbol of a global of token kind 13 to 16; -1 when there is none. Default: -1.
  std::function<std::int32_t(std::uint8_t kind, std::int32_t index)> GlobalNameSymbol;
  // The project setting that makes keyword names trimmed and case-blind. Default: false.
  std::function<bool()> LooseNameMatching;
  // Runs every trigger of an object whose event matches. Default: nothing.
  std::function<void(std::int32_t ownerKind, std::int32_t objectIndex, std::int32_t eventSymbol,
                     std::int32_t map)>
      ScriptRaiseObjectEvent;

  // Generates terrain, tile collision, floor heights and lighting. Default: nothing.
  std::function<void(std::int32_t map, bool prepare)> GenerateMapData;

  // The current map of the active player, -1 none. Default: -1.
  std::function<std::int32_t()> ActivePlayerMap;
  // Recomputes the maps shown on screen. Default: nothing.
  std::function<void(std::int32_t flag)> RefreshViewedMaps;
  // Restarts the main loop's tick base at the current tick count. Default: nothing.
  std::function<void()> RestartTickBase;
  // Lets the window system deliver its events once. Default: nothing.
  std::function<void()> YieldToWindowSystem;
  // True when the game is to end (the window was closed). Default: false.
  std::function<bool()> QuitRequested;

  // --- Object records of a map body ---

  // An item's ammunition capacity (the weapon code knows which item value
  // holds it). Default: 0.
  std::function<std::int32_t(std::int32_t item)> ItemAmmunitionCapacity;
  // Builds a door's collision shape from its open amount and style. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t door, float openAmount, CollisionShape& shape)>
      BuildDoorCollisionShape;
  // The drawn width of a field (its anchors and alignment) for the view size;
  // -1 when unknown, and the field's pixel width is used. Default: -1.
  std::function<std::int32_t(std::int32_t map, std::int32_t field, std::int32_t viewWidth,
                             std::int32_t viewHeight)>
      FieldDrawnWidth;
  // Lays a text out for a font set, width and font size (a GlyphIndexList: one
  // glyph index per character, 234 where a line ends) and writes the number of
  // lines, except with no font set loaded or an empty text, where the count is
  // left as it was. Default: as with no font set loaded, one entry 0 and the
  // count left.
  std::function<std::vector<std::int16_t>(std::int32_t fontSet, const std::u16string& text,
                                          std::int32_t width, std::int32_t& lineCount, float fontSize)>
      WrapText;

  // --- Linking and loading the whole game ---

  // Places a map's cloud and rain particles anew. Default: nothing.
  std::function<void(std::int32_t map)> InitMapWeather;
  // Rebuilds the sprite sets drawn for an actor. Default: nothing.
  std::function<void(Actor& actor)> RebuildSpriteLayers;
  // Sets an actor's floor height from its map's grids. Default: nothing.
  std::function<void(std::int32_t map, std::int32_t actor)> UpdateCharacterFloorHeight;
  // Shows (-1) or hides a map or interface as an overlay. Default: nothing.
  std::function<void(std::int32_t map, bool show)> SetMapActive;
  // Runs the trigger of an interface shown as an overlay at start. Default: nothing.
  std::function<void(std::int32_t map)> RunOverlayTrigger;
  // Enables or disables an input set for a player. Default: records the flag
  // in the set (an input system installed above also releases held bindings).
  std::function<void(std::int32_t player, std::int32_t inputSet, bool enabled)> SetInputSetEnabled;
  // Logs the text and advances the loading screen by step. Default: logs the text.
  std::function<void(const std::string& text, float step)> ShowLoadingProgress;
  // Game-data reset: empties the waiting scripts, the call stack and the timed
  // changes of the script engine (its globals stay). Default: nothing.
  std::function<void()> ResetScriptRunState;
  // Game-data reset: empties the shell's notices and resets its message boxes,
  // tick base, paused byte and the current player interface. Default: nothing.
  std::function<void()> ResetShellState;

  DataHooks() { Reset(); }
  void Reset();
};

extern DataHooks dataHooks;

}  // namespace kiv
