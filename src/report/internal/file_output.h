#pragma once
// Files the report engine writes whole (exports, saved snapshots, the job file) are
// written beside the target and renamed over it, so a failure leaves the old file
// intact and never a half-written one. Internal to the report engine.
#include <filesystem>
#include <functional>
#include <string>

namespace qnvr::report {

// Calls write with a new hidden temporary file in the target's folder, brings it to the
// disk and renames it over the target. Throws EReportException naming the target when
// anything fails, and removes the temporary file. Temporaries that an earlier writer of
// the same target left behind when it was killed are removed first.
void WriteFileReplacing(const std::filesystem::path& target, const std::function<void(const std::filesystem::path&)>& write);

// "The file "NAME" could not be written: REASON"
std::string CannotWriteMessage(const std::filesystem::path& file, const std::string& reason);

}  // namespace qnvr::report
