// The desktop program under load, on the offscreen platform:
//
//   bench_gui scan [FILES]   an inspection of FILES files (200,000 by default,
//                            ten per folder, one listed program per folder)
//                            through the real window, document, walk and
//                            lists; prints the longest time the event loop was
//                            kept from running (a timer asks every millisecond)
//   bench_gui rows [ROWS]    ROWS rows (100,000 by default) into a list view,
//                            then paints while scrolling through them
//
// The tree is in memory, so the walk's own file-system time does not hide
// what the window costs.
#include "Fakes.h"
#include "qt/CMainFrame.h"
#include "qt/COstravionApp.h"
#include "qt/Dialogs.h"
#include "qt/GuiDocument.h"
#include "qt/Pictures.h"
#include "qt/ResultView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

// This machine's ports, with the walk's in memory.
class BenchPlatform final : public NativePlatform {
public:
    BenchPlatform() : native_(MakeNativePlatform()) {}
    TextCodec& Codec() override { return native_->Codec(); }
    FileSystem& Files() override { return native_->Files(); }
    SystemInfo& System() override { return native_->System(); }
    Clock& LocalClock() override { return native_->LocalClock(); }
    VersionStrings& Versions() override { return versions; }
    FileSearch& Search() override { return search; }
    Drives& DriveList() override { return drives; }
    AppPaths& Apps() override { return apps; }

    test::FakeFileSearch search;
    test::FakeDrives drives;
    test::FakeVersionStrings versions;
    test::FakeAppPaths apps;

private:
    std::unique_ptr<NativePlatform> native_;
};

// Listed names and sizes of the sample key list.
const std::pair<const char*, int> kListed[] = {
    {"WINWORD.EXE", 12345678}, {"EXCEL.EXE", 9876543}, {"HWP.EXE", 2345678}};

void BuildTree(BenchPlatform& p, int files) {
    const int root = p.search.AddRoot("/c/");
    p.drives.drives = {{"C:\\", "/c/", '\\'}};
    const int perFolder = 10;
    const int folders = std::max(1, files / perFolder);
    const int tops = 100;
    std::vector<int> top;
    for (int t = 0; t < tops; ++t)
        top.push_back(p.search.AddFolder(root, "top" + std::to_string(t)));
    for (int f = 0; f < folders; ++f) {
        const int folder = p.search.AddFolder(top[f % tops], "folder" + std::to_string(f));
        const auto& [name, size] = kListed[f % 3];
        p.search.AddFile(folder, name, static_cast<std::uint64_t>(size));
        for (int i = 1; i < perFolder; ++i)
            p.search.AddFile(folder, "part" + std::to_string(i) + ".dll", 1000 + i);
    }
}

// The longest gap between ticks of a 1 ms timer while it runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            gaps_.push_back((now - last_) / 1000000.0);
            if (gaps_.back() >= Worst())
                worstAt_ = now / 1000000.0;
            last_ = now;
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    double WorstAt() const { return worstAt_; }
    double Worst() const {
        return gaps_.empty() ? 0 : *std::max_element(gaps_.begin(), gaps_.end());
    }
    double Percentile(double q) const {
        if (gaps_.empty())
            return 0;
        std::vector<double> g = gaps_;
        std::sort(g.begin(), g.end());
        return g[static_cast<std::size_t>(q * (g.size() - 1))];
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    std::vector<double> gaps_;
    double worstAt_ = 0;
};

int Scan(int files) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QFile::copy(QStringLiteral(OSTRAVION_SOURCE_DIR "/samples/KEYLIST.DAT"),
                dir.filePath(QStringLiteral("KEYLIST.DAT")));
    BenchPlatform platform;
    BuildTree(platform, files);

    Dialogs::SetScripted(true);
    COstravionApp app(platform);
    CommandLine c;
    c.splash = false;
    if (!app.InitInstance(c))
        return 1;
    CMainFrame& frame = *app.MainFrame();
    frame.ShowExtendedLayout();

    bool asked = false;
    QEventLoop loop;
    QElapsedTimer total;
    StallMeter meter;
    Dialogs::SetNextDialogAction([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("edit1038"))->setText(QStringLiteral("BENCH"));
        d.findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    qint64 scanMs = 0;
    Dialogs::SetNextAnswer(false, [&] {
        scanMs = total.elapsed();
        meter.Stop();
        asked = true;
        loop.quit();
    });
    QTimer::singleShot(0, [&] {
        total.start();
        meter.Start();
        frame.OnCommand(IDC_START);
    });
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    loop.exec();
    auto& doc = static_cast<GuiDocument&>(app.Document());
    std::printf(
        "scan of %d files in %d folders: %lld programs handed over, %d + %d rows, %lld ms\n", files,
        files / 10, doc.Host().Handed(), doc.NormalList().RowCount(), doc.ExtendedList().RowCount(),
        scanMs);
    std::printf("event loop: worst stall %.1f ms (ending at %.0f ms), 99th percentile %.1f ms, "
                "median %.1f ms\n",
                meter.Worst(), meter.WorstAt(), meter.Percentile(0.99), meter.Percentile(0.5));
    QElapsedTimer w;
    w.start();
    doc.Doc().WriteScanResults();
    const qint64 writeMs = w.elapsed();
    w.restart();
    QCoreApplication::processEvents();
    // A completed scan's own write runs on the scan thread; a stop, or the
    // answer No to the question, writes the file again on the user-interface
    // thread: the one long piece of work left there.
    std::printf("the per-PC file from the lists on the window's thread (as a stop writes it): "
                "%lld ms, then the views' repaint %lld ms\n",
                writeMs, w.elapsed());
    return asked ? 0 : 1;
}

int Rows(int rows) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    BenchPlatform platform;
    Dialogs::SetScripted(true);
    COstravionApp app(platform);
    CommandLine c;
    c.splash = false;
    if (!app.InitInstance(c))
        return 1;
    CMainFrame& frame = *app.MainFrame();
    auto& doc = static_cast<GuiDocument&>(app.Document());
    doc.SetLayoutMode(kTotalLayout);
    QElapsedTimer t;
    t.start();
    FoundProgram p;
    p.Origin = "2";
    p.Class = "1";
    p.Company = "Sample Office Corp.";
    p.Version = "11.0";
    p.InstalledCount = "3";
    for (int i = 0; i < rows; ++i) {
        p.ProgramName = "Program " + std::to_string(i);
        doc.Doc().AddFoundProgram(p);
    }
    const qint64 addMs = t.elapsed();
    t.restart();
    QCoreApplication::processEvents(); // the view learns of the rows
    auto* view = static_cast<CResultView*>(frame.View(0));
    view->repaint();
    const qint64 showMs = t.elapsed();
    QScrollBar* bar = view->verticalScrollBar();
    double worst = 0;
    const int steps = 200;
    t.restart();
    for (int i = 0; i <= steps; ++i) {
        QElapsedTimer frameClock;
        frameClock.start();
        bar->setValue(bar->maximum() * i / steps);
        view->viewport()->repaint();
        worst = std::max(worst, frameClock.nsecsElapsed() / 1e6);
    }
    const qint64 scrollMs = t.elapsed();
    t.restart();
    view->List().ColumnClicked(3);
    QCoreApplication::processEvents();
    view->viewport()->repaint();
    const qint64 sortMs = t.elapsed();
    std::printf("%d rows: added in %lld ms, shown in %lld ms; %d scroll steps in %lld ms "
                "(worst %.1f ms); sort by 프로그램명 and repaint %lld ms\n",
                view->Model().rowCount(), addMs, showMs, steps + 1, scrollMs, worst, sortMs);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    QApplication::setFont(pictures::DialogFont());
    const QStringList args = QApplication::arguments();
    const QString what = args.value(1, QStringLiteral("scan"));
    if (what == QStringLiteral("scan"))
        return Scan(args.size() > 2 ? args.at(2).toInt() : 200000);
    if (what == QStringLiteral("rows"))
        return Rows(args.size() > 2 ? args.at(2).toInt() : 100000);
    std::fprintf(stderr, "usage: bench_gui scan [FILES] | rows [ROWS]\n");
    return 2;
}
