#pragma once
// The EFW2 submitter settings and run state, kept in "QNVR.W2S" in the program folder as
// one record of 584 bytes. The text fields hold the EFW2 window's fields as they were
// when it last closed (masked fields with their hyphens); the fields named RA... and
// Blank... are constants of the submitter record that are stored once a Process has
// built one. The run state (totals since the last reset, the two check boxes and
// FinalPending) lives in the same record.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/entry/rule_failure.h"
#include "core/store/records.h"

namespace qnvr {

struct SubmitterRecord {
    std::string RAIdentifier;  // "RA"
    std::string EIN;           // "12-3456789"
    std::string UserID;
    std::string RAVendorCode;  // 4 blanks
    std::string Blank1;        // 5 blanks
    std::string ResubInd;      // "1" when the file is resubmitted, else "0" (empty in a new file)
    std::string ResubID;
    std::string RASoftwareCode;  // "98"
    std::string CompanyName, LocationAddr, DeliveryAddr, City;
    std::string StateCode;  // empty when no state is chosen
    std::string ZipCode, ZipCodeExt;
    std::string Blank2;  // 5 blanks
    std::string ForeignState, ForeignZip, CountryCode;
    std::string SubmitName, SubmitAddr1, SubmitAddr2, SubmitCity, SubmitState, SubmitZip, SubmitZipExt;
    std::string Blank3;  // 5 blanks
    std::string SubmitFSP, SubmitFPC, SubmitCC;
    std::string ContactName;
    std::string ContactPhone;  // "555-123-4567"
    std::string ContactExt;
    std::string Blank4;  // 3 blanks
    std::string ContactEmail;
    std::string Blank5;  // 3 blanks
    std::string ContactFax;
    std::string Blank6;  // 1 blank
    std::string PreparerCode;  // one of A, L, S, P, O
    std::string Blank7;        // 12 blanks

    std::int32_t ClientsProcessed = 0;  // since the last reset
    std::int32_t FormsW2Processed = 0;
    double WagesProcessed = 0;
    bool ExcludeSubmitter = false;  // the check box "Submitter": leave the RA record out
    bool ExcludeFinal = false;      // the check box "Final": leave the RF record out
    bool FinalPending = false;      // the user confirmed that the next client is the last

    static constexpr int kSize = 584;

    bool Resubmitted() const { return ResubInd == "1"; }
    void SetResubmitted(bool on) { ResubInd.assign(1, on ? '1' : '0'); }
    // Stores the constants of the submitter record, as a Process that builds one does.
    void StoreRAConstants();
    // Totals and FinalPending back to zero, as Reset leaves them.
    void ClearRunTotals();
};

const std::vector<FieldLayout<SubmitterRecord>>& SubmitterLayout();

SubmitterRecord DecodeSubmitter(std::span<const std::uint8_t> bytes);  // kSize bytes
std::vector<std::uint8_t> EncodeSubmitter(const SubmitterRecord& record);

// The settings file. Reading refuses a missing file or one shorter than a record with
// EQnvrException naming the file; writing replaces the whole file.
SubmitterRecord ReadSubmitterFile(const std::string& path);
void WriteSubmitterFile(const std::string& path, const SubmitterRecord& record);
// Creates the file with a record of zero bytes (every field empty) when it is missing.
void CreateSubmitterFileIfMissing(const std::string& path);

// The submitter settings' rule set, in its fixed order: the first failure, as the field
// to focus and the message; nothing when the settings can be filed.
std::optional<RuleFailure> ValidateSubmitter(const SubmitterRecord& settings);

// The fields the window marks as stopping Process: the same rules, except that the
// company ZIP code is never marked. Each field once, in tab order.
std::vector<std::string> MarkedSubmitterFields(const SubmitterRecord& settings);

}  // namespace qnvr
