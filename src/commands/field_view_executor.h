#pragma once
// The executor of interface fields (kind 26) and camera views (kind 33): both
// address one field of a map's field list; the camera identifiers work on the
// camera values of a view field and on the camera position all views share.
#include <cstdint>

#include "core/variant.h"
#include "script/script_value.h"

namespace kiv {

void ScriptFieldViewProperty(std::int32_t code, ScriptValue& object, std::int32_t argumentUpper, ScriptValue& result,
                             std::int16_t mode, const Variant& value, bool lastToken);

// True once the view field's pan has reached its end (or none runs): the
// condition a script waiting on the view's pan resumes on. A field that no
// longer exists counts as stopped.
bool FieldViewAtPanTarget(std::int32_t map, std::int32_t field);

// Installs the executor for kinds 26 and 33 and the pan wait condition.
void InstallFieldViewProperties();

}  // namespace kiv
