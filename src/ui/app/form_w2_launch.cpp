// Forms, Form W-2 (and New, after the W-3): the W-2 entry window over the open payer file.
#include "ui/app/program_windows.h"
#include "ui/base/modal.h"
#include "ui/entry/frm_w2.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration formW2{ProgramWindow::FormW2, [](QWidget* parent, ProgramContext& context) {
    TFrmW2 window(context.DataModule, parent);
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
