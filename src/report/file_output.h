#pragma once
// Files the report engine writes whole (exports, saved snapshots, the job file) are
// written beside the target and renamed over it, so a failure leaves the old file
// intact and never a half-written one. Internal to the report engine.
#include <filesystem>
#include <functional>
#include <string>

namespace qnvr::report {

// Calls write with a temporary path in the target's folder, then renames it over the
// target. Throws EReportException naming the target when anything fails, and removes
// the temporary file.
void WriteFileReplacing(const std::filesystem::path& target, const std::function<void(const std::filesystem::path&)>& write);

// A temporary path beside target, unique to this process.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);

// "The file "NAME" could not be written: REASON"
std::string CannotWriteMessage(const std::filesystem::path& file, const std::string& reason);

}  // namespace qnvr::report
