// "결과별 인쇄": which report the print and preview commands produce. Five
// radio buttons of one group in two boxes; "선택" takes the choice and can
// only be pressed once one is made.
#pragma once

#include "ports/Ports.h"
#include "views/PrintSelection.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace ostravion::gui {

class CPrintSelectDlg : public QDialog {
    Q_OBJECT
public:
    // The choice goes into `selection`; the caller stores it once the dialog
    // closed with "선택".
    CPrintSelectDlg(CPrintSelection& selection, const TextCodec& codec, QWidget* parent = nullptr);

    // The radio button of a control id (1072 .. 1075, 1130), or null.
    QRadioButton* Radio(int id) const;
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    // "선택": closes with OK once a report is chosen.
    void OnOk();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The five reports as one stop of the Tab key: the chosen one, or the
    // first while none is.
    void UpdateTabStop();

    CPrintSelection& selection_;
    QButtonGroup* group_;
    QPushButton *ok_, *cancel_;
};

} // namespace ostravion::gui
