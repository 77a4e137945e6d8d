// A whole inspection over a fixture tree and key list, facts and clock fixed
// through the ports: the exact bytes of the per-PC file, once for a scan that
// runs to its end and once for a scan stopped in the middle. Pinned by golden
// files in tests/doc/data; OSTRAVION_UPDATE_GOLDEN=1 rewrites them.
#include "Fakes.h"
#include "StopWait.h"
#include "doc/AuditLists.h"
#include "doc/Inspection.h"
#include "files/Container.h"
#include "scan/Facts.h"

#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

using namespace ostravion;
using namespace ostravion::test;

namespace {

const std::string kDomestic = "\xB1\xB9\xB3\xBB"; // 국내
const std::string kForeign = "\xB1\xB9\xBF\xDC";  // 국외
const std::string kHangul = "\xC7\xD1\xB1\xDB";   // 한글
const std::string kHancom = "\xC7\xD1\xC4\xC4";   // 한컴
const std::string kDocs = "\xB9\xAE\xBC\xAD";     // 문서

class FixedSystem final : public SystemInfo {
public:
    std::string ComputerName() const override { return "PC-01"; }
    std::string UserName() const override { return "kim"; }
    ProcessorFacts Processor() const override { return {0, 6, 0x0806}; }
    OsVersionFacts OsVersion() const override { return {}; }
};

class FixedClock final : public Clock {
public:
    LocalTime Now() const override { return {2004, 3, 7, 9, 5}; }
};

// Runs the work at once; holds the scan thread after a given number of
// programs until the stop is requested.
class Host final : public ScanHost {
public:
    explicit Host(int holdAfter) : holdAfter_(holdAfter) {}
    void RunOnOwner(std::stop_token stop, const std::function<void()>& work) override {
        work();
        std::unique_lock<std::mutex> lock(m_);
        ++runs_;
        cv_.notify_all();
        if (runs_ == holdAfter_)
            WaitOrStop(cv_, lock, stop, [] { return false; });
    }
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_);
        outcome_ = outcome;
        cv_.notify_all();
    }
    void WaitForRuns(int n) {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, std::chrono::seconds(10), [&] { return runs_ >= n; });
    }
    std::optional<ScanOutcome> WaitForEnd() {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, std::chrono::seconds(10), [&] { return outcome_.has_value(); });
        return outcome_;
    }

private:
    const int holdAfter_;
    std::mutex m_;
    std::condition_variable_any cv_;
    int runs_ = 0;
    std::optional<ScanOutcome> outcome_;
};

void CompareWithGolden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(OSTRAVION_TEST_DATA) + "/doc/data/" + name;
    if (std::getenv("OSTRAVION_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "differs from " << path;
}

struct ScanThreadGolden : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    FakeFileSearch search;
    FakeDrives drives;
    FakeVersionStrings versions;
    FakeAppPaths apps;
    FixedSystem system;
    FixedClock clock;
    ScanRequest request{ScanPorts{search, drives, versions, apps}, &system};
    AuditLists lists{util};
    COstravionView& normal = lists.normal;
    CExtendView& extended = lists.extended;
    COstravionDoc& doc = lists.doc;

    // Emission order, folder by folder:
    //   A1 GAMMA.EXE   Same Co, class 1
    //   A2 WINWORD.EXE Acme, class 1
    //   A3 ALPHA.EXE   Same Co, class 1;  X.EXE, a one-byte name (not shown)
    //   A4 EDIT.EXE    listed, no size or version match: Acme "Editor", class 2
    //   A5 TOOL.EXE    registered, Zeta Tools "Tool", class 3;  BETA.EXE Same Co, class 1
    //   문서 HWP.EXE    한컴 "한글", class 1
    //   A6 WINWORD.EXE again: class 4 in the extended list
    // The normal list's rights holders come as S A S A S 한컴, so only the
    // sort decides the order of the three Same Co and the two Acme rows.
    void SetUp() override {
        const std::string payload =
            "caption\tx\tx\tx\tx\r\n"
            "K0\tAPP\tOFFICE\tWord\t9.0\tWINWORD.EXE\t1000\tK7\tAcme\t" +
            kForeign + "\r\n" + "K0\tAPP\tUTIL\tGamma\t3.0\tGAMMA.EXE\t30\tK7\tSame Co\t" +
            kForeign + "\r\n" + "K0\tAPP\tUTIL\tAlpha\t1.0\tALPHA.EXE\t10\tK7\tSame Co\t" +
            kForeign + "\r\n" + "K0\tAPP\tUTIL\tBeta\t2.0\tBETA.EXE\t20\t\tSame Co\t" + kForeign +
            "\r\n" + "K0\tAPP\tUTIL\tX\t1.0\tX.EXE\t5\tK7\tTiny\t" + kDomestic + "\r\n" +
            "K0\tAPP\tEDIT\tEdit\t9.9\tEDIT.EXE\t1\tK7\tAcme\t" + kForeign + "\r\n" +
            "K0\tAPP\tWORD\t" + kHangul + "\t2004\tHWP.EXE\t2004\tK7\t" + kHancom + "\t" +
            kDomestic + "\r\n";
        std::string container;
        ASSERT_TRUE(ScrambleText(payload, container));
        fs.files[kKeyListFile] = container;

        const int c = search.AddRoot("/c/");
        search.AddFile(search.AddFolder(c, "A1"), "GAMMA.EXE", 30);
        search.AddFile(search.AddFolder(c, "A2"), "WINWORD.EXE", 1000);
        const int a3 = search.AddFolder(c, "A3");
        search.AddFile(a3, "ALPHA.EXE", 10);
        search.AddFile(a3, "X.EXE", 5);
        const int a4 = search.AddFolder(c, "A4");
        search.AddFile(a4, "Edit.exe", 77);
        versions.Set("/c/A4/Edit.exe", "CompanyName", "Acme");
        versions.Set("/c/A4/Edit.exe", "FileDescription", "Editor");
        versions.Set("/c/A4/Edit.exe", "ProductVersion", "2.0");
        const int a5 = search.AddFolder(c, "A5");
        search.AddFile(a5, "TOOL.EXE", 500);
        versions.Set("/c/A5/TOOL.EXE", "CompanyName", "Zeta Tools");
        versions.Set("/c/A5/TOOL.EXE", "ProductName", "Tool");
        versions.Set("/c/A5/TOOL.EXE", "ProductVersion", "3.1");
        apps.names = {"TOOL.EXE"};
        search.AddFile(a5, "BETA.EXE", 20);
        search.AddFile(search.AddFolder(c, kDocs, kAttrDirectory, 0, "docs"), "HWP.EXE", 2004);
        search.AddFile(search.AddFolder(c, "A6"), "WINWORD.EXE", 1000);
        drives.drives.push_back({"C:\\", "/c/", '\\'});
    }

    void Begin(Host& host) {
        const PcFacts facts = GatherPcFacts(system, clock, "ACME", "PC01");
        BeginInspection(doc, facts, request, host);
    }
};

} // namespace

TEST_F(ScanThreadGolden, AWholeInspection) {
    Host host(-1);
    Begin(host);
    ASSERT_EQ(host.WaitForEnd(), ScanOutcome::Completed);
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\ACME_PC01.tmp"));
    CompareWithGolden("inspection_complete.ipt", fs.files[".\\CheckOut\\ACME_PC01.ipt"]);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ScanThreadGolden, AnInspectionStoppedInTheMiddle) {
    Host host(5); // after Gamma, Word, Alpha, X and Editor
    Begin(host);
    host.WaitForRuns(5);
    EndInspection(doc);
    EXPECT_EQ(host.WaitForEnd(), ScanOutcome::Stopped);
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\ACME_PC01.tmp"));
    CompareWithGolden("inspection_stopped.ipt", fs.files[".\\CheckOut\\ACME_PC01.ipt"]);
}
