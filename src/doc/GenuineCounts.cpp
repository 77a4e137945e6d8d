#include "doc/GenuineCounts.h"

#include "util/Csv.h"
#include "util/Text.h"

#include <algorithm>

namespace ostravion {

bool ReadGenuineCounts(std::string_view csvBytes, const TextCodec& codec,
                       std::vector<GenuineCount>& counts, GenuineCountProblems& problems) {
    counts.clear();
    problems = GenuineCountProblems();
    InputText decoded;
    if (!DecodeInputText(csvBytes, codec, decoded, problems.character)) {
        problems.unwritable = true;
        return false;
    }
    problems.encoding = decoded.encoding;
    // No CP949 trail byte is a comma, a quote, CR or LF, so the CSV rules
    // apply to the CP949 text byte by byte.
    std::vector<csv::Record> records;
    if (!csv::Parse(decoded.cp949, records, problems.error))
        return false;
    for (const csv::Record& r : records) {
        int value = 0;
        if (r.fields.size() < 2 || !ParseCount(r.fields[1], value)) {
            problems.badLines.push_back(r.line);
            continue;
        }
        const auto same = std::find_if(counts.begin(), counts.end(), [&](const GenuineCount& c) {
            return text::EqualsNoCase(c.program, r.fields[0]);
        });
        if (same == counts.end()) {
            counts.push_back({r.fields[0], r.fields[1], r.line});
            continue;
        }
        int first = 0;
        ParseCount(same->count, first);
        if (first != value)
            problems.conflicts.emplace_back(same->line, r.line);
    }
    return problems.badLines.empty() && problems.conflicts.empty();
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
