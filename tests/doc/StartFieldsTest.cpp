#include "Fakes.h"
#include "doc/Inspection.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::MemoryFileSystem;

namespace {

TEST(StartFields, GroupAndNameMustMakeOneFileInTheWorkFolder) {
    MemoryFileSystem fs;
    EXPECT_EQ(CheckStartFields(fs, "", "x"), StartFieldCheck::GroupMissing);
    EXPECT_EQ(CheckStartFields(fs, "", "..\\x"), StartFieldCheck::GroupMissing);
    const std::pair<std::string, std::string> bad[] = {
        {"..", "pc"},  {"g", "..\\..\\x"}, {"a/b", "pc"}, {"g", "c:\\x"},
        {"C:", "pc"},  {"g", "x/"},        {"g\\", "pc"}, {"g", std::string("p\0c", 3)},
        {"g.", ".pc"}, // "g._.pc": no "..", so this one passes below
    };
    for (std::size_t i = 0; i + 1 < std::size(bad); ++i)
        EXPECT_EQ(CheckStartFields(fs, bad[i].first, bad[i].second), StartFieldCheck::BadName)
            << bad[i].first << " / " << bad[i].second;
    EXPECT_EQ(CheckStartFields(fs, "g.", ".pc"), StartFieldCheck::Ok);
    // A device name of Windows alone is refused, but group and name never
    // make one: "con_pc" is an ordinary name.
    EXPECT_EQ(CheckStartFields(fs, "con", "pc"), StartFieldCheck::Ok);
    EXPECT_EQ(CheckStartFields(fs, "ACME", ""), StartFieldCheck::Ok);

    // The existing-file question comes only for a name that passed.
    fs.files[".\\CheckOut\\ACME_PC01.ipt"] = "earlier";
    EXPECT_EQ(CheckStartFields(fs, "ACME", "PC01"), StartFieldCheck::FileExists);
}

} // namespace
