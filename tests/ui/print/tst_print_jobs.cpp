// Printing from the W-2 and W-3 windows as a person does it: Print One, Print All with
// each form type through the form type window, Cancel there, the W-3's Print, and the
// preview each job ends in. Every test reads the recorded pages back box by box.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "../../forms/printed_pages.h"
#include "core/base/scripted_prompter.h"
#include "efw2/efw2_fixture.h"
#include "report/design.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "support/temp_dir.h"
#include "support/test_printing.h"
#include "ui/entry/frm_w2.h"
#include "ui/entry/frm_w3.h"
#include "ui/entry/rs_navigator.h"
#include "ui/print/frm_form_type.h"
#include "ui/print/report_preview.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

const char* const kCopyD = "Copy D \xE2\x80\x94 For Employer";
const char* const kCopy1 = "Copy 1 \xE2\x80\x94 For State, City, or Local Tax Department";

// What a preview showed: its caption, its pages as printed, and what it allowed.
struct Preview {
    QString title;
    std::vector<PrintedPage> pages;
    bool print = false, save = false, exportPdf = false, exportHtml = false;
};

const report::ReportDesign* Design(const char* name) {
    static const report::DesignFile designs = report::DesignFile::Load(DeliveredDesignFile());
    return designs.Find(name);
}

// Takes the preview the job opened: reads its pages through design and closes it with
// its Close button.
ModalScript::Step TakePreview(Preview& preview, const char* design) {
    return [&preview, design](QDialog& dialog) {
        auto* window = Expect<TFrmReportPreview>(dialog);
        if (!window) return;
        preview.title = window->windowTitle();
        preview.pages = ReadPrinted(*window->Snapshot(), Design(design));
        preview.print = window->BtnPrint->isEnabled();
        preview.save = window->BtnSave->isEnabled();
        preview.exportPdf = window->BtnExportPDF->isEnabled();
        preview.exportHtml = window->BtnExportHTML->isEnabled();
        QTest::mouseClick(window->BtnExit, Qt::LeftButton);
    };
}

// In the form type window: clicks the radio button, sets the masking check box with the
// mouse if it differs, and closes with the button.
ModalScript::Step ChooseFormType(const char* radio, bool mask, const char* button = "BtnOk") {
    return [=](QDialog& dialog) {
        auto* window = Expect<TFrmFormType>(dialog);
        if (!window) return;
        QCOMPARE(window->windowTitle(), QStringLiteral("Form W-2 Type"));
        QTest::mouseClick(window->findChild<QRadioButton*>(radio), Qt::LeftButton);
        if (window->ChkMaskSSN->isChecked() != mask) QTest::mouseClick(window->ChkMaskSSN, Qt::LeftButton, {}, QPoint(4, 4));
        Click(dialog, button);
    };
}

}  // namespace

class TestPrintJobs : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<ModalScript> modals_;
    std::unique_ptr<TFrmDataModule> dm_;
    std::unique_ptr<TestPrinting> printing_;
    std::unique_ptr<TFrmW2> w2_;
    std::unique_ptr<TFrmW3> w3_;

    void OpenPayer(int employees) {
        const std::string path = dir_->File("ACME.W226");
        WritePayerFile(path, Employer("ACME TOOLS"), Employees(employees));
        dm_->OpenPayerFile(path);
        QVERIFY(dm_->PayerFileOpen());
        printing_ = std::make_unique<TestPrinting>(*dm_, QString::fromStdString(dir_->Path().string()));
    }
    // The W-2 window on the first employee, after every employee has been shown once,
    // so that Print All is enabled.
    void OpenW2Window(int employees) {
        w2_ = std::make_unique<TFrmW2>(*dm_, printing_->Printing);
        UsePorts(*w2_, *ports_);
        w2_->show();
        QVERIFY(QTest::qWaitForWindowActive(w2_.get()));
        for (int k = 1; k < employees; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
        if (employees > 1) QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
        QVERIFY(w2_->BtnPrintAll->isEnabled());
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        modals_ = std::make_unique<ModalScript>(*ports_);
        dm_ = std::make_unique<TFrmDataModule>(*ports_);
    }
    void cleanup() {
        for (QWidget* w : {static_cast<QWidget*>(w2_.get()), static_cast<QWidget*>(w3_.get())})
            if (w) w->hide();
        w2_.reset();
        w3_.reset();
        QCOMPARE(modals_->Unexpected(), QStringList());
        QCOMPARE(modals_->Pending(), std::size_t(0));
        QVERIFY(prompter_->Texts().empty());
        printing_.reset();
        dm_.reset();
        modals_.reset();
        prompter_.reset();
        dir_.reset();
    }

    // Print One masks the SSN until the form type window closes with the box cleared;
    // then Print All and every later Print One print it in full.
    void printOneMasksUntilTheFormTypeWindowSaysOtherwise() {
        OpenPayer(3);
        OpenW2Window(3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);  // the second employee
        Preview one, all, again;
        modals_->Then(TakePreview(one, "FormW2"));
        QTest::mouseClick(w2_->BtnPrintOne, Qt::LeftButton);
        QCOMPARE(one.title, QStringLiteral("Employee Form W-2 Preview"));
        QCOMPARE(one.pages.size(), std::size_t(1));
        QCOMPARE(Param(one.pages[0], "Boxa"), std::string("***-**-1002"));
        QCOMPARE(Param(one.pages[0], "Box1"), std::string("2,000.00"));
        QCOMPARE(Param(one.pages[0], "Boxc2"), std::string("ACME TOOLS"));

        modals_->Then(ChooseFormType("RbEmployee", false)).Then(TakePreview(all, "FormW2"));
        QTest::mouseClick(w2_->BtnPrintAll, Qt::LeftButton);
        QCOMPARE(all.pages.size(), std::size_t(3));
        for (int k = 0; k < 3; ++k) QCOMPARE(Param(all.pages[k], "Boxa"), "123-45-100" + std::to_string(k + 1));

        modals_->Then(TakePreview(again, "FormW2"));
        QTest::mouseClick(w2_->BtnPrintOne, Qt::LeftButton);
        QCOMPARE(Param(again.pages[0], "Boxa"), std::string("123-45-1002"));
        // The window stays on its employee.
        QCOMPARE(dm_->RSW2().CurrentRecord(), 2);
        QCOMPARE(dm_->W2Rec().Boxe3, std::string("NUMBER2"));
    }

    void printAllWithEachFormType_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("design");
        QTest::addColumn<int>("pages");
        QTest::addRow("employee") << "RbEmployee" << "Employee Form W-2 Preview" << "FormW2" << 5;
        QTest::addRow("employer") << "RbEmployer" << "Employer Form W-2 Preview" << "FormW2_CopyD1" << 2;
        QTest::addRow("state") << "RbState" << "State Form W-2 Preview" << "FormW2_CopyD1" << 2;
        QTest::addRow("ssa") << "RbSSA" << "SSA Form W-2 Preview" << "FormW2_SSA" << 3;
    }
    void printAllWithEachFormType() {
        QFETCH(QString, radio);
        QFETCH(QString, title);
        QFETCH(QString, design);
        QFETCH(int, pages);
        OpenPayer(5);
        OpenW2Window(5);
        Preview preview;
        const QByteArray radioName = radio.toLatin1(), designName = design.toLatin1();
        modals_->Then(ChooseFormType(radioName.constData(), true)).Then(TakePreview(preview, designName.constData()));
        QTest::mouseClick(w2_->BtnPrintAll, Qt::LeftButton);
        QCOMPARE(preview.title, title);
        QCOMPARE(static_cast<int>(preview.pages.size()), pages);
        const PrintedPage& last = preview.pages.back();
        if (radio == "RbEmployee") {
            QCOMPARE(Param(preview.pages[4], "Boxa"), std::string("***-**-1005"));
        } else if (radio == "RbSSA") {
            // Two to a page by name; the fifth alone on the last page, its lower form void.
            QCOMPARE(Param(preview.pages[0], "Boxa1"), std::string("123-45-1001"));
            QCOMPARE(Param(preview.pages[0], "Boxa2"), std::string("123-45-1002"));
            QCOMPARE(Param(preview.pages[0], "Void2"), std::string());
            QCOMPARE(Param(last, "Boxa1"), std::string("123-45-1005"));
            QCOMPARE(Param(last, "Void2"), std::string("X"));
            QCOMPARE(Param(last, "Box1_1"), std::string("5000.00"));
            QVERIFY(!preview.print && !preview.save && !preview.exportPdf && !preview.exportHtml);
        } else {
            const std::string caption = radio == "RbState" ? kCopy1 : kCopyD;
            for (const PrintedPage& page : preview.pages) QCOMPARE(Param(page, "FormType"), caption);
            QCOMPARE(Param(preview.pages[0], "Boxa4"), std::string("123-45-1004"));
            QCOMPARE(Param(last, "Boxa1"), std::string("123-45-1005"));  // never masked
            QCOMPARE(Param(last, "Box1_1"), std::string("5,000.00"));
            QCOMPARE(last.otherTexts.size(), std::size_t(3));  // void marks on slots 2, 3 and 4
            for (const report::TextOp& mark : last.otherTexts) QCOMPARE(mark.text, std::string("******* VOID *******"));
            QVERIFY(preview.print && preview.save && preview.exportPdf);
        }
        QCOMPARE(dm_->RSW2().CurrentRecord(), 1);
    }

    // Cancel prints nothing, but the radio button chosen before it is the one the window
    // shows, checked and focused, next time.
    void cancelInTheFormTypeWindowKeepsTheChoice() {
        OpenPayer(2);
        OpenW2Window(2);
        modals_->Then(ChooseFormType("RbState", true, "BtnCancel"));
        QTest::mouseClick(w2_->BtnPrintAll, Qt::LeftButton);
        QCOMPARE(modals_->Opened(), QStringList({"Form W-2 Type"}));

        Preview preview;
        modals_
            ->Then([](QDialog& dialog) {
                auto* window = Expect<TFrmFormType>(dialog);
                QVERIFY(window && window->RbState->isChecked());
                QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->RbState));
                QTest::keyClick(window->RbState, Qt::Key_Return);
            })
            .Then(TakePreview(preview, "FormW2_CopyD1"));
        QTest::mouseClick(w2_->BtnPrintAll, Qt::LeftButton);
        QCOMPARE(preview.title, QStringLiteral("State Form W-2 Preview"));
        QCOMPARE(Param(preview.pages[0], "FormType"), std::string(kCopy1));
    }

    // The W-3's Print prints the window as it stands, before the record is saved.
    void w3PrintShowsTheWindowsRecord() {
        OpenPayer(2);
        w3_ = std::make_unique<TFrmW3>(*dm_, printing_->Printing);
        UsePorts(*w3_, *ports_);
        w3_->show();
        QVERIFY(QTest::qWaitForWindowActive(w3_.get()));
        auto* title = w3_->findChild<QLineEdit*>(QStringLiteral("Title"));
        QVERIFY(title);
        QTest::mouseClick(title, Qt::LeftButton);
        title->selectAll();
        QTest::keyClicks(title, "Owner");
        Preview preview;
        modals_->Then(TakePreview(preview, "FormW3"));
        QTest::mouseClick(w3_->BtnPrint, Qt::LeftButton);
        QCOMPARE(preview.title, QStringLiteral("Form W-3 Preview"));
        QCOMPARE(preview.pages.size(), std::size_t(1));
        QCOMPARE(Param(preview.pages[0], "Title"), std::string("OWNER"));
        QCOMPARE(Param(preview.pages[0], "Box1"), std::string("3000.00"));  // 1,000 + 2,000
        QCOMPARE(Param(preview.pages[0], "Boxc"), std::string("2"));
        QCOMPARE(Param(preview.pages[0], "Boxb1"), std::string("X"));
        QVERIFY(preview.print && preview.save);
    }
};

QNVR_TEST_MAIN(TestPrintJobs)
#include "tst_print_jobs.moc"
