// The by-PC report of a large audit written to PDF: pages per second, peak
// memory, memory growth while pages are painted, and the page engine's own
// share of the time (layout and drawing on a canvas that paints nothing).
//
//   bench_report [PCS [PROGRAMS [OUT.pdf]]]     defaults: 1000 300 /tmp/ostravion-bench.pdf
#include "platform/posix/PosixPlatform.h"
#include "qt/report/QtPageCanvas.h"
#include "views/ReportLayout.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>

using namespace ostravion;
using Steady = std::chrono::steady_clock;

namespace {

double Seconds(Steady::time_point from) {
    return std::chrono::duration<double>(Steady::now() - from).count();
}

// Resident memory now, in MiB.
double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

// Processor time of this process so far, in seconds: the machine may be
// shared, so wall time alone can mislead.
double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double PeakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// A canvas that takes every call and paints nothing.
class NullCanvas final : public PageCanvas {
public:
    FontRole SelectFont(FontRole role) override {
        const FontRole p = font_;
        font_ = role;
        return p;
    }
    void CentredText(const TwipRect&, std::string_view t) override { bytes += t.size(); }
    void LeftText(const TwipRect&, std::string_view t) override { bytes += t.size(); }
    void TextBlock(const TwipRect&, std::string_view t) override { bytes += t.size(); }
    void WrappedTextBlock(const TwipRect&, std::string_view t) override { bytes += t.size(); }
    void Box(const TwipRect&) override { ++shapes; }
    void Rule(int, int, int, int) override { ++shapes; }
    std::size_t bytes = 0;
    std::size_t shapes = 0;

private:
    FontRole font_ = FontRole::Device;
};

ReportData Audit(const TextCodec& codec, int pcs, int programs) {
    const std::string companies[] = {codec.FromUtf8("한글과컴퓨터"), "Microsoft Corporation",
                                     codec.FromUtf8("안랩"), "Adobe Systems Incorporated",
                                     codec.FromUtf8("이스트소프트")};
    const std::string names[] = {codec.FromUtf8("한컴오피스 한글"), "Microsoft Office Excel",
                                 "V3 Lite", "Adobe Acrobat Reader DC", codec.FromUtf8("알집")};
    const std::string folder = codec.FromUtf8("C:\\Program Files\\프로그램\\");
    const std::string team = codec.FromUtf8("기획팀-PC");
    ReportData d;
    d.history.lines.reserve(static_cast<std::size_t>(pcs) * programs);
    for (int pc = 0; pc < pcs; ++pc) {
        const std::string computer = team + std::to_string(pc);
        for (int i = 0; i < programs; ++i)
            d.history.lines.push_back({computer, companies[i % 5],
                                       names[i % 5] + " " + std::to_string(i),
                                       folder + std::to_string(i) + "\\", "A"});
        d.history.perPcCounts.push_back(programs);
    }
    return d;
}

} // namespace

int main(int argc, char** argv) {
    const int pcs = argc > 1 ? std::stoi(argv[1]) : 1000;
    const int programs = argc > 2 ? std::stoi(argv[2]) : 300;
    const QString out = QString::fromLocal8Bit(argc > 3 ? argv[3] : "/tmp/ostravion-bench.pdf");

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "bench_report";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    posix::IconvCodec codec;

    const double baseMiB = ResidentMiB();
    ReportData data = Audit(codec, pcs, programs);
    const double dataMiB = ResidentMiB() - baseMiB;

    // The engine alone: layout, then every page drawn on a canvas that paints nothing.
    auto t0 = Steady::now();
    double c0 = CpuSeconds();
    const ReportLayout layout(ReportKind::ByPc, std::move(data));
    const double layoutSeconds = Seconds(t0);
    NullCanvas nothing;
    t0 = Steady::now();
    for (int p = 1; p <= layout.PageCount(); ++p)
        layout.DrawPage(nothing, p);
    const double drawSeconds = Seconds(t0);
    const double engineSeconds = layoutSeconds + drawSeconds;
    const double engineCpu = CpuSeconds() - c0;

    // The whole: every page painted into a PDF, memory sampled as pages go.
    t0 = Steady::now();
    c0 = CpuSeconds();
    double residentAtTenth = 0;
    {
        QPdfWriter writer(out);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
        QPainter painter(&writer);
        qtreport::QtPageCanvas canvas(painter, codec);
        const int tenth = std::max(1, layout.PageCount() / 10);
        for (int p = 1; p <= layout.PageCount(); ++p) {
            if (p > 1)
                writer.newPage();
            canvas.StartPage();
            layout.DrawPage(canvas, p);
            if (p == tenth)
                residentAtTenth = ResidentMiB();
        }
        painter.end();
    }
    const double pdfSeconds = Seconds(t0);
    const double pdfCpu = CpuSeconds() - c0;
    const double residentAtEnd = ResidentMiB();

    std::printf("by-PC report: %d PCs x %d programs = %zu lines, %d pages\n", pcs, programs,
                layout.LineTypes().size(), layout.PageCount());
    std::printf("engine output: %zu text bytes, %zu shapes\n", nothing.bytes, nothing.shapes);
    std::printf("loaded data:            %8.1f MiB resident\n", dataMiB);
    std::printf("engine layout:          %8.1f ms\n", 1000 * layoutSeconds);
    std::printf("engine drawing (null):  %8.1f ms  (%.0f pages/s)\n", 1000 * drawSeconds,
                layout.PageCount() / drawSeconds);
    std::printf("PDF, whole:             %8.2f s wall, %.2f s processor  (%.0f pages/s wall)\n",
                pdfSeconds, pdfCpu, layout.PageCount() / pdfSeconds);
    std::printf("engine share:           %8.2f %% of wall, %.2f %% of processor time\n",
                100.0 * engineSeconds / pdfSeconds, 100.0 * engineCpu / pdfCpu);
    std::printf("resident at 10%% pages:  %8.1f MiB, at the end %.1f MiB (growth %.1f MiB)\n",
                residentAtTenth, residentAtEnd, residentAtEnd - residentAtTenth);
    std::printf("peak resident:          %8.1f MiB\n", PeakMiB());
    return 0;
}
