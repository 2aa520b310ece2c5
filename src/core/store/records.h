#pragma once
// The two records of a payer file: one W-2 record per employee (568 bytes) in the
// ".W226" file and the one W-3 record (608 bytes) of the ".W326" file. Fields carry the
// names of the entry windows' controls. In memory, text is UTF-8 of any length; on disk
// it is a length byte and Windows-1252 characters cut to the field's width. Each record
// has one layout table (records.cpp) from which reading, writing and listing derive.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qnvr {

// The one line of city, state and ZIP code an address is also stored as (Boxf_csz of
// the W-2, Boxg_csz of the W-3), cut to its 36 characters.
std::string CityStateZipLine(std::string_view city, std::string_view state, std::string_view zip);

struct W2Record {
    std::string Boxa;  // employee's SSN as typed in its mask, dashes included
    std::string Boxd;  // control number
    std::string Boxe1, Boxe2, Boxe3, Suffix;  // first name, middle initial, last name, suffix
    std::string Boxf_a, Boxf_b, Boxf_c, Boxf_d;  // street, city, state, ZIP
    std::string Boxf_csz;  // city, state and ZIP in one line, rebuilt on every save
    double Amount1 = 0, Amount2 = 0, Amount3 = 0, Amount4 = 0, Amount5 = 0, Amount6 = 0, Amount7 = 0,
           Amount8 = 0, Amount9 = 0, Amount10 = 0, Amount11 = 0;
    std::array<std::string, 12> Box12Code;  // Box12Code1 .. Box12Code12
    std::array<double, 12> Box12Amt{};      // Box12Amt1 .. Box12Amt12
    bool Box13a = false, Box13b = false, Box13c = false;
    std::string Box14Desc_a, Box14Desc_b, Box14Desc_c;
    double Box14Amt_a = 0, Box14Amt_b = 0, Box14Amt_c = 0;
    std::string Box14bTTOC, Box14bTTOC2;
    std::string Box15a, Box15b, StateID_a, StateID_b;
    double Box16a = 0, Box16b = 0, Box17a = 0, Box17b = 0, Box18a = 0, Box18b = 0, Box19a = 0, Box19b = 0;
    std::string Box20a, Box20b;

    static constexpr int kSize = 568;
};

struct W3Record {
    std::string Boxa;  // control number
    bool Boxb1 = false, Boxb2 = false, Boxb3 = false, Boxb4 = false, Boxb5 = false, Boxb6 = false,
         Boxb7 = false;  // kind of payer
    bool Boxb8 = false, Boxb9 = false, Boxb10 = false, Boxb11 = false, Boxb12 = false;  // kind of employer
    bool Boxb13 = false;  // third-party sick pay
    std::int32_t Boxc = 0;  // number of Forms W-2
    std::string Boxd, Boxe, Boxf_a, Boxf_b;
    std::string Boxg_a, Boxg_b, Boxg_c, Boxg_d, Boxg_csz;
    std::string Boxh;
    double Amount1 = 0, Amount2 = 0, Amount3 = 0, Amount4 = 0, Amount5 = 0, Amount6 = 0, Amount7 = 0,
           Amount8 = 0, Amount9 = 0, Amount10 = 0, Amount11 = 0;
    double Box12a = 0, Box12b = 0;
    std::string Box13;
    double Box14 = 0;
    std::string Box15, StateID;
    double Box16 = 0, Box17 = 0, Box18 = 0, Box19 = 0;
    std::string Contact, TelNum, Email, FaxNum, SignerName, Title, W3Date;
    std::string Password;  // scrambled; empty means no password
    bool FinalReturn = false;

    static constexpr int kSize = 608;
};

// One field of a record layout: its name, where it lies, and which member holds it.
enum class FieldKind { Text, Amount, Flag, Count };

template <class Record>
struct FieldLayout {
    using Ref = std::variant<std::string*, double*, bool*, std::int32_t*>;  // in FieldKind order

    std::string_view name;
    int offset;
    int chars;  // characters of a text field (its width on disk is one more); 0 otherwise
    Ref (*member)(Record&);

    FieldKind Kind() const { return static_cast<FieldKind>(member(Probe()).index()); }
    int Width() const {  // bytes on disk
        switch (Kind()) {
            case FieldKind::Text: return chars + 1;
            case FieldKind::Amount: return 8;
            case FieldKind::Flag: return 1;
            case FieldKind::Count: return 4;
        }
        return 0;
    }
    // The field of a record, for code that walks the layout (listing, copying by name).
    Ref Of(Record& record) const { return member(record); }

private:
    static Record& Probe() {
        static Record record;
        return record;
    }
};

const std::vector<FieldLayout<W2Record>>& W2Layout();
const std::vector<FieldLayout<W3Record>>& W3Layout();

// Reading and writing a whole record; the byte span is exactly kSize bytes. Writing
// starts from zero bytes, so padding and the bytes after a text's length stay zero.
W2Record DecodeW2(std::span<const std::uint8_t> bytes);
W3Record DecodeW3(std::span<const std::uint8_t> bytes);
void EncodeW2(const W2Record& record, std::span<std::uint8_t> bytes);
void EncodeW3(const W3Record& record, std::span<std::uint8_t> bytes);

}  // namespace qnvr
