#include "files/PerPcReader.h"

#include "util/Text.h"

namespace ostravion {

namespace {
constexpr std::string_view kComputerHeader = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
constexpr std::string_view kListHeader = "[\xB8\xAE\xBD\xBA\xC6\xAE]";             // [리스트]
} // namespace

bool ProgramFromListLine(const std::vector<std::string>& f, FoundProgram& p) {
    if (f.size() < 10)
        return false;
    p.Clear();
    p.Origin = f[0];
    p.Class = f[1];
    p.KeyColumn0 = f[2];
    p.Kind = f[3];
    p.KeyColumn2 = f[4];
    p.ProgramName = f[5];
    p.Version = f[6];
    p.KeyColumn7 = f[7];
    p.Company = f[8];
    p.DomesticCode = f[9];
    p.Folder = f.size() > 10 ? f[10] : "-";
    return true;
}

PerPcFile ParsePerPcFile(std::string_view bytes) {
    PerPcFile out;
    std::vector<std::string> lines;
    text::SplitText(bytes, "\r\n", lines);

    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (text::StartsWith(line, kListHeader)) {
            out.hasList = true;
            ++i;
            break;
        }
        if (text::StartsWith(line, kComputerHeader)) {
            // The value line is taken as it is and never read as a header.
            if (i + 1 < lines.size())
                out.computerName = lines[++i];
        }
    }
    if (!out.hasList)
        return out;

    std::vector<std::string> fields;
    FoundProgram p;
    out.programs.reserve(lines.size() - i);
    for (; i < lines.size(); ++i) {
        text::SplitText(lines[i], "\t", fields);
        if (ProgramFromListLine(fields, p))
            out.programs.push_back(std::move(p));
    }
    return out;
}

bool ReadPerPcFile(const FileSystem& fs, const std::string& path, PerPcFile& out) {
    std::string bytes;
    if (!fs.ReadWhole(path, bytes)) {
        out = PerPcFile();
        return false;
    }
    out = ParsePerPcFile(bytes);
    return true;
}

} // namespace ostravion
