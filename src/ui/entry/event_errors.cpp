#include "ui/entry/event_errors.h"

#include "ui/base/error_display.h"

namespace qnvr {

bool RunGuarded(const std::function<void()>& step) {
    bool ranToItsEnd = false;
    RunCommand([&] {
        step();
        ranToItsEnd = true;
    });
    return ranToItsEnd;
}

}  // namespace qnvr
