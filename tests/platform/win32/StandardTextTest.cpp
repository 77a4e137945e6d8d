// The program's text on a console: a console of the test's own shows Korean
// whatever its code page. (Redirected streams: tests/cli/windows_text_test.sh.)
#include "platform/Native.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "platform/win32/WinApi.h"

using namespace ostravion;

namespace {

constexpr wchar_t kChildVariable[] = L"OSTRAVION_CONSOLE_CHILD";
constexpr DWORD kShown = 0, kNotShown = 1, kNoScreen = 2;

// In a process with a console of its own: writes through the program's
// standard text into a screen buffer with a code page without Hangul, and
// reads the cells back.
DWORD ShowOnOwnConsole() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE screen =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE)
        return kNoScreen;
    SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    // Wine's console has a screen to read back only where it has a display
    // (the Windows test stage gives it one).
    if (!GetConsoleScreenBufferInfo(screen, &info))
        return kNoScreen;
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
    if (!ReadConsoleOutputCharacterW(screen, cells, 16, info.dwCursorPosition, &read))
        return kNotShown;
    // A wide character may fill two cells: each is taken once.
    std::wstring shown;
    for (DWORD i = 0; i < read && shown.size() < 5; ++i)
        if (shown.empty() || cells[i] != shown.back() || cells[i] == L' ')
            shown += cells[i];
    return shown == L"\xC810\xAC80 \xACB0\xACFC" ? kShown : kNotShown;
}

} // namespace

// The console part runs in a child with a new console: letting go of the
// console this process was started with would close the standard handles
// its own report is written to.
TEST(StandardText, AConsoleShowsKoreanWhateverItsCodePage) {
    if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0)
        ExitProcess(ShowOnOwnConsole());
    wchar_t exe[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring command = std::wstring(L"\"") + exe +
                           L"\" --gtest_filter=StandardText.AConsoleShowsKoreanWhateverItsCodePage";
    SetEnvironmentVariableW(kChildVariable, L"1");
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    const BOOL made = CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE,
                                     CREATE_NEW_CONSOLE, nullptr, nullptr, &start, &child);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    ASSERT_TRUE(made);
    const DWORD waited = WaitForSingleObject(child.hProcess, 60000);
    DWORD code = kNotShown;
    GetExitCodeProcess(child.hProcess, &code);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, kNotShown);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    if (code == kNoScreen)
        GTEST_SKIP() << "the console has no screen buffer here";
    EXPECT_EQ(code, kShown) << "the console does not show the Korean text";
}
