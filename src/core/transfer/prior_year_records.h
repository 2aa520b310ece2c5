#pragma once
// Last year's (2025) payer file records and their conversion into this year's records.
// The conversion works on the stored bytes: each text is copied with its length byte and
// its Windows-1252 characters exactly as stored, cut to this year's width, so nothing is
// decoded and re-encoded on the way (the scrambled password included).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/store/records.h"

namespace qnvr {

inline constexpr int kPriorPayerRecordSize = 608;     // ".W325", one record
inline constexpr int kPriorEmployeeRecordSize = 480;  // ".W225", one record per employee

// Last year's first-name field split into this year's first name and middle initial,
// as stored bytes: the field without surrounding blanks; the text before its first
// blank (15 characters at most) and the first character after that blank (further
// blanks passed over).
struct NameSplit {
    std::string first;
    std::string middle;
};
NameSplit SplitFirstName(std::string_view field);

// This year's W-3 record from last year's payer record: identity, kinds of payer and
// employer, address, state, contact, signer and the scrambled password; everything else
// zero.
std::array<std::uint8_t, W3Record::kSize> ConvertPayerRecord(std::span<const std::uint8_t, kPriorPayerRecordSize> prior);

// This year's W-2 record from last year's employee record: SSN, control number, name,
// suffix and address; amounts, codes, state lines and flags zero.
std::array<std::uint8_t, W2Record::kSize> ConvertEmployeeRecord(
    std::span<const std::uint8_t, kPriorEmployeeRecordSize> prior);

}  // namespace qnvr
