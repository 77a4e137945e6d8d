#include "win/Printing.h"

#include "desktop/DesktopTexts.h"
#include "win/Door.h"
#include "win/UiThread.h"

#ifdef OSTRAVION_GDI_REPORTS
#include "win/report/GdiPrinting.h"
#endif

namespace ostravion::win::Printing {

#ifdef OSTRAVION_GDI_REPORTS

namespace {

// The printer jobs go to, with the print-setup dialog's choice, for the
// program's whole run.
gdireport::GdiPrinter& Printer() {
    static gdireport::GdiPrinter printer;
    return printer;
}

} // namespace

bool Find() {
    return Printer().Find();
}

void Setup(HWND owner) {
    if (Door::Scripted()) {
        Door::Note("print setup");
        return;
    }
    if (const char* text = gdireport::GdiPrinter::SetupOutcomeText(Printer().Setup(owner)))
        Door::Show(owner, text);
}

void Print(HWND owner, const ReportLayout& layout, bool preview) {
    if (!preview) {
        if (const char* text = gdireport::PrintOutcomeText(Printer().Print(layout)))
            Door::Show(owner, text);
        return;
    }
    if (Door::Scripted()) {
        // The queued action gets the preview window once it is up, in the
        // preview's own message loop.
        Door::Note("preview: " + std::to_string(layout.PageCount()) + " pages");
        PostToUi([] {
            HWND preview = FindWindowA(gdireport::kPreviewClass, nullptr);
            if (auto action = Door::TakeNextDialogAction())
                action(preview);
            else if (preview)
                PostMessageW(preview, WM_COMMAND, gdireport::kPreviewClose, 0);
        });
    }
    gdireport::ShowPrintPreview(owner, layout, Printer());
}

#else

// A build without the GDI reports has no printer.
bool Find() {
    return false;
}

void Setup(HWND owner) {
    Door::Show(owner, desktop::kNoPrinterToSetUp);
}

void Print(HWND, const ReportLayout&, bool) {}

#endif

} // namespace ostravion::win::Printing
