// Cost of the four version strings the walk reads from one program file:
// through the port, which parses the file once for the four, and parsing the
// file anew for each string.
#include "platform/pe/PeVersion.h"
#include "platform/posix/PosixPlatform.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/PeBuilder.h"

using namespace ostravion;

namespace {

constexpr const char* kNames[] = {"CompanyName", "FileDescription", "ProductName",
                                  "ProductVersion"};

// A program file of 1 MB whose version resource sits at its end.
const std::string& ProgramFile() {
    static const std::string path = [] {
        std::string bytes = test::MakePe({{0x0412, test::Encode(test::KoreanTree())}}).bytes;
        bytes.resize(bytes.size() + (1u << 20), '\0'); // the rest of a program
        const std::string path = "/tmp/ostravion-bench-version.exe";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }();
    return path;
}

const posix::IconvUtf16ToCp949& Conv() {
    static const posix::IconvUtf16ToCp949 conv;
    return conv;
}

void FourStringsThroughThePort(benchmark::State& state) {
    const std::string& a = ProgramFile();
    pe::PeVersionStrings versions(Conv());
    for (auto _ : state) {
        for (const char* name : kNames)
            benchmark::DoNotOptimize(versions.Read(a, name));
        // The next file of the walk: the cache must not carry over.
        benchmark::DoNotOptimize(versions.Read("/nonexistent", "CompanyName"));
    }
}
BENCHMARK(FourStringsThroughThePort);

void FourStringsParsingEachTime(benchmark::State& state) {
    const std::string& a = ProgramFile();
    for (auto _ : state) {
        for (const char* name : kNames) {
            std::string resource;
            pe::FindVersionResource(pe::FileSource(a), resource);
            benchmark::DoNotOptimize(pe::VersionBlock(resource).ReadString(name, Conv()));
        }
    }
}
BENCHMARK(FourStringsParsingEachTime);

} // namespace

BENCHMARK_MAIN();
