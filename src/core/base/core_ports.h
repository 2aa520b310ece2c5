#pragma once
// The ports through which the core reaches the user: it asks and tells through the
// prompter, asks for a payer file's password through the password entry, and shows
// that it is busy through the hourglass and the busy notice.
//
// A program builds its ports once at start and hands them to what needs them (the data
// module, the payer file commands, the EFW2 run, the web update); nothing reaches them
// any other way. The desktop program builds WindowPorts (ui/base/window_ports.h), qnvr
// ReportPorts (report/report_ports.h); both extend these. A test builds its own, with a
// ScriptedPrompter where it expects a message, so that two tests, or two windows, never
// hear each other's messages.
//
// A port left out is the silent one: questions are answered with the button that
// changes nothing (Cancel or No), a password prompt is cancelled, nothing shows busy.
#include "core/base/busy.h"
#include "core/base/password_entry.h"
#include "core/base/prompter.h"

namespace qnvr {

// The silent ports, which reach no one. They hold no state.
Prompter& SilentPrompter();
PasswordEntry& NoPasswordEntry();
BusyIndicator& NoBusyIndicator();
BusyNote& NoBusyNote();

struct CorePorts {
    Prompter& prompter = SilentPrompter();
    PasswordEntry& passwordEntry = NoPasswordEntry();
    BusyIndicator& busy = NoBusyIndicator();
    BusyNote& busyNote = NoBusyNote();
};

}  // namespace qnvr
