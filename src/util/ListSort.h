// The in-place text sort that every list of the system uses when a column
// header is clicked or a writer orders its rows.
#pragma once

#include "util/Text.h"

#include <string>
#include <utility>
#include <vector>

namespace ostravion {

namespace detail {
template <typename Row, typename TextOf>
void SortTextRange(std::vector<Row>& rows, const TextOf& textOf, bool ascending, int low,
                   int high) {
    int lo = low, hi = high;
    if (hi <= lo)
        return;
    const auto text = [&](int row) -> const std::string& {
        return textOf(rows[static_cast<std::size_t>(row)]);
    };
    const std::string pivot = text((lo + hi) / 2);
    while (lo <= hi) {
        if (ascending) {
            while (lo < high && text::Compare(text(lo), pivot) < 0)
                ++lo;
            while (hi > low && text::Compare(text(hi), pivot) > 0)
                --hi;
        } else {
            while (lo < high && text::Compare(text(lo), pivot) > 0)
                ++lo;
            while (hi > low && text::Compare(text(hi), pivot) < 0)
                --hi;
        }
        if (lo <= hi) {
            if (text(lo) != text(hi))
                std::swap(rows[static_cast<std::size_t>(lo)], rows[static_cast<std::size_t>(hi)]);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortTextRange(rows, textOf, ascending, low, hi);
    if (lo < high)
        SortTextRange(rows, textOf, ascending, lo, high);
}
} // namespace detail

// In-place quicksort on the rows with the middle row's text as pivot. Rows are
// swapped whole, and only where their texts differ; the sort is not stable,
// and the order it leaves equal texts in is part of what the result files
// hold. `textOf(row)` gives the text a row is sorted by.
template <typename Row, typename TextOf>
void SortRowsByText(std::vector<Row>& rows, const TextOf& textOf, bool ascending) {
    detail::SortTextRange(rows, textOf, ascending, 0, static_cast<int>(rows.size()) - 1);
}

} // namespace ostravion
