#include "doc/ConsolidateRun.h"

namespace ostravion {

ConsolidateOutcome RunConsolidateCommand(COstravionDoc& doc, const std::string& typedName) {
    ConsolidateOutcome outcome;
    outcome.name = AcceptResultName(doc.Util(), typedName);
    if (outcome.name == NameCheck::Accepted)
        outcome.summary = MergeChosenFiles(doc.Util(), doc);
    return outcome;
}

} // namespace ostravion
