// ostravion: the desktop program.
#include "qt/COstravionApp.h"

int main(int argc, char** argv) {
    return ostravion::gui::RunApplication(argc, argv);
}
