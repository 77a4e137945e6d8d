// Every writer of the audit's files on real files, under faults: a write that
// fails part way (a file-size limit), a read-only work folder, a work folder
// that vanishes in the middle of the flow, and the process killed in the
// middle of writing. Afterwards each file is the one that was there before or
// the whole new one; a failure is reported with the system's message.
#include "doc/AuditLists.h"
#include "doc/ConsolidateRun.h"
#include "doc/OstravionDoc.h"
#include "doc/ResultWriting.h"
#include "files/PcResultFile.h"
#include "files/PerPcReader.h"
#include "files/TotalFile.h"
#include "platform/posix/PosixPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Every rename of this program comes here: armed with a path, the first
// rename of a ".new" file finds a link to that path in its place, as if one
// had been swapped in after the new file was synced.
static const char* gSwapInLinkTo = nullptr;

extern "C" int rename(const char* from, const char* to) noexcept {
    if (gSwapInLinkTo && std::string_view(from).ends_with(".new")) {
        ::unlink(from);
        if (::symlink(gSwapInLinkTo, from) != 0)
            std::_Exit(97);
        gSwapInLinkTo = nullptr;
    }
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace ostravion {
namespace {

namespace stdfs = std::filesystem;

constexpr const char* kWriteError = "Write File Open Error...!!";

// Messages go down a pipe, so that the parent learns what a child showed.
class PipeMessages final : public MessagePort {
public:
    PipeMessages(int fd, bool answer) : fd_(fd), answer_(answer) {}
    void Show(const std::string& text) override { Put(text); }
    bool Ask(const std::string& question) override {
        Put("? " + question);
        return answer_;
    }

private:
    void Put(const std::string& text) {
        const std::string line = text + "\n";
        if (::write(fd_, line.data(), line.size()) < 0)
            std::_Exit(98);
    }
    int fd_;
    bool answer_;
};

// The real file system with faults put in: the process kills itself once a
// number of bytes has been written (part of the write that crosses the mark
// reaches the file first), or just before a rename; a chosen rename fails;
// and one-shot hooks that run before the first open for writing or the first
// rename. A rename is either kind of move, with or without a backup.
class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}
    long long killAfter = -1; // never
    bool killAtRename = false;
    int failRename = 0; // the rename that fails, counted from 1; 0 none
    std::function<void()> beforeOpenWrite;
    std::function<void()> beforeRename;
    long long written = 0;
    std::vector<std::string> renamed; // the targets, in order

    PathRules Rules() const override { return inner_.Rules(); }
    bool ReadWhole(const std::string& p, std::string& b) const override {
        return inner_.ReadWhole(p, b);
    }
    std::unique_ptr<InFile> OpenRead(const std::string& p) const override {
        return inner_.OpenRead(p);
    }
    bool Exists(const std::string& p) const override { return inner_.Exists(p); }
    std::unique_ptr<OutFile> OpenWrite(const std::string& path, bool append) override {
        RunOnce(beforeOpenWrite);
        auto file = inner_.OpenWrite(path, append);
        if (!file)
            return nullptr;
        return std::make_unique<Out>(*this, std::move(file));
    }
    bool Remove(const std::string& p) override { return inner_.Remove(p); }
    bool Rename(const std::string& from, const std::string& to) override {
        return Move(to) && inner_.Rename(from, to);
    }
    bool ReplaceKeepingBackup(const std::string& from, const std::string& to,
                              const std::string& backup) override {
        return Move(to) && inner_.ReplaceKeepingBackup(from, to, backup);
    }
    bool PutBack(const std::string& backup, const std::string& to) override {
        return inner_.PutBack(backup, to);
    }
    bool MakeDirectory(const std::string& p) override { return inner_.MakeDirectory(p); }
    bool IsDirectory(const std::string& p) const override { return inner_.IsDirectory(p); }
    bool IsLink(const std::string& p) const override { return inner_.IsLink(p); }
    bool ListFiles(const std::string& f, std::vector<std::string>& n) const override {
        return inner_.ListFiles(f, n);
    }
    std::string CurrentDirectory() const override { return inner_.CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& p) override {
        return inner_.SetCurrentDirectory(p);
    }

private:
    // False when this rename is the one to fail.
    bool Move(const std::string& to) {
        if (killAtRename)
            ::kill(::getpid(), SIGKILL);
        RunOnce(beforeRename);
        renamed.push_back(to);
        return static_cast<int>(renamed.size()) != failRename;
    }
    class Out final : public OutFile {
    public:
        Out(FaultyFileSystem& fs, std::unique_ptr<OutFile> inner)
            : fs_(fs), inner_(std::move(inner)) {}
        bool Write(const std::string& bytes) override {
            const long long size = static_cast<long long>(bytes.size());
            if (fs_.killAfter >= 0 && fs_.written + size > fs_.killAfter) {
                inner_->Write(
                    bytes.substr(0, static_cast<std::size_t>(fs_.killAfter - fs_.written)));
                ::kill(::getpid(), SIGKILL);
            }
            fs_.written += size;
            return inner_->Write(bytes);
        }
        bool Close() override { return inner_->Close(); }

    private:
        FaultyFileSystem& fs_;
        std::unique_ptr<OutFile> inner_;
    };
    static void RunOnce(std::function<void()>& hook) {
        if (hook) {
            auto h = std::move(hook);
            hook = nullptr;
            h();
        }
    }
    FileSystem& inner_;
};

// One writer: the files it makes, the input it needs and the flow that runs it
// (0 when it reports success).
struct Writer {
    std::function<void()> prepare; // inputs and the earlier files, in CheckOut
    std::vector<std::string> targets;
    std::function<int(FileSystem&, MessagePort&)> run;
};

FoundProgram Program(int i, const std::string& cls) {
    FoundProgram p;
    p.Origin = cls == "1" ? "2" : "9";
    p.Class = cls;
    p.KeyColumn0 = "k0";
    p.Kind = "APP";
    p.KeyColumn2 = "k2";
    p.ProgramName = "Program " + std::to_string(i);
    p.Version = "1." + std::to_string(i % 7);
    p.KeyColumn7 = "k7";
    p.Company = "Company " + std::to_string(i % 13);
    p.DomesticCode = "1";
    p.Folder = "C:\\Program Files\\P" + std::to_string(i) + "\\";
    p.InstalledCount = std::to_string(1 + i % 4);
    p.GenuineCount = "0";
    p.CopyCount = "0";
    return p;
}

void Put(const std::string& name, const std::string& bytes) {
    std::ofstream out("CheckOut/" + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::optional<std::string> Get(const std::string& name) {
    std::ifstream in("CheckOut/" + name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A total of `rows` rows, every fifth not counted; with `counted` only the
// rows that count, as its written result holds them.
std::string TotalText(int rows, bool counted = false) {
    AdminValues admin;
    admin.pcCount = "3";
    std::string text = AdminPartText(admin);
    for (int i = 0; i < rows; ++i)
        if (!counted || i % 5)
            text += RowLineText(Program(i, i % 3 ? "1" : "3"), i % 5 ? "2" : "9");
    text += "[PC_HISTORY]\r\n";
    for (int i = 0; i < rows; ++i)
        text += "PC" + std::to_string(i % 3) + "\tCompany\tProgram " + std::to_string(i) +
                "\tC:\\\\\tA\t\r\n";
    return text;
}

// The writers of the system, each over files of some tens of kilobytes.
std::map<std::string, Writer> Writers() {
    std::map<std::string, Writer> w;

    w["per-PC result"] = {[] {
                              Put("G_N.ipt", "an earlier scan of the same name\r\n");
                              Put("G_N.tmp", "the journal of this scan\r\n");
                          },
                          {"G_N.ipt", "G_N.tmp"},
                          [](FileSystem& fs, MessagePort& m) {
                              CAuditUtil util(fs, m);
                              AuditLists lists(util);
                              auto& [normal, extended, doc] = lists;
                              util.SetScanBaseName("G_N");
                              util.SetPcFacts({"G", "N", "user", "model", "2024-5-6, 7:8 "});
                              for (int i = 0; i < 300; ++i)
                                  doc.AddFoundProgram(Program(i, i % 4 == 0 ? "3" : "1"));
                              return doc.WriteScanResults() ? 0 : 1;
                          }};

    w["consolidation"] = {
        [] {
            for (int pc = 0; pc < 12; ++pc) {
                std::string text = PcResultHeader({"G", "PC" + std::to_string(pc), "u", "m", "t"});
                for (int i = 0; i < 60; ++i)
                    text += PcResultLine(Program(pc * 7 + i, i % 4 == 0 ? "3" : "1"));
                Put("G_PC" + std::to_string(pc) + ".ipt", text);
            }
            Put("total.tls", "an earlier total of the same name\r\n");
        },
        {"total.tls"},
        [](FileSystem& fs, MessagePort& m) {
            CAuditUtil util(fs, m);
            AuditLists lists(util);
            auto& [normal, extended, doc] = lists;
            std::vector<std::string> files;
            for (int pc = 0; pc < 12; ++pc)
                files.push_back("G_PC" + std::to_string(pc) + ".ipt");
            util.SetSelectedFiles(files);
            const ConsolidateOutcome o = RunConsolidateCommand(doc, "total");
            return o.name == NameCheck::Accepted && o.summary.totalWritten ? 0 : 1;
        }};

    const auto loadAndSave = [](FileSystem& fs, MessagePort& m, bool underNewName) {
        CAuditUtil util(fs, m);
        AuditLists lists(util);
        auto& [normal, extended, doc] = lists;
        util.SetResultNames("total", CAuditUtil::NameForm::Name);
        util.SetWorkState(kTotalOpened);
        doc.SetLayoutMode(kTotalLayout);
        if (!doc.LoadTotal())
            return 2;
        for (int r = 0; r < normal.RowCount(); r += 2)
            normal.SetCheck(r, true);
        if (underNewName) {
            util.SetWorkState(kSavedAs);
            util.SetPreviousTotalPath(util.ResultPath(".tls"));
            util.SetResultNames(".\\CheckOut\\copy.tls", CAuditUtil::NameForm::Path);
        } else {
            util.SetWorkState(kEdited);
        }
        return doc.SaveTotal() ? 0 : 1;
    };
    w["save"] = {
        [] {
            Put("total.tls", TotalText(250));
            Put("total.rst", "an earlier written result\r\n");
        },
        {"total.tls", "total.rst"},
        [loadAndSave](FileSystem& fs, MessagePort& m) { return loadAndSave(fs, m, false); }};
    w["save under a new name"] = {
        [] {
            Put("total.tls", TotalText(250));
            Put("copy.tls", "the file chosen in the dialog\r\n");
        },
        {"total.tls", "copy.tls", "copy.rst"},
        [loadAndSave](FileSystem& fs, MessagePort& m) { return loadAndSave(fs, m, true); }};

    w["result writing"] = {[] {
                               Put("total.tls", TotalText(250));
                               Put("total.rst", TotalText(250, true));
                           },
                           {"total.tls", "total.rst"},
                           [](FileSystem& fs, MessagePort& m) {
                               CAuditUtil util(fs, m);
                               util.SetResultNames("total", CAuditUtil::NameForm::Name);
                               CResultWriting model(util);
                               if (!model.Open())
                                   return 2;
                               model.SetField(ResultField::CheckDepartment, "dept");
                               model.SetField(ResultField::Checker, "checker");
                               model.SetField(ResultField::ConfirmDepartment, "confirming dept");
                               model.SetField(ResultField::Confirmer, "confirmer");
                               return model.Save(nullptr) ? 0 : 1;
                           }};
    return w;
}

using Files = std::map<std::string, std::optional<std::string>>;

// What a child did: its exit code or the signal that ended it, and the
// messages it showed.
struct ChildEnd {
    int code = -1;
    int signal = 0;
    std::vector<std::string> messages;
    bool Shown(const std::string& text) const {
        return std::find(messages.begin(), messages.end(), text) != messages.end();
    }
};

class WriteFaults : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = stdfs::current_path();
        char pattern[] = "/tmp/ostravion-faults-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // Others may enter: a child that gives up root still reads the inputs.
        stdfs::permissions(dir_, stdfs::perms::owner_all | stdfs::perms::group_read |
                                     stdfs::perms::group_exec | stdfs::perms::others_read |
                                     stdfs::perms::others_exec);
        stdfs::current_path(dir_);
    }
    void TearDown() override {
        stdfs::current_path(old_);
        if (stdfs::exists(dir_ / "CheckOut"))
            stdfs::permissions(dir_ / "CheckOut", stdfs::perms::owner_all,
                               stdfs::perm_options::add);
        std::error_code ignored;
        stdfs::remove_all(dir_, ignored);
    }

    // A fresh work folder with the writer's inputs and earlier files.
    Files Reset(const Writer& w) {
        std::error_code ignored;
        stdfs::remove_all("CheckOut", ignored);
        stdfs::create_directory("CheckOut");
        w.prepare();
        return Snapshot(w);
    }
    static Files Snapshot(const Writer& w) {
        Files f;
        for (const std::string& t : w.targets)
            f[t] = Get(t);
        return f;
    }
    static std::vector<std::string> Leftovers() {
        std::vector<std::string> names;
        if (stdfs::exists("CheckOut"))
            for (const auto& e : stdfs::directory_iterator("CheckOut"))
                if (e.path().extension() == ".new" || e.path().extension() == ".old")
                    names.push_back(e.path().filename().string());
        return names;
    }

    // Runs the writer in a child process; `setup` runs in the child first.
    ChildEnd RunChild(const Writer& w, const std::function<void(FaultyFileSystem&)>& setup) {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            posix::IconvCodec codec;
            posix::PosixFileSystem real(codec);
            FaultyFileSystem fs(real);
            PipeMessages messages(fds[1], true);
            setup(fs);
            std::_Exit(w.run(fs, messages));
        }
        ::close(fds[1]);
        std::string all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
            all.append(buf, static_cast<std::size_t>(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ChildEnd end;
        if (WIFEXITED(status))
            end.code = WEXITSTATUS(status);
        if (WIFSIGNALED(status))
            end.signal = WTERMSIG(status);
        std::istringstream lines(all);
        for (std::string line; std::getline(lines, line);)
            end.messages.push_back(line);
        return end;
    }

    // The files the writer makes when nothing goes wrong, and the bytes it writes.
    Files Reference(const Writer& w, long long& bytes) {
        Reset(w);
        posix::IconvCodec codec;
        posix::PosixFileSystem real(codec);
        FaultyFileSystem fs(real);
        PipeMessages messages(::open("/dev/null", O_WRONLY), true);
        EXPECT_EQ(w.run(fs, messages), 0);
        bytes = fs.written;
        EXPECT_TRUE(Leftovers().empty());
        return Snapshot(w);
    }

    stdfs::path old_, dir_;
};

// Each file is the earlier one or the whole new one.
void ExpectOldOrNew(const Files& before, const Files& after, const Files& now,
                    const std::string& what) {
    for (const auto& [name, bytes] : now) {
        const bool old = bytes == before.at(name);
        const bool fresh = bytes == after.at(name);
        EXPECT_TRUE(old || fresh) << what << ": " << name << " is neither the earlier file nor "
                                  << "the new one (" << (bytes ? bytes->size() : 0) << " bytes)";
    }
}

TEST_F(WriteFaults, KilledInTheMiddleOfWritingLeavesOldOrWholeFiles) {
    for (const auto& [name, w] : Writers()) {
        long long total = 0;
        const Files after = Reference(w, total);
        ASSERT_GT(total, 4096) << name;
        const Files before = Reset(w);
        for (const long long at : {0LL, 1LL, total / 5, total / 2, total * 4 / 5, total - 1}) {
            Reset(w);
            const ChildEnd end = RunChild(w, [at](FaultyFileSystem& fs) { fs.killAfter = at; });
            ASSERT_EQ(end.signal, SIGKILL) << name << " at byte " << at;
            ExpectOldOrNew(before, after, Snapshot(w),
                           name + " killed at byte " + std::to_string(at));
        }
        // Killed with every byte written, just before the new files move into place.
        Reset(w);
        const ChildEnd end = RunChild(w, [](FaultyFileSystem& fs) { fs.killAtRename = true; });
        ASSERT_EQ(end.signal, SIGKILL) << name;
        EXPECT_EQ(Snapshot(w), before) << name << " killed before its first rename";
    }
}

TEST_F(WriteFaults, WriteThatFailsPartWayKeepsTheEarlierFiles) {
    for (const auto& [name, w] : Writers()) {
        const Files before = Reset(w);
        const ChildEnd end = RunChild(w, [](FaultyFileSystem&) {
            // The write past the limit fails with EFBIG instead of ending the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(end.code, 1) << name;
        EXPECT_TRUE(end.Shown(kWriteError)) << name;
        EXPECT_EQ(Snapshot(w), before) << name;
        EXPECT_TRUE(Leftovers().empty()) << name;
    }
}

TEST_F(WriteFaults, ReadOnlyWorkFolderKeepsTheEarlierFiles) {
    for (const auto& [name, w] : Writers()) {
        const Files before = Reset(w);
        const auto entries = [] {
            std::vector<std::string> names;
            for (const auto& e : stdfs::directory_iterator("CheckOut"))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            return names;
        };
        const std::vector<std::string> listed = entries();
        ::chmod("CheckOut", 0555);
        const ChildEnd end = RunChild(w, [](FaultyFileSystem&) {
            // Root writes anywhere: the child becomes an ordinary user first.
            if (::geteuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(99);
        });
        ::chmod("CheckOut", 0755);
        ASSERT_NE(end.code, 99) << "cannot give up root for the read-only folder";
        EXPECT_EQ(end.code, 1) << name;
        EXPECT_TRUE(end.Shown(kWriteError)) << name;
        EXPECT_EQ(Snapshot(w), before) << name;
        EXPECT_EQ(entries(), listed) << name;
    }
}

TEST_F(WriteFaults, WorkFolderThatVanishesIsReportedAndNothingIsWrittenElsewhere) {
    const auto gone = [] { stdfs::remove_all("CheckOut"); };
    for (const auto& [name, w] : Writers()) {
        for (const bool atRename : {false, true}) {
            Reset(w);
            const ChildEnd end = RunChild(w, [&](FaultyFileSystem& fs) {
                (atRename ? fs.beforeRename : fs.beforeOpenWrite) = gone;
            });
            const std::string what =
                name + (atRename ? " (before the rename)" : " (before a write)");
            EXPECT_EQ(end.code, 1) << what;
            EXPECT_TRUE(end.Shown(kWriteError)) << what;
            // Nothing made the folder again, and nothing landed beside it.
            EXPECT_FALSE(stdfs::exists("CheckOut")) << what;
            EXPECT_TRUE(stdfs::is_empty(".")) << what;
        }
    }
}

// The total and its written result are replaced total first, by either
// writer; when the second rename fails the total is put back, so the two
// files stay a pair.
TEST_F(WriteFaults, TotalAndWrittenResultAreReplacedTogetherTotalFirst) {
    const std::map<std::string, Writer> writers = Writers();
    for (const std::string name :
         {"save", "result writing", "save of a linked total", "result writing of a linked total"}) {
        const bool linked = name.ends_with("linked total");
        Writer w = writers.at(linked ? name.substr(0, name.find(" of")) : name);
        // The total is a link to a file elsewhere.
        if (linked)
            w.prepare = [prepare = w.prepare, this] {
                prepare();
                stdfs::rename("CheckOut/total.tls", dir_ / "elsewhere.tls");
                stdfs::create_symlink(dir_ / "elsewhere.tls", "CheckOut/total.tls");
            };
        const Files untouched = Reset(w);
        posix::IconvCodec codec;
        posix::PosixFileSystem real(codec);
        FaultyFileSystem fs(real);
        PipeMessages quiet(::open("/dev/null", O_WRONLY), true);
        if (linked) {
            // A total read through a link is refused before anything is
            // written: the link and the file it leads to stay as they were.
            EXPECT_NE(w.run(fs, quiet), 0) << name;
            EXPECT_TRUE(fs.renamed.empty()) << name;
            EXPECT_TRUE(Snapshot(w) == untouched) << name;
            EXPECT_TRUE(stdfs::is_symlink("CheckOut/total.tls")) << name;
            EXPECT_TRUE(Leftovers().empty()) << name;
            continue;
        }
        ASSERT_EQ(w.run(fs, quiet), 0) << name;
        ASSERT_EQ(fs.renamed.size(), 2u) << name;
        EXPECT_TRUE(fs.renamed[0].ends_with("total.tls")) << name << ": " << fs.renamed[0];
        EXPECT_TRUE(fs.renamed[1].ends_with("total.rst")) << name << ": " << fs.renamed[1];

        const Files before = Reset(w);
        const ChildEnd end = RunChild(w, [](FaultyFileSystem& f) { f.failRename = 2; });
        EXPECT_EQ(end.code, 1) << name;
        EXPECT_TRUE(end.Shown(kWriteError)) << name;
        EXPECT_TRUE(Snapshot(w) == before) << name << ": the earlier files are not both back";
        EXPECT_EQ(stdfs::is_symlink("CheckOut/total.tls"), linked) << name;
        EXPECT_TRUE(Leftovers().empty()) << name;
    }
}

// A link swapped in for a new file between its sync and its rename is not
// taken for the file: the write fails with its message, no link is left
// under the name (a file replaced with a backup is back), the journal is
// kept and what the link led to is untouched.
TEST_F(WriteFaults, LinkSwappedInBeforeTheRenameFailsTheWrite) {
    const std::map<std::string, Writer> writers = Writers();
    const stdfs::path outside = dir_ / "auditors-own.txt";
    for (const char* name : {"per-PC result", "consolidation", "result writing"}) {
        const Writer& w = writers.at(name);
        const Files before = Reset(w);
        std::ofstream(outside, std::ios::binary) << "kept";
        const std::string target = outside.string();
        const ChildEnd end =
            RunChild(w, [&target](FaultyFileSystem&) { gSwapInLinkTo = target.c_str(); });
        EXPECT_EQ(end.code, 1) << name;
        EXPECT_TRUE(end.Shown(kWriteError)) << name;
        for (const auto& [file, bytes] : before) {
            EXPECT_FALSE(stdfs::is_symlink("CheckOut/" + file)) << name << ": " << file;
            const std::optional<std::string> now = Get(file);
            EXPECT_TRUE(!now || now == bytes) << name << ": " << file;
        }
        if (std::string(name) == "result writing") {
            EXPECT_TRUE(Snapshot(w) == before) << name << ": the earlier files are not back";
        }
        EXPECT_EQ(Get("G_N.tmp"), before.count("G_N.tmp") ? before.at("G_N.tmp") : std::nullopt)
            << name << ": the journal";
        std::ifstream in(outside, std::ios::binary);
        std::ostringstream kept;
        kept << in.rdbuf();
        EXPECT_EQ(kept.str(), "kept") << name;
    }
}

// The work folder may be shared: links planted under the names of the files
// a writer makes for itself (its new files, the backups, the consolidation's
// scratch file) lead a write nowhere. What they lead to stays as it was (or
// is not made), and the writer's files are plain files with the bytes of a
// run without links.
TEST_F(WriteFaults, PlantedLinksCarryNoWriteOutOfTheWorkFolder) {
    const stdfs::path outside = dir_ / "auditors-own.txt";
    for (const auto& [name, w] : Writers()) {
        long long bytes = 0;
        const Files after = Reference(w, bytes);
        for (const bool dangling : {false, true}) {
            const std::string what = name + (dangling ? " (links to nothing)" : "");
            Reset(w);
            stdfs::remove(outside);
            if (!dangling)
                std::ofstream(outside, std::ios::binary) << "the auditor's own file";
            std::vector<std::string> planted{"total_tm"};
            for (const std::string& t : w.targets)
                for (const char* suffix : {".new", ".old"})
                    planted.push_back(t + suffix);
            for (const std::string& p : planted)
                stdfs::create_symlink(outside, stdfs::path("CheckOut") / p);

            posix::IconvCodec codec;
            posix::PosixFileSystem real(codec);
            PipeMessages quiet(::open("/dev/null", O_WRONLY), true);
            EXPECT_EQ(w.run(real, quiet), 0) << what;
            if (dangling) {
                EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(outside))) << what;
            } else {
                std::ifstream in(outside, std::ios::binary);
                std::ostringstream kept;
                kept << in.rdbuf();
                EXPECT_EQ(kept.str(), "the auditor's own file") << what;
            }
            for (const auto& [target, expected] : after) {
                if (!expected)
                    continue;
                EXPECT_TRUE(stdfs::is_regular_file(stdfs::symlink_status("CheckOut/" + target)))
                    << what << ": " << target;
                EXPECT_TRUE(Get(target) == expected) << what << ": " << target;
            }
            // No new file is left; a link the writer had no use for is left alone.
            for (const auto& e : stdfs::directory_iterator("CheckOut"))
                EXPECT_TRUE(e.path().extension() != ".new" || e.is_symlink())
                    << what << ": " << e.path();
        }
    }
}

// The journal is appended to while the scan runs; killed at any byte, what
// it holds reads back: the header, then whole lines, at most the last one cut.
TEST_F(WriteFaults, JournalReadsBackAfterAKill) {
    constexpr int kPrograms = 120;
    const PcFacts facts{"G", "N", "user", "model", "2024-5-6, 7:8 "};
    const Writer journal{
        [] {},
        {"G_N.tmp"},
        [facts](FileSystem& fs, MessagePort&) {
            StartScanJournal(fs, ".\\CheckOut\\G_N.tmp", facts);
            for (int i = 0; i < kPrograms; ++i)
                if (!AppendScanJournal(fs, ".\\CheckOut\\G_N.tmp", Program(i, "1")))
                    return 1;
            return 0;
        }};
    const long long header = static_cast<long long>(PcResultHeader(facts).size());
    // Where each program's line ends in the journal.
    std::vector<long long> ends;
    long long at = header;
    for (int i = 0; i < kPrograms; ++i)
        ends.push_back(at += static_cast<long long>(PcResultLine(Program(i, "1")).size()));
    for (const long long kill : {0LL, 5LL, header + 3, ends[40] + 7, ends[kPrograms - 1] - 1}) {
        Reset(journal);
        const ChildEnd end =
            RunChild(journal, [kill](FaultyFileSystem& fs) { fs.killAfter = kill; });
        ASSERT_EQ(end.signal, SIGKILL);
        const std::optional<std::string> bytes = Get("G_N.tmp");
        ASSERT_TRUE(bytes.has_value());
        ASSERT_EQ(static_cast<long long>(bytes->size()), kill) << "every byte written is kept";
        if (kill < header)
            continue;
        PerPcScan scan(*bytes);
        EXPECT_EQ(scan.ComputerName(), "N");
        EXPECT_TRUE(scan.HasList());
        const auto whole =
            std::count_if(ends.begin(), ends.end(), [kill](long long e) { return e <= kill; });
        std::vector<std::string_view> fields;
        long long read = 0;
        while (scan.NextLine(fields)) {
            if (read < whole) {
                const FoundProgram p = Program(static_cast<int>(read), "1");
                EXPECT_EQ(fields[perpc::kProgramName], p.ProgramName);
                ASSERT_EQ(fields.size(), 11u);
                EXPECT_EQ(fields[perpc::kFolder], p.Folder);
            }
            ++read;
        }
        // The whole lines, and at most the one the kill cut.
        EXPECT_GE(read, whole) << "killed at " << kill;
        EXPECT_LE(read, whole + 1) << "killed at " << kill;
    }
}

// The journal is made anew where a link stood, and a link (or a second
// name) put in its place during the scan is refused: its lines are lost, the
// file it leads to is not touched.
TEST_F(WriteFaults, JournalIsNeverWrittenThroughALink) {
    stdfs::create_directory("CheckOut");
    const std::string journal = ".\\CheckOut\\G_N.tmp";
    const stdfs::path outside = dir_ / "auditors-own.txt";
    std::ofstream(outside, std::ios::binary) << "kept";
    const auto kept = [&] {
        std::ifstream in(outside, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str() == "kept";
    };
    posix::IconvCodec codec;
    posix::PosixFileSystem fs(codec);
    const PcFacts facts{"G", "N", "user", "model", "t"};

    stdfs::create_symlink(outside, "CheckOut/G_N.tmp");
    ASSERT_TRUE(StartScanJournal(fs, journal, facts));
    ASSERT_TRUE(AppendScanJournal(fs, journal, Program(1, "1")));
    EXPECT_TRUE(kept());
    EXPECT_TRUE(stdfs::is_regular_file(stdfs::symlink_status("CheckOut/G_N.tmp")));
    EXPECT_EQ(Get("G_N.tmp"), PcResultHeader(facts) + PcResultLine(Program(1, "1")));
    EXPECT_FALSE(fs.IsLink(journal));

    for (const bool hard : {false, true}) {
        stdfs::remove("CheckOut/G_N.tmp");
        if (hard)
            stdfs::create_hard_link(outside, "CheckOut/G_N.tmp");
        else
            stdfs::create_symlink(outside, "CheckOut/G_N.tmp");
        EXPECT_FALSE(AppendScanJournal(fs, journal, Program(2, "1"))) << hard;
        EXPECT_TRUE(kept()) << hard;
        EXPECT_EQ(fs.IsLink(journal), !hard);
    }
    // Nor is a pipe waited on.
    stdfs::remove("CheckOut/G_N.tmp");
    ASSERT_EQ(::mkfifo("CheckOut/G_N.tmp", 0600), 0);
    EXPECT_FALSE(AppendScanJournal(fs, journal, Program(3, "1")));
}

} // namespace
} // namespace ostravion
