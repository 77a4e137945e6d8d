// Closing the result-writing dialog without a save: what counts as typed
// work that would be lost, and the question asked before it is.
#include "desktop/ResultWritingUi.h"
#include "desktop/DesktopTexts.h"

#include "Fakes.h"
#include "files/FileTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace ostravion {
namespace {

using test::AdminPart;
using test::Line;

std::string Row(const std::string& name, const std::string& company, const std::string& installed,
                const std::string& genuine) {
    return Line(
        {"2", "APP", "k2", "k0", name, "1.0", installed, genuine, "0", "k7", company, "1", "1"});
}

struct ResultWorkTest : ::testing::Test {
    test::MemoryFileSystem fs;
    test::RecordingMessages messages;
    CAuditUtil util{fs, messages};
    CResultWriting model{util};

    void SetUp() override {
        ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
        const std::string admin = AdminPart("Audit", "Kim", "IT", "", "3", "line1#r#nline2");
        const std::string rows = Row("Word", "Acme", "3", "1") + Row("Hangul", "Hancom", "2", "0");
        fs.files[".\\CheckOut\\audit.rst"] = admin + rows;
        fs.files[".\\CheckOut\\audit.tls"] = admin + rows + "[PC_HISTORY]\r\n";
        ASSERT_TRUE(model.Open());
    }
    // The fields as a dialog shows them: the remark with the line break it types.
    static TypedFields Shown() { return {"Audit", "Kim", "IT", "", "3", "line1\nline2"}; }
};

TEST_F(ResultWorkTest, OnlyWorkTheSaveWouldWriteCountsAsAChange) {
    const ResultWorkSnapshot opened(model);
    EXPECT_FALSE(opened.Changed(model, Shown()));
    // A sort, a tick and a count stored as it was are no change.
    model.ColumnClicked(kResultProgram);
    model.SetCheck(0, true);
    model.EndEdit(0, kResultInstalled, model.ItemText(0, kResultInstalled));
    EXPECT_FALSE(opened.Changed(model, Shown()));

    const std::vector<std::function<void(CResultWriting&, TypedFields&)>> changes = {
        [](CResultWriting&, TypedFields& t) { t[1] = "Lee"; },
        [](CResultWriting&, TypedFields& t) { t[5] = "line1"; },
        [](CResultWriting& m, TypedFields&) { m.EndEdit(0, kResultGenuine, "2"); },
        [](CResultWriting& m, TypedFields&) {
            m.AddProgram({"Zip", "1", "Zed", "9"});
        },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CResultWriting fresh{util};
        ASSERT_TRUE(fresh.Open());
        const ResultWorkSnapshot before(fresh);
        TypedFields typed = Shown();
        changes[i](fresh, typed);
        EXPECT_TRUE(before.Changed(fresh, typed)) << "change " << i;
    }
}

TEST_F(ResultWorkTest, ClosingWithChangesAsksFirst) {
    const ResultWorkSnapshot opened(model);
    EXPECT_TRUE(opened.MayClose(model, Shown(), messages));
    EXPECT_TRUE(messages.asked.empty());
    model.EndEdit(1, kResultGenuine, "1");
    messages.answers = {false, true};
    EXPECT_FALSE(opened.MayClose(model, Shown(), messages));
    EXPECT_TRUE(opened.MayClose(model, Shown(), messages));
    EXPECT_EQ(messages.asked,
              (std::vector<std::string>{desktop::kCloseUnsaved, desktop::kCloseUnsaved}));
}

} // namespace
} // namespace ostravion
