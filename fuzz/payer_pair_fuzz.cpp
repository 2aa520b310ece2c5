// A whole payer file pair, written from the input and opened as the command-line tool
// opens one (read-only, no lock): every size, damaged or not, opens or is refused, and
// walking the records, the totals and the rule sets never crash.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/entry/w2_rules.h"
#include "core/entry/w3_rules.h"
#include "core/store/data_module.h"
#include "core/store/store_errors.h"
#include "fuzz_support.h"

using namespace qnvr;

namespace {

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qnvr-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return folder;
}

void Write(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
}

}  // namespace

// The first two bytes give the length of the W-3 file; the W-2 file is the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    fuzz::QuietPrompter prompter;
    const std::size_t w3Size = std::min<std::size_t>(size - 2, data[0] | (data[1] << 8));
    const std::filesystem::path w2 = Folder() / "PAYER.W226";
    Write(Folder() / "PAYER.W326", data + 2, w3Size);
    Write(w2, data + 2 + w3Size, size - 2 - w3Size);

    TFrmDataModule dm{CorePorts{.prompter = prompter}};
    dm.ReadOnly();
    // A file that cannot be read is refused with the store's exception; anything else
    // escaping is a finding.
    try {
        dm.ReopenPayerFile(w2.string());  // no password is asked
        if (dm.PayerFileOpen()) {
            dm.ForEachW2([](const W2Record& record) { (void)ValidateW2(record); });
            (void)dm.CountW2WithWages();
            dm.ComputeW3Totals();
            (void)ValidateW3(dm.W3Rec());
            dm.RSW2().LastRec();
            dm.RSW2().PriorRec();
        }
    } catch (const EStoreException&) {
    }
    try {
        dm.ClosePayerFile();
    } catch (const EStoreException&) {
    }
    return 0;
}
