#pragma once
// The PDF printer of the test print server (scripts/start-cups.sh): where its jobs
// arrive, and reading them back with poppler's tools.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace qnvr::testing {

inline std::string TestPrinter() {
    const char* name = std::getenv("QNVR_TEST_PRINTER");
    return name && *name ? name : "QNVR_PDF";
}

// A second printer of the test server whose driver offers paper sources.
inline std::string TestTrayPrinter() { return "QNVR_TRAYS"; }

inline std::filesystem::path TestPrinterOutput() { return std::filesystem::path("/var/spool/cups-pdf") / TestPrinter(); }

// A job title no other run uses; the PDF printer puts it in the file name.
inline std::string UniqueJobTitle(const std::string& what) {
    static int counter = 0;
    return "qnvr-" + what + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

inline std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// Pages of a PDF as pdfinfo reads them; 0 when it is no readable PDF.
inline int PdfPageCount(const std::filesystem::path& pdf) {
    const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

inline std::string PdfText(const std::filesystem::path& pdf) {
    return CommandOutput("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null");
}

// Waits for the printer to write the PDF of the job titled title (at most 60 s); an
// empty path when none arrived.
inline std::filesystem::path WaitForPrintedPdf(const std::string& title) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(TestPrinterOutput(), ec)) {
            const std::string name = entry.path().filename().string();
            if (name.find(title) != std::string::npos && PdfPageCount(entry.path()) > 0) return entry.path();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return {};
}

}  // namespace qnvr::testing
