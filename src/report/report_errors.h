#pragma once
// Errors of the report engine the user must read: a missing or broken report design
// file, an unknown design, a damaged or foreign snapshot document, an output file that
// cannot be written.
#include "core/base/errors.h"

namespace qnvr::report {

class EReportException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

}  // namespace qnvr::report
