#pragma once
// Errors raised while a field handles a key, a click or a focus change. Qt's event
// loop must not see an exception, so each step a field runs for the user (its own, and
// the window's handlers it calls) goes through RunGuarded: an error ends the step and
// the application's error display shows it.
#include <functional>

namespace qnvr {

// Runs step; an exception it raises ends it and is shown by the error display. True
// when step ran to its end.
bool RunGuarded(const std::function<void()>& step);

}  // namespace qnvr
