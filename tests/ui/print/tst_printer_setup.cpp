// The printer setup window over the test print server's printers, used with keys and
// clicks: what a first run shows, the Ok checks in their order, the papers and sources
// of the chosen printer, the seven saved values, the preprinted forms choice with its
// offsets, and a job applying the saved setup.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include "../../platform/print/cups_pdf_printer.h"
#include "core/base/scripted_prompter.h"
#include "core/print/printer_settings.h"
#include "platform/print/cups_printer_port.h"
#include "report/printer_port.h"
#include "report/report_job.h"
#include "report/surface.h"
#include "support/qnvr_test_main.h"
#include "ui/print/printer_setup.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Picks the item from the keyboard: Down moves through the closed list item by item.
void Choose(QComboBox* box, const std::string& item) {
    const int index = box->findText(Q(item));
    QVERIFY2(index >= 0, item.c_str());
    box->setFocus();
    if (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < 200 && box->currentIndex() < index; ++i) QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), Q(item));
}

// Clicks a radio button or check box on its mark, where a person clicks.
void ClickOn(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

std::string Stored(const SettingsStore& store, const char* name) {
    return store.ReadString(kPrinterKey, name).value_or("<none>");
}

}  // namespace

class TestPrinterSetup : public QObject {
    Q_OBJECT

    // The window with ports whose messages go to prompter.
    std::unique_ptr<TFrmPrinterSetup> Open(SettingsStore& store, Prompter& prompter = SilentPrompter()) {
        ports_.push_back(std::make_unique<WindowPorts>(WindowPorts{{{.prompter = prompter}, port_}}));
        auto window = std::make_unique<TFrmPrinterSetup>(store, &port_);
        UsePorts(*window, *ports_.back());
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("the printer setup window did not become active");
        return window;
    }

    // Ok, then the message shown and the control left with the focus.
    void ExpectRefused(TFrmPrinterSetup& window, ScriptedPrompter& prompter, const std::string& message, QWidget* field) {
        prompter.Clear();
        QTest::mouseClick(window.BtnOk, Qt::LeftButton);
        QCOMPARE(prompter.Texts(), std::vector<std::string>{message});
        QCOMPARE(window.focusWidget(), field);
        QVERIFY(window.isVisible());
    }

private slots:
    void initTestCase() {
        QVERIFY2(!port_.Printers().empty(), "the test print server has no printers: run scripts/start-cups.sh");
    }

    void AFirstRunShowsEmptyChoicesAndOneCopy() {
        MemorySettingsStore store;
        auto window = Open(store);
        QCOMPARE(window->windowTitle(), QString("Printer Setup"));
        QVERIFY(Items(window->PrinterName).contains(Q(TestPrinter())));
        QCOMPARE(window->PrinterName->currentText(), QString());
        QCOMPARE(window->PaperName->count(), 0);
        QCOMPARE(window->BinName->count(), 0);
        QVERIFY(window->Portrait->isChecked());
        QVERIFY(window->Simplex->isChecked());
        QCOMPARE(window->Simplex->text(), QString("None"));
        QVERIFY(!window->Collate->isChecked());
        QCOMPARE(window->Copies->text(), QString("1"));
        QVERIFY(!window->Preprinted->isChecked());
        QCOMPARE(window->Preprinted->text(), QString("Preprinted forms"));
        QCOMPARE(window->OffsetX->text(), QString("0.00"));
        QCOMPARE(window->OffsetY->text(), QString("0.00"));
        QVERIFY(!store.KeyExists(kPrinterKey));
    }

    // The choice and the offsets are typed and clicked like the rest, checked on Ok
    // after the copies, and saved with the setup.
    void PreprintedFormsAndTheirOffsetsAreCheckedAndSaved() {
        ScriptedPrompter prompter;
        MemorySettingsStore store;
        auto window = Open(store, prompter);
        Choose(window->PrinterName, TestPrinter());
        Choose(window->PaperName, "US Letter");

        // Tab leads from the last two-sided button to the check box and on to the two offsets;
        // Enter moves on from a field.
        window->Vertical->setFocus();
        QTest::keyClick(window->Vertical, Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), window->Preprinted);
        QTest::keyClick(window->Preprinted, Qt::Key_Space);
        QVERIFY(window->Preprinted->isChecked());
        QTest::keyClick(window->Preprinted, Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), window->OffsetX);
        QTest::keyClick(window->OffsetX, Qt::Key_Return);
        QCOMPARE(window->focusWidget(), window->OffsetY);

        const std::string horizontal = "The horizontal offset must be a number of inches from -0.50 to +0.50";
        const std::string vertical = "The vertical offset must be a number of inches from -0.50 to +0.50";
        Type(window->OffsetX, "0.6");
        ExpectRefused(*window, prompter, horizontal, window->OffsetX);
        Type(window->OffsetX, "-");
        ExpectRefused(*window, prompter, horizontal, window->OffsetX);
        Type(window->OffsetX, "-0.25x1");  // a sign, a digit and two decimals at most
        QCOMPARE(window->OffsetX->text(), QString("-0.25"));
        Type(window->OffsetY, "+.51");
        ExpectRefused(*window, prompter, vertical, window->OffsetY);
        Type(window->OffsetY, "+.5");

        prompter.Clear();
        QTest::mouseClick(window->BtnOk, Qt::LeftButton);
        QCOMPARE(prompter.Messages().size(), std::size_t(0));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(Stored(store, "Copies"), std::string("1"));
        QCOMPARE(Stored(store, "Preprinted"), std::string("1"));
        QCOMPARE(Stored(store, "OffsetX"), std::string("-0.25"));
        QCOMPARE(Stored(store, "OffsetY"), std::string("0.5"));
        QCOMPARE(LoadPreprintedSetup(store), (PreprintedSetup{true, -0.25, 0.5}));

        // Shown again as saved; cleared with a click and an empty offset, which is none.
        auto again = Open(store, prompter);
        QVERIFY(again->Preprinted->isChecked());
        QCOMPARE(again->OffsetX->text(), QString("-0.25"));
        QCOMPARE(again->OffsetY->text(), QString("0.50"));
        ClickOn(again->Preprinted);
        Type(again->OffsetY, "");
        QTest::mouseClick(again->BtnOk, Qt::LeftButton);
        QCOMPARE(Stored(store, "Preprinted"), std::string("0"));
        QCOMPARE(Stored(store, "OffsetX"), std::string("-0.25"));
        QCOMPARE(Stored(store, "OffsetY"), std::string("0"));
    }

    // Opened from a job's output options, the window edits that run's printer only.
    void OneJobsSetupShowsNoPreprintedFormsChoice() {
        PrinterSettings settings{TestPrinter(), "US Letter", "", 0, false, 0, 2};
        settings.Preprinted = true;
        settings.OffsetX = 0.1;
        TFrmPrinterSetup window(settings, &port_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.Preprinted->isVisible());
        QVERIFY(!window.OffsetX->isVisible());
        QVERIFY(!window.OffsetY->isVisible());
        Type(window.Copies, "3");
        QTest::mouseClick(window.BtnOk, Qt::LeftButton);
        QCOMPARE(settings.Copies, 3);
        QVERIFY(settings.Preprinted);
        QCOMPARE(settings.OffsetX, 0.1);
    }

    void OkChecksInOrderThenSavesTheSevenValues() {
        ScriptedPrompter prompter;
        MemorySettingsStore store;
        auto window = Open(store, prompter);
        ExpectRefused(*window, prompter, "Printer has not been selected", window->PrinterName);

        Choose(window->PrinterName, TestPrinter());
        QVERIFY(Items(window->PaperName).contains("US Letter"));
        QCOMPARE(window->BinName->count(), 0);  // this printer has one paper source
        ExpectRefused(*window, prompter, "Paper size has not been selected", window->PaperName);

        Choose(window->PaperName, "US Legal");
        Type(window->Copies, "00");
        ExpectRefused(*window, prompter, "Copies must not be 0", window->Copies);
        Type(window->Copies, "7x");  // digits only
        QCOMPARE(window->Copies->text(), QString("7"));
        ClickOn(window->Landscape);
        ClickOn(window->Horizontal);
        ClickOn(window->Collate);

        prompter.Clear();
        QTest::mouseClick(window->BtnOk, Qt::LeftButton);
        QCOMPARE(prompter.Messages().size(), std::size_t(0));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(Stored(store, "Name"), TestPrinter());
        QCOMPARE(Stored(store, "Paper"), std::string("US Legal"));
        QCOMPARE(Stored(store, "Bin"), std::string(""));
        QCOMPARE(Stored(store, "Orientation"), std::string("1"));
        QCOMPARE(Stored(store, "Collate"), std::string("1"));
        QCOMPARE(Stored(store, "Duplex"), std::string("2"));  // "Book"
        QCOMPARE(Stored(store, "Copies"), std::string("7"));

        // Shown again as saved.
        auto again = Open(store, prompter);
        QCOMPARE(again->PrinterName->currentText(), Q(TestPrinter()));
        QCOMPARE(again->PaperName->currentText(), QString("US Legal"));
        QVERIFY(again->Landscape->isChecked());
        QVERIFY(again->Horizontal->isChecked());
        QVERIFY(again->Collate->isChecked());
        QCOMPARE(again->Copies->text(), QString("7"));
    }

    void APrinterWithPaperSourcesAsksForOne() {
        ScriptedPrompter prompter;
        MemorySettingsStore store;
        auto window = Open(store, prompter);
        Choose(window->PrinterName, TestTrayPrinter());
        QVERIFY(Items(window->BinName).contains("Tray 1"));
        Choose(window->PaperName, "US Letter");
        ExpectRefused(*window, prompter, "Paper source has not been selected", window->BinName);
        Choose(window->BinName, "Manual Feed");
        QTest::mouseClick(window->BtnOk, Qt::LeftButton);
        QCOMPARE(Stored(store, "Bin"), std::string("Manual Feed"));
    }

    void ChoosingAnotherPrinterClearsPaperAndSource() {
        MemorySettingsStore store;
        SavePrinterSettings(store, {TestTrayPrinter(), "US Letter", "Tray 2", 0, false, 1, 0});
        auto window = Open(store);
        QCOMPARE(window->PaperName->currentText(), QString("US Letter"));
        QCOMPARE(window->BinName->currentText(), QString("Tray 2"));
        QVERIFY(window->Vertical->isChecked());  // "Tablet"
        QCOMPARE(window->Copies->text(), QString("1"));  // 0 shows as 1

        Choose(window->PrinterName, TestPrinter());
        QCOMPARE(window->PaperName->currentText(), QString());
        QCOMPARE(window->BinName->currentText(), QString());
        QCOMPARE(window->BinName->count(), 0);
        QVERIFY(Items(window->PaperName).contains("A4"));
    }

    void EnterMovesOnEscapeStaysAndCancelSavesNothing() {
        MemorySettingsStore store;
        auto window = Open(store);
        window->PrinterName->setFocus();
        QTest::keyClick(window->PrinterName, Qt::Key_Return);
        QCOMPARE(window->focusWidget(), window->PaperName);
        QTest::keyClick(window->PaperName, Qt::Key_Escape);
        QVERIFY(window->isVisible());
        Choose(window->PrinterName, TestPrinter());
        QTest::mouseClick(window->BtnCancel, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(!store.KeyExists(kPrinterKey));
    }

    // Every later job asks the printer for what was saved; two-sided printing only
    // where the printer offers it.
    void JobsApplyTheSavedSetup() {
        MemorySettingsStore store;
        SavePrinterSettings(store, {TestPrinter(), "US Legal", "", 0, true, 2, 7});
        report::ReportJob job{report::ReportPorts{{}, port_}};
        job.Setups = {};
        job.OnBeforePrint = [&](report::ReportSurface& surface) { ApplyPrinterSetup(store, surface); };
        job.OnPrint = [](report::ReportSurface& surface) { surface.PrintLeft("legal", 1); };
        QVERIFY(job.Generate());
        const report::PageSnapshot snapshot = job.OpenSnapshot();
        const report::PrintSettings& recorded = snapshot.Settings();
        QCOMPARE(recorded.printer, TestPrinter());
        QCOMPARE(recorded.paper, std::string("US Legal"));
        QCOMPARE(recorded.copies, 7);
        QCOMPARE(recorded.collate, port_.SupportsCollate(TestPrinter()));
        QCOMPARE(StoredDuplex(recorded.duplex), port_.SupportsDuplex(TestPrinter()) ? 2 : 0);
        QCOMPARE(snapshot.ReadPage(1).heightIn, 14.0);
    }

private:
    platform::CupsPrinterPort port_;
    std::vector<std::unique_ptr<WindowPorts>> ports_;  // of every window opened
};

QNVR_TEST_MAIN(TestPrinterSetup)
#include "tst_printer_setup.moc"
