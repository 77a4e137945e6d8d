// Writes the splash picture "vxa.spl" (a BMP file) into a folder; with
// --icons, also the program's icon as "ostravion-16.png" ... "ostravion-256.png"
// (the pictures the Windows icon file and the desktop entry are made from); with
// --all, also every other picture of the program as PNG files for a look.
#include "qt/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: ostravion-pictures FOLDER [--icons] [--all]\n");
        return 2;
    }
    using namespace ostravion::gui::pictures;
    const QDir out(args.at(1));
    if (!SplashPicture().save(out.filePath(QStringLiteral("vxa.spl")), "BMP")) {
        std::fprintf(stderr, "ostravion-pictures: cannot write vxa.spl\n");
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
