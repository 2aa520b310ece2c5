// The snapshot reader: any bytes open as a snapshot document and show their pages, or
// are refused with the report engine's exception; no size read from the input makes it
// allocate more than the input can stand for.
#include <memory>

#include "report/report_errors.h"
#include "report/snapshot.h"
#include "fuzz_support.h"

using namespace qnvr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const report::PageSnapshot snapshot = report::PageSnapshot::FromBytes(
            std::make_shared<const std::string>(reinterpret_cast<const char*>(data), size));
        (void)snapshot.Settings();
        for (int page = 1; page <= snapshot.PageCount(); ++page) {
            try {
                (void)snapshot.ReadPage(page);
            } catch (const report::EReportException&) {
            }
        }
    } catch (const report::EReportException&) {
    }
    return 0;
}
