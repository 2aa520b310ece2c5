// The EFW2 window as a user works it: the submitter fields typed with Enter between them,
// their marking colours, the check boxes and their questions, Process, Reset, Close, the
// country code document and the help topic.
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <filesystem>
#include <memory>

#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_files.h"
#include "efw2/efw2_fixture.h"
#include "efw2/submitter_keys.h"
#include "efw2/written_efw2_files.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "support/temp_dir.h"
#include "ui/base/help_window.h"
#include "ui/efw2/frm_efw2.h"
#include "ui/efw2/frm_efw2_audit.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_color.h"
#include "ui/entry/field_text.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;
namespace fs = std::filesystem;

namespace {

// Record identifiers, with the counts of RT and RF.
QStringList Outline(const std::vector<std::string>& lines) {
    QStringList outline;
    for (const std::string& line : lines) {
        const std::string id = line.substr(0, 2);
        if (id == "RT") outline << QString::fromStdString("RT " + line.substr(2, 7));
        else if (id == "RF") outline << QString::fromStdString("RF " + line.substr(7, 9));
        else outline << QString::fromStdString(id);
    }
    return outline;
}

}  // namespace

class TestEfw2Window : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the desktop's document viewer.
    void OpenDocumentUrl(const QUrl& url) { openedUrls_ << url; }

private:
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<TFrmDataModule> dm_;
    std::vector<std::string> masterList_;
    std::unique_ptr<TFrmEFW2> window_;
    QList<QUrl> openedUrls_;

    std::string ProgramDir() const { return dir_->File("program") + "/"; }
    std::string DataDir() const { return dir_->File("data") + "/"; }
    Efw2Paths Paths() const { return Efw2Paths::For(ProgramDir(), DataDir()); }

    // Opens a payer file with this employer and employees, both entry windows reviewed.
    void OpenPayer(const std::string& employer, int employees, int reviewCount = 2) {
        dm_->ClosePayerFile();
        const std::string path = DataDir() + employer + ".W226";
        WritePayerFile(path, Employer(employer), Employees(employees));
        dm_->OpenPayerFile(path);
        QVERIFY(dm_->PayerFileOpen());
        dm_->ClearReviews();
        if (reviewCount > 0) dm_->EntryWindowReviewed(EntryWindow::W3);
        if (reviewCount > 1) dm_->EntryWindowReviewed(EntryWindow::W2);
    }

    // The window as the EFW2 Module command opens it: opening steps, shown, active.
    TFrmEFW2& OpenWindow() {
        window_ = std::make_unique<TFrmEFW2>(*dm_, masterList_, Paths());
        UsePorts(*window_, *ports_);
        window_->FormShow();
        window_->show();
        window_->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window_.get())); }();
        return *window_;
    }

    template <class Field = QWidget>
    Field* Find(const char* name) {
        return window_->findChild<Field*>(QString::fromLatin1(name));
    }

    void TypeSubmitter(const SubmitterKeys& keys) { testing::TypeSubmitter(*window_, keys); }

    void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

    // Processes the payer that is open: opens the window, lets step set it up, presses
    // Process and closes the window.
    void ProcessClient(const std::function<void(TFrmEFW2&)>& step) {
        TFrmEFW2& w = OpenWindow();
        step(w);
        QVERIFY(w.BtnProcess->isEnabled());
        QTest::mouseClick(w.BtnProcess, Qt::LeftButton);
        QVERIFY(!w.BtnProcess->isEnabled());
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        fs::create_directories(ProgramDir());
        fs::create_directories(DataDir());
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        dm_ = std::make_unique<TFrmDataModule>(*ports_);
        masterList_.clear();
        openedUrls_.clear();
    }
    void cleanup() {
        window_.reset();
        // Every EFW2 file the test had the window write passes the audit.
        const std::vector<std::string> errors = Efw2ErrorsBelow(dir_->Path());
        QVERIFY2(errors.empty(), errors.empty() ? "" : errors.front().c_str());
        dm_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void aFirstOpeningShowsEmptySettingsAndCreatesItsFiles() {
        OpenPayer("ALPHA WIDGETS", 1);
        TFrmEFW2& w = OpenWindow();
        QCOMPARE(w.windowTitle(), QStringLiteral("EFW2 - Submitter Information and File Creation Version 2026.00"));
        for (const char* name : kSubmitterTabOrder) QCOMPARE(FieldText(Find(name)).remove('-').trimmed(), QString());
        QCOMPARE(w.TotalClients->text(), QStringLiteral("0"));
        QCOMPARE(w.TotalRecords->text(), QStringLiteral("0"));
        QCOMPARE(w.FW3Amount1->text(), QStringLiteral("$0.00"));
        QVERIFY(w.BtnProcess->isEnabled());
        QVERIFY(!w.BtnReset->isEnabled());
        QVERIFY(w.ChkSubmitter->isEnabled() && !w.ChkSubmitter->isChecked());
        QVERIFY(!w.ResubID->isEnabled());
        QCOMPARE(w.CurClientPanel->text(), QStringLiteral(" Current Client:  ALPHA WIDGETS"));
        QCOMPARE(QApplication::focusWidget(), w.EIN);
        QVERIFY(fs::is_directory(DataDir() + "EFW2"));
        QCOMPARE(fs::file_size(ProgramDir() + "QNVR.W2S"), std::uintmax_t(SubmitterRecord::kSize));
        // Not both entry windows reviewed: nothing can be processed.
        window_.reset();
        dm_->ClearReviews();
        dm_->EntryWindowReviewed(EntryWindow::W3);
        QVERIFY(!OpenWindow().BtnProcess->isEnabled());
        QVERIFY(!window_->ChkFinal->isEnabled());
    }

    void typedSettingsComeBackAtTheNextOpening() {
        OpenPayer("ALPHA WIDGETS", 1);
        OpenWindow();
        SubmitterKeys keys = kValidSubmitterKeys;
        keys["ResubInd"] = " ";
        keys["ResubID"] = "Wf12ab";
        keys["ZipCode"] = "1a0b001";  // letters refused
        keys["ContactExt"] = "123";
        keys["CountryCode"] = "c1a";
        TypeSubmitter(keys);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // Escape closes and saves
        QVERIFY(!window_->isVisible());

        TFrmEFW2& w = OpenWindow();
        QCOMPARE(w.EIN->Text(), QStringLiteral("98-7654321"));
        QCOMPARE(w.UserID->text(), QStringLiteral("ABCD1234"));
        QVERIFY(w.ResubInd->Checked());
        QVERIFY(w.ResubID->isEnabled());
        QCOMPARE(w.ResubID->text(), QStringLiteral("Wf12ab"));
        QCOMPARE(w.CompanyName->text(), QStringLiteral("PAYROLL PARTNERS"));
        QCOMPARE(w.StateCode->Text(), QStringLiteral("NY"));
        QCOMPARE(w.ZipCode->text(), QStringLiteral("10001"));
        QCOMPARE(w.CountryCode->text(), QStringLiteral("CA"));
        QCOMPARE(w.ContactPhone->Text(), QStringLiteral("212-555-0199"));
        QCOMPARE(w.ContactExt->text(), QStringLiteral("123"));
        QCOMPARE(w.ContactEmail->text(), QStringLiteral("lee@partners.example"));
        QCOMPARE(w.PreparerCode->text(), QStringLiteral("A"));
        const SubmitterRecord stored = ReadSubmitterFile(ProgramDir() + "QNVR.W2S");
        QCOMPARE(QString::fromStdString(stored.ResubInd), QStringLiteral("1"));
        QCOMPARE(QString::fromStdString(stored.ContactPhone), QStringLiteral("212-555-0199"));
    }

    void fieldsShowFocusAndWhatWouldStopProcess() {
        OpenPayer("ALPHA WIDGETS", 1);
        TFrmEFW2& w = OpenWindow();
        // Opened empty: the required fields are marked, the optional ones are not.
        QCOMPARE(FieldColor(w.SubmitName), TFrmEFW2::MarkColor());
        QCOMPARE(FieldColor(w.ContactEmail), TFrmEFW2::MarkColor());
        QVERIFY(FieldColor(w.CompanyName) != TFrmEFW2::MarkColor());
        QVERIFY(FieldColor(w.ZipCode) != TFrmEFW2::MarkColor());  // company ZIP codes are never marked
        QVERIFY(FieldColor(w.ResubID) != TFrmEFW2::MarkColor());

        QTest::mouseClick(w.UserID, Qt::LeftButton);
        QCOMPARE(FieldColor(w.UserID), TFrmEFW2::FocusColor());
        QTest::keyClicks(w.UserID, "abc");
        QTest::keyClick(w.UserID, Qt::Key_Return);  // too short: still marked
        QCOMPARE(FieldColor(w.UserID), TFrmEFW2::MarkColor());
        QCOMPARE(QApplication::focusWidget(), w.ResubInd);

        // Checking ResubInd opens ResubID at once; left blank, it is marked.
        QTest::keyClick(w.ResubInd, Qt::Key_Space);
        QTest::keyClick(w.ResubInd, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.ResubID);
        QTest::keyClick(w.ResubID, Qt::Key_Return);
        QCOMPARE(FieldColor(w.ResubID), TFrmEFW2::MarkColor());

        QTest::mouseClick(w.UserID, Qt::LeftButton);
        QTest::keyClicks(w.UserID, "abcd1234");
        QTest::keyClick(w.UserID, Qt::Key_Tab);
        QCOMPARE(FieldColor(w.UserID), FieldColor(w.CompanyName));  // the window colour again
    }

    void processStopsAtTheFirstFailedSettingWithItsField() {
        OpenPayer("ALPHA WIDGETS", 2);
        OpenWindow();
        SubmitterKeys keys = kValidSubmitterKeys;
        keys["ResubInd"] = " ";
        TypeSubmitter(keys);
        QTest::mouseClick(window_->BtnProcess, Qt::LeftButton);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"Wage File Identifier is required."});
        QCOMPARE(QApplication::focusWidget(), window_->ResubID);
        QVERIFY(window_->BtnProcess->isEnabled());
        QVERIFY(!fs::exists(DataDir() + "EFW2/ALPHA WIDGETS.txt"));
    }

    // Clients A, B and C into one master file: A with "Final" checked, B in the middle,
    // C announced as the last one by clearing "Final".
    void theMasterRunOfThreeClients() {
        // The settings, typed once.
        OpenPayer("ALPHA", 2);
        OpenWindow();
        TypeSubmitter(kValidSubmitterKeys);
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);

        ProcessClient([this](TFrmEFW2& w) {
            ClickBox(w.ChkFinal);  // the master file is empty: no question
            QVERIFY(w.ChkFinal->isChecked());
            QVERIFY(prompter_->Messages().empty());
        });
        QCOMPARE(window_->TotalRecords->text(), QStringLiteral("2"));
        QVERIFY(window_->ChkSubmitter->isChecked());  // the next clients leave out the RA record
        // The client file, a part of the master file, is audited as such.
        QCOMPARE(prompter_->Texts().back(), std::string("EFW2 audit of ALPHA.txt: no problems found in 5 records."));
        QCOMPARE(prompter_->Texts().end()[-2], std::string("Process Completed for Client: ALPHA~Total Forms W-2 processed: 2~"
                                                           "Total Wages, tips, other compensation processed: $3,000.00"));

        OpenPayer("BRAVO", 3);
        ProcessClient([](TFrmEFW2& w) {
            QVERIFY(w.ChkSubmitter->isChecked() && w.ChkFinal->isChecked());
            QVERIFY(!w.ChkSubmitter->isEnabled());
            QVERIFY(w.ChkFinal->isEnabled());
            QCOMPARE(w.MemoClientsProcessed->toPlainText(), QStringLiteral("ALPHA"));
        });

        OpenPayer("CHARLIE", 4);
        TFrmEFW2& w = OpenWindow();
        prompter_->Clear();
        prompter_->Answer(MsgButton::No);
        ClickBox(w.ChkFinal);  // No: still one of the middle clients
        QVERIFY(w.ChkFinal->isChecked());
        prompter_->Answer(MsgButton::Yes);
        ClickBox(w.ChkFinal);
        QVERIFY(!w.ChkFinal->isChecked());
        QCOMPARE(prompter_->Texts(), std::vector<std::string>(2, "Will this be the last Client to be Processed?"));
        // The last client must be processed before the window closes.
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(prompter_->Texts().back(), std::string("The Final Client must be Processed before closing the Form."));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);  // Alt+P: Process
        QTRY_VERIFY(!w.BtnProcess->isEnabled());
        // The master file is complete now: it is the file audited.
        QCOMPARE(prompter_->Texts().back(), std::string("EFW2 audit of FormsW2Report.txt: no problems found in 17 records."));
        QCOMPARE(w.TotalClients->text(), QStringLiteral("3"));
        QCOMPARE(w.TotalRecords->text(), QStringLiteral("9"));
        QCOMPARE(w.FW3Amount1->text(), QStringLiteral("$19,000.00"));
        QCOMPARE(w.MemoClientsProcessed->toPlainText(), QStringLiteral("ALPHA\nBRAVO\nCHARLIE"));
        QTest::mouseClick(w.BtnClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());

        const std::string master = DataDir() + "EFW2/FormsW2Report.txt";
        QCOMPARE(Outline(ReadLinesFile(master)),
                 QStringList({"RA", "RE", "RW", "RW", "RT 0000002", "RE", "RW", "RW", "RW", "RT 0000003", "RE", "RW",
                              "RW", "RW", "RW", "RT 0000004", "RF 000000009"}));
        // Read-only once the window closed.
        QCOMPARE(fs::status(master).permissions() & fs::perms::owner_write, fs::perms::none);
        // Each client's own file: the client's records without RA and RF.
        QCOMPARE(Outline(ReadLinesFile(DataDir() + "EFW2/BRAVO.txt")),
                 QStringList({"RE", "RW", "RW", "RW", "RT 0000003"}));

        // The run is complete: nothing more to process until a reset.
        OpenPayer("DELTA", 1);
        QVERIFY(!OpenWindow().BtnProcess->isEnabled());
    }

    // After Process the written file is audited at once: a clean one is announced, the
    // findings of another are listed in a window that saves them as text.
    void processAuditsTheWrittenFile() {
        OpenPayer("ALPHA", 2);
        OpenWindow();
        TypeSubmitter(kValidSubmitterKeys);
        QTest::mouseClick(window_->BtnProcess, Qt::LeftButton);
        QCOMPARE(prompter_->Texts().back(), std::string("EFW2 audit of ALPHA.txt: no problems found in 6 records."));
        QCOMPARE(prompter_->Messages().back().style, MsgStyle::Information);
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);

        // BRAVO's second employee had too little social security tax withheld.
        dm_->ClosePayerFile();
        std::vector<W2Record> employees = Employees(2);
        employees[1].Amount4 = 100;
        const std::string payer = DataDir() + "BRAVO.W226";
        WritePayerFile(payer, Employer("BRAVO"), employees);
        dm_->OpenPayerFile(payer);
        dm_->EntryWindowReviewed(EntryWindow::W3);
        dm_->EntryWindowReviewed(EntryWindow::W2);
        TFrmEFW2& w = OpenWindow();
        prompter_->Clear();
        const QString saved = QString::fromStdString(dir_->File("bravo audit.txt"));
        ModalScript modals(*ports_);
        modals
            .Then([&](QDialog& dialog) {
                auto* audit = Expect<TFrmEfw2Audit>(dialog);
                if (!audit) return;
                QCOMPARE(audit->windowTitle(), QStringLiteral("EFW2 Audit - BRAVO.txt"));
                QCOMPARE(audit->ListFindings->count(), 1);
                QCOMPARE(audit->ListFindings->item(0)->text(),
                         QStringLiteral("Warning, line 4 RW, employee EMPLOYEE NUMBER2 (SSN ending 1002), Social "
                                        "security tax withheld (positions 221-231): Social security tax of $100.00 is "
                                        "not 6.2 % of the social security wages and tips of $2,000.00, which is "
                                        "$124.00."));
                QVERIFY(audit->LblSummary->text().endsWith(QStringLiteral("BRAVO.txt: 1 warning in 6 records.")));
                QTest::mouseClick(audit->BtnSaveAs, Qt::LeftButton);
                QCOMPARE(prompter_->Texts().back(), "The audit was saved to~" + saved.toStdString());
                QTest::keyClick(audit->ListFindings, Qt::Key_Escape);
            })
            .Then([&](QDialog& dialog) { ChooseFile(dialog, saved); });
        QTest::mouseClick(w.BtnProcess, Qt::LeftButton);
        QCOMPARE(modals.Pending(), std::size_t(0));
        QVERIFY(modals.Unexpected().isEmpty());
        QVERIFY(!w.BtnProcess->isEnabled());  // the file was written all the same
        const std::vector<std::string> lines = ReadLinesFile(saved.toStdString());
        QCOMPARE(lines.size(), std::size_t(3));
        QCOMPARE(lines[0], "Audit of " + DataDir() + "EFW2/BRAVO.txt");
        QVERIFY(lines[1].starts_with("Warning, line 4 RW, employee EMPLOYEE NUMBER2 (SSN ending 1002)"));
        QCOMPARE(lines[2], std::string("1 warning in 6 records."));
    }

    void resetAnsweredNoKeepsEverythingYesStartsAfresh() {
        OpenPayer("ALPHA", 3);
        OpenWindow();
        TypeSubmitter(kValidSubmitterKeys);
        QTest::mouseClick(window_->BtnProcess, Qt::LeftButton);
        QCOMPARE(Outline(ReadLinesFile(DataDir() + "EFW2/ALPHA.txt")),
                 QStringList({"RA", "RE", "RW", "RW", "RW", "RT 0000003", "RF 000000003"}));
        QTest::mouseClick(window_->BtnClose, Qt::LeftButton);

        TFrmEFW2& w = OpenWindow();  // the same client again: processed already
        QVERIFY(!w.BtnProcess->isEnabled() && !w.ChkSubmitter->isEnabled() && !w.ChkFinal->isEnabled());
        QVERIFY(w.BtnReset->isEnabled());
        prompter_->Clear();
        QTest::mouseClick(w.BtnReset, Qt::LeftButton);  // unscripted: No, the default
        QCOMPARE(w.TotalRecords->text(), QStringLiteral("3"));
        QCOMPARE(w.MemoClientsProcessed->toPlainText(), QStringLiteral("ALPHA"));
        QVERIFY(fs::exists(ProgramDir() + "QNVR.CP"));
        prompter_->Answer(MsgButton::Yes);
        QTest::mouseClick(w.BtnReset, Qt::LeftButton);
        QCOMPARE(prompter_->Messages().size(), std::size_t(2));
        QCOMPARE(prompter_->Texts().back(),
                 std::string("This will clear the Master EFW2 Text File and resets~the Total Forms W-3 Processed, Total "
                             "Forms W-2~Processed and the Total Wages, tips, other~compensationProcessed to zero.~~Are "
                             "you sure?"));
        QCOMPARE(w.TotalClients->text(), QStringLiteral("0"));
        QCOMPARE(w.TotalRecords->text(), QStringLiteral("0"));
        QCOMPARE(w.FW3Amount1->text(), QStringLiteral("$0.00"));
        QCOMPARE(w.MemoClientsProcessed->toPlainText(), QString());
        QVERIFY(w.BtnProcess->isEnabled() && !w.BtnReset->isEnabled());
        QVERIFY(w.ChkSubmitter->isEnabled() && w.ChkFinal->isEnabled());
        QVERIFY(!fs::exists(ProgramDir() + "QNVR.CP"));
        QVERIFY(fs::exists(DataDir() + "EFW2/ALPHA.txt"));  // client files stay
    }

    // A line says why Process waits (which review is missing) or that it is ready; after
    // Process the client file's full path shows, with a button that opens its folder.
    void theWindowSaysWhyProcessWaitsAndWhereTheFileWent() {
        OpenPayer("ACME", 2, 0);
        const QString waiting = QStringLiteral(
            "Process is not available yet: %1 not been reviewed since the file was opened. Open each from the Forms "
            "menu (Form W-2: show every employee) and close it.");
        struct Step {
            EntryWindow reviewed;
            QString hint;
        };
        const Step steps[] = {
            {EntryWindow::W3, waiting.arg(QStringLiteral("Form W-3 and Form W-2 of this payer have"))},
            {EntryWindow::W2, waiting.arg(QStringLiteral("Form W-2 of this payer has"))},
        };
        for (const Step& step : steps) {
            TFrmEFW2& w = OpenWindow();
            QVERIFY(!w.BtnProcess->isEnabled());
            QCOMPARE(w.ProcessHint->text(), step.hint);
            QVERIFY(w.Efw2Files->isHidden());
            QVERIFY(w.BtnOpenFolder->isHidden());
            QTest::mouseClick(w.BtnClose, Qt::LeftButton);
            QVERIFY(!w.isVisible());
            dm_->EntryWindowReviewed(step.reviewed);
        }
        QCOMPARE(dm_->ReviewCount(), 2);

        TFrmEFW2& w = OpenWindow();
        QVERIFY(w.BtnProcess->isEnabled());
        QCOMPARE(w.ProcessHint->text(), QStringLiteral("Ready: Process writes the EFW2 file of this payer."));
        TypeSubmitter(kValidSubmitterKeys);
        QTest::mouseClick(w.BtnProcess, Qt::LeftButton);
        QVERIFY(!w.BtnProcess->isEnabled());
        QCOMPARE(w.ProcessHint->text(),
                 QStringLiteral("This payer has been processed since the last Reset; Reset starts a new run."));
        const QString client = QDir::toNativeSeparators(
            QFileInfo(QString::fromStdString(Paths().ClientFileFor(dm_->PayerFilePath()))).absoluteFilePath());
        QVERIFY(QFileInfo(client).isFile());
        QCOMPARE(w.Efw2Files->text(), QStringLiteral("Client file: ") + client);
        QVERIFY(w.Efw2Files->isVisible());
        QVERIFY(w.BtnOpenFolder->isVisible());
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenDocumentUrl");
        QTest::mouseClick(w.BtnOpenFolder, Qt::LeftButton);
        QTRY_COMPARE(openedUrls_.size(), 1);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(QDir::cleanPath(openedUrls_[0].toLocalFile()), QDir::cleanPath(QFileInfo(client).absolutePath()));
    }

    void viewCountryCodesOpensTheDeliveredDocument() {
        OpenPayer("ALPHA", 1);
        TFrmEFW2& w = OpenWindow();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenDocumentUrl");
        QTest::mouseClick(w.BtnViewCountryCodes, Qt::LeftButton);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"The Country Codes file cannot no be found"});
        QCOMPARE(prompter_->Messages().back().style, MsgStyle::Error);
        QVERIFY(openedUrls_.isEmpty());

        // The document the build delivers into the program folder.
        const std::string delivered = qEnvironmentVariable("QNVR_PROGRAM_DIR").toStdString() + "CountryCodes.pdf";
        QVERIFY2(fs::is_regular_file(delivered), delivered.c_str());
        fs::copy_file(delivered, ProgramDir() + "CountryCodes.pdf");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);  // the button's accelerator
        QTRY_COMPARE(openedUrls_.size(), 1);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(openedUrls_, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(ProgramDir() + "CountryCodes.pdf"))});
        QCOMPARE(prompter_->Messages().size(), std::size_t(1));
    }

    void helpShowsTopic19() {
        OpenPayer("ALPHA", 1);
        TFrmEFW2& w = OpenWindow();
        QTest::mouseClick(w.BtnHelp, Qt::LeftButton);
        TFrmHelp* help = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<TFrmHelp*>(widget); h && h->isVisible()) help = h;
        QVERIFY(help);
        QVERIFY(help->Topic->source().toString().endsWith(QStringLiteral("/19.html")));
        QVERIFY(help->Topic->toPlainText().contains(QStringLiteral("Process")));
        QVERIFY(prompter_->Messages().empty());
        help->close();
    }
};

QNVR_TEST_MAIN(TestEfw2Window)
#include "tst_efw2_window.moc"
