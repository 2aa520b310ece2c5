// Last year's payer files: a ".W325"/".W225" pair of any size and content, written from
// the input and converted as the transfer converts it, is either refused with the
// transfer's exception or gives this year's pair, whose records decode and encode back
// to the same bytes.
#include <unistd.h>

#include <filesystem>
#include <array>
#include <fstream>

#include "core/base/errors.h"
#include "core/store/records.h"
#include "core/transfer/prior_year_records.h"
#include "core/transfer/transfer.h"
#include "fuzz_support.h"

using namespace qnvr;

namespace {

std::filesystem::path Folder(const char* name) {
    static const std::filesystem::path root = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qnvr-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    std::filesystem::create_directories(root / name);
    return root / name;
}

void Write(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
}

std::vector<std::uint8_t> Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// This year's record, once decoded and encoded, stays the same through another round.
template <class Record, std::size_t N>
void RoundTrips(const std::array<std::uint8_t, N>& converted, Record (*decode)(std::span<const std::uint8_t>),
                void (*encode)(const Record&, std::span<std::uint8_t>)) {
    std::array<std::uint8_t, N> once{}, twice{};
    encode(decode(converted), once);
    encode(decode(once), twice);
    if (once != twice) __builtin_trap();
}

}  // namespace

// The first two bytes give the length of the ".W325" file; the ".W225" file is the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t payerSize = std::min<std::size_t>(size - 2, data[0] | (data[1] << 8));
    const std::filesystem::path from = Folder("2025"), to = Folder("2026");
    Write(from / "PAYER.W325", data + 2, payerSize);
    Write(from / "PAYER.W225", data + 2 + payerSize, size - 2 - payerSize);

    // Each record on its own, as the conversion reads it.
    const auto payer = fuzz::RecordBytes(data, size, 2, kPriorPayerRecordSize);
    RoundTrips<W3Record>(ConvertPayerRecord(std::span<const std::uint8_t, kPriorPayerRecordSize>(payer.data(), payer.size())),
                         DecodeW3, EncodeW3);
    const auto employee = fuzz::RecordBytes(data, size, 2 + payerSize, kPriorEmployeeRecordSize);
    RoundTrips<W2Record>(
        ConvertEmployeeRecord(std::span<const std::uint8_t, kPriorEmployeeRecordSize>(employee.data(), employee.size())),
        DecodeW2, EncodeW2);

    // The whole pair through the transfer: converted whole, or refused and nothing written.
    try {
        TransferPayerFile(from.string(), "PAYER.W325", to.string(), true);
        const auto w3 = Read(to / "PAYER.W326");
        const auto w2 = Read(to / "PAYER.W226");
        if (w3.size() != W3Record::kSize || w2.size() % W2Record::kSize != 0) __builtin_trap();
    } catch (const EQnvrException&) {
    }
    std::error_code ignored;
    std::filesystem::remove(to / "PAYER.W326", ignored);
    std::filesystem::remove(to / "PAYER.W226", ignored);
    return 0;
}
