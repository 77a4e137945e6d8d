#include "qt/InfoBoxes.h"

#include "qt/CCommandBar.h"
#include "qt/CSplashWnd.h"
#include "qt/Pictures.h"

#include <QLabel>
#include <QPushButton>

namespace ostravion::gui {

namespace {

const char16_t* const kOrgLines[8] = {
    u"Velmora는 소프트웨어 저작권 보호 단체입니다.",
    u"정품 소프트웨어 사용 문화를 널리 알립니다.",
    u"기관과 기업의 소프트웨어 자산관리를 돕습니다.",
    u"정품 사용 실태 점검과 상담을 지원합니다.",
    u"불법복제 예방 교육과 홍보를 펼칩니다.",
    u"자산관리 지침과 점검 도구를 보급합니다.",
    u"국내외 관련 단체와 함께 일합니다.",
    u"Ostravion은 무료로 배포되는 점검 프로그램입니다.",
};
const char16_t* const kPhone = u"대표전화: 02-000-0000";
const char16_t* const kRights = u"Copyright (C) Velmora. All rights reserved.";

// A control of a dialog template, placed in dialog units.
void PlaceDlu(QWidget* w, int x, int y, int cx, int cy) {
    w->setGeometry(DluX(x), DluY(y), DluX(cx), DluY(cy));
}

QPushButton* MakeOk(QDialog* dlg, int x, int y) {
    auto* ok = new QPushButton(QStringLiteral("확인"), dlg);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    PlaceDlu(ok, x, y, 50, 14);
    QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
    return ok;
}

} // namespace

QString COrgInfoDlg::BuildText() {
    const QString crlf = QStringLiteral("\r\n");
    QString t;
    for (const char16_t* line : kOrgLines)
        t += QStringLiteral("   ") + QString::fromUtf16(line) + crlf + crlf;
    t += crlf + crlf;
    t += QString(11, QLatin1Char(' ')) + QStringLiteral("홈페이지: ") + kHomePage + crlf;
    t += QString(11, QLatin1Char(' ')) + QString::fromUtf16(kPhone) + crlf + crlf;
    return t;
}

COrgInfoDlg::COrgInfoDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog100"));
    setWindowTitle(QStringLiteral("Velmora 정보"));
    setFont(pictures::DialogFont());
    setFixedSize(DluX(259), DluY(281));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(pictures::AppIconImage(32)));
    icon->setGeometry(DluX(11), DluY(17), 32, 32);

    auto* version = new QLabel(QStringLiteral("Ostravion 버전 3.1"), this);
    PlaceDlu(version, 51, 21, 119, 8);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("static1084"));
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

    auto* rights = new QLabel(QString::fromUtf16(kRights), this);
    PlaceDlu(rights, 30, 239, 219, 10);

    MakeOk(this, 106, 257)->setFocus();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dialog146"));
    setWindowTitle(QStringLiteral("Ostravion V3.1 정보"));
    setFont(pictures::DialogFont());
    setFixedSize(DluX(305), DluY(302));

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("static1129"));
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceDlu(picture_, 7, 7, 291, 263);
    // Read afresh at every opening; the control takes the picture's size.
    image_ = LoadPictureFile(kSplashFile);
    if (!image_.isNull()) {
        picture_->setPixmap(QPixmap::fromImage(image_));
        picture_->resize(image_.size());
    }
    MakeOk(this, 127, 281)->setFocus();
}

} // namespace ostravion::gui
