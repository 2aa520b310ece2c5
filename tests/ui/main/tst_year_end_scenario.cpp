// A year-end as a user goes through it, on real files: File, New creates the payer;
// its W-3 is entered, then three employees in the W-2 window; both forms are reviewed;
// Tools, EFW2 Module takes the submitter information and processes the payer. The
// client file is byte for byte what the command-line tool writes for the same payer.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/efw2/efw2_files.h"
#include "efw2/submitter_keys.h"
#include "efw2/written_efw2_files.h"
#include "support/main_window_harness.h"
#include "support/qnvr_test_main.h"
#include "ui/efw2/frm_efw2.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kPayerName = "Lakeside Bakery";
const QString kW3Caption = QStringLiteral("Form W-3 Transmittal of Wage and Tax Statements 2026");
const QString kW2Caption = QStringLiteral("Form W-2 Wage and Tax Statement 2026");

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QWidget* Field(QDialog& window, const char* name) {
    auto* field = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (!field) QTest::qFail(qPrintable(QStringLiteral("no field ") + name), __FILE__, __LINE__);
    return field;
}

QString TextOf(QWidget* field) {
    if (auto* mask = qobject_cast<TMaskEdit*>(field)) return mask->Text();
    if (auto* state = qobject_cast<TStateEdit*>(field)) return state->Text();
    if (auto* line = qobject_cast<QLineEdit*>(field)) return line->text();
    return {};
}

// Clicks into the field and types, as a person filling a form in any order.
void Type(QDialog& window, const char* name, const QString& keys) {
    QWidget* field = Field(window, name);
    if (!field) return;
    // At the start of the field, so that an empty masked field fills from its first digit.
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
    QCoreApplication::processEvents();  // a field selects its text once the click is over
    QTest::keyClicks(field, keys);
}

// A state: its first letter pressed until the code shows (the state fields cycle through
// the codes of a letter).
void PickState(QDialog& window, const char* name, const QString& code) {
    QWidget* field = Field(window, name);
    if (!field) return;
    QTest::mouseClick(field, Qt::LeftButton);
    for (int k = 0; k < 10 && TextOf(field) != code; ++k) QTest::keyClick(field, code.at(0).toLower().toLatin1());
    QCOMPARE(TextOf(field), code);
}

void Check(QDialog& window, const char* name) {
    if (QWidget* field = Field(window, name)) QTest::mouseClick(field, Qt::LeftButton);
    QVERIFY(qobject_cast<TCheckBoxEdit*>(Field(window, name))->Checked());
}

// Closes the window with the button; a window that refuses says why in its last message.
void CloseWith(QDialog& window, const char* button) {
    Click(window, button);
    if (!window.isVisible()) return;
    QString why;
    if (auto* prompter = dynamic_cast<ScriptedPrompter*>(&PortsOf(&window).prompter); prompter && !prompter->Texts().empty())
        why = QString::fromStdString(prompter->Texts().back());
    if (QWidget* focus = QApplication::focusWidget()) why += QStringLiteral(" (at ") + focus->objectName() + QLatin1Char(')');
    QFAIL(qPrintable(window.windowTitle() + QStringLiteral(" stayed open: ") + why));
}

struct Employee {
    const char* ssn;
    const char* first;
    const char* last;
    const char* street;
    const char* wages;
    const char* federalTax;
};

const Employee kEmployees[] = {
    {"212456781", "Ann", "Lee", "1 Main St", "42000", "4200"},
    {"212456782", "Bo", "Park", "22 Lake Rd", "38500.50", "3100.25"},
    {"212456783", "Cy", "Diaz", "9 Elm Ave", "51000", "6020"},
};

void TypeEmployee(QDialog& w2, const Employee& e) {
    // The SSN is typed at once: the window opens, and Alt+E arrives, with the focus in it.
    QCOMPARE(QApplication::focusWidget(), Field(w2, "Boxa"));
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(e.ssn));
    QCOMPARE(TextOf(Field(w2, "Boxa")), QString::fromLatin1(e.ssn).insert(5, u'-').insert(3, u'-'));
    Type(w2, "Boxe1", QString::fromLatin1(e.first));
    Type(w2, "Boxe3", QString::fromLatin1(e.last));
    Type(w2, "Boxf_a", QString::fromLatin1(e.street));
    Type(w2, "Boxf_b", QStringLiteral("Erie"));
    PickState(w2, "Boxf_c", QStringLiteral("PA"));
    Type(w2, "Boxf_d", QStringLiteral("16501"));
    Type(w2, "Amount1", QString::fromLatin1(e.wages));
    Type(w2, "Amount2", QString::fromLatin1(e.federalTax));  // leaving Box 1 filled boxes 3 to 6 and 16a
}

}  // namespace

class TestYearEndScenario : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> app_;

private slots:
    void initTestCase() { MainWindowHarness::UseTemporaryConfigFolder(); }
    void init() { app_ = std::make_unique<MainWindowHarness>(); }
    void cleanup() { app_.reset(); }

    void aNewPayerFromEntryToItsEfw2File() {
        app_->Start();
        TFrmMain& main = app_->Window();
        ModalScript& modals = app_->Modals();

        // File, New: the payer's name, then its W-3, then its employees.
        modals
            .Then([](QDialog& dialog) {
                TypeInto(dialog, "NewFileName", QString::fromLatin1(kPayerName));
                QTest::keyClick(&dialog, Qt::Key_Return);
            })
            .Then([](QDialog& w3) {
                QCOMPARE(w3.windowTitle(), kW3Caption);
                Check(w3, "Boxb1");  // 941
                Check(w3, "Boxb8");  // none apply
                Type(w3, "Boxe", QStringLiteral("361234567"));
                Type(w3, "Boxf_a", QStringLiteral("Lakeside Bakery Inc"));
                Type(w3, "Boxg_a", QStringLiteral("12 Shore Rd"));
                Type(w3, "Boxg_b", QStringLiteral("Erie"));
                PickState(w3, "Boxg_c", QStringLiteral("PA"));
                Type(w3, "Boxg_d", QStringLiteral("16501"));
                PickState(w3, "Box15", QStringLiteral("PA"));
                Type(w3, "StateID", QStringLiteral("98765432"));
                Type(w3, "Contact", QStringLiteral("Dana Fox"));
                CloseWith(w3, "BtnClose");
            })
            .Then([](QDialog& w2) {
                QCOMPARE(w2.windowTitle(), kW2Caption);
                for (std::size_t k = 0; k < std::size(kEmployees); ++k) {
                    if (k > 0) QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);  // new employee
                    // The new record came with the payer's state and state ID.
                    QCOMPARE(TextOf(Field(w2, "Box15a")), QStringLiteral("PA"));
                    QCOMPARE(TextOf(Field(w2, "StateID_a")), QStringLiteral("98765432"));
                    TypeEmployee(w2, kEmployees[k]);
                }
                CloseWith(w2, "BtnClose");
            });
        QTest::mouseClick(main.BtnNew, Qt::LeftButton);
        QCOMPARE(modals.Pending(), std::size_t(0));
        const std::string payerFile = app_->DataFolder() + kPayerName + ".W226";
        QVERIFY(fs::exists(payerFile));
        QCOMPARE(app_->DataModule().RSW2().RecordCount(), 3);
        QCOMPARE(main.windowTitle(), QStringLiteral("Quenvora W-2 Version 2026.00 - Lakeside Bakery Inc"));

        // The main window sums up the new payer; what was typed during New is no review.
        QVERIFY(main.SummaryPanel->isVisible());
        QCOMPARE(main.LblEmployer->text(), QStringLiteral("Employer: Lakeside Bakery Inc    EIN: 36-1234567"));
        QCOMPARE(main.LblFormsW2->text(), QStringLiteral("Forms W-2: 3"));
        QCOMPARE(main.LblBoxTotal[0]->text(), QStringLiteral("$131,500.50"));
        QCOMPARE(main.LblBoxTotal[1]->text(), QStringLiteral("$13,320.25"));
        QCOMPARE(main.LblNextStep->text(),
                 QStringLiteral("Next: enter or check Form W-3 (Forms, Form W-3) and close it."));

        // The EFW2 window says why Process waits.
        modals.Then([](QDialog& dialog) {
            TFrmEFW2* efw2 = Expect<TFrmEFW2>(dialog);
            if (!efw2) return;
            QVERIFY(!efw2->BtnProcess->isEnabled());
            QVERIFY2(efw2->ProcessHint->text().contains(
                         QStringLiteral("Form W-3 and Form W-2 of this payer have not been reviewed")),
                     qPrintable(efw2->ProcessHint->text()));
            CloseWith(dialog, "BtnClose");
        });
        app_->ChooseMenuItem(main.MnuTools, main.MnuEFW2);

        // The entry is reviewed: the W-3 once more, and every employee shown once; the
        // first employee's federal tax is put right on the way.
        modals.Then([](QDialog& w3) { CloseWith(w3, "BtnClose"); })
            .Then([](QDialog& w2) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
                Type(w2, "Amount2", QStringLiteral("4300"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
                CloseWith(w2, "BtnClose");
            });
        app_->ChooseMenuItem(main.MnuForms, main.MnuFormW3);
        app_->ChooseMenuItem(main.MnuForms, main.MnuFormW2);
        QCOMPARE(app_->DataModule().ReviewCount(), 2);
        QCOMPARE(main.LblBoxTotal[1]->text(), QStringLiteral("$13,420.25"));
        QCOMPARE(main.LblReview->text(),
                 QStringLiteral("Since the file was opened: Form W-3 reviewed, Forms W-2 reviewed."));
        QCOMPARE(main.LblNextStep->text(), QStringLiteral("Next: create the EFW2 file (Tools, EFW2 Module, Process)."));

        // Tools, EFW2 Module: the submitter information typed, Process, Close.
        modals.Then([](QDialog& dialog) {
            TFrmEFW2* efw2 = Expect<TFrmEFW2>(dialog);
            if (!efw2) return;
            QCOMPARE(efw2->ProcessHint->text(), QStringLiteral("Ready: Process writes the EFW2 file of this payer."));
            TypeSubmitter(*efw2, kValidSubmitterKeys);
            QTest::mouseClick(efw2->BtnProcess, Qt::LeftButton);
            QVERIFY(!efw2->BtnProcess->isEnabled());
            QCOMPARE(efw2->TotalRecords->text(), QStringLiteral("3"));
            QVERIFY2(efw2->Efw2Files->text().endsWith(QStringLiteral("/EFW2/Lakeside Bakery.txt")),
                     qPrintable(efw2->Efw2Files->text()));
            CloseWith(dialog, "BtnClose");
        });
        app_->ChooseMenuItem(main.MnuTools, main.MnuEFW2);
        QCOMPARE(modals.Pending(), std::size_t(0));
        QVERIFY2(main.LblLastEfw2->text().contains(QStringLiteral("file Lakeside Bakery.txt in the folder\n")),
                 qPrintable(main.LblLastEfw2->text()));
        QCOMPARE(main.LblNextStep->text(), QStringLiteral("Next: print the forms, or open the next payer file."));
        QCOMPARE(app_->Prompter().Texts().end()[-2],
                 std::string("Process Completed for Client: Lakeside Bakery Inc~Total Forms W-2 processed: 3~"
                             "Total Wages, tips, other compensation processed: $131,500.50"));
        // The file just written is audited at once.
        QCOMPARE(app_->Prompter().Texts().back(),
                 "EFW2 audit of " + std::string(kPayerName) + ".txt: no problems found in 7 records.");

        // The same payer file through the command-line tool, once the program has closed it.
        app_->Stop();
        const std::string clientFile = app_->DataFolder() + "EFW2/" + kPayerName + ".txt";
        const std::string cliFile = app_->Home() + "qnvr-efw2.txt";
        QProcess qnvr;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QNVR_PROGRAM_DIR"), QString::fromStdString(app_->ProgramFolder()));
        qnvr.setProcessEnvironment(environment);
        qnvr.start(QStringLiteral(QNVR_EXECUTABLE),
                   {QStringLiteral("efw2"), QStringLiteral("-o"), QString::fromStdString(cliFile),
                    QString::fromStdString(payerFile)});
        QVERIFY(qnvr.waitForFinished(30000));
        QVERIFY2(qnvr.exitCode() == 0, qnvr.readAllStandardError().constData());
        const std::string written = ReadFile(clientFile);
        QCOMPARE(written.size(), std::size_t(7 * 514));  // RA, RE, 3 RW, RT, RF, each with CR LF
        QVERIFY(written == ReadFile(cliFile));
        const std::vector<std::string> errors = testing::Efw2ErrorsBelow(app_->Home());
        QVERIFY2(errors.empty(), errors.empty() ? "" : errors.front().c_str());
    }
};

QNVR_TEST_MAIN(TestYearEndScenario)
#include "tst_year_end_scenario.moc"
