#include "data/resource_header.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/resource_header_writer.h"

namespace kiv {
namespace {

ByteList Payload(std::size_t size) {
  ByteList payload(size);
  for (std::size_t i = 0; i < size; ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return payload;
}

// Runs the check and gives the error number (0 when it passes) and message.
int Check(const ByteList& file, std::int32_t minimum, std::int32_t& offset, std::int32_t& version,
          std::string& message) {
  offset = 0;
  version = 0;
  try {
    EXPECT_TRUE(CheckResourceHeader(file, offset, version, minimum));
    return 0;
  } catch (const KivError& e) {
    message = e.what();
    return e.Number();
  }
}

const char* kCorrupt = "Resource is corrupt.";
const char* kTooOld = "Resource is too old for this version of Kiv or corrupt.";
const char* kTooNew = "Resource is too new for this version of Kiv or corrupt.";

TEST(ResourceHeaderTest, AnswersEachVersionAndMinimum) {
  const struct {
    std::int32_t version;
    std::int32_t minimum;
    int error;
    const char* message;
    std::int32_t payloadStart;
  } cases[] = {
      {100737, kMinMapVersion, 0, "", 4},  // no digest yet
      {100738, kMinMapVersion, 0, "", 24},          {100790, kMinMapVersion, 0, "", 24},
      {100791, kMinMapVersion, -3, kTooNew, 0},     {100471, kMinMapVersion, 0, "", 4},
      {100470, kMinMapVersion, -2, kTooOld, 0},     {100356, kMinTileSetVersion, 0, "", 4},
      {100355, kMinTileSetVersion, -2, kTooOld, 0}, {100309, kMinItemSetVersion, 0, "", 4},
      {100308, kMinItemSetVersion, -2, kTooOld, 0}, {100300, kMinSetVersion, 0, "", 4},
      {100299, kMinSetVersion, -2, kTooOld, 0},     {100654, kMinStateVersion, 0, "", 4},
      {100653, kMinStateVersion, -2, kTooOld, 0},
  };
  for (const auto& c : cases) {
    const ByteList file = test::MakeResourceFile(c.version, Payload(40));
    std::int32_t offset = 0, version = 0;
    std::string message;
    EXPECT_EQ(Check(file, c.minimum, offset, version, message), c.error) << c.version;
    if (c.error == 0) {
      EXPECT_EQ(offset, c.payloadStart) << c.version;
      EXPECT_EQ(version, c.version);
    } else {
      EXPECT_EQ(message, c.message) << c.version;
    }
  }
}

TEST(ResourceHeaderTest, RefusesFilesShorterThan25BytesWhateverTheVersion) {
  ByteList file = test::MakeResourceFile(100500, Payload(20));  // 24 bytes
  ASSERT_EQ(file.size(), 24u);
  std::int32_t offset = 0, version = 0;
  std::string message;
  EXPECT_EQ(Check(file, kMinMapVersion, offset, version, message), -2);
  EXPECT_EQ(message, kCorrupt);
  file.push_back(0);
  EXPECT_EQ(Check(file, kMinMapVersion, offset, version, message), 0);
}

TEST(ResourceHeaderTest, AnyChangedByteOfAHashedFileIsCorrupt) {
  const ByteList good = test::MakeResourceFile(100738, Payload(30));
  for (std::size_t at : {std::size_t{4}, std::size_t{23}, std::size_t{24}, good.size() - 1}) {
    ByteList bad = good;
    bad[at] ^= 0x01;
    std::int32_t offset = 0, version = 0;
    std::string message;
    EXPECT_EQ(Check(bad, kMinMapVersion, offset, version, message), -2) << at;
    EXPECT_EQ(message, kCorrupt);
  }
}

TEST(ResourceHeaderTest, UnhashedFilesAcceptAnyPayload) {
  ByteList file = test::MakeResourceFile(100737, Payload(30));
  file[10] ^= 0xFF;
  std::int32_t offset = 0, version = 0;
  std::string message;
  EXPECT_EQ(Check(file, kMinMapVersion, offset, version, message), 0);
}

TEST(ResourceHeaderTest, TooOldIsReportedBeforeABadDigest) {
  ByteList file = test::MakeResourceFile(100740, Payload(30));
  file[30] ^= 0xFF;
  std::int32_t offset = 0, version = 0;
  std::string message;
  EXPECT_EQ(Check(file, 100750, offset, version, message), -2);
  EXPECT_EQ(message, kTooOld);
}

}  // namespace
}  // namespace kiv
