// The report design file: any text is read as a design file or refused with the report
// engine's exception, never a crash.
#include "report/design.h"
#include "report/report_errors.h"
#include "report/internal/snapshot_codec.h"
#include "fuzz_support.h"

using namespace qnvr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const report::DesignFile designs =
            report::DesignFile::Parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz input");
        for (const std::string& name : designs.Names()) {
            const report::ReportDesign* design = designs.Find(name);
            if (!design) __builtin_trap();
            report::Page page;
            page.widthIn = design->widthIn, page.heightIn = design->heightIn;
            page.ops = design->artwork;
            (void)report::codec::DecodePage(report::codec::EncodePage(page, 0), report::codec::kArtworkFormatVersion);
            (void)report::codec::DecodeArtwork(report::codec::EncodeArtwork(*design->sharedArtwork));
        }
    } catch (const report::EReportException&) {
    }
    return 0;
}
