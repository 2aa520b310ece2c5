#include "core/csv/csv_file.h"

#include <gtest/gtest.h>

#include "core/base/errors.h"

namespace qnvr {
namespace {

using Cells = std::vector<std::string>;

TEST(CsvFileTest, QuotedFieldsKeepSeparatorsQuotesAndLineBreaks) {
    const CsvTable table = ParseCsv("Name,Street\r\n\"Smith, John\",\"12 \"\"Elm\"\" St\"\r\nLee,\"Apt 4\nBack\"\r\nKim,Main\r\n");
    EXPECT_EQ(table.header, (Cells{"Name", "Street"}));
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].cells, (Cells{"Smith, John", "12 \"Elm\" St"}));
    EXPECT_EQ(table.rows[1].cells, (Cells{"Lee", "Apt 4\nBack"}));
    // Each row knows the line it begins on, even after a line break inside a field.
    EXPECT_EQ(table.rows[0].line, 2);
    EXPECT_EQ(table.rows[1].line, 3);
    EXPECT_EQ(table.rows[2].line, 5);
}

TEST(CsvFileTest, BlankLinesAreSkippedAndCountedInLineNumbers) {
    const CsvTable table = ParseCsv("SSN\n\n123456789\n\n\n987654321\n");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0].line, 3);
    EXPECT_EQ(table.rows[1].line, 6);
}

TEST(CsvFileTest, SeparatorsAreGuessedFromTheHeader) {
    struct Case {
        std::string text;
        char separator;
    };
    for (const Case& c : {Case{"a,b,c;d\n1,2,3;4\n", ','}, Case{"a;b;c\n1;2,5;3\n", ';'}, Case{"a\tb\tc\n1\t 2\t3\n", '\t'},
                          Case{"\"x,y\";b;c\n1;2;3\n", ';'}}) {
        const CsvTable table = ParseCsv(c.text);
        EXPECT_EQ(table.separator, c.separator) << c.text;
        EXPECT_EQ(table.header.size(), 3u) << c.text;
        ASSERT_EQ(table.rows.size(), 1u);
        EXPECT_EQ(table.rows[0].cells.size(), 3u) << c.text;
    }
    // A tab-separated empty cell stays a cell of its own.
    EXPECT_EQ(ParseCsv("a\tb\tc\n1\t\t3\n").rows[0].cells, (Cells{"1", "", "3"}));
}

TEST(CsvFileTest, EncodingsAreGuessedAndCanBeCorrected) {
    const std::string utf8 = "Name\nJos\xC3\xA9\n";
    const std::string bom = "\xEF\xBB\xBFName\nJos\xC3\xA9\n";
    const std::string ansi = "Name\nJos\xE9\n";
    EXPECT_EQ(ParseCsv(utf8).encoding, CsvEncoding::Utf8);
    EXPECT_EQ(ParseCsv(bom).header, Cells{"Name"});  // the byte-order mark is not part of the header
    EXPECT_EQ(ParseCsv(bom).rows[0].cells[0], "Jos\xC3\xA9");
    EXPECT_EQ(ParseCsv(ansi).encoding, CsvEncoding::Windows1252);
    EXPECT_EQ(ParseCsv(ansi).rows[0].cells[0], "Jos\xC3\xA9");
    // The user corrects a guess: UTF-8 text read as Windows-1252 gives two characters.
    EXPECT_EQ(ParseCsv(utf8, CsvEncoding::Windows1252).rows[0].cells[0], "Jos\xC3\x83\xC2\xA9");
    try {
        ParseCsv("Name\nOK\nJos\xE9\n", CsvEncoding::Utf8);
        FAIL() << "Windows-1252 text read as UTF-8";
    } catch (const EQnvrException& error) {
        EXPECT_STREQ(error.what(), "Line 3 is not UTF-8 text. Choose the encoding Windows-1252 for this file.");
    }
}

TEST(CsvFileTest, AnUnclosedQuoteIsAnErrorNamingItsLine) {
    try {
        ParseCsv("SSN,Name\n123456789,Lee\n987654321,\"Kim\n");
        FAIL() << "an unclosed quote was accepted";
    } catch (const EQnvrException& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("Line 3 cannot be read")) << error.what();
    }
}

TEST(CsvFileTest, WrittenLinesReadBackAsTheyWere) {
    const Cells cells = {"plain", "with, comma", "with \"quote\"", "two\nlines", " padded ", "", "semi;colon"};
    const std::string text = CsvLine({"a", "b", "c", "d", "e", "f", "g"}) + CsvLine(cells);
    EXPECT_EQ(CsvLine({"1", "x y"}), "1,x y\r\n");
    const CsvTable table = ParseCsv(text);
    EXPECT_EQ(table.separator, ',');
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].cells, cells);
}

}  // namespace
}  // namespace qnvr
