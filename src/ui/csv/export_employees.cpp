#include "ui/csv/export_employees.h"

#include <QFileInfo>

#include "core/base/busy.h"
#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/csv/employee_import.h"
#include "core/csv/import_choices.h"
#include "ui/print/file_dialogs.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

const FileDialogSpec kExportDialog{"ExportCsvDialog", QStringLiteral("Export Employees to"),
                                   QStringLiteral("Comma-separated files (*.csv)|*.csv|All files (*)|*"),
                                   QStringLiteral("csv"), true};

}  // namespace

void ExportEmployeesTo(QWidget* parent, TFrmDataModule& dataModule, const std::string& folder) {
    if (!dataModule.PayerFileOpen())
        throw EQnvrException("No payer file is open.~Open the payer file whose employees you want to export.");
    const QString proposed = QFileInfo(QString::fromStdString(ExportFileNameFor(dataModule.PayerFilePath()))).fileName();
    QString path = QString::fromStdString(folder) + proposed;
    if (!AskFileName(parent, kExportDialog, path)) return;
    int employees = 0;
    {
        BusyCursor busy(PortsOf(parent).busy);
        employees = ExportEmployees(dataModule, path.toStdString());
    }
    ShowMsg(PortsOf(parent).prompter, ExportDoneMessage(employees, path.toStdString()), MsgStyle::Information);
}

}  // namespace qnvr
