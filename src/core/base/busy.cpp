#include "core/base/busy.h"

namespace qnvr {
namespace {
BusyIndicator* currentBusyIndicator = nullptr;
}

void SetBusyIndicator(BusyIndicator* indicator) { currentBusyIndicator = indicator; }
BusyIndicator* CurrentBusyIndicator() { return currentBusyIndicator; }

}  // namespace qnvr
