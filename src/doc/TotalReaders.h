// The report readers of the current total and written-result files, as the
// shared utility object names them.
#pragma once

#include "files/TotalFile.h"
#include "util/AuditUtil.h"

namespace ostravion {

// Kind 3 reads the total file, kind 4 the written-result file.
bool ReadResultRows(const CAuditUtil& util, std::vector<ResultRow>& target, AdminValues& admin,
                    int reportKind);
bool ReadPcHistory(const CAuditUtil& util, PcHistory& target);

} // namespace ostravion
