#pragma once
// The script record shared by every holder of script code (triggers, doors,
// fields, spawns, items, custom events, input sets, map events), and the
// global table of registered scripts that the trigger dispatcher runs.
//
// Lists are std::vector; their "last index" is size() - 1 (-1 when empty).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/identifier.h"
#include "core/variant.h"

namespace kiv {

// Statement kinds.
enum ScriptStatementKind : std::uint8_t {
  kStatementLine = 0,  // expression or command line
  kStatementSet = 1,
  kStatementGoto = 2,
  kStatementIf = 3,
  kStatementElseIf = 4,
  kStatementElse = 5,
  kStatementEndIf = 6,
  kStatementLerp = 7,
};

// Token kinds.
enum ScriptTokenKind : std::uint8_t {
  kTokenNumber = 0,  // number literal, or the statement index of a GOTO label
  kTokenString = 1,  // string literal
  kTokenSymbol = 2,  // name, member or command word: Long symbol number
  kTokenNegate = 3,
  kTokenCallStart = 4,
  kTokenCall = 5,      // Long symbol number of the called name
  kTokenOperator = 6,  // Byte: character code of the operator
  kTokenApply = 7,
  kTokenSetMarker = 8,
  kTokenSeparator = 9,
  kTokenLocal = 10,  // Long index into the frame's locals
  kTokenStatic = 11,
  kTokenParameter = 12,
  kTokenGlobalVariable = 13,
  kTokenSwitch = 14,
  kTokenCollection = 15,
  kTokenTable = 16,
  kTokenKeyword =
      17,  // Long: 0 Actor("main"), 1 Actor("relate"), 2 Actor("this"), 3 Field("relate"), 4 Field("this")
};

struct ScriptToken {
  std::uint8_t kind = 0;
  Variant value;
};

struct ScriptStatement {
  std::uint8_t kind = kStatementLine;
  std::vector<ScriptToken> tokens;
  std::int32_t sourceLine = 0;  // 0-based line of the source text, -1 the header line
  std::int32_t node = -1;       // last "NODE n" above the statement, -1 none
  std::int32_t next = -1;       // IF/ELSEIF/ELSE: index of the next branch of the same level
};

// A named value: a script variable, or one entry of a property list.
struct ScriptVariable {
  std::int32_t symbol = 0;
  Variant value;
  std::int32_t extra1 = 0;  // left 0 by the compiler and the readers
  std::int32_t extra2 = 0;
};

// Editor diagram data; the player reads it only to pass over it.
struct ScriptNode {
  float x = 0.0f;
  float y = 0.0f;
  std::u16string text1;
  std::u16string text2;
  std::int32_t extra = 0;
  std::vector<std::int32_t> links;
  std::vector<std::u16string> lines;
  std::int32_t page = -1;  // page the node opens, -1 none
  std::u16string pageText;
};

struct ScriptNodePage {
  std::vector<ScriptNode> nodes;
};

// The variable template that a new call frame of the script copies.
struct ScriptFrameTemplate {
  std::vector<ScriptVariable> statics;
  std::vector<ScriptVariable> locals;
  std::vector<ScriptVariable> parameters;
  Variant idList;
};

// Filled by the trigger-condition compiler; gestures belong to the input layer.
struct Gesture;
struct ConditionToken {
  std::int32_t kind = 0;
  std::int32_t value = 0;
  std::shared_ptr<const Gesture> gesture;
};

struct Script {
  Identifier id;
  bool hasStatements = false;  // at least one compiled statement
  bool recompile = false;      // statements must be rebuilt from the text before writing
  std::vector<ScriptStatement> statements;
  ScriptFrameTemplate frameTemplate;
  std::u16string text;  // lines separated by CR LF
  std::vector<ScriptNodePage> nodePages;
  std::uint8_t runOnce = 0;
  std::uint8_t hasRun = 0;
  std::int32_t sharedStatements = -1;
  std::int32_t sharedStatements2 = -1;
  std::int32_t index = -1;  // index in the script table, -1 not registered
  std::vector<ConditionToken> conditionTokens;
  std::u16string header;  // condition line put before the text when compiling
  std::u16string footer;  // "ENDIF" when a header is set

  std::int32_t statementLast() const { return static_cast<std::int32_t>(statements.size()) - 1; }
};

// The registered (runnable) copies of scripts; the dispatcher runs these.
struct ScriptTable {
  std::vector<Script> scripts;
  void Reset() { scripts.clear(); }
};
extern ScriptTable scriptTable;

// Appends a copy of a script that has statements to the table and stores the
// new index in the caller's record; otherwise stores -1. Returns that index.
std::int32_t RegisterScript(Script& script);

}  // namespace kiv
