#pragma once
// A window's own steps around a visit of one of its input fields (highlighting it,
// computing amounts on leaving it).
#include <functional>

class QObject;
class QWidget;

namespace qnvr {

using VisitStep = std::function<void(QWidget* field)>;

// Runs enter when a visit of field begins and exit when it ends, each after the field's
// own steps, for as long as context lives. False, and nothing connected, for a control
// that is no input field of the program's own (a plain line, a button).
bool ConnectVisit(QWidget* field, QObject* context, const VisitStep& enter, const VisitStep& exit);

}  // namespace qnvr
