#include "files/ReplaceFiles.h"
#include "Fakes.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

// A rename that fails after others have been done puts every file back as it
// was: a replaced one from its backup, one that did not exist before goes.
TEST(ReplaceFiles, AFailedLaterRenamePutsTheEarlierFilesBack) {
    MemoryFileSystem fs;
    fs.files = {{"a.tls", "earlier a"}, {"c.rst", "earlier c"}};
    const std::map<std::string, std::string> before = fs.files;
    fs.failingRenames.insert("c.rst");
    EXPECT_FALSE(ReplaceFiles(fs, {{"a.tls", "new a"}, {"b.tls", "new b"}, {"c.rst", "new c"}}));
    EXPECT_EQ(fs.files, before);

    fs.failingRenames.clear();
    EXPECT_TRUE(ReplaceFiles(fs, {{"a.tls", "new a"}, {"b.tls", "new b"}, {"c.rst", "new c"}}));
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{
                            {"a.tls", "new a"}, {"b.tls", "new b"}, {"c.rst", "new c"}}));
}
