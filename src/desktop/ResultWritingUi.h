// What both fronts' result-writing dialogs decide alike: the count cell the
// keys open on a row, and whether closing without a save would lose work.
#pragma once

#include "doc/ResultWriting.h"
#include "ports/Ports.h"

#include <array>
#include <string>
#include <vector>

namespace ostravion {

// F2, Enter or a digit on a row of the list opens the editor on this column.
inline constexpr int kKeyEditColumn = kResultGenuine;

// Tab in the editor stores the count and opens the row's other count cell.
inline int OtherCountColumn(int column) {
    return column == kResultGenuine ? kResultInstalled : kResultGenuine;
}

// True for the keys that open the editor on a row when typed there: the
// digits, whose text becomes the cell's new text.
inline bool OpensEditorWithText(char32_t typed) {
    return typed >= U'0' && typed <= U'9';
}

// The six administrative fields as the dialog shows them, in ResultField order.
using TypedFields = std::array<std::string, 6>;

// What the dialog showed when it opened. The fields reach the model only
// when saved, so the typed ones are compared with what was read; the rows
// are compared whatever their order (a sort is not a change) and without
// their ticks.
class ResultWorkSnapshot {
public:
    explicit ResultWorkSnapshot(const CResultWriting& model);

    bool Changed(const CResultWriting& model, const TypedFields& typed) const;

    // Escape or the close box: without changes the dialog closes at once;
    // with them only on a Yes to "저장하지 않고 닫으시겠습니까?".
    bool MayClose(const CResultWriting& model, const TypedFields& typed, MessagePort& ui) const;

private:
    std::vector<std::array<std::string, kResultColumnCount>> rows_;
    TypedFields fields_;
};

} // namespace ostravion
