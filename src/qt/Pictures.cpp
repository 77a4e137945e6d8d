#include "qt/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <map>

namespace ostravion::gui::pictures {

namespace {

enum class Face { Up, Pressed, Disabled };

struct ButtonLook {
    int up, pressed, disabled;
    const char16_t* caption;
    QColor accent;
};

// Command-bar buttons by their up picture: caption and accent colour.
const ButtonLook kButtons[] = {
    {BMP_START_UP, BMP_START_PRESSED, BMP_START_DISABLED, u"검사시작", QColor(0x1d, 0x6f, 0xd0)},
    {BMP_STOP_UP, BMP_STOP_PRESSED, BMP_STOP_DISABLED, u"검사중지", QColor(0xc8, 0x2a, 0x2a)},
    {BMP_CONSOLIDATE_UP, BMP_CONSOLIDATE_PRESSED, BMP_CONSOLIDATE_DISABLED, u"검사취합",
     QColor(0x1f, 0x8a, 0x4c)},
    {BMP_WRITE_UP, BMP_WRITE_PRESSED, BMP_WRITE_DISABLED, u"결과작성", QColor(0xb8, 0x6a, 0x12)},
    {BMP_PRINT_UP, BMP_PRINT_PRESSED, BMP_PRINT_DISABLED, u"인쇄", QColor(0x4a, 0x4f, 0x8c)},
};

const QColor kTileTop(0xf2, 0xf6, 0xfc);
const QColor kTileBottom(0xc4, 0xd4, 0xea);
const QColor kNavy(0x1c, 0x33, 0x5e);

QImage Blank(int w, int h, QColor fill = Qt::transparent) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void PaintTileBackground(QPainter& p, int w, int h) {
    QLinearGradient g(0, 0, 0, kTileHeight);
    g.setColorAt(0, kTileTop);
    g.setColorAt(1, kTileBottom);
    p.fillRect(0, 0, w, h, g);
}

// The symbol of each button, drawn in a 28 x 28 box at the origin.
void PaintSymbol(QPainter& p, int up, QColor ink, QColor fill) {
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (up) {
    case BMP_START_UP: { // a magnifier over a play mark
        p.setPen(pen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(3, 2, 16, 16));
        p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 16), QPointF(25, 24));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPolygonF tri;
        tri << QPointF(8.5, 6) << QPointF(15, 10) << QPointF(8.5, 14);
        p.drawPolygon(tri);
        break;
    }
    case BMP_STOP_UP: { // a stop sign
        p.setPen(pen);
        p.setBrush(fill);
        QPolygonF oct;
        for (int i = 0; i < 8; ++i) {
            const double a = (22.5 + 45.0 * i) * 3.14159265 / 180.0;
            oct << QPointF(14 + 12 * std::cos(a), 14 + 12 * std::sin(a));
        }
        p.drawPolygon(oct);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(9, 9, 10, 10), 1.5, 1.5);
        break;
    }
    case BMP_CONSOLIDATE_UP: { // three sheets gathered into one
        p.setPen(QPen(ink, 1.6));
        p.setBrush(fill);
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(1 + i * 4, 1 + i * 3, 11, 13));
        p.setPen(pen);
        p.drawLine(QPointF(14, 19), QPointF(22, 19));
        p.drawLine(QPointF(19, 15.5), QPointF(22.5, 19));
        p.drawLine(QPointF(19, 22.5), QPointF(22.5, 19));
        p.setPen(QPen(ink, 1.6));
        p.drawRect(QRectF(20, 12, 7, 14));
        break;
    }
    case BMP_WRITE_UP: { // a sheet and a pencil
        p.setPen(QPen(ink, 1.6));
        p.setBrush(fill);
        p.drawRect(QRectF(3, 2, 16, 22));
        for (int y = 7; y <= 17; y += 5)
            p.drawLine(QPointF(6, y), QPointF(15, y));
        p.setPen(QPen(ink, 1.2));
        p.setBrush(ink);
        QPolygonF pencil;
        pencil << QPointF(25, 6) << QPointF(28, 9) << QPointF(15, 22) << QPointF(11, 24)
               << QPointF(12, 19);
        p.drawPolygon(pencil);
        break;
    }
    case BMP_PRINT_UP: { // a printer
        p.setPen(QPen(ink, 1.6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 1, 14, 9));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(2, 9, 24, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 16, 14, 10));
        p.drawLine(QPointF(10, 20), QPointF(18, 20));
        p.drawLine(QPointF(10, 23), QPointF(18, 23));
        break;
    }
    default:
        break;
    }
}

QImage DrawButton(const ButtonLook& look, Face face) {
    QImage img = Blank(kButtonWidth, kButtonHeight);
    QPainter p(&img);
    PaintTileBackground(p, kButtonWidth, kButtonHeight);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int shift = face == Face::Pressed ? 1 : 0;
    QRectF body(3.5 + shift, 2.5 + shift, 58, 55);

    QLinearGradient g(body.topLeft(), body.bottomLeft());
    QColor border, ink, fill, text;
    switch (face) {
    case Face::Up:
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xd9, 0xe5, 0xf5));
        border = QColor(0x7d, 0x97, 0xc2);
        ink = look.accent;
        fill = look.accent.lighter(185);
        text = kNavy;
        break;
    case Face::Pressed:
        g.setColorAt(0, QColor(0xb9, 0xcd, 0xea));
        g.setColorAt(1, QColor(0xe6, 0xee, 0xf9));
        border = QColor(0x4a, 0x68, 0x9c);
        ink = look.accent.darker(120);
        fill = look.accent.lighter(160);
        text = kNavy.darker(130);
        break;
    case Face::Disabled:
        g.setColorAt(0, QColor(0xf4, 0xf4, 0xf4));
        g.setColorAt(1, QColor(0xdc, 0xdc, 0xdc));
        border = QColor(0xb4, 0xb4, 0xb4);
        ink = QColor(0xa8, 0xa8, 0xa8);
        fill = QColor(0xe8, 0xe8, 0xe8);
        text = QColor(0x9c, 0x9c, 0x9c);
        break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(body, 6, 6);
    if (face == Face::Pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 50), 1));
        p.drawLine(body.topLeft() + QPointF(4, 1), body.topRight() + QPointF(-4, 1));
    }

    p.save();
    p.translate(18 + shift, 6 + shift);
    PaintSymbol(p, look.up, ink, fill);
    p.restore();

    p.setFont(PictureFont(12, true));
    p.setPen(text);
    p.drawText(QRectF(shift, 36 + shift, kButtonWidth, 18), Qt::AlignCenter,
               QString::fromUtf16(look.caption));
    return img;
}

QImage DrawTile() {
    QImage img = Blank(kTileWidth, kTileHeight);
    QPainter p(&img);
    PaintTileBackground(p, kTileWidth, kTileHeight);
    // A faint highlight line at the top edge gives the bar its raised look.
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawLine(0, 0, kTileWidth - 1, 0);
    return img;
}

void PaintEmblem(QPainter& p, QRectF box, QColor outer, QColor inner) {
    QRadialGradient g(box.center() - QPointF(box.width() / 6, box.height() / 6), box.width());
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(box);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = box.center();
    const double r = box.width() / 2;
    QPainterPath v;
    v.moveTo(c.x() - r * 0.45, c.y() - r * 0.4);
    v.lineTo(c.x(), c.y() + r * 0.45);
    v.lineTo(c.x() + r * 0.45, c.y() - r * 0.4);
    p.setBrush(Qt::NoBrush);
    p.drawPath(v);
}

QImage DrawLogo(bool a) {
    QImage img = Blank(kLogoWidth, kLogoHeight);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, kLogoHeight);
    if (a) {
        g.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
        g.setColorAt(1, QColor(0x12, 0x30, 0x5c));
    } else {
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xe3, 0xec, 0xf8));
    }
    p.setPen(QPen(a ? QColor(0x0c, 0x22, 0x44) : QColor(0x86, 0x9f, 0xc6), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, kLogoWidth - 1, kLogoHeight - 1), 6, 6);
    PaintEmblem(p, QRectF(8, 7, 38, 38), a ? QColor(0xe0, 0x7b, 0x12) : QColor(0x1d, 0x4f, 0x9e),
                a ? QColor(0xff, 0xc8, 0x6a) : QColor(0x6a, 0xa6, 0xf0));
    const QColor title = a ? Qt::white : kNavy;
    const QColor sub = a ? QColor(0xcf, 0xdf, 0xf5) : QColor(0x45, 0x5f, 0x8a);
    p.setPen(title);
    if (a) {
        p.setFont(PictureFont(17, true));
        p.drawText(QRectF(54, 5, 170, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("정품 소프트웨어"));
        p.setPen(sub);
        p.setFont(PictureFont(11, false));
        p.drawText(QRectF(54, 28, 170, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("바르게 쓰는 문화를 함께"));
    } else {
        p.setFont(PictureFont(20, true));
        p.drawText(QRectF(54, 3, 170, 26), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Velmora"));
        p.setPen(sub);
        p.setFont(PictureFont(11, false));
        p.drawText(QRectF(54, 28, 170, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("소프트웨어 자산관리 협회"));
    }
    return img;
}

QImage DrawSplash() {
    QImage img = Blank(kSplashWidth, kSplashHeight);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, kSplashWidth, kSplashHeight);
    g.setColorAt(0, QColor(0x0f, 0x2c, 0x5a));
    g.setColorAt(0.6, QColor(0x1d, 0x55, 0x96));
    g.setColorAt(1, QColor(0x2a, 0x86, 0xa8));
    p.fillRect(img.rect(), g);

    // Faint rings behind the title.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 18 + 4 * i), 14));
        p.drawEllipse(QPointF(410, 110), 60.0 + 38 * i, 60.0 + 38 * i);
    }
    // The magnifier over a screen.
    p.save();
    p.translate(330, 50);
    p.setPen(QPen(QColor(0xe6, 0xf1, 0xff), 5));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(10, 10, 110, 78), 8, 8);
    p.drawLine(QPointF(65, 88), QPointF(65, 104));
    p.drawLine(QPointF(40, 106), QPointF(90, 106));
    p.setPen(QPen(QColor(0xff, 0xc8, 0x6a), 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QPointF(78, 52), 26, 26);
    p.drawLine(QPointF(97, 71), QPointF(124, 98));
    p.restore();

    p.setPen(Qt::white);
    p.setFont(PictureFont(54, true));
    p.drawText(QRectF(36, 150, 440, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ostravion"));
    p.setFont(PictureFont(22, true));
    p.setPen(QColor(0xff, 0xc8, 0x6a));
    p.drawText(QRectF(40, 218, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("V3.1"));
    p.setPen(Qt::white);
    p.setFont(PictureFont(20, true));
    p.drawText(QRectF(40, 254, 440, 32), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("소프트웨어 사용 실태 점검 프로그램"));
    p.setFont(PictureFont(13, false));
    p.setPen(QColor(0xcf, 0xdf, 0xf5));
    p.drawText(QRectF(40, 288, 440, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("PC에 설치된 프로그램을 찾아 정품 여부를 점검합니다."));

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(36, 338), QPointF(464, 338));
    PaintEmblem(p, QRectF(36, 348, 36, 36), QColor(0xe0, 0x7b, 0x12), QColor(0xff, 0xc8, 0x6a));
    p.setPen(Qt::white);
    p.setFont(PictureFont(16, true));
    p.drawText(QRectF(82, 346, 200, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Velmora"));
    p.setFont(PictureFont(11, false));
    p.setPen(QColor(0xcf, 0xdf, 0xf5));
    p.drawText(QRectF(82, 366, 400, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("소프트웨어 자산관리 협회  ·  Copyright © Velmora"));
    return img;
}

QImage DrawIcon(int size) {
    QImage img = Blank(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient g(0, 2, 0, 22);
    g.setColorAt(0, QColor(0x6a, 0xa6, 0xf0));
    g.setColorAt(1, QColor(0x1d, 0x4f, 0x9e));
    p.setPen(QPen(kNavy, 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 3, 24, 18), 2, 2);
    p.setBrush(QColor(0x9a, 0xa8, 0xbe));
    p.drawRect(QRectF(10, 21, 8, 3));
    p.drawRect(QRectF(6, 24, 16, 2.5));
    p.setPen(QPen(QColor(0xe0, 0x7b, 0x12), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(19, 16), 6.5, 6.5);
    p.drawLine(QPointF(24, 21), QPointF(29.5, 27.5));
    return img;
}

QImage DrawCursor() {
    // A pointing hand; the tip of the index finger is the hot spot (9, 1).
    QImage img = Blank(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.moveTo(7, 3);
    hand.cubicTo(7, 0.5, 11, 0.5, 11, 3);
    hand.lineTo(11, 11);
    hand.cubicTo(11, 9.5, 14.5, 9.5, 14.5, 11.5);
    hand.cubicTo(14.5, 10, 18, 10, 18, 12.5);
    hand.cubicTo(18, 11, 21.5, 11, 21.5, 13.5);
    hand.lineTo(21.5, 20);
    hand.cubicTo(21.5, 24, 19.5, 26, 18.5, 27);
    hand.lineTo(9.5, 27);
    hand.cubicTo(8, 25, 3, 19, 2, 17);
    hand.cubicTo(1, 15, 3.5, 13, 5, 15);
    hand.lineTo(7, 17.5);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.8));
    p.drawLine(QPointF(11, 11.5), QPointF(11, 16));
    p.drawLine(QPointF(14.5, 12), QPointF(14.5, 16));
    p.drawLine(QPointF(18, 13), QPointF(18, 16.5));
    return img;
}

} // namespace

QFont PictureFont(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("NanumGothic"), QStringLiteral("나눔고딕"),
                   QStringLiteral("Malgun Gothic"), QStringLiteral("Gulim")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont DialogFont() {
    QFont f;
    f.setFamilies({QStringLiteral("굴림"), QStringLiteral("Gulim"), QStringLiteral("NanumGothic"),
                   QStringLiteral("나눔고딕")});
    f.setPointSize(9);
    return f;
}

QImage LoadBitmap(int resource) {
    static std::map<int, QImage> cache;
    const auto it = cache.find(resource);
    if (it != cache.end())
        return it->second;
    QImage img;
    if (resource == BMP_TILE)
        img = DrawTile();
    else if (resource == BMP_LOGO_A)
        img = DrawLogo(true);
    else if (resource == BMP_LOGO_B)
        img = DrawLogo(false);
    else
        for (const ButtonLook& look : kButtons) {
            if (resource == look.up)
                img = DrawButton(look, Face::Up);
            else if (resource == look.pressed)
                img = DrawButton(look, Face::Pressed);
            else if (resource == look.disabled)
                img = DrawButton(look, Face::Disabled);
        }
    // The screens use these as opaque 256-colour style pictures.
    if (!img.isNull())
        img = img.convertToFormat(QImage::Format_RGB32);
    cache[resource] = img;
    return img;
}

QImage LinkCursorImage() {
    return DrawCursor();
}

QCursor LinkCursor() {
    return QCursor(QPixmap::fromImage(DrawCursor()), 9, 1);
}

QImage AppIconImage(int size) {
    return DrawIcon(size);
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(DrawIcon(size)));
    return icon;
}

QImage SplashPicture() {
    return DrawSplash().convertToFormat(QImage::Format_RGB32);
}

} // namespace ostravion::gui::pictures
