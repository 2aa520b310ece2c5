#pragma once
// The printers of the CUPS print system: their papers and paper sources as the
// printer's driver (PPD) names them, what each can do, and print jobs. A job is our
// own PDF of the snapshot, sent with the printer, paper, source, copies, collation and
// two-sided options.
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "report/printer_port.h"

namespace qnvr::platform {

class CupsPrinterPort final : public report::PrinterPort {
public:
    std::vector<std::string> Printers() const override;
    std::string DefaultPrinter() const override;
    std::string PortName(const std::string& printer) const override;

    std::vector<std::string> Papers(const std::string& printer) const override;
    std::optional<report::PaperSize> PaperSizeOf(const std::string& printer, const std::string& paper) const override;
    std::vector<std::string> Bins(const std::string& printer) const override;

    bool SupportsCollate(const std::string& printer) const override;
    bool SupportsDuplex(const std::string& printer) const override;
    bool MakesCopies(const std::string& printer) const override;

    void PrintPdf(const std::filesystem::path& pdf, const std::string& jobTitle,
                  const report::PrintSettings& settings) override;

    // One choice of a driver option: the keyword the print system takes and the text
    // the user reads ("Letter" / "US Letter").
    struct Choice {
        std::string keyword;
        std::string text;
        double widthPt = 0, lengthPt = 0;  // papers only
    };

    // What the printer's driver offers; refreshed when the driver file changes.
    struct DriverChoices {
        std::time_t modified = 0;
        std::vector<Choice> papers;
        std::vector<Choice> bins;
    };

private:
    const DriverChoices& ChoicesOf(const std::string& printer) const;

    mutable std::map<std::string, DriverChoices> choices_;
};

}  // namespace qnvr::platform
