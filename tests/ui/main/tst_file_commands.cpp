// The File menu's commands driven through the main window on real files in a temporary
// home: the dialogs are filled in and confirmed with keys and clicks.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "core/base/prompter.h"
#include "support/main_window_harness.h"
#include "support/qnvr_test_main.h"
#include "ui/store/frm_backup.h"
#include "ui/store/frm_password.h"
#include "ui/store/password_dlg.h"

using namespace qnvr;
using namespace qnvr::testing;

class TestFileCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> app_;

    TFrmMain& Window() { return app_->Window(); }
    TFrmDataModule& Dm() { return app_->DataModule(); }
    std::vector<std::string> Messages() { return app_->Prompter().Texts(); }
    QString Path(const std::string& path) { return QString::fromStdString(path); }

    // File, New with a typed name, confirmed with Enter.
    void CreatePayer(const QString& name) {
        app_->Modals().Then([name](QDialog& dialog) {
            TypeInto(dialog, "NewFileName", name);
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QTest::keyClick(&Window(), Qt::Key_N, Qt::ControlModifier);
    }

    // Backup or Restore with the folder typed into the dialog.
    void BackupOrRestore(QToolButton* button, const QString& folder) {
        app_->Modals().Then([folder](QDialog& dialog) {
            TypeInto(dialog, "Path", folder);
            Click(dialog, "BtnOk");
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void SetEmployee(const std::string& lastName) {
        Dm().EditW2Rec([&](W2Record& w2) { w2.Boxe3 = lastName; });
        Dm().RSW2().PostRec();
    }

private slots:
    void initTestCase() { MainWindowHarness::UseTemporaryConfigFolder(); }
    void init() {
        app_ = std::make_unique<MainWindowHarness>();
        app_->Start();
    }
    void cleanup() {
        QCOMPARE(app_->Modals().Unexpected(), QStringList());
        QCOMPARE(app_->Modals().Pending(), std::size_t(0));
        app_.reset();
    }

    void newRefusesANameInUseAndKeepsTheOpenFile() {
        CreatePayer(QStringLiteral("Acme"));
        SetEmployee("SMITH");
        CreatePayer(QStringLiteral("Acme"));
        QCOMPARE(Messages(), std::vector<std::string>{"File already exists!"});
        QCOMPARE(app_->Prompter().Messages()[0].style, MsgStyle::Error);
        QCOMPARE(Path(Dm().PayerFilePath()), Path(app_->DataFolder() + "Acme.W226"));
        QCOMPARE(Dm().W2Rec().Boxe3, std::string("SMITH"));
        QCOMPARE(QDir(Path(app_->DataFolder())).entryList(QDir::Files).size(), 2);
    }

    void theNewFileDialogCreatesNothingOnEscapeOrABlankName() {
        app_->Modals().Then([](QDialog& dialog) {
            TypeInto(dialog, "NewFileName", QStringLiteral("Acme"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(Window().BtnNew, Qt::LeftButton);
        app_->Modals().Then([](QDialog& dialog) {
            TypeInto(dialog, "NewFileName", QStringLiteral("   "));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QTest::mouseClick(Window().BtnNew, Qt::LeftButton);
        app_->Modals().Then([](QDialog& dialog) {  // characters a file name may not hold never arrive
            TypeInto(dialog, "NewFileName", QStringLiteral("../a/b*c"));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("NewFileName"))->text(), QStringLiteral("abc"));
            Click(dialog, "BtnCancel");
        });
        QTest::mouseClick(Window().BtnNew, Qt::LeftButton);
        QVERIFY(!Dm().PayerFileOpen());
        QCOMPARE(QDir(Path(app_->DataFolder())).entryList(QDir::Files).size(), 0);
    }

    void openRefusesAFileThatIsNoPayerFile() {
        const QString text = Path(app_->Home() + "notes.txt");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        app_->Modals().Then([text](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Open Quenvora W-2 File"));
            ChooseFile(dialog, text);
        });
        QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(Messages(), std::vector<std::string>{"The selected file is not valid"});
        QVERIFY(!Dm().PayerFileOpen());
    }

    void saveAsWithADottedNameOpensTheCopyUnderTheNameBeforeTheDot() {
        CreatePayer(QStringLiteral("Acme"));
        SetEmployee("SMITH");
        const QString folder = Path(app_->Home());
        app_->Modals().Then([folder](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Quenvora W-2 File As"));
            ChooseFile(dialog, folder + QStringLiteral("Acme Copy.2026"));
        });
        QTest::mouseClick(Window().BtnSaveAs, Qt::LeftButton);

        QCOMPARE(Messages(), std::vector<std::string>{"Files have been successfully saved"});
        QCOMPARE(Path(Dm().PayerFilePath()), folder + QStringLiteral("Acme Copy.W226"));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("Acme Copy.W326")));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("Acme Copy.2026")));
        QCOMPARE(Dm().W2Rec().Boxe3, std::string("SMITH"));
        QVERIFY(QFileInfo::exists(Path(app_->DataFolder() + "Acme.W226")));  // the original stays
        QCOMPARE(Window().MnuMRU[0]->text(), "&0 " + Path(app_->DataFolder() + "Acme.W226"));
    }

    void backupIntoAMissingFolderShowsTheCopyErrorAndReopensTheFile() {
        CreatePayer(QStringLiteral("Acme"));
        const QString missing = Path(app_->Home() + "no such folder");
        app_->Modals().Then([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Quenvora W-2 File Backup"));
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("LblFileName"))->text(),
                     Path(app_->DataFolder() + "Acme.W226"));
            TypeInto(dialog, "Path", missing);
            Click(dialog, "BtnOk");
        });
        QTest::mouseClick(Window().BtnBackup, Qt::LeftButton);

        QCOMPARE(Messages(), std::vector<std::string>{
                                 "The following error occured during the copy file process:~No such file or directory"});
        const auto& shown = app_->Prompter().Messages()[0];
        QCOMPARE(shown.style, MsgStyle::Error);
        QCOMPARE(shown.caption, std::string(kAppTitle));
        QVERIFY(Dm().PayerFileOpen());
        QVERIFY(Dm().RSW2().Active());
        QVERIFY(Window().MnuSaveAs->isEnabled());
        QVERIFY(!QApplication::overrideCursor());  // the hourglass came down
    }

    void restoreBringsBackTheBackupPickedWithBrowse() {
        CreatePayer(QStringLiteral("Acme"));
        SetEmployee("SMITH");
        const QString usb = Path(app_->Home() + "usb");
        QDir().mkpath(usb);
        app_->Modals()
            .Then([usb](QDialog& dialog) {
                Click(dialog, "BtnBrowse");  // the folder picker is answered by the next step
                QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Path"))->text(), usb);
                Click(dialog, "BtnOk");
            })
            .Then([usb](QDialog& picker) {
                QCOMPARE(picker.windowTitle(), QStringLiteral("Select the backup to folder"));
                ChooseFile(picker, usb);
            });
        QTest::mouseClick(Window().BtnBackup, Qt::LeftButton);
        QCOMPARE(Messages(), std::vector<std::string>{"Backup completed successfully"});
        QVERIFY(QFileInfo::exists(usb + QStringLiteral("/Acme.W226")));
        QVERIFY(QFileInfo::exists(usb + QStringLiteral("/Acme.W326")));

        SetEmployee("JONES");
        app_->Modals().Then([usb](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Quenvora W-2 Restore File Backup"));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Path"))->text(), usb);  // remembered
            Click(dialog, "BtnOk");
        });
        QTest::mouseClick(Window().BtnRestore, Qt::LeftButton);
        QCOMPARE(Messages().back(), std::string("File restore completed successfully"));
        QCOMPARE(Dm().W2Rec().Boxe3, std::string("SMITH"));
        QVERIFY(Dm().PayerFileOpen());
    }

    // Once a file has opened through the Open dialog, the keys typed next reach the main
    // window: Alt+T opens the Tools menu.
    void keysTypedAfterOpenReachTheMainWindow() {
        CreatePayer(QStringLiteral("Acme"));
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        const QString path = Path(app_->DataFolder() + "Acme.W226");
        app_->Modals().Then([path](QDialog& dialog) { ChooseFile(dialog, path); });
        QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(Dm().PayerFileOpen());
        QCOMPARE(QApplication::activeWindow(), &Window());
        QWidget* focused = QApplication::focusWidget();  // nothing of the closed dialog
        QVERIFY2(focused == &Window() || Window().isAncestorOf(focused),
                 qPrintable(focused ? focused->objectName() : QStringLiteral("no focus")));
        QTRY_COMPARE(QGuiApplication::focusWindow(), Window().windowHandle());
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(Window().MnuTools->isVisible());
        QTest::keyClick(Window().MnuTools, Qt::Key_Escape);
        QTRY_VERIFY(!Window().MnuTools->isVisible());
    }

    // With a payer file open the main window shows what it holds and what comes next.
    void theMainWindowSummarisesTheOpenPayer() {
        CreatePayer(QStringLiteral("Acme"));
        QVERIFY(Window().SummaryPanel->isVisible());
        QVERIFY(!Window().MessagePanel->isVisible());
        QCOMPARE(Window().LblEmployer->text(), QStringLiteral("Employer: (no name yet)    EIN: (none yet)"));
        QCOMPARE(Window().LblFormsW2->text(), QStringLiteral("Forms W-2: 1"));
        QCOMPARE(Window().LblNextStep->text(),
                 QStringLiteral("Next: enter or check Form W-3 (Forms, Form W-3) and close it."));

        Dm().EditW3Rec([&](W3Record& w3) {
            w3.Boxf_a = "ACME & SONS";
            w3.Boxe = "12-3456789";
        });
        Dm().RSW3().PostRec();
        const double wages[] = {1000.10, 2500.25};
        for (std::size_t k = 0; k < std::size(wages); ++k) {
            if (k > 0) Dm().RSW2().NewRec();
            Dm().EditW2Rec([&](W2Record& w2) {
                w2.Amount1 = wages[k];
                w2.Amount2 = 100;
                w2.Amount6 = 14.5;
            });
            Dm().RSW2().PostRec();
        }
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        QVERIFY(!Window().SummaryPanel->isVisible());
        QVERIFY(Window().MessagePanel->isVisible());

        // A client file written earlier for this payer: the date and folder of the processing.
        const QString efw2 = Path(app_->DataFolder() + "EFW2");
        QVERIFY(QDir().mkpath(efw2));
        QFile client(efw2 + QStringLiteral("/Acme.txt"));
        QVERIFY(client.open(QIODevice::WriteOnly));
        client.close();
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QVERIFY(Window().SummaryPanel->isVisible());
        QCOMPARE(Window().LblEmployer->text(), QStringLiteral("Employer: ACME & SONS    EIN: 12-3456789"));
        QCOMPARE(Window().LblFormsW2->text(), QStringLiteral("Forms W-2: 2"));
        QStringList totals;
        for (QLabel* total : Window().LblBoxTotal) totals << total->text();
        QCOMPARE(totals, QStringList({"$3,500.35", "$200.00", "$0.00", "$0.00", "$0.00", "$29.00"}));
        QCOMPARE(Window().LblReview->text(),
                 QStringLiteral("Since the file was opened: Form W-3 not yet reviewed, Forms W-2 not yet reviewed."));
        QVERIFY2(Window().LblLastEfw2->text().startsWith(QStringLiteral("Last EFW2 processing: ")),
                 qPrintable(Window().LblLastEfw2->text()));
        QVERIFY(Window().LblLastEfw2->text().endsWith(QStringLiteral("file Acme.txt in the folder\n") +
                                                      QFileInfo(efw2).absoluteFilePath()));
        QVERIFY(!Window().LblBrowseOnly->isVisible());
    }

    void aPasswordIsAskedForAtTheNextOpenAndRefusedInAnotherLetterCase() {
        CreatePayer(QStringLiteral("Acme"));
        app_->Modals().Then([](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Set/Change Password"));
            auto* found = Expect<TFrmPassword>(dialog);
            if (!found) return;
            auto& window = *found;
            QTest::keyClicks(window.PW1, QStringLiteral("Secret12"));
            QTest::keyClick(window.PW1, Qt::Key_Return);  // Enter moves on to the confirmation
            QCOMPARE(window.focusWidget(), window.PW2);
            QTest::keyClicks(window.PW2, QStringLiteral("Secret12"));
            Click(dialog, "BtnOk");
        });
        app_->ChooseMenuItem(Window().MnuTools, Window().MnuPassword);
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);

        auto typePassword = [](const QString& password) {
            return [password](QDialog& dialog) {
                auto* found = Expect<TPasswordDlg>(dialog);
                if (!found) return;
                auto& prompt = *found;
                QCOMPARE(prompt.windowTitle(), QString::fromLatin1(kAppTitle));
                QCOMPARE(prompt.Label1->text(), QStringLiteral("Enter File Password"));
                QCOMPARE(prompt.Password->echoMode(), QLineEdit::Password);
                QTest::keyClicks(prompt.Password, password);
                QTest::keyClick(prompt.Password, Qt::Key_Return);
            };
        };
        app_->Modals().Then(typePassword(QStringLiteral("SECRET12")));
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QCOMPARE(Messages(), std::vector<std::string>{"Incorrect Password"});
        QVERIFY(!Dm().PayerFileOpen());
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00"));
        QVERIFY(Window().MessagePanel->isVisible());

        app_->Modals().Then(typePassword(QStringLiteral("Secret12")));
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QVERIFY(Dm().PayerFileOpen());
        QCOMPARE(Messages().size(), std::size_t(1));
    }

    void aCancelledPasswordPromptOpensNothingAndSaysNothing() {
        CreatePayer(QStringLiteral("Acme"));
        Dm().EditW3Rec([&](W3Record& w3) { w3.Password = Scramble("Secret12"); });
        Dm().RSW3().PostRec();
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        app_->Modals().Then([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QVERIFY(!Dm().PayerFileOpen());
        QVERIFY(Messages().empty());
    }
};

QNVR_TEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
