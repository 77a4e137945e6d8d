// The two information boxes and the splash window.
#include "DialogTest.h"
#include "desktop/ResourceTable.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

#include <fstream>

using namespace ostravion;
using namespace ostravion::test;
using win::Door;

namespace {

// A one-colour 24-bit BMP of w × h pixels.
void WritePicture(const char* path, int w, int h, char grey = '\x80') {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, DWORD(stride * h), 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + sizeof info + info.biSizeImage), 0, 0,
                          DWORD(sizeof file + sizeof info)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out << std::string(info.biSizeImage, grey);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

std::vector<HWND> SplashWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (std::wstring(name) == L"OstravionSplash")
                reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct InfoBoxesTest : ScriptedDoor {
    void TearDown() override {
        std::remove("vxa.spl");
        win::EnableSplashScreen(false);
        ScriptedDoor::TearDown();
    }
};

TEST_F(InfoBoxesTest, OrganisationBoxShowsItsText) {
    Door::SetNextDialogAction([](HWND dlg) {
        Picture(dlg, "org-info");
        EXPECT_EQ(Text(dlg), TXT_ORG_CAPTION);
        EXPECT_EQ(Text(dlg, IDC_ORG_TEXT), OrgInfoText());
        Click(dlg, IDOK);
    });
    win::ShowOrgInfoBox(nullptr);
    EXPECT_EQ(Door::TakeLog(),
              std::vector<std::string>{"dialog: " + std::to_string(IDD_ORG_INFO) + " = 1"});
}

TEST_F(InfoBoxesTest, AboutBoxReadsThePictureAtEveryOpening) {
    // The picture fills its control, 291 × 263 dialog units, in the colour
    // of the file read at this opening.
    const auto shows = [](BYTE grey) {
        Door::SetNextDialogAction([grey](HWND dlg) {
            Picture(dlg, ("about-" + std::to_string(grey)).c_str());
            const auto bitmap = reinterpret_cast<HBITMAP>(
                SendDlgItemMessageW(dlg, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
            if (grey == 0) {
                EXPECT_FALSE(bitmap);
            } else {
                ASSERT_TRUE(bitmap);
                RECT area{0, 0, 291, 263};
                MapDialogRect(dlg, &area);
                EXPECT_EQ(BitmapSize(bitmap).cx, area.right);
                EXPECT_EQ(BitmapSize(bitmap).cy, area.bottom);
                RECT control{};
                GetClientRect(GetDlgItem(dlg, IDC_ABOUT_PICTURE), &control);
                EXPECT_EQ(control.bottom, area.bottom);
                HDC dc = CreateCompatibleDC(nullptr);
                HGDIOBJ old = SelectObject(dc, bitmap);
                EXPECT_NEAR(GetRValue(GetPixel(dc, area.right - 3, area.bottom - 3)), grey, 2);
                SelectObject(dc, old);
                DeleteDC(dc);
            }
            Click(dlg, IDOK);
        });
        win::ShowAboutBox(nullptr);
    };
    shows(0);
    WritePicture("vxa.spl", 40, 30, '\x80');
    shows(0x80);
    WritePicture("vxa.spl", 64, 16, '\x40');
    shows(0x40);
}

TEST_F(InfoBoxesTest, SplashShowsOnceForOneSecond) {
    WritePicture("vxa.spl", 400, 300);
    win::ShowSplashScreen(nullptr);
    EXPECT_TRUE(SplashWindows().empty()) << "not enabled";

    win::EnableSplashScreen(true);
    win::ShowSplashScreen(nullptr);
    win::ShowSplashScreen(nullptr);
    const std::vector<HWND> shown = SplashWindows();
    ASSERT_EQ(shown.size(), 1u);
    RECT r;
    GetWindowRect(shown[0], &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    // A click does not end it; the timer does.
    SendMessageW(shown[0], WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(IsWindow(shown[0]));
    const auto start = GetTickCount();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(shown[0]); }, 3000));
    EXPECT_TRUE(SplashWindows().empty());
    EXPECT_GE(GetTickCount() - start, 800u);
}

TEST_F(InfoBoxesTest, NoSplashWithoutAPicture) {
    win::EnableSplashScreen(true);
    win::ShowSplashScreen(nullptr);
    EXPECT_TRUE(SplashWindows().empty());
}

} // namespace

// A Yes/No box closed without an answer (Escape or the close box give
// IDCANCEL under Wine) is shown again; only Yes or No answers it.
TEST(YesNoBox, AClosedBoxIsAskedAgainNeverTakenAsNo) {
    struct Case {
        std::vector<int> results;
        bool yes;
        std::size_t shown;
    };
    for (const Case& c :
         {Case{{IDCANCEL, IDCANCEL, IDYES}, true, 3}, Case{{IDCANCEL, IDNO}, false, 2},
          Case{{IDYES}, true, 1}, Case{{0}, false, 1}}) {
        std::size_t shown = 0;
        EXPECT_EQ(Door::UntilAnswered([&] { return c.results.at(shown++); }), c.yes);
        EXPECT_EQ(shown, c.shown);
    }
}
