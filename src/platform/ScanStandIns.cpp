#include "platform/ScanStandIns.h"

#include "platform/Native.h"
#include "util/Text.h"

#include <map>
#include <sstream>

namespace ostravion {

bool ParseDriveMap(const std::vector<std::string>& items, const FolderResolver& resolve,
                   std::vector<Drive>& drives, std::string& error) {
    std::map<char, Drive> byLetter;
    for (const std::string& item : items) {
        const std::size_t eq = item.find('=');
        const char letter = eq == 1 ? static_cast<char>(text::ToUpper(item.substr(0, 1))[0]) : '\0';
        if (letter < 'C' || letter > 'Z' || eq + 1 >= item.size()) {
            error = "drive map item \"" + item + "\" is not LETTER=FOLDER with a letter C to Z";
            return false;
        }
        const std::string folder = item.substr(eq + 1);
        std::string native, why;
        if (!resolve(folder, native, why)) {
            error = "drive " + std::string(1, letter) + ": folder \"" + folder + "\" " +
                    (why.empty() ? "not found" : why);
            return false;
        }
        if (byLetter.count(letter)) {
            error = "drive " + std::string(1, letter) + ": given twice";
            return false;
        }
        byLetter[letter] = {std::string(1, letter) + ":\\", native, '\\'};
    }
    drives.clear();
    for (const auto& [letter, drive] : byLetter)
        drives.push_back(drive);
    return true;
}

bool ListedAppPaths::Load(const std::string& path, std::string& error) {
    if (path.empty()) {
        names_.clear();
        inUse_ = false;
        return true;
    }
    // The path is UTF-8 on every system; on Windows it is opened by its wide
    // name, so that any name the command line can carry is found.
    std::string bytes;
    if (!ReadNativeFile(path, bytes)) {
        error = "cannot read the registered applications file \"" + path + "\"";
        return false;
    }
    LoadText(bytes);
    return true;
}

void ListedAppPaths::LoadText(const std::string& utf8) {
    names_.clear();
    inUse_ = true;
    std::istringstream in(utf8);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names_.insert(text::ToUpper(codec_.FromUtf8(line)));
    }
}

bool ListedAppPaths::IsRegistered(const std::string& upperName) const {
    return names_.count(upperName) != 0;
}

} // namespace ostravion
