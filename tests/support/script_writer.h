#pragma once
// Writes script records in the stored script format of any format version
// (100001 to 100018), short or long form, for reader tests.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_list.h"
#include "core/identifier.h"
#include "core/variant.h"
#include "data/script_record.h"

namespace kiv::test {

struct ScriptTokenFixture {
  std::uint8_t kind = 0;
  // Kinds 1, 2 and 5: a text (the name for 2 and 5). Kinds 0, 6 and 17: a scalar.
  Variant value;
  // Kinds 0, 6 and 17: the 16 stored bytes, in place of value.
  std::optional<std::array<std::uint8_t, 16>> rawBody;
};

struct ScriptStatementFixture {
  std::int32_t sourceLine = 0;
  std::int32_t node = -1;
  std::uint8_t kind = 0;
  std::vector<ScriptTokenFixture> tokens;
};

struct ScriptNodeFixture {
  float x = 0.0f;  // written as 32-bit integers before 100006
  float y = 0.0f;
  std::u16string text1, text2;
  std::vector<std::u16string> lines;
  std::vector<std::int32_t> links;
  std::int32_t page = -1;
  std::u16string pageText;
  std::int32_t extra = 0;
};

struct ScriptFixture {
  std::u16string text;
  std::int32_t version = 100018;
  std::u16string condition;       // 100012 only
  std::u16string header, footer;  // from 100013
  std::int32_t skippedLast = -1;  // 100015 to 100017: last index of the 8-byte blocks
  Identifier id;                  // from 100017
  // From 100001; 100001 to 100004 write exactly one page (the first).
  std::vector<std::vector<ScriptNodeFixture>> nodePages;
  std::uint8_t runOnce = 0;  // from 100016
  // From 100002; texts before 100004, tagged values later.
  std::vector<std::pair<std::u16string, Variant>> locals, statics;
  bool shortForm = true;
  std::uint8_t hasRun = 0;
  bool hasStatements = false;
  std::int32_t sharedStatements = -1, sharedStatements2 = -1;  // from 100014
  std::vector<ScriptStatementFixture> statements;
  // Bytes appended inside the compiled block after the statements (counted in its length).
  ByteList blockPadding;
};

void WriteScriptFixture(ByteList& buffer, std::int32_t& offset, const ScriptFixture& script);
ByteList ScriptFixtureBytes(const ScriptFixture& script);

// A short-form script of the current format with no statements.
ScriptFixture EmptyScriptFixture();

// A compiled script record as the editor stores it: its text and its
// statements (names as texts), in the long form of the current format.
ScriptFixture CompiledScriptFixture(const Script& script);

}  // namespace kiv::test
