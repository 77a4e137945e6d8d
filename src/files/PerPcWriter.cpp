#include "files/PerPcWriter.h"

#include "files/PcResultFile.h"
#include "util/AuditUtil.h"

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

std::string Lines(const std::vector<const FoundProgram*>& rows) {
    std::string out;
    for (const FoundProgram* p : rows)
        if (p)
            out += PcResultLine(*p);
    return out;
}
} // namespace

bool WritePerPcFile(FileSystem& fs, MessagePort& messages, const std::string& path,
                    const PcFacts& facts, const std::vector<const FoundProgram*>& rows) {
    if (fs.Exists(path))
        fs.Remove(path);
    return WriteAll(fs.OpenWrite(path, false), PcResultHeader(facts) + Lines(rows), messages);
}

bool AppendPerPcRows(FileSystem& fs, MessagePort& messages, const std::string& path,
                     const std::vector<const FoundProgram*>& rows) {
    return WriteAll(fs.OpenWrite(path, true), Lines(rows), messages);
}

} // namespace ostravion
