// The one shared utility object: work state, layout flag, report kind, the
// current result names and paths, the PC facts of the current scan, the
// selected per-PC files and the status-bar progress arithmetic.
#pragma once

#include "ports/Ports.h"
#include "util/Messages.h"
#include "util/Text.h"
#include "util/Types.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ostravion {

inline constexpr const char* kWorkFolder = ".\\CheckOut\\";

// Whether a name the user typed can only name a file directly in the work
// folder: it holds no folder separator ("\\" or "/"), no "..", no ":" (a
// drive letter or a stream) and no NUL, and is not one of the device names
// of Windows (CON, PRN, AUX, NUL, COM1-9, LPT1-9, alone or before a dot).
bool IsPlainFileName(std::string_view name);

// Why Windows could not hold the files of this base name in the work folder
// below the current directory, as a Korean line: a character it forbids
// (* ? " < > |), a control character, a trailing dot or blank, or a path of
// the longest file made for the name (a replacement of the total, whose
// name carries its writer)
// over 259 characters. Empty when it can. The files travel between the two
// systems, so the rule holds on both.
std::string WindowsNameProblem(const FileSystem& fs, std::string_view baseName);
// The same without the path's length, for a name of any folder.
std::string WindowsNameCharacterProblem(std::string_view name);
// The message of a refused name: the system's path message, then `why`.
std::string BadNameMessage(const std::string& why);

class CAuditUtil {
public:
    enum class NameForm { Path, Name };

    CAuditUtil(FileSystem& fs, MessagePort& messages, ProgressFactory* progress = nullptr);
    ~CAuditUtil();

    FileSystem& Files() const { return fs_; }
    MessagePort& Messages() const { return messages_; }

    // The result names and the previous total's path, taken and put back
    // whole, so that a command that fails leaves them as they were.
    struct ResultNames {
        std::string folder, total, result, base, previousTotal;
    };
    ResultNames GetResultNames() const {
        return {resultFolder_, totalFileName_, resultFileName_, baseName_, previousTotalPath_};
    }
    void RestoreResultNames(const ResultNames& n) {
        resultFolder_ = n.folder;
        totalFileName_ = n.total;
        resultFileName_ = n.result;
        baseName_ = n.base;
        previousTotalPath_ = n.previousTotal;
    }

    // Names and paths.
    void SetScanBaseName(const std::string& base);
    // Derives result folder, total-file, base and written-result names. Shows one
    // of the three messages and returns false when the text is unusable (fields
    // already set stay set, so a later step may still use them). A typed name (Name form) must
    // be a plain file name (IsPlainFileName), so that it stays in the work
    // folder; a path (Path form) comes from a file dialog and goes where it says.
    // Where file names differ by letter case (PathRules::caseSensitive) the
    // names keep the case of the text; elsewhere they are lowered.
    bool SetResultNames(const std::string& text, NameForm form);
    // For opening a total by a name: where file names differ by letter case
    // and the total the names point at is missing, but earlier versions wrote
    // it under its lower-cased name, the names become that spelling. True
    // when they changed.
    bool FollowLowerCaseTotal();
    const std::string& JournalPath() const { return journalPath_; }
    // The journal a scan actually writes: a name of its own beside the
    // journal path, so that no other writer's journal is touched.
    void SetJournalPath(const std::string& path) { journalPath_ = path; }
    // A write of this command stopped because another writer held the file
    // (its message was shown).
    bool HeldByOther() const { return heldByOther_; }
    void SetHeldByOther() { heldByOther_ = true; }
    // What a file was when this program last read or wrote it, so that a
    // save can tell that another writer replaced it meanwhile.
    struct ReadMark {
        FileStamp stamp;
        std::uint64_t hash = 0;
    };
    void RememberRead(const std::string& path, const ReadMark& mark) { readMarks_[path] = mark; }
    // Null when the file was not read through these names.
    const ReadMark* ReadMarkOf(const std::string& path) const {
        const auto it = readMarks_.find(path);
        return it == readMarks_.end() ? nullptr : &it->second;
    }
    // A save stopped because the file changed elsewhere (its message was shown).
    bool ChangedElsewhere() const { return changedElsewhere_; }
    void SetChangedElsewhere(bool changed) { changedElsewhere_ = changed; }
    const std::string& ScanResultPath() const { return scanResultPath_; }
    const std::string& StartDirectory() const { return startDirectory_; }
    const std::string& TotalFileName() const { return totalFileName_; }
    const std::string& ResultFileName() const { return resultFileName_; }
    const std::string& PreviousTotalPath() const { return previousTotalPath_; }
    void SetPreviousTotalPath(const std::string& p) { previousTotalPath_ = p; }
    std::vector<std::string> SelectedFiles() const { return selectedFiles_; }
    void SetSelectedFiles(const std::vector<std::string>& files) { selectedFiles_ = files; }
    const std::string& BaseName() const { return baseName_; }
    const std::string& ResultFolder() const { return resultFolder_; }
    // Result folder + base name + extension (".tls", ".rst", "_tm").
    std::string ResultPath(const std::string& extension) const {
        return resultFolder_ + baseName_ + extension;
    }

    bool FileExists(const std::string& path) const { return fs_.Exists(path); }
    void RecordStartDirectory();
    void RestoreStartDirectory();

    // State.
    int GetWorkState() const { return workState_; }
    void SetWorkState(int s) { workState_ = s; }
    unsigned char GetLayoutFlag() const { return layoutFlag_; }
    void SetLayoutFlag(unsigned char f) { layoutFlag_ = f; }
    unsigned char GetReportKind() const { return reportKind_; }
    void SetReportKind(unsigned char k) { reportKind_ = k; }
    PcFacts GetPcFacts() const { return facts_; }
    void SetPcFacts(const PcFacts& f) { facts_ = f; }

    // Progress. Every operation does nothing while no bar is owned.
    void ShowProgress(const std::string& text);
    void StepProgress(int n);
    void DestroyProgress();
    // Range 0 .. total*1000 and the initial step width total*1000.
    void PrepareProgressRange(const std::string& text, long long total);
    void NarrowStep(int x);
    void WidenStep(int x);
    void FillProgress();
    bool HasProgress() const { return bar_ != nullptr; }
    float ProgressStep() const { return step_; }

private:
    FileSystem& fs_;
    MessagePort& messages_;
    ProgressFactory* progressFactory_;

    std::string journalPath_;
    std::string scanResultPath_;
    std::string startDirectory_;
    std::string totalFileName_;
    std::string resultFileName_;
    std::string previousTotalPath_;
    std::vector<std::string> selectedFiles_;
    std::string baseName_;
    unsigned char layoutFlag_ = kScanLayout;
    int workState_ = kIdle;
    unsigned char reportKind_ = 0;
    std::unique_ptr<ProgressBar> bar_;
    PcFacts facts_;
    std::string resultFolder_ = kWorkFolder;
    float step_ = 0.0f;
    bool heldByOther_ = false;
    bool changedElsewhere_ = false;
    std::map<std::string, ReadMark> readMarks_;
};

} // namespace ostravion
