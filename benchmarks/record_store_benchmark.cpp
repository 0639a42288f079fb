// How long the open protocol takes: every user action opens and closes a set, so opening
// and closing the start-up set of five files must stay far below a millisecond.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "record-store/record_store.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

void BM_OpenAndCloseStartupSet(benchmark::State& state) {
  testing::TempDirectory start;
  RecordStore store(start.path());
  store.OpenFileSet("USE;SYS;ADM;LAN;INS");  // creates the files once
  store.CloseFileSet();
  for (auto _ : state) {
    if (store.OpenFileSet("USE;SYS;ADM;LAN;INS") != RecordStore::kOk) state.SkipWithError("open");
    store.CloseFileSet();
  }
}
BENCHMARK(BM_OpenAndCloseStartupSet)->Unit(benchmark::kMicrosecond);

void BM_ReadAllRecords(benchmark::State& state) {
  testing::TempDirectory start;
  RecordStore store(start.path());
  std::filesystem::create_directories(start / "data");
  store.administrationDirectory = start / "data/";
  store.OpenFileSet("JVO");
  store.file(FileCode::JVO)
      .rewriteAll(std::vector<Bytes>(static_cast<std::size_t>(state.range(0)), Bytes(392, 7)));
  store.CloseFileSet();
  for (auto _ : state) {
    FileSet set(store, "JVO");
    benchmark::DoNotOptimize(store.file(FileCode::JVO).readAll());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAllRecords)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallymoor

BENCHMARK_MAIN();
