// make_hive FILE LINE...: writes a registry hive for the end-to-end tests
// (lines as in HiveWriter.h).
#include "disk/HiveWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_hive FILE [KEY|NAME|TYPE|VALUE]...\n");
        return 2;
    }
    const std::vector<std::string> lines(argv + 2, argv + argc);
    if (!hivetest::WriteHive(argv[1], lines)) {
        std::fprintf(stderr, "make_hive: %s could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
