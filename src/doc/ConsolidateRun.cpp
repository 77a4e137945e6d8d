#include "doc/ConsolidateRun.h"

#include "doc/SharedWrite.h"
#include "util/Messages.h"

namespace ostravion {

ConsolidateOutcome RunConsolidateCommand(COstravionDoc& doc, const std::string& typedName) {
    ConsolidateOutcome outcome;
    CAuditUtil& util = doc.Util();
    // The total is held from the look for an existing file of that name to
    // the end of the merge: two commands consolidating into one new name
    // cannot both find it free. The names are tried quietly first; a name
    // that is refused is told by AcceptResultName.
    msg::Collected quiet;
    CAuditUtil probe(util.Files(), quiet);
    std::unique_ptr<WriteLock> lock;
    if (probe.SetResultNames(typedName, CAuditUtil::NameForm::Name)) {
        lock = std::make_unique<WriteLock>(util.Files(), probe.ResultPath(".tls"));
        if (!TakeLock(util, *lock)) {
            outcome.name = NameCheck::Held;
            return outcome;
        }
    }
    outcome.name = AcceptResultName(util, typedName);
    if (outcome.name == NameCheck::Accepted)
        outcome.summary = MergeChosenFiles(util, doc);
    return outcome;
}

} // namespace ostravion
