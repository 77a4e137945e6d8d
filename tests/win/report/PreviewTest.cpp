// The print-preview window, driven by its own commands as its buttons send
// them: opened, paged through, zoomed, printed without a printer and closed.
// It needs a display (preview_test.sh gives it one).
#include "AuditFixture.h"
#include "desktop/DesktopTexts.h"
#include "win/report/GdiPrinting.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

using namespace ostravion;
using namespace ostravion::gdireport;
using ostravion::test::AuditReports;

namespace {

using State = std::array<int, 3>; // first page shown, pages side by side, zoom step

State Query(HWND preview) {
    const LRESULT r = SendMessageA(preview, kPreviewState, 0, 0);
    return {LOWORD(r), HIWORD(r) / 16, HIWORD(r) % 16};
}

// The first visible window `find` gives within ten seconds.
HWND WaitFor(const std::function<HWND()>& find) {
    for (int i = 0; i < 500; ++i, Sleep(20))
        if (HWND w = find(); w && IsWindowVisible(w))
            return w;
    return nullptr;
}

HWND Preview() {
    return FindWindowA(kPreviewClass, nullptr);
}

bool CanMakeWindows() {
    HWND probe =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    return probe && DestroyWindow(probe);
}

std::string ItemText(HWND window, int id) {
    char text[512] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

TEST(PrintPreview, PagesThroughZoomsPrintsAndCloses) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display";
    ReportData data;
    data.rows.assign(80, {"A", "Maker", "1", "2", "Program", "1", "0"});
    const ReportLayout layout(ReportKind::BySoftware, data);
    ASSERT_EQ(layout.PageCount(), 4);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    std::vector<State> seen;
    std::string printCaption, closeCaption, noPrinter;
    bool ownerDisabled = false, openAfterPrint = false, closed = false;
    std::thread driver([&] {
        HWND preview = WaitFor(Preview);
        if (!preview)
            return;
        ownerDisabled = !IsWindowEnabled(owner);
        printCaption = ItemText(preview, kPreviewPrint);
        closeCaption = ItemText(preview, kPreviewClose);
        seen.push_back(Query(preview));
        for (int id : {kPreviewNext, kPreviewNext, kPreviewNext, kPreviewNext, kPreviewPrevious,
                       kPreviewTwoPages, kPreviewNext, kPreviewZoomIn, kPreviewZoomIn,
                       kPreviewZoomIn, kPreviewZoomOut, kPreviewZoomOut, kPreviewOnePage,
                       kPreviewNext, kPreviewTwoPages, kPreviewOnePage}) {
            SendMessageA(preview, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            seen.push_back(Query(preview));
        }
        // The buttons' mnemonics, typed with Alt: 이전 페이지(&V).
        PostMessageA(GetDlgItem(preview, kPreviewNext), WM_SYSCHAR, 'v', 1 << 29);
        for (int i = 0; i < 250 && Query(preview)[0] == 3; ++i)
            Sleep(20);
        seen.push_back(Query(preview));
        if (!test::SystemHasPrinters()) {
            // Printing says there is no printer, over the preview, which stays.
            PostMessageA(preview, WM_COMMAND, kPreviewPrint, 0);
            if (HWND box = WaitFor([&] {
                    HWND b = FindWindowA("#32770", nullptr);
                    return b && GetWindow(b, GW_OWNER) == preview ? b : nullptr;
                })) {
                noPrinter = ItemText(box, 0xFFFF);
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            }
            openAfterPrint = IsWindowVisible(preview);
        }
        SendMessageA(preview, WM_COMMAND, kPreviewClose, 0);
        closed = !IsWindow(preview);
    });
    GdiPrinter printer;
    ShowPrintPreview(owner, layout, printer);
    driver.join();

    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(closed);
    EXPECT_EQ(seen, (std::vector<State>{{1, 1, 0},
                                        {2, 1, 0},
                                        {3, 1, 0},
                                        {4, 1, 0},
                                        {4, 1, 0}, // past the last page: stays
                                        {3, 1, 0},
                                        {3, 2, 0},
                                        {3, 2, 0}, // 3 and 4 are the last pair
                                        {3, 2, 1},
                                        {3, 2, 2},
                                        {3, 2, 2}, // the largest step: stays
                                        {3, 2, 1},
                                        {3, 2, 0},
                                        {3, 1, 0},
                                        {4, 1, 0},
                                        {3, 2, 0}, // two from the last page: the last two
                                        {3, 1, 0},
                                        {2, 1, 0}}));   // Alt+V: the previous page
    EXPECT_EQ(printCaption, "\xC0\xCE\xBC\xE2(&P)..."); // "인쇄(&P)..."
    EXPECT_EQ(closeCaption, "\xB4\xDD\xB1\xE2(&C)");    // "닫기(&C)"
    if (!test::SystemHasPrinters()) {
        EXPECT_EQ(noPrinter, desktop::kNoPrinter);
        EXPECT_TRUE(openAfterPrint);
    }
    DestroyWindow(owner);
}

// An enlarged page scrolls by the keyboard: the arrows a step, Home and End
// to its top and bottom; Page Down still turns the page.
TEST(PrintPreview, AnEnlargedPageScrollsByTheKeys) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display";
    ReportData data;
    data.rows.assign(80, {"A", "Maker", "1", "2", "Program", "1", "0"});
    const ReportLayout layout(ReportKind::BySoftware, data);
    std::vector<std::array<int, 3>> seen; // vertical, horizontal, first page
    bool unzoomedStays = false;
    std::thread driver([&] {
        HWND preview = WaitFor(Preview);
        if (!preview)
            return;
        HWND pages = FindWindowExA(preview, nullptr, "OstravionPreviewPages", nullptr);
        HWND button = GetDlgItem(preview, kPreviewNext);
        const auto key = [&](WPARAM vk) {
            const std::array<int, 3> before = {GetScrollPos(pages, SB_VERT),
                                               GetScrollPos(pages, SB_HORZ), Query(preview)[0]};
            PostMessageA(button, WM_KEYDOWN, vk, 1);
            for (int i = 0; i < 50; ++i, Sleep(20))
                if (std::array<int, 3>{GetScrollPos(pages, SB_VERT), GetScrollPos(pages, SB_HORZ),
                                       Query(preview)[0]} != before)
                    break;
            seen.push_back(
                {GetScrollPos(pages, SB_VERT), GetScrollPos(pages, SB_HORZ), Query(preview)[0]});
        };
        // Not enlarged: Down is no scroll.
        key(VK_DOWN);
        unzoomedStays = seen.back() == std::array<int, 3>{0, 0, 1};
        seen.clear();
        SendMessageA(preview, WM_COMMAND, MAKEWPARAM(kPreviewZoomIn, BN_CLICKED), 0);
        SendMessageA(preview, WM_COMMAND, MAKEWPARAM(kPreviewZoomIn, BN_CLICKED), 0);
        for (WPARAM vk : {VK_DOWN, VK_DOWN, VK_END, VK_HOME, VK_RIGHT, VK_LEFT, VK_NEXT})
            key(vk);
        SendMessageA(preview, WM_COMMAND, kPreviewClose, 0);
    });
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    GdiPrinter printer;
    ShowPrintPreview(owner, layout, printer);
    driver.join();
    DestroyWindow(owner);
    EXPECT_TRUE(unzoomedStays);
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[0][0], 40);
    EXPECT_EQ(seen[1][0], 80);
    EXPECT_GT(seen[2][0], 80); // End: the bottom
    EXPECT_EQ(seen[3][0], 0);  // Home: the top
    EXPECT_EQ(seen[4][1], 40);
    EXPECT_EQ(seen[5][1], 0);
    EXPECT_EQ(seen[6][2], 2); // Page Down: the next page
}

// What the screen shows of a window, as a 24-bit BMP file.
void SaveScreenshot(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    DeleteObject(SelectObject(dc, bitmap));
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    DeleteDC(dc);
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> pixels(static_cast<std::size_t>(((w * 3 + 3) & ~3) * h));
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    const DWORD head = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(head + pixels.size()), 0, 0, head};
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

// Every report and form of the audit opens on its first page and closes.
// With OSTRAVION_SCREENSHOTS naming a folder, each preview is saved there as
// preview-K.bmp, and the sheet also two pages wide and zoomed.
TEST_F(AuditReports, EveryReportPreviewsAndCloses) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display";
    const char* shots = std::getenv("OSTRAVION_SCREENSHOTS");
    for (ReportKind kind : test::kAllReports) {
        const std::string name = "preview-" + std::to_string(static_cast<int>(kind));
        SCOPED_TRACE(name);
        const ReportLayout layout = Prepare(kind);
        State first{};
        std::thread driver([&] {
            HWND preview = WaitFor(Preview);
            if (!preview)
                return;
            first = Query(preview);
            const auto shot = [&](const std::string& suffix, int command) {
                SendMessageA(preview, WM_COMMAND, command, 0);
                Sleep(1000);
                SaveScreenshot(preview, std::string(shots) + "\\" + name + suffix + ".bmp");
            };
            if (shots)
                shot("", 0);
            if (shots && kind == ReportKind::ConfirmationSheet) {
                shot("-two", kPreviewTwoPages);
                shot("-zoom", kPreviewZoomIn);
            }
            PostMessageA(preview, WM_CLOSE, 0, 0);
        });
        GdiPrinter printer;
        ShowPrintPreview(nullptr, layout, printer);
        driver.join();
        EXPECT_EQ(first, (State{1, 1, 0}));
        EXPECT_EQ(Preview(), nullptr);
    }
}

} // namespace
