// The list views over the result lists: columns and check boxes by layout,
// header clicks, clicks and double clicks, keys.
#include "qt/ResultView.h"
#include "Fakes.h"
#include "qt/AppFixture.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

struct Lists {
    test::TestPlatform platform;
    test::RecordingMessages messages;
    CAuditUtil util{platform.native->Files(), messages};
    COstravionView list{util, nullptr};
    CResultView view{list, platform.Codec()};

    explicit Lists(unsigned char layout) {
        util.SetLayoutFlag(layout);
        list.BuildColumns();
        view.resize(900, 400);
        view.show();
    }
    void Add(const std::string& name, const std::string& company, const std::string& origin = "2",
             const std::string& folder = "C:\\App\\") {
        FoundProgram p;
        p.Origin = origin;
        p.ProgramName = name;
        p.Company = company;
        p.Class.assign(1, '1'); // not = "1": GCC 12 warns of a false overlap there
        p.Folder = folder;
        list.AddFoundProgram(p);
    }
    QString Cell(int row, int column) {
        view.Model().Flush();
        return view.Model().data(view.Model().index(row, column), Qt::DisplayRole).toString();
    }
    QPoint CellCentre(int row, int column) {
        return view.visualRect(view.Model().index(row, column)).center();
    }
};

} // namespace

class ResultViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Dialogs::SetScripted(true);
        Dialogs::Reset();
    }

    void scanLayoutColumnsWithoutCheckBoxes() {
        Lists l(kScanLayout);
        l.Add("Word", "Office");
        QTRY_COMPARE(l.view.Model().rowCount(), 1);
        QStringList captions;
        QList<int> widths;
        for (int c = 0; c < l.view.Model().columnCount(); ++c) {
            captions << l.view.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            widths << l.view.columnWidth(c);
        }
        QCOMPARE(captions, QStringList({QStringLiteral("순번"), QStringLiteral("구분"),
                                        QStringLiteral("저작권사"), QStringLiteral("프로그램명"),
                                        QStringLiteral("버젼정보"), QStringLiteral("만든날짜"),
                                        QStringLiteral("파일경로")}));
        QCOMPARE(widths, QList<int>({60, 40, 150, 200, 100, 100, 300}));
        const QModelIndex first = l.view.Model().index(0, 0);
        QVERIFY(!l.view.Model().data(first, Qt::CheckStateRole).isValid());
        QVERIFY(!(l.view.Model().flags(first) & Qt::ItemIsUserCheckable));
        QCOMPARE(l.Cell(0, 0), QStringLiteral("  1"));
        QVERIFY(l.view.showGrid());
        QCOMPARE(l.view.selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void totalLayoutTicksByOrigin() {
        Lists l(kTotalLayout);
        l.Add("A", "X", "2");
        l.Add("B", "X", "0");
        l.Add("C", "X", "9");
        l.view.Model().Flush();
        QCOMPARE(l.view.Model().columnCount(), 6);
        QCOMPARE(l.view.Model().headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("설치갯수"));
        auto check = [&](int row) {
            return l.view.Model().data(l.view.Model().index(row, 0), Qt::CheckStateRole).toInt();
        };
        QCOMPARE(check(0), int(Qt::Checked));
        QCOMPARE(check(1), int(Qt::Checked));
        QCOMPARE(check(2), int(Qt::Unchecked));
        // A click on the box toggles it through the list's own rules.
        const QRect cell = l.view.visualRect(l.view.Model().index(2, 0));
        QTest::mouseClick(l.view.viewport(), Qt::LeftButton, {},
                          QPoint(cell.left() + 10, cell.center().y()));
        QCOMPARE(l.list.GetCheck(2), 1);
        // A double click in the total layout opens nothing.
        QTest::mouseDClick(l.view.viewport(), Qt::LeftButton, {}, l.CellCentre(0, 3));
        QVERIFY(Dialogs::Log().isEmpty());
    }

    void headerClicksSortWithTheListsOwnRule() {
        Lists l(kScanLayout);
        for (const char* name : {"b", "C", "a"})
            l.Add(name, "X");
        l.view.Model().Flush();
        QHeaderView* header = l.view.horizontalHeader();
        const QPoint program(header->sectionViewportPosition(3) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, program);
        // Case-sensitive byte order, ascending first.
        QCOMPARE((QStringList{l.Cell(0, 3), l.Cell(1, 3), l.Cell(2, 3)}),
                 QStringList({QStringLiteral("C"), QStringLiteral("a"), QStringLiteral("b")}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, program);
        QCOMPARE((QStringList{l.Cell(0, 3), l.Cell(1, 3), l.Cell(2, 3)}),
                 QStringList({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("C")}));
        // Each row keeps its number.
        QCOMPARE(l.Cell(0, 0), QStringLiteral("  1"));
        QCOMPARE(l.list.SortFlag(), 0);
    }

    void emptySlotShowsEmptyCell() {
        Lists l(kScanLayout);
        l.Add("Word", "");
        QCOMPARE(l.Cell(0, 2), QString());
        QCOMPARE(l.list.Stored(0).Company, std::string("-"));
    }

    void doubleClickAsksForTheRowsFolder() {
        Lists l(kScanLayout);
        l.Add("Word", "X", "2", "C:\\Apps\\\xC7\xD1\xB1\xDB\\"); // C:\Apps\한글\ .
        l.view.Model().Flush();
        std::string asked;
        QObject::connect(&l.view, &CResultView::openFolder,
                         [&](const std::string& folder) { asked = folder; });
        QTest::mouseDClick(l.view.viewport(), Qt::LeftButton, {}, l.CellCentre(0, 6));
        QCOMPARE(asked, std::string("C:\\Apps\\\xC7\xD1\xB1\xDB\\"));
        // Enter on the current row asks the same.
        asked.clear();
        l.view.setCurrentIndex(l.view.model()->index(0, 1));
        QTest::keyClick(&l.view, Qt::Key_Return);
        QCOMPARE(asked, std::string("C:\\Apps\\\xC7\xD1\xB1\xDB\\"));
    }

    void spaceTicksTheRowWhicheverCellIsCurrent() {
        Lists l(kTotalLayout);
        l.Add("A", "X", "9");
        l.Add("B", "X", "9");
        l.view.Model().Flush();
        l.view.setFocus();
        // 프로그램명 of the second row current, as a click there leaves it.
        l.view.setCurrentIndex(l.view.Model().index(1, 2));
        QTest::keyClick(&l.view, Qt::Key_Space);
        QCOMPARE(l.list.GetCheck(1), 1);
        QTest::keyClick(&l.view, Qt::Key_Space);
        QCOMPARE(l.list.GetCheck(1), 0);
        QCOMPARE(l.list.GetCheck(0), 0);
    }

    void theListWithTheFocusShowsItsSelection() {
        Lists l(kScanLayout);
        l.Add("A", "X");
        l.view.Model().Flush();
        // Another control of the same window to take the focus.
        QLineEdit other(&l.view);
        other.setGeometry(0, 300, 100, 20);
        other.show();
        l.view.activateWindow();
        l.view.setFocus();
        l.view.selectRow(0);
        const QPoint at = l.CellCentre(0, 3) + QPoint(40, 0);
        const auto colour = [&] { return l.view.viewport()->grab().toImage().pixelColor(at); };
        QTRY_VERIFY(l.view.hasFocus());
        const QColor focused = colour();
        other.setFocus();
        QTRY_VERIFY(!l.view.hasFocus());
        QVERIFY2(colour() != focused, qPrintable(focused.name()));
    }

    void windowKeysAreNoListKeys() {
        Lists l(kScanLayout);
        for (const char* name : {"a", "b", "c"})
            l.Add(name, "X");
        l.view.Model().Flush();
        l.view.setFocus();
        QTest::keyClick(&l.view, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(l.view.selectionModel()->selectedRows().size() < 3);
    }
};

OSTRAVION_APP_TEST(ResultViewTest);
#include "ResultViewTest.moc"
