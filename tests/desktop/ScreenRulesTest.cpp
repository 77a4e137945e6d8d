#include "desktop/ScreenRules.h"

#include <gtest/gtest.h>

using namespace ostravion::desktop;

namespace {
constexpr int kButtonsRight = 331; // five buttons of 65 pixels in 184 dialog units
}

TEST(CommandBarPlaces, WideBarsKeepTheAnchoredPlaces) {
    const CommandBarPlaces p = PlaceCommandBar(1000, 63, kButtonsRight);
    EXPECT_EQ(p.normal.left, 630);
    EXPECT_EQ(p.extended.left, 700);
    EXPECT_EQ(p.normal.top, 20);
    EXPECT_EQ(p.normal.Width(), 64);
    EXPECT_TRUE(p.logoShown);
    EXPECT_EQ(p.logo.left, 1000 - 228 - 1);
    EXPECT_EQ(p.logo.top, 63 - 52 - 5);
}

TEST(CommandBarPlaces, NarrowBarsCoverNoButtonAndNoRadio) {
    const PixelBox buttons{0, 0, kButtonsRight, 60};
    for (int width = 340; width <= 1000; ++width) {
        const CommandBarPlaces p = PlaceCommandBar(width, 63, kButtonsRight);
        EXPECT_FALSE(p.normal.Overlaps(buttons)) << width;
        EXPECT_FALSE(p.extended.Overlaps(buttons)) << width;
        EXPECT_FALSE(p.normal.Overlaps(p.extended)) << width;
        if (p.logoShown) {
            EXPECT_FALSE(p.logo.Overlaps(buttons)) << width;
            EXPECT_FALSE(p.logo.Overlaps(p.normal) || p.logo.Overlaps(p.extended)) << width;
        }
    }
    // Where the anchored radios would cover 인쇄 they sit after it, and the
    // logo, which would cover them, gives way.
    const CommandBarPlaces narrow = PlaceCommandBar(630, 63, kButtonsRight);
    EXPECT_EQ(narrow.normal.left, kButtonsRight + 6);
    EXPECT_EQ(narrow.extended.left - narrow.normal.left, 70);
    EXPECT_FALSE(narrow.logoShown);
    // Just wide enough: the anchored places, logo included.
    const CommandBarPlaces fits = PlaceCommandBar(kButtonsRight + 370, 63, kButtonsRight);
    EXPECT_EQ(fits.normal.left, kButtonsRight);
    EXPECT_TRUE(fits.logoShown);
}

TEST(PreviewPages, TwoPagesFromTheLastPageShowTheLastTwo) {
    PreviewPages p(5);
    for (int i = 0; i < 4; ++i)
        p.Next();
    EXPECT_EQ(p.First(), 5);
    EXPECT_FALSE(p.CanGoNext());
    p.ToggleTwo();
    EXPECT_EQ(p.First(), 4);
    EXPECT_EQ(p.Last(), 5);
    // Back and forth in pairs: the end shows a pair too.
    p.Previous();
    EXPECT_EQ(p.First(), 2);
    p.Next();
    p.Next();
    EXPECT_EQ(p.First(), 4);
    EXPECT_EQ(p.Last(), 5);
    // An enlarged page shows alone; whole pages show the pair again.
    p.ZoomIn();
    EXPECT_EQ(p.Last(), 4);
    EXPECT_FALSE(p.CanToggleTwo());
    p.ZoomOut();
    EXPECT_EQ(p.Last(), 5);
    p.ToggleTwo();
    EXPECT_EQ(p.First(), 4);
    EXPECT_EQ(p.Last(), 4);

    PreviewPages one(1);
    one.ToggleTwo();
    EXPECT_EQ(one.First(), 1);
    EXPECT_EQ(one.Last(), 1);
    EXPECT_FALSE(one.CanGoNext());
}

TEST(RowHeights, TheLowerRowKeepsItsMinimumWhileExtendedIsChosen) {
    // Room for both: the upper row gets its ideal height.
    EXPECT_EQ(SplitRows(605, 5, 300, true).upper, 300);
    EXPECT_EQ(SplitRows(605, 5, 300, true).lower, 300);
    // Too little room: hidden in the normal layout, kept at 10 in the extended one.
    EXPECT_EQ(SplitRows(200, 5, 300, false).lower, 0);
    EXPECT_EQ(SplitRows(200, 5, 300, false).upper, 200);
    EXPECT_EQ(SplitRows(200, 5, 300, true).lower, 10);
    EXPECT_EQ(SplitRows(200, 5, 300, true).upper, 185);
    EXPECT_EQ(SplitRows(12, 5, 300, true).lower, 0);
}
