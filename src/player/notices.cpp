#include "player/notices.h"

namespace kiv {

std::vector<Notice> notices;

}  // namespace kiv
