// The document's side of a scan: the scan thread's life, the hand-over of
// found programs, the stop and the end of a completed scan.
#include "doc/OstravionDoc.h"

#include <algorithm>

#include "files/PcResultFile.h"
#include "files/ReplaceFiles.h"
#include "scan/Facts.h"

namespace ostravion {

void ScanHost::RunOnOwner(std::stop_token, const std::function<void()>& work) {
    work();
}

void ScanHost::ScanEnded(std::stop_token, ScanOutcome) {}

struct COstravionDoc::ScanJob {
    std::uint64_t scan = 0;
    ScanRequest request;
    ScanHost* host = nullptr;
    std::string osVersion;
};

// Receives the walk's programs on the scan thread and passes a copy of each
// to the document through the host.
class COstravionDoc::Sink final : public ProgramSink {
public:
    Sink(COstravionDoc& doc, const ScanJob& job, std::stop_token stop)
        : doc_(doc), job_(job), stop_(std::move(stop)) {}
    void AddFoundProgram(const FoundProgram& program) override {
        doc_.programsFound_.fetch_add(1);
        // The walk reuses its record, and a host may run the work later.
        auto copy = std::make_shared<const FoundProgram>(program);
        COstravionDoc* doc = &doc_;
        const std::uint64_t scan = job_.scan;
        job_.host->RunOnOwner(stop_, [doc, scan, copy] { doc->Deliver(scan, *copy); });
    }

private:
    COstravionDoc& doc_;
    const ScanJob& job_;
    std::stop_token stop_;
};

void COstravionDoc::Deliver(std::uint64_t scan, const FoundProgram& p) {
    std::lock_guard<std::mutex> lock(gate_);
    if (accepting_ != scan)
        return;
    AddFoundProgram(p);
}

struct COstravionDoc::FinalRows {
    bool taken = false;
    std::uint64_t generation = 0; // the write count when the rows were taken
    std::string path;
    std::string journal;
    PcFacts facts;
    std::vector<std::shared_ptr<const FoundProgram>> normal;
    std::vector<std::shared_ptr<const FoundProgram>> extended;
};

namespace {
// The rows in display order, shared with the list: the list may be cleared
// while they are written.
std::vector<std::shared_ptr<const FoundProgram>> SharedInDisplayOrder(const CResultList& list) {
    std::vector<std::shared_ptr<const FoundProgram>> rows;
    rows.reserve(static_cast<std::size_t>(list.RowCount()));
    for (int r = 0; r < list.RowCount(); ++r)
        if (auto p = list.SharedForRow(r))
            rows.push_back(std::move(p));
    return rows;
}

std::vector<const FoundProgram*>
Pointers(const std::vector<std::shared_ptr<const FoundProgram>>& rows) {
    std::vector<const FoundProgram*> out;
    out.reserve(rows.size());
    for (const auto& p : rows)
        out.push_back(p.get());
    return out;
}
} // namespace

bool COstravionDoc::TakeFinalRows(std::uint64_t scan, FinalRows& rows) {
    std::lock_guard<std::mutex> lock(gate_);
    if (accepting_ != scan)
        return false; // stopped meanwhile: the stop writes the results
    accepting_ = 0;
    completed_ = scan;
    normal_.SortByColumn(kCompanyColumn, true);
    extended_.SortByColumn(kCompanyColumn, true);
    rows.path = util_.ScanResultPath();
    rows.journal = util_.JournalPath();
    rows.facts = util_.GetPcFacts();
    rows.normal = SharedInDisplayOrder(normal_);
    rows.extended = SharedInDisplayOrder(extended_);
    {
        std::lock_guard<std::mutex> writing(writeMutex_);
        rows.generation = writes_;
    }
    rows.taken = true;
    util_.SetWorkState(kIdle);
    return true;
}

void COstravionDoc::WriteFinalRows(const FinalRows& rows) {
    std::lock_guard<std::mutex> lock(writeMutex_);
    if (writes_ != rows.generation)
        return; // written since, from the same lists
    ++writes_;
    WritePerPcRows(rows.path, rows.facts, rows.journal, Pointers(rows.normal),
                   Pointers(rows.extended));
}

void COstravionDoc::ScanThreadBody(std::stop_token stop, const ScanJob& job) {
    if (job.request.threads)
        job.request.threads->LowerCurrentThread();
    Sink sink(*this, job, stop);
    ScanOutcome outcome = ScanOutcome::Stopped;
    {
        CSearchThread search(util_, job.request.ports, sink);
        search.SetOsVersionString(job.osVersion);
        search.SetReadAhead(ReadAheadThreads(), job.request.threads);
        outcome = search.Run(stop, job.request.keyListPath);
        std::lock_guard<std::mutex> lock(gate_);
        walkFaults_ = search.Faults();
    }
    if (outcome == ScanOutcome::KeyListFailed)
        keyListFailed_.store(true);
    if (outcome == ScanOutcome::Completed) {
        const std::uint64_t scan = job.scan;
        // Shared: a host that gives up waiting on a stop may still be running it.
        auto rows = std::make_shared<FinalRows>();
        job.host->RunOnOwner(stop, [this, scan, rows] { TakeFinalRows(scan, *rows); });
        // Without a stop the host returned because the work was done. A stop
        // given meanwhile writes the file itself once this thread ends.
        if (!stop.stop_requested() && rows->taken)
            WriteFinalRows(*rows);
        std::lock_guard<std::mutex> lock(gate_);
        if (completed_ != scan)
            outcome = ScanOutcome::Stopped;
    }
    job.host->ScanEnded(stop, outcome);
    threadDone_.store(true);
}

std::vector<std::string> EarlierJournals(const FileSystem& fs, const std::string& folder,
                                         const std::string& base) {
    std::vector<std::string> names, found;
    if (!fs.ListFiles(folder, names))
        return found;
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        const bool fixed = n == base + ".tmp";
        const bool own = n.size() > base.size() + 6 &&
                         n.compare(0, base.size() + 2, base + ".~") == 0 &&
                         n.compare(n.size() - 4, 4, ".tmp") == 0;
        if (fixed || own)
            found.push_back(folder + n);
    }
    return found;
}

void COstravionDoc::StartScan(const ScanRequest& request, ScanHost& host) {
    // A scan that ended by itself still holds its thread until now.
    EndScanThread();

    FileSystem& fs = util_.Files();
    // The journal is the findings' safety copy, made under a name of this
    // scan's own beside the journal's name: a journal of an earlier scan of
    // the same name (an interrupted one, or one still running elsewhere)
    // is kept, and said so. A scan without one (a folder that refuses the
    // file) says so once, at the start, and runs all the same.
    const std::string& result = util_.ScanResultPath();
    const std::string named = result.substr(0, result.size() - 4);
    std::string kept;
    for (const std::string& journal :
         EarlierJournals(fs, kWorkFolder, named.substr(std::string_view(kWorkFolder).size())))
        kept += "\n" + journal;
    if (!kept.empty())
        util_.Messages().Show(msg::kJournalFound + kept);
    std::string journal;
    if (auto out = CreateTemporary(fs, named, ".tmp", journal)) {
        const bool written = out->Write(PcResultHeader(util_.GetPcFacts()));
        if (!out->Close() || !written) {
            fs.Remove(journal);
            journal.clear();
        }
    }
    util_.SetJournalPath(journal);
    if (journal.empty())
        util_.Messages().Show(msg::kWriteFileOpenError);

    // The fault log names what this scan leaves out, not an earlier one's.
    fs.Remove(FaultLogPath(util_.ScanResultPath()));
    {
        std::lock_guard<std::mutex> lock(gate_);
        walkFaults_ = WalkFaults();
    }

    // No program of the new scan may land in the lists of an earlier one.
    listsStarted_ = false;
    normal_.Clear();
    extended_.Clear();

    auto job = std::make_shared<ScanJob>(ScanJob{0, request, &host, std::string()});
    // Worked out here, before the thread runs, as the thread never sees it unset.
    if (request.system)
        job->osVersion = OsVersionString(request.system->OsVersion(), util_.Messages());
    {
        std::lock_guard<std::mutex> lock(gate_);
        job->scan = ++lastScan_;
        accepting_ = job->scan;
    }
    programsFound_.store(0);
    keyListFailed_.store(false);
    threadDone_.store(false);
    thread_ = std::jthread([this, job](std::stop_token stop) { ScanThreadBody(stop, *job); });
}

void COstravionDoc::EndScanThread() {
    {
        std::lock_guard<std::mutex> lock(gate_);
        accepting_ = 0;
    }
    if (!thread_.joinable())
        return;
    thread_.request_stop();
    // The scan thread calls the host's waits with the stop token, so it never
    // keeps waiting for this thread once the stop is requested.
    if (thread_.get_id() == std::this_thread::get_id())
        return; // the scan's own last act: joined by the next start or the end
    thread_.join();
    thread_ = std::jthread();
}

void COstravionDoc::StopScan() {
    EndScanThread();
    // Without its key list the scan identified nothing: a per-PC file would
    // pass for a PC without programs and count as one in the total.
    if (!keyListFailed_.load())
        WriteScanResults();
}

bool COstravionDoc::AskCloseAfterScan() const {
    return util_.Messages().Ask(msg::kScanComplete);
}

} // namespace ostravion
