#include "data/script_link.h"

#include <string>

#include "data/data_hooks.h"
#include "data/fixed_identifiers.h"

namespace kiv {

namespace {

void LinkBranches(Script& script) {
  const std::int32_t count = static_cast<std::int32_t>(script.statements.size());
  for (std::int32_t i = 0; i < count; ++i) {
    ScriptStatement& statement = script.statements[static_cast<std::size_t>(i)];
    if (statement.kind != kStatementIf && statement.kind != kStatementElseIf &&
        statement.kind != kStatementElse) {
      continue;
    }
    std::int32_t depth = 0;
    for (std::int32_t j = i + 1; j < count; ++j) {
      const std::uint8_t kind = script.statements[static_cast<std::size_t>(j)].kind;
      if (kind == kStatementIf) {
        ++depth;
      } else if ((kind == kStatementElseIf || kind == kStatementElse) && depth == 0) {
        statement.next = j;
        break;
      } else if (kind == kStatementEndIf) {
        if (depth == 0) {
          statement.next = j;
          break;
        }
        --depth;
      }
    }
  }
}

std::u16string TrimLower(const std::u16string& text) {
  std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return std::u16string();
  std::size_t last = text.find_last_not_of(u' ');
  std::u16string result = text.substr(first, last - first + 1);
  for (char16_t& c : result) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return result;
}

// The keyword of Actor("...") or Field("..."), -1 when the call is not one.
std::int32_t KeywordOf(std::int32_t callSymbol, std::u16string word, bool loose) {
  if (loose) word = TrimLower(word);
  if (callSymbol == kSymActor) {
    if (word == u"main") return 0;
    if (word == u"relate") return 1;
    if (word == u"this") return 2;
  } else if (callSymbol == kSymField) {
    if (word == u"relate") return 3;
    if (word == u"this") return 4;
  }
  return -1;
}

bool FindInList(const std::vector<ScriptVariable>& list, std::int32_t symbol, std::int32_t& index) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].symbol == symbol) {
      index = static_cast<std::int32_t>(i);
      return true;
    }
  }
  return false;
}

void BindVariable(const Script& script, ScriptToken& token) {
  const std::int32_t symbol = token.value.AsLong();
  std::int32_t index = -1;
  std::uint8_t kind = 0;
  if (FindInList(script.frameTemplate.locals, symbol, index)) {
    kind = kTokenLocal;
  } else if (FindInList(script.frameTemplate.statics, symbol, index)) {
    kind = kTokenStatic;
  } else if (FindInList(script.frameTemplate.parameters, symbol, index)) {
    kind = kTokenParameter;
  } else if (!dataHooks.FindGlobalName(symbol, kind, index)) {
    return;
  }
  token.kind = kind;
  token.value = Variant::Long(index);
}

void ResolveNames(Script& script) {
  const bool loose = dataHooks.LooseNameMatching();
  for (ScriptStatement& statement : script.statements) {
    for (std::int32_t p = static_cast<std::int32_t>(statement.tokens.size()) - 1; p >= 0; --p) {
      ScriptToken& token = statement.tokens[static_cast<std::size_t>(p)];
      if (token.kind == kTokenCall && p > 1) {
        const ScriptToken& argument = statement.tokens[static_cast<std::size_t>(p - 1)];
        const ScriptToken& start = statement.tokens[static_cast<std::size_t>(p - 2)];
        if (argument.kind == kTokenString && start.kind == kTokenCallStart) {
          const std::int32_t keyword = KeywordOf(token.value.AsLong(), argument.value.AsText(), loose);
          if (keyword >= 0) CollapseKeywordCall(statement, p, keyword);
        }
      } else if (token.kind == kTokenSymbol) {
        const std::uint8_t before = p > 0 ? statement.tokens[static_cast<std::size_t>(p - 1)].kind : 0xFF;
        if (before != kTokenCall && before != kTokenKeyword) BindVariable(script, token);
      }
    }
  }
}

}  // namespace

void CollapseKeywordCall(ScriptStatement& statement, std::int32_t& position, std::int32_t keyword) {
  auto& tokens = statement.tokens;
  const auto first = tokens.begin() + (position - 2);
  first->kind = kTokenKeyword;
  first->value = Variant::Long(keyword);
  tokens.erase(first + 1, first + 3);
  position -= 2;
}

void LinkScript(Script& script, bool resolveNames) {
  LinkBranches(script);
  if (resolveNames) ResolveNames(script);
}

}  // namespace kiv
