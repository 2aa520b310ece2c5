#include "core/store/records.h"

#include <algorithm>
#include <cstring>

#include "core/store/record_codec.h"
#include "core/store/w2_fields.h"
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
#define QNVR_LAYOUT_AT(array, k, offset, chars) QNVR_FIELD_AT(W2Record, array, k, offset, chars),
#define QNVR_LAYOUT_TEXT(field, offset, chars) W2_TEXT(field, offset, chars),
#define QNVR_LAYOUT_VALUE(field, offset) W2_VALUE(field, offset),
    QNVR_W2_FIELDS(QNVR_LAYOUT_TEXT, QNVR_LAYOUT_VALUE, QNVR_LAYOUT_AT)
#undef QNVR_LAYOUT_AT
#undef QNVR_LAYOUT_TEXT
#undef QNVR_LAYOUT_VALUE
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

void ReadStoredTextInto(std::string& text, const std::uint8_t* at, int chars) {
    const int length = std::min<int>(at[0], chars);
    const auto* first = reinterpret_cast<const char*>(at + 1);
    // ASCII reads as it stands (Cp1252ToUtf8 gives the same), without new storage.
    if (std::all_of(first, first + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        text.assign(first, static_cast<std::size_t>(length));
    else
        text = Cp1252ToUtf8(std::string_view(first, static_cast<std::size_t>(length)));
}

void WriteStoredText(std::uint8_t* at, int chars, const std::string& text) {
    std::string stored = Utf8ToCp1252(text);
    if (static_cast<int>(stored.size()) > chars) stored.resize(chars);
    at[0] = static_cast<std::uint8_t>(stored.size());
    std::memcpy(at + 1, stored.data(), stored.size());
}

const std::vector<FieldLayout<W2Record>>& W2Layout() { return kW2Layout; }
const std::vector<FieldLayout<W3Record>>& W3Layout() { return kW3Layout; }

W2Record DecodeW2(std::span<const std::uint8_t> bytes) {
    W2Record record;
    DecodeW2Into(bytes, record);
    return record;
}
// The same as DecodeRecordInto(kW2Layout, ...), each field decoded in place: this runs
// for every record of every walk through a payer file.
void DecodeW2Into(std::span<const std::uint8_t> bytes, W2Record& record) {
    const std::uint8_t* const first = bytes.first(W2Record::kSize).data();
    ForEachW2Field(record, [first](std::string_view, int offset, int chars, auto& value) {
        DecodeStoredField(first + offset, chars, value);
    });
}
W3Record DecodeW3(std::span<const std::uint8_t> bytes) { return DecodeRecord(kW3Layout, bytes.first(W3Record::kSize)); }
void EncodeW2(const W2Record& record, std::span<std::uint8_t> bytes) {
    EncodeRecord(kW2Layout, record, bytes.first(W2Record::kSize));
}
void EncodeW3(const W3Record& record, std::span<std::uint8_t> bytes) {
    EncodeRecord(kW3Layout, record, bytes.first(W3Record::kSize));
}

}  // namespace qnvr
