// The audit the report tests print.
#pragma once

#include "platform/Native.h"
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

namespace ostravion::test {

inline constexpr ReportKind kAllReports[] = {ReportKind::ByPc, ReportKind::BySoftware,
                                             ReportKind::ConfirmationSheet, ReportKind::Pledge,
                                             ReportKind::Ledger};

// A new Wine prefix has none.
inline bool SystemHasPrinters() {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    return needed > 0;
}

inline std::string FixtureFolder() {
    std::string path = OSTRAVION_REPORT_FIXTURE;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

class SilentMessages final : public MessagePort {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    bool Ask(const std::string&) override { return false; }
    std::vector<std::string> shown;
};

// The consolidated and written audit of the command line's report tests
// (tests/cli/report), read as the print command reads it.
class AuditReports : public ::testing::Test {
protected:
    void SetUp() override {
        char here[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, here);
        previous_ = here;
        ASSERT_TRUE(SetCurrentDirectoryA(FixtureFolder().c_str())) << FixtureFolder();
    }
    void TearDown() override { SetCurrentDirectoryA(previous_.c_str()); }

    ReportLayout Prepare(ReportKind kind) {
        CAuditUtil util(platform_->Files(), messages_);
        EXPECT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
        util.FollowLowerCaseTotal();
        util.SetReportKind(static_cast<unsigned char>(kind));
        bool read = false;
        ReportLayout layout =
            PrepareReport(util, kind, TotalFileReaders(util), SheetView::Normal, &read);
        EXPECT_TRUE(read);
        EXPECT_TRUE(messages_.shown.empty());
        return layout;
    }

    std::unique_ptr<NativePlatform> platform_ = MakeNativePlatform();
    SilentMessages messages_;
    std::string previous_;
};

} // namespace ostravion::test
