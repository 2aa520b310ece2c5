#include "ui/entry/event_errors.h"

#include "core/base/prompter.h"

namespace qnvr {
namespace {

void ShowAsErrorMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowMsg(e.what(), kAppTitle, mbError);
    } catch (...) {
        ShowMsg("An unexpected error has occurred.", kAppTitle, mbError);
    }
}

EventErrorHandler& Handler() {
    static EventErrorHandler handler;
    return handler;
}

}  // namespace

void SetEventErrorHandler(EventErrorHandler handler) { Handler() = std::move(handler); }

void ReportEventError(std::exception_ptr error) {
    if (Handler()) Handler()(error);
    else ShowAsErrorMessage(error);
}

bool RunGuarded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (...) {
        ReportEventError(std::current_exception());
        return false;
    }
}

}  // namespace qnvr
