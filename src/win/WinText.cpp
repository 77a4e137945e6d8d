#include "win/WinText.h"

#include <windows.h>

namespace ostravion::win {

std::wstring Wide(std::string_view cp949) {
    if (cp949.empty())
        return {};
    const int n =
        MultiByteToWideChar(kKoreanCodePage, 0, cp949.data(), int(cp949.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(kKoreanCodePage, 0, cp949.data(), int(cp949.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(kKoreanCodePage, 0, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(kKoreanCodePage, 0, text.data(), int(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

int TextWidth(HWND fontOwner, std::wstring_view text) {
    HDC dc = GetDC(fontOwner);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(fontOwner, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(fontOwner, dc);
    return size.cx;
}

int ScaledForScreen(int pixels) {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int d = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return d > 0 ? d : 96;
    }();
    return MulDiv(pixels, dpi, 96);
}

} // namespace ostravion::win
