#include "win/dialogs/DialogUtil.h"

#include "util/Messages.h"
#include "win/Door.h"
#include "win/WinText.h"

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

namespace ostravion::win {

namespace {

std::wstring WindowText(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), int(text.size()))));
    return text;
}

} // namespace

std::string ItemText(HWND dialog, int id) {
    return Narrow(WindowText(GetDlgItem(dialog, id)));
}

void SetItemText(HWND dialog, int id, const std::string& cp949) {
    SetDlgItemTextW(dialog, id, Wide(cp949).c_str());
}

bool ItemsFit(HWND dialog, std::initializer_list<int> ids) {
    for (const int id : ids) {
        const std::wstring text = WindowText(GetDlgItem(dialog, id));
        for (std::size_t i = 0; i < text.size();) {
            const bool pair =
                i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
            const int n = pair ? 2 : 1;
            BOOL lossy = FALSE;
            char out[8];
            const int made =
                text[i] < 0x80
                    ? 1
                    : WideCharToMultiByte(kKoreanCodePage, WC_NO_BEST_FIT_CHARS, text.data() + i, n,
                                          out, sizeof out, nullptr, &lossy);
            if (made <= 0 || lossy) {
                const unsigned code = pair ? 0x10000u + ((unsigned(text[i]) - 0xD800u) << 10) +
                                                 (unsigned(text[i + 1]) - 0xDC00u)
                                           : unsigned(text[i]);
                char point[16];
                wsprintfA(point, "U+%04X", code);
                Door::Show(dialog, std::string(msg::kNoCp949Form) + point);
                SetFocus(GetDlgItem(dialog, id));
                return false;
            }
            i += std::size_t(n);
        }
    }
    return true;
}

void PlaceDialog(HWND dialog) {
    RECT box;
    GetWindowRect(dialog, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND owner = GetWindow(dialog, GW_OWNER);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT over = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &over);
    const LONG w = box.right - box.left, h = box.bottom - box.top;
    LONG x = over.left + ((over.right - over.left) - w) / 2;
    LONG y = over.top + ((over.bottom - over.top) - h) / 2;
    x = std::max(area.left, std::min(x, area.right - w));
    y = std::max(area.top, std::min(y, area.bottom - h));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ScalePixels(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

void ByteLimits::Limit(HWND dialog, int id, std::size_t bytes) {
    // Every character takes at least one byte.
    SendDlgItemMessageW(dialog, id, EM_SETLIMITTEXT, bytes, 0);
    fields_[id] = {bytes, WindowText(GetDlgItem(dialog, id))};
}

bool ByteLimits::OnChange(HWND dialog, int id) {
    const auto it = fields_.find(id);
    if (it == fields_.end() || restoring_)
        return it != fields_.end();
    HWND edit = GetDlgItem(dialog, id);
    const std::wstring text = WindowText(edit);
    if (Narrow(text).size() <= it->second.bytes) {
        it->second.good = text;
        return true;
    }
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::size_t typed = text.size() - std::min(text.size(), it->second.good.size());
    const std::size_t at =
        std::min<std::size_t>(caret - std::min<std::size_t>(caret, typed), it->second.good.size());
    restoring_ = true;
    SetWindowTextW(edit, it->second.good.c_str());
    restoring_ = false;
    SendMessageW(edit, EM_SETSEL, at, at);
    MessageBeep(MB_OK);
    return true;
}

HBITMAP LoadPictureFile(const wchar_t* path, SIZE* size) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER length{};
    HGLOBAL memory = nullptr;
    if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && length.QuadPart < (1LL << 30))
        memory = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(length.QuadPart));
    bool read = false;
    if (memory) {
        void* bytes = GlobalLock(memory);
        DWORD got = 0;
        read = ReadFile(file, bytes, DWORD(length.QuadPart), &got, nullptr) &&
               got == DWORD(length.QuadPart);
        GlobalUnlock(memory);
    }
    CloseHandle(file);
    if (!read) {
        if (memory)
            GlobalFree(memory);
        return nullptr;
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HBITMAP copy = nullptr;
    if (SUCCEEDED(OleLoadPicture(stream, LONG(length.QuadPart), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)))) {
        OLE_HANDLE handle = 0;
        SHORT type = PICTYPE_NONE;
        if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
            SUCCEEDED(picture->get_Handle(&handle)))
            copy = static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(UINT_PTR(handle)),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        picture->Release();
    }
    stream->Release();
    if (copy && size) {
        BITMAP bm{};
        GetObjectW(copy, sizeof bm, &bm);
        *size = {bm.bmWidth, bm.bmHeight};
    }
    return copy;
}

} // namespace ostravion::win
