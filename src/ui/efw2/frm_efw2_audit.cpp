#include "ui/efw2/frm_efw2_audit.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <sstream>

#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/efw2/efw2_files.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/modal.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TFrmEfw2Audit::TFrmEfw2Audit(std::string file, Efw2AuditResult result, QWidget* parent)
    : QDialog(parent), file_(std::move(file)), result_(std::move(result)) {
    setObjectName(QStringLiteral("FrmEfw2Audit"));
    setWindowTitle(tr("EFW2 Audit - %1").arg(QFileInfo(Text(file_)).fileName()));
    resize(900, 420);

    LblSummary = new QLabel(Text(file_ + ": " + AuditSummary(result_)), this);
    LblSummary->setObjectName(QStringLiteral("LblSummary"));
    LblSummary->setWordWrap(true);
    ListFindings = new QListWidget(this);
    ListFindings->setObjectName(QStringLiteral("ListFindings"));
    ListFindings->setWordWrap(true);
    for (const AuditFinding& finding : result_.findings) {
        auto* item = new QListWidgetItem(Text(FindingText(finding)), ListFindings);
        if (finding.severity == AuditSeverity::Error) item->setForeground(QColor(170, 0, 0));
    }
    if (ListFindings->count() > 0) ListFindings->setCurrentRow(0);

    BtnSaveAs = NamedButton(this, "BtnSaveAs", tr("&Save As..."));
    BtnClose = NamedButton(this, "BtnClose", tr("&Close"));
    BtnClose->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(BtnSaveAs);
    row->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblSummary);
    layout->addWidget(ListFindings, 1);
    layout->addLayout(row);

    const QFileInfo audited(Text(file_));
    SaveDialog = new QFileDialog(this, tr("Save the EFW2 Audit As"), audited.absolutePath());
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    SaveDialog->setFileMode(QFileDialog::AnyFile);
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog->setNameFilter(tr("Text files (*.txt)"));
    SaveDialog->selectFile(audited.completeBaseName() + QStringLiteral(" audit.txt"));

    ConnectCommand(BtnSaveAs, &QPushButton::clicked, this, &TFrmEfw2Audit::BtnSaveAsClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmEfw2Audit::BtnSaveAsClick() {
    if (ExecModal(*SaveDialog) != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty()) return;
    const std::string path = SaveDialog->selectedFiles().first().toStdString();
    if (QFileInfo(Text(path)).absoluteFilePath() == QFileInfo(Text(file_)).absoluteFilePath())
        throw EQnvrException("The audit cannot be saved over the EFW2 file it audits:~" + path);
    WriteLinesFile(path, LinesOf(ReportText()));
    ShowMsg(PortsOf(this).prompter, "The audit was saved to~" + path, MsgStyle::Information);
}

void ShowEfw2Audit(const std::string& file, const Efw2AuditResult& result, QWidget* parent) {
    if (result.findings.empty()) {
        const std::string name = QFileInfo(Text(file)).fileName().toStdString();
        ShowMsg(PortsOf(parent).prompter, "EFW2 audit of " + name + ": " + kAuditCleanMessage + " in " + std::to_string(result.records) +
                    (result.records == 1 ? " record." : " records."),
                MsgStyle::Information);
        return;
    }
    TFrmEfw2Audit window(file, result, parent);
    ExecModal(window);
}

}  // namespace qnvr
