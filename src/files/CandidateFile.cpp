#include "files/CandidateFile.h"

#include "util/Text.h"

#include <algorithm>
#include <unordered_map>

namespace ostravion {

void candfile::AppendField(std::string& out, std::string_view value) {
    std::string field = text::DashIfEmpty(text::BlankControls(value));
    // A lead byte without its trail byte at the end would take the TAB after
    // it for its trail byte, and the line would lose a field.
    std::size_t last = 0;
    for (std::size_t i = 0; i < field.size(); i += text::CharLength(field, i))
        last = i;
    if (last + 1 == field.size() && text::IsLeadByte(static_cast<unsigned char>(field[last])))
        field.back() = '?';
    out += field;
    out += '\t';
}

namespace {

void AppendLine(std::string& out, const Candidate& c, bool withPcs) {
    for (const std::string& column : c.columns)
        candfile::AppendField(out, column);
    candfile::AppendField(out, c.folder);
    if (withPcs)
        candfile::AppendField(out, std::to_string(c.pcs));
    out += "\r\n";
}

// A size as the scan writes it: "%d", so a file past 2 GiB reads negative.
bool IsSizeText(std::string_view s) {
    if (!s.empty() && s.front() == '-')
        s.remove_prefix(1);
    return !s.empty() && s.size() <= 11 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsCount(std::string_view s) {
    return !s.empty() && s.size() <= 12 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What tells two candidates apart: the executable name without regard to
// letter case (as the key list matches it), the size and the version.
std::string KeyOf(const Candidate& c) {
    std::string key = text::ToUpper(c.columns[candfile::kExeName]);
    key += '\t';
    key += c.columns[candfile::kFileSize];
    key += '\t';
    key += c.columns[candfile::kVersion];
    return key;
}

} // namespace

std::string CandidatesPath(const std::string& resultPath) {
    const std::size_t dot = resultPath.rfind('.');
    const std::size_t sep = resultPath.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep))
        return resultPath + ".cand";
    return resultPath.substr(0, dot) + ".cand";
}

bool IsCandidate(const FoundProgram& program) {
    return program.Origin == "9";
}

Candidate CandidateOf(const FoundProgram& p) {
    Candidate c;
    for (std::string& column : c.columns)
        column = "-";
    c.columns[candfile::kProgramName] = text::DashIfEmpty(p.ProgramName);
    c.columns[candfile::kVersion] = text::DashIfEmpty(p.Version);
    c.columns[candfile::kExeName] = text::DashIfEmpty(p.FileName);
    c.columns[candfile::kFileSize] = text::DashIfEmpty(p.FileSize);
    c.columns[candfile::kCompany] = text::DashIfEmpty(p.Company);
    c.folder = text::DashIfEmpty(p.Folder);
    return c;
}

std::string PcCandidatesText(const std::vector<const FoundProgram*>& rows) {
    std::string out;
    for (const FoundProgram* p : rows)
        if (p && IsCandidate(*p))
            AppendLine(out, CandidateOf(*p), false);
    return out;
}

std::string TotalCandidatesText(const std::vector<Candidate>& candidates) {
    std::string out;
    for (const Candidate& c : candidates)
        AppendLine(out, c, true);
    return out;
}

std::vector<Candidate> ReadCandidates(std::string_view bytes, long long* badLines) {
    std::vector<Candidate> out;
    long long bad = 0;
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(bytes, "\r\n", lines);
    for (const std::string_view line : lines) {
        text::SplitTextViews(line, "\t", fields);
        if (fields.size() <= candfile::kFolder || fields[candfile::kExeName] == "-" ||
            !IsSizeText(fields[candfile::kFileSize])) {
            ++bad;
            continue;
        }
        Candidate c;
        for (std::size_t i = 0; i < c.columns.size(); ++i)
            c.columns[i] = fields[i];
        c.folder = fields[candfile::kFolder];
        if (fields.size() > candfile::kPcs && IsCount(fields[candfile::kPcs]))
            c.pcs = std::max(1LL, std::stoll(std::string(fields[candfile::kPcs])));
        out.push_back(std::move(c));
    }
    if (badLines)
        *badLines = bad;
    return out;
}

void CandidateGathering::AddPc(const std::vector<Candidate>& candidates) {
    // Rows already counted for this PC: those from its own earlier lines.
    std::vector<bool> counted(rows_.size(), false);
    for (const Candidate& c : candidates) {
        std::string key = KeyOf(c);
        if (const auto it = index_.find(key); it != index_.end()) {
            if (!counted[it->second]) {
                counted[it->second] = true;
                ++rows_[it->second].pcs;
            }
            continue;
        }
        index_.emplace(std::move(key), rows_.size());
        rows_.push_back(c);
        rows_.back().pcs = 1;
        counted.push_back(true);
    }
}

std::vector<Candidate> CandidateGathering::Result() const {
    std::vector<Candidate> out = rows_;
    std::stable_sort(out.begin(), out.end(),
                     [](const Candidate& a, const Candidate& b) { return a.pcs > b.pcs; });
    return out;
}

} // namespace ostravion
