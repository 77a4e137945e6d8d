#include "desktop/ResourceTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace ostravion {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

TEST(ResourceTable, EveryNameIsDefinedOnce) {
    // The resource compiler takes the later of two #define lines silently.
    std::set<std::string> names;
    for (const ResourceId& id : ResourceIds())
        EXPECT_TRUE(names.insert(id.name).second) << id.name;
    for (const ResourceText& t : ResourceTexts())
        EXPECT_TRUE(names.insert(t.name).second) << t.name;
}

TEST(ResourceTable, OrganisationTextLayout) {
    const std::string t = OrgInfoText();
    const std::vector<std::string> lines = Lines(t);
    // Eight indented lines, each followed by an empty line.
    for (int i = 0; i < 8; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(2 * i)];
        EXPECT_EQ(line.substr(0, 3), "   ");
        EXPECT_NE(line[3], ' ');
        EXPECT_EQ(lines[static_cast<std::size_t>(2 * i + 1)], "");
    }
    // One more empty line, then the address and the telephone number.
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[18].substr(0, 11), std::string(11, ' '));
    EXPECT_NE(lines[18].find(kHomePageAddress), std::string::npos);
    EXPECT_EQ(lines[19].substr(0, 11), std::string(11, ' '));
    EXPECT_NE(lines[19][11], ' ');
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[20], "");
    EXPECT_EQ(lines[21], "");
}

} // namespace
} // namespace ostravion
