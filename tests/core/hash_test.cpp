#include "core/hash.h"

#include <gtest/gtest.h>

#include <string>

namespace kiv {
namespace {

ByteList Bytes(const std::string& text) { return ByteList(text.begin(), text.end()); }

ByteList FromHex(const std::string& hex) {
  ByteList bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

TEST(HashBytes, Sha1FromStartToEnd) {
  const struct {
    const char* name;
    std::string text;
    int start;
    std::string expected;
  } cases[] = {
      {"abc from 0", "abc", 0, "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abc from 1 is bc", "abc", 1, "5b2505039ac5af9e197f5dad04113906a9cf9a2a"},
      {"start at the end hashes nothing", "abc", 3, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"empty list", "", 0, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"start beyond the end", "abc", 4, ""},
      {"negative start", "abc", -1, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HashBytes(Bytes(c.text), kHashSha1, c.start), FromHex(c.expected)) << c.name;
}

TEST(HashBytes, UnknownAlgorithmGivesNothing) { EXPECT_TRUE(HashBytes(Bytes("abc"), 0x8003, 0).empty()); }

TEST(VerifyHashBytes, ComparesWithTheStoredDigest) {
  // A hashed data file: format version, digest of what follows, the data.
  ByteList file = {0xB6, 0x89, 0x01, 0x00};
  const ByteList data = Bytes("map data");
  const ByteList digest = HashBytes(data, kHashSha1, 0);
  file.insert(file.end(), digest.begin(), digest.end());
  file.insert(file.end(), data.begin(), data.end());

  EXPECT_TRUE(VerifyHashBytes(digest, file, kHashSha1, 24));
  ByteList damaged = file;
  damaged.back() ^= 1;
  EXPECT_FALSE(VerifyHashBytes(digest, damaged, kHashSha1, 24));
  EXPECT_FALSE(VerifyHashBytes(ByteList(digest.begin(), digest.end() - 1), file, kHashSha1, 24));
  // A digest that cannot be computed never matches, not even an empty stored one.
  EXPECT_FALSE(VerifyHashBytes({}, file, kHashSha1, 1000));
  EXPECT_FALSE(VerifyHashBytes({}, file, 0, 24));
}

}  // namespace
}  // namespace kiv
