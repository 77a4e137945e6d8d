// The user guide's pictures on Linux: the Qt program's windows drawn by the
// program itself on the offscreen platform, the Windows program's BMP
// pictures turned into PNG, and the check that every picture the guide
// names is there and shows something.
//
//   ostravion-guide-pictures --qt WORK_FOLDER OUT_FOLDER
//       the Qt windows, over WORK_FOLDER (KEYLIST.DAT, CheckOut/audit.tls
//       and its written result audit.rst), as qt-*.png in OUT_FOLDER
//   ostravion-guide-pictures --png FOLDER
//       every FOLDER/NAME.bmp written as FOLDER/NAME.png; the BMP removed
//   ostravion-guide-pictures --check GUIDE.md PICTURE_FOLDER
//       every picture the guide names as guide-pictures/NAME.png: status 1
//       and each missing or blank one named, else 0
#include "desktop/CommandStates.h"
#include "platform/Native.h"
#include "qt/COstravionApp.h"
#include "qt/Dialogs.h"
#include "qt/Pictures.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace ostravion;

void Say(const QString& line) {
    std::fprintf(stderr, "ostravion-guide-pictures: %s\n", line.toLocal8Bit().constData());
}

// ---- --check ------------------------------------------------------------

// A picture is blank when all but a few of its pixels are of one colour
// (within a little noise): fewer than 0.1% of them, and never more than a
// few hundred, stand out. A window shows at least its frame and texts, a
// printed page its lines and headings, each far more than that.
bool Blank(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const qint64 pixels = qint64(img.width()) * img.height();
    if (pixels < 64)
        return true;
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            ++counts[line[x] | 0xFF000000u];
    }
    QRgb common = 0;
    qint64 most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    qint64 standing = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QRgb c = it.key();
        if (std::abs(qRed(c) - qRed(common)) + std::abs(qGreen(c) - qGreen(common)) +
                std::abs(qBlue(c) - qBlue(common)) >
            24)
            standing += it.value();
    }
    return standing < std::min<qint64>(300, std::max<qint64>(16, pixels / 1000));
}

int Check(const QString& guidePath, const QString& folder) {
    QFile guide(guidePath);
    if (!guide.open(QIODevice::ReadOnly)) {
        Say(QStringLiteral("the guide %1 cannot be read").arg(guidePath));
        return 2;
    }
    const QString text = QString::fromUtf8(guide.readAll());
    static const QRegularExpression name(QStringLiteral("guide-pictures/([A-Za-z0-9._-]+\\.png)"));
    QStringList names;
    for (auto it = name.globalMatch(text); it.hasNext();) {
        const QString n = it.next().captured(1);
        if (!names.contains(n))
            names << n;
    }
    int faults = 0;
    for (const QString& n : names) {
        const QString path = QDir(folder).filePath(n);
        if (!QFileInfo(path).isFile()) {
            Say(QStringLiteral("missing: %1").arg(n));
            ++faults;
            continue;
        }
        const QImage image(path);
        if (image.isNull()) {
            Say(QStringLiteral("unreadable: %1").arg(n));
            ++faults;
        } else if (Blank(image)) {
            Say(QStringLiteral("blank: %1").arg(n));
            ++faults;
        }
    }
    if (faults > 0) {
        Say(QStringLiteral("%1 of the %2 pictures the guide names are missing or blank in %3")
                .arg(faults)
                .arg(names.size())
                .arg(folder));
        return 1;
    }
    std::printf("%lld pictures named by %s, all in %s\n", static_cast<long long>(names.size()),
                guidePath.toLocal8Bit().constData(), folder.toLocal8Bit().constData());
    return 0;
}

// ---- --png ----------------------------------------------------------------

int ToPng(const QString& folder) {
    const QDir dir(folder);
    int faults = 0;
    for (const QString& bmp : dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name)) {
        const QImage image(dir.filePath(bmp));
        const QString png = dir.filePath(QFileInfo(bmp).completeBaseName() + ".png");
        if (image.isNull() || !image.save(png, "PNG")) {
            Say(QStringLiteral("%1 could not be turned into %2").arg(dir.filePath(bmp), png));
            ++faults;
            continue;
        }
        QFile::remove(dir.filePath(bmp));
    }
    return faults == 0 ? 0 : 1;
}

// ---- --qt -----------------------------------------------------------------

// A fixed PC and clock, so that the start dialog shows the same facts on
// every machine.
class GuideSystem final : public SystemInfo {
public:
    std::string ComputerName() const override { return "PC-04"; }
    std::string UserName() const override { return "jhpark"; }
    ProcessorFacts Processor() const override { return {0, 6, 0x0806}; }
    OsVersionFacts OsVersion() const override { return {}; }
};

class GuideClock final : public Clock {
public:
    LocalTime Now() const override { return {2026, 3, 5, 9, 30, 0}; }
};

void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget* w, const QString& folder, const QString& name) {
    Settle(100);
    const QString path = QDir(folder).filePath(name + ".png");
    if (w->grab().save(path, "PNG"))
        return true;
    Say(QStringLiteral("%1 could not be written").arg(path));
    return false;
}

struct Session {
    std::unique_ptr<NativePlatform> platform = MakeNativePlatform();
    GuideSystem system;
    GuideClock clock;
    std::unique_ptr<gui::COstravionApp> app;

    bool Start(const QString& file) {
        app = std::make_unique<gui::COstravionApp>(*platform);
        app->SetMachine(system, clock);
        gui::CommandLine line;
        line.splash = false;
        line.file = file;
        if (!app->InitInstance(line) || !app->MainFrame())
            return false;
        app->MainFrame()->resize(1000, 700);
        Settle(200);
        return true;
    }
};

int QtPictures(const QString& work, const QString& out) {
    if (!QDir::setCurrent(work)) {
        Say(QStringLiteral("the work folder %1 cannot be used").arg(work));
        return 1;
    }
    QDir().mkpath(out);
    const QString outFolder = QDir(out).absolutePath();
    // Every dialog through the door runs the queued action once it is up.
    gui::Dialogs::SetScripted(true);
    int faults = 0;
    const auto dialogShot = [&](const QString& name) {
        gui::Dialogs::SetNextDialogAction([&faults, outFolder, name](QDialog& d) {
            faults += !Save(&d, outFolder, name);
            d.reject();
        });
    };
    {
        Session s;
        if (!s.Start({}))
            return 1;
        faults += !Save(s.app->MainFrame(), outFolder, QStringLiteral("qt-main-empty"));
        gui::Dialogs::SetNextDialogAction([&faults, outFolder](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("edit1038"))->setText(QStringLiteral("총무부"));
            faults += !Save(&d, outFolder, QStringLiteral("qt-start-dialog"));
            d.reject();
        });
        s.app->MainFrame()->OnCommand(ID_SCAN_START);
    }
    {
        Session s;
        if (!s.Start(QDir(work).absoluteFilePath(QStringLiteral("CheckOut/audit.tls"))))
            return 1;
        faults += !Save(s.app->MainFrame(), outFolder, QStringLiteral("qt-main-total"));
        s.app->MainFrame()->OnCommand(IDC_EXTENDED);
        faults += !Save(s.app->MainFrame(), outFolder, QStringLiteral("qt-main-extended"));
        s.app->MainFrame()->OnCommand(IDC_NORMAL);
        // The print selection as this program opens it: no report chosen yet.
        dialogShot(QStringLiteral("qt-print-select"));
        s.app->MainFrame()->OnCommand(ID_FILE_PRINT);
        // The written result exists: Yes to going on, then the dialog.
        gui::Dialogs::SetNextAnswer(true);
        dialogShot(QStringLiteral("qt-result-writing"));
        s.app->MainFrame()->OnCommand(ID_WRITE_RESULT);
    }
    const QStringList log = gui::Dialogs::Log();
    for (const QString& name :
         {QStringLiteral("qt-main-empty"), QStringLiteral("qt-main-total"),
          QStringLiteral("qt-main-extended"), QStringLiteral("qt-print-select"),
          QStringLiteral("qt-start-dialog"), QStringLiteral("qt-result-writing")})
        if (!QFileInfo(QDir(outFolder).filePath(name + ".png")).isFile()) {
            Say(QStringLiteral("%1.png was not drawn; the program said: %2")
                    .arg(name, log.join(QStringLiteral(" | "))));
            ++faults;
        }
    return faults == 0 ? 0 : 1;
}

// The offscreen platform warns about every top-level window it cannot size
// from hints; the warning says nothing about the pictures.
QtMessageHandler g_defaultHandler = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints")))
        g_defaultHandler(type, context, text);
}

int Usage() {
    std::fputs("usage: ostravion-guide-pictures --qt WORK_FOLDER OUT_FOLDER\n"
               "       ostravion-guide-pictures --png FOLDER\n"
               "       ostravion-guide-pictures --check GUIDE.md PICTURE_FOLDER\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString a = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString b = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (mode == QStringLiteral("--png") && argc == 3)
        return ToPng(a);
    if (mode == QStringLiteral("--check") && argc == 4)
        return Check(a, b);
    if (mode != QStringLiteral("--qt") || argc != 4)
        return Usage();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultHandler = qInstallMessageHandler(FilterMessages);
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostravion"));
    QApplication::setFont(gui::pictures::DialogFont());
    QApplication::setWindowIcon(gui::pictures::AppIcon());
    return QtPictures(a, b);
}
