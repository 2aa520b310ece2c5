#pragma once
// The fields of a W-2 record in file order, as one list from which the record's layout
// table (W2Layout) and the walks that run for every record of a payer file are made.
// ForEachW2Field calls its visitor with each field's name, offset, characters (text) and
// the member itself, typed, so that decoding and the amount checks of ten thousand
// records need no call through the layout table per field.
#include <string_view>
#include <type_traits>

#include "core/store/records.h"

// TEXT(member, offset, characters), VALUE(member, offset), AT(array, 1-based index, offset, characters).
#define QNVR_W2_FIELDS(TEXT, VALUE, AT) \
    TEXT(Boxa, 0, 11) TEXT(Boxd, 12, 10) TEXT(Boxe1, 23, 15) \
    TEXT(Boxe2, 39, 1) TEXT(Boxe3, 41, 20) TEXT(Suffix, 62, 4) \
    TEXT(Boxf_a, 67, 22) TEXT(Boxf_b, 90, 22) TEXT(Boxf_c, 113, 2) \
    TEXT(Boxf_d, 116, 10) TEXT(Boxf_csz, 127, 36) VALUE(Amount1, 168) \
    VALUE(Amount2, 176) VALUE(Amount3, 184) VALUE(Amount4, 192) \
    VALUE(Amount5, 200) VALUE(Amount6, 208) VALUE(Amount7, 216) \
    VALUE(Amount8, 224) VALUE(Amount9, 232) VALUE(Amount10, 240) \
    VALUE(Amount11, 248) AT(Box12Code, 1, 256, 2) AT(Box12Code, 2, 259, 2) \
    AT(Box12Code, 3, 262, 2) AT(Box12Code, 4, 265, 2) AT(Box12Code, 5, 268, 2) \
    AT(Box12Code, 6, 271, 2) AT(Box12Code, 7, 274, 2) AT(Box12Code, 8, 277, 2) \
    AT(Box12Code, 9, 280, 2) AT(Box12Code, 10, 283, 2) AT(Box12Code, 11, 286, 2) \
    AT(Box12Code, 12, 289, 2) AT(Box12Amt, 1, 296, 0) AT(Box12Amt, 2, 304, 0) \
    AT(Box12Amt, 3, 312, 0) AT(Box12Amt, 4, 320, 0) AT(Box12Amt, 5, 328, 0) \
    AT(Box12Amt, 6, 336, 0) AT(Box12Amt, 7, 344, 0) AT(Box12Amt, 8, 352, 0) \
    AT(Box12Amt, 9, 360, 0) AT(Box12Amt, 10, 368, 0) AT(Box12Amt, 11, 376, 0) \
    AT(Box12Amt, 12, 384, 0) VALUE(Box13a, 392) VALUE(Box13b, 393) \
    VALUE(Box13c, 394) TEXT(Box14Desc_a, 395, 8) TEXT(Box14Desc_b, 404, 8) \
    TEXT(Box14Desc_c, 413, 8) VALUE(Box14Amt_a, 424) VALUE(Box14Amt_b, 432) \
    VALUE(Box14Amt_c, 440) TEXT(Box14bTTOC, 448, 3) TEXT(Box14bTTOC2, 452, 3) \
    TEXT(Box15a, 456, 2) TEXT(Box15b, 459, 2) TEXT(StateID_a, 462, 12) \
    TEXT(StateID_b, 475, 12) VALUE(Box16a, 488) VALUE(Box16b, 496) \
    VALUE(Box17a, 504) VALUE(Box17b, 512) VALUE(Box18a, 520) \
    VALUE(Box18b, 528) VALUE(Box19a, 536) VALUE(Box19b, 544) \
    TEXT(Box20a, 552, 6) TEXT(Box20b, 559, 6)

namespace qnvr {

// visit(std::string_view name, int offset, int chars, auto& member) for every field in
// file order; Record is W2Record or const W2Record.
template <class Record, class Visit>
    requires std::is_same_v<std::remove_const_t<Record>, W2Record>
void ForEachW2Field(Record& record, Visit&& visit) {
#define QNVR_VISIT_TEXT(member, offset, chars) visit(std::string_view(#member), offset, chars, record.member);
#define QNVR_VISIT_VALUE(member, offset) visit(std::string_view(#member), offset, 0, record.member);
#define QNVR_VISIT_AT(array, k, offset, chars) visit(std::string_view(#array #k), offset, chars, record.array[k - 1]);
    QNVR_W2_FIELDS(QNVR_VISIT_TEXT, QNVR_VISIT_VALUE, QNVR_VISIT_AT)
#undef QNVR_VISIT_TEXT
#undef QNVR_VISIT_VALUE
#undef QNVR_VISIT_AT
}

}  // namespace qnvr
