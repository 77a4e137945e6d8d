// The scan's inner work: the walk of the fixed drives, the test of every file
// found, and the hand-over of each identified program to a sink and to the
// scan journal. The caller owns the thread: CSearchThread::Run is its body.
#pragma once

#include "ports/Ports.h"
#include "scan/FolderWalk.h"
#include "scan/KeyList.h"
#include "util/AuditUtil.h"
#include "util/Types.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace ostravion {

// Receives every identified program, on the scan thread, in emission order.
// The record is reused for the next file: keep a copy.
class ProgramSink {
public:
    virtual ~ProgramSink() = default;
    virtual void AddFoundProgram(const FoundProgram& program) = 0;
};

// The ports a scan reads the machine through.
struct ScanPorts {
    const FileSearch& search;
    const Drives& drives;
    const VersionStrings& versions;
    const AppPaths& appPaths;
};

enum class ScanOutcome {
    KeyListFailed, // the key list could not be loaded; nothing was walked
    Completed,     // every drive walked, the progress bar filled
    Stopped,       // the stop token ended the walk early
};

// What a walk could not read. Folders and files refused for access rights
// are counted apart: every PC has some, and they leave the result as whole
// as the auditor's rights allow.
struct WalkFaults {
    long long folders = 0;       // folders that could not be listed for another reason
    long long files = 0;         // files whose data could not be read for another reason
    long long deniedFolders = 0; // folders refused for access rights
    long long deniedFiles = 0;   // files refused for access rights
    // Something was left out that the auditor's rights do not explain.
    bool Incomplete() const { return folders + files > 0; }
    bool Any() const { return folders + files + deniedFolders + deniedFiles > 0; }
};

// "검사를 마쳤으나 폴더 N개, 파일 M개를 읽지 못했습니다", with those refused
// for access rights among them and the log that names them.
std::string WalkFaultText(const WalkFaults& faults, const std::string& logPath);

// The log that names what a walk could not read, beside the per-PC file:
// "G_N.log" for "G_N.ipt". One line per folder or file: kind, reason and
// path, each followed by a TAB, CP949 with CR LF.
std::string FaultLogPath(const std::string& scanResultPath);

// Results of WalkDirectory.
inline constexpr int kWalkCompleted = 1;
inline constexpr int kWalkStopped = 0;
inline constexpr int kWalkSearchFailed = -1;

// The text the status bar shows during a scan: "검색중".
inline constexpr const char* kSearchingText = "\xB0\xCB\xBB\xF6\xC1\xDF";

class CSearchThread {
public:
    CSearchThread(CAuditUtil& util, const ScanPorts& ports, ProgramSink& sink);

    // The PC's operating-system string (OsVersionString of scan/Facts.h);
    // an "OS" entry of the key list is reported only when its column 3 equals it.
    void SetOsVersionString(std::string os) { osVersion_ = std::move(os); }
    const std::string& OsVersionString() const { return osVersion_; }

    // Loads KEYLIST.DAT from the current folder; shows the system's message
    // and returns false when it cannot.
    bool LoadKeyList(const std::string& path = kKeyListFile);
    const KeyList& Keys() const { return keys_; }

    // The whole scan: the key list (KEYLIST.DAT unless another is named),
    // every fixed drive in order, the progress bar filled at the end. Checks
    // the stop token between files and between folders; once a stop is
    // requested nothing more reaches the sink.
    ScanOutcome Run(std::stop_token stop = {}, const std::string& keyListPath = kKeyListFile);

    // Walks one drive from its root.
    int WalkDrive(const Drive& drive);

    // Workers that list folders ahead of the walk where the file search
    // allows it (ReadAheadThreads unless set); 0 lists every folder on the
    // scan thread. `threads`, when given, lowers each worker's priority.
    void SetReadAhead(unsigned workers, ThreadControl* threads = nullptr) {
        readAhead_ = workers;
        threadControl_ = threads;
    }

    // Clears the current record and fills Folder, FileName and FileSize from
    // a folder entry, remembering the entry's native path for version reads.
    void PrepareFile(const WalkFolder& folder, const DirEntry& entry);
    // Identifies the prepared file by its upper-case name; 1 when a program
    // was emitted.
    int IdentifyFile(const std::string& upperName);
    // Whether a file of this upper-case name may be reported at all, with its
    // key-list entries: a listed name, or an executable other than an installer.
    bool Examines(const std::string& upperName, const std::vector<std::uint32_t>*& entries) const;
    // Whether the walk will ask for this entry's size; safe from any thread.
    bool WantsSize(const DirEntry& entry) const;
    // One string of a file's version resource up to its first line break;
    // empty when there is none.
    std::string ReadVersionString(const std::string& nativePath, const std::string& name) const;
    bool IsRegisteredApplication(const std::string& upperName) const;
    // Hands the current record to the sink and appends its journal line;
    // 0 when the line was written, -1 otherwise. A journal that is lost
    // loses its lines silently, but a link put in its place is refused with
    // the write-error message, once a scan.
    int EmitFoundProgram();

    const FoundProgram& Current() const { return current_; }
    // What this scan could not read so far.
    const WalkFaults& Faults() const { return faults_; }

private:
    // Files of the folder first (archive or hidden, a dot in the name), then
    // its sub-folders depth first, each as a share of the progress bar.
    int WalkDirectory(FolderWalk& walk, WalkNode& node);
    // Counts a folder or file that could not be read and names it in the log.
    void NoteFault(bool folder, ReadFault fault, const std::string& pathText) const;
    bool StopRequested() const { return stop_.stop_requested(); }
    int MatchKeyList(const std::string& upperName, const std::vector<std::uint32_t>* entries);
    // Examines for a listed file, which must also be archive or hidden and
    // have a dot in its name; `upper` is its upper-case name.
    bool ExaminesEntry(const DirEntry& entry, std::string& upper,
                       const std::vector<std::uint32_t>*& entries) const;
    // IdentifyFile for a file Examines let through.
    int IdentifyExamined(const std::string& upperName, const std::vector<std::uint32_t>* entries);
    void FetchPendingSize();

    CAuditUtil& util_;
    ScanPorts ports_;
    ProgramSink& sink_;
    std::string osVersion_;
    // The walk of a drive, its workers (if any) already listing.
    std::unique_ptr<FolderWalk> StartWalk(const Drive& drive) const;

    KeyList keys_;
    std::atomic<bool> keysLoaded_{false}; // keys_ is whole and no longer written
    FoundProgram current_;
    std::stop_token stop_;
    bool journalLinkShown_ = false;

    mutable WalkFaults faults_;

    // The file being identified.
    std::string currentNative_;
    std::string currentText_;
    mutable bool currentFaulted_ = false;
    bool currentLink_ = false;
    bool sizePending_ = false;
    mutable std::string versionCachePath_;
    mutable std::vector<std::pair<std::string, std::string>> versionCache_;

    unsigned readAhead_ = ReadAheadThreads();
    ThreadControl* threadControl_ = nullptr;
};

// Sub-folders a walk of the drive's root would enter.
int CountSubdirectories(const FileSearch& search, const Drive& drive);

// Counts the sub-folders of every fixed drive's root, shows the progress bar
// with `text` and sets its range and step from that count.
void PrepareProgress(CAuditUtil& util, const FileSearch& search, const Drives& drives,
                     const std::string& text = kSearchingText);

} // namespace ostravion
