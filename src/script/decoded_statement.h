#pragma once
// The compact form of the statements that loops are made of, decoded from a
// statement's tokens once per run: an assignment to a local, static or
// parameter of one operand or of two operands joined by an arithmetic or
// comparison operator, and an IF or ELSEIF testing the same kinds of
// expression. The interpreter runs these without walking tokens or the value
// stack; every other statement keeps the general form.
//
// Registered scripts may be changed in place between runs, so a decoded form
// is never kept across runs: each run takes a new stamp, and an entry counts
// only for the run whose stamp it carries. The storage of each call-stack depth
// is reused by the later runs at that depth.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "data/script_record.h"
#include "script/script_operators.h"

namespace kiv {

enum class DecodedForm : std::uint8_t {
  kGeneral,  // run through the tokens
  kAssign,   // target = left [op right]
  kTest,     // IF or ELSEIF left [op right]
};

// Where an operand's value or an assignment's target is: a ready value (a
// number or text literal), or an entry of one of the variable lists.
enum DecodedSource : std::uint8_t {
  kSourceLocal = 0,
  kSourceStatic = 1,
  kSourceParameter = 2,
  kSourceGlobal = 3,
  kSourceConstant = 4,
};
inline constexpr std::size_t kVariableListCount = 4;

struct DecodedOperand {
  std::uint8_t source = kSourceConstant;
  std::int32_t index = 0;
  Variant constant;
};

struct DecodedStatement {
  std::uint64_t run = 0;               // the stamp of the run that decoded it; 0 never decoded
  std::uint8_t kind = kStatementLine;  // the statement's kind
  std::int32_t jump = -1;              // GOTO: its label's statement, -1 when it names none
  DecodedForm form = DecodedForm::kGeneral;
  LongOperator op = LongOperator::kNone;  // kNone: the value of left alone
  DecodedOperand left;
  DecodedOperand right;
  std::uint8_t target = kSourceLocal;  // kAssign: kSourceLocal, kSourceStatic or kSourceParameter
  std::int32_t targetIndex = 0;
};

// The form of one statement (all fields but run).
void DecodeStatement(const ScriptStatement& statement, DecodedStatement& decoded);

// The decoded statements of one run of a script at a call-stack depth.
class DecodedRun {
 public:
  explicit DecodedRun(std::int32_t depth);

  // Makes room for the statements of the script; called whenever the
  // interpreter looks the script up, before At is used for its statements.
  void Reserve(std::size_t statementCount) {
    if (list_.size() < statementCount) list_.resize(statementCount);
  }

  // The form of statement s (within the count last reserved) in this run,
  // decoded on first use. The reference holds until a command runs.
  const DecodedStatement& At(std::int32_t s, const Script& script) {
    DecodedStatement& decoded = list_[static_cast<std::size_t>(s)];
    if (decoded.run != run_) [[unlikely]] {
      DecodeStatement(script.statements[static_cast<std::size_t>(s)], decoded);
      decoded.run = run_;
    }
    return decoded;
  }

 private:
  std::vector<DecodedStatement>& list_;
  std::uint64_t run_;
};

}  // namespace kiv
