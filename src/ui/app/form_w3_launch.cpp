// Forms, Form W-3 (and New, before the W-2): the W-3 entry window over the open payer file.
#include "ui/app/program_windows.h"
#include "ui/base/modal.h"
#include "ui/entry/frm_w3.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration formW3{ProgramWindow::FormW3, [](QWidget* parent, ProgramContext& context) {
    TFrmW3 window(context.DataModule, parent);
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
