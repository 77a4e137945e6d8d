#include "files/WriteLock.h"
#include "Fakes.h"
#include "files/ReplaceFiles.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
const std::string kTotal = ".\\CheckOut\\T.tls";
const std::string kLock = ".\\CheckOut\\t.tls.lock"; // every spelling meets at one lock

WriterFacts Other(std::string computer, std::string system, std::uint64_t process) {
    return {std::move(computer), "kim", "ostravion-cli.exe", std::move(system), process};
}
} // namespace

// The lock file names its holder in CP949 lines with CR LF; a writer that finds
// it waits, then gives up naming who holds the file and since when.
TEST(WriteLock, ASecondWriterWaitsThenNamesTheHolder) {
    MemoryFileSystem fs;
    fs.files[kLock] = LockFileText(Other("PC2", "Windows", 77), {2026, 12, 9, 14, 5, 0});
    const std::string first = std::string(lockfile::kComputer) + "\r\nPC2\r\n";
    EXPECT_EQ(fs.files[kLock].substr(0, first.size()), first);

    WriteLock lock(fs, kTotal);
    EXPECT_EQ(lock.Take(), LockOutcome::Held);
    EXPECT_FALSE(lock.Holds());
    EXPECT_EQ(lock.Holder().computer, "PC2");
    EXPECT_EQ(lock.Holder().process, "77");
    const std::string message = HeldMessage(kTotal, lock.Holder());
    for (const char* part :
         {"PC2", "kim", "ostravion-cli.exe", "2026-12-09 14:05:00", kLock.c_str()})
        EXPECT_NE(message.find(part), std::string::npos) << part;
    lock.Release();
    EXPECT_TRUE(fs.Exists(kLock)); // another writer's lock stays

    fs.files.erase(kLock);
    EXPECT_EQ(lock.Take(), LockOutcome::Taken);
    EXPECT_EQ(ReadLockFile(fs.files[kLock]).computer, "PC");
    lock.Release();
    EXPECT_FALSE(fs.Exists(kLock));
}

// Only a lock whose process has ended on this very computer and system is
// taken over; any other stays, whatever its age.
TEST(WriteLock, OnlyALockOfAnEndedProcessHereIsTakenOver) {
    struct Case {
        WriterFacts holder;
        bool ended;
        LockOutcome expected;
    } cases[] = {
        {Other("pc", "Linux", 40), true, LockOutcome::Taken},  // this computer, ended
        {Other("PC", "Linux", 40), false, LockOutcome::Held},  // still running
        {Other("PC2", "Linux", 40), true, LockOutcome::Held},  // another computer
        {Other("PC", "Windows", 40), true, LockOutcome::Held}, // same name, other system
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        fs.files[kLock] = LockFileText(c.holder, {});
        if (c.ended)
            fs.endedProcesses.insert(40);
        WriteLock lock(fs, kTotal);
        EXPECT_EQ(lock.Take(), c.expected) << c.holder.computer << " " << c.holder.system;
        if (c.expected == LockOutcome::Taken)
            EXPECT_EQ(ReadLockFile(fs.files[kLock]).process, "1");
        else
            EXPECT_EQ(ReadLockFile(fs.files[kLock]).process, "40");
        lock.Release();
        // Nothing is left beside the lock: the stale one moved aside is gone.
        EXPECT_EQ(fs.files.size(), c.expected == LockOutcome::Taken ? 0u : 1u);
    }
}

// A step of a command that holds the file already goes on; the lock file
// goes with the outermost release only, and a lock that is no longer this
// writer's own is left alone.
TEST(WriteLock, NestedTakesShareTheLockAndReleaseKeepsOthers) {
    MemoryFileSystem fs;
    WriteLock outer(fs, kTotal);
    ASSERT_EQ(outer.Take(), LockOutcome::Taken);
    {
        WriteLock inner(fs, kTotal);
        EXPECT_EQ(inner.Take(0), LockOutcome::Taken);
    }
    EXPECT_TRUE(fs.Exists(kLock));
    fs.files[kLock] = LockFileText(Other("PC2", "Linux", 9), {});
    outer.Release();
    EXPECT_TRUE(fs.Exists(kLock));
}

// Temporaries carry their writer and are made exclusively: another writer's
// files beside the target are neither replaced nor removed, and none of this
// writer's is left once the files are replaced.
TEST(ReplaceFiles, TemporariesAreTheWritersOwn) {
    MemoryFileSystem fs;
    fs.writer.computer = "\xB0\xA1 PC/1"; // 가 PC/1: a name part every system takes
    const std::string name = TemporaryName(fs, "a.tls", ".new");
    EXPECT_EQ(name.substr(0, 16), "a.tls.~---PC-1-1");
    EXPECT_NE(name, TemporaryName(fs, "a.tls", ".new"));

    fs.files = {{"a.tls", "earlier"},
                {"a.tls.new", "a writer of an earlier version"},
                {"a.tls.~PC2-1c-0000abcd.new", "another writer"},
                {"b.rst", "earlier b"}};
    EXPECT_TRUE(ReplaceFiles(fs, {{"a.tls", "new a"}, {"b.rst", "new b"}}));
    EXPECT_EQ(fs.files,
              (std::map<std::string, std::string>{{"a.tls", "new a"},
                                                  {"a.tls.new", "a writer of an earlier version"},
                                                  {"a.tls.~PC2-1c-0000abcd.new", "another writer"},
                                                  {"b.rst", "new b"}}));
}
