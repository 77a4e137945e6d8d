// libFuzzer target for the genuine-count import: the input holds a CSV text
// (UTF-8) and a written-result file (".rst"), split at fuzz::kPartSeparator.
// The counts read from the CSV are applied to the written result opened in
// the result-writing model. Every record the parser gives is also written
// again as a CSV line after the byte-order mark, as an exported file starts,
// which must read back the same, formula-looking texts as text.
#include "FuzzInput.h"
#include "doc/GenuineCounts.h"
#include "platform/posix/PosixPlatform.h"
#include "util/Csv.h"

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const posix::IconvCodec codec;
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 2);

    std::vector<csv::Record> records;
    std::string error;
    if (csv::Parse(parts[0], records, error)) {
        for (const csv::Record& r : records) {
            // A record of one field that is written empty (empty, or NUL
            // bytes only, which are dropped) is an empty line, which is no
            // record: nothing to compare.
            if (r.fields.size() == 1 && csv::AsText(r.fields[0]).empty())
                continue;
            std::vector<csv::Record> back;
            std::string backError;
            fuzz::Check(
                csv::Parse(std::string(csv::kUtf8Bom) + csv::Line(r.fields), back, backError),
                "a written line parses");
            // Texts a spreadsheet would run as formulas come back behind
            // their apostrophe.
            std::vector<std::string> shown;
            for (const std::string& f : r.fields)
                shown.push_back(csv::AsText(f));
            fuzz::Check(back.size() == 1 && back[0].fields == shown,
                        "a written line reads back as text");
        }
    } else {
        fuzz::Check(!error.empty(), "a refused text is named");
    }

    std::vector<GenuineCount> counts;
    GenuineCountProblems problems;
    ReadGenuineCounts(parts[0], codec, counts, problems);

    test::MemoryFileSystem fs;
    fuzz::QuietMessages messages;
    CAuditUtil util(fs, messages);
    if (!util.SetResultNames("total", CAuditUtil::NameForm::Name))
        fuzz::Fail("the total's name is accepted");
    if (parts.size() > 1)
        fs.files[util.ResultPath(".rst")] = parts[1];
    CResultWriting model(util);
    model.Open();
    const int applied = ApplyGenuineCounts(model, counts);
    fuzz::Check(applied >= 0 && applied <= static_cast<int>(counts.size()) * model.RowCount(),
                "each count changes each row at most once");
    return 0;
}
