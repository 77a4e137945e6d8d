// The printer lookup in a system without printers (a new Wine prefix has
// none): every way to a printer says so, and nothing waits on a dialog.
#include "AuditFixture.h"
#include "desktop/DesktopTexts.h"
#include "win/report/GdiPrinting.h"

using namespace ostravion;
using namespace ostravion::gdireport;

namespace {

TEST(GdiPrinter, WithoutPrintersEveryRequestSaysThereIsNone) {
    if (test::SystemHasPrinters())
        GTEST_SKIP() << "this system has a printer";
    GdiPrinter printer;
    EXPECT_FALSE(printer.Find());
    EXPECT_EQ(printer.Setup(nullptr), GdiPrinter::SetupResult::NoPrinter);
    // The setup dialog's own message does not send the user back to it.
    EXPECT_STREQ(GdiPrinter::SetupOutcomeText(GdiPrinter::SetupResult::NoPrinter),
                 desktop::kNoPrinterToSetUp);
    EXPECT_EQ(GdiPrinter::SetupOutcomeText(GdiPrinter::SetupResult::Cancelled), nullptr);
    EXPECT_FALSE(printer.Choose("Nowhere"));
    const ReportLayout layout(ReportKind::Pledge);
    EXPECT_EQ(printer.Print(layout), PrintOutcome::NoPrinter);
    EXPECT_STREQ(PrintOutcomeText(PrintOutcome::NoPrinter), desktop::kNoPrinter);
    EXPECT_EQ(PrintOutcomeText(PrintOutcome::Printed), nullptr);
    EXPECT_EQ(printer.InformationContext(), nullptr);
}

TEST(GdiPrinter, EveryJobIsAnUprightA4PageUnlessTheSetupChoseThePaper) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmPaperSize = DMPAPER_LETTER;
    mode.dmPaperLength = 2000;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH;
    UprightPage(mode, true);
    EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(mode.dmFields, DWORD(DM_ORIENTATION | DM_PAPERSIZE));
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmPaperSize = DMPAPER_LETTER;
    UprightPage(mode, false);
    EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(mode.dmPaperSize, DMPAPER_LETTER);
}

} // namespace
