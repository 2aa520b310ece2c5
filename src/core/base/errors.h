#pragma once
// The program's own exceptions. Each carries the message the user sees; the desktop
// program's default handler shows it in an error box titled with the application title.
#include <stdexcept>
#include <string>

namespace qnvr {

// Base of every error the user is meant to read.
class EQnvrException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A validation rule failed; FieldName is the objectName of the control at fault.
class EFieldException : public EQnvrException {
public:
    EFieldException(std::string fieldName, const std::string& message)
        : EQnvrException(message), fieldName_(std::move(fieldName)) {}
    const std::string& FieldName() const { return fieldName_; }

private:
    std::string fieldName_;
};

// Text that is no number where a number is required (the platform's conversion error).
class EConvertError : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

class ENoEmployeesException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

class EProcessException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

class ECopyFileException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

class ETransferException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

class EDownloadException : public EQnvrException {
public:
    using EQnvrException::EQnvrException;
};

}  // namespace qnvr
