// Tools, Transfer: last year's payer files into this year's data folder. The main window
// has closed any open payer file before.
#include <filesystem>

#include "core/transfer/transfer.h"
#include "ui/main/program_windows.h"
#include "ui/base/modal.h"
#include "ui/transfer/frm_transfer.h"

namespace qnvr {
namespace {

// The documents folder the data folder ("<documents>/QNVR/2026/Data/") lies below.
std::string DocumentsOf(const std::string& dataFolder) {
    std::filesystem::path data = std::filesystem::path(dataFolder).parent_path();  // without the separator
    return data.parent_path().parent_path().parent_path().string() + "/";
}

const ProgramWindowRegistration transfer{ProgramWindow::Transfer, [](QWidget* parent, ProgramContext& context) {
    TFrmTransfer window({DocumentsOf(context.DataFolder), context.DataFolder, context.StateFolder,
                         PriorYearFolders({context.StateFolder, context.ProgramFolder})},
                        parent);
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
