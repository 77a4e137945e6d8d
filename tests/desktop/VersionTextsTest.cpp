// The window title carries the first two numbers of the version the project
// builds, which the programs' --version and version resources carry in full.
#include "Version.h"
#include "desktop/DesktopTexts.h"

#include <gtest/gtest.h>
#include <string>

namespace ostravion::desktop {
namespace {

TEST(VersionTexts, TitlesNameTheProjectsVersion) {
    const std::string version = "OstravionV" + std::to_string(OSTRAVION_VERSION_MAJOR) + "." +
                                std::to_string(OSTRAVION_VERSION_MINOR);
    EXPECT_EQ(version + "-", kTitlePrefix);
    EXPECT_EQ("Normal.tls - " + version, kInitialTitle);
}

} // namespace
} // namespace ostravion::desktop
