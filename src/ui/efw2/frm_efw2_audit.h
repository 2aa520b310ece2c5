#pragma once
// TFrmEfw2Audit: the findings of the audit of an EFW2 file, one per line, with the
// summary above them. "Save As..." writes the list as a text file; "Close" closes it.
// ShowEfw2Audit is what the EFW2 window calls after Process: the list window when the
// audit found anything, else the notice "no problems found".
#include <QDialog>

#include <string>

#include "core/efw2/efw2_audit.h"

class QFileDialog;
class QLabel;
class QListWidget;
class QPushButton;

namespace qnvr {

inline constexpr const char* kAuditCleanMessage = "no problems found";

class TFrmEfw2Audit final : public QDialog {
    Q_OBJECT
public:
    TFrmEfw2Audit(std::string file, Efw2AuditResult result, QWidget* parent = nullptr);

    QLabel* LblSummary;
    QListWidget* ListFindings;
    QPushButton *BtnSaveAs, *BtnClose;
    QFileDialog* SaveDialog;

    // The text that Save As writes: the file audited, the findings, the summary.
    std::string ReportText() const { return AuditReportText(file_, result_); }

private:
    void BtnSaveAsClick();

    std::string file_;
    Efw2AuditResult result_;
};

// Shows the audit of file: the list window (modal) when there are findings, else the
// information "EFW2 audit of NAME: no problems found ...".
void ShowEfw2Audit(const std::string& file, const Efw2AuditResult& result, QWidget* parent);

}  // namespace qnvr
