#include "core/efw2/submitter_record.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/efw2/efw2_files.h"
#include "core/store/record_codec.h"
#include "core/text/cp1252.h"
#include "core/text/files.h"
#include "core/text/text.h"
#include "core/text/validation.h"

namespace qnvr {
namespace {

#define SUBMITTER_TEXT(field, offset, chars)                                                         \
    FieldLayout<SubmitterRecord> {                                                                   \
        #field, offset, chars,                                                                       \
            [](SubmitterRecord& r) -> FieldLayout<SubmitterRecord>::Ref { return &r.field; } \
    }
#define SUBMITTER_VALUE(field, offset) SUBMITTER_TEXT(field, offset, 0)

const std::vector<FieldLayout<SubmitterRecord>> kSubmitterLayout = {
    SUBMITTER_TEXT(RAIdentifier, 0, 2),    SUBMITTER_TEXT(EIN, 3, 10),
    SUBMITTER_TEXT(UserID, 14, 8),         SUBMITTER_TEXT(RAVendorCode, 23, 4),
    SUBMITTER_TEXT(Blank1, 28, 5),         SUBMITTER_TEXT(ResubInd, 34, 1),
    SUBMITTER_TEXT(ResubID, 36, 6),        SUBMITTER_TEXT(RASoftwareCode, 43, 2),
    SUBMITTER_TEXT(CompanyName, 46, 57),   SUBMITTER_TEXT(LocationAddr, 104, 22),
    SUBMITTER_TEXT(DeliveryAddr, 127, 22), SUBMITTER_TEXT(City, 150, 22),
    SUBMITTER_TEXT(StateCode, 173, 2),     SUBMITTER_TEXT(ZipCode, 176, 5),
    SUBMITTER_TEXT(ZipCodeExt, 182, 4),    SUBMITTER_TEXT(Blank2, 187, 5),
    SUBMITTER_TEXT(ForeignState, 193, 23), SUBMITTER_TEXT(ForeignZip, 217, 15),
    SUBMITTER_TEXT(CountryCode, 233, 2),   SUBMITTER_TEXT(SubmitName, 236, 57),
    SUBMITTER_TEXT(SubmitAddr1, 294, 22),  SUBMITTER_TEXT(SubmitAddr2, 317, 22),
    SUBMITTER_TEXT(SubmitCity, 340, 22),   SUBMITTER_TEXT(SubmitState, 363, 2),
    SUBMITTER_TEXT(SubmitZip, 366, 5),     SUBMITTER_TEXT(SubmitZipExt, 372, 4),
    SUBMITTER_TEXT(Blank3, 377, 5),        SUBMITTER_TEXT(SubmitFSP, 383, 23),
    SUBMITTER_TEXT(SubmitFPC, 407, 15),    SUBMITTER_TEXT(SubmitCC, 423, 2),
    SUBMITTER_TEXT(ContactName, 426, 27),  SUBMITTER_TEXT(ContactPhone, 454, 15),
    SUBMITTER_TEXT(ContactExt, 470, 5),    SUBMITTER_TEXT(Blank4, 476, 3),
    SUBMITTER_TEXT(ContactEmail, 480, 40), SUBMITTER_TEXT(Blank5, 521, 3),
    SUBMITTER_TEXT(ContactFax, 525, 12),   SUBMITTER_TEXT(Blank6, 538, 1),
    SUBMITTER_TEXT(PreparerCode, 540, 1),  SUBMITTER_TEXT(Blank7, 542, 12),
    SUBMITTER_VALUE(ClientsProcessed, 556), SUBMITTER_VALUE(FormsW2Processed, 560),
    SUBMITTER_VALUE(WagesProcessed, 568),  SUBMITTER_VALUE(ExcludeSubmitter, 576),
    SUBMITTER_VALUE(ExcludeFinal, 577),    SUBMITTER_VALUE(FinalPending, 578),
};

#undef SUBMITTER_TEXT
#undef SUBMITTER_VALUE

int Length(const std::string& text) { return static_cast<int>(Utf8Length(text)); }

// One rule of the settings check: the field to focus, when it fails, the message.
struct SettingsRule {
    const char* field;
    bool (*fails)(const SubmitterRecord&);
    const char* message;
    bool marked;  // whether the window colours the field when the rule fails
};

const SettingsRule kSettingsRules[] = {
    {"EIN", [](const SubmitterRecord& s) { return !IsValidEIN(s.EIN); },
     "Submitter's Employer Identification Number is required.", true},
    {"UserID", [](const SubmitterRecord& s) { return Length(s.UserID) < 8; }, "BSO User ID must be 8 characters.",
     true},
    {"ResubID", [](const SubmitterRecord& s) { return s.Resubmitted() && IsBlank(s.ResubID); },
     "Wage File Identifier is required.", true},
    {"ZipCode", [](const SubmitterRecord& s) { return !IsBlank(s.ZipCode) && Length(s.ZipCode) < 5; },
     "Company Zip Code must be 5 digits.", false},
    {"ZipCodeExt", [](const SubmitterRecord& s) { return !IsBlank(s.ZipCodeExt) && Length(s.ZipCodeExt) < 4; },
     "Company Zip Code extension must be 4 digits.", false},
    {"SubmitName", [](const SubmitterRecord& s) { return IsBlank(s.SubmitName); }, "Submitter Name is required.",
     true},
    {"SubmitAddr2", [](const SubmitterRecord& s) { return IsBlank(s.SubmitAddr2); },
     "Submitter's Delivery address is required.", true},
    {"SubmitCity", [](const SubmitterRecord& s) { return IsBlank(s.SubmitCity); }, "Submitter's City is required.",
     true},
    {"SubmitState", [](const SubmitterRecord& s) { return IsBlank(s.SubmitState); },
     "Submitter's State is required.", true},
    {"SubmitZip", [](const SubmitterRecord& s) { return Length(s.SubmitZip) < 5; },
     "Submitter's Zip Code must be 5 digits.", true},
    {"SubmitZipExt", [](const SubmitterRecord& s) { return !IsBlank(s.SubmitZipExt) && Length(s.SubmitZipExt) < 4; },
     "Submitter's Zip Code extension must be 4 digits.", true},
    {"ContactName", [](const SubmitterRecord& s) { return IsBlank(s.ContactName); },
     "Person to be contacted by SSA is required.", true},
    {"ContactPhone", [](const SubmitterRecord& s) { return !IsValidPhone(s.ContactPhone); },
     "Contact Person's telephone number is required.", true},
    {"ContactEmail", [](const SubmitterRecord& s) { return IsBlank(s.ContactEmail); },
     "Contact Person's e-mail/internet address is required.", true},
    {"ContactEmail", [](const SubmitterRecord& s) { return !IsValidEmail(s.ContactEmail); },
     "Contact Person's e-mail/internet address is invalid.", true},
    {"ContactFax", [](const SubmitterRecord& s) { return !IsBlank(s.ContactFax) && !IsValidPhone(s.ContactFax); },
     "Contact Person's fax number is not valid.", true},
    {"PreparerCode", [](const SubmitterRecord& s) { return IsBlank(s.PreparerCode); }, "Preparer Code is required.",
     true},
};

}  // namespace

void SubmitterRecord::StoreRAConstants() {
    RAIdentifier = "RA";
    RAVendorCode = std::string(4, ' ');
    Blank1 = Blank2 = Blank3 = std::string(5, ' ');
    RASoftwareCode = "98";
    Blank4 = Blank5 = std::string(3, ' ');
    Blank6 = " ";
    Blank7 = std::string(12, ' ');
}

void SubmitterRecord::ClearRunTotals() {
    ClientsProcessed = 0;
    FormsW2Processed = 0;
    WagesProcessed = 0;
    FinalPending = false;
}

const std::vector<FieldLayout<SubmitterRecord>>& SubmitterLayout() { return kSubmitterLayout; }

SubmitterRecord DecodeSubmitter(std::span<const std::uint8_t> bytes) {
    return DecodeRecord(kSubmitterLayout, bytes.first(SubmitterRecord::kSize));
}

std::vector<std::uint8_t> EncodeSubmitter(const SubmitterRecord& record) {
    std::vector<std::uint8_t> bytes(SubmitterRecord::kSize);
    EncodeRecord(kSubmitterLayout, record, bytes);
    return bytes;
}

SubmitterRecord ReadSubmitterFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) RaiseFileError("read the EFW2 settings file", path, std::generic_category().message(errno));
    // One byte more than a record is read, so that a longer file is refused as a short one is.
    std::vector<std::uint8_t> bytes(SubmitterRecord::kSize + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) RaiseFileError("read the EFW2 settings file", path, std::generic_category().message(EIO));
    if (in.gcount() != SubmitterRecord::kSize) {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        RaiseFileError("read the EFW2 settings file", path,
                       "It holds " + (error ? std::to_string(in.gcount()) : std::to_string(size)) + " bytes instead of " +
                           std::to_string(SubmitterRecord::kSize) + ".");
    }
    return DecodeSubmitter(std::span(bytes).first(SubmitterRecord::kSize));
}

void WriteSubmitterFile(const std::string& path, const SubmitterRecord& record) {
    const std::vector<std::uint8_t> bytes = EncodeSubmitter(record);
    try {
        ReplaceFileWhole(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const std::system_error& error) {
        RaiseFileError("save the EFW2 settings file", path, error.code().message());
    }
}

void CreateSubmitterFileIfMissing(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) return;
    try {
        ReplaceFileWhole(path, std::string(SubmitterRecord::kSize, '\0'));
    } catch (const std::system_error& error) {
        RaiseFileError("create the EFW2 settings file", path, error.code().message());
    }
}

std::optional<RuleFailure> ValidateSubmitter(const SubmitterRecord& settings) {
    for (const SettingsRule& rule : kSettingsRules)
        if (rule.fails(settings)) return RuleFailure{rule.field, rule.message};
    return std::nullopt;
}

std::vector<std::string> MarkedSubmitterFields(const SubmitterRecord& settings) {
    std::vector<std::string> fields;
    for (const SettingsRule& rule : kSettingsRules)
        if (rule.marked && rule.fails(settings) && (fields.empty() || fields.back() != rule.field))
            fields.push_back(rule.field);
    return fields;
}

}  // namespace qnvr
