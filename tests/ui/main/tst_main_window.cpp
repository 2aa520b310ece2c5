// The main window as a user meets it: start-up, menus and tool bar in both states, the
// recent-files list across restarts, and the command line.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTest>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

#include "core/program/payer_file_commands.h"
#include "support/main_window_harness.h"
#include "support/qnvr_test_main.h"
#include "ui/main/frm_welcome.h"
#include "ui/main/program_windows.h"
#include "ui/main/tool_bar_icons.h"
#include "ui/base/help_window.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

// Makes a payer file pair with an employer name, as an earlier run of the program did.
std::string MakePayerFile(const std::string& path, const std::string& employer) {
    TFrmDataModule dm{CorePorts{}};
    dm.OpenPayerFile(path);
    dm.EditW3Rec([&](W3Record& w3) { w3.Boxf_a = employer; });
    dm.ClosePayerFile();
    return path;
}

QStringList VisibleRecentItems(const TFrmMain& window) {
    QStringList captions;
    for (QAction* item : window.MnuMRU)
        if (item->isVisible()) captions << item->text();
    return captions;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> app_;

    TFrmMain& Window() { return app_->Window(); }

private slots:
    void initTestCase() { MainWindowHarness::UseTemporaryConfigFolder(); }
    void init() { app_ = std::make_unique<MainWindowHarness>(); }
    void cleanup() {
        QCOMPARE(app_->Modals().Unexpected(), QStringList());
        app_.reset();
    }

    void aFirstStartShowsTheEmptyStateAndCreatesTheDataFolder() {
        app_->Start();
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00"));
        QVERIFY(QFileInfo(QString::fromStdString(app_->DataFolder())).isDir());
        QVERIFY(std::filesystem::equivalent(std::filesystem::current_path(), app_->ProgramFolder()));
        QVERIFY(Window().MessagePanel->isVisible());
        for (QAction* item : {Window().MnuSaveAs, Window().MnuBackup, Window().MnuRestore, Window().MnuClose,
                              Window().MnuPassword, Window().MnuPrintLabels, Window().MnuEFW2})
            QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
        QVERIFY(!Window().MnuForms->menuAction()->isEnabled());
        for (QToolButton* button : {Window().BtnSaveAs, Window().BtnBackup, Window().BtnRestore, Window().BtnFormW2,
                                    Window().BtnFormW3})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        for (QAction* item : {Window().MnuOpen, Window().MnuNew, Window().MnuExit, Window().MnuContents})
            QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
        QCOMPARE(VisibleRecentItems(Window()), QStringList());
        QVERIFY(!Window().MnuMRUSeparator->isVisible());
    }

    // Every tool bar button shows a picture: the desktop theme's, or the program's own
    // drawing when the desktop has no icon theme.
    void everyToolBarButtonShowsAnIcon() {
        app_->Start();
        auto painted = [](const QIcon& icon) {
            const QImage image = icon.pixmap(24, 24).toImage();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > 0) return true;
            return false;
        };
        const QList<QToolButton*> buttons = Window().Panel3->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 8);
        for (QToolButton* button : buttons) {
            QVERIFY2(painted(button->icon()), qPrintable(button->objectName()));
            QCOMPARE(button->accessibleName(), button->text());
        }
        const QStringList saved = QIcon::themeSearchPaths();
        QIcon::setThemeSearchPaths({});
        for (const char* name : {"document-new", "document-open", "document-save-as", "drive-harddisk",
                                 "document-revert", "x-office-document", "x-office-spreadsheet", "help-browser"})
            QVERIFY2(painted(ToolBarIcon(QString::fromLatin1(name))), name);
        QIcon::setThemeSearchPaths(saved);
    }

    void theWelcomePanelGreetsAndGoes() {
        QStringList seen;
        QTimer::singleShot(20, [&seen] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* welcome = qobject_cast<TFrmWelcome*>(widget); welcome && welcome->isVisible())
                    seen << welcome->LblProductName->text() << welcome->LblVersion->text();
        });
        TFrmWelcome::ShowFor(100);
        QCOMPARE(seen, QStringList({"Quenvora W-2 2026 (64-bit)", "Version 2026.00"}));
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<TFrmWelcome*>(widget));
    }

    void theMenusCarryTheirCaptionsShortcutsAndHelpTopics() {
        app_->Start();
        struct Item {
            QAction* action;
            const char* caption;
            const char* shortcut;
            int help;
        };
        TFrmMain& w = Window();
        const Item items[] = {
            {w.MnuOpen, "&Open ...", "Ctrl+O", 2},      {w.MnuNew, "&New ...", "Ctrl+N", 3},
            {w.MnuSaveAs, "Save &As ...", "Ctrl+A", 4}, {w.MnuBackup, "&Backup ...", "Ctrl+B", 5},
            {w.MnuRestore, "&Restore ...", "Ctrl+R", 6}, {w.MnuClose, "&Close Employer File", "Ctrl+F4", 0},
            {w.MnuImportEmployees, "&Import Employees ...", "", 0},
            {w.MnuExportEmployees, "&Export Employees ...", "", 0},
            {w.MnuPrintSetup, "Print &Setup", "", 7},    {w.MnuPrintLabels, "Print &Labels", "", 8},
            {w.MnuExit, "E&xit", "Ctrl+X", 0},          {w.MnuFormW2, "Form W-&2", "", 9},
            {w.MnuFormW3, "Form W-&3", "", 10},          {w.MnuTransfer, "&Transfer", "", 12},
            {w.MnuEFW2, "&EFW2 Module", "", 19},         {w.MnuPassword, "&Password ...", "", 14},
            {w.MnuContents, "&Contents", "", 0},          {w.MnuTechnicalSupport, "&Technical Support", "", 0},
            {w.MnuLicenseAgreement, "&License Agreement", "", 0}, {w.MnuIRSInstructions, "&IRS Instructions", "", 0},
            {w.MnuWebUpdate, "&Web Update", "", 0},       {w.MnuAbout, "About ...", "", 1},
        };
        for (const Item& item : items) {
            QCOMPARE(item.action->text(), QString::fromLatin1(item.caption));
            QCOMPARE(item.action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut)));
            QCOMPARE(item.action->property("HelpContext").toInt(), item.help);
        }
        QCOMPARE(w.MnuFile->title(), QStringLiteral("&File"));
        QCOMPARE(w.MnuForms->title(), QStringLiteral("F&orms"));
        QCOMPARE(w.MnuTools->title(), QStringLiteral("&Tools"));
        QCOMPARE(w.MnuHelp->title(), QStringLiteral("&Help"));
        QStringList toolBar;
        for (QToolButton* button : {w.BtnNew, w.BtnOpen, w.BtnSaveAs, w.BtnBackup, w.BtnRestore, w.BtnFormW2,
                                    w.BtnFormW3, w.BtnHelp})
            toolBar << button->text();
        QCOMPARE(toolBar, QStringList({"New", "Open", "Save As", "Backup", "Restore", "Form W-2", "Form W-3", "Help"}));
    }

    void newThenOpenRecentShowsTheEmployerInTheCaption() {
        // The payer's data comes from the W-3 entry window, which New shows first.
        RegisterProgramWindow(ProgramWindow::FormW3, [](QWidget*, ProgramContext& context) {
            context.DataModule.EditW3Rec([&](W3Record& w3) { w3.Boxf_a = "A & B Plumbing"; });
            context.DataModule.RSW3().PostRec();
        });
        app_->Start();
        app_->Modals().Then([](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("New Quenvora W-2 Company/Employer File"));
            TypeInto(dialog, "NewFileName", QStringLiteral("Acme Payroll"));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QTest::mouseClick(Window().BtnNew, Qt::LeftButton);
        UnregisterProgramWindow(ProgramWindow::FormW3);

        const std::string path = app_->DataFolder() + "Acme Payroll.W226";
        QVERIFY(QFileInfo::exists(QString::fromStdString(path)));
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - A & B Plumbing"));
        QVERIFY(!Window().MessagePanel->isVisible());
        QVERIFY(Window().MnuSaveAs->isEnabled());
        QVERIFY(Window().BtnBackup->isEnabled());
        QVERIFY(Window().MnuForms->menuAction()->isEnabled());
        QCOMPARE(VisibleRecentItems(Window()), QStringList());  // a file enters the list when it closes

        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00"));
        QVERIFY(Window().MessagePanel->isVisible());
        QCOMPARE(VisibleRecentItems(Window()), QStringList{"&0 " + QString::fromStdString(path)});
        QVERIFY(Window().MnuMRUSeparator->isVisible());

        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QVERIFY(app_->DataModule().PayerFileOpen());
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - A & B Plumbing"));
        QVERIFY(app_->Prompter().Messages().empty());
    }

    void aRecentFileThatWasDeletedIsReported() {
        const std::string gone = MakePayerFile(app_->Home() + "Gone.W226", "GONE");
        const std::string kept = MakePayerFile(app_->Home() + "Kept.W226", "KEPT");
        app_->Start({kept});
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        app_->Start({gone});
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        app_->Restart();
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[1]);  // Kept
        std::filesystem::remove(gone);

        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QCOMPARE(app_->Prompter().Texts(), std::vector<std::string>{"File not found"});
        QCOMPARE(app_->Prompter().Messages()[0].style, MsgStyle::Error);
        QCOMPARE(QString::fromStdString(app_->DataModule().PayerFilePath()), QString::fromStdString(kept));
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - KEPT"));
    }

    void theRecentFilesSurviveARestartInOrder() {
        const std::string a = MakePayerFile(app_->Home() + "A & Sons.W226", "A");
        const std::string b = MakePayerFile(app_->Home() + "B.W226", "B");
        app_->Start({a});
        app_->Restart();  // closing the program closes the payer file: it enters the list
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuMRU[0]);
        QVERIFY(app_->DataModule().PayerFileOpen());
        app_->Stop();
        app_->Start({b});
        app_->Restart();

        QCOMPARE(VisibleRecentItems(Window()),
                 QStringList({"&0 " + QString::fromStdString(b), "&1 " + QString::fromStdString(app_->Home()) +
                                                                       QStringLiteral("A && Sons.W226")}));
        QCOMPARE(app_->Settings().ReadString("RecentFiles", "0"), std::optional<std::string>(b));
        QCOMPARE(app_->Settings().ReadString("RecentFiles", "1"), std::optional<std::string>(a));
        QCOMPARE(app_->Settings().ReadString("RecentFiles", "9"), std::optional<std::string>(""));
    }

    void theCommandLineOpensOnlyAnExistingW226File() {
        const std::string folder = app_->Home() + "My Payroll/";
        QDir().mkpath(QString::fromStdString(folder));
        const std::string path = MakePayerFile(folder + "Acme Inc.W226", "ACME");
        MakePayerFile(folder + "lower.w226", "LOWER");

        app_->Start({folder + "lower.w226"});
        QVERIFY(!app_->DataModule().PayerFileOpen());
        app_->Stop();
        app_->Start({app_->Home() + "My", "Payroll/Acme", "Inc.W226"});
        QVERIFY(app_->DataModule().PayerFileOpen());
        QCOMPARE(QString::fromStdString(app_->DataModule().PayerFilePath()), QString::fromStdString(path));
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - ACME"));
        QVERIFY(app_->Prompter().Messages().empty());
    }

    // The window is told what happens to the payer file, whoever does it: here the file
    // commands run without the window's menus, and the data module itself.
    void theWindowFollowsThePayerFileWhoeverChangesIt() {
        const std::string path = MakePayerFile(app_->Home() + "Acme.W226", "ACME");
        app_->Start({path});
        QVERIFY(Window().MnuClose->isEnabled());
        QVERIFY(Window().SummaryPanel->isVisible());

        PayerFileCommands commands(app_->DataModule(), app_->Settings(), Window(), app_->DataFolder());
        commands.Close();
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00"));
        for (QAction* item : {Window().MnuSaveAs, Window().MnuClose, Window().MnuEFW2, Window().MnuFormW2})
            QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
        QVERIFY(!Window().BtnSaveAs->isEnabled());
        QVERIFY(Window().MessagePanel->isVisible());
        QVERIFY(!Window().SummaryPanel->isVisible());
        QCOMPARE(VisibleRecentItems(Window()), QStringList{"&0 " + QString::fromStdString(path)});

        app_->DataModule().OpenPayerFile(path);
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - ACME"));
        QVERIFY(Window().MnuClose->isEnabled());
        QVERIFY(Window().BtnSaveAs->isEnabled());
        QVERIFY(!Window().MessagePanel->isVisible());
        QVERIFY(Window().SummaryPanel->isVisible());

        app_->DataModule().EditW3Rec([](W3Record& w3) { w3.Boxf_a = "ACME CORPORATION"; });
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - ACME CORPORATION"));
        app_->DataModule().EntryWindowReviewed(EntryWindow::W3);
        QVERIFY2(Window().LblReview->text().contains(QStringLiteral("Form W-3 reviewed")),
                 qPrintable(Window().LblReview->text()));
    }

    void closingTheProgramSavesTheRecordsAndRemovesTheSnapshot() {
        const std::string path = MakePayerFile(app_->Home() + "Acme.W226", "ACME");
        app_->Start({path});
        QFile snapshot(QString::fromStdString(app_->ProgramFolder()) + QStringLiteral("QNVR.RPT"));
        QVERIFY(snapshot.open(QIODevice::WriteOnly));
        snapshot.close();
        app_->DataModule().EditW3Rec([&](W3Record& w3) { w3.Boxf_a = "ACME CORPORATION"; });
        QTest::keyClick(&Window(), Qt::Key_X, Qt::ControlModifier);  // Exit
        QTRY_VERIFY(!Window().isVisible());
        QVERIFY(!snapshot.exists());
        QVERIFY(!app_->DataModule().RSW2().Active());
        app_->Stop();
        app_->Start({path});
        QCOMPARE(Window().windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - ACME CORPORATION"));
    }

    void theHelpKeyOnAMenuItemShowsItsTopic() {
        app_->Start();
        QMenuBar* bar = Window().menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(Window().MnuFile->menuAction()).center());
        QTRY_VERIFY(Window().MnuFile->isVisible());
        QTest::keyClick(Window().MnuFile, Qt::Key_Down);  // Open ...
        QTest::keyClick(Window().MnuFile, Qt::Key_Down);  // New ...
        QCOMPARE(Window().MnuFile->activeAction(), Window().MnuNew);
        QTest::keyClick(Window().MnuFile, Qt::Key_F1);
        QTRY_VERIFY(!Window().MnuFile->isVisible());
        TFrmHelp* help = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<TFrmHelp*>(widget)) help = found;
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY2(help->Topic->source().toString().endsWith(QStringLiteral("help/3.html")),
                 qPrintable(help->Topic->source().toString()));
        help->close();
    }

    void missingIrsInstructionsAreReported() {
        app_->Start();
        QVERIFY(!std::filesystem::exists(app_->ProgramFolder() + "Inst W2W3.pdf"));
        app_->ChooseMenuItem(Window().MnuHelp, Window().MnuIRSInstructions);
        QCOMPARE(app_->Prompter().Texts(), std::vector<std::string>{"The IRS Instructions cannot no be found"});
        QCOMPARE(app_->Prompter().Messages()[0].style, MsgStyle::Error);
    }
};

QNVR_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
