// The stop command at a hundred moments of a scan, chosen at random from a
// fixed seed (OSTRAVION_STOP_SEED gives another): each time the per-PC file
// must be written whole, with the programs found before the stop and none
// after. Half the scans hand their programs over at once, half through a
// queue that this thread pumps, as a window does. The test command also runs
// these under ThreadSanitizer (the suite name is the filter).
#include "Fakes.h"
#include "StopWait.h"
#include "doc/OstravionDoc.h"
#include "files/Container.h"
#include "files/PcResultFile.h"
#include "util/Text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <random>

using namespace ostravion;
using namespace ostravion::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kResult = ".\\CheckOut\\ACME_PC01.ipt";
constexpr const char* kJournal = ".\\CheckOut\\ACME_PC01.tmp";

// Counts the moments of a scan (each folder listed, each program handed
// over) and wakes the test when a chosen one has come. With a hold, the scan
// thread waits at that moment until the stop is requested, so that the stop
// lands exactly there; without, the scan runs on and the stop races it.
class Moments {
public:
    void Tick() {
        std::unique_lock<std::mutex> lock(m_);
        ++count_;
        cv_.notify_all();
        if (count_ == holdAt_ && token_)
            WaitOrStop(cv_, lock, *token_, [] { return false; });
    }
    void SeeToken(const std::stop_token& stop) {
        std::lock_guard<std::mutex> lock(m_);
        if (!token_)
            token_ = stop;
    }
    void End() {
        std::lock_guard<std::mutex> lock(m_);
        ended_ = true;
        cv_.notify_all();
    }
    void Reset(long holdAt) {
        std::lock_guard<std::mutex> lock(m_);
        count_ = 0;
        ended_ = false;
        holdAt_ = holdAt;
        token_.reset();
    }
    // Waits until `moment` has come or the scan has ended; false when neither
    // happened in time.
    bool WaitFor(long moment) {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, 10s, [&] { return count_ >= moment || ended_; });
    }
    long Count() {
        std::lock_guard<std::mutex> lock(m_);
        return count_;
    }
    std::mutex m_;
    std::condition_variable_any cv_;

private:
    long count_ = 0;
    bool ended_ = false;
    long holdAt_ = -1;
    std::optional<std::stop_token> token_; // the scan's, once it has shown it
};

class CountingSearch final : public FileSearch {
public:
    CountingSearch(const FileSearch& inner, Moments& moments) : inner_(inner), moments_(moments) {}
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        moments_.Tick();
        return inner_.List(nativeFolder, out);
    }
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        return inner_.Identify(nativeFolder, device, inode);
    }
    char NativeSeparator() const override { return inner_.NativeSeparator(); }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override {
        return inner_.FileSize(nativePath, size);
    }

private:
    const FileSearch& inner_;
    Moments& moments_;
};

// Runs the work at once (queued false) or queues it for the test's thread
// and waits for it until it has run or the stop is requested.
class StopHost final : public ScanHost {
public:
    StopHost(Moments& moments, bool queued) : moments_(moments), queued_(queued) {}
    void RunOnOwner(std::stop_token stop, const std::function<void()>& work) override {
        moments_.SeeToken(stop);
        moments_.Tick();
        if (!queued_) {
            work();
            return;
        }
        auto item = std::make_shared<Item>();
        item->work = work;
        std::unique_lock<std::mutex> lock(moments_.m_);
        queue_.push_back(item);
        moments_.cv_.notify_all();
        WaitOrStop(moments_.cv_, lock, stop, [&] { return item->done; });
    }
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        {
            std::lock_guard<std::mutex> lock(moments_.m_);
            outcome_ = outcome;
        }
        moments_.End();
    }
    // Runs what is queued until the moment has come or the scan has ended.
    void PumpUntil(long moment) {
        while (true) {
            std::shared_ptr<Item> item;
            {
                std::unique_lock<std::mutex> lock(moments_.m_);
                moments_.cv_.wait_for(lock, 10s, [&] { return !queue_.empty() || outcome_; });
                if (queue_.empty())
                    return;
                item = queue_.front();
                queue_.pop_front();
            }
            if (moments_.Count() >= moment) {
                std::lock_guard<std::mutex> lock(moments_.m_);
                queue_.push_front(item); // comes after the stop
                return;
            }
            item->work();
            std::lock_guard<std::mutex> lock(moments_.m_);
            item->done = true;
            moments_.cv_.notify_all();
        }
    }
    int PumpLeftovers() {
        int n = 0;
        while (true) {
            std::shared_ptr<Item> item;
            {
                std::lock_guard<std::mutex> lock(moments_.m_);
                if (queue_.empty())
                    return n;
                item = queue_.front();
                queue_.pop_front();
            }
            item->work();
            ++n;
        }
    }
    std::optional<ScanOutcome> Outcome() {
        std::lock_guard<std::mutex> lock(moments_.m_);
        return outcome_;
    }

private:
    struct Item {
        std::function<void()> work;
        bool done = false;
    };
    Moments& moments_;
    bool queued_;
    std::deque<std::shared_ptr<Item>> queue_;
    std::optional<ScanOutcome> outcome_;
};

class OrderSink final : public ProgramSink {
public:
    void AddFoundProgram(const FoundProgram& p) override {
        order.push_back(p.Folder + "|" + p.ProgramName);
    }
    std::vector<std::string> order;
};

struct ScanThreadStops : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    FakeFileSearch tree;
    Moments moments;
    CountingSearch search{tree, moments};
    FakeDrives drives;
    FakeVersionStrings versions;
    FakeAppPaths apps;
    ScanRequest request{ScanPorts{search, drives, versions, apps}};

    // Two drives of nested folders; in each folder programs of the key list
    // (some of them again elsewhere: duplicates), a registered program with
    // its version strings, and files that identify nothing.
    void SetUp() override {
        std::string payload = "caption\tx\tx\tx\tx\r\n";
        for (int i = 0; i < 10; ++i)
            payload += "K0\tAPP\tK2\tP" + std::to_string(i) + "\t1.0\tP" + std::to_string(i) +
                       ".EXE\t" + std::to_string(100 + i) + "\tK7\tCo" + std::to_string(i % 3) +
                       "\t\r\n";
        std::string container;
        ASSERT_TRUE(ScrambleText(payload, container));
        fs.files[kKeyListFile] = container;
        apps.names.insert("REG.EXE");

        for (const char letter : {'c', 'd'}) {
            const std::string root = std::string("/") + letter + "/";
            const int r = tree.AddRoot(root, letter == 'c' ? 1 : 2);
            drives.drives.push_back({std::string(1, letter - 32) + ":\\", root, '\\'});
            for (int a = 0; a < 3; ++a) {
                const int top = tree.AddFolder(r, "T" + std::to_string(a));
                for (int b = 0; b < 4; ++b) {
                    const int f = tree.AddFolder(top, "S" + std::to_string(b));
                    const std::string native =
                        root + "T" + std::to_string(a) + "/S" + std::to_string(b) + "/";
                    for (int i = 0; i < 6; ++i) {
                        const int p = (a * 7 + b * 3 + i) % 10;
                        tree.AddFile(f, "P" + std::to_string(p) + ".EXE",
                                     i % 4 == 3 ? 1 : 100 + p); // a wrong size: not identified
                        tree.AddFile(f, "DATA" + std::to_string(i) + ".DAT", 10);
                    }
                    tree.AddFile(f, "REG.EXE", 5);
                    versions.Set(native + "REG.EXE", "CompanyName", "Reg\tCo");
                    versions.Set(native + "REG.EXE", "FileDescription", "Reg");
                    versions.Set(native + "REG.EXE", "ProductVersion", "2.0\r\nbuild 7");
                }
            }
        }
        util.SetScanBaseName("ACME_PC01");
        util.SetPcFacts({"ACME", "PC01", "kim", "model", "2004-3-7, 10:5 "});
    }

    // The programs of a whole scan in the order the walk finds them.
    std::vector<std::string> FullOrder() {
        OrderSink sink;
        CSearchThread thread(util, ScanPorts{tree, drives, versions, apps}, sink);
        EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
        return sink.order;
    }

    // Checks the per-PC file and returns "Folder|ProgramName" of each list line.
    std::vector<std::string> CheckResultFile() {
        std::vector<std::string> out;
        const auto it = fs.files.find(kResult);
        if (it == fs.files.end()) {
            ADD_FAILURE() << "no per-PC file";
            return out;
        }
        const std::string& bytes = it->second;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        const std::vector<std::string> lines = text::SplitText(bytes, "\r\n");
        EXPECT_GE(lines.size(), 11u);
        const std::vector<std::string> header{
            pcfile::kComputerName, "PC01",  pcfile::kActiveUser, "kim",
            pcfile::kPcModel,      "model", pcfile::kScanTime,   "2004-3-7, 10:5 ",
            pcfile::kGroup,        "ACME",  pcfile::kList};
        EXPECT_EQ(std::vector<std::string>(lines.begin(),
                                           lines.begin() + std::min<std::size_t>(lines.size(), 11)),
                  header);
        for (std::size_t i = 11; i < lines.size(); ++i) {
            EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 11) << lines[i];
            const std::vector<std::string> f = text::SplitText(lines[i], "\t");
            EXPECT_EQ(f.size(), 11u) << lines[i];
            if (f.size() == 11)
                out.push_back(f[10] + "|" + f[5]);
        }
        return out;
    }
};

} // namespace

TEST_F(ScanThreadStops, AHundredStopsAtRandomMomentsEachWriteAWholeFile) {
    const std::vector<std::string> full = FullOrder();
    ASSERT_GT(full.size(), 100u);
    fs.files.erase(kJournal); // the walk alone kept one under the journal's own name
    // Every folder is listed once and every program handed over once.
    const long total = static_cast<long>(full.size() + tree.folders.size());

    unsigned seed = 20261208;
    if (const char* s = std::getenv("OSTRAVION_STOP_SEED"))
        seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
    std::mt19937 random(seed);
    // A few moments past the end: the scan has completed when the stop comes.
    std::uniform_int_distribution<long> pick(0, total + total / 20);
    int completed = 0, stopped = 0;
    for (int round = 0; round < 100; ++round) {
        // Round 0 stops after the end, round 1 before the first folder.
        const long moment = round == 0 ? total + 1 : round == 1 ? 0 : pick(random);
        // Queued, held at the moment, or racing the stop.
        const int kind = round % 3;
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) +
                     ", moment " + std::to_string(moment) + ", " +
                     (kind == 0   ? "queued"
                      : kind == 1 ? "held"
                                  : "racing"));
        moments.Reset(kind == 1 ? moment : -1);
        COstravionView normal{util, nullptr};
        CExtendView extended{util, nullptr};
        StopHost host(moments, kind == 0);
        {
            COstravionDoc doc{util, normal, extended};
            doc.StartScan(request, host);
            if (kind == 0)
                host.PumpUntil(moment);
            else
                ASSERT_TRUE(moments.WaitFor(moment)) << "the scan neither went on nor ended";
            doc.StopScan();
            EXPECT_FALSE(doc.ScanRunning());
            const int rows = normal.RowCount() + extended.RowCount();
            // Work still queued comes too late and changes nothing.
            host.PumpLeftovers();
            EXPECT_EQ(normal.RowCount() + extended.RowCount(), rows);

            const std::optional<ScanOutcome> outcome = host.Outcome();
            ASSERT_TRUE(outcome.has_value());
            completed += *outcome == ScanOutcome::Completed;
            stopped += *outcome == ScanOutcome::Stopped;
            EXPECT_FALSE(fs.Exists(util.JournalPath()));
            EXPECT_FALSE(fs.Exists(kJournal));

            // The file holds exactly the first programs the walk found.
            std::vector<std::string> written = CheckResultFile();
            ASSERT_LE(static_cast<std::size_t>(rows), full.size());
            ASSERT_EQ(written.size(), static_cast<std::size_t>(rows));
            if (*outcome == ScanOutcome::Completed) {
                EXPECT_EQ(written.size(), full.size());
            }
            std::vector<std::string> expected(full.begin(), full.begin() + rows);
            std::sort(written.begin(), written.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(written, expected);
        }
        fs.files.erase(kResult);
        if (HasFailure())
            break;
    }
    EXPECT_GT(completed, 0);
    EXPECT_GT(stopped, 30);
}
