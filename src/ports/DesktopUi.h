// What the desktop flows need of a window system: messages and questions,
// the file dialogs, the program's modal dialogs (each over the core's own
// dialog model), the printer, the window's title, command states and
// arrangement, and its close. The Qt front and the Windows front implement
// it; tests script it. Every text crossing it is CP949.
#pragma once

#include "doc/Inspection.h"
#include "ports/Ports.h"
#include "util/Types.h"

#include <functional>
#include <optional>
#include <string>

namespace ostravion {

class CommandStates;
class CPrintSelection;
class CResultWriting;
class SelectFilesModel;
class ReportLayout;

// One common file dialog: Open ("열기") or Save As ("다른 이름으로 저장").
struct FileDialogRequest {
    std::string caption;
    std::string defaultExtension; // "tls"
    std::string initialName;      // "*.tls"
    std::string filter;           // "Total결과파일(*.tls)|*.tls||"
    std::string folder;           // the work folder, relative to the current directory
};

// The start dialog: the PC's group and result file name typed, its model,
// computer name and user shown read-only.
class StartDialogModel {
public:
    StartDialogModel(const FileSystem& files, MessagePort& messages)
        : files_(files), messages_(messages) {}

    std::string group, model, computer, resultName, user;
    // The disk image audited as drive C: in place of this PC (CP949 text of
    // its path); empty for this PC.
    std::string disk;
    // Set where a disk image may be audited: asks for one and, when it can
    // be read, fills the fields from it (true: the dialog shows them again).
    std::function<bool(StartDialogModel&)> chooseDisk;

    // OK: the group is required (GroupMissing), the name must stay in the
    // work folder (BadName), and an existing result file is overwritten only
    // on a Yes (FileExists after a No). Each refusal shows its message; the
    // dialog stays open on anything but Ok.
    StartFieldCheck Confirm();
    // After a BadName: the group itself holds what was refused, so the
    // focus goes there rather than to the result name.
    bool GroupAtFault() const { return groupAtFault_; }

private:
    bool groupAtFault_ = false;
    const FileSystem& files_;
    MessagePort& messages_;
};

class DesktopUi : public MessagePort {
public:
    // The chosen path as CP949 text of the native path; nothing on Cancel.
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
    // Asks before an existing file is overwritten.
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;

    // Modal dialogs: true when closed with OK.
    virtual bool RunStartDialog(StartDialogModel& model) = 0;
    virtual bool RunFileSelectionDialog(SelectFilesModel& model) = 0;
    virtual bool RunResultWritingDialog(CResultWriting& model) = 0;
    virtual bool RunPrintSelectionDialog(CPrintSelection& model) = 0;

    // The printer print jobs go to; false when there is none.
    virtual bool FindPrinter() = 0;
    virtual void PrintReport(const ReportLayout& layout, bool preview) = 0;
    // The file print jobs go into when printing to a file was chosen (CP949
    // text of its path); nothing when they go to a printer.
    virtual std::optional<std::string> PrintFile() const { return std::nullopt; }
    // The system's printer-setup dialog; its choice stays for later jobs.
    virtual void PrintSetup() = 0;

    virtual void SetTitle(const std::string& title) = 0;
    virtual void ApplyCommandStates(const CommandStates& states) = 0;
    // Checks "확장" (or "일반") and shows that arrangement.
    virtual void ShowLayout(bool extended) = 0;
    // The active list view: 1 the extended one (lower pane), 0 the normal one.
    virtual int ActiveView() const = 0;
    // Closes the main window; the program ends.
    virtual void CloseWindow() = 0;
    // Opens the file manager on an existing folder (the CP949 text of its
    // path). False when the system has no program to show it with.
    virtual bool ExploreFolder(const std::string& path) = 0;
    // Opens an existing file with the program the system opens its kind with
    // (the guide's page in the web browser), beside this program. False when
    // the system has no program for it.
    virtual bool OpenDocument(const std::string& path) = 0;
};

} // namespace ostravion
