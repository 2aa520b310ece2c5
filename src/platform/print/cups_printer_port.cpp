#include "platform/print/cups_printer_port.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/base/prompter.h"
#include "core/text/cp1252.h"
#include "report/report_errors.h"

// The driver (PPD) interface of CUPS is marked deprecated, but it is where a printer's
// own names for its papers and paper sources live ("US Letter", "Tray 2"); IPP reports
// only keywords. It stays in CUPS 2.x, which is what the program runs on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/cups.h>
#include <cups/ppd.h>

namespace qnvr::platform {
namespace {

using report::EReportException;

struct DestsDeleter {
    int count;
    void operator()(cups_dest_t* dests) const { cupsFreeDests(count, dests); }
};
using DestList = std::unique_ptr<cups_dest_t, DestsDeleter>;

DestList AllDests() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    return DestList(dests, DestsDeleter{count});
}

std::string DestName(const cups_dest_t& dest) {
    std::string name = dest.name;
    if (dest.instance) name += std::string("/") + dest.instance;
    return name;
}

// A printer named "queue" or "queue/instance"; nullptr when the print system does not know it.
struct OneDest {
    DestList list{nullptr, DestsDeleter{1}};
    cups_dest_t* get() const { return list.get(); }
};

OneDest FindDest(const std::string& printer) {
    const auto slash = printer.find('/');
    const std::string queue = printer.substr(0, slash);
    const std::string instance = slash == std::string::npos ? std::string() : printer.substr(slash + 1);
    if (queue.empty()) return {};
    OneDest found;
    found.list.reset(cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), instance.empty() ? nullptr : instance.c_str()));
    return found;
}

// What the print system says a printer supports (its IPP attributes).
class DestInfo {
public:
    explicit DestInfo(const std::string& printer) : dest_(FindDest(printer)) {
        if (dest_.get()) info_ = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest_.get());
    }
    ~DestInfo() {
        if (info_) cupsFreeDestInfo(info_);
    }
    DestInfo(const DestInfo&) = delete;
    DestInfo& operator=(const DestInfo&) = delete;

    bool Supports(const char* option, const char* value) const {
        return info_ && cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest_.get(), info_, option, value);
    }
    ipp_attribute_t* Supported(const char* option) const {
        return info_ ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest_.get(), info_, option) : nullptr;
    }

private:
    OneDest dest_;
    cups_dinfo_t* info_ = nullptr;
};

// Driver texts are in the driver's own encoding: UTF-8, or Latin-1 in most drivers.
std::string DriverText(const ppd_file_t& ppd, const char* text) {
    const std::string raw = text ? text : "";
    if (ppd.lang_encoding && std::string(ppd.lang_encoding) == "UTF-8") return raw;
    return Cp1252ToUtf8(raw);
}

std::vector<CupsPrinterPort::Choice> OptionChoices(ppd_file_t& ppd, const char* option) {
    std::vector<CupsPrinterPort::Choice> choices;
    ppd_option_t* found = ppdFindOption(&ppd, option);
    if (!found) return choices;
    for (int i = 0; i < found->num_choices; ++i) {
        const ppd_choice_t& c = found->choices[i];
        CupsPrinterPort::Choice choice{c.choice, DriverText(ppd, c.text[0] ? c.text : c.choice)};
        if (ppd_size_t* size = ppdPageSize(&ppd, c.choice)) {
            choice.widthPt = size->width;
            choice.lengthPt = size->length;
        }
        choices.push_back(std::move(choice));
    }
    return choices;
}

CupsPrinterPort::DriverChoices ReadDriver(const char* ppdFile, std::time_t modified) {
    CupsPrinterPort::DriverChoices choices;
    choices.modified = modified;
    ppd_file_t* ppd = ppdOpenFile(ppdFile);
    if (!ppd) return choices;
    choices.papers = OptionChoices(*ppd, "PageSize");
    choices.bins = OptionChoices(*ppd, "InputSlot");
    ppdClose(ppd);
    return choices;
}

bool SameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// A saved name matches a choice by its text or its keyword, exactly, else ignoring case.
const CupsPrinterPort::Choice* FindChoice(const std::vector<CupsPrinterPort::Choice>& choices, const std::string& name) {
    for (const auto& c : choices)
        if (c.text == name || c.keyword == name) return &c;
    for (const auto& c : choices)
        if (SameText(c.text, name) || SameText(c.keyword, name)) return &c;
    return nullptr;
}

std::vector<std::string> Texts(const std::vector<CupsPrinterPort::Choice>& choices) {
    std::vector<std::string> texts;
    for (const auto& c : choices) texts.push_back(c.text);
    return texts;
}

// The sheet the program lays its forms out on, when the job names no paper.
const CupsPrinterPort::Choice* LetterPaper(const std::vector<CupsPrinterPort::Choice>& papers) {
    for (const auto& c : papers)
        if (std::abs(c.widthPt - report::kLetterWidthIn * report::kPointsPerInch) < 1 &&
            std::abs(c.lengthPt - report::kLetterHeightIn * report::kPointsPerInch) < 1)
            return &c;
    return nullptr;
}

class JobOptions {
public:
    ~JobOptions() { cupsFreeOptions(count_, options_); }
    void Add(const char* name, const std::string& value) { count_ = cupsAddOption(name, value.c_str(), count_, &options_); }
    int Count() const { return count_; }
    cups_option_t* Options() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

const char* SidesOf(report::DuplexMode duplex) {
    // The captions decide: "Book" binds on the long edge, "Tablet" on the short edge.
    switch (duplex) {
        case report::DuplexMode::dupHorizontal: return "two-sided-long-edge";
        case report::DuplexMode::dupVertical: return "two-sided-short-edge";
        default: return "one-sided";
    }
}

}  // namespace

std::vector<std::string> CupsPrinterPort::Printers() const {
    const DestList dests = AllDests();
    std::vector<std::string> names;
    for (int i = 0; i < dests.get_deleter().count; ++i) names.push_back(DestName(dests.get()[i]));
    return names;
}

std::string CupsPrinterPort::DefaultPrinter() const {
    const DestList dests = AllDests();
    const cups_dest_t* dest = cupsGetDest(nullptr, nullptr, dests.get_deleter().count, dests.get());
    return dest ? DestName(*dest) : std::string();
}

std::string CupsPrinterPort::PortName(const std::string& printer) const {
    const OneDest dest = FindDest(printer);
    if (!dest.get()) return {};
    for (const char* option : {"device-uri", "printer-uri-supported"}) {
        if (const char* value = cupsGetOption(option, dest.get()->num_options, dest.get()->options)) return value;
    }
    return {};
}

const CupsPrinterPort::DriverChoices& CupsPrinterPort::ChoicesOf(const std::string& printer) const {
    DriverChoices& cached = choices_[printer];
    const std::string queue = printer.substr(0, printer.find('/'));
    std::time_t modified = cached.modified;
    char file[1024] = "";
    const http_status_t status = cupsGetPPD3(CUPS_HTTP_DEFAULT, queue.c_str(), &modified, file, sizeof file);
    if (status == HTTP_STATUS_OK) {
        cached = ReadDriver(file, modified);
        ::unlink(file);
    } else if (status != HTTP_STATUS_NOT_MODIFIED) {
        cached = {};  // no such printer, or a printer without a driver file: nothing to choose
    }
    return cached;
}

std::vector<std::string> CupsPrinterPort::Papers(const std::string& printer) const {
    return Texts(ChoicesOf(printer).papers);
}

std::optional<report::PaperSize> CupsPrinterPort::PaperSizeOf(const std::string& printer, const std::string& paper) const {
    const Choice* choice = FindChoice(ChoicesOf(printer).papers, paper);
    if (!choice || choice->widthPt <= 0 || choice->lengthPt <= 0) return std::nullopt;
    return report::PaperSize{choice->widthPt / report::kPointsPerInch, choice->lengthPt / report::kPointsPerInch};
}

std::vector<std::string> CupsPrinterPort::Bins(const std::string& printer) const { return Texts(ChoicesOf(printer).bins); }

bool CupsPrinterPort::SupportsCollate(const std::string& printer) const {
    return DestInfo(printer).Supports("multiple-document-handling", "separate-documents-collated-copies");
}

bool CupsPrinterPort::SupportsDuplex(const std::string& printer) const {
    const DestInfo info(printer);
    return info.Supports("sides", "two-sided-long-edge") || info.Supports("sides", "two-sided-short-edge");
}

bool CupsPrinterPort::MakesCopies(const std::string& printer) const {
    ipp_attribute_t* copies = DestInfo(printer).Supported("copies");
    if (!copies) return false;
    int upper = 1;
    if (ippGetValueTag(copies) == IPP_TAG_RANGE) ippGetRange(copies, 0, &upper);
    else if (ippGetValueTag(copies) == IPP_TAG_INTEGER) upper = ippGetInteger(copies, 0);
    return upper > 1;
}

void CupsPrinterPort::PrintPdf(const std::filesystem::path& pdf, const std::string& jobTitle,
                               const report::PrintSettings& settings) {
    const std::string queue = settings.printer.substr(0, settings.printer.find('/'));
    if (!FindDest(settings.printer).get())
        throw EReportException("The printer \"" + settings.printer + "\" is not installed.");

    const DriverChoices& choices = ChoicesOf(settings.printer);
    JobOptions options;
    // A name the printer no longer knows is left out: the printer then uses its default.
    const Choice* paper = settings.paper.empty() ? LetterPaper(choices.papers) : FindChoice(choices.papers, settings.paper);
    if (paper) options.Add("PageSize", paper->keyword);
    if (const Choice* bin = FindChoice(choices.bins, settings.bin)) options.Add("InputSlot", bin->keyword);
    // The pages are drawn at the form's true size, already turned for landscape: the
    // printer must neither scale nor turn them again.
    options.Add("print-scaling", "none");
    options.Add("copies", std::to_string(std::max(1, settings.copies)));
    if (SupportsCollate(settings.printer)) {
        options.Add("multiple-document-handling", settings.collate ? "separate-documents-collated-copies"
                                                                   : "separate-documents-uncollated-copies");
    }
    if (SupportsDuplex(settings.printer)) options.Add("sides", SidesOf(settings.duplex));

    const std::string title = jobTitle.empty() ? std::string(kAppTitle) : jobTitle;
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), pdf.c_str(), title.c_str(), options.Count(),
                                   options.Options());
    if (job == 0) {
        throw EReportException("The printer \"" + settings.printer + "\" did not accept the job \"" + title +
                               "\": " + cupsLastErrorString());
    }
}

}  // namespace qnvr::platform

#pragma GCC diagnostic pop
