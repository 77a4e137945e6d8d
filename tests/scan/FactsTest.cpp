#include "scan/Facts.h"
#include "Fakes.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::RecordingMessages;

TEST(CpuDescription, ArchitectureAndLevelTables) {
    EXPECT_EQ(CpuDescription({0, 6, 0x0806}), "Intel Pentinum Pro or Pentium II Revision 806");
    EXPECT_EQ(CpuDescription({1, 3, 0}), "MIPS 80386 Revision 0");
    EXPECT_EQ(CpuDescription({2, 4, 0xab}), "ALPHA 80486 Revision ab");
    EXPECT_EQ(CpuDescription({3, 5, 1}), "PPC Pentinum Revision 1");
    EXPECT_EQ(CpuDescription({65535, 15, 0x10}), "Other 15 Revision 10");
    EXPECT_EQ(CpuDescription({6, 6, 1}), " Pentinum Pro or Pentium II Revision 1");
    // x64 and ARM64 are named as a 32-bit program on them is told.
    EXPECT_EQ(CpuDescription({9, 25, 0x5507}), "Intel 25 Revision 5507");
    EXPECT_EQ(CpuDescription({12, 26, 0x201}), "Intel 26 Revision 201");
    EXPECT_EQ(CpuDescription({5, 7, 1}), " 7 Revision 1");
}

namespace {
std::string Os(unsigned platform, unsigned major, unsigned minor, unsigned type = 0,
               unsigned suite = 0, std::string csd = "") {
    OsVersionFacts v;
    v.extendedAvailable = true;
    v.plainAvailable = true;
    v.platform = platform;
    v.major = major;
    v.minor = minor;
    v.productType = type;
    v.suiteMask = suite;
    v.servicePack = std::move(csd);
    RecordingMessages m;
    return OsVersionString(v, m);
}
} // namespace

TEST(OsVersionString, EarlyPlatforms) {
    EXPECT_EQ(Os(0, 3, 1), "Microsoft Win32s\n");
    EXPECT_EQ(Os(1, 4, 0), "Windows95");
    EXPECT_EQ(Os(1, 4, 10), "Windows98");
    EXPECT_EQ(Os(1, 4, 10, 0, 0, " A "), "Windows98(SE/ME)");
    EXPECT_EQ(Os(1, 4, 10, 0, 0, "A"), "Windows98");
    EXPECT_EQ(Os(1, 4, 90), "WindowsME");
    EXPECT_EQ(Os(1, 4, 3), "");
    EXPECT_EQ(Os(1, 5, 0), "");
    EXPECT_EQ(Os(3, 5, 1, 1), "");
}

TEST(OsVersionString, Workstations) {
    EXPECT_EQ(Os(2, 4, 0, 1), "WindowsNT4.0(Work)");
    EXPECT_EQ(Os(2, 5, 1, 1), "WindowsXP(Pro)");
    EXPECT_EQ(Os(2, 5, 1, 1, 0x200), "WindowsXP(HomeEdition)");
    EXPECT_EQ(Os(2, 5, 0, 1), "Windows2000-Professional");
    EXPECT_EQ(Os(2, 6, 0, 1), "-Professional");
    EXPECT_EQ(Os(2, 6, 1, 1), "(Pro)");
    EXPECT_EQ(Os(2, 5, 3, 1), "-Professional");
}

TEST(OsVersionString, DomainControllers) {
    EXPECT_EQ(Os(2, 5, 0, 2, 0x80), "Windows2000-Datacenter-Server");
    EXPECT_EQ(Os(2, 5, 0, 2, 0x2), "Windows2000-Advanced-Server");
    EXPECT_EQ(Os(2, 5, 0, 2, 0), "Windows20004.0(Ser)");
}

TEST(OsVersionString, Servers) {
    EXPECT_EQ(Os(2, 5, 2, 3, 0x80), "Windows2003-Datacenter-Edition");
    EXPECT_EQ(Os(2, 5, 2, 3, 0x2), "Windows2003-Enterprise-Edition");
    EXPECT_EQ(Os(2, 5, 2, 3, 0x400), "Windows2003-Web-Edition");
    EXPECT_EQ(Os(2, 5, 2, 3, 0x410), "Windows2003-Server(Std)");
    EXPECT_EQ(Os(2, 5, 2, 3, 0), "Windows2003-Server(Std)");
    EXPECT_EQ(Os(2, 5, 0, 3, 0x82), "Windows2000-Datacenter-Server");
    EXPECT_EQ(Os(2, 5, 0, 3, 0x2), "Windows2000-Advanced-Server");
    EXPECT_EQ(Os(2, 5, 0, 3, 0), "Windows2000-Server");
    EXPECT_EQ(Os(2, 4, 0, 3, 0x2), "WindowsNTServer 4.0, Enterprise Edition ");
    EXPECT_EQ(Os(2, 4, 0, 3, 0), "WindowsNT4.0(Ser)");
    EXPECT_EQ(Os(2, 5, 1, 7), "WindowsXP");
}

TEST(OsVersionString, PlainInformationReadsProductOptions) {
    OsVersionFacts v;
    v.plainAvailable = true;
    v.platform = 2;
    v.major = 3;
    v.minor = 51;
    RecordingMessages m;
    EXPECT_EQ(OsVersionString(v, m), ""); // the value cannot be read: nothing at all
    EXPECT_TRUE(m.shown.empty());

    v.productOptionsAvailable = true;
    v.productOptions = "winnt";
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT-Workstation3.51");
    EXPECT_EQ(m.shown.back(), "3.51");
    v.productOptions = "LanmanNT";
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT-Server3.51");
    v.productOptions = "SERVERNT";
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT-Advanced Server3.51");
    v.major = 4;
    v.minor = 0;
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT4.0(Advanced Server)");
    v.productOptions = "WINNT";
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT4.0(Work)");
    v.productOptions = "LANMANNT";
    EXPECT_EQ(OsVersionString(v, m), "WindowsNT4.0(Ser)");
    v.productOptions = std::string(81, 'X');
    EXPECT_EQ(OsVersionString(v, m), "");
}

TEST(OsVersionString, NothingAvailable) {
    RecordingMessages m;
    EXPECT_EQ(OsVersionString(OsVersionFacts{}, m), "");
}

namespace {
struct FixedClock final : Clock {
    LocalTime t;
    LocalTime Now() const override { return t; }
};
struct FixedSystem final : SystemInfo {
    std::string ComputerName() const override { return "HOST"; }
    std::string UserName() const override { return "kim"; }
    ProcessorFacts Processor() const override { return {0, 6, 0x806}; }
    OsVersionFacts Os() const { return {}; }
    OsVersionFacts OsVersion() const override { return {}; }
};
} // namespace

TEST(ScanTime, NoLeadingZerosAndATrailingBlank) {
    EXPECT_EQ(ScanTimeText({2004, 3, 3, 9, 5}), "2004-3-3, 9:5 ");
    EXPECT_EQ(ScanTimeText({2026, 12, 31, 23, 59}), "2026-12-31, 23:59 ");
}

TEST(PcFactsGather, ResultNameStandsForTheComputerName) {
    FixedClock clock;
    clock.t = {2004, 3, 3, 9, 5};
    FixedSystem sys;
    const PcFacts f = GatherPcFacts(sys, clock, "G", "N");
    EXPECT_EQ(f, (PcFacts{"G", "N", "kim", "Intel Pentinum Pro or Pentium II Revision 806",
                          "2004-3-3, 9:5 "}));
}
