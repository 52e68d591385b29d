#include "data/script_codec.h"

#include <string>

#include "core/data_buffer.h"
#include "core/error.h"
#include "core/identifier.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "data/data_hooks.h"
#include "data/lists.h"
#include "data/script_link.h"

namespace kiv {

namespace {

// Version gates of the script format.
constexpr std::int32_t kFirstNodePages = 100001;
constexpr std::int32_t kFirstVariables = 100002;
constexpr std::int32_t kFirstTaggedVariables = 100004;
constexpr std::int32_t kFirstPageCount = 100005;
constexpr std::int32_t kFirstFloatNodePositions = 100006;
constexpr std::int32_t kLastScaledNodePositions = 100007;
constexpr std::int32_t kFirstNodeExtra = 100009;
constexpr std::int32_t kConditionOnly = 100012;
constexpr std::int32_t kFirstHeaderFooter = 100013;
constexpr std::int32_t kFirstSharedStatements = 100014;
constexpr std::int32_t kFirstSkippedBlocks = 100015;
constexpr std::int32_t kFirstRunOnce = 100016;
constexpr std::int32_t kFirstStoredId = 100017;
constexpr std::int32_t kLastSkippedBlocks = 100017;

// Smallest stored sizes, used to refuse counts that cannot fit in the bytes left.
constexpr std::int32_t kMinNodePageSize = 4;
constexpr std::int32_t kMinNodeSize = 24;
constexpr std::int32_t kMinStringSize = 4;
constexpr std::int32_t kMinVariableSize = 5;
constexpr std::int32_t kMinStatementSize = 13;
constexpr std::int32_t kRawValueSize = 16;

[[noreturn]] void RaiseInvalidPreVar() { RaiseError(kErrData, "Invalid PreVar."); }

// Token values of kinds 0, 6 and 17 are the 16-byte scalar body of a tagged
// value; only the scalar type codes that the tagged-value codec accepts are read.
Variant ReadRawValue(const ByteList& buffer, std::int32_t& offset) {
  BufferRequire(buffer, offset, kRawValueSize);
  ByteList tagged(1 + kRawValueSize);
  tagged[0] = 1;  // the scalar tag
  for (std::int32_t i = 0; i < kRawValueSize; ++i) tagged[1 + i] = buffer[offset + i];
  std::int32_t at = 0;
  Variant value = BufferReadVariant(tagged, at);
  offset += kRawValueSize;
  return value;
}

void WriteRawValue(ByteList& buffer, const Variant& value, std::int32_t& offset) {
  ByteList tagged;
  std::int32_t at = 0;
  BufferWriteVariant(tagged, value, at);
  if (tagged.size() != 1 + kRawValueSize || tagged[0] != 1) {
    RaiseError(kErrData, "Unsupported variant to write.");
  }
  BufferWriteBytes(buffer, tagged.data() + 1, kRawValueSize, offset);
}

std::int32_t ReadCount(const ByteList& buffer, std::int32_t& offset, std::int32_t recordSize) {
  const std::int32_t count = BufferReadLong(buffer, offset);
  if (count <= 0) return 0;
  BufferRequire(buffer, offset, static_cast<std::int64_t>(count) * recordSize);
  return count;
}

ScriptNode ReadNode(const ByteList& buffer, std::int32_t& offset, std::int32_t version) {
  ScriptNode node;
  if (version < kFirstFloatNodePositions) {
    node.x = static_cast<float>(BufferReadLong(buffer, offset));
    node.y = static_cast<float>(BufferReadLong(buffer, offset));
  } else {
    node.x = BufferReadSingle(buffer, offset);
    node.y = BufferReadSingle(buffer, offset);
  }
  if (version <= kLastScaledNodePositions) {
    node.x *= 1.5f;
    node.y *= 1.5f;
  }
  node.text1 = BufferReadString(buffer, offset);
  node.text2 = BufferReadString(buffer, offset);
  const std::int32_t lineLast = BufferReadLastIndex(buffer, offset, kMinStringSize);
  for (std::int32_t i = 0; i <= lineLast; ++i) node.lines.push_back(BufferReadString(buffer, offset));
  const std::int32_t linkCount = ReadCount(buffer, offset, 4);
  for (std::int32_t i = 0; i < linkCount; ++i) node.links.push_back(BufferReadLong(buffer, offset));
  if (version >= kFirstPageCount) {
    node.page = BufferReadLong(buffer, offset);
    node.pageText = BufferReadString(buffer, offset);
  }
  if (version >= kFirstNodeExtra) node.extra = BufferReadLong(buffer, offset);
  return node;
}

void ReadVariables(const ByteList& buffer, std::int32_t& offset, std::int32_t version,
                   std::vector<ScriptVariable>& list) {
  const std::int32_t last = BufferReadLastIndex(buffer, offset, kMinVariableSize);
  list.clear();
  for (std::int32_t i = 0; i <= last; ++i) {
    ScriptVariable variable;
    variable.symbol = SymbolIntern(BufferReadString(buffer, offset));
    if (version < kFirstTaggedVariables) {
      Variant text = Variant::Text(BufferReadString(buffer, offset));
      variable.value = IsNumericValue(text) ? Variant::Double(ToNumber(text)) : std::move(text);
    } else {
      BufferReadVariant(buffer, variable.value, offset);
    }
    list.push_back(std::move(variable));
  }
}

ScriptToken ReadToken(const ByteList& buffer, std::int32_t& offset) {
  ScriptToken token;
  token.kind = BufferReadByte(buffer, offset);
  switch (token.kind) {
    case kTokenNumber:
    case kTokenOperator:
    case kTokenKeyword:
      token.value = ReadRawValue(buffer, offset);
      break;
    case kTokenSymbol:
    case kTokenCall:
      token.value = Variant::Long(SymbolIntern(BufferReadString(buffer, offset)));
      break;
    case kTokenString:
      token.value = Variant::Text(BufferReadString(buffer, offset));
      break;
    case kTokenNegate:
    case kTokenCallStart:
    case kTokenApply:
    case kTokenSetMarker:
    case kTokenSeparator:
      break;
    default:
      // Variable kinds are stored by name; anything else is not a token.
      RaiseInvalidPreVar();
  }
  return token;
}

void ReadStatements(const ByteList& buffer, std::int32_t& offset, Script& script) {
  const std::int32_t statementLast = BufferReadLastIndex(buffer, offset, kMinStatementSize);
  script.statements.clear();
  script.statements.reserve(static_cast<std::size_t>(statementLast + 1));
  for (std::int32_t i = 0; i <= statementLast; ++i) {
    ScriptStatement statement;
    statement.sourceLine = BufferReadLong(buffer, offset);
    statement.node = BufferReadLong(buffer, offset);
    statement.kind = BufferReadByte(buffer, offset);
    const std::int32_t tokenLast = BufferReadLastIndex(buffer, offset, 1);
    statement.tokens.reserve(static_cast<std::size_t>(tokenLast + 1));
    for (std::int32_t t = 0; t <= tokenLast; ++t) statement.tokens.push_back(ReadToken(buffer, offset));
    script.statements.push_back(std::move(statement));
  }
}

// The symbol of the variable that a bound token names.
std::int32_t VariableSymbol(const ScriptFrameTemplate& frame, const ScriptToken& token) {
  const std::int32_t index = token.value.AsLong();
  auto from = [index](const std::vector<ScriptVariable>& list) {
    if (index < 0 || index >= static_cast<std::int32_t>(list.size())) RaiseInvalidPreVar();
    return list[static_cast<std::size_t>(index)].symbol;
  };
  switch (token.kind) {
    case kTokenLocal:
      return from(frame.locals);
    case kTokenStatic:
      return from(frame.statics);
    case kTokenParameter:
      return from(frame.parameters);
    default: {
      const std::int32_t symbol = dataHooks.GlobalNameSymbol(token.kind, index);
      if (symbol < 0) RaiseInvalidPreVar();
      return symbol;
    }
  }
}

void WriteToken(ByteList& buffer, std::int32_t& offset, const ScriptFrameTemplate& frame,
                const ScriptToken& token) {
  if (token.kind >= kTokenLocal && token.kind <= kTokenTable) {
    // Bound variables are stored by name and bound again when linked.
    const std::int32_t symbol = VariableSymbol(frame, token);
    BufferWriteByte(buffer, kTokenSymbol, offset);
    BufferWriteString(buffer, SymbolName(symbol), offset);
    return;
  }
  switch (token.kind) {
    case kTokenNumber:
    case kTokenOperator:
    case kTokenKeyword:
      BufferWriteByte(buffer, token.kind, offset);
      WriteRawValue(buffer, token.value, offset);
      break;
    case kTokenSymbol:
    case kTokenCall:
      BufferWriteByte(buffer, token.kind, offset);
      BufferWriteString(buffer, SymbolName(token.value.AsLong()), offset);
      break;
    case kTokenString:
      BufferWriteByte(buffer, token.kind, offset);
      BufferWriteString(buffer, token.value.AsText(), offset);
      break;
    case kTokenNegate:
    case kTokenCallStart:
    case kTokenApply:
    case kTokenSetMarker:
    case kTokenSeparator:
      BufferWriteByte(buffer, token.kind, offset);
      break;
    default:
      RaiseInvalidPreVar();
  }
}

}  // namespace

void ReadScript(const ByteList& buffer, std::int32_t& offset, Script& script, bool shortForm, bool link,
                std::uint8_t defaultRunOnce, bool registerScript) {
  script = Script();
  script.text = BufferReadString(buffer, offset);
  const std::int32_t version = BufferReadLong(buffer, offset);
  if (version < kFirstTaggedVariables) script.recompile = true;

  if (version == kConditionOnly) {
    std::u16string condition = BufferReadString(buffer, offset);
    if (!condition.empty()) {
      script.header = u"IF " + condition;
      script.footer = u"ENDIF";
    }
  } else if (version >= kFirstHeaderFooter) {
    script.header = BufferReadString(buffer, offset);
    script.footer = BufferReadString(buffer, offset);
  }

  if (version >= kFirstSkippedBlocks && version <= kLastSkippedBlocks) {
    const std::int32_t last = BufferReadLastIndex(buffer, offset, 8);
    offset += (last + 1) * 8;  // checked by BufferReadLastIndex
  }

  if (version >= kFirstStoredId) {
    script.id = BufferReadIdentifier(buffer, offset);
  } else {
    IdNewRandom(script.id);
  }

  if (version >= kFirstNodePages) {
    const std::int32_t pageLast =
        version >= kFirstPageCount ? BufferReadLastIndex(buffer, offset, kMinNodePageSize) : 0;
    for (std::int32_t p = 0; p <= pageLast; ++p) {
      const std::int32_t nodeLast = BufferReadLastIndex(buffer, offset, kMinNodeSize);
      for (std::int32_t n = 0; n <= nodeLast; ++n) ReadNode(buffer, offset, version);
    }
    // The player has no use for the editor's diagram: it is passed over.
  }

  script.runOnce = version >= kFirstRunOnce ? BufferReadByte(buffer, offset) : defaultRunOnce;

  if (version >= kFirstVariables) {
    ReadVariables(buffer, offset, version, script.frameTemplate.locals);
    ReadVariables(buffer, offset, version, script.frameTemplate.statics);
  }

  bool storedHasStatements = false;
  if (shortForm) {
    script.hasRun = BufferReadByte(buffer, offset);
    storedHasStatements = BufferReadBoolean(buffer, offset);
    if (version >= kFirstSharedStatements) {
      script.sharedStatements = BufferReadLong(buffer, offset);
      script.sharedStatements2 = BufferReadLong(buffer, offset);
    }
  }

  if (!shortForm || !storedHasStatements || script.sharedStatements < 0) {
    const std::int32_t blockLength = BufferReadLong(buffer, offset);
    if (!shortForm && version < kScriptFormatCurrent) {
      if (blockLength < 0) RaiseError(kErrData, "Invalid script data.");
      BufferRequire(buffer, offset, blockLength);
      offset += blockLength;
      dataHooks.CompileScript(script);
    } else {
      ReadStatements(buffer, offset, script);
    }
  } else {
    // Statements shared with another script: which one supplies them is not
    // known, so the script is kept without statements.
    LogWriteLine("Script with shared statements read without statements.");
    script.sharedStatements = -1;
    script.sharedStatements2 = -1;
  }

  script.hasStatements = !script.statements.empty();
  if (version < kFirstRunOnce && !script.hasStatements) script.runOnce = 0;
  script.frameTemplate.parameters.clear();
  script.conditionTokens.clear();

  if (link) LinkScript(script, true);
  if (registerScript) RegisterScript(script);
}

void SerializeScript(ByteList& buffer, std::int32_t& offset, Script& script, bool shortForm) {
  if (!shortForm) RaiseError(kErrData, "Trying to save full script within engine.");
  if (script.recompile) dataHooks.CompileScript(script);
  if (script.index >= 0 && script.index < static_cast<std::int32_t>(scriptTable.scripts.size())) {
    // The running copy holds the live values of the statics and locals.
    script.frameTemplate = scriptTable.scripts[static_cast<std::size_t>(script.index)].frameTemplate;
  }

  BufferWriteString(buffer, script.text, offset);
  BufferWriteLong(buffer, kScriptFormatCurrent, offset);
  BufferWriteString(buffer, script.header, offset);
  BufferWriteString(buffer, script.footer, offset);
  BufferWriteIdentifier(buffer, script.id, offset);

  BufferWriteLastIndex(buffer, script.nodePages.size(), offset);
  for (const ScriptNodePage& page : script.nodePages) {
    BufferWriteLastIndex(buffer, page.nodes.size(), offset);
    for (const ScriptNode& node : page.nodes) {
      BufferWriteSingle(buffer, node.x, offset);
      BufferWriteSingle(buffer, node.y, offset);
      BufferWriteString(buffer, node.text1, offset);
      BufferWriteString(buffer, node.text2, offset);
      BufferWriteLastIndex(buffer, node.lines.size(), offset);
      for (const std::u16string& line : node.lines) BufferWriteString(buffer, line, offset);
      BufferWriteLong(buffer, static_cast<std::int32_t>(node.links.size()), offset);
      for (std::int32_t link : node.links) BufferWriteLong(buffer, link, offset);
      BufferWriteLong(buffer, node.page, offset);
      BufferWriteString(buffer, node.pageText, offset);
      BufferWriteLong(buffer, node.extra, offset);
    }
  }

  BufferWriteByte(buffer, script.runOnce, offset);
  WritePropertyList(buffer, offset, script.frameTemplate.locals);
  WritePropertyList(buffer, offset, script.frameTemplate.statics);

  BufferWriteByte(buffer, script.hasRun, offset);
  BufferWriteBoolean(buffer, script.hasStatements, offset);
  BufferWriteLong(buffer, script.sharedStatements, offset);
  BufferWriteLong(buffer, script.sharedStatements2, offset);

  if (!script.hasStatements || script.sharedStatements < 0) {
    std::int32_t lengthAt = offset;
    BufferWriteLong(buffer, 0, offset);  // patched when the block is complete
    const std::int32_t blockStart = offset;
    BufferWriteLong(buffer, script.statementLast(), offset);
    for (const ScriptStatement& statement : script.statements) {
      BufferWriteLong(buffer, statement.sourceLine, offset);
      BufferWriteLong(buffer, statement.node, offset);
      BufferWriteByte(buffer, statement.kind, offset);
      BufferWriteLastIndex(buffer, statement.tokens.size(), offset);
      for (const ScriptToken& token : statement.tokens)
        WriteToken(buffer, offset, script.frameTemplate, token);
    }
    BufferWriteLong(buffer, offset - blockStart, lengthAt);
  }
}

}  // namespace kiv
