#include "platform/os/private_profile.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/os/ansi_case.h"
#include "platform/os/file_ops.h"

namespace kiv::os {
namespace {

constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

enum class LineKind { kOther, kSection, kKey };

// One line of the file: [start, contentEnd) is its text without the line end,
// [contentEnd, end) the line end itself (LF, CR LF or nothing at the file's end).
struct Line {
  std::size_t start = 0;
  std::size_t contentEnd = 0;
  std::size_t end = 0;
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed, quotes still on
  bool blank = false;
};

Line ClassifyLine(std::string_view text, std::size_t start, std::size_t contentEnd, std::size_t end) {
  Line line;
  line.start = start;
  line.contentEnd = contentEnd;
  line.end = end;
  const std::string_view content = Trim(text.substr(start, contentEnd - start));
  line.blank = content.empty();
  if (content.empty() || content.front() == ';') return line;
  if (content.front() == '[') {
    const std::size_t close = content.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::kSection;
      line.name = Trim(content.substr(1, close - 1));
      return line;
    }
  }
  const std::size_t equals = content.find('=');
  if (equals != std::string_view::npos) {
    line.kind = LineKind::kKey;
    line.name = Trim(content.substr(0, equals));
    line.value = Trim(content.substr(equals + 1));
  }
  return line;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    std::size_t contentEnd = newline == std::string_view::npos ? text.size() : newline;
    if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
    lines.push_back(ClassifyLine(text, start, contentEnd, end));
    start = end;
  }
  return lines;
}

// Index of the first header line of the section, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::kSection && AnsiEqualIgnoringCase(lines[i].name, section)) return i;
  }
  return lines.size();
}

// One past the last line of the section whose header is at index header.
std::size_t SectionEnd(const std::vector<Line>& lines, std::size_t header) {
  std::size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != LineKind::kSection) ++i;
  return i;
}

std::size_t FindKey(const std::vector<Line>& lines, std::size_t from, std::size_t to, std::string_view key) {
  for (std::size_t i = from; i < to; ++i) {
    if (lines[i].kind == LineKind::kKey && AnsiEqualIgnoringCase(lines[i].name, key)) return i;
  }
  return to;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const std::size_t header = FindSection(lines, section);
  if (header == lines.size()) return std::nullopt;
  const std::size_t end = SectionEnd(lines, header);
  const std::size_t found = FindKey(lines, header + 1, end, key);
  if (found == end) return std::nullopt;
  return std::string(WithoutQuotes(lines[found].value));
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  const std::size_t header = FindSection(lines, section);
  if (header == lines.size()) {
    result.append(text);
    if (!result.empty() && result.back() != '\n') result.append(kNewLine);
    result.append("[").append(section).append("]").append(kNewLine);
    result.append(key).append("=").append(value).append(kNewLine);
    return result;
  }

  const std::size_t end = SectionEnd(lines, header);
  const std::size_t found = FindKey(lines, header + 1, end, key);
  if (found != end) {
    // Same key name as in the file; the line keeps its own line end.
    const Line& line = lines[found];
    result.append(text.substr(0, line.start));
    result.append(line.name).append("=").append(value);
    result.append(text.substr(line.contentEnd));
    return result;
  }

  std::size_t last = end - 1;  // the last non-blank line of the section (at worst its header)
  while (last > header && lines[last].blank) --last;
  const Line& after = lines[last];
  result.append(text.substr(0, after.end));
  if (after.end == after.contentEnd) result.append(kNewLine);  // the file's last line had no line end
  result.append(key).append("=").append(value).append(kNewLine);
  result.append(text.substr(after.end));
  return result;
}

std::int32_t ParseProfileInt(std::string_view value) {
  std::size_t i = 0;
  const bool negative = !value.empty() && value.front() == '-';
  if (negative) ++i;
  std::uint32_t number = 0;  // unsigned so that an overlong number wraps instead of overflowing
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) number = 0u - number;
  return static_cast<std::int32_t>(number);
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultText) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return std::string(defaultText);
  std::optional<std::string> value = FindProfileValue(*text, section, key);
  return value ? std::move(*value) : std::string(defaultText);
}

std::int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                            std::int32_t defaultValue) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return defaultValue;
  const std::optional<std::string> value = FindProfileValue(*text, section, key);
  return value ? ParseProfileInt(*value) : defaultValue;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    // Never replace a file that exists but could not be read.
    if (PathExists(path)) return false;
    text.emplace();
  }
  return WriteFileReplacing(path, SetProfileValue(*text, section, key, value));
}

}  // namespace kiv::os
