// Unpacking a 200 MB bundle through the launcher's own code, against `cp` of the
// same four payloads as files of their own. Both run in every iteration (in
// alternating order, so neither always finds the page cache as the other left
// it); the reported time is the launcher's, with both averages and their ratio
// as counters.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "launcher/launcher.h"
#include "launcher/launcher_texts.h"
#include "support/bundle_writer.h"

namespace {

namespace fs = std::filesystem;
using kiv::ByteList;

constexpr std::int64_t kBundleTarget = std::int64_t{200} << 20;
constexpr std::size_t kChunkSize = std::size_t{4} << 20;

struct Payload {
  std::string name;  // the name the launcher gives its file
  std::int64_t size = 0;
};

// A fresh folder under `parent`; empty on failure.
std::string MakeFolder(const std::string& parent, const char* stem) {
  std::string path = parent + "/" + stem + "-XXXXXX";
  if (::mkdtemp(path.data()) == nullptr) return {};
  return path;
}

// Quoted for the shell, so that any temporary folder name is passed as it is.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// The built launcher program, or a stand-in of about its size without one.
ByteList LauncherImage() {
#ifdef SETUPKIV_PATH
  std::ifstream in(SETUPKIV_PATH, std::ios::binary);
  ByteList bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!bytes.empty()) return bytes;
#endif
  return ByteList(300 * 1024 + 77, 0x90);
}

// Payload bytes that neither compress nor read as holes: a xorshift sequence.
void FillBytes(ByteList& bytes, std::uint64_t& state) {
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (at % 8 == 0) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
    }
    bytes[at] = static_cast<std::uint8_t>(state >> (at % 8 * 8));
  }
}

void WriteBytes(std::ofstream& out, const ByteList& bytes, std::size_t count) {
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(count));
}

class Fixture {
 public:
  Fixture() {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (!error) root_ = MakeFolder(temp.string(), "kivbench-launcher");
    if (root_.empty()) {
      problem_ = "cannot create a temporary folder";
      return;
    }
    sourceFolder_ = root_ + "/payloads";
    bundlePath_ = root_ + "/SetupKiv";
    if (!fs::create_directory(sourceFolder_, error)) {
      problem_ = "cannot create the payload folder";
      return;
    }
    if (!WriteBundle()) problem_ = "cannot write the bundle";
  }
  ~Fixture() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  const std::string& Problem() const { return problem_; }
  const std::string& Root() const { return root_; }
  const std::string& BundlePath() const { return bundlePath_; }
  const std::string& SourceFolder() const { return sourceFolder_; }
  const std::array<Payload, 4>& Payloads() const { return payloads_; }
  std::int64_t PayloadBytes() const {
    std::int64_t total = 0;
    for (const Payload& payload : payloads_) total += payload.size;
    return total;
  }

 private:
  // The padded launcher, the mark, then each length and payload; every payload is
  // also written as a file of its own for cp. Streamed in chunks, so the 200 MB
  // are never held in memory.
  bool WriteBundle() {
    ByteList head = LauncherImage();
    kiv::test::PadToBlock(head);
    kiv::test::AppendMark(head);

    // Odd sizes, as real files have; the package takes the rest of the 200 MB.
    payloads_ = {Payload{kiv::kInstallerFileName, (std::int64_t{6} << 20) + 123},
                 Payload{kiv::kPackageFileName, 0}, Payload{kiv::kIconFileName, 37 * 1024 + 5},
                 Payload{kiv::kDescriptionFileName, 1024 + 17}};
    std::int64_t used = static_cast<std::int64_t>(head.size()) + 4 * 4;
    for (const Payload& payload : payloads_) used += payload.size;
    payloads_[1].size = kBundleTarget - used;

    std::ofstream bundle(bundlePath_, std::ios::binary | std::ios::trunc);
    WriteBytes(bundle, head, head.size());
    std::int64_t written = static_cast<std::int64_t>(head.size());
    std::uint64_t state = 0x2545F4914F6CDD1Dull;
    ByteList chunk(kChunkSize);
    for (const Payload& payload : payloads_) {
      ByteList field;
      kiv::test::AppendLength(field, static_cast<std::int32_t>(payload.size));
      WriteBytes(bundle, field, field.size());
      written += static_cast<std::int64_t>(field.size());

      std::ofstream single(sourceFolder_ + "/" + payload.name, std::ios::binary | std::ios::trunc);
      for (std::int64_t left = payload.size; left > 0;) {
        const std::size_t count = left < static_cast<std::int64_t>(chunk.size())
                                      ? static_cast<std::size_t>(left)
                                      : chunk.size();
        FillBytes(chunk, state);
        WriteBytes(bundle, chunk, count);
        WriteBytes(single, chunk, count);
        left -= static_cast<std::int64_t>(count);
      }
      written += payload.size;
      if (!single.flush()) return false;
    }
    // Zero bytes to the next block, as a well-formed bundle ends.
    const std::int64_t tail = (512 - written % 512) % 512;
    WriteBytes(bundle, ByteList(static_cast<std::size_t>(tail), 0), static_cast<std::size_t>(tail));
    return static_cast<bool>(bundle.flush());
  }

  std::string problem_;
  std::string root_;
  std::string bundlePath_;
  std::string sourceFolder_;
  std::array<Payload, 4> payloads_{};
};

const Fixture& TheFixture() {
  static const Fixture fixture;
  return fixture;
}

// True when `folder` holds every payload at its full size.
bool HoldsAllPayloads(const std::string& folder, const Fixture& fixture) {
  for (const Payload& payload : fixture.Payloads()) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(folder + "/" + payload.name, error);
    if (error || size != static_cast<std::uintmax_t>(payload.size)) return false;
  }
  return true;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One unpack into a fresh folder; the seconds taken, or a negative value on failure.
double TimeLauncher(const Fixture& fixture) {
  const std::string folder = MakeFolder(fixture.Root(), "unpacked");
  if (folder.empty()) return -1;
  const Clock::time_point start = Clock::now();
  const kiv::LauncherOutcome outcome =
      kiv::RunLauncher(fixture.BundlePath(), folder, [](const std::string&) { return 0; });
  const double seconds = SecondsSince(start);
  const bool ok = outcome.exitCode == 0 && HoldsAllPayloads(folder, fixture);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return ok ? seconds : -1;
}

// One `cp` of the four payload files into a fresh folder.
double TimeCopy(const Fixture& fixture) {
  const std::string folder = MakeFolder(fixture.Root(), "copied");
  if (folder.empty()) return -1;
  std::string command = "cp --";
  for (const Payload& payload : fixture.Payloads()) {
    command += ' ';
    command += ShellQuoted(fixture.SourceFolder() + "/" + payload.name);
  }
  command += ' ';
  command += ShellQuoted(folder + "/");
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double seconds = SecondsSince(start);
  const bool ok = status == 0 && HoldsAllPayloads(folder, fixture);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return ok ? seconds : -1;
}

void BM_UnpackBundleAgainstCp(benchmark::State& state) {
  const Fixture& fixture = TheFixture();
  if (!fixture.Problem().empty()) {
    state.SkipWithError(fixture.Problem().c_str());
    return;
  }
  double launcherTotal = 0;
  double copyTotal = 0;
  bool copyFirst = false;
  for (auto _ : state) {
    double launcher = 0;
    double copy = 0;
    if (copyFirst) {
      copy = TimeCopy(fixture);
      launcher = TimeLauncher(fixture);
    } else {
      launcher = TimeLauncher(fixture);
      copy = TimeCopy(fixture);
    }
    copyFirst = !copyFirst;
    if (launcher < 0 || copy < 0) {
      state.SkipWithError(launcher < 0 ? "the launcher did not unpack the bundle" : "cp failed");
      break;
    }
    launcherTotal += launcher;
    copyTotal += copy;
    state.SetIterationTime(launcher);
  }
  if (copyTotal <= 0) return;
  state.SetBytesProcessed(fixture.PayloadBytes() * state.iterations());
  state.counters["launcher_ms"] = benchmark::Counter(launcherTotal * 1000, benchmark::Counter::kAvgIterations);
  state.counters["cp_ms"] = benchmark::Counter(copyTotal * 1000, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = benchmark::Counter(launcherTotal / copyTotal);
}

BENCHMARK(BM_UnpackBundleAgainstCp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

}  // namespace
