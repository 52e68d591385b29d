#pragma once
// Turns the source text of a script into its statements and tokens.
//
// The text is the canonical form the editor writes: one statement per line, one
// blank after a keyword, one blank before and after every operator. Each
// expression becomes infix operands and operators with apply markers (token
// kind 7) placed by precedence, unary minus after its operand, and calls as
// call start (4), arguments (each after a separator 9) and call (5).
#include <cstdint>
#include <string_view>

#include "data/script_record.h"

namespace kiv {

// Precedence of an operator key (smaller binds tighter): "^" 1, "n" 2,
// "*" "/" 3, "M" 4, "+" "-" 5, "&" 6, comparisons 7, "L" 8, "N" 9, "A" 10,
// "O" 11, "X" 12, "E" 13, "I" 14, ")" 15, end of expression (0) 16; every
// other key, "\" among them, is 0 and so binds tightest.
std::uint8_t OperatorPrecedence(char16_t key);

// Rebuilds the statements, locals and statics of the script from its header,
// text and footer, and clears its recompile flag. A text the compiler cannot
// read (a NODE line without a number, a SET line without "=") leaves the
// script without statements, keeps the variables read so far and the
// recompile flag, and writes one line naming the script and the fault to the log.
void CompileScript(Script& script);

// Appends the tokens of one expression to the statement.
void TokenizeExpression(ScriptStatement& statement, std::u16string_view text);

}  // namespace kiv
