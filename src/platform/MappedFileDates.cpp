#include "platform/MappedFileDates.h"

#include "desktop/NativeFolders.h"

namespace ostravion {

void MappedFileDates::Refresh() {
    drives_ = platform_.DriveList().FixedDrives();
    read_ = true;
}

bool MappedFileDates::Created(const std::string& path, LocalTime& out) const {
    const FileDates* dates = platform_.Dates();
    if (!dates)
        return false;
    if (!read_)
        const_cast<MappedFileDates*>(this)->Refresh();
    TextCodec& codec = platform_.Codec();
    const std::string native =
        NativeFolder(path, drives_, platform_.Search().NativeSeparator(), codec);
    return dates->Created(codec.FromUtf8(native), out);
}

} // namespace ostravion
