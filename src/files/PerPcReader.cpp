#include "files/PerPcReader.h"

#include "util/Text.h"

namespace ostravion {

namespace {
constexpr std::string_view kComputerHeader = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
constexpr std::string_view kListHeader = "[\xB8\xAE\xBD\xBA\xC6\xAE]";             // [리스트]
} // namespace

PerPcScan::PerPcScan(std::string_view bytes) {
    text::SplitTextViews(bytes, "\r\n", lines_);
    for (; next_ < lines_.size(); ++next_) {
        const std::string_view line = lines_[next_];
        if (text::StartsWith(line, kListHeader)) {
            hasList_ = true;
            ++next_;
            return;
        }
        // The value line is taken as it is and never read as a header.
        if (text::StartsWith(line, kComputerHeader) && next_ + 1 < lines_.size())
            computerName_ = text::BlankControls(lines_[++next_]);
    }
}

bool PerPcScan::NextLine(std::vector<std::string_view>& fields) {
    if (!hasList_)
        return false;
    while (next_ < lines_.size()) {
        std::string_view line = lines_[next_++];
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            // No CP949 trail byte is a CR or an LF.
            std::string& mended = mended_.emplace_back(line);
            for (char& c : mended)
                if (c == '\r' || c == '\n')
                    c = ' ';
            line = mended;
        }
        text::SplitTextViews(line, "\t", fields);
        if (fields.size() >= perpc::kMinFields)
            return true;
    }
    return false;
}

FoundProgram ProgramFromListLine(const std::vector<std::string_view>& f) {
    using namespace perpc;
    FoundProgram p;
    p.Origin = f[kOrigin];
    p.Class = f[kClass];
    p.KeyColumn0 = f[kKeyColumn0];
    p.Kind = f[kKind];
    p.KeyColumn2 = f[kKeyColumn2];
    p.ProgramName = f[kProgramName];
    p.Version = f[kVersion];
    p.KeyColumn7 = f[kKeyColumn7];
    p.Company = f[kCompany];
    p.DomesticCode = f[kDomesticCode];
    p.Folder = FolderField(f);
    return p;
}

PerPcFile ParsePerPcFile(std::string_view bytes) {
    PerPcScan scan(bytes);
    PerPcFile out;
    out.computerName = scan.ComputerName();
    out.hasList = scan.HasList();
    std::vector<std::string_view> fields;
    while (scan.NextLine(fields))
        out.programs.push_back(ProgramFromListLine(fields));
    return out;
}

bool ReadPerPcFile(const FileSystem& fs, const std::string& path, PerPcFile& out) {
    std::string bytes;
    const bool opened = fs.ReadWhole(path, bytes);
    out = opened ? ParsePerPcFile(bytes) : PerPcFile();
    return opened;
}

} // namespace ostravion
