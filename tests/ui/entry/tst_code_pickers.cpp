// The Box 12 and occupation code lists as a user answers them: keys, clicks and
// double-clicks on the rows, what each pick hands back to the field that opened the list.
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "ui/base/error_sound.h"
#include "ui/base/window_ports.h"
#include "ui/entry/code_pickers.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

QTreeWidget* ListOf(QDialog& window) {
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("IRSCodesListBox"));
    return list ? list : window.findChild<QTreeWidget*>(QStringLiteral("TTOCodesListBox"));
}

// Double-clicks the row whose first column reads text.
void DoubleClickRow(QDialog& window, const QString& text) {
    QTreeWidget* list = ListOf(window);
    QVERIFY(list);
    const QList<QTreeWidgetItem*> found = list->findItems(text, Qt::MatchExactly, 0);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->scrollToItem(found.front());
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class TestCodePickers : public QObject {
    Q_OBJECT

private:
    int sounds_ = 0;
    // The window the pickers open from; its ports count the error sounds.
    WindowPorts ports_{{}, {}, [this] { ++sounds_; }};
    QWidget owner_;

private slots:
    void initTestCase() { UsePorts(owner_, ports_); }
    void init() { sounds_ = 0; }

    void okRightAfterOpeningPicksTheFirstRow_data() {
        QTest::addColumn<bool>("occupation");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("picked");
        QTest::newRow("Box 12, Enter") << false << true << "A";
        QTest::newRow("Box 12, Ok clicked") << false << false << "A";
        QTest::newRow("occupation, Enter") << true << true << "000";
        QTest::newRow("occupation, Ok clicked") << true << false << "000";
    }
    void okRightAfterOpeningPicksTheFirstRow() {
        QFETCH(bool, occupation);
        QFETCH(bool, byEnter);
        QFETCH(QString, picked);
        ModalScript script(ports_);
        script.Then([&](QDialog& window) {
            QTreeWidget* list = ListOf(window);
            QVERIFY(list && list->hasFocus());
            if (byEnter) QTest::keyClick(list, Qt::Key_Return);
            else Click(window, "BtnOk");
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(occupation ? PickOccupationCode(&owner_) : PickBox12Code(&owner_), picked);
        QCOMPARE(script.Opened(), QStringList{occupation ? "Treasury Tipped Occupation Box 14b Codes "
                                                         : "IRS Box 12 Codes "});
        QCOMPARE(sounds_, 0);
    }

    void doubleClickingARowPicksItsCode() {
        ModalScript script(ports_);
        script.Then([](QDialog& window) { DoubleClickRow(window, "II"); });
        QCOMPARE(PickBox12Code(&owner_), QStringLiteral("II"));
        script.Then([](QDialog& window) {
            // Moving by keys and pressing Enter picks the row moved to.
            QTest::keyClick(ListOf(window), Qt::Key_End);
            QTest::keyClick(ListOf(window), Qt::Key_Return);
        });
        QCOMPARE(PickBox12Code(&owner_), QStringLiteral("TT"));
    }

    void cancelHandsBackNothingWhateverWasSelected() {
        ModalScript script(ports_);
        script.Then([](QDialog& window) {
            QTest::keyClick(ListOf(window), Qt::Key_Down);
            QTest::keyClick(ListOf(window), Qt::Key_Down);
            Click(window, "BtnCancel");
            QVERIFY(!window.isVisible());
            QCOMPARE(static_cast<TCodeListWindow&>(window).Selected, -1);
        });
        QCOMPARE(PickBox12Code(&owner_), QString());
    }

    void escapeAndTheMissingCloseBoxLeaveOnlyOkAndCancel() {
        ModalScript script(ports_);
        script.Then([](QDialog& window) {
            QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
            QTest::keyClick(ListOf(window), Qt::Key_Escape);
            QVERIFY(window.isVisible());
            QTest::keyClick(ListOf(window), Qt::Key_Down);
            QTest::keyClick(ListOf(window), Qt::Key_Return);
        });
        QCOMPARE(PickOccupationCode(&owner_), QString());  // row 1 is a heading: still open, cancelled at the end
        QCOMPARE(sounds_, 1);
    }

    void aHeadingRowIsRefusedWithTheErrorSoundAndTheListStaysOpen() {
        ModalScript script(ports_);
        script.Then([this](QDialog& window) {
            DoubleClickRow(window, "HOME SERVICES:");
            QVERIFY(window.isVisible());
            QCOMPARE(sounds_, 1);
            Click(window, "BtnOk");  // the heading is still selected
            QVERIFY(window.isVisible());
            QCOMPARE(sounds_, 2);
            DoubleClickRow(window, "404");
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(PickOccupationCode(&owner_), QStringLiteral("404"));
    }

    void theOccupationButtonsAreSkippedByTabAndExplainThemselves() {
        ModalScript script(ports_);
        script.Then([](QDialog& window) {
            QTreeWidget* list = ListOf(window);
            QTest::keyClick(list, Qt::Key_Tab);
            QVERIFY(list->hasFocus());
            auto* ok = window.findChild<QPushButton*>(QStringLiteral("BtnOk"));
            auto* cancel = window.findChild<QPushButton*>(QStringLiteral("BtnCancel"));
            QVERIFY(ok && cancel);
            QCOMPARE(ok->toolTip(), QStringLiteral("Paste the selected code"));
            QCOMPARE(cancel->toolTip(), QStringLiteral("Cancel the selected code"));
            QCOMPARE(list->accessibleName(), QStringLiteral("Treasury Tipped Occupation Box 14b Codes"));
            QCOMPARE(list->topLevelItemCount(), 77);
            Click(window, "BtnCancel");
        });
        QCOMPARE(PickOccupationCode(&owner_), QString());
    }
};

QNVR_TEST_MAIN(TestCodePickers)
#include "tst_code_pickers.moc"
