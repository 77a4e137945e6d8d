#include "desktop/ResultWritingUi.h"

#include "desktop/DesktopTexts.h"

#include <algorithm>

namespace ostravion {

namespace {

std::vector<std::array<std::string, kResultColumnCount>> SortedRows(const CResultWriting& model) {
    std::vector<std::array<std::string, kResultColumnCount>> rows;
    rows.reserve(static_cast<std::size_t>(model.RowCount()));
    for (int r = 0; r < model.RowCount(); ++r)
        rows.push_back(model.Row(r).cells);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// A field as it would be stored: line breaks alike whether typed as LF or
// read as CR LF.
std::string Comparable(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TypedFields ModelFields(const CResultWriting& model) {
    TypedFields fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = model.Field(static_cast<ResultField>(i));
    return fields;
}

} // namespace

ResultWorkSnapshot::ResultWorkSnapshot(const CResultWriting& model)
    : rows_(SortedRows(model)), fields_(ModelFields(model)) {}

bool ResultWorkSnapshot::Changed(const CResultWriting& model, const TypedFields& typed) const {
    for (std::size_t i = 0; i < typed.size(); ++i)
        if (Comparable(typed[i]) != Comparable(fields_[i]))
            return true;
    return SortedRows(model) != rows_;
}

bool ResultWorkSnapshot::MayClose(const CResultWriting& model, const TypedFields& typed,
                                  MessagePort& ui) const {
    return !Changed(model, typed) || ui.Ask(desktop::kCloseUnsaved);
}

} // namespace ostravion
