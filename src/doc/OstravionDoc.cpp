#include "doc/OstravionDoc.h"

#include "files/PerPcWriter.h"
#include "files/ReplaceFiles.h"

namespace ostravion {

namespace {
constexpr int kCompanyColumn = 2;
}

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
    FileSystem& fs = util_.Files();
    MessagePort& messages = util_.Messages();
    const std::string& path = util_.ScanResultPath();
    // Both parts go to a new file beside the result file, which replaces it
    // only once it is whole: a failed or interrupted write leaves the earlier
    // file of the same name as it was.
    const std::string fresh = ReplacementPath(path);

    normal_.SortByColumn(kCompanyColumn, true);
    const bool head =
        WritePerPcFile(fs, messages, fresh, util_.GetPcFacts(), RowsInDisplayOrder(normal_));

    // The extended list's writer runs even when the first part failed, and
    // reports its own failure.
    extended_.SortByColumn(kCompanyColumn, true);
    const bool tail = AppendPerPcRows(fs, messages, fresh, RowsInDisplayOrder(extended_));

    bool ok = head && tail;
    if (ok && !CommitReplacements(fs, {path})) {
        messages.Show(msg::kWriteFileOpenError);
        ok = false;
    }
    if (!ok)
        DiscardReplacements(fs, {path});

    // The journal is the safety copy of the findings: it goes only once the
    // result file holds them all.
    if (ok && fs.Exists(util_.JournalPath()))
        fs.Remove(util_.JournalPath());
    lastWriteOk_.store(ok);
    return ok;
}

} // namespace ostravion
