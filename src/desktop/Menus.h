// The main window's menu (resource 128): every item with its id, caption
// (the part after a TAB names the key), the status-bar prompt (the part after
// "\n" would be a tool tip) and its key. CP949. Both fronts build their menu
// from this one table.
#pragma once

#include "desktop/CommandStates.h"

#include <vector>

namespace ostravion {

struct MenuItemSpec {
    int id; // 0: a separator
    const char* caption;
    const char* prompt; // none: the idle text stays
    const char* key;    // "Ctrl+O"; none: no key
};

struct MenuSpec {
    const char* caption;
    std::vector<MenuItemSpec> items;
};

const std::vector<MenuSpec>& MainMenu();

// The caption of the 검사 slot while it carries 32772: "검사 종료".
inline constexpr const char* kScanStopCaption = "\xB0\xCB\xBB\xE7 \xC1\xBE\xB7\xE1";

} // namespace ostravion
