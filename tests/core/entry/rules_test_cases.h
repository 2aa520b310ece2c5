#pragma once
// Table-driven rule set tests: each case changes a complete record and names the first
// failure it expects, or none.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>

#include "core/entry/rule_failure.h"

namespace qnvr::testing {

template <class Record>
struct RuleCase {
    const char* what;
    std::function<void(Record&)> change;
    std::optional<RuleFailure> expected;  // nothing: the record passes
};

inline std::optional<RuleFailure> Fails(const char* field, const char* message) {
    return RuleFailure{field, message};
}
inline const std::optional<RuleFailure> kPasses;

inline void ExpectFailure(const std::optional<RuleFailure>& actual, const std::optional<RuleFailure>& expected,
                          const char* what) {
    if (!expected) {
        EXPECT_FALSE(actual) << what << ": " << actual->field << " " << actual->message;
        return;
    }
    ASSERT_TRUE(actual) << what;
    EXPECT_EQ(actual->field, expected->field) << what;
    EXPECT_EQ(actual->message, expected->message) << what;
}

template <class Record>
void ExpectRuleCases(Record (*complete)(), std::optional<RuleFailure> (*validate)(const Record&),
                     std::initializer_list<RuleCase<Record>> cases) {
    for (const RuleCase<Record>& c : cases) {
        Record record = complete();
        c.change(record);
        ExpectFailure(validate(record), c.expected, c.what);
    }
}

}  // namespace qnvr::testing
