// The inn interface a script opens with its texts and price, the loading
// screen's progress as scripts that run during a load see it, and maps that
// scripts load.
#include <string>

#include "commands/internal_selection.h"
#include "commands/script_waits.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "player/script_message_state.h"
#include "player/shell_state.h"
#include "script/script_convert.h"
#include "script/script_map_resolvers.h"
#include "script/script_value_ops.h"
#include "script/waits.h"
#include "state/project_settings_block.h"
#include "world/field_focus.h"

namespace kiv {

namespace {

constexpr char kNoInn[] = "You need to have an Inn interface in order to use this.";
// Arguments from this one on are optional to Inn.Show.
constexpr std::int32_t kInnMusicArgument = 6;

void TextProperty(InternalCall& call, std::u16string& text) {
  if (call.Assigning()) {
    text = VarToText(call.value);
  } else {
    call.Answer(Variant::Text(text));
  }
}

// The request is filled before the interface is looked for, so a game without
// one still finds what the script asked.
void InnShow(InternalCall& call) {
  innRequest.transaction = 0;
  innRequest.done = 0;
  innRequest.greeting = call.ArgumentText(0);
  PropertySlot price;
  price.BindCurrency(innRequest.price);
  price.Assign(call.Argument(1));
  innRequest.yes = call.ArgumentText(2);
  innRequest.no = call.ArgumentText(3);
  innRequest.night = call.ArgumentText(4);
  innRequest.poor = call.ArgumentText(5);
  innRequest.music = call.argumentUpper >= kInnMusicArgument ? call.ArgumentText(kInnMusicArgument) : u"";
  const std::int32_t inn = storedProjectSettings.interfaces[kInnInterface].index;
  if (inn < 0) RaiseError(kErrData, kNoInn);
  SetPlayerInterface(inn);
  WaitForFlags(call, kWaitInnClosed);
}

void Transaction(InternalCall& call) { call.slot.BindBoolean(innRequest.transaction); }
void Done(InternalCall& call) { call.slot.BindBoolean(innRequest.done); }
void Greeting(InternalCall& call) { TextProperty(call, innRequest.greeting); }
void Price(InternalCall& call) { call.slot.BindCurrency(innRequest.price); }
void Yes(InternalCall& call) { TextProperty(call, innRequest.yes); }
void No(InternalCall& call) { TextProperty(call, innRequest.no); }
void Night(InternalCall& call) { TextProperty(call, innRequest.night); }
void Poor(InternalCall& call) { TextProperty(call, innRequest.poor); }
void Music(InternalCall& call) { TextProperty(call, innRequest.music); }

void LoadingMap(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(gameData.loadingMapName));
}

void LoadingProgress100(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Long(RoundToLong(static_cast<double>(shell.loadingProgress) * 100)));
}

void LoadingProgress(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Double(shell.loadingProgress));
}

void LoadingTask(InternalCall& call) {
  if (!call.Assigning()) call.Answer(Variant::Text(AnsiToUtf16(shell.loadingText)));
}

// Saves keep the flag, so a loaded game prepares the map again.
void LoadMap(InternalCall& call) {
  const bool showProgress = call.argumentUpper < 1 || call.ArgumentBoolean(1);
  const std::int32_t map = VarToLong(ScriptResolveMap(call.ArgumentText(0), true, true, showProgress).value);
  if (map >= 0 && map <= gameData.maps.LastIndex()) gameData.maps[map].loadFlag = true;
}

constexpr InternalCommand kInnLoadingCommands[] = {
    {"Inn.Show", InnShow},
    {"Inn.Transaction", Transaction},
    {"Inn.Done", Done},
    {"Inn.Greeting", Greeting},
    {"Inn.Price", Price},
    {"Inn.Yes", Yes},
    {"Inn.No", No},
    {"Inn.Night", Night},
    {"Inn.Poor", Poor},
    {"Inn.Music", Music},
    {"Loading.Map", LoadingMap},
    {"Loading.Progress100", LoadingProgress100},
    {"Loading.Progress", LoadingProgress},
    {"Loading.Task", LoadingTask},
    {"LoadMap", LoadMap},
};

}  // namespace

std::span<const InternalCommand> InnLoadingCommands() { return kInnLoadingCommands; }

}  // namespace kiv
