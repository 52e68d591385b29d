#include "player/script_message_state.h"

namespace kiv {

InnRequest innRequest;
ScriptMessageSettings scriptMessageSettings;

}  // namespace kiv
