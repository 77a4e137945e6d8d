// The consolidate command apart from its dialog and window, shared by the
// desktop window and the command line.
#pragma once

#include "doc/OstravionDoc.h"

#include <string>

namespace ostravion {

// Runs once the select-files dialog closed with OK (the chosen files are the
// utility object's selected files): takes the typed total-file name (refused
// names and a No to the overwrite question end the command with nothing
// merged), sets WorkState 3, shows the progress bar "검사 결과 취합중...",
// switches the lists to the total layout, merges, restores the start-up
// directory and removes the bar. The window then sets its title and enables
// the document commands.
struct ConsolidateOutcome {
    NameCheck name = NameCheck::Refused; // the merge ran only when Accepted
    ConsolidationSummary summary;
};
ConsolidateOutcome RunConsolidateCommand(COstravionDoc& doc, const std::string& typedName);

} // namespace ostravion
