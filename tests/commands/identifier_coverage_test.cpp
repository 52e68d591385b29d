// Every fixed identifier is served by an executor for the kinds the coverage
// table gives, or is inert on purpose; the table lists each code once per kind.
#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <set>
#include <string>

#include "commands/actor_selection.h"
#include "commands/internal_selection.h"
#include "commands/object_executor.h"
#include "commands/object_kind_commands.h"
#include "data/fixed_identifiers.h"
#include "identifier_coverage_table.h"
#include "script/script_value.h"

namespace kiv {
namespace {

using coverage::CoverageRow;
using coverage::CoverageTable;
using coverage::Server;

// "1, 24, 132-148" as the codes it names.
std::vector<std::int32_t> ParseCodes(std::string_view text) {
  std::vector<std::int32_t> codes;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    std::int32_t first = 0;
    const auto parsed = std::from_chars(item.data(), item.data() + item.size(), first);
    std::int32_t last = first;
    if (parsed.ptr != item.data() + item.size() && *parsed.ptr == '-') {
      std::from_chars(parsed.ptr + 1, item.data() + item.size(), last);
    }
    for (std::int32_t code = first; code <= last; ++code) codes.push_back(code);
  }
  return codes;
}

std::string Named(std::int32_t code) {
  return std::to_string(code) + " " + std::string(FixedIdentifierName(code));
}

// A kind of the object executor that is not in its kind table yet is not
// checked; the rows stand ready for it. Actor, field and camera-view kinds
// always have their executors.
bool KindPresent(std::int32_t kind) {
  switch (kind) {
    case kObjectNone:
    case kObjectActor:
    case kObjectCharacter:
    case kObjectVehicle:
    case kObjectTurret:
    case kObjectDynamic:
    case kObjectField:
    case kObjectCameraView:
      return true;
    default:
      return ObjectKindEntryFor(kind) != nullptr;
  }
}

// The (code, kind) pairs the executors' own selection tables serve; kind 0
// for the internal selection.
std::map<std::int32_t, std::set<std::int32_t>> ServedByExecutors() {
  std::map<std::int32_t, std::set<std::int32_t>> served;
  for (const auto& list : {InternalExecutorServes(), ActorExecutorServes(), FieldViewExecutorServes(),
                           ObjectExecutorServes()}) {
    for (const ServedIdentifier& identifier : list) served[identifier.code].insert(identifier.kinds.begin(), identifier.kinds.end());
  }
  return served;
}

struct TableView {
  std::map<std::int32_t, std::set<std::int32_t>> kinds;  // kind 0: internal selection
  std::set<std::int32_t> inert, keywords;
  std::map<std::int32_t, const CoverageRow*> forwards;
  std::map<std::int32_t, int> mentions;  // rows naming the code (per kind)
  std::vector<std::string> doubles;
};

TableView ReadTable() {
  TableView view;
  for (const CoverageRow& row : CoverageTable()) {
    for (const std::int32_t code : ParseCodes(row.codes)) {
      ++view.mentions[code];
      bool twice = false;
      switch (row.server) {
        case Server::kInternal:
          twice = !view.kinds[code].insert(kObjectNone).second;
          break;
        case Server::kKeyword:
          twice = !view.keywords.insert(code).second;
          break;
        case Server::kForward:
          twice = !view.forwards.emplace(code, &row).second;
          break;
        case Server::kInert:
          twice = !view.inert.insert(code).second;
          break;
        case Server::kKinds:
          for (const std::int32_t kind : row.kinds) twice |= !view.kinds[code].insert(kind).second;
          break;
      }
      if (twice) view.doubles.push_back(Named(code));
    }
  }
  return view;
}

TEST(IdentifierCoverage, TableNamesEveryCodeOnceAndInertCodesNowhereElse) {
  const TableView view = ReadTable();
  EXPECT_TRUE(view.doubles.empty()) << "listed twice for one kind: " << testing::PrintToString(view.doubles);
  for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) {
    EXPECT_GT(view.mentions.count(code), 0u) << "not in the coverage table: " << Named(code);
    if (view.inert.count(code) != 0) {
      EXPECT_EQ(view.mentions.at(code), 1) << "inert and served: " << Named(code);
    }
  }
  for (const auto& [code, count] : view.mentions) {
    EXPECT_TRUE(code >= 1 && code <= kFixedIdentifierCount) << "no such code: " << code;
  }
  // The counts of the vocabulary: 611 served, 104 inert.
  EXPECT_EQ(view.inert.size(), 104u);
  EXPECT_EQ(view.mentions.size() - view.inert.size(), 611u);
}

TEST(IdentifierCoverage, ExecutorsServeExactlyWhatTheTableGives) {
  const TableView view = ReadTable();
  const auto served = ServedByExecutors();
  for (std::int32_t code = 1; code <= kFixedIdentifierCount; ++code) {
    const auto listed = view.kinds.find(code);
    const auto given = served.find(code);
    if (listed != view.kinds.end()) {
      for (const std::int32_t kind : listed->second) {
        if (!KindPresent(kind)) continue;
        const bool isServed = given != served.end() && given->second.count(kind) != 0;
        EXPECT_TRUE(isServed) << "nothing serves " << Named(code) << " for kind " << kind;
      }
    }
    if (given == served.end()) continue;
    for (const std::int32_t kind : given->second) {
      const bool isListed = listed != view.kinds.end() && listed->second.count(kind) != 0;
      EXPECT_TRUE(isListed) << Named(code) << " is served for kind " << kind << ", which the table does not list";
    }
  }
}

TEST(IdentifierCoverage, ForwardedNamesReachTheirTarget) {
  const TableView view = ReadTable();
  const auto served = ServedByExecutors();
  for (const auto& [code, row] : view.forwards) {
    const std::string name(FixedIdentifierName(code));
    // The fall-back only sees a code the selection has no case for.
    EXPECT_EQ(InternalHandlerFor(code), nullptr) << Named(code) << " has an internal case";
    ASSERT_TRUE(name.starts_with(row->note)) << Named(code) << " lacks " << row->note;
    const std::int32_t kind = row->kinds.front();
    if (!KindPresent(kind)) continue;
    const std::string rest = name.substr(row->note.size());
    const std::int32_t target = ObjectCommandCode(rest);
    // Handed on to a member that does nothing on purpose (the view's
    // Perspective to Roll): the call ends there quietly.
    if (view.inert.count(target) != 0) continue;
    const auto given = served.find(target);
    EXPECT_TRUE(given != served.end() && given->second.count(kind) != 0)
        << Named(code) << " is handed on as " << Named(target) << ", which kind " << kind << " does not serve";
  }
}

TEST(IdentifierCoverage, KeywordsAndInertCodesHaveNoInternalCase) {
  const TableView view = ReadTable();
  for (const std::int32_t code : view.keywords) EXPECT_EQ(InternalHandlerFor(code), nullptr) << Named(code);
  for (const std::int32_t code : view.inert) EXPECT_EQ(InternalHandlerFor(code), nullptr) << Named(code);
}

}  // namespace
}  // namespace kiv
