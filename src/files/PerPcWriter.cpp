#include "files/PerPcWriter.h"

#include "files/PcResultFile.h"
#include "util/Messages.h"

namespace ostravion {

namespace {
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

// The rows' lines after `out` (the header, when the file begins here).
std::string Lines(const std::vector<const FoundProgram*>& rows, std::string out = {}) {
    out.reserve(out.size() + rows.size() * 160);
    for (const FoundProgram* p : rows)
        if (p)
            AppendPcResultLine(out, *p);
    return out;
}
} // namespace

bool WritePerPcFile(FileSystem& fs, MessagePort& messages, const std::string& path,
                    const PcFacts& facts, const std::vector<const FoundProgram*>& rows) {
    if (fs.Exists(path))
        fs.Remove(path);
    return WriteAll(fs.OpenWrite(path, false), Lines(rows, PcResultHeader(facts)), messages);
}

bool AppendPerPcRows(FileSystem& fs, MessagePort& messages, const std::string& path,
                     const std::vector<const FoundProgram*>& rows) {
    return WriteAll(fs.OpenWrite(path, true), Lines(rows), messages);
}

} // namespace ostravion
