// The cost of the lock per save: a total and its written result (about
// 100 KB) replaced together in a folder on the local disk (or the folder in
// OSTRAVION_BENCH_DIR, such as a mounted share), bare and under the lock;
// and the lock alone (made, named, removed).
#include "files/ReplaceFiles.h"
#include "files/WriteLock.h"
#include "platform/posix/PosixPlatform.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ostravion;

namespace {

struct Folder {
    std::filesystem::path path;
    Folder() {
        const char* given = std::getenv("OSTRAVION_BENCH_DIR");
        path = std::filesystem::path(given ? given : std::filesystem::temp_directory_path()) /
               ("ostravion-lock-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

posix::IconvCodec& Codec() {
    static posix::IconvCodec codec;
    return codec;
}

void Save(benchmark::State& state, bool locked) {
    Folder folder;
    posix::PosixFileSystem fs(Codec());
    const std::string total = folder.path.string() + "/T.tls";
    const std::string result = folder.path.string() + "/T.rst";
    const std::string bytes(100 * 1024, 'x');
    for (auto _ : state) {
        WriteLock lock(fs, total);
        if (locked && lock.Take(0) != LockOutcome::Taken)
            state.SkipWithError("lock not taken");
        if (!ReplaceFiles(fs, {{total, bytes}, {result, bytes}}))
            state.SkipWithError("save failed");
    }
}

void BM_SaveBare(benchmark::State& state) {
    Save(state, false);
}
void BM_SaveLocked(benchmark::State& state) {
    Save(state, true);
}

void BM_LockAlone(benchmark::State& state) {
    Folder folder;
    posix::PosixFileSystem fs(Codec());
    const std::string total = folder.path.string() + "/T.tls";
    for (auto _ : state) {
        WriteLock lock(fs, total);
        benchmark::DoNotOptimize(lock.Take(0));
    }
}

} // namespace

BENCHMARK(BM_SaveBare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveLocked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LockAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
