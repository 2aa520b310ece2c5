// The EFW2 settings record ("QNVR.W2S"): decoding any bytes, its rule set and the
// submitter record built from it never crash; a built record is always 512 characters.
#include "core/efw2/efw2_records.h"
#include "core/efw2/submitter_record.h"
#include "core/base/errors.h"
#include "fuzz_support.h"

using namespace qnvr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::RecordBytes(data, size, 0, SubmitterRecord::kSize);
    SubmitterRecord settings = DecodeSubmitter(bytes);
    (void)ValidateSubmitter(settings);
    if (EncodeSubmitter(DecodeSubmitter(EncodeSubmitter(settings))) != EncodeSubmitter(settings)) __builtin_trap();
    try {
        if (BuildSubmitterRecord(settings).size() != 512) __builtin_trap();
    } catch (const EQnvrException&) {
    }
    return 0;
}
