// The catalogue of known programs, loaded from KEYLIST.DAT, and the lookup of
// a file name in it.
#pragma once

#include "ports/Ports.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ostravion {

inline constexpr const char* kKeyListFile = "KEYLIST.DAT";

namespace msg {
inline constexpr const char* kKeyFileOpenError = "Key File Open Error...";
inline constexpr const char* kKeyFileReadError = "Key File Read Error...";
// "키 목록 파일에서 프로그램을 하나도 읽지 못했습니다.\n파일이 손상되었거나 키 목록이
// 아닙니다. 키 목록의 프로그램은 찾지 않고 검사합니다." A key list that was read but
// holds no entry: random or cut-off bytes, which would otherwise give an
// audit that looks clean.
inline constexpr const char* kKeyListEmpty =
    "\xC5\xB0 \xB8\xF1\xB7\xCF \xC6\xC4\xC0\xCF\xBF\xA1\xBC\xAD "
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB \xC7\xCF\xB3\xAA\xB5\xB5 \xC0\xD0\xC1\xF6 "
    "\xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.\n"
    "\xC6\xC4\xC0\xCF\xC0\xCC \xBC\xD5\xBB\xF3\xB5\xC7\xBE\xFA\xB0\xC5\xB3\xAA \xC5\xB0 "
    "\xB8\xF1\xB7\xCF\xC0\xCC \xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9. \xC5\xB0 \xB8\xF1\xB7\xCF\xC0\xC7 "
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBA \xC3\xA3\xC1\xF6 \xBE\xCA\xB0\xED "
    "\xB0\xCB\xBB\xE7\xC7\xD5\xB4\xCF\xB4\xD9.";
} // namespace msg

// Results of a lookup besides an entry index.
inline constexpr int kNameListedNoMatch = -2;  // name listed, neither size nor version matches
inline constexpr int kUnlistedExecutable = -3; // not listed, the name contains ".EXE"

class KeyList {
public:
    static constexpr int kColumns = 9; // columns 0..8 as held; column 9 is held coded

    // Reads the file whole, undoes its container and holds its entries. Shows
    // "Key File Open Error..." or "Key File Read Error..." and returns false
    // when it cannot be loaded.
    bool Load(const FileSystem& fs, MessagePort& messages, const std::string& path = kKeyListFile);
    // The check after reading the file: false with the system's message when
    // it could not be opened or nothing could be read.
    static bool CheckRead(bool opened, const std::string& bytes, MessagePort& messages);
    // The container's raw bytes as read from the file.
    void LoadFromContainer(std::string_view bytes);
    // An already unscrambled payload: lines at CR LF, columns at TAB.
    void LoadFromPayload(std::string_view payload);

    std::size_t Size() const { return exeNameUpper_.size(); }
    const std::string& Column(int column, std::size_t entry) const {
        return columns_[column][entry];
    }
    const std::string& ExeNameUpper(std::size_t entry) const { return exeNameUpper_[entry]; }
    const std::string& DomesticCode(std::size_t entry) const { return domesticCode_[entry]; }
    // True when some entry names this upper-case file name.
    bool Lists(const std::string& upperName) const { return EntriesOf(upperName) != nullptr; }

    // Looks up an upper-case file name. When the name is listed, `readVersion`
    // is called once for the file's ProductVersion, which is stored in
    // `version`. Returns the first entry of that name whose size equals
    // `sizeText` or whose version equals the file's, kNameListedNoMatch,
    // kUnlistedExecutable, or 0 (a name that is not listed and no executable).
    int Match(const std::string& upperName, const std::string& sizeText,
              const std::function<std::string()>& readVersion, std::string& version) const {
        return MatchEntries(EntriesOf(upperName), upperName, sizeText, readVersion, version);
    }
    // The entries of an upper-case name, in file order; null when it is not listed.
    const std::vector<std::uint32_t>* EntriesOf(const std::string& upperName) const;
    // Match with the entries already looked up by EntriesOf.
    int MatchEntries(const std::vector<std::uint32_t>* entries, const std::string& upperName,
                     const std::string& sizeText, const std::function<std::string()>& readVersion,
                     std::string& version) const;

    // "국내" -> "1", "국외" -> "2", anything else -> "".
    static std::string CodeDomestic(std::string_view label);

private:
    void Clear();

    std::array<std::vector<std::string>, kColumns> columns_;
    std::vector<std::string> exeNameUpper_;
    std::vector<std::string> domesticCode_;
    // Every entry of a name, in file order: a lookup visits only those.
    std::unordered_map<std::string, std::vector<std::uint32_t>> byName_;
    // Two bits per listed name in a table small enough to stay in the
    // processor's cache: most names a walk meets are not listed, and this
    // tells so without touching the large index.
    static constexpr std::size_t kFilterBits = std::size_t(1) << 18;
    std::vector<std::uint64_t> filter_;
    static std::pair<std::size_t, std::size_t> FilterBits(const std::string& upperName);
};

} // namespace ostravion
