#pragma once
// The store's failure a step raises, for tests that expect one.
#include <functional>
#include <string>

#include "core/store/store_errors.h"

namespace qnvr::testing {

// The message of the EStoreException that step raises; "" when it raises none.
inline std::string StoreErrorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const EStoreException& error) {
        return error.what();
    }
    return {};
}

}  // namespace qnvr::testing
