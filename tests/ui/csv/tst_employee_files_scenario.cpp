// Employees in and out of a payer file from the main window, as a preparer does it:
// File, Import Employees with a payroll system's file (semicolons, Windows-1252, one
// header the program does not know), the mapping corrected and kept by a name, skipped
// duplicates, refused rows listed and saved; and File, Export Employees.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <fstream>
#include <iterator>

#include "core/csv/employee_import.h"
#include "support/main_window_harness.h"
#include "support/qnvr_test_main.h"
#include "ui/csv/frm_import_employees.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A payer in Pennsylvania with one employee, Ann Lee, entered earlier.
std::string MakePayerFile(const std::string& path) {
    TFrmDataModule dm{CorePorts{}};
    dm.OpenPayerFile(path);
    dm.EditW3Rec([&](W3Record& w3) {
        w3.Boxf_a = "Lakeside Bakery";
        w3.Box15 = "PA";
        w3.StateID = "1234567";
    });
    dm.RSW3().PostRec();
    const CsvTable table = ParseCsv(
        "SSN,First Name,Last Name,Address,City,State,Zip,Wages,Fed Tax Withheld\n"
        "212-45-6781,Ann,Lee,1 Main St,Erie,PA,16501,42000.00,4200.00\n");
    ApplyImport(dm, PlanImport(dm, table, AutoMapping(table.header), DuplicateAction::Update));
    dm.ClosePayerFile();
    return path;
}

// What a payroll system wrote: semicolons, Windows-1252 ("M\xFCller", "Jos\xE9"), and
// "Gross Pay", which no W-2 field answers to. Line 2 is Ann Lee again; line 4 has a
// negative amount; line 6 an SSN of five digits.
const std::string kPayrollFile =
    "Employee SSN;Last Name;First Name;Street;City;State;Zip;Gross Pay;Fed Tax Withheld\r\n"
    "212-45-6781;Lee;Ann;1 Main St;Erie;PA;16501;99999.00;1.00\r\n"
    "212456782;M\xFCller;Jos\xE9;22 Lake Rd;Erie;PA;16501;38500.50;3100.25\r\n"
    "212456783;Diaz;Cy;9 Elm Ave;Erie;PA;16501;(12.00);10\r\n"
    "212456784;Park;Bo;3 Oak Ct;Erie;PA;16501;\"51,000\";6020\r\n"
    "12345;Kim;Dee;4 Pine St;Erie;PA;16501;100;1\r\n";
constexpr int kGrossPay = 7;  // the column

// Picks the item from the keyboard: Down moves through the closed list item by item.
void Choose(QComboBox* box, const QString& item) {
    QVERIFY(box);
    const int index = box->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    box->setFocus();
    if (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < 200 && box->currentIndex() < index; ++i) QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), item);
}

void ClickOn(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

QStringList Row(const QTableWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return cells;
}

}  // namespace

class TestEmployeeFilesScenario : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowHarness> app_;
    std::string csv_;

    TFrmMain& Window() { return app_->Window(); }

    // File, Import Employees by the keyboard; step is the import window's.
    void ImportByKeys() {
        QTRY_COMPARE(QGuiApplication::focusWindow(), Window().windowHandle());
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(Window().MnuFile->isVisible());
        QTest::keyClick(Window().MnuFile, Qt::Key_I);
    }

    // Browse, the payroll file chosen in the file dialog (the next step of the script).
    static void ChooseTheFile(TFrmImportEmployees& window) { QTest::mouseClick(window.BtnBrowse, Qt::LeftButton); }

private slots:
    void initTestCase() { MainWindowHarness::UseTemporaryConfigFolder(); }
    void init() {
        app_.reset();  // a harness a failed test left behind goes first, with its modal handler
        app_ = std::make_unique<MainWindowHarness>();
        csv_ = app_->Home() + "payroll.csv";
        WriteFile(csv_, kPayrollFile);
        app_->Start({MakePayerFile(app_->Home() + "Lakeside Bakery.W226")});
        QVERIFY(app_->DataModule().PayerFileOpen());
        QCOMPARE(Window().LblFormsW2->text(), QStringLiteral("Forms W-2: 1"));
    }
    void cleanup() {
        const QStringList unexpected = app_->Modals().Unexpected();
        const std::size_t pending = app_->Modals().Pending();
        app_.reset();
        QCOMPARE(unexpected, QStringList());
        QCOMPARE(pending, std::size_t{0});
    }

    void importWithACorrectedColumnSkipsDuplicatesAndListsTheRefusedRows() {
        const std::string listPath = app_->Home() + "refused.txt";
        ScriptedPrompter& prompter = app_->Prompter();
        app_->Modals()
            .Then([&](QDialog& dialog) {
                auto* window = Expect<TFrmImportEmployees>(dialog);
                if (!window) return;
                QVERIFY(!window->BtnImport->isEnabled());
                ChooseTheFile(*window);
                QCOMPARE(window->FileName->text(), Q(csv_));
                // The guesses, and the first rows under the fields their headers name.
                QCOMPARE(window->CmbEncoding->currentText(), QStringLiteral("Windows-1252"));
                QCOMPARE(window->CmbSeparator->currentText(), QStringLiteral("Semicolon"));
                QCOMPARE(window->LblRows->text(), QStringLiteral("5 employee rows."));
                QTableWidget* preview = window->Preview;
                QCOMPARE(preview->columnCount(), 9);
                QCOMPARE(preview->rowCount(), 6);
                QCOMPARE(preview->horizontalHeaderItem(kGrossPay)->text(), QStringLiteral("Gross Pay"));
                QCOMPARE(preview->verticalHeaderItem(2)->text(), QStringLiteral("3"));  // the file's line
                QCOMPARE(preview->item(2, 1)->text(), QStringLiteral("Müller"));
                QCOMPARE(window->FieldCombo(0)->currentText(), QStringLiteral("SSN"));
                QCOMPARE(window->FieldCombo(8)->currentText(), QStringLiteral("Box 2 Federal Income Tax Withheld"));
                QCOMPARE(window->FieldCombo(kGrossPay)->currentText(), QStringLiteral("(not imported)"));

                // UTF-8 is the wrong correction; the file is read again at once, and refused.
                Choose(window->CmbEncoding, QStringLiteral("UTF-8"));
                QCOMPARE(Q(prompter.Texts().back()),
                         Q(csv_) + QStringLiteral(": Line 3 is not UTF-8 text. Choose the encoding Windows-1252 for "
                                                  "this file."));
                QCOMPARE(preview->rowCount(), 0);
                QVERIFY(!window->BtnImport->isEnabled());
                Choose(window->CmbEncoding, QStringLiteral("Windows-1252"));
                QCOMPARE(preview->item(2, 1)->text(), QStringLiteral("Müller"));

                // Imported as the headers say, no row has wages: nothing is written, and
                // Import stays for another try.
                ClickOn(window->RbSkip);
                QVERIFY(window->RbSkip->isChecked());
                prompter.Clear();
                QTest::mouseClick(window->BtnImport, Qt::LeftButton);
                QCOMPARE(prompter.Texts(),
                         std::vector<std::string>({"No employee has been imported.~0 employees added, 0 updated, 1 "
                                                   "skipped, 4 rows refused.~The refused rows are listed in the "
                                                   "window; Save List keeps them in a file."}));
                QCOMPARE(window->RefusedList->rowCount(), 4);
                QCOMPARE(window->RefusedList->item(0, 1)->text(), QStringLiteral("Box 1 Wages"));
                QVERIFY(window->BtnImport->isEnabled());

                // Gross pay is the wages. Moving through the list on the way takes nothing
                // from the other columns.
                Choose(window->FieldCombo(kGrossPay), QStringLiteral("Box 1 Wages"));
                QCOMPARE(window->Mapping()[kGrossPay], std::string("Amount1"));
                QCOMPARE(window->Mapping()[0], std::string("Boxa"));
                QCOMPARE(window->FieldCombo(0)->currentText(), QStringLiteral("SSN"));

                prompter.Clear();
                QTest::mouseClick(window->BtnImport, Qt::LeftButton);
                QCOMPARE(prompter.Texts(),
                         std::vector<std::string>({"2 rows of the file are refused (listed in the window) and will not be "
                                      "imported.~Import the others (2 employees to add, 0 to update)?",
                                      "2 employees added, 0 updated, 1 skipped, 2 rows refused.~The refused rows are "
                                      "listed in the window; Save List keeps them in a file."}));
                QCOMPARE(window->LblSummary->text(),
                         QStringLiteral("2 employees added, 0 updated, 1 skipped, 2 rows refused."));
                QCOMPARE(window->RefusedList->rowCount(), 2);
                QCOMPARE(Row(window->RefusedList, 0),
                         QStringList({"4", "Gross Pay",
                                      "\"(12.00)\" is a negative amount; amounts below zero are not accepted."}));
                QCOMPARE(Row(window->RefusedList, 1),
                         QStringList({"6", "Employee SSN", "Social security number is invalid."}));
                QVERIFY(!window->BtnImport->isEnabled());  // once per reading of the file

                QTest::mouseClick(window->BtnSaveList, Qt::LeftButton);
                QCOMPARE(Q(prompter.Texts().back()),
                         QStringLiteral("The list of refused rows has been saved to~") + Q(listPath));
                QTest::mouseClick(window->BtnClose, Qt::LeftButton);
            })
            .Then([&](QDialog& files) { ChooseFile(files, Q(csv_)); })
            .Then([&](QDialog& files) {
                QCOMPARE(files.windowTitle(), QStringLiteral("Save the Refused Rows"));
                ChooseFile(files, Q(listPath));
            });
        ImportByKeys();

        QCOMPARE(ReadFile(listPath),
                 std::string("Line 4, column \"Gross Pay\": \"(12.00)\" is a negative amount; amounts below zero are "
                             "not accepted.\n"
                             "Line 6, column \"Employee SSN\": Social security number is invalid.\n"));
        // The payer file: Ann Lee as she was (her row was skipped), and the two new employees.
        TFrmDataModule& dm = app_->DataModule();
        std::vector<W2Record> employees;
        dm.ForEachW2([&](const W2Record& w2) { employees.push_back(w2); });
        QCOMPARE(employees.size(), std::size_t{3});
        QCOMPARE(employees[0].Amount1, 42000.0);
        QCOMPARE(Q(employees[1].Boxa), QStringLiteral("212-45-6782"));
        QCOMPARE(Q(employees[1].Boxe1 + " " + employees[1].Boxe3), QStringLiteral("José Müller"));
        QCOMPARE(employees[1].Amount1, 38500.50);
        QCOMPARE(employees[1].Amount3, 38500.50);  // the automatic amounts
        QCOMPARE(Q(employees[1].Box15a), QStringLiteral("PA"));
        QCOMPARE(employees[2].Amount1, 51000.0);
        // The W-3 totals as stored, and the main window's summary.
        QCOMPARE(dm.W3Rec().Amount1, 42000.0 + 38500.50 + 51000.0);
        QCOMPARE(dm.W3Rec().Amount2, 4200.0 + 3100.25 + 6020.0);
        QCOMPARE(Window().LblFormsW2->text(), QStringLiteral("Forms W-2: 3"));
        QCOMPARE(Window().LblBoxTotal[0]->text(), QStringLiteral("$131,500.50"));
        QCOMPARE(Window().LblBoxTotal[1]->text(), QStringLiteral("$13,320.25"));
    }

    void aMappingSavedByNameIsOfferedTheNextTime() {
        app_->Modals()
            .Then([&](QDialog& dialog) {
                auto* window = Expect<TFrmImportEmployees>(dialog);
                if (!window) return;
                QCOMPARE(window->CmbMapping->currentText(), QStringLiteral("(automatic)"));
                ChooseTheFile(*window);
                Choose(window->FieldCombo(kGrossPay), QStringLiteral("Box 1 Wages"));
                TypeInto(dialog, "MappingName", QStringLiteral("Payroll Plus"));
                QTest::mouseClick(window->BtnSaveMapping, Qt::LeftButton);
                QCOMPARE(window->CmbMapping->currentText(), QStringLiteral("Payroll Plus"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
            })
            .Then([&](QDialog& files) { ChooseFile(files, Q(csv_)); });
        ImportByKeys();

        // The next run of the program reads the settings file afresh.
        app_->Restart();
        app_->Modals()
            .Then([&](QDialog& dialog) {
                auto* window = Expect<TFrmImportEmployees>(dialog);
                if (!window) return;
                QCOMPARE(window->CmbMapping->count(), 2);
                QCOMPARE(window->CmbMapping->currentText(), QStringLiteral("Payroll Plus"));
                ChooseTheFile(*window);
                QCOMPARE(window->FieldCombo(kGrossPay)->currentText(), QStringLiteral("Box 1 Wages"));
                // Back to the automatic mapping, and to the saved one again.
                Choose(window->CmbMapping, QStringLiteral("(automatic)"));
                QCOMPARE(window->FieldCombo(kGrossPay)->currentText(), QStringLiteral("(not imported)"));
                Choose(window->CmbMapping, QStringLiteral("Payroll Plus"));
                QCOMPARE(window->Mapping()[kGrossPay], std::string("Amount1"));
                QTest::mouseClick(window->BtnClose, Qt::LeftButton);
            })
            .Then([&](QDialog& files) { ChooseFile(files, Q(csv_)); });
        app_->Start({app_->Home() + "Lakeside Bakery.W226"});
        ImportByKeys();
        QVERIFY(app_->Prompter().Messages().empty());
    }

    void exportWritesEveryEmployeeUnderHeadersTheImportKnows() {
        const std::string target = app_->Home() + "employees.csv";
        app_->Modals().Then([&](QDialog& files) {
            QCOMPARE(files.windowTitle(), QStringLiteral("Export Employees to"));
            auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            QCOMPARE(name->text(), QStringLiteral("Lakeside Bakery.csv"));  // proposed
            ChooseFile(files, Q(target));
        });
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuExportEmployees);
        QCOMPARE(Q(app_->Prompter().Texts().back()), QStringLiteral("1 employee written to~") + Q(target));
        const std::string text = ReadFile(target);
        QVERIFY2(text.starts_with("SSN,Control Number,First Name,Middle Initial,Last Name,Suffix,Street Address,City,"
                                  "State,ZIP Code,Box 1 Wages,Box 2 Federal Income Tax Withheld,"),
                 text.c_str());
        QVERIFY2(text.find("\r\n212-45-6781,,Ann,,Lee,,1 Main St,Erie,PA,16501,42000.00,4200.00,") != std::string::npos,
                 text.c_str());
    }

    // A payer file another copy of the program holds can be exported, not imported into.
    void aBrowseOnlyFileCanBeExportedButNotImportedInto() {
        const std::string path = app_->Home() + "Lakeside Bakery.W226";
        app_->ChooseMenuItem(Window().MnuFile, Window().MnuClose);
        QVERIFY(!Window().MnuImportEmployees->isEnabled());
        QVERIFY(!Window().MnuExportEmployees->isEnabled());
        TFrmDataModule otherCopy{CorePorts{}};
        otherCopy.OpenPayerFile(path);
        app_->Start({path});
        QVERIFY(app_->DataModule().RSW2().BrowseOnly());
        QVERIFY(!Window().MnuImportEmployees->isEnabled());
        QVERIFY(Window().MnuExportEmployees->isEnabled());
        otherCopy.ClosePayerFile();
    }
};

QNVR_TEST_MAIN(TestEmployeeFilesScenario)
#include "tst_employee_files_scenario.moc"
