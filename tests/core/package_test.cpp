#include "core/package.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/ini.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

using test::BytesOf;
using test::PackageLayout;
using test::PackageWriter;
using test::TempDir;

ByteList Filler(std::size_t size, std::uint32_t seed) {
  ByteList bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<std::uint8_t>("abcdefgh  \r\n0123"[(seed >> 16) & 15]);
  }
  return bytes;
}

ByteList Int32Bytes(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

class PackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", home_.Path().c_str(), 1);
    package.Reset();
    SetMessageBoxHook(
        [this](const std::string& caption, const std::string& text) { boxes_.emplace_back(caption, text); });
  }
  void TearDown() override {
    SetMessageBoxHook(nullptr);
    package.Reset();
  }

  int Load(const PackageWriter& writer, int oldNameLength = 50) {
    writer.WriteTo(path_);
    return PackageLoad(path_, oldNameLength);
  }
  int Load(const ByteList& bytes) {
    test::WriteTestFile(path_, bytes);
    return PackageLoad(path_, 50);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const PackageEntry& entry : package.packageEntries) names.push_back(entry.name);
    return names;
  }
  // A package with the given entry names, each holding its own name as bytes.
  int LoadNames(const std::vector<std::string>& names) {
    PackageWriter writer;
    for (const std::string& name : names) writer.AddCompressed(name, BytesOf(name));
    return Load(writer);
  }

  TempDir home_;
  TempDir dir_;
  std::string path_ = dir_.File("DATA.kRC");
  std::vector<std::pair<std::string, std::string>> boxes_;
};

// Every head layout reads the same six entries: compressed, stored and empty ones.
TEST_F(PackageTest, ReadsEveryHeadLayout) {
  for (const PackageLayout layout : {PackageLayout::kOld, PackageLayout::kCounted, PackageLayout::kCurrent}) {
    SCOPED_TRACE(static_cast<int>(layout));
    PackageWriter writer(layout);
    writer.AddCompressed("INTRO.kst", Filler(5000, 1));
    writer.AddStored("0.kso", Int32Bytes(100540));
    writer.AddEmpty("empty.txt");
    writer.AddCompressed("My Map.kmp", Filler(70000, 2));
    writer.AddStored("DATA.INI", BytesOf("[Main Menu]\r\nVideo Width=1024\r\n"));
    writer.AddCompressed("\xC9t\xE9.kui", Filler(1, 3));
    std::vector<std::int32_t> positions;
    const ByteList file = writer.Build(&positions);
    if (layout == PackageLayout::kOld) {
      EXPECT_EQ(ByteList(file.begin(), file.begin() + 4), Int32Bytes(5));  // head 5: six entries
    }
    ASSERT_EQ(Load(file), 0) << (boxes_.empty() ? "" : boxes_.back().second);
    ASSERT_EQ(package.packageEntries.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
      const PackageEntry& entry = package.packageEntries[i];
      EXPECT_EQ(entry.name, writer.Entries()[i].name);  // old layout: the padding blanks are gone
      EXPECT_EQ(entry.bytes, writer.Entries()[i].bytes);
      EXPECT_EQ(entry.position, positions[i]);
    }
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(PackageTest, OldLayoutUsesTheGivenNameWidth) {
  PackageWriter writer(PackageLayout::kOld, 20);
  writer.AddStored("a.kts", BytesOf("one"));
  writer.AddStored("b.kts", BytesOf("two"));
  ASSERT_EQ(Load(writer, 20), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.kts", "b.kts"}));
}

// Several hundred entries, the last data byte at the end of the file, and a
// stored sound set whose bytes can be read in place at its position.
TEST_F(PackageTest, LoadsSeveralHundredEntries) {
  PackageWriter writer;
  for (int i = 0; i < 347; ++i) writer.AddCompressed(std::to_string(i) + ".kmp", Filler(100 + i * 37, i));
  ByteList sound = Int32Bytes(100540);
  const ByteList rest = Filler(3000, 99);
  sound.insert(sound.end(), rest.begin(), rest.end());
  writer.AddStored("0.kso", sound);
  std::vector<std::int32_t> positions;
  const ByteList file = writer.Build(&positions);
  EXPECT_EQ(ByteList(file.begin(), file.begin() + 11),
            (ByteList{0xA1, 0x86, 0x01, 0x00, 1, 13, 15, 0x5B, 0x01, 0, 0}));
  ASSERT_EQ(Load(file), 0);
  ASSERT_EQ(package.packageEntries.size(), 348u);
  const PackageEntry& last = package.packageEntries.back();
  EXPECT_EQ(last.position + static_cast<std::int64_t>(last.bytes.size()),
            static_cast<std::int64_t>(file.size()));
  EXPECT_EQ(ByteList(file.begin() + last.position, file.end()), sound);
  // What opening a sound in place needs: the loaded file, the stored size and the storage kind.
  EXPECT_FALSE(last.compressed);
  EXPECT_EQ(last.storedSize, static_cast<std::int32_t>(sound.size()));
  EXPECT_TRUE(package.packageEntries.front().compressed);
  EXPECT_TRUE(FileExists(package.packagePath));
  EXPECT_EQ(PackageGetEntryBytes("0.KSO", 4), Int32Bytes(100540));
  EXPECT_EQ(PackageGetEntryBytes("346.kmp", -1), Filler(100 + 346 * 37, 346));
  EXPECT_EQ(PackageCountNumbered("*.kmp", 0), 346);
}

TEST_F(PackageTest, FindsTheFirstEntryIgnoringCase) {
  ASSERT_EQ(LoadNames({"maps/a.kmp", "INTRO.kst", "intro.KST", "\xC9T\xC9.kmp", "x"}), 0);
  EXPECT_EQ(PackageFindEntry("intro.kst"), 1);
  EXPECT_EQ(PackageFindEntry("INTRO.KST"), 1);
  EXPECT_EQ(PackageFindEntry("\xE9t\xE9.KMP"), 3);  // Windows-1252 letters fold too
  EXPECT_EQ(PackageFindEntry("INTRO"), -1);
  EXPECT_EQ(PackageFindEntry("a.kmp"), -1);
  EXPECT_EQ(PackageFindEntry(""), -1);
}

TEST(PackageNameLike, MatchesWildcards) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"town.kmp", "*.kmp", true},
      {"town.KMP", "*.kmp", true},
      {"town.kmpx", "*.kmp", false},
      {".kmp", "*.kmp", true},
      {"test~town.kmp", "*.kmp", true},  // skipping test~ entries is the callers' job
      {"a.kmp.kmp", "*.kmp", true},
      {"town.kui", "*.kmp", false},
      {"map1.kmp", "map?.kmp", true},
      {"map.kmp", "map?.kmp", false},
      {"map12.kmp", "map##.kmp", true},
      {"map1a.kmp", "map##.kmp", false},
      {"b.kts", "[abc].kts", true},
      {"B.kts", "[abc].kts", true},
      {"d.kts", "[abc].kts", false},
      {"d.kts", "[!abc].kts", true},
      {"a.kts", "[!abc].kts", false},
      {"Q7", "[a-z]#", true},
      {"-", "[-a]", true},
      {"x", "[a-cx-z]", true},
      {"[", "[", true},  // an unclosed bracket stands for itself
      {"ab", "a*b*", true},
      {"aXbYc", "a*b*c", true},
      {"aXbY", "a*b*c", false},
      {"", "*", true},
      {"", "", true},
      {"a", "", false},
      {"\xC9T\xC9", "\xE9*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackageNameLike(c.name, c.pattern), c.matches) << c.name << " like " << c.pattern;
  }
}

TEST_F(PackageTest, FindNextLikeVisitsEachMatchOnceInTableOrder) {
  ASSERT_EQ(LoadNames({"a.kui", "b.kmp", "test~c.kui", "d.KUI", "e.kui.bak"}), 0);
  EXPECT_EQ(PackageFindNextLike("*.kui"), "a.kui");
  EXPECT_EQ(PackageFindNextLike(""), "test~c.kui");
  EXPECT_EQ(PackageFindNextLike(""), "d.KUI");
  EXPECT_EQ(PackageFindNextLike(""), "");
  EXPECT_EQ(PackageFindNextLike(""), "");
  EXPECT_EQ(PackageFindNextLike("*.kmp"), "b.kmp");  // a new pattern starts over
  EXPECT_EQ(PackageFindNextLike(""), "");
}

TEST_F(PackageTest, CountsTheUnbrokenRunOfNumberedEntries) {
  struct Case {
    std::vector<std::string> names;
    const char* pattern;
    std::int32_t count;
  };
  const Case cases[] = {
      {{"0.kts", "1.kts", "2.kts"}, "*.kts", 2},
      {{"0.kts", "1.kts", "3.kts"}, "*.kts", 1},
      {{"1.kts"}, "*.kts", -1},
      {{}, "*.kts", -1},
      {{"1.KTS", "0.kts"}, "*.kts", 1},
      {{"map0.kmp", "map1.kmp", "0.kmp"}, "map*.kmp", 1},
      {{"0.ksp", "test~1.ksp", "1.ksp"}, "*.ksp", 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(LoadNames(c.names), 0);
    EXPECT_EQ(PackageCountNumbered(c.pattern, 0), c.count)
        << c.pattern << " over " << c.names.size() << " names";
    EXPECT_EQ(CountPackageEntries(c.pattern), c.count);
  }
}

TEST_F(PackageTest, GetEntryBytesCopiesAllOrTheFirstBytes) {
  PackageWriter writer;
  writer.AddCompressed("INTRO.kst", BytesOf("0123456789"));
  writer.AddEmpty("empty");
  ASSERT_EQ(Load(writer), 0);
  EXPECT_EQ(PackageGetEntryBytes("INTRO.kst", -1), BytesOf("0123456789"));
  EXPECT_EQ(PackageGetEntryBytes("intro.KST", 0x7FFFFDFF), BytesOf("0123456789"));
  EXPECT_EQ(PackageGetEntryBytes("INTRO.kst", 9), BytesOf("012345678"));
  EXPECT_EQ(PackageGetEntryBytes("INTRO.kst", 10), BytesOf("0123456789"));
  EXPECT_EQ(PackageGetEntryBytes("INTRO.kst", 0), ByteList());
  EXPECT_EQ(PackageGetEntryBytes("empty", -1), ByteList());
  EXPECT_EQ(ReadPackageFile("INTRO.kst", 3), BytesOf("012"));
  try {
    PackageGetEntryBytes("NOPE.kst", -1);
    FAIL() << "no error";
  } catch (const KivError& error) {
    EXPECT_EQ(error.Number(), -1);
    EXPECT_STREQ(error.what(), "Cannot find \"NOPE.kst\" in package.");
  }
}

TEST_F(PackageTest, ExtractsAnEntryAsTempDatAndDeletesIt) {
  PackageWriter writer;
  writer.AddCompressed("DATA.INI", BytesOf("[Main Menu]\r\nVideo Width=1024\r\nCaption Title=Hello\r\n"));
  ASSERT_EQ(Load(writer), 0);
  const std::string tempFile = home_.File("RunTimeKiv/TEMP.DAT");
  EXPECT_EQ(package.packageTempFolder, home_.File("RunTimeKiv"));
  EXPECT_EQ(PackageTempFilePath(), tempFile);

  EXPECT_FALSE(PackageExtractToTemp("MISSING.INI"));
  EXPECT_FALSE(FileExists(tempFile));

  ASSERT_TRUE(PackageExtractToTemp("data.ini"));
  EXPECT_EQ(test::ReadTestFile(tempFile), package.packageEntries[0].bytes);
  EXPECT_EQ(IniReadInt(tempFile, "Main Menu", "Video Width", 800), 1024);
  EXPECT_EQ(IniReadString(tempFile, "Main Menu", "Caption Title", ""), "Hello");
  PackageDeleteTemp();
  EXPECT_FALSE(FileExists(tempFile));
  PackageDeleteTemp();  // nothing to delete is no error
}

TEST_F(PackageTest, MissingFileIsError53AndKeepsTheTable) {
  ASSERT_EQ(LoadNames({"a.kmp"}), 0);
  const std::string missing = dir_.File("nothing.kRC");
  EXPECT_EQ(PackageLoad(missing, 50), 53);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].first, "RunTimeKiv");
  EXPECT_EQ(boxes_[0].second, "Could not find:\r\n" + missing);
  EXPECT_EQ(Names(), std::vector<std::string>{"a.kmp"});
  EXPECT_EQ(PackageLoad(dir_.Path(), 50), 53);  // a folder is not a package
}

// Each damaged package is refused with -1 and a message, the table emptied.
TEST_F(PackageTest, RefusesDamagedPackages) {
  const ByteList content = Filler(4000, 7);
  const ByteList packed = test::CompressLevel9(content);
  struct Case {
    const char* what;
    std::function<void(PackageWriter&)> damage;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"upper bound past the bytes", [](PackageWriter& w) { w.SetUpperBound(0x7FFFFFFF); },
       "Invalid package entry count."},
      {"upper bound below -1", [](PackageWriter& w) { w.SetUpperBound(-2); }, "Invalid package entry count."},
      {"one entry too many", [](PackageWriter& w) { w.SetUpperBound(2); },
       "The package file ends too early."},
      {"negative name length", [](PackageWriter& w) { w.Entries()[1].nameLength = -5; },
       "Invalid package entry name."},
      {"huge name length", [](PackageWriter& w) { w.Entries()[1].nameLength = 0x7FFFFFF0; },
       "Invalid package entry name."},
      {"stored size past the end", [](PackageWriter& w) { w.Entries()[1].storedSize = 100000; },
       "Package entry \"b.kmp\" runs past the end of the file."},
      {"negative stored size", [](PackageWriter& w) { w.Entries()[1].storedSize = -7; },
       "Invalid size of package entry \"b.kmp\"."},
      {"unpacked size below -1", [](PackageWriter& w) { w.Entries()[1].unpackedSize = -2; },
       "Invalid size of package entry \"b.kmp\"."},
      {"damaged stream",
       [&](PackageWriter& w) {
         ByteList bad = packed;
         for (std::size_t i = 10; i < 40; ++i) bad[i] ^= 0x5A;
         w.Entries()[1].data = bad;
       },
       "Package entry \"b.kmp\" is damaged: ZLib uncompress error."},
      {"stream cut short",
       [&](PackageWriter& w) { w.Entries()[1].data = ByteList(packed.begin(), packed.end() - 6); },
       "Package entry \"b.kmp\" is damaged: ZLib uncompress error."},
      {"stream shorter than the unpacked size", [&](PackageWriter& w) { w.Entries()[1].unpackedSize = 4001; },
       "Package entry \"b.kmp\" is damaged: ZLib uncompress error."},
      {"stream longer than the unpacked size", [&](PackageWriter& w) { w.Entries()[1].unpackedSize = 3999; },
       "Package entry \"b.kmp\" is damaged: ZLib uncompress error."},
      {"unpacked size no stream can reach",
       [&](PackageWriter& w) { w.Entries()[1].unpackedSize = 0x7FFFFFFF; },
       "Package entry \"b.kmp\" is damaged: ZLib uncompress error."},
  };
  for (const PackageLayout layout : {PackageLayout::kCounted, PackageLayout::kCurrent}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      ASSERT_EQ(LoadNames({"a.kmp"}), 0);
      PackageWriter writer(layout);
      writer.AddCompressed("a.kmp", BytesOf("first"));
      writer.AddCompressed("b.kmp", content);
      c.damage(writer);
      boxes_.clear();
      EXPECT_EQ(Load(writer), -1);
      EXPECT_TRUE(package.packageEntries.empty());
      ASSERT_EQ(boxes_.size(), 1u);
      EXPECT_EQ(boxes_[0].first, "RunTimeKiv");
      EXPECT_EQ(boxes_[0].second, std::string("Internal error: -1\r\n") + c.message);
    }
  }
}

TEST_F(PackageTest, OldLayoutWithTooManyEntriesIsRefused) {
  PackageWriter writer(PackageLayout::kOld);
  writer.AddStored("a", BytesOf("x"));
  writer.SetUpperBound(99999);
  EXPECT_EQ(Load(writer), -1);
  EXPECT_EQ(boxes_.at(0).second, "Internal error: -1\r\nInvalid package entry count.");
}

// Every cut of a package and every damaged byte either parses or raises -1; none
// overruns (the sanitizers watch) and no cut passes as a whole package.
TEST(PackageParse, CutsAndDamagedBytesNeverCrash) {
  for (const PackageLayout layout : {PackageLayout::kOld, PackageLayout::kCounted, PackageLayout::kCurrent}) {
    PackageWriter writer(layout, 12);
    writer.AddCompressed("INTRO.kst", Filler(300, 4));
    writer.AddEmpty("e");
    writer.AddStored("0.kso", Filler(20, 5));
    const ByteList file = writer.Build();
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
      EXPECT_THROW(PackageParse(file.data(), cut, 12), KivError) << "cut at " << cut;
    }
    EXPECT_EQ(PackageParse(file.data(), file.size(), 12).size(), 3u);
    for (std::size_t i = 0; i < file.size(); ++i) {
      ByteList damaged = file;
      damaged[i] ^= 0xFF;
      try {
        PackageParse(damaged.data(), damaged.size(), 12);
      } catch (const KivError& error) {
        EXPECT_EQ(error.Number(), -1);
      }
    }
  }
}

}  // namespace
}  // namespace kiv
