// The command bar across the top of the main window: five picture buttons,
// the two layout radio buttons, a tiled background and the organisation's
// logo, which alternates every two seconds and opens the home page.
#pragma once

#include "desktop/ResourceTable.h"
#include "desktop/ScreenRules.h"

#include <QAbstractButton>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <map>

class QRadioButton;

namespace ostravion::gui {

// The organisation's home page, opened from the logo and the information box.
inline const QString kHomePage = QString::fromLatin1(kHomePageAddress);

// Dialog units of the bar's template in pixels (9-point dialog font).
inline int DluX(int x) {
    return (x * 9 + 2) / 5; // 1.8 pixels per unit
}
inline int DluY(int y) {
    return (y * 20 + 6) / 13; // about 1.54 pixels per unit
}

// A button drawn from up to four pictures: pressed, focused, disabled, up.
class CBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Face { Up, Pressed, Focused, Disabled };
    explicit CBitmapButton(QWidget* parent = nullptr);
    // Bitmap resource numbers; a picture that cannot be loaded stays empty.
    void LoadBitmaps(int up, int pressed, int focused, int disabled);
    // The picture the button shows now.
    Face CurrentFace() const;
    // The resource number drawn for the current face (the up picture stands
    // in for an empty one).
    int CurrentBitmap() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int ids_[4] = {0, 0, 0, 0};
    QImage pictures_[4];
};

class CCommandBar : public QWidget {
    Q_OBJECT
public:
    explicit CCommandBar(QWidget* parent = nullptr);

    CBitmapButton* Button(int id) const;
    QRadioButton* Radio(int id) const;

    // Where the radio buttons and the logo go at the bar's width now.
    desktop::CommandBarPlaces Places() const;
    // The link area in client coordinates (none while the logo gives way): right − 230 < x < right
    // − 2 and top + 4 < y < top + 55.
    bool InLinkArea(QPoint p) const;
    QPoint LogoPosition() const;
    // The logo drawn now: 204 (A) or 211 (B).
    int ShownLogo() const { return shownLogo_; }
    // The logo timer's tick: draws A or B in turn.
    void TimerTick();
    QTimer& LogoTimer() { return timer_; }

signals:
    // A button or radio button was clicked.
    void command(int id);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void PlaceRadios();

    std::map<int, CBitmapButton*> buttons_;
    std::map<int, QRadioButton*> radios_;
    QImage logoA_, logoB_, tile_;
    QCursor linkCursor_;
    QTimer timer_;
    bool nextIsB_ = false; // which picture the next tick draws
    int shownLogo_;
};

} // namespace ostravion::gui
