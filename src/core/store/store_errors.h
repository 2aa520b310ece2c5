#pragma once
// EStoreException: a record store or payer file operation that failed. It carries what
// the caller may need besides the message: the file, the record (0 when the failure
// concerns the whole file), what was being done, and the system's reason ("" when the
// failure is no system error). The message keeps the program's "~" line breaks; the
// desktop program's default handler shows it as every error box, the command-line tool
// prints it.
#include <string>

#include "core/base/errors.h"

namespace qnvr {

enum class StoreOperation { Open, Read, Save, Add, Delete };

class EStoreException : public EQnvrException {
public:
    EStoreException(const std::string& message, std::string file, int record, StoreOperation operation,
                    std::string reason = {})
        : EQnvrException(message),
          file_(std::move(file)),
          record_(record),
          operation_(operation),
          reason_(std::move(reason)) {}

    const std::string& File() const { return file_; }
    int Record() const { return record_; }
    StoreOperation Operation() const { return operation_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int record_;
    StoreOperation operation_;
    std::string reason_;
};

}  // namespace qnvr
