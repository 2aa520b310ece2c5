// The Set/Change Password window and the password prompt, typed into as a user does.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/scripted_prompter.h"
#include "core/store/data_module.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "ui/store/frm_password.h"
#include "ui/store/password_dlg.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

class TestPasswordWindows : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<TFrmDataModule> dm_;
    std::unique_ptr<TFrmPassword> window_;

    std::string PayerFile() const { return dir_->filePath(QStringLiteral("ACME.W226")).toStdString(); }

    // Opens the window on the payer file as Tools, Password does.
    void OpenWindow() {
        window_ = std::make_unique<TFrmPassword>(*dm_);
        UsePorts(*window_, *ports_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void Type(QLineEdit* field, const QString& keys) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, keys);
    }
    void StoredPasswordIs(const std::string& plain) {
        dm_->ClosePayerFile();
        dm_->ReopenPayerFile(PayerFile());
        QCOMPARE(Unscramble(dm_->W3Rec().Password), plain);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        dm_ = std::make_unique<TFrmDataModule>(*ports_);
        dm_->OpenPayerFile(PayerFile());
        QVERIFY(dm_->PayerFileOpen());
    }
    void cleanup() {
        window_.reset();
        dm_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void theWindowShowsItsRules() {
        OpenWindow();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Set/Change Password"));
        QCOMPARE(window_->Label2->text(), QStringLiteral("Confirm Pasword"));
        QCOMPARE(window_->GroupBox1->title(), QStringLiteral("Password Rules"));
        QCOMPARE(window_->GroupBox1->findChildren<QLabel*>().size(), 4);
        for (QLineEdit* field : {window_->PW1, window_->PW2}) QCOMPARE(field->echoMode(), QLineEdit::Password);
        for (QPushButton* button : {window_->BtnOk, window_->BtnCancel})
            QVERIFY(!(button->focusPolicy() & Qt::TabFocus));
    }

    void theRulesRefuseAndAcceptAsTheUserTypes() {
        struct Case {
            const char* pw1;
            const char* pw2;
            const char* message;  // nullptr: accepted
        };
        const Case cases[] = {
            {"Abc1", "Abc1", "The Password cannot be less than 5 characters"},
            {"Abcd1", "Abcd2", "The Password and Confirmation fields don't match"},
            {"Abcd1", "", "The Password and Confirmation fields don't match"},
            {"Abcd1", "Abcd1", nullptr},
            {"Secret12Abcd", "Secret12Abcd", nullptr},
        };
        for (const Case& c : cases) {
            OpenWindow();
            prompter_->Clear();
            Type(window_->PW1, QString::fromLatin1(c.pw1));
            Type(window_->PW2, QString::fromLatin1(c.pw2));
            QTest::mouseClick(window_->BtnOk, Qt::LeftButton);
            if (c.message) {
                QCOMPARE(prompter_->Texts(), std::vector<std::string>{c.message});
                QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
                QVERIFY(window_->isVisible());
                StoredPasswordIs("");
            } else {
                QVERIFY(prompter_->Messages().empty());
                QCOMPARE(window_->result(), int(QDialog::Accepted));
                StoredPasswordIs(c.pw1);
            }
        }
    }

    void keepingThePasswordNeedsItTypedAgainAndClearingItRemovesIt() {
        dm_->EditW3Rec([&](W3Record& w3) { w3.Password = Scramble("Secret12"); });
        dm_->RSW3().PostRec();
        OpenWindow();
        QCOMPARE(window_->PW1->text(), QStringLiteral("Secret12"));
        QVERIFY(window_->PW2->text().isEmpty());
        QTest::mouseClick(window_->BtnOk, Qt::LeftButton);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"The Password and Confirmation fields don't match"});

        Type(window_->PW1, QString());
        QTest::mouseClick(window_->BtnOk, Qt::LeftButton);
        QVERIFY(!window_->isVisible());
        StoredPasswordIs("");
    }

    void onlyLettersAndDigitsUpToTwelveReachTheFields() {
        OpenWindow();
        Type(window_->PW1, QStringLiteral("ab-c d!1_"));
        QCOMPARE(window_->PW1->text(), QStringLiteral("abcd1"));
        // A pasted text with other characters would be stored without them and could not
        // be typed again at the next open: it is refused whole.
        QGuiApplication::clipboard()->setText(QStringLiteral("Sécret-12"));
        QTest::keyClick(window_->PW1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window_->PW1->text(), QStringLiteral("abcd1"));
        Type(window_->PW2, QStringLiteral("abcdefghij12345"));
        QCOMPARE(window_->PW2->text(), QStringLiteral("abcdefghij12"));
    }

    void enterMovesOnAndEscapeDoesNotClose() {
        OpenWindow();
        Type(window_->PW1, QStringLiteral("Secret12"));
        QTest::keyClick(window_->PW1, Qt::Key_Return);
        QCOMPARE(window_->focusWidget(), window_->PW2);
        QTest::keyClick(window_->PW2, Qt::Key_Escape);
        QVERIFY(window_->isVisible());
        QTest::keyClick(window_->PW2, Qt::Key_Enter);
        QCOMPARE(window_->focusWidget(), window_->PW1);
        QVERIFY(window_->isVisible());  // Enter never confirms
        QTest::mouseClick(window_->BtnCancel, Qt::LeftButton);
        QCOMPARE(window_->result(), int(QDialog::Rejected));
        StoredPasswordIs("");
    }

    void thePromptReturnsWhatWasTypedOrNothingWhenCancelled() {
        // The prompt belongs to the window the user works in, as the main window when a
        // payer file opens.
        QWidget owner;
        UsePorts(owner, *ports_);
        owner.show();
        QApplication::setActiveWindow(&owner);
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        ModalScript modals(*ports_);
        DialogPasswordEntry entry;
        modals
            .Then([](QDialog& dialog) {
                auto* found = Expect<TPasswordDlg>(dialog);
                if (!found) return;
                auto& prompt = *found;
                QCOMPARE(prompt.windowTitle(), QStringLiteral("Caption"));
                QCOMPARE(prompt.Password->width(), 241);
                QTest::keyClicks(prompt.Password, QStringLiteral("Secret12"));
                QTest::mouseClick(prompt.BtnOk, Qt::LeftButton);
            })
            .Then([](QDialog& dialog) {
                if (auto* prompt = Expect<TPasswordDlg>(dialog)) QTest::keyClicks(prompt->Password, QStringLiteral("Secret12"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
            })
            .Then([](QDialog& dialog) {
                if (auto* prompt = Expect<TPasswordDlg>(dialog)) QTest::mouseClick(prompt->BtnCancel, Qt::LeftButton);
            });
        QCOMPARE(entry.Ask("Enter File Password", "Caption"), std::optional<std::string>("Secret12"));
        QCOMPARE(entry.Ask("Enter File Password", "Caption"), std::optional<std::string>());
        QCOMPARE(entry.Ask("Enter File Password", "Caption"), std::optional<std::string>());
    }
};

QNVR_TEST_MAIN(TestPasswordWindows)
#include "tst_password_windows.moc"
