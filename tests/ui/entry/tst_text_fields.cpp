// The filtered text, state, check box and masked fields, and Enter as Tab, as a user
// types into them.
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "core/base/scripted_prompter.h"
#include "entry/field_window.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/enter_as_tab.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"

using namespace qnvr;
using namespace qnvr::testing;

class TestTextFields : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<FieldWindow> window_;
    TFilterEdit* text_ = nullptr;
    TStateEdit* state_ = nullptr;
    TCheckBoxEdit* check_ = nullptr;
    TMaskEdit* ssn_ = nullptr;

    // Clears the filter field and types keys into it, as a user who tabbed in.
    QString TypeIntoText(const QString& validChars, CharCase charCase, const QString& keys) {
        text_->SetValidChars(validChars);
        text_->SetCase(charCase);
        text_->clear();
        window_->TabIntoFirst();
        QTest::keyClicks(text_, keys);
        return text_->text();
    }

private slots:
    void init() {
        prompter_ = std::make_unique<ScriptedPrompter>();
        window_ = std::make_unique<FieldWindow>(*prompter_);
        text_ = window_->Add(new TFilterEdit, "Boxe1", "Employee's first name");
        state_ = window_->Add(new TStateEdit, "Boxf_c", "Employee's state");
        check_ = window_->Add(new TCheckBoxEdit, "Box13a", "Statutory employee");
        ssn_ = window_->Add(new TMaskEdit(QString::fromLatin1(kSsnLayout)), "Boxa", "Employee's social security number");
        QVERIFY(window_->Open());
    }
    void cleanup() {
        window_.reset();
        prompter_.reset();
    }

    void filterAndCase_data() {
        QTest::addColumn<QString>("validChars");
        QTest::addColumn<int>("charCase");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        const int normal = int(CharCase::Normal), upper = int(CharCase::Upper), lower = int(CharCase::Lower);
        QTest::newRow("digits only") << "[0..9]" << normal << "a1 b2-" << "12";
        QTest::newRow("upper case letters") << "[A..Z]" << upper << "q1r" << "QR";
        QTest::newRow("lower case") << "[]" << lower << "Me@X.COM" << "me@x.com";
        QTest::newRow("control number") << "[A..Z,0..9,-]" << upper << "ab-12_c" << "AB-12C";
        QTest::newRow("a single blank") << "[ ]" << normal << "a b c" << "  ";
        QTest::newRow("no filter") << "[]" << normal << "O'Neil #2" << "O'Neil #2";
        QTest::newRow("Box 12 code letters") << "[A..I, J..N, P..T,V,W,Y,Z]" << upper << "ouxdd" << "DD";
        QTest::newRow("name suffix") << "[J,I,R,V,X]" << upper << "jr. iii" << "JRIII";
        QTest::newRow("quoted comma") << "[0..9,',']" << normal << "1,2.3" << "1,23";
    }
    void filterAndCase() {
        QFETCH(QString, validChars);
        QFETCH(int, charCase);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QCOMPARE(TypeIntoText(validChars, CharCase(charCase), keys), shown);
        QVERIFY(prompter_->Messages().empty());  // refused silently
    }

    void anInvalidFilterIsReportedAndTheOldOneKept() {
        text_->SetValidChars(QStringLiteral("[0..9]"));
        text_->SetValidChars(QStringLiteral("0..9,A"));
        QCOMPARE(text_->ValidChars(), QStringLiteral("Invalid format 0..9,A"));
        window_->TabIntoFirst();
        QTest::keyClicks(text_, "A1");
        QCOMPARE(text_->text(), QStringLiteral("1"));
    }

    void upperCaseFieldsShowTheirTextInUpperCase() {
        text_->SetCase(CharCase::Upper);
        text_->setText(QStringLiteral("smith"));
        QCOMPARE(text_->text(), QStringLiteral("SMITH"));
    }

    void nameCaseAndUpperCaseShortcuts() {
        text_->setText(QStringLiteral("  mARY  ann o'neil "));
        window_->TabIntoFirst();
        QTest::keyClick(text_, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(text_->text(), QStringLiteral("Mary  Ann O'neil"));
        QTest::keyClick(text_, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(text_->text(), QStringLiteral("MARY  ANN O'NEIL"));
        QTest::keyClick(text_, Qt::Key_Z, Qt::ControlModifier);  // one edit, undone at once
        QCOMPARE(text_->text(), QStringLiteral("Mary  Ann O'neil"));
        text_->setReadOnly(true);
        QTest::keyClick(text_, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(text_->text(), QStringLiteral("Mary  Ann O'neil"));
    }

    void theWindowsKeyHandlerSeesTheConvertedKey() {
        QString seen;
        text_->SetKeyPressHandler([&](TFilterEdit& field, QChar& key) {
            seen += key;
            if (key == u'T' && field.text().isEmpty()) {  // as the W-3 window's box 13 does
                field.setText(QStringLiteral("Third-Party Sick Pay Recap"));
                key = QChar();
            }
        });
        QCOMPARE(TypeIntoText(QStringLiteral("[A..Z, ]"), CharCase::Upper, QStringLiteral("t1x")),  // "-" stays
                 QStringLiteral("THIRD-PARTY SICK PAY RECAPX"));
        QCOMPARE(seen, QStringLiteral("TX"));  // "1" never reached it
    }

    void aRequiredTextFieldKeepsTheFocusAfterTheWindowsExitHandlers() {
        QStringList order;
        connect(text_, &TFilterEdit::Exited, this, [&] { order << "window exit"; });
        text_->SetRequiredField(true);
        text_->setText(QStringLiteral("   "));
        window_->TabIntoFirst();
        PressTab();
        QVERIFY(text_->hasFocus());
        QCOMPARE(order, QStringList{"window exit"});
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"This field is required!"});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Warning);
        QTest::keyClicks(text_, "Ann");
        PressTab();
        QVERIFY(state_->hasFocus());
    }

    void pastingRefusedCharactersIsRefused() {
        text_->SetValidChars(QStringLiteral("[0..9,-]"));
        window_->TabIntoFirst();
        QApplication::clipboard()->setText(QStringLiteral("12345-67AB"));
        QTest::keyClick(text_, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text_->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("12345-6789"));
        QTest::keyClick(text_, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text_->text(), QStringLiteral("12345-6789"));
    }

    void stateLettersCycleAndDeleteClears() {
        state_->SetText(QStringLiteral("NY"));
        state_->setFocus(Qt::TabFocusReason);
        QTest::keyClick(state_, Qt::Key_N);
        QCOMPARE(state_->Text(), QStringLiteral("NC"));
        QTest::keyClick(state_, Qt::Key_B);
        QCOMPARE(state_->Text(), QStringLiteral("NC"));
        QTest::keyClick(state_, Qt::Key_Delete);
        QCOMPARE(state_->Text(), QString());
        QStringList shown;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(state_, Qt::Key_M, Qt::ShiftModifier);
            shown << state_->Text();
        }
        QCOMPARE(shown, (QStringList{"MA", "MD", "ME", "MI", "MN"}));
        QTest::keyClick(state_, Qt::Key_Down);  // the list's own keys still work
        QCOMPARE(state_->Text(), QStringLiteral("MO"));
        state_->SetOkToDel(false);
        QTest::keyClick(state_, Qt::Key_Backspace);
        QCOMPARE(state_->Text(), QStringLiteral("MO"));
    }

    void theStateListIsAlwaysTheFiftyFourCodes() {
        QCOMPARE(state_->count(), 54);
        QCOMPARE(state_->itemText(0), QStringLiteral("AK"));
        QCOMPARE(state_->itemText(53), QStringLiteral("WY"));
        QCOMPARE(state_->Text(), QString());
        state_->SetText(QStringLiteral("ZZ"));
        QCOMPARE(state_->Text(), QString());
        state_->SetText(QStringLiteral("ca"));
        QCOMPARE(state_->Text(), QStringLiteral("CA"));
    }

    void checkBoxesToggleBySpaceAndClickOnly() {
        QSignalSpy changed(check_, &QLineEdit::textChanged);
        QSignalSpy clicked(check_, &TCheckBoxEdit::Clicked);
        check_->setFocus(Qt::TabFocusReason);
        QTest::keyClick(check_, Qt::Key_Space);
        QVERIFY(check_->Checked());
        QCOMPARE(check_->text(), QStringLiteral("X"));
        for (Qt::Key key : {Qt::Key_X, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_A})
            QTest::keyClick(check_, key);
        QVERIFY(check_->Checked());
        QTest::mouseClick(check_, Qt::LeftButton);
        QVERIFY(!check_->Checked());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(clicked.count(), 1);
    }

    void readOnlyCheckBoxesStillReportClicks() {
        QSignalSpy clicked(check_, &TCheckBoxEdit::Clicked);
        check_->SetChecked(true);
        check_->setReadOnly(true);
        check_->setFocus(Qt::TabFocusReason);
        QTest::keyClick(check_, Qt::Key_Space);
        QTest::mouseClick(check_, Qt::LeftButton);
        QVERIFY(check_->Checked());
        QCOMPARE(clicked.count(), 1);
    }

    void maskedFieldsKeepTheirLiteralsAndBlanks() {
        QCOMPARE(ssn_->Text(), QStringLiteral("   -  -    "));
        ssn_->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(ssn_, "12a3456789");
        QCOMPARE(ssn_->Text(), QStringLiteral("123-45-6789"));
        ssn_->SetText(QStringLiteral("98765"));
        QCOMPARE(ssn_->Text(), QStringLiteral("987-65-    "));
        TMaskEdit phone{QString::fromLatin1(kPhoneLayout)};
        QCOMPARE(phone.Text(), QStringLiteral("   -   -    "));
        TMaskEdit ein{QString::fromLatin1(kEinLayout)};
        ein.SetText(QStringLiteral("12-3456789"));
        QCOMPARE(ein.Text(), QStringLiteral("12-3456789"));
    }

    void enterMovesToTheNextFieldAndEscapeCloses() {
        TEnterAsTab enterAsTab(window_.get());
        window_->TabIntoFirst();
        QTest::keyClick(text_, Qt::Key_Return);
        QVERIFY(state_->hasFocus());
        QTest::keyClick(state_, Qt::Key_Enter);
        QVERIFY(check_->hasFocus());
        QTest::keyClick(check_, Qt::Key_Escape);  // not asked to close
        QVERIFY(window_->isVisible());
        enterAsTab.SetEscapeAsClose(true);
        QTest::keyClick(check_, Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
    }

    void enterLeavesAFocusedButtonAloneAndStopsWhenTurnedOff() {
        TEnterAsTab enterAsTab(window_.get());
        auto* button = window_->Add(new QPushButton(QStringLiteral("Close")), "BtnClose", "Close");
        button->show();
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(button->hasFocus());
        enterAsTab.SetEnterAsTabKey(false);
        window_->TabIntoFirst();
        QTest::keyClick(text_, Qt::Key_Return);
        QVERIFY(text_->hasFocus());
    }
};

QTEST_MAIN(TestTextFields)
#include "tst_text_fields.moc"
