// The W-2 entry window as a user works in it: typing into the boxes, the amounts it fills
// in, moving between employees with the navigator's buttons and Alt keys, refused moves,
// the employee list, closing, and the review count.
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <fstream>

#include "core/base/scripted_prompter.h"
#include "core/store/data_module.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "support/record_compare.h"
#include "support/test_printing.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_color.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/frm_rec_list.h"
#include "ui/entry/frm_w2.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/rs_navigator.h"
#include "ui/entry/state_edit.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

// An employee who passes every rule.
W2Record Employee(const std::string& ssn, const std::string& first, const std::string& last, double wages) {
    W2Record w2;
    w2.Boxa = ssn;
    w2.Boxe1 = first;
    w2.Boxe3 = last;
    w2.Boxf_a = "1 Main St";
    w2.Boxf_b = "Albany";
    w2.Boxf_c = "NY";
    w2.Boxf_d = "12207";
    w2.Amount1 = wages;
    return w2;
}

// In an open code list, double-clicks the row whose code is code; "" presses Cancel.
void PickFromList(QDialog& list, const QString& code) {
    if (code.isEmpty()) {
        QTest::mouseClick(list.findChild<QPushButton*>(QStringLiteral("BtnCancel")), Qt::LeftButton);
        return;
    }
    auto* rows = list.findChild<QTreeWidget*>();
    QVERIFY(rows);
    const QList<QTreeWidgetItem*> found = rows->findItems(code, Qt::MatchExactly, 0);
    QCOMPARE(found.size(), 1);
    rows->scrollToItem(found.front());
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(found.front()).center());
}

// The position of a scroll bar at the moment a field receives the focus.
class ScrollWhenFocused : public QObject {
public:
    ScrollWhenFocused(QWidget* field, QScrollBar* scroll) : scroll_(scroll) { field->installEventFilter(this); }
    int value = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && value < 0) value = scroll_->value();
        return false;
    }

private:
    QScrollBar* scroll_;
};

}  // namespace

class TestW2Window : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<ModalScript> modals_;
    std::unique_ptr<TFrmDataModule> dm_;
    std::unique_ptr<TestPrinting> printing_;
    std::unique_ptr<TFrmW2> window_;

    template <class Field = QWidget>
    Field* F(const char* name) {
        auto* field = window_->findChild<Field*>(QString::fromLatin1(name));
        if (!field) qFatal("no field %s", name);
        return field;
    }
    QToolButton* Nav(TNavigateBtn button) { return window_->RSNavigator->Button(button); }
    QString Shown(const char* name) { return F<QLineEdit>(name)->text(); }
    // The window's focused control, with the window active again as after a modal window
    // closed on a desktop.
    QWidget* Focused() {
        if (QApplication::activeWindow() != window_.get() || !QApplication::focusWidget()) {
            QApplication::setActiveWindow(window_.get());
            if (!QTest::qWaitForWindowActive(window_.get())) qWarning("the W-2 window did not become active");
        }
        return QApplication::focusWidget();
    }
    void AltKey(Qt::Key key) { QTest::keyClick(Focused(), key, Qt::AltModifier); }
    void PressTab() { QTest::keyClick(Focused(), Qt::Key_Tab); }
    // The focus arrives in the field as by Tab, and the keys are typed over its text.
    void TypeInto(const char* name, const QString& keys) {
        QLineEdit* field = F<QLineEdit>(name);
        Focused();
        field->setFocus(Qt::TabFocusReason);
        QVERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, keys);
    }
    std::vector<std::string> Messages() const { return prompter_->Texts(); }

    // A payer file in New York whose employees are these records, in this order.
    void MakePayerFile(const std::vector<W2Record>& employees) {
        dm_->OpenPayerFile(dir_->filePath(QStringLiteral("ACME.W226")).toStdString());
        QVERIFY(dm_->PayerFileOpen());
        dm_->EditW3Rec([&](W3Record& w3) {
            w3.Boxe = "12-3456789";
            w3.Boxf_a = "ACME TOOLS";
            w3.Boxg_a = "9 Mill Rd";
            w3.Boxg_csz = "Troy NY 12180";
            w3.Box15 = "NY";
            w3.StateID = "987654";
        });
        dm_->RSW3().PostRec();
        for (std::size_t i = 0; i < employees.size(); ++i) {
            if (i > 0) dm_->RSW2().NewRec();
            dm_->EditW2Rec(employees[i]);
            dm_->RSW2().PostRec();
        }
        dm_->RSW2().FirstRec();
    }
    void OpenWindow() {
        printing_ = std::make_unique<TestPrinting>(*dm_, dir_->path());
        window_ = std::make_unique<TFrmW2>(*dm_, printing_->Printing);
        UsePorts(*window_, *ports_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    // What the file holds for a record, read through a second look at the store.
    W2Record Stored(int record) {
        const int current = dm_->RSW2().CurrentRecord();
        const W2Record shown = dm_->W2Rec();
        dm_->RSW2().SetCurrentRecord(record);
        dm_->RSW2().GetRec();
        const W2Record stored = dm_->W2Rec();
        dm_->RSW2().SetCurrentRecord(current);
        dm_->EditW2Rec(shown);
        return stored;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        modals_ = std::make_unique<ModalScript>(*ports_);
        dm_ = std::make_unique<TFrmDataModule>(*ports_);
    }
    void cleanup() {
        if (window_) window_->hide();  // without the close step: the test is over
        window_.reset();
        printing_.reset();
        QCOMPARE(modals_->Unexpected(), QStringList());
        dm_.reset();
        modals_.reset();
        prompter_.reset();
        dir_.reset();
    }

    // Opening an employee and closing the window keeps every field of the record as it
    // was: each field is shown by the window and read back into the record.
    void closingKeepsEveryFieldOfTheRecord() {
        W2Record w2 = Employee("219-09-9999", "Ann", "Smith-Jones", 1234.56);
        w2.Boxd = "CTL-7";
        w2.Boxe2 = "Q";
        w2.Suffix = "JR";
        w2.Boxf_d = "12207-1234";
        const double amounts[] = {1234.56, 100.01, 1200.56, 74.43, 1234.56, 17.9, 34, 5.5, 0, 7.77, 8.88};
        double* boxes[] = {&w2.Amount1, &w2.Amount2, &w2.Amount3, &w2.Amount4, &w2.Amount5, &w2.Amount6,
                           &w2.Amount7, &w2.Amount8, &w2.Amount9, &w2.Amount10, &w2.Amount11};
        for (std::size_t k = 0; k < std::size(boxes); ++k) *boxes[k] = amounts[k];
        w2.Amount9 = 3.25;  // the reserved box has no field and stays as it is
        const char* const codes[] = {"D", "E", "TP", "W", "AA", "DD", "C", "J", "K", "L", "Y", "Z"};
        for (int pair = 0; pair < 12; ++pair) {
            w2.Box12Code[pair] = codes[pair];
            w2.Box12Amt[pair] = 1000 + pair + 0.25;
        }
        w2.Box13a = w2.Box13c = true;
        w2.Box14Desc_a = "UNION";
        w2.Box14Amt_a = 12.34;
        w2.Box14Desc_b = "SDI";
        w2.Box14Amt_b = 56.78;
        w2.Box14Desc_c = "HEALTH";
        w2.Box14Amt_c = 90.12;
        w2.Box14bTTOC = "101";
        w2.Box14bTTOC2 = "202";
        w2.Box15a = "NY";
        w2.StateID_a = "123456789012";
        w2.Box16a = 1234.56;
        w2.Box17a = 50.05;
        w2.Box18a = 1000;
        w2.Box19a = 10.1;
        w2.Box20a = "ALBANY";
        w2.Box15b = "CA";
        w2.StateID_b = "999";
        w2.Box16b = 100;
        w2.Box17b = 1;
        w2.Box18b = 200;
        w2.Box19b = 2;
        w2.Box20b = "LA";
        w2.Boxf_csz = "Albany NY 12207-1234";
        MakePayerFile({w2});
        OpenWindow();
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);
        QVERIFY(!window_->isVisible());
        QVERIFY(Messages().empty());

        W2Record stored = Stored(1);
        for (const auto& field : W2Layout()) {
            const QByteArray name(field.name.data(), static_cast<qsizetype>(field.name.size()));
            QVERIFY2(SameField(field, stored, w2), name.constData());
        }
    }

    void theFormShowsTheEmployeeAndTheEmployer() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Smith", 1234.5)});
        OpenWindow();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form W-2 Wage and Tax Statement 2026"));
        QCOMPARE(F<TMaskEdit>("Boxa")->Text(), QStringLiteral("219-09-9999"));
        QCOMPARE(Shown("Boxe3"), QStringLiteral("Smith"));
        QCOMPARE(F<TStateEdit>("Boxf_c")->Text(), QStringLiteral("NY"));
        QCOMPARE(Shown("Amount1"), QStringLiteral("1,234.50"));
        const QStringList employer = {"W3Boxe", "W3Boxf_a", "W3Boxf_b", "W3Boxg_a", "W3Boxg_b"};
        QStringList shownEmployer;
        for (const QString& name : employer) {
            auto* field = window_->findChild<QLineEdit*>(name);
            QVERIFY(field->isReadOnly());
            QCOMPARE(field->focusPolicy(), Qt::NoFocus);
            shownEmployer << field->text();
        }
        QCOMPARE(shownEmployer, QStringList({"12-3456789", "ACME TOOLS", "", "9 Mill Rd", "Troy NY 12180"}));
        QVERIFY(F("Boxa")->hasFocus());
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || control->objectName().startsWith("qt_")) continue;
            if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPushButton*>(control))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    // The employer's boxes follow the W-3 record, whoever replaces it.
    void theEmployerBoxesFollowTheW3Record() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Smith", 1234.5)});
        OpenWindow();
        auto* name = window_->findChild<QLineEdit*>(QStringLiteral("W3Boxf_a"));
        dm_->EditW3Rec([](W3Record& w3) { w3.Boxf_a = "ACME TOOLS AND DIES"; });
        QCOMPARE(name->text(), QStringLiteral("ACME TOOLS AND DIES"));
        dm_->RSW3().GetRec();  // the file still holds the old name
        QCOMPARE(name->text(), QStringLiteral("ACME TOOLS"));
        QCOMPARE(Shown("Boxe3"), QStringLiteral("Smith"));  // the employee is left as shown
    }

    void tabVisitsEveryFieldInFormOrder() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Smith", 10)});
        OpenWindow();
        QStringList expected = {"Boxa", "Boxd", "Boxe1", "Boxe2", "Boxe3", "Suffix", "Boxf_a", "Boxf_b", "Boxf_c",
                                "Boxf_d", "Amount1", "Amount2", "Amount3", "Amount4", "Amount5", "Amount6",
                                "Amount7", "Amount8", "Amount10", "Amount11"};
        for (int pair = 1; pair <= 12; ++pair)
            expected << QString("Box12Code%1").arg(pair) << QString("Box12Amt%1").arg(pair);
        expected << "Box13a" << "Box13b" << "Box13c" << "Box14Desc_a" << "Box14Amt_a" << "Box14Desc_b"
                 << "Box14Amt_b" << "Box14Desc_c" << "Box14Amt_c" << "Box14bTTOC" << "Box14bTTOC2";
        for (const char* line : {"a", "b"})
            for (const char* box : {"Box15", "StateID_", "Box16", "Box17", "Box18", "Box19", "Box20"})
                expected << QString::fromLatin1(box) + line;
        expected << "BtnPrintOne" << "BtnPrintAll" << "BtnClose" << "BtnHelp";
        QStringList visited = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            // Enter moves on between the fields as Tab does (on a button it would press it).
            const bool onButton = qobject_cast<QPushButton*>(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), i % 2 || onButton ? Qt::Key_Tab : Qt::Key_Return);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
        QVERIFY(Messages().empty());
    }

    void leavingBox1FillsTheSocialSecurityAndMedicareBoxes() {
        MakePayerFile({W2Record{}});
        OpenWindow();
        TypeInto("Amount1", "200000");
        QCOMPARE(FieldColor(F("Amount1")), TFrmW2::HighlightColor);
        PressTab();
        QVERIFY(FieldColor(F("Amount1")) != TFrmW2::HighlightColor);
        QCOMPARE(FieldColor(F("Amount2")), TFrmW2::HighlightColor);
        const QStringList filled = {Shown("Amount3"), Shown("Amount4"), Shown("Amount5"), Shown("Amount6"),
                                    Shown("Box16a")};
        QCOMPARE(filled, QStringList({"184,500.00", "11,439.00", "200,000.00", "2,900.00", "200,000.00"}));
        QVERIFY(window_->BtnPrintOne->isEnabled());

        // Box 7 takes its share of the social security wages from Box 3.
        TypeInto("Amount7", "500");
        PressTab();
        QCOMPARE(Shown("Amount3"), QStringLiteral("184,000.00"));
        QCOMPARE(Shown("Amount4"), QStringLiteral("11,439.00"));

        // Box 1 again, with Box 3 filled: nothing else changes.
        TypeInto("Amount1", "1234.56");
        PressTab();
        QCOMPARE(Shown("Amount3"), QStringLiteral("184,000.00"));
        QCOMPARE(Shown("Amount6"), QStringLiteral("2,900.00"));

        // Box 5 and Box 3 recompute their taxes.
        TypeInto("Amount5", "1234.56");
        PressTab();
        QCOMPARE(Shown("Amount6"), QStringLiteral("17.90"));
        TypeInto("Amount3", "1000");
        PressTab();
        QCOMPARE(Shown("Amount4"), QStringLiteral("93.00"));  // (1000 + 500) x 6.2%
        QVERIFY(Messages().empty());
    }

    // The navigator keeps the focus in Box 7: leaving it afterwards works on the Box 3 +
    // Box 7 of the employee now shown, never on those of the one before.
    void box7KeepsTheTotalOfTheEmployeeNowShown() {
        W2Record first = Employee("219-09-9991", "Ann", "Smith", 1200);
        first.Amount3 = 1000;
        first.Amount7 = 200;
        W2Record second = Employee("219-09-9992", "Bo", "Adams", 50000);
        second.Amount3 = 50000;
        MakePayerFile({first, second});
        OpenWindow();
        F("Amount7")->setFocus(Qt::TabFocusReason);
        AltKey(Qt::Key_N);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(QApplication::focusWidget(), F("Amount7"));
        PressTab();
        QCOMPARE(F<TDollarEdit>("Amount3")->Value(), 50000.0);

        // Typing new tips moves Box 3 so that the total of this employee stays.
        QTest::mouseClick(window_->RSNavigator->Button(nbPrior), Qt::LeftButton);
        TypeInto("Amount7", "300");
        PressTab();
        QCOMPARE(F<TDollarEdit>("Amount3")->Value(), 900.0);
    }

    void aRefusedMoveLeavesTheStoreWhereItWas() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Smith", 10), Employee("219-09-9998", "Bo", "Jones", 20)});
        OpenWindow();
        TypeInto("Boxe3", "");
        QTest::keyClick(F("Boxe3"), Qt::Key_Backspace);
        TypeInto("Amount2", "5");
        AltKey(Qt::Key_N);
        QCOMPARE(Messages(), std::vector<std::string>{"Employee's last name is missing."});
        QCOMPARE(QApplication::focusWidget(), F("Boxe3"));
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
        QCOMPARE(Stored(1).Boxe3, std::string("Smith"));  // nothing was saved
        QCOMPARE(Stored(1).Amount2, 0.0);
        QCOMPARE(Shown("Amount2"), QStringLiteral("5.00"));  // and nothing typed was lost

        prompter_->Clear();
        QTest::mouseClick(Nav(nbLast), Qt::LeftButton);
        QCOMPARE(Messages(), std::vector<std::string>{"Employee's last name is missing."});
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);

        // Put right, the record is saved before the move.
        QTest::keyClicks(F("Boxe3"), "Smyth");
        AltKey(Qt::Key_N);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(Shown("Boxe3"), QStringLiteral("Jones"));
        QCOMPARE(Stored(1).Boxe3, std::string("Smyth"));
        QCOMPARE(Stored(1).Amount2, 5.0);
        QCOMPARE(Stored(1).Boxf_csz, std::string("Albany NY 12207"));
    }

    // A name or address the EFW2 file can carry only with its accents folded passes the
    // rules; the user is warned once, before filing. (The name fields take ASCII letters
    // only, but a record carried over from another file may hold accents; the city takes
    // any text.)
    void accentsTheEfw2FileFoldsAreWarnedAboutOnce() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Müller", 10), Employee("219-09-9998", "Bo", "Jones", 20)});
        OpenWindow();
        AltKey(Qt::Key_N);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(Messages(), std::vector<std::string>{"Box e, Employee's last name \"Müller\" is written as \"MULLER\" "
                                                      "in the EFW2 file, which holds plain ASCII only."});
        QCOMPARE(prompter_->Messages().back().style, MsgStyle::Warning);
        QCOMPARE(Stored(1).Boxe3, std::string("Müller"));  // the record keeps its text

        prompter_->Clear();
        TypeInto("Boxf_b", QStringLiteral("Z"));
        // A key the test keyboard lacks, as a keyboard layout with it sends it.
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_Udiaeresis, Qt::NoModifier, QStringLiteral("ü"));
            QApplication::sendEvent(F("Boxf_b"), &key);
        }
        QTest::keyClicks(F("Boxf_b"), "rich");
        QTest::mouseClick(Nav(nbFirst), Qt::LeftButton);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
        QCOMPARE(Messages(), std::vector<std::string>{"Box f, Employee's city \"Zürich\" is written as \"ZURICH\" in "
                                                      "the EFW2 file, which holds plain ASCII only."});
        prompter_->Clear();
        AltKey(Qt::Key_N);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(Messages(), std::vector<std::string>{});  // each told once
    }

    void aBox12FailureScrollsThePanelToItsPairFirst() {
        W2Record pair8 = Employee("219-09-9999", "Ann", "Smith", 10);
        pair8.Box12Amt[7] = 25;  // 12h: an amount without a code
        W2Record pair2 = Employee("219-09-9998", "Bo", "Jones", 10);
        pair2.Box12Code[1] = "D";  // 12b: a code without an amount
        MakePayerFile({pair8, pair2});
        OpenWindow();
        QScrollBar* scroll = window_->Box12Panel->verticalScrollBar();
        QCOMPARE(scroll->value(), 0);
        ScrollWhenFocused probe(F("Box12Code8"), scroll);
        AltKey(Qt::Key_L);
        QCOMPARE(Messages(), std::vector<std::string>{"Box 12h code is missing."});
        QCOMPARE(QApplication::focusWidget(), F("Box12Code8"));
        QVERIFY(scroll->maximum() > 0);
        QCOMPARE(probe.value, scroll->maximum());  // the lower six pairs were in view first
        QVERIFY(window_->Box12Panel->viewport()->rect().contains(
            F("Box12Code8")->mapTo(window_->Box12Panel->viewport(), QPoint(0, 0))));
        QVERIFY(window_->Box12Hint->isVisible());      // a code field has the focus
        QCOMPARE(window_->Box12Hint->text(), QStringLiteral(" Double click for a list of designated IRS codes "));

        // The user clears the amount; the next record fails on pair 2, which is at the top.
        TypeInto("Box12Amt8", "0");
        QVERIFY(!window_->Box12Hint->isVisible());
        AltKey(Qt::Key_L);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        prompter_->Clear();
        window_->Box12Panel->verticalScrollBar()->setValue(scroll->maximum());
        QTest::mouseClick(Nav(nbFirst), Qt::LeftButton);
        QCOMPARE(Messages(), std::vector<std::string>{"Box 12b amount is missing."});
        QCOMPARE(QApplication::focusWidget(), F("Box12Amt2"));
        QCOMPARE(scroll->value(), 0);
    }

    void newAndDeleteThroughTheNavigator() {
        MakePayerFile({Employee("219-09-9999", "Ann", "Smith", 10)});
        OpenWindow();
        QCOMPARE(Nav(nbDelete)->isEnabled(), false);  // the only employee cannot be deleted
        AltKey(Qt::Key_E);
        QCOMPARE(dm_->RSW2().RecordCount(), 2);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QVERIFY(F("Boxa")->hasFocus());
        QCOMPARE(Shown("Boxe3"), QString());
        QCOMPARE(F<TStateEdit>("Box15a")->Text(), QStringLiteral("NY"));  // the payer's state and ID
        QCOMPARE(Shown("StateID_a"), QStringLiteral("987654"));
        QVERIFY(!window_->BtnPrintOne->isEnabled());
        QVERIFY(!window_->BtnPrintAll->isEnabled());

        // Cancelled at the question: the employee stays, and so does what was typed.
        TypeInto("Boxe1", "Cy");
        prompter_->Answer(MsgButton::Cancel);
        AltKey(Qt::Key_D);
        QCOMPARE(Messages(), std::vector<std::string>{"Confirm request~Delete current employee from database?"});
        QCOMPARE(dm_->RSW2().RecordCount(), 2);
        QCOMPARE(Shown("Boxe1"), QStringLiteral("Cy"));

        // Confirmed: the unfinished employee goes without being checked.
        prompter_->Clear();
        prompter_->Answer(MsgButton::Ok);
        QTest::mouseClick(Nav(nbDelete), Qt::LeftButton);
        QCOMPARE(Messages(), std::vector<std::string>{"Confirm request~Delete current employee from database?"});
        QCOMPARE(dm_->RSW2().RecordCount(), 1);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
        QCOMPARE(Shown("Boxe3"), QStringLiteral("Smith"));
        QCOMPARE(Nav(nbNew)->isEnabled(), true);
        QCOMPARE(Nav(nbDelete)->isEnabled(), false);
    }

    void theEmployeeListIsSortedAndEachRowOpensItsOwnRecord() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), Employee("219-09-9992", "Bo", "Adams", 10),
                       Employee("219-09-9993", "Ann", "smith", 10)});
        OpenWindow();
        auto choose = [this](int row, QStringList* rows) {
            modals_->Then([row, rows](QDialog& dialog) {
                auto* list = Expect<TFrmRecList>(dialog);
                QVERIFY(list);
                QCOMPARE(list->windowTitle(), QStringLiteral("Employee List"));
                QVERIFY(list->RecListBox->selectedItems().isEmpty());
                for (int i = 0; i < list->RecListBox->count(); ++i) *rows << list->RecListBox->item(i)->text();
                if (row < 0) {
                    QTest::keyClick(list->RecListBox, Qt::Key_Escape);
                    return;
                }
                QListWidgetItem* item = list->RecListBox->item(row);
                const QRect cell = list->RecListBox->visualItemRect(item);
                QTest::mouseClick(list->RecListBox->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(list->RecListBox->viewport(), Qt::LeftButton, {}, cell.center());
            });
        };
        QStringList rows;
        choose(2, &rows);
        AltKey(Qt::Key_I);
        QCOMPARE(rows, QStringList({"Adams,  Bo", "Smith,  Ann", "smith,  Ann"}));
        QCOMPARE(dm_->RSW2().CurrentRecord(), 3);
        QCOMPARE(F<TMaskEdit>("Boxa")->Text(), QStringLiteral("219-09-9993"));
        rows.clear();
        choose(1, &rows);
        QTest::mouseClick(Nav(nbList), Qt::LeftButton);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
        QCOMPARE(F<TMaskEdit>("Boxa")->Text(), QStringLiteral("219-09-9991"));

        // A name changed behind the program's back is not seen: the list is kept ...
        {
            std::fstream file(dm_->RSW2().FileName, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(W2Record::kSize + 41);  // record 2, last name
            file.write("\x05" "Aaron", 6);
        }
        rows.clear();
        choose(-1, &rows);
        AltKey(Qt::Key_I);
        QCOMPARE(rows, QStringList({"Adams,  Bo", "Smith,  Ann", "smith,  Ann"}));
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);  // cancelled: where it was

        // ... until the user renames an employee here.
        TypeInto("Boxe3", "Zed");
        rows.clear();
        choose(-1, &rows);
        AltKey(Qt::Key_I);
        QCOMPARE(rows, QStringList({"Aaron,  Bo", "smith,  Ann", "Zed,  Ann"}));
        QVERIFY(Messages().empty());
    }

    void closingCountsAReviewOnlyWhenEveryEmployeeWasShown() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), Employee("219-09-9992", "Bo", "Adams", 10)});
        OpenWindow();
        QVERIFY(window_->BtnPrintOne->isEnabled());
        QVERIFY(!window_->BtnPrintAll->isEnabled());
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);
        QVERIFY(!window_->isVisible());
        QCOMPARE(dm_->ReviewCount(), 0);

        // The W-2 forms count once, however often the window closes; the W-3's review
        // makes the second.
        for (int expected : {1, 1}) {
            OpenWindow();
            AltKey(dm_->RSW2().Eof() ? Qt::Key_F : Qt::Key_N);  // to the other employee
            QVERIFY(window_->BtnPrintAll->isEnabled());
            QTest::keyClick(Focused(), Qt::Key_Escape);
            QVERIFY(!window_->isVisible());
            QCOMPARE(dm_->ReviewCount(), expected);
        }
        dm_->EntryWindowReviewed(EntryWindow::W3);
        QCOMPARE(dm_->ReviewCount(), 2);

        // A record that fails the rules keeps the window open and counts nothing.
        dm_->ClearReviews();
        OpenWindow();
        AltKey(Qt::Key_N);
        TypeInto("Boxf_d", "1");
        window_->close();
        QVERIFY(window_->isVisible());
        QCOMPARE(Messages(), std::vector<std::string>{"Employee's Zip Code is not valid."});
        QCOMPARE(QApplication::focusWidget(), F("Boxf_d"));
        QCOMPARE(dm_->ReviewCount(), 0);
        QTest::keyClicks(F("Boxf_d"), "2345");
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);
        QVERIFY(!window_->isVisible());
        QCOMPARE(dm_->ReviewCount(), 1);
        QCOMPARE(Stored(2).Boxf_d, std::string("12345"));
    }

    void printOneFollowsBox1() {
        MakePayerFile({W2Record{}});
        OpenWindow();
        QVERIFY(!window_->BtnPrintOne->isEnabled());
        TypeInto("Amount1", "0.01");
        PressTab();
        QVERIFY(window_->BtnPrintOne->isEnabled());
        QVERIFY(window_->BtnPrintAll->isEnabled());  // the only employee is shown
        TypeInto("Amount1", "0");
        PressTab();
        QVERIFY(!window_->BtnPrintOne->isEnabled());
        QVERIFY(!window_->BtnPrintAll->isEnabled());
    }

    // After any navigator move the focused field takes the keys typed next, as when the
    // window opened: an SSN typed right after Alt+E, a name or an amount right after a
    // move, each replaces what the field showed.
    void typingRightAfterANavigatorMoveReachesTheField() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), Employee("219-09-9992", "Bo", "Adams", 20),
                       Employee("219-09-9993", "Cy", "Diaz", 30)});
        OpenWindow();
        QVERIFY(F("Boxa")->hasFocus());
        struct Move {
            const char* field;  // where the focus is when the key is pressed
            Qt::Key key;
            int record;  // where the store is afterwards
            const char* typed;
            QString shown;
        };
        const Move moves[] = {
            {"Boxa", Qt::Key_N, 2, "212456782", "212-45-6782"},
            {"Boxa", Qt::Key_L, 3, "212456783", "212-45-6783"},
            {"Boxe3", Qt::Key_P, 2, "Zed", "Zed"},
            {"Boxe3", Qt::Key_F, 1, "Young", "Young"},
            {"Amount2", Qt::Key_N, 2, "5", "5"},
            {"Boxe1", Qt::Key_E, 4, "212456784", "212-45-6784"},  // a new employee: the focus goes to the SSN
        };
        for (const Move& move : moves) {
            const QByteArray what = QByteArray(move.field) + " " + QByteArray::number(move.record);
            QWidget* field = F(move.field);
            if (!field->hasFocus()) {
                field->setFocus(Qt::TabFocusReason);
                QVERIFY(field->hasFocus());
            }
            AltKey(move.key);
            QVERIFY2(Messages().empty(), what.constData());
            QCOMPARE(dm_->RSW2().CurrentRecord(), move.record);
            QTest::keyClicks(Focused(), QString::fromLatin1(move.typed));
            QVERIFY2(Focused() == F(move.key == Qt::Key_E ? "Boxa" : move.field), what.constData());
            const QString shown = move.key == Qt::Key_E || QByteArray(move.field) == "Boxa"
                                      ? F<TMaskEdit>("Boxa")->Text()
                                      : F<QLineEdit>(move.field)->text();
            QVERIFY2(shown == move.shown, qPrintable(what + ": " + shown));
        }
        QCOMPARE(Stored(2).Boxa, std::string("212-45-6782"));
        QCOMPARE(Stored(2).Boxe3, std::string("Zed"));
        QCOMPARE(Stored(1).Boxe3, std::string("Young"));
        QCOMPARE(Stored(3).Boxa, std::string("212-45-6783"));
    }

    // An Alt key whose button cannot act (or that names nothing) is used up: the
    // selected text of the focused field stays as it is, and so does the record.
    void anAltKeyWithNothingToDoTypesNothing() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), Employee("219-09-9992", "Bo", "Adams", 20)});
        OpenWindow();
        struct Case {
            bool onLast;
            const char* field;
            Qt::Key key;
        };
        const Case cases[] = {
            {true, "Boxa", Qt::Key_N},   {true, "Boxe3", Qt::Key_L}, {false, "Boxe3", Qt::Key_F},
            {false, "Boxe1", Qt::Key_P}, {false, "Boxe3", Qt::Key_X}, {true, "Boxf_b", Qt::Key_X},
            {false, "Amount2", Qt::Key_Z},
        };
        for (const Case& c : cases) {
            const int record = c.onLast ? 2 : 1;
            if (dm_->RSW2().CurrentRecord() != record) QTest::mouseClick(Nav(c.onLast ? nbLast : nbFirst), Qt::LeftButton);
            QCOMPARE(dm_->RSW2().CurrentRecord(), record);
            auto* field = F<QLineEdit>(c.field);
            field->setFocus(Qt::TabFocusReason);
            field->selectAll();
            const QString before = field->text();
            AltKey(c.key);
            const QByteArray what = QByteArray(c.field) + " Alt+" + QKeySequence(c.key).toString().toLatin1();
            QVERIFY2(field->text() == before, qPrintable(what + " gave " + field->text()));
            QVERIFY2(field->selectedText() == before, what.constData());
            QCOMPARE(dm_->RSW2().CurrentRecord(), record);
        }
        QTest::mouseClick(Nav(nbFirst), Qt::LeftButton);
        QCOMPARE(Stored(1).Boxe3, std::string("Smith"));
        QCOMPARE(Stored(2).Boxa, std::string("219-09-9992"));
        QVERIFY(Messages().empty());
    }

    // Tab out of 12l leaves the panel at the top, and the next employee opens with
    // 12a to 12f in sight.
    void tabOutOf12lScrollsTheBox12PanelToTheTop() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), Employee("219-09-9992", "Bo", "Adams", 20)});
        OpenWindow();
        QScrollBar* scroll = window_->Box12Panel->verticalScrollBar();
        F("Box12Code12")->setFocus(Qt::TabFocusReason);
        PressTab();
        QCOMPARE(QApplication::focusWidget(), F("Box12Amt12"));
        QCOMPARE(scroll->value(), scroll->maximum());  // 12l is in sight while it is visited
        QVERIFY(scroll->maximum() > 0);
        PressTab();
        QCOMPARE(QApplication::focusWidget(), F("Box13a"));
        QCOMPARE(scroll->value(), 0);
        AltKey(Qt::Key_N);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(scroll->value(), 0);
        QVERIFY(window_->Box12Panel->viewport()->rect().contains(
            F("Box12Code1")->mapTo(window_->Box12Panel->viewport(), QPoint(0, 0))));
    }

    // A double-click on a code field opens its list on the first try, with the focus
    // elsewhere before: the click that brings the hint leaves the field where it was.
    void aDoubleClickOnEveryBox12CodeFieldOpensTheList() {
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10)});
        OpenWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QScrollBar* scroll = window_->Box12Panel->verticalScrollBar();
        const QStringList codes = {"A", "B", "C", "D", "E", "F", "G", "H", "J", "K", "L", "M"};
        for (int pair = 1; pair <= 12; ++pair) {
            QLineEdit* code = window_->Box12Code[static_cast<std::size_t>(pair - 1)];
            F("Boxa")->setFocus(Qt::TabFocusReason);  // the focus elsewhere, the hint hidden
            QVERIFY(!window_->Box12Hint->isVisible());
            scroll->setValue(pair <= 6 ? 0 : scroll->maximum());
            const QPoint where = code->mapTo(window_.get(), code->rect().center());
            QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {}, where);
            QCoreApplication::processEvents();  // the layout settles before the second click
            QVERIFY(window_->Box12Hint->isVisible());
            QCOMPARE(code->mapTo(window_.get(), code->rect().center()), where);
            const QString pick = codes[pair - 1];
            modals_->Then([pick](QDialog& list) { PickFromList(list, pick); });
            QTest::mouseDClick(window_->windowHandle(), Qt::LeftButton, {}, where);
            QVERIFY2(modals_->Pending() == 0, qPrintable(QStringLiteral("no list for pair %1").arg(pair)));
            QCOMPARE(code->text(), pick);
        }
    }

    // A second copy of the program has the file browse-only: no field takes typing, the
    // caption says so, and the window closes and moves without checking what cannot
    // be changed.
    void aBrowseOnlyFileRefusesTyping() {
        W2Record incomplete = Employee("219-09-9992", "Bo", "", 20);  // no last name
        MakePayerFile({Employee("219-09-9991", "Ann", "Smith", 10), incomplete});
        TFrmDataModule second(*ports_);
        second.OpenPayerFile(dm_->PayerFilePath());
        QVERIFY(second.PayerFileOpen());
        QVERIFY(second.RSW2().BrowseOnly());
        prompter_->Clear();
        TestPrinting secondPrinting(second, dir_->path());
        window_ = std::make_unique<TFrmW2>(second, secondPrinting.Printing);
        UsePorts(*window_, *ports_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form W-2 Wage and Tax Statement 2026 - Browse Only"));
        for (QLineEdit* line : window_->findChildren<QLineEdit*>())
            if (!line->objectName().isEmpty() && !line->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(line->isReadOnly(), qPrintable(line->objectName()));
        for (TStateEdit* state : window_->findChildren<TStateEdit*>()) QVERIFY(state->IsReadOnly());

        TypeInto("Boxe3", "Zed");
        QTest::keyClicks(F("Amount2"), "7");
        QCOMPARE(Shown("Boxe3"), QStringLiteral("Smith"));
        auto* state = F<TStateEdit>("Boxf_c");
        state->setFocus(Qt::TabFocusReason);
        QTest::keyClick(state, Qt::Key_C);
        QTest::keyClick(state, Qt::Key_Delete);
        QCOMPARE(state->Text(), QStringLiteral("NY"));
        window_->Box12Code[0]->setFocus(Qt::TabFocusReason);
        QTest::mouseDClick(window_->Box12Code[0], Qt::LeftButton);  // no code list either
        QCOMPARE(modals_->Opened(), QStringList());

        AltKey(Qt::Key_N);  // the incomplete employee can be looked at
        QCOMPARE(second.RSW2().CurrentRecord(), 2);
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);
        QVERIFY(!window_->isVisible());
        QVERIFY(Messages().empty());
        window_.reset();
        second.ClosePayerFile();
    }

    // Every field is found by its caption, whatever it holds.
    void everyFieldKeepsItsCaptionAsItsAccessibleName() {
        W2Record w2 = Employee("219-09-9991", "Ann", "Smith", 10);
        w2.Box15a = "NY";
        MakePayerFile({w2});
        OpenWindow();
        auto* state = F<TStateEdit>("Boxf_c");
        state->setFocus(Qt::TabFocusReason);
        QTest::keyClick(state, Qt::Key_C);  // CA
        QCOMPARE(state->Text(), QStringLiteral("CA"));
        const QStringList names = {"Boxa", "Boxe3", "Boxf_c", "Amount1", "Box12Code1", "Box13a", "Box15a", "StateID_a"};
        const QStringList captions = {"a Employee's social security number",
                                      "e Last name",
                                      "f State",
                                      "1 Wages, tips, other compensation",
                                      "12a Code",
                                      "13 Statutory employee",
                                      "15 State 1",
                                      "15 Employer's state ID number 1"};
        for (qsizetype i = 0; i < names.size(); ++i) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(F(qPrintable(names[i])));
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), captions[i]);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(state)->text(QAccessible::Value), QStringLiteral("CA"));
    }

    void theCodeListsPasteIntoTheDoubleClickedField() {
        W2Record w2 = Employee("219-09-9999", "Ann", "Smith", 0);
        w2.Box12Code[0] = "D";
        w2.Box12Amt[0] = 100;
        MakePayerFile({w2});
        OpenWindow();
        QVERIFY(!window_->BtnPrintOne->isEnabled());
        struct Pick {
            const char* field;
            const char* window;
            QString code;
        };
        const Pick picks[] = {
            {"Box12Code7", "TFrmIRSBox12Codes", "II"},
            {"Box12Code1", "TFrmIRSBox12Codes", ""},  // Cancel empties the field
            {"Box14bTTOC2", "TFrmTTOBox14bCodes", "404"},
        };
        for (const Pick& pick : picks) {
            QLineEdit* field = F<QLineEdit>(pick.field);
            field->setFocus(Qt::TabFocusReason);
            modals_->Then([&pick](QDialog& list) {
                QCOMPARE(list.objectName(), QString::fromLatin1(pick.window));
                PickFromList(list, pick.code);
            });
            QTest::mouseDClick(field, Qt::LeftButton);
            QCOMPARE(modals_->Pending(), 0u);
            QCOMPARE(field->text(), pick.code);
        }
        QStringList codes;
        for (const char* name : {"Box12Code1", "Box12Code2", "Box12Code6", "Box12Code8", "Box14bTTOC"})
            codes << Shown(name);
        QCOMPARE(codes, QStringList({"", "", "", "", ""}));
        QVERIFY(F<QLineEdit>("Box12Code7")->isReadOnly());

        // Code II stands for wages: the form may be printed once the field is left.
        PressTab();
        QVERIFY(window_->BtnPrintOne->isEnabled());
    }
};

QNVR_TEST_MAIN(TestW2Window)
#include "tst_w2_window.moc"
