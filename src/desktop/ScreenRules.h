// Rules of the two windows that do not depend on the window system: where
// the command bar's radio buttons and logo go at a given width, and which
// pages the print preview shows. Both fronts place and show by these.
#pragma once

namespace ostravion::desktop {

// A rectangle in pixels: left and top inside, right and bottom outside.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    bool Overlaps(const PixelBox& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// The sizes the bar's places are given in, in pixels of the screen (a front
// scales them for a screen of more than 96 dots per inch).
struct CommandBarMetrics {
    int normalFromRight = 370;   // "일반": its left edge this far from the right end
    int extendedFromRight = 300; // "확장"
    int radioTop = 20;
    int radioWidth = 64; // the caption with its key: "확장(E)"
    int radioHeight = 20;
    int logoWidth = 228;
    int logoHeight = 52;
    int gap = 6; // between the last button and radios that had to move
};

struct CommandBarPlaces {
    PixelBox normal, extended, logo;
    // False when the logo would cover a button or a radio button: it is
    // then neither drawn nor a link.
    bool logoShown = true;
};

// The places in a bar of `width` × `height` whose buttons end at
// `buttonsRight`. The radios keep their distance from the right end and the
// logo its corner where they fit; where the logo would cover a button or a
// radio it gives way, and radios that would cover a button sit after the
// last one instead.
CommandBarPlaces PlaceCommandBar(int width, int height, int buttonsRight,
                                 const CommandBarMetrics& m = {});

// The heights of the two list rows in `height` pixels, a splitter bar of
// `bar` pixels between them: the upper row gets its ideal height as far as it
// fits, the lower one the rest. A lower row left with less than `minimum` is
// hidden (0, and the upper row takes the bar's room too), unless `keepLower`
// (the extended layout is chosen): it then keeps its minimum.
struct RowHeights {
    int upper = 0, lower = 0;
};
RowHeights SplitRows(int height, int bar, int upperIdeal, bool keepLower, int minimum = 10);

// The pages a print preview shows: one or two whole pages side by side, or
// one page enlarged in one of two zoom steps.
class PreviewPages {
public:
    static constexpr int kZoomSteps = 3; // 0 whole pages, then two enlargements

    explicit PreviewPages(int count) : count_(count < 1 ? 1 : count) {}

    int Count() const { return count_; }
    int First() const { return first_; }
    // The last page shown: a second one only while two show and there is one.
    int Last() const;
    // Pages side by side: an enlarged page shows alone.
    int Showing() const { return zoom_ > 0 ? 1 : shown_; }
    bool TwoPages() const { return shown_ == 2; }
    int Zoom() const { return zoom_; }

    bool CanGoNext() const { return Last() < count_; }
    bool CanGoPrevious() const { return first_ > 1; }
    bool CanZoomIn() const { return zoom_ + 1 < kZoomSteps; }
    bool CanZoomOut() const { return zoom_ > 0; }
    bool CanToggleTwo() const { return zoom_ == 0; }

    void Next();
    void Previous();
    // Two pages side by side from the page shown, or one page again. Two
    // pages from the last page show the last two.
    void ToggleTwo();
    void ShowOne();
    void ZoomIn();
    void ZoomOut();

private:
    void Settle();

    int count_;
    int first_ = 1;
    int shown_ = 1;
    int zoom_ = 0;
};

} // namespace ostravion::desktop
