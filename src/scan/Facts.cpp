#include "scan/Facts.h"

#include "util/Text.h"

#include <cstdio>

namespace ostravion {

namespace {
std::string Format(const char* fmt, auto... args) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

constexpr unsigned kArchitectureAmd64 = 9;
constexpr unsigned kArchitectureArm64 = 12;

constexpr unsigned kSuiteEnterprise = 0x2;
constexpr unsigned kSuiteDatacenter = 0x80;
constexpr unsigned kSuitePersonal = 0x200;
constexpr unsigned kSuiteBlade = 0x400;
} // namespace

std::string CpuDescription(const ProcessorFacts& p) {
    if (!p.known)
        return std::string();
    std::string arch;
    switch (p.architecture) {
    case 0:
    // A 32-bit program on 64-bit Windows, x64 or ARM64, is told it runs on
    // an Intel processor: every build names these the same way.
    case kArchitectureAmd64:
    case kArchitectureArm64:
        arch = "Intel";
        break;
    case 1:
        arch = "MIPS";
        break;
    case 2:
        arch = "ALPHA";
        break;
    case 3:
        arch = "PPC";
        break;
    case 65535:
        arch = "Other";
        break;
    default:
        break;
    }
    std::string name;
    switch (p.level) {
    case 3:
        name = "80386";
        break;
    case 4:
        name = "80486";
        break;
    case 5:
        name = "Pentinum";
        break;
    case 6:
        name = "Pentinum Pro or Pentium II";
        break;
    default:
        name = Format("%d", static_cast<int>(p.level));
        break;
    }
    return arch + " " + name + " Revision " + Format("%x", p.revision);
}

std::string OsVersionString(const OsVersionFacts& v, MessagePort& messages) {
    if (!v.extendedAvailable && !v.plainAvailable)
        return std::string();
    std::string out;
    switch (v.platform) {
    case 0:
        return "Microsoft Win32s\n";
    case 1:
        if (v.major != 4)
            return std::string();
        if (v.minor == 0)
            return "Windows95";
        if (v.minor == 10) {
            out = "Windows98";
            if (v.servicePack.size() > 1 && v.servicePack[1] == 'A')
                out += "(SE/ME)";
            return out;
        }
        if (v.minor == 90)
            return "WindowsME";
        return std::string();
    case 2:
        break;
    default:
        return std::string();
    }

    if (v.major == 5 && v.minor == 2)
        out = "Windows2003";
    else if (v.major == 5 && v.minor == 1)
        out = "WindowsXP";
    else if (v.major == 5 && v.minor == 0)
        out = "Windows2000";
    else if (v.major <= 4)
        out = "WindowsNT";

    if (v.extendedAvailable) {
        const unsigned s = v.suiteMask;
        switch (v.productType) {
        case 1:
            if (v.major == 4)
                out += "4.0(Work)";
            else if (s & kSuitePersonal)
                out += "(HomeEdition)";
            else if (v.minor == 1)
                out += "(Pro)";
            else
                out += "-Professional";
            break;
        case 2:
            if (s & kSuiteDatacenter)
                out += "-Datacenter-Server";
            else if (s & kSuiteEnterprise)
                out += "-Advanced-Server";
            else
                out += "4.0(Ser)";
            break;
        case 3:
            if (v.major == 5 && v.minor == 2) {
                if (s & kSuiteDatacenter)
                    out += "-Datacenter-Edition";
                else if (s & kSuiteEnterprise)
                    out += "-Enterprise-Edition";
                else if (s == kSuiteBlade)
                    out += "-Web-Edition";
                else
                    out += "-Server(Std)";
            } else if (v.major == 5 && v.minor == 0) {
                if (s & kSuiteDatacenter)
                    out += "-Datacenter-Server";
                else if (s & kSuiteEnterprise)
                    out += "-Advanced-Server";
                else
                    out += "-Server";
            } else {
                if (s & kSuiteEnterprise)
                    out += "Server 4.0, Enterprise Edition ";
                else
                    out += "4.0(Ser)";
            }
            break;
        default:
            break;
        }
        return out;
    }

    // Only the plain information: the edition comes from ProductOptions.
    if (!v.productOptionsAvailable || v.productOptions.size() > 80)
        return std::string();
    messages.Show(Format("%d.%d", static_cast<int>(v.major), static_cast<int>(v.minor)));
    const std::string& p = v.productOptions;
    if (v.major < 4) {
        if (text::EqualsNoCase(p, "WINNT"))
            out += "-Workstation3.51";
        else if (text::EqualsNoCase(p, "LANMANNT"))
            out += "-Server3.51";
        else if (text::EqualsNoCase(p, "SERVERNT"))
            out += "-Advanced Server3.51";
    } else {
        if (text::EqualsNoCase(p, "WINNT"))
            out += "4.0(Work)";
        else if (text::EqualsNoCase(p, "LANMANNT"))
            out += "4.0(Ser)";
        else if (text::EqualsNoCase(p, "SERVERNT"))
            out += "4.0(Advanced Server)";
    }
    return out;
}

std::string ScanTimeText(const LocalTime& t) {
    return Format("%d-%d-%d, %d:%d ", t.year, t.month, t.day, t.hour, t.minute);
}

PcFacts GatherPcFacts(const SystemInfo& sys, const Clock& clock, const std::string& group,
                      const std::string& resultName) {
    PcFacts f;
    f.Group = group;
    f.ComputerName = resultName;
    f.User = sys.UserName();
    f.PcModel = CpuDescription(sys.Processor());
    f.ScanTime = ScanTimeText(clock.Now());
    return f;
}

} // namespace ostravion
