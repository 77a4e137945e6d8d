#include "files/TotalFile.h"

#include "util/Text.h"

#include <algorithm>

namespace ostravion {

using namespace totalfile;

namespace {
void AppendField(std::string& out, std::string_view value) {
    if (value.empty())
        out += '-';
    else
        out += value;
    out += '\t';
}

// The common administrative scan: fills `a` (when given) and returns the index
// of the "[리스트]" line that ends it, or lines.size().
std::size_t ScanAdministrativePart(const std::vector<std::string_view>& lines, AdminValues* a) {
    AdminValues ignored;
    AdminValues& out = a ? *a : ignored;
    const std::pair<std::string_view, std::string*> headers[] = {
        {kCheckDepartment, &out.checkDepartment},
        {kChecker, &out.checker},
        {kConfirmDepartment, &out.confirmDepartment},
        {kConfirmer, &out.confirmer},
        {kPcCount, &out.pcCount},
        {kRemark, &out.remark},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (text::StartsWith(lines[i], kList))
            return i;
        for (const auto& [header, value] : headers) {
            if (text::StartsWith(lines[i], header)) {
                // The value line is skipped: whatever it holds, it is a value.
                *value = i + 1 < lines.size() ? lines[i + 1] : std::string_view();
                ++i;
                break;
            }
        }
    }
    return lines.size();
}
} // namespace

AdminValues ReadAdminValues(const std::vector<std::string_view>& lines) {
    AdminValues a;
    ScanAdministrativePart(lines, &a);
    return a;
}

TotalParts FindTotalParts(const std::vector<std::string_view>& lines) {
    TotalParts parts;
    parts.list = ScanAdministrativePart(lines, nullptr);
    parts.history = parts.list;
    if (parts.history < lines.size())
        ++parts.history;
    while (parts.history < lines.size() && lines[parts.history] != kHistory)
        ++parts.history;
    return parts;
}

AdminValues ConsolidatedAdminValues(long long pcCount) {
    return {"-", "-", "-", "-", std::to_string(pcCount), "-"};
}

std::string AdminPartText(const AdminValues& a) {
    std::string out;
    const std::pair<std::string_view, const std::string*> parts[] = {
        {kCheckDepartment, &a.checkDepartment},
        {kChecker, &a.checker},
        {kConfirmDepartment, &a.confirmDepartment},
        {kConfirmer, &a.confirmer},
        {kPcCount, &a.pcCount},
        {kRemark, &a.remark},
    };
    for (const auto& [header, value] : parts) {
        out += header;
        out += "\r\n";
        out += text::DashIfEmpty(*value);
        out += "\r\n";
    }
    out += "\r\n\r\n";
    out += kList;
    out += "\r\n";
    return out;
}

std::string RowLineText(const FoundProgram& p, std::string_view flag) {
    std::string out;
    out.reserve(160);
    AppendField(out, flag);
    for (std::size_t c = 1; c < kRowColumns.size(); ++c)
        AppendField(out, p.*kRowColumns[c]);
    out += "\r\n";
    return out;
}

void AppendHistoryLine(std::string& out, std::string_view computer, std::string_view company,
                       std::string_view program, std::string_view folder,
                       std::string_view classLetter) {
    for (std::string_view v : {computer, company, program, folder, classLetter})
        AppendField(out, v);
    out += "\r\n";
}

std::string HistoryLineText(const PcHistoryLine& h) {
    std::string out;
    AppendHistoryLine(out, h.computer, h.company, h.program, h.folder, h.classLetter);
    return out;
}

std::string_view ClassLetter(std::string_view cls, std::string_view other) {
    if (cls == "1")
        return "A";
    if (cls == "2")
        return "B";
    if (cls == "3")
        return "C";
    return other;
}

std::size_t HistoryStart(std::string_view bytes) {
    std::vector<std::string_view> lines;
    text::SplitTextViews(bytes, "\r\n", lines);
    const TotalParts parts = FindTotalParts(lines);
    if (parts.history == lines.size())
        return std::string_view::npos;
    // The marker line is never empty, so its view lies inside the text.
    const std::string_view marker = lines[parts.history];
    const std::size_t end = static_cast<std::size_t>(marker.data() - bytes.data()) + marker.size();
    if (bytes.substr(end, 2) != "\r\n")
        return std::string_view::npos;
    return end + 2;
}

void AppendUncountedRowLines(std::string_view bytes, std::string& out) {
    std::vector<std::string_view> lines;
    text::SplitTextViews(bytes, "\r\n", lines);
    const TotalParts parts = FindTotalParts(lines);
    for (std::size_t i = parts.list + 1; i < parts.history; ++i) {
        if (lines[i] == "9" || text::StartsWith(lines[i], "9\t")) {
            out += lines[i];
            out += "\r\n";
        }
    }
}

FoundProgram ProgramFromRowLine(const std::vector<std::string_view>& f) {
    FoundProgram p;
    for (std::size_t c = 0; c < kRowColumns.size() && c < f.size(); ++c)
        p.*kRowColumns[c] = f[c];
    return p;
}

std::vector<FoundProgram> ReadTotalRows(std::string_view bytes) {
    std::vector<FoundProgram> rows;
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes, "\r\n", lines);
    const TotalParts parts = FindTotalParts(lines);
    for (std::size_t i = parts.list + 1; i < parts.history; ++i) {
        text::SplitTextViews(lines[i], "\t", fields);
        if (fields.size() >= kRowFields)
            rows.push_back(ProgramFromRowLine(fields));
    }
    return rows;
}

bool ReadResultRows(const FileSystem& fs, MessagePort& messages, const std::string& path,
                    int reportKind, std::vector<ResultRow>& target, AdminValues& admin) {
    std::string bytes;
    if (!fs.ReadWhole(path, bytes)) {
        messages.Show(kResultFileOpenError);
        return false;
    }
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes, "\r\n", lines);
    admin = ReadAdminValues(lines);
    const TotalParts parts = FindTotalParts(lines);

    const bool confirmation = reportKind == 4;
    std::vector<ResultRow> rows;
    for (std::size_t i = parts.list + 1; i < parts.history; ++i) {
        text::SplitTextViews(lines[i], "\t", fields);
        if (fields.size() < kRowFields || (confirmation && fields[0] == "9"))
            continue;
        ResultRow r;
        r.classLetter = ClassLetter(fields[12], "-");
        r.company = fields[10];
        r.installed = text::ZeroIfBlank(fields[6]);
        r.flag = fields[0];
        r.program = fields[4];
        if (confirmation) {
            r.genuine = text::ZeroIfBlank(fields[7]);
            r.copies = text::ZeroIfBlank(fields[8]);
        }
        rows.push_back(std::move(r));
    }
    if (reportKind == 3) {
        // Byte-wise unsigned comparison (std::string compares as unsigned char);
        // a stable sort keeps equal rows in file order.
        std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) {
            if (int c = a.classLetter.compare(b.classLetter))
                return c < 0;
            if (int c = a.company.compare(b.company))
                return c < 0;
            return a.program < b.program;
        });
    }
    target.insert(target.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    return true;
}

void ParsePcHistory(std::string_view bytes, PcHistory& target) {
    const std::size_t start = HistoryStart(bytes);
    if (start == std::string_view::npos)
        return;
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes.substr(start), "\r\n", lines);
    int run = 0;
    std::string_view previous;
    for (std::string_view line : lines) {
        text::SplitTextViews(line, "\t", fields);
        if (fields.size() < kHistoryFields)
            continue;
        if (run > 0 && fields[0] != previous) {
            target.perPcCounts.push_back(run);
            run = 0;
        }
        previous = fields[0];
        ++run;
        target.lines.push_back({std::string(fields[0]), std::string(fields[1]),
                                std::string(fields[2]), std::string(fields[3]),
                                std::string(fields[4])});
    }
    if (run > 0)
        target.perPcCounts.push_back(run);
}

bool ReadPcHistory(const FileSystem& fs, MessagePort& messages, const std::string& path,
                   PcHistory& target) {
    std::string bytes;
    if (!fs.ReadWhole(path, bytes)) {
        messages.Show(kResultFileOpenError);
        return false;
    }
    ParsePcHistory(bytes, target);
    return true;
}

} // namespace ostravion
