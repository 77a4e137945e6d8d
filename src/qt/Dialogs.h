// The one door through which the program talks to the user and to the shell:
// message boxes, Yes/No questions, the file dialogs, the program's own modal
// dialogs and the shell's open/explore verbs. Tests switch it to scripted mode,
// in which nothing blocks: answers, file names and dialog actions come from
// queues and every call is written to a log.
#pragma once

#include "ports/DesktopUi.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

class QDialog;
class QPrinter;
class QWidget;

namespace ostravion::gui {

// The caption of every message box.
inline const QString kAppTitle = QStringLiteral("Ostravion");

struct FileDialogSpec {
    QString caption;       // "열기", "다른 이름으로 저장"
    QString defaultSuffix; // "tls"
    QString fileName;      // the initial file name, "*.tls"
    QString filter;        // Qt form: "Total결과파일(*.tls)"
    QString folder;        // initial folder
};

class Dialogs {
public:
    static void Show(QWidget* parent, const QString& text);
    // Typed texts checked before they become CP949: false, after the message
    // naming the first character without a CP949 form (as typed, with its
    // code point) and with the focus on its field, when one cannot be kept.
    static bool TypedTextsFit(QWidget* parent, const TextCodec& codec,
                              std::initializer_list<std::pair<QWidget*, QString>> fields);
    // A message that reports what was done rather than warns: the
    // information icon.
    static void Inform(QWidget* parent, const QString& text);
    // True only when the answer is Yes.
    static bool Ask(QWidget* parent, const QString& question);
    // The file dialog "열기": the chosen path, or empty on Cancel. A name with
    // a wildcard in the name field filters the list instead of being chosen.
    static QString OpenFileName(QWidget* parent, const FileDialogSpec& spec);
    // The file dialog "다른 이름으로 저장", as OpenFileName; asks before
    // overwriting an existing file.
    static QString SaveFileName(QWidget* parent, const FileDialogSpec& spec);
    // The same for a request of the flows: its CP949 texts shown, the work
    // folder found below the current directory, the chosen path handed back
    // as CP949 text of the native path; nothing on Cancel.
    static std::optional<std::string> OpenFile(QWidget* parent, const FileDialogRequest& request,
                                               const TextCodec& codec);
    static std::optional<std::string> SaveFile(QWidget* parent, const FileDialogRequest& request,
                                               const TextCodec& codec);
    // Runs a modal dialog; returns its result (QDialog::Accepted or Rejected).
    static int Exec(QDialog& dialog);
    // The shell's verb ("open", "explore") on a web address or a folder;
    // false when the system has no program to hand it to.
    static bool Shell(const QString& verb, const QString& target);
    // Points `printer` at the printer print jobs go to: the one chosen in the
    // printer-setup dialog (kept in `printer`), else the system's default.
    // False when there is none to print on.
    static bool FindPrinter(QPrinter& printer);

    // Scripted mode, for tests.
    static void SetScripted(bool on);
    static bool Scripted();
    // Next answers of Ask, in order; an Ask with none queued answers No.
    // `during` runs while the question is up.
    static void SetNextAnswer(bool yes, std::function<void()> during = {});
    // Next file-dialog result; `during` runs as if inside the dialog (a test
    // may change the current directory there, as a real dialog may).
    static void SetNextFileName(const QString& path, std::function<void()> during = {});
    // Next modal dialog: the action fills it and presses its buttons. While the
    // dialog stays open after an action, the next queued action runs; with
    // none left it is cancelled.
    static void SetNextDialogAction(std::function<void(QDialog&)> action);
    // Next printer FindPrinter finds: a PDF file it prints into. With none
    // queued, scripted mode has no printer (the system's are never asked).
    static void SetNextPrinter(const QString& pdfPath);
    // Every call, as "show: TEXT", "inform: TEXT", "ask: TEXT = yes|no", "open: FILE",
    // "save: FILE", "dialog: TITLE = accepted|rejected", "shell: VERB TARGET",
    // "printer: FILE|(none)".
    static QStringList Log();
    static void ClearLog();
    // Forgets the log and every queued answer, file name and action.
    static void Reset();
};

} // namespace ostravion::gui
