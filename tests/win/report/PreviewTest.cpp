// The print-preview window, driven by its own commands as its buttons send
// them: opened, paged through, zoomed and closed. It needs a display.
#include "AuditFixture.h"
#include "desktop/DesktopTexts.h"
#include "win/report/GdiPrinting.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace ostravion;
using namespace ostravion::gdireport;
using ostravion::test::AuditReports;

namespace {

struct State {
    int first = 0;
    int shown = 0;
    int zoom = 0;
    bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& out, const State& s) {
    return out << "page " << s.first << ", " << s.shown << " shown, zoom " << s.zoom;
}

State Query(HWND preview) {
    const LRESULT r = SendMessageA(preview, kPreviewState, 0, 0);
    return {LOWORD(r), HIWORD(r) / 16, HIWORD(r) % 16};
}

HWND WaitForPreview() {
    for (int i = 0; i < 500; ++i) {
        if (HWND w = FindWindowA(kPreviewClass, nullptr))
            if (IsWindowVisible(w))
                return w;
        Sleep(20);
    }
    return nullptr;
}

bool SystemHasPrinters() {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    return needed > 0;
}

// The message box the preview shows over itself.
HWND WaitForMessageBox(HWND preview) {
    for (int i = 0; i < 500; ++i) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)))
            if (GetWindow(box, GW_OWNER) == preview && IsWindowVisible(box))
                return box;
        Sleep(20);
    }
    return nullptr;
}

// Buttons of the window, by caption.
std::vector<std::string> Captions(HWND preview) {
    std::vector<std::string> captions;
    EnumChildWindows(
        preview,
        [](HWND child, LPARAM list) -> BOOL {
            char cls[32];
            char text[128];
            GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, "Button") == 0) {
                GetWindowTextA(child, text, sizeof text);
                reinterpret_cast<std::vector<std::string>*>(list)->push_back(text);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&captions));
    return captions;
}

// Windows need a display; without one the preview cannot be shown.
bool CanMakeWindows() {
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!probe)
        return false;
    DestroyWindow(probe);
    return true;
}

TEST(PrintPreview, PagesThroughZoomsAndCloses) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display";
    ReportData data;
    for (int i = 0; i < 80; ++i)
        data.rows.push_back({"A", "Maker", "1", "2", "Program " + std::to_string(i), "1", "0"});
    const ReportLayout layout(ReportKind::BySoftware, data);
    ASSERT_EQ(layout.PageCount(), 4);

    // The owner is disabled while the preview is open, and enabled again after.
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    std::vector<State> seen;
    std::vector<std::string> captions;
    std::atomic<bool> ownerDisabled{false};
    std::atomic<bool> closedByCommand{false};
    std::string noPrinterText;
    std::atomic<bool> stillOpenAfterPrint{false};
    std::thread driver([&] {
        HWND preview = WaitForPreview();
        if (!preview)
            return;
        ownerDisabled = !IsWindowEnabled(owner);
        captions = Captions(preview);
        const auto command = [&](int id) {
            SendMessageA(preview, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            seen.push_back(Query(preview));
        };
        seen.push_back(Query(preview));
        command(kPreviewNext);
        command(kPreviewNext);
        command(kPreviewNext);
        command(kPreviewNext); // past the last page: stays
        command(kPreviewPrevious);
        command(kPreviewTwoPages);
        command(kPreviewNext);
        command(kPreviewNext); // pages 3 and 4 are the last pair
        command(kPreviewZoomIn);
        command(kPreviewZoomIn);
        command(kPreviewZoomIn); // the largest step: stays
        command(kPreviewZoomOut);
        command(kPreviewZoomOut);
        command(kPreviewOnePage);
        if (!SystemHasPrinters()) {
            // Printing from the preview says there is no printer, over the
            // preview, which stays open.
            PostMessageA(preview, WM_COMMAND, MAKEWPARAM(kPreviewPrint, BN_CLICKED), 0);
            HWND box = WaitForMessageBox(preview);
            if (box) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                noPrinterText = text;
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            }
            stillOpenAfterPrint = IsWindow(preview) && IsWindowVisible(preview);
        }
        SendMessageA(preview, WM_COMMAND, MAKEWPARAM(kPreviewClose, BN_CLICKED), 0);
        closedByCommand = !IsWindow(preview);
    });
    GdiPrinter printer;
    ShowPrintPreview(owner, layout, printer);
    driver.join();

    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(closedByCommand);
    EXPECT_EQ(FindWindowA(kPreviewClass, nullptr), nullptr);
    const std::vector<State> expected{
        {1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0}, {4, 1, 0}, {3, 1, 0}, {3, 2, 0}, {3, 2, 0},
        {3, 2, 0}, {3, 2, 1}, {3, 2, 2}, {3, 2, 2}, {3, 2, 1}, {3, 2, 0}, {3, 1, 0},
    };
    EXPECT_EQ(seen, expected);
    if (!SystemHasPrinters()) {
        EXPECT_EQ(noPrinterText, desktop::kNoPrinter);
        EXPECT_TRUE(stillOpenAfterPrint);
    }
    // The buttons speak Korean: "인쇄(&P)..." first, "닫기(&C)" last.
    ASSERT_EQ(captions.size(), 7u);
    EXPECT_EQ(captions.front(), "\xC0\xCE\xBC\xE2(&P)...");
    EXPECT_EQ(captions.back(), "\xB4\xDD\xB1\xE2(&C)");
    DestroyWindow(owner);
}

// Writes what the screen shows of the window as a 24-bit BMP file.
void SaveScreenshot(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD row = static_cast<DWORD>((w * 3 + 3) & ~3);
    std::vector<BYTE> pixels(row * static_cast<DWORD>(h));
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
        sizeof(BITMAPFILEHEADER) + sizeof info};
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// Every report and form of the audit opens in the preview on its first page
// and closes. With OSTRAVION_SCREENSHOTS naming a folder, each preview is
// saved there as preview-K.bmp (and the sheet two pages wide and zoomed).
TEST_F(AuditReports, EveryReportPreviewsAndCloses) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display";
    const char* shots = std::getenv("OSTRAVION_SCREENSHOTS");
    for (ReportKind kind : test::kAllReports) {
        const int k = static_cast<int>(kind);
        SCOPED_TRACE("kind " + std::to_string(k));
        const ReportLayout layout = Prepare(kind);
        State first;
        std::string label;
        std::thread driver([&] {
            HWND preview = WaitForPreview();
            if (!preview)
                return;
            first = Query(preview);
            Sleep(shots ? 1500 : 100);
            const auto shot = [&](const std::string& name) {
                if (shots)
                    SaveScreenshot(preview, std::string(shots) + "\\" + name + ".bmp");
            };
            shot("preview-" + std::to_string(k));
            if (kind == ReportKind::ConfirmationSheet && shots) {
                SendMessageA(preview, WM_COMMAND, kPreviewTwoPages, 0);
                Sleep(1000);
                shot("preview-" + std::to_string(k) + "-two");
                SendMessageA(preview, WM_COMMAND, kPreviewZoomIn, 0);
                SendMessageA(preview, WM_COMMAND, kPreviewZoomIn, 0);
                Sleep(1000);
                shot("preview-" + std::to_string(k) + "-zoom");
            }
            PostMessageA(preview, WM_CLOSE, 0, 0);
        });
        GdiPrinter printer;
        ShowPrintPreview(nullptr, layout, printer);
        driver.join();
        EXPECT_EQ(first, (State{1, 1, 0}));
        EXPECT_EQ(FindWindowA(kPreviewClass, nullptr), nullptr);
    }
}

} // namespace
