// Cost of one key-list lookup at 20 and at 20,000 entries: a lookup visits
// only the entries of its name, so both should cost the same.
#include "scan/KeyList.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

using namespace ostravion;

namespace {
KeyList MakeList(int entries) {
    std::string payload = "caption\tx\tx\tx\tx\r\n";
    for (int i = 1; i < entries; ++i) {
        payload += "k\tAPP\tk\tProgram " + std::to_string(i) + "\t1.0\tPROG" + std::to_string(i) +
                   ".EXE\t" + std::to_string(1000 + i) + "\tk7\tCo\t\r\n";
    }
    KeyList k;
    k.LoadFromPayload(payload);
    return k;
}

// A mix of what a walk meets: listed executables, unlisted executables, other files.
std::vector<std::string> Probes(int entries) {
    std::vector<std::string> p;
    for (int i = 0; i < 64; ++i) {
        p.push_back("PROG" + std::to_string(1 + (i * 7919) % (entries - 1)) + ".EXE");
        p.push_back("UNLISTED" + std::to_string(i) + ".EXE");
        p.push_back("README" + std::to_string(i) + ".TXT");
        p.push_back("LIBRARY" + std::to_string(i) + ".DLL");
    }
    return p;
}

void BM_MatchKeyList(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const KeyList k = MakeList(entries);
    const std::vector<std::string> probes = Probes(entries);
    const std::function<std::string()> version = [] { return std::string("2.0"); };
    std::string v;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(k.Match(probes[i], "1", version, v));
        i = (i + 1) % probes.size();
    }
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK(BM_MatchKeyList)->Arg(20)->Arg(20000);
BENCHMARK_MAIN();
