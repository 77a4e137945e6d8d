#include "files/PcResultFile.h"

#include "util/Text.h"

namespace ostravion {

namespace {
void AddLine(std::string& out, std::string_view value) {
    out += text::DashIfEmpty(text::BlankControls(value));
    out += "\r\n";
}

// Appends in place: a result file has eleven of these per program, and the
// end of a scan writes tens of thousands of lines while the window waits.
void AddField(std::string& out, std::string_view value) {
    if (value.empty()) {
        out += "-\t";
        return;
    }
    if (value.find_first_of("\t\r\n") == std::string_view::npos)
        out += value;
    else
        out += text::BlankControls(value);
    out += '\t';
}
} // namespace

std::string PcResultHeader(const PcFacts& facts) {
    std::string out;
    AddLine(out, pcfile::kComputerName);
    AddLine(out, facts.ComputerName);
    AddLine(out, pcfile::kActiveUser);
    AddLine(out, facts.User);
    AddLine(out, pcfile::kPcModel);
    AddLine(out, facts.PcModel);
    AddLine(out, pcfile::kScanTime);
    AddLine(out, facts.ScanTime);
    AddLine(out, pcfile::kGroup);
    AddLine(out, facts.Group);
    AddLine(out, pcfile::kList);
    return out;
}

void AppendPcResultLine(std::string& out, const FoundProgram& p) {
    for (const std::string* field :
         {&p.Origin, &p.Class, &p.KeyColumn0, &p.Kind, &p.KeyColumn2, &p.ProgramName, &p.Version,
          &p.KeyColumn7, &p.Company, &p.DomesticCode, &p.Folder})
        AddField(out, *field);
    out += "\r\n";
}

std::string PcResultLine(const FoundProgram& p) {
    std::string out;
    out.reserve(160);
    AppendPcResultLine(out, p);
    return out;
}

bool StartScanJournal(FileSystem& fs, const std::string& path, const PcFacts& facts) {
    if (fs.Exists(path))
        fs.Remove(path);
    auto file = fs.OpenWrite(path, false);
    if (!file)
        return false;
    const bool written = file->Write(PcResultHeader(facts));
    return file->Close() && written;
}

bool AppendScanJournal(FileSystem& fs, const std::string& path, const FoundProgram& program) {
    auto file = fs.OpenWrite(path, true);
    if (!file)
        return false;
    const bool written = file->Write(PcResultLine(program));
    return file->Close() && written;
}

} // namespace ostravion
