// The ports of the machine the program runs on, made once at start-up.
#pragma once

#include "platform/Ports.h"

#include <memory>

namespace ostravion {

struct NativePlatform {
    virtual ~NativePlatform() = default;
    virtual TextCodec& Codec() = 0;
    virtual FileSystem& Files() = 0;
    virtual SystemInfo& System() = 0;
    virtual Clock& LocalClock() = 0;
    virtual VersionStrings& Versions() = 0;
};

std::unique_ptr<NativePlatform> MakeNativePlatform();

} // namespace ostravion
