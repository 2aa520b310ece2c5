#include "core/csv/import_choices.h"

#include <gtest/gtest.h>

#include "core/base/errors.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

TEST(ImportChoicesTest, AFieldChosenForTwoColumnsIsNamedWithBoth) {
    const std::vector<std::string> header = {"SSN", "Wages", "Gross Pay", "Notes"};
    EXPECT_NO_THROW(CheckMapping({"Boxa", "Amount1", "", ""}, header));
    try {
        CheckMapping({"Boxa", "Amount1", "Amount1", ""}, header);
        FAIL() << "accepted";
    } catch (const EQnvrException& error) {
        EXPECT_EQ(std::string(error.what()),
                  "\"Box 1 Wages\" is chosen for two columns, \"Wages\" and \"Gross Pay\".~Choose (not imported) for "
                  "one of them.");
    }
}

TEST(ImportChoicesTest, EveryColumnOfAnEmployeeFileCanBeChosenAfterNotImported) {
    const std::vector<FieldChoice>& choices = FieldChoices();
    ASSERT_EQ(choices.size(), EmployeeColumns().size() + 1);
    EXPECT_EQ(choices[0].field, "");
    EXPECT_EQ(choices[0].caption, "(not imported)");
    EXPECT_EQ(choices[1].field, "Boxa");
    EXPECT_EQ(choices[1].caption, "SSN");
    EXPECT_EQ(choices.back().field, kFullNameColumn);
}

TEST(ImportChoicesTest, NamedMappingsAreKeptByNameReplacedByTheSameNameAndTheLastIsRemembered) {
    MemorySettingsStore settings;
    NamedMappings mappings(settings);
    EXPECT_TRUE(mappings.Names().empty());
    EXPECT_EQ(mappings.Last(), "");
    const std::vector<std::string> header = {"Emp SSN", "Gross Pay", "Notes"};
    mappings.Save("payroll plus", SaveMapping(header, {"Boxa", "Amount1", ""}));
    mappings.Save("ADP", SaveMapping(header, {"Boxa", "Amount5", ""}));
    EXPECT_EQ(mappings.Names(), (std::vector<std::string>{"ADP", "payroll plus"}));
    EXPECT_EQ(mappings.Last(), "ADP");

    mappings.Save(" Payroll Plus ", SaveMapping(header, {"Boxa", "Amount3", "Boxd"}));  // the same name
    EXPECT_EQ(mappings.Names(), (std::vector<std::string>{"ADP", "Payroll Plus"}));
    const std::optional<SavedMapping> saved = mappings.Find("payroll PLUS");
    ASSERT_TRUE(saved);
    EXPECT_EQ(ApplySavedMapping(*saved, header), (ColumnMapping{"Boxa", "Amount3", "Boxd"}));
    EXPECT_FALSE(mappings.Find("Gusto"));
    EXPECT_THROW(mappings.Save("  ", SavedMapping{}), EQnvrException);

    // What another run of the program finds.
    NamedMappings later(settings);
    EXPECT_EQ(later.Last(), "Payroll Plus");
    later.SetLast("");
    EXPECT_EQ(later.Last(), "");
    // A stored mapping that cannot be read gives way to the automatic one.
    settings.WriteString(kImportMappingsKey, "Columns1", "SSN\tNoSuchField\n");
    EXPECT_FALSE(later.Find("Payroll Plus"));
}

TEST(ImportChoicesTest, MessagesBeforeAndAfterAnImport) {
    ImportPlan plan;
    plan.refused = {{4, "Gross Pay", "\"(12.00)\" is a negative amount"}, {5, "SSN", "Social security number is invalid."}};
    EXPECT_EQ(RefusedRowsQuestion(plan), "");  // nothing would be imported: nothing to ask
    EXPECT_EQ(ImportDoneMessage(plan),
              "No employee has been imported.~0 employees added, 0 updated, 0 skipped, 2 rows refused.~The refused rows "
              "are listed in the window; Save List keeps them in a file.");
    plan.changes.resize(1);
    plan.added = 1;
    EXPECT_EQ(RefusedRowsQuestion(plan),
              "2 rows of the file are refused (listed in the window) and will not be imported.~Import the others (1 "
              "employee to add, 0 to update)?");
    plan.refused.clear();
    EXPECT_EQ(RefusedRowsQuestion(plan), "");
    EXPECT_EQ(ImportDoneMessage(plan), "1 employee added, 0 updated, 0 skipped, 0 rows refused.");
}

TEST(ImportChoicesTest, ThePreviewCaptionCountsTheRows) {
    CsvTable table;
    table.header = {"SSN"};
    table.rows.resize(1);
    EXPECT_EQ(PreviewCaption(table), "1 employee row.");
    table.rows.resize(kPreviewRows + 4);
    EXPECT_EQ(PreviewCaption(table), "24 employee rows; the first 20 are shown.");
}

TEST(ImportChoicesTest, AFileWithoutAHeaderRowIsRefusedByName) {
    testing::TempDir dir;
    const std::string empty = dir.File("empty.csv");
    testing::WriteBytes(empty, std::vector<unsigned char>{'\r', '\n'});
    try {
        ReadImportFile(empty);
        FAIL() << "read";
    } catch (const EQnvrException& error) {
        EXPECT_EQ(std::string(error.what()), empty + " holds nothing to import.~Its first line must name the columns.");
    }
}

TEST(ImportChoicesTest, TheRefusedRowsAreSavedOneALineOrTheFailureIsNamed) {
    testing::TempDir dir;
    const std::vector<RefusedRow> rows = {{4, "Gross Pay", "\"(12.00)\" is a negative amount"}};
    const std::string path = dir.File("refused.txt");
    SaveRefusedRows(path, rows);
    const std::vector<unsigned char> bytes = testing::ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Line 4, column \"Gross Pay\": \"(12.00)\" is a negative amount\n");
    const std::string nowhere = dir.File("no folder/refused.txt");
    try {
        SaveRefusedRows(nowhere, rows);
        FAIL() << "saved";
    } catch (const EQnvrException& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Unable to write " + nowhere + "~", 0), 0u) << error.what();
    }
}

TEST(ImportChoicesTest, TheExportProposesThePayerFilesNameAsCsv) {
    EXPECT_EQ(ExportFileNameFor("/home/pat/Data/Acme Payroll.W226"), "/home/pat/Data/Acme Payroll.csv");
    EXPECT_EQ(ExportFileNameFor("/home/pat/v1.2/Acme"), "/home/pat/v1.2/Acme.csv");
    EXPECT_EQ(ExportDoneMessage(1, "/tmp/a.csv"), "1 employee written to~/tmp/a.csv");
    EXPECT_EQ(ExportDoneMessage(3, "/tmp/a.csv"), "3 employees written to~/tmp/a.csv");
}

}  // namespace
}  // namespace qnvr
