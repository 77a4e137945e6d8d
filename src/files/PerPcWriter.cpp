#include "files/PerPcWriter.h"

#include "util/AuditUtil.h"
#include "util/Text.h"

namespace ostravion {

namespace {
// A value as one field or line of the file: "-" when empty, and no TAB, CR or
// LF that would split it.
std::string Field(const std::string& value) {
    return text::DashIfEmpty(text::BlankControls(value));
}

void AddLine(std::string& out, const char* header, const std::string& value) {
    out += header;
    out += "\r\n";
    out += Field(value);
    out += "\r\n";
}

bool WriteAll(std::unique_ptr<OutFile> file, const std::string& bytes, MessagePort& messages) {
    if (!file) {
        messages.Show(msg::kWriteFileOpenError);
        return false;
    }
    const bool written = file->Write(bytes);
    const bool closed = file->Close();
    if (!written || !closed) {
        messages.Show(msg::kWriteFileOpenError);
        return false;
    }
    return true;
}

std::string Lines(const std::vector<const FoundProgram*>& rows) {
    std::string out;
    for (const FoundProgram* p : rows)
        if (p)
            out += PerPcListLine(*p);
    return out;
}
} // namespace

std::string PerPcHeader(const PcFacts& f) {
    std::string out;
    AddLine(out, perpc::kComputerName, f.ComputerName);
    AddLine(out, perpc::kUser, f.User);
    AddLine(out, perpc::kPcModel, f.PcModel);
    AddLine(out, perpc::kScanTime, f.ScanTime);
    AddLine(out, perpc::kGroup, f.Group);
    out += perpc::kList;
    out += "\r\n";
    return out;
}

std::string PerPcListLine(const FoundProgram& p) {
    std::string out;
    for (const std::string* v :
         {&p.Origin, &p.Class, &p.KeyColumn0, &p.Kind, &p.KeyColumn2, &p.ProgramName, &p.Version,
          &p.KeyColumn7, &p.Company, &p.DomesticCode, &p.Folder}) {
        out += Field(*v);
        out += '\t';
    }
    out += "\r\n";
    return out;
}

bool WritePerPcFile(FileSystem& fs, MessagePort& messages, const std::string& path,
                    const PcFacts& facts, const std::vector<const FoundProgram*>& rows) {
    if (fs.Exists(path))
        fs.Remove(path);
    return WriteAll(fs.OpenWrite(path, false), PerPcHeader(facts) + Lines(rows), messages);
}

bool AppendPerPcRows(FileSystem& fs, MessagePort& messages, const std::string& path,
                     const std::vector<const FoundProgram*>& rows) {
    return WriteAll(fs.OpenWrite(path, true), Lines(rows), messages);
}

} // namespace ostravion
