#pragma once
// Helpers of the report engine's tests: recording pages with a drawing function, the
// shipped design file, and a print back end that remembers what it was asked to print.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "report/page.h"
#include "report/printer_port.h"
#include "report/snapshot.h"
#include "report/surface.h"

namespace qnvr::report::testing {

inline std::filesystem::path DesignFilePath() { return std::filesystem::path(QNVR_ASSETS_DIR) / "W2TXFR26.json"; }

// Runs draw on a fresh surface (page 1 open) and returns the finished snapshot.
inline PageSnapshot Record(const std::function<void(ReportSurface&)>& draw, PrinterPort* printers = nullptr) {
    SnapshotWriter writer = SnapshotWriter::ToMemory();
    {
        ReportSurface surface(writer, printers);
        draw(surface);
        surface.Finish();
    }
    return writer.Open();
}

// A file's whole content.
inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// How often part occurs in text (overlaps counted).
inline std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

// The text operations of a page, in drawing order.
inline std::vector<TextOp> Texts(const Page& page) {
    std::vector<TextOp> texts;
    ForEachOp(page, [&texts](const DrawOp& op) {
        if (auto* t = std::get_if<TextOp>(&op.shape)) texts.push_back(*t);
    });
    return texts;
}

// One printer "PDF" with Letter and Legal, two bins, collation and duplex; it keeps
// the PDFs it is given.
class RecordingPrinterPort : public PrinterPort {
public:
    struct Job {
        std::string title;
        PrintSettings settings;
        std::string pdf;  // the file's bytes
    };

    bool makesCopies = true;
    std::vector<Job> jobs;

    std::vector<std::string> Printers() const override { return {"PDF"}; }
    std::string DefaultPrinter() const override { return "PDF"; }
    std::string PortName(const std::string&) const override { return "cups-pdf:/"; }
    std::vector<std::string> Papers(const std::string&) const override { return {"Letter", "Legal"}; }
    std::optional<PaperSize> PaperSizeOf(const std::string&, const std::string& paper) const override {
        if (paper == "Letter") return PaperSize{8.5, 11};
        if (paper == "Legal") return PaperSize{8.5, 14};
        return std::nullopt;
    }
    std::vector<std::string> Bins(const std::string&) const override { return {"Tray 1", "Manual"}; }
    bool SupportsCollate(const std::string&) const override { return true; }
    bool SupportsDuplex(const std::string&) const override { return true; }
    bool MakesCopies(const std::string&) const override { return makesCopies; }
    void PrintPdf(const std::filesystem::path& pdf, const std::string& title, const PrintSettings& settings) override;
};

// Words of a PDF page as poppler's pdftotext places them, in inches.
struct PdfWord {
    std::string text;
    double xMin, yMin, xMax, yMax;
    int page;
};
std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf);

// Runs a shell command and returns its standard output.
std::string RunCommand(const std::string& command);

}  // namespace qnvr::report::testing
