// ostravion: the desktop program.
#include "Version.h"
#include "qt/COstravionApp.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // "--version" alone answers on the terminal, without opening a window.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("ostravion %s\n", OSTRAVION_VERSION);
        return 0;
    }
    return ostravion::gui::RunApplication(argc, argv);
}
