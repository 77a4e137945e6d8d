#include "doc/TotalSave.h"

#include "doc/SharedWrite.h"
#include "files/ReplaceFiles.h"
#include "files/TotalFile.h"
#include "util/Text.h"

#include <memory>

namespace ostravion {

using totalfile::kResultFileOpenError;
using totalfile::kWriteFileOpenError;

namespace {

// Where the two writers put their bytes, and what they read from. The
// writers make the new files beside the total and written-result files; they
// replace them only once both writers are done.
struct SaveFiles {
    std::string total;
    std::string result;
    std::string_view source; // the previous total, read once before anything is written
    FileReplacement* replacement = nullptr;
};

// Appends the row line of every displayed row with a stored program to the
// total text, and to the result text when the row is ticked.
void RowLines(const SaveList& list, bool normalList, std::string& total, std::string& result) {
    for (int row = 0; row < list.RowCount(); ++row) {
        const FoundProgram* p = list.Program(row);
        if (!p)
            continue;
        const bool ticked = list.Ticked(row);
        const std::string line = RowLineText(*p, SavedFlag(*p, ticked, normalList));
        total += line;
        if (ticked)
            result += line;
    }
}

// The normal list's writer: both files made anew with the administrative
// part of the source, then the normal list's rows.
bool WriteNormalList(CAuditUtil& util, const SaveFiles& files, SaveList& list) {
    util.StepProgress(1);
    std::vector<std::string_view> lines;
    text::SplitTextViews(files.source, "\r\n", lines);
    const AdminValues admin = ReadAdminValues(lines);
    lines = {};
    util.StepProgress(1);
    list.SortByCompany();

    // The total file first: when it cannot be made, the result file is left
    // as it was.
    auto total = files.replacement->Create(files.total);
    auto result = total ? files.replacement->Create(files.result) : nullptr;
    if (!total || !result)
        return false;
    const std::string head = AdminPartText(admin);
    bool ok = total->Write(head) && result->Write(head);
    util.StepProgress(1);
    std::string totalRows, resultRows;
    RowLines(list, true, totalRows, resultRows);
    ok = ok && total->Write(totalRows) && result->Write(resultRows);
    ok = total->Close() && ok;
    ok = result->Close() && ok;
    util.StepProgress(1);
    return ok;
}

// The extended list's writer: its rows appended to both files, then the PC
// history of the source appended to the total file.
bool WriteExtendedList(CAuditUtil& util, const SaveFiles& files, SaveList& list) {
    const std::size_t history = HistoryStart(files.source);
    list.SortByCompany();
    util.StepProgress(1);

    auto result = files.replacement->Append(files.result);
    auto total = result ? files.replacement->Append(files.total) : nullptr;
    if (!result || !total)
        return false;
    std::string totalRows, resultRows;
    RowLines(list, false, totalRows, resultRows);
    bool ok = total->Write(totalRows) && result->Write(resultRows);
    ok = result->Close() && ok;

    totalRows = std::string(totalfile::kHistory) + "\r\n";
    ok = ok && total->Write(totalRows);
    if (history == std::string_view::npos)
        ok = ok && total->Write("-\r\n");
    else
        ok = ok && total->Write(std::string(files.source.substr(history)));
    ok = total->Close() && ok;
    return ok;
}

} // namespace

std::string SavedFlag(const FoundProgram& p, bool ticked, bool normalList) {
    if (!ticked)
        return "9";
    return normalList && p.Class == "1" ? "2" : "0";
}

bool SaveTotal(CAuditUtil& util, SaveList& normal, SaveList& extended) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    const bool savedAs = util.GetWorkState() == kSavedAs;
    SaveFiles files{util.ResultPath(".tls"), util.ResultPath(".rst"), {}};

    // The source is read whole before anything is written, so that a save
    // under a new name onto the very file it came from still finds its
    // administrative values and history. The previous total stays where it
    // is until the new one is whole, so no backup copy is needed.
    // One message tells how the save went.
    // Nobody else writes the two files from here to the end of the save,
    // and what another auditor saved since they were read is not overwritten.
    util.SetChangedElsewhere(false);
    WriteLock lock(fs, files.total);
    if (!TakeLock(util, lock))
        return false;
    if (const std::string changed = ChangedSinceRead(util, {files.total, files.result});
        !changed.empty()) {
        TellChangedElsewhere(util, changed);
        return false;
    }
    std::string source;
    bool ok = fs.ReadWhole(savedAs ? util.PreviousTotalPath() : files.total, source);
    if (!ok) {
        messages.Show(kResultFileOpenError);
        return false;
    } else {
        FileReplacement replacement(fs);
        files.source = source;
        files.replacement = &replacement;
        ok = WriteNormalList(util, files, normal) && WriteExtendedList(util, files, extended);
        // The total first: it is the file the written result is made from.
        ok = ok && replacement.Commit();
    }
    if (ok) {
        RememberFiles(util, {files.total, files.result});
        messages.Inform(totalsave::kSaved);
    } else {
        messages.Show(kWriteFileOpenError);
    }
    return ok;
}

bool LoadTotal(CAuditUtil& util, TotalRowSink& sink) {
    util.StepProgress(2);
    std::string bytes;
    // What was read is remembered, with the written result beside it, so
    // that a save notices when another auditor replaced either meanwhile.
    const CAuditUtil::ReadMark result = MarkOf(util.Files(), util.ResultPath(".rst"));
    if (!ReadRemembered(util, util.ResultPath(".tls"), bytes)) {
        util.Messages().Show(kResultFileOpenError);
        return false;
    }
    util.RememberRead(util.ResultPath(".rst"), result);
    util.StepProgress(2);
    const std::vector<FoundProgram> rows = ReadTotalRows(bytes);
    bytes = {};
    sink.RestartLists();
    for (const FoundProgram& p : rows)
        sink.AddFoundProgram(p);
    util.StepProgress(3);
    const int state = util.GetWorkState();
    if (state == kTotalOpened || state == kConsolidated)
        sink.ShowArrangement();
    return true;
}

} // namespace ostravion
