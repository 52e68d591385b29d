#include "data/project_state.h"

namespace kiv {

ProjectState projectState;

}  // namespace kiv
