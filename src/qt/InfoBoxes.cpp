#include "qt/InfoBoxes.h"

#include "qt/report/QtText.h"

#include "desktop/ResourceTable.h"
#include "platform/Native.h"
#include "qt/CCommandBar.h"
#include "qt/CSplashWnd.h"
#include "qt/Pictures.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

namespace ostravion::gui {

namespace {

// The texts are the core's (CP949); the codec of this machine shows them.
QString Qs(const char* cp949) {
    static const std::unique_ptr<NativePlatform> platform = MakeNativePlatform();
    return ToQt(platform->Codec(), cp949);
}

// A control of a dialog template, placed in dialog units.
void PlaceDlu(QWidget* w, int x, int y, int cx, int cy) {
    w->setGeometry(DluX(x), DluY(y), DluX(cx), DluY(cy));
}

QPushButton* MakeOk(QDialog* dlg, int x, int y) {
    auto* ok = new QPushButton(Qs(TXT_CONFIRM), dlg);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    PlaceDlu(ok, x, y, 50, 14);
    QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
    return ok;
}

} // namespace

QString COrgInfoDlg::BuildText() {
    return Qs(OrgInfoText().c_str());
}

COrgInfoDlg::COrgInfoDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog100"));
    setWindowTitle(Qs(TXT_ORG_CAPTION));
    setFont(pictures::DialogFont());
    setFixedSize(DluX(259), DluY(281));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(pictures::AppIconImage(32)));
    icon->setGeometry(DluX(11), DluY(17), 32, 32);

    auto* version = new QLabel(Qs(TXT_ORG_VERSION), this);
    PlaceDlu(version, 51, 21, 119, 8);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("static%1").arg(IDC_ORG_TEXT));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    // The text is kept with CR LF line ends; the label breaks at LF.
    text_->setText(BuildText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    PlaceDlu(text_, 19, 49, 219, 179);
    // The area is sized for the system's 9-point font; a font with a taller
    // line is made a little smaller until the whole text fits.
    QFont f = text_->font();
    while (text_->heightForWidth(text_->width()) > text_->height() && f.pointSizeF() > 7.0) {
        f.setPointSizeF(f.pointSizeF() - 0.5);
        text_->setFont(f);
    }

    auto* rights = new QLabel(Qs(TXT_ORG_RIGHTS), this);
    PlaceDlu(rights, 30, 239, 219, 10);

    MakeOk(this, 106, 257)->setFocus();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog146"));
    setWindowTitle(Qs(TXT_ABOUT_CAPTION));
    setFont(pictures::DialogFont());
    setFixedSize(DluX(305), DluY(302));

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("static%1").arg(IDC_ABOUT_PICTURE));
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceDlu(picture_, 7, 7, 291, 263);
    // Read afresh at every opening and drawn at the control's size, so that
    // no empty band is left under a smaller picture.
    image_ = LoadPictureFile(kSplashFile);
    if (!image_.isNull())
        picture_->setPixmap(QPixmap::fromImage(
            image_.scaled(picture_->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    MakeOk(this, 127, 281)->setFocus();
}

} // namespace ostravion::gui
