#include "report/report_ports.h"

#include "report/printer_port.h"
#include "report/report_errors.h"
#include "report/report_job.h"

namespace qnvr::report {
namespace {

class NoPrintSystem final : public PrinterPort {
public:
    std::vector<std::string> Printers() const override { return {}; }
    std::string DefaultPrinter() const override { return {}; }
    std::string PortName(const std::string&) const override { return {}; }
    std::vector<std::string> Papers(const std::string&) const override { return {}; }
    std::optional<PaperSize> PaperSizeOf(const std::string&, const std::string&) const override { return std::nullopt; }
    std::vector<std::string> Bins(const std::string&) const override { return {}; }
    bool SupportsCollate(const std::string&) const override { return false; }
    bool SupportsDuplex(const std::string&) const override { return false; }
    bool MakesCopies(const std::string&) const override { return false; }
    void PrintPdf(const std::filesystem::path&, const std::string&, const PrintSettings&) override {
        throw EReportException("No printers installed!");
    }
};

// Takes the options as the job set them and never cancels.
class NoWindows final : public ReportJobUi {
public:
    bool AskOutputOptions(const ReportJob&, OutputOptions&, bool) override { return true; }
    void OpenStatus(const ReportJob&) override {}
    bool UpdateStatus(const std::string&) override { return true; }
    void CloseStatus() override {}
};

}  // namespace

PrinterPort& NoPrinters() {
    static NoPrintSystem printers;
    return printers;
}

ReportJobUi& NoJobWindows() {
    static NoWindows windows;
    return windows;
}

}  // namespace qnvr::report
