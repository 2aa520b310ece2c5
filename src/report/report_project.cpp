#include "report/report_project.h"

#include <set>

#include "report/design.h"
#include "report/report_errors.h"
#include "report/report_job.h"
#include "report/surface.h"

namespace qnvr::report {

ReportProject::ReportProject() = default;
ReportProject::~ReportProject() = default;

void ReportProject::Open() {
    if (projectFile_.empty()) throw EReportException("No report design file has been set.");
    designs_ = std::make_unique<DesignFile>(DesignFile::Load(projectFile_));
}

void ReportProject::Close() {
    designs_.reset();
    selected_.clear();
}

void ReportProject::SelectReport(const std::string& name) {
    if (!designs_) throw EReportException("The report design file is not open; the report \"" + name + "\" cannot be selected.");
    if (!designs_->Find(name)) {
        throw EReportException("The report design file \"" + projectFile_.string() + "\" holds no report named \"" + name + "\".");
    }
    selected_ = name;
}

std::vector<std::string> ReportProject::ReportNames() const {
    return designs_ ? designs_->Names() : std::vector<std::string>{};
}

const ReportDesign& ReportProject::Selected() const {
    if (!designs_ || selected_.empty()) throw EReportException("No report has been selected from the report design file.");
    return *designs_->Find(selected_);
}

std::vector<std::string> ReportProject::ParameterNames() const {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const DesignField& field : Selected().fields) {
        if (seen.insert(field.param).second) names.push_back(field.param);
    }
    return names;
}

void ReportProject::SetParam(const std::string& name, const std::string& value) { params_[name] = value; }

void ReportProject::Execute() {
    ReportSurface* surface = engine_ ? engine_->Surface() : nullptr;
    if (!surface) throw EReportException("The report \"" + selected_ + "\" cannot be printed: no report job is running.");
    ExecuteOn(*surface);
}

void ReportProject::ExecuteOn(ReportSurface& surface) {
    const ReportDesign& design = Selected();
    // On a preprinted form the paper carries the artwork; only the values are printed.
    if (!preprinted_.on) {
        surface.DrawArtwork(design.sharedArtwork);
    }
    for (const DesignField& field : design.fields) {
        auto it = params_.find(field.param);
        if (it == params_.end() || it->second.empty()) continue;
        TextOp text = field.text;
        text.text = it->second;
        if (preprinted_.on) {
            text.x += preprinted_.offsetX;
            text.y += preprinted_.offsetY;
        }
        surface.Draw(DrawOp{std::move(text), false});
    }
}

}  // namespace qnvr::report
