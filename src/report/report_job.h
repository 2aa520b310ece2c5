#pragma once
// The report job: one print component of the program. Execute asks for the output
// options, records every page once into a page snapshot through the drawing surface
// (OnBeforePrint, OnPrint, OnAfterPrint), then delivers the snapshot to the printer,
// to the preview (through OverridePreview) or to a file.
//
// The windows of a run (output options step, status window) and the printers are
// reached through the ports the job is built with (report/report_ports.h); with the
// silent ones, a job goes straight to generating and delivering.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/base/flag_set.h"
#include "report/page.h"
#include "report/report_ports.h"
#include "report/snapshot.h"

namespace qnvr::report {

class ReportSurface;
class ReportJob;
class PrinterPort;

// Options flags.
enum class ReportOption : unsigned {
    soUseFiler = 1u << 0,
    soWaitForOK = 1u << 1,
    soShowStatus = 1u << 2,
    soAllowPrintFromPreview = 1u << 3,
    soAllowSaveFromPreview = 1u << 4,
    soPreviewModal = 1u << 5,
    soNoGenerate = 1u << 6,
};
QNVR_FLAG_ENUM(ReportOption)
using ReportOptions = FlagSet<ReportOption>;
inline constexpr ReportOptions kDefaultReportOptions = ReportOption::soShowStatus |
                                                       ReportOption::soAllowPrintFromPreview |
                                                       ReportOption::soAllowSaveFromPreview | ReportOption::soPreviewModal;

// Setups flags.
enum class ReportSetup : unsigned {
    ssAllowSetup = 1u << 0,
    ssAllowCopies = 1u << 1,
    ssAllowCollate = 1u << 2,
    ssAllowDuplex = 1u << 3,
    ssAllowDestPreview = 1u << 4,
    ssAllowDestPrinter = 1u << 5,
    ssAllowDestFile = 1u << 6,
    ssAllowPrinterSetup = 1u << 7,
    ssAllowPreviewSetup = 1u << 8,
};
QNVR_FLAG_ENUM(ReportSetup)
using ReportSetups = FlagSet<ReportSetup>;
inline constexpr ReportSetups kAllReportSetups = ReportSetups::FromBits((1u << 9) - 1);

enum class ReportDestination { Printer, Preview, File };

// Where a run keeps its snapshot: dropped at the end of the job, or in a named file.
enum class SnapshotStore { Memory, File };

// What a File destination writes: the snapshot document, or the printer's native
// output (our PDF).
enum class FileFormat { Snapshot, Pdf };

// Pages counted from 1; last 0 means to the end.
struct PageRange {
    int first = 1;
    int last = 0;
    bool Contains(int pageNo) const { return pageNo >= first && (last == 0 || pageNo <= last); }
};

// The choices of the output options step.
struct OutputOptions {
    ReportDestination destination = ReportDestination::Preview;
    PrintSettings print;          // printer, copies, collate, duplex (and paper, bin, orientation)
    std::filesystem::path fileName;
    FileFormat fileFormat = FileFormat::Snapshot;
    PageRange range;              // only offered when printing from the preview
};

// The preview settings a job hands its preview window.
struct PreviewSettings {
    bool maximized = true;
    int width = 615, height = 450;  // nominal size, pixels
    double marginPercent = 2.5;     // page margin, percent of the view
    int zoom = 100;                 // percent
    int zoomStep = 10;
    int shadowDepth = 0;
};

// Modes in which the job calls its preview hook, in this order (Free even after an error).
enum class PreviewMode { Create = 0, Show = 1, Wait = 2, Free = 3 };

// The windows of a run, which the desktop program's ports hold.
class ReportJobUi {
public:
    virtual ~ReportJobUi() = default;
    // The output options step captioned job.TitleSetup; fromPreview offers the page
    // range. Returns false on Cancel.
    virtual bool AskOutputOptions(const ReportJob& job, OutputOptions& options, bool fromPreview) = 0;
    // The status window captioned job.TitleStatus.
    virtual void OpenStatus(const ReportJob& job) = 0;
    // Shows the text; returns false once the user has pressed Cancel.
    virtual bool UpdateStatus(const std::string& text) = 0;
    virtual void CloseStatus() = 0;
};

class ReportJob {
public:
    using SurfaceEvent = std::function<void(ReportSurface&)>;
    using PreviewHook = std::function<void(ReportJob&, PreviewMode)>;

    // Runs with ports: its printers and the windows of its run (kept for its lifetime).
    explicit ReportJob(const ReportPorts& ports);
    ~ReportJob();
    ReportJob(const ReportJob&) = delete;
    ReportJob& operator=(const ReportJob&) = delete;

    std::string TitleSetup = "Output Options";
    std::string TitleStatus = "Report Status";
    std::string TitlePreview = "Report Preview";
    std::string JobTitle;                           // name in the print queue
    std::string StatusFormat = "Generating page %p";
    std::string PrintStatusFormat = "Printing page %p";
    ReportOptions Options = kDefaultReportOptions;
    ReportSetups Setups = kAllReportSetups;
    ReportDestination DefaultDestination = ReportDestination::Preview;
    SnapshotStore StreamMode = SnapshotStore::Memory;
    std::filesystem::path StreamFileName;           // the file of StreamMode File
    PreviewSettings Preview;

    SurfaceEvent OnBeforePrint;
    SurfaceEvent OnPrint;
    SurfaceEvent OnAfterPrint;
    PreviewHook OverridePreview;

    // Runs the job. Returns true when the output was delivered (or the preview shown
    // and closed), false when the user cancelled. Errors of the drawing code (a missing
    // report design, say) propagate, and nothing is delivered.
    bool Execute();

    // Records the snapshot only (the steps of Execute between the output options and
    // delivery), with the given choices. Returns false when cancelled.
    bool Generate(const OutputOptions& options = {});

    // While OnBeforePrint, OnPrint or OnAfterPrint runs: the surface; else nullptr.
    ReportSurface* Surface() { return surface_.get(); }

    // After Generate (and during delivery, preview hook included): a reader over the
    // recorded snapshot. Throws EReportException when there is none.
    PageSnapshot OpenSnapshot() const;
    bool HasSnapshot() const;
    // The snapshot's file in file mode, else empty.
    std::filesystem::path SnapshotFile() const;
    // Drops a memory snapshot (the end of a run).
    void ReleaseSnapshot();

    const ReportPorts& Ports() const { return ports_; }

    // Substitutes the page number for %p in a status format.
    static std::string StatusText(const std::string& format, int pageNo);

private:
    void Deliver(const OutputOptions& options);
    void DeliverToPreview();
    void DeliverToFile(const OutputOptions& options);

    ReportPorts ports_;
    std::unique_ptr<ReportSurface> surface_;
    std::unique_ptr<SnapshotWriter> writer_;
    std::shared_ptr<const std::string> memorySnapshot_;
    bool hasSnapshot_ = false;
};

// Prints pages of a snapshot through the printer port: renders them to a temporary
// PDF and sends it as one job, once per copy when the printer cannot make copies
// itself. progress is called with each page as it is rendered ("Printing page %p");
// returning false cancels and nothing is sent. Returns false when cancelled.
bool PrintSnapshot(const PageSnapshot& snapshot, PrinterPort& port, const std::string& jobTitle,
                   const PrintSettings& settings, const PageRange& range = {},
                   const std::function<bool(int pageNo)>& progress = {});

}  // namespace qnvr::report
