// What the file-selection dialog of the consolidation decides: the per-PC
// files it lists, the default total-file name and which files are chosen.
#pragma once

#include "ports/Ports.h"

#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

class CAuditUtil;

namespace consolidation {
// "선택된 파일이 없습니다."
inline constexpr const char* kNoFileSelected =
    "\xBC\xB1\xC5\xC3\xB5\xC8 \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
} // namespace consolidation

// The preset total-file name: the local time as "%04d%02d%02d%02d%02d%02d".
std::string DefaultResultName(const LocalTime& t);

// Orders two file names (UTF-8) as NTFS keeps a folder: by UTF-16 code units
// after upper-casing. Returns <0, 0 or >0.
int CompareFileNames(std::string_view utf8a, std::string_view utf8b);

// The per-PC result files of the work folder (names ending in ".ipt", letter
// case aside; folders left out), each with its extension, in the name order
// of NTFS whatever the file system, so that every system lists and merges
// them alike. Empty when the folder cannot be listed.
std::vector<std::string> ListPerPcFiles(const FileSystem& fs, const TextCodec& codec);

// The list of the dialog: one row per file, each with a check mark.
class FileSelection {
public:
    explicit FileSelection(std::vector<std::string> names)
        : names_(std::move(names)), checked_(names_.size(), false) {}

    std::size_t Count() const { return names_.size(); }
    const std::string& Name(std::size_t row) const { return names_[row]; }
    bool IsChecked(std::size_t row) const { return checked_[row]; }
    // A click on a row toggles its mark.
    void Toggle(std::size_t row);
    // "전체선택": every row marked, or every row cleared.
    void SetAll(bool checked);
    // The marked names from top to bottom.
    std::vector<std::string> Checked() const;
    // OK: stores the marked names as the selected files and returns true; with
    // none marked shows "선택된 파일이 없습니다." and returns false (the dialog
    // then closes as if cancelled).
    bool Accept(CAuditUtil& util) const;

private:
    std::vector<std::string> names_;
    std::vector<bool> checked_;
};

// The whole dialog: the list and the total-file name typed, preset to the
// local date and time.
class SelectFilesModel {
public:
    SelectFilesModel(CAuditUtil& util, std::vector<std::string> names, std::string presetName)
        : files(std::move(names)), resultName(std::move(presetName)), util_(util) {}

    FileSelection files;
    std::string resultName;

    enum class Outcome {
        Accepted,  // the marked files are the selected files and the name is taken
        Cancelled, // nothing marked: its message was shown, the dialog ends as if cancelled
        StayOpen,  // the name was refused (or merging into an existing total was declined)
    };
    Outcome Confirm() const;

private:
    CAuditUtil& util_;
};

} // namespace ostravion
