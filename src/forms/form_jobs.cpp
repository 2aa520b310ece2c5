#include "forms/form_jobs.h"

#include "core/entry/employee_list.h"
#include "core/print/form_pages.h"
#include "core/print/mailing_labels.h"
#include "core/print/printer_settings.h"
#include "report/postnet.h"
#include "report/surface.h"

namespace qnvr::forms {
namespace {

using report::ReportJob;
using report::ReportSurface;

// What sets the jobs apart before they draw: the titles of their three windows, their
// name in the print queue, where they keep their pages and how their preview opens.
struct JobSpec {
    const char* setup;
    const char* status;
    const char* preview;
    const char* queue;
    report::SnapshotStore store;
    int zoom;
    int shadowDepth = 0;
};

using report::SnapshotStore;

// Every job records its pages after the saved printer setup is applied.
void Prepare(ReportJob& job, const JobSpec& spec, const std::filesystem::path& snapshotFile,
             const SettingsStore& settings) {
    job.TitleSetup = spec.setup;
    job.TitleStatus = spec.status;
    job.TitlePreview = spec.preview;
    job.JobTitle = spec.queue;
    job.StreamMode = spec.store;
    job.StreamFileName = spec.store == SnapshotStore::File ? snapshotFile : std::filesystem::path();
    job.Preview.zoom = spec.zoom;
    job.Preview.shadowDepth = spec.shadowDepth;
    job.OnBeforePrint = [&settings](ReportSurface& surface) { ApplyPrinterSetup(settings, surface); };
}

constexpr JobSpec kEmployeeJob{"Employee Form W-2 Setup", "Employee Form W-2 Status", "Employee Form W-2 Preview",
                               "Employee Form W-2 Report", SnapshotStore::File, 120};
constexpr JobSpec kEmployerJob{"Employer Form W-2 Setup", "Employer Form W-2 Status", "Employer Form W-2 Preview",
                               "Employee Form W-2 Report", SnapshotStore::File, 120};
constexpr JobSpec kStateJob{"State Form W-2 Setup", "State Form W-2 Status", "State Form W-2 Preview",
                            "Employee Form W-2 Report", SnapshotStore::File, 120};
constexpr JobSpec kSsaJob{"SSA Form W-2 Setup", "SSA Form W-2 Status", "SSA Form W-2 Preview", "SSA Form W-2 Report",
                          SnapshotStore::File, 120};
constexpr JobSpec kW3Job{"Form W-3 Setup", "Form W-3 Status", "Form W-3 Preview", "Form W-3 Report",
                         SnapshotStore::Memory, 100};
constexpr JobSpec kLabelJob{"Employee Labels Setup", "Employee Labels Status", "Employee Labels Preview (Avery 5160)",
                            "Quenvora W-2 Labels", SnapshotStore::File, 100, 5};

// Reads the record into W2Rec for the duration of a job and returns to the one that
// was current, reading it again, however the job ends.
class RememberedRecord {
public:
    explicit RememberedRecord(TRecordSet& store) : store_(store) { store_.PushRec(); }
    ~RememberedRecord() { store_.PopRec(); }
    RememberedRecord(const RememberedRecord&) = delete;
    RememberedRecord& operator=(const RememberedRecord&) = delete;

private:
    TRecordSet& store_;
};

// Opens the design file and selects a design for one job's drawing; clears the
// parameters and closes the file at the end, however the drawing ends.
class OpenDesign {
public:
    OpenDesign(report::ReportProject& project, const char* design) : project_(project) {
        project_.Open();
        project_.SelectReport(design);
    }
    ~OpenDesign() {
        project_.ClearParams();
        project_.Close();
    }
    OpenDesign(const OpenDesign&) = delete;
    OpenDesign& operator=(const OpenDesign&) = delete;

private:
    report::ReportProject& project_;
};

void ReadRecord(TRecordSet& store, int record) {
    store.SetCurrentRecord(record);
    store.GetRec();
}

}  // namespace

FormPrinting::FormPrinting(TFrmDataModule& dm, const SettingsStore& settings, std::filesystem::path designFile,
                           std::filesystem::path snapshotFile)
    : dm_(dm), settings_(settings), snapshotFile_(std::move(snapshotFile)) {
    project_.SetProjectFile(designFile);
}

report::PreprintedForms FormPrinting::Preprinted() const {
    if (PreprintedOverride) return *PreprintedOverride;
    const PreprintedSetup saved = LoadPreprintedSetup(settings_);
    return {saved.on, saved.offsetX, saved.offsetY};
}

W2PrintRange FormPrinting::AllRecords() const { return {dm_.RSW2().FirstRecord(), dm_.RSW2().LastRecord()}; }


void FormPrinting::BindProject(ReportJob& job, bool preprinted) {
    project_.SetEngine(&job);
    project_.SetPreprinted(preprinted ? Preprinted() : report::PreprintedForms{});
}

void FormPrinting::SetParams(const FormParams& params) {
    for (const auto& [name, value] : params) project_.SetParam(name, value);
}

// ---- Employee copies: one employee a page ------------------------------------------

void FormPrinting::SetupEmployeeW2(ReportJob& job, W2PrintRange range, bool maskSSN) {
    Prepare(job, kEmployeeJob, snapshotFile_, settings_);
    job.OnPrint = [this, &job, range, maskSSN](ReportSurface& surface) {
        BindProject(job, false);
        PrintEmployeeW2(surface, range, maskSSN);
    };
}

void FormPrinting::PrintEmployeeW2(ReportSurface& surface, W2PrintRange range, bool maskSSN) {
    OpenDesign design(project_, "FormW2");
    RememberedRecord remembered(dm_.RSW2());
    SetParams(W2EmployerParams(dm_.W3Rec(), 0));
    const W2FormStyle style{MoneyStyle::Grouped, maskSSN};
    for (int record = range.first; record <= range.last; ++record) {
        ReadRecord(dm_.RSW2(), record);
        SetParams(W2EmployeeParams(dm_.W2Rec(), 0, style));
        project_.Execute();
        if (record != range.last) surface.NewPage();
    }
}

// ---- Copy D and Copy 1: four to a page --------------------------------------------

void FormPrinting::SetupCopyD1(ReportJob& job, W2PrintRange range, W2FormType formType) {
    Prepare(job, formType == W2FormType::State ? kStateJob : kEmployerJob, snapshotFile_, settings_);
    job.OnPrint = [this, &job, range, formType](ReportSurface& surface) {
        BindProject(job, false);
        PrintCopyD1(surface, range, formType);
    };
}

void FormPrinting::PrintCopyD1(ReportSurface& surface, W2PrintRange range, W2FormType formType) {
    OpenDesign design(project_, "FormW2_CopyD1");
    RememberedRecord remembered(dm_.RSW2());
    const W2FormStyle style{MoneyStyle::Grouped, false};
    const char* caption = formType == W2FormType::State ? kCopy1Caption : kCopyDCaption;
    int slot = 1;
    for (int record = range.first; record <= range.last; ++record) {
        ReadRecord(dm_.RSW2(), record);
        if (slot == 1) project_.SetParam("FormType", caption);
        SetParams(W2SlotParams(dm_.W2Rec(), dm_.W3Rec(), slot, style));
        const bool last = record == range.last;
        if (slot == kFourUpFormsPerPage || last) project_.Execute();
        if (slot == kFourUpFormsPerPage && !last) {
            surface.NewPage();
            project_.ClearParams();
            slot = 1;
        } else if (last) {
            surface.SetFont(kVoidMarkFont, kVoidMarkSizePt);
            for (const VoidMark& mark : FourUpVoidMarks(slot)) {
                surface.GotoXY(kVoidMarkCursorX, mark.baselineY);
                surface.PrintCenter(kVoidMarkText, mark.centreX);
            }
        } else {
            ++slot;
        }
    }
}

// ---- Copy A: two to a page, in the order of the employee list ----------------------

void FormPrinting::SetupSsaW2(ReportJob& job) {
    Prepare(job, kSsaJob, snapshotFile_, settings_);
    // Copy A is read by the SSA's scanners from the red-ink form only: a drawn facsimile
    // is shown, never printed, saved or exported. Printing the values onto preprinted
    // forms may go to a printer.
    job.Options = report::ReportOption::soShowStatus | report::ReportOption::soPreviewModal;
    job.Setups = report::ReportSetup::ssAllowDestPreview | report::ReportSetup::ssAllowPreviewSetup;
    if (Preprinted().on) {
        job.Options |= report::ReportOption::soAllowPrintFromPreview;
        using enum report::ReportSetup;
        job.Setups |= ssAllowSetup | ssAllowDestPrinter | ssAllowPrinterSetup | ssAllowCopies | ssAllowCollate |
                      ssAllowDuplex;
    }
    job.OnPrint = [this, &job](ReportSurface& surface) {
        BindProject(job, true);
        PrintSsaW2(surface);
    };
}

void FormPrinting::PrintSsaW2(ReportSurface& surface) {
    const int count = dm_.RSW2().RecordCount();
    const std::vector<EmployeeListEntry>& entries = EmployeeList().For(dm_);
    RememberedRecord remembered(dm_.RSW2());
    OpenDesign design(project_, "FormW2_SSA");
    const W2FormStyle style{MoneyStyle::Plain, false};
    for (int k = 0; k < count && k < static_cast<int>(entries.size()); ++k) {
        ReadRecord(dm_.RSW2(), entries[k].record);
        const int slot = SlotOf(k, kCopyAFormsPerPage);
        SetParams(W2SlotParams(dm_.W2Rec(), dm_.W3Rec(), slot, style));
        const bool last = k == count - 1;
        if (last && count % 2 == 1) project_.SetParam("Void2", "X");
        if (slot == kCopyAFormsPerPage || last) project_.Execute();
        if (slot == kCopyAFormsPerPage && !last) {
            surface.NewPage();
            project_.ClearParams();
        }
    }
}

// ---- Form W-3 -------------------------------------------------------------------------

void FormPrinting::SetupFormW3(ReportJob& job) {
    Prepare(job, kW3Job, snapshotFile_, settings_);
    job.OnPrint = [this, &job](ReportSurface&) {
        BindProject(job, true);
        PrintFormW3();
    };
    project_.SetEngine(&job);
}

void FormPrinting::PrintFormW3() {
    OpenDesign design(project_, "FormW3");
    SetParams(W3FormParams(dm_.W3Rec()));
    project_.Execute();
}

// ---- Mailing labels -----------------------------------------------------------------

void FormPrinting::SetupLabels(ReportJob& job) {
    Prepare(job, kLabelJob, snapshotFile_, settings_);
    job.OnPrint = [this](ReportSurface& surface) { PrintLabels(surface); };
}

namespace {

// The outlines of every label position, on the preview only.
void DrawLabelOutlines(ReportSurface& surface, const LabelSheet& sheet) {
    surface.ResetSection();
    surface.SetScreenOnly(true);
    for (int index = 0; index < sheet.LabelsPerPage(); ++index) {
        surface.RoundRect(sheet.LeftOf(index), sheet.TopOf(index), sheet.labelWidth, sheet.labelHeight, sheet.cornerW,
                          sheet.cornerH);
    }
    surface.SetScreenOnly(false);
}

void DrawLabel(ReportSurface& surface, const LabelSheet& sheet, int index, const MailingLabel& label) {
    surface.SetOrigin(sheet.LeftOf(index), sheet.TopOf(index));
    surface.SetSection(sheet.border, sheet.border, sheet.labelWidth - sheet.border, sheet.labelHeight - sheet.border);
    surface.SetYPos(label.FirstBaseline());
    for (const std::string& line : label.lines) surface.Println(line);
    if (label.zip4.empty()) return;
    report::PostnetBarcode barcode;
    barcode.Left = sheet.border;
    barcode.BarHeight = kLabelBarHeight;
    barcode.BarWidth = kLabelBarWidth;
    barcode.BarBottom = surface.YPos() + kLabelBarDrop;
    barcode.Text = label.zip4;
    barcode.Print(surface);
}

}  // namespace

void FormPrinting::PrintLabels(ReportSurface& surface) {
    const LabelSheet& sheet = kAvery5160;
    RememberedRecord remembered(dm_.RSW2());
    dm_.RSW2().FirstRec();
    surface.SetFont(kLabelFont, kLabelFontSizePt);
    for (bool more = true; more;) {
        DrawLabelOutlines(surface, sheet);
        for (int index = 0; more && index < sheet.LabelsPerPage(); ++index) {
            DrawLabel(surface, sheet, index, MailingLabelFor(dm_.W2Rec()));
            more = !dm_.RSW2().Eof();
            if (more) dm_.RSW2().NextRec();
        }
        surface.ResetSection();
        if (more) surface.NewPage();
    }
}

}  // namespace qnvr::forms
