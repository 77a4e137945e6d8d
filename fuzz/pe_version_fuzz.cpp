// libFuzzer target for the version-resource reader. Every input is read twice:
// as a whole PE file (headers, sections, resource directory, then the
// version tree) and as a version resource on its own, so that the tree
// parser is reached without the mutator first having to keep a PE file valid.
#include "platform/pe/PeVersion.h"
#include "platform/posix/PosixPlatform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
constexpr const char* kNames[] = {"CompanyName", "FileDescription", "ProductName",
                                  "ProductVersion"};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ostravion;
    static const posix::IconvUtf16ToCp949 conv;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::string resource;
    if (pe::FindVersionResource(pe::MemorySource(bytes), resource)) {
        const pe::VersionBlock block(resource);
        for (const char* name : kNames)
            block.ReadString(name, conv);
    }

    const pe::VersionBlock direct{std::string(bytes)};
    for (const char* name : kNames)
        direct.ReadString(name, conv);
    std::uint16_t language = 0, codePage = 0;
    direct.Translation(language, codePage, conv);
    direct.QueryText("\\", conv);
    return 0;
}
