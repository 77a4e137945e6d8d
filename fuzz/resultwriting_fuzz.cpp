// libFuzzer target for the result-writing model: the input holds a
// written-result file (".rst") and a total file (".tls"), split at
// fuzz::kPartSeparator. The model opens the written result, takes a few edits
// and a sort, and saves both files, after which the document reloads the
// total and the model opens the new written result.
#include "FuzzInput.h"
#include "doc/AuditLists.h"
#include "doc/OstravionDoc.h"
#include "doc/ResultWriting.h"
#include "files/TotalFile.h"
#include "util/Text.h"

#include <algorithm>

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 2);
    test::MemoryFileSystem fs;
    fuzz::QuietMessages messages;
    CAuditUtil util(fs, messages);
    if (!util.SetResultNames("total", CAuditUtil::NameForm::Name))
        fuzz::Fail("the total's name is accepted");
    fs.files[util.ResultPath(".rst")] = parts[0];
    if (parts.size() > 1)
        fs.files[util.ResultPath(".tls")] = parts[1];

    AuditLists lists(util);
    COstravionDoc& doc = lists.doc;
    CResultWriting model(util);
    const std::string totalBefore = parts.size() > 1 ? parts[1] : std::string();
    if (!model.Open()) {
        // Only a written result that is not the total's is refused; it
        // never saves, and both files stay as they were.
        fuzz::Check(model.Refused(), "a file that exists opens unless it is another total's");
        fuzz::Check(!model.Save(&doc), "a refused written result does not save");
        fuzz::Check(fs.files[util.ResultPath(".rst")] == parts[0] &&
                        (parts.size() < 2 || fs.files[util.ResultPath(".tls")] == totalBefore),
                    "a refused written result leaves both files");
        return 0;
    }
    for (int row = 0; row < model.RowCount(); ++row)
        fuzz::Check(model.StoredForRow(row) != nullptr, "every opened row has its fields");

    if (model.RowCount() > 0) {
        model.EndEdit(0, kResultGenuine, std::string("1"));
        model.EndEdit(model.RowCount() - 1, kResultInstalled, model.ItemText(0, kResultCopies));
    }
    model.ColumnClicked(kResultRate);
    for (ResultField f : {ResultField::CheckDepartment, ResultField::Checker,
                          ResultField::ConfirmDepartment, ResultField::Confirmer})
        if (model.Field(f).empty())
            model.SetField(f, "x");
    const int rows = model.RowCount();
    if (model.Save(&doc)) {
        CResultWriting again(util);
        fuzz::Check(again.Open(), "the saved written result opens");
        fuzz::Check(again.RowCount() == rows, "every saved row reads back");
        // The values read back as they were given, whatever they hold ("-"
        // is the empty value; a remark's line breaks are written as "#r#n"),
        // in the order written up to one that ends in half a character.
        bool whole = true;
        for (ResultField f :
             {ResultField::CheckDepartment, ResultField::Checker, ResultField::ConfirmDepartment,
              ResultField::Confirmer, ResultField::PcCount}) {
            whole = whole && fuzz::EndsInWholeCharacter(model.Field(f));
            if (whole)
                fuzz::Check(again.Field(f) == text::EmptyIfDash(model.Field(f)),
                            "the administrative values read back");
        }
        const std::string& remark = model.Field(ResultField::Remark);
        if (whole && remark != "-" && std::all_of(remark.begin(), remark.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x80 && c != '#';
            }))
            fuzz::Check(again.Field(ResultField::Remark) == remark, "the remark reads back");

        // The total keeps the rows of the previous one that do not count
        // (a last line that ends in half a character takes the line break
        // written after it, and the next line with it), and its history.
        const std::string& total = fs.files[util.ResultPath(".tls")];
        std::string before, after;
        AppendUncountedRowLines(parts[1], before);
        AppendUncountedRowLines(total, after);
        if (fuzz::EndsInWholeCharacter(parts[1]))
            fuzz::Check(after == before, "the rows that do not count stay");
        PcHistory was, is;
        ParsePcHistory(parts[1], was);
        ParsePcHistory(total, is);
        fuzz::Check(is.lines == was.lines, "the history stays");
    }
    return 0;
}
