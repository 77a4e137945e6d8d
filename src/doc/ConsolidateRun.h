// The consolidate command apart from its dialog and window, shared by the
// desktop flows and the command line.
#pragma once

#include "doc/Consolidation.h"
#include "doc/OstravionDoc.h"

#include <string>

namespace ostravion {

// The merge once the files are chosen and the total's name is taken:
// WorkState 3, the progress bar "검사 결과 취합중...", the total layout, the
// merge into the total file and the lists, the start-up directory made
// current again, the bar removed. `Lists` is the document or what stands
// for it (SetLayoutMode, Consolidate); what its Consolidate returns comes back.
template <typename Lists> auto MergeChosenFiles(CAuditUtil& util, Lists& lists) {
    util.SetWorkState(kConsolidated);
    util.ShowProgress(consolidation::kConsolidating);
    util.StepProgress(1);
    if (util.GetLayoutFlag() == kScanLayout) {
        lists.SetLayoutMode(kTotalLayout);
        util.StepProgress(1);
    }
    struct Finish {
        CAuditUtil& util;
        ~Finish() {
            util.RestoreStartDirectory();
            util.DestroyProgress();
        }
    } finish{util};
    return lists.Consolidate();
}

// The command line's whole command, once the chosen files are the utility
// object's selected files: takes the typed total-file name (refused names
// and a No to the overwrite question end the command with nothing merged),
// then merges.
struct ConsolidateOutcome {
    NameCheck name = NameCheck::Refused; // the merge ran only when Accepted
    ConsolidationSummary summary;
};
ConsolidateOutcome RunConsolidateCommand(COstravionDoc& doc, const std::string& typedName);

} // namespace ostravion
