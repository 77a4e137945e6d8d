#include "doc/Consolidation.h"

#include "doc/Inspection.h"

#include "files/PerPcReader.h"
#include "files/ReplaceFiles.h"
#include "files/TotalFile.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdint>
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

// Writes the total file: administrative part, rows, then the history copied
// from the scratch file. The file is made under a new name beside the total
// and moved into place only when whole, so that a total of the same name is
// never left half overwritten. True when the file was written whole.
bool WriteTotal(CAuditUtil& util, ProgramTable& table, long long pcCount,
                const std::string& scratchPath) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    util.SetResultNames(util.ResultPath(".tls"), CAuditUtil::NameForm::Path);
    const std::string totalPath = util.ResultPath(".tls");

    auto out = fs.OpenWrite(ReplacementPath(totalPath), false);
    if (!out) {
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
    bool written = out->Write(head);

    // A scratch file that cannot be opened leaves a total with its rows and
    // an empty history; one that fails part way, or a total that lost bytes,
    // never replaces the earlier total.
    auto in = fs.OpenRead(scratchPath);
    const bool opened = static_cast<bool>(in);
    bool readOk = opened;
    std::string block;
    while (in && written && (readOk = in->Read(block, kCopyBlock)) && !block.empty())
        written = out->Write(block);
    in.reset();
    fs.Remove(scratchPath);
    written = out->Close() && written;
    out.reset();
    const bool whole = written && (readOk || !opened);
    if (!whole || !CommitReplacements(fs, {totalPath})) {
        DiscardReplacements(fs, {totalPath});
        written = false;
    }
    if (!readOk) {
        messages.Show(consolidation::kFileOpenError);
        return false;
    }
    if (!written) {
        messages.Show(totalfile::kWriteFileOpenError);
        return false;
    }
    messages.Inform(consolidation::kConsolidated);
    return true;
}

} // namespace

ConsolidationSummary Consolidate(CAuditUtil& util, TotalRowSink& sink) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    const std::vector<std::string> files = util.SelectedFiles();

    ConsolidationSummary summary;
    summary.pcCount = static_cast<long long>(files.size());
    sink.RestartLists();

    // The scratch file collects the history of this run only: one left by an
    // interrupted run would otherwise end up in the new total.
    const std::string scratchPath = util.ResultPath("_tm");
    fs.Remove(scratchPath);
    std::unique_ptr<OutFile> scratch;
    bool scratchMade = false;

    ProgramTable table;
    // Kept from file to file, so that their memory is reused.
    std::string bytes, block;
    std::vector<std::string_view> fields;
    std::vector<HistoryEntry> history;
    for (const std::string& name : files) {
        // A name is a file of the work folder as it stands: one that holds a
        // separator (a backslash is a plain character of a Linux name) would
        // lead elsewhere once read as a path, so it counts as unreadable.
        if (HoldsSeparator(name) || !fs.ReadWhole(kWorkFolder + name, bytes)) {
            messages.Show(consolidation::kFileOpenError);
            summary.unreadable.push_back(name);
            bytes.clear();
        }
        PerPcScan scan(bytes);
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

        // Made anew for the first file and kept open; after a failed write,
        // the next file's history is appended to what is there.
        if (!scratch) {
            scratch = fs.OpenWrite(scratchPath, scratchMade);
            scratchMade = true;
        }
        if (!scratch || !scratch->Write(block)) {
            messages.Show(totalfile::kWriteFileOpenError);
            scratch.reset();
        }
    }
    if (scratch)
        scratch->Close();
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

    summary.totalWritten = WriteTotal(util, table, summary.pcCount, scratchPath);
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
