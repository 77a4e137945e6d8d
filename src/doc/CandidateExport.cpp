#include "doc/CandidateExport.h"

#include "scan/KeyList.h"
#include "util/Messages.h"
#include "util/Text.h"

namespace ostravion {

namespace {

// Blanks (ASCII and full-width) taken off both ends.
std::string Trimmed(std::string_view s) {
    while (!s.empty()) {
        if (s.front() == ' ')
            s.remove_prefix(1);
        else if (text::StartsWith(s, "\xA1\xA1"))
            s.remove_prefix(2);
        else
            break;
    }
    for (;;) {
        std::size_t last = std::string_view::npos;
        for (std::size_t i = 0; i < s.size(); i += text::CharLength(s, i))
            last = i;
        if (last == std::string_view::npos)
            break;
        const std::string_view tail = s.substr(last);
        if (tail != " " && tail != "\xA1\xA1")
            break;
        s.remove_suffix(tail.size());
    }
    return text::DashIfEmpty(s);
}

// Whether the scan would identify the candidate's file through the key list.
bool Identified(const KeyList& keys, const Candidate& c) {
    std::string version;
    const std::string& fileVersion = c.columns[candfile::kVersion];
    const int r = keys.Match(
        text::ToUpper(c.columns[candfile::kExeName]), c.columns[candfile::kFileSize],
        [&fileVersion] { return text::EmptyIfDash(fileVersion); }, version);
    return r > 0;
}

} // namespace

std::string candidates::WrittenLine(std::size_t count, const std::string& path) {
    // "키 리스트 후보 N개를 썼습니다: "
    return "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC8\xC4\xBA\xB8 " + std::to_string(count) +
           "\xB0\xB3\xB8\xA6 \xBD\xE8\xBD\xC0\xB4\xCF\xB4\xD9: " + path;
}

std::string candidates::BadLinesLine(long long count) {
    // "후보 파일에서 읽지 못한 줄 N개는 뺐습니다."
    return "\xC8\xC4\xBA\xB8 \xC6\xC4\xC0\xCF\xBF\xA1\xBC\xAD \xC0\xD0\xC1\xF6 \xB8\xF8\xC7\xD1 "
           "\xC1\xD9 " +
           std::to_string(count) + "\xB0\xB3\xB4\xC2 \xBB\xB0\xBD\xC0\xB4\xCF\xB4\xD9.";
}

std::string CandidatesCaption() {
    // "#후보 구분 분류 프로그램명 버전 실행파일 크기 비고 저작사 국내외 폴더 PC수"
    return "#\xC8\xC4\xBA\xB8\t\xB1\xB8\xBA\xD0\t\xBA\xD0\xB7\xF9\t"
           "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xB8\xED\t\xB9\xF6\xC0\xFC\t"
           "\xBD\xC7\xC7\xE0\xC6\xC4\xC0\xCF\t\xC5\xA9\xB1\xE2\t\xBA\xF1\xB0\xED\t"
           "\xC0\xFA\xC0\xDB\xBB\xE7\t\xB1\xB9\xB3\xBB\xBF\xDC\t\xC6\xFA\xB4\xF5\tPC\xBC\xF6";
}

std::string CandidatesReviewText(const std::vector<Candidate>& candidates, const KeyList* keys,
                                 long long minPcs, std::size_t& written) {
    written = 0;
    std::string out = CandidatesCaption() + "\r\n";
    for (const Candidate& c : candidates) {
        if (c.pcs < minPcs || (keys && Identified(*keys, c)))
            continue;
        for (const std::string& column : c.columns)
            candfile::AppendField(out, Trimmed(column));
        candfile::AppendField(out, Trimmed(c.folder));
        out += std::to_string(c.pcs) + "\r\n";
        ++written;
    }
    return out;
}

CandidateReview ReviewCandidates(const FileSystem& fs, const std::string& candPath,
                                 const std::string& keyListPath, long long minPcs) {
    CandidateReview review;
    std::string bytes;
    if (!fs.ReadWhole(candPath, bytes))
        return review;
    review.read = true;
    const std::vector<Candidate> found = ReadCandidates(bytes, &review.badLines);
    msg::Collected quiet;
    KeyList keys;
    review.keyListRead = keys.Load(fs, quiet, keyListPath);
    review.text =
        CandidatesReviewText(found, review.keyListRead ? &keys : nullptr, minPcs, review.count);
    return review;
}

} // namespace ostravion
