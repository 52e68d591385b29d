#include "data/map_object_settings.h"

namespace kiv {

MapObjectSettings mapObjectSettings;

}  // namespace kiv
