#pragma once
// The print jobs of the program, over the open payer file:
//   RptEmployeeW2    the employee's copies (Copy B, C, 2 and 2), one employee a page;
//   RptEmployeeW2D1  Copy D for the employer or Copy 1 for the state, four to a page;
//   RptSSAW2         Copy A for the Social Security Administration, two to a page;
//   RptFormW3        Form W-3;
//   RptW2Labels      Avery 5160 mailing labels.
// Each Setup function gives a report job its titles, snapshot store, options and its
// drawing code; the window (or the command-line tool) then chooses where the output
// goes and runs it. Every job applies the saved printer setup before its first page and
// leaves the payer file's current record as it found it.
#include <filesystem>
#include <optional>

#include "core/base/settings_store.h"
#include "core/print/form_params.h"
#include "core/store/data_module.h"
#include "report/report_job.h"
#include "report/report_project.h"

namespace qnvr::forms {

// The form type window's choice, by its stored value.
enum class W2FormType { Employee = 0, Employer = 1, State = 2, SSA = 3 };

// What the form type window leaves for the rest of the program run.
struct W2PrintChoices {
    W2FormType formType = W2FormType::Employee;
    bool maskSSN = true;  // the employee copies show ***-**-1234
};

// The W-2 records a job prints, by record number, both included.
struct W2PrintRange {
    int first = 1;
    int last = 1;
};

class FormPrinting {
public:
    // designFile: the report design file; snapshotFile: the file the W-2 and label jobs
    // record their pages in ("QNVR.RPT" in the program folder).
    FormPrinting(TFrmDataModule& dm, const SettingsStore& settings, std::filesystem::path designFile,
                 std::filesystem::path snapshotFile);
    FormPrinting(const FormPrinting&) = delete;
    FormPrinting& operator=(const FormPrinting&) = delete;

    TFrmDataModule& DataModule() { return dm_; }
    report::ReportProject& Project() { return project_; }
    const std::filesystem::path& SnapshotFile() const { return snapshotFile_; }

    W2PrintChoices Choices;
    // Set by the command line: preprinted forms whatever the saved printer setup says.
    std::optional<report::PreprintedForms> PreprintedOverride;

    // Whether Form W-3 and Copy A print onto preprinted forms: the override, else the
    // saved printer setup.
    report::PreprintedForms Preprinted() const;

    void SetupEmployeeW2(report::ReportJob& job, W2PrintRange range, bool maskSSN);
    // Copy D (Employer) or Copy 1 (State).
    void SetupCopyD1(report::ReportJob& job, W2PrintRange range, W2FormType formType);
    // Preview only, unless the saved setup prints onto preprinted forms: then the job
    // also offers the printer.
    void SetupSsaW2(report::ReportJob& job);
    // Binds the project to the job, as the W-3 window does each time it is shown.
    void SetupFormW3(report::ReportJob& job);
    void SetupLabels(report::ReportJob& job);

    // Every record of the open payer file.
    W2PrintRange AllRecords() const;

private:
    void ApplyPrinterSetup(report::ReportSurface& surface) const;
    void BindProject(report::ReportJob& job, bool preprinted);
    void PrintEmployeeW2(report::ReportSurface& surface, W2PrintRange range, bool maskSSN);
    void PrintCopyD1(report::ReportSurface& surface, W2PrintRange range, W2FormType formType);
    void PrintSsaW2(report::ReportSurface& surface);
    void PrintFormW3();
    void PrintLabels(report::ReportSurface& surface);
    void SetParams(const FormParams& params);

    TFrmDataModule& dm_;
    const SettingsStore& settings_;
    report::ReportProject project_;
    std::filesystem::path snapshotFile_;
};

}  // namespace qnvr::forms
