#include "util/AuditUtil.h"

namespace ostravion {

CAuditUtil::CAuditUtil(FileSystem& fs, MessagePort& messages, ProgressFactory* progress)
    : fs_(fs), messages_(messages), progressFactory_(progress) {}

CAuditUtil::~CAuditUtil() = default;

void CAuditUtil::SetScanBaseName(const std::string& base) {
    journalPath_ = std::string(kWorkFolder) + base + ".tmp";
    scanResultPath_ = std::string(kWorkFolder) + base + ".ipt";
}

namespace {
// Position of the last folder separator at a character start, or npos.
std::size_t LastSeparator(std::string_view s, const PathRules& rules) {
    std::size_t at = text::FindLastChar(s, '\\');
    if (rules.slashIsSeparator) {
        const std::size_t slash = text::FindLastChar(s, '/');
        if (slash != std::string_view::npos && (at == std::string_view::npos || slash > at))
            at = slash;
    }
    return at;
}
} // namespace

bool IsPlainFileName(std::string_view name) {
    // Byte by byte: no trail byte of a CP949 character is one of these, and a
    // broken double-byte sequence must not hide a separator behind its lead byte.
    using namespace std::string_view_literals;
    for (std::string_view bad : {"\\"sv, "/"sv, ".."sv, ":"sv, "\0"sv})
        if (name.find(bad) != std::string_view::npos)
            return false;
    // The stem before the first dot, as Windows reads device names.
    std::string stem = text::ToUpper(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return false;
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
        stem[3] >= '1' && stem[3] <= '9')
        return false;
    return true;
}

std::string WindowsNameCharacterProblem(std::string_view baseName) {
    for (std::size_t i = 0; i < baseName.size(); i += text::CharLength(baseName, i)) {
        const unsigned char c = static_cast<unsigned char>(baseName[i]);
        if (c < 0x20 || c == 0x7F)
            return msg::kNameControlCharacter;
        if (std::string_view("*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return std::string(msg::kNameBadCharacter) + static_cast<char>(c);
    }
    if (!baseName.empty() && (baseName.back() == '.' || baseName.back() == ' '))
        return msg::kNameTrailingDot;
    return std::string();
}

std::string BadNameMessage(const std::string& why) {
    return why.empty() ? std::string(msg::kBadPathOrParam)
                       : std::string(msg::kBadPathOrParam) + "\n" + why;
}

std::string WindowsNameProblem(const FileSystem& fs, std::string_view baseName) {
    std::string problem = WindowsNameCharacterProblem(baseName);
    if (!problem.empty())
        return problem;
    // Characters, not bytes: a Korean character is one character of a
    // Windows path. The longest name made for a base is a replacement file,
    // whose name carries its writer (".~", computer, process, random part:
    // at most 34 characters) before ".new".
    std::string path = fs.CurrentDirectory();
    path += "\\CheckOut\\";
    path += baseName;
    path += ".tls";
    path.append(34, 'x');
    path += ".new";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i))
        ++characters;
    if (characters > 259)
        return msg::kPathTooLong;
    return std::string();
}

bool CAuditUtil::SetResultNames(const std::string& original, NameForm form) {
    const PathRules rules = fs_.Rules();
    // Where file names differ by letter case a name keeps the case it was
    // typed or chosen in, or the file it names would be missed (or another
    // one replaced); elsewhere the names are lowered as they always were.
    // ".tls" is found in any case either way.
    const auto spelled = [&](std::string_view s) {
        return rules.caseSensitive ? std::string(s) : text::ToLower(s);
    };
    const auto extension = [](const std::string& s) {
        return text::Find(text::ToLower(s), ".tls");
    };
    if (form == NameForm::Path) {
        const std::size_t sep = LastSeparator(original, rules);
        if (sep == std::string::npos) {
            messages_.Show(msg::kBadPath);
            return false;
        }
        resultFolder_ = spelled(std::string_view(original).substr(0, sep + 1));
        const std::string f = spelled(std::string_view(original).substr(sep + 1));
        const std::size_t ext = extension(f);
        if (ext == std::string::npos) {
            messages_.Show(msg::kBadNamed);
            return false;
        }
        totalFileName_ = f;
        baseName_ = f.substr(0, ext);
        resultFileName_ = baseName_ + ".rst";
        return true;
    }
    const std::string t = spelled(original);
    if (!IsPlainFileName(t)) {
        messages_.Show(msg::kBadPathOrParam);
        return false;
    }
    {
        const std::size_t ext = extension(t);
        const std::string problem =
            WindowsNameProblem(fs_, ext == std::string::npos ? t : t.substr(0, ext));
        if (!problem.empty()) {
            messages_.Show(BadNameMessage(problem));
            return false;
        }
    }
    resultFolder_ = kWorkFolder;
    const std::size_t ext = extension(t);
    if (ext != std::string::npos) {
        totalFileName_ = t;
        baseName_ = t.substr(0, ext);
    } else {
        baseName_ = t;
        totalFileName_ = t + ".tls";
    }
    resultFileName_ = baseName_ + ".rst";
    return true;
}

bool CAuditUtil::FollowLowerCaseTotal() {
    if (!fs_.Rules().caseSensitive)
        return false;
    const std::string lowerBase = text::ToLower(baseName_);
    if (lowerBase == baseName_ || fs_.Exists(ResultPath(".tls")) ||
        !fs_.Exists(resultFolder_ + lowerBase + ".tls"))
        return false;
    baseName_ = lowerBase;
    totalFileName_ = text::ToLower(totalFileName_);
    resultFileName_ = baseName_ + ".rst";
    return true;
}

void CAuditUtil::RecordStartDirectory() {
    startDirectory_ = fs_.CurrentDirectory();
    if (startDirectory_.size() > 260)
        startDirectory_.resize(260);
}

void CAuditUtil::RestoreStartDirectory() {
    if (!startDirectory_.empty())
        fs_.SetCurrentDirectory(startDirectory_);
}

void CAuditUtil::ShowProgress(const std::string& text) {
    bar_.reset();
    if (progressFactory_)
        bar_ = progressFactory_->Create(text);
}

void CAuditUtil::StepProgress(int n) {
    if (!bar_)
        return;
    for (int i = 0; i < n; ++i)
        bar_->StepIt();
}

void CAuditUtil::DestroyProgress() {
    bar_.reset();
}

void CAuditUtil::PrepareProgressRange(const std::string& text, long long total) {
    ShowProgress(text);
    if (!bar_)
        return;
    const long long upper = total * 1000;
    bar_->SetRange32(0, static_cast<int>(upper));
    step_ = static_cast<float>(upper);
}

void CAuditUtil::NarrowStep(int x) {
    if (!bar_ || x <= 0)
        return;
    step_ = step_ * (1.0f / static_cast<float>(x));
    bar_->SetStep(static_cast<int>(step_));
}

void CAuditUtil::WidenStep(int x) {
    if (!bar_ || x <= 0)
        return;
    step_ = step_ * static_cast<float>(x);
    bar_->SetStep(static_cast<int>(step_));
}

void CAuditUtil::FillProgress() {
    if (!bar_)
        return;
    int lower = 0, upper = 0;
    bar_->GetRange(lower, upper);
    bar_->SetPos(upper);
}

} // namespace ostravion
