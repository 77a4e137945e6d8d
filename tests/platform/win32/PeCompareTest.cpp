// The portable version reader against the system's own GetFileVersionInfoA:
// the same four strings for every PE file with a version resource that Wine
// ships in its Windows folder, and for the reader's own fixtures.
#include "platform/pe/PeVersion.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WinApi.h"

using namespace ostravion;
using namespace ostravion::win32;

namespace {

const char* const kNames[] = {"CompanyName", "FileDescription", "ProductName", "ProductVersion"};

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\') + 1);
}

// Every file under a folder, depth first; links are not followed.
void CollectFiles(const std::string& folder, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    const HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> subfolders;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            subfolders.push_back(folder + "\\" + name);
        else
            out.push_back(folder + "\\" + name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    for (const auto& s : subfolders)
        CollectFiles(s, out);
}

bool HasVersionResource(const std::string& path) {
    DWORD handle = 0;
    return GetFileVersionInfoSizeA(path.c_str(), &handle) != 0;
}

// The differences between the two readers over a list of files, one line each.
struct Comparison {
    std::size_t filesWithResource = 0;
    std::size_t stringsCompared = 0;
    std::vector<std::string> differences;
};

Comparison Compare(const std::vector<std::string>& files) {
    Win32VersionStrings system;
    Win32Utf16ToAnsi conv;
    pe::PeVersionStrings portable(conv);
    Comparison c;
    for (const auto& f : files) {
        if (!HasVersionResource(f))
            continue;
        ++c.filesWithResource;
        for (const char* name : kNames) {
            const std::string expected = system.Read(Narrow(CP_UTF8, Widen(CP_ACP, f)), name);
            const std::string actual = portable.Read(f, name);
            ++c.stringsCompared;
            if (expected != actual)
                c.differences.push_back(f + " " + name + ": system \"" + expected +
                                        "\", portable \"" + actual + "\"");
        }
    }
    return c;
}

std::string FirstLines(const std::vector<std::string>& lines, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < lines.size() && i < n; ++i)
        s += lines[i] + "\n";
    return s;
}

} // namespace

TEST(PeCompare, WindowsFolderOfWine) {
    char windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_GT(n, 0u);
    std::vector<std::string> files;
    CollectFiles(std::string(windows, n), files);
    const Comparison c = Compare(files);
    EXPECT_GT(c.filesWithResource, 200u) << "of " << files.size() << " files";
    EXPECT_TRUE(c.differences.empty())
        << c.differences.size() << " of " << c.stringsCompared << " strings differ:\n"
        << FirstLines(c.differences, 20);
    std::printf("compared %zu strings of %zu files with a version resource\n", c.stringsCompared,
                c.filesWithResource);
}

TEST(PeCompare, ReaderFixtures) {
    // The reader's own fixtures (Korean, Unicode, several languages, two
    // lines, no translation ...), built beside the tests.
    std::vector<std::string> files;
    CollectFiles(ProgramFolder() + "..\\pe-fixtures", files);
    files.push_back(ProgramFolder() + "version_fixture.dll");
    const Comparison c = Compare(files);
    if (c.filesWithResource < 2)
        GTEST_SKIP() << "no fixtures of the reader beside the tests";
    EXPECT_TRUE(c.differences.empty())
        << c.differences.size() << " of " << c.stringsCompared << " strings differ:\n"
        << FirstLines(c.differences, 40);
}

TEST(PeCompare, KoreanFileName) {
    // The same file under a Korean name, in a Korean folder.
    char tmp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof tmp, tmp), 0u);
    const std::string folder = std::string(tmp) + "\xB1\xB9\xB3\xBB"; // 국내
    const std::string copy = folder + "\\\xC7\xD1\xB1\xDB.dll";       // 한글.dll
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "version_fixture.dll").c_str(), copy.c_str(), FALSE));
    {
        pe::FileSource source(copy); // the ANSI path opens through the C library
        EXPECT_TRUE(source.IsOpen());
    }
    const Comparison c = Compare({copy});
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(c.filesWithResource, 1u);
    EXPECT_TRUE(c.differences.empty()) << FirstLines(c.differences, 4);
}
