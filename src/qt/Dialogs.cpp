#include "qt/Dialogs.h"

#include "qt/report/QtText.h"
#include "util/InputText.h"
#include "util/Messages.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <deque>
#include <utility>

namespace ostravion::gui {

namespace {

struct ScriptedFile {
    QString path;
    std::function<void()> during;
};

struct ScriptedAnswer {
    bool yes;
    std::function<void()> during;
};

struct Script {
    bool on = false;
    std::deque<ScriptedAnswer> answers;
    std::deque<ScriptedFile> files;
    std::deque<std::function<void(QDialog&)>> actions;
    std::deque<QString> printers;
    QStringList log;
};

Script& S() {
    static Script s;
    return s;
}

QString ScriptedFileName(const char* kind) {
    Script& s = S();
    if (s.files.empty()) {
        s.log << QStringLiteral("%1: (cancel)").arg(QLatin1String(kind));
        return {};
    }
    ScriptedFile f = std::move(s.files.front());
    s.files.pop_front();
    if (f.during)
        f.during();
    s.log << QStringLiteral("%1: %2").arg(QLatin1String(kind), f.path);
    return f.path;
}

// Qt's file dialog with the name field of the Windows ones: a name with a
// wildcard ("*.tls") is a pattern that the list is filtered by, never a file
// to open or to save to.
class TotalFileDialog final : public QFileDialog {
public:
    explicit TotalFileDialog(QWidget* parent, const FileDialogSpec& spec)
        : QFileDialog(parent, spec.caption, spec.folder, spec.filter), spec_(spec) {
        setObjectName(QStringLiteral("fileDialog"));
#ifndef Q_OS_WIN
        // The desktop's own dialog would ignore the initial name and speak
        // the desktop's language.
        setOption(QFileDialog::DontUseNativeDialog);
#endif
        setDefaultSuffix(spec.defaultSuffix);
        selectFile(spec.fileName);
        // The list's size, type and date columns show whole, the name takes
        // the rest.
        resize(760, 480);
        if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView"))) {
            QHeaderView* header = details->header();
            header->setStretchLastSection(false);
            header->setSectionResizeMode(QHeaderView::ResizeToContents);
            header->setSectionResizeMode(0, QHeaderView::Stretch);
        }
    }

    void accept() override {
        const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = name ? name->text().trimmed() : QString();
        if (!typed.contains(QLatin1Char('*')) && !typed.contains(QLatin1Char('?'))) {
            QFileDialog::accept();
            return;
        }
        // The pattern of a listed filter selects that filter; any other
        // pattern becomes the filter.
        for (const QString& filter : nameFilters())
            if (filter.contains(QLatin1Char('(') + typed + QLatin1Char(')'))) {
                selectNameFilter(filter);
                return;
            }
        setNameFilters({spec_.filter, typed});
        selectNameFilter(typed);
    }

private:
    FileDialogSpec spec_;
};

QString RunFileDialog(QFileDialog& d) {
    if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
        return d.selectedFiles().constFirst();
    return {};
}

} // namespace

bool Dialogs::TypedTextsFit(QWidget* parent, const TextCodec& codec,
                            std::initializer_list<std::pair<QWidget*, QString>> fields) {
    for (const auto& [field, text] : fields) {
        std::string cp949;
        UnwritableCharacter bad;
        if (ValueToCp949(text.toStdString(), codec, cp949, bad))
            continue;
        Show(parent, ToQt(codec, msg::kNoCp949Form) + QString::fromStdString(bad.character) +
                         QStringLiteral(" (") + QString::fromStdString(bad.codePoint) +
                         QStringLiteral(")"));
        if (field)
            field->setFocus();
        return false;
    }
    return true;
}

void Dialogs::Show(QWidget* parent, const QString& text) {
    if (S().on) {
        S().log << QStringLiteral("show: ") + text;
        return;
    }
    QMessageBox box(QMessageBox::Warning, kAppTitle, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("확인"));
    box.exec();
}

void Dialogs::Inform(QWidget* parent, const QString& text) {
    if (S().on) {
        S().log << QStringLiteral("inform: ") + text;
        return;
    }
    QMessageBox box(QMessageBox::Information, kAppTitle, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("확인"));
    box.exec();
}

namespace {
// A Yes/No question has no escape answer: Escape and the title bar's close
// do nothing, so that only a button answers it.
class NoEscapeAnswer final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

bool Dialogs::Ask(QWidget* parent, const QString& question) {
    if (S().on) {
        bool yes = false;
        if (!S().answers.empty()) {
            ScriptedAnswer a = std::move(S().answers.front());
            S().answers.pop_front();
            if (a.during)
                a.during();
            yes = a.yes;
        }
        S().log << QStringLiteral("ask: %1 = %2")
                       .arg(question, yes ? QStringLiteral("yes") : QStringLiteral("no"));
        return yes;
    }
    QMessageBox box(QMessageBox::Question, kAppTitle, question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("예(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("아니요(&N)"));
    box.setDefaultButton(QMessageBox::Yes);
    NoEscapeAnswer noEscape(&box);
    box.installEventFilter(&noEscape);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::OpenFileName(QWidget* parent, const FileDialogSpec& spec) {
    if (S().on)
        return ScriptedFileName("open");
    TotalFileDialog d(parent, spec);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(d);
}

QString Dialogs::SaveFileName(QWidget* parent, const FileDialogSpec& spec) {
    if (S().on)
        return ScriptedFileName("save");
    TotalFileDialog d(parent, spec);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(d);
}

namespace {

// A request's filter, "caption(pattern)|pattern|...||", in Qt's form: the
// captions, which carry their patterns, one per line.
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList captions;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            captions << parts[i];
    return captions.join(QStringLiteral(";;"));
}

FileDialogSpec SpecFor(const FileDialogRequest& r, const TextCodec& codec) {
    FileDialogSpec spec;
    spec.caption = ToQt(codec, r.caption);
    spec.defaultSuffix = ToQt(codec, r.defaultExtension);
    spec.fileName = ToQt(codec, r.initialName);
    spec.filter = QtFilter(ToQt(codec, r.filter));
    QString folder = ToQt(codec, r.folder);
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    spec.folder = QDir::cleanPath(QDir::current().filePath(folder));
    return spec;
}

std::optional<std::string> Chosen(const QString& path, const TextCodec& codec) {
    if (path.isEmpty())
        return std::nullopt;
    return FromQt(codec, QDir::toNativeSeparators(path));
}

} // namespace

std::optional<std::string> Dialogs::OpenFile(QWidget* parent, const FileDialogRequest& request,
                                             const TextCodec& codec) {
    return Chosen(OpenFileName(parent, SpecFor(request, codec)), codec);
}

std::optional<std::string> Dialogs::SaveFile(QWidget* parent, const FileDialogRequest& request,
                                             const TextCodec& codec) {
    return Chosen(SaveFileName(parent, SpecFor(request, codec)), codec);
}

int Dialogs::Exec(QDialog& dialog) {
    if (!S().on)
        return dialog.exec();
    bool finished = false;
    const auto connection =
        QObject::connect(&dialog, &QDialog::finished, [&finished] { finished = true; });
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    while (!finished && !S().actions.empty()) {
        auto action = std::move(S().actions.front());
        S().actions.pop_front();
        action(dialog);
    }
    if (!finished)
        dialog.reject();
    QObject::disconnect(connection);
    dialog.hide();
    // As a closing modal dialog does, hand the activation back to its owner.
    if (QWidget* owner = dialog.parentWidget())
        owner->window()->activateWindow();
    const int result = dialog.result();
    S().log << QStringLiteral("dialog: %1 = %2")
                   .arg(dialog.windowTitle(), result == QDialog::Accepted
                                                  ? QStringLiteral("accepted")
                                                  : QStringLiteral("rejected"));
    return result;
}

bool Dialogs::Shell(const QString& verb, const QString& target) {
    if (S().on) {
        S().log << QStringLiteral("shell: %1 %2").arg(verb, target);
        return true;
    }
    // "open" hands a web address to the browser; "explore" hands a folder to
    // the file manager, always as a local folder, never as an address. False
    // when no program took it (no xdg-open on the system).
    const QUrl url = verb == QStringLiteral("open") && target.contains(QStringLiteral("://"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

bool Dialogs::FindPrinter(QPrinter& printer) {
    Script& s = S();
    if (s.on) {
        if (s.printers.empty()) {
            s.log << QStringLiteral("printer: (none)");
            return false;
        }
        const QString file = s.printers.front();
        s.printers.pop_front();
        s.log << QStringLiteral("printer: ") + file;
        // A PDF printer with the page of the command line's PDF export.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
        return true;
    }
    // A file chosen in the printer-setup dialog is a printer of its own.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return true;
    const QList<QPrinterInfo> installed = QPrinterInfo::availablePrinters();
    if (installed.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::NativeFormat);
    for (const QPrinterInfo& p : installed)
        if (p.printerName() == printer.printerName())
            return true;
    const QPrinterInfo fallback = QPrinterInfo::defaultPrinter();
    printer.setPrinterName(fallback.isNull() ? installed.constFirst().printerName()
                                             : fallback.printerName());
    return true;
}

void Dialogs::SetNextPrinter(const QString& pdfPath) {
    S().printers.push_back(pdfPath);
}

void Dialogs::SetScripted(bool on) {
    S().on = on;
}

bool Dialogs::Scripted() {
    return S().on;
}

void Dialogs::SetNextAnswer(bool yes, std::function<void()> during) {
    S().answers.push_back({yes, std::move(during)});
}

void Dialogs::SetNextFileName(const QString& path, std::function<void()> during) {
    S().files.push_back({path, std::move(during)});
}

void Dialogs::SetNextDialogAction(std::function<void(QDialog&)> action) {
    S().actions.push_back(std::move(action));
}

QStringList Dialogs::Log() {
    return S().log;
}

void Dialogs::ClearLog() {
    S().log.clear();
}

void Dialogs::Reset() {
    Script& s = S();
    s.answers.clear();
    s.files.clear();
    s.actions.clear();
    s.printers.clear();
    s.log.clear();
}

} // namespace ostravion::gui
