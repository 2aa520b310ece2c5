// File, Import Employees and File, Export Employees: employees of the open payer file in
// from and out to comma-separated files.
#include "core/base/errors.h"
#include "ui/main/program_windows.h"
#include "ui/base/modal.h"
#include "ui/csv/export_employees.h"
#include "ui/csv/frm_import_employees.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration importEmployees{
    ProgramWindow::ImportEmployees, [](QWidget* parent, ProgramContext& context) {
        TFrmDataModule& dm = context.DataModule;
        if (!dm.PayerFileOpen()) throw EQnvrException("No payer file is open.~Open the payer file to import into first.");
        if (dm.RSW2().BrowseOnly())
            throw EQnvrException(dm.RSW2().FileName + " is open in browse only mode.~No employee can be imported into it.");
        TFrmImportEmployees window(dm, context.Settings, context.DataFolder, parent);
        ExecModal(window);
    }};

const ProgramWindowRegistration exportEmployees{
    ProgramWindow::ExportEmployees, [](QWidget* parent, ProgramContext& context) {
        ExportEmployeesTo(parent, context.DataModule, context.DataFolder);
    }};

}  // namespace
}  // namespace qnvr
