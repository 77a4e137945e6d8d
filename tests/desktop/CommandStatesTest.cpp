// The command-state table, event by event.
#include "desktop/CommandStates.h"

#include <gtest/gtest.h>

#include <string>

namespace ostravion {
namespace {

// Every menu item and button as enabled (1) or greyed (0), in a fixed order:
// 열기 저장 다른이름 인쇄 미리보기 인쇄설정 종료 검사 취합 결과작성 정보 정보
std::string MenuRow(const CommandStates& s) {
    std::string r;
    for (int id :
         {int(ID_FILE_OPEN), int(ID_FILE_SAVE), int(ID_FILE_SAVE_AS), int(ID_FILE_PRINT),
          int(ID_FILE_PREVIEW), int(ID_FILE_PRINT_SETUP), int(ID_APP_EXIT), s.ScanItemId(),
          int(ID_CONSOLIDATE), int(ID_WRITE_RESULT), int(ID_ABOUT_ORG), int(ID_ABOUT_PRODUCT)})
        r += s.MenuEnabled(id) ? '1' : '0';
    return r;
}

// 검사시작 검사중지 검사취합 결과작성 인쇄
std::string ButtonRow(const CommandStates& s) {
    std::string r;
    for (int id : {IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT, IDC_PRINT})
        r += s.ButtonEnabled(id) ? '1' : '0';
    return r;
}

TEST(CommandStates, EventByEvent) {
    CommandStates s;
    s.WindowCreated();
    EXPECT_EQ(MenuRow(s), "100001111011");
    EXPECT_EQ(ButtonRow(s), "10100");
    EXPECT_EQ(s.ScanItemId(), ID_SCAN_START);

    s.DocumentConfirmed();
    EXPECT_EQ(MenuRow(s), "111111111111");
    EXPECT_EQ(ButtonRow(s), "10111");

    s.ScanStarted();
    EXPECT_EQ(s.ScanItemId(), ID_SCAN_STOP);
    EXPECT_EQ(MenuRow(s), "000001110011");
    EXPECT_EQ(ButtonRow(s), "01000");
    EXPECT_TRUE(s.MenuEnabled(ID_SCAN_STOP));
    EXPECT_FALSE(s.MenuEnabled(ID_SCAN_START));

    // The walk's end: the menu is back, 검사시작 and 검사중지 wait for the answer.
    s.ScanCompleted();
    EXPECT_EQ(s.ScanItemId(), ID_SCAN_START);
    EXPECT_EQ(MenuRow(s), "100001111011");
    EXPECT_EQ(ButtonRow(s), "01100");

    // After a scan only start, open and consolidate are usable, even when a
    // total was loaded before it.
    s.ScanStopped();
    EXPECT_EQ(MenuRow(s), "100001111011");
    EXPECT_EQ(ButtonRow(s), "10100");
}

} // namespace
} // namespace ostravion
