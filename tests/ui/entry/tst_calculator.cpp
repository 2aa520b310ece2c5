// The pop-up calculator as a user works it from a money field: opened by "C" or a
// double-click, driven by keys and button clicks, its result put into the field.
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "core/base/scripted_prompter.h"
#include "entry/field_window.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "ui/entry/calculator_window.h"
#include "ui/entry/dollar_edit.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

QString DisplayOf(QDialog& calculator) {
    auto* display = calculator.findChild<QLineEdit*>(QStringLiteral("Display"));
    return display ? display->text() : QStringLiteral("<no display>");
}

QPushButton* ButtonOf(QDialog& calculator, const char* name) {
    return calculator.findChild<QPushButton*>(QString::fromLatin1(name));
}

// A step that types keys into the calculator and checks what it then displays.
ModalScript::Step TypeAndSee(const QString& keys, const QString& shown) {
    return [keys, shown](QDialog& calculator) {
        QVERIFY(Expect<TCalculator>(calculator));
        QTest::keyClicks(&calculator, keys);
        QCOMPARE(DisplayOf(calculator), shown);
    };
}

}  // namespace

class TestCalculator : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<FieldWindow> window_;
    TDollarEdit* money_ = nullptr;  // 9 dollar digits, negatives refused, as the W-2's Box 1

private slots:
    void init() {
        prompter_ = std::make_unique<ScriptedPrompter>();
        window_ = std::make_unique<FieldWindow>(*prompter_);
        money_ = AddBox1Wages(*window_);
        QVERIFY(window_->Open());
    }
    void cleanup() {
        window_.reset();
        prompter_.reset();
    }

    void getFetchesTheFieldAndPutHandsItBackUnchanged() {
        money_->SetValue(1234.5);
        window_->TabIntoFirst();
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            QCOMPARE(DisplayOf(calculator), QStringLiteral("0"));
            QTest::keyClick(&calculator, Qt::Key_G);
            QCOMPARE(DisplayOf(calculator), QStringLiteral("1234.50"));
            QTest::keyClick(&calculator, Qt::Key_P);
            QVERIFY(!calculator.isVisible());
        });
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(script.Opened(), QStringList{"CALCULATOR"});
        QCOMPARE(money_->text(), QStringLiteral("1234.50"));
        QVERIFY(prompter_->Messages().empty());
    }

    void aDoubleClickOpensItAndTheButtonsWorkItOut() {
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            for (const char* name : {"Btn2", "Btn0", "Btn0", "BtnPlus", "Btn1", "Btn0", "BtnPerCent"})
                QTest::mouseClick(ButtonOf(calculator, name), Qt::LeftButton);
            QCOMPARE(DisplayOf(calculator), QStringLiteral("220"));
            QTest::mouseClick(ButtonOf(calculator, "BtnPut"), Qt::LeftButton);
        });
        QTest::mouseClick(money_, Qt::LeftButton);  // a double-click begins with a press, which enters the field
        QTest::mouseDClick(money_, Qt::LeftButton);
        QCOMPARE(money_->text(), QStringLiteral("220"));
        window_->activateWindow();  // as the window manager does when the calculator has gone
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTRY_VERIFY(money_->hasFocus());
        PressTab();
        QCOMPARE(money_->text(), QStringLiteral("220.00"));
    }

    void enterIsEqualsAndResultsAreRoundedToCents() {
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            TypeAndSee("1/3", "3")(calculator);
            QTest::keyClick(&calculator, Qt::Key_Return);
            QCOMPARE(DisplayOf(calculator), QStringLiteral("0.33"));
            QTest::keyClick(&calculator, Qt::Key_P);
        });
        window_->TabIntoFirst();
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(money_->text(), QStringLiteral("0.33"));
    }

    void divisionByZeroIsRefusedWithAMessage() {
        ModalScript script(window_->Ports());
        script.Then([this](QDialog& calculator) {
            QTest::keyClicks(&calculator, "7/0=");
            QCOMPARE(DisplayOf(calculator), QStringLiteral("7"));
            QCOMPARE(prompter_->Texts(), std::vector<std::string>{"You cannot divide by zero"});
            QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
            QVERIFY(calculator.isVisible());
        });
        window_->TabIntoFirst();
        QTest::keyClick(money_, Qt::Key_C);
    }

    void recallWorksOnlyOnceTheMemoryHoldsANumber() {
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            QPushButton* recall = ButtonOf(calculator, "BtnRecall");
            QVERIFY(recall && !recall->isEnabled());
            QTest::keyClicks(&calculator, "0s8l");  // Sto of 0 leaves rcL disabled, so "l" does nothing
            QVERIFY(!recall->isEnabled());
            QCOMPARE(DisplayOf(calculator), QStringLiteral("8"));
            QTest::keyClicks(&calculator, "S3L");
            QVERIFY(recall->isEnabled());
            QCOMPARE(DisplayOf(calculator), QStringLiteral("8"));
        });
        window_->TabIntoFirst();
        QTest::keyClick(money_, Qt::Key_C);
    }

    void homeMovesTheCalculatorToTheTopLeftCorner() {
        ModalScript script(window_->Ports());
        script.Then([](QDialog& calculator) {
            calculator.move(300, 200);
            QTest::keyClick(&calculator, Qt::Key_Home);
            QCOMPARE(calculator.pos(), calculator.screen()->availableGeometry().topLeft());
        });
        window_->TabIntoFirst();
        QTest::keyClick(money_, Qt::Key_C);
    }

    void theFieldRefusesAResultItCannotHold_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("ten dollar digits") << "1234567890" << "12.00"
                                           << "The calculator display will not~fit into the data entry field!";
        QTest::newRow("a negative amount") << "5-20=" << "0.00" << "This field does not accept negative amounts!";
    }
    void theFieldRefusesAResultItCannotHold() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        money_->SetValue(12);
        window_->TabIntoFirst();
        ModalScript script(window_->Ports());
        script.Then([keys](QDialog& calculator) {
            QTest::keyClicks(&calculator, keys + QStringLiteral("p"));
        });
        QTest::keyClick(money_, Qt::Key_C);
        QCOMPARE(money_->text(), shown);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{message.toStdString()});
    }
};

QNVR_TEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
