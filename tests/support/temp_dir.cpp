#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kiv::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kivtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteTestFile(const std::string& path, const ByteList& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteTestFile(const std::string& path, const std::string& text) {
  WriteTestFile(path, ByteList(text.begin(), text.end()));
}

ByteList ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return ByteList(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kiv::test
