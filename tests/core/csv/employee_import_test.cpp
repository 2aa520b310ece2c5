#include "core/csv/employee_import.h"
#include "core/csv/import_choices.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "core/entry/w2_rules.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// The W-2 fields a payroll export typically has, and two employees who pass every rule
// once the automatic amounts are filled (the payer's state and ID are preset).
const std::string kHeader = "SSN,First Name,Last Name,Address,City,State,Zip,Wages,Fed Tax Withheld\n";
const std::string kLee = "123-45-6780,Pat,Lee,1 Elm St,Albany,NY,12207,\"$1,234.56\",100\n";
const std::string kKim = "234567890,Dana,Kim,2 Oak Ave,Troy,New York,12180,200000,30000.00\n";

class EmployeeImportTest : public ::testing::Test {
protected:
    void SetUp() override { Open(dm, path); }
    static void Open(TFrmDataModule& data, const std::string& file) {
        data.OpenPayerFile(file);
        ASSERT_TRUE(data.PayerFileOpen());
        data.EditW3Rec([&](W3Record& w3) {
            w3.Box15 = "NY";
            w3.StateID = "123456789";
        });
        data.RSW3().PostRec();
    }
    ImportPlan Plan(const std::string& csv, DuplicateAction onDuplicate = DuplicateAction::Update) {
        const CsvTable table = ParseCsv(csv);
        return PlanImport(dm, table, AutoMapping(table.header), onDuplicate);
    }
    ImportPlan Import(const std::string& csv, DuplicateAction onDuplicate = DuplicateAction::Update) {
        ImportPlan plan = Plan(csv, onDuplicate);
        ApplyImport(dm, plan);
        return plan;
    }
    std::vector<W2Record> Employees() {
        std::vector<W2Record> all;
        dm.ForEachW2([&](const W2Record& w2) { all.push_back(w2); });
        return all;
    }

    TempDir dir;
    std::string path = dir.File("ACME.W226");
    ScriptedPrompter prompter;
    TFrmDataModule dm{CorePorts{.prompter = prompter}};
};

TEST(EmployeeColumnsTest, HeadersMatchByNameAndSynonymsWithoutRegardToCaseBlanksOrPunctuation) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SSN", "Boxa"}, {"Social Security Number", "Boxa"}, {"soc. sec. no.", "Boxa"}, {"Wages", "Amount1"},
        {"Federal Wages", "Amount1"}, {"Box 1", "Amount1"}, {"Fed Tax Withheld", "Amount2"},
        {"FED_TAX_WITHHELD", "Amount2"}, {"first name", "Boxe1"}, {"Zip Code", "Boxf_d"}, {"Box 12a Code", "Box12Code1"},
        {"Box12Amt7", "Box12Amt7"}, {"State", "Boxf_c"}, {"State 1", "Box15a"}, {"State Wages", "Box16a"},
        {"State Wages 2", "Box16b"}, {"Employee Name", kFullNameColumn}, {"Retirement Plan", "Box13b"},
        {"Notes", ""},
    };
    for (const auto& [header, field] : cases) {
        const EmployeeColumn* column = MatchHeader(header);
        EXPECT_EQ(column ? column->field : "", field) << header;
    }
    // A field takes the first column that names it.
    EXPECT_EQ(AutoMapping({"Wages", "Box 1", "SSN"}), (ColumnMapping{"Amount1", "", "Boxa"}));
}

TEST(EmployeeColumnsTest, EveryExportHeaderMapsBackToItsOwnField) {
    for (const EmployeeColumn& column : EmployeeColumns()) {
        const EmployeeColumn* matched = MatchHeader(column.header);
        ASSERT_NE(matched, nullptr) << column.header;
        EXPECT_EQ(matched->field, column.field) << column.header;
    }
}

TEST(EmployeeColumnsTest, ValuesAreReadAsPeopleWriteThem) {
    struct Case {
        std::string field, cell;
        std::string expected;  // the field afterwards, as WriteCell gives it; or the refusal
        bool refused = false;
    };
    const std::vector<Case> cases = {
        {"Amount1", "$1,234.56", "1234.56"},
        {"Amount1", "1234.5", "1234.50"},
        {"Amount1", " 7 ", "7.00"},
        {"Amount1", "12.340", "12.34"},
        {"Amount1", "(12.00)", "\"(12.00)\" is a negative amount; amounts below zero are not accepted.", true},
        {"Amount1", "-5", "\"-5\" is a negative amount; amounts below zero are not accepted.", true},
        {"Amount1", "12.345", "\"12.345\" has more than two decimals.", true},
        {"Amount1", "1,000,000,000", "\"1,000,000,000\" is too large: at most 9 digits before the decimal point.", true},
        {"Box12Amt1", "1000000", "\"1000000\" is too large: at most 6 digits before the decimal point.", true},
        {"Amount1", "n/a", "\"n/a\" is not an amount.", true},
        {"Boxa", "123456789", "123-45-6789"},
        {"Boxa", "123-45-6789", "123-45-6789"},
        {"Boxa", "12345", "12345"},  // kept for the rules to refuse
        {"Box13a", "Y", "Y"}, {"Box13a", "X", "Y"}, {"Box13a", "1", "Y"}, {"Box13a", "true", "Y"},
        {"Box13a", "no", "N"},
        {"Box13a", "maybe", "\"maybe\" is neither yes nor no (Y, X, 1, true or N, 0, false).", true},
        {"Boxf_c", "ny", "NY"}, {"Boxf_c", "New York", "NY"}, {"Box15b", "district of columbia", "DC"},
        {"Boxf_c", "Atlantis", "\"Atlantis\" is not a state.", true},
        {"Box12Code1", "dd", "DD"},
        {"Box12Code1", "ZZ", "\"ZZ\" is not a box 12 code.", true},
        {"Box14bTTOC", "101", "101"},
        {"Box14bTTOC", "999", "\"999\" is not a tipped occupation code.", true},
        {"Boxe2", "a", "A"},
        {"Boxe3", "O'Brien", "O'Brien"},
        {"Boxf_a", "12345 Very Long Street Name", "\"12345 Very Long Street Name\" is longer than 22 characters.", true},
    };
    for (const Case& c : cases) {
        const EmployeeColumn& column = *EmployeeColumnNamed(c.field);
        W2Record record;
        const auto error = ReadCell(column, c.cell, record);
        if (c.refused) {
            EXPECT_EQ(error.value_or("(accepted)"), c.expected) << c.field << " " << c.cell;
        } else {
            EXPECT_FALSE(error) << c.field << " " << c.cell << ": " << error.value_or("");
            EXPECT_EQ(WriteCell(column, record), c.expected) << c.field << " " << c.cell;
        }
    }
}

TEST(EmployeeColumnsTest, AWholeNameSplitsIntoLastFirstAndInitial) {
    const EmployeeColumn& name = *EmployeeColumnNamed(kFullNameColumn);
    for (const std::string cell : {"Smith, John A", "John A. Smith", "  Smith ,John  Adam "}) {
        W2Record record;
        EXPECT_FALSE(ReadCell(name, cell, record)) << cell;
        EXPECT_EQ(record.Boxe3, "Smith") << cell;
        EXPECT_EQ(record.Boxe1, "John") << cell;
        EXPECT_EQ(record.Boxe2, "A") << cell;
    }
    W2Record record;
    EXPECT_EQ(ReadCell(name, "Cher", record).value_or(""), "\"Cher\" is not a first and last name.");
}

TEST(EmployeeColumnsTest, ASavedMappingIsReadBackAndWinsOverTheAutomaticOne) {
    const std::vector<std::string> header = {"Emp SSN", "Wages", "Box 1", "Notes"};
    ColumnMapping mapping = AutoMapping(header);
    EXPECT_EQ(mapping, (ColumnMapping{"", "Amount1", "", ""}));
    mapping = {"Boxa", "", "Amount1", ""};
    const SavedMapping saved = ParseMappingFile(MappingFileText(SaveMapping(header, mapping)));
    EXPECT_EQ(ApplySavedMapping(saved, header), mapping);
    // A header the saved mapping does not know is matched automatically.
    EXPECT_EQ(ApplySavedMapping(saved, {"emp ssn", "Fed Tax Withheld"}), (ColumnMapping{"Boxa", "Amount2"}));
    EXPECT_THROW(ParseMappingFile("Wages\tAmount99\n"), EQnvrException);
}

TEST_F(EmployeeImportTest, RowsBecomeEmployeesWithTheAutomaticAmountsAndThePayersState) {
    const ImportPlan plan = Import(kHeader + kLee + kKim);
    EXPECT_TRUE(plan.refused.empty()) << RefusedRowsText(plan.refused);
    EXPECT_EQ(ImportSummary(plan), "2 employees added, 0 updated, 0 skipped, 0 rows refused.");
    const std::vector<W2Record> all = Employees();
    ASSERT_EQ(all.size(), 2u);  // the blank record of the new file took the first employee
    const W2Record& lee = all[0];
    EXPECT_EQ(lee.Boxa, "123-45-6780");
    EXPECT_EQ(lee.Boxf_csz, "Albany NY 12207");
    EXPECT_DOUBLE_EQ(lee.Amount1, 1234.56);
    EXPECT_DOUBLE_EQ(lee.Amount3, 1234.56);
    EXPECT_DOUBLE_EQ(lee.Amount4, 76.54);
    EXPECT_DOUBLE_EQ(lee.Amount5, 1234.56);
    EXPECT_DOUBLE_EQ(lee.Amount6, 17.90);
    EXPECT_DOUBLE_EQ(lee.Box16a, 1234.56);
    EXPECT_EQ(lee.Box15a, "NY");
    EXPECT_EQ(lee.StateID_a, "123456789");
    const W2Record& kim = all[1];
    EXPECT_EQ(kim.Boxf_c, "NY");
    EXPECT_DOUBLE_EQ(kim.Amount3, 184500.00);
    EXPECT_DOUBLE_EQ(kim.Amount4, 11439.00);
    EXPECT_DOUBLE_EQ(kim.Amount6, 2900.00);
    // The W-3 totals are current and stored.
    EXPECT_EQ(dm.W3Rec().Boxc, 2);
    EXPECT_DOUBLE_EQ(dm.W3Rec().Amount1, 201234.56);
    EXPECT_TRUE(dm.EmployeeListDirty());
    dm.RSW3().GetRec();
    EXPECT_DOUBLE_EQ(dm.W3Rec().Amount1, 201234.56);
}

TEST_F(EmployeeImportTest, AnAmountTheFileGivesIsKeptEvenWhenItIsZero) {
    // A payer without a state line says so with 0.00 in the state wages.
    const std::string csv = "SSN,First,Last,Address,City,State,Zip,Wages,SS Wages,State Wages,State 1,State ID\n"
                            "123456780,Pat,Lee,1 Elm St,Austin,TX,73301,1000,900,0.00,,\n";
    dm.EditW3Rec([&](W3Record& w3) {
        w3.Box15 = "X";
        w3.StateID.clear();
    });
    const ImportPlan plan = Import(csv);
    ASSERT_TRUE(plan.refused.empty()) << RefusedRowsText(plan.refused);
    const W2Record lee = Employees()[0];
    EXPECT_DOUBLE_EQ(lee.Amount3, 900);
    EXPECT_DOUBLE_EQ(lee.Amount4, 55.80);  // from box 3 as given
    EXPECT_DOUBLE_EQ(lee.Amount5, 1000);
    EXPECT_DOUBLE_EQ(lee.Box16a, 0);
}

TEST_F(EmployeeImportTest, RefusedRowsAreListedWithLineColumnAndTheRulesMessage) {
    const std::string csv = kHeader + kLee +
                            "345678901,Ann,,3 Pine Rd,Utica,NY,13501,500,10\n"          // line 3
                            "456789012,Bo,Ray,4 Ash Ln,Rome,NY,13440,(12.00),0\n"       // line 4
                            "666123456,Cy,Day,5 Fir Ct,Ilion,NY,13357,700,0\n"          // line 5
                            "\n"
                            "567890123,Di,Fox,6 Yew Way,Olean,NY,1476,800,0\n";         // line 7
    const ImportPlan plan = Import(csv);
    const std::vector<RefusedRow> expected = {
        {3, "Last Name", "Employee's last name is missing."},
        {4, "Wages", "\"(12.00)\" is a negative amount; amounts below zero are not accepted."},
        {5, "SSN", "Social security number is invalid."},
        {7, "Zip", "Employee's Zip Code is not valid."},
    };
    EXPECT_EQ(plan.refused, expected);
    EXPECT_EQ(plan.added, 1);
    EXPECT_EQ(Employees().size(), 1u);
    EXPECT_EQ(RefusedRowText(plan.refused[0]), "Line 3, column \"Last Name\": Employee's last name is missing.");
}

TEST_F(EmployeeImportTest, AnEmployeeAlreadyInTheFileIsUpdatedSkippedOrAddedAsChosen) {
    Import(kHeader + kLee + kKim);
    const std::string again = "SSN,Wages,City\n123456780,2000,Buffalo\n999-99-9999,1,X\n";
    struct Case {
        DuplicateAction action;
        std::size_t employees;
        double leeWages;
        std::string leeCity;
        std::string summary;
    };
    for (const Case& c : {Case{DuplicateAction::Update, 2, 2000, "Buffalo", "0 employees added, 1 updated, 0 skipped, 1 row refused."},
                          Case{DuplicateAction::Skip, 2, 1234.56, "Albany", "0 employees added, 0 updated, 1 skipped, 1 row refused."},
                          Case{DuplicateAction::Add, 2, 1234.56, "Albany", "0 employees added, 0 updated, 0 skipped, 2 rows refused."}}) {
        ImportPlan plan = Plan(again, c.action);
        EXPECT_EQ(ImportSummary(plan), c.summary);
        // Added as a new employee, the row lacks the name and address: refused by the rules.
        if (c.action == DuplicateAction::Add) {
            EXPECT_EQ(plan.refused[0].message, "Employee's first name is missing.");
        }
    }
    Import(again, DuplicateAction::Update);
    std::vector<W2Record> all = Employees();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_DOUBLE_EQ(all[0].Amount1, 2000);
    EXPECT_DOUBLE_EQ(all[0].Amount3, 1234.56);  // box 3 held an amount: kept, as in the W-2 window
    EXPECT_EQ(all[0].Boxf_b, "Buffalo");
    EXPECT_EQ(all[0].Boxf_csz, "Buffalo NY 12207");
    EXPECT_EQ(all[0].Boxe1, "Pat");  // columns the file does not have stay as they were

    const std::string newLee = kHeader + "123456780,Pat,Lee,9 New St,Albany,NY,12207,10,0\n";
    EXPECT_EQ(Import(newLee, DuplicateAction::Skip).skipped, 1);
    EXPECT_EQ(Employees().size(), 2u);
    EXPECT_EQ(Import(newLee, DuplicateAction::Add).added, 1);
    all = Employees();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2].Boxf_a, "9 New St");
}

TEST_F(EmployeeImportTest, TheTenThousandEmployeeLimitRefusesTheRowsBeyondIt) {
    dm.ClosePayerFile();
    std::vector<unsigned char> employees(static_cast<std::size_t>(kMaxEmployees - 1) * W2Record::kSize, 0);
    employees[0] = 1;  // not a blank file: record 1 holds something
    employees[1] = 'x';
    WriteBytes(path, employees);
    Open(dm, path);
    const ImportPlan plan = Import(kHeader + kLee + kKim);
    EXPECT_EQ(plan.added, 1);
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].line, 3);
    EXPECT_EQ(plan.refused[0].message,
              "The payer file already holds 10000 employees, the most it can hold; this employee was not added.");
    EXPECT_EQ(dm.RSW2().RecordCount(), kMaxEmployees);
    // The import window says why, beside the list.
    EXPECT_EQ(plan.overLimit, 1);
    EXPECT_EQ(ImportDoneMessage(plan),
              "1 employee added, 0 updated, 0 skipped, 1 row refused.~1 row was not added: the payer file holds 10000 "
              "employees, the most it can hold.~The refused rows are listed in the window; Save List keeps them in a "
              "file.");
}

TEST_F(EmployeeImportTest, ABrowseOnlyFileIsNotChanged) {
    Import(kHeader + kLee);
    const auto before = ReadBytes(path);
    TFrmDataModule second{CorePorts{.prompter = prompter}};
    second.OpenPayerFile(path);
    ASSERT_TRUE(second.RSW2().BrowseOnly());
    const CsvTable table = ParseCsv(kHeader + kKim);
    const ImportPlan plan = PlanImport(second, table, AutoMapping(table.header), DuplicateAction::Update);
    EXPECT_EQ(plan.added, 1);
    EXPECT_THROW(ApplyImport(second, plan), EQnvrException);
    EXPECT_EQ(ReadBytes(path), before);
}

// Lets the file grow by at most extraBytes for the life of the object; a write beyond
// fails with EFBIG instead of ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(EmployeeImportTest, AWriteThatFailsHalfwayLeavesThePayerFileAsItWas) {
    Import(kHeader + kLee);
    const auto before = ReadBytes(path);
    const std::string csv = kHeader + "123456780,Pat,Lee,1 Elm St,Albany,NY,12207,999,1\n" +
                            "345678901,Ann,Ash,3 Pine Rd,Utica,NY,13501,500,10\n" +
                            "456789012,Bo,Ray,4 Ash Ln,Rome,NY,13440,600,0\n" +
                            "567890123,Di,Fox,6 Yew Way,Olean,NY,14760,800,0\n";
    const ImportPlan plan = Plan(csv);
    ASSERT_EQ(plan.changes.size(), 4u);
    try {
        FileSizeLimit limit(3 * W2Record::kSize);  // room for two new employees, not three
        ApplyImport(dm, plan);
        FAIL() << "the import went through";
    } catch (const EQnvrException& error) {
        // The store's own reason follows the import's.
        const std::string what = error.what();
        EXPECT_EQ(what.rfind("The import failed at line 5.~No employee has been imported: " + path +
                                 " is as it was before.~Unable to save record 4 of " + path,
                             0),
                  0u)
            << what;
        EXPECT_NE(what.find("File too large"), std::string::npos) << what;
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dm.RSW2().RecordCount(), 1);
    EXPECT_EQ(dm.W2Rec().Boxe1, "Pat");
    EXPECT_DOUBLE_EQ(dm.W2Rec().Amount1, 1234.56);
}

TEST_F(EmployeeImportTest, ExportThenImportIntoANewPayerFileGivesTheSameRecords) {
    Import(kHeader + kLee + kKim);
    // Every kind of field, with texts that need quoting.
    dm.RSW2().SetCurrentRecord(2);
    dm.RSW2().GetRec();
    W2Record kim = dm.W2Rec();
    kim.Boxd = "A-7";
    kim.Boxe2 = "Q";
    kim.Suffix = "JR";
    kim.Boxf_a = "2 Oak Ave, \"Rear\"";
    kim.Amount7 = 12.5;
    kim.Amount10 = 0.01;
    kim.Box12Code[0] = "DD";
    kim.Box12Amt[0] = 4321.09;
    kim.Box12Code[11] = "TP";
    kim.Box12Amt[11] = 99;
    kim.Box13b = true;
    kim.Box14Desc_a = "Uni\xC3\xB6n";
    kim.Box14Amt_a = 44;
    kim.Box14bTTOC = "101";
    kim.Box15b = "CT";
    kim.StateID_b = "555";
    kim.Box16b = 1000;
    kim.Box17b = 50;
    kim.Box18a = 300;
    kim.Box19a = 3;
    kim.Box20a = "TROY";
    ASSERT_FALSE(ValidateW2(kim)) << ValidateW2(kim)->message;
    dm.PostW2Rec(kim);
    const std::string exported = dir.File("employees.csv");
    ExportEmployees(dm, exported);
    const std::vector<W2Record> original = Employees();

    TFrmDataModule fresh{CorePorts{.prompter = prompter}};
    fresh.OpenPayerFile(dir.File("NEW.W226"));
    ASSERT_TRUE(fresh.PayerFileOpen());
    const CsvTable table = ReadCsvFile(exported);
    const ImportPlan plan = PlanImport(fresh, table, AutoMapping(table.header), DuplicateAction::Update);
    ASSERT_TRUE(plan.refused.empty()) << RefusedRowsText(plan.refused);
    ApplyImport(fresh, plan);
    std::vector<W2Record> copied;
    fresh.ForEachW2([&](const W2Record& w2) { copied.push_back(w2); });
    ASSERT_EQ(copied.size(), original.size());
    for (std::size_t k = 0; k < original.size(); ++k) {
        std::vector<std::uint8_t> a(W2Record::kSize), b(W2Record::kSize);
        EncodeW2(original[k], a);
        EncodeW2(copied[k], b);
        for (const auto& field : W2Layout())
            EXPECT_TRUE(std::equal(a.begin() + field.offset, a.begin() + field.offset + field.Width(), b.begin() + field.offset))
                << "employee " << k + 1 << " field " << field.name;
    }
}

}  // namespace
}  // namespace qnvr
