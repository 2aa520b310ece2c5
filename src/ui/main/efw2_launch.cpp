// Tools, EFW2 Module: electronic filing of the open payer file, with the master file's
// lines kept for the whole program run in the program context.
#include "core/efw2/efw2_files.h"
#include "ui/main/program_windows.h"
#include "ui/base/modal.h"
#include "ui/efw2/frm_efw2.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration efw2{ProgramWindow::EFW2, [](QWidget* parent, ProgramContext& context) {
    TFrmEFW2 window(context.DataModule, context.MasterList, Efw2Paths::For(context.StateFolder, context.DataFolder),
                    parent);
    window.FormShow();
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
