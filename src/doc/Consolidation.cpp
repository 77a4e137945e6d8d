#include "doc/Consolidation.h"

#include "doc/CandidateExport.h"
#include "doc/Inspection.h"
#include "doc/SharedWrite.h"

#include "files/CandidateFile.h"
#include "files/PerPcReader.h"
#include "files/ReplaceFiles.h"
#include "files/TotalFile.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <unordered_map>

namespace ostravion {

namespace {

// Copying the history into the total file goes in pieces of this size, so
// that memory stays the same however many PCs are merged.
constexpr std::size_t kCopyBlock = 1 << 20;

// Hash and equality of program names without regard to letter case: ASCII
// letters outside double-byte characters fold, as text::CompareNoCase folds
// them, so the index finds exactly the row that a case-insensitive comparison
// from the first row would find.
struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const {
        std::uint64_t h = 14695981039346656037ull;
        for (std::size_t i = 0; i < s.size();) {
            const std::size_t n = text::CharLength(s, i);
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (n == 1 && c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c - 'A' + 'a');
            h = (h ^ c) * 1099511628211ull;
            if (n == 2)
                h = (h ^ static_cast<unsigned char>(s[i + 1])) * 1099511628211ull;
            i += n;
        }
        return static_cast<std::size_t>(h);
    }
};
struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return text::EqualsNoCase(a, b);
    }
};

// One row per distinct program, in order of first appearance, holding the
// texts of its first occurrence.
class ProgramTable {
public:
    // Counts one installation of the program of a list line.
    void Count(const std::vector<std::string_view>& fields) {
        const std::string_view name = fields[perpc::kProgramName];
        if (const auto it = index_.find(name); it != index_.end()) {
            ++counts_[it->second];
            return;
        }
        index_.emplace(std::string(name), rows_.size());
        rows_.push_back(ProgramFromListLine(fields));
        counts_.push_back(1);
    }
    std::size_t Size() const { return rows_.size(); }
    FoundProgram& Row(std::size_t i) { return rows_[i]; }
    long long CountOf(std::size_t i) const { return counts_[i]; }

private:
    std::vector<FoundProgram> rows_;
    std::vector<long long> counts_;
    std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual> index_;
};

bool HoldsSeparator(std::string_view name) {
    return name.find_first_of("\\/") != std::string_view::npos;
}

// One history line before it is written: views into the per-PC file's text.
struct HistoryEntry {
    std::string_view company, program, folder, letter;
};

// Appends one PC's history to `block`: its programs ordered by rights holder,
// name and class letter (byte-wise, unsigned), ties in file order.
void AppendHistoryBlock(std::string& block, std::string_view computer,
                        std::vector<HistoryEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const HistoryEntry& x, const HistoryEntry& y) {
                         if (int c = x.company.compare(y.company))
                             return c < 0;
                         if (int c = x.program.compare(y.program))
                             return c < 0;
                         return x.letter < y.letter;
                     });
    for (const HistoryEntry& e : entries)
        AppendHistoryLine(block, computer, e.company, e.program, e.folder, e.letter);
}

// The written result of the total at `resultPath` goes aside under a dated
// name beside it (a new consolidation makes it another total's); the name
// it took, or empty when there was none or it could not be moved.
std::string MoveResultAside(CAuditUtil& util, const std::string& resultPath) {
    FileSystem& fs = util.Files();
    if (!fs.Exists(resultPath) && !fs.IsLink(resultPath))
        return std::string();
    const LocalTime t = fs.LockTime();
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    const std::string base = resultPath.substr(0, resultPath.size() - 4) + stamp;
    for (int n = 1; n < 100; ++n) {
        const std::string aside =
            base + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".rst";
        if (fs.RenameNoReplace(resultPath, aside))
            return aside;
        if (!fs.Exists(aside) && !fs.IsLink(aside))
            break; // the result itself cannot be moved
    }
    return std::string();
}

// Writes the total file: administrative part, rows, then the history copied
// from the scratch file. The file is made under a new name beside the total
// and moved into place only when whole, so that a total of the same name is
// never left half overwritten; a history that could not be written or read
// whole leaves the earlier total as it was. A written result of the earlier
// total is moved aside first. True when the file was written whole.
bool WriteTotal(CAuditUtil& util, ProgramTable& table, long long pcCount,
                const std::string& scratchPath, bool historyWhole, const std::string& candidates,
                std::string& aside) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    util.SetResultNames(util.ResultPath(".tls"), CAuditUtil::NameForm::Path);
    const std::string totalPath = util.ResultPath(".tls");
    const std::string resultPath = util.ResultPath(".rst");

    FileReplacement replacement(fs);
    // The candidates of its PCs go beside the total and are replaced with
    // it, first, so that the total's own move is the last.
    bool candWritten = false;
    if (auto cand = replacement.Create(CandidatesPath(totalPath))) {
        candWritten = cand->Write(candidates);
        candWritten = cand->Close() && candWritten;
    }
    auto out = candWritten ? replacement.Create(totalPath) : nullptr;
    if (!out) {
        if (!scratchPath.empty())
            fs.Remove(scratchPath);
        messages.Show(totalfile::kWriteFileOpenError);
        return false;
    }
    std::string head = AdminPartText(ConsolidatedAdminValues(pcCount));
    for (std::size_t i = 0; i < table.Size(); ++i) {
        FoundProgram& row = table.Row(i);
        row.GenuineCount = "0";
        row.CopyCount = "0";
        head += RowLineText(row, row.Origin);
    }
    head += totalfile::kHistory;
    head += "\r\n";
    bool written = out->Write(head) && historyWhole;

    auto in = scratchPath.empty() ? nullptr : fs.OpenRead(scratchPath);
    bool readOk = static_cast<bool>(in);
    std::string block;
    while (in && written && (readOk = in->Read(block, kCopyBlock)) && !block.empty())
        written = out->Write(block);
    in.reset();
    if (!scratchPath.empty())
        fs.Remove(scratchPath);
    written = out->Close() && written;
    out.reset();
    if (!readOk) {
        messages.Show(consolidation::kFileOpenError);
        return false;
    }
    aside.clear();
    if (written) {
        aside = MoveResultAside(util, resultPath);
        written = replacement.Commit();
        if (!written && !aside.empty())
            fs.RenameNoReplace(aside, resultPath);
    }
    if (!written) {
        messages.Show(totalfile::kWriteFileOpenError);
        return false;
    }
    RememberFiles(util, {totalPath, resultPath});
    return true;
}

// The candidates file beside a per-PC file that was read, gathered when it
// is there. A PC without one (written before candidates were kept) adds
// none; one that is there but cannot be read is named.
void GatherCandidates(const FileSystem& fs, const std::string& name, CandidateGathering& candidates,
                      ConsolidationSummary& summary) {
    const std::string path = CandidatesPath(kWorkFolder + name);
    if (!fs.Exists(path) && !fs.IsLink(path))
        return;
    std::string bytes;
    if (!fs.ReadWhole(path, bytes)) {
        summary.candidatesUnread.push_back(name);
        return;
    }
    ++summary.candidatePcs;
    candidates.AddPc(ReadCandidates(bytes));
}

std::string CandidatesUnreadLines(const ConsolidationSummary& summary) {
    std::string lines;
    for (const std::string& name : summary.candidatesUnread)
        lines += "\n" + std::string(candidates::kPcUnread) + CandidatesPath(kWorkFolder + name);
    return lines;
}

// Why the text of a chosen file is no per-PC file to count; null when it is one.
const char* NotPerPcReason(const std::string& bytes, const PerPcScan& scan) {
    if (std::string_view(bytes).substr(0, totalfile::kCheckDepartment.size()) ==
        totalfile::kCheckDepartment)
        return consolidation::kTotalNotPerPc;
    if (!scan.HasList())
        return consolidation::kNoListLine;
    return nullptr;
}

} // namespace

std::string consolidation::PcsReadLine(long long chosen, long long read) {
    // "PC N대 중 M대를 읽었습니다."
    return "PC " + std::to_string(chosen) + "\xB4\xEB \xC1\xDF " + std::to_string(read) +
           "\xB4\xEB\xB8\xA6 \xC0\xD0\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
}

ConsolidationSummary Consolidate(CAuditUtil& util, TotalRowSink& sink) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    const std::vector<std::string> files = util.SelectedFiles();

    ConsolidationSummary summary;
    summary.pcCount = static_cast<long long>(files.size());
    // One writer of the total at a time: another consolidation, save or
    // result writing of the same total waits, or this one stops here with
    // nothing changed.
    WriteLock lock(fs, util.ResultPath(".tls"));
    if (!TakeLock(util, lock))
        return summary;
    sink.RestartLists();

    // The scratch file collects the history of this run only, under a name
    // of this writer's own: a scratch file of another run (running or
    // interrupted) is neither read nor removed.
    std::string scratchPath;
    std::unique_ptr<OutFile> scratch;
    bool scratchMade = false;
    bool historyWhole = true;

    ProgramTable table;
    // Kept from file to file, so that their memory is reused.
    std::string bytes, block;
    std::vector<std::string_view> fields;
    std::vector<HistoryEntry> history;
    CandidateGathering candidates;
    for (const std::string& name : files) {
        // A name is a file of the work folder as it stands: one that holds a
        // separator (a backslash is a plain character of a Linux name) would
        // lead elsewhere once read as a path, so it counts as unreadable.
        const char* reason = nullptr;
        if (HoldsSeparator(name))
            reason = consolidation::kNotWorkFolderName;
        else if (!fs.ReadWhole(kWorkFolder + name, bytes))
            reason = fs.Exists(kWorkFolder + name) ? consolidation::kFileUnreadable
                                                   : consolidation::kFileMissing;
        if (reason)
            bytes.clear();
        PerPcScan scan(bytes);
        // A file that is not a per-PC file (a total, a text in another
        // encoding or with other line ends) would count as a PC without
        // programs, or a total's rows as one PC's: it is not read.
        if (!reason)
            reason = NotPerPcReason(bytes, scan);
        if (reason) {
            messages.Show(std::string(consolidation::kFileOpenError) + "\n" + name + ": " + reason);
            summary.unreadable.push_back(name);
            summary.unreadReasons.emplace_back(reason);
            scan = PerPcScan(std::string_view());
        } else {
            ++summary.pcRead;
            GatherCandidates(fs, name, candidates, summary);
        }
        summary.computerNames.emplace_back(scan.ComputerName());

        history.clear();
        while (scan.NextLine(fields)) {
            const std::string_view cls = fields[perpc::kClass];
            history.push_back({fields[perpc::kCompany], fields[perpc::kProgramName],
                               FolderField(fields), ClassLetter(cls, "D")});
            if (cls == "4")
                continue;
            ++summary.installations;
            table.Count(fields);
        }
        summary.historyLines += static_cast<long long>(history.size());
        block.clear();
        AppendHistoryBlock(block, scan.ComputerName(), history);

        // Made for the first file and kept open; after a failed write, the
        // next file's history is appended to what is there.
        if (!scratch)
            scratch = scratchMade ? fs.OpenWrite(scratchPath, true)
                                  : CreateTemporary(fs, util.ResultPath("_tm"), "", scratchPath);
        scratchMade = scratchMade || !scratchPath.empty();
        if (!scratch || !scratch->Write(block)) {
            messages.Show(totalfile::kWriteFileOpenError);
            scratch.reset();
            historyWhole = false;
        }
    }
    if (scratch && !scratch->Close())
        historyWhole = false;
    scratch.reset();
    summary.programs = table.Size();

    util.StepProgress(3);
    for (std::size_t i = 0; i < table.Size(); ++i) {
        FoundProgram p = table.Row(i);
        p.InstalledCount = std::to_string(table.CountOf(i));
        table.Row(i).InstalledCount = p.InstalledCount;
        sink.AddFoundProgram(p);
    }
    util.StepProgress(2);
    const int state = util.GetWorkState();
    if (state == kTotalOpened || state == kConsolidated)
        sink.ShowArrangement();
    util.StepProgress(2);

    std::string aside;
    const std::vector<Candidate> gathered = candidates.Result();
    summary.candidates = gathered.size();
    summary.totalWritten = WriteTotal(util, table, summary.pcCount, scratchPath, historyWhole,
                                      TotalCandidatesText(gathered), aside);
    if (summary.totalWritten) {
        // The total counts every chosen file as a PC (stored totals and their
        // rates rely on it); the message says how many of them were read, and
        // "success" only when all were.
        const bool whole = summary.pcRead == summary.pcCount;
        const std::string text =
            std::string(whole ? consolidation::kConsolidated
                              : consolidation::kConsolidatedIncomplete) +
            "\n" + consolidation::PcsReadLine(summary.pcCount, summary.pcRead) +
            (aside.empty() ? std::string()
                           : "\n" + std::string(consolidation::kResultMovedAside) + aside) +
            CandidatesUnreadLines(summary);
        // A candidates file that could not be read leaves the total whole,
        // but not the list of programs the key list lacks: a warning.
        if (whole && summary.candidatesUnread.empty())
            messages.Inform(text);
        else
            messages.Show(text);
    }
    util.StepProgress(1);
    return summary;
}

NameCheck AcceptResultName(CAuditUtil& util, const std::string& typedName) {
    // The names are tried on a copy first, so that a refusal or a No leaves
    // the current names (and the total they point at) alone.
    CAuditUtil probe(util.Files(), util.Messages());
    if (!probe.SetResultNames(typedName, CAuditUtil::NameForm::Name))
        return NameCheck::Refused;
    if (util.FileExists(probe.ResultPath(".tls")) && !util.Messages().Ask(msg::kOverwriteQuestion))
        return NameCheck::KeptExisting;
    util.SetResultNames(typedName, CAuditUtil::NameForm::Name);
    return NameCheck::Accepted;
}

} // namespace ostravion
