#include "core/entry/rule_failure.h"

#include "core/base/errors.h"

namespace qnvr {

void RaiseRuleFailure(const RuleFailure& failure) { throw EFieldException(failure.field, failure.message); }

void RaiseIfFailed(const std::optional<RuleFailure>& failure) {
    if (failure) RaiseRuleFailure(*failure);
}

}  // namespace qnvr
