#include "ui/entry/field_visit.h"

#include "ui/entry/check_box_edit.h"
#include "ui/entry/date_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"

namespace qnvr {
namespace {

// The input fields share no base class with the Entered and Exited signals.
template <class Field>
bool ConnectVisitOf(QWidget* control, QObject* context, const VisitStep& enter, const VisitStep& exit) {
    auto* field = qobject_cast<Field*>(control);
    if (!field) return false;
    QObject::connect(field, &Field::Entered, context, [enter, control] { enter(control); });
    QObject::connect(field, &Field::Exited, context, [exit, control] { exit(control); });
    return true;
}

}  // namespace

bool ConnectVisit(QWidget* field, QObject* context, const VisitStep& enter, const VisitStep& exit) {
    return ConnectVisitOf<TFilterEdit>(field, context, enter, exit) ||
           ConnectVisitOf<TMaskEdit>(field, context, enter, exit) ||
           ConnectVisitOf<TDollarEdit>(field, context, enter, exit) ||
           ConnectVisitOf<TCheckBoxEdit>(field, context, enter, exit) ||
           ConnectVisitOf<TDateEdit>(field, context, enter, exit) ||
           ConnectVisitOf<TStateEdit>(field, context, enter, exit);
}

}  // namespace qnvr
