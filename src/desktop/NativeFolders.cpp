#include "desktop/NativeFolders.h"

#include "util/Text.h"

namespace ostravion {

namespace {

// The drive whose text root begins the folder text, the longest one; null
// when none does.
const Drive* DriveOf(const std::string& folderText, const std::vector<Drive>& drives) {
    const Drive* best = nullptr;
    for (const Drive& d : drives) {
        if (d.text.empty() || d.text.size() > folderText.size())
            continue;
        // Drive letters are the same in either case; other roots are exact.
        const std::string head = folderText.substr(0, d.text.size());
        const bool match =
            d.textSeparator == '\\' ? text::EqualsNoCase(head, d.text) : head == d.text;
        if (match && (!best || d.text.size() > best->text.size()))
            best = &d;
    }
    return best;
}

} // namespace

std::string NativeFolder(const std::string& folderText, const std::vector<Drive>& drives,
                         char nativeSeparator, const TextCodec& codec) {
    const Drive* drive = DriveOf(folderText, drives);
    std::string rest = drive ? folderText.substr(drive->text.size()) : folderText;
    const char textSeparator = drive ? drive->textSeparator : '\\';
    for (std::size_t i = 0; i < rest.size(); i += text::CharLength(rest, i))
        if (rest[i] == textSeparator)
            rest[i] = nativeSeparator;
    return (drive ? drive->native : std::string()) + codec.ToUtf8(rest);
}

std::optional<std::string> FolderToOpen(const std::string& folderText,
                                        const std::vector<Drive>& drives, char nativeSeparator,
                                        const TextCodec& codec, const FileSystem& files) {
    // Off every drive the text would be taken relative to the current
    // folder, or as whatever else the system reads in it.
    if (!DriveOf(folderText, drives))
        return std::nullopt;
    std::string path = codec.FromUtf8(NativeFolder(folderText, drives, nativeSeparator, codec));
    if (!files.IsDirectory(path))
        return std::nullopt;
    return path;
}

} // namespace ostravion
