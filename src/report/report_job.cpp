#include "report/report_job.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "report/pdf_renderer.h"
#include "report/printer_port.h"
#include "report/report_errors.h"
#include "report/surface.h"

namespace qnvr::report {
namespace {

// Opens the status window for the lifetime of one step, if the job shows one.
class StatusWindow {
public:
    StatusWindow(const ReportJob& job, const std::string& format)
        : ui_(job.Options.Has(ReportOption::soShowStatus) ? &job.Ports().jobUi : nullptr), format_(format) {
        if (ui_) ui_->OpenStatus(job);
    }
    ~StatusWindow() {
        if (ui_) ui_->CloseStatus();
    }
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    // Shows the page's status text; false once the user has cancelled.
    bool Page(int pageNo) { return !ui_ || ui_->UpdateStatus(ReportJob::StatusText(format_, pageNo)); }

private:
    ReportJobUi* ui_;
    std::string format_;
};

// A file removed when it goes out of scope.
struct TemporaryFile {
    std::filesystem::path path;
    ~TemporaryFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

std::filesystem::path PrintFileName() {
    static int counter = 0;
    return std::filesystem::temp_directory_path() /
           ("qnvr-print-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".pdf");
}

}  // namespace

ReportJob::ReportJob(const ReportPorts& ports) : ports_(ports) {}
ReportJob::~ReportJob() = default;

std::string ReportJob::StatusText(const std::string& format, int pageNo) {
    std::string text = format;
    const std::string number = std::to_string(pageNo);
    for (std::size_t pos = text.find("%p"); pos != std::string::npos; pos = text.find("%p", pos + number.size())) {
        text.replace(pos, 2, number);
    }
    return text;
}

bool ReportJob::Execute() {
    OutputOptions options;
    options.destination = DefaultDestination;
    options.print.printer = ports_.printer.DefaultPrinter();
    if (Setups.Has(ReportSetup::ssAllowSetup) && !ports_.jobUi.AskOutputOptions(*this, options, false)) return false;

    const bool reuse = Options.Has(ReportOption::soNoGenerate) && HasSnapshot();
    if (!reuse && !Generate(options)) return false;
    try {
        Deliver(options);
    } catch (...) {
        if (StreamMode == SnapshotStore::Memory) ReleaseSnapshot();
        throw;
    }
    if (StreamMode == SnapshotStore::Memory) ReleaseSnapshot();
    return true;
}

bool ReportJob::Generate(const OutputOptions& options) {
    ReleaseSnapshot();
    if (StreamMode == SnapshotStore::File && StreamFileName.empty()) {
        throw EReportException("The report \"" + JobTitle + "\" has no file to record its pages in.");
    }
    writer_ = std::make_unique<SnapshotWriter>(StreamMode == SnapshotStore::File ? SnapshotWriter::ToFile(StreamFileName)
                                                                                 : SnapshotWriter::ToMemory());
    StatusWindow status(*this, StatusFormat);
    try {
        surface_ = std::make_unique<ReportSurface>(*writer_, &ports_.printer,
                                                   [&status](int pageNo) { return status.Page(pageNo); });
        surface_->SetSettings(options.print);
        if (OnBeforePrint) OnBeforePrint(*surface_);
        try {
            if (OnPrint) OnPrint(*surface_);
        } catch (...) {
            // The after-print step undoes what the drawing code set up (a remembered record).
            if (OnAfterPrint) {
                try {
                    OnAfterPrint(*surface_);
                } catch (...) {
                }
            }
            throw;
        }
        if (OnAfterPrint) OnAfterPrint(*surface_);
        surface_->Finish();
    } catch (const JobCancelled&) {
        surface_.reset();
        writer_.reset();
        return false;
    } catch (...) {
        surface_.reset();
        writer_.reset();
        throw;
    }
    surface_.reset();
    if (StreamMode == SnapshotStore::Memory) memorySnapshot_ = writer_->Bytes();
    writer_.reset();
    hasSnapshot_ = true;
    return true;
}

bool ReportJob::HasSnapshot() const { return hasSnapshot_; }

PageSnapshot ReportJob::OpenSnapshot() const {
    if (!hasSnapshot_) throw EReportException("The report \"" + JobTitle + "\" has no pages to show.");
    return StreamMode == SnapshotStore::File ? PageSnapshot::OpenFile(StreamFileName)
                                             : PageSnapshot::FromBytes(memorySnapshot_);
}

std::filesystem::path ReportJob::SnapshotFile() const {
    return StreamMode == SnapshotStore::File ? StreamFileName : std::filesystem::path();
}

void ReportJob::ReleaseSnapshot() {
    memorySnapshot_.reset();
    if (StreamMode == SnapshotStore::Memory) hasSnapshot_ = false;
}

void ReportJob::Deliver(const OutputOptions& options) {
    switch (options.destination) {
        case ReportDestination::Preview: return DeliverToPreview();
        case ReportDestination::File: return DeliverToFile(options);
        case ReportDestination::Printer: {
            PrinterPort& port = ports_.printer;
            if (port.Printers().empty()) throw EReportException("No printers installed!");
            const PageSnapshot snapshot = OpenSnapshot();
            StatusWindow status(*this, PrintStatusFormat);
            PrintSnapshot(snapshot, port, JobTitle, snapshot.Settings(), {}, [&status](int pageNo) { return status.Page(pageNo); });
            return;
        }
    }
}

void ReportJob::DeliverToPreview() {
    if (!OverridePreview) return;
    struct FreeOnExit {
        ReportJob& job;
        ~FreeOnExit() {
            try {
                job.OverridePreview(job, PreviewMode::Free);
            } catch (...) {
            }
        }
    } freeOnExit{*this};
    OverridePreview(*this, PreviewMode::Create);
    OverridePreview(*this, PreviewMode::Show);
    OverridePreview(*this, PreviewMode::Wait);
}

void ReportJob::DeliverToFile(const OutputOptions& options) {
    if (options.fileName.empty()) throw EReportException("No output file has been chosen.");
    const PageSnapshot snapshot = OpenSnapshot();
    if (options.fileFormat == FileFormat::Pdf) {
        RenderPdf(snapshot, options.fileName);
    } else {
        snapshot.SaveAs(options.fileName);
    }
}

bool PrintSnapshot(const PageSnapshot& snapshot, PrinterPort& port, const std::string& jobTitle,
                   const PrintSettings& settings, const PageRange& range,
                   const std::function<bool(int pageNo)>& progress) {
    if (settings.printer.empty()) throw EReportException("No printer has been selected.");
    TemporaryFile pdf{PrintFileName()};
    PdfOptions pdfOptions;
    pdfOptions.range = range;
    pdfOptions.progress = progress;
    if (!RenderPdf(snapshot, pdf.path, pdfOptions)) return false;
    if (settings.copies <= 1 || port.MakesCopies(settings.printer)) {
        port.PrintPdf(pdf.path, jobTitle, settings);
        return true;
    }
    PrintSettings single = settings;
    single.copies = 1;
    for (int copy = 0; copy < settings.copies; ++copy) port.PrintPdf(pdf.path, jobTitle, single);
    return true;
}

}  // namespace qnvr::report
