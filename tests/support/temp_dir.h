#pragma once
// A fresh folder under the temporary folder for one test, removed with its contents afterwards.
#include <string>

#include "core/byte_list.h"

namespace kiv::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Whole-file helpers for tests.
void WriteTestFile(const std::string& path, const ByteList& bytes);
void WriteTestFile(const std::string& path, const std::string& text);
ByteList ReadTestFile(const std::string& path);

}  // namespace kiv::test
