#include "script/decoded_statement.h"

#include <array>
#include <cstddef>

#include "script/call_frame.h"

namespace kiv {

namespace {

std::array<std::vector<DecodedStatement>, kCallStackSize> decodedStorage;
std::uint64_t lastRun = 0;

// A token that gives a value without running anything.
bool DecodeOperand(const ScriptToken& token, DecodedOperand& operand) {
  operand.index = 0;
  operand.constant = Variant();
  switch (token.kind) {
    case kTokenNumber:
    case kTokenString:
      operand.source = kSourceConstant;
      operand.constant = token.value;
      return true;
    case kTokenLocal:
      operand.source = kSourceLocal;
      break;
    case kTokenStatic:
      operand.source = kSourceStatic;
      break;
    case kTokenParameter:
      operand.source = kSourceParameter;
      break;
    case kTokenGlobalVariable:
      operand.source = kSourceGlobal;
      break;
    default:
      return false;
  }
  operand.index = token.value.AsLong();
  return true;
}

// The first count tokens as "operand" or "operand operator operand apply".
bool DecodeExpression(const std::vector<ScriptToken>& tokens, std::size_t count, DecodedStatement& decoded) {
  if (count == 1) return DecodeOperand(tokens[0], decoded.left);
  if (count != 4 || tokens[1].kind != kTokenOperator || tokens[3].kind != kTokenApply) return false;
  // Other operators go the general way.
  decoded.op = ScriptLongOperatorCode(static_cast<char16_t>(tokens[1].value.RawInt()));
  if (decoded.op == LongOperator::kNone) return false;
  return DecodeOperand(tokens[0], decoded.left) && DecodeOperand(tokens[2], decoded.right);
}

bool Decode(const ScriptStatement& statement, DecodedStatement& decoded) {
  const std::vector<ScriptToken>& tokens = statement.tokens;
  if (statement.kind == kStatementIf || statement.kind == kStatementElseIf) {
    decoded.form = DecodedForm::kTest;
    return DecodeExpression(tokens, tokens.size(), decoded);
  }
  if (statement.kind != kStatementSet || tokens.size() < 3) return false;
  // "expression SET target"; global variables go the general way for their timed changes.
  const ScriptToken& target = tokens.back();
  if (tokens[tokens.size() - 2].kind != kTokenSetMarker) return false;
  switch (target.kind) {
    case kTokenLocal:
      decoded.target = kSourceLocal;
      break;
    case kTokenStatic:
      decoded.target = kSourceStatic;
      break;
    case kTokenParameter:
      decoded.target = kSourceParameter;
      break;
    default:
      return false;
  }
  decoded.form = DecodedForm::kAssign;
  decoded.targetIndex = target.value.AsLong();
  return DecodeExpression(tokens, tokens.size() - 2, decoded);
}

}  // namespace

void DecodeStatement(const ScriptStatement& statement, DecodedStatement& decoded) {
  decoded.kind = statement.kind;
  decoded.jump = -1;
  if (statement.kind == kStatementGoto && !statement.tokens.empty() &&
      statement.tokens[0].value.Type() == kVarLong) {
    decoded.jump = statement.tokens[0].value.AsLong();
  }
  decoded.op = LongOperator::kNone;
  if (!Decode(statement, decoded)) {
    decoded.form = DecodedForm::kGeneral;
    decoded.op = LongOperator::kNone;
    decoded.left.constant = Variant();
    decoded.right.constant = Variant();
  }
}

DecodedRun::DecodedRun(std::int32_t depth)
    : list_(decodedStorage.at(static_cast<std::size_t>(depth))), run_(++lastRun) {}

}  // namespace kiv
