#include "doc/TotalReaders.h"

namespace ostravion {

bool ReadResultRows(const CAuditUtil& util, std::vector<ResultRow>& target, AdminValues& admin,
                    int reportKind) {
    const std::string path = util.ResultPath(reportKind == 4 ? ".rst" : ".tls");
    return ReadResultRows(util.Files(), util.Messages(), path, reportKind, target, admin);
}

bool ReadPcHistory(const CAuditUtil& util, PcHistory& target) {
    return ReadPcHistory(util.Files(), util.Messages(), util.ResultPath(".tls"), target);
}

} // namespace ostravion
