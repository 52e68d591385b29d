// Writes the save-and-resume test game (the sample game with a sentry that
// walks a route with a wait on its own):
//   make_resume_package <path of the package to write>
#include <cstdio>
#include <exception>

#include "support/resume_game.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <package path>\n", argv[0]);
    return 2;
  }
  try {
    kiv::test::ResumeGamePackage().WriteTo(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
