#include "core/zlib_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::BytesOf;
using test::ReadTestFile;
using test::TempDir;
using test::WriteTestFile;

ByteList Noise(std::size_t size, std::uint32_t seed) {
  ByteList bytes(size);
  for (std::uint8_t& b : bytes) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(seed >> 24);
  }
  return bytes;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  return names;
}

int ErrorNumberOf(const std::function<void()>& action, std::string* message = nullptr) {
  try {
    action();
  } catch (const KivError& error) {
    if (message != nullptr) *message = error.what();
    return error.Number();
  }
  return 0;
}

TEST(ZlibFile, TenBytesGiveTheLengthAndOneLevel9Stream) {
  TempDir dir;
  const std::string path = dir.File("SAVE0.kSV");
  const ByteList input = BytesOf("0123456789");
  ZlibFileBegin(path);
  ZlibFileWrite(input);
  ZlibFileEnd();
  const ByteList file = ReadTestFile(path);
  ASSERT_GT(file.size(), 6u);
  EXPECT_EQ(ByteList(file.begin(), file.begin() + 6), (ByteList{0x0A, 0x00, 0x00, 0x00, 0x78, 0xDA}));
  ByteList inflated(10);
  uLongf size = 10;
  ASSERT_EQ(uncompress(inflated.data(), &size, file.data() + 4, static_cast<uLong>(file.size() - 4)), Z_OK);
  EXPECT_EQ(inflated, input);
  EXPECT_EQ(ReadCompressedFile(path), input);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"SAVE0.kSV"});  // no temporary file left
}

TEST(ZlibFile, ManyWritesReadBackAsOne) {
  TempDir dir;
  const std::string path = dir.File("SAVE1.kSV");
  const std::vector<ByteList> parts = {
      BytesOf("head"), {}, Noise(1 << 20, 1), ByteList(3 << 20, 'x'), BytesOf("end")};
  ByteList whole;
  ZlibFileBegin(path);
  for (const ByteList& part : parts) {
    ZlibFileWrite(part);
    whole.insert(whole.end(), part.begin(), part.end());
  }
  ZlibFileEnd();
  EXPECT_EQ(ReadCompressedFile(path), whole);
}

TEST(ZlibFile, NothingWrittenIsAnEmptyFile) {
  TempDir dir;
  const std::string path = dir.File("empty.kSV");
  ZlibFileBegin(path);
  ZlibFileEnd();
  const ByteList file = ReadTestFile(path);
  ASSERT_GE(file.size(), 4u);
  EXPECT_EQ(ByteList(file.begin(), file.begin() + 4), ByteList(4, 0));
  EXPECT_EQ(ReadCompressedFile(path), ByteList());
}

// The old save stays whole until the new one is complete; an abandoned write leaves it alone.
TEST(ZlibFile, ReplacesTheTargetOnlyAtTheEnd) {
  TempDir dir;
  const std::string path = dir.File("SAVE2.kSV");
  WriteTestFile(path, BytesOf("old save"));
  ZlibFileBegin(path);
  ZlibFileWrite(BytesOf("new save"));
  EXPECT_EQ(ReadTestFile(path), BytesOf("old save"));
  ZlibFileBegin(path);  // a second begin abandons the unfinished file
  EXPECT_EQ(FilesIn(dir.Path()).size(), 2u);
  ZlibFileWrite(BytesOf("newer save"));
  ZlibFileEnd();
  EXPECT_EQ(ReadCompressedFile(path), BytesOf("newer save"));
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"SAVE2.kSV"});
}

TEST(ZlibFile, FailuresAreNumberedErrors) {
  TempDir dir;
  std::string message;
  EXPECT_EQ(ErrorNumberOf([&] { ZlibFileBegin(dir.File("missing/SAVE0.kSV")); }), -1);
  EXPECT_EQ(ErrorNumberOf([] { ZlibFileWrite(BytesOf("x")); }, &message), -1);
  EXPECT_EQ(message, "ZLib deflate error.");
  EXPECT_EQ(ErrorNumberOf([] { ZlibFileEnd(); }, &message), -1);
  EXPECT_EQ(message, "ZLib deflate error.");
  EXPECT_EQ(ErrorNumberOf([&] { ReadCompressedFile(dir.File("none.kSV")); }), 53);
  WriteTestFile(dir.File("short.kSV"), ByteList{1, 0, 0});
  EXPECT_EQ(ErrorNumberOf([&] { ReadCompressedFile(dir.File("short.kSV")); }, &message), -1);
  EXPECT_EQ(message, "ZLib uncompress error.");
}

// A damaged save is an error, never zero bytes passed on as success.
TEST(ZlibUncompress, RefusesStreamsThatDoNotGiveTheLength) {
  const ByteList content = Noise(5000, 3);
  const ByteList packed = test::CompressLevel9(content);
  ByteList damaged = packed;
  for (std::size_t i = 100; i < 120; ++i) damaged[i] ^= 0xA5;
  struct Case {
    const char* what;
    ByteList source;
    std::int32_t length;
    bool ok;
  };
  const Case cases[] = {
      {"whole stream", packed, 5000, true},
      {"damaged stream", damaged, 5000, false},
      {"stream cut short", ByteList(packed.begin(), packed.end() - 10), 5000, false},
      {"length beyond the stream", packed, 5001, false},
      {"length short of the stream", packed, 4999, false},
      {"negative length", packed, -1, false},
      {"length no stream can reach", packed, 0x7FFFFFFF, false},
      {"no source", {}, 0, false},
      {"empty stream", test::CompressLevel9({}), 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ByteList source = c.source;
    ByteList destination = BytesOf("stale");
    std::string message;
    const int number = ErrorNumberOf([&] { ZlibUncompress(source, destination, c.length); }, &message);
    EXPECT_TRUE(source.empty());  // released either way
    if (c.ok) {
      EXPECT_EQ(number, 0);
      EXPECT_EQ(destination.size(), static_cast<std::size_t>(c.length));
    } else {
      EXPECT_EQ(number, -1);
      EXPECT_EQ(message, "ZLib uncompress error.");
    }
  }
}

TEST(ZlibFile, DamagedFileIsRefused) {
  TempDir dir;
  const std::string path = dir.File("SAVE3.kSV");
  ZlibFileBegin(path);
  ZlibFileWrite(Noise(20000, 9));
  ZlibFileEnd();
  ByteList file = ReadTestFile(path);
  file[file.size() / 2] ^= 0x10;
  WriteTestFile(path, file);
  EXPECT_EQ(ErrorNumberOf([&] { ReadCompressedFile(path); }), -1);
}

}  // namespace
}  // namespace kiv
