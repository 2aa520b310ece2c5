#include "core/store/records.h"

#include <algorithm>
#include <cstring>

#include "core/store/record_codec.h"
#include "core/text/cp1252.h"
#include "core/text/text.h"

namespace qnvr {

std::string CityStateZipLine(std::string_view city, std::string_view state, std::string_view zip) {
    constexpr int kCityStateZipChars = 36;
    return LeftStr(std::string(city) + " " + std::string(state) + " " + std::string(zip), kCityStateZipChars);
}

namespace {

// One row per field, in file order: name, offset, characters of a text (0 otherwise).
#define QNVR_FIELD(Record, field, offset, chars) \
    FieldLayout<Record> { #field, offset, chars, [](Record& r) -> FieldLayout<Record>::Ref { return &r.field; } }
#define QNVR_FIELD_AT(Record, array, k, offset, chars)                                                      \
    FieldLayout<Record> {                                                                                   \
        #array #k, offset, chars, [](Record& r) -> FieldLayout<Record>::Ref { return &r.array[k - 1]; } \
    }
#define W2_TEXT(field, offset, chars) QNVR_FIELD(W2Record, field, offset, chars)
#define W2_VALUE(field, offset) QNVR_FIELD(W2Record, field, offset, 0)
#define W3_TEXT(field, offset, chars) QNVR_FIELD(W3Record, field, offset, chars)
#define W3_VALUE(field, offset) QNVR_FIELD(W3Record, field, offset, 0)

const std::vector<FieldLayout<W2Record>> kW2Layout = {
    W2_TEXT(Boxa, 0, 11),       W2_TEXT(Boxd, 12, 10),      W2_TEXT(Boxe1, 23, 15),
    W2_TEXT(Boxe2, 39, 1),      W2_TEXT(Boxe3, 41, 20),     W2_TEXT(Suffix, 62, 4),
    W2_TEXT(Boxf_a, 67, 22),    W2_TEXT(Boxf_b, 90, 22),    W2_TEXT(Boxf_c, 113, 2),
    W2_TEXT(Boxf_d, 116, 10),   W2_TEXT(Boxf_csz, 127, 36),
    W2_VALUE(Amount1, 168),     W2_VALUE(Amount2, 176),     W2_VALUE(Amount3, 184),
    W2_VALUE(Amount4, 192),     W2_VALUE(Amount5, 200),     W2_VALUE(Amount6, 208),
    W2_VALUE(Amount7, 216),     W2_VALUE(Amount8, 224),     W2_VALUE(Amount9, 232),
    W2_VALUE(Amount10, 240),    W2_VALUE(Amount11, 248),
    QNVR_FIELD_AT(W2Record, Box12Code, 1, 256, 2),  QNVR_FIELD_AT(W2Record, Box12Code, 2, 259, 2),
    QNVR_FIELD_AT(W2Record, Box12Code, 3, 262, 2),  QNVR_FIELD_AT(W2Record, Box12Code, 4, 265, 2),
    QNVR_FIELD_AT(W2Record, Box12Code, 5, 268, 2),  QNVR_FIELD_AT(W2Record, Box12Code, 6, 271, 2),
    QNVR_FIELD_AT(W2Record, Box12Code, 7, 274, 2),  QNVR_FIELD_AT(W2Record, Box12Code, 8, 277, 2),
    QNVR_FIELD_AT(W2Record, Box12Code, 9, 280, 2),  QNVR_FIELD_AT(W2Record, Box12Code, 10, 283, 2),
    QNVR_FIELD_AT(W2Record, Box12Code, 11, 286, 2), QNVR_FIELD_AT(W2Record, Box12Code, 12, 289, 2),
    QNVR_FIELD_AT(W2Record, Box12Amt, 1, 296, 0),   QNVR_FIELD_AT(W2Record, Box12Amt, 2, 304, 0),
    QNVR_FIELD_AT(W2Record, Box12Amt, 3, 312, 0),   QNVR_FIELD_AT(W2Record, Box12Amt, 4, 320, 0),
    QNVR_FIELD_AT(W2Record, Box12Amt, 5, 328, 0),   QNVR_FIELD_AT(W2Record, Box12Amt, 6, 336, 0),
    QNVR_FIELD_AT(W2Record, Box12Amt, 7, 344, 0),   QNVR_FIELD_AT(W2Record, Box12Amt, 8, 352, 0),
    QNVR_FIELD_AT(W2Record, Box12Amt, 9, 360, 0),   QNVR_FIELD_AT(W2Record, Box12Amt, 10, 368, 0),
    QNVR_FIELD_AT(W2Record, Box12Amt, 11, 376, 0),  QNVR_FIELD_AT(W2Record, Box12Amt, 12, 384, 0),
    W2_VALUE(Box13a, 392),      W2_VALUE(Box13b, 393),      W2_VALUE(Box13c, 394),
    W2_TEXT(Box14Desc_a, 395, 8), W2_TEXT(Box14Desc_b, 404, 8), W2_TEXT(Box14Desc_c, 413, 8),
    W2_VALUE(Box14Amt_a, 424),  W2_VALUE(Box14Amt_b, 432),  W2_VALUE(Box14Amt_c, 440),
    W2_TEXT(Box14bTTOC, 448, 3), W2_TEXT(Box14bTTOC2, 452, 3),
    W2_TEXT(Box15a, 456, 2),    W2_TEXT(Box15b, 459, 2),
    W2_TEXT(StateID_a, 462, 12), W2_TEXT(StateID_b, 475, 12),
    W2_VALUE(Box16a, 488),      W2_VALUE(Box16b, 496),      W2_VALUE(Box17a, 504),
    W2_VALUE(Box17b, 512),      W2_VALUE(Box18a, 520),      W2_VALUE(Box18b, 528),
    W2_VALUE(Box19a, 536),      W2_VALUE(Box19b, 544),
    W2_TEXT(Box20a, 552, 6),    W2_TEXT(Box20b, 559, 6),
};

const std::vector<FieldLayout<W3Record>> kW3Layout = {
    W3_TEXT(Boxa, 0, 10),
    W3_VALUE(Boxb1, 11),  W3_VALUE(Boxb2, 12),  W3_VALUE(Boxb3, 13),  W3_VALUE(Boxb4, 14),
    W3_VALUE(Boxb5, 15),  W3_VALUE(Boxb6, 16),  W3_VALUE(Boxb7, 17),  W3_VALUE(Boxb8, 18),
    W3_VALUE(Boxb9, 19),  W3_VALUE(Boxb10, 20), W3_VALUE(Boxb11, 21), W3_VALUE(Boxb12, 22),
    W3_VALUE(Boxb13, 23), W3_VALUE(Boxc, 24),
    W3_TEXT(Boxd, 28, 4),       W3_TEXT(Boxe, 33, 10),      W3_TEXT(Boxf_a, 44, 40),
    W3_TEXT(Boxf_b, 85, 40),    W3_TEXT(Boxg_a, 126, 22),   W3_TEXT(Boxg_b, 149, 22),
    W3_TEXT(Boxg_c, 172, 2),    W3_TEXT(Boxg_d, 175, 10),   W3_TEXT(Boxg_csz, 186, 36),
    W3_TEXT(Boxh, 223, 10),
    W3_VALUE(Amount1, 240),     W3_VALUE(Amount2, 248),     W3_VALUE(Amount3, 256),
    W3_VALUE(Amount4, 264),     W3_VALUE(Amount5, 272),     W3_VALUE(Amount6, 280),
    W3_VALUE(Amount7, 288),     W3_VALUE(Amount8, 296),     W3_VALUE(Amount9, 304),
    W3_VALUE(Amount10, 312),    W3_VALUE(Amount11, 320),
    W3_VALUE(Box12a, 328),      W3_VALUE(Box12b, 336),
    W3_TEXT(Box13, 344, 30),    W3_VALUE(Box14, 376),
    W3_TEXT(Box15, 384, 2),     W3_TEXT(StateID, 387, 12),
    W3_VALUE(Box16, 400),       W3_VALUE(Box17, 408),       W3_VALUE(Box18, 416),
    W3_VALUE(Box19, 424),
    W3_TEXT(Contact, 432, 30),  W3_TEXT(TelNum, 463, 12),   W3_TEXT(Email, 476, 40),
    W3_TEXT(FaxNum, 517, 12),   W3_TEXT(SignerName, 530, 30), W3_TEXT(Title, 561, 20),
    W3_TEXT(W3Date, 582, 10),   W3_TEXT(Password, 593, 12),
    W3_VALUE(FinalReturn, 606),
};

#undef QNVR_FIELD
#undef QNVR_FIELD_AT
#undef W2_TEXT
#undef W2_VALUE
#undef W3_TEXT
#undef W3_VALUE

}  // namespace

std::string ReadStoredText(const std::uint8_t* at, int chars) {
    const int length = std::min<int>(at[0], chars);
    return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(at + 1), length));
}

void WriteStoredText(std::uint8_t* at, int chars, const std::string& text) {
    std::string stored = Utf8ToCp1252(text);
    if (static_cast<int>(stored.size()) > chars) stored.resize(chars);
    at[0] = static_cast<std::uint8_t>(stored.size());
    std::memcpy(at + 1, stored.data(), stored.size());
}

const std::vector<FieldLayout<W2Record>>& W2Layout() { return kW2Layout; }
const std::vector<FieldLayout<W3Record>>& W3Layout() { return kW3Layout; }

W2Record DecodeW2(std::span<const std::uint8_t> bytes) { return DecodeRecord(kW2Layout, bytes.first(W2Record::kSize)); }
W3Record DecodeW3(std::span<const std::uint8_t> bytes) { return DecodeRecord(kW3Layout, bytes.first(W3Record::kSize)); }
void EncodeW2(const W2Record& record, std::span<std::uint8_t> bytes) {
    EncodeRecord(kW2Layout, record, bytes.first(W2Record::kSize));
}
void EncodeW3(const W3Record& record, std::span<std::uint8_t> bytes) {
    EncodeRecord(kW3Layout, record, bytes.first(W3Record::kSize));
}

}  // namespace qnvr
