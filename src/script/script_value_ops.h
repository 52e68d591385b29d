#pragma once
// Arithmetic, comparison and conversion of tagged values, in the manner of the
// OLE Automation variant operations that the script interpreter applies.
//
// Type rules, in one place:
//
// Operand classes. Empty counts as Integer 0 and Boolean as Integer (-1 / 0).
// A numeric text is read as Double; any other text, an array, an Error value or
// an Object is a type mismatch (13). Null in any operand gives Null.
//
// Rank of the plain numeric types: Byte < Integer < Long < Single < Double.
//
// Add, Subtract, Multiply:
//   - both of the integer family (Byte, Integer, Long): the higher rank; a result
//     outside that type's range moves up (Byte -> Integer -> Long -> Double);
//   - Single with Byte or Integer or Single: Single; Single with Long: Double;
//     a Single result beyond the Single range becomes Double;
//   - Double with anything numeric: Double;
//   - Currency with the integer family or Currency: Currency; Currency with
//     Single or Double: Double;
//   - Date: Date + number and Date - number give Date, Date - Date gives Double,
//     Date * anything gives Double;
//   - a Double or Currency result outside its range: 6 "Overflow".
// Divide ("/"): Single when both operands are Byte, Integer, Boolean, Empty or
//   Single (Double when that overflows), otherwise Double. A zero divisor: 11
//   "Division by zero", except 0 / 0, which is 6 "Overflow".
// Integer divide ("\") and Mod: each operand becomes an integer first, fractions
//   rounded half to even (out of the Long range: 6). Both Byte: Byte; both of
//   Byte, Integer, Boolean, Empty: Integer; otherwise Long; a result that does
//   not fit moves up to Long, and beyond Long is 6. A zero divisor: 11. Mod has
//   the sign of the dividend.
// Power ("^"): always Double. Zero to a negative power, and a negative base with
//   a fractional power: 5 "Invalid procedure call or argument"; an infinite
//   result: 6.
// Negate: Byte and Boolean and Empty give Integer; the lowest Integer gives Long
//   and the lowest Long gives Double; the others keep their type.
// Compare: numbers by value (Empty is 0); two texts by character code; a text
//   and a number: the text must be numeric (else 13) and is compared as Double.
// Text of a value: Empty "", Boolean "True"/"False", integers in decimal,
//   Single with 7 and Double with 15 significant digits ("1E+20", "1E-05"),
//   Currency with up to four decimals, Date as M/D/YYYY with h:mm:ss AM/PM
//   when it has a time, Error as "Error n"; Null is 94 "Invalid use of Null";
//   an array is 13.
#include <cstdint>
#include <string>

#include "core/error.h"
#include "core/variant.h"

namespace kiv {

// Error numbers of the value operations (6 overflow and 11 division by zero
// are in core/error.h).
inline constexpr int kErrInvalidCall = 5;
inline constexpr int kErrTypeMismatch = 13;
inline constexpr int kErrInvalidNull = 94;

Variant VarAdd(const Variant& a, const Variant& b);
Variant VarSub(const Variant& a, const Variant& b);
Variant VarMul(const Variant& a, const Variant& b);
Variant VarDiv(const Variant& a, const Variant& b);
Variant VarIntDiv(const Variant& a, const Variant& b);
Variant VarMod(const Variant& a, const Variant& b);
Variant VarPow(const Variant& a, const Variant& b);
Variant VarNeg(const Variant& a);

// -1, 0 or 1; Null in either operand raises 94.
int VarCompare(const Variant& a, const Variant& b);

// The value as text, as the rules above say.
std::u16string VarToText(const Variant& value);
// As VarToText, but never failing: Null gives "Null", an array "Array".
std::u16string VarToTextLenient(const Variant& value);
// The value as a 64-bit float; Empty is 0, texts must be numeric (13).
double VarToDouble(const Variant& value);
// The value as a 32-bit integer, fractions rounded half to even; 6 out of range.
std::int32_t VarToLong(const Variant& value);
// The value as a Boolean: numbers are true when not zero, texts "True"/"False"
// (any letter case) or numeric; others 13, Null 94.
bool VarToBoolean(const Variant& value);

// The Error value that carries an error number.
inline Variant VarErrorValue(int number) { return Variant::FromRaw(kVarError, number, 0.0); }
inline Variant VarNull() { return Variant::FromRaw(kVarNull, 0, 0.0); }

}  // namespace kiv
