#include "platform/posix/PosixPlatform.h"
#include "qt/report/QtPageCanvas.h"
#include "views/ReportLayout.h"

#include <QDir>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextLayout>
#include <cstdio>
#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::qtreport;

namespace {

posix::IconvCodec codec;

// The output of a command, and its exit status.
std::string Shell(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    const int rc = pclose(p);
    if (status)
        *status = rc;
    return out;
}

// A small audit: Korean companies and names, as CP949.
ReportData Audit() {
    ReportData d;
    const std::string company = codec.FromUtf8("한글과컴퓨터");
    const std::string program = codec.FromUtf8("한글 워드프로세서");
    for (int pc = 0; pc < 3; ++pc)
        for (int i = 0; i < 12; ++i) {
            d.history.lines.push_back({codec.FromUtf8("사무실-PC") + std::to_string(pc), company,
                                       program + " " + std::to_string(i),
                                       "C:\\Program Files\\Hnc\\", "A"});
        }
    d.history.perPcCounts = {12, 12, 12};
    for (int i = 0; i < 30; ++i)
        d.rows.push_back({"A", company, "10", "2", program + " " + std::to_string(i), "4", "6"});
    d.admin = {"-", "-", codec.FromUtf8("정보화팀"), codec.FromUtf8("홍길동"), "3", "-"};
    return d;
}

} // namespace

TEST(QtCanvas, EveryReportFontDrawsHangulFromAnInstalledKoreanFace) {
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    QtPageCanvas canvas(painter, codec);
    for (int r = 1; r <= kReportFontCount; ++r) {
        const QFont& font = canvas.Font(static_cast<FontRole>(r));
        QTextLayout layout(QStringLiteral(u"가나 PC 12"), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        bool hangulFace = false;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (quint32 g : run.glyphIndexes())
                EXPECT_NE(g, 0u) << "missing glyph in role " << r;
            if (run.rawFont().familyName().startsWith(QStringLiteral("Nanum")))
                hangulFace = true;
        }
        EXPECT_TRUE(hangulFace) << "role " << r << " " << font.families().join(',').toStdString();
    }
    EXPECT_EQ(FamiliesForFace(QStringLiteral(u"굴림체")).first(),
              QStringLiteral("NanumGothicCoding"));
    EXPECT_EQ(FamiliesForFace(QStringLiteral(u"바탕체")).first(), QStringLiteral("NanumMyeongjo"));
}

TEST(QtCanvas, TwipsMapToDeviceUnitsWithTextUpright) {
    QImage image(400, 400, QImage::Format_RGB32);
    image.setDotsPerMeterX(5669); // 144 dpi
    image.setDotsPerMeterY(5669);
    image.fill(Qt::gray);
    QPainter painter(&image);
    QtPageCanvas canvas(painter, codec);
    canvas.StartPage();
    EXPECT_NEAR(canvas.ScaleX(), 0.1, 0.001);
    EXPECT_EQ(canvas.Map({1440, -1440, 2880, -2880}), QRectF(144, 144, 144, 144));
    EXPECT_GT(painter.transform().m22(), 0); // never a flipped window
    canvas.Box({1440, -1440, 2880, -2880});
    canvas.Rule(0, -3600, 2880, -3600);
    painter.end();
    EXPECT_EQ(image.pixel(216, 216), qRgb(255, 255, 255));    // filled white
    EXPECT_EQ(qGray(image.pixel(144, 216)), 0);               // its outline
    EXPECT_EQ(qGray(image.pixel(100, 360)), 0);               // the rule at y = -3600
    EXPECT_EQ(image.pixel(100, 300), QColor(Qt::gray).rgb()); // untouched elsewhere
}

TEST(QtCanvas, CellHeightFontsGetTheirCellOnTheDevice) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.setDotsPerMeterX(47244); // 1200 dpi
    image.setDotsPerMeterY(47244);
    QPainter painter(&image);
    QtPageCanvas canvas(painter, codec);
    const QFontMetricsF pledge(canvas.Font(FontRole::Pledge), &image);
    EXPECT_NEAR(pledge.height() / canvas.ScaleY(), 300, 15); // ascent + descent, in twips
    const QFontMetricsF title(canvas.Font(FontRole::Title), &image);
    EXPECT_NEAR(canvas.Font(FontRole::Title).pointSizeF(), 20.0, 0.01);
    EXPECT_TRUE(canvas.Font(FontRole::Title).bold());
    EXPECT_GT(title.height(), 0);
}

TEST(QtCanvas, EveryKindWritesAPdfThatRendersWithAnEmbeddedKoreanFont) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (ReportKind kind : {ReportKind::ByPc, ReportKind::BySoftware, ReportKind::ConfirmationSheet,
                            ReportKind::Pledge, ReportKind::Ledger}) {
        const int k = static_cast<int>(kind);
        SCOPED_TRACE(k);
        const ReportLayout layout(kind, Audit());
        const QString pdf = dir.filePath(QStringLiteral("kind%1.pdf").arg(k));
        QString error;
        ASSERT_TRUE(WriteReportPdf(layout, codec, pdf, &error)) << error.toStdString();
        const std::string path = pdf.toStdString();

        const std::string info = Shell("pdfinfo '" + path + "'");
        const std::size_t pages = info.find("Pages:");
        ASSERT_NE(pages, std::string::npos) << info;
        EXPECT_EQ(std::stoi(info.substr(pages + 6)), layout.PageCount());
        const std::string fonts = Shell("pdffonts '" + path + "'");
        bool embeddedNanum = false;
        std::size_t at = 0;
        while ((at = fonts.find("Nanum", at)) != std::string::npos) {
            const std::size_t eol = fonts.find('\n', at);
            if (fonts.substr(at, eol - at).find(" yes ") != std::string::npos)
                embeddedNanum = true;
            at = eol;
        }
        EXPECT_TRUE(embeddedNanum) << fonts;

        int status = -1;
        const std::string prefix = dir.filePath(QStringLiteral("kind%1").arg(k)).toStdString();
        Shell("pdftoppm -r 30 -png '" + path + "' '" + prefix + "' 2>&1", &status);
        EXPECT_EQ(status, 0);
        QDir d(dir.path());
        EXPECT_EQ(d.entryList({QStringLiteral("kind%1-*.png").arg(k)}).size(), layout.PageCount());
    }
}

TEST(QtCanvas, AFailedPdfWriteLeavesNoFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/sub/out.pdf"));
    QString error;
    EXPECT_FALSE(WriteReportPdf(ReportLayout(ReportKind::Ledger), codec, path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
