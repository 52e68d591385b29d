#pragma once
// The operators of script expressions. An operator is the character its token
// stores: + - * / ^ & = < > for themselves, a backslash for integer division,
// l for <=, g for >=, u for <>, and M, N, A, O, X, E, I for Mod, Not, And, Or,
// Xor, Eqv and Imp. Comparisons and logical operators give Long 1 or 0.
#include <cstdint>

#include "core/variant.h"

namespace kiv {

// The operators that Long arithmetic and comparison serve, as small codes.
enum class LongOperator : std::uint8_t {
  kAdd,
  kSubtract,
  kMultiply,
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kNone,  // any other operator
};

inline LongOperator ScriptLongOperatorCode(char16_t op) {
  switch (op) {
    case u'+':
      return LongOperator::kAdd;
    case u'-':
      return LongOperator::kSubtract;
    case u'*':
      return LongOperator::kMultiply;
    case u'=':
      return LongOperator::kEqual;
    case u'u':
      return LongOperator::kNotEqual;
    case u'<':
      return LongOperator::kLess;
    case u'>':
      return LongOperator::kGreater;
    case u'l':
      return LongOperator::kLessEqual;
    case u'g':
      return LongOperator::kGreaterEqual;
    default:
      return LongOperator::kNone;
  }
}

// An arithmetic or comparison operator on two Longs, the common case of
// loops: False when the operator is another one or the result leaves the Long
// range (the general rules then move it to Double).
inline bool ScriptLongArithmetic(LongOperator op, std::int64_t a, std::int64_t b, std::int32_t& result) {
  std::int64_t r = 0;
  switch (op) {
    case LongOperator::kAdd:
      r = a + b;
      break;
    case LongOperator::kSubtract:
      r = a - b;
      break;
    case LongOperator::kMultiply:
      r = a * b;
      break;
    case LongOperator::kEqual:
      r = a == b;
      break;
    case LongOperator::kNotEqual:
      r = a != b;
      break;
    case LongOperator::kLess:
      r = a < b;
      break;
    case LongOperator::kGreater:
      r = a > b;
      break;
    case LongOperator::kLessEqual:
      r = a <= b;
      break;
    case LongOperator::kGreaterEqual:
      r = a >= b;
      break;
    case LongOperator::kNone:
      return false;
  }
  if (r < INT32_MIN || r > INT32_MAX) return false;
  result = static_cast<std::int32_t>(r);
  return true;
}

// As ScriptLongArithmetic, for two values that are both Longs; False otherwise.
inline bool ScriptLongOperator(char16_t op, const Variant& left, const Variant& right, Variant& result) {
  if (left.Type() != kVarLong || right.Type() != kVarLong) return false;
  std::int32_t r = 0;
  if (!ScriptLongArithmetic(ScriptLongOperatorCode(op), left.AsLong(), right.AsLong(), r)) return false;
  result = Variant::Long(r);
  return true;
}

// Any operator but Not; texts join, compare or convert as the project's text
// comparison setting says. Errors are raised as script errors.
Variant ScriptBinaryOperator(char16_t op, const Variant& left, const Variant& right);
// Not of a number, a numeric text or a Boolean-like value.
Variant ScriptNotOperator(const Variant& operand);

}  // namespace kiv
