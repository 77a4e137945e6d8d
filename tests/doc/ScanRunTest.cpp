// A scan on its own thread: completion, stop, and the hand-over of programs
// to the document, with a host that runs the work at once and with one that
// queues it for the owner thread as a window would. The test command also
// runs these under ThreadSanitizer (the suite name is the filter).
#include "Fakes.h"
#include "StopWait.h"
#include "doc/AuditLists.h"
#include "doc/OstravionDoc.h"
#include "files/Container.h"
#include "util/Text.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

using namespace ostravion;
using namespace ostravion::test;
using namespace std::chrono_literals;

namespace {

const std::string kForeign = "\xB1\xB9\xBF\xDC"; // 국외
constexpr const char* kResult = ".\\CheckOut\\ACME_PC01.ipt";
constexpr const char* kJournal = ".\\CheckOut\\ACME_PC01.tmp";

// Runs the work at once; can hold the scan thread after a given program
// until the stop is requested.
class DirectHost final : public ScanHost {
public:
    void RunOnOwner(std::stop_token stop, const std::function<void()>& work) override {
        work();
        std::unique_lock<std::mutex> lock(m_);
        ++runs_;
        cv_.notify_all();
        if (runs_ == holdAfter)
            WaitOrStop(cv_, lock, stop, [] { return false; });
    }
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_);
        outcome_ = outcome;
        cv_.notify_all();
    }
    bool WaitForRuns(int n) {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, 10s, [&] { return runs_ >= n; });
    }
    std::optional<ScanOutcome> WaitForEnd() {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, 10s, [&] { return outcome_.has_value(); });
        return outcome_;
    }
    int holdAfter = -1; // set before the scan starts

private:
    std::mutex m_;
    std::condition_variable_any cv_;
    int runs_ = 0;
    std::optional<ScanOutcome> outcome_;
};

// Queues the work for the owner thread, which pumps it, and waits for it
// until it has run or the stop is requested, as a window's blocking queued
// call does.
class QueuedHost final : public ScanHost {
public:
    void RunOnOwner(std::stop_token stop, const std::function<void()>& work) override {
        auto item = std::make_shared<Item>();
        item->work = work;
        std::unique_lock<std::mutex> lock(m_);
        queue_.push_back(item);
        cv_.notify_all();
        WaitOrStop(cv_, lock, stop, [&] { return item->done; });
    }
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_);
        outcome_ = outcome;
        cv_.notify_all();
    }
    // Runs one queued item on the calling thread; false when none came.
    bool PumpOne() {
        std::shared_ptr<Item> item;
        {
            std::unique_lock<std::mutex> lock(m_);
            if (!cv_.wait_for(lock, 10s, [&] { return !queue_.empty() || outcome_; }))
                return false;
            if (queue_.empty())
                return false;
            item = queue_.front();
            queue_.pop_front();
        }
        item->work();
        std::lock_guard<std::mutex> lock(m_);
        item->done = true;
        cv_.notify_all();
        return true;
    }
    // Runs whatever is queued now, without waiting.
    int PumpLeftovers() {
        int n = 0;
        while (true) {
            std::shared_ptr<Item> item;
            {
                std::lock_guard<std::mutex> lock(m_);
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
        std::lock_guard<std::mutex> lock(m_);
        return outcome_;
    }

private:
    struct Item {
        std::function<void()> work;
        bool done = false;
    };
    std::mutex m_;
    std::condition_variable_any cv_;
    std::deque<std::shared_ptr<Item>> queue_;
    std::optional<ScanOutcome> outcome_;
};

struct ScanThread : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    FakeFileSearch search;
    FakeDrives drives;
    FakeVersionStrings versions;
    FakeAppPaths apps;
    ScanRequest request{ScanPorts{search, drives, versions, apps}};
    // Declared last: its end joins a scan thread that still uses the above.
    AuditLists lists{util};
    COstravionView& normal = lists.normal;
    CExtendView& extended = lists.extended;
    COstravionDoc& doc = lists.doc;

    // A key list of Word (Acme) and twenty programs P00..P19 (Co), and a
    // drive C: holding Word twice and the twenty programs in one folder.
    void SetUp() override {
        std::string payload = "caption\tx\tx\tx\tx\r\n"
                              "K0\tAPP\tK2\tWord\t9.0\tWINWORD.EXE\t1000\tK7\tAcme\t" +
                              kForeign + "\r\n";
        for (int i = 0; i < 20; ++i) {
            const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
            payload += "K0\tAPP\tK2\tP" + n + "\t1.0\tP" + n + ".EXE\t" + std::to_string(100 + i) +
                       "\tK7\tCo\t" + kForeign + "\r\n";
        }
        std::string container;
        ASSERT_TRUE(ScrambleText(payload, container));
        fs.files[kKeyListFile] = container;

        const int c = search.AddRoot("/c/");
        const int a = search.AddFolder(c, "A");
        search.AddFile(a, "WINWORD.EXE", 1000);
        const int b = search.AddFolder(c, "B");
        search.AddFile(b, "WINWORD.EXE", 1000);
        const int p = search.AddFolder(c, "P");
        for (int i = 0; i < 20; ++i)
            search.AddFile(p, "P" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".EXE",
                           100 + i);
        drives.drives.push_back({"C:\\", "/c/", '\\'});

        util.SetScanBaseName("ACME_PC01");
        util.SetPcFacts({"ACME", "PC01", "kim", "model", "2004-3-7, 10:5 "});
        util.SetWorkState(kScanning);
    }

    std::vector<std::string> ResultLines() const {
        const auto it = fs.files.find(kResult);
        return it == fs.files.end() ? std::vector<std::string>{}
                                    : text::SplitText(it->second, "\r\n");
    }
    // Program names of the result file's list lines, in file order.
    std::vector<std::string> ResultNames() const {
        std::vector<std::string> names;
        const auto lines = ResultLines();
        for (std::size_t i = 11; i < lines.size(); ++i)
            names.push_back(text::SplitText(lines[i], "\t")[5]);
        return names;
    }
};

} // namespace

TEST_F(ScanThread, CompletesWritesTheFileAndEndsIdle) {
    DirectHost host;
    doc.StartScan(request, host);
    EXPECT_EQ(host.WaitForEnd(), ScanOutcome::Completed);
    doc.StopScan(); // the answer No: the same file once more

    EXPECT_EQ(doc.ProgramsFound(), 22);
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_FALSE(fs.Exists(kJournal));
    const auto names = ResultNames();
    ASSERT_EQ(names.size(), 22u);
    EXPECT_EQ(names.front(), "Word"); // Acme before Co
    EXPECT_EQ(names.back(), "Word");  // the duplicate, from the extended list
    EXPECT_EQ(extended.ItemText(0, 1), "4");
    EXPECT_EQ(extended.ItemText(0, 6), "C:\\B\\");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ScanThread, TheCompletionQuestionAndItsNoAnswerWriteTheSameFileTwice) {
    QueuedHost host;
    doc.StartScan(request, host);
    while (host.PumpOne()) {
    }
    ASSERT_EQ(host.Outcome(), ScanOutcome::Completed);
    const std::string first = fs.files[kResult];
    EXPECT_EQ(util.GetWorkState(), kIdle);

    messages.answers = {false};
    EXPECT_FALSE(doc.AskCloseAfterScan());
    EXPECT_EQ(messages.asked.back(),
              "\xB0\xCB\xBB\xF6\xC0\xBB \xBF\xCF\xB7\xE1\xC7\xCF\xBF\xB4\xBD"
              "\xC0\xB4\xCF\xB4\xD9.\n \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0"
              "\xBB \xB4\xDD\xC0\xB8\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?");
    doc.StopScan();
    EXPECT_EQ(fs.files[kResult], first);
    EXPECT_FALSE(doc.ScanRunning());
}

TEST_F(ScanThread, TheEndOfACompletedScanWritesOffTheOwnersThreadInTheListsOrder) {
    // The owner (a window) only hands the sorted rows over; the file is
    // written on the scan thread so that the window keeps running.
    std::vector<std::thread::id> writers;
    fs.onOpenWrite = [&](const std::string& path) {
        // The file is written beside its name, then moved into place.
        if (Untagged(path) == std::string(kResult) + ".new")
            writers.push_back(std::this_thread::get_id());
    };
    QueuedHost host;
    doc.StartScan(request, host);
    while (host.PumpOne()) {
    }
    ASSERT_EQ(host.Outcome(), ScanOutcome::Completed);
    fs.onOpenWrite = nullptr;
    ASSERT_FALSE(writers.empty());
    for (const std::thread::id id : writers)
        EXPECT_NE(id, std::this_thread::get_id());
    EXPECT_FALSE(fs.Exists(kJournal));
    EXPECT_TRUE(doc.LastWriteSucceeded());

    // The file holds the rows as the sorted views show them.
    std::vector<std::string> shown;
    for (const CResultList* list :
         {static_cast<const CResultList*>(&normal), static_cast<const CResultList*>(&extended)})
        for (const FoundProgram* p : RowsInDisplayOrder(*list))
            shown.push_back(p->ProgramName);
    EXPECT_EQ(ResultNames(), shown);
    EXPECT_EQ(ResultNames().size(), 22u);
}

TEST_F(ScanThread, StopInTheMiddleKeepsWhatWasFoundAndAddsNothingAfter) {
    DirectHost host;
    host.holdAfter = 3; // the scan thread waits after the third program
    doc.StartScan(request, host);
    ASSERT_TRUE(host.WaitForRuns(3));
    doc.StopScan();

    EXPECT_EQ(normal.RowCount() + extended.RowCount(), 3);
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"Word", "P00", "Word"}));
    EXPECT_FALSE(fs.Exists(kJournal)); // the journal's last line came before the join
    EXPECT_EQ(host.WaitForEnd(), ScanOutcome::Stopped);
    EXPECT_EQ(util.GetWorkState(), kScanning); // the stop command's caller sets it
    EXPECT_FALSE(doc.ScanRunning());
}

TEST_F(ScanThread, AStopWhileTheScanWaitsForTheOwnerNeitherHangsNorLetsProgramsIn) {
    QueuedHost host;
    doc.StartScan(request, host);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(host.PumpOne());
    // The scan thread now waits for the next queued program to be run here.
    doc.StopScan();
    EXPECT_EQ(normal.RowCount() + extended.RowCount(), 5);
    // Work still queued comes too late and changes nothing.
    host.PumpLeftovers();
    EXPECT_EQ(normal.RowCount() + extended.RowCount(), 5);
    EXPECT_EQ(ResultNames().size(), 5u);
    EXPECT_EQ(host.Outcome(), ScanOutcome::Stopped);
}

TEST_F(ScanThread, AKeyListThatCannotBeReadEndsTheThreadWithoutAFile) {
    fs.files.erase(kKeyListFile);
    DirectHost host;
    doc.StartScan(request, host);
    EXPECT_EQ(host.WaitForEnd(), ScanOutcome::KeyListFailed);
    doc.StopScan(); // joins; a file would pass for a PC without programs
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Key File Open Error..."}));
    EXPECT_FALSE(fs.Exists(util.ScanResultPath()));
}

TEST_F(ScanThread, ANewScanEmptiesTheListsAndKeepsAnEarlierJournal) {
    doc.AddFoundProgram([] {
        FoundProgram p;
        p.ProgramName = "Old";
        p.Class = "1";
        return p;
    }());
    fs.files[kJournal] = "left over from an interrupted scan";
    DirectHost host;
    host.holdAfter = 1;
    doc.StartScan(request, host);
    ASSERT_TRUE(host.WaitForRuns(1));
    EXPECT_EQ(normal.RowCount(), 1);
    EXPECT_EQ(normal.ItemText(0, 3), "Word");
    doc.StopScan();
    // The interrupted scan's findings stay, and the start said where; the
    // scan's own journal, of a name of its own, went with the write.
    EXPECT_EQ(fs.files[kJournal], "left over from an interrupted scan");
    EXPECT_EQ(std::count(messages.shown.begin(), messages.shown.end(),
                         std::string(msg::kJournalFound) + "\n" + kJournal),
              1);
    EXPECT_NE(util.JournalPath(), kJournal);
    EXPECT_FALSE(fs.Exists(util.JournalPath()));
    // A second scan after the first ended by itself.
    DirectHost second;
    doc.StartScan(request, second);
    EXPECT_EQ(second.WaitForEnd(), ScanOutcome::Completed);
    EXPECT_EQ(normal.RowCount() + extended.RowCount(), 22);
}
