#include "player/shell_state.h"

namespace kiv {

ShellState shell;

}  // namespace kiv
