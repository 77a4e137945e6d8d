#include "doc/Consolidation.h"

#include "files/PerPcReader.h"
#include "files/TotalFile.h"
#include "util/Text.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <unordered_map>

namespace ostravion {

namespace {

// Copying the history into the total file goes in pieces of this size, so
// that memory stays the same however many PCs are merged.
constexpr std::size_t kCopyBlock = 1 << 20;

// One row per distinct program, in order of first appearance. The index is
// keyed by the name with its ASCII letters lowered (double-byte characters
// untouched), which finds exactly the row that a case-insensitive comparison
// from the first row would find.
class ProgramTable {
public:
    // Counts one installation of `p`, adding a row for a program not seen yet.
    void Count(FoundProgram& p) {
        auto [it, added] = index_.try_emplace(text::ToLower(p.ProgramName), rows_.size());
        if (added) {
            rows_.push_back(std::move(p));
            counts_.push_back(1);
        } else {
            ++counts_[it->second];
        }
    }
    std::size_t Size() const { return rows_.size(); }
    FoundProgram& Row(std::size_t i) { return rows_[i]; }
    long long CountOf(std::size_t i) const { return counts_[i]; }

private:
    std::vector<FoundProgram> rows_;
    std::vector<long long> counts_;
    std::unordered_map<std::string, std::size_t> index_;
};

// The history block of one PC: its programs ordered by rights holder, name and
// class letter (byte-wise, unsigned), ties in file order.
std::string HistoryBlock(const PerPcFile& pc) {
    const std::size_t n = pc.programs.size();
    std::vector<std::string> letters(n);
    for (std::size_t i = 0; i < n; ++i)
        letters[i] = ClassLetter(pc.programs[i].Class, "D");
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const FoundProgram& x = pc.programs[a];
        const FoundProgram& y = pc.programs[b];
        if (int c = x.Company.compare(y.Company))
            return c < 0;
        if (int c = x.ProgramName.compare(y.ProgramName))
            return c < 0;
        return letters[a] < letters[b];
    });
    std::string block;
    PcHistoryLine line;
    line.computer = pc.computerName;
    for (std::size_t i : order) {
        const FoundProgram& p = pc.programs[i];
        line.company = p.Company;
        line.program = p.ProgramName;
        line.folder = p.Folder;
        line.classLetter = letters[i];
        block += HistoryLineText(line);
    }
    return block;
}

// Writes the total file: administrative part, rows, then the history copied
// from the scratch file. True when the file was written whole.
bool WriteTotal(CAuditUtil& util, ProgramTable& table, long long pcCount,
                const std::string& scratchPath) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    util.SetResultNames(util.ResultPath(".tls"), CAuditUtil::NameForm::Path);
    const std::string totalPath = util.ResultPath(".tls");

    auto out = fs.OpenWrite(totalPath, false);
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

    auto in = fs.OpenRead(scratchPath);
    if (!in) {
        messages.Show(consolidation::kFileOpenError);
        out->Close();
        return false;
    }
    std::string block;
    bool readOk = true;
    while (written && (readOk = in->Read(block, kCopyBlock)) && !block.empty())
        written = out->Write(block);
    in.reset();
    fs.Remove(scratchPath);
    written = out->Close() && written;
    if (!readOk) {
        messages.Show(consolidation::kFileOpenError);
        return false;
    }
    if (!written) {
        messages.Show(totalfile::kWriteFileOpenError);
        return false;
    }
    messages.Show(consolidation::kConsolidated);
    return true;
}

} // namespace

ConsolidationSummary Consolidate(CAuditUtil& util, ConsolidationSink& sink) {
    FileSystem& fs = util.Files();
    MessagePort& messages = util.Messages();
    const std::vector<std::string> files = util.SelectedFiles();

    ConsolidationSummary summary;
    summary.pcCount = static_cast<long long>(files.size());

    // The scratch file collects the history of this run only: one left by an
    // interrupted run would otherwise end up in the new total.
    const std::string scratchPath = util.ResultPath("_tm");
    fs.Remove(scratchPath);
    std::unique_ptr<OutFile> scratch;

    ProgramTable table;
    PerPcFile pc;
    for (const std::string& name : files) {
        if (!ReadPerPcFile(fs, kWorkFolder + name, pc)) {
            messages.Show(consolidation::kFileOpenError);
            summary.unreadable.push_back(name);
        }
        summary.computerNames.push_back(pc.computerName);

        const std::string block = HistoryBlock(pc);
        summary.historyLines += static_cast<long long>(pc.programs.size());
        for (FoundProgram& p : pc.programs) {
            if (p.Class == "4")
                continue;
            ++summary.installations;
            table.Count(p);
        }

        if (!scratch)
            scratch = fs.OpenWrite(scratchPath, true);
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
    if (util.FileExists(probe.ResultPath(".tls")) &&
        !util.Messages().Ask(consolidation::kOverwriteQuestion))
        return NameCheck::KeptExisting;
    util.SetResultNames(typedName, CAuditUtil::NameForm::Name);
    return NameCheck::Accepted;
}

} // namespace ostravion
