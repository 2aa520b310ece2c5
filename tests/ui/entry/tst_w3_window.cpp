// The W-3 window as a user works it: totals recomputed from the W-2 records on showing,
// the kind-of-payer and kind-of-employer groups clicked, the state letter keys and the
// box 13 shortcut typed, the rules checked in order on Close and Print, the review count
// and the record saved on closing.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>
#include <variant>

#include "core/base/scripted_prompter.h"
#include "core/store/data_module.h"
#include "efw2/efw2_fixture.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "support/record_compare.h"
#include "support/test_printing.h"
#include "support/temp_dir.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/field_text.h"
#include "ui/entry/frm_w3.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

constexpr const char* kLeftBlank = "Required field has been left blank.";

// An employee whose only amounts are box 12 pairs (code, amount) from pair 1 on.
W2Record WithBox12(int number, std::initializer_list<std::pair<const char*, double>> pairs) {
    W2Record w2 = Employee(number, 1000);
    int pair = 0;
    for (const auto& [code, amount] : pairs) {
        w2.Box12Code[pair] = code;
        w2.Box12Amt[pair++] = amount;
    }
    return w2;
}

}  // namespace

class TestW3Window : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<TFrmDataModule> dm_;
    std::unique_ptr<TestPrinting> printing_;
    std::unique_ptr<TFrmW3> window_;

    std::string PayerPath() const { return dir_->File("ACME.W226"); }

    void OpenPayer(const W3Record& w3, const std::vector<W2Record>& employees) {
        WritePayerFile(PayerPath(), w3, employees);
        dm_->OpenPayerFile(PayerPath());
        QVERIFY(dm_->PayerFileOpen());
    }

    TFrmW3& OpenWindow() {
        printing_ = std::make_unique<TestPrinting>(*dm_, QString::fromStdString(dir_->Path().string()));
        window_ = std::make_unique<TFrmW3>(*dm_, printing_->Printing);
        UsePorts(*window_, *ports_);
        window_->show();
        window_->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window_.get())); }();
        return *window_;
    }

    template <class Field = QLineEdit>
    Field* Find(const char* name) {
        auto* field = qobject_cast<Field*>(window_->Field(QString::fromLatin1(name)));
        [&] { QVERIFY2(field, name); }();
        return field;
    }
    QString TextOf(const char* name) { return FieldText(Find<QWidget>(name)); }

    // Clicks into the field and types keys, as a user does.
    void TypeInto(const char* name, const QString& keys) {
        QLineEdit* field = Find(name);
        QTest::mouseClick(field, Qt::LeftButton);
        QCoreApplication::processEvents();  // the click selects the whole text once it has placed the cursor
        QTest::keyClicks(field, keys);
    }

    void ClickBoxb(int number) { QTest::mouseClick(window_->FW3Boxb[number], Qt::LeftButton); }
    QString Checked(int first, int last) {
        QString marks;
        for (int number = first; number <= last; ++number) marks += window_->FW3Boxb[number]->Checked() ? 'X' : '.';
        return marks;
    }

    QString FocusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        dm_ = std::make_unique<TFrmDataModule>(*ports_);
    }
    void cleanup() {
        window_.reset();
        printing_.reset();
        dm_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void showingRecomputesTheTotalsFromEveryW2() {
        W3Record w3 = Employer("ACME");
        w3.Amount1 = 99999;  // totals left from an earlier showing count for nothing
        w3.Box12a = 5;
        W2Record first = WithBox12(1, {{"D", 100}, {"AA", 40}, {"W", 30}, {"e", 20}, {"D", 50}});
        first.Box16a = 100;
        first.Box16b = 50;
        W2Record second = WithBox12(2, {{"S", 7.25}});
        second.Box16a = 100;
        second.Box16b = 50;
        OpenPayer(w3, {first, second});
        TFrmW3& w = OpenWindow();
        QCOMPARE(w.windowTitle(), QStringLiteral("Form W-3 Transmittal of Wage and Tax Statements 2026"));
        QCOMPARE(TextOf("Boxc"), QStringLiteral("2"));
        QCOMPARE(TextOf("Amount1"), QStringLiteral("2,000.00"));
        // D, E, F, G, H and S of pairs 12a to 12d only: "D" 100 + "e" 20 + "S" 7.25.
        QCOMPARE(TextOf("Box12a"), QStringLiteral("127.25"));
        QCOMPARE(TextOf("Box16"), QStringLiteral("300.00"));
        QVERIFY(w.BtnPrint->isEnabled());
        // The totals are shown, never typed.
        QTest::mouseClick(Find("Amount1"), Qt::LeftButton);
        QTest::keyClicks(Find("Amount1"), "5");
        QCOMPARE(Find<TDollarEdit>("Amount1")->Value(), 2000.0);
        QVERIFY(Find("Amount1")->isReadOnly() && Find("Boxc")->isReadOnly());
    }

    void aFileWithOneEmptyW2HasNothingToPrint() {
        OpenPayer(Employer("ACME"), {W2Record{}});
        TFrmW3& w = OpenWindow();
        QCOMPARE(TextOf("Boxc"), QStringLiteral("1"));
        for (const char* total : {"Amount1", "Amount6", "Amount11", "Box12a", "Box16", "Box19"})
            QCOMPARE(TextOf(total), QStringLiteral("0.00"));
        QVERIFY(!w.BtnPrint->isEnabled());
    }

    void theKindBoxesActAsTwoRadioGroupsAndSickPayStandsAlone() {
        W3Record w3 = Employer("ACME");  // 941 and None apply checked
        OpenPayer(w3, {Employee(1, 100)});
        OpenWindow();
        QCOMPARE(Checked(1, 7), QStringLiteral("X......"));
        ClickBoxb(3);  // 943
        QCOMPARE(Checked(1, 7), QStringLiteral("..X...."));
        ClickBoxb(3);  // clicking the checked box keeps it checked
        QCOMPARE(Checked(1, 7), QStringLiteral("..X...."));
        QCOMPARE(Checked(8, 12), QStringLiteral("X...."));  // the other group is left alone
        QTest::keyClick(window_->FW3Boxb[12], Qt::Key_Space);
        QCOMPARE(Checked(8, 12), QStringLiteral("....X"));
        ClickBoxb(13);
        QCOMPARE(Checked(13, 13), QStringLiteral("X"));
        ClickBoxb(13);
        QCOMPARE(Checked(13, 13), QStringLiteral("."));
    }

    void stateLetterKeysPickCodesAndXEmptiesTheStateID() {
        W3Record w3 = Employer("ACME");
        w3.Box15.clear();
        OpenPayer(w3, {Employee(1, 100)});
        OpenWindow();
        QStringList shown;
        TypeInto("Box15", "");
        for (int k = 0; k < 3; ++k) {
            QTest::keyClick(Find("Box15"), Qt::Key_M);
            shown << TextOf("Box15");
        }
        QCOMPARE(shown, (QStringList{"MA", "MD", "ME"}));
        QTest::keyClicks(Find("Box15"), "b7-");  // no code begins with B; digits are filtered
        QCOMPARE(TextOf("Box15"), QStringLiteral("ME"));
        QTest::keyClick(Find("Box15"), Qt::Key_Backspace);
        QCOMPARE(TextOf("Box15"), QString());
        QTest::keyClicks(Find("Box15"), "tt");
        QCOMPARE(TextOf("Box15"), QStringLiteral("TX"));
        QTest::keyClicks(Find("Box15"), "t");
        QCOMPARE(TextOf("Box15"), QStringLiteral("TN"));

        QCOMPARE(TextOf("StateID"), QStringLiteral("123456"));
        QVERIFY(Find("StateID")->isEnabled());
        QTest::keyClicks(Find("Box15"), "x");
        QCOMPARE(TextOf("Box15"), QStringLiteral("X"));
        QCOMPARE(TextOf("StateID"), QString());
        QVERIFY(!Find("StateID")->isEnabled());
        QTest::keyClicks(Find("Box15"), "c");
        QVERIFY(Find("StateID")->isEnabled());

        TypeInto("Boxg_c", "ww");  // the employer's state takes the same keys
        QCOMPARE(TextOf("Boxg_c"), QStringLiteral("WI"));
    }

    void aStateIDIsDisabledOnShowingWhenBox15IsX() {
        W3Record w3 = Employer("ACME");
        w3.Box15 = "X";
        w3.StateID.clear();
        OpenPayer(w3, {Employee(1, 100)});
        OpenWindow();
        QVERIFY(!Find("StateID")->isEnabled());
    }

    void tInAnEmptyBox13FillsTheSickPayRecap() {
        OpenPayer(Employer("ACME"), {Employee(1, 100)});
        OpenWindow();
        TypeInto("Box13", "t");
        QCOMPARE(TextOf("Box13"), QStringLiteral("Third-Party Sick Pay Recap"));
        QTest::keyClick(Find("Box13"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Find("Box13"), Qt::Key_Delete);
        QTest::keyClicks(Find("Box13"), "Rt");
        QCOMPARE(TextOf("Box13"), QStringLiteral("Rt"));
    }

    void closingChecksTheRulesInOrderAndFocusesTheField_data() {
        QTest::addColumn<QString>("breaks");  // what is wrong with the record, in words
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("no kind of payer") << "payer" << "Boxb1" << "The Kind of Payer box has not been checked.";
        QTest::newRow("no kind of employer, bad EIN") << "employer ein" << "Boxb8"
                                                     << "The Kind of Employer box has not been checked.";
        QTest::newRow("bad EIN before a blank name") << "ein name" << "Boxe" << kLeftBlank;
        QTest::newRow("blank state") << "state" << "Boxg_c" << kLeftBlank;
        QTest::newRow("bad ZIP") << "zip" << "Boxg_d" << "Employer's Zip Code is invalid.";
        QTest::newRow("one state without its ID") << "stateid" << "StateID" << kLeftBlank;
        QTest::newRow("bad e-mail after a missing contact") << "email contact" << "Contact"
                                                           << "Employer's contact person name is missing.";
        QTest::newRow("bad e-mail alone") << "email" << "Email" << "Employer's email address is invalid.";
    }
    void closingChecksTheRulesInOrderAndFocusesTheField() {
        QFETCH(QString, breaks);
        QFETCH(QString, field);
        QFETCH(QString, message);
        W3Record w3 = Employer("ACME");
        const QStringList wrong = breaks.split(' ');
        if (wrong.contains("payer")) w3.Boxb1 = false;
        if (wrong.contains("employer")) w3.Boxb8 = false;
        if (wrong.contains("ein")) w3.Boxe = "07-1234567";
        if (wrong.contains("name")) w3.Boxf_a = "  ";
        if (wrong.contains("state")) w3.Boxg_c.clear();
        if (wrong.contains("zip")) w3.Boxg_d = "1218";
        if (wrong.contains("stateid")) w3.StateID.clear();
        if (wrong.contains("contact")) w3.Contact.clear();
        if (wrong.contains("email")) w3.Email = "pat.example.com";
        OpenPayer(w3, {Employee(1, 100)});
        TFrmW3& w = OpenWindow();
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(FocusName(), field);
        QCOMPARE(dm_->ReviewCount(), 0);
    }

    void moreThanOneStateNeedsNoStateID() {
        W3Record w3 = Employer("ACME");
        w3.Box15 = "X";
        w3.StateID.clear();
        OpenPayer(w3, {Employee(1, 100)});
        TFrmW3& w = OpenWindow();
        QTest::keyClick(Find("Boxa"), Qt::Key_Escape);  // Escape closes as Close does
        QVERIFY(!w.isVisible());
        QVERIFY(prompter_->Messages().empty());
    }

    void closingRaisesTheReviewCountAndSavesTheRecord() {
        OpenPayer(Employer("ACME"), {Employee(1, 2500)});
        TFrmW3& w = OpenWindow();
        TypeInto("Boxa", "ab-1");
        TypeInto("Box14", "12.5");
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(dm_->ReviewCount(), 1);
        dm_->ClosePayerFile();
        dm_->OpenPayerFile(PayerPath());
        QCOMPARE(dm_->W3Rec().Boxa, std::string("AB-1"));
        QCOMPARE(dm_->W3Rec().Box14, 12.5);
        QCOMPARE(dm_->W3Rec().Amount1, 2500.0);  // the totals reach the file with the record
        QCOMPARE(dm_->W3Rec().Boxg_csz, std::string("TROY NY 12180"));

        TFrmW3& again = OpenWindow();
        QTest::mouseClick(again.BtnClose, Qt::LeftButton);
        QCOMPARE(dm_->ReviewCount(), 1);  // the W-3 counts once, however often it closes
        dm_->EntryWindowReviewed(EntryWindow::W2);
        QCOMPARE(dm_->ReviewCount(), 2);
    }

    // Opening the W-3 and closing it keeps every field the user enters as it was, and
    // the box 12b the form has no field for.
    void closingKeepsEveryEnteredField() {
        W3Record w3 = Employer("ACME TOOLS");
        w3.Boxa = "CTL-9";
        w3.Boxb1 = false;
        w3.Boxb4 = true;
        w3.Boxb8 = false;
        w3.Boxb11 = true;
        w3.Boxb13 = true;
        w3.Boxd = "0042";
        w3.Boxf_b = "ACME HARDWARE";
        w3.Boxg_d = "12180-4321";
        w3.Boxh = "98-7654321";
        w3.Box13 = "Third-Party Sick Pay Recap";
        w3.Box14 = 321.09;
        w3.TelNum = "518-555-0100";
        w3.Email = "pay@acme.example";
        w3.FaxNum = "518-555-0199";
        w3.SignerName = "Pat Lee";
        w3.Title = "Payroll-Manager";
        w3.W3Date = "01/15/2027";
        w3.FinalReturn = true;
        w3.Box12b = 4.5;
        OpenPayer(w3, {Employee(1, 2500)});
        TFrmW3& w = OpenWindow();
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(prompter_->Messages().empty());

        W3Record stored = DecodeW3(ReadBytes(dm_->W3PathFor(PayerPath())));
        w3.Boxg_csz = "TROY NY 12180-4321";
        for (const auto& field : W3Layout()) {
            if (std::holds_alternative<double*>(field.Of(w3)) || field.name == "Boxc") continue;  // the totals
            const QByteArray name(field.name.data(), static_cast<qsizetype>(field.name.size()));
            QVERIFY2(SameField(field, stored, w3), name.constData());
        }
        QCOMPARE(stored.Box14, 321.09);
        QCOMPARE(stored.Box12b, 4.5);
    }

    void printChecksTheRecordAndTakesItWithoutSaving() {
        W3Record w3 = Employer("ACME");
        OpenPayer(w3, {Employee(1, 100)});
        TFrmW3& w = OpenWindow();
        TypeInto("Boxf_a", "X");  // the name is replaced by "X"
        QTest::keyClick(Find("Boxf_a"), Qt::Key_Backspace);
        QTest::mouseClick(w.BtnPrint, Qt::LeftButton);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{kLeftBlank});
        QCOMPARE(FocusName(), QStringLiteral("Boxf_a"));
        QCOMPARE(dm_->W3Rec().Boxf_a, std::string("ACME"));

        QTest::keyClicks(Find("Boxf_a"), "ACME TOOLS");
        ModalScript modals(*ports_);  // the preview of the printed W-3, closed at once
        modals.Then([](QDialog& preview) { preview.reject(); });
        QTest::mouseClick(w.BtnPrint, Qt::LeftButton);
        QCOMPARE(modals.Opened(), QStringList({"Form W-3 Preview"}));
        QCOMPARE(prompter_->Messages().size(), std::size_t(1));
        QVERIFY(w.isVisible());
        QCOMPARE(dm_->W3Rec().Boxf_a, std::string("ACME TOOLS"));
        QCOMPARE(dm_->ReviewCount(), 0);
        const W3Record onDisk = DecodeW3(ReadBytes(dm_->W3PathFor(PayerPath())));
        QCOMPARE(onDisk.Boxf_a, std::string("ACME"));  // not posted
    }
};

QNVR_TEST_MAIN(TestW3Window)
#include "tst_w3_window.moc"
