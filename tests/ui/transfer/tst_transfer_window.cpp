// The transfer window driven with keys and clicks: the folder check, the list with the
// payers already transferred marked first, the selection texts and buttons, the
// overwrite warning, the transfer with its busy notice, and a failure that stops it.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "core/base/busy.h"
#include "core/base/scripted_prompter.h"
#include "core/store/password.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "transfer/prior_year_fixture.h"
#include "ui/transfer/frm_transfer.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;
namespace fs = std::filesystem;

namespace {

// Records the busy notice as the window shows and hides it.
class RecordingBusyNote final : public BusyNote {
public:
    void Show(const std::string& caption, const std::string& text) override {
        shown.push_back(caption + "|" + text);
        showing = true;
    }
    void Hide() override { showing = false; }
    std::vector<std::string> shown;
    bool showing = false;
};

}  // namespace

class TestTransferWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<RecordingBusyNote> busy_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter and busy_
    std::unique_ptr<TFrmTransfer> window_;
    std::string documents_, from_, data_, program_, priorProgram_;

    void OpenWindow() {
        window_ = std::make_unique<TFrmTransfer>(
            TFrmTransfer::Folders{documents_, data_, program_, {priorProgram_}}, nullptr, 0);
        UsePorts(*window_, *ports_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TypePath(const QString& path) {
        window_->Path->setFocus();
        QTest::keyClick(window_->Path, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window_->Path, Qt::Key_Delete);
        QTest::keyClicks(window_->Path, path);
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void ClickEntry(int row) {
        QListWidget* list = window_->FileListBox;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    QStringList Entries() const {
        QStringList entries;
        for (int row = 0; row < window_->FileListBox->count(); ++row) entries << window_->FileListBox->item(row)->text();
        return entries;
    }
    QString Status() const { return window_->StatusText->text(); }
    // Types the folder of last year's files and presses Ok.
    void ListFiles() {
        TypePath(QString::fromStdString(from_));
        Click(window_->BtnOk);
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        documents_ = dir_->File("Documents") + "/";
        from_ = documents_ + "QNVR/2025/Data/";
        data_ = documents_ + "QNVR/2026/Data/";
        program_ = dir_->File("quenvora-w2/2026") + "/";
        priorProgram_ = dir_->File("quenvora-w2/2025") + "/";
        for (const std::string& folder : {from_, data_, program_, priorProgram_}) fs::create_directories(folder);
        PriorPayer protectedPayer;
        protectedPayer.password = Scramble("Secret7");
        WritePriorPayerFile(from_, "Acme", protectedPayer, ThreePriorEmployees());
        WritePriorPayerFile(from_, "Beta", PriorPayer{}, ThreePriorEmployees());
        WritePriorPayerFile(from_, "Zulu", PriorPayer{}, {});
        WriteBytes(data_ + "Zulu.W326", std::vector<std::uint8_t>(608, 7));
        prompter_ = std::make_unique<ScriptedPrompter>();
        busy_ = std::make_unique<RecordingBusyNote>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_, .busyNote = *busy_}}});
    }
    void cleanup() {
        window_.reset();
        busy_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void opensOnLastYearsDataFolderWithOnlyTheFolderToEnter() {
        OpenWindow();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Quenvora W-2 Transfer Utility"));
        QCOMPARE(window_->Path->text().toStdString(), from_);
        QVERIFY(!window_->FileListBox->isEnabled());
        QVERIFY(!window_->LblAlreadyTransferred->isVisible());
        for (QPushButton* b : {window_->BtnSelectAll, window_->BtnDeselectAll, window_->BtnTransfer})
            QVERIFY(!b->isEnabled());
        QVERIFY(window_->ChkNoOverwrite->isChecked());
        QCOMPARE(Status(), QStringLiteral(" 0 files selected"));
        QCOMPARE(window_->BtnCancel->text(), QStringLiteral("&Cancel"));
        QCOMPARE(window_->BtnHelp->toolTip(), QStringLiteral("Form Help"));
    }

    void aMissingOrEmptyFolderIsRefusedAndCanBeCorrected() {
        OpenWindow();
        struct Case {
            QString path;
            const char* message;
        } cases[] = {{QStringLiteral("   "), "Path to 2025 data files is missing"},
                     {QString::fromStdString(data_), "2025 data files not found in specified location"}};
        for (const Case& c : cases) {
            prompter_->Clear();
            TypePath(c.path);
            Click(window_->BtnOk);
            QCOMPARE(prompter_->Texts(), std::vector<std::string>{c.message});
            QVERIFY(window_->Path->isEnabled());
            QVERIFY(window_->BtnOk->isEnabled());
            QVERIFY(!window_->FileListBox->isEnabled());
        }
        ListFiles();
        QVERIFY(window_->FileListBox->isEnabled());
    }

    void browsePicksTheFolder() {
        const std::string other = dir_->File("Old files");
        fs::create_directories(other);
        WritePriorPayerFile(other, "Gamma", PriorPayer{}, {});
        OpenWindow();
        ModalScript modals(*ports_);
        modals.Then([&](QDialog& picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("Select the location of your 2025 client files"));
            ChooseFile(picker, QString::fromStdString(other));
        });
        Click(window_->BtnBrowse);
        QCOMPARE(window_->Path->text().toStdString(), other);
        Click(window_->BtnOk);
        QCOMPARE(Entries(), QStringList{"Gamma.W325"});
        QCOMPARE(window_->Path->text().toStdString(), other + "/");
    }

    void theListMarksTransferredPayersFirstAndCountsTheSelection() {
        OpenWindow();
        ListFiles();
        QCOMPARE(Entries(), (QStringList{"*Zulu.W325", "Acme.W325", "Beta.W325"}));
        QVERIFY(!window_->Path->isEnabled());
        QVERIFY(!window_->BtnBrowse->isEnabled());
        QVERIFY(!window_->BtnOk->isEnabled());
        QVERIFY(window_->LblAlreadyTransferred->isVisible());
        QCOMPARE(window_->FileListBox->focusWidget(), window_->FileListBox);

        struct Step {
            std::function<void()> act;
            const char* status;
            bool selectAll, deselectAll;
        } steps[] = {
            {[] {}, " 0 files selected", true, false},
            {[this] { ClickEntry(1); }, " 1 file selected", true, true},
            {[this] { ClickEntry(2); }, " 2 files selected", true, true},
            {[this] { ClickEntry(1); }, " 1 file selected", true, true},  // a click toggles
            {[this] { Click(window_->BtnSelectAll); }, " 3 files selected", false, true},
            {[this] { Click(window_->BtnDeselectAll); }, " 0 files selected", true, false},
        };
        for (const Step& s : steps) {
            s.act();
            QCOMPARE(Status(), QString::fromLatin1(s.status));
            QCOMPARE(window_->BtnSelectAll->isEnabled(), s.selectAll);
            QCOMPARE(window_->BtnDeselectAll->isEnabled(), s.deselectAll);
            QCOMPARE(window_->BtnTransfer->isEnabled(), s.deselectAll);
        }
    }

    void uncheckingNoOverwriteAsksFirst() {
        OpenWindow();
        ListFiles();
        prompter_->Answer(MsgButton::No);
        Click(window_->ChkNoOverwrite);
        QVERIFY(window_->ChkNoOverwrite->isChecked());
        QCOMPARE(prompter_->Messages().size(), 1u);
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::YesNoDefaultNo);
        QVERIFY(prompter_->Texts()[0].find("This may result in LOSS OF DATA, are you sure?") != std::string::npos);
        prompter_->Answer(MsgButton::Yes);
        Click(window_->ChkNoOverwrite);
        QVERIFY(!window_->ChkNoOverwrite->isChecked());
        Click(window_->ChkNoOverwrite);
        QVERIFY(window_->ChkNoOverwrite->isChecked());
        QCOMPARE(prompter_->Messages().size(), 2u);  // checking again asks nothing
    }

    void transferringSkipsWhatIsThereAndEndsWithExit() {
        WriteBytes(priorProgram_ + "QNVR.W2S", {4, 2});
        const auto lastYear = ReadBytes(from_ + "Acme.W225");
        OpenWindow();
        ListFiles();
        ClickEntry(0);  // *Zulu: already there, skipped
        ClickEntry(1);  // Acme
        QCOMPARE(Status(), QStringLiteral(" 2 files selected"));
        Click(window_->BtnTransfer);

        QCOMPARE(Status(), QStringLiteral(" 2 files selected - 1 file transferred"));
        QCOMPARE(busy_->shown, std::vector<std::string>{"Quenvora W-2 2026|Transferring files... please wait"});
        QVERIFY(!busy_->showing);
        QVERIFY(prompter_->Messages().empty());
        QCOMPARE(ReadBytes(data_ + "Acme.W226").size(), 1704u);
        QCOMPARE(Unscramble(DecodeW3(ReadBytes(data_ + "Acme.W326")).Password), std::string("Secret7"));
        QCOMPARE(ReadBytes(data_ + "Zulu.W326"), std::vector<std::uint8_t>(608, 7));
        QVERIFY(!fs::exists(data_ + "Beta.W326"));
        QCOMPARE(ReadBytes(program_ + "QNVR.W2S"), (std::vector<std::uint8_t>{4, 2}));
        QCOMPARE(ReadBytes(from_ + "Acme.W225"), lastYear);

        QCOMPARE(window_->BtnCancel->text(), QStringLiteral("E&xit"));
        QVERIFY(window_->BtnCancel->isEnabled());
        QVERIFY(window_->BtnCancel->isDefault());
        QVERIFY(window_->FileListBox->selectedItems().isEmpty());
        for (QWidget* w : {static_cast<QWidget*>(window_->FileListBox), static_cast<QWidget*>(window_->ChkNoOverwrite),
                           static_cast<QWidget*>(window_->BtnSelectAll), static_cast<QWidget*>(window_->BtnDeselectAll),
                           static_cast<QWidget*>(window_->BtnTransfer)})
            QVERIFY(!w->isEnabled());
        QTest::keyClick(window_.get(), Qt::Key_Return);  // Exit is the default button
        QVERIFY(!window_->isVisible());
    }

    void overwritingReplacesBothFilesAfterYes() {
        WriteBytes(data_ + "Acme.W326", std::vector<std::uint8_t>(608, 1));
        WriteBytes(data_ + "Acme.W226", std::vector<std::uint8_t>(568, 1));
        OpenWindow();
        ListFiles();
        prompter_->Answer(MsgButton::Yes);
        Click(window_->ChkNoOverwrite);
        ClickEntry(0);  // *Acme.W325
        QCOMPARE(window_->FileListBox->item(0)->text(), QStringLiteral("*Acme.W325"));
        Click(window_->BtnTransfer);
        QCOMPARE(Status(), QStringLiteral(" 1 file selected - 1 file transferred"));
        QCOMPARE(ReadBytes(data_ + "Acme.W226").size(), 1704u);
        QVERIFY(ReadBytes(data_ + "Acme.W326") != std::vector<std::uint8_t>(608, 1));
    }

    void anUnreadableEmployeeFileStopsTheTransferWithoutAHalfPair() {
        fs::remove(from_ + "Beta.W225");
        OpenWindow();
        ListFiles();
        Click(window_->BtnSelectAll);
        Click(window_->BtnTransfer);
        // *Zulu skipped, Acme converted, Beta failed.
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{from_ + "Beta.W225: No such file or directory"});
        QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Error);
        QVERIFY(!busy_->showing);
        QVERIFY(fs::exists(data_ + "Acme.W326"));
        QVERIFY(!fs::exists(data_ + "Beta.W326"));
        QVERIFY(!fs::exists(data_ + "Beta.W226"));
        QCOMPARE(Status(), QStringLiteral(" 3 files selected - 1 file transferred"));
        QVERIFY(window_->BtnCancel->isEnabled());
        QCOMPARE(window_->BtnCancel->text(), QStringLiteral("E&xit"));
    }
};

QNVR_TEST_MAIN(TestTransferWindow)
#include "tst_transfer_window.moc"
