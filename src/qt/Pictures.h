// The program's pictures: button faces, the command bar's tile and logos, the
// link pointer, the icon and the splash picture. They are drawn here with
// QPainter, at start-up, in the sizes the screens are laid out for; the
// splash picture is also written to the file "vxa.spl" by a build step.
#pragma once

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>

namespace ostravion::gui::pictures {

// Bitmap resource numbers.
enum Bitmap : int {
    BMP_START_UP = 162,
    BMP_CONSOLIDATE_UP = 163,
    BMP_PRINT_UP = 166,
    BMP_WRITE_UP = 184,
    BMP_STOP_UP = 189,
    BMP_CONSOLIDATE_DISABLED = 190,
    BMP_WRITE_DISABLED = 191,
    BMP_PRINT_DISABLED = 194,
    BMP_TILE = 195,
    BMP_STOP_DISABLED = 196,
    BMP_START_DISABLED = 197,
    BMP_STOP_PRESSED = 198,
    BMP_START_PRESSED = 199,
    BMP_WRITE_PRESSED = 200,
    BMP_CONSOLIDATE_PRESSED = 203,
    BMP_LOGO_A = 204,
    BMP_PRINT_PRESSED = 206,
    BMP_LOGO_B = 211,
};

inline constexpr int kButtonWidth = 65, kButtonHeight = 60;
inline constexpr int kTileWidth = 4, kTileHeight = 60;
inline constexpr int kLogoWidth = 228, kLogoHeight = 52;
inline constexpr int kSplashWidth = 500, kSplashHeight = 400;

// The picture of a bitmap resource number; a null image for an unknown number.
QImage LoadBitmap(int resource);
// Cursor resource 213: the pointer over the logo link.
QCursor LinkCursor();
QImage LinkCursorImage();
// Icon resource 128.
QIcon AppIcon();
QImage AppIconImage(int size);
// The content of "vxa.spl".
QImage SplashPicture();

// The 9-point dialog font of the screens ("굴림", or a Korean font in its place).
QFont DialogFont();
// The Korean font the pictures are drawn with, at a pixel size.
QFont PictureFont(int pixelSize, bool bold);

} // namespace ostravion::gui::pictures
