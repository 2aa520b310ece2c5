// File, Print Labels in the delivered program: a mailing label for every employee of the
// open payer file, previewed with the label outlines, thirty to a sheet.
#include <QAction>
#include <QMenu>
#include <QTest>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <filesystem>

#include "../../forms/printed_pages.h"
#include "efw2/efw2_fixture.h"
#include "support/main_window_harness.h"
#include "support/qnvr_test_main.h"
#include "ui/print/output_options.h"
#include "ui/print/report_preview.h"

using namespace qnvr;
using namespace qnvr::testing;

class TestPrintLabels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { MainWindowHarness::UseTemporaryConfigFolder(); }

    void labelsForEveryEmployeeThirtyToASheet() {
        MainWindowHarness harness;
        std::vector<W2Record> employees = Employees(31);
        for (W2Record& w2 : employees) w2.Boxf_csz = "TROY NY 12180";
        employees[0].Boxf_csz = "TROY NY 12180-1234";
        std::filesystem::create_directories(harness.DataFolder());
        const std::string payer = harness.DataFolder() + "LABELS.W226";
        WritePayerFile(payer, Employer("LABELS"), employees);
        harness.Start({payer});
        QVERIFY(harness.DataModule().PayerFileOpen());

        std::vector<PrintedPage> pages;
        QString title;
        harness.Modals()
            .Then([](QDialog& dialog) {  // the output options: to the preview, as they start
                auto* options = Expect<TFrmOutputOptions>(dialog);
                if (!options) return;
                QCOMPARE(options->windowTitle(), QStringLiteral("Employee Labels Setup"));
                QVERIFY(options->RbPreview->isChecked());
                QTest::mouseClick(options->BtnOk, Qt::LeftButton);
            })
            .Then([&](QDialog& dialog) {
            auto* preview = Expect<TFrmReportPreview>(dialog);
            if (!preview) return;
            title = preview->windowTitle();
            pages = ReadPrinted(*preview->Snapshot(), nullptr);
            QTest::mouseClick(preview->BtnExit, Qt::LeftButton);
        });
        QAction* item = harness.Window().findChild<QAction*>(QStringLiteral("MnuPrintLabels"));
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QCOMPARE(title, QStringLiteral("Employee Labels Preview (Avery 5160)"));
        QCOMPARE(pages.size(), std::size_t(2));
        // Label 1 has a bar code and its text starts 0.25 in below its top; label 2 has none: 0.38 in.
        QCOMPARE(pages[0].otherTexts[0].text, std::string("EMPLOYEE  NUMBER1"));
        QVERIFY(std::abs(pages[0].otherTexts[0].y - (0.5 + 0.25)) < 1e-9);
        QVERIFY(std::abs(pages[0].otherTexts[3].y - (0.5 + 0.38)) < 1e-9);
        QCOMPARE(pages[0].screenOnly.size(), std::size_t(30));
        QCOMPARE(pages[1].otherTexts.size(), std::size_t(3));
        QCOMPARE(pages[1].otherTexts[0].text, std::string("EMPLOYEE  NUMBER31"));
        QCOMPARE(harness.DataModule().RSW2().CurrentRecord(), 1);
        QCOMPARE(harness.Modals().Unexpected(), QStringList());
        harness.Stop();
    }
};

QNVR_TEST_MAIN(TestPrintLabels)
#include "tst_print_labels_scenario.moc"
