// What every dialog of the Windows program does alike: texts between its
// controls and the core's CP949, its place on the screen, pixel sizes at the
// system's DPI, and edit fields limited in CP949 bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>

namespace ostravion::win {

// A control's text as CP949, and back.
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& cp949);

// Typed texts checked before they become CP949: false, after the message
// naming the first character without a CP949 form by its code point, with the
// focus on its control, when one cannot be kept.
bool ItemsFit(HWND dialog, std::initializer_list<int> ids);

// Centres the dialog over its owner when the owner is shown, else on the
// screen, and keeps it inside the work area of its monitor.
void PlaceDialog(HWND dialog);

// Pixels given for 96 dots per inch, at the system's DPI.
int ScalePixels(int pixels);

// Edit fields whose text may take at most so many bytes in CP949: a change
// that would go beyond is undone, the caret where the typing began.
class ByteLimits {
public:
    void Limit(HWND dialog, int id, std::size_t bytes);
    // EN_CHANGE of a control: true when it is one of the limited ones.
    bool OnChange(HWND dialog, int id);

private:
    struct Field {
        std::size_t bytes;
        std::wstring good; // the last text within the limit
    };
    std::map<int, Field> fields_;
    bool restoring_ = false;
};

// The bitmap of a picture file that the system's picture loader reads (a
// BMP, JPEG or GIF, whatever its name), read whole; null when there is none.
// The caller deletes it.
HBITMAP LoadPictureFile(const wchar_t* path, SIZE* size);

// "vxa.spl" in the current folder: the splash window's and the product
// box's picture.
inline constexpr const wchar_t* kSplashFile = L"vxa.spl";

} // namespace ostravion::win
