// libFuzzer target for the result-writing model: the input holds a
// written-result file (".rst") and a total file (".tls"), split at
// fuzz::kPartSeparator. The model opens the written result, takes a few edits
// and a sort, and saves both files, after which the document reloads the
// total and the model opens the new written result.
#include "FuzzInput.h"
#include "doc/OstravionDoc.h"
#include "doc/ResultWriting.h"

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

    COstravionView normal(util, nullptr);
    CExtendView extended(util, nullptr);
    COstravionDoc doc(util, normal, extended);
    CResultWriting model(util);
    fuzz::Check(model.Open(), "a file that exists opens");
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
    }
    return 0;
}
