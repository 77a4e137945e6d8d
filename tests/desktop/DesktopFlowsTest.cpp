// The desktop program's flows against a scripted window and a recording
// document: every command with its questions, dialogs, cancels, work
// states, command states, progress and titles.
#include "desktop/DesktopFlows.h"
#include "desktop/DesktopTexts.h"
#include "desktop/NativeFolders.h"
#include "doc/CandidateExport.h"
#include "doc/FileSelection.h"
#include "doc/Inspection.h"
#include "doc/ResultWriting.h"
#include "doc/SharedWrite.h"
#include "files/TotalFile.h"
#include "scan/KeyList.h"
#include "views/PrintSelection.h"
#include "views/ReportLayout.h"

#include "Fakes.h"
#include "desktop/RecordingDocument.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace ostravion {
namespace {

using namespace desktop;

const std::string kTotal = ".\\CheckOut\\total.tls";

struct IdentityCodec final : TextCodec {
    std::string ToUtf8(const std::string& s) const override { return s; }
    std::string FromUtf8(const std::string& s) const override { return s; }
};

struct FixedSystem final : SystemInfo {
    std::string ComputerName() const override { return computer; }
    std::string UserName() const override { return "kim"; }
    ProcessorFacts Processor() const override { return {0, 6, 0x0806}; }
    OsVersionFacts OsVersion() const override { return {}; }
    std::string AuditedDisk() const override { return disk; }
    std::string disk;
    std::string computer = "PC01";
};

struct FixedClock final : Clock {
    LocalTime Now() const override { return {2024, 3, 5, 9, 7, 0}; }
};

// A window that answers from queues and logs every call. A modal dialog
// takes the next action queued for it; while the dialog stays open after an
// action, the next one runs; with none left it is cancelled.
class ScriptedUi final : public DesktopUi {
public:
    std::vector<std::string> log;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<std::function<void(StartDialogModel&)>> startDialog;
    std::deque<std::function<void(SelectFilesModel&)>> selectFiles;
    std::deque<std::function<bool(CResultWriting&)>> resultWriting;
    std::deque<std::function<void(CPrintSelection&)>> printSelection;
    std::function<void()> during; // runs inside every question and dialog
    bool printer = true;
    std::optional<std::string> printFile;
    std::string title;
    CommandStates states;
    int activeView = 0;
    bool closed = false;

    void Show(const std::string& text) override { Log("show: " + text); }
    bool Ask(const std::string& question) override {
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        Log("ask: " + question + (yes ? " = yes" : " = no"));
        return yes;
    }
    std::optional<std::string> ChooseOpenFile(const FileDialogRequest& r) override {
        return File("open", r);
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest& r) override {
        return File("save", r);
    }
    bool RunStartDialog(StartDialogModel& m) override {
        Log("dialog: start");
        return Run(startDialog, m,
                   [](StartDialogModel& d) { return d.Confirm() == StartFieldCheck::Ok ? 1 : 0; });
    }
    bool RunFileSelectionDialog(SelectFilesModel& m) override {
        Log("dialog: select files");
        return Run(selectFiles, m, [](SelectFilesModel& d) {
            const auto o = d.Confirm();
            return o == SelectFilesModel::Outcome::Accepted    ? 1
                   : o == SelectFilesModel::Outcome::Cancelled ? -1
                                                               : 0;
        });
    }
    bool RunResultWritingDialog(CResultWriting& m) override {
        Log("dialog: result writing");
        if (resultWriting.empty())
            return false;
        auto action = std::move(resultWriting.front());
        resultWriting.pop_front();
        return action(m);
    }
    bool RunPrintSelectionDialog(CPrintSelection& m) override {
        Log("dialog: print selection");
        if (printSelection.empty())
            return false;
        printSelection.front()(m);
        printSelection.pop_front();
        return m.CanConfirm();
    }
    bool FindPrinter() override { return printer; }
    std::optional<std::string> PrintFile() const override { return printFile; }
    void PrintReport(const ReportLayout& layout, bool preview) override {
        Log(std::string(preview ? "preview " : "print ") + std::to_string(layout.PageCount()));
    }
    void PrintSetup() override { Log("print setup"); }
    void SetTitle(const std::string& t) override { title = t; }
    void ApplyCommandStates(const CommandStates& s) override { states = s; }
    void ShowLayout(bool extended) override { Log(extended ? "layout extended" : "layout normal"); }
    int ActiveView() const override { return activeView; }
    void CloseWindow() override {
        closed = true;
        Log("close");
    }
    bool ExploreFolder(const std::string& path) override {
        Log("explore: " + path);
        return shellWorks;
    }
    bool OpenDocument(const std::string& path) override {
        Log("open: " + path);
        return shellWorks;
    }
    bool shellWorks = true; // the system has programs for folders and pages

    // The questions and messages of the log.
    std::vector<std::string> Questions() const {
        std::vector<std::string> out;
        for (const std::string& l : log)
            if (l.starts_with("ask: ") || l.starts_with("show: "))
                out.push_back(l);
        return out;
    }

private:
    void Log(std::string line) {
        log.push_back(std::move(line));
        if (during)
            during();
    }
    std::optional<std::string> File(const char* kind, const FileDialogRequest& r) {
        Log(std::string(kind) + ": " + r.caption + " " + r.initialName + " " + r.folder);
        if (files.empty())
            return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    // `press` answers 1 (closes with OK), -1 (closes as cancelled) or 0 (stays).
    template <typename Model, typename Queue, typename Press>
    bool Run(Queue& queue, Model& m, Press press) {
        while (!queue.empty()) {
            auto action = std::move(queue.front());
            queue.pop_front();
            action(m);
            const int outcome = press(m);
            if (outcome != 0)
                return outcome > 0;
        }
        return false;
    }
};

using Calls = std::vector<std::string>;

class DesktopFlowsTest : public ::testing::Test {
protected:
    DesktopFlowsTest()
        : util(fs, ui, &progress), doc(util), flows(util, doc, ui, {system, clock, codec}) {
        fs.files[kKeyListFile] = "keys";
        EXPECT_TRUE(flows.WindowCreated());
    }

    std::string Ask(const char* question, bool yes) {
        return std::string("ask: ") + question + (yes ? " = yes" : " = no");
    }
    std::string ShowOf(const char* text) { return std::string("show: ") + text; }
    void OpenTotal(const std::string& path = kTotal) {
        fs.files[path] = "x";
        ui.files.push_back(path);
        flows.OnCommand(ID_FILE_OPEN);
        doc.calls.clear();
        ui.log.clear();
    }
    void Start(const std::string& group, const std::string& name = "N1") {
        ui.startDialog.push_back([=](StartDialogModel& d) {
            d.group = group;
            d.resultName = name;
        });
        flows.OnCommand(IDC_START);
    }
    bool DocumentCommandsEnabled() const {
        return ui.states.MenuEnabled(ID_FILE_SAVE) && ui.states.ButtonEnabled(IDC_PRINT);
    }

    test::MemoryFileSystem fs;
    ScriptedUi ui;
    test::FakeProgressFactory progress;
    IdentityCodec codec;
    FixedSystem system;
    FixedClock clock;
    CAuditUtil util;
    RecordingDocument doc;
    DesktopFlows flows;
};

TEST_F(DesktopFlowsTest, WindowCreationMakesTheWorkFolderAndGreysTheDocumentCommands) {
    EXPECT_TRUE(fs.IsDirectory(".\\CheckOut"));
    EXPECT_FALSE(DocumentCommandsEnabled());
    EXPECT_TRUE(ui.states.MenuEnabled(ID_FILE_OPEN));
    EXPECT_FALSE(ui.states.ButtonEnabled(IDC_STOP));
}

TEST_F(DesktopFlowsTest, GreyedCommandsDoNothingWhicheverWayTheyCome) {
    for (int id : std::vector<int>{ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, IDC_PRINT,
                                   IDC_WRITE_RESULT, ID_FILE_PREVIEW, IDC_STOP, ID_SCAN_STOP})
        flows.OnCommand(id);
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(DesktopFlowsTest, OpenLoadsTheTotalWithProgressTitleAndCommands) {
    flows.OnCommand(ID_FILE_OPEN); // cancelled
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_EQ(ui.log, (Calls{std::string("open: ") + kOpenCaption + " *.tls .\\CheckOut\\"}));

    fs.cwd = "/start";
    util.RecordStartDirectory();
    int stateDuringLoad = -1;
    std::string cwdDuringLoad;
    doc.onCall = [&](const std::string& call) {
        if (call == "LoadTotal") {
            stateDuringLoad = util.GetWorkState();
            cwdDuringLoad = fs.cwd;
        }
    };
    ui.files.push_back(kTotal);
    ui.during = [&] { fs.cwd = "/elsewhere"; }; // a real dialog may leave another folder current
    flows.OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(doc.calls, (Calls{"SetLayoutMode 0", "LoadTotal"}));
    EXPECT_EQ(stateDuringLoad, kTotalOpened);
    EXPECT_EQ(cwdDuringLoad, "/start");
    EXPECT_EQ(util.TotalFileName(), "total.tls");
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    EXPECT_EQ(progress.log.front(), std::string("create ") + kReadingTotal);
    EXPECT_FALSE(util.HasProgress());
    EXPECT_TRUE(DocumentCommandsEnabled());

    // A second open in the total layout clears the views instead.
    doc.calls.clear();
    ui.files.push_back(".\\CheckOut\\again.tls");
    flows.OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(doc.calls, (Calls{"ClearViews", "LoadTotal"}));
}

TEST_F(DesktopFlowsTest, AGivenFileIsOpenedUnlessMissingOrAScanRuns) {
    EXPECT_FALSE(flows.OpenGivenFile(".\\CheckOut\\missing.tls"));
    EXPECT_EQ(ui.Questions(),
              (Calls{std::string("show: ") + kCannotOpen + ".\\CheckOut\\missing.tls"}));
    EXPECT_TRUE(doc.calls.empty());

    fs.files[".\\CheckOut\\dropped.tls"] = "x";
    EXPECT_TRUE(flows.OpenGivenFile(".\\CheckOut\\dropped.tls"));
    EXPECT_EQ(doc.calls, (Calls{"SetLayoutMode 0", "LoadTotal"}));
    EXPECT_EQ(ui.title, "OstravionV3.1-dropped.tls");

    // A dropped per-PC file is not a total: after its message the window
    // keeps the total it shows, its names and its commands.
    fs.files[".\\CheckOut\\ACME_PC1.ipt"] = "x";
    doc.calls.clear();
    ui.log.clear();
    EXPECT_TRUE(flows.OpenGivenFile(".\\CheckOut\\ACME_PC1.ipt"));
    EXPECT_EQ(ui.Questions(), Calls{std::string("show: ") + msg::kBadNamed});
    EXPECT_EQ(doc.calls, Calls{});
    EXPECT_EQ(ui.title, "OstravionV3.1-dropped.tls");
    EXPECT_EQ(util.ResultPath(".tls"), ".\\CheckOut\\dropped.tls");

    Start("ACME");
    doc.calls.clear();
    EXPECT_TRUE(flows.OpenGivenFile(".\\CheckOut\\dropped.tls"));
    EXPECT_EQ(doc.calls, Calls{});
}

TEST_F(DesktopFlowsTest, FirstSaveLeadsOnToResultWritingOnce) {
    OpenTotal();
    util.SetWorkState(kEdited);
    int stateDuringSave = -1;
    doc.onCall = [&](const std::string& call) {
        if (call == "SaveTotal")
            stateDuringSave = util.GetWorkState();
    };
    ui.resultWriting.push_back([](CResultWriting&) { return true; });
    flows.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal", "LoadTotal"}));
    EXPECT_EQ(stateDuringSave, kEdited);
    EXPECT_EQ(util.GetWorkState(), kSaved);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    // The dialog opened on the written result, which does not exist yet.
    EXPECT_EQ(ui.log, (Calls{ShowOf(totalfile::kResultFileOpenError), "dialog: result writing"}));

    // Once the written-result file exists, Save saves only; a dialog closed
    // without saving loads nothing.
    fs.files[".\\CheckOut\\total.rst"] = "x";
    doc.calls.clear();
    flows.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal"}));
}

TEST_F(DesktopFlowsTest, SaveAsMakesTheNewFileTheSourceOfTheNextSaveOnceSaved) {
    OpenTotal();
    const std::string previous = util.ResultPath(".tls");
    flows.OnCommand(ID_FILE_SAVE_AS); // cancelled
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(util.GetWorkState(), kTotalOpened);
    EXPECT_EQ(ui.log, (Calls{std::string("save: ") + kSaveAsCaption + " *.tls .\\CheckOut\\"}));

    int stateDuringSave = -1;
    std::string sourceDuringSave;
    doc.onCall = [&](const std::string&) {
        stateDuringSave = util.GetWorkState();
        sourceDuringSave = util.PreviousTotalPath();
    };
    // A failed save leaves the names, the state and the title as they were
    // and opens no result writing.
    doc.saves = false;
    ui.files.push_back(".\\CheckOut\\other.tls");
    ui.log.clear();
    flows.OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(stateDuringSave, kSavedAs);
    EXPECT_EQ(sourceDuringSave, previous);
    EXPECT_EQ(util.PreviousTotalPath(), "");
    EXPECT_EQ(util.TotalFileName(), "total.tls");
    EXPECT_EQ(util.GetWorkState(), kTotalOpened);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    EXPECT_NE(ui.log.back(), "dialog: result writing");

    // A name Windows cannot hold is refused before anything changes.
    ui.files.push_back(".\\CheckOut\\a*b.tls");
    doc.calls.clear();
    flows.OnCommand(ID_FILE_SAVE_AS);
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(
        ui.Questions().back(),
        ShowOf((std::string(msg::kBadPathOrParam) + "\n" + msg::kNameBadCharacter + "*").c_str()));

    doc.saves = true;
    ui.files.push_back(".\\CheckOut\\third.tls");
    flows.OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(util.PreviousTotalPath(), ".\\CheckOut\\third.tls");
}

TEST_F(DesktopFlowsTest, ConsolidateListsMarksAndMerges) {
    for (const char* name : {"b.ipt", "A.ipt", "c.IPT", "x.txt"})
        fs.files[std::string(".\\CheckOut\\") + name] = "x";
    std::vector<std::string> listed;
    std::string preset;
    int stateDuring = -1;
    doc.onCall = [&](const std::string&) { stateDuring = util.GetWorkState(); };
    ui.selectFiles.push_back([&](SelectFilesModel& d) {
        for (std::size_t i = 0; i < d.files.Count(); ++i)
            listed.push_back(d.files.Name(i));
        preset = d.resultName;
        d.files.Toggle(0);
        d.files.Toggle(2);
        d.resultName = "Total";
    });
    flows.OnCommand(IDC_CONSOLIDATE);
    EXPECT_EQ(listed, (Calls{"A.ipt", "b.ipt", "c.IPT"}));
    EXPECT_EQ(preset, "20240305090700");
    EXPECT_EQ(util.SelectedFiles(), (Calls{"A.ipt", "c.IPT"}));
    EXPECT_EQ(ui.title, "OstravionV3.1-" + util.TotalFileName() + "*");
    EXPECT_EQ(doc.calls, (Calls{"SetLayoutMode 0", "Consolidate"}));
    EXPECT_EQ(stateDuring, kConsolidated);
    EXPECT_TRUE(DocumentCommandsEnabled());
    EXPECT_FALSE(util.HasProgress());
}

TEST_F(DesktopFlowsTest, ConsolidateRefusalsNothingMarkedAndAnExistingTotal) {
    fs.files[".\\CheckOut\\a.ipt"] = "x";
    // Nothing marked: the message, and the dialog ends as if cancelled.
    ui.selectFiles.push_back([](SelectFilesModel&) {});
    flows.OnCommand(ID_CONSOLIDATE);
    EXPECT_EQ(ui.Questions(), (Calls{ShowOf(consolidation::kNoFileSelected)}));
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(util.GetWorkState(), kIdle);

    // A name that leaves the work folder, then No to merging into an
    // existing total: the dialog stays for another name each time.
    ui.log.clear();
    fs.files[".\\CheckOut\\total.tls"] = "old";
    const auto mark = [](std::string name) {
        return [name](SelectFilesModel& d) {
            d.files.SetAll(true);
            d.resultName = name;
        };
    };
    ui.selectFiles = {mark("../up"), mark("total"), mark("fresh")};
    ui.answers = {false};
    flows.OnCommand(ID_CONSOLIDATE);
    EXPECT_EQ(ui.Questions(),
              (Calls{ShowOf(msg::kBadPathOrParam), Ask(msg::kOverwriteQuestion, false)}));
    EXPECT_EQ(util.TotalFileName(), "fresh.tls");
    EXPECT_EQ(doc.calls.back(), "Consolidate");
}

TEST_F(DesktopFlowsTest, WriteResultAsksAccordingToTheWrittenFileAndTheEdits) {
    OpenTotal();
    int writings = 0;
    const auto dialog = [&](CResultWriting&) { return ++writings, false; };
    // No written result: "저장하시겠습니까?"; No does nothing.
    ui.answers = {false};
    flows.OnCommand(IDC_WRITE_RESULT);
    EXPECT_EQ(ui.Questions(), (Calls{Ask(kAskSave, false)}));
    EXPECT_EQ(util.GetWorkState(), kTotalOpened);
    // Yes: saved once (no second dialog from the save), the dialog once.
    int stateDuringSave = -1;
    doc.onCall = [&](const std::string&) { stateDuringSave = util.GetWorkState(); };
    ui.answers = {true};
    ui.resultWriting = {dialog, dialog};
    flows.OnCommand(ID_WRITE_RESULT);
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal"}));
    EXPECT_EQ(stateDuringSave, kWritingResult);
    EXPECT_EQ(writings, 1);

    // A written result, not edited: go on without saving (two blanks).
    fs.files[".\\CheckOut\\total.rst"] = "x";
    ui.log.clear();
    doc.calls.clear();
    util.SetWorkState(kSaved);
    ui.answers = {true};
    ui.resultWriting = {dialog};
    flows.OnCommand(ID_WRITE_RESULT);
    EXPECT_EQ(ui.Questions(), (Calls{Ask(kWrittenExistsGoOn, true)}));
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(util.GetWorkState(), kWritingResult);
    EXPECT_EQ(writings, 2);

    // Edited: save first (one blank); No leaves the state as it was.
    ui.log.clear();
    util.SetWorkState(kEdited);
    ui.answers = {true, false};
    ui.resultWriting = {dialog};
    flows.OnCommand(ID_WRITE_RESULT);
    EXPECT_EQ(ui.Questions(), (Calls{Ask(kWrittenExistsSaveFirst, true)}));
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal"}));
    EXPECT_EQ(writings, 3);
    util.SetWorkState(kEdited);
    flows.OnCommand(ID_WRITE_RESULT);
    EXPECT_EQ(util.GetWorkState(), kEdited);
    EXPECT_EQ(writings, 3);
}

// Only a write of the total that succeeded clears the edited mark; a failed
// one leaves state, title and mark, and opens nothing that needs the file.
TEST_F(DesktopFlowsTest, AFailedSaveLeavesTheWorkAsItWas) {
    OpenTotal();
    util.SetWorkState(kEdited);
    flows.WorkEdited();
    const std::string edited = "OstravionV3.1-total.tls*";
    const auto unchanged = [&](const char* step) {
        EXPECT_EQ(util.GetWorkState(), kEdited) << step;
        EXPECT_EQ(ui.title, edited) << step;
        EXPECT_TRUE(flows.Edited()) << step;
        for (const std::string& l : ui.log) {
            EXPECT_NE(l, "dialog: result writing") << step;
            EXPECT_FALSE(l.starts_with("print ")) << step;
        }
        ui.log.clear();
    };
    doc.saves = false;
    flows.OnCommand(ID_FILE_SAVE);
    unchanged("save");
    ui.answers = {true};
    flows.OnCommand(ID_WRITE_RESULT);
    unchanged("write result");
    ui.printSelection.push_back([](CPrintSelection& s) { s.Click(kIdPrintSheet); });
    ui.answers = {true};
    flows.OnCommand(ID_FILE_PRINT);
    unchanged("the sheet's save");
    ui.answers = {true};
    flows.OnCommand(ID_APP_EXIT);
    unchanged("exit");
    EXPECT_FALSE(ui.closed);
    ui.answers = {true};
    EXPECT_FALSE(flows.CloseRequested());

    doc.saves = true;
    ui.resultWriting.push_back([](CResultWriting&) { return false; });
    flows.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(util.GetWorkState(), kSaved);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    EXPECT_FALSE(flows.Edited());
}

TEST_F(DesktopFlowsTest, CommandsThatReplaceEditedWorkOfferToSaveFirst) {
    fs.files[".\\CheckOut\\a.ipt"] = "x";
    fs.files[".\\CheckOut\\other.tls"] = "x";
    OpenTotal();
    flows.WorkEdited();
    // Yes with a save that fails: the command stops there.
    doc.saves = false;
    for (int id : {ID_FILE_OPEN, ID_CONSOLIDATE}) {
        ui.answers = {true};
        flows.OnCommand(id);
    }
    ui.answers = {true};
    flows.OpenGivenFile(".\\CheckOut\\other.tls");
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal", "SaveTotal", "SaveTotal"}));
    EXPECT_EQ(ui.Questions(), Calls(3, Ask(kAskSave, true)));
    EXPECT_EQ(ui.log.size(), 3u); // no dialog opened
    EXPECT_TRUE(flows.Edited());

    // No: the command goes on, and the new total is not edited.
    ui.log.clear();
    doc.calls.clear();
    ui.answers = {false};
    ui.files.push_back(".\\CheckOut\\other.tls");
    flows.OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(doc.calls, (Calls{"ClearViews", "LoadTotal"}));
    EXPECT_FALSE(flows.Edited());
    EXPECT_EQ(ui.title, "OstravionV3.1-other.tls");
    // Without edits nothing is asked.
    ui.log.clear();
    flows.OpenGivenFile(".\\CheckOut\\other.tls");
    EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(DesktopFlowsTest, TheEditedMarkOutlivesACancelledStart) {
    OpenTotal();
    util.SetWorkState(kEdited);
    flows.WorkEdited();
    ui.answers = {false}; // not saved; the start dialog is then cancelled
    flows.OnCommand(IDC_START);
    EXPECT_EQ(util.GetWorkState(), kEdited);
    ui.log.clear();
    ui.answers = {false};
    flows.OnCommand(ID_APP_EXIT);
    EXPECT_EQ(ui.Questions(), (Calls{Ask(kAskSave, false)}));
    EXPECT_TRUE(ui.closed);
}

TEST_F(DesktopFlowsTest, PrintingIntoAnExistingFileAsksFirst) {
    OpenTotal();
    fs.files["/out/report.pdf"] = "earlier";
    ui.printFile = "/out/report.pdf";
    for (bool yes : {false, true}) {
        ui.log.clear();
        ui.printSelection.push_back([](CPrintSelection& s) { s.Click(kIdPrintPledge); });
        ui.answers = {yes};
        flows.OnCommand(ID_FILE_PRINT);
        EXPECT_EQ(ui.Questions(), (Calls{Ask(msg::kOverwriteQuestion, yes)}));
        EXPECT_EQ(ui.log.back().starts_with("print "), yes);
    }
    // A preview writes no file and asks nothing.
    ui.log.clear();
    ui.printSelection.push_back([](CPrintSelection& s) { s.Click(kIdPrintPledge); });
    flows.OnCommand(ID_FILE_PREVIEW);
    EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(DesktopFlowsTest, AConsolidationThatWroteNoTotalLeavesTheWindowAsItWas) {
    fs.files[".\\CheckOut\\a.ipt"] = "x";
    const auto mark = [](SelectFilesModel& d) {
        d.files.SetAll(true);
        d.resultName = "fresh";
    };
    doc.consolidates = false;
    // Nothing shown before: no document commands, the first title.
    ui.selectFiles.push_back(mark);
    flows.OnCommand(ID_CONSOLIDATE);
    EXPECT_FALSE(DocumentCommandsEnabled());
    EXPECT_EQ(ui.title, kInitialTitle);
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_EQ(util.GetLayoutFlag(), kScanLayout);
    EXPECT_FALSE(flows.Edited());

    // A total shown before: it is shown again from its file.
    OpenTotal();
    ui.selectFiles.push_back(mark);
    flows.OnCommand(ID_CONSOLIDATE);
    EXPECT_EQ(doc.calls, (Calls{"Consolidate", "ClearViews", "LoadTotal"}));
    EXPECT_EQ(util.TotalFileName(), "total.tls");
    EXPECT_EQ(util.GetWorkState(), kTotalOpened);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    EXPECT_TRUE(DocumentCommandsEnabled());
}

TEST_F(DesktopFlowsTest, NamesWindowsCannotHoldAreRefusedBeforeAnything) {
    const auto typed = [](std::string group, std::string name) {
        return [=](StartDialogModel& d) {
            d.group = group;
            d.resultName = name;
        };
    };
    ui.startDialog = {typed("ACME*?", "PC"), typed("ACME", std::string(300, 'a')),
                      typed("ACME", "PC."), typed("AC\tME", "PC"), typed("ACME", "PC")};
    flows.OnCommand(IDC_START);
    const std::string bad = std::string(msg::kBadPathOrParam) + "\n";
    EXPECT_EQ(ui.Questions(), (Calls{ShowOf((bad + msg::kNameBadCharacter + "*").c_str()),
                                     ShowOf((bad + msg::kPathTooLong).c_str()),
                                     ShowOf((bad + msg::kNameTrailingDot).c_str()),
                                     ShowOf((bad + msg::kNameControlCharacter).c_str())}));
    EXPECT_EQ(doc.calls, (Calls{"BeginInspection"}));

    // A total's name: the dialog stays for another one.
    flows.OnCommand(ID_SCAN_STOP);
    fs.files[".\\CheckOut\\a.ipt"] = "x";
    ui.log.clear();
    doc.calls.clear();
    const auto mark = [](std::string name) {
        return [name](SelectFilesModel& d) {
            d.files.SetAll(true);
            d.resultName = name;
        };
    };
    ui.selectFiles = {mark("a*b"), mark("ab")};
    flows.OnCommand(ID_CONSOLIDATE);
    EXPECT_EQ(ui.Questions(), (Calls{ShowOf((bad + msg::kNameBadCharacter + "*").c_str())}));
    EXPECT_EQ(util.TotalFileName(), "ab.tls");
}

TEST_F(DesktopFlowsTest, ASavedResultIsShownInTheListsAtOnce) {
    OpenTotal();
    fs.files[".\\CheckOut\\total.rst"] = "x";
    ui.answers = {true};
    ui.resultWriting.push_back([](CResultWriting&) { return true; });
    flows.OnCommand(ID_WRITE_RESULT);
    EXPECT_EQ(doc.calls, (Calls{"LoadTotal"}));
}

TEST_F(DesktopFlowsTest, PrintChoosesAReportAndPrintsOrPreviewsIt) {
    OpenTotal();
    const auto choose = [](int button) {
        return [button](CPrintSelection& s) { s.Click(button); };
    };
    // Cancelled: nothing, the state stays.
    util.SetWorkState(kSaved);
    flows.OnCommand(ID_FILE_PRINT);
    EXPECT_EQ(util.GetWorkState(), kSaved);

    // The confirmation sheet without a written result asks Write result
    // first; printing goes on whatever the answer.
    ui.printSelection.push_back(choose(kIdPrintSheet));
    ui.answers = {false};
    ui.log.clear();
    flows.OnCommand(IDC_PRINT);
    EXPECT_EQ(util.GetReportKind(), 4);
    EXPECT_EQ(ui.Questions().front(), Ask(kAskSave, false));
    EXPECT_EQ(util.GetWorkState(), kPrinted);
    EXPECT_TRUE(ui.log.back().starts_with("print ")) << ui.log.back();

    // A form previews directly.
    ui.log.clear();
    ui.printSelection.push_back(choose(kIdPrintPledge));
    flows.OnCommand(ID_FILE_PREVIEW);
    EXPECT_TRUE(ui.Questions().empty());
    EXPECT_TRUE(ui.log.back().starts_with("preview ")) << ui.log.back();

    // No printer: its message and nothing printed; a preview needs none.
    ui.printer = false;
    ui.log.clear();
    util.SetWorkState(kSaved);
    ui.printSelection = {choose(kIdPrintLedger), choose(kIdPrintLedger)};
    flows.OnCommand(ID_FILE_PRINT);
    EXPECT_EQ(ui.Questions(), (Calls{ShowOf(kNoPrinter)}));
    EXPECT_EQ(util.GetWorkState(), kSaved);
    flows.OnCommand(ID_FILE_PREVIEW);
    EXPECT_TRUE(ui.log.back().starts_with("preview ")) << ui.log.back();

    flows.OnCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(ui.log.back(), "print setup");
}

TEST_F(DesktopFlowsTest, ExitAsksOnlyAfterAConsolidationOrAnEdit) {
    for (int state : {kConsolidated, kEdited}) {
        for (bool yes : {true, false}) {
            ScriptedUi u;
            CAuditUtil ut(fs, u);
            RecordingDocument d(ut);
            DesktopFlows f(ut, d, u, {system, clock, codec});
            f.WorkEdited();
            ut.SetWorkState(state);
            u.answers = {yes};
            f.OnCommand(ID_APP_EXIT);
            EXPECT_EQ(u.Questions().front(), Ask(kAskSave, yes));
            EXPECT_EQ(!d.calls.empty() && d.calls.front() == "SaveTotal", yes);
            EXPECT_TRUE(u.closed);
            // The close that follows asks nothing more.
            u.log.clear();
            f.CloseRequested();
            EXPECT_TRUE(u.Questions().empty());
        }
    }
    for (int state : {kIdle, kTotalOpened, kSaved, kSavedAs, kPrinted}) {
        util.SetWorkState(state);
        flows.OnCommand(ID_APP_EXIT);
        EXPECT_TRUE(ui.Questions().empty()) << state;
    }
}

TEST_F(DesktopFlowsTest, TheCloseBoxRunsTheExitQuestions) {
    flows.WorkEdited();
    ui.answers = {false};
    flows.CloseRequested();
    EXPECT_EQ(ui.Questions(), (Calls{Ask(kAskSave, false)}));
    EXPECT_FALSE(ui.closed); // the window is closing already
}

TEST_F(DesktopFlowsTest, ExitWhileScanningEndsTheScanOnceAndAsksNothing) {
    Start("ACME");
    doc.calls.clear();
    flows.OnCommand(ID_APP_EXIT);
    flows.CloseRequested();
    EXPECT_TRUE(ui.Questions().empty());
    EXPECT_EQ(doc.calls, (Calls{"StopScan"}));
    EXPECT_TRUE(ui.closed);
}

TEST_F(DesktopFlowsTest, AnInspectionOfADiskSaysSoBesideTheProgress) {
    system.disk = "C: /srv/win.img";
    flows.OnCommand(IDC_START);
    // "검색중 (이 PC가 아닌 디스크: C: /srv/win.img)"
    EXPECT_EQ(progress.log.front(), std::string("create ") + kSearching +
                                        " (\xC0\xCC PC\xB0\xA1 \xBE\xC6\xB4\xD1 "
                                        "\xB5\xF0\xBD\xBA\xC5\xA9: C: /srv/win.img)");
}

TEST_F(DesktopFlowsTest, ADiskImageChosenInTheStartDialogBecomesDriveC) {
    std::vector<std::string> opened;
    flows.SetDiskImageOpener([&](const std::string& path, std::string& error) {
        opened.push_back(path);
        if (path == "/srv/bad.img") {
            error = "bad disk";
            return false;
        }
        system.disk = path.empty() ? "" : "C: " + path;
        system.computer = path.empty() ? "PC01" : "WINPC";
        return true;
    });
    // One that cannot be read changes nothing; then one that can names the PC.
    std::string diskAfterBad, computerAfterBad;
    ui.files = {std::string("/srv/bad.img"), std::string("/srv/win.img")};
    ui.startDialog.push_back([&](StartDialogModel& d) {
        ASSERT_TRUE(d.chooseDisk);
        EXPECT_FALSE(d.chooseDisk(d));
        diskAfterBad = d.disk;
        computerAfterBad = d.resultName;
        EXPECT_TRUE(d.chooseDisk(d));
        EXPECT_EQ(d.disk, "C: /srv/win.img");
        EXPECT_EQ(d.computer, "WINPC");
        d.group = "ACME";
    });
    flows.OnCommand(IDC_START);
    EXPECT_EQ(opened, (Calls{"/srv/bad.img", "/srv/win.img"}));
    EXPECT_EQ(ui.Questions(), (Calls{"show: bad disk"}));
    EXPECT_EQ(diskAfterBad, "");
    EXPECT_EQ(computerAfterBad, "PC01");
    EXPECT_EQ(progress.log.back().substr(0, 7 + std::string(kSearching).size()),
              std::string("create ") + kSearching);
    EXPECT_NE(progress.log.back().find("C: /srv/win.img)"), std::string::npos);
    EXPECT_EQ(util.GetPcFacts().ComputerName, "WINPC");
    EXPECT_EQ(doc.calls, (Calls{"BeginInspection"}));

    // Cancelled after a choice: the drives the program started with come back.
    flows.OnCommand(ID_SCAN_STOP);
    ui.files = {std::string("/srv/win.img")};
    ui.startDialog.push_back([](StartDialogModel& d) { d.chooseDisk(d); });
    opened.clear();
    flows.OnCommand(IDC_START);
    EXPECT_EQ(opened, (Calls{"/srv/win.img", ""}));
}

TEST_F(DesktopFlowsTest, StartInspectionShowsTheDefaultsAndStartsTheRun) {
    struct Shown {
        std::string group, model, computer, resultName, user;
    } shown;
    bool barDuringDialog = false;
    ui.startDialog.push_back([&](StartDialogModel& d) {
        shown = {d.group, d.model, d.computer, d.resultName, d.user};
        barDuringDialog = util.HasProgress();
        d.group = "ACME";
        d.resultName = "N1";
    });
    flows.OnCommand(IDC_START);
    EXPECT_EQ(shown.group, "");
    EXPECT_EQ(shown.computer, "PC01");
    EXPECT_EQ(shown.resultName, "PC01");
    EXPECT_EQ(shown.user, "kim");
    EXPECT_FALSE(shown.model.empty());
    EXPECT_TRUE(barDuringDialog);
    EXPECT_EQ(progress.log.front(), std::string("create ") + kSearching);

    EXPECT_EQ(util.ScanResultPath(), ".\\CheckOut\\ACME_N1.ipt");
    const PcFacts f = util.GetPcFacts();
    EXPECT_EQ(f.Group, "ACME");
    EXPECT_EQ(f.ComputerName, "N1");
    EXPECT_EQ(f.User, "kim");
    EXPECT_EQ(f.ScanTime, "2024-3-5, 9:7 ");
    EXPECT_EQ(ui.title, "OstravionV3.1-ACME_N1.ipt");
    EXPECT_EQ(util.GetWorkState(), kScanning);
    EXPECT_EQ(doc.calls, (Calls{"BeginInspection"}));
    EXPECT_EQ(ui.states.ScanItemId(), ID_SCAN_STOP);
    EXPECT_TRUE(ui.states.ButtonEnabled(IDC_STOP));
    EXPECT_FALSE(ui.states.MenuEnabled(ID_FILE_OPEN));

    // The stop: results written, commands back, the bar gone. The 검사 menu
    // slot carries the stop while scanning.
    doc.calls.clear();
    flows.OnCommand(ID_SCAN_STOP);
    EXPECT_EQ(doc.calls, (Calls{"StopScan"}));
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_FALSE(util.HasProgress());
    EXPECT_EQ(ui.states.ScanItemId(), ID_SCAN_START);
    EXPECT_TRUE(ui.states.ButtonEnabled(IDC_START));
}

TEST_F(DesktopFlowsTest, TheStartDialogRefusesUntilTheFieldsWillDo) {
    fs.files[".\\CheckOut\\ACME_PC.ipt"] = "old";
    // Whether the field at fault was the group, as each next try finds it.
    std::vector<bool> groupAtFault;
    const auto typed = [&groupAtFault](std::string group, std::string name) {
        return [=, &groupAtFault](StartDialogModel& d) {
            groupAtFault.push_back(d.GroupAtFault());
            d.group = group;
            d.resultName = name;
        };
    };
    ui.startDialog = {typed("", "PC"), typed("..\\up", "PC"), typed("ACME", "c:pc"),
                      typed("ACME", "PC"), typed("ACME", "PC")};
    ui.answers = {false, true};
    flows.OnCommand(IDC_START);
    EXPECT_EQ(ui.Questions(),
              (Calls{ShowOf(msg::kGroupRequired), ShowOf(msg::kBadPathOrParam),
                     ShowOf(msg::kBadPathOrParam), Ask(msg::kOverwriteQuestion, false),
                     Ask(msg::kOverwriteQuestion, true)}));
    EXPECT_EQ(util.ScanResultPath(), ".\\CheckOut\\ACME_PC.ipt");
    EXPECT_EQ(doc.calls, (Calls{"BeginInspection"}));
    EXPECT_EQ(groupAtFault, (std::vector<bool>{false, false, true, false, false}));
}

TEST_F(DesktopFlowsTest, ACancelledStartLeavesNothingUnderWay) {
    OpenTotal();
    flows.OnCommand(IDC_START);
    EXPECT_EQ(util.GetWorkState(), kTotalOpened);
    EXPECT_FALSE(util.HasProgress()); // the status bar says 준비 again
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_TRUE(ui.states.ButtonEnabled(IDC_START));
    Start("ACME");
    EXPECT_EQ(doc.calls, (Calls{"SetLayoutMode 1", "BeginInspection"}));
}

TEST_F(DesktopFlowsTest, AStartAfterAnEditOffersToSaveFirst) {
    OpenTotal();
    fs.files[".\\CheckOut\\total.rst"] = "x";
    flows.WorkEdited();
    ui.answers = {true};
    Start("ACME");
    EXPECT_EQ(ui.log.front(), Ask(kAskSave, true));
    EXPECT_EQ(ui.log.at(1), "dialog: start");
    EXPECT_EQ(doc.calls, (Calls{"SaveTotal", "SetLayoutMode 1", "BeginInspection"}));
    EXPECT_FALSE(DocumentCommandsEnabled());
}

TEST_F(DesktopFlowsTest, TheEndOfAScanAsksWhetherToClose) {
    for (bool yes : {true, false}) {
        Start("ACME");
        doc.calls.clear();
        ui.log.clear();
        ui.closed = false;
        // The document has written the file and ended its thread.
        doc.running = false;
        util.SetWorkState(kIdle);
        ui.answers = {yes};
        // While the question is up the menu is idle, but 검사시작 is still
        // disabled and 검사중지 enabled.
        CommandStates during;
        ui.during = [&] { during = ui.states; };
        flows.ScanCompleted();
        ui.during = nullptr;
        EXPECT_TRUE(during.MenuEnabled(ID_FILE_OPEN));
        EXPECT_FALSE(during.ButtonEnabled(IDC_START));
        EXPECT_TRUE(during.ButtonEnabled(IDC_STOP));
        EXPECT_EQ(ui.Questions(), (Calls{Ask(msg::kScanComplete, yes)}));
        EXPECT_EQ(ui.closed, yes);
        // Yes closes without another write; No is the stop command.
        EXPECT_EQ(doc.calls, yes ? Calls{} : Calls{"StopScan"});
        EXPECT_TRUE(ui.states.MenuEnabled(ID_FILE_OPEN));
        EXPECT_EQ(ui.states.ScanItemId(), ID_SCAN_START);
        flows.CloseRequested();
        EXPECT_EQ(ui.Questions().size(), 1u);
    }
}

TEST_F(DesktopFlowsTest, AScanThatLeftSomethingUnreadDoesNotSayItCompleted) {
    Start("ACME");
    ui.log.clear();
    doc.running = false;
    util.SetWorkState(kIdle);
    doc.faultText = "unread\nlog";
    ui.answers = {false};
    flows.ScanCompleted();
    // " 프로그램을 닫으시겠습니까?" after what was left out.
    EXPECT_EQ(ui.Questions(),
              (Calls{Ask("unread\nlog\n \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB "
                         "\xB4\xDD\xC0\xB8\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?",
                         false)}));
}

TEST_F(DesktopFlowsTest, LayoutButtonsAndEditsReachTheWindow) {
    flows.OnCommand(IDC_EXTENDED);
    flows.OnCommand(IDC_NORMAL);
    flows.ArrangementChosen(true);
    EXPECT_EQ(ui.log, (Calls{"layout extended", "layout normal", "layout extended"}));
    OpenTotal();
    flows.WorkEdited();
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls*");
}

TEST_F(DesktopFlowsTest, TitleForms) {
    util.SetResultNames("total", CAuditUtil::NameForm::Name);
    flows.UpdateTitle(1);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls");
    flows.UpdateTitle(2);
    EXPECT_EQ(ui.title, "OstravionV3.1-total.tls*");
    // Any other form: the per-PC file's name after its last backslash.
    util.SetScanBaseName("ACME_PC01");
    flows.UpdateTitle(3);
    EXPECT_EQ(ui.title, "OstravionV3.1-ACME_PC01.ipt");
    flows.UpdateTitle(7);
    EXPECT_EQ(ui.title, "OstravionV3.1-ACME_PC01.ipt");
}

// The folder text of a row comes from result files: only an existing folder
// on one of the drives opens, as a folder.
TEST_F(DesktopFlowsTest, RowFolderOpensOnlyAnExistingFolderOnADrive) {
    const std::vector<Drive> drives{{"C:\\", "/mnt/win/", '\\'}, {"/", "/", '/'}};
    fs.directories = {"/mnt/win/Apps/Word/", "/home/kim/", "http://example.com/x/"};
    fs.files["/mnt/win/Apps/setup.bat"] = "x";
    for (const char* text : {"c:\\Apps\\Word\\", "/home/kim/", "C:\\Apps\\setup.bat",
                             "http://example.com/x/", "C:\\Apps\\Gone\\", "D:\\Apps\\Word\\", ""})
        flows.OpenRowFolder(text, drives, '/');
    const std::string badPath = ShowOf(msg::kBadPath);
    EXPECT_EQ(ui.log, (Calls{"explore: /mnt/win/Apps/Word/", "explore: /home/kim/", badPath,
                             badPath, badPath, badPath, badPath}));
}

TEST(NativeFolder, DriveRootsAndSeparatorsAsThisSystemNamesThem) {
    const IdentityCodec codec;
    const std::vector<Drive> mapped = {{"C:\\", "/mnt/win/", '\\'}, {"D:\\", "/data/", '\\'}};
    EXPECT_EQ(NativeFolder("C:\\Program Files\\A\\", mapped, '/', codec),
              "/mnt/win/Program Files/A/");
    EXPECT_EQ(NativeFolder("d:\\x\\", mapped, '/', codec), "/data/x/");
    // A trail byte that looks like a backslash stays part of its character.
    EXPECT_EQ(NativeFolder("C:\\\xBC\\\\", mapped, '/', codec), "/mnt/win/\xBC\\/");
    // Mount points: the longest root that matches.
    const std::vector<Drive> mounts = {{"/", "/", '/'}, {"/home/", "/home/", '/'}};
    EXPECT_EQ(NativeFolder("/home/kim/bin/", mounts, '/', codec), "/home/kim/bin/");
    EXPECT_EQ(NativeFolder("/usr/bin/", mounts, '/', codec), "/usr/bin/");
    // On no known drive: the text, its backslashes made native.
    EXPECT_EQ(NativeFolder("E:\\old\\", mapped, '/', codec), "E:/old/");
    // On Windows nothing changes.
    EXPECT_EQ(NativeFolder("C:\\A\\", {{"C:\\", "C:\\", '\\'}}, '\\', codec), "C:\\A\\");
}

TEST(DesktopCommandLine, SwitchesFilesAndDrives) {
    const auto exists = [](const std::string& a) { return a == "/data/total.tls"; };
    DesktopCommandLine c = ParseDesktopCommandLine({"/Embedding"}, exists);
    EXPECT_FALSE(c.splash);
    EXPECT_TRUE(c.file.empty());
    c = ParseDesktopCommandLine({"-automation", "total.tls", "other.tls"}, exists);
    EXPECT_FALSE(c.splash);
    EXPECT_EQ(c.file, "total.tls");
    // An absolute path that exists is a file, not a switch.
    c = ParseDesktopCommandLine({"/data/total.tls"}, exists);
    EXPECT_TRUE(c.splash);
    EXPECT_EQ(c.file, "/data/total.tls");
    c = ParseDesktopCommandLine(
        {"--drive", "C=/mnt/c", "--drive=D=/mnt/d", "--app-paths", "apps.txt", "t.tls"}, exists);
    EXPECT_EQ(c.driveMap, (Calls{"C=/mnt/c", "D=/mnt/d"}));
    EXPECT_EQ(c.appPathsFile, "apps.txt");
    EXPECT_EQ(c.file, "t.tls");
}

// 사용 설명서 opens the first page found beside the program, whatever the work
// state; with none, the message lists every place looked at.
TEST_F(DesktopFlowsTest, GuideOpensFromTheFirstPlaceThatHoldsIt) {
    const std::string page = desktop::kGuidePage;
    flows.SetProgramFolder("/usr/bin/", '/');
    EXPECT_EQ(flows.GuidePlaces(),
              (Calls{"/usr/bin/" + page, "/usr/share/doc/ostravion/guide/" + page,
                     "/usr/guide/" + page}));
    flows.OnCommand(ID_HELP_GUIDE);
    EXPECT_EQ(ui.log,
              (Calls{ShowOf((std::string(desktop::kGuideMissing) + "\n/usr/bin/" + page +
                             "\n/usr/share/doc/ostravion/guide/" + page + "\n/usr/guide/" + page)
                                .c_str())}));
    // A folder of the page's name is not the page.
    fs.directories.insert("/usr/share/doc/ostravion/guide/" + page);
    fs.files["/usr/share/doc/ostravion/guide/" + page] = "x";
    fs.files["/usr/guide/" + page] = "x";
    ui.log.clear();
    flows.OnCommand(ID_HELP_GUIDE);
    EXPECT_EQ(ui.log, Calls{"open: /usr/guide/" + page});
    // The kit: the page beside the program comes first, during a scan too.
    flows.SetProgramFolder("E:\\Ostravion", '\\');
    fs.files["E:\\Ostravion\\" + page] = "x";
    Start("ACME");
    ASSERT_TRUE(ui.states.MenuEnabled(ID_SCAN_STOP) || ui.states.ScanItemId() == ID_SCAN_STOP);
    ui.log.clear();
    flows.OnCommand(ID_HELP_GUIDE);
    EXPECT_EQ(ui.log, Calls{"open: E:\\Ostravion\\" + page});
}

// Without a program for folders or pages, or with the rows of a disk image,
// the user is told where the folder or page is rather than left without a word.
TEST_F(DesktopFlowsTest, FoldersAndTheGuideThatCannotBeShownAreNamed) {
    const std::vector<Drive> drives{{"C:\\", "/mnt/win/", '\\'}};
    fs.directories = {"/mnt/win/Apps/"};
    const std::string page = std::string("/opt/o/") + desktop::kGuidePage;
    fs.files[page] = "x";
    flows.SetProgramFolder("/opt/o", '/');
    ui.shellWorks = false;
    flows.OpenRowFolder("C:\\Apps\\", drives, '/');
    flows.OnCommand(ID_HELP_GUIDE);
    system.disk = "C: /srv/win.img";
    flows.OpenRowFolder("C:\\Apps\\", drives, '/');
    EXPECT_EQ(
        ui.Questions(),
        (Calls{ShowOf((kNoFolderProgram + std::string("/mnt/win/Apps/")).c_str()),
               ShowOf((kNoGuideProgram + page).c_str()),
               ShowOf((kRowOnDisk + system.disk + kRowOnDiskFolder + "C:\\Apps\\").c_str())}));
}

// A missing key list stops the start before the journal, the title or the
// bar change; the message names the place looked at.
TEST_F(DesktopFlowsTest, AStartWithoutTheKeyListChangesNothing) {
    fs.files.erase(kKeyListFile);
    fs.cwd = "/audit";
    Start("ACME");
    EXPECT_EQ(ui.Questions(), (Calls{ShowOf((std::string(msg::kKeyFileOpenError) +
                                             kKeyListLookedAt + "/audit/" + kKeyListFile)
                                                .c_str())}));
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(ui.title, "");
    EXPECT_FALSE(util.HasProgress());
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_TRUE(ui.states.ButtonEnabled(IDC_START));
}

// A total saved into another folder has its written result beside it: the
// steps after the save find it there and do not ask to write it again.
TEST_F(DesktopFlowsTest, StepsAfterASaveAsFollowItsFolder) {
    OpenTotal();
    fs.directories.insert("D:\\share");
    ui.files.push_back("D:\\share\\new.tls");
    ui.resultWriting.push_back([](CResultWriting&) { return false; });
    flows.OnCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(ui.log.back(), "dialog: result writing"); // no written result there yet
    fs.files["D:\\share\\new.rst"] = "x";
    ui.log.clear();
    flows.OnCommand(IDC_WRITE_RESULT);
    EXPECT_EQ(ui.Questions(), Calls{Ask(kWrittenExistsGoOn, false)});
    EXPECT_EQ(SheetResultPath(util), "D:\\share\\new.rst");
}

// A save that found the total changed elsewhere offers 다른 이름으로 저장; Yes
// saves there, No keeps the work as it was, edited.
TEST_F(DesktopFlowsTest, ASaveOverAChangedTotalOffersSaveAs) {
    OpenTotal();
    util.SetWorkState(kEdited);
    flows.WorkEdited();
    doc.saves = false;
    doc.onCall = [&](const std::string& call) {
        if (call == "SaveTotal")
            util.SetChangedElsewhere(true);
    };
    ui.answers = {false};
    flows.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(ui.log.back(), std::string("ask: ") + sharedwrite::kSaveAsInstead + " = no");
    EXPECT_TRUE(flows.Edited());

    ui.log.clear();
    ui.answers = {true};
    ui.files = {std::string("C:\\audit\\mine.tls")};
    doc.onCall = [&](const std::string& call) {
        if (call == "SaveTotal" && util.GetWorkState() == kSavedAs) {
            doc.saves = true;
            util.SetChangedElsewhere(false);
        } else if (call == "SaveTotal") {
            util.SetChangedElsewhere(true);
        }
    };
    flows.OnCommand(ID_FILE_SAVE);
    EXPECT_FALSE(flows.Edited());
    EXPECT_EQ(util.TotalFileName(), "mine.tls");
}

// 키 리스트 후보 내보내기 is usable while the total on show has candidates
// beside it; it writes the review file the save dialog names, and says so.
TEST_F(DesktopFlowsTest, ExportCandidatesFollowsTheTotalsCandidates) {
    EXPECT_FALSE(flows.CommandEnabled(ID_EXPORT_CANDIDATES));
    OpenTotal();
    EXPECT_FALSE(ui.states.MenuEnabled(ID_EXPORT_CANDIDATES));

    const std::string line = "-\t-\t-\tTool\t1.0\tT.EXE\t10\t-\tCo\t-\tC:\\T\\\t2\t\r\n";
    fs.files[".\\CheckOut\\total.cand"] = line;
    OpenTotal();
    EXPECT_TRUE(ui.states.MenuEnabled(ID_EXPORT_CANDIDATES));
    ui.files.push_back("/out/review.tsv");
    flows.OnCommand(ID_EXPORT_CANDIDATES);
    EXPECT_EQ(fs.files["/out/review.tsv"],
              CandidatesCaption() + "\r\n-\t-\t-\tTool\t1.0\tT.EXE\t10\t-\tCo\t-\tC:\\T\\\t2\r\n");
    EXPECT_EQ(ui.log, (Calls{std::string("save: ") + candidates::kExportCaption + " total" +
                                 candidates::kExportSuffix + " " + kWorkFolder,
                             "show: " + candidates::WrittenLine(1, "/out/review.tsv")}));

    // Cancelled: nothing written; a failed write says so.
    ui.log.clear();
    fs.files.erase("/out/review.tsv");
    flows.OnCommand(ID_EXPORT_CANDIDATES);
    EXPECT_EQ(fs.files.count("/out/review.tsv"), 0u);
    fs.failingRenames.insert("/out/review.tsv");
    ui.files.push_back("/out/review.tsv");
    flows.OnCommand(ID_EXPORT_CANDIDATES);
    EXPECT_EQ(ui.log.back(), std::string("show: ") + candidates::kCannotWrite + "/out/review.tsv");

    // A scan puts the total away.
    Start("G");
    EXPECT_FALSE(ui.states.MenuEnabled(ID_EXPORT_CANDIDATES));
}

} // namespace
} // namespace ostravion
