// Writes the splash picture "vxa.spl" (a BMP file) into a folder; with
// --icons, also the program's icon as "ostravion-16.png" ... "ostravion-256.png"
// (the pictures the Windows icon file and the desktop entry are made from); with
// --all, also every other picture of the program as PNG files for a look; with
// --windows, the pictures as the Windows program's resources take them (its
// bitmaps and the link cursor).
#include "qt/Pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<char>& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

void Put32(std::vector<char>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One image of an icon or cursor file: a 32-bit device-independent bitmap of
// twice the height (colour, then an empty AND mask), bottom row first.
std::vector<char> IconImage(const QImage& source) {
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int maskRow = ((w + 31) / 32) * 4;
    std::vector<char> out;
    Put32(out, 40);
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(2 * h));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, std::uint32_t(w * h * 4 + maskRow * h));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.push_back(char(qBlue(line[x])));
            out.push_back(char(qGreen(line[x])));
            out.push_back(char(qRed(line[x])));
            out.push_back(char(qAlpha(line[x])));
        }
    }
    out.insert(out.end(), std::size_t(maskRow * h), 0);
    return out;
}

// An icon file (type 1) or a cursor file (type 2, with its hot spot).
bool WriteIconFile(const QString& path, const std::vector<QImage>& images, int type, int hotX = 0,
                   int hotY = 0) {
    std::vector<char> out;
    Put16(out, 0);
    Put16(out, unsigned(type));
    Put16(out, unsigned(images.size()));
    std::vector<std::vector<char>> bodies;
    for (const QImage& img : images)
        bodies.push_back(IconImage(img));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(char(images[i].width() >= 256 ? 0 : images[i].width()));
        out.push_back(char(images[i].height() >= 256 ? 0 : images[i].height()));
        out.push_back(0);
        out.push_back(0);
        Put16(out, type == 2 ? unsigned(hotX) : 1);
        Put16(out, type == 2 ? unsigned(hotY) : 32);
        Put32(out, std::uint32_t(bodies[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const auto& b : bodies)
        out.insert(out.end(), b.begin(), b.end());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) &&
           f.write(out.data(), qint64(out.size())) == qint64(out.size());
}

// The 65 x 60 button faces and the tile have 256 colours; the logos keep theirs.
bool WriteWindowsPictures(const QDir& out) {
    using namespace ostravion::gui::pictures;
    bool ok = true;
    for (int id = 160; id < 215; ++id) {
        QImage img = LoadBitmap(id);
        if (img.isNull())
            continue;
        if (id != BMP_LOGO_A && id != BMP_LOGO_B)
            img = img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        else
            img = img.convertToFormat(QImage::Format_RGB888);
        ok = img.save(out.filePath(QStringLiteral("bitmap-%1.bmp").arg(id)), "BMP") && ok;
    }
    ok = WriteIconFile(out.filePath(QStringLiteral("cursor-213.cur")), {LinkCursorImage()}, 2, 9,
                       1) &&
         ok;
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: ostravion-pictures FOLDER [--icons] [--all] [--windows]\n");
        return 2;
    }
    using namespace ostravion::gui::pictures;
    const QDir out(args.at(1));
    if (!SplashPicture().save(out.filePath(QStringLiteral("vxa.spl")), "BMP")) {
        std::fprintf(stderr, "ostravion-pictures: cannot write vxa.spl\n");
        return 1;
    }
    if (args.contains(QStringLiteral("--windows")) && !WriteWindowsPictures(out)) {
        std::fprintf(stderr, "ostravion-pictures: cannot write the Windows pictures\n");
        return 1;
    }
    if (args.contains(QStringLiteral("--icons"))) {
        for (int size : {16, 32, 48, 256}) {
            const QString name = QStringLiteral("ostravion-%1.png").arg(size);
            if (!AppIconImage(size).save(out.filePath(name), "PNG")) {
                std::fprintf(stderr, "ostravion-pictures: cannot write %s\n", qPrintable(name));
                return 1;
            }
        }
    }
    if (args.contains(QStringLiteral("--all"))) {
        for (int id = 160; id < 215; ++id) {
            const QImage img = LoadBitmap(id);
            if (!img.isNull())
                img.save(out.filePath(QStringLiteral("bitmap-%1.png").arg(id)));
        }
        LinkCursorImage().save(out.filePath(QStringLiteral("cursor-213.png")));
        SplashPicture().save(out.filePath(QStringLiteral("splash.png")));
        // One sheet with every picture at twice its size.
        QImage sheet(2 * (5 * 70 + 240), 2 * 300, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        p.scale(2, 2);
        const int rows[4][5] = {{162, 189, 163, 184, 166},
                                {199, 198, 203, 200, 206},
                                {197, 196, 190, 191, 194},
                                {195, 0, 0, 0, 0}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                if (rows[r][c])
                    p.drawImage(QPoint(c * 70, r * 64), LoadBitmap(rows[r][c]));
        p.drawImage(QPoint(360, 0), LoadBitmap(BMP_LOGO_A));
        p.drawImage(QPoint(360, 60), LoadBitmap(BMP_LOGO_B));
        p.drawImage(QPoint(360, 120), LinkCursorImage());
        p.drawImage(QPoint(400, 120), AppIconImage(48));
        p.drawImage(QPoint(460, 120), AppIconImage(16));
        p.end();
        sheet.save(out.filePath(QStringLiteral("sheet.png")));
        AppIconImage(48).save(out.filePath(QStringLiteral("icon-128.png")));
    }
    return 0;
}
