// The money field as a user types into it: Tab in, keys, Tab out.
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "entry/field_window.h"
#include "support/modal_script.h"
#include "ui/entry/calculator_window.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_color.h"

using namespace qnvr;
using namespace qnvr::testing;

class TestMoneyField : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<FieldWindow> window_;
    TDollarEdit* money_ = nullptr;  // Amount1: 9 dollar digits, negatives refused, as on the W-2
    TDollarEdit* signedMoney_ = nullptr;  // negatives allowed, the field's defaults
    QLineEdit* after_ = nullptr;

    void TabIntoMoney() { window_->TabIntoFirst(); }

private slots:
    void init() {
        prompter_ = std::make_unique<ScriptedPrompter>();
        window_ = std::make_unique<FieldWindow>(*prompter_);
        money_ = AddBox1Wages(*window_);
        after_ = window_->Add(new QLineEdit, "After", "After");
        signedMoney_ = window_->Add(new TDollarEdit, "SignedAmount", "Signed amount");
        QVERIFY(window_->Open());
    }
    void cleanup() {
        TDollarEdit::SetCalculatorOpener({});
        window_.reset();
        prompter_.reset();
    }

    void typingIsLimitedKeyByKey_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("tenth dollar digit refused") << "1234567890" << "123456789";
        QTest::newRow("point still accepted after nine digits") << "123456789.5" << "123456789.5";
        QTest::newRow("only Backspace once the cents are full") << "12.345.-" << "12.34";
        QTest::newRow("letters refused") << "1a2b" << "12";
        QTest::newRow("minus refused where negatives are") << "-5" << "5";
    }
    void typingIsLimitedKeyByKey() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        TabIntoMoney();
        QTest::keyClicks(money_, keys);
        QCOMPARE(money_->text(), shown);
        QTest::keyClick(money_, Qt::Key_Backspace);
        QCOMPARE(money_->text(), shown.chopped(1));
        QVERIFY(prompter_->Messages().empty());
    }

    void enteringShowsTheBareNumberAndTheFirstKeyReplacesIt() {
        money_->SetValue(1234.5);
        QCOMPARE(money_->text(), QStringLiteral("1,234.50"));
        TabIntoMoney();
        QCOMPARE(money_->text(), QStringLiteral("1234.50"));
        QCOMPARE(money_->selectedText(), QStringLiteral("1234.50"));
        QTest::keyClick(money_, Qt::Key_7);
        QCOMPARE(money_->text(), QStringLiteral("7"));
        PressTab();
        QVERIFY(after_->hasFocus());
        QCOMPARE(money_->text(), QStringLiteral("7.00"));
        QCOMPARE(money_->Value(), 7.0);
    }

    void aClickIntoTheFieldSelectsTheAmountToo() {
        money_->SetValue(42);
        QTest::mouseClick(money_, Qt::LeftButton, {}, QPoint(5, money_->height() / 2));
        QTRY_COMPARE(money_->selectedText(), QStringLiteral("42.00"));
        QTest::keyClicks(money_, "9");
        QCOMPARE(money_->text(), QStringLiteral("9"));
    }

    void negativeAmountsAreDrawnInRed() {
        signedMoney_->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(signedMoney_, "-5");
        PressTab();
        QCOMPARE(signedMoney_->text(), QStringLiteral("-5.00"));
        QCOMPARE(signedMoney_->palette().color(QPalette::Text), QColor(255, 0, 0));
        signedMoney_->SetValue(5);
        QVERIFY(signedMoney_->palette().color(QPalette::Text) != QColor(255, 0, 0));
        signedMoney_->SetFontColor(Qt::blue);
        QCOMPARE(signedMoney_->palette().color(QPalette::Text), QColor(Qt::blue));
    }

    void aClearedFieldReadsZero() {
        money_->SetValue(12);
        TabIntoMoney();
        QTest::keyClick(money_, Qt::Key_Backspace);
        QCOMPARE(money_->text(), QString());
        PressTab();
        QCOMPARE(money_->text(), QStringLiteral("0.00"));
    }

    void valuesReadAndWritten() {
        money_->SetCurrency(true);
        money_->SetValue(1000);
        QCOMPARE(money_->text(), QStringLiteral("$1,000.00"));
        QCOMPARE(money_->Value(), 1000.0);
        money_->SetCurrency(false);
        money_->SetValue(5e12);
        QCOMPARE(money_->text(), QStringLiteral("999,999,999,999.99"));
        QCOMPARE(money_->FieldValue(), kMaxMoneyValue);
    }

    void aRequiredFieldKeepsTheFocusUntilItHoldsAnAmount() {
        money_->SetRequiredField(true);
        TabIntoMoney();
        PressTab();
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"This field is required!"});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Warning);
        QVERIFY(money_->hasFocus());
        QTest::keyClicks(money_, "3");
        PressTab();
        QVERIFY(after_->hasFocus());
        QCOMPARE(prompter_->Messages().size(), std::size_t{1});
    }

    void aFieldThatCannotTakeTheFocusBackSaysSo() {
        money_->SetRequiredField(true);
        connect(money_, &TDollarEdit::Exited, this, [&] { money_->setEnabled(false); });
        TabIntoMoney();
        PressTab();
        QVERIFY(after_->hasFocus());
        QCOMPARE(prompter_->Texts(), (std::vector<std::string>{
                                         "This field is required!",
                                         "A non fatal error has occured in the program.~Click on OK to continue."}));
        QCOMPARE(prompter_->Messages()[1].style, MsgStyle::Error);
    }

    void theWindowsHandlersRunAfterTheFieldsOwnSteps() {
        QStringList seen;
        const QColor plain = FieldColor(money_);
        connect(money_, &TDollarEdit::Entered, this, [&] {
            seen << "enter " + money_->text();
            SetFieldColor(money_, QColor(187, 255, 255));  // the window's highlight
        });
        connect(money_, &TDollarEdit::Exited, this, [&] {
            seen << "exit " + money_->text();
            SetFieldColor(money_, plain);
        });
        money_->SetValue(1234.5);
        TabIntoMoney();
        QTest::keyClicks(money_, "8");
        PressTab();
        QCOMPARE(seen, (QStringList{"enter 1234.50", "exit 8.00"}));
        // The calculator gives back the colour the field had before the highlight.
        TDollarEdit::SetCalculatorOpener([](TDollarEdit&, const QString&) { return std::optional<QString>(); });
        money_->setFocus(Qt::TabFocusReason);
        QCOMPARE(FieldColor(money_), QColor(187, 255, 255));
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(FieldColor(money_), plain);
    }

    void theCalculatorKeyOpensTheCalculatorWithTheFieldsText() {
        QString seeded;
        QColor colorWhileOpen;
        TDollarEdit::SetCalculatorOpener([&](TDollarEdit& field, const QString& text) {
            seeded = text;
            colorWhileOpen = FieldColor(&field);
            return std::optional<QString>(QStringLiteral("  250.5"));
        });
        money_->SetValue(1234.5);
        TabIntoMoney();
        QTest::keyClick(money_, Qt::Key_C, Qt::ShiftModifier);
        QCOMPARE(seeded, QStringLiteral("1234.50"));
        QCOMPARE(colorWhileOpen, QColor(255, 255, 0));
        QCOMPARE(money_->text(), QStringLiteral("250.5"));
        seeded.clear();
        QTest::mouseDClick(money_, Qt::LeftButton);
        QCOMPARE(seeded, QStringLiteral("250.5"));
    }

    void calculatorResultsThatDoNotFitAreRefused_data() {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("ten dollar digits") << "1234567890.12" << "12.00"
                                           << "The calculator display will not~fit into the data entry field!";
        QTest::newRow("negative into a field without negatives")
            << "-20.00" << "0.00" << "This field does not accept negative amounts!";
    }
    void calculatorResultsThatDoNotFitAreRefused() {
        QFETCH(QString, result);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        TDollarEdit::SetCalculatorOpener([&](TDollarEdit&, const QString&) { return std::optional<QString>(result); });
        money_->SetValue(12);
        TabIntoMoney();
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(money_->text(), shown);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
    }

    void closingTheCalculatorWithoutPutLeavesTheField() {
        money_->SetValue(12);
        TabIntoMoney();
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            QVERIFY(Expect<TCalculator>(calculator));
            QTest::keyClicks(&calculator, "99");
            QTest::keyClick(&calculator, Qt::Key_Escape);
        });
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(script.Opened(), QStringList{"CALCULATOR"});
        QCOMPARE(money_->text(), QStringLiteral("12.00"));
        QTest::keyClick(money_, Qt::Key_5);  // the key did not count as the first one
        QCOMPARE(money_->text(), QStringLiteral("5"));
    }

    void readOnlyFieldsIgnoreTypingAndTheCalculator() {
        bool opened = false;
        TDollarEdit::SetCalculatorOpener([&](TDollarEdit&, const QString&) {
            opened = true;
            return std::optional<QString>(QStringLiteral("1"));
        });
        money_->SetValue(300);
        money_->setReadOnly(true);
        TabIntoMoney();
        QTest::keyClicks(money_, "5c");
        QTest::mouseDClick(money_, Qt::LeftButton);
        QVERIFY(!opened);
        QCOMPARE(money_->Value(), 300.0);
    }

    void pastingWhatTheKeysRefuseIsRefused_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two points") << "1.2.3" << "";
        QTest::newRow("a negative amount") << "-500" << "";
        QTest::newRow("ten dollar digits") << "1234567890" << "";
        QTest::newRow("a formatted amount") << "$1,234.50" << "$1,234.50";
    }
    void pastingWhatTheKeysRefuseIsRefused() {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        TabIntoMoney();
        QTest::keyClick(money_, Qt::Key_Backspace);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(money_, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(money_->text(), shown);
    }

    void textThatIsNoNumberIsReportedWhenRead() {
        money_->setText(QStringLiteral("1.2.3"));  // as only a program can put it there
        QVERIFY_THROWS_EXCEPTION(EConvertError, money_->Value());
        TabIntoMoney();
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"'1.2.3' is not a valid number"});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
    }

    void digitsSetTheLongestText() {
        money_->SetDollarDigits(6);
        QCOMPARE(money_->MaxLength(), 10);
        money_->SetCentDigits(0);
        QCOMPARE(money_->MaxLength(), 8);
        TabIntoMoney();
        QTest::keyClicks(money_, "12345678");
        QCOMPARE(money_->text(), QStringLiteral("123456"));
        PressTab();
        QCOMPARE(money_->text(), QStringLiteral("123,456"));
    }
};

QTEST_MAIN(TestMoneyField)
#include "tst_money_field.moc"
