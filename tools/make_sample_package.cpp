// Writes a small sample game package for trying the player:
//   make_sample_package <path of the package to write>
// It holds "DATA.INI" with a [Main Menu] section, a placeholder "INTRO.kst",
// three numbered tile sets and one stored sound set, as a current package does.
#include <cstdio>
#include <exception>
#include <string>

#include "support/package_writer.h"

namespace {

using kiv::ByteList;
using kiv::test::BytesOf;

ByteList Int32Bytes(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

kiv::test::PackageWriter SamplePackage() {
  kiv::test::PackageWriter writer;
  // Entries in case-insensitive name order, as the editor writes them.
  writer.AddCompressed("0.kts", BytesOf("sample tile set 0"));
  writer.AddStored("0.kso", Int32Bytes(100540));  // sound sets stay uncompressed
  writer.AddCompressed("1.kts", BytesOf("sample tile set 1"));
  writer.AddCompressed("2.kts", BytesOf("sample tile set 2"));
  writer.AddCompressed("DATA.INI", BytesOf("[Main Menu]\r\n"
                                           "Caption Title=Welcome to the Sample Game!\r\n"
                                           "Start New Game=Start New Game\r\n"
                                           "Load Saved Game=Load Saved Game\r\n"
                                           "Website=#\r\n"
                                           "Quit=Quit Sample Game\r\n"
                                           "Video Width=800\r\n"
                                           "Video Height=600\r\n"));
  writer.AddCompressed("INTRO.kst", BytesOf("sample project state placeholder"));
  return writer;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <package path>\n", argv[0]);
    return 2;
  }
  try {
    SamplePackage().WriteTo(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  std::printf("Wrote %s\n", argv[1]);
  return 0;
}
