// ostravion: the desktop program.
#include "app/COstravionApp.h"

int main(int argc, char** argv) {
    return ostravion::gui::RunApplication(argc, argv);
}
