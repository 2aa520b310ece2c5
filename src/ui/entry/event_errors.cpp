#include "ui/entry/event_errors.h"

#include <exception>

#include "core/base/errors.h"
#include "ui/base/error_display.h"

namespace qnvr {

bool RunGuarded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
        ShowError(EQnvrException("An unexpected error has occurred."));
    }
    return false;
}

}  // namespace qnvr
