#include "win/ScreenPicture.h"

#include <chrono>
#include <cstdio>

namespace ostravion::win {

bool PumpMessagesUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool SaveScreenPicture(const RECT& area, const std::wstring& path) {
    const int cx = area.right - area.left, cy = area.bottom - area.top;
    if (cx <= 0 || cy <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool written = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, cx, cy, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        // Rows are kept to whole 4-byte words, as the file holds them.
        const DWORD stride = DWORD((cx * 3 + 3) & ~3), size = stride * DWORD(cy);
        const DWORD head = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        const BITMAPFILEHEADER file{0x4D42, head + size, 0, 0, head};
        if (FILE* f = _wfopen(path.c_str(), L"wb")) {
            written = std::fwrite(&file, sizeof file, 1, f) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
                      std::fwrite(bits, 1, size, f) == size;
            written = std::fclose(f) == 0 && written;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

} // namespace ostravion::win
