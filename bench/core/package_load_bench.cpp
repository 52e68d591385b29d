// Loading a package of about 50 MB of compressed entries, against plain zlib
// uncompress of the same entries already in memory. Prints the ratio of the two.
#include <benchmark/benchmark.h>
#include <fmt/core.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <limits>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/package.h"
#include "support/package_writer.h"

namespace {

using kiv::ByteList;

constexpr std::size_t kTargetPackedBytes = 50u << 20;

struct PackedEntry {
  ByteList stream;
  std::int32_t unpackedSize = 0;
};

struct Fixture {
  std::string folder;
  std::string path;
  std::vector<PackedEntry> entries;
  std::uint64_t unpackedTotal = 0;
  std::uint64_t packedTotal = 0;
};

// Entry contents of two kinds that compress like game data: text-like records
// (about 3:1) and noisy image-like rows (about 1.5:1).
ByteList MakeContent(std::size_t index) {
  std::uint32_t seed = static_cast<std::uint32_t>(index) * 2654435761u + 1;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const std::size_t size = 64 * 1024 + (next() % (1024 * 1024));
  ByteList bytes;
  bytes.reserve(size);
  if (index % 2 == 0) {
    static const char* const words[] = {"Actor",  "Door",  "Zone",    "Light",  "Speaker", "PickUp",
                                        "Spawn",  "Field", "Trigger", "Script", "Map",     "Tile",
                                        "Sprite", "Sound", "Font",    "Item"};
    while (bytes.size() < size) {
      const char* word = words[next() % 16];
      bytes.insert(bytes.end(), word, word + std::char_traits<char>::length(word));
      const std::string number = std::to_string(next() % 100000);
      bytes.insert(bytes.end(), number.begin(), number.end());
      bytes.push_back(next() % 7 == 0 ? '\n' : ' ');
    }
  } else {
    std::uint8_t value = 128;
    while (bytes.size() < size) {
      value = static_cast<std::uint8_t>(value + static_cast<int>(next() % 9) - 4);
      bytes.push_back(value);
    }
  }
  bytes.resize(size);
  return bytes;
}

PackedEntry Pack(std::size_t index) {
  const ByteList content = MakeContent(index);
  return {kiv::test::CompressLevel9(content), static_cast<std::int32_t>(content.size())};
}

Fixture BuildFixture() {
  Fixture fixture;
  std::string folder = (std::filesystem::temp_directory_path() / "kivbench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) std::abort();
  fixture.folder = folder;
  fixture.path = folder + "/DATA.kRC";
  // PackageLoad creates its temporary folder under the user's data folder.
  ::setenv("XDG_DATA_HOME", folder.c_str(), 1);

  const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
  while (fixture.packedTotal < kTargetPackedBytes) {
    std::vector<std::future<PackedEntry>> batch;
    for (std::size_t i = 0; i < workers; ++i) {
      batch.push_back(std::async(std::launch::async, Pack, fixture.entries.size() + i));
    }
    for (auto& future : batch) {
      fixture.entries.push_back(future.get());
      fixture.packedTotal += fixture.entries.back().stream.size();
      fixture.unpackedTotal += static_cast<std::uint64_t>(fixture.entries.back().unpackedSize);
    }
  }

  kiv::test::PackageWriter writer;
  for (std::size_t i = 0; i < fixture.entries.size(); ++i) {
    kiv::test::PackageFixtureEntry& entry = writer.AddCompressed(std::to_string(i) + ".kmp", {});
    entry.unpackedSize = fixture.entries[i].unpackedSize;
    entry.data = fixture.entries[i].stream;
  }
  writer.WriteTo(fixture.path);
  return fixture;
}

Fixture& TheFixture() {
  static Fixture fixture = BuildFixture();
  return fixture;
}

void BM_PackageLoad(benchmark::State& state) {
  const Fixture& fixture = TheFixture();
  for (auto _ : state) {
    if (kiv::PackageLoad(fixture.path, kiv::kPackageOldNameLength) != 0) {
      state.SkipWithError("PackageLoad failed");
      break;
    }
    state.PauseTiming();
    kiv::package.Reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(fixture.unpackedTotal) * state.iterations());
}

// zlib alone: every stream already in memory, into buffers allocated beforehand.
void BM_PlainUncompress(benchmark::State& state) {
  const Fixture& fixture = TheFixture();
  std::vector<ByteList> outputs;
  for (const PackedEntry& entry : fixture.entries)
    outputs.emplace_back(static_cast<std::size_t>(entry.unpackedSize));
  for (auto _ : state) {
    for (std::size_t i = 0; i < fixture.entries.size(); ++i) {
      uLongf size = static_cast<uLongf>(outputs[i].size());
      const PackedEntry& entry = fixture.entries[i];
      if (uncompress(outputs[i].data(), &size, entry.stream.data(),
                     static_cast<uLong>(entry.stream.size())) != Z_OK) {
        state.SkipWithError("uncompress failed");
        break;
      }
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(fixture.unpackedTotal) * state.iterations());
}

BENCHMARK(BM_PackageLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_PlainUncompress)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Keeps the fastest real time of each benchmark to print their ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      double& best = fastest_[run.run_name.function_name];
      const double time = run.GetAdjustedRealTime();
      if (best == 0 || time < best) best = time;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Fastest(const std::string& name) const {
    const auto found = fastest_.find(name);
    return found == fastest_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> fastest_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const Fixture& fixture = TheFixture();
  fmt::print("Package: {} entries, {:.1f} MB compressed, {:.1f} MB unpacked\n", fixture.entries.size(),
             static_cast<double>(fixture.packedTotal) / (1 << 20),
             static_cast<double>(fixture.unpackedTotal) / (1 << 20));
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double load = reporter.Fastest("BM_PackageLoad");
  const double plain = reporter.Fastest("BM_PlainUncompress");
  if (load > 0 && plain > 0) fmt::print("PackageLoad / plain uncompress: {:.3f}\n", load / plain);
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(fixture.folder, ignored);
  return 0;
}
