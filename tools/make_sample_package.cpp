// Writes the small sample game for trying the player:
//   make_sample_package <path of the package to write>
// The game (sets of every kind, two maps, an interface and a few scripts) is
// the one the tests load, built by the fixture writers of tests/support.
#include <cstdio>
#include <exception>

#include "support/sample_game.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <package path>\n", argv[0]);
    return 2;
  }
  try {
    kiv::test::SampleGamePackage().WriteTo(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  std::printf("Wrote %s\n", argv[1]);
  return 0;
}
