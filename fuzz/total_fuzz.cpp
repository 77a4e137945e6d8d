// libFuzzer target for the total and written-result files: the input holds a
// total file (".tls") and a written-result file (".rst"), split at
// fuzz::kPartSeparator. The document loads the total into its lists and saves
// it again; the report readers read both files, and the reports made from
// what they read are laid out and drawn.
#include "FuzzInput.h"
#include "doc/AuditLists.h"
#include "doc/OstravionDoc.h"
#include "doc/TotalReaders.h"
#include "files/TotalFile.h"
#include "util/Text.h"
#include "views/RecordingCanvas.h"
#include "views/ReportLayout.h"

#include <algorithm>

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 2);
    test::MemoryFileSystem fs;
    fuzz::QuietMessages messages;
    CAuditUtil util(fs, messages);
    if (!util.SetResultNames("total", CAuditUtil::NameForm::Name))
        fuzz::Fail("the total's name is accepted");
    fs.files[util.ResultPath(".tls")] = parts[0];
    if (parts.size() > 1)
        fs.files[util.ResultPath(".rst")] = parts[1];

    for (int kind : {3, 4}) {
        std::vector<ResultRow> rows;
        AdminValues admin;
        const bool read = ReadResultRows(util, rows, admin, kind);
        fuzz::Check(read == (kind == 3 || parts.size() > 1), "a file that exists is read");
    }
    PcHistory history;
    fuzz::Check(ReadPcHistory(util, history), "the total's history is read");
    long long counted = 0;
    for (int n : history.perPcCounts)
        counted += n;
    fuzz::Check(counted == static_cast<long long>(history.lines.size()),
                "the per-PC counts add up to the history lines");

    const ReportReaders readers = TotalFileReaders(util);
    for (ReportKind kind :
         {ReportKind::ByPc, ReportKind::BySoftware, ReportKind::ConfirmationSheet}) {
        const ReportLayout layout = PrepareReport(util, kind, readers);
        const int pages = std::min(layout.PageCount(), 20);
        for (int page = 1; page <= pages; ++page) {
            test::RecordingCanvas canvas;
            layout.DrawPage(canvas, page);
        }
    }

    AuditLists lists(util);
    auto& [normal, extended, doc] = lists;
    util.SetWorkState(kTotalOpened);
    doc.SetLayoutMode(kTotalLayout);
    fuzz::Check(doc.LoadTotal(), "the total loads");
    const int listed = normal.RowCount() + extended.RowCount();

    // A save from the lists takes the administrative values and the history
    // from the previous total and every listed row from the lists; they all
    // read back, whatever the values hold.
    util.SetWorkState(kSaved);
    fuzz::Check(doc.SaveTotal(), "the total saves");
    const std::string& saved = fs.files[util.ResultPath(".tls")];
    std::vector<std::string_view> lines;
    text::SplitTextViews(parts[0], "\r\n", lines);
    const AdminValues before = ReadAdminValues(lines);
    text::SplitTextViews(saved, "\r\n", lines);
    const AdminValues after = ReadAdminValues(lines);
    // Unless a value ends in half a character: that one takes the line break
    // after it, and the header line behind it may then be read as a value
    // and a value behind that as a header, before or after it in order.
    const auto fields = {&AdminValues::checkDepartment,   &AdminValues::checker,
                         &AdminValues::confirmDepartment, &AdminValues::confirmer,
                         &AdminValues::pcCount,           &AdminValues::remark};
    const bool whole = std::all_of(fields.begin(), fields.end(), [&](auto field) {
        return fuzz::EndsInWholeCharacter(before.*field);
    });
    for (auto field : fields)
        fuzz::Check(!whole || after.*field == text::DashIfEmpty(before.*field),
                    "the administrative values read back");
    fuzz::Check(static_cast<int>(ReadTotalRows(saved).size()) == listed,
                "every listed row reads back");
    PcHistory kept;
    ParsePcHistory(saved, kept);
    fuzz::Check(kept.lines == history.lines, "the history reads back");

    fuzz::Check(doc.LoadTotal(), "the saved total loads");
    fuzz::Check(normal.RowCount() + extended.RowCount() == listed, "the same rows are listed");
    return 0;
}
