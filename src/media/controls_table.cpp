#include "media/controls_table.h"

namespace kiv {

std::vector<Control> controls;

}  // namespace kiv
