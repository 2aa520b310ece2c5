#pragma once
// Focus steps the input fields share: selecting the text on entry, telling a move inside
// the window from another window coming to the front, and refusing to be left.
#include <qnamespace.h>

#include <string>

#include "core/base/prompter.h"

class QFocusEvent;
class QLineEdit;
class QWidget;

namespace qnvr {

// The messages shown when a field that refused to be left cannot take the focus back.
inline constexpr const char* kFocusBackFailed = "A non fatal error has occured in the program.~Click on OK to continue.";
inline constexpr const char* kFilterFocusBackFailed =
    "A non-fatal error has occured in the\r\nprogram. Click on Ok to continue.";

// True when the focus moves to another control of the same window (Tab, a click, a
// shortcut, the program), false when another window or a popup takes it for a while.
bool IsMoveWithinWindow(Qt::FocusReason reason);

// Selects the whole text; after a click, once the click has placed the cursor.
void SelectAllOnEntry(QLineEdit* field, Qt::FocusReason reason);

// Puts the focus back on a field that refuses to be left and shows why; when the field
// cannot take the focus, shows the fallback message as well and the focus stays where
// the user moved it. The focus goes back before the message box opens, so that the box
// returns it to the field.
void RefuseExit(QWidget* field, const std::string& message, MsgStyle style, const std::string& fallback);

// A field's visit: it begins when the field gets the focus and ends when the user moves
// on inside the window. Another window or a popup taking the focus for a while (a
// message box, the calendar) neither ends the visit nor begins a new one on return.
class FieldVisit {
public:
    // True when this focus-in begins a visit: the field's enter steps run.
    bool Begins();
    // True when this focus-out ends the visit: the field's exit steps run.
    bool Ends(const QWidget* field, const QFocusEvent* event);
    bool InField() const { return inField_; }

private:
    bool inField_ = false;
};

}  // namespace qnvr
