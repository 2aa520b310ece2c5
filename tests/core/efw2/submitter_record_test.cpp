#include "core/efw2/submitter_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/base/errors.h"
#include "efw2/efw2_fixture.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::ReadBytes;
using testing::ValidSubmitter;
using testing::TempDir;
using testing::WriteBytes;

TEST(SubmitterSettingsRules, FirstFailingRuleGivesFieldAndMessage) {
    struct Case {
        std::function<void(SubmitterRecord&)> change;
        const char* field;
        const char* message;
    };
    const Case cases[] = {
        {[](auto& s) { s.EIN = "  -       "; }, "EIN", "Submitter's Employer Identification Number is required."},
        {[](auto& s) { s.EIN = "07-1234567"; }, "EIN", "Submitter's Employer Identification Number is required."},
        {[](auto& s) { s.UserID = "ABCD123"; }, "UserID", "BSO User ID must be 8 characters."},
        {[](auto& s) { s.SetResubmitted(true); }, "ResubID", "Wage File Identifier is required."},
        {[](auto& s) { s.ZipCode = "1234"; }, "ZipCode", "Company Zip Code must be 5 digits."},
        {[](auto& s) { s.ZipCodeExt = "123"; }, "ZipCodeExt", "Company Zip Code extension must be 4 digits."},
        {[](auto& s) { s.SubmitName = "  "; }, "SubmitName", "Submitter Name is required."},
        {[](auto& s) { s.SubmitAddr2 = ""; }, "SubmitAddr2", "Submitter's Delivery address is required."},
        {[](auto& s) { s.SubmitCity = ""; }, "SubmitCity", "Submitter's City is required."},
        {[](auto& s) { s.SubmitState = ""; }, "SubmitState", "Submitter's State is required."},
        {[](auto& s) { s.SubmitZip = ""; }, "SubmitZip", "Submitter's Zip Code must be 5 digits."},
        {[](auto& s) { s.SubmitZipExt = "12"; }, "SubmitZipExt", "Submitter's Zip Code extension must be 4 digits."},
        {[](auto& s) { s.ContactName = ""; }, "ContactName", "Person to be contacted by SSA is required."},
        {[](auto& s) { s.ContactPhone = "   -   -    "; }, "ContactPhone",
         "Contact Person's telephone number is required."},
        {[](auto& s) { s.ContactEmail = ""; }, "ContactEmail",
         "Contact Person's e-mail/internet address is required."},
        {[](auto& s) { s.ContactEmail = "lee.partners.example"; }, "ContactEmail",
         "Contact Person's e-mail/internet address is invalid."},
        {[](auto& s) { s.ContactFax = "212-555"; }, "ContactFax", "Contact Person's fax number is not valid."},
        {[](auto& s) { s.PreparerCode = " "; }, "PreparerCode", "Preparer Code is required."},
        // Several failures: the first in the table's order wins.
        {[](auto& s) { s.PreparerCode = "", s.SubmitCity = "", s.UserID = ""; }, "UserID",
         "BSO User ID must be 8 characters."},
    };
    for (const Case& c : cases) {
        SubmitterRecord s = ValidSubmitter();
        c.change(s);
        const auto failure = ValidateSubmitter(s);
        ASSERT_TRUE(failure) << c.field;
        EXPECT_EQ(failure->field, c.field);
        EXPECT_EQ(failure->message, c.message);
    }
}

TEST(SubmitterSettingsRules, OptionalFieldsMayStayEmpty) {
    SubmitterRecord s = ValidSubmitter();
    s.ZipCode = s.ZipCodeExt = s.SubmitZipExt = s.ContactFax = s.CompanyName = s.StateCode = "";
    s.SetResubmitted(false);
    s.ResubID = "";
    EXPECT_FALSE(ValidateSubmitter(s));
    s.SetResubmitted(true);
    s.ResubID = "ABC123";
    EXPECT_FALSE(ValidateSubmitter(s));
}

TEST(SubmitterSettingsRules, MarkedFieldsLeaveOutTheCompanyZip) {
    EXPECT_TRUE(MarkedSubmitterFields(ValidSubmitter()).empty());
    SubmitterRecord s = ValidSubmitter();
    s.ZipCode = "1";
    s.ZipCodeExt = "1";
    s.ContactEmail = "";  // blank and invalid: marked once
    s.SubmitState = "";
    s.SetResubmitted(true);  // with an empty identifier
    EXPECT_EQ(MarkedSubmitterFields(s), (std::vector<std::string>{"ResubID", "SubmitState", "ContactEmail"}));
    EXPECT_EQ(MarkedSubmitterFields(SubmitterRecord{}),
              (std::vector<std::string>{"EIN", "UserID", "SubmitName", "SubmitAddr2", "SubmitCity", "SubmitState",
                                        "SubmitZip", "ContactName", "ContactPhone", "ContactEmail", "PreparerCode"}));
}

std::string TextAt(const std::vector<std::uint8_t>& bytes, int offset) {
    return std::string(reinterpret_cast<const char*>(&bytes[offset + 1]), bytes[offset]);
}

TEST(SubmitterSettingsFile, FieldsLandAtTheirOffsetsAndComeBack) {
    SubmitterRecord s = ValidSubmitter();
    s.SetResubmitted(true);
    s.ResubID = "WFID01";
    s.CompanyName = std::string(57, 'C');
    s.StateCode = "NJ";
    s.ForeignZip = "SW1A 1AA";
    s.SubmitCC = "UK";
    s.ContactFax = "212-555-0198";
    s.ClientsProcessed = 3;
    s.FormsW2Processed = 9;
    s.WagesProcessed = 123456.78;
    s.ExcludeSubmitter = true;
    s.FinalPending = true;
    s.StoreRAConstants();
    const std::vector<std::uint8_t> bytes = EncodeSubmitter(s);
    ASSERT_EQ(bytes.size(), 584u);

    const struct {
        int offset;
        std::string text;
    } texts[] = {
        {0, "RA"},   {3, "98-7654321"}, {14, "ABCD1234"}, {23, "    "},  {34, "1"},   {36, "WFID01"},
        {43, "98"},  {46, std::string(57, 'C')},          {173, "NJ"},  {217, "SW1A 1AA"},
        {363, "NY"}, {423, "UK"},       {454, "212-555-0199"},          {480, "lee@partners.example"},
        {525, "212-555-0198"},          {540, "A"},       {542, std::string(12, ' ')},
    };
    for (const auto& t : texts) EXPECT_EQ(TextAt(bytes, t.offset), t.text) << "offset " << t.offset;
    std::int32_t clients, forms;
    double wages;
    std::memcpy(&clients, &bytes[556], 4);
    std::memcpy(&forms, &bytes[560], 4);
    std::memcpy(&wages, &bytes[568], 8);
    EXPECT_EQ(clients, 3);
    EXPECT_EQ(forms, 9);
    EXPECT_EQ(wages, 123456.78);
    EXPECT_EQ(bytes[576], 1);
    EXPECT_EQ(bytes[577], 0);
    EXPECT_EQ(bytes[578], 1);

    TempDir dir;
    WriteSubmitterFile(dir.File("QNVR.W2S"), s);
    const SubmitterRecord back = ReadSubmitterFile(dir.File("QNVR.W2S"));
    EXPECT_EQ(EncodeSubmitter(back), bytes);
    EXPECT_TRUE(back.Resubmitted());
}

TEST(SubmitterSettingsFile, MissingFileIsCreatedEmptyAndShortFileIsRefused) {
    TempDir dir;
    const std::string path = dir.File("QNVR.W2S");
    EXPECT_THROW(ReadSubmitterFile(path), EQnvrException);
    CreateSubmitterFileIfMissing(path);
    EXPECT_EQ(ReadBytes(path), std::vector<unsigned char>(584, 0));
    const SubmitterRecord empty = ReadSubmitterFile(path);
    EXPECT_EQ(empty.EIN, "");
    EXPECT_FALSE(empty.Resubmitted());
    EXPECT_EQ(empty.FormsW2Processed, 0);

    WriteBytes(path, std::vector<unsigned char>(100, 0));
    CreateSubmitterFileIfMissing(path);  // an existing file is never replaced
    try {
        ReadSubmitterFile(path);
        FAIL() << "a short settings file was read";
    } catch (const EQnvrException& e) {
        EXPECT_NE(std::string(e.what()).find("100 bytes instead of 584"), std::string::npos) << e.what();
    }
    // A longer file is no settings file either: it is refused, naming its size.
    for (std::size_t size : {585u, 1168u, 100000u}) {
        WriteBytes(path, std::vector<unsigned char>(size, 0));
        try {
            ReadSubmitterFile(path);
            ADD_FAILURE() << "a settings file of " << size << " bytes was read";
        } catch (const EQnvrException& e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(size) + " bytes instead of 584"), std::string::npos)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace qnvr
