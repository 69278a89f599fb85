// Documents of one 1,000,000-point series (about 100 MB) saved, read back and
// checkpointed, side by side with plain C programs that only write() and
// read() the same bytes. Goals: reading within 2x of the plain read into
// fresh memory, saving and a checkpoint within 2x of the plain write, peak
// memory while reading below 2.5x the size of the value records.
//
//   bench_archive [benchmark options]
//   bench_archive --peak-load FILE   (used by the peak-memory benchmark)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/peers/raw_io.h"
#include "model/document_file.h"
#include "model/main_doc.h"

extern char** environ;

namespace tracemont {
namespace {

constexpr int kPoints = 1'000'000;

std::string BenchFolder() {
  static const std::string folder = [] {
    const char* chosen = std::getenv("TM_BENCH_DIR");
    std::string pattern = (chosen ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path()) /
                          "tm-archive-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

void FillMillionPoints(CMainDoc& doc) {
  std::vector<DotValue> values;
  values.reserve(kPoints);
  for (int i = 0; i < kPoints; ++i) values.emplace_back(i * 0.001, std::sin(i * 0.001), i);
  doc.NewSeriesFromValues(values, {}, source::kRead, std::string("million"));
}

CMainDoc& MillionPointDocument() {
  static CMainDoc* doc = [] {
    auto* d = new CMainDoc;
    FillMillionPoints(*d);
    return d;
  }();
  return *doc;
}

// The document saved once, for the readers.
const std::string& SavedFile() {
  static const std::string path = [] {
    const std::string p = BenchFolder() + "/million.tmr";
    if (!SaveDocumentFile(p, MillionPointDocument().Data()).ok) std::abort();
    return p;
  }();
  return path;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(SavedFile())));
}

double Seconds(const std::function<void()>& run) {
  const double start = peer_now();
  run();
  return peer_now() - start;
}

// Each iteration runs the plain C peer and then ours on the same bytes, so
// that both see the same load of the machine; the counters give the mean of
// each and their ratio.
void Report(benchmark::State& state, double ours, double peer) {
  const auto n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = ours / n * 1e3;
  state.counters["peer_ms"] = peer / n * 1e3;
  state.counters["ratio"] = peer > 0 ? ours / peer : 0;
  SetBytes(state);
}

std::vector<unsigned char> SavedBytes() {
  std::size_t size = 0;
  unsigned char* bytes = peer_read_file(SavedFile().c_str(), &size);
  std::vector<unsigned char> copy(bytes, bytes + size);
  std::free(bytes);
  return copy;
}

// Arg 1: the save waits until the new file is on the disk (the default),
// against write() followed by fsync(); arg 0: the file system orders the
// rename after the data, against a plain write().
void BM_SaveVsWrite(benchmark::State& state) {
  const DocumentData& data = MillionPointDocument().Data();
  const bool toDisk = state.range(0) != 0;
  const std::vector<unsigned char> bytes = SavedBytes();
  const std::string ourPath = BenchFolder() + "/saved.tmr";
  const std::string peerPath = BenchFolder() + "/peer.tmr";
  double ours = 0;
  double peer = 0;
  for (auto _ : state) {
    peer += Seconds([&] {
      if (peer_write_file(peerPath.c_str(), bytes.data(), bytes.size()) != 0) state.SkipWithError("write failed");
      if (toDisk && peer_sync_file(peerPath.c_str()) != 0) state.SkipWithError("sync failed");
    });
    ours += Seconds([&] {
      if (!SaveDocumentFile(ourPath, data, toDisk ? SaveSync::ToDisk : SaveSync::FileSystem).ok)
        state.SkipWithError("save failed");
    });
  }
  Report(state, ours, peer);
}

// An undo checkpoint against a plain write() of the same bytes.
void BM_CheckpointVsWrite(benchmark::State& state) {
  CMainDoc& doc = MillionPointDocument();
  const std::vector<unsigned char> bytes = SavedBytes();
  const std::string peerPath = BenchFolder() + "/peer.tmr";
  double ours = 0;
  double peer = 0;
  for (auto _ : state) {
    peer += Seconds([&] {
      if (peer_write_file(peerPath.c_str(), bytes.data(), bytes.size()) != 0) state.SkipWithError("write failed");
    });
    ours += Seconds([&] {
      if (!doc.Checkpoint()) state.SkipWithError("checkpoint failed");
    });
    // Each checkpoint takes a new file; undoing keeps the list short.
    doc.Undo();
  }
  Report(state, ours, peer);
}

// Reading into a fresh document against read() into fresh memory; freeing
// is not timed for either.
void BM_ReadVsRead(benchmark::State& state) {
  double ours = 0;
  double peer = 0;
  for (auto _ : state) {
    unsigned char* bytes = nullptr;
    peer += Seconds([&] {
      std::size_t size = 0;
      bytes = peer_read_file(SavedFile().c_str(), &size);
    });
    if (!bytes) state.SkipWithError("read failed");
    std::free(bytes);
    auto doc = std::make_unique<DocumentData>();
    ours += Seconds([&] {
      if (!LoadDocumentFile(SavedFile(), *doc).ok) state.SkipWithError("read failed");
    });
  }
  Report(state, ours, peer);
}

// Opening: reading plus the reset (page layout, outlines from the values).
void BM_OpenDocument(benchmark::State& state) {
  CMainDoc doc;
  for (auto _ : state) {
    if (!doc.Open(SavedFile()).ok) state.SkipWithError("open failed");
    state.PauseTiming();
    doc.NewDocument();
    state.ResumeTiming();
  }
  SetBytes(state);
}

// Peak resident memory of a fresh process that reads the file, against the
// size of the value records.
void BM_ReadPeakMemory(benchmark::State& state) {
  long peak = 0;
  for (auto _ : state) {
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string result = BenchFolder() + "/peak.txt";
    std::string flag = "--peak-load";
    std::vector<char*> argv = {self.data(), flag.data(), const_cast<char*>(SavedFile().c_str()),
                               result.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("spawn failed");
      break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (FILE* f = std::fopen(result.c_str(), "r")) {
      if (std::fscanf(f, "%ld", &peak) != 1) peak = 0;
      std::fclose(f);
    }
  }
  const double values = static_cast<double>(kPoints) * sizeof(DotValue);
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["peak_per_values"] = static_cast<double>(peak) / values;
}

BENCHMARK(BM_SaveVsWrite)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(6)->UseRealTime();
BENCHMARK(BM_CheckpointVsWrite)->Unit(benchmark::kMillisecond)->Iterations(6)->UseRealTime();
BENCHMARK(BM_ReadVsRead)->Unit(benchmark::kMillisecond)->Iterations(6)->UseRealTime();
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Peak resident memory of this process image in bytes. Not getrusage: its
// maximum survives exec and would count the parent that spawned us.
long PeakResident() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  std::fclose(status);
  return kb * 1024L;
}

// The child of BM_ReadPeakMemory: reads FILE and writes its peak RSS to OUT.
int PeakLoad(const char* file, const char* out) {
  DocumentData doc;
  if (!LoadDocumentFile(file, doc).ok) return 1;
  FILE* f = std::fopen(out, "w");
  if (!f) return 1;
  std::fprintf(f, "%ld\n", PeakResident());
  std::fclose(f);
  return 0;
}

}  // namespace
}  // namespace tracemont

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--peak-load") return tracemont::PeakLoad(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(tracemont::BenchFolder(), ignored);
  return 0;
}
