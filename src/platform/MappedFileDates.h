// Creation dates of listed files for the desktop programs: the path as the
// list writes it (a drive letter where a folder stands in for a drive) is
// mapped to this system's path first.
#pragma once

#include "platform/Native.h"

#include <vector>

namespace ostravion {

class MappedFileDates final : public FileDates {
public:
    explicit MappedFileDates(NativePlatform& platform) : platform_(platform) {}
    bool Created(const std::string& path, LocalTime& out) const override;
    // Reads the drive list again (a new scan may walk other drives).
    void Refresh();

private:
    NativePlatform& platform_;
    std::vector<Drive> drives_;
    bool read_ = false;
};

} // namespace ostravion
