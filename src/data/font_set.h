#pragma once
// Reader of font-set files (".kfo"): a glyph texture and the glyph table.
#include <cstdint>

#include "core/byte_list.h"

namespace kiv {

// Reads a whole font-set file into gameData.fontSets[index] (which must
// exist), then computes its line height: height of glyph 0 x texture height -
// 2 x glyph inset, rounded half to even (0 for a font without glyphs).
void ReadFontSet(const ByteList& buffer, std::int32_t index);

}  // namespace kiv
