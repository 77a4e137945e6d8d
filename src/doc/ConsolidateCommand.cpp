#include "doc/ConsolidateCommand.h"

namespace ostravion {

ConsolidateOutcome RunConsolidateCommand(COstravionDoc& doc, const std::string& typedName) {
    CAuditUtil& util = doc.Util();
    ConsolidateOutcome outcome;
    outcome.name = AcceptResultName(util, typedName);
    if (outcome.name != NameCheck::Accepted)
        return outcome;
    util.SetWorkState(kConsolidated);
    util.ShowProgress(consolidation::kConsolidating);
    util.StepProgress(1);
    if (util.GetLayoutFlag() == kScanLayout) {
        doc.SetLayoutMode(kTotalLayout);
        util.StepProgress(1);
    }
    outcome.summary = doc.Consolidate();
    util.RestoreStartDirectory();
    util.DestroyProgress();
    return outcome;
}

} // namespace ostravion
