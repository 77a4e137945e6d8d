// The walk with folders listed ahead on worker threads sees what the walk on
// one thread sees, in the same order.
#include "ScanFixture.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

using namespace ostravion;
using namespace ostravion::test;

namespace {

// The in-memory tree, safe to list from several threads, each listing taking
// a little while so that the workers run ahead of the walk.
class SharedSearch final : public FileSearch {
public:
    explicit SharedSearch(const FakeFileSearch& inner) : inner_(inner) {}
    bool List(const std::string& native, std::vector<DirEntry>& out) const override {
        return ListChecked(native, out) == ReadFault::None;
    }
    ReadFault ListChecked(const std::string& native, std::vector<DirEntry>& out) const override {
        std::this_thread::sleep_for(std::chrono::microseconds(50 + native.size() % 7 * 30));
        std::lock_guard<std::mutex> lock(m_);
        threads.insert(std::this_thread::get_id());
        return inner_.ListChecked(native, out);
    }
    bool Identify(const std::string& native, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        std::lock_guard<std::mutex> lock(m_);
        return inner_.Identify(native, device, inode);
    }
    char NativeSeparator() const override { return '/'; }
    bool ListsConcurrently(const std::string&) const override { return true; }
    bool FileSize(const std::string& native, std::uint64_t& size) const override {
        std::lock_guard<std::mutex> lock(m_);
        ++askedSizes;
        return inner_.FileSize(native, size);
    }
    // With `holding`, a folder asked to be held is, and the sizes a walk asks
    // for come with the listing.
    ReadFault ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                            std::unique_ptr<HeldFolder>& held) const override {
        const ReadFault fault = ListChecked(request.native, out);
        held.reset();
        if (!holding)
            return fault;
        std::lock_guard<std::mutex> lock(m_);
        if (request.parent) {
            ++inParent;
            const auto* parent = static_cast<const Held*>(request.parent);
            if (parent->native + std::string(request.name) + "/" != request.native)
                ++strayNames;
        }
        for (DirEntry& e : out) {
            if (!e.sizeKnown && request.wantsSize && (*request.wantsSize)(e))
                e.sizeKnown = inner_.FileSize(request.native + e.nativeName, e.size);
            leftUnsized += e.sizeKnown ? 0 : 1;
        }
        if (request.hold) {
            held = std::make_unique<Held>(*this, request.native);
            mostHeld = std::max(mostHeld, ++nowHeld);
        }
        return fault;
    }
    std::size_t Listed() const {
        std::lock_guard<std::mutex> lock(m_);
        return inner_.listed.size();
    }
    mutable std::set<std::thread::id> threads;
    bool holding = false;
    mutable int inParent = 0, strayNames = 0, nowHeld = 0, mostHeld = 0, askedSizes = 0,
                leftUnsized = 0;

private:
    struct Held final : HeldFolder {
        Held(const SharedSearch& s, std::string n) : search(s), native(std::move(n)) {}
        ~Held() override {
            std::lock_guard<std::mutex> lock(search.m_);
            --search.nowHeld;
        }
        const SharedSearch& search;
        const std::string native;
    };

    const FakeFileSearch& inner_;
    mutable std::mutex m_;
};

struct ReadAhead : ScanFixture {
    SharedSearch shared{search};
    CSearchThread walk{util, ScanPorts{shared, drives, versions, apps}, sink};

    void SetUp() override {
        SetKeyList("caption\tx\tx\tx\tx\r\n");
        apps.names = {"P.EXE"};
        util.SetScanBaseName("G_N");
        const int c = search.AddRoot("/c/");
        AddDrive("C:\\", "/c/");
        Grow(c, "/c/", 0);
        // What the walk leaves out or cannot read, deep in the tree.
        const int a = search.folders[c].children.at("f1");
        search.AddLink(a, "loop", c);
        search.AddFolder(a, "Temporary Internet Files");
        search.AddFolder(a, "mnt", kAttrDirectory, 9);
        search.folders[search.folders[a].children.at("f0")].unreadable = true;
        const int denied = search.folders[c].children.at("f3");
        search.folders[denied].unreadable = true;
        search.folders[denied].fault = ReadFault::Denied;
    }
    // Four levels of four folders, a found program and a file passed over in each.
    void Grow(int folder, const std::string& native, int level) {
        search.AddFile(folder, "p.exe", 1);
        search.AddFile(folder, "readme.txt", 1);
        versions.Set(native + "p.exe", "CompanyName", "Co");
        if (level == 4)
            return;
        for (int i = 0; i < 4; ++i) {
            const std::string name = "f" + std::to_string(i);
            Grow(search.AddFolder(folder, name), native + name + "/", level + 1);
        }
    }
    struct Seen {
        std::vector<std::string> found, progress;
        std::string log;
        std::vector<long long> faults;
        ScanOutcome outcome;
    };
    Seen Scan(unsigned workers) {
        sink.programs.clear();
        progress.log.clear();
        fs.files.erase(".\\CheckOut\\G_N.log");
        CSearchThread scan{util, ScanPorts{shared, drives, versions, apps}, sink};
        scan.SetReadAhead(workers);
        PrepareProgress(util, shared, drives);
        Seen s;
        s.outcome = scan.Run();
        s.found = Found();
        s.progress = progress.log;
        s.log = fs.files[".\\CheckOut\\G_N.log"];
        const WalkFaults& f = scan.Faults();
        s.faults = {f.folders, f.files, f.deniedFolders, f.deniedFiles};
        return s;
    }
};

} // namespace

TEST_F(ReadAhead, SameProgramsProgressAndFaultsInTheSameOrderAsOneThread) {
    const Seen one = Scan(0);
    EXPECT_EQ(shared.threads.size(), 1u);
    ASSERT_EQ(one.outcome, ScanOutcome::Completed);
    ASSERT_GT(one.found.size(), 200u);
    EXPECT_EQ(one.faults, (std::vector<long long>{1, 0, 1, 0}));
    // Whether a worker gets to a folder before the walk does is up to the
    // scheduler (under Wine the walk may take a whole round itself); over
    // the rounds together the workers must have listed some.
    shared.threads.clear();
    for (int round = 0; round < 3; ++round) {
        const Seen ahead = Scan(4);
        EXPECT_EQ(ahead.outcome, ScanOutcome::Completed);
        EXPECT_EQ(ahead.found, one.found);
        EXPECT_EQ(ahead.progress, one.progress);
        EXPECT_EQ(ahead.log, one.log);
        EXPECT_EQ(ahead.faults, one.faults);
    }
    EXPECT_GT(shared.threads.size(), 1u);
}

// A stop ends the walk with what was found until then; the workers, held
// to a bounded distance ahead, are stopped with it.
TEST_F(ReadAhead, StopMidWalkEmitsNothingMoreAndListsBoundedlyAhead) {
    // A wide tree, many times the read-ahead window.
    const int wide = search.AddRoot("/w/", 3);
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "d" + std::to_string(i);
        search.AddFile(search.AddFolder(wide, name), "p.exe", 1);
        versions.Set("/w/" + name + "/p.exe", "CompanyName", "Co");
    }
    drives.drives.assign(1, {"D:\\", "/w/", '\\'});
    walk.SetReadAhead(4);
    std::stop_source stop;
    sink.onAdd = [&](const FoundProgram&) {
        if (sink.programs.size() == 5) {
            // Time for the workers to run as far ahead as they may.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            stop.request_stop();
        }
    };
    EXPECT_EQ(walk.Run(stop.get_token()), ScanOutcome::Stopped);
    EXPECT_EQ(Found(), (std::vector<std::string>{"D:\\d0\\p.exe", "D:\\d1\\p.exe", "D:\\d2\\p.exe",
                                                 "D:\\d3\\p.exe", "D:\\d4\\p.exe"}));
    EXPECT_LE(shared.Listed(), 1 + 5 + FolderWalk::kAheadFolders + 4);
    EXPECT_GT(shared.Listed(), 100u);
}

// A search that holds folders open is lent each folder's parent by name, and
// every folder it holds is let go, never more than a bounded number at once.
// The sizes the identification needs come with the listings.
TEST_F(ReadAhead, HeldParentsAreLentByNameAndLetGo) {
    for (auto& folder : search.folders)
        for (DirEntry& e : folder.entries)
            if (e.nativeName == "p.exe")
                e.sizeKnown = false;
    const auto sizes = [this] {
        std::vector<std::string> out;
        for (const FoundProgram& p : sink.programs)
            out.push_back(p.FileSize);
        return out;
    };
    const Seen plain = Scan(0);
    const std::vector<std::string> plainSizes = sizes();
    ASSERT_GT(shared.askedSizes, 200);
    shared.holding = true;
    for (const unsigned workers : {0u, 4u}) {
        shared.mostHeld = shared.inParent = shared.askedSizes = shared.leftUnsized = 0;
        const std::size_t before = shared.Listed();
        const Seen held = Scan(workers);
        EXPECT_EQ(held.found, plain.found);
        EXPECT_EQ(sizes(), plainSizes);
        EXPECT_EQ(held.log, plain.log);
        EXPECT_EQ(shared.nowHeld, 0) << workers;
        // Every folder is opened in its parent but the root, which is also
        // listed once for the progress range.
        EXPECT_EQ(std::size_t(shared.inParent), shared.Listed() - before - 2) << workers;
        EXPECT_GT(shared.mostHeld, 0);
        // On one thread only the folders above the one listed are held, one
        // for each of the tree's five levels at most.
        EXPECT_LE(shared.mostHeld, workers == 0 ? 5 : int(FolderWalk::kHeldFolders));
        // The walk asks only for the sizes the listing did not bring: those of
        // folders workers listed while the key list was still being read.
        // Without workers nothing is listed before it is whole.
        EXPECT_EQ(shared.askedSizes, shared.leftUnsized) << workers;
        if (workers == 0) {
            EXPECT_EQ(shared.leftUnsized, 0);
        }
    }
    EXPECT_EQ(shared.strayNames, 0);
}
