// Writes the small sample game for trying the player:
//   make_sample_package <path of the package to write>
// The game (sets of every kind, two maps, an interface and a few scripts) is
// the one the tests load, built by the fixture writers of tests/support.
#include <cstdio>
#include <exception>

#include "core/symbol_table.h"
#include "data/fixed_identifiers.h"
#include "script/script_compiler.h"
#include "support/sample_game.h"

namespace {

// The sample's example scripts are stored compiled, as the editor stores them.
kiv::Script Compile(const std::u16string& text) {
  kiv::Script script;
  script.text = text;
  kiv::CompileScript(script);
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <package path>\n", argv[0]);
    return 2;
  }
  try {
    kiv::SymbolTableReset();
    kiv::RegisterScriptIdentifiers();
    kiv::test::SetSampleScriptCompiler(Compile);
    kiv::test::SampleGamePackage().WriteTo(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  std::printf("Wrote %s\n", argv[1]);
  return 0;
}
