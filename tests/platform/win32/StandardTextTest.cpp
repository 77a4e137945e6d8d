// The program's text on a console: a console of the test's own shows Korean
// whatever its code page. (Redirected streams: tests/cli/windows_text_test.sh.)
#include "platform/Native.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "platform/win32/WinApi.h"

using namespace ostravion;

TEST(StandardText, AConsoleShowsKoreanWhateverItsCodePage) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const HANDLE screen =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    // A code page without Hangul: bytes in it could not show Korean.
    SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    // Wine's console has a screen to read back only where it has a display
    // (the Windows test stage gives it one).
    if (!GetConsoleScreenBufferInfo(screen, &info)) {
        FreeConsole();
        GTEST_SKIP() << "the console has no screen buffer here";
    }
    SetStdHandle(STD_OUTPUT_HANDLE, screen);
    {
        const auto streams = TakeStandardStreams(false);
        // "점검 결과" in UTF-8, its last character in two writes.
        std::cout << "\xEC\xA0\x90\xEA\xB2\x80 \xEA\xB2\xB0\xEA" << std::flush;
        std::cout << "\xB3\xBC\n";
    }
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    wchar_t cells[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadConsoleOutputCharacterW(screen, cells, 16, info.dwCursorPosition, &read));
    // A wide character may fill two cells: each is taken once.
    std::wstring shown;
    for (DWORD i = 0; i < read && shown.size() < 5; ++i)
        if (shown.empty() || cells[i] != shown.back() || cells[i] == L' ')
            shown += cells[i];
    EXPECT_EQ(shown, L"\xC810\xAC80 \xACB0\xACFC");
    FreeConsole();
}
