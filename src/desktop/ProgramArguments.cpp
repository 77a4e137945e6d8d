#include "desktop/ProgramArguments.h"

namespace ostravion::desktop {

namespace {

// "알 수 없는 옵션입니다: "
constexpr const char* kUnknownOption =
    "\xBE\xCB \xBC\xF6 \xBE\xF8\xB4\xC2 \xBF\xC9\xBC\xC7\xC0\xD4\xB4\xCF\xB4\xD9: ";
// " 옵션에 값이 없습니다."
constexpr const char* kMissingValue =
    " \xBF\xC9\xBC\xC7\xBF\xA1 \xB0\xAA\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "사용법은 --help로 볼 수 있습니다."
constexpr const char* kSeeHelp = "\xBB\xE7\xBF\xEB\xB9\xFD\xC0\xBA --help\xB7\xCE \xBA\xBC "
                                 "\xBC\xF6 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";
// "검사할 드라이브로 쓸 수 없습니다: --drive "
constexpr const char* kBadDrive =
    "\xB0\xCB\xBB\xE7\xC7\xD2 \xB5\xE5\xB6\xF3\xC0\xCC\xBA\xEA\xB7\xCE \xBE\xB5 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9: --drive ";
// "드라이브는 "문자=폴더" 꼴로, C부터 Z까지의 문자와 있는 폴더를 주십시오."
constexpr const char* kDriveForm =
    "\xB5\xE5\xB6\xF3\xC0\xCC\xBA\xEA\xB4\xC2 \"\xB9\xAE\xC0\xDA=\xC6\xFA\xB4\xF5\" "
    "\xB2\xC3\xB7\xCE, C\xBA\xCE\xC5\xCD Z\xB1\xEE\xC1\xF6\xC0\xC7 \xB9\xAE\xC0\xDA\xBF\xCD "
    "\xC0\xD6\xB4\xC2 \xC6\xFA\xB4\xF5\xB8\xA6 \xC1\xD6\xBD\xCA\xBD\xC3\xBF\xC0.";
// "같은 드라이브 문자가 두 번 주어졌습니다: --drive "
constexpr const char* kDriveTwice =
    "\xB0\xB0\xC0\xBA \xB5\xE5\xB6\xF3\xC0\xCC\xBA\xEA \xB9\xAE\xC0\xDA\xB0\xA1 \xB5\xCE "
    "\xB9\xF8 \xC1\xD6\xBE\xEE\xC1\xB3\xBD\xC0\xB4\xCF\xB4\xD9: --drive ";
// "등록 프로그램 목록 파일을 읽을 수 없습니다: --app-paths "
constexpr const char* kBadAppPaths =
    "\xB5\xEE\xB7\xCF \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5 \xB8\xF1\xB7\xCF \xC6\xC4\xC0\xCF\xC0\xBB "
    "\xC0\xD0\xC0\xBB \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9: --app-paths ";
// "창을 열 화면이 없습니다(DISPLAY도 WAYLAND_DISPLAY도 없습니다).\n
//  화면 없이 점검하려면 명령줄 프로그램 ostravion-cli를 쓰십시오."
constexpr const char* kNoDisplay =
    "\xC3\xA2\xC0\xBB \xBF\xAD \xC8\xAD\xB8\xE9\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9(DISPLAY"
    "\xB5\xB5 WAYLAND_DISPLAY\xB5\xB5 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9).\n\xC8\xAD\xB8\xE9 "
    "\xBE\xF8\xC0\xCC \xC1\xA1\xB0\xCB\xC7\xCF\xB7\xC1\xB8\xE9 \xB8\xED\xB7\xC9\xC1\xD9 "
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5 ostravion-cli\xB8\xA6 \xBE\xB2\xBD\xCA\xBD\xC3\xBF\xC0.";

// "사용법: "
constexpr const char* kUsageHead = "\xBB\xE7\xBF\xEB\xB9\xFD: ";
// The options, after the program's name.
constexpr const char* kUsageForms[] = {
    // "[/Embedding | /Automation] [--drive L=폴더|디스크]... [--app-paths 파일]
    //  [--recovery-password 암호] [총괄파일.tls]"
    "[/Embedding | /Automation] [--drive L=\xC6\xFA\xB4\xF5|\xB5\xF0\xBD\xBA\xC5\xA9]... "
    "[--app-paths \xC6\xC4\xC0\xCF] [--recovery-password \xBE\xCF\xC8\xA3] "
    "[\xC3\xD1\xB0\xFD\xC6\xC4\xC0\xCF.tls]",
    "--help | --version",
};
// "작업 폴더에서 실행합니다. KEYLIST.DAT와 vxa.spl을 그 폴더에서 읽고,\n
//  결과 파일은 그 아래 CheckOut 폴더에 씁니다."
constexpr const char* kUsageAbout =
    "\xC0\xDB\xBE\xF7 \xC6\xFA\xB4\xF5\xBF\xA1\xBC\xAD \xBD\xC7\xC7\xE0\xC7\xD5\xB4\xCF\xB4\xD9. "
    "KEYLIST.DAT\xBF\xCD vxa.spl\xC0\xBB \xB1\xD7 \xC6\xFA\xB4\xF5\xBF\xA1\xBC\xAD "
    "\xC0\xD0\xB0\xED,\n"
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xBA \xB1\xD7 \xBE\xC6\xB7\xA1 CheckOut "
    "\xC6\xFA\xB4\xF5\xBF\xA1 \xBE\xB9\xB4\xCF\xB4\xD9.\n";

// Each option with what it does, in one or two pieces: a terminal shows the
// second under the first, a message box after it.
struct UsageOption {
    const char* option;
    const char* what;
    const char* more;
};
constexpr UsageOption kUsageOptions[] = {
    // "총괄파일.tls": "열기로 고른 것처럼 엽니다."
    {"\xC3\xD1\xB0\xFD\xC6\xC4\xC0\xCF.tls",
     "\xBF\xAD\xB1\xE2\xB7\xCE \xB0\xED\xB8\xA5 \xB0\xCD\xC3\xB3\xB7\xB3 "
     "\xBF\xB1\xB4\xCF\xB4\xD9.",
     nullptr},
    // "시작 화면 없이 시작합니다."
    {"/Embedding, /Automation",
     "\xBD\xC3\xC0\xDB \xC8\xAD\xB8\xE9 \xBE\xF8\xC0\xCC \xBD\xC3\xC0\xDB\xC7\xD5\xB4\xCF\xB4\xD9.",
     nullptr},
    // "--drive L=폴더|디스크": "이 PC의 드라이브 대신 폴더나 디스크(이미지, 장치)를
    // 드라이브 L:로" / "검사합니다(여러 번 줄 수 있습니다). 디스크@번호는 그 파티션만 검사합니다."
    {"--drive L=\xC6\xFA\xB4\xF5|\xB5\xF0\xBD\xBA\xC5\xA9",
     "\xC0\xCC PC\xC0\xC7 \xB5\xE5\xB6\xF3\xC0\xCC\xBA\xEA \xB4\xEB\xBD\xC5 "
     "\xC6\xFA\xB4\xF5\xB3\xAA \xB5\xF0\xBD\xBA\xC5\xA9(\xC0\xCC\xB9\xCC\xC1\xF6, "
     "\xC0\xE5\xC4\xA1)\xB8\xA6 \xB5\xE5\xB6\xF3\xC0\xCC\xBA\xEA L:\xB7\xCE",
     "\xB0\xCB\xBB\xE7\xC7\xD5\xB4\xCF\xB4\xD9(\xBF\xA9\xB7\xAF \xB9\xF8 \xC1\xD9 \xBC\xF6 "
     "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9). \xB5\xF0\xBD\xBA\xC5\xA9@\xB9\xF8\xC8\xA3\xB4\xC2 "
     "\xB1\xD7 \xC6\xC4\xC6\xBC\xBC\xC7\xB8\xB8 \xB0\xCB\xBB\xE7\xC7\xD5\xB4\xCF\xB4\xD9."},
    // "--recovery-password 암호": "BitLocker로 암호화된 디스크의 복구 암호(48자리)입니다."
    {"--recovery-password \xBE\xCF\xC8\xA3",
     "BitLocker\xB7\xCE \xBE\xCF\xC8\xA3\xC8\xAD\xB5\xC8 \xB5\xF0\xBD\xBA\xC5\xA9\xC0\xC7 "
     "\xBA\xB9\xB1\xB8 \xBE\xCF\xC8\xA3(48\xC0\xDA\xB8\xAE)\xC0\xD4\xB4\xCF\xB4\xD9.",
     nullptr},
    // "--app-paths 파일": "레지스트리 대신 파일에 적힌 등록 프로그램을" /
    // "씁니다(한 줄에 파일 이름 하나, UTF-8)."
    {"--app-paths \xC6\xC4\xC0\xCF",
     "\xB7\xB9\xC1\xF6\xBD\xBA\xC6\xAE\xB8\xAE \xB4\xEB\xBD\xC5 \xC6\xC4\xC0\xCF\xBF\xA1 "
     "\xC0\xFB\xC8\xF9 \xB5\xEE\xB7\xCF \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB",
     "\xBE\xB9\xB4\xCF\xB4\xD9(\xC7\xD1 \xC1\xD9\xBF\xA1 \xC6\xC4\xC0\xCF \xC0\xCC\xB8\xA7 "
     "\xC7\xCF\xB3\xAA, UTF-8)."},
    // "이 도움말을 보이고 끝냅니다."
    {"--help",
     "\xC0\xCC \xB5\xB5\xBF\xF2\xB8\xBB\xC0\xBB \xBA\xB8\xC0\xCC\xB0\xED "
     "\xB3\xA1\xB3\xC0\xB4\xCF\xB4\xD9.",
     nullptr},
    // "버전을 보이고 끝냅니다."
    {"--version",
     "\xB9\xF6\xC0\xFC\xC0\xBB \xBA\xB8\xC0\xCC\xB0\xED \xB3\xA1\xB3\xC0\xB4\xCF\xB4\xD9.",
     nullptr},
};
// The column the descriptions start in on a terminal; a CP949 byte is one
// column wide there.
constexpr std::size_t kUsageColumn = 28;

// The options that take a value, as the command line's parser knows them.
constexpr const char* kValueOptions[] = {"--drive", "--app-paths", "--recovery-password"};

ProgramRequest Bad(std::string message) {
    return {ProgramRequest::Kind::Bad, std::move(message)};
}

} // namespace

ProgramRequest CheckProgramArguments(const std::vector<std::string>& arguments,
                                     const TextCodec& codec) {
    for (const std::string& a : arguments) {
        if (a == "--help" || a == "-h" || a == "/?")
            return {ProgramRequest::Kind::Help, {}};
        if (a == "--version")
            return {ProgramRequest::Kind::Version, {}};
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (!a.starts_with("--"))
            continue;
        bool known = false;
        for (const std::string name : kValueOptions) {
            if (a == name) {
                // The next argument is the value, whatever it looks like.
                if (i + 1 == arguments.size())
                    return Bad(codec.FromUtf8(a) + kMissingValue + "\n" + kSeeHelp);
                ++i;
                known = true;
            } else if (a.starts_with(name + "=")) {
                if (a.size() == name.size() + 1)
                    return Bad(codec.FromUtf8(name) + kMissingValue + "\n" + kSeeHelp);
                known = true;
            }
        }
        if (!known)
            return Bad(kUnknownOption + codec.FromUtf8(a) + "\n" + kSeeHelp);
    }
    return {};
}

std::string ProgramUsage(const std::string& programName, UsageLayout layout) {
    const bool terminal = layout == UsageLayout::Terminal;
    std::string usage;
    const std::string indent(std::string(kUsageHead).size(), ' ');
    bool first = true;
    for (const char* form : kUsageForms) {
        usage += (first ? kUsageHead : terminal ? indent : "") + programName + " " + form + "\n";
        first = false;
    }
    usage += std::string("\n") + kUsageAbout + "\n";
    for (const UsageOption& o : kUsageOptions) {
        if (!terminal) {
            usage += std::string(o.option) + ": " + o.what +
                     (o.more ? std::string(" ") + o.more : "") + "\n";
            continue;
        }
        std::string line = "  " + std::string(o.option);
        line += std::string(line.size() < kUsageColumn ? kUsageColumn - line.size() : 1, ' ');
        usage += line + o.what + "\n";
        if (o.more)
            usage += std::string(kUsageColumn, ' ') + o.more + "\n";
    }
    return usage;
}

std::string ApplyScanStandIns(const DesktopCommandLine& commandLine, const TextCodec& codec,
                              const ScanStandInsSetter& apply) {
    if (apply(commandLine.driveMap, {})) {
        if (apply(commandLine.driveMap, commandLine.appPathsFile))
            return {};
        return kBadAppPaths + codec.FromUtf8(commandLine.appPathsFile);
    }
    // The first drive that cannot be used on its own, else the one that
    // repeats a letter given before it.
    for (const std::string& item : commandLine.driveMap)
        if (!apply({item}, {}))
            return kBadDrive + codec.FromUtf8(item) + "\n" + kDriveForm;
    std::vector<std::string> given;
    for (const std::string& item : commandLine.driveMap) {
        given.push_back(item);
        if (!apply(given, {}))
            return kDriveTwice + codec.FromUtf8(item);
    }
    return std::string(kBadDrive) + "\n" + kDriveForm;
}

std::string NoDisplayMessage() {
    return kNoDisplay;
}

} // namespace ostravion::desktop
