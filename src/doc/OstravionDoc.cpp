#include "doc/OstravionDoc.h"

#include "files/CandidateFile.h"
#include "files/PerPcWriter.h"
#include "files/ReplaceFiles.h"
#include "files/WriteLock.h"
#include "util/Messages.h"

namespace ostravion {

std::vector<const FoundProgram*> RowsInDisplayOrder(const CResultList& list) {
    std::vector<const FoundProgram*> rows;
    rows.reserve(static_cast<std::size_t>(list.RowCount()));
    for (int r = 0; r < list.RowCount(); ++r)
        if (const FoundProgram* p = list.StoredForRow(r))
            rows.push_back(p);
    return rows;
}

COstravionDoc::COstravionDoc(CAuditUtil& util, COstravionView& normal, CExtendView& extended)
    : util_(util), normal_(normal), extended_(extended) {
    normal_.BuildColumns();
    extended_.BuildColumns();
}

COstravionDoc::~COstravionDoc() {
    EndScanThread();
}

void COstravionDoc::SetLayoutMode(unsigned char mode) {
    util_.SetLayoutFlag(mode);
    normal_.RemoveColumns();
    normal_.BuildColumns();
    extended_.RemoveColumns();
    extended_.BuildColumns();
}

void COstravionDoc::ClearLists() {
    listsStarted_ = true;
    normal_.Clear();
    extended_.Clear();
}

void COstravionDoc::AddFoundProgram(const FoundProgram& program) {
    if (!listsStarted_)
        ClearLists();
    if (program.ProgramName.size() < 2)
        return;

    FoundProgram p = program;
    if (util_.GetLayoutFlag() == kScanLayout) {
        if (normal_.HasNameWithClassAtMost(p.ProgramName, p.Class) ||
            extended_.HasNameWithClassAtMost(p.ProgramName, p.Class))
            p.Class.assign(1, '4');
    }
    if (p.Class == "3" || p.Class == "4")
        extended_.AddFoundProgram(p);
    else
        normal_.AddFoundProgram(p);
}

bool COstravionDoc::WriteScanResults() {
    normal_.SortByColumn(kCompanyColumn, true);
    extended_.SortByColumn(kCompanyColumn, true);
    std::lock_guard<std::mutex> lock(writeMutex_);
    ++writes_;
    return WritePerPcRows(util_.ScanResultPath(), util_.GetPcFacts(), util_.JournalPath(),
                          RowsInDisplayOrder(normal_), RowsInDisplayOrder(extended_));
}

bool COstravionDoc::WritePerPcRows(const std::string& path, const PcFacts& facts,
                                   const std::string& journal,
                                   const std::vector<const FoundProgram*>& normal,
                                   const std::vector<const FoundProgram*>& extended) {
    FileSystem& fs = util_.Files();
    MessagePort& messages = util_.Messages();
    // Both parts go to a new file beside the result file, which replaces it
    // only once it is whole: a failed or interrupted write leaves the earlier
    // file of the same name as it was. The writers' own messages are held
    // back: a failure is told once, with where the findings still are.
    msg::Collected quiet;
    // One writer of the file at a time: a scan of the same group and name
    // elsewhere waits, or this one keeps its journal and says who holds the file.
    WriteLock lock(fs, path);
    const LockOutcome taken = lock.Take();
    bool ok = taken == LockOutcome::Taken;
    if (ok) {
        FileReplacement replacement(fs);
        // Beside it, the programs the key list lacks, replaced together with
        // it: a candidates file never speaks of another scan than its result.
        // It is moved first, so that the result file's own move is the last,
        // made in one step.
        std::vector<const FoundProgram*> rows = normal;
        rows.insert(rows.end(), extended.begin(), extended.end());
        auto cand = replacement.Create(CandidatesPath(path));
        const bool candWritten = cand && cand->Write(PcCandidatesText(rows));
        ok = cand && cand->Close() && candWritten;
        std::string fresh;
        if (auto made = ok ? replacement.Create(path) : nullptr) {
            made->Close();
            fresh = replacement.NewName(path);
        }
        ok = ok && !fresh.empty() && WritePerPcFile(fs, quiet, fresh, facts, normal) &&
             AppendPerPcRows(fs, quiet, fresh, extended) && replacement.Commit();
    }
    if (!ok) {
        std::string message = msg::kWriteFileOpenError;
        if (taken == LockOutcome::Held) {
            util_.SetHeldByOther();
            message = HeldMessage(path, lock.Holder());
        }
        if (!journal.empty() && fs.Exists(journal))
            message += std::string("\n") + msg::kJournalKept + journal;
        messages.Show(message);
    }

    // The journal is the safety copy of the findings: it goes only once the
    // result file holds them all.
    if (ok && !journal.empty() && fs.Exists(journal))
        fs.Remove(journal);
    lastWriteOk_.store(ok);
    return ok;
}

} // namespace ostravion
