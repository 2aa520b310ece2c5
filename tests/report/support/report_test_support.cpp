#include "support/report_test_support.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <stdexcept>

namespace qnvr::report::testing {

void RecordingPrinterPort::PrintPdf(const std::filesystem::path& pdf, const std::string& title,
                                    const PrintSettings& settings) {
    std::ifstream in(pdf, std::ios::binary);
    jobs.push_back({title, settings, std::string(std::istreambuf_iterator<char>(in), {})});
}

std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
    return out;
}

std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf) {
    const std::string html = RunCommand("pdftotext -bbox '" + pdf.string() + "' - 2>&1");
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    int pageNo = 0;
    std::size_t pos = 0;
    // Walk the output once, counting pages as they start.
    for (std::size_t next; (next = html.find('<', pos)) != std::string::npos; pos = next + 1) {
        if (html.compare(next, 6, "<page ") == 0) {
            ++pageNo;
        } else if (html.compare(next, 6, "<word ") == 0) {
            std::smatch m;
            const std::string rest = html.substr(next, html.find("</word>", next) + 7 - next);
            if (std::regex_match(rest, m, word)) {
                auto in = [&](int i) { return std::stod(m[i].str()) / 72.0; };
                words.push_back({m[5].str(), in(1), in(2), in(3), in(4), pageNo});
            }
        }
    }
    return words;
}

}  // namespace qnvr::report::testing
