#include "core/store/records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace qnvr {
namespace {

// Offsets written out again from the published record layout, independently of the
// program's own table, so that a slip in either shows.
struct Expect {
    int offset;
    char kind;  // 't' text (length byte + chars), 'a' amount, 'f' flag, 'c' count
    std::string text = {};
    double amount = 0;
};

std::string TextAt(const std::vector<std::uint8_t>& bytes, int offset) {
    return std::string(reinterpret_cast<const char*>(&bytes[offset + 1]), bytes[offset]);
}

double AmountAt(const std::vector<std::uint8_t>& bytes, int offset) {
    double value;
    std::memcpy(&value, &bytes[offset], 8);
    return value;
}

void CheckBytes(const std::vector<std::uint8_t>& bytes, const std::vector<Expect>& expected) {
    for (const auto& e : expected) {
        switch (e.kind) {
            case 't': EXPECT_EQ(TextAt(bytes, e.offset), e.text) << "text at " << e.offset; break;
            case 'a': EXPECT_EQ(AmountAt(bytes, e.offset), e.amount) << "amount at " << e.offset; break;
            case 'f': EXPECT_EQ(bytes[e.offset], 1) << "flag at " << e.offset; break;
            case 'c': {
                std::int32_t count;
                std::memcpy(&count, &bytes[e.offset], 4);
                EXPECT_EQ(count, static_cast<std::int32_t>(e.amount)) << "count at " << e.offset;
            }
        }
    }
}

TEST(W2RecordBytes, EveryFieldLandsAtItsOffset) {
    W2Record r;
    r.Boxa = "123-45-6788";
    r.Boxd = "CTRL1";
    r.Boxe1 = "MARY";
    r.Boxe2 = "Q";
    r.Boxe3 = "PUBLIC";
    r.Suffix = "JR";
    r.Boxf_a = "12 MAIN ST";
    r.Boxf_b = "ALBANY";
    r.Boxf_c = "NY";
    r.Boxf_d = "12207-1234";
    r.Boxf_csz = "ALBANY NY 12207-1234";
    r.Amount1 = 1.25, r.Amount2 = 2.5, r.Amount3 = 3.75, r.Amount4 = 4, r.Amount5 = 5.5, r.Amount6 = 6.25;
    r.Amount7 = 7, r.Amount8 = 8.5, r.Amount10 = 10.25, r.Amount11 = 11.5;
    r.Box12Code[0] = "D", r.Box12Code[6] = "DD", r.Box12Code[11] = "W";
    r.Box12Amt[0] = 100.5, r.Box12Amt[6] = 700.25, r.Box12Amt[11] = 1200.75;
    r.Box13a = r.Box13b = r.Box13c = true;
    r.Box14Desc_a = "UNION", r.Box14Desc_b = "SDI", r.Box14Desc_c = "HEALTH";
    r.Box14Amt_a = 14.5, r.Box14Amt_b = 14.25, r.Box14Amt_c = 14.75;
    r.Box14bTTOC = "101", r.Box14bTTOC2 = "202";
    r.Box15a = "NY", r.Box15b = "NJ", r.StateID_a = "123456789", r.StateID_b = "987654321";
    r.Box16a = 16.5, r.Box16b = 16.25, r.Box17a = 17.5, r.Box17b = 17.25;
    r.Box18a = 18.5, r.Box18b = 18.25, r.Box19a = 19.5, r.Box19b = 19.25;
    r.Box20a = "ALBANY", r.Box20b = "TROY";

    std::vector<std::uint8_t> bytes(568, 0xEE);
    EncodeW2(r, bytes);
    CheckBytes(bytes, {
        {0, 't', "123-45-6788"}, {12, 't', "CTRL1"}, {23, 't', "MARY"}, {39, 't', "Q"}, {41, 't', "PUBLIC"},
        {62, 't', "JR"}, {67, 't', "12 MAIN ST"}, {90, 't', "ALBANY"}, {113, 't', "NY"}, {116, 't', "12207-1234"},
        {127, 't', "ALBANY NY 12207-1234"},
        {168, 'a', "", 1.25}, {176, 'a', "", 2.5}, {184, 'a', "", 3.75}, {192, 'a', "", 4}, {200, 'a', "", 5.5},
        {208, 'a', "", 6.25}, {216, 'a', "", 7}, {224, 'a', "", 8.5}, {232, 'a', "", 0}, {240, 'a', "", 10.25},
        {248, 'a', "", 11.5},
        {256, 't', "D"}, {259, 't', ""}, {274, 't', "DD"}, {289, 't', "W"},
        {296, 'a', "", 100.5}, {344, 'a', "", 700.25}, {384, 'a', "", 1200.75},
        {392, 'f'}, {393, 'f'}, {394, 'f'},
        {395, 't', "UNION"}, {404, 't', "SDI"}, {413, 't', "HEALTH"},
        {424, 'a', "", 14.5}, {432, 'a', "", 14.25}, {440, 'a', "", 14.75},
        {448, 't', "101"}, {452, 't', "202"}, {456, 't', "NY"}, {459, 't', "NJ"},
        {462, 't', "123456789"}, {475, 't', "987654321"},
        {488, 'a', "", 16.5}, {496, 'a', "", 16.25}, {504, 'a', "", 17.5}, {512, 'a', "", 17.25},
        {520, 'a', "", 18.5}, {528, 'a', "", 18.25}, {536, 'a', "", 19.5}, {544, 'a', "", 19.25},
        {552, 't', "ALBANY"}, {559, 't', "TROY"},
    });
    for (int pad : {164, 165, 166, 167, 292, 293, 294, 295, 422, 423, 566, 567}) EXPECT_EQ(bytes[pad], 0) << pad;

    W2Record back = DecodeW2(bytes);
    EXPECT_EQ(back.Boxf_csz, r.Boxf_csz);
    EXPECT_EQ(back.Box12Code[6], "DD");
    EXPECT_EQ(back.Box12Amt[11], 1200.75);
    EXPECT_EQ(back.Box19b, 19.25);
    EXPECT_TRUE(back.Box13c);
}

TEST(W3RecordBytes, EveryFieldLandsAtItsOffset) {
    W3Record r;
    r.Boxa = "CTRL", r.Boxb1 = r.Boxb7 = r.Boxb8 = r.Boxb12 = r.Boxb13 = true, r.Boxc = 1234;
    r.Boxd = "0001", r.Boxe = "12-3456789", r.Boxf_a = "ACME WIDGETS", r.Boxf_b = "ACME";
    r.Boxg_a = "1 FACTORY RD", r.Boxg_b = "BUFFALO", r.Boxg_c = "NY", r.Boxg_d = "14201";
    r.Boxg_csz = "BUFFALO NY 14201", r.Boxh = "98-7654321";
    r.Amount1 = 1.5, r.Amount2 = 2.5, r.Amount3 = 3.5, r.Amount4 = 4.5, r.Amount5 = 5.5, r.Amount6 = 6.5;
    r.Amount7 = 7.5, r.Amount8 = 8.5, r.Amount10 = 10.5, r.Amount11 = 11.5, r.Box12a = 12.5;
    r.Box13 = "Third-Party Sick Pay Recap", r.Box14 = 14.5, r.Box15 = "NY", r.StateID = "123456789012";
    r.Box16 = 16.5, r.Box17 = 17.5, r.Box18 = 18.5, r.Box19 = 19.5;
    r.Contact = "JANE DOE", r.TelNum = "555-123-4567", r.Email = "jane@acme.com", r.FaxNum = "555-123-4568";
    r.SignerName = "JOHN ROE", r.Title = "PRESIDENT", r.W3Date = "01/31/2027", r.Password = "ZWU";
    r.FinalReturn = true;

    std::vector<std::uint8_t> bytes(608, 0xEE);
    EncodeW3(r, bytes);
    CheckBytes(bytes, {
        {0, 't', "CTRL"}, {11, 'f'}, {17, 'f'}, {18, 'f'}, {22, 'f'}, {23, 'f'}, {24, 'c', "", 1234},
        {28, 't', "0001"}, {33, 't', "12-3456789"}, {44, 't', "ACME WIDGETS"}, {85, 't', "ACME"},
        {126, 't', "1 FACTORY RD"}, {149, 't', "BUFFALO"}, {172, 't', "NY"}, {175, 't', "14201"},
        {186, 't', "BUFFALO NY 14201"}, {223, 't', "98-7654321"},
        {240, 'a', "", 1.5}, {248, 'a', "", 2.5}, {256, 'a', "", 3.5}, {264, 'a', "", 4.5}, {272, 'a', "", 5.5},
        {280, 'a', "", 6.5}, {288, 'a', "", 7.5}, {296, 'a', "", 8.5}, {304, 'a', "", 0}, {312, 'a', "", 10.5},
        {320, 'a', "", 11.5}, {328, 'a', "", 12.5}, {336, 'a', "", 0},
        {344, 't', "Third-Party Sick Pay Recap"}, {376, 'a', "", 14.5}, {384, 't', "NY"},
        {387, 't', "123456789012"}, {400, 'a', "", 16.5}, {408, 'a', "", 17.5}, {416, 'a', "", 18.5},
        {424, 'a', "", 19.5}, {432, 't', "JANE DOE"}, {463, 't', "555-123-4567"}, {476, 't', "jane@acme.com"},
        {517, 't', "555-123-4568"}, {530, 't', "JOHN ROE"}, {561, 't', "PRESIDENT"}, {582, 't', "01/31/2027"},
        {593, 't', "ZWU"}, {606, 'f'},
    });
    for (int unset : {12, 13, 14, 15, 16, 19, 20, 21}) EXPECT_EQ(bytes[unset], 0) << unset;
    for (int pad : {234, 235, 236, 237, 238, 239, 375, 607}) EXPECT_EQ(bytes[pad], 0) << pad;
    EXPECT_EQ(DecodeW3(bytes).Email, "jane@acme.com");
}

TEST(RecordText, IsCutToItsWidthAndStoredAsWindows1252) {
    W2Record r;
    r.Boxf_a = "1234567890123456789012345";  // 25 characters into 22
    r.Boxe1 = "Jos\xC3\xA9";                    // José: one byte per character on disk
    std::vector<std::uint8_t> bytes(568);
    EncodeW2(r, bytes);
    EXPECT_EQ(bytes[67], 22);
    EXPECT_EQ(DecodeW2(bytes).Boxf_a, "1234567890123456789012");
    EXPECT_EQ(bytes[23], 4);
    EXPECT_EQ(bytes[23 + 4], 0xE9);
    EXPECT_EQ(DecodeW2(bytes).Boxe1, "Jos\xC3\xA9");
}

TEST(RecordText, ADamagedLengthByteNeverReadsPastTheField) {
    std::vector<std::uint8_t> bytes(568, 0);
    bytes[113] = 200;  // Boxf_c holds 2 characters
    bytes[114] = 'N', bytes[115] = 'Y', bytes[116] = 5;  // the next field follows at once
    EXPECT_EQ(DecodeW2(bytes).Boxf_c, "NY");
}

TEST(RecordLayout, FieldsTileTheRecordWithoutOverlap) {
    auto check = [](const auto& layout, int size) {
        std::vector<int> owner(size, -1);
        for (std::size_t i = 0; i < layout.size(); ++i)
            for (int b = layout[i].offset; b < layout[i].offset + layout[i].Width(); ++b) {
                ASSERT_LT(b, size) << layout[i].name;
                EXPECT_EQ(owner[b], -1) << layout[i].name << " overlaps at byte " << b;
                owner[b] = static_cast<int>(i);
            }
    };
    check(W2Layout(), 568);
    check(W3Layout(), 608);
    EXPECT_EQ(W2Layout().size(), 71u);
    EXPECT_EQ(W3Layout().size(), 55u);
}

}  // namespace
}  // namespace qnvr
