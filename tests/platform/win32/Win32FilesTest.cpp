// The Windows ports on real files, run under Wine with the Korean code page.
#include "platform/Native.h"
#include "platform/win32/Win32Platform.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "platform/win32/WinApi.h"

using namespace ostravion;
using namespace ostravion::win32;

namespace {

const std::string kKoreanCp949 = "\xB1\xB9\xB3\xBB";        // 국내
const std::wstring kKoreanUtf16 = L"\xAD6D\xB0B4";          // 국내
const std::string kKoreanUtf8 = "\xEA\xB5\xAD\xEB\x82\xB4"; // 국내

// A fresh folder under the temporary folder, made the current directory for
// the test and removed with everything in it afterwards.
class TempDir : public ::testing::Test {
protected:
    std::string dir;
    std::string old;
    void SetUp() override {
        char tmp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof tmp, tmp), 0u);
        char name[MAX_PATH];
        ASSERT_NE(GetTempFileNameA(tmp, "ost", 0, name), 0u);
        DeleteFileA(name);
        ASSERT_TRUE(CreateDirectoryA(name, nullptr));
        dir = name;
        char cwd[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwd, cwd);
        old = cwd;
        ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryA(old.c_str());
        RemoveTree(dir);
    }
    static void RemoveTree(const std::string& path) {
        WIN32_FIND_DATAA fd;
        const HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string n = fd.cFileName;
                if (n == "." || n == "..")
                    continue;
                const std::string p = path + "\\" + n;
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    RemoveTree(p);
                else if (!DeleteFileA(p.c_str()))
                    RemoveDirectoryA(p.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(path.c_str());
    }
    static void MakeFile(const std::string& path, const std::string& bytes) {
        const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        ASSERT_TRUE(
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(h);
    }
};

} // namespace

TEST(Win32Locale, AnsiCodePageIsKorean) {
    // Everything below relies on the ANSI calls speaking CP949.
    EXPECT_EQ(GetACP(), 949u);
}

TEST(Win32Codec, KoreanRoundTripAndReplacement) {
    Win32Codec c;
    EXPECT_EQ(c.FromUtf8(kKoreanUtf8 + " ok"), kKoreanCp949 + " ok");
    EXPECT_EQ(c.ToUtf8(kKoreanCp949 + " ok"), kKoreanUtf8 + " ok");
    // One "?" per character without a CP949 form: an emoji, a broken byte.
    EXPECT_EQ(c.FromUtf8("a\xF0\x9F\x98\x80"
                         "b"),
              "a?b");
    EXPECT_EQ(c.FromUtf8("a\xFF"
                         "b"),
              "a?b");
    EXPECT_EQ(c.FromUtf8("\xE0\xB8\x81"), "?"); // a Thai letter has no CP949 form
    EXPECT_EQ(c.ToUtf8(""), "");
    EXPECT_EQ(c.FromUtf8(""), "");
    // A lead byte cut off at the end spoils nothing before it.
    EXPECT_EQ(c.ToUtf8("ab\xB1").substr(0, 2), "ab");
    // Every Hangul syllable of the code page survives the round trip.
    std::string all;
    for (int lead = 0xB0; lead <= 0xC8; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            all += {static_cast<char>(lead), static_cast<char>(trail)};
    EXPECT_EQ(c.FromUtf8(c.ToUtf8(all)), all);
}

using Win32Files = TempDir;

TEST_F(Win32Files, SystemPathsWithKoreanNames) {
    Win32FileSystem fs;
    EXPECT_TRUE(fs.Rules().slashIsSeparator); // CreateFileA takes "/" as a separator
    EXPECT_TRUE(fs.MakeDirectory("slash"));
    MakeFile("slash/inside.txt", "s");
    EXPECT_TRUE(fs.Exists("slash\\inside.txt"));
    EXPECT_FALSE(fs.Rules().caseSensitive);
    EXPECT_TRUE(fs.MakeDirectory(".\\CheckOut\\"));
    EXPECT_FALSE(fs.MakeDirectory(".\\CheckOut\\")); // already there
    EXPECT_TRUE(fs.IsDirectory(".\\CheckOut"));
    EXPECT_TRUE(fs.IsDirectory(".\\checkout\\"));
    const std::string path = ".\\CheckOut\\" + kKoreanCp949 + "_pc.ipt";
    {
        auto f = fs.OpenWrite(path, false);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("one\r\n"));
        EXPECT_TRUE(f->Close());
        EXPECT_TRUE(f->Close()); // a second close is harmless
    }
    {
        auto f = fs.OpenWrite(path, true);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("two\r\n"));
    } // closed by its destructor
    // The file carries the Korean name itself, not its bytes read as Latin.
    EXPECT_NE(GetFileAttributesW((L".\\CheckOut\\" + kKoreanUtf16 + L"_pc.ipt").c_str()),
              INVALID_FILE_ATTRIBUTES);
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole(path, bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\n");
    // The same bytes in pieces, then an empty piece at the end.
    {
        auto in = fs.OpenRead(path);
        ASSERT_TRUE(in);
        std::string piece, all;
        while (in->Read(piece, 3) && !piece.empty())
            all += piece;
        EXPECT_EQ(all, "one\r\ntwo\r\n");
    }
    EXPECT_EQ(fs.OpenRead(".\\CheckOut"), nullptr); // a folder
    EXPECT_EQ(fs.OpenRead(".\\CheckOut\\none.ipt"), nullptr);
    EXPECT_TRUE(fs.Exists(path));
    EXPECT_TRUE(fs.Exists(".\\CHECKOUT\\" + kKoreanCp949 + "_PC.IPT")); // letter case ignored

    // Truncation on a plain open.
    {
        auto f = fs.OpenWrite(path, false);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("x"));
    }
    ASSERT_TRUE(fs.ReadWhole(path, bytes));
    EXPECT_EQ(bytes, "x");

    // Rename replaces an existing target.
    MakeFile(".\\CheckOut\\b.ipt", "old");
    EXPECT_TRUE(fs.Rename(path, ".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.Exists(path));
    ASSERT_TRUE(fs.ReadWhole(".\\CheckOut\\b.ipt", bytes));
    EXPECT_EQ(bytes, "x");
    EXPECT_FALSE(fs.Rename(".\\CheckOut\\missing", ".\\CheckOut\\c.ipt"));

    EXPECT_TRUE(fs.Remove(".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.Remove(".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.ReadWhole(".\\CheckOut\\b.ipt", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.ReadWhole(".\\CheckOut", bytes)); // a folder is no file
    EXPECT_FALSE(fs.Exists(".\\CheckOut"));
    EXPECT_EQ(fs.OpenWrite(".\\missing\\x.ipt", false), nullptr);
    EXPECT_FALSE(fs.IsDirectory(".\\missing"));
}

TEST_F(Win32Files, ListFilesLeavesFoldersOut) {
    Win32FileSystem fs;
    ASSERT_TRUE(fs.MakeDirectory("CheckOut"));
    ASSERT_TRUE(fs.MakeDirectory("CheckOut\\sub.ipt"));
    MakeFile("CheckOut\\a.ipt", "a");
    MakeFile("CheckOut\\" + kKoreanCp949 + ".ipt", "k");
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(fs.ListFiles(".\\CheckOut\\", names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.ipt", kKoreanCp949 + ".ipt"}));
    ASSERT_TRUE(fs.ListFiles("CheckOut\\sub.ipt", names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(fs.ListFiles("missing", names));
    ASSERT_TRUE(fs.ListFiles("", names)); // the current folder
    EXPECT_TRUE(names.empty());
}

TEST_F(Win32Files, WritesHiddenFilesAndRefusesFolders) {
    Win32FileSystem fs;
    MakeFile("hidden.tmp", "previous contents");
    ASSERT_TRUE(SetFileAttributesA("hidden.tmp", FILE_ATTRIBUTE_HIDDEN));
    {
        auto f = fs.OpenWrite("hidden.tmp", false);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("new"));
        EXPECT_TRUE(f->Close());
    }
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("hidden.tmp", bytes));
    EXPECT_EQ(bytes, "new");

    // A folder cannot be opened as a file, and is left as it was.
    ASSERT_TRUE(fs.MakeDirectory("folder.ipt"));
    MakeFile("folder.ipt\\inside.txt", "keep");
    EXPECT_EQ(fs.OpenWrite("folder.ipt", false), nullptr);
    EXPECT_EQ(fs.OpenWrite("folder.ipt", true), nullptr);
    EXPECT_TRUE(fs.IsDirectory("folder.ipt"));
    ASSERT_TRUE(fs.ReadWhole("folder.ipt\\inside.txt", bytes));
    EXPECT_EQ(bytes, "keep");
}

TEST_F(Win32Files, NewFilesReplaceHiddenOnesAndUtf8NamesInOneMove) {
    Win32FileSystem fs;
    MakeFile("old.ipt", "previous");
    ASSERT_TRUE(SetFileAttributesA("old.ipt", FILE_ATTRIBUTE_HIDDEN));
    MakeFile("old.ipt.new", "whole new");
    EXPECT_TRUE(fs.Rename("old.ipt.new", "old.ipt"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("old.ipt", bytes));
    EXPECT_EQ(bytes, "whole new");
    EXPECT_FALSE(fs.Exists("old.ipt.new"));

    // Files named on the command line: UTF-8 names through the wide calls.
    MakeFile(kKoreanCp949 + ".csv", "earlier");
    MakeFile(kKoreanCp949 + ".csv.new", "later");
    EXPECT_TRUE(RenameNativeFile(kKoreanUtf8 + ".csv.new", kKoreanUtf8 + ".csv"));
    ASSERT_TRUE(fs.ReadWhole(kKoreanCp949 + ".csv", bytes));
    EXPECT_EQ(bytes, "later");
    EXPECT_FALSE(fs.Exists(kKoreanCp949 + ".csv.new"));
    EXPECT_FALSE(RenameNativeFile("missing.new", "x.csv"));
    EXPECT_FALSE(fs.Exists("x.csv"));
}

TEST_F(Win32Files, ReplaceKeepsTheReplacedFileAsItsBackup) {
    Win32FileSystem fs;
    const std::string name = kKoreanCp949 + ".tls";
    MakeFile(name, "earlier");
    MakeFile(name + ".new", "later");
    MakeFile(name + ".old", "stale");
    EXPECT_TRUE(fs.ReplaceKeepingBackup(name + ".new", name, name + ".old"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole(name, bytes));
    EXPECT_EQ(bytes, "later");
    ASSERT_TRUE(fs.ReadWhole(name + ".old", bytes));
    EXPECT_EQ(bytes, "earlier");
    EXPECT_FALSE(fs.Exists(name + ".new"));

    // A move that fails leaves the file where it was.
    EXPECT_FALSE(fs.ReplaceKeepingBackup("missing.new", name, "other.old"));
    ASSERT_TRUE(fs.ReadWhole(name, bytes));
    EXPECT_EQ(bytes, "later");
    EXPECT_FALSE(fs.Exists("other.old"));
}

TEST_F(Win32Files, LargeFileReadWhole) {
    Win32FileSystem fs;
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    {
        auto f = fs.OpenWrite("big.bin", false);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write(big));
        EXPECT_TRUE(f->Close());
    }
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("big.bin", bytes));
    EXPECT_EQ(bytes, big);
}

TEST_F(Win32Files, CurrentDirectoryWithKoreanName) {
    Win32FileSystem fs;
    const std::string start = fs.CurrentDirectory();
    EXPECT_EQ(start, dir);
    ASSERT_TRUE(fs.MakeDirectory(kKoreanCp949));
    ASSERT_TRUE(fs.SetCurrentDirectory(kKoreanCp949));
    EXPECT_EQ(fs.CurrentDirectory(), dir + "\\" + kKoreanCp949);
    EXPECT_FALSE(fs.SetCurrentDirectory("no such folder"));
    EXPECT_EQ(fs.CurrentDirectory(), dir + "\\" + kKoreanCp949);
    ASSERT_TRUE(fs.SetCurrentDirectory(".."));
    EXPECT_EQ(fs.CurrentDirectory(), start);
}

using Win32Search = TempDir;

TEST_F(Win32Search, AttributesSizesAndNamesAsReported) {
    ASSERT_TRUE(CreateDirectoryA("tree", nullptr));
    MakeFile("tree\\plain.exe", std::string(12345, 'p'));
    MakeFile("tree\\hidden.dll", "h");
    MakeFile("tree\\system.sys", "s");
    MakeFile("tree\\readonly.exe", "r");
    MakeFile("tree\\README", "");
    MakeFile("tree\\" + kKoreanCp949 + ".exe", "k");
    ASSERT_TRUE(CreateDirectoryA("tree\\sub", nullptr));
    ASSERT_TRUE(CreateDirectoryA("tree\\hidden.dir", nullptr));
    ASSERT_TRUE(SetFileAttributesA("tree\\hidden.dll", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA("tree\\system.sys", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA("tree\\readonly.exe", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA("tree\\hidden.dir", FILE_ATTRIBUTE_HIDDEN));

    Win32FileSearch search;
    EXPECT_EQ(search.NativeSeparator(), '\\');
    std::vector<DirEntry> entries;
    ASSERT_TRUE(search.List(dir + "\\tree", entries));
    std::map<std::string, DirEntry> byName;
    Win32Codec codec;
    for (const auto& e : entries) {
        EXPECT_EQ(e.nativeName, codec.ToUtf8(e.name)); // native names are UTF-8
        if (e.attributes & kAttrDirectory) {
            std::uint64_t device = 0, inode = 0;
            ASSERT_TRUE(search.Identify(dir + "\\tree\\" + e.name, device, inode));
            EXPECT_EQ(e.device, device) << e.name;
            EXPECT_EQ(e.inode, inode) << e.name;
            EXPECT_NE(inode, 0u);
        } else {
            EXPECT_EQ(e.device, 0u);
            EXPECT_EQ(e.inode, 0u);
        }
        // The attributes are the system's own, as a direct query gives them.
        EXPECT_EQ(e.attributes, GetFileAttributesA(("tree\\" + e.name).c_str())) << e.name;
        byName[e.name] = e;
    }
    EXPECT_EQ(byName.size(), 8u);
    EXPECT_EQ(byName.count("."), 0u);
    EXPECT_EQ(byName.count(".."), 0u);

    // Wine keeps hidden and system, derives read-only from the file mode and
    // gives every file the archive bit and no folder; Windows keeps them all.
    EXPECT_EQ(byName["plain.exe"].size, 12345u);
    EXPECT_FALSE(byName["plain.exe"].attributes & (kAttrHidden | kAttrDirectory));
    EXPECT_TRUE(byName["hidden.dll"].attributes & kAttrHidden);
    EXPECT_TRUE(byName["system.sys"].attributes & kAttrSystem);
    EXPECT_FALSE(byName["system.sys"].attributes & kAttrHidden);
    EXPECT_TRUE(byName["readonly.exe"].attributes & kAttrReadOnly);
    EXPECT_FALSE(byName["readonly.exe"].attributes & kAttrHidden);
    EXPECT_EQ(byName["README"].size, 0u);
    EXPECT_TRUE(byName["sub"].attributes & kAttrDirectory);
    EXPECT_FALSE(byName["sub"].attributes & kAttrHidden);
    EXPECT_EQ(byName["hidden.dir"].attributes & (kAttrDirectory | kAttrHidden),
              kAttrDirectory | kAttrHidden);
    ASSERT_EQ(byName.count(kKoreanCp949 + ".exe"), 1u);
    EXPECT_EQ(byName[kKoreanCp949 + ".exe"].size, 1u);

    // A trailing separator names the same folder.
    std::vector<DirEntry> again;
    ASSERT_TRUE(search.List(dir + "\\tree\\", again));
    EXPECT_EQ(again.size(), entries.size());
    // A Korean folder, searched by its native (UTF-8) name; a name without a
    // CP949 form is found and written as the Linux program writes it.
    ASSERT_TRUE(CreateDirectoryA(("tree\\sub\\" + kKoreanCp949).c_str(), nullptr));
    MakeFile("tree\\sub\\" + kKoreanCp949 + "\\a.txt", "a");
    const std::wstring wide = std::wstring(dir.begin(), dir.end()) + L"\\tree\\sub\\" +
                              kKoreanUtf16 + L"\\\u00DCn\u00EFcode\U0001F600.txt";
    const HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    ASSERT_TRUE(search.List(dir + "\\tree\\sub\\" + kKoreanUtf8, again));
    ASSERT_EQ(again.size(), 2u);
    std::sort(again.begin(), again.end(),
              [](const DirEntry& x, const DirEntry& y) { return x.name < y.name; });
    EXPECT_EQ(again[0].name, "?n?code?.txt");
    EXPECT_EQ(again[0].nativeName, "\xC3\x9Cn\xC3\xAF"
                                   "code\xF0\x9F\x98\x80.txt");
    EXPECT_EQ(again[1].name, "a.txt");
}

TEST_F(Win32Search, MissingAndEmptyFolders) {
    Win32FileSearch search;
    std::vector<DirEntry> entries{DirEntry{}};
    EXPECT_FALSE(search.List(dir + "\\absent", entries));
    EXPECT_TRUE(entries.empty());
    ASSERT_TRUE(CreateDirectoryA("empty", nullptr));
    EXPECT_TRUE(search.List(dir + "\\empty", entries)); // "." is found, and left out
    EXPECT_TRUE(entries.empty());
    MakeFile("file.txt", "x");
    EXPECT_FALSE(search.List(dir + "\\file.txt", entries));
}

TEST_F(Win32Search, FolderIdentity) {
    ASSERT_TRUE(CreateDirectoryA("one", nullptr));
    ASSERT_TRUE(CreateDirectoryA("one\\two", nullptr));
    Win32FileSearch search;
    std::uint64_t d1 = 0, i1 = 0, d2 = 0, i2 = 0, d3 = 0, i3 = 0;
    ASSERT_TRUE(search.Identify(dir + "\\one", d1, i1));
    ASSERT_TRUE(search.Identify(dir + "\\one\\two\\..", d2, i2));
    ASSERT_TRUE(search.Identify(dir + "\\one\\two", d3, i3));
    EXPECT_EQ(d1, d2);
    EXPECT_EQ(i1, i2);
    EXPECT_EQ(d1, d3);
    EXPECT_NE(i1, i3);
    EXPECT_FALSE(search.Identify(dir + "\\absent", d1, i1));
}

TEST(Win32SearchLinks, LinkToAFolderIsMarked) {
    // The build makes, beside this program, links\target, the link
    // links\link to it and the link links\target\up back to links (Unix
    // symbolic links, which Wine shows as reparse points).
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self, n);
    folder = folder.substr(0, folder.rfind('\\') + 1) + "links";
    if (GetFileAttributesA((folder + "\\link").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no link fixture beside the program";
    Win32FileSearch search;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(search.List(folder, entries));
    std::map<std::string, DirEntry> byName;
    for (const auto& e : entries)
        byName[e.name] = e;
    ASSERT_EQ(byName.size(), 2u);
    EXPECT_EQ(byName["link"].attributes & (kAttrDirectory | kAttrReparsePoint),
              kAttrDirectory | kAttrReparsePoint);
    EXPECT_EQ(byName["target"].attributes & (kAttrDirectory | kAttrReparsePoint), kAttrDirectory);
    // A link shows the identity of the folder it leads to, so a walk can
    // tell a way back up the tree from a new folder.
    EXPECT_EQ(byName["link"].inode, byName["target"].inode);
    EXPECT_EQ(byName["link"].device, byName["target"].device);
    std::uint64_t device = 0, inode = 0;
    ASSERT_TRUE(search.Identify(folder, device, inode));
    ASSERT_TRUE(search.List(folder + "\\target", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "up");
    EXPECT_EQ(entries[0].device, device);
    EXPECT_EQ(entries[0].inode, inode);
}

// The files the system makes for itself are never written through a link:
// appending refuses a link and a file with a second name, making anew
// replaces the name itself, and a link is never moved into a file's place.
TEST_F(Win32Files, NoWriteGoesThroughALink) {
    Win32FileSystem fs;
    std::string bytes;
    MakeFile("own.txt", "kept");
    ASSERT_TRUE(CreateHardLinkA("second.tmp", "own.txt", nullptr));
    EXPECT_EQ(fs.OpenWrite("second.tmp", true), nullptr);
    {
        auto f = fs.OpenWrite("second.tmp", false);
        ASSERT_TRUE(f && f->Write("new") && f->Close());
    }
    ASSERT_TRUE(fs.ReadWhole("own.txt", bytes));
    EXPECT_EQ(bytes, "kept");
    ASSERT_TRUE(fs.ReadWhole("second.tmp", bytes));
    EXPECT_EQ(bytes, "new");
    {
        auto f = fs.OpenWrite("second.tmp", true);
        ASSERT_TRUE(f && f->Write(" more") && f->Close());
    }
    {
        auto f = CreateNativeFile(kKoreanUtf8 + ".csv.new");
        ASSERT_TRUE(f && f->Write("csv") && f->Close());
    }
    ASSERT_TRUE(fs.ReadWhole(kKoreanCp949 + ".csv.new", bytes));
    EXPECT_EQ(bytes, "csv");
    // A link made here, where the system lets this program make one, is
    // removed itself, and replaced by the new file.
    if (CreateSymbolicLinkA("made.tmp", "own.txt", 0) && fs.IsLink("made.tmp")) {
        EXPECT_TRUE(fs.Remove("made.tmp"));
        EXPECT_FALSE(fs.IsLink("made.tmp"));
        ASSERT_TRUE(fs.ReadWhole("own.txt", bytes));
        EXPECT_EQ(bytes, "kept");
        ASSERT_TRUE(CreateSymbolicLinkA("made.tmp", "own.txt", 0));
        auto f = fs.OpenWrite("made.tmp", false);
        ASSERT_TRUE(f && f->Write("new") && f->Close());
        EXPECT_FALSE(fs.IsLink("made.tmp"));
        ASSERT_TRUE(fs.ReadWhole("own.txt", bytes));
        EXPECT_EQ(bytes, "kept");
    }

    // The link to a folder the build made beside this program (a Unix one,
    // which Wine shows as a reparse point; Wine shows a link to a file as
    // the file): never moved into a file's place, nor appended to.
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string link(self, n);
    link = link.substr(0, link.rfind('\\') + 1) + "links\\link";
    if (!fs.IsLink(link))
        GTEST_SKIP() << "no link fixture beside the program";
    EXPECT_EQ(fs.OpenWrite(link, true), nullptr);
    EXPECT_FALSE(fs.Rename(link, "moved.tls"));
    EXPECT_FALSE(fs.ReplaceKeepingBackup(link, "own.txt", "own.txt.old"));
    EXPECT_TRUE(fs.IsLink(link));
    EXPECT_FALSE(fs.Exists("own.txt.old"));
    ASSERT_TRUE(fs.ReadWhole("own.txt", bytes));
    EXPECT_EQ(bytes, "kept");
}

TEST(Win32Drives, FixedDrivesFromCToZ) {
    Win32Drives drives;
    const auto list = drives.FixedDrives();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().text, "c:\\"); // C: is a fixed drive under Wine
    char previous = 'b';
    for (const auto& d : list) {
        ASSERT_EQ(d.text.size(), 3u);
        EXPECT_EQ(d.text, d.native);
        EXPECT_EQ(d.textSeparator, '\\');
        EXPECT_GT(d.text[0], previous);
        EXPECT_LE(d.text[0], 'z');
        EXPECT_EQ(d.text.substr(1), ":\\");
        EXPECT_EQ(GetDriveTypeA(d.native.c_str()), static_cast<UINT>(DRIVE_FIXED));
        previous = d.text[0];
    }
}

// What a shared work folder's writers rely on: CREATE_NEW that neither
// replaces nor removes what has the name, a move that never replaces, and this
// process told apart from one that has ended.
TEST_F(Win32Files, ExclusiveCreationAndMovesNeverReplace) {
    Win32FileSystem fs;
    MakeFile("held.lock", "another writer");
    EXPECT_EQ(fs.CreateExclusive("held.lock"), nullptr);
    auto made = fs.CreateExclusive("free.lock");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->Write("mine") && made->Close());

    EXPECT_FALSE(fs.RenameNoReplace("free.lock", "held.lock"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("held.lock", bytes));
    EXPECT_EQ(bytes, "another writer");
    EXPECT_TRUE(fs.RenameNoReplace("free.lock", "moved.lock"));
    EXPECT_FALSE(fs.Exists("free.lock"));
    EXPECT_EQ(fs.Stamp("moved.lock").size, 4u);
    EXPECT_FALSE(fs.Stamp("missing").exists);

    const WriterFacts self = fs.Writer();
    EXPECT_EQ(self.system, "Windows");
    EXPECT_EQ(self.process, GetCurrentProcessId());
    EXPECT_TRUE(fs.ProcessRunning(self.process));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    char line[] = "cmd.exe /c exit 0";
    ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess); // the last handle: the ended process is gone
    EXPECT_FALSE(fs.ProcessRunning(pi.dwProcessId));
}
