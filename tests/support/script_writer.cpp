#include "support/script_writer.h"

#include "core/data_buffer.h"
#include "core/symbol_table.h"

namespace kiv::test {

namespace {

void WriteRaw(ByteList& buffer, std::int32_t& offset, const ScriptTokenFixture& token) {
  if (token.rawBody) {
    BufferWriteBytes(buffer, token.rawBody->data(), 16, offset);
    return;
  }
  ByteList tagged;
  std::int32_t at = 0;
  BufferWriteVariant(tagged, token.value, at);
  BufferWriteBytes(buffer, tagged.data() + 1, 16, offset);  // the body without its tag
}

void WriteVariables(ByteList& buffer, std::int32_t& offset, std::int32_t version,
                    const std::vector<std::pair<std::u16string, Variant>>& list) {
  BufferWriteLong(buffer, static_cast<std::int32_t>(list.size()) - 1, offset);
  for (const auto& [name, value] : list) {
    BufferWriteString(buffer, name, offset);
    if (version < 100004) {
      BufferWriteString(buffer, value.AsText(), offset);
    } else {
      BufferWriteVariant(buffer, value, offset);
    }
  }
}

void WriteNode(ByteList& buffer, std::int32_t& offset, std::int32_t version, const ScriptNodeFixture& node) {
  if (version < 100006) {
    BufferWriteLong(buffer, static_cast<std::int32_t>(node.x), offset);
    BufferWriteLong(buffer, static_cast<std::int32_t>(node.y), offset);
  } else {
    BufferWriteSingle(buffer, node.x, offset);
    BufferWriteSingle(buffer, node.y, offset);
  }
  BufferWriteString(buffer, node.text1, offset);
  BufferWriteString(buffer, node.text2, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(node.lines.size()) - 1, offset);
  for (const auto& line : node.lines) BufferWriteString(buffer, line, offset);
  BufferWriteLong(buffer, static_cast<std::int32_t>(node.links.size()), offset);
  for (std::int32_t link : node.links) BufferWriteLong(buffer, link, offset);
  if (version >= 100005) {
    BufferWriteLong(buffer, node.page, offset);
    BufferWriteString(buffer, node.pageText, offset);
  }
  if (version >= 100009) BufferWriteLong(buffer, node.extra, offset);
}

}  // namespace

void WriteScriptFixture(ByteList& buffer, std::int32_t& offset, const ScriptFixture& s) {
  const std::int32_t v = s.version;
  BufferWriteString(buffer, s.text, offset);
  BufferWriteLong(buffer, v, offset);
  if (v == 100012) {
    BufferWriteString(buffer, s.condition, offset);
  } else if (v >= 100013) {
    BufferWriteString(buffer, s.header, offset);
    BufferWriteString(buffer, s.footer, offset);
  }
  if (v >= 100015 && v <= 100017) {
    BufferWriteLong(buffer, s.skippedLast, offset);
    for (std::int32_t i = 0; i <= s.skippedLast; ++i) {
      BufferWriteLong(buffer, 0x11111111, offset);
      BufferWriteLong(buffer, 0x22222222, offset);
    }
  }
  if (v >= 100017) BufferWriteIdentifier(buffer, s.id, offset);
  if (v >= 100001) {
    if (v >= 100005) {
      BufferWriteLong(buffer, static_cast<std::int32_t>(s.nodePages.size()) - 1, offset);
      for (const auto& page : s.nodePages) {
        BufferWriteLong(buffer, static_cast<std::int32_t>(page.size()) - 1, offset);
        for (const auto& node : page) WriteNode(buffer, offset, v, node);
      }
    } else {
      const std::vector<ScriptNodeFixture> none;
      const auto& page = s.nodePages.empty() ? none : s.nodePages.front();
      BufferWriteLong(buffer, static_cast<std::int32_t>(page.size()) - 1, offset);
      for (const auto& node : page) WriteNode(buffer, offset, v, node);
    }
  }
  if (v >= 100016) BufferWriteByte(buffer, s.runOnce, offset);
  if (v >= 100002) {
    WriteVariables(buffer, offset, v, s.locals);
    WriteVariables(buffer, offset, v, s.statics);
  }
  if (s.shortForm) {
    BufferWriteByte(buffer, s.hasRun, offset);
    BufferWriteBoolean(buffer, s.hasStatements, offset);
    if (v >= 100014) {
      BufferWriteLong(buffer, s.sharedStatements, offset);
      BufferWriteLong(buffer, s.sharedStatements2, offset);
    }
  }
  if (!s.shortForm || !s.hasStatements || s.sharedStatements < 0) {
    std::int32_t lengthAt = offset;
    BufferWriteLong(buffer, 0, offset);
    const std::int32_t start = offset;
    BufferWriteLong(buffer, static_cast<std::int32_t>(s.statements.size()) - 1, offset);
    for (const auto& statement : s.statements) {
      BufferWriteLong(buffer, statement.sourceLine, offset);
      BufferWriteLong(buffer, statement.node, offset);
      BufferWriteByte(buffer, statement.kind, offset);
      BufferWriteLong(buffer, static_cast<std::int32_t>(statement.tokens.size()) - 1, offset);
      for (const auto& token : statement.tokens) {
        BufferWriteByte(buffer, token.kind, offset);
        switch (token.kind) {
          case 0:
          case 6:
          case 17:
            WriteRaw(buffer, offset, token);
            break;
          case 1:
          case 2:
          case 5:
            BufferWriteString(buffer, token.value.AsText(), offset);
            break;
          default:
            break;
        }
      }
    }
    if (!s.blockPadding.empty()) {
      BufferWriteBytes(buffer, s.blockPadding.data(), static_cast<std::int32_t>(s.blockPadding.size()),
                       offset);
    }
    BufferWriteLong(buffer, offset - start, lengthAt);
  }
}

ByteList ScriptFixtureBytes(const ScriptFixture& script) {
  ByteList bytes;
  std::int32_t offset = 0;
  WriteScriptFixture(bytes, offset, script);
  bytes.resize(static_cast<std::size_t>(offset));
  return bytes;
}

ScriptFixture EmptyScriptFixture() { return ScriptFixture(); }

ScriptFixture CompiledScriptFixture(const Script& script) {
  ScriptFixture fixture;
  fixture.shortForm = false;
  fixture.text = script.text;
  fixture.hasStatements = !script.statements.empty();
  for (const ScriptStatement& statement : script.statements) {
    ScriptStatementFixture stored;
    stored.sourceLine = statement.sourceLine;
    stored.node = statement.node;
    stored.kind = statement.kind;
    for (const ScriptToken& token : statement.tokens) {
      const bool named = token.kind == kTokenSymbol || token.kind == kTokenCall;
      stored.tokens.push_back({token.kind, named ? Variant::Text(SymbolName(token.value.AsLong())) : token.value,
                               std::nullopt});
    }
    fixture.statements.push_back(std::move(stored));
  }
  for (const ScriptVariable& local : script.frameTemplate.locals)
    fixture.locals.emplace_back(SymbolName(local.symbol), local.value);
  return fixture;
}

}  // namespace kiv::test
