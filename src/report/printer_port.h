#pragma once
// The print back end as the report engine sees it: the installed printers with their
// papers and bins, what each can do, and sending a rendered document as a print job.
// The program's ports hold one over CUPS (report/report_ports.h); without it there are
// no printers and printing is refused.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/page.h"

namespace qnvr::report {

struct PaperSize {
    double widthIn = kLetterWidthIn;
    double heightIn = kLetterHeightIn;
};

class PrinterPort {
public:
    virtual ~PrinterPort() = default;

    virtual std::vector<std::string> Printers() const = 0;
    // The platform's default printer; empty when there is none.
    virtual std::string DefaultPrinter() const = 0;
    // Where the printer is attached (its device or URI), shown as "%s on %s".
    virtual std::string PortName(const std::string& printer) const = 0;

    virtual std::vector<std::string> Papers(const std::string& printer) const = 0;
    virtual std::optional<PaperSize> PaperSizeOf(const std::string& printer, const std::string& paper) const = 0;
    virtual std::vector<std::string> Bins(const std::string& printer) const = 0;

    virtual bool SupportsCollate(const std::string& printer) const = 0;
    virtual bool SupportsDuplex(const std::string& printer) const = 0;
    // Whether the printer makes several copies of a job itself.
    virtual bool MakesCopies(const std::string& printer) const = 0;

    // Sends a PDF file as one print job titled jobTitle with the settings' printer,
    // paper, bin, orientation, collation, duplex and copies. Throws EReportException
    // with the back end's reason when the job is refused.
    virtual void PrintPdf(const std::filesystem::path& pdf, const std::string& jobTitle,
                          const PrintSettings& settings) = 0;
};

}  // namespace qnvr::report
