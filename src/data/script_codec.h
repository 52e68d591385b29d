#pragma once
// The stored form of a script inside data files and saves (script format
// versions 100001 to 100018; the writer stores 100018).
//
// The short form (saves, the player's own writers, and holders whose files use
// it) carries the run-time flags and may omit the compiled block; the long form
// (the editor's files) always carries the block, which formats below 100018
// replace by compiling the text.
#include <cstdint>

#include "core/byte_list.h"
#include "data/script_record.h"

namespace kiv {

inline constexpr std::int32_t kScriptFormatCurrent = 100018;

// Reads one script at offset (advanced exactly past it) into script, replacing
// its contents. defaultRunOnce is taken by formats before 100016. link runs
// LinkScript after the statements are read or compiled; registerScript runs
// RegisterScript at the end.
void ReadScript(const ByteList& buffer, std::int32_t& offset, Script& script, bool shortForm, bool link,
                std::uint8_t defaultRunOnce, bool registerScript);

// Writes a script in the current format. Only the short form can be written
// here ("Trying to save full script within engine."). A script that needs
// recompiling is compiled first; a registered script writes the live variable
// values of its copy in the script table.
void SerializeScript(ByteList& buffer, std::int32_t& offset, Script& script, bool shortForm);

}  // namespace kiv
