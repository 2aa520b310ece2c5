#pragma once
// Errors raised while a field handles a key, a click or a focus change. Qt's event
// loop must not see an exception, so the fields catch what their handlers (and the
// window's handlers they call) raise and pass it here; the application's error display
// installs itself as the handler. Until then the error is shown as a plain error
// message through the prompter.
#include <exception>
#include <functional>

namespace qnvr {

using EventErrorHandler = std::function<void(std::exception_ptr)>;

// Installs the handler; an empty one restores the default.
void SetEventErrorHandler(EventErrorHandler handler);

// Passes the error to the installed handler.
void ReportEventError(std::exception_ptr error);

// Runs step; an exception it raises ends it and goes to ReportEventError. True when
// step ran to its end.
bool RunGuarded(const std::function<void()>& step);

}  // namespace qnvr
