// The date field and its calendar as a user types and clicks.
#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/base/clock.h"
#include "core/base/scripted_prompter.h"
#include "entry/field_window.h"
#include "ui/entry/calendar.h"
#include "ui/entry/date_edit.h"
#include "ui/entry/field_color.h"

using namespace qnvr;
using namespace qnvr::testing;
using namespace std::chrono;

namespace {
const FixedClock kClock{2026y / March / 18};  // a Wednesday
const QString kEmpty = QStringLiteral("  /  /    ");

QString Title(QDialog& calendar) { return calendar.findChild<QLabel*>(QStringLiteral("Title"))->text(); }
QWidget* Grid(QDialog& calendar) {
    return calendar.findChild<QCalendarWidget*>(QStringLiteral("Calendar"))->findChild<QTableView*>();
}
}  // namespace

class TestDateField : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<FieldWindow> window_;
    TDateEdit* date_ = nullptr;
    QLineEdit* after_ = nullptr;

    // Tabs into the field showing text.
    void EnterWith(const QString& text) {
        date_->SetText(text);
        window_->TabIntoFirst();
        QVERIFY(date_->hasFocus());
    }

private slots:
    void initTestCase() { TDateEdit::SetClock(&kClock); }
    void cleanupTestCase() { TDateEdit::SetClock(nullptr); }
    void init() {
        prompter_ = std::make_unique<ScriptedPrompter>();
        window_ = std::make_unique<FieldWindow>(*prompter_);
        date_ = window_->Add(new TDateEdit, "W3Date", "Date");
        after_ = window_->Add(new QLineEdit, "After", "After");
        QVERIFY(window_->Open());
    }
    void cleanup() {
        window_.reset();
        prompter_.reset();
    }

    void shortcuts_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("last of the month, then of the next") << "01/31/2026" << "h" << "02/28/2026";
        QTest::newRow("H twice") << "01/31/2026" << "HH" << "03/31/2026";
        QTest::newRow("first of the month before") << "03/01/2026" << "m" << "02/01/2026";
        QTest::newRow("January 1 of the year before") << "01/01/2026" << "y" << "01/01/2025";
        QTest::newRow("December 31, twice") << "06/15/2026" << "rR" << "12/31/2027";
        QTest::newRow("Sunday a week before") << "03/08/2026" << "w" << "03/01/2026";
        QTest::newRow("Saturday a week later") << "03/07/2026" << "K" << "03/14/2026";
        QTest::newRow("next and previous day") << "12/31/2026" << "++-" << "01/01/2027";
        QTest::newRow("today") << "07/04/1999" << "t" << "03/18/2026";
        QTest::newRow("empty field starts from today") << kEmpty << "+" << "03/19/2026";
        QTest::newRow("empty field, Sunday before today") << kEmpty << "W" << "03/15/2026";
        QTest::newRow("half typed: shortcut goes to the mask") << "03/1" << "+h" << "03/1 /    ";
        QTest::newRow("digits fill the mask") << kEmpty << "0704x2026" << "07/04/2026";
    }
    void shortcuts() {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        EnterWith(start);
        if (start != kEmpty && start.size() < 10) date_->setCursorPosition(start.size());
        else date_->home(false);
        QTest::keyClicks(date_, keys);
        QCOMPARE(date_->Text(), shown);
        QVERIFY(prompter_->Messages().empty());
    }

    void typingOverTheSelectedDateReplacesIt() {
        EnterWith(QStringLiteral("03/07/2026"));
        QCOMPARE(date_->selectedText(), QStringLiteral("03/07/2026"));
        QTest::keyClicks(date_, "07042025");
        QCOMPARE(date_->Text(), QStringLiteral("07/04/2025"));
        QVERIFY(prompter_->Messages().empty());
    }

    void anInvalidDateIsToldOnTheTenthCharacterAndOnLeaving() {
        EnterWith(kEmpty);
        date_->home(false);
        QTest::keyClicks(date_, "0230202");
        QVERIFY(prompter_->Messages().empty());
        QTest::keyClicks(date_, "6");
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"02/30/2026 is not a valid date."});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
        PressTab();
        QVERIFY(date_->hasFocus());
        QCOMPARE(prompter_->Texts().size(), std::size_t{2});
        QCOMPARE(prompter_->Texts()[1], "02/30/2026 is not a valid date.");
        // Corrected, the field lets the user go.
        date_->home(false);
        QTest::keyClicks(date_, "0228");
        PressTab();
        QVERIFY(after_->hasFocus());
        QCOMPARE(date_->Text(), QStringLiteral("02/28/2026"));
    }

    void aHalfTypedDateIsRefusedOnLeavingAndAnEmptyOneAccepted() {
        EnterWith(kEmpty);
        date_->home(false);
        QTest::keyClicks(date_, "0315");
        PressTab();
        QVERIFY(date_->hasFocus());
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"03/15/     is not a valid date."});
        date_->selectAll();
        QTest::keyClick(date_, Qt::Key_Delete);
        QCOMPARE(date_->Text(), kEmpty);
        PressTab();
        QVERIFY(after_->hasFocus());
    }

    void theCalendarPastesTheShownDate() {
        const QColor plain = FieldColor(date_);
        QString title, caption;
        QColor whileOpen;
        WhenModalOpens(window_.get(), [&](QDialog& calendar) {
            caption = calendar.windowTitle();
            whileOpen = FieldColor(date_);
            title = Title(calendar);
            QTest::keyClick(Grid(calendar), Qt::Key_PageDown);  // 01/31 -> 02/28
            QTest::keyClick(Grid(calendar), Qt::Key_PageUp, Qt::AltModifier);  // a year back
            QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("BtnNext")), Qt::LeftButton);
            title += " | " + Title(calendar);
            QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("BtnPasteDate")), Qt::LeftButton);
        });
        EnterWith(QStringLiteral("01/31/2026"));
        QTest::keyClick(date_, Qt::Key_C);
        QCOMPARE(caption, QStringLiteral("CALENDAR"));
        QCOMPARE(title, QStringLiteral("January, 2026 | March, 2025"));
        QCOMPARE(whileOpen, QColor(255, 255, 0));
        QCOMPARE(date_->Text(), QStringLiteral("03/28/2025"));
        QCOMPARE(FieldColor(date_), plain);
        QCOMPARE(window_->focusWidget(), date_);  // the window gives the focus back to the field
    }

    void cancellingTheCalendarChangesNothingAndAnEmptyFieldShowsToday() {
        QString title;
        WhenModalOpens(window_.get(), [&](QDialog& calendar) {
            title = Title(calendar);
            QTest::keyClick(Grid(calendar), Qt::Key_N, Qt::AltModifier);  // as the hint promises
            title += " | " + Title(calendar);
            QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("BtnCancel")), Qt::LeftButton);
        });
        EnterWith(kEmpty);
        QTest::mouseDClick(date_, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("March, 2026 | April, 2026"));
        QCOMPARE(date_->Text(), kEmpty);
    }

    void aDoubleClickOnADayPastesIt() {
        WhenModalOpens(window_.get(), [&](QDialog& calendar) {
            QWidget* grid = Grid(calendar);
            QTest::keyClick(grid, Qt::Key_Right);  // the next day
            QTest::keyClick(grid, Qt::Key_Return);  // as a double-click on it
        });
        EnterWith(QStringLiteral("12/31/2026"));
        QTest::keyClick(date_, Qt::Key_C, Qt::ShiftModifier);
        QCOMPARE(date_->Text(), QStringLiteral("01/01/2027"));
    }

    void calendarMonthsKeepTheDayWhereTheyCan() {
        TFrmCalendar calendar(QDate(2024, 1, 31));
        calendar.MoveMonths(1);
        QCOMPARE(calendar.DateText(), QStringLiteral("02/29/2024"));
        calendar.MoveMonths(12);
        QCOMPARE(calendar.DateText(), QStringLiteral("02/28/2025"));
        TFrmCalendar last(QDate(9999, 12, 31));
        last.MoveMonths(1);  // no year 10000
        QCOMPARE(last.DateText(), QStringLiteral("12/31/9999"));
    }

    void readOnlyDatesIgnoreShortcutsAndTheCalendar() {
        date_->SetText(QStringLiteral("03/07/2026"));
        date_->setReadOnly(true);
        bool calendarOpened = false;
        WhenModalOpens(window_.get(), [&](QDialog&) { calendarOpened = true; });
        window_->TabIntoFirst();
        QTest::keyClicks(date_, "+tc");
        QTest::mouseDClick(date_, Qt::LeftButton);
        QCOMPARE(date_->Text(), QStringLiteral("03/07/2026"));
        QVERIFY(!calendarOpened);
    }
};

QTEST_MAIN(TestDateField)
#include "tst_date_field.moc"
