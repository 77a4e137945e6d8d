// The command bar: a child dialog from template 103 hosted in a rebar band.
// Five owner-drawn picture buttons (up, pressed, focused and disabled
// pictures), the two layout radio buttons kept left of the logo, a tiled
// background, and the logo at the right end that alternates between two
// pictures every two seconds and opens the home page when clicked. Button
// and radio clicks go to the main window as WM_COMMAND.
#pragma once

#include "desktop/ScreenRules.h"

#include <windows.h>

#include <map>
#include <string>

namespace ostravion::win {

class CommandBar {
public:
    ~CommandBar();
    // `frame` gets the commands.
    bool Create(HWND frame, HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    SIZE TemplateSize() const { return size_; }

    // The picture a button shows now: up, pressed, focused or disabled.
    int PictureShown(int id) const;
    // Where the radio buttons and the logo go at the bar's width now.
    desktop::CommandBarPlaces Places() const;
    // Whether a point of the bar's client area lies in the logo's link area
    // (none while the logo gives way to the buttons).
    bool InLinkArea(POINT p) const;
    // The logo the next timer tick draws: true for picture B.
    bool NextLogoIsB() const { return nextIsB_; }
    void TimerTick();

private:
    struct Pictures {
        int up, pressed, focused, disabled;
    };
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
    void EraseBackground(HDC dc);
    void DrawLogo(HDC dc, HBITMAP logo);
    void PlaceRadios();
    void DrawButton(const DRAWITEMSTRUCT& item);
    HBITMAP Bitmap(int id);

    HWND hwnd_ = nullptr;
    HWND frame_ = nullptr;
    HINSTANCE instance_ = nullptr;
    SIZE size_{};
    std::map<int, HBITMAP> bitmaps_;
    std::map<int, bool> pressed_;
    bool nextIsB_ = false;
};

} // namespace ostravion::win
