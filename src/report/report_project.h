#pragma once
// The report project: the report design file and the named text parameters that its
// designs print. The program fills parameters with finished text and asks the project
// to render a design onto the current page of the running job. The order is always
// Open, SelectReport, SetParam ..., Execute ..., ClearParams, Close.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qnvr::report {

// Printing onto preprinted forms: with on, a design prints only its values (no boxes,
// rules, shading or fixed captions), each moved by the alignment offset, in inches
// (right and down are positive), so that they land in the boxes of the official form
// in the printer.
struct PreprintedForms {
    bool on = false;
    double offsetX = 0, offsetY = 0;
};

class ReportJob;
class ReportSurface;
class DesignFile;
struct ReportDesign;

class ReportProject {
public:
    ReportProject();
    ~ReportProject();
    ReportProject(const ReportProject&) = delete;
    ReportProject& operator=(const ReportProject&) = delete;

    // Remembered; the file is read at Open.
    void SetProjectFile(const std::filesystem::path& file) { projectFile_ = file; }
    const std::filesystem::path& ProjectFile() const { return projectFile_; }

    // Loads the design file; throws EReportException naming the file when it is
    // missing or not a valid design file.
    void Open();
    bool IsOpen() const { return designs_ != nullptr; }
    void Close();

    // Chooses the design Execute renders; throws EReportException when the open file
    // holds no design of that name (or nothing is open).
    void SelectReport(const std::string& name);
    const std::string& SelectedReport() const { return selected_; }
    std::vector<std::string> ReportNames() const;
    // The parameter names the selected design prints, in design order.
    std::vector<std::string> ParameterNames() const;

    // Sets or replaces one parameter; empty text prints nothing.
    void SetParam(const std::string& name, const std::string& value);
    void ClearParams() { params_.clear(); }
    const std::map<std::string, std::string>& Params() const { return params_; }

    // Binds the project to the job whose running surface Execute renders into.
    void SetEngine(ReportJob* job) { engine_ = job; }
    ReportJob* Engine() const { return engine_; }

    // Preprinted forms mode; off (the artwork and the values as designed) by default.
    void SetPreprinted(const PreprintedForms& p) { preprinted_ = p; }
    const PreprintedForms& Preprinted() const { return preprinted_; }

    // Renders the selected design with the current parameters onto the current page
    // of the engine's running job; adds no page. Throws EReportException when no design
    // is selected or the engine is not running.
    void Execute();
    // The same onto a given surface.
    void ExecuteOn(ReportSurface& surface);

private:
    const ReportDesign& Selected() const;

    std::filesystem::path projectFile_;
    std::unique_ptr<DesignFile> designs_;
    std::string selected_;
    std::map<std::string, std::string> params_;
    ReportJob* engine_ = nullptr;
    PreprintedForms preprinted_;
};

}  // namespace qnvr::report
