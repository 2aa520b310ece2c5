// The W-2 and W-3 records as read from a payer file: decoding any bytes, the rule sets,
// the W-3 totals and writing the record back never crash, and a record decoded and
// encoded again decodes to the same fields.
#include "core/entry/w2_rules.h"
#include "core/entry/w3_rules.h"
#include "core/store/records.h"
#include "fuzz_support.h"

using namespace qnvr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto w2Bytes = fuzz::RecordBytes(data, size, 0, W2Record::kSize);
    const auto w3Bytes = fuzz::RecordBytes(data, size, W2Record::kSize, W3Record::kSize);
    const W2Record w2 = DecodeW2(w2Bytes);
    const W3Record w3 = DecodeW3(w3Bytes);
    (void)ValidateW2(w2);
    (void)ValidateW3(w3);
    (void)HasWagesOrCodeII(w2);

    std::vector<std::uint8_t> again(W2Record::kSize);
    EncodeW2(w2, again);
    std::vector<std::uint8_t> twice(W2Record::kSize);
    EncodeW2(DecodeW2(again), twice);
    if (again != twice) __builtin_trap();  // the stored form is stable after one round
    std::vector<std::uint8_t> w3Again(W3Record::kSize);
    EncodeW3(w3, w3Again);
    return 0;
}
