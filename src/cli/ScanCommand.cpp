// scan: a whole inspection of this machine (or of mapped folders) without a
// window: PC facts, journal, walk, per-PC result file. Ctrl+C acts as the
// stop command.
#include "cli/Command.h"
#include "doc/AuditLists.h"
#include "doc/Inspection.h"
#include "doc/SharedWrite.h"
#include "scan/Facts.h"
#include "scan/KeyList.h"
#include "util/Text.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

namespace ostravion::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

// The folder listing of the platform, counting what the walk sees so that
// the progress line can show it.
class WatchedSearch final : public FileSearch {
public:
    explicit WatchedSearch(const FileSearch& inner) : inner_(inner) {}
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        return ListChecked(nativeFolder, out) == ReadFault::None;
    }
    ReadFault ListChecked(const std::string& nativeFolder,
                          std::vector<DirEntry>& out) const override {
        Watch(nativeFolder);
        const ReadFault fault = inner_.ListChecked(nativeFolder, out);
        Count(out);
        return fault;
    }
    ReadFault ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                            std::unique_ptr<HeldFolder>& held) const override {
        Watch(request.native);
        const ReadFault fault = inner_.ListRequested(request, out, held);
        Count(out);
        return fault;
    }
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        return inner_.Identify(nativeFolder, device, inode);
    }
    char NativeSeparator() const override { return inner_.NativeSeparator(); }
    bool ListsConcurrently(const std::string& nativeRoot) const override {
        return inner_.ListsConcurrently(nativeRoot);
    }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override {
        return inner_.FileSize(nativePath, size);
    }
    long long Files() const { return files_.load(); }
    std::string Folder() const {
        std::lock_guard<std::mutex> lock(m_);
        return folder_;
    }

private:
    // The progress line shows a folder being listed; a listing does not wait
    // for another to note its own.
    void Watch(const std::string& nativeFolder) const {
        std::unique_lock<std::mutex> lock(m_, std::try_to_lock);
        if (lock.owns_lock())
            folder_ = nativeFolder;
    }
    void Count(const std::vector<DirEntry>& listed) const {
        long long n = 0;
        for (const DirEntry& e : listed)
            if (!(e.attributes & kAttrDirectory))
                ++n;
        files_.fetch_add(n);
    }

    const FileSearch& inner_;
    mutable std::mutex m_;
    mutable std::string folder_;
    mutable std::atomic<long long> files_{0};
};

// Work on the document runs on the scan thread itself; the end is noted for
// the main thread, which answers the completion question itself.
class CliHost final : public ScanHost {
public:
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_);
        outcome_ = outcome;
    }
    std::optional<ScanOutcome> Outcome() const {
        std::lock_guard<std::mutex> lock(m_);
        return outcome_;
    }

private:
    mutable std::mutex m_;
    std::optional<ScanOutcome> outcome_;
};

std::string Elapsed(std::chrono::steady_clock::duration d) {
    const long long s = std::chrono::duration_cast<std::chrono::seconds>(d).count();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld", s / 60, s % 60);
    return buf;
}

// The columns a text takes on a terminal: a character beyond ASCII (Hangul
// and the like take two) is counted as two, so that the line never wraps.
std::size_t Columns(const std::string& utf8) {
    std::size_t columns = 0;
    for (const char c : utf8) {
        const unsigned char b = static_cast<unsigned char>(c);
        columns += b < 0x80 ? 1 : (b & 0xC0) == 0xC0 ? 2 : 0;
    }
    return columns;
}

// The end of a text that fits `width` columns, "..." in front when cut.
std::string TailFit(const std::string& utf8, std::size_t width) {
    if (Columns(utf8) <= width)
        return utf8;
    std::size_t start = utf8.size();
    std::size_t used = 3;
    while (start > 0) {
        std::size_t lead = start - 1;
        while (lead > 0 && (static_cast<unsigned char>(utf8[lead]) & 0xC0) == 0x80)
            --lead;
        used += Columns(utf8.substr(lead, start - lead));
        if (used > width)
            break;
        start = lead;
    }
    return "..." + utf8.substr(start);
}

// One progress line on the terminal, redrawn in place: it fits the
// terminal's width, and the line before it is blanked first (no terminal
// escapes, which not every console knows; as many blanks as the line's
// columns cover it whether a Korean character takes one cell or two).
class ProgressLine {
public:
    void Draw(const std::string& counts, const std::string& folder) {
        const int width = StderrColumns();
        const std::size_t columns = width > 20 ? static_cast<std::size_t>(width) - 1 : 79;
        std::string line = counts;
        if (Columns(line) + 8 < columns)
            line += "  " + TailFit(folder, columns - Columns(line) - 2);
        std::cerr << Blank() + line << std::flush;
        drawn_ = Columns(line);
    }
    void Clear() {
        if (drawn_ > 0)
            std::cerr << Blank() << std::flush;
        drawn_ = 0;
    }

private:
    std::string Blank() const {
        return drawn_ > 0 ? "\r" + std::string(drawn_, ' ') + "\r" : std::string("\r");
    }

    std::size_t drawn_ = 0;
};

class ScanCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("scan", "이 PC를 점검하고 PC별 결과 파일 "
                                          "CheckOut/GROUP_NAME.ipt 를 씁니다");
        cmd_->add_option("--group", group_, "회사(그룹)명 (필수)");
        cmd_->add_option("--name", name_,
                         "결과 파일 이름, 결과에 쓰는 컴퓨터 이름이기도 합니다 "
                         "(없으면 이 컴퓨터의 이름)");
        cmd_->add_option("--keylist", keylist_, "키 리스트 (없으면 KEYLIST.DAT)")
            ->type_name("FILE");
        cmd_->add_option("--drive", drives_,
                         "이 PC의 디스크 대신 폴더나 디스크를 드라이브 L: 로 검색합니다 (여러 "
                         "번 줄 수 있음). 디스크는 NTFS 볼륨, 파티션 표(MBR, GPT)가 있는 디스크 "
                         "이미지나 장치, VHD, VHDX, VMDK, qcow2, E01 이미지입니다: Windows가 "
                         "든 NTFS 파티션이 L: 이 되고 다른 NTFS 파티션은 다음 문자가 됩니다. "
                         "DISK@N 은 파티션 N 하나만 검색합니다")
            ->type_name("L=DIR|DISK[@N]");
        cmd_->add_option("--recovery-password", recoveryPassword_,
                         "BitLocker로 암호화된 볼륨의 복구 암호 (48자리 숫자)")
            ->type_name("DIGITS");
        cmd_->add_option("--app-paths", appPaths_,
                         "등록된 응용 프로그램, 한 줄에 파일 이름 하나 (UTF-8, 아니면 CP949)")
            ->type_name("FILE");
        cmd_->add_option("--user", user_, "결과에 쓰는 사용자 (없으면 로그온한 사용자)");
        cmd_->add_option("--model", model_, "결과에 쓰는 PC 기종 (없으면 이 PC의 프로세서)");
        cmd_->add_flag("--overwrite", overwrite_, "같은 이름의 결과 파일을 바꿉니다");
        cmd_->add_flag("--allow-empty-keylist", allowEmptyKeyList_,
                       "항목이 하나도 없는 키 리스트(손상된 파일)로도 점검합니다");
    }
    bool Chosen() const override { return cmd_->parsed(); }
    int Run(Context& ctx) override;

private:
    CLI::App* cmd_ = nullptr;
    std::string group_;
    std::optional<std::string> name_;
    std::string keylist_;
    std::vector<std::string> drives_;
    std::string appPaths_;
    std::string recoveryPassword_;
    std::optional<std::string> user_;
    std::optional<std::string> model_;
    bool overwrite_ = false;
    bool allowEmptyKeyList_ = false;
};

int ScanCommand::Run(Context& ctx) {
    NativePlatform& platform = ctx.platform;
    FileSystem& fs = platform.Files();
    SystemInfo& sys = platform.System();
    MessagePort& messages = ctx.messages;

    if (!GivenValuesFit(ctx, {{"--group", &group_},
                              {"--name", name_ ? &*name_ : nullptr},
                              {"--keylist", &keylist_},
                              {"--user", user_ ? &*user_ : nullptr},
                              {"--model", model_ ? &*model_ : nullptr}}))
        return 2;
    const std::string group = ctx.Cp949(group_);
    // The drives first: a Windows disk among them names the computer.
    std::string error;
    if (!platform.ConfigureScan(ScanSetup{drives_, appPaths_, recoveryPassword_}, error)) {
        Say(error);
        return 2;
    }
    for (const std::string& warning : platform.ScanWarnings())
        Say(warning);
    // Another PC's disk names its own PC: a fact its hives do not give is
    // asked for, or written as "-", never taken from this machine.
    const bool diskFacts = sys.FactsFromDisk();
    if (diskFacts && !name_ && sys.ComputerName().empty()) {
        Say("드라이브 C:의 레지스트리에서 컴퓨터 이름을 찾지 못했습니다. --name 으로 컴퓨터 "
            "이름을 지정하십시오.");
        return 2;
    }
    const std::string name = name_ ? ctx.Cp949(*name_) : sys.ComputerName();
    std::string why;
    // The per-PC file is held from the look for an earlier one to the end of
    // the write: a second scan of the same group and name waits a little,
    // then stops with nothing changed.
    std::unique_ptr<WriteLock> lock;
    StartFieldCheck check = CheckStartFields(fs, group, name, &why);
    if (check == StartFieldCheck::Ok || check == StartFieldCheck::FileExists) {
        if (!EnsureWorkFolder(fs, messages))
            return 1;
        lock = std::make_unique<WriteLock>(fs, ScanResultPathFor(group, name));
        CAuditUtil holder(fs, messages);
        if (!TakeLock(holder, *lock))
            return holder.HeldByOther() ? kExitHeldByOther : 1;
        check = CheckStartFields(fs, group, name, &why);
    }
    switch (check) {
    case StartFieldCheck::GroupMissing:
        messages.Show(msg::kGroupRequired);
        return 2;
    case StartFieldCheck::BadName:
        messages.Show(BadNameMessage(why));
        if (!why.empty())
            return 2;
        Say("--group 과 --name 은 CheckOut 안의 파일 이름이 됩니다: \\, /, \"..\", : 나 장치 "
            "이름은 쓸 수 없습니다.");
        return 2;
    case StartFieldCheck::FileExists:
        if (!overwrite_) {
            std::cerr << "ostravion-cli: 같은 이름의 결과 파일이 있어 점검하지 않았습니다: "
                      << ShownPath(ctx, ScanResultPathFor(group, name)) << "\n"
                      << "ostravion-cli: 그 파일은 그대로 있습니다. 새 점검 결과로 바꾸려면 "
                         "--overwrite 를 붙이십시오.\n";
            return 1;
        }
        break;
    case StartFieldCheck::Ok:
        break;
    }

    if (!EnsureWorkFolder(fs, messages))
        return 1;
    // A key list that cannot be loaded ends the command before anything is written.
    const std::string keyListPath = keylist_.empty() ? kKeyListFile : ctx.Cp949(keylist_);
    {
        KeyList check;
        if (!check.Load(fs, messages, keyListPath)) {
            ExplainKeyList(ctx, keyListPath, "--keylist");
            return 1;
        }
        if (check.Size() == 0 && !allowEmptyKeyList_) {
            messages.Show(msg::kKeyListEmpty);
            Say("아무것도 쓰지 않았습니다. 그래도 점검하려면 --allow-empty-keylist 를 "
                "붙이십시오.");
            return 1;
        }
    }

    PcFacts facts = GatherPcFacts(sys, platform.LocalClock(), group, name);
    if (diskFacts && !user_ && facts.User.empty())
        Say("드라이브 C:의 레지스트리에서 사용자를 찾지 못해 \"-\"로 씁니다. --user 로 지정할 "
            "수 있습니다.");
    if (diskFacts && !model_ && facts.PcModel.empty())
        Say("드라이브 C:의 레지스트리에서 프로세서를 찾지 못해 \"-\"로 씁니다. --model 로 지정할 "
            "수 있습니다.");
    if (user_)
        facts.User = ctx.Cp949(*user_);
    if (model_)
        facts.PcModel = ctx.Cp949(*model_);

    CAuditUtil util(fs, messages);
    WatchedSearch search(platform.Search());
    CliHost host;
    ScanRequest request{
        ScanPorts{search, platform.DriveList(), platform.Versions(), platform.Apps()}, &sys,
        platform.Threads(), keyListPath};
    AuditLists lists(util, platform.Dates());
    COstravionDoc& doc = lists.doc;

    gInterrupted = 0;
    auto oldInt = std::signal(SIGINT, OnInterrupt);
    auto oldTerm = std::signal(SIGTERM, OnInterrupt);
    const bool terminal = StderrIsTerminal();
    ProgressLine progress;
    const auto start = std::chrono::steady_clock::now();
    auto lastDraw = start - std::chrono::seconds(1);

    BeginInspection(doc, facts, request, host);
    std::optional<ScanOutcome> outcome;
    bool stopped = false;
    while (true) {
        if (gInterrupted) {
            stopped = true;
            break;
        }
        outcome = host.Outcome();
        if (outcome)
            break;
        const auto now = std::chrono::steady_clock::now();
        if (terminal && now - lastDraw >= std::chrono::milliseconds(200)) {
            lastDraw = now;
            // Native folders are UTF-8 on both systems.
            const std::string folder = search.Folder();
            progress.Draw("파일 " + std::to_string(search.Files()) + "개, 프로그램 " +
                              std::to_string(doc.ProgramsFound()) + "개, " + Elapsed(now - start),
                          folder);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (stopped) {
        // The stop command: what was found so far is written, the journal goes.
        EndInspection(doc);
    }
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    progress.Clear();

    const auto took = std::chrono::steady_clock::now() - start;
    if (!stopped && outcome == ScanOutcome::KeyListFailed) {
        // The key list went away after the check: nothing was found and nothing is written.
        if (!util.JournalPath().empty())
            fs.Remove(util.JournalPath());
        return 1;
    }
    const WalkFaults faults = doc.LastWalkFaults();
    if (!stopped && faults.Any()) {
        // Not "complete": what was left out is counted and named in the log.
        std::cerr << ctx.Utf8(WalkFaultText(faults, std::string())) << "\n"
                  << "ostravion-cli: 읽지 못한 폴더와 파일: "
                  << ShownPath(ctx, FaultLogPath(util.ScanResultPath())) << "\n";
    } else if (!stopped) {
        // The completion question's first line, "검색을 완료하였습니다.": the command
        // line answers the question itself with Yes (close).
        const std::string_view done = msg::kScanComplete;
        std::cerr << ctx.Utf8(std::string(done.substr(0, done.find('\n')))) << "\n";
    } else {
        std::cerr << "점검을 멈추었습니다: 결과 파일에는 그때까지 찾은 것이 있습니다.\n";
    }
    std::cerr << "프로그램 " << lists.normal.RowCount() + lists.extended.RowCount() << "개 (일반 "
              << lists.normal.RowCount() << "개, 확장 " << lists.extended.RowCount() << "개), 파일 "
              << search.Files() << "개, " << Elapsed(took) << "\n";
    if (!doc.LastWriteSucceeded())
        return util.HeldByOther() ? kExitHeldByOther : 1;
    std::cout << ShownPath(ctx, ScanResultPathFor(facts.Group, facts.ComputerName)) << "\n";
    if (stopped)
        return 130;
    return faults.Incomplete() ? 3 : 0;
}

} // namespace

std::unique_ptr<Command> MakeScanCommand() {
    return std::make_unique<ScanCommand>();
}

} // namespace ostravion::cli
