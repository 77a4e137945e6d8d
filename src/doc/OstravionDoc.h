// The document: the hub between the scan, the two result lists and the
// result files. It keeps no program table of its own: the programs on show
// live in the lists' row stores.
#pragma once

#include "doc/Consolidation.h"
#include "files/ReportTables.h"
#include "scan/SearchThread.h"
#include "util/AuditUtil.h"
#include "util/Types.h"
#include "views/ResultList.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace ostravion {

namespace msg {
// The question at the end of a scan: "검색을 완료하였습니다.\n 프로그램을 닫으시겠습니까?"
inline constexpr const char* kScanComplete =
    "\xB0\xCB\xBB\xF6\xC0\xBB \xBF\xCF\xB7\xE1\xC7\xCF\xBF\xB4\xBD\xC0\xB4\xCF\xB4\xD9.\n"
    " \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB "
    "\xB4\xDD\xC0\xB8\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
} // namespace msg

// The window side of a scan: where the scan thread's work on the document
// runs, and who hears that the scan ended.
class ScanHost {
public:
    virtual ~ScanHost() = default;
    // Runs `work` on the thread that owns the document and its lists, in the
    // order of the calls, and returns once it has run. A host that hands the
    // work to another thread keeps its own copy of it and must stop waiting
    // as soon as `stop` is requested (the work may then run later or never):
    // a stop is given on the owner thread and waits for the scan thread.
    // The default runs the work at once on the calling thread.
    virtual void RunOnOwner(std::stop_token stop, const std::function<void()>& work);
    // The scan thread's last act, on the scan thread. For Completed the
    // per-PC file has been written and WorkState is 0: the host puts its
    // commands back and asks AskCloseAfterScan on its own thread: Yes closes
    // the program, No performs the stop command. The same waiting rule as
    // for RunOnOwner holds.
    virtual void ScanEnded(std::stop_token stop, ScanOutcome outcome);
};

// What a scan reads the machine through.
struct ScanRequest {
    ScanPorts ports;
    // The operating-system facts, for the string that "OS" entries of the key
    // list must equal; none: no such entry applies.
    const SystemInfo* system = nullptr;
    // Lowers the scan thread's priority; none: it runs at normal priority.
    ThreadControl* threads = nullptr;
    std::string keyListPath = kKeyListFile;
};

class COstravionDoc {
public:
    COstravionDoc(CAuditUtil& util, COstravionView& normal, CExtendView& extended);
    virtual ~COstravionDoc();
    COstravionDoc(const COstravionDoc&) = delete;
    COstravionDoc& operator=(const COstravionDoc&) = delete;

    CAuditUtil& Util() const { return util_; }
    CExtendView& ExtendedView() const { return extended_; }

    // Stores the layout flag, then rebuilds the columns of both lists for it
    // (normal list first); their rows are gone afterwards.
    void SetLayoutMode(unsigned char mode);

    // Routes one program to a list. The first program after the lists were
    // restarted clears both lists first. A name shorter than 2 bytes is not
    // shown. In the scan layout a program whose name (letter case aside) is
    // already listed with a class not greater than its own becomes class "4".
    // Classes "3" and "4" go to the extended list, every other to the normal one.
    void AddFoundProgram(const FoundProgram& p);

    // The next program added clears both lists first (a loaded file, a
    // consolidation or a new scan replaces what they show).
    void RestartLists() { listsStarted_ = false; }
    bool ListsStarted() const { return listsStarted_; }
    // Clears both lists now (normal list first) and marks them started.
    void ClearLists();

    // The per-PC result file from both lists: the normal list sorted by rights
    // holder with the header, then the extended list sorted the same way; then
    // the journal is deleted. The file is written under a new name and moved
    // into place only when whole, so a failure leaves an earlier file of that
    // name as it was. Failures show "Write File Open Error...!!"; the journal
    // is kept unless the whole file was written. True when it was.
    bool WriteScanResults();
    // Whether the last WriteScanResults wrote the whole file; readable from
    // any thread.
    bool LastWriteSucceeded() const { return lastWriteOk_.load(); }

    // Starts a scan of the current base name: the journal begins anew with
    // the PC facts' header, both lists are emptied and the walk starts on its
    // own thread, handing each program to the document through the host.
    // The host and the request's ports must outlive the scan.
    void StartScan(const ScanRequest& request, ScanHost& host);
    // Ends a running scan: no program reaches the lists once this returns.
    // Then writes the per-PC result file, whether or not a scan was running.
    void StopScan();
    // True from StartScan until the scan thread's last act.
    bool ScanRunning() const { return thread_.joinable() && !threadDone_.load(); }
    // Programs the walk has handed over during the current scan (also those
    // not shown); readable from any thread.
    int ProgramsFound() const { return programsFound_.load(); }
    // What the last scan's walk could not read; complete once its thread ended.
    WalkFaults LastWalkFaults() const {
        std::lock_guard<std::mutex> lock(gate_);
        return walkFaults_;
    }
    // The question at the end of a scan; true for Yes (close the program).
    bool AskCloseAfterScan() const;

    // Number of per-PC files of the last consolidation.
    int PcCount() const { return pcCount_; }

    // Merges the utility object's selected per-PC files into the total file of
    // the current result names and shows one row per distinct program in the
    // lists (which should be in the total layout).
    ConsolidationSummary Consolidate();
    // Saves both lists to the total and written-result files of the current
    // result names; reports "저장되었습니다." or the failure itself.
    bool SaveTotal();
    // Fills both lists from the current total file.
    bool LoadTotal();
    // The report readers: the rows of the total file (kind 3) or of the
    // written-result file (kind 4) with the six administrative values, and
    // the PC history of the total file.
    bool ReadResultRows(std::vector<ResultRow>& target, AdminValues& admin, int reportKind) const;
    bool ReadPcHistory(PcHistory& target) const;
    // Who shows the lists' arrangement once a total is on show: extended when
    // the extended list holds rows, else normal. None: nothing is picked.
    void SetArrangementHandler(std::function<void(bool extended)> handler) {
        arrangement_ = std::move(handler);
    }

private:
    class Sink;
    struct ScanJob;
    void ScanThreadBody(std::stop_token stop, const ScanJob& job);
    void Deliver(std::uint64_t scan, const FoundProgram& p);
    // The end of a completed scan: the rows are taken from the lists on the
    // owner's thread (sorted there, as the views show them), then written on
    // the scan thread so that the window keeps running during the write.
    struct FinalRows;
    bool TakeFinalRows(std::uint64_t scan, FinalRows& rows);
    void WriteFinalRows(const FinalRows& rows);
    // The per-PC file itself; the caller holds writeMutex_.
    bool WritePerPcRows(const std::string& path, const PcFacts& facts, const std::string& journal,
                        const std::vector<const FoundProgram*>& normal,
                        const std::vector<const FoundProgram*>& extended);
    // Stops and joins the scan thread unless it is the calling thread.
    void EndScanThread();

    CAuditUtil& util_;
    COstravionView& normal_;
    CExtendView& extended_;
    bool listsStarted_ = false;
    int pcCount_ = 0;
    std::function<void(bool extended)> arrangement_;

    // The scan. Programs reach the lists only while `accepting_` names their
    // scan; the stop clears it under the gate before it waits for the thread.
    mutable std::mutex gate_;
    std::uint64_t lastScan_ = 0;  // guarded by gate_
    std::uint64_t accepting_ = 0; // guarded by gate_
    std::uint64_t completed_ = 0; // guarded by gate_
    std::atomic<bool> threadDone_{false};
    std::atomic<bool> keyListFailed_{false}; // the last scan could not load its key list
    WalkFaults walkFaults_;                  // of the last scan's walk, under gate_
    std::atomic<int> programsFound_{0};
    std::atomic<bool> lastWriteOk_{false};
    // Every per-PC write holds this; the count lets the scan thread's own
    // write stand back when a later one (a stop, an exit) has written already.
    std::mutex writeMutex_;
    std::uint64_t writes_ = 0; // guarded by writeMutex_
    std::jthread thread_;
};

// The scan journals of base name `base` in `folder` that earlier scans left:
// the journal's own name and those made with a writer's name of their own,
// as paths, in name order.
std::vector<std::string> EarlierJournals(const FileSystem& fs, const std::string& folder,
                                         const std::string& base);

// The rights holder's column, by which written rows are ordered.
inline constexpr int kCompanyColumn = 2;

// The rows of a list in display order, each as its stored program.
std::vector<const FoundProgram*> RowsInDisplayOrder(const CResultList& list);

} // namespace ostravion
