// The program's text on the standard streams: a console of the test's own
// shows Korean whatever its code page, a redirected stream gets the console's
// code page (or the ANSI one), and --utf8 gets UTF-8.
#include "platform/Native.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "platform/win32/WinApi.h"

using namespace ostravion;

namespace {

// The standard handles put back as they were when the test ends.
class HandlesKept {
public:
    HandlesKept()
        : in_(GetStdHandle(STD_INPUT_HANDLE)), out_(GetStdHandle(STD_OUTPUT_HANDLE)),
          err_(GetStdHandle(STD_ERROR_HANDLE)) {}
    ~HandlesKept() {
        SetStdHandle(STD_INPUT_HANDLE, in_);
        SetStdHandle(STD_OUTPUT_HANDLE, out_);
        SetStdHandle(STD_ERROR_HANDLE, err_);
    }

private:
    HANDLE in_, out_, err_;
};

// "점검 결과" (inspection result) in UTF-8, UTF-16 and CP949.
const std::string kUtf8 = "\xEC\xA0\x90\xEA\xB2\x80 \xEA\xB2\xB0\xEA\xB3\xBC";
const std::wstring kWide = L"\xC810\xAC80 \xACB0\xACFC";
const std::string kCp949 = "\xC1\xA1\xB0\xCB \xB0\xE1\xB0\xFA";

// Everything written to a file standing in for standard output.
std::string RedirectedOutput(bool utf8, const std::string& text) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "ostravion-standard-text.txt";
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    {
        HandlesKept kept;
        SetStdHandle(STD_OUTPUT_HANDLE, file);
        const auto streams = TakeStandardStreams(utf8);
        std::cout << text << "\n";
        // A character cut in two by the writes comes out whole.
        std::cout << text.substr(0, 1);
        std::cout << text.substr(1) << std::flush;
    }
    std::string bytes(4096, '\0');
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    bytes.resize(read);
    return bytes;
}

} // namespace

TEST(StandardText, RedirectedOutputIsInTheConsoleCodePageOrUtf8WhenAsked) {
    // The test runs in the Korean locale: CP949 is the ANSI and console code page.
    ASSERT_EQ(GetACP(), 949u);
    EXPECT_EQ(RedirectedOutput(false, kUtf8 + " C:\\CheckOut"),
              kCp949 + " C:\\CheckOut\n" + kCp949 + " C:\\CheckOut");
    EXPECT_EQ(RedirectedOutput(true, kUtf8), kUtf8 + "\n" + kUtf8);
}

TEST(StandardText, AConsoleShowsKoreanWhateverItsCodePage) {
    HandlesKept kept;
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    // A screen of the test's own, which it reads back.
    const HANDLE screen =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    SetStdHandle(STD_OUTPUT_HANDLE, screen);
    // A code page without Hangul: bytes in it could not show Korean.
    SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    // Wine's console has a screen to read back only where it has a display
    // (the Windows test stage gives it one).
    if (!GetConsoleScreenBufferInfo(screen, &info)) {
        CloseHandle(screen);
        FreeConsole();
        GTEST_SKIP() << "the console has no screen buffer here";
    }
    const COORD start = info.dwCursorPosition;
    {
        const auto streams = TakeStandardStreams(false);
        std::cout << kUtf8 << "\n" << std::flush;
    }
    wchar_t cells[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadConsoleOutputCharacterW(screen, cells, 16, COORD{0, start.Y}, &read));
    // A wide character may take two cells: the text is read without them.
    std::wstring shown;
    for (DWORD i = 0; i < read && shown.size() < kWide.size(); ++i)
        if (shown.empty() || cells[i] != shown.back() || cells[i] == L' ')
            shown += cells[i];
    EXPECT_EQ(shown, kWide);
    CloseHandle(screen);
    FreeConsole();
}
