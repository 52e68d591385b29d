#include "script/script_operators.h"

#include <string>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text_encoding.h"
#include "script/project_options.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

const char kOperatorError[] = "Operator error. Please report this problem, including the script itself.";

[[noreturn]] void RaiseScript(const std::string& message) { RaiseError(kErrData, message); }

std::string Ansi(const std::u16string& text) { return Utf16ToAnsi(text); }

// Text of a value for concatenation: Null joins as nothing.
std::u16string JoinText(const Variant& value) {
  return value.Type() == kVarNull ? std::u16string() : VarToText(value);
}

Variant Truth(bool value) { return Variant::Long(value ? 1 : 0); }

}  // namespace

Variant ScriptNotOperator(const Variant& operand) {
  if (operand.IsText()) {
    if (!IsNumericValue(operand)) {
      RaiseScript("Negation operator does not work with this parameter: \"" + Ansi(operand.AsText()) + "\".");
    }
    return Truth(ToNumber(operand) == 0.0);
  }
  return Truth(!VarToBoolean(operand));
}

Variant ScriptBinaryOperator(char16_t op, const Variant& left, const Variant& right) {
  const Variant* a = &left;
  const Variant* b = &right;
  Variant numberA, numberB;
  bool text = false;
  const bool aText = left.IsText();
  const bool bText = right.IsText();
  auto toNumbersOrText = [&] {
    if (IsNumericValue(left) && IsNumericValue(right)) {
      numberA = Variant::Double(ToNumber(left));
      numberB = Variant::Double(ToNumber(right));
      a = &numberA;
      b = &numberB;
    } else {
      text = true;
    }
  };
  const bool loose = (aText || bText) && ScriptLooseNameMatching();
  if (op == u'&') {
    text = true;
  } else if (op == u'=' || op == u'u') {
    if (aText && bText && !loose) {
      text = true;
    } else if (aText || bText) {
      toNumbersOrText();
    }
  } else if (aText || bText) {
    toNumbersOrText();
  }

  auto mathError = [&]() {
    RaiseScript("Mathematical operator does not work with these parameters: \"" +
                Ansi(VarToTextLenient(left)) + "\" and/or \"" + Ansi(VarToTextLenient(right)) + "\".");
  };
  auto compare = [&]() {
    if (!text) return VarCompare(*a, *b);
    std::u16string p = JoinText(*a);
    std::u16string q = JoinText(*b);
    if (loose) {
      p = TrimLower(p);
      q = TrimLower(q);
    }
    const int c = p.compare(q);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  };
  switch (op) {
    case u'&':
      return Variant::Text(JoinText(*a) + JoinText(*b));
    case u'+':
      if (text) return Variant::Text(JoinText(*a) + JoinText(*b));
      return VarAdd(*a, *b);
    case u'=':
      return Truth(compare() == 0);
    case u'u':
      return Truth(compare() != 0);
    case u'<':
      return Truth(compare() < 0);
    case u'>':
      return Truth(compare() > 0);
    case u'l':
      return Truth(compare() <= 0);
    case u'g':
      return Truth(compare() >= 0);
    case u'-':
    case u'*':
    case u'/':
    case u'\\':
    case u'M':
    case u'^':
    case u'A':
    case u'O':
    case u'X':
    case u'E':
    case u'I':
      break;
    default:
      RaiseScript(kOperatorError);
  }
  if (text) mathError();
  switch (op) {
    case u'-':
      return VarSub(*a, *b);
    case u'*':
      return VarMul(*a, *b);
    case u'/':
      return VarDiv(*a, *b);
    case u'\\':
      return VarIntDiv(*a, *b);
    case u'M':
      return VarMod(*a, *b);
    case u'^':
      return VarPow(*a, *b);
    default:
      break;
  }
  const bool p = VarToBoolean(*a);
  const bool q = VarToBoolean(*b);
  switch (op) {
    case u'A':
      return Truth(p && q);
    case u'O':
      return Truth(p || q);
    case u'X':
      return Truth(p != q);
    case u'E':
      return Truth(p == q);
    default:  // 'I'
      return Truth(!p || q);
  }
}

}  // namespace kiv
