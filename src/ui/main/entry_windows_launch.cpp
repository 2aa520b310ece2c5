// Forms, Form W-2 and Form W-3 (and New, the W-3 first): the entry windows over the open
// payer file.
#include "ui/main/program_windows.h"
#include "ui/base/modal.h"
#include "ui/entry/frm_w2.h"
#include "ui/entry/frm_w3.h"

namespace qnvr {
namespace {

template <class EntryWindow>
void ShowEntryWindow(QWidget* parent, ProgramContext& context) {
    EntryWindow window(context.DataModule, context.Printing, parent);
    ExecModal(window);
}

const ProgramWindowRegistration formW2{ProgramWindow::FormW2, ShowEntryWindow<TFrmW2>};
const ProgramWindowRegistration formW3{ProgramWindow::FormW3, ShowEntryWindow<TFrmW3>};

}  // namespace
}  // namespace qnvr
