// libFuzzer target for the registry hive reader: the input is a hive, read
// as the SYSTEM and as the SOFTWARE hive of a disk, for every fact and the
// App Paths of both registry views.
#include "platform/disk/RegistryHive.h"
#include "platform/disk/WindowsFacts.h"
#include "platform/posix/PosixPlatform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ostravion::posix::IconvCodec codec;
    const auto hive = ostravion::disk::RegistryHive::FromBytes(
        std::string(reinterpret_cast<const char*>(data), size));
    if (hive) {
        ostravion::disk::ReadWindowsFacts(hive.get(), hive.get(), codec);
        std::vector<std::string> names;
        hive->SubKeys("", names);
    }
    return 0;
}
