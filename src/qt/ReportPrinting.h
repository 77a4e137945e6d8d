// Printing and print preview of the chosen report, as the active list view
// does it: the prepare step reads the report's data (with its progress bar)
// and lays the pages out; then every page goes to the printer, or the
// preview draws the pages it shows from the same layout.
#pragma once

#include "ports/Ports.h"
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"

#include <optional>

class QPrinter;
class QWidget;

namespace ostravion::gui {

// The prepare step for the report kind stored in `util`, read from the
// current total and written-result files; nothing when no kind is stored.
std::optional<ReportLayout> PrepareStoredReport(CAuditUtil& util, SheetView view);

// Every page of the layout on the printer. A PDF file is written whole under
// a new name and then moved onto the chosen one, and the user is told where it
// is. False when the printer could not be started or the file not written
// (the message is shown).
bool PrintReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                 QWidget* parent);

// The preview window over the layout, modal, through the dialog door.
void PreviewReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                   QWidget* parent);

// Sizes and places a top-level window inside the available area of the
// owner's screen (the primary screen without an owner), frame included: at
// most `widest` pixels wide, as tall as the area, centred across it.
void FitToScreen(QWidget& window, QWidget* owner, int widest);

// The printer-setup dialog "인쇄 설정": it chooses the printer (kept in
// `printer` for later jobs) and prints nothing.
void RunPrintSetup(QPrinter& printer, QWidget* parent);

// The page set-up every report run assumes: portrait, and A4 unless the
// printer-setup dialog chose another paper.
void PreparePrinterPage(QPrinter& printer);

} // namespace ostravion::gui
