#include "qt/CCommandBar.h"

#include "desktop/CommandStates.h"
#include "qt/Dialogs.h"
#include "qt/Pictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

namespace ostravion::gui {

using namespace pictures;

CBitmapButton::CBitmapButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapButton::LoadBitmaps(int up, int pressed, int focused, int disabled) {
    const int ids[4] = {up, pressed, focused, disabled};
    for (int i = 0; i < 4; ++i) {
        ids_[i] = ids[i];
        pictures_[i] = LoadBitmap(ids[i]);
    }
    update();
}

CBitmapButton::Face CBitmapButton::CurrentFace() const {
    if (isDown())
        return Pressed;
    if (hasFocus())
        return Focused;
    if (!isEnabled())
        return Disabled;
    return Up;
}

int CBitmapButton::CurrentBitmap() const {
    const Face f = CurrentFace();
    return pictures_[f].isNull() ? ids_[Up] : ids_[f];
}

QSize CBitmapButton::sizeHint() const {
    return QSize(kButtonWidth, kButtonHeight);
}

void CBitmapButton::paintEvent(QPaintEvent*) {
    const Face f = CurrentFace();
    const QImage& img = pictures_[f].isNull() ? pictures_[Up] : pictures_[f];
    if (img.isNull())
        return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), img);
}

namespace {
struct ButtonSpec {
    int id;
    const char16_t* caption;
    int x, width; // template position and width, dialog units
    int up, pressed, disabled;
    bool enabled;
};

const ButtonSpec kButtonSpecs[] = {
    {IDC_START, u"검사시작", 0, 37, BMP_START_UP, BMP_START_PRESSED, BMP_START_DISABLED, true},
    {IDC_STOP, u"검사중지", 36, 37, BMP_STOP_UP, BMP_STOP_PRESSED, BMP_STOP_DISABLED, false},
    {IDC_CONSOLIDATE, u"검사취합", 72, 38, BMP_CONSOLIDATE_UP, BMP_CONSOLIDATE_PRESSED,
     BMP_CONSOLIDATE_DISABLED, true},
    {IDC_WRITE_RESULT, u"결과작성", 109, 37, BMP_WRITE_UP, BMP_WRITE_PRESSED, BMP_WRITE_DISABLED,
     false},
    {IDC_PRINT, u"인쇄", 145, 39, BMP_PRINT_UP, BMP_PRINT_PRESSED, BMP_PRINT_DISABLED, false},
};
} // namespace

CCommandBar::CCommandBar(QWidget* parent) : QWidget(parent), shownLogo_(BMP_LOGO_B) {
    setObjectName(QStringLiteral("commandBar"));
    setFont(DialogFont());
    setMouseTracking(true);
    // The template: 463 x 41 dialog units.
    setMinimumHeight(DluY(41));
    setFixedHeight(DluY(41));
    setMinimumWidth(DluX(184) + 2);

    for (const ButtonSpec& s : kButtonSpecs) {
        auto* b = new CBitmapButton(this);
        b->setObjectName(QStringLiteral("button%1").arg(s.id));
        b->setText(QString::fromUtf16(s.caption));
        b->setAccessibleName(b->text());
        // The focused picture is the up picture.
        b->LoadBitmaps(s.up, s.pressed, s.up, s.disabled);
        b->setGeometry(DluX(s.x), 0, kButtonWidth, kButtonHeight);
        b->setEnabled(s.enabled);
        connect(b, &QAbstractButton::clicked, this, [this, id = s.id] { emit command(id); });
        buttons_[s.id] = b;
    }
    // Alt and the key choose them, as 보기's items do.
    const std::pair<int, const char16_t*> radios[] = {{IDC_NORMAL, u"일반(&N)"},
                                                      {IDC_EXTENDED, u"확장(&E)"}};
    for (const auto& [id, caption] : radios) {
        auto* r = new QRadioButton(QString::fromUtf16(caption), this);
        r->setObjectName(QStringLiteral("radio%1").arg(id));
        r->setAutoFillBackground(false);
        r->setAttribute(Qt::WA_TranslucentBackground);
        r->setFocusPolicy(Qt::StrongFocus);
        connect(r, &QAbstractButton::clicked, this, [this, id = id] { emit command(id); });
        radios_[id] = r;
    }

    logoA_ = LoadBitmap(BMP_LOGO_A);
    logoB_ = LoadBitmap(BMP_LOGO_B);
    tile_ = LoadBitmap(BMP_TILE);
    linkCursor_ = LinkCursor();
    timer_.setInterval(2000);
    connect(&timer_, &QTimer::timeout, this, &CCommandBar::TimerTick);
    timer_.start();
    PlaceRadios();
}

CBitmapButton* CCommandBar::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QRadioButton* CCommandBar::Radio(int id) const {
    const auto it = radios_.find(id);
    return it == radios_.end() ? nullptr : it->second;
}

desktop::CommandBarPlaces CCommandBar::Places() const {
    int buttonsRight = 0;
    for (const auto& [id, b] : buttons_)
        buttonsRight = std::max(buttonsRight, b->geometry().x() + b->geometry().width());
    return desktop::PlaceCommandBar(width(), height(), buttonsRight);
}

bool CCommandBar::InLinkArea(QPoint p) const {
    // No link while the logo gives way to the buttons.
    if (!Places().logoShown)
        return false;
    const int right = width(); // the client rectangle's right edge, exclusive
    const int top = 0;
    return right - 230 < p.x() && p.x() < right - 2 && top + 4 < p.y() && p.y() < top + 55;
}

QPoint CCommandBar::LogoPosition() const {
    const desktop::PixelBox logo = Places().logo;
    return QPoint(logo.left, logo.top);
}

void CCommandBar::TimerTick() {
    // The first tick after start draws A, the next B, and so on.
    if (nextIsB_) {
        shownLogo_ = BMP_LOGO_B;
        nextIsB_ = false;
    } else {
        shownLogo_ = BMP_LOGO_A;
        nextIsB_ = true;
    }
    update(QRect(LogoPosition(), QSize(kLogoWidth, kLogoHeight)));
}

void CCommandBar::PlaceRadios() {
    // Left of the logo at their distance from the right end, or after the
    // last button where that distance would put them over one.
    const desktop::CommandBarPlaces places = Places();
    const auto place = [](QRadioButton* r, const desktop::PixelBox& b) {
        if (r)
            r->setGeometry(b.left, b.top, b.Width(), b.bottom - b.top);
    };
    place(Radio(IDC_NORMAL), places.normal);
    place(Radio(IDC_EXTENDED), places.extended);
}

void CCommandBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = tile_.width(), h = tile_.height();
    if (w > 0 && h > 0) {
        for (int i = 0; i <= width() / w; ++i)
            for (int j = 0; j <= height() / h; ++j)
                p.drawImage(QPoint(1 + i * w, j * h), tile_);
    }
    const QImage& logo = shownLogo_ == BMP_LOGO_A ? logoA_ : logoB_;
    if (!logo.isNull() && Places().logoShown)
        p.drawImage(LogoPosition(), logo);
}

void CCommandBar::resizeEvent(QResizeEvent* e) {
    // A new size repaints the whole background, which shows picture B again
    // until the next tick; the radio buttons stay anchored to the right end.
    shownLogo_ = BMP_LOGO_B;
    PlaceRadios();
    QWidget::resizeEvent(e);
}

void CCommandBar::mouseMoveEvent(QMouseEvent* e) {
    if (InLinkArea(e->position().toPoint()))
        setCursor(linkCursor_);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(e);
}

void CCommandBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && InLinkArea(e->position().toPoint()))
        Dialogs::Shell(QStringLiteral("open"), kHomePage);
    QWidget::mousePressEvent(e);
}

} // namespace ostravion::gui
