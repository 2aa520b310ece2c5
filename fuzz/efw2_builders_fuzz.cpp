// The EFW2 records built from any W-2 and W-3 record: each is refused with the program's
// own exception or comes out as exactly 512 characters.
#include "core/base/errors.h"
#include "core/efw2/efw2_records.h"
#include "core/store/records.h"
#include "fuzz_support.h"

using namespace qnvr;

namespace {

template <class Build>
void Check(Build build) {
    try {
        if (build().size() != 512) __builtin_trap();
    } catch (const EQnvrException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const W2Record w2 = DecodeW2(fuzz::RecordBytes(data, size, 0, W2Record::kSize));
    const W3Record w3 = DecodeW3(fuzz::RecordBytes(data, size, W2Record::kSize, W3Record::kSize));
    EmployeeSums sums;
    sums.Add(w2);
    Check([&] { return BuildEmployeeRecord(w2); });
    Check([&] { return BuildEmployerRecord(w3); });
    Check([&] { return BuildTotalRecord(w3, 1, sums); });
    Check([&] { return BuildFinalRecord(static_cast<int>(size)); });
    (void)FormatDollars(w2.Amount1);
    try {
        (void)MoneyField(w2.Amount2, 11);
    } catch (const EQnvrException&) {
    }
    return 0;
}
