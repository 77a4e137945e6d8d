#include "desktop/ScreenRules.h"

#include <algorithm>

namespace ostravion::desktop {

CommandBarPlaces PlaceCommandBar(int width, int height, int buttonsRight,
                                 const CommandBarMetrics& m) {
    CommandBarPlaces p;
    const auto radio = [&m](int left) {
        return PixelBox{left, m.radioTop, left + m.radioWidth, m.radioTop + m.radioHeight};
    };
    p.normal = radio(width - m.normalFromRight);
    p.extended = radio(width - m.extendedFromRight);
    // Radios over a button move behind the last one, keeping their spacing.
    if (p.normal.left < buttonsRight) {
        const int left = buttonsRight + m.gap;
        p.normal = radio(left);
        p.extended = radio(left + (m.normalFromRight - m.extendedFromRight));
    }
    const int logoLeft = width - m.logoWidth - 1;
    const int logoTop = height - m.logoHeight - 5;
    p.logo = PixelBox{logoLeft, logoTop, logoLeft + m.logoWidth, logoTop + m.logoHeight};
    p.logoShown =
        p.logo.left >= buttonsRight && !p.logo.Overlaps(p.normal) && !p.logo.Overlaps(p.extended);
    return p;
}

RowHeights SplitRows(int height, int bar, int upperIdeal, bool keepLower, int minimum) {
    const int room = std::max(0, height - bar);
    RowHeights r;
    r.upper = std::clamp(upperIdeal, 0, room);
    r.lower = room - r.upper;
    if (r.lower >= minimum)
        return r;
    if (keepLower && room >= minimum)
        return RowHeights{room - minimum, minimum};
    return RowHeights{room + bar, 0};
}

int PreviewPages::Last() const {
    return std::min(first_ + Showing() - 1, count_);
}

void PreviewPages::Settle() {
    // Two pages never show the last page alone when there is one before it.
    const int most = Showing() == 2 ? std::max(1, count_ - 1) : count_;
    first_ = std::clamp(first_, 1, most);
}

void PreviewPages::Next() {
    if (CanGoNext())
        first_ += Showing();
    Settle();
}

void PreviewPages::Previous() {
    first_ -= Showing();
    Settle();
}

void PreviewPages::ToggleTwo() {
    if (!CanToggleTwo())
        return;
    shown_ = shown_ == 2 ? 1 : 2;
    Settle();
}

void PreviewPages::ShowOne() {
    shown_ = 1;
    Settle();
}

void PreviewPages::ZoomIn() {
    zoom_ = std::min(zoom_ + 1, kZoomSteps - 1);
    Settle();
}

void PreviewPages::ZoomOut() {
    zoom_ = std::max(zoom_ - 1, 0);
    Settle();
}

} // namespace ostravion::desktop
