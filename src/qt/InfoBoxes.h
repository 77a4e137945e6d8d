// The two information boxes of the help menu: the organisation's box with its
// fixed text, and the product box with the picture "vxa.spl".
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace ostravion::gui {

class COrgInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit COrgInfoDlg(QWidget* parent = nullptr);
    // The box's text: eight indented lines, each followed by an empty line,
    // one more empty line, then the home-page and telephone lines.
    static QString BuildText();
    QLabel* TextArea() const { return text_; }

private:
    QLabel* text_;
};

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    QLabel* PictureControl() const { return picture_; }
    const QImage& Picture() const { return image_; }

private:
    QLabel* picture_;
    QImage image_;
};

} // namespace ostravion::gui
