#include "desktop/DesktopFlows.h"

#include "desktop/DesktopTexts.h"
#include "desktop/NativeFolders.h"
#include "doc/CandidateExport.h"
#include "doc/ConsolidateRun.h"
#include "doc/FileSelection.h"
#include "doc/Inspection.h"
#include "doc/ResultWriting.h"
#include "doc/SharedWrite.h"
#include "files/ReplaceFiles.h"
#include "scan/Facts.h"
#include "scan/KeyList.h"
#include "util/Text.h"
#include "views/PrintSelection.h"
#include "views/ReportLayout.h"

namespace ostravion {

using namespace desktop;

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& arguments,
                                           bool (*isFile)(const std::string&)) {
    DesktopCommandLine c;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        // "--drive C=/mnt/win", "--drive=C=/mnt/win", "--app-paths FILE",
        // "--recovery-password DIGITS".
        bool option = false;
        for (const std::string name : {"--drive", "--app-paths", "--recovery-password"}) {
            std::string value;
            if (a == name && i + 1 < arguments.size())
                value = arguments[++i];
            else if (a.starts_with(name + "="))
                value = a.substr(name.size() + 1);
            else
                continue;
            if (name == "--drive")
                c.driveMap.push_back(value);
            else if (name == "--app-paths")
                c.appPathsFile = value;
            else
                c.recoveryPassword = value;
            option = true;
            break;
        }
        if (option)
            continue;
        if (a.starts_with('/') || a.starts_with('-')) {
            const std::string flag = a.substr(1);
            if (text::EqualsNoCase(flag, "Embedding") || text::EqualsNoCase(flag, "Automation"))
                c.splash = false;
            // An absolute path on POSIX systems starts with '/' too.
            if (!a.starts_with('/') || !isFile || !isFile(a))
                continue;
        }
        if (c.file.empty())
            c.file = a;
    }
    return c;
}

StartFieldCheck StartDialogModel::Confirm() {
    std::string why;
    const StartFieldCheck check = CheckStartFields(files_, group, resultName, &why);
    groupAtFault_ = check == StartFieldCheck::BadName &&
                    (!IsPlainFileName(group) || !WindowsNameCharacterProblem(group).empty());
    switch (check) {
    case StartFieldCheck::Ok:
        return check;
    case StartFieldCheck::GroupMissing:
        messages_.Show(msg::kGroupRequired);
        return check;
    case StartFieldCheck::BadName:
        messages_.Show(BadNameMessage(why));
        return check;
    case StartFieldCheck::FileExists:
        break;
    }
    return messages_.Ask(msg::kOverwriteQuestion) ? StartFieldCheck::Ok : check;
}

DesktopFlows::DesktopFlows(CAuditUtil& util, DesktopDocument& doc, DesktopUi& ui, Machine machine)
    : util_(util), doc_(doc), ui_(ui), machine_(machine) {}

void DesktopFlows::OpenRowFolder(const std::string& folderText, const std::vector<Drive>& drives,
                                 char nativeSeparator) {
    // The rows of a disk audited in place of this PC name its folders, not
    // this PC's.
    if (const std::string disk = machine_.system.AuditedDisk(); !disk.empty()) {
        ui_.Show(kRowOnDisk + disk + kRowOnDiskFolder + folderText);
        return;
    }
    const std::optional<std::string> folder =
        FolderToOpen(folderText, drives, nativeSeparator, machine_.codec, util_.Files());
    if (!folder)
        ui_.Show(msg::kBadPath);
    else if (!ui_.ExploreFolder(*folder))
        ui_.Show(kNoFolderProgram + *folder);
}

void DesktopFlows::SetProgramFolder(std::string folder, char separator) {
    while (folder.size() > 1 && folder.back() == separator)
        folder.pop_back();
    programFolder_ = std::move(folder);
    separator_ = separator;
}

std::vector<std::string> DesktopFlows::GuidePlaces() const {
    std::vector<std::string> places;
    if (programFolder_.empty())
        return places;
    const std::string sep(1, separator_);
    places.push_back(programFolder_ + sep + desktop::kGuidePage);
    const std::size_t cut = programFolder_.find_last_of(separator_);
    if (cut != std::string::npos && cut + 1 < programFolder_.size()) {
        const std::string parent = programFolder_.substr(0, cut == 0 ? 1 : cut);
        const std::string under = parent.back() == separator_ ? parent : parent + sep;
        places.push_back(under + "share" + sep + "doc" + sep + "ostravion" + sep + "guide" + sep +
                         desktop::kGuidePage);
        places.push_back(under + "guide" + sep + desktop::kGuidePage);
    }
    return places;
}

void DesktopFlows::OpenGuide() {
    const FileSystem& files = util_.Files();
    const std::vector<std::string> places = GuidePlaces();
    for (const std::string& place : places) {
        if (files.Exists(place) && !files.IsDirectory(place)) {
            if (!ui_.OpenDocument(place))
                ui_.Show(kNoGuideProgram + place);
            return;
        }
    }
    std::string text = desktop::kGuideMissing;
    for (const std::string& place : places)
        text += "\n" + place;
    ui_.Show(text);
}

bool DesktopFlows::WindowCreated() {
    if (!EnsureWorkFolder(util_.Files(), util_.Messages()))
        return false;
    // The start-up directory, made current again after every file dialog.
    util_.RecordStartDirectory();
    states_.WindowCreated();
    ApplyStates();
    return true;
}

bool DesktopFlows::CommandEnabled(int id) const {
    if (states_.Buttons().count(id))
        return states_.ButtonEnabled(id);
    if (id == ID_SCAN_STOP || states_.Menu().count(id))
        return states_.MenuEnabled(id);
    return true; // the layout switch and the application's own commands
}

void DesktopFlows::OnCommand(int id) {
    if (!CommandEnabled(id))
        return;
    switch (id) {
    case ID_SCAN_START:
    case IDC_START:
        StartInspection();
        break;
    case ID_SCAN_STOP:
    case IDC_STOP:
        StopInspection();
        break;
    case ID_CONSOLIDATE:
    case IDC_CONSOLIDATE:
        Consolidate();
        break;
    case ID_WRITE_RESULT:
    case IDC_WRITE_RESULT:
        WriteResult();
        break;
    case ID_FILE_OPEN:
        Open();
        break;
    case ID_FILE_SAVE:
        Save();
        break;
    case ID_FILE_SAVE_AS:
        SaveAs();
        break;
    case ID_FILE_PRINT:
    case IDC_PRINT:
        Print(false);
        break;
    case ID_FILE_PREVIEW:
        Print(true);
        break;
    case ID_FILE_PRINT_SETUP:
        PrintSetup();
        break;
    case ID_HELP_GUIDE:
        OpenGuide();
        break;
    case ID_EXPORT_CANDIDATES:
        ExportCandidates();
        break;
    case ID_APP_EXIT:
        Exit();
        break;
    case IDC_NORMAL:
        ui_.ShowLayout(false);
        break;
    case IDC_EXTENDED:
        ui_.ShowLayout(true);
        break;
    default:
        break;
    }
}

void DesktopFlows::UpdateTitle(int form) {
    std::string name;
    if (form == 1) {
        name = util_.TotalFileName();
    } else if (form == 2) {
        name = util_.TotalFileName() + "*";
    } else {
        const std::string& path = util_.ScanResultPath();
        const std::size_t at = text::FindLastChar(path, '\\');
        name = at == std::string::npos ? path : path.substr(at + 1);
    }
    title_ = kTitlePrefix + name;
    ui_.SetTitle(title_);
}

bool DesktopFlows::WrittenResultExists() const {
    // Beside the total, in whatever folder it was opened from or saved to.
    return util_.FileExists(util_.ResultPath(".rst"));
}

FileDialogRequest DesktopFlows::TotalFileDialog(const char* caption) const {
    return {caption, "tls", "*.tls", kTotalFilter, kWorkFolder};
}

// ---- inspection -------------------------------------------------------

void DesktopFlows::StartInspection() {
    if (util_.GetWorkState() == kScanning) {
        StopInspection();
        return;
    }
    if (!OfferSave())
        return;
    const int before = util_.GetWorkState();
    util_.SetWorkState(kStartDialogOpen);
    const SystemInfo& system = machine_.system;
    // A disk audited in place of this PC is named beside the progress.
    const std::string disk = system.AuditedDisk();
    doc_.PrepareScanProgress(disk.empty() ? std::string(kSearching)
                                          : kSearching + std::string(kSearchingDisk) + disk + ")");

    const std::string computer = system.ComputerName();
    StartDialogModel dialog(util_.Files(), ui_);
    dialog.model = CpuDescription(system.Processor());
    dialog.computer = computer;
    dialog.resultName = computer;
    dialog.user = system.UserName();
    dialog.disk = disk;
    bool diskChosen = false;
    if (diskOpener_)
        dialog.chooseDisk = [this, &diskChosen](StartDialogModel& d) {
            if (!ChooseDiskImage(d))
                return false;
            diskChosen = true;
            return true;
        };
    // Cancelled: nothing is under way, and the status bar says so; a disk
    // chosen in the dialog gives way to the drives the program started with.
    if (!ui_.RunStartDialog(dialog)) {
        if (diskChosen) {
            std::string error;
            diskOpener_(std::string(), error);
        }
        util_.DestroyProgress();
        util_.SetWorkState(before);
        return;
    }
    // Without its key list the scan could identify nothing: it is not
    // started, and neither its journal nor the title names a result.
    if (!KeyListReadable()) {
        util_.DestroyProgress();
        util_.SetWorkState(before);
        return;
    }

    PcFacts facts;
    facts.Group = dialog.group;
    facts.ComputerName = dialog.resultName;
    facts.User = dialog.user;
    facts.PcModel = dialog.model;
    facts.ScanTime = ScanTimeText(machine_.clock.Now());
    util_.SetScanBaseName(ScanBaseName(facts.Group, facts.ComputerName));
    // The scan's lists take the place of the total: what was not saved of it
    // was declined at the question above.
    edited_ = false;
    UpdateTitle(3);
    states_.ScanStarted();
    ApplyStates();
    doc_.BeginInspection(facts);
}

bool DesktopFlows::ChooseDiskImage(StartDialogModel& dialog) {
    const std::optional<std::string> path =
        ui_.ChooseOpenFile({kDiskImageCaption, "", "", kDiskImageFilter, ""});
    if (!path || path->empty())
        return false;
    std::string error;
    if (!diskOpener_(*path, error)) {
        ui_.Show(machine_.codec.FromUtf8(error));
        return false;
    }
    // The facts are the disk's now: its Windows names the PC.
    const SystemInfo& system = machine_.system;
    dialog.disk = system.AuditedDisk().empty() ? *path : system.AuditedDisk();
    dialog.model = CpuDescription(system.Processor());
    dialog.computer = system.ComputerName();
    dialog.resultName = dialog.computer;
    dialog.user = system.UserName();
    doc_.PrepareScanProgress(kSearching + std::string(kSearchingDisk) + dialog.disk + ")");
    return true;
}

bool DesktopFlows::KeyListReadable() {
    // The key list's own message, with the place looked at.
    msg::Collected collect;
    KeyList keys;
    if (keys.Load(util_.Files(), collect, kKeyListFile))
        return true;
    const FileSystem& files = util_.Files();
    std::string folder = files.CurrentDirectory();
    const char separator = files.Rules().slashIsSeparator ? '/' : '\\';
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += separator;
    ui_.Show(collect.Text() + kKeyListLookedAt + folder + kKeyListFile);
    return false;
}

void DesktopFlows::StopInspection() {
    doc_.StopScan();
    states_.ScanStopped();
    util_.SetWorkState(kIdle);
    ApplyStates();
    util_.DestroyProgress();
}

void DesktopFlows::ScanCompleted() {
    states_.ScanCompleted();
    util_.SetWorkState(kIdle);
    ApplyStates();
    // A walk that left folders or files unread does not say it completed:
    // the status bar and the closing question say what it left out.
    const std::string faults = doc_.ScanFaultText();
    if (!faults.empty()) {
        util_.ShowProgress(faults.substr(0, faults.find('\n')));
        util_.FillProgress();
    }
    // " 프로그램을 닫으시겠습니까?"
    const std::string question =
        faults.empty() ? std::string(msg::kScanComplete)
                       : faults + "\n \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xBB "
                                  "\xB4\xDD\xC0\xB8\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
    if (ui_.Ask(question))
        Close();
    else
        StopInspection();
}

// ---- totals -------------------------------------------------------------

bool DesktopFlows::OfferSave() {
    if (!edited_ || !ui_.Ask(kAskSave))
        return true;
    return Save();
}

void DesktopFlows::Open() {
    if (!OfferSave())
        return;
    const std::optional<std::string> path = ui_.ChooseOpenFile(TotalFileDialog(kOpenCaption));
    if (!path) {
        util_.RestoreStartDirectory();
        return;
    }
    OpenPath(*path);
}

void DesktopFlows::OpenPath(const std::string& path) {
    // A name that is not a total's (a dropped per-PC file) has had its
    // message: the window keeps what it shows, with its names.
    const CAuditUtil::ResultNames names = util_.GetResultNames();
    if (!util_.SetResultNames(path, CAuditUtil::NameForm::Path)) {
        util_.RestoreResultNames(names);
        util_.RestoreStartDirectory();
        return;
    }
    // A total written when names were lower-cased is found under that name.
    util_.FollowLowerCaseTotal();
    util_.SetWorkState(kTotalOpened);
    util_.ShowProgress(kReadingTotal);
    util_.StepProgress(1);
    if (util_.GetLayoutFlag() == kScanLayout)
        doc_.SetLayoutMode(kTotalLayout);
    else
        doc_.ClearViews();
    util_.StepProgress(1);
    util_.RestoreStartDirectory();
    doc_.LoadTotal();
    edited_ = false;
    UpdateTitle(1);
    util_.StepProgress(1);
    util_.DestroyProgress();
    states_.DocumentConfirmed();
    NoteCandidates();
    ApplyStates();
}

bool DesktopFlows::GivenFileExists(const std::string& path) const {
    if (util_.Files().Exists(path))
        return true;
    // Or the lower-case name that earlier versions wrote, which opening follows.
    const std::size_t sep = path.find_last_of("\\/");
    const std::size_t name = sep == std::string::npos ? 0 : sep + 1;
    return util_.Files().Exists(path.substr(0, name) + text::ToLower(path.substr(name)));
}

bool DesktopFlows::OpenGivenFile(const std::string& path) {
    // Nothing is opened while a scan runs or its dialog is open.
    if (!CommandEnabled(ID_FILE_OPEN))
        return true;
    if (!GivenFileExists(path)) {
        ui_.Show(std::string(kCannotOpen) + path);
        return false;
    }
    if (!OfferSave())
        return true;
    OpenPath(path);
    return true;
}

bool DesktopFlows::Save() {
    util_.ShowProgress(kSavingTotal);
    util_.StepProgress(1);
    const bool written = WrittenResultExists();
    const int before = util_.GetWorkState();
    const bool saved = doc_.SaveTotal();
    util_.RestoreStartDirectory();
    if (saved) {
        util_.SetWorkState(kSaved);
        edited_ = false;
        UpdateTitle(1);
    }
    util_.StepProgress(1);
    util_.DestroyProgress();
    // Another auditor saved the total since it was read: nothing was
    // overwritten, and the work can still be kept under another name.
    if (!saved && util_.ChangedElsewhere() && ui_.Ask(sharedwrite::kSaveAsInstead)) {
        const std::string previous = util_.ResultPath(".tls");
        SaveAs();
        return util_.ResultPath(".tls") != previous;
    }
    // The first save of a total leads straight on to writing the result.
    if (saved && !written && before != kWritingResult)
        RunResultWriting();
    return saved;
}

void DesktopFlows::SaveAs() {
    const std::optional<std::string> path = ui_.ChooseSaveFile(TotalFileDialog(kSaveAsCaption));
    if (!path) {
        util_.RestoreStartDirectory();
        return;
    }
    // A name Windows cannot hold is refused before anything changes.
    // (A CP949 trail byte may be a backslash: only a whole character counts.)
    std::size_t sep = text::FindLastChar(*path, '\\');
    if (const std::size_t slash = text::FindLastChar(*path, '/');
        util_.Files().Rules().slashIsSeparator && slash != std::string::npos &&
        (sep == std::string::npos || slash > sep))
        sep = slash;
    const std::string problem =
        WindowsNameCharacterProblem(sep == std::string::npos ? *path : path->substr(sep + 1));
    if (!problem.empty()) {
        ui_.Show(BadNameMessage(problem));
        util_.RestoreStartDirectory();
        return;
    }
    const int before = util_.GetWorkState();
    const CAuditUtil::ResultNames names = util_.GetResultNames();
    util_.SetWorkState(kSavedAs);
    util_.SetPreviousTotalPath(util_.ResultPath(".tls"));
    util_.SetResultNames(*path, CAuditUtil::NameForm::Path);
    util_.ShowProgress(kSavingTotal);
    util_.StepProgress(1);
    // The work folder is looked up below the start-up directory, whatever
    // folder the dialog was left in.
    util_.RestoreStartDirectory();
    const bool written = WrittenResultExists();
    const bool saved = doc_.SaveTotal();
    if (saved) {
        // From now on the new file is the one a save reads its administrative
        // values and history from: what result writing puts there must
        // survive the next save.
        util_.SetPreviousTotalPath(util_.ResultPath(".tls"));
        edited_ = false;
        UpdateTitle(1);
        NoteCandidates();
        ApplyStates();
    } else {
        util_.RestoreResultNames(names);
        util_.SetWorkState(before);
    }
    util_.StepProgress(1);
    util_.DestroyProgress();
    if (saved && !written)
        RunResultWriting();
}

void DesktopFlows::Consolidate() {
    if (!OfferSave())
        return;
    // What the window shows now, put back when no total could be written.
    const CAuditUtil::ResultNames names = util_.GetResultNames();
    const int state = util_.GetWorkState();
    const unsigned char layout = util_.GetLayoutFlag();
    const CommandStates states = states_;
    const std::string title = title_;
    const bool edited = edited_;

    SelectFilesModel dialog(util_, ListPerPcFiles(util_.Files(), machine_.codec),
                            DefaultResultName(machine_.clock.Now()));
    if (!ui_.RunFileSelectionDialog(dialog)) {
        util_.RestoreResultNames(names);
        util_.RestoreStartDirectory();
        return;
    }
    UpdateTitle(2);
    if (!MergeChosenFiles(util_, doc_)) {
        // No rows of a total that exists nowhere: the lists go back to what
        // they showed, the total before from its file, or an empty scan list.
        util_.RestoreResultNames(names);
        util_.SetWorkState(state);
        if (layout == kScanLayout)
            doc_.SetLayoutMode(kScanLayout);
        doc_.ClearViews();
        if (layout != kScanLayout && states.MenuEnabled(ID_FILE_SAVE))
            doc_.LoadTotal();
        states_ = states;
        ApplyStates();
        edited_ = edited;
        title_ = title;
        ui_.SetTitle(title.empty() ? kInitialTitle : title);
        return;
    }
    edited_ = true;
    states_.DocumentConfirmed();
    NoteCandidates();
    ApplyStates();
}

void DesktopFlows::ExportCandidates() {
    const std::string candPath = CandidatesPath(util_.ResultPath(".tls"));
    const CandidateReview review = ReviewCandidates(util_.Files(), candPath, kKeyListFile, 1);
    if (!review.read) {
        ui_.Show(candidates::kCannotRead + candPath);
        return;
    }
    if (review.count == 0) {
        std::string text = candidates::kNoCandidates;
        if (review.badLines > 0)
            text += "\n" + candidates::BadLinesLine(review.badLines);
        ui_.Inform(text);
        return;
    }
    const std::optional<std::string> path = ui_.ChooseSaveFile(
        {candidates::kExportCaption, "tsv", util_.BaseName() + candidates::kExportSuffix,
         candidates::kExportFilter, kWorkFolder});
    util_.RestoreStartDirectory();
    if (!path)
        return;
    if (!ReplaceFiles(util_.Files(), {{*path, review.text}})) {
        ui_.Show(candidates::kCannotWrite + *path);
        return;
    }
    std::string text = candidates::WrittenLine(review.count, *path);
    if (!review.keyListRead)
        text += "\n" + std::string(candidates::kKeyListUnread);
    if (review.badLines > 0)
        text += "\n" + candidates::BadLinesLine(review.badLines);
    if (review.keyListRead && review.badLines == 0)
        ui_.Inform(text);
    else
        ui_.Show(text);
}

void DesktopFlows::RunResultWriting() {
    CResultWriting model(util_);
    // A written result of another total is not written over from here.
    if (!model.Open() && model.Refused())
        return;
    // A saved result is shown in the lists at once: they hold the total
    // just written, so nothing of them is left unsaved.
    if (ui_.RunResultWritingDialog(model)) {
        doc_.LoadTotal();
        if (edited_) {
            edited_ = false;
            UpdateTitle(1);
        }
    }
}

bool DesktopFlows::WriteResult() {
    const bool exists = WrittenResultExists();
    // Unsaved ticks are saved first, or the dialog's save would drop them.
    const bool edited = edited_ || util_.GetWorkState() == kEdited;
    const char* question =
        exists ? (edited ? kWrittenExistsSaveFirst : kWrittenExistsGoOn) : kAskSave;
    if (!ui_.Ask(question))
        return true;
    const int before = util_.GetWorkState();
    util_.SetWorkState(kWritingResult);
    if ((!exists || edited) && !Save()) {
        util_.SetWorkState(before);
        return false;
    }
    RunResultWriting();
    return true;
}

// ---- printing -----------------------------------------------------------

void DesktopFlows::Print(bool preview) {
    CPrintSelection selection;
    if (!ui_.RunPrintSelectionDialog(selection) || !selection.Confirm(util_))
        return;
    // Printing goes to the chosen or the default printer without a print
    // dialog; with none to print on, nothing happens but the message.
    if (!preview && !ui_.FindPrinter()) {
        ui_.Show(kNoPrinter);
        return;
    }
    // A print into a file that exists replaces it only on a Yes.
    if (!preview) {
        const std::optional<std::string> file = ui_.PrintFile();
        if (file && util_.FileExists(*file) && !ui_.Ask(msg::kOverwriteQuestion))
            return;
    }
    const ReportKind kind = *selection.Chosen();
    // The confirmation sheet without a readable written result: the Write
    // result command first, whatever its answer, unless a save it ran
    // failed; then state 8.
    if (!BeforePrinting(util_, kind, [this] { return WriteResult(); }))
        return;
    // The two views print alike but for the confirmation sheet's signature line.
    const SheetView view = ui_.ActiveView() == 1 ? SheetView::Extended : SheetView::Normal;
    const std::optional<ReportLayout> layout =
        PrepareReport(util_, kind, TotalFileReaders(util_), view);
    if (layout)
        ui_.PrintReport(*layout, preview);
}

void DesktopFlows::PrintSetup() {
    ui_.PrintSetup();
    util_.RestoreStartDirectory();
}

// ---- closing ------------------------------------------------------------

bool DesktopFlows::ExitQuestions() {
    // The per-PC result from the two views. The scan's thread ends first, so
    // that the file written now is the last one of this scan and no program
    // reaches a view that is about to go.
    if (util_.GetWorkState() == kScanning)
        doc_.StopScan();
    // A failed save keeps the window, and the work with it.
    if (edited_ && ui_.Ask(kAskSave))
        return Save();
    return true;
}

void DesktopFlows::Exit() {
    if (ExitQuestions())
        Close();
}

void DesktopFlows::Close() {
    closing_ = true;
    ui_.CloseWindow();
}

bool DesktopFlows::CloseRequested() {
    // The program's own closes (Exit, the end-of-scan question) have run
    // what they need already.
    if (!closing_ && !ExitQuestions())
        return false;
    closing_ = true;
    // No program of a scan may reach the views once they are gone.
    if (doc_.ScanRunning())
        doc_.StopScan();
    return true;
}

} // namespace ostravion
