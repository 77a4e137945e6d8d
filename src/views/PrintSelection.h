// The print-selection choice: which report the print and preview commands
// produce, and what happens between the choice and the print run. The dialog
// itself (radio buttons in two group boxes, "선택" and "취소") is the GUI's;
// it forwards its clicks here and asks whether "선택" may be pressed.
#pragma once

#include "views/ReportLayout.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace ostravion {

class CAuditUtil;

// One radio button of the dialog.
struct PrintChoice {
    int buttonId;
    ReportKind kind;
    const char* caption; // CP949
};

inline constexpr int kIdPrintByPc = 1072;
inline constexpr int kIdPrintBySoftware = 1073;
inline constexpr int kIdPrintSheet = 1074;
inline constexpr int kIdPrintPledge = 1075;
inline constexpr int kIdPrintLedger = 1130;

// The five buttons in dialog order.
const std::array<PrintChoice, 5>& PrintChoices();

class CPrintSelection {
public:
    // A radio button was clicked; ids that are not one of the five change nothing.
    void Click(int buttonId);
    std::optional<ReportKind> Chosen() const { return chosen_; }
    // "선택" stays disabled until a report is chosen: there is no report to
    // print without one.
    bool CanConfirm() const { return chosen_.has_value(); }
    // "선택": stores the chosen kind in the shared object and returns true;
    // without a choice nothing is stored and the dialog stays open (false).
    bool Confirm(CAuditUtil& util) const;

private:
    std::optional<ReportKind> chosen_;
};

// The written-result file the confirmation sheet reads: beside the total,
// in the folder it was opened from or saved to.
std::string SheetResultPath(const CAuditUtil& util);

// After the dialog closed with "선택": for the confirmation sheet, when its
// written-result file cannot be read, runs `writeResult` (the Write result
// command) first; printing goes on whatever its answer, but not after a save
// it ran failed (`writeResult` false): then false comes back and nothing
// changes. Otherwise records that a print has been made (work state 8).
bool BeforePrinting(CAuditUtil& util, ReportKind kind, const std::function<bool()>& writeResult);

} // namespace ostravion
