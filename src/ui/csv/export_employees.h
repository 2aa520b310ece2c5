#pragma once
// File, Export Employees: every employee of the open payer file written to a
// comma-separated file the user names, with a header row the import maps back by itself.
#include <string>

#include "core/store/data_module.h"

class QWidget;

namespace qnvr {

// Asks for the file (the payer file's name with ".csv" proposed, in folder), writes it
// whole and says how many employees it holds. Throws EQnvrException when no payer file
// is open or the file cannot be written (an earlier file of that name is then left as
// it was).
void ExportEmployeesTo(QWidget* parent, TFrmDataModule& dataModule, const std::string& folder);

}  // namespace qnvr
