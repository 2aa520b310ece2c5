#pragma once
// Comparing two records field by field along their layout, so that a failure names the
// field that differs.
#include <type_traits>
#include <variant>

#include "core/store/records.h"

namespace qnvr::testing {

// Whether field holds the same value in a and b.
template <class Record>
bool SameField(const FieldLayout<Record>& field, Record& a, Record& b) {
    return std::visit(
        [](auto* x, auto* y) {
            if constexpr (std::is_same_v<decltype(x), decltype(y)>) return *x == *y;
            else return false;
        },
        field.Of(a), field.Of(b));
}

}  // namespace qnvr::testing
