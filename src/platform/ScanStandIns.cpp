#include "platform/ScanStandIns.h"

#include "platform/Native.h"
#include "util/InputText.h"
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
            error =
                "--drive \"" + item + "\" 은(는) 문자=폴더 꼴이어야 하고 문자는 C에서 Z까지입니다";
            return false;
        }
        const std::string folder = item.substr(eq + 1);
        std::string native, why;
        if (!resolve(folder, native, why)) {
            error = "드라이브 " + std::string(1, letter) + ": 폴더 \"" + folder +
                    "\": " + (why.empty() ? "찾을 수 없습니다" : why);
            return false;
        }
        if (byLetter.count(letter)) {
            error = "드라이브 " + std::string(1, letter) + ": 을(를) 두 번 주었습니다";
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
        error = "등록된 응용 프로그램 파일을 읽을 수 없습니다: \"" + path + "\"";
        return false;
    }
    // UTF-8 when the bytes are UTF-8, else CP949; a name without a CP949
    // form would stand for every file whose name has a "?" there.
    InputText decoded;
    UnwritableCharacter bad;
    if (!DecodeInputText(bytes, codec_, decoded, bad)) {
        error = "\"" + path + "\" " + std::to_string(bad.line) + "번째 줄 " +
                std::to_string(bad.column) + "번째 글자 \"" + bad.character + "\"(" +
                bad.codePoint + ")는 한국어 코드 페이지(CP949)에 없는 문자입니다";
        return false;
    }
    LoadCp949(decoded.cp949);
    return true;
}

void ListedAppPaths::LoadText(const std::string& utf8) {
    LoadCp949(codec_.FromUtf8(utf8));
}

void ListedAppPaths::LoadCp949(const std::string& cp949) {
    names_.clear();
    inUse_ = true;
    // No CP949 trail byte is an LF or a CR.
    std::istringstream in(cp949);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names_.insert(text::ToUpper(line));
    }
}

bool ListedAppPaths::IsRegistered(const std::string& upperName) const {
    return names_.count(upperName) != 0;
}

} // namespace ostravion
