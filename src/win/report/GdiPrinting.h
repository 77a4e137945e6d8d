// Printing and print preview of the reports on Windows, for the main window
// (which implements the desktop port's FindPrinter, PrintReport and
// PrintSetup with it) and the command line.
//
//     GdiPrinter printer;                       // one for the program's life
//     printer.Setup(mainWindow);                // 인쇄 설정: the choice is kept
//     if (!printer.Find()) { /* the no-printer message */ }
//     PrintOutcome done = printer.Print(layout);        // a direct job, no dialog
//     if (const char* text = PrintOutcomeText(done)) { /* show it */ }
//     ShowPrintPreview(mainWindow, layout, printer);    // modal, until closed
//
// Jobs go to the printer chosen in the print-setup dialog (or by name),
// otherwise to the system's default printer, one printed page per page of the
// layout, in portrait on A4 unless the setup dialog chose another paper.
// All texts are CP949; file paths are UTF-8.
//
// The preview window (class kPreviewClass, owned by the given window, which
// is disabled while it is open) shows whole pages scaled to fit, one or two
// at a time, and takes the PreviewCommand ids as WM_COMMAND (its buttons send
// them; tests post them). kPreviewState answers what it shows.
#pragma once

#include "views/ReportLayout.h"

#include <windows.h>

#include <string>

namespace ostravion::gdireport {

enum class PrintOutcome {
    Printed,
    NoPrinter,   // the system has no printer to send the job to
    StartFailed, // the printer's device or the document could not be started
    Failed,      // the job was started but a page or its end was refused
};

// Turns a job's settings upright, and onto A4 paper with `a4` (every job but
// one whose paper the print-setup dialog chose).
void UprightPage(DEVMODEA& mode, bool a4);

// The message to show for an outcome (CP949); null for Printed.
const char* PrintOutcomeText(PrintOutcome outcome);

class GdiPrinter {
public:
    GdiPrinter() = default;
    ~GdiPrinter();
    GdiPrinter(const GdiPrinter&) = delete;
    GdiPrinter& operator=(const GdiPrinter&) = delete;

    // Looks up the printer jobs go to: the one chosen (Setup, Choose) while
    // it still exists, else the system's default printer, else the first
    // printer the system lists. False when there is none.
    bool Find();
    // The printer Find found (CP949).
    const std::string& Name() const { return name_; }

    // Chooses a printer by name for later jobs; false (and nothing changed)
    // when the system has no printer of that name.
    bool Choose(const std::string& name);

    enum class SetupResult { Chosen, Cancelled, NoPrinter };
    // The system's print-setup dialog over `owner`; its printer and settings
    // are kept for later jobs. NoPrinter, without a dialog, when the system
    // has none.
    SetupResult Setup(HWND owner);
    // The message to show after Setup (CP949); null when none is due. With no
    // printer it says to install one, not to choose one in that dialog.
    static const char* SetupOutcomeText(SetupResult result);

    // Prints every page of the layout on the printer Find finds, without a
    // dialog. With `outputFile` (UTF-8) the printer's output goes to that file,
    // as a printer's port "FILE:" would send it (the system's PDF printer, say).
    PrintOutcome Print(const ReportLayout& layout, const std::string& outputFile = {});

    // An information context of the printer Find found, for measuring and
    // metafiles drawn for it; null when there is none. The caller deletes it.
    HDC InformationContext();

private:
    HDC CreatePrinterContext(bool informationOnly);

    std::string name_;
    HGLOBAL devMode_ = nullptr;  // the setup dialog's settings
    HGLOBAL devNames_ = nullptr; // and its printer
};

// The preview's commands (WM_COMMAND, the id in the low word of wParam).
enum PreviewCommand : int {
    kPreviewPrint = 0x7101,    // prints the report as Print does, then closes
    kPreviewNext = 0x7102,     // the next page (or pair of pages)
    kPreviewPrevious = 0x7103, // the previous one
    kPreviewOnePage = 0x7104,  // one page at a time
    kPreviewTwoPages = 0x7105, // two pages side by side
    kPreviewZoomIn = 0x7106,   // larger, one page, with scroll bars
    kPreviewZoomOut = 0x7107,  // back towards the whole page
    kPreviewClose = 0x7108,
};

// Sent to the preview window: answers MAKELRESULT(first page shown, pages
// shown * 16 + zoom step), the zoom step 0 being whole pages.
inline constexpr UINT kPreviewState = WM_APP + 0x71;
inline constexpr const char* kPreviewClass = "OstravionPrintPreview";

// The preview of the layout, modal: returns when it is closed. `owner` may
// be null.
void ShowPrintPreview(HWND owner, const ReportLayout& layout, GdiPrinter& printer);

} // namespace ostravion::gdireport
