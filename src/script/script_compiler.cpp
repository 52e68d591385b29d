#include "script/script_compiler.h"

#include <array>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "script/script_text.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

constexpr std::array<std::pair<char16_t, std::uint8_t>, 22> kPrecedence{{
    {u'^', 1},  {u'n', 2},  {u'*', 3},  {u'/', 3},  {u'M', 4},  {u'+', 5},  {u'-', 5}, {u'&', 6},
    {u'=', 7},  {u'<', 7},  {u'>', 7},  {u'u', 7},  {u'l', 7},  {u'g', 7},  {u'L', 8}, {u'N', 9},
    {u'A', 10}, {u'O', 11}, {u'X', 12}, {u'E', 13}, {u'I', 14}, {u')', 15},
}};

bool IsOperatorChar(char16_t c) {
  return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'\\' || c == u'=' || c == u'<' ||
         c == u'>' || c == u'&' || c == u'^';
}

bool IsDigitChar(char16_t c) { return c >= u'0' && c <= u'9'; }

ScriptToken MakeToken(std::uint8_t kind, Variant value = Variant()) {
  ScriptToken token;
  token.kind = kind;
  token.value = std::move(value);
  return token;
}

std::uint8_t OperatorOf(const ScriptToken& token) { return static_cast<std::uint8_t>(token.value.RawInt()); }

// Inserts apply markers for the operators already in the list (from base on)
// that must be applied before an operator with the given key.
void ApplyPendingOperators(ScriptStatement& statement, char16_t key, std::size_t base) {
  std::int32_t depth = 0;
  std::int32_t markers = 0;
  const std::uint8_t keyPrecedence = OperatorPrecedence(key);
  for (std::size_t i = statement.tokens.size(); i-- > base;) {
    const ScriptToken& token = statement.tokens[i];
    if (token.kind == kTokenApply) {
      ++markers;
    } else if (token.kind == kTokenOperator) {
      const char16_t op = OperatorOf(token);
      if (op == u'(') {
        if (depth == 0) return;
        --depth;
      } else if (op == u')') {
        ++depth;
      } else if (markers > 0) {
        --markers;
      } else if (keyPrecedence < OperatorPrecedence(op)) {
        return;
      } else {
        statement.tokens.push_back(MakeToken(kTokenApply));
      }
    }
  }
}

class ExpressionTokenizer {
 public:
  ExpressionTokenizer(ScriptStatement& statement, std::u16string_view text)
      : statement_(statement), text_(text), base_(statement.tokens.size()) {}

  void Run() {
    const std::size_t n = text_.size();
    for (std::size_t p = 0; p < n; ++p) {
      const char16_t c = text_[p];
      if (c == u'"') {
        inString_ = !inString_;
        if (!operandOpen_ && callDepth_ == 0) OpenOperand(p);
        continue;
      }
      if (inString_) continue;
      if (c == u'(') {
        if (callDepth_ > 0) {
          ++callDepth_;
        } else if (operandOpen_) {
          EmitOperand(p, true);
          callDepth_ = 1;
          argumentStart_ = p + 1;
        } else {
          statement_.tokens.push_back(MakeToken(kTokenOperator, Variant::Byte(u'(')));
        }
      } else if (c == u')') {
        if (callDepth_ > 0) {
          if (--callDepth_ == 0) {
            TokenizeExpression(statement_, text_.substr(argumentStart_, p - argumentStart_));
            statement_.tokens.push_back(MakeToken(kTokenCall, Variant::Long(SymbolIntern(pendingCallName_))));
            pendingCallName_.clear();
          }
        } else {
          if (operandOpen_) EmitOperand(p, false);
          ApplyPendingOperators(statement_, u')', base_);
          statement_.tokens.push_back(MakeToken(kTokenOperator, Variant::Byte(u')')));
        }
      } else if (c == u',') {
        if (callDepth_ == 1) {
          statement_.tokens.push_back(MakeToken(kTokenSeparator));
          TokenizeExpression(statement_, text_.substr(argumentStart_, p - argumentStart_));
          argumentStart_ = p + 1;
        }
      } else if (c == u' ') {
        if (operandOpen_ && callDepth_ == 0) EmitOperand(p, false);
      } else if (callDepth_ > 0) {
        // Inside a call's parentheses the arguments are tokenized when they end.
      } else if (IsOperatorChar(c)) {
        p = Operator(p);
      } else if (c == u'.') {
        if (operandOpen_) {
          if (!IsNumericValue(
                  Variant::Text(std::u16string(text_.substr(operandStart_, p - operandStart_))))) {
            EmitOperand(p, false);
          }
        } else if (p + 1 < n && IsDigitChar(text_[p + 1])) {
          OpenOperand(p);
        }
      } else if (!operandOpen_) {
        p = WordOrOperand(p);
      }
    }
    if (operandOpen_) EmitOperand(n, false);
    FlushMinus();
    ApplyPendingOperators(statement_, u'\0', base_);
    std::vector<ScriptToken>& tokens = statement_.tokens;
    std::size_t kept = base_;
    for (std::size_t i = base_; i < tokens.size(); ++i) {
      const bool parenthesis = tokens[i].kind == kTokenOperator &&
                               (OperatorOf(tokens[i]) == u'(' || OperatorOf(tokens[i]) == u')');
      if (!parenthesis) {
        if (kept != i) tokens[kept] = std::move(tokens[i]);
        ++kept;
      }
    }
    tokens.resize(kept);
  }

 private:
  void OpenOperand(std::size_t p) {
    operandOpen_ = true;
    operandStart_ = p;
  }

  void FlushMinus() {
    if (pendingMinus_) {
      statement_.tokens.push_back(MakeToken(kTokenNegate));
      pendingMinus_ = false;
    }
  }

  // One of + - * / \ = < > & ^; returns the position of the last character used.
  std::size_t Operator(std::size_t p) {
    FlushMinus();
    const char16_t c = text_[p];
    if (expectOperand_) {
      if (c == u'-') pendingMinus_ = true;
      return p;
    }
    const char16_t next = p + 1 < text_.size() ? text_[p + 1] : u'\0';
    char16_t key = c;
    std::size_t length = 1;
    if (c == u'<' && next == u'=') {
      key = u'l';
      length = 2;
    } else if (c == u'>' && next == u'=') {
      key = u'g';
      length = 2;
    } else if (c == u'<' && next == u'>') {
      key = u'u';
      length = 2;
    }
    ApplyPendingOperators(statement_, key, base_);
    statement_.tokens.push_back(MakeToken(kTokenOperator, Variant::Byte(static_cast<std::uint8_t>(key))));
    expectOperand_ = true;
    return p + length;  // the operator and the blank after it
  }

  // A word operator (And, Or, Xor, Eqv, Imp, Not, Mod) or the start of an operand.
  std::size_t WordOrOperand(std::size_t p) {
    const std::size_t blank = text_.find(u' ', p);
    const std::u16string word =
        blank == std::u16string_view::npos ? std::u16string() : ToLowerText(text_.substr(p, blank - p));
    char16_t key = 0;
    if (word == u"and") key = u'A';
    if (word == u"or") key = u'O';
    if (word == u"xor") key = u'X';
    if (word == u"eqv") key = u'E';
    if (word == u"imp") key = u'I';
    if (word == u"not") key = u'N';
    if (word == u"mod") key = u'M';
    if (key == 0) {
      OpenOperand(p);
      return p;
    }
    FlushMinus();
    ApplyPendingOperators(statement_, key, base_);
    statement_.tokens.push_back(MakeToken(kTokenOperator, Variant::Byte(static_cast<std::uint8_t>(key))));
    expectOperand_ = key != u'N';
    return blank;  // the word and the blank after it
  }

  // Closes the operand that ends before position, appending or merging its token.
  void EmitOperand(std::size_t position, bool asCallName) {
    std::u16string text(text_.substr(operandStart_, position - operandStart_));
    std::vector<ScriptToken>& tokens = statement_.tokens;
    const std::size_t count = tokens.size();
    bool merge = false;
    if (count > base_ && tokens.back().kind == kTokenSymbol) {
      merge = count - 1 == base_ ||
              (tokens[count - 2].kind != kTokenSeparator && tokens[count - 2].kind != kTokenCall);
    }
    if (merge) {
      text = SymbolName(tokens.back().value.AsLong()) + u"." + text;
    } else {
      tokens.emplace_back();
    }
    ScriptToken& token = tokens.back();
    if (asCallName) {
      pendingCallName_ = text;
      token = MakeToken(kTokenCallStart);
    } else if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') {
      token = MakeToken(kTokenString, Variant::Text(text.substr(1, text.size() - 2)));
    } else if (IsNumericValue(Variant::Text(text))) {
      token = MakeToken(kTokenNumber, ParseNumber(text));
    } else {
      token = MakeToken(kTokenSymbol, Variant::Long(SymbolIntern(text)));
    }
    operandOpen_ = false;
    expectOperand_ = false;
  }

  ScriptStatement& statement_;
  std::u16string_view text_;
  std::size_t base_;
  bool inString_ = false;
  bool operandOpen_ = false;
  std::size_t operandStart_ = 0;
  std::int32_t callDepth_ = 0;
  std::size_t argumentStart_ = 0;
  bool pendingMinus_ = false;
  bool expectOperand_ = true;
  std::u16string pendingCallName_;
};

std::u16string FirstWordUpper(const std::u16string& line) {
  const std::size_t blank = line.find(u' ');
  return ToUpperText(blank == std::u16string::npos ? line : line.substr(0, blank));
}

bool IsNonStatementLine(const std::u16string& line, const std::u16string& word) {
  return line.empty() || line.front() == u'\'' || line.front() == u':' || word == u"LOCAL" ||
         word == u"STATIC" || word == u"NODE";
}

// Value and target of "SET target = value": the first "=" outside quotes and parentheses.
void CompileSet(ScriptStatement& statement, const std::u16string& line) {
  bool inString = false;
  std::int32_t depth = 0;
  std::size_t equals = std::u16string::npos;
  for (std::size_t i = 4; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') {
      inString = !inString;
    } else if (!inString && c == u'(') {
      ++depth;
    } else if (!inString && c == u')') {
      --depth;
    } else if (!inString && depth == 0 && c == u'=') {
      equals = i;
      break;
    }
  }
  if (equals == std::u16string::npos || equals < 5) {
    RaiseError(kErrInvalidCall, "SET without a target and \"=\".");
  }
  TokenizeExpression(statement, TextFrom(line, equals + 2));
  statement.tokens.push_back(MakeToken(kTokenSetMarker));
  TokenizeExpression(statement, line.substr(4, equals - 5));
}

ScriptVariable NewVariable(const std::u16string& name) {
  ScriptVariable variable;
  variable.symbol = SymbolIntern(name);
  variable.value = Variant::Long(0);
  return variable;
}

std::string IdText(const Identifier& id) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t b : id.bytes) {
    text.push_back(kHex[b >> 4]);
    text.push_back(kHex[b & 15]);
  }
  return text;
}

}  // namespace

std::uint8_t OperatorPrecedence(char16_t key) {
  if (key == 0) return 16;
  for (const auto& [k, precedence] : kPrecedence) {
    if (k == key) return precedence;
  }
  return 0;
}

void TokenizeExpression(ScriptStatement& statement, std::u16string_view text) {
  ExpressionTokenizer(statement, text).Run();
}

void CompileScript(Script& script) {
  std::vector<std::u16string> lines;
  std::int32_t lineOffset = 0;
  if ((script.header.empty() && script.footer.empty()) || script.text.empty()) {
    lines = SplitLines(script.text);
  } else {
    lines = SplitLines(script.header + u"\r\n" + script.text + u"\r\n" + script.footer);
    lineOffset = -1;
  }

  // Pass 1: labels, with the index the next statement will get.
  std::vector<std::pair<std::u16string, std::int32_t>> labels;
  std::int32_t statementCount = 0;
  for (const std::u16string& raw : lines) {
    const std::u16string line = TrimLeftBlanks(raw);
    if (!line.empty() && line.front() == u':') labels.emplace_back(line.substr(1), statementCount);
    if (!IsNonStatementLine(line, FirstWordUpper(line))) ++statementCount;
  }

  // Pass 2: statements and variables.
  script.statements.clear();
  script.frameTemplate.locals.clear();
  script.frameTemplate.statics.clear();
  std::int32_t node = -1;
  std::size_t lineIndex = 0;
  try {
    for (; lineIndex < lines.size(); ++lineIndex) {
      const std::u16string line = TrimLeftBlanks(lines[lineIndex]);
      if (line.empty() || line.front() == u'\'' || line.front() == u':') continue;
      const std::u16string word = FirstWordUpper(line);
      if (word == u"LOCAL") {
        script.frameTemplate.locals.push_back(NewVariable(TextFrom(line, 6)));
        continue;
      }
      if (word == u"STATIC") {
        script.frameTemplate.statics.push_back(NewVariable(TextFrom(line, 7)));
        continue;
      }
      if (word == u"NODE") {
        node = VarToLong(Variant::Text(TextFrom(line, 5)));
        continue;
      }
      ScriptStatement& statement = script.statements.emplace_back();
      statement.sourceLine = static_cast<std::int32_t>(lineIndex) + lineOffset;
      statement.node = node;
      if (word == u"GOTO") {
        statement.kind = kStatementGoto;
        Variant target;
        const std::u16string label = TextFrom(line, 5);
        for (const auto& [name, index] : labels) {
          if (name == label) {
            target = Variant::Long(index);
            break;
          }
        }
        statement.tokens.push_back(MakeToken(kTokenNumber, target));
      } else if (word == u"LERP") {
        statement.kind = kStatementLerp;
        TokenizeExpression(statement, TextFrom(line, 5));
      } else if (word == u"SET") {
        statement.kind = kStatementSet;
        CompileSet(statement, line);
      } else if (word == u"IF") {
        statement.kind = kStatementIf;
        TokenizeExpression(statement, TextFrom(line, 3));
      } else if (word == u"ELSEIF") {
        statement.kind = kStatementElseIf;
        TokenizeExpression(statement, TextFrom(line, 7));
      } else if (word == u"ELSE") {
        statement.kind = kStatementElse;
      } else if (word == u"ENDIF") {
        statement.kind = kStatementEndIf;
      } else {
        statement.kind = kStatementLine;
        TokenizeExpression(statement, line);
      }
    }
  } catch (const KivError& error) {
    script.statements.clear();
    script.hasStatements = false;
    const std::string lineText = lineIndex < lines.size() ? Utf16ToAnsi(TrimBlanks(lines[lineIndex])) : "";
    LogWriteLine("Script " + IdText(script.id) + " could not be compiled at line " +
                 std::to_string(static_cast<std::int32_t>(lineIndex) + lineOffset + 1) + " (" + lineText +
                 "): " + error.what());
    return;
  }
  script.hasStatements = !script.statements.empty();
  script.recompile = false;
}

}  // namespace kiv
