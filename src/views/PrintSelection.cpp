#include "views/PrintSelection.h"

#include "util/AuditUtil.h"
#include "views/ReportTexts.h"

namespace ostravion {

const std::array<PrintChoice, 5>& PrintChoices() {
    static const std::array<PrintChoice, 5> choices = {{
        {kIdPrintByPc, ReportKind::ByPc, report_text::kSelectByPc},
        {kIdPrintBySoftware, ReportKind::BySoftware, report_text::kSelectBySw},
        {kIdPrintSheet, ReportKind::ConfirmationSheet, report_text::kSelectSheet},
        {kIdPrintPledge, ReportKind::Pledge, report_text::kSelectPledge},
        {kIdPrintLedger, ReportKind::Ledger, report_text::kSelectLedger},
    }};
    return choices;
}

void CPrintSelection::Click(int buttonId) {
    for (const PrintChoice& c : PrintChoices()) {
        if (c.buttonId == buttonId) {
            chosen_ = c.kind;
            return;
        }
    }
}

bool CPrintSelection::Confirm(CAuditUtil& util) const {
    if (!chosen_)
        return false;
    util.SetReportKind(static_cast<unsigned char>(*chosen_));
    return true;
}

std::string SheetResultPath(const CAuditUtil& util) {
    // Beside its total, in whatever folder that was saved to.
    return util.ResultPath(".rst");
}

bool BeforePrinting(CAuditUtil& util, ReportKind kind, const std::function<bool()>& writeResult) {
    if (kind == ReportKind::ConfirmationSheet) {
        std::string bytes;
        if (!util.Files().ReadWhole(SheetResultPath(util), bytes) && writeResult && !writeResult())
            return false;
    }
    util.SetWorkState(kPrinted);
    return true;
}

} // namespace ostravion
