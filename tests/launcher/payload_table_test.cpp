#include "launcher/payload_table.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "support/bundle_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::AppendLength;
using test::AppendMark;
using test::AppendPayload;
using test::PadToBlock;

ByteList Filled(std::size_t size, std::uint8_t value) { return ByteList(size, value); }

struct TableCase {
  const char* name;
  std::function<ByteList()> build;
  BundleStatus status;
  std::array<PayloadSpan, kPayloadCount> payloads;
};

void PrintTo(const TableCase& c, std::ostream* out) { *out << c.name; }

// A padded 1000-byte image puts the mark at 1024: installer length at 1027.
const std::vector<TableCase> kCases = {
    {"empty file", [] { return ByteList{}; }, BundleStatus::kNoMark, {}},
    {"plain program without a block", [] { return Filled(3000, 'x'); }, BundleStatus::kNoMark, {}},
    {"well-formed bundle, padding after the last payload ignored",
     [] {
       return test::BuildBundle(Filled(1000, 'x'),
                                {Filled(5, 'i'), Filled(700, 'p'), ByteList{}, Filled(20, 'g')});
     },
     BundleStatus::kFound,
     {PayloadSpan{1031, 5}, PayloadSpan{1040, 700}, PayloadSpan{}, PayloadSpan{1748, 20}}},
    {"negative length means absent, no bytes follow it",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendPayload(bytes, Filled(5, 'i'));
       AppendLength(bytes, -7);
       AppendPayload(bytes, Filled(3, 'c'));
       AppendPayload(bytes, Filled(600, 'g'));
       return bytes;
     },
     BundleStatus::kFound,
     {PayloadSpan{1031, 5}, PayloadSpan{}, PayloadSpan{1044, 3}, PayloadSpan{1051, 600}}},
    {"mark not on a 512-byte boundary is not found",
     [] {
       ByteList bytes = Filled(1000, 'x');
       AppendMark(bytes);
       AppendPayload(bytes, Filled(5, 'i'));
       AppendPayload(bytes, Filled(700, 'p'));
       AppendPayload(bytes, Filled(3, 'c'));
       AppendPayload(bytes, Filled(20, 'g'));
       PadToBlock(bytes);
       return bytes;
     },
     BundleStatus::kNoMark,
     {}},
    {"short: fewer than 512 bytes from the mark to the end",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendPayload(bytes, Filled(5, 'i'));
       AppendPayload(bytes, Filled(400, 'p'));
       AppendPayload(bytes, Filled(3, 'c'));
       AppendPayload(bytes, Filled(20, 'g'));
       return bytes;  // 3 + 16 + 428 = 447 bytes after the block start
     },
     BundleStatus::kNoMark,
     {}},
    {"exactly 512 bytes from the mark to the end, last payload ending the file",
     [] {
       ByteList bytes = Filled(512, 'x');
       AppendMark(bytes);
       AppendPayload(bytes, Filled(5, 'i'));
       AppendPayload(bytes, Filled(400, 'p'));
       AppendPayload(bytes, ByteList{});
       AppendPayload(bytes, Filled(88, 'g'));
       return bytes;  // 3 + 16 + 493 = 512
     },
     BundleStatus::kFound,
     {PayloadSpan{519, 5}, PayloadSpan{528, 400}, PayloadSpan{}, PayloadSpan{936, 88}}},
    {"first marked block wins, even inside the program image",
     [] {
       ByteList bytes = Filled(512, 'x');
       AppendMark(bytes);
       AppendPayload(bytes, ByteList{'f', 'a', 'k', 'e'});
       bytes.resize(2048, 0);  // the rest of the image: zero lengths
       return test::BuildBundle(bytes, {Filled(5, 'i'), Filled(9, 'p'), Filled(3, 'c'), Filled(2, 'g')});
     },
     BundleStatus::kFound,
     {PayloadSpan{519, 4}, PayloadSpan{}, PayloadSpan{}, PayloadSpan{}}},
    {"file ends inside a payload",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendPayload(bytes, Filled(10, 'i'));
       AppendLength(bytes, 5000);
       bytes.resize(bytes.size() + 600, 'p');
       return bytes;
     },
     BundleStatus::kBadData,
     {}},
    {"last payload runs past the end of the file",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendPayload(bytes, Filled(5, 'i'));
       AppendPayload(bytes, Filled(9, 'p'));
       AppendPayload(bytes, Filled(3, 'c'));
       AppendLength(bytes, 601);
       bytes.resize(bytes.size() + 600, 'g');
       return bytes;
     },
     BundleStatus::kBadData,
     {}},
    {"file ends inside a length field",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendPayload(bytes, Filled(600, 'i'));
       bytes.push_back(4);
       bytes.push_back(0);
       return bytes;
     },
     BundleStatus::kBadData,
     {}},
    {"largest length far beyond the end",
     [] {
       ByteList bytes = Filled(1000, 'x');
       PadToBlock(bytes);
       AppendMark(bytes);
       AppendLength(bytes, 0x7FFFFFFF);
       bytes.resize(bytes.size() + 600, 'i');
       return bytes;
     },
     BundleStatus::kBadData,
     {}},
};

class PayloadTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(PayloadTableTest, ReadsTheAppendedBlock) {
  const TableCase& c = GetParam();
  test::TempDir dir;
  const std::string path = dir.File("launcher");
  test::WriteTestFile(path, c.build());
  const int fd = open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  const PayloadTable table = ReadPayloadTable(fd);
  close(fd);
  EXPECT_EQ(table.status, c.status);
  for (int k = 0; k < kPayloadCount; ++k) {
    EXPECT_EQ(table.payloads[k].offset, c.payloads[k].offset) << "payload " << k;
    EXPECT_EQ(table.payloads[k].length, c.payloads[k].length) << "payload " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Bundles, PayloadTableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TableCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace kiv
