// The one door through which the Windows program talks to the user and to
// the shell: message boxes, Yes/No questions, the file dialogs, the modal
// dialogs made from the resource templates and the shell's verbs. Tests
// switch it to scripted mode, in which nothing blocks on a person: answers
// and file names come from queues, each modal dialog is handed to the next
// queued action once it is up (the action fills it and presses its buttons
// with window messages), and every call is written to a log.
#pragma once

#include "ports/DesktopUi.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ostravion::win {

class Door {
public:
    // A warning with OK; "Ostravion" is the caption of every box.
    static void Show(HWND owner, const std::string& cp949);
    // A report of work done, with OK and the information icon.
    static void Inform(HWND owner, const std::string& cp949);
    // True only when the answer is Yes. A box closed without an answer
    // (Escape, the close box) is not a No: the question is asked again.
    static bool Ask(HWND owner, const std::string& cp949);
    // The answer of a Yes/No box shown by `show` (a MessageBox result):
    // shown again until it is Yes or No; a box that cannot be shown at all
    // (0) answers No.
    static bool UntilAnswered(const std::function<int()>& show);
    // The common file dialogs: the chosen path as CP949 text, nothing on Cancel.
    static std::optional<std::string> OpenFile(HWND owner, const FileDialogRequest& request);
    static std::optional<std::string> SaveFile(HWND owner, const FileDialogRequest& request);
    // A modal dialog from a resource template; its result (IDOK, IDCANCEL).
    static INT_PTR RunDialog(HWND owner, int templateId, DLGPROC proc, LPARAM param);
    // The shell's verb ("open", "explore") on a web address or a folder
    // (CP949); false when the system has no program for it.
    static bool Shell(const std::string& verb, const std::string& target);

    // Scripted mode, for tests.
    static void SetScripted(bool on);
    static bool Scripted();
    // The next answer of Ask; with none queued the answer is No.
    static void SetNextAnswer(bool yes);
    // The next file-dialog result (CP949); with none queued, Cancel.
    static void SetNextFileName(const std::string& path);
    // The next modal dialog: the action runs once the dialog is up, on the
    // dialog's own message loop; it must end the dialog (or queue another
    // action and leave it to that one). With none queued the dialog is
    // cancelled.
    static void SetNextDialogAction(std::function<void(HWND dialog)> action);
    // The next queued dialog action, taken from the queue; null when none is
    // queued. For a modal window of the program's own (the print preview).
    static std::function<void(HWND)> TakeNextDialogAction();
    // Adds a line to the log.
    static void Note(const std::string& line);
    // Every call, as "show: TEXT", "inform: TEXT", "ask: TEXT = yes|no", "open: FILE|(cancel)",
    // "save: FILE|(cancel)", "dialog: ID = 1|2", "shell: VERB TARGET"; texts CP949.
    static std::vector<std::string> TakeLog();
};

} // namespace ostravion::win
