#include "platform/disk/WindowsFacts.h"

#include "util/Text.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ostravion::disk {

namespace {

// The ANSI enumeration's name buffer (RegEnumKeyExA, 260 bytes): a longer
// name ends the enumeration, as the error it gets does on Windows.
constexpr std::size_t kKeyNameBuffer = 260;

const char* const kAppPaths = "Microsoft\\Windows\\CurrentVersion\\App Paths";

std::string ControlSet(const RegistryHive& system) {
    std::uint32_t n = system.Dword("Select", "Current").value_or(0);
    if (n == 0)
        n = system.Dword("Select", "Default").value_or(1);
    char buf[32];
    std::snprintf(buf, sizeof buf, "ControlSet%03u", static_cast<unsigned>(n % 1000));
    return buf;
}

unsigned Number(const std::string& text, int base) {
    if (text.empty())
        return 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, base);
    return v > 0xFFFF ? 0 : static_cast<unsigned>(v);
}

// The suite flags the kernel derives from ProductOptions\ProductSuite.
unsigned SuiteMask(const std::vector<std::string>& names) {
    static const std::pair<const char*, unsigned> kSuites[] = {{"Small Business", 0x1},
                                                               {"Enterprise", 0x2},
                                                               {"BackOffice", 0x4},
                                                               {"CommunicationServer", 0x8},
                                                               {"Terminal Server", 0x10},
                                                               {"Small Business(Restricted)", 0x20},
                                                               {"EmbeddedNT", 0x40},
                                                               {"DataCenter", 0x80},
                                                               {"Personal", 0x200},
                                                               {"Blade", 0x400},
                                                               {"Embedded(Restricted)", 0x800},
                                                               {"Security Appliance", 0x1000},
                                                               {"Storage Server", 0x2000},
                                                               {"Compute Server", 0x4000},
                                                               {"WH Server", 0x8000}};
    unsigned mask = 0;
    for (const std::string& n : names)
        for (const auto& [suite, bit] : kSuites)
            if (text::EqualsNoCase(n, suite))
                mask |= bit;
    return mask;
}

OsVersionFacts OsVersion(const RegistryHive* system, const RegistryHive* software,
                         const TextCodec& codec) {
    OsVersionFacts f;
    if (!software)
        return f;
    const char* const key = "Microsoft\\Windows NT\\CurrentVersion";
    unsigned major = 0, minor = 0;
    if (const auto m = software->Dword(key, "CurrentMajorVersionNumber")) {
        major = *m;
        minor = software->Dword(key, "CurrentMinorVersionNumber").value_or(0);
    } else if (const auto v = software->String(key, "CurrentVersion")) {
        if (std::sscanf(v->c_str(), "%u.%u", &major, &minor) != 2)
            return f;
    } else {
        return f;
    }
    // The program declares no later system in its manifest, so a Windows
    // after 8 reports itself as 6.2 to it.
    if (major > 6 || (major == 6 && minor > 2)) {
        major = 6;
        minor = 2;
    }
    f.plainAvailable = true;
    f.extendedAvailable = true;
    f.platform = 2;
    f.major = major;
    f.minor = minor;
    f.servicePack = codec.FromUtf8(software->String(key, "CSDVersion").value_or(""));
    if (system) {
        const std::string options = ControlSet(*system) + "\\Control\\ProductOptions";
        if (const auto type = system->String(options, "ProductType")) {
            if (text::EqualsNoCase(*type, "WinNT"))
                f.productType = 1;
            else if (text::EqualsNoCase(*type, "LanmanNT"))
                f.productType = 2;
            else if (text::EqualsNoCase(*type, "ServerNT"))
                f.productType = 3;
            f.productOptions = codec.FromUtf8(*type);
            f.productOptionsAvailable = f.productOptions.size() <= 80;
        }
        if (const auto suites = system->Strings(options, "ProductSuite"))
            f.suiteMask = SuiteMask(*suites);
    }
    return f;
}

void AddAppPaths(const RegistryHive& software, const std::string& key, const TextCodec& codec,
                 std::unordered_set<std::string>& out) {
    std::vector<std::string> names;
    if (!software.SubKeys(key, names))
        return;
    for (const std::string& name : names) {
        const std::string ansi = codec.FromUtf8(name);
        if (ansi.size() >= kKeyNameBuffer)
            return;
        out.insert(text::ToUpper(ansi));
    }
}

} // namespace

unsigned ArchitectureNumber(const std::string& name) {
    static const std::pair<const char*, unsigned> kNames[] = {
        {"x86", 0},  {"MIPS", 1},  {"ALPHA", 2},          {"PPC", 3},
        {"SHX", 4},  {"ARM", 5},   {"IA64", 6},           {"ALPHA64", 7},
        {"MSIL", 8}, {"AMD64", 9}, {"IA32_ON_WIN64", 10}, {"ARM64", 12}};
    for (const auto& [text, number] : kNames)
        if (text::EqualsNoCase(name, text))
            return number;
    return 0xFFFF;
}

WindowsFacts ReadWindowsFacts(const RegistryHive* system, const RegistryHive* software,
                              const TextCodec& codec) {
    WindowsFacts f;
    if (system) {
        const std::string set = ControlSet(*system);
        f.computerName = codec.FromUtf8(
            system->String(set + "\\Control\\ComputerName\\ComputerName", "ComputerName")
                .value_or(""));
        const std::string env = set + "\\Control\\Session Manager\\Environment";
        if (const auto arch = system->String(env, "PROCESSOR_ARCHITECTURE")) {
            f.processor.known = true;
            f.processor.architecture = ArchitectureNumber(*arch);
            f.processor.level = Number(system->String(env, "PROCESSOR_LEVEL").value_or(""), 10);
            f.processor.revision =
                Number(system->String(env, "PROCESSOR_REVISION").value_or(""), 16);
        }
    }
    if (software) {
        std::string user =
            software
                ->String("Microsoft\\Windows\\CurrentVersion\\Authentication\\LogonUI",
                         "LastLoggedOnUser")
                .value_or("");
        // Windows XP keeps the last user for its logon dialog instead.
        if (user.empty())
            user =
                software
                    ->String("Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultUserName")
                    .value_or("");
        const std::size_t slash = user.rfind('\\');
        if (slash != std::string::npos)
            user.erase(0, slash + 1);
        f.userName = codec.FromUtf8(user);
        AddAppPaths(*software, kAppPaths, codec, f.appPaths);
        AddAppPaths(*software, std::string("WOW6432Node\\") + kAppPaths, codec, f.appPaths);
    }
    f.os = OsVersion(system, software, codec);
    return f;
}

} // namespace ostravion::disk
