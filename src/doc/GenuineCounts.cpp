#include "doc/GenuineCounts.h"

#include "util/Csv.h"
#include "util/Text.h"

namespace ostravion {

bool ReadGenuineCounts(std::string_view csvText, const TextCodec& codec,
                       std::vector<GenuineCount>& counts, std::string& error,
                       std::vector<int>& badLines) {
    counts.clear();
    badLines.clear();
    error.clear();
    std::vector<csv::Record> records;
    if (!csv::Parse(csvText, records, error))
        return false;
    for (const csv::Record& r : records) {
        int value = 0;
        if (r.fields.size() < 2 || !ParseCount(r.fields[1], value)) {
            badLines.push_back(r.line);
            continue;
        }
        counts.push_back({codec.FromUtf8(r.fields[0]), r.fields[1], r.line});
    }
    return badLines.empty();
}

int ApplyGenuineCounts(CResultWriting& model, const std::vector<GenuineCount>& counts,
                       const GenuineCountEvents& events) {
    int applied = 0;
    for (const GenuineCount& c : counts) {
        bool found = false;
        for (int row = 0; row < model.RowCount(); ++row) {
            if (!text::EqualsNoCase(model.ItemText(row, kResultProgram), c.program))
                continue;
            found = true;
            const EditOutcome outcome = model.EndEdit(row, kResultGenuine, c.count);
            if (outcome == EditOutcome::GenuineReset && events.genuineReset)
                events.genuineReset(c, row);
            if (outcome != EditOutcome::Ignored && outcome != EditOutcome::Refused)
                ++applied;
        }
        if (!found && events.noSuchProgram)
            events.noSuchProgram(c);
    }
    return applied;
}

} // namespace ostravion
