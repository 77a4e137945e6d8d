// The desktop program's behaviour, once for every front: each command of the
// main window as a flow with its questions, dialogs, work states, progress
// steps, command states and window titles. A front draws the window,
// implements DesktopUi and forwards its commands here; everything runs on the
// user-interface thread.
#pragma once

#include "desktop/CommandStates.h"
#include "desktop/DesktopDocument.h"
#include "files/CandidateFile.h"
#include "ports/DesktopUi.h"
#include "util/AuditUtil.h"

#include <functional>
#include <string>
#include <vector>

namespace ostravion {

// What the desktop program's command line asks for.
struct DesktopCommandLine {
    bool splash = true; // "/Embedding" and "/Automation" leave the splash window out
    std::string file;   // a total file to open, as given
    // What to walk in place of this machine's drives: "--drive L=FOLDER"
    // (repeatable) and "--app-paths FILE", as the command-line program takes them.
    std::vector<std::string> driveMap;
    std::string appPathsFile;
    std::string recoveryPassword; // of BitLocker volumes on the disks given as drives
};

// The arguments after the program's name. `isFile` tells whether an argument
// that starts with "/" names an existing file (an absolute path on POSIX
// systems) rather than a switch.
DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& arguments,
                                           bool (*isFile)(const std::string&));

class DesktopFlows {
public:
    struct Machine {
        const SystemInfo& system;
        const Clock& clock;
        const TextCodec& codec;
    };
    DesktopFlows(CAuditUtil& util, DesktopDocument& doc, DesktopUi& ui, Machine machine);

    // The window's creation: the work folder (false, with its message, when
    // it cannot be made), the start-up directory, greyed document commands.
    bool WindowCreated();

    // A command by menu or command-bar id. A command whose item or button is
    // greyed does nothing, whichever way it came.
    void OnCommand(int id);
    bool CommandEnabled(int id) const;

    void StartInspection();
    // Where the scan may read a disk image in place of this PC's drives:
    // uses the image (CP949 text of its path) as drive C: with its other
    // NTFS partitions after it, or with an empty path puts back the drives
    // the program started with; false with a reason (UTF-8) when it cannot.
    using DiskImageOpener = std::function<bool(const std::string& path, std::string& error)>;
    void SetDiskImageOpener(DiskImageOpener opener) { diskOpener_ = std::move(opener); }
    void StopInspection();
    // The end of a completed scan, on the user-interface thread, once the
    // document has written the result file: the idle commands and the
    // closing question.
    void ScanCompleted();
    void Open();
    // A total file named on the command line or dropped on the window
    // (CP949 text of its path): opened as Open opens a chosen file; nothing
    // happens while a scan runs or its dialog is open. A file that does not
    // exist is named in a message, and false comes back.
    bool OpenGivenFile(const std::string& path);
    // The file exists, or a total of its name written in lower case.
    bool GivenFileExists(const std::string& path) const;
    // Each write of the total says whether it succeeded. Only a write that
    // succeeded clears the edited mark; a failed one leaves the work state,
    // the names, the title and the mark as they were and opens nothing more.
    bool Save();
    void SaveAs();
    void Consolidate();
    // 키 리스트 후보 내보내기: the total's candidates, less what KEYLIST.DAT
    // holds already, written for review to a file the save dialog names.
    void ExportCandidates();
    // False when a save it ran failed.
    bool WriteResult();
    void Print(bool preview);
    void PrintSetup();
    void Exit();
    // The close box and Alt+F4: the Exit flow's questions unless the program
    // closes itself. True when the window may close: false when the save the
    // user asked for failed, so that the work stays.
    bool CloseRequested();

    // A double click on a row of the scan layout asked for its folder (the
    // text of its 파일경로), on this machine's drives: the file manager opens
    // on it when it is an existing folder there; any other text opens
    // nothing and is answered with the system's path message.
    void OpenRowFolder(const std::string& folderText, const std::vector<Drive>& drives,
                       char nativeSeparator);

    // The folder the program runs from (CP949 text of its native path) and the
    // system's folder separator: where 사용 설명서 looks for the guide.
    void SetProgramFolder(std::string folder, char separator);
    // 사용 설명서: the guide's page opens beside the program from the first
    // place that holds it as a file; when none does, a message names the
    // places looked at.
    void OpenGuide();
    // Those places, in order: the program's folder (the kit, the installed
    // Windows program), share/doc/ostravion/guide beside the program's bin
    // folder (an installed Linux program) and guide beside its build folder.
    std::vector<std::string> GuidePlaces() const;

    // A list marked the work edited: a tick of a shown total changed.
    void WorkEdited() {
        edited_ = true;
        UpdateTitle(2);
    }
    // The edited mark: work the total file does not hold yet (a consolidation
    // or a tick since the last write of the total that succeeded).
    bool Edited() const { return edited_; }
    // The document loaded or built a total: "확장" when the extended list holds rows.
    void ArrangementChosen(bool extended) { ui_.ShowLayout(extended); }

    // The title forms: 1 the total file's name, 2 the same with "*", 3 the
    // per-PC result file's name.
    void UpdateTitle(int form);
    const CommandStates& States() const { return states_; }

private:
    void ApplyStates() { ui_.ApplyCommandStates(states_); }
    // The export of candidates follows the total on show having them.
    void NoteCandidates() {
        states_.CandidatesFound(util_.FileExists(CandidatesPath(util_.ResultPath(".tls"))));
    }
    void OpenPath(const std::string& path);
    bool WrittenResultExists() const;
    // The key list loads; else its message names where it was looked for.
    bool KeyListReadable();
    void RunResultWriting();
    // Before a command replaces edited work: "저장하시겠습니까?", Yes saves.
    // False when that save failed and the command must stop.
    bool OfferSave();
    // The save itself; `resultWriting` lets the first save lead on to the
    // result-writing dialog.
    bool SaveTotal(bool resultWriting);
    bool ExitQuestions();
    void Close();
    // The start dialog's "디스크 이미지…": a chosen image that can be read
    // becomes drive C: and gives the dialog its facts; one that cannot is
    // named in a message and changes nothing.
    bool ChooseDiskImage(StartDialogModel& dialog);
    FileDialogRequest TotalFileDialog(const char* caption) const;

    CAuditUtil& util_;
    DesktopDocument& doc_;
    DesktopUi& ui_;
    Machine machine_;
    CommandStates states_;
    bool closing_ = false;
    bool edited_ = false;
    std::string programFolder_;
    char separator_ = '/';
    std::string title_; // the last title set; empty while the initial one shows
    DiskImageOpener diskOpener_;
};

} // namespace ostravion
